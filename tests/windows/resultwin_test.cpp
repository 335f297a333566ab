// Word picking in the result window offscreen: real clicks at characters of a styled report, with
// the clock and the Shift key under the test's control.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "framework/events.h"
#include "framework/timer.h"
#include "search/PMC.h"
#include "test_ui.h"
#include "window_events.h"
#include "windows/ResultWin.h"
#include "windows/SearchWin.h"

namespace {

int64_t gNow = 0;

// The report's shape: a leading line end, a bold headline, a bold heading, a list with an
// overflow count, entries of several words and with umlauts, a sense with its italic context
// (which begins with the line end before it), and a plain last line.
const std::string kReport =
    "\n\"Haus\" was found!\n\nSynonyms...\n\nabc, def, ghi, (12...)\n\nold house, Häuser\n\n"
    "home, dwelling\n[a shelter, a house]\n\nList of sources: Quorvane";
const std::string kContext = "\n[a shelter, a house]";

class ResultWinTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fw::SetTicksSource([] { return gNow; });
        gNow = 1'000'000;
        win.gDoubleClick = 0;
        win.gCommand.clear();
        win.gLastWord.clear();
        win.gLastSelStart = -1;
        win.gLastSelLength = 0;
        PMC::InitializeGlobals();
        SearchWin::Get().UserInput.SetText("");
        SearchWin::Get().SearchTimer.SetMode(fw::Timer::ModeOff);
        field.SetText(kReport);
        field.SetBold(1, fw::Len("\"Haus\" was found!"));
        field.SetBold(PositionOf(kReport, "Synonyms"), fw::Len("Synonyms..."));
        field.SetItalic(PositionOf(kReport, kContext), fw::Len(kContext));
        field.SetSelStart(0);
        ui->clipboard = "before";
        // Every handler answer, as the field got it from a real click.
        original_ = field.MouseDown;
        field.MouseDown = [this](int x, int y) {
            const bool handled = original_(x, y);
            answers.push_back(handled);
            return handled;
        };
        win.Show();
    }

    void TearDown() override {
        field.MouseDown = original_;
        win.Hide();
        SearchWin::Get().SearchTimer.SetMode(fw::Timer::ModeOff);
        PMC::InitializeGlobals();
        fw::SetTicksSource(nullptr);
    }

    // A click on the character `offset` characters into the first `needle` of the report,
    // `later` ticks after the previous click.
    void ClickAt(const std::string& needle, int64_t offset, int64_t later = 100,
                 Qt::MouseButton button = Qt::LeftButton, double across = 0.5) {
        gNow += later;
        ClickCharacter(field, PositionOf(kReport, needle) + offset, button, across);
    }

    ResultWin& win = ResultWin::Get();
    fw::EditField& field = win.ResultField;
    ScopedRecordingUI ui;
    std::vector<bool> answers;

  private:
    std::function<bool(int, int)> original_;
};

struct PickCase {
    const char* name;
    std::string needle;
    int64_t offset;
    double across;  // where on the character, from its left (0) to its right edge (1)
    std::string word;
    std::string command;
    std::string clipboard;
    bool renewsDoubleClick;
};

