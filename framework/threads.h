// Cooperative threads on the main OS thread, as stackful fibers scheduled from Qt's event loop.
// Only the main OS thread may use them. Threads switch only at Yield(), DoEvents() and the
// blocking calls of the framework; no lock is ever needed between them.
#pragma once

#include <cstdint>
#include <memory>

namespace fw {

class Thread {
public:
    // The framework's state codes.
    enum class State { Running = 0, Waiting = 1, Suspended = 2, Sleeping = 3, NotRunning = 4 };

    Thread();
    virtual ~Thread();  // kills the thread if it still runs
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Schedules Execute() on a fresh fiber; it starts from the event loop, never nested inside
    // the caller (also when the caller is another fiber). Ignored while the thread runs.
    void Run();
    // Stops the thread at once: State() is NotRunning on return, Execute() never continues, and its
    // stack is unwound (destructors run) at the fiber's next switch point outside any event pump.
    // Safe from any context, the thread itself included (then it unwinds at once).
    void Kill();
    State GetState() const;

protected:
    virtual void Execute() = 0;  // the thread's body; its end is the thread's end

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    friend struct Scheduler;
};

// A cooperative yield point. Costs a few nanoseconds unless the running fiber's time slice is used
// up, then lets the event loop and the other threads run. On the main context it does nothing.
void Yield();

// The thread whose fiber is running now, or nullptr on the main context.
Thread* CurrentThread();

}  // namespace fw
