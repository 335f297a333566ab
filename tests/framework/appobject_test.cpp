#include "framework/appobject.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>
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

// The real quit, not the recording one the test program installs.
class RealQuit {
  public:
    RealQuit() : previous_(fw::SetUI(nullptr)) {}
    ~RealQuit() { fw::SetUI(std::move(previous_)); }

  private:
    std::unique_ptr<fw::UIServices> previous_;
};

TEST(ApplicationTest, QuitDeliversCancelCloseWhileTheLoopRunsThenCloseAfterIt) {
    const RealQuit quit;
    RecordingApplication application;
    EXPECT_EQ(application.Run(), 3);
    EXPECT_EQ(application.events, (std::vector<std::string>{"Open", "CancelClose", "Close"}));
    EXPECT_TRUE(application.loopRanAtCancelClose);
}

TEST(ApplicationTest, ACancelledQuitKeepsTheLoopRunningUntilTheNextQuit) {
    const RealQuit quit;
    RecordingApplication application;
    application.cancel = true;
    EXPECT_EQ(application.Run(), 3);
    EXPECT_EQ(application.events,
              (std::vector<std::string>{"Open", "CancelClose", "CancelClose", "Close"}));
}

}  // namespace
