// Cooperative threads on the main OS thread, as stackful fibers scheduled from Qt's event loop.
// Only the main OS thread may use them, and a QCoreApplication must exist for a thread to start.
// Threads switch only at Yield(), DoEvents() and the blocking calls of the framework, so no lock
// is ever needed between them.
//
// A kill unwinds the fiber's stack with an internal exception that is not a std::exception. Code
// running on a fiber must never swallow it: no catch (...) without a rethrow.
//
// A fiber never switches or unwinds while Qt frames are on its stack inside DoEvents() or a nested
// Qt event loop (a modal dialog). Qt callbacks outside such a pump (a slot run by a signal that
// fiber code caused directly) are not detected: code reached from them must not yield.
#pragma once

#include <cstdint>
#include <memory>

namespace fw {

namespace detail {
struct Fiber;
}

class Thread {
  public:
    // The framework's state codes. A thread is Running from Run() until its Execute() ends or it
    // is killed, also while it waits at a yield point; otherwise it is NotRunning.
    enum class State { Running = 0, Waiting = 1, Suspended = 2, Sleeping = 3, NotRunning = 4 };

    Thread();
    // Kills the thread if it still runs, unwinding its stack before the object is gone. A derived
    // class whose Execute() uses its own members should Kill() in its own destructor, since they
    // are destroyed before this one runs. Never destroy a thread from code on its own fiber.
    virtual ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Schedules Execute() on a fresh fiber; it starts from the event loop, never nested inside
    // the caller (also when the caller is another fiber). Ignored while the thread runs. A thread
    // whose run ended or was killed starts a new run.
    void Run();
    // Stops the thread at once: GetState() is NotRunning on return and Execute() never continues.
    // The stack is unwound (destructors run) right away when the fiber waits at a yield point, or
    // when it kills itself outside an event pump; a fiber killed while events are processed on its
    // stack unwinds when that pump returns. Safe from any context.
    void Kill();
    State GetState() const;

  protected:
    // The thread's body; its end is the thread's end. An exception other than the kill's
    // unwinding that escapes it ends the program, as from a std::thread.
    virtual void Execute() = 0;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    friend struct Scheduler;
};

// A cooperative yield point. Costs a few nanoseconds unless the running fiber's time slice is used
// up, then lets the event loop and the other threads run. On the main context, and on a fiber
// that is processing events inside DoEvents or a modal loop, it does nothing. On a killed fiber
// outside any pump it starts the unwinding.
void Yield();

// The thread whose fiber is running now, or nullptr on the main context.
Thread* CurrentThread();

// The time slice a fiber runs before a Yield() switches away; 3000 microseconds by default.
// Tests set 0 to switch at every yield.
void SetTimeSlice(int microseconds);

// CPU time of the main OS thread spent running cooperative threads so far, the event pumps inside
// them left out: what the threads themselves cost, for measurements.
double ThreadsCpuMilliseconds();

namespace detail {

// Held by the event pump around processing events on the caller's stack: while one lives on a
// fiber, that fiber neither switches nor unwinds.
class PumpScope {
  public:
    PumpScope();
    ~PumpScope();
    PumpScope(const PumpScope&) = delete;
    PumpScope& operator=(const PumpScope&) = delete;

  private:
    Fiber* const fiber_;
};

// The switch point after a pump: starts the unwinding of the running fiber if it was killed while
// the pump ran. Does nothing on the main context or inside another pump.
void UnwindIfKilled();

}  // namespace detail

}  // namespace fw
