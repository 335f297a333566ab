#include "framework/ui.h"

#include <xcb/xcb.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QTimer>
#include <QWidget>

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

// Another program destroying the message box dismisses it: an unseen modal box would hold the
// program for good.
TEST(UITest, MessageBoxDestroyedByAnotherProgramIsDismissed) {
    std::unique_ptr<fw::UIServices> recording = fw::SetUI(nullptr);
    bool destroyed = false;
    QTimer destroy;
    QObject::connect(&destroy, &QTimer::timeout, [&destroyed] {
        QWidget* const box = QApplication::activeModalWidget();
        if (box == nullptr || destroyed) {
            return;
        }
        xcb_destroy_notify_event_t event{};
        event.response_type = XCB_DESTROY_NOTIFY;
        event.window = static_cast<xcb_window_t>(box->winId());
        qintptr result = 0;
        QAbstractEventDispatcher::instance()->filterNativeEvent("xcb_generic_event_t", &event,
                                                                &result);
        destroyed = true;
    });
    destroy.start(10);
    bool leftOpen = false;
    QTimer fallback;
    fallback.setSingleShot(true);
    QObject::connect(&fallback, &QTimer::timeout, [&leftOpen] {
        if (QWidget* const box = QApplication::activeModalWidget()) {
            leftOpen = true;
            box->close();
        }
    });
    fallback.start(2000);
    fw::MsgBox("Destroyed");
    EXPECT_TRUE(destroyed);
    EXPECT_FALSE(leftOpen);
    fw::SetUI(std::move(recording));
}

}  // namespace
