#include "framework/ui.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>

#include "framework/threads.h"

#include <iostream>

namespace fw {

namespace {

// A message box needs a widget application; a plain QCoreApplication (a headless tool) has none.
QApplication* WidgetApplication() {
    return qobject_cast<QApplication*>(QCoreApplication::instance());
}

class QtUI : public UIServices {
  public:
    void MsgBox(const std::string& text) override {
        if (!WidgetApplication()) {
            std::cerr << text << std::endl;
            return;
        }
        QMessageBox box;
        // Plain text: messages carry database and network texts, which must not be read as markup.
        box.setTextFormat(Qt::PlainText);
        box.setText(QString::fromStdString(text));
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
        // Queued, so that a quit asked for before the event loop runs still ends it.
        QMetaObject::invokeMethod(
            application, [exitCode] { QCoreApplication::exit(exitCode); }, Qt::QueuedConnection);
    }

    void Beep() override {
        if (WidgetApplication()) {
            QApplication::beep();
        }
    }
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
void Quit(int exitCode) {
    UI().Quit(exitCode);
}
void Beep() {
    UI().Beep();
}

}  // namespace fw
