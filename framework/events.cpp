// The event pump runs a nested QEventLoop that a precise timer quits, and tells the scheduler that
// events are being processed on the caller's stack. The clock is std::chrono::steady_clock.
#include "framework/events.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <thread>

#include "framework/threads.h"

namespace fw {
namespace {

TicksSource gTicksSource = nullptr;

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

void DoEvents(int milliseconds) {
    {
        const detail::PumpScope pump;
        RunEventLoop(milliseconds);
    }
    detail::UnwindIfKilled();
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
    return static_cast<int64_t>(Microseconds() * 60.0 / 1e6);
}

void SetTicksSource(TicksSource source) {
    gTicksSource = source;
}

}  // namespace fw
