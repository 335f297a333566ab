// The system's requests to end (SIGTERM, SIGINT, SIGHUP) quit the application the way its own
// quit command does, so that everything the program holds is given back on the way out. One
// object per run, made on the main OS thread before anything may hold resources; it keeps the
// requests that come before the event loop runs and delivers them once it does. A signal ignored
// when the object is made (nohup) stays ignored; a second request ends the process at once.
#pragma once

#include <QPointer>
#include <QSocketNotifier>

namespace fw {

class QuitOnSignals {
  public:
    QuitOnSignals();
    // The handling from before comes back.
    ~QuitOnSignals();
    QuitOnSignals(const QuitOnSignals&) = delete;
    QuitOnSignals& operator=(const QuitOnSignals&) = delete;

    // Asks the application to quit (fw::Quit with exit code 0) on each request from now on, and
    // for those already come. Needs the QApplication.
    void Listen();

  private:
    int readFd_ = -1;
    QPointer<QSocketNotifier> notifier_;  // a child of the QCoreApplication
};

}  // namespace fw
