// The three local search passes. They are the search window's thread handlers, but their bodies
// belong to the controller: each fills one group of the controller's lists and ends in the
// controller's end operation, which starts the next pass.
#include <algorithm>

#include "framework/text.h"
#include "framework/threads.h"
#include "search/App.h"
#include "search/PMC.h"
#include "sources/SSC.h"
#include "windows/SearchWin.h"
#include "worddata/DIC.h"

namespace {

constexpr int32_t kFragmentRowCap = 500;
constexpr int32_t kSoundexRowCap = 1000;
constexpr double kFirstThreshold = 40.0;
constexpr double kThresholdRise = 5.0;
constexpr double kLastThreshold = 80.0;
constexpr size_t kShortEnough = 20;

void AppendOnce(PMC::WordList& list, const std::string& word) {
    if (fw::IndexOf(list, word) < 0) {
        list.push_back(word);
    }
}

// The rows of the last lookup that a pass may read (the lookup stops at the pass's cap): never
// more than the hit lists hold.
size_t RowsToRead(int32_t found) {
    return std::min(static_cast<size_t>(std::max(found, 0)), DIC::gHitWord.size());
}

void CollectSynonyms() {
    if (PMC::gHitWordID == -1 || !DIC::gGroupDict) {
        return;
    }
    for (const int32_t key : DIC::gWordGroupsDict.GroupKeys(PMC::gHitWordID)) {
        for (const int32_t wordID : DIC::gGroupDict->Members(key)) {
            const std::string word = DIC::GetWord(wordID);
            if (!fw::EqualsIgnoreCase(word, PMC::gHitWord) && PMC::CheckWord(word)) {
                AppendOnce(PMC::gSynonymWords, word);
            }
            fw::Yield();
        }
        fw::Yield();
    }
}

void ClassifyFragment(const std::string& word, const std::string& candidate) {
    const int64_t position = fw::InStr(candidate, word);
    if (position == 1) {
        AppendOnce(PMC::gFragmentStart, candidate);
    } else if (position == fw::Len(candidate) - fw::Len(word) + 1) {
        AppendOnce(PMC::gFragmentEnd, candidate);
    } else {
        AppendOnce(PMC::gFragmentAny, candidate);
    }
}

void CollectFragments(const std::string& word) {
    const size_t rows = RowsToRead(DIC::FindWord("%" + word + "%", false, kFragmentRowCap));
    for (size_t i = 0; i < rows; ++i) {
        // A copy: the hit lists belong to whichever lookup ran last.
        const std::string candidate = DIC::gHitWord[i];
        if (!fw::EqualsIgnoreCase(candidate, word) && PMC::CheckWord(candidate)) {
            ClassifyFragment(word, candidate);
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
    for (size_t i = 0; i < rows; ++i) {
        const std::string candidate = DIC::gHitWord[i];
        if (!fw::EqualsIgnoreCase(candidate, word) &&
            DIC::FuzzyCompare(word, candidate) >= threshold && PMC::CheckWord(candidate)) {
            AppendOnce(PMC::gSoundexWords, candidate);
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
