// The result window's sizing: the height rule with its bounds, the animated steps towards it,
// and showing and hiding without disturbing the search field.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/timer.h"
#include "search/PMC.h"
#include "search/PMCSizing.h"
#include "test_ui.h"
#include "windows/ResultWin.h"
#include "windows/SearchWin.h"

namespace {

class SizingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The main screen lies below another one.
        ui_->screenTop = 300;
        ui_->screenAvailableHeight = 1000;
        PMC::InitializeGlobals();
        PMC::gSearchWord = "x";  // a word is searched: its report shows
        SearchWin::Get().SetTop(324);
        ResultWin& result = ResultWin::Get();
        result.Hide();
        result.SetHeight(100);
        result.ResultField.SetTextSize(11);
    }
    void TearDown() override { PMC::InitializeGlobals(); }

    // A report of unwrapped one-letter lines whose last line is `lastLine`, with the given
    // numbers of bold and italic runs.
    static void WriteReport(int lastLine, int boldRuns, int italicRuns) {
        std::string text = "x";
        for (int i = 0; i < lastLine; ++i) {
            text += "\nx";
        }
        PMC::PrepareResultFieldForReport();
        ResultWin::Get().ResultField.SetText(text);
        PMC::gBoldMarkers.clear();
        PMC::gItalicMarkers.clear();
        for (int i = 0; i < boldRuns; ++i) {
            PMC::gBoldMarkers.insert(PMC::gBoldMarkers.end(), {2 * i, 2 * i + 1});
        }
        for (int i = 0; i < italicRuns; ++i) {
            PMC::gItalicMarkers.insert(PMC::gItalicMarkers.end(), {2 * i, 2 * i + 1});
        }
    }

    int BelowSearchWin() const {
        return SearchWin::Get().Top() + SearchWin::Get().Height() - ui_->screenTop;
    }

    ScopedRecordingUI ui_;
};

TEST_F(SizingTest, TargetHeightFollowsLinesAndRunsWithinItsBounds) {
    struct Case {
        const char* scenario;
        int lastLine, bold, italic;
        int room;  // below the search window
        int expected;
    };
    const Case cases[] = {
        {"WorkedExample", 10, 5, 2, 900, 185},
        {"RawTargetOfExactly100", 4, 2, 0, 900, 100},
        {"TallReportGetsTheRoomBelowTheSearchWindow", 100, 0, 0, 530, 530},
        {"RoomBelowTheMinimumKeepsTheMinimum", 100, 0, 0, 50, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scenario);
        ui_->screenAvailableHeight = c.room + BelowSearchWin();
        WriteReport(c.lastLine, c.bold, c.italic);
        EXPECT_EQ(PMC::ResultWinTargetHeight(), c.expected);
    }
}

TEST_F(SizingTest, WindowMovesInStepsAndLandsOnTheTarget) {
    struct Case {
        const char* scenario;
        int from, lastLine, bold, italic, step, room;
        std::vector<int> heights;
    };
    const Case cases[] = {
        {"GrowsInStepsOfTheWindowStep", 100, 10, 5, 2, 20, 900, {120, 140, 160, 180, 185}},
        {"ShrinksInStepsOfTheWindowStep", 185, 2, 0, 0, 20, 900, {165, 145, 125, 105, 100}},
        {"ScreenWithoutRoomForTheMinimumStopsAtIt", 160, 100, 0, 0, 20, 40, {140, 120, 100}},
        {"HeightAlreadyRightPumpsNothing", 100, 2, 0, 0, 20, 900, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scenario);
        ui_->screenAvailableHeight = c.room + BelowSearchWin();
        ResultWin::Get().SetHeight(c.from);
        PMC::gWindowStep = c.step;
        WriteReport(c.lastLine, c.bold, c.italic);
        // Every distinct height the window takes while events are pumped, and how often they are.
        std::vector<int> heights;
        int pumps = 0;
        fw::Timer recorder(
            [&] {
                ++pumps;
                if (heights.empty() || heights.back() != ResultWin::Get().Height()) {
                    heights.push_back(ResultWin::Get().Height());
                }
            },
            1);
        recorder.SetMode(fw::Timer::ModeMultiple);
        PMC::FitAndShowResultWin();
        EXPECT_EQ(heights, c.heights);
        EXPECT_EQ(pumps == 0, c.heights.empty());
        EXPECT_EQ(ResultWin::Get().ResultField.Height(), ResultWin::Get().Height());
        EXPECT_TRUE(ResultWin::Get().Visible());
    }
}

TEST_F(SizingTest, ShowingKeepsTheSearchFieldsSelectionAndFocus) {
    SearchWin& search = SearchWin::Get();
    search.Show();
    search.UserInput.SetText("Haustür");
    search.UserInput.SetSelStart(2);
    search.UserInput.SetSelLength(3);

    PMC::ShowResultWin();
    EXPECT_EQ(search.UserInput.SelStart(), 2);
    EXPECT_EQ(search.UserInput.SelLength(), 3);
    EXPECT_TRUE(search.UserInput.HasFocus());

    PMC::HideResultWin();
    EXPECT_FALSE(ResultWin::Get().Visible());
    EXPECT_TRUE(search.UserInput.HasFocus());
}

}  // namespace
