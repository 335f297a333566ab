#include "framework/ui.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include "test_ui.h"

namespace {

TEST(UITest, ReplacedServicesReceiveTheCallsAndComeBackOnRestore) {
    auto recorder = std::make_unique<RecordingUI>();
    RecordingUI* recorded = recorder.get();
    std::unique_ptr<fw::UIServices> previous = fw::SetUI(std::move(recorder));

    fw::MsgBox("Program Error!\n\nCan't create the database file!");
    fw::Quit(0);
    fw::Beep();
    EXPECT_EQ(recorded->messages,
              std::vector<std::string>{"Program Error!\n\nCan't create the database file!"});
    EXPECT_EQ(recorded->quitCodes, std::vector<int>{0});
    EXPECT_EQ(recorded->beeps, 1);

    std::unique_ptr<fw::UIServices> returned = fw::SetUI(std::move(previous));
    EXPECT_EQ(returned.get(), recorded);
}

// A fatal report during start-up asks to quit before the event loop runs; the loop must still end
// with the code as soon as it starts.
TEST(UITest, QuitAskedBeforeTheEventLoopRunsEndsItWithTheCode) {
    std::unique_ptr<fw::UIServices> previous = fw::SetUI(nullptr);
    fw::Quit(7);
    EXPECT_EQ(QCoreApplication::exec(), 7);
    fw::SetUI(std::move(previous));
}

}  // namespace
