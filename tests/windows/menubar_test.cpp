// The menus on Linux, offscreen: the strip's menu from its title picture, the Edit items on the
// focused field, About from the strip, and Quit with Ctrl+Q from every window.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/fiber_helpers.h"
#include "framework/timer.h"
#include "search/App.h"
#include "search/PMC.h"
#include "test_ui.h"
#include "window_events.h"
#include "windows/AboutWindow.h"
#include "windows/ResultWin.h"
#include "windows/SearchWin.h"
#include "windows/TextWindow.h"

namespace {

using Shown = std::vector<std::pair<std::string, bool>>;

// The visible entries of `menu` with their enabled state; submenus and separators show as their
// titles and "-".
Shown Entries(const QMenu& menu) {
    Shown shown;
    for (const QAction* action : menu.actions()) {
        shown.emplace_back(action->isSeparator() ? "-" : action->text().toStdString(),
                           action->isEnabled());
    }
    return shown;
}

Shown Opened(QMenu& menu) {
    emit menu.aboutToShow();
    return Entries(menu);
}

QMenu* MenuTitled(const QWidget* window, const std::string& title) {
    for (QMenu* menu : window->findChildren<QMenu*>()) {
        if (menu->title().toStdString() == title) {
            return menu;
        }
    }
    return nullptr;
}

QAction* ActionNamed(const QWidget& menu, const std::string& text) {
    for (QAction* action : menu.actions()) {
        if (action->text().toStdString() == text) {
            return action;
        }
    }
    return nullptr;
}

void Activate(fw::Window& window) {
    window.BringToFront();
    ASSERT_TRUE(PumpUntil([&] { return QApplication::activeWindow() == window.Widget(); }));
}

class MenuBarTest : public ::testing::Test {
  protected:
    void TearDown() override {
        App::gAppIsQuitting = false;
        for (int i = fw::WindowCount() - 1; i >= 0; --i) {
            fw::Window* const window = fw::WindowAt(i);
            if (dynamic_cast<TextWindow*>(window) || dynamic_cast<AboutWindow*>(window)) {
                window->Close();
            }
        }
        fw::DoEvents(0);
        SearchWin::Get().UserInput.SetText("");
        SearchWin::Get().SearchTimer.SetMode(fw::Timer::ModeOff);
    }

