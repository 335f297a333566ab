#include "framework/singleinstance.h"

#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "framework/appobject.h"
#include "framework/ui.h"
#include "scoped_environment.h"

namespace {

class CountingApplication : public fw::Application {
  public:
    int activations = 0;

  protected:
    void Activate() override { ++activations; }
};

// A second start with the same key hands over and the holder activates.
TEST(SingleInstanceTest, SecondStartHandsOverToTheHolderWhichActivates) {
    QTemporaryDir runtime;
    const ScopedEnvironment folder("XDG_RUNTIME_DIR", runtime.path().toStdString());
    std::unique_ptr<fw::UIServices> recording = fw::SetUI(nullptr);  // the real quit
    fw::SingleInstance holder("quorvane-test-:0");
    ASSERT_FALSE(holder.HandedOver());
    CountingApplication application;
    holder.Serve([&application] { application.RequestActivation(); });
    int activationsBefore = -1;
    QTimer::singleShot(0, [&] {
        activationsBefore = application.activations;
        EXPECT_TRUE(fw::SingleInstance("quorvane-test-:0").HandedOver());
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (application.activations > activationsBefore && activationsBefore >= 0) {
            fw::Quit(0);
        }
    });
    poll.start(5);
    QTimer::singleShot(5000, [] { fw::Quit(1); });
    EXPECT_EQ(application.Run(), 0);
    EXPECT_EQ(application.activations, activationsBefore + 1);
    fw::SetUI(std::move(recording));
}

}  // namespace
