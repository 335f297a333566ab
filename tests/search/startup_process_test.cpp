// The program as a process: the headless driver started in a copy of the application's layout
// whose files have been replaced by hostile ones or asked to end in mid-search, and the program on
// an X server of the test's own (Xvfb), where other X clients can do to its windows what no
// offscreen test can.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <csignal>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/events.h"
#include "online_replies.h"

namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// bin/ with the program linked in and Resources/ with the build's German word files, in a
// temporary folder. A file is replaced by removing its link first, so the build's stay untouched.
class LayoutCopy {
  public:
    explicit LayoutCopy(const fs::path& program) : root_(dir_.path().toStdString()) {
        fs::create_directories(root_ / "bin");
        fs::create_directories(root_ / "Resources");
        Link(program, root_ / "bin" / program.filename());
        for (const char* name : {"DIC_DB_DE.tdb", "DIC_WL_DE.tdb"}) {
            Link(fs::path(QUORVANE_TEST_RESOURCES) / name, root_ / "Resources" / name);
        }
    }
    const fs::path& Root() const { return root_; }

    // The file (a path below the root) as `kind` says: 'b' the bytes, 'f' a FIFO.
    void Replace(const std::string& file, char kind, const std::string& content) const {
        const fs::path path = root_ / file;
        fs::remove(path);
        if (kind == 'f') {
            ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
        } else {
            std::ofstream(path, std::ios::binary) << content;
        }
    }

  private:
    static void Link(const fs::path& from, const fs::path& to) {
        std::error_code error;
        fs::create_hard_link(from, to, error);
        if (error) {
            fs::copy_file(from, to);
        }
    }
    QTemporaryDir dir_;
    fs::path root_;
};

// The exit code of a process that ended normally, -1 for one that a signal ended.
int ExitCode(const QProcess& process) {
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

struct Ended {
    int exitCode = -1;
    std::vector<std::string> lines;  // of standard output
    std::chrono::milliseconds took{};
};

Ended Start(const fs::path& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    const auto start = std::chrono::steady_clock::now();
    process.start(QString::fromStdString(program.string()), arguments);
    // Events go on meanwhile: a local server of the test may be answering the program.
    for (int waited = 0; waited < 30000 && !process.waitForFinished(5); waited += 5) {
        QCoreApplication::processEvents();
    }
    Ended ended;
    ended.took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    ended.exitCode = ExitCode(process);
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        if (!line.isEmpty()) {
            ended.lines.push_back(line.toStdString());
        }
    }
    return ended;
}

// `value` big-endian in `width` bytes, as word-group files hold their numbers.
std::string BigEndian(uint64_t value, int width) {
    std::string bytes;
    for (int shift = (width - 1) * 8; shift >= 0; shift -= 8) {
        bytes += static_cast<char>((value >> shift) & 0xFF);
    }
    return bytes;
}

// 40,000 groups whose keys all fall into one bucket of a hash table sized by their count.
std::string CollidingGroupFile() {
    std::string bytes = BigEndian(40000, 4);
    for (uint64_t group = 0; group < 40000; ++group) {
        bytes += BigEndian(group * 42043, 4) + BigEndian(1, 2) + BigEndian(0, 4);
    }
    return bytes + BigEndian(0, 8) + BigEndian(1, 4) + BigEndian(0, 2);
}

// Words 0 to 599,999 (more than the German database holds) in group 0, whose one member is a word
// ID the database lacks: the first search that looks for synonyms meets it.
std::string MissingWordGroupFile() {
    std::string bytes = BigEndian(1, 4) + BigEndian(0, 4) + BigEndian(1, 2) +
                        BigEndian(0xFFFFFFFF, 4) + BigEndian(0, 8) + BigEndian(600000, 4);
    for (int word = 0; word < 600000; ++word) {
        bytes += BigEndian(1, 2) + BigEndian(0, 4);
    }
    return bytes;
}

