#include "framework/quitsignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>

#include <array>
#include <cerrno>
#include <csignal>

#include "framework/ui.h"

namespace fw {

namespace {

constexpr std::array kSignals = {SIGTERM, SIGINT, SIGHUP};
// The handler may do nothing but write: the pipe carries the request to the event loop.
volatile std::sig_atomic_t gWriteFd = -1;

void OnSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(gWriteFd, &byte, 1);
    errno = saved;
}

void SetHandler(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals) {
        ::sigaction(signal, &action, nullptr);
    }
}

}  // namespace

QuitOnSignals::QuitOnSignals() {
    std::array<int, 2> fds{};
    if (::pipe2(fds.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    readFd_ = fds[0];
    gWriteFd = fds[1];
    SetHandler(OnSignal);
}

QuitOnSignals::~QuitOnSignals() {
    if (readFd_ < 0) {
        return;
    }
    SetHandler(SIG_DFL);
    delete notifier_.data();
    ::close(readFd_);
    ::close(gWriteFd);
    gWriteFd = -1;
}

void QuitOnSignals::Listen() {
    QCoreApplication* const application = QCoreApplication::instance();
    if (readFd_ < 0 || !application || notifier_) {
        return;
    }
    notifier_ = new QSocketNotifier(readFd_, QSocketNotifier::Read, application);
    QObject::connect(notifier_, &QSocketNotifier::activated, notifier_, [fd = readFd_] {
        char bytes[16];
        while (::read(fd, bytes, sizeof bytes) > 0) {
        }
        Quit(0);
    });
}

}  // namespace fw
