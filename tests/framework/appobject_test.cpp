#include "framework/appobject.h"

#include <QThread>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/ui.h"

namespace {

// Records its life-cycle events and whether the event loop still ran when each came.
class RecordingApplication : public fw::Application {
  public:
    std::vector<std::string> events;
    bool loopRanAtCancelClose = false;

  protected:
    void Open() override {
        events.push_back("Open");
        fw::Quit(3);
    }
    bool CancelClose() override {
        events.push_back("CancelClose");
        loopRanAtCancelClose = QThread::currentThread()->loopLevel() > 0;
        return false;
    }
    void Close() override { events.push_back("Close"); }
};

TEST(ApplicationTest, QuitDeliversCancelCloseWhileTheLoopRunsThenCloseAfterIt) {
    std::unique_ptr<fw::UIServices> recording = fw::SetUI(nullptr);  // the real quit
    RecordingApplication application;
    EXPECT_EQ(application.Run(), 3);
    EXPECT_EQ(application.events, (std::vector<std::string>{"Open", "CancelClose", "Close"}));
    EXPECT_TRUE(application.loopRanAtCancelClose);
    fw::SetUI(std::move(recording));
}

}  // namespace
