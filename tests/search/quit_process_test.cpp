// The driver as a process, asked by the system to end while its first German search waits for the
// word service's answer to the probe.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/events.h"
#include "local_http_server.h"

extern char** environ;

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// The sanitized build runs several times slower; it must still end far sooner than the probe's
// 3 s of patience.
#if defined(__SANITIZE_ADDRESS__)
constexpr milliseconds kQuitLimit{1500};
#else
constexpr milliseconds kQuitLimit{500};
#endif

// CPU time (user and system) the process has used so far.
double ProcessCpuMs(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    const std::string line((std::istreambuf_iterator<char>(stat)), {});
    // The fields after the command's closing parenthesis; utime and stime are fields 14 and 15.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i >= 14) {
            ticks += std::stod(field);
        }
    }
    return ticks * 1e3 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// A process with its standard output in a file; killed and reaped if it still runs at the end.
class Child {
  public:
    Child(std::vector<std::string> arguments, const std::string& output) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Child() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    pid_t Pid() const { return pid_; }

    // Reaps the process once it ends within `limit`: its exit code (-1 for a signal) and the CPU
    // it used in all; nothing when it still runs.
    struct End {
        int exitCode = -1;
        double cpuMs = 0;
    };
    std::optional<End> WaitForEnd(milliseconds limit) {
        const auto giveUp = steady_clock::now() + limit;
        int status = 0;
        rusage usage{};
        while (::wait4(pid_, &status, WNOHANG, &usage) == 0) {
            if (steady_clock::now() > giveUp) {
                return std::nullopt;
            }
            ::usleep(1000);
        }
        pid_ = -1;
        const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
        return End{WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                   ms(usage.ru_utime) + ms(usage.ru_stime)};
    }

  private:
    pid_t pid_ = -1;
};

// Before the mend the probe's wait spun at full CPU until its 3 s limit, the window still up.
TEST(QuitProcessTest, RequestToEndWhileTheFirstSearchProbesTheWordServiceEndsAtOnceAndIdle) {
    LocalHTTPServer services;  // takes the ping and never answers
    services.behaviour = LocalHTTPServer::Behaviour::NeverAnswer;
    const QTemporaryDir folder;
    const std::string output = folder.filePath("stdout").toStdString();
    Child driver({QUORVANE_DRIVE, "--services", services.HostAndPort(), "Haus"}, output);
    ASSERT_GT(driver.Pid(), 0);

    const auto giveUp = steady_clock::now() + milliseconds(20000);
    while (services.requests.empty() && steady_clock::now() < giveUp) {
        fw::DoEvents(5);
    }
    ASSERT_EQ(services.requests.size(), 1u);
    ASSERT_EQ(services.requests[0].rfind("POST /axis/services/Baseform ", 0), 0u);
    fw::DoEvents(100);  // well into the wait

    const double cpuBefore = ProcessCpuMs(driver.Pid());
    const auto asked = steady_clock::now();
    ::kill(driver.Pid(), SIGTERM);
    const auto end = driver.WaitForEnd(milliseconds(10000));
    const auto took = std::chrono::duration_cast<milliseconds>(steady_clock::now() - asked);
    ASSERT_TRUE(end.has_value());
    EXPECT_EQ(end->exitCode, 0);
    EXPECT_LT(took, kQuitLimit);
    EXPECT_LT(end->cpuMs - cpuBefore, static_cast<double>(kQuitLimit.count()));
    // The probe counts as unanswered: no box, and no report of a search that did not end.
    std::ifstream printed(output);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(printed)), {}), "");
}

}  // namespace
