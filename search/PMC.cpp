#include "search/PMC.h"

#include <array>
#include <string_view>

#include "framework/events.h"
#include "framework/text.h"
#include "framework/ui.h"
#include "search/App.h"
#include "sources/SSC.h"
#include "sources/UL_Baseform.h"
#include "sources/UL_HTTPSocket.h"
#include "sources/UL_ListClients.h"
#include "sources/UL_WWWSocket.h"
#include "sources/WordNetSocket.h"
#include "windows/SearchWin.h"
#include "worddata/DIC.h"
#include "worddata/TT.h"

namespace PMC {

namespace {

constexpr int32_t kMinimumWordLength = 2;
constexpr int kHitCheckPumpMs = 8;
constexpr int kSearchWinTop = 24;
constexpr int kSearchWinRightGap = 2;
const char* const kProductName = "Quorvane";

uint64_t gAborts = 0;  // SearchAbort calls so far

void EmptyResultLists() {
    for (WordList* list :
         {&gSynonymWords, &gSoundexWords, &gFragmentStart, &gFragmentEnd, &gFragmentAny,
          &gWordBaseform, &gWordType, &gWordSachgebiete, &gForbiddenSynonyms}) {
        list->clear();
    }
}

// Kills a running pass thread and clears its flag; a thread that is not running keeps its flag.
void KillPass(fw::Thread& thread, bool& flag) {
    if (thread.GetState() != fw::Thread::State::Running) {
        return;
    }
    thread.Kill();
    flag = false;
}

void StartFirstPass() {
    SearchWin& window = SearchWin::Get();
    fw::Thread& thread = gDirectHit ? static_cast<fw::Thread&>(window.SynonymSearchThread)
                                    : static_cast<fw::Thread&>(window.FragmentSearchThread);
    if (thread.GetState() == fw::Thread::State::Running) {
        thread.Kill();
    }
    if (App::IsQuitting()) {
        return;
    }
    (gDirectHit ? gSynonymSearchRunning : gFragmentSearchRunning) = true;
    thread.Run();
}

// No word the report is about, as before a hit check.
void ClearHit() {
    gHitWord.clear();
    gHitWordID = -1;
    gHitWordSource.clear();
}

bool CheckLocalHit() {
    if (!App::gDBLoaded) {
        return false;
    }
    if (DIC::FindWord(gSearchWord, true) <= 0 && DIC::FindWord(gSearchWord, false) <= 0) {
        return false;
    }
    gHitWord = DIC::gHitWord.at(0);
    gHitWordID = DIC::gHitID.at(0);
    gHitWordSource = kProductName;
    return true;
}

// The system spell checker on the word as it stands, then with its first letter's case toggled;
// an accepted spelling becomes the search word.
bool CheckSpelling() {
    ClearHit();
    if (fw::InStrB(1, gSearchWord, " ") > 0) {
        return false;
    }
    std::string variant = gSearchWord;
    bool hit = SSC::CheckString(variant, App::gSSCLanguage);
    if (!hit) {
        variant = UL_HTTPSocket::ChangeCase(gSearchWord);
        hit = SSC::CheckString(variant, App::gSSCLanguage);
    }
    if (!hit) {
        return false;
    }
    gSearchWord = variant;
    gHitWord = variant;
    gHitWordSource = TT::REP_SystemDictionary();
    return true;
}

// The one online lookup of the edition, for the search word as the hit check left it. The first
// German search of a run probes the word service first.
void StartOnlineLookup() {
    if (DIC::IsDE()) {
        gULBaseformSearchRunning = true;
        if (DIC::gUL_UseWWW == 0) {
            DIC::CheckUL_SOAP();
        }
        if (DIC::gUL_UseWWW == 1) {
            DIC::gUL_WWWSocket->Check(gSearchWord);
        } else {
            DIC::gUL_Baseform->Check(gSearchWord);
        }
    } else if (DIC::IsEN()) {
        gWordNetSearchRunning = true;
        DIC::gWordNet->Check(gSearchWord);
    }
}

// Ends the client's request, whatever state its connection is in, and clears its flag; an idle
// client keeps its flag. (Closing connected clients only would leave a request that is still
// resolving or connecting running, its flag set, and every new search waiting for it.)
void CloseClient(fw::HTTPSocket* client, bool& flag) {
    if (client == nullptr || !client->InFlight()) {
        return;
    }
    client->Close();
    flag = false;
}

}  // namespace

void InitializeGlobals() {
    gSearchWord.clear();
    ClearHit();
    gDirectHit = false;
    gSearchAborted = false;
    EmptyResultLists();
    gBoldMarkers.clear();
    gItalicMarkers.clear();
    for (bool* flag :
         {&gSynonymSearchRunning, &gFragmentSearchRunning, &gSoundexSearchRunning,
          &gULBaseformSearchRunning, &gULSynonymsSearchRunning, &gULThesaurusSearchRunning,
          &gULSachgebieteSearchRunning, &gWordNetSearchRunning, &gInternetError,
          &gRefreshReportRunning, &gShowAll}) {
        *flag = false;
    }
    gWindowStep = 20;
}

std::string NormalizeWord(const std::string& s) {
    const std::string t = fw::Trim(s);
    if (t.empty()) {
        return t;
    }
    return fw::Left(t, 1) + fw::Lowercase(fw::Mid(t, 2));
}

bool CheckWord(const std::string& word) {
    if (!word.empty() && word[0] == '-') {
        return false;
    }
    // A word holds only what the search field's key filter lets through; an invalid UTF-8 byte,
    // a character of its own, matches none of those. ASCII is looked up in a table made from
    // that set: the online readers check every word of a page.
    static const std::array<bool, 128> kAscii = [] {
        std::array<bool, 128> table{};
        for (const char c : SearchWin::KeyFilterCharacters()) {
            if (static_cast<unsigned char>(c) < 0x80) {
                table[static_cast<unsigned char>(c)] = true;
            }
        }
        return table;
    }();
    for (std::string_view rest = word; !rest.empty();) {
        const auto first = static_cast<unsigned char>(rest[0]);
        if (first < 0x80) {
            if (!kAscii[first]) {
                return false;
            }
            rest.remove_prefix(1);
            continue;
        }
        const std::string character = fw::Left(rest, 1);
        if (!SearchWin::IsKeyFilterCharacter(character)) {
            return false;
        }
        rest.remove_prefix(character.size());
    }
    return true;
}

void SearchNow() {
    SearchWin& window = SearchWin::Get();
    const std::string word = NormalizeWord(window.UserInput.Text());
    if (word == gSearchWord && !gSearchAborted) {
        return;
    }
    SearchAbort();
    if (fw::Len(word) < kMinimumWordLength || !CheckWord(word)) {
        gSearchWord.clear();
        gSearchAborted = false;
        gDirectHit = false;
        HideResultWin();
        return;
    }
    window.ProgressWheel.SetVisible(true);
    gSearchWord = word;
    gSearchAborted = false;
    const uint64_t aborts = gAborts;
    const bool hit = CheckDirectHit();
    // The hit check pumps events, and an online reply can end its lookup in there: the search
    // timer may then have aborted this search or run the next one. Its verdict no longer counts.
    if (gAborts != aborts) {
        return;
    }
    // A reply handled in that pump may have found the word already.
    gDirectHit = hit || gDirectHit;
    RefreshReport();
    // The report's animation pumps events: the search timer may have aborted this search in
    // there, started the next one or rejected the next word. Each ended this one through
    // SearchAbort; its pass must not start any more.
    if (gAborts != aborts) {
        return;
    }
    // A reply handled while the report was being built may have changed the verdict.
    StartFirstPass();
}

bool CheckDirectHit() {
    bool hit = CheckLocalHit();
    if (!hit) {
        hit = CheckSpelling();
    }
    // What a reply handled in the pump below sees: a local hit keeps its hit word and ID.
    gDirectHit = hit;
    StartOnlineLookup();
    if (hit) {
        SearchWin::Get().UserInput.SetTextColor(0, 200, 0);
    } else {
        SearchWin::Get().UserInput.SetTextColor(200, 0, 0);
    }
    fw::DoEvents(kHitCheckPumpMs);
    return hit;
}

uint64_t AbortCount() {
    return gAborts;
}

void SearchAbort() {
    ++gAborts;
    SearchWin& window = SearchWin::Get();
    KillPass(window.SynonymSearchThread, gSynonymSearchRunning);
    KillPass(window.FragmentSearchThread, gFragmentSearchRunning);
    KillPass(window.SoundexSearchThread, gSoundexSearchRunning);
    CloseClient(DIC::gUL_WWWSocket.get(), gULBaseformSearchRunning);
    CloseClient(DIC::gUL_Baseform.get(), gULBaseformSearchRunning);
    CloseClient(DIC::gUL_Sachgebiete.get(), gULSachgebieteSearchRunning);
    CloseClient(DIC::gUL_Synonyms.get(), gULSynonymsSearchRunning);
    CloseClient(DIC::gUL_Thesaurus.get(), gULThesaurusSearchRunning);
    CloseClient(DIC::gWordNet.get(), gWordNetSearchRunning);
    EmptyResultLists();
    ClearHit();
    gDirectHit = false;
    gSearchAborted = true;
    window.ProgressWheel.SetVisible(false);
}

bool IsAnySearchRunning() {
    return gSynonymSearchRunning || gFragmentSearchRunning || gSoundexSearchRunning ||
           gULBaseformSearchRunning || gULSynonymsSearchRunning || gULThesaurusSearchRunning ||
           gULSachgebieteSearchRunning || gWordNetSearchRunning;
}

void HideWheelWhenIdle() {
    if (!IsAnySearchRunning()) {
        SearchWin::Get().ProgressWheel.SetVisible(false);
    }
}

void SearchFinished() {
    RefreshReport();
    HideWheelWhenIdle();
}

void ShowSearchWin() {
    SearchWin& window = SearchWin::Get();
    // Relative to the main screen's origin, which need not be the desktop's.
    const fw::UIServices::Area screen = fw::UI().ScreenBounds();
    window.SetLeft(screen.left + screen.width - window.Width() - kSearchWinRightGap);
    window.SetTop(screen.top + kSearchWinTop);
    window.Show();
    if (!window.UserInput.HasFocus()) {
        window.UserInput.SetFocus();
    }
}

}  // namespace PMC
