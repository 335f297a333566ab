// Cooperative threads: each run of Execute() is a boost::context fiber. A single-shot zero-interval
// QTimer posts one scheduling round per event-loop pass while fibers are ready; a round resumes the
// next ready fiber for one time slice, so events and timers run between slices.
//
// Invariant: a fiber is only ever suspended at a Yield() outside any event pump, so no Qt frame is
// ever on a suspended stack, and unwinding a suspended fiber is always safe.
#if defined(__SANITIZE_ADDRESS__)
#define QUORVANE_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUORVANE_ASAN 1
#endif
#endif
#if defined(QUORVANE_ASAN)
// AddressSanitizer must be told of every stack switch; boost annotates them only in its ucontext
// variant. With the default fcontext variant ASan mistakes a fiber's stack for the main one when an
// exception unwinds it, and may report false errors.
#define BOOST_USE_UCONTEXT
#define BOOST_USE_ASAN
#endif

#include "framework/threads.h"

#include "framework/events.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <boost/context/fiber.hpp>
#include <boost/context/protected_fixedsize_stack.hpp>
#include <chrono>
#include <exception>
#include <limits>

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

namespace ctx = boost::context;

#if defined(QUORVANE_ASAN)
// Debian builds libboost_context for fcontext only, so its ucontext variant lacks the one
// out-of-line definition it needs: the per-thread record of the running context, which starts as
// the thread's own (main) context.
namespace boost::context::detail {
fiber_activation_record*& fiber_activation_record::current() noexcept {
    thread_local fiber_activation_record mainContext;
    thread_local fiber_activation_record* running = &mainContext;
    return running;
}
}  // namespace boost::context::detail
#endif

namespace fw {
namespace {

// Thrown at a killed fiber's switch point to unwind its stack. Deliberately no std::exception, so
// that ordinary error handling on the fiber lets it pass.
struct ThreadUnwind {};

// Qt event processing (painting a rebuilt report) may run on a fiber; ASan's red zones need more.
#if defined(QUORVANE_ASAN)
constexpr std::size_t kStackBytes = 4 * 1024 * 1024;
#else
constexpr std::size_t kStackBytes = 1024 * 1024;
#endif

constexpr uint64_t kNever = std::numeric_limits<uint64_t>::max();

int64_t gSliceNs = 3'000'000;

int64_t SteadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The cheapest clock there is. It only decides when to look at the real clock, so a rough
// calibration is enough.
#if defined(__x86_64__) || defined(__i386__)
uint64_t CycleNow() {
    return __rdtsc();
}

double MeasureCyclesPerNs() {
    const int64_t startNs = SteadyNs();
    const uint64_t startCycles = CycleNow();
    int64_t nowNs = startNs;
    while (nowNs - startNs < 50'000) {
        nowNs = SteadyNs();
    }
    const double ratio = static_cast<double>(CycleNow() - startCycles) / (nowNs - startNs);
    return ratio > 0.0 ? ratio : 1.0;
}
#else
uint64_t CycleNow() {
    return static_cast<uint64_t>(SteadyNs());
}

double MeasureCyclesPerNs() {
    return 1.0;
}
#endif

uint64_t CyclesFromNow(int64_t ns) {
    static const double cyclesPerNs = MeasureCyclesPerNs();
    return CycleNow() + static_cast<uint64_t>(std::max<int64_t>(ns, 0) * cyclesPerNs);
}

int LoopLevel() {
    return QThread::currentThread()->loopLevel();
}

}  // namespace

namespace detail {

// One run of a thread's Execute() on its own stack.
struct Fiber {
    explicit Fiber(Thread& owner) : thread(owner) {}

