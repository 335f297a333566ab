#include "framework/appobject.h"

#include <QThread>
#include <QTimer>

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
    bool cancel = false;

  protected:
    void Open() override {
        events.push_back("Open");
        fw::Quit(3);
    }
    bool CancelClose() override {
        events.push_back("CancelClose");
        loopRanAtCancelClose = QThread::currentThread()->loopLevel() > 0;
        if (cancel) {
            cancel = false;
            QTimer::singleShot(0, [] { fw::Quit(3); });
            return true;
        }
        return false;
    }
    void Close() override { events.push_back("Close"); }
};

// A cancelled quit keeps the loop running until the next one.
TEST(ApplicationTest, QuitDeliversCancelCloseWhileTheLoopRunsThenCloseAfterIt) {
    const std::vector<std::pair<bool, std::vector<std::string>>> rows = {
        {false, {"Open", "CancelClose", "Close"}},
        {true, {"Open", "CancelClose", "CancelClose", "Close"}}};
    std::unique_ptr<fw::UIServices> recording = fw::SetUI(nullptr);  // the real quit
    for (const auto& [cancel, events] : rows) {
        RecordingApplication application;
        application.cancel = cancel;
        EXPECT_EQ(application.Run(), 3);
        EXPECT_EQ(application.events, events);
        EXPECT_TRUE(application.loopRanAtCancelClose);
    }
    fw::SetUI(std::move(recording));
}

}  // namespace
