// Cost of a yield point within the time slice, of a full switch through the event loop, and of
// starting a thread.
#include <benchmark/benchmark.h>

#include <climits>
#include <functional>

#include "framework/events.h"
#include "framework/threads.h"

namespace {

class BenchThread : public fw::Thread {
  public:
    explicit BenchThread(std::function<void()> body) : body_(std::move(body)) {}
    ~BenchThread() override { Kill(); }

  protected:
    void Execute() override { body_(); }

  private:
    std::function<void()> body_;
};

// Runs `body` on a fiber with the given time slice and pumps the main loop until it ends.
void OnFiber(int sliceMicroseconds, std::function<void()> body) {
    fw::SetTimeSlice(sliceMicroseconds);
    BenchThread thread(std::move(body));
    thread.Run();
    while (thread.GetState() == fw::Thread::State::Running) {
        fw::DoEvents(1);
    }
    fw::SetTimeSlice(3000);
}

void BM_YieldOnMainContext(benchmark::State& state) {
    for (auto _ : state) {
        fw::Yield();
    }
}
BENCHMARK(BM_YieldOnMainContext);

void BM_YieldOnFiberWithinSlice(benchmark::State& state) {
    OnFiber(INT_MAX, [&] {
        for (auto _ : state) {
            fw::Yield();
        }
    });
}
BENCHMARK(BM_YieldOnFiberWithinSlice);

// The default 3 ms slice: the fast path plus a share of the switches and event-loop passes.
void BM_YieldOnFiberDefaultSlice(benchmark::State& state) {
    OnFiber(3000, [&] {
        for (auto _ : state) {
            fw::Yield();
        }
    });
}
BENCHMARK(BM_YieldOnFiberDefaultSlice);

// Every yield switches to the main context, lets the event loop run one pass and comes back.
void BM_FullSwitchThroughEventLoop(benchmark::State& state) {
    OnFiber(0, [&] {
        for (auto _ : state) {
            fw::Yield();
        }
    });
}
BENCHMARK(BM_FullSwitchThroughEventLoop);

void BM_RunThreadToItsEnd(benchmark::State& state) {
    int runs = 0;
    BenchThread thread([&] { ++runs; });
    for (auto _ : state) {
        thread.Run();
        while (thread.GetState() == fw::Thread::State::Running) {
            fw::DoEvents(0);
        }
    }
    benchmark::DoNotOptimize(runs);
}
BENCHMARK(BM_RunThreadToItsEnd);

}  // namespace
