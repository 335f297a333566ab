// The three local search passes. They are the search window's thread handlers, but their bodies
// belong to the controller: each fills one group of the controller's lists and ends in the
// controller's end operation, which starts the next pass.
#include <algorithm>
#include <numeric>
#include <span>
#include <vector>

#include "framework/text.h"
#include "framework/threads.h"
#include "search/App.h"
#include "search/PMC.h"
#include "sources/ReplyBudget.h"
#include "sources/SSC.h"
#include "sources/WordListIndex.h"
#include "windows/SearchWin.h"
#include "worddata/DIC.h"

namespace {

constexpr int32_t kFragmentRowCap = 500;
constexpr int32_t kSoundexRowCap = 1000;
constexpr double kFirstThreshold = 40.0;
constexpr double kThresholdRise = 5.0;
constexpr double kLastThreshold = 80.0;
constexpr size_t kShortEnough = 20;

// A result list as a pass fills it: each word once, ignoring case, and only what an online reply
// could add, for the word files are untrusted as well (a stored word of a hundred thousand
// letters froze the report's layout). The row caps bound the entries; no real list nears them.
class PassList {
  public:
    explicit PassList(PMC::WordList& list) : index_(list), budget_(kSoundexRowCap) {}
    void Append(const std::string& word) { index_.AppendIfAbsent(word, budget_); }

  private:
    WordListIndex index_;
    ReplyBudget budget_;
};

// The rows of the last lookup that a pass may read (the lookup stops at the pass's cap): never
// more than the hit lists hold.
size_t RowsToRead(int32_t found) {
    return std::min(static_cast<size_t>(std::max(found, 0)), DIC::gHitWord.size());
}

// The values in the order in which each first appears, each once. Sorted rather than hashed: the
// values come from the word-group file, and no choice of them may make this slower than a sort.
std::vector<int32_t> FirstOfEach(std::span<const int32_t> values) {
    std::vector<size_t> order(values.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [values](size_t a, size_t b) { return values[a] < values[b]; });
    std::vector<bool> first(values.size());
    for (size_t i = 0; i < order.size(); ++i) {
        first[order[i]] = i == 0 || values[order[i]] != values[order[i - 1]];
    }
    std::vector<int32_t> distinct;
    for (size_t i = 0; i < values.size(); ++i) {
        if (first[i]) {
            distinct.push_back(values[i]);
        }
    }
    return distinct;
}

// A word record may name one group thousands of times, and one word may stand in many groups; the
// list would come out the same, so each group and each word is read once.
std::vector<int32_t> SynonymIDs(int32_t wordID) {
    std::vector<int32_t> members;
    for (const int32_t key : FirstOfEach(DIC::gWordGroupsDict.GroupKeys(wordID))) {
        const std::span<const int32_t> group = DIC::gGroupDict->Members(key);
        members.insert(members.end(), group.begin(), group.end());
    }
    return FirstOfEach(members);
}

void CollectSynonyms() {
    if (PMC::gHitWordID == -1 || !DIC::gGroupDict) {
        return;
    }
    PassList synonyms(PMC::gSynonymWords);
    for (const int32_t wordID : SynonymIDs(PMC::gHitWordID)) {
        const std::string word = DIC::GetWord(wordID);
        if (!fw::EqualsIgnoreCase(word, PMC::gHitWord) && PMC::CheckWord(word)) {
            synonyms.Append(word);
        }
        fw::Yield();
    }
}

struct FragmentLists {
    PassList start{PMC::gFragmentStart};
    PassList end{PMC::gFragmentEnd};
    PassList any{PMC::gFragmentAny};
};

void ClassifyFragment(const std::string& word, const std::string& candidate, FragmentLists& lists) {
    const int64_t position = fw::InStr(candidate, word);
    if (position == 1) {
        lists.start.Append(candidate);
    } else if (position == fw::Len(candidate) - fw::Len(word) + 1) {
        lists.end.Append(candidate);
    } else {
        lists.any.Append(candidate);
    }
}

void CollectFragments(const std::string& word) {
    const size_t rows = RowsToRead(DIC::FindWord("%" + word + "%", false, kFragmentRowCap));
    FragmentLists lists;
    for (size_t i = 0; i < rows; ++i) {
        // A copy: the hit lists belong to whichever lookup ran last.
        const std::string candidate = DIC::gHitWord[i];
        if (!fw::EqualsIgnoreCase(candidate, word) && PMC::CheckWord(candidate)) {
            ClassifyFragment(word, candidate, lists);
        }
        fw::Yield();
    }
    fw::SortList(PMC::gFragmentStart);
    fw::SortList(PMC::gFragmentEnd);
    fw::SortList(PMC::gFragmentAny);
}

// One round: the rows that reach the threshold, into the emptied sound-alike list.
void CollectSoundAlikes(const std::string& word, size_t rows, double threshold) {
    PMC::gSoundexWords.clear();
    PassList soundAlikes(PMC::gSoundexWords);
    for (size_t i = 0; i < rows; ++i) {
        const std::string candidate = DIC::gHitWord[i];
        if (!fw::EqualsIgnoreCase(candidate, word) &&
            DIC::FuzzyCompare(word, candidate) >= threshold && PMC::CheckWord(candidate)) {
            soundAlikes.Append(candidate);
        }
        fw::Yield();
    }
}

// Raises the threshold round by round until the list is short or the threshold reaches its end.
void CollectSoundAlikeRounds(const std::string& word, int32_t key) {
    const size_t rows = RowsToRead(DIC::FindSoundex(key, kSoundexRowCap));
    double threshold = kFirstThreshold;
    while (true) {
        CollectSoundAlikes(word, rows, threshold);
        threshold += kThresholdRise;
        fw::Yield();
        if (PMC::gSoundexWords.size() <= kShortEnough || threshold >= kLastThreshold) {
            return;
        }
    }
}

}  // namespace

void SearchWin::SynonymSearchThread_Run() {
    PMC::gSynonymWords.clear();
    CollectSynonyms();
    PMC::FinishedSynonymSearch();
}

void SearchWin::FragmentSearchThread_Run() {
    const std::string word = PMC::gSearchWord;
    PMC::gFragmentStart.clear();
    PMC::gFragmentEnd.clear();
    PMC::gFragmentAny.clear();
    if (App::gDBLoaded) {
        CollectFragments(word);
    }
    PMC::FinishedFragmentSearch();
}

void SearchWin::SoundexSearchThread_Run() {
    const std::string word = PMC::gSearchWord;
    if (App::gDBLoaded) {
        if (const int32_t key = DIC::GetSoundex(word); key > 0) {
            CollectSoundAlikeRounds(word, key);
        }
    }
    // The spell checker's guesses for the hand-over are computed on a thread of their own while
    // the event loop waits for it: Hunspell's time limit counts the CPU of the whole process, so
    // they must not run beside the passes, or a long word loses its guesses.
    SSC::PrepareGuessesForWord(PMC::gSearchWord);
    FinishedSoundexSearchTimer.SetMode(fw::Timer::ModeSingle);
}

void SearchWin::FinishedSoundexSearchTimer_Action() {
    // Waiting here for guesses still being computed would freeze the window: the hand-over comes
    // back once they are there.
    SSC::PrepareGuessesForWord(PMC::gSearchWord);
    if (SSC::GuessesPending(PMC::gSearchWord)) {
        FinishedSoundexSearchTimer.SetMode(fw::Timer::ModeSingle);
        return;
    }
    PMC::FinishedSoundexSearch();
}
