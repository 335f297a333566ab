#include "framework/ui.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QMetaObject>
#include <QScreen>
#include <QUrl>

#include "framework/appobject.h"
#include "framework/menuview.h"
#include "framework/nativedestroy.h"
#include "framework/threads.h"

#include <iostream>

namespace fw {

namespace {

// A message box needs a widget application; a plain QCoreApplication (a headless tool) has none.
QApplication* WidgetApplication() {
    return qobject_cast<QApplication*>(QCoreApplication::instance());
}

// Clipboard, keyboard state, screens and cursors need a GUI application.
QGuiApplication* GuiApplication() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance());
}

class QtUI : public UIServices {
  public:
    void MsgBox(const std::string& text) override {
        if (!WidgetApplication()) {
            std::cerr << text << std::endl;
            return;
        }
        QMessageBox box;
        box.setWindowTitle(QCoreApplication::applicationName());
        // Plain text: messages carry database and network texts, which must not be read as markup.
        box.setTextFormat(Qt::PlainText);
        // The texts break their paragraphs with CR, as the Mac did; Qt breaks lines at LF only.
        QString shown = QString::fromStdString(text);
        shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        box.setText(shown);
        // A box that another program destroyed is gone as if dismissed; otherwise its loop would
        // hold the program, unseen and modal.
        const detail::NativeDestroyWatch gone(box, [] {});
        {
            // The box runs its own event loop on this stack, which may be a search thread's.
            detail::PumpScope pump;
            box.exec();
        }
        detail::UnwindIfKilled();
    }

    void Quit(int exitCode) override {
        QCoreApplication* application = QCoreApplication::instance();
        if (!application) {
            return;
        }
        // Queued, so that a quit asked for before the event loop runs still ends it, and a quit
        // asked for inside a modal box's loop ends the application's loop, not the box's.
        QMetaObject::invokeMethod(
            application, [exitCode] { QCoreApplication::exit(exitCode); }, Qt::QueuedConnection);
    }

    void Beep() override {
        if (WidgetApplication()) {
            QApplication::beep();
        }
    }

    ~QtUI() override {
        if (cursorSet_ && GuiApplication()) {
            QGuiApplication::restoreOverrideCursor();
        }
    }

    std::string ClipboardText() override {
        if (!GuiApplication()) {
            return headlessClipboard_;
        }
        return QGuiApplication::clipboard()->text().toStdString();
    }

    void SetClipboardText(const std::string& text) override {
        if (!GuiApplication()) {
            headlessClipboard_ = text;
            return;
        }
        QGuiApplication::clipboard()->setText(QString::fromStdString(text));
    }

    bool AsyncShiftKey() override {
        return GuiApplication() &&
               (QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier) != 0;
    }

    int ScreenAvailableHeight() override {
        const QScreen* const screen = PrimaryScreen();
        return screen ? screen->availableGeometry().height() : 0;
    }

    // Zero without a screen.
    Area ScreenBounds() override {
        const QScreen* const screen = PrimaryScreen();
        if (!screen) {
            return {};
        }
        const QRect area = screen->geometry();
        return {area.left(), area.top(), area.width(), area.height()};
    }

    const MenuItem* PopUpContextualMenu(const MenuItem& menu, int x, int y) override {
        if (!WidgetApplication()) {
            return nullptr;
        }
        QMenu shown;
        const auto items = detail::AddContextMenuItems(shown, menu);
        QAction* chosen = nullptr;
        QObject::connect(&shown, &QMenu::triggered, &shown,
                         [&chosen](QAction* action) { chosen = action; });
        {
            // The menu runs its own event loop on this stack.
            detail::PumpScope pump;
            shown.exec(QPoint(x, y));
        }
        for (const auto& [action, item] : items) {
            if (action == chosen) {
                return item;
            }
        }
        return nullptr;
    }

    bool ShowURL(const std::string& url) override {
        return GuiApplication() && QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
    }

    // One override cursor at most, so that every set is balanced by one restore.
    void SetMouseCursor(Cursor cursor) override {
        if (!GuiApplication()) {
            return;
        }
        if (cursor == Cursor::Default) {
            if (cursorSet_) {
                QGuiApplication::restoreOverrideCursor();
                cursorSet_ = false;
            }
            return;
        }
        if (cursorSet_) {
            QGuiApplication::changeOverrideCursor(Qt::PointingHandCursor);
            return;
        }
        QGuiApplication::setOverrideCursor(Qt::PointingHandCursor);
        cursorSet_ = true;
    }

  private:
    static const QScreen* PrimaryScreen() {
        return GuiApplication() ? QGuiApplication::primaryScreen() : nullptr;
    }

    std::string headlessClipboard_;
    bool cursorSet_ = false;
};

std::unique_ptr<UIServices>& Current() {
    static std::unique_ptr<UIServices> services = std::make_unique<QtUI>();
    return services;
}

}  // namespace

UIServices& UI() {
    return *Current();
}

std::unique_ptr<UIServices> SetUI(std::unique_ptr<UIServices> services) {
    std::unique_ptr<UIServices> previous = std::move(Current());
    Current() = services ? std::move(services) : std::make_unique<QtUI>();
    return previous;
}

void MsgBox(const std::string& text) {
    UI().MsgBox(text);
}
// The application hears of the quit at once: what runs on until the loop ends (the rest of a
// search pass after a fatal report) must already see that the application is quitting.
void Quit(int exitCode) {
    Application* const application = Application::Current();
    if (application != nullptr && application->QuitRequested()) {
        return;
    }
    UI().Quit(exitCode);
}
void Beep() {
    UI().Beep();
}
std::string ClipboardText() {
    return UI().ClipboardText();
}
void SetClipboardText(const std::string& text) {
    UI().SetClipboardText(text);
}
bool AsyncShiftKey() {
    return UI().AsyncShiftKey();
}

}  // namespace fw
