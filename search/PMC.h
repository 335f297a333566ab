// The search controller: every piece of search state as module globals, the search start and
// abort, the local pass chain's end operations, the report builder and the result window's
// sizing. Runs on the main event loop and on the pass threads (cooperative fibers), never on two
// OS threads, so no lock guards the state. The passes, the report's animation and the hit check
// yield or pump events: a timer action (the search timer's abort among them) can run inside any
// of them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fw {
class MenuItem;
}

namespace PMC {

using WordList = std::vector<std::string>;

// --- Search word, hit and sources.
inline std::string gSearchWord;     // the normalised current word; "" after rejected input
inline std::string gHitWord;        // the word the report is about
inline int32_t gHitWordID = -1;     // word ID of the local hit, -1 for none
inline std::string gHitWordSource;  // the names of the sources that know the word, ", "-joined
inline bool gDirectHit = false;     // the search word is a known word
// The search of gSearchWord was aborted: it counts as not run, so its word searches again.
inline bool gSearchAborted = false;

// --- Result lists; each holds a word at most once, ignoring letter case. Emptied in place.
inline WordList gSynonymWords;
inline WordList gFragmentStart;
inline WordList gFragmentEnd;
inline WordList gFragmentAny;
inline WordList gSoundexWords;
inline WordList gWordBaseform;
inline WordList gWordType;
inline WordList gWordSachgebiete;
inline WordList gForbiddenSynonyms;

// --- The report's style runs: consecutive (start, end) character offsets.
inline std::vector<int32_t> gBoldMarkers;
inline std::vector<int32_t> gItalicMarkers;

// --- Busy flags: set before a pass or request starts, cleared by its own end operation.
inline bool gSynonymSearchRunning = false;
inline bool gFragmentSearchRunning = false;
inline bool gSoundexSearchRunning = false;
inline bool gULBaseformSearchRunning = false;
inline bool gULSynonymsSearchRunning = false;
inline bool gULThesaurusSearchRunning = false;
inline bool gULSachgebieteSearchRunning = false;
inline bool gWordNetSearchRunning = false;

inline bool gInternetError = false;         // an online failure has been shown to the user
inline bool gRefreshReportRunning = false;  // a report build is under way
inline bool gShowAll = false;               // the next build shows every entry
inline int32_t gWindowStep = 20;            // pixels per step of the result window's animation

// Every global back to its value at program start (the program entry; tests between cases).
void InitializeGlobals();

// --- Search state, start and abort.
void SearchNow();
std::string NormalizeWord(const std::string& s);
bool CheckWord(const std::string& word);
bool CheckDirectHit();
void SearchAbort();
// SearchAbort calls so far: an operation that pumps events compares it before and after, to learn
// whether its search was ended in there.
uint64_t AbortCount();
bool IsAnySearchRunning();
// Hides the busy wheel once no search of any kind is running.
void HideWheelWhenIdle();
void SearchFinished();

// --- End operations of the local pass chain.
void FinishedSynonymSearch();   // on the synonym thread
void FinishedFragmentSearch();  // on the fragment thread
void FinishedSoundexSearch();   // on the main event loop

// --- Report builder.
void RefreshReport();
std::string ArrayToString(const WordList& list);
std::string ArrayToStringENContexts(const std::string& typeName, int32_t pos);
void HandleClickCommand(const std::string& command);

// --- Online replies and error reporting (main event loop).
void FinishedULBaseformSearch(bool isError, bool found, const std::string& word, bool firstTry);
void FinishedULSynonymsSearch(bool isError, bool found, const std::string& word);
void FinishedULThesaurusSearch(bool isError, bool found, const std::string& word);
void FinishedULSachgebieteSearch(bool isError, bool found, const std::string& word);
void FinishedWordNetSearch(bool isError, bool found, const std::string& word);
// Shows the internet error once until a base-form or lexical-database reply re-arms it.
void ReportInternetError();
// English: drops from gSynonymWords the words that gForbiddenSynonyms lists, each once.
void CleanSynonyms();

// --- Result-window sizing and showing.
// The target height of the result window for the report now in the field (bounded).
int32_t ResultWinTargetHeight();
void ShowResultWin();
void HideResultWin();
// For a search word whose search was not aborted: shows the result window as ShowResultWin does
// when it holds that search's report (no abort since a build last showed it), so that a report
// a window manager's close hid comes back without a new search.
void ShowResultWinAgain();
// Places the search window at the top right of the main screen, shows it and focuses the field.
void ShowSearchWin();

// --- Context menu of the search field and the report (main event loop).
// Appends the menu's items for `word` to base; noNewWindow leaves out "Open new window".
void ConstructContextualMenu(fw::MenuItem& base, const std::string& word, bool noNewWindow);
// Carries out the item whose text is itemText (ignoring case) for `word`.
void DoContextualMenu(const std::string& itemText, const std::string& word);

}  // namespace PMC
