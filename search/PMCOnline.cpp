// The ends of the online lookups: marking an online hit, the German follow-up chain, the one
// message box for online failures, and the English senses' words taken out of the synonyms.
#include <string>
#include <string_view>
#include <unordered_map>

#include "framework/text.h"
#include "framework/threads.h"
#include "framework/ui.h"
#include "search/PMC.h"
#include "sources/UL_ListClients.h"
#include "windows/SearchWin.h"
#include "worddata/DIC.h"
#include "worddata/TT.h"

namespace PMC {
namespace {

constexpr std::string_view kWortschatz = "Uni Leipzig Wortschatz";
constexpr std::string_view kWordNetOnline = "WordNet Online";

void AddSource(std::string_view source) {
    if (gHitWordSource.empty()) {
        gHitWordSource = source;
    } else {
        gHitWordSource.append(", ").append(source);
    }
}

void MarkOnlineHit(bool isError, bool found, const std::string& word, std::string_view source) {
    if (isError) {
        ReportInternetError();
        return;
    }
    gInternetError = false;
    if (!found || !fw::EqualsIgnoreCase(word, gSearchWord)) {
        return;
    }
    if (!gDirectHit) {
        gDirectHit = true;
        SearchWin::Get().UserInput.SetTextColor(0, 200, 0);
        gHitWordID = -1;
        gHitWord = word;
    }
    AddSource(source);
}

bool FollowUpsDue(bool found, bool firstTry) {
    return firstTry && gDirectHit && !gInternetError && found;
}

// A follow-up flag set for a request that was then not sent would never be cleared: no search
// could start again. A request of a newer search on that client keeps its flag.
void ClearUnsent(const fw::HTTPSocket& client, bool& flag) {
    if (!client.InFlight()) {
        flag = false;
    }
}

}  // namespace

void FinishedULBaseformSearch(bool isError, bool found, const std::string& word, bool firstTry) {
    MarkOnlineHit(isError, found, word, kWortschatz);
    const bool flagged = FollowUpsDue(found, firstTry);
    if (flagged) {
        gULSachgebieteSearchRunning = true;
        gULSynonymsSearchRunning = true;
    }
    gULBaseformSearchRunning = false;
    SearchFinished();
    // The rebuild pumps events: an abort in there ended this search.
    if (FollowUpsDue(found, firstTry)) {
        DIC::gUL_Sachgebiete->Check(gHitWord);
        DIC::gUL_Synonyms->Check(gHitWord);
    } else if (flagged) {
        ClearUnsent(*DIC::gUL_Sachgebiete, gULSachgebieteSearchRunning);
        ClearUnsent(*DIC::gUL_Synonyms, gULSynonymsSearchRunning);
        HideWheelWhenIdle();
    }
}

void FinishedULSynonymsSearch(bool isError, bool, const std::string&) {
    const uint64_t aborts = AbortCount();
    if (isError) {
        ReportInternetError();
    }
    fw::SortList(gSynonymWords);
    gULThesaurusSearchRunning = true;
    gULSynonymsSearchRunning = false;
    SearchFinished();
    // The box and the rebuild pump events: an abort in there ended this search and emptied its
    // hit word.
    if (AbortCount() != aborts) {
        ClearUnsent(*DIC::gUL_Thesaurus, gULThesaurusSearchRunning);
        HideWheelWhenIdle();
        return;
    }
    DIC::gUL_Thesaurus->Check(gHitWord);
}

void FinishedULThesaurusSearch(bool isError, bool, const std::string&) {
    if (isError) {
        ReportInternetError();
    }
    fw::SortList(gSynonymWords);
    gULThesaurusSearchRunning = false;
    SearchFinished();
}

void FinishedULSachgebieteSearch(bool isError, bool, const std::string&) {
    if (isError) {
        ReportInternetError();
    }
    gULSachgebieteSearchRunning = false;
    SearchFinished();
}

void FinishedWordNetSearch(bool isError, bool found, const std::string& word) {
    MarkOnlineHit(isError, found, word, kWordNetOnline);
    gWordNetSearchRunning = false;
    SearchFinished();
}

void ReportInternetError() {
    if (gInternetError) {
        return;
    }
    // Set before the box opens: a failure arriving while it is open shows no second one.
    gInternetError = true;
    fw::MsgBox(TT::ERR_Internet());
}

// Walks the forbidden words from the last to the first; each that matches a synonym (ignoring
// case) removes that synonym's first occurrence and is used up. The synonyms are counted by case
// key first, so a long list of forbidden words costs one look-up per entry, and the kept entries
// are gathered at the list's end as the walk goes, so no entry is moved more than once.
void CleanSynonyms() {
    std::unordered_map<std::string, size_t> remaining;
    for (const std::string& synonym : gSynonymWords) {
        ++remaining[fw::CaseKey(synonym)];
    }
    const size_t count = gForbiddenSynonyms.size();
    size_t kept = count;  // gForbiddenSynonyms[kept, count) holds the entries kept, in order
    for (size_t i = count; i-- > 0;) {
        // Only an abort empties the lists, and it kills the thread that builds the report first.
        if (gForbiddenSynonyms.size() != count) {
            return;
        }
        std::string& entry = gForbiddenSynonyms[i];
        const auto left = remaining.find(fw::CaseKey(entry));
        const int64_t match =
            left != remaining.end() && left->second > 0 ? fw::IndexOf(gSynonymWords, entry) : -1;
        if (match >= 0) {
            --left->second;
            gSynonymWords.erase(gSynonymWords.begin() + match);
        } else if (--kept != i) {
            gForbiddenSynonyms[kept] = std::move(entry);
        }
        fw::Yield();
    }
    gForbiddenSynonyms.erase(gForbiddenSynonyms.begin(),
                             gForbiddenSynonyms.begin() + static_cast<std::ptrdiff_t>(kept));
}

}  // namespace PMC