    Thread& thread;  // whose Execute() runs here
    // Set when the thread lets go of the fiber (it was killed or its Execute() ended): the fiber
    // then owns itself until its stack has ended.
    std::unique_ptr<Fiber> self;
    ctx::fiber context;  // the suspended fiber, as its resumer holds it
    ctx::fiber resumer;  // on the fiber: where to switch back to
    Fiber* prevReady = nullptr;
    Fiber* nextReady = nullptr;
    bool ready = false;      // in the ready list
    bool started = false;    // has a stack
    bool active = false;     // running, or below the running fiber that it resumed
    bool killed = false;     // must never continue
    bool unwinding = false;  // its stack is being unwound
    int pumpDepth = 0;       // DoEvents frames on its stack
    int baseLoopLevel = 0;   // Qt's loop level when it was resumed
    int64_t sliceEndNs = 0;
    uint64_t sliceEndCycles = 0;
};

}  // namespace detail

using detail::Fiber;

namespace {

// Trivially destructible on purpose: threads with static storage may die after this file's
// statics would have.
Fiber* gCurrent = nullptr;
uint64_t gYieldDeadline = kNever;  // from this cycle count on, Yield() takes its slow path
Fiber* gReadyHead = nullptr;
Fiber* gReadyTail = nullptr;
QTimer* gRoundTimer = nullptr;  // owned by the application object
double gThreadsCpuMs = 0;       // CPU time spent running fibers, their event pumps left out

bool InPump(const Fiber& f) {
    return f.pumpDepth > 0 || LoopLevel() > f.baseLoopLevel;
}

void RefreshYieldDeadline() {
    const Fiber* const f = gCurrent;
    if (f == nullptr || f->unwinding || f->pumpDepth > 0) {
        gYieldDeadline = kNever;
    } else if (f->killed) {
        gYieldDeadline = 0;
    } else {
        gYieldDeadline = f->sliceEndCycles;
    }
}

[[noreturn]] void Unwind(Fiber& f) {
    f.unwinding = true;
    RefreshYieldDeadline();
    throw ThreadUnwind{};
}

void PushReady(Fiber& f) {
    f.prevReady = gReadyTail;
    f.nextReady = nullptr;
    (gReadyTail != nullptr ? gReadyTail->nextReady : gReadyHead) = &f;
    gReadyTail = &f;
    f.ready = true;
}

void Unready(Fiber& f) {
    if (!f.ready) {
        return;
    }
    (f.prevReady != nullptr ? f.prevReady->nextReady : gReadyHead) = f.nextReady;
    (f.nextReady != nullptr ? f.nextReady->prevReady : gReadyTail) = f.prevReady;
    f.prevReady = f.nextReady = nullptr;
    f.ready = false;
}

}  // namespace

struct Thread::Impl {
    std::unique_ptr<Fiber> fiber;  // the current run; none while not running
};

// The scheduler's operations that need the threads' private parts.
struct Scheduler {
    static void Detach(Fiber& f) { f.self = std::move(f.thread.impl_->fiber); }

    static void Body(Fiber& f) {
        try {
            f.thread.Execute();
        } catch (const ThreadUnwind&) {
            // the kill's unwinding ends here
        } catch (const ctx::detail::forced_unwind&) {
            throw;
        } catch (const std::exception& e) {
            qFatal("Uncaught exception in a cooperative thread: %s", e.what());
        } catch (...) {
            qFatal("Uncaught exception in a cooperative thread");
        }
        if (!f.self) {
            Detach(f);
        }
    }

    static ctx::fiber MakeContext(Fiber& f) {
        return ctx::fiber(std::allocator_arg, ctx::protected_fixedsize_stack(kStackBytes),
                          [&f](ctx::fiber&& resumer) {
                              f.resumer = std::move(resumer);
                              Body(f);
                              return std::move(f.resumer);
                          });
    }

    static QTimer* RoundTimer() {
        if (gRoundTimer != nullptr || QCoreApplication::instance() == nullptr) {
            return gRoundTimer;
        }
        gRoundTimer = new QTimer(QCoreApplication::instance());
        gRoundTimer->setSingleShot(true);
        gRoundTimer->setInterval(0);
        QObject::connect(gRoundTimer, &QTimer::timeout, gRoundTimer, &Scheduler::Round);
        QObject::connect(gRoundTimer, &QObject::destroyed, [] { gRoundTimer = nullptr; });
        return gRoundTimer;
    }

    static void PostRoundIfReady() {
        if (gReadyHead == nullptr) {
            return;
        }
        QTimer* const timer = RoundTimer();
        if (timer != nullptr && !timer->isActive()) {
            timer->start();
        }
    }

