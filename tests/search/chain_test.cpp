// Whatever state the pass chain is in when a new word arrives, the new search starts and no busy
// flag stays set once nothing runs any more.
#include <functional>
#include <string>

#include "framework/fiber_helpers.h"
#include "framework/text.h"
#include "framework/threads.h"
#include "framework/timer.h"
#include "search/PMC.h"
#include "search_fixture.h"
#include "sources/SSC.h"
#include "windows/ResultWin.h"
#include "windows/SearchWin.h"
#include "worddata/DIC.h"

namespace searchtest {
namespace {

using State = fw::Thread::State;

bool Running(const fw::Thread& thread) {
    return thread.GetState() == State::Running;
}

// The sound-alike pass has ended and its 100 ms hand-over is still to run.
bool HandOverPending() {
    const SearchWin& window = SearchWin::Get();
    return window.FinishedSoundexSearchTimer.GetMode() == fw::Timer::ModeSingle &&
           !Running(window.SoundexSearchThread);
}

class ChainTest : public SearchTest {
  protected:
    void ExpectSettledOn(const std::string& word) {
        EXPECT_FALSE(PMC::IsAnySearchRunning());
        EXPECT_EQ(PMC::gSearchWord, word);
        EXPECT_TRUE(PMC::gDirectHit);
        EXPECT_NE(fw::InStr(PMC::gHitWordSource, "Quorvane"), 0);
        EXPECT_FALSE(PMC::gFragmentStart.empty()) << "the new search ran its fragment pass";
        EXPECT_FALSE(SearchWin::Get().ProgressWheel.Visible());
    }
};

// Each row is a moment a new word can meet. The traps: an end operation has set the next pass's
// flag and rebuilds the report, whose animation pumps events, when the search timer's abort kills
// the ending thread right there; and an abort after the sound-alike pass ended but before its
// 100 ms hand-over ran leaves the flag, so the hand-over still runs and the retrying search timer
// starts the new search after it.
TEST_F(ChainTest, NewSearchStartsWhateverStateThePassChainIsIn) {
    SearchWin& window = SearchWin::Get();
    const auto ending = [](const fw::Thread& thread, const bool& nextFlag) {
        return [&] {
            return PMC::gRefreshReportRunning && fw::CurrentThread() == &thread && nextFlag;
        };
    };
    struct Case {
        const char* name;
        int timeSlice;   // 0: a thread switch at every yield, so each pass is met running
        int windowStep;  // 2: a long animation, many 8 ms pumps inside the end operation
        std::function<bool()> reached;
    };
    const Case cases[] = {
        {"synonym pass", 0, 20, [&] { return Running(window.SynonymSearchThread); }},
        {"fragment pass", 0, 20, [&] { return Running(window.FragmentSearchThread); }},
        {"sound-alike pass", 0, 20, [&] { return Running(window.SoundexSearchThread); }},
        {"synonym end", 3000, 2, ending(window.SynonymSearchThread, PMC::gFragmentSearchRunning)},
        {"fragment end", 3000, 2, ending(window.FragmentSearchThread, PMC::gSoundexSearchRunning)},
        {"pending hand-over", 3000, 20, HandOverPending},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetSearchState();
        PMC::gWindowStep = c.windowStep;
        fw::SetTimeSlice(c.timeSlice);
        InterruptAt("Haus", c.reached, "Fenster");
        fw::SetTimeSlice(3000);
        ExpectSettledOn("Fenster");
    }
}

// An aborted search counts as not run: going back to its word during the retry searches it again
// (here the abort met its pending hand-over, which still runs), and the report ends as that word's
// full report. The same word in another case is searched again too.
TEST_F(ChainTest, GoingBackToTheAbortedWordOrChangingItsCaseSearchesItAgain) {
    InterruptAt("Haus", HandOverPending, "Hausx", "Haus");
    ExpectSettledOn("Haus");
    const std::string report = ResultWin::Get().ResultField.Text();
    EXPECT_EQ(fw::Left(report, 18), "\n\"Haus\" was found!");
    EXPECT_EQ(fw::InStrB(1, report, "Please wait"), 0);
    EXPECT_NE(fw::InStrB(1, report, "Synonyms..."), 0);

    EXPECT_TRUE(Search("haus").hit);
    EXPECT_EQ(PMC::gSearchWord, "haus");
}

// A reply handled inside the first report's animation can make the word known; the search start
// reads the verdict again and runs the synonym pass first. The injected hit borrows the word ID of
// "Haus", so the synonym pass leaves a trace.
TEST_F(ChainTest, AHitArrivingWhileTheFirstReportIsBuiltStartsTheSynonymPass) {
    ASSERT_GT(DIC::FindWord("Haus", true), 0);
    const int32_t hausID = DIC::gHitID[0];
    Search("Haus");  // a tall report: the next search's first report shrinks the window in steps
    // The base-form lookup runs on through the first report (whose own rebuilds would be reports
    // too) until its time-out.
    services_.behaviour = LocalHTTPServer::Behaviour::NeverAnswer;
    SearchWin::Get().SocketTimeOut.SetPeriod(500);
    bool injected = false;
    fw::Timer probe(
        [&] {
            if (!injected && PMC::gRefreshReportRunning && PMC::gSearchWord == "Xylofantik" &&
                PMC::gULBaseformSearchRunning && fw::CurrentThread() == nullptr) {
                PMC::gDirectHit = true;
                PMC::gHitWord = "Haus";
                PMC::gHitWordID = hausID;
                injected = true;
            }
        },
        1);
    probe.SetMode(fw::Timer::ModeMultiple);
    Search("Xylofantik");
    probe.SetMode(fw::Timer::ModeOff);
    ASSERT_TRUE(injected) << "the first report never animated";
    EXPECT_FALSE(PMC::gSynonymWords.empty()) << "the synonym pass ran";
    EXPECT_FALSE(PMC::IsAnySearchRunning());
}

// Hunspell's guesses take tens of milliseconds (a quarter of a second for a long compound); they
// are computed on a thread of their own, and a hand-over that finds them not there yet comes back
// later instead of waiting on the event loop.
TEST_F(ChainTest, HandOverComesBackWhileTheGuessesAreStillComputed) {
    SearchWin& window = SearchWin::Get();
    const std::string word = "Strasenbahn";
    PMC::gSearchWord = word;
    PMC::gSoundexSearchRunning = true;
    SSC::PrepareGuessesForWord(word);
    window.FinishedSoundexSearchTimer_Action();
    EXPECT_TRUE(PMC::gSoundexSearchRunning);
    EXPECT_EQ(window.FinishedSoundexSearchTimer.GetMode(), fw::Timer::ModeSingle);
    ASSERT_TRUE(SearchDriver::WaitUntilSettled(10000));
    EXPECT_GE(fw::IndexOf(PMC::gSoundexWords, "Straßenbahn"), 0);
}

}  // namespace
}  // namespace searchtest
