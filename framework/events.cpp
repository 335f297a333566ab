// The event pump runs a nested QEventLoop that a precise timer quits, and tells the scheduler that
// events are being processed on the caller's stack. The clock is std::chrono::steady_clock.
#include "framework/events.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <ctime>
#include <thread>

#include "framework/appobject.h"
#include "framework/threads.h"

namespace fw {
namespace {

TicksSource gTicksSource = nullptr;
int gPumpDepth = 0;
double gPumpCpuMs = 0;

void RunEventLoop(int milliseconds) {
    if (QCoreApplication::instance() == nullptr) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::max(milliseconds, 0)));
        return;
    }
    if (milliseconds <= 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    QEventLoop loop;
    QTimer end;
    end.setSingleShot(true);
    end.setTimerType(Qt::PreciseTimer);
    QObject::connect(&end, &QTimer::timeout, &loop, &QEventLoop::quit);
    end.start(milliseconds);
    loop.exec();
}

}  // namespace

bool DoEvents(int milliseconds) {
    // Fibers never switch inside a pump, so the depth counts the pumps on the running stack.
    const bool outermost = gPumpDepth++ == 0;
    const double start = outermost ? ThreadCpuMilliseconds() : 0;
    {
        const detail::PumpScope pump;
        RunEventLoop(milliseconds);
    }
    --gPumpDepth;
    if (outermost) {
        gPumpCpuMs += ThreadCpuMilliseconds() - start;
    }
    detail::UnwindIfKilled();
    return !QuitUnderWay();
}

bool QuitUnderWay() {
    const Application* const application = Application::Current();
    return application != nullptr && application->Quitting();
}

double ThreadCpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double PumpCpuMilliseconds() {
    return gPumpCpuMs;
}

double Microseconds() {
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
        .count();
}

int64_t Ticks() {
    if (gTicksSource != nullptr) {
        return gTicksSource();
    }
    // From the clock's own epoch, not from the first call: a first double-click test against a
    // stored 0 must not see a click just now.
    const auto sinceEpoch = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::microseconds>(sinceEpoch).count() * 60 / 1000000;
}

void SetTicksSource(TicksSource source) {
    gTicksSource = source;
}

}  // namespace fw
