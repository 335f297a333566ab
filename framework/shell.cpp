#include "framework/shell.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <utility>

extern char** environ;

namespace fw {

namespace {

constexpr int kCouldNotStart = 127;  // the shells' own code for a command that can't run

ShellBackend& Backend() {
    static ShellBackend backend;
    return backend;
}

class Descriptor {
  public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    void Close() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = -1;
    }

  private:
    int fd_;
};

class SpawnActions {
  public:
    SpawnActions() { ::posix_spawn_file_actions_init(&actions_); }
    ~SpawnActions() { ::posix_spawn_file_actions_destroy(&actions_); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    posix_spawn_file_actions_t* Get() { return &actions_; }

  private:
    posix_spawn_file_actions_t actions_;
};

std::string ReadAll(int fd) {
    std::string output;
    std::array<char, 4096> chunk;
    for (;;) {
        const ssize_t n = ::read(fd, chunk.data(), chunk.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return output;
        }
        output.append(chunk.data(), static_cast<size_t>(n));
    }
}

int WaitForExit(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return kCouldNotStart;
        }
    }
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : kCouldNotStart;
}

}  // namespace

ShellOutcome RunSystemShell(const std::string& command) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return {kCouldNotStart, ""};
    }
    Descriptor readEnd(ends[0]);
    Descriptor writeEnd(ends[1]);

    SpawnActions actions;
    ::posix_spawn_file_actions_addopen(actions.Get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_adddup2(actions.Get(), writeEnd.Get(), STDOUT_FILENO);
    ::posix_spawn_file_actions_adddup2(actions.Get(), writeEnd.Get(), STDERR_FILENO);

    std::string shell = "/bin/sh";
    std::string dashC = "-c";
    std::string text = command;
    char* argv[] = {shell.data(), dashC.data(), text.data(), nullptr};
    pid_t child = 0;
    if (::posix_spawn(&child, shell.c_str(), actions.Get(), nullptr, argv, environ) != 0) {
        return {kCouldNotStart, ""};
    }
    writeEnd.Close();  // else the read below never sees the end of the output
    std::string output = ReadAll(readEnd.Get());
    return {WaitForExit(child), std::move(output)};
}

void SetShellBackend(ShellBackend backend) {
    Backend() = std::move(backend);
}

void Shell::Execute(const std::string& command) {
    const ShellBackend backend = Backend();  // a copy: the backend may replace itself
    ShellOutcome outcome = backend ? backend(command) : RunSystemShell(command);
    errorCode_ = outcome.errorCode;
    result_ = std::move(outcome.output);
}

void Shell::Close() {
    errorCode_ = 0;
    result_.clear();
}

}  // namespace fw
