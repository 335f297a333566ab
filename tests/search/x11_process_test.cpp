// The program as a process on an X server of the test's own (Xvfb), where other X clients can do
// to its windows what no offscreen test can.
#include <xcb/xcb.h>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Xvfb on the first free display, listening on no file or port: it leaves nothing behind.
class XServer {
  public:
    XServer() {
        server_.start("Xvfb", {"-displayfd", "1", "-nolisten", "tcp", "-nolisten", "unix",
                               "-screen", "0", "1280x800x24"});
        // The display's number comes on standard output once the server takes connections.
        QByteArray number;
        while (!number.endsWith('\n') && server_.waitForReadyRead(10000)) {
            number += server_.readAllStandardOutput();
        }
        if (number.endsWith('\n')) {
            display_ = ":" + QString::fromLatin1(number.trimmed());
        }
    }
    ~XServer() {
        server_.terminate();
        server_.waitForFinished(5000);
    }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // "" when the server did not start.
    const QString& Display() const { return display_; }

  private:
    QProcess server_;
    QString display_;
};

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <class T>
using Reply = std::unique_ptr<T, FreeReply>;
using Connection = std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)>;

Connection Connect(const QString& display) {
    return Connection(xcb_connect(display.toLocal8Bit().constData(), nullptr), &xcb_disconnect);
}

// The top-level windows on screen that Qt marked as the process's (_NET_WM_PID); with no window
// manager they are the root window's children.
std::vector<xcb_window_t> ShownWindowsOf(xcb_connection_t* connection, qint64 pid) {
    const char kPidName[] = "_NET_WM_PID";
    const Reply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, sizeof kPidName - 1, kPidName), nullptr));
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, root), nullptr));
    std::vector<xcb_window_t> shown;
    if (!atom || atom->atom == XCB_ATOM_NONE || !tree) {
        return shown;
    }
    const xcb_window_t* const children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        const Reply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
            connection, xcb_get_window_attributes(connection, children[i]), nullptr));
        const Reply<xcb_get_property_reply_t> owner(xcb_get_property_reply(
            connection,
            xcb_get_property(connection, 0, children[i], atom->atom, XCB_ATOM_CARDINAL, 0, 1),
            nullptr));
        if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE && owner &&
            xcb_get_property_value_length(owner.get()) == 4 &&
            *static_cast<const uint32_t*>(xcb_get_property_value(owner.get())) == pid) {
            shown.push_back(children[i]);
        }
    }
    return shown;
}

// The strip is the program: another client destroying it (as `xdotool windowclose` does) quits
// the program as the window manager's close does, at once, with exit code 0, and leaves no key
// behind that a later start would hand over to.
TEST(X11ProcessTest, StripDestroyedByAnotherClientQuitsTheProgram) {
    const XServer server;
    if (server.Display().isEmpty()) {
        GTEST_SKIP() << "Xvfb did not start";
    }
    const Connection connection = Connect(server.Display());
    ASSERT_EQ(xcb_connection_has_error(connection.get()), 0);
    QTemporaryDir folder;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("WAYLAND_DISPLAY");
    environment.insert("DISPLAY", server.Display());
    environment.insert("QT_QPA_PLATFORM", "xcb");
    // Off every session bus: on a display without one, the bus library would launch a bus that
    // outlives the test, or fail and leave memory that a sanitized build reports as a leak.
    environment.insert("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    environment.insert("HOME", folder.path());
    environment.insert("XDG_CONFIG_HOME", folder.path() + "/config");
    environment.insert("XDG_RUNTIME_DIR", folder.path());
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QUORVANE_PROGRAM, {});
    ASSERT_TRUE(program.waitForStarted());

    std::vector<xcb_window_t> shown;
    for (int waited = 0; shown.empty() && waited < 10000; waited += 20) {
        ASSERT_FALSE(program.waitForFinished(20));
        shown = ShownWindowsOf(connection.get(), program.processId());
    }
    ASSERT_EQ(shown.size(), 1u) << "the strip alone";

    QElapsedTimer took;
    took.start();
    xcb_destroy_window(connection.get(), shown[0]);
    xcb_flush(connection.get());
    ASSERT_TRUE(program.waitForFinished(2000)) << "runs on without its strip";
    EXPECT_LT(took.elapsed(), 1000);
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    const QStringList left =
        QDir(folder.path()).entryList({"quorvane*"}, QDir::Files | QDir::System);
    EXPECT_EQ(left.join(' ').toStdString(), "");
}

}  // namespace