TEST_F(ResultWinTest, SingleClickPicksTheWordOrCommandUnderTheMouse) {
    const std::vector<PickCase> cases = {
        {"middle of a word", "def", 1, 0.5, "def", "", "def", true},
        {"comma after a word", ", def", 0, 0.5, "abc", "", "abc", true},
        {"right edge of that comma", ", def", 0, 0.9, "abc", "", "abc", true},
        {"blank before a word", " def", 0, 0.5, "def", "", "def", true},
        {"entry of several words", "old house", 5, 0.5, "old house", "", "old house", true},
        {"word with an umlaut", "Häuser", 2, 0.5, "Häuser", "", "Häuser", true},
        {"digits of the overflow count", "12...", 1, 0.5, "", "(12...)", "before", true},
        {"opening parenthesis of the count", "(12", 0, 0.5, "(12...)", "", "(12...)", true},
        {"bold heading", "Synonyms", 3, 0.5, "", "", "before", false},
        {"italic context", "shelter", 2, 0.5, "", "", "before", false},
        // Right of a line's end the click is at the line end: the line's last entry is picked,
        // the overflow count as a word, as a click on its "(" picks it. Headings and contexts
        // stay unpickable there too, and a line end that opens a context is italic itself.
        {"right of a list line's end", "Häuser\n", 6, 0.5, "Häuser", "", "Häuser", true},
        {"right of the last line's end", "Quorvane", 8, 0.5, "Quorvane", "", "Quorvane", true},
        {"right of the overflow count", "...)\n", 4, 0.5, "(12...)", "", "(12...)", true},
        {"right of a heading's line end", "...\n\nabc", 3, 0.5, "", "", "before", false},
        {"right of the headline's end", "found!\n", 6, 0.5, "", "", "before", false},
        {"right of a context's line end", "house]\n", 6, 0.5, "", "", "before", false},
        {"right of a sense before its context", "dwelling\n", 8, 0.5, "", "", "before", false},
        // An empty line holds no entry: nothing is picked, and the clipboard keeps its text.
        {"leading line end", "\n", 0, 0.5, "", "", "before", false},
        {"empty line between sections", "\n\nSynonyms", 1, 0.5, "", "", "before", false},
    };
    for (const PickCase& c : cases) {
        SCOPED_TRACE(c.name);
        win.gDoubleClick = 0;
        ui->clipboard = "before";
        answers.clear();
        ClickAt(c.needle, c.offset, 100, Qt::LeftButton, c.across);
        EXPECT_EQ(win.gLastWord, c.word);
        EXPECT_EQ(win.gCommand, c.command);
        EXPECT_EQ(ui->clipboard, c.clipboard);
        EXPECT_EQ(win.gDoubleClick, c.renewsDoubleClick ? gNow : 0);
        EXPECT_EQ(answers, std::vector<bool>{true});
        if (!c.word.empty()) {
            EXPECT_EQ(field.SelText(), c.word);
        }
    }
}

// An empty line and the area below the last line hold no entry: with or without Shift nothing
// is picked, the clipboard keeps its text, and a second click there searches nothing.
TEST_F(ResultWinTest, ClicksOnAnEmptyLineOrBelowTheTextPickAndSearchNothing) {
    win.SetHeight(400);
    auto* const edit = static_cast<QTextEdit*>(field.Widget());
    const QPoint emptyLine = CharacterPoint(field, PositionOf(kReport, "\n\nSynonyms") + 1);
    for (const QPoint at : {QPoint(20, 380), emptyLine, QPoint(200, emptyLine.y())}) {
        for (const bool shift : {false, true}) {
            SCOPED_TRACE(testing::Message() << at.x() << "," << at.y() << " shift " << shift);
            ui->shiftDown = shift;
            for (const int64_t later : {100, 10}) {
                gNow += later;
                SendClick(edit->viewport(), at, Qt::LeftButton);
            }
            EXPECT_EQ(win.gLastWord, "");
            EXPECT_EQ(ui->clipboard, "before");
            EXPECT_EQ(SearchWin::Get().UserInput.Text(), "");
        }
    }
}

// The report is a drawer of the search window: after a click has given it the keyboard, typed
// characters, Backspace and Delete go to the search field through its key filter; other keys
// stay with the report.
TEST_F(ResultWinTest, TypingAfterAClickGoesToTheSearchField) {
    fw::EditField& input = SearchWin::Get().UserInput;
    input.SetText("Haus");
    win.Hide();
    PMC::ShowResultWin();
    ClickAt("def", 1);
    ASSERT_TRUE(field.HasFocus());
    const std::tuple<int, const char*, Qt::KeyboardModifiers, const char*> keys[] = {
        {Qt::Key_T, "t", Qt::NoModifier, "Haust"},
        {Qt::Key_Backspace, "\b", Qt::NoModifier, "Haus"},
        {Qt::Key_7, "7", Qt::NoModifier, "Haus"},
        {Qt::Key_C, "\x03", Qt::ControlModifier, "Haus"}};
    for (const auto& [key, text, modifiers, after] : keys) {
        SendKey(field.Widget(), key, QString::fromUtf8(text), modifiers);
        EXPECT_EQ(input.Text(), after) << text;
    }
    EXPECT_EQ(ui->beeps, 1) << "the digit met the key filter";
    EXPECT_EQ(SearchWin::Get().SearchTimer.GetMode(), fw::Timer::ModeSingle);
}

