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
// A quit has been asked for: a second request (the loop may be stuck, or a box holds the quit up)
// ends the process the system's way, as it would have ended without us.
volatile std::sig_atomic_t gPending = 0;
// What each signal did before: a signal the user chose to ignore (nohup) stays ignored.
std::array<struct sigaction, kSignals.size()> gBefore{};
std::array<bool, kSignals.size()> gHandled{};

void OnSignal(int signal) {
    const int saved = errno;
    if (gPending) {
        ::signal(signal, SIG_DFL);
        ::raise(signal);
    }
    gPending = 1;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(gWriteFd, &byte, 1);
    errno = saved;
}

void HandleSignals() {
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < kSignals.size(); ++i) {
        ::sigaction(kSignals[i], nullptr, &gBefore[i]);
        gHandled[i] = gBefore[i].sa_handler != SIG_IGN;
        if (gHandled[i]) {
            ::sigaction(kSignals[i], &action, nullptr);
        }
    }
}

void RestoreSignals() {
    for (size_t i = 0; i < kSignals.size(); ++i) {
        if (gHandled[i]) {
            ::sigaction(kSignals[i], &gBefore[i], nullptr);
        }
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
    HandleSignals();
}

QuitOnSignals::~QuitOnSignals() {
    if (readFd_ < 0) {
        return;
    }
    RestoreSignals();
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