    ScopedRecordingUI ui;
    App app;
};

TEST_F(MenuBarTest, TitlePictureOpensTheStripsMenuWhoseAboutOpensTheAboutBox) {
    SearchWin& strip = SearchWin::Get();
    PMC::ShowSearchWin();
    QTimer::singleShot(100, [&] {
        auto* const popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(popup, nullptr);
        QAction* const about = ActionNamed(*popup, "About Quorvane");
        ASSERT_NE(about, nullptr);
        about->trigger();
        popup->close();
    });
    SendClick(strip.WinTitleFake.Widget(), QPointF(150, 8), Qt::LeftButton);
    EXPECT_NE(dynamic_cast<AboutWindow*>(fw::WindowAt(0)), nullptr);
}

TEST_F(MenuBarTest, EditItemsActOnTheFocusedFieldAndAreDisabledWithoutOne) {
    SearchWin& strip = SearchWin::Get();
    PMC::ShowSearchWin();
    strip.UserInput.SetText("Haus");
    strip.SearchTimer.SetMode(fw::Timer::ModeOff);
    strip.UserInput.SetSelStart(0);
    strip.UserInput.SetSelLength(2);
    QMenu* const edit = MenuTitled(strip.Widget(), "&Edit");
    ASSERT_NE(edit, nullptr);
    const Shown selected = {{"Cu&t", true},   {"&Copy", true}, {"&Paste", false},
                            {"Delete", true}, {"-", true},     {"Select &All", true}};
    QApplication::clipboard()->clear();
    EXPECT_EQ(Opened(*edit), selected);
    ActionNamed(*edit, "Delete")->trigger();
    EXPECT_EQ(strip.UserInput.Text(), "us");

    TextWindow& copy = TextWindow::Make();
    copy.Show();
    copy.TextField.Widget()->clearFocus();
    QMenu* const copyEdit = MenuTitled(copy.Widget(), "&Edit");
    for (const auto& [text, enabled] : Opened(*copyEdit)) {
        EXPECT_FALSE(enabled && text != "-") << text << ": no field has the focus";
    }
}

// Ways to a copy's Edit menu on which its menu bar, not its field, has the window's focus while
// the menu opens (after Alt also while it is open).
TEST_F(MenuBarTest, CopysEditItemsFollowItsFieldHoweverTheMenuIsReached) {
    const auto title = [](QMenuBar& bar, const char* menu) {
        return bar.actionGeometry(ActionNamed(bar, menu)).center();
    };
    const std::pair<const char*, std::function<void(QMenuBar&)>> routes[] = {
        {"File, then the arrow key",
         [&](QMenuBar& bar) {
             QTest::mouseClick(&bar, Qt::LeftButton, {}, title(bar, "&File"));
             QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Right);
         }},
        {"File, then the mouse, which the open menu passes on to the bar",
         [&](QMenuBar& bar) {
             QTest::mouseClick(&bar, Qt::LeftButton, {}, title(bar, "&File"));
             QWidget* const file = QApplication::activePopupWidget();
             const QPointF global = bar.mapToGlobal(QPointF(title(bar, "&Edit")));
             QMouseEvent move(QEvent::MouseMove, file->mapFromGlobal(global), global, Qt::NoButton,
                              Qt::NoButton, Qt::NoModifier);
             QCoreApplication::sendEvent(file, &move);
         }},
        {"Alt pressed and released (a window switch), then a click on Edit",
         [&](QMenuBar& bar) {
             QTest::keyClick(bar.window(), Qt::Key_Alt);
             QTest::mouseClick(&bar, Qt::LeftButton, {}, title(bar, "&Edit"));
         }},
    };
    ResultWin::Get().ResultField.SetText("\nheadline\nline 2\nline 3");
    for (const auto& [how, reach] : routes) {
        SCOPED_TRACE(how);
        TextWindow& copy = TextWindow::Make();
        copy.Show();
        Activate(copy);
        copy.TextField.SetFocus();
        copy.TextField.SetSelLength(4);
        QApplication::clipboard()->setText("pasted");
        auto* const bar = copy.Widget()->findChild<QMenuBar*>();
        QMenu* const edit = MenuTitled(copy.Widget(), "&Edit");
        bool barHadTheFocus = false;
        const QMetaObject::Connection watch = QObject::connect(edit, &QMenu::aboutToShow, [&] {
            barHadTheFocus = copy.Widget()->focusWidget() == bar;
        });
        reach(*bar);
        QObject::disconnect(watch);
        ASSERT_EQ(QApplication::activePopupWidget(), edit);
        EXPECT_TRUE(barHadTheFocus) << "the route no longer shows the fault it guards";
        for (const auto& [text, enabled] : Entries(*edit)) {
            EXPECT_TRUE(enabled) << text << " with a selection and text on the clipboard";
        }
        ActionNamed(*edit, "Select &All")->trigger();
        ActionNamed(*edit, "&Copy")->trigger();
        EXPECT_EQ(QApplication::clipboard()->text().toStdString(), copy.TextField.Text());
        edit->close();
        copy.Close();
    }
}

TEST_F(MenuBarTest, CtrlQQuitsFromEveryWindowAsClosingTheStripDoesAndCtrlWExistsOnlyInCopies) {
    SearchWin& strip = SearchWin::Get();
    PMC::ShowSearchWin();
    Activate(strip);
    strip.UserInput.SetFocus();
    QTest::keyClick(strip.UserInput.Widget(), Qt::Key_W, Qt::ControlModifier);
    EXPECT_TRUE(strip.Visible());
    QTest::keyClick(strip.UserInput.Widget(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(ui->quitCodes, std::vector<int>{0});

    TextWindow& copy = TextWindow::Make();
    copy.Show();
    Activate(copy);
    QTest::keyClick(copy.TextField.Widget(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(ui->quitCodes, (std::vector<int>{0, 0}));

    ResultWin& report = ResultWin::Get();
    report.ShowWithin(strip, 1);
    Activate(report);
    QTest::keyClick(report.ResultField.Widget(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(ui->quitCodes, (std::vector<int>{0, 0, 0})) << "the application's bar serves";

    // The window manager's close: the strip quits as Ctrl+Q does; its drawer, the report, hides.
    const int open = fw::WindowCount();
    strip.Widget()->close();
    report.Widget()->close();
    EXPECT_EQ(ui->quitCodes, (std::vector<int>{0, 0, 0, 0}));
    EXPECT_TRUE(strip.Visible() && !report.Visible());
    EXPECT_EQ(fw::WindowCount(), open);
}

}  // namespace
