#include "framework/appobject.h"

#include <QGuiApplication>
#include <QObject>
#include <QTimer>
#include <utility>

namespace fw {

namespace {
Application* gCurrent = nullptr;
}

Application::Application() {
    gCurrent = this;
}

Application::~Application() {
    if (gCurrent == this) {
        gCurrent = nullptr;
    }
}

Application* Application::Current() {
    return gCurrent;
}

int Application::Run() {
    QCoreApplication* const loop = QCoreApplication::instance();
    if (!loop) {
        return 1;
    }
    QObject context;
    if (auto* gui = qobject_cast<QGuiApplication*>(loop)) {
        QObject::connect(gui, &QGuiApplication::applicationStateChanged, &context,
                         [this](Qt::ApplicationState state) {
                             // Activation can come before Open has run; Open's own end brings it.
                             if (!open_) {
                                 return;
                             }
                             if (state == Qt::ApplicationActive) {
                                 Activate();
                             } else {
                                 Deactivate();
                             }
                         });
    }
    QTimer::singleShot(0, &context, [this] {
        Open();
        open_ = true;
        if (QGuiApplication::applicationState() == Qt::ApplicationActive) {
            Activate();
        }
    });
    const int exitCode = QCoreApplication::exec();
    // A loop that ended without the framework's quit (the last window closed) still says so.
    if (!quitRequested_) {
        CancelClose();
        quitRequested_ = true;
    }
    Close();
    return exitCode;
}

void Application::RequestActivation() {
    if (open_) {
        Activate();
    }
}

bool Application::QuitRequested() {
    if (quitRequested_) {
        return false;
    }
    if (CancelClose()) {
        return true;
    }
    quitRequested_ = true;
    return false;
}

void Application::AddMenuHandler(const std::string& name, std::function<bool()> handler) {
    menuHandlers_[name] = std::move(handler);
}

bool Application::RunMenuHandler(const std::string& name) {
    const auto handler = menuHandlers_.find(name);
    if (handler == menuHandlers_.end()) {
        return false;
    }
    handler->second();
    return true;
}

bool Application::HasMenuHandler(const std::string& name) const {
    return menuHandlers_.count(name) > 0;
}

}  // namespace fw