// The real clock: the first click of a run is no double-click against the stored 0.
TEST_F(ResultWinTest, FirstClickOnTheRealClockPicksTheWord) {
    fw::SetTicksSource(nullptr);
    ClickCharacter(field, PositionOf(kReport, "def"), Qt::LeftButton);
    EXPECT_EQ(win.gLastWord, "def");
    EXPECT_EQ(ui->clipboard, "def");
}

// Right of a line's end a click acts on the line's last entry as a click on it does.
TEST_F(ResultWinTest, ShiftClicksAppendEachWordAfterABlank) {
    ui->clipboard = "old";
    ui->shiftDown = true;
    for (const auto& [needle, offset] : std::vector<std::pair<std::string, int64_t>>{
             {"abc", 0}, {"def", 0}, {"ghi", 0}, {"Häuser\n", 6}, {"Quorvane", 8}}) {
        ClickAt(needle, offset, 31);
    }
    EXPECT_EQ(ui->clipboard, "old abc def ghi Häuser Quorvane");
}

TEST_F(ResultWinTest, SecondClickWithin30TicksSearchesThePickedWord) {
    struct Case {
        std::string first;  // the first click's needle and the offset into it
        int64_t offset;
        int64_t later;
        std::string searched;
    };
    for (const Case& c : std::vector<Case>{
             {"def", 1, 29, "def"}, {"def", 1, 30, ""}, {"Häuser\n", 6, 29, "Häuser"}}) {
        SCOPED_TRACE(c.first + " " + std::to_string(c.later));
        SearchWin::Get().UserInput.SetText("");
        SearchWin::Get().SearchTimer.SetMode(fw::Timer::ModeOff);
        ClickAt(c.first, c.offset, 100);
        ClickAt("ghi", 1, c.later);
        const fw::EditField& input = SearchWin::Get().UserInput;
        EXPECT_EQ(input.Text(), c.searched);
        if (!c.searched.empty()) {
            EXPECT_EQ(input.SelStart(), fw::Len(c.searched)) << "caret after the word";
            EXPECT_EQ(input.SelLength(), 0);
            EXPECT_EQ(SearchWin::Get().SearchTimer.GetMode(), 1) << "the debounce started";
            EXPECT_EQ(win.gLastWord, c.searched) << "the double-click picks nothing new";
        } else {
            EXPECT_EQ(win.gLastWord, "ghi");
        }
        win.gDoubleClick = 0;
    }
}

TEST_F(ResultWinTest, DoubleClickOnTheOverflowCountRunsItAsACommand) {
    PMC::gRefreshReportRunning = true;  // the rebuild is deferred, so the request stays visible
    ClickAt("12...", 0);
    ClickAt("abc", 0, 10);
    EXPECT_TRUE(PMC::gShowAll);
    EXPECT_EQ(SearchWin::Get().RefreshLaterTimer.GetMode(), 1);
    EXPECT_EQ(SearchWin::Get().UserInput.Text(), "");
    SearchWin::Get().RefreshLaterTimer.SetMode(fw::Timer::ModeOff);
}

TEST_F(ResultWinTest, ContextualClickPicksWithoutCopyingAndLetsEventsRunFirst) {
    int fired = 0;
    fw::Timer due([&] { ++fired; }, 5);
    due.SetMode(fw::Timer::ModeSingle);
    const auto start = std::chrono::steady_clock::now();
    ClickAt("def", 1, 100, Qt::RightButton);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
    EXPECT_EQ(fired, 1) << "timers run before the menu opens";
    EXPECT_EQ(answers, std::vector<bool>{false}) << "the framework goes on to the menu";
    EXPECT_EQ(win.gLastWord, "def");
    EXPECT_EQ(win.gLastSelStart, PositionOf(kReport, "def"));
    EXPECT_EQ(win.gLastSelLength, 3);
    EXPECT_EQ(ui->clipboard, "before");
    EXPECT_EQ(win.gDoubleClick, 0) << "a contextual pick opens no double-click window";

    // Within 30 ticks of a pick, a contextual click is a double-click first.
    ClickAt("ghi", 0, 100);
    ClickAt("abc", 0, 5, Qt::RightButton);
    EXPECT_EQ(SearchWin::Get().UserInput.Text(), "ghi");
}

}  // namespace