// Each crafted file ends, well within a second of the start on an idle machine, either in a
// normal start that searches the word or in one fatal box and a clean exit.
TEST(StartupProcessTest, CraftedFilesEndInANormalStartOrInOneFatalBoxAndACleanExit) {
    struct Crafted {
        std::string file;
        char kind;  // as LayoutCopy::Replace takes it
        std::string content;
        std::string box;  // "" for a normal start
    };
    const Crafted kCases[] = {
        {"Resources/DIC_WL_DE.tdb", 'b', CollidingGroupFile(), ""},
        {"Resources/DIC_DB_DE.tdb", 'f', "",
         "Can't open the selected word list database. (not a regular file)"},
        {"Resources/DIC_WL_DE.tdb", 'f', "", "Can't open the selected word list file."},
        // The box comes during the search: the driver must end with it, not wait on.
        {"Resources/DIC_WL_DE.tdb", 'b', MissingWordGroupFile(),
         "Can't access word at given index."},
    };
    const fs::path driver = QUORVANE_DRIVE;
    LocalHTTPServer services;  // online sources that know no word
    services.responder = online::KnowsNothing;
    const QString servicesAddress = QString::fromStdString(services.HostAndPort());
    for (const Crafted& crafted : kCases) {
        SCOPED_TRACE(crafted.file + " " + crafted.kind + " " + crafted.box);
        const LayoutCopy app(driver);
        app.Replace(crafted.file, crafted.kind, crafted.content);
        const Ended ended = Start(app.Root() / "bin" / driver.filename(),
                                  {"--stats", "--services", servicesAddress, "Haus"});
        EXPECT_EQ(ended.exitCode, 0);
        if (crafted.box.empty()) {
            // The start-up figure, the word's line and the memory figures.
            ASSERT_EQ(ended.lines.size(), 3u);
            EXPECT_LT(std::stod(ended.lines[0].substr(ended.lines[0].find(':') + 1)), 1000);
            EXPECT_THAT(ended.lines[1], HasSubstr(R"("word": "Haus", "hit": true)"));
        } else {
            // The box, after the start-up figure when it came during the search; the run ends with
            // it (a driver that missed it looped on to its own time limit).
            EXPECT_LT(ended.took, std::chrono::seconds(10));
            ASSERT_THAT(ended.lines.size(), ::testing::AllOf(::testing::Ge(1u), ::testing::Le(2u)));
            EXPECT_EQ(ended.lines.back(),
                      R"({"msgbox": "Program Error!\n\n)" + crafted.box + "\"}");
        }
    }
}

TEST(StartupProcessTest, DriverSearchesAWordBeginningWithTwoHyphensAfterTheEndOfItsOptions) {
    const Ended ended = Start(QUORVANE_DRIVE, {"--", "--Haus"});
    EXPECT_EQ(ended.exitCode, 0);
    EXPECT_THAT(ended.lines, ElementsAre(HasSubstr(R"({"word": "--Haus", "hit": false)")));
}

// Waits until one of the processes has ended; nullptr when none ends within `ms`.
QProcess* FirstToEnd(const std::vector<QProcess*>& processes, int ms) {
    for (int waited = 0; waited < ms; waited += 10 * static_cast<int>(processes.size())) {
        for (QProcess* process : processes) {
            if (process->state() == QProcess::NotRunning || process->waitForFinished(10)) {
                return process;
            }
        }
    }
    return nullptr;
}

// Only to a process still running: the id of one that ended is 0, and kill(0) hits the whole
// process group, the test runner included.
void SendSignal(const QProcess& process, int signal) {
    if (process.state() == QProcess::Running && process.processId() > 0) {
        ::kill(static_cast<pid_t>(process.processId()), signal);
    }
}

// Two starts at once, on a fresh preference file that both would create: one hands over to the
// other and ends with exit code 0 while the other runs on; a start while it runs does the same.
// Asked to end by the system, the one running quits as its quit command does, leaving no key.
TEST(StartupProcessTest, SecondStartHandsOverToTheRunningProgramAndEnds) {
    const int kRequestsToEnd[] = {SIGTERM, SIGINT, SIGHUP};
    QTemporaryDir folder;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", folder.path());
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        environment.insert("XDG_CONFIG_HOME", folder.path() + "/config" + QString::number(round));
        QProcess first;
        QProcess second;
        for (QProcess* start : {&first, &second}) {
            start->setProcessEnvironment(environment);
            start->start(QUORVANE_PROGRAM, {});
        }
        QProcess* const ended = FirstToEnd({&first, &second}, 3000);
        ASSERT_NE(ended, nullptr);
        EXPECT_EQ(ExitCode(*ended), 0);
        QProcess* const running = ended == &first ? &second : &first;
        EXPECT_FALSE(running->waitForFinished(500));

        QProcess later;
        later.setProcessEnvironment(environment);
        later.start(QUORVANE_PROGRAM, {});
        EXPECT_TRUE(later.waitForFinished(2000));
        EXPECT_EQ(ExitCode(later), 0);
        EXPECT_EQ(running->state(), QProcess::Running);
        SendSignal(*running, kRequestsToEnd[round % 3]);
        ASSERT_TRUE(running->waitForFinished(2000));
        EXPECT_EQ(ExitCode(*running), 0);
        const QStringList left =
            QDir(folder.path()).entryList({"quorvane*"}, QDir::Files | QDir::System);
        EXPECT_EQ(left.join(' ').toStdString(), "");
    }
    // Started with hang-ups ignored (nohup), it outlives a hang-up and still quits on a request.
    QProcess nohup;
    nohup.setProcessEnvironment(environment);
    nohup.setChildProcessModifier([] { ::signal(SIGHUP, SIG_IGN); });
    nohup.start(QUORVANE_PROGRAM, {});
    ASSERT_FALSE(nohup.waitForFinished(1000));
    SendSignal(nohup, SIGHUP);
    EXPECT_FALSE(nohup.waitForFinished(500));
    SendSignal(nohup, SIGTERM);
    ASSERT_TRUE(nohup.waitForFinished(2000));
    EXPECT_EQ(ExitCode(nohup), 0);
}

