// Quorvane's program entry: the search strip at the top right of the screen. Built once per
// edition (QUORVANE_EDITION names it; the neutral program names none).
#include <QApplication>
#include <QByteArray>

#include <xcb/xcb.h>

#include <iostream>
#include <memory>
#include <string>

#include "framework/application.h"
#include "framework/quitsignals.h"
#include "framework/singleinstance.h"
#include "search/App.h"
#include "search/PMC.h"
#include "sources/ServiceHosts.h"
#include "windows/SearchWin.h"

namespace {

// A native Wayland session does not let a window place itself; the strip must sit at the top
// right, so the program asks for XWayland when the session offers it, unless the user chose.
void PreferX11OnWayland() {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || !qEnvironmentVariableIsSet("DISPLAY")) {
        return;
    }
    const bool wayland = qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
                         qgetenv("XDG_SESSION_TYPE") == QByteArray("wayland");
    if (wayland) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
}

// Qt's X11 platform aborts on a display it can't reach; so the program tries it first.
bool X11DisplayAnswers() {
    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection(
        xcb_connect(nullptr, nullptr), &xcb_disconnect);
    return xcb_connection_has_error(connection.get()) == 0;
}

// Without a display Qt aborts with a screenful of plugin advice; the user needs one plain line.
bool HasGraphicalSession() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const bool x11 = platform.startsWith("xcb") ||
                     (platform.isEmpty() && !qEnvironmentVariableIsEmpty("DISPLAY"));
    if (x11) {
        return X11DisplayAnswers();
    }
    return !platform.isEmpty() || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// A machine without network (the screenshot script's) serves the online lookups itself. Only a
// port is taken, on this machine's loopback address, so the variable can send no search elsewhere.
void UseLocalServices() {
    bool isNumber = false;
    const int port = qEnvironmentVariableIntValue("QUORVANE_LOCAL_SERVICES_PORT", &isNumber);
    if (isNumber && port > 0 && port < 65536) {
        ServiceHosts::PointAllAt("127.0.0.1:" + std::to_string(port));
    }
}

}  // namespace

int main(int argc, char** argv) {
    PreferX11OnWayland();
    if (!HasGraphicalSession()) {
        std::cerr << "Quorvane needs a graphical session (X11, or Wayland with XWayland)."
                  << std::endl;
        return 1;
    }
#ifdef QUORVANE_EDITION
    // The edition's name at the end of the long version text chooses its dictionary language.
    fw::SetLongVersion(fw::LongVersion() + " " + QUORVANE_EDITION);
#endif
    // Before the key is taken: a request to end quits as the quit command does and gives it back.
    fw::QuitOnSignals quitOnSignals;
    // A second start brings the running one forward and ends, as opening a running application
    // does; a desktop shortcut that runs the program so brings the strip up.
    fw::SingleInstance instance(App::InstanceKey());
    if (instance.HandedOver()) {
        return 0;
    }
    QApplication application(argc, argv);
    quitOnSignals.Listen();
    UseLocalServices();
    PMC::InitializeGlobals();
    App app;
    instance.Serve([&app] { app.RequestActivation(); });
    SearchWin::Get();
    return app.Run();
}
