// The timer keeps its own mode and period and drives a precise QTimer. The action is copied before
// each call and the timer's destruction is noticed through a flag on the firing frame, so the
// action may replace itself or destroy its timer.
#include "framework/timer.h"

#include <QTimer>
#include <algorithm>
#include <utility>

namespace fw {

struct Timer::Impl {
    Impl(std::function<void()> act, int periodMs) : action(std::move(act)), period(periodMs) {
        qtimer->setTimerType(Qt::PreciseTimer);
        QObject::connect(qtimer.get(), &QTimer::timeout, qtimer.get(), [this] { Fire(); });
    }

    ~Impl() {
        if (destroyedWhileFiring == nullptr) {
            return;
        }
        // Qt is still delivering this QTimer's timeout: let the event loop delete it.
        *destroyedWhileFiring = true;
        qtimer->stop();
        qtimer->disconnect();
        qtimer.release()->deleteLater();
    }

    void Start() {
        qtimer->setSingleShot(mode == ModeSingle);
        qtimer->start(period);
    }

    void Fire() {
        if (mode == ModeSingle) {
            mode = ModeOff;
        }
        const std::function<void()> call = action;
        bool destroyed = false;
        bool* const outer = std::exchange(destroyedWhileFiring, &destroyed);
        if (call) {
            call();
        }
        if (destroyed) {
            if (outer != nullptr) {
                *outer = true;
            }
            return;
        }
        destroyedWhileFiring = outer;
    }

    std::unique_ptr<QTimer> qtimer = std::make_unique<QTimer>();
    std::function<void()> action;
    int period;
    int mode = ModeOff;
    bool* destroyedWhileFiring = nullptr;  // the innermost firing frame's flag
};

Timer::Timer(std::function<void()> action, int periodMs)
    : impl_(std::make_unique<Impl>(std::move(action), std::max(periodMs, 0))) {}

Timer::~Timer() = default;

void Timer::SetAction(std::function<void()> action) {
    impl_->action = std::move(action);
}

void Timer::SetPeriod(int milliseconds) {
    impl_->period = std::max(milliseconds, 0);
}

int Timer::Period() const {
    return impl_->period;
}

void Timer::SetMode(int mode) {
    if (mode != ModeSingle && mode != ModeMultiple) {
        impl_->mode = ModeOff;
        impl_->qtimer->stop();
        return;
    }
    impl_->mode = mode;
    impl_->Start();
}

int Timer::GetMode() const {
    return impl_->mode;
}

void Timer::Reset() {
    if (impl_->mode != ModeOff) {
        impl_->Start();
    }
}

}  // namespace fw
