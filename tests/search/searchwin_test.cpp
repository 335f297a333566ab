// The search window offscreen: the key filter on real key presses, the debounce of typing, the
// search timer's abort-and-retry while a search is still marked as running, and a shutdown.
#include <QLineEdit>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/events.h"
#include "framework/fiber_helpers.h"
#include "framework/lineundolimit.h"
#include "framework/text.h"
#include "search/App.h"
#include "search/PMC.h"
#include "search_fixture.h"
#include "window_events.h"
#include "windows/ResultWin.h"
#include "windows/SearchWin.h"

// Qt's own shutdown step that QApplication's destructor runs first: it calls the post routines,
// which destroy the program's windows.
void qt_call_post_routines();

namespace {

using Clock = std::chrono::steady_clock;

int64_t MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

class SearchWinTest : public ::testing::Test {
  protected:
    void SetUp() override {
        searchtest::ResetSearchState();
        PMC::ShowSearchWin();
    }
    void TearDown() override { searchtest::ResetSearchState(); }

    SearchWin& window = SearchWin::Get();
    ScopedRecordingUI ui;
};

struct KeyCase {
    const char* name;
    int key;  // 0: typed as a character of `text`
    std::string text;
    int caret;
    std::string after;
    bool beep;
};

TEST_F(SearchWinTest, KeyFilterLetsWordCharactersAndEditingKeysInAndDropsTheRestWithABeep) {
    const std::vector<KeyCase> cases = {
        {"letter", 0, "x", 2, "abx", false},
        {"sharp s", 0, "ß", 2, "abß", false},
        {"digit", 0, "7", 2, "ab", true},
        // Equal to a letter of the set only when case is ignored: the word check rejects them.
        {"capital sharp s", 0, "ẞ", 2, "ab", true},
        {"long s", 0, "ſ", 2, "ab", true},
        {"Kelvin sign", 0, "\u212A", 2, "ab", true},
        {"tab", Qt::Key_Tab, "\t", 2, "ab", true},
        {"up", Qt::Key_Up, "", 2, "ab", true},
        {"shift", Qt::Key_Shift, "", 2, "ab", false},
        {"backspace", Qt::Key_Backspace, "\b", 2, "a", false},
        {"forward delete", Qt::Key_Delete, "\x7f", 0, "b", false},
        {"left", Qt::Key_Left, "", 2, "ab", false},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        window.UserInput.SetText("ab");
        window.UserInput.SetSelStart(c.caret);
        window.SearchTimer.SetMode(fw::Timer::ModeOff);
        const int beeps = ui->beeps;
        if (c.key == 0) {
            TypeCharacter(window.UserInput, c.text);
        } else {
            SendKey(window.UserInput.Widget(), c.key, QString::fromStdString(c.text));
        }
        EXPECT_EQ(window.UserInput.Text(), c.after);
        EXPECT_EQ(ui->beeps - beeps, c.beep ? 1 : 0);
        const bool changed = c.after != "ab";
        EXPECT_EQ(window.SearchTimer.GetMode(), changed ? 1 : 0) << "only a change restarts it";
    }
}

// A lookup that never ends keeps the timer aborting and retrying; a change during the retry
// restarts the full debounce, and the search starts once nothing runs any more.
TEST_F(SearchWinTest, ChangeDuringTheAbortRetryRestartsTheFullDebounce) {
    PMC::gULBaseformSearchRunning = true;
    window.UserInput.SetText("Haus");
    ASSERT_TRUE(PumpUntil([&] { return window.SearchTimer.Period() == 200; }, 2000));
    EXPECT_EQ(window.SearchTimer.GetMode(), 1);
    EXPECT_EQ(PMC::gSearchWord, "") << "no search beside a running one";

    fw::DoEvents(100);
    TypeCharacter(window.UserInput, "e");
    const Clock::time_point change = Clock::now();
    PMC::gULBaseformSearchRunning = false;
    ASSERT_TRUE(PumpUntil([] { return PMC::gSearchWord == "Hause"; }, 3000));
    EXPECT_GE(MsSince(change), 745);
    EXPECT_LT(MsSince(change), 900);
    EXPECT_EQ(window.SearchTimer.GetMode(), 0) << "the search ran once";
}

// A long session: thousand-letter words typed over each other as the driver types them. Qt kept
// every character typed or replaced for undo, some 50 bytes each, for as long as the strip was
// open. Undoing as far as it goes must bring back only the last few words.
TEST_F(SearchWinTest, FieldsUndoHistoryStaysBoundedOverManyLongWords) {
    constexpr int kWords = 16;
    constexpr int kLength = 1000;
    std::vector<std::string> words;
    for (int i = 0; i < kWords; ++i) {
        std::string word;
        for (int j = 0; j < kLength; ++j) {
            word += static_cast<char>('a' + (i + j * j) % 26);
        }
        window.UserInput.SetSelStart(0);
        window.UserInput.SetSelLength(fw::Len(window.UserInput.Text()));
        SearchDriver::TypeWord(word);
        words.push_back(std::move(word));
    }
    auto* const line = qobject_cast<QLineEdit*>(window.UserInput.Widget());
    ASSERT_NE(line, nullptr);
    int restored = 0;
    for (int step = 0; line->isUndoAvailable() && step < 4 * kWords; ++step) {
        line->undo();
        restored += std::count(words.begin(), words.end(), line->text().toStdString());
    }
    EXPECT_GE(restored, 1) << "the word before the last comes back";
    EXPECT_LE(restored, fw::detail::LineUndoLimit::kCharacters / kLength);
}

// Shuts the application down while the fragment pass's end operation waits between two animation
// steps of its report rebuild, with the sound-alike pass's flag already set: the window's threads
// go with the window, and killing that end operation must not read a thread already destroyed.
void ShutDownDuringTheFragmentHandOver() {
    SearchWin& window = SearchWin::Get();
    PMC::InitializeGlobals();
    App::gDBLoaded = false;
    PMC::gWindowStep = 1;
    ResultWin::Get().SetHeight(1000);
    PMC::gFragmentSearchRunning = true;
    window.FragmentSearchThread.Run();
    if (!PumpUntil([] { return PMC::gRefreshReportRunning && PMC::gSoundexSearchRunning; },
                   10000)) {
        std::_Exit(2);
    }
    qt_call_post_routines();
    std::_Exit(0);
}

TEST(SearchWinDeathTest, ShutdownWhileAnEndOperationRebuildsTheReportEndsCleanly) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(ShutDownDuringTheFragmentHandOver(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
