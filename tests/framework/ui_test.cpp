#include "framework/ui.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QTimer>

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

// The texts break their paragraphs with CR, as the Mac did; the box shows line breaks for them.
TEST(UITest, MessageBoxShowsCarriageReturnsAsLineBreaks) {
    std::unique_ptr<fw::UIServices> previous = fw::SetUI(nullptr);
    QString shown;
    QTimer::singleShot(0, [&shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->text();
        box->accept();
    });
    fw::MsgBox("failed!\r\rEither\r\nor");
    fw::SetUI(std::move(previous));
    EXPECT_EQ(shown, "failed!\n\nEither\nor");
}

}  // namespace