// The sanitized build runs several times slower; it must still end far sooner than the probe's
// 3 s of patience, and idle. The time to be reaped is allowed twice the CPU limit, as a loaded
// machine may schedule the ending process late; the CPU time tells a busy wait apart.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kQuitCpuLimitMs = 1500;
#else
constexpr int kQuitCpuLimitMs = 500;
#endif
constexpr int kQuitLimitMs = 2 * kQuitCpuLimitMs;

// The CPU time (user and system) the running process has used so far.
double ProcessCpuMs(qint64 pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    const std::string line((std::istreambuf_iterator<char>(stat)), {});
    // From the third field on, after the command's closing parenthesis: utime and stime are the
    // 14th and the 15th.
    unsigned long user = 0;
    unsigned long system = 0;
    std::sscanf(line.c_str() + line.rfind(')') + 2,
                "%*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %*s %lu %lu", &user, &system);
    return static_cast<double>(user + system) * 1e3 / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

// The CPU time the children of this process that have ended and been reaped used in all.
double EndedChildrenCpuMs() {
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Asked by the system to end while its first German search waits for the word service's answer
// to the probe, the driver ends at once and idle. Before the mend the probe's wait spun at full
// CPU until its 3 s limit, the window still up.
TEST(StartupProcessTest, RequestToEndWhileTheFirstSearchProbesTheWordServiceEndsAtOnceAndIdle) {
    LocalHTTPServer services;  // takes the ping and never answers
    services.behaviour = LocalHTTPServer::Behaviour::NeverAnswer;
    const double childrenCpuBefore = EndedChildrenCpuMs();
    QProcess driver;
    driver.start(QUORVANE_DRIVE,
                 {"--services", QString::fromStdString(services.HostAndPort()), "Haus"});
    ASSERT_TRUE(driver.waitForStarted());
    for (int waited = 0; services.requests.empty() && waited < 20000; waited += 5) {
        fw::DoEvents(5);
    }
    ASSERT_EQ(services.requests.size(), 1u);
    ASSERT_EQ(services.requests[0].rfind("POST /axis/services/Baseform ", 0), 0u);
    fw::DoEvents(100);  // well into the wait

    const double cpuBefore = ProcessCpuMs(driver.processId());
    QElapsedTimer took;
    took.start();
    SendSignal(driver, SIGTERM);
    ASSERT_TRUE(driver.waitForFinished(10000));
    EXPECT_LT(took.elapsed(), kQuitLimitMs);
    EXPECT_EQ(ExitCode(driver), 0);
    EXPECT_LT(EndedChildrenCpuMs() - childrenCpuBefore - cpuBefore, kQuitCpuLimitMs);
    // The probe counts as unanswered: no box, and no report of a search that did not end.
    EXPECT_EQ(driver.readAllStandardOutput().toStdString(), "");
}

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

// The windows shown on the root window: with no window manager and no other client, the program's
// top-level windows.
std::vector<xcb_window_t> ShownWindows(xcb_connection_t* connection) {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, root), nullptr));
    std::vector<xcb_window_t> shown;
    const xcb_window_t* const children = tree ? xcb_query_tree_children(tree.get()) : nullptr;
    for (int i = 0; tree && i < xcb_query_tree_children_length(tree.get()); ++i) {
        const Reply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
            connection, xcb_get_window_attributes(connection, children[i]), nullptr));
        if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE) {
            shown.push_back(children[i]);
        }
    }
    return shown;
}

// The strip is the program: another client destroying it (as `xdotool windowclose` does) quits
// the program as the window manager's close does, at once, with exit code 0, and leaves no key
// behind that a later start would hand over to.
TEST(StartupProcessTest, StripDestroyedByAnotherClientQuitsTheProgram) {
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
        shown = ShownWindows(connection.get());
    }
    ASSERT_EQ(shown.size(), 1u) << "the strip alone";

    QElapsedTimer took;
    took.start();
    xcb_destroy_window(connection.get(), shown[0]);
    xcb_flush(connection.get());
    ASSERT_TRUE(program.waitForFinished(10000)) << "runs on without its strip";
    EXPECT_LT(took.elapsed(), 3000);
    EXPECT_EQ(ExitCode(program), 0);
    const QStringList left =
        QDir(folder.path()).entryList({"quorvane*"}, QDir::Files | QDir::System);
    EXPECT_EQ(left.join(' ').toStdString(), "");
}

}  // namespace
