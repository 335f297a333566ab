#include "framework/ui.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

// A fatal report during start-up asks to quit before the event loop runs; the loop must still end
// with the code as soon as it starts.
TEST(UITest, QuitAskedBeforeTheEventLoopRunsEndsItWithTheCode) {
    std::unique_ptr<fw::UIServices> previous = fw::SetUI(nullptr);
    fw::Quit(7);
    EXPECT_EQ(QCoreApplication::exec(), 7);
    fw::SetUI(std::move(previous));
}

}  // namespace
