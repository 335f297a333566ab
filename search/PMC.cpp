#include "search/PMC.h"

#include <string_view>

#include "framework/events.h"
#include "framework/text.h"
#include "framework/ui.h"
#include "search/App.h"
#include "sources/SSC.h"
#include "sources/UL_HTTPSocket.h"
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
    // a character of its own, matches none of those.
    for (std::string_view rest = word; !rest.empty();) {
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
    gDirectHit = CheckDirectHit();
    const std::string searched = gSearchWord;  // the spelling the hit check settled on
    RefreshReport();
    // The report's animation pumps events: the search timer may have started the next search in
    // there, rejected the next word or aborted this search. Each ended this one; its pass must
    // not start any more.
    if (gSearchWord != searched || gSearchAborted) {
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
    if (hit) {
        SearchWin::Get().UserInput.SetTextColor(0, 200, 0);
    } else {
        SearchWin::Get().UserInput.SetTextColor(200, 0, 0);
    }
    fw::DoEvents(kHitCheckPumpMs);
    return hit;
}

void SearchAbort() {
    SearchWin& window = SearchWin::Get();
    KillPass(window.SynonymSearchThread, gSynonymSearchRunning);
    KillPass(window.FragmentSearchThread, gFragmentSearchRunning);
    KillPass(window.SoundexSearchThread, gSoundexSearchRunning);
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

void SearchFinished() {
    RefreshReport();
    if (!IsAnySearchRunning()) {
        SearchWin::Get().ProgressWheel.SetVisible(false);
    }
}

void ShowSearchWin() {
    SearchWin& window = SearchWin::Get();
    window.SetLeft(fw::UI().ScreenWidth() - window.Width() - kSearchWinRightGap);
    window.SetTop(kSearchWinTop);
    window.Show();
    if (!window.UserInput.HasFocus()) {
        window.UserInput.SetFocus();
    }
}

}  // namespace PMC
