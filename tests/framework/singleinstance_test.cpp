#include "framework/singleinstance.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <string>
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

// A second start with the same key hands over and the holder activates, however deep the runtime
// folder lies (a clone at an ordinary path puts the tests' one past a socket address's length)
// and however long the key.
TEST(SingleInstanceTest, SecondStartHandsOverToTheHolderWhichActivates) {
    QTemporaryDir runtime;
    const QString deep = runtime.path() + "/" + QString(120, 'd') + "/" + QString(60, 'e');
    ASSERT_TRUE(QDir().mkpath(deep));
    QFile::setPermissions(deep,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const struct {
        QString folder;
        std::string key;
    } kCases[] = {
        {runtime.path(), "quorvane-test-:0"},
        {deep, "quorvane-test-:0"},
        {runtime.path(), "quorvane-test-" + std::string(300, 'k')},
    };
    std::unique_ptr<fw::UIServices> recording = fw::SetUI(nullptr);  // the real quit
    for (const auto& [folder, key] : kCases) {
        SCOPED_TRACE(folder.size() + key.size());
        const ScopedEnvironment runtimeFolder("XDG_RUNTIME_DIR", folder.toStdString());
        fw::SingleInstance holder(key);
        ASSERT_FALSE(holder.HandedOver());
        CountingApplication application;
        holder.Serve([&application] { application.RequestActivation(); });
        int activationsBefore = -1;
        QTimer::singleShot(0, [&] {
            activationsBefore = application.activations;
            EXPECT_TRUE(fw::SingleInstance(key).HandedOver());
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
    }
    fw::SetUI(std::move(recording));
}

}  // namespace