    // Switches to `f` until it yields or ends. Returns false when it ended; it is freed then.
    static bool Resume(Fiber& f) {
        Fiber* const previous = gCurrent;
        if (!f.started) {
            f.started = true;
            f.context = MakeContext(f);
        }
        f.active = true;
        f.baseLoopLevel = LoopLevel();
        gCurrent = &f;
        RefreshYieldDeadline();
        const double cpuAtResume =
            previous == nullptr ? ThreadCpuMilliseconds() - PumpCpuMilliseconds() : 0;
        f.context = std::move(f.context).resume();
        if (previous == nullptr) {
            gThreadsCpuMs += ThreadCpuMilliseconds() - PumpCpuMilliseconds() - cpuAtResume;
        }
        gCurrent = previous;
        f.active = false;
        const bool alive = static_cast<bool>(f.context);
        if (!alive) {
            const std::unique_ptr<Fiber> ended = std::move(f.self);
        }
        RefreshYieldDeadline();
        if (previous == nullptr) {
            PostRoundIfReady();
        }
        return alive;
    }

    // One slice of the next ready fiber. A round that fires inside a fiber's pump does nothing:
    // the Resume() below that pump posts the next round when the fiber switches back.
    static void Round() {
        Fiber* const f = gReadyHead;
        if (gCurrent != nullptr || f == nullptr) {
            return;
        }
        Unready(*f);
        f->sliceEndNs = SteadyNs() + gSliceNs;
        f->sliceEndCycles = CyclesFromNow(gSliceNs);
        if (Resume(*f)) {
            PushReady(*f);
        }
        PostRoundIfReady();
    }

    static void YieldSlow(Fiber& f) {
        if (f.unwinding || InPump(f)) {
            return;
        }
        if (f.killed) {
            Unwind(f);
        }
        const int64_t leftNs = f.sliceEndNs - SteadyNs();
        if (leftNs > 0) {
            f.sliceEndCycles = CyclesFromNow(leftNs);
            RefreshYieldDeadline();
            return;
        }
        f.resumer = std::move(f.resumer).resume();
        if (f.killed) {
            Unwind(f);
        }
    }

    static void Kill(Thread& thread, bool mayUnwindCaller) {
        Fiber* const f = thread.impl_->fiber.get();
        if (f == nullptr) {
            return;
        }
        Detach(*f);
        f->killed = true;
        Unready(*f);
        if (!f->started) {
            const std::unique_ptr<Fiber> dropped = std::move(f->self);
            return;
        }
        if (!f->active) {
            Resume(*f);  // suspended at a yield outside any pump: its Yield() throws the unwind
            if (mayUnwindCaller) {
                detail::UnwindIfKilled();  // the victim's destructors may have killed the caller
            }
            return;
        }
        // The fiber is running (a self-kill) or below the running one, or events are processed on
        // its stack; it unwinds at its next switch point outside any pump.
        RefreshYieldDeadline();
        if (f == gCurrent && mayUnwindCaller && !InPump(*f)) {
            Unwind(*f);
        }
    }
};

Thread::Thread() : impl_(std::make_unique<Impl>()) {}

Thread::~Thread() {
    Scheduler::Kill(*this, false);
}

void Thread::Run() {
    if (impl_->fiber) {
        return;
    }
    impl_->fiber = std::make_unique<Fiber>(*this);
    PushReady(*impl_->fiber);
    Scheduler::PostRoundIfReady();
}

void Thread::Kill() {
    Scheduler::Kill(*this, true);
}

Thread::State Thread::GetState() const {
    return impl_->fiber ? State::Running : State::NotRunning;
}

void Yield() {
    Fiber* const f = gCurrent;
    if (f == nullptr || CycleNow() < gYieldDeadline) {
        return;
    }
    Scheduler::YieldSlow(*f);
}

Thread* CurrentThread() {
    return gCurrent != nullptr ? &gCurrent->thread : nullptr;
}

double ThreadsCpuMilliseconds() {
    return gThreadsCpuMs;
}

void SetTimeSlice(int microseconds) {
    gSliceNs = std::max(microseconds, 0) * int64_t{1000};
}

namespace detail {

PumpScope::PumpScope() : fiber_(gCurrent) {
    if (fiber_ != nullptr) {
        ++fiber_->pumpDepth;
        RefreshYieldDeadline();
    }
}

PumpScope::~PumpScope() {
    if (fiber_ != nullptr) {
        --fiber_->pumpDepth;
        RefreshYieldDeadline();
    }
}

void UnwindIfKilled() {
    Fiber* const f = gCurrent;
    if (f != nullptr && f->killed && !f->unwinding && !InPump(*f)) {
        Unwind(*f);
    }
}

}  // namespace detail

}  // namespace fw
