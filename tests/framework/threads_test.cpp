// Cooperative threads: scheduling, yielding, killing in every state, and the traps of killing a
// fiber that is processing events on its own stack.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "fiber_helpers.h"
#include "framework/events.h"
#include "framework/threads.h"
#include "framework/timer.h"

namespace {

using State = fw::Thread::State;
using Log = std::vector<std::string>;

// Counts the live objects of a scope on a fiber's stack.
class Sentinel {
  public:
    explicit Sentinel(int& live) : live_(live) { ++live_; }
    ~Sentinel() { --live_; }
    Sentinel(const Sentinel&) = delete;
    Sentinel& operator=(const Sentinel&) = delete;

  private:
    int& live_;
};

class ThreadTest : public ::testing::Test {
  protected:
    // Every yield switches, so that the order of events is fixed.
    void SetUp() override { fw::SetTimeSlice(0); }
    void TearDown() override { fw::SetTimeSlice(3000); }

    // Records an event with the number of scopes still alive on fiber stacks at that moment.
    void Note(const std::string& event) { log.push_back(event + " live=" + std::to_string(live)); }

    // Starts `victim`, which holds a Sentinel and yields until `release` is set, and returns once
    // it waits at a yield point.
    void StartVictim() {
        victim.Run();
        ASSERT_TRUE(PumpUntil([&] { return live == 1; }));
    }

    Log log;
    int live = 0;
    bool release = false;
    FnThread victim{[this] {
        const Sentinel s(live);
        while (!release) {
            fw::Yield();
        }
        Note("victim ended");
    }};
};

// Running threads again and yielding on the main context are proven by every search.
TEST_F(ThreadTest, RunSchedulesOneRunFromTheEventLoop) {
    FnThread t;
    t.SetBody([&] { Note(fw::CurrentThread() == &t ? "runs as t" : "runs as another thread"); });
    t.Run();
    t.Run();
    EXPECT_EQ(t.GetState(), State::Running);
    EXPECT_EQ(fw::CurrentThread(), nullptr);
    EXPECT_TRUE(log.empty());
    ASSERT_TRUE(PumpUntil([&] { return Finished(t); }));
    fw::DoEvents(5);
    EXPECT_EQ(log, Log{"runs as t live=0"});
}

TEST_F(ThreadTest, ThreadsInterleaveOnlyAtYieldsOnceTheSliceIsUsedUp) {
    const std::vector<std::pair<int, Log>> rows = {{0, {"a1", "a1'", "b1", "a2", "b2"}},
                                                   {10'000'000, {"a1", "a1'", "a2", "b1", "b2"}}};
    for (const auto& [sliceMicroseconds, order] : rows) {
        SCOPED_TRACE(sliceMicroseconds);
        fw::SetTimeSlice(sliceMicroseconds);
        Log steps;
        FnThread a([&] {
            steps.push_back("a1");
            steps.push_back("a1'");
            fw::Yield();
            steps.push_back("a2");
        });
        FnThread b([&] {
            steps.push_back("b1");
            fw::Yield();
            steps.push_back("b2");
        });
        a.Run();
        b.Run();
        ASSERT_TRUE(PumpUntil([&] { return Finished(a) && Finished(b); }));
        EXPECT_EQ(steps, order);
    }
}

TEST_F(ThreadTest, BusyFiberLetsTimersFireBetweenSlices) {
    fw::SetTimeSlice(3000);
    const auto start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::duration firedAfter{};
    fw::Timer timer(
        [&] {
            firedAfter = std::chrono::steady_clock::now() - start;
            release = true;
        },
        10);
    StartVictim();
    timer.SetMode(fw::Timer::ModeSingle);
    ASSERT_TRUE(PumpUntil([&] { return Finished(victim); }));
    EXPECT_LT(firedAfter, std::chrono::milliseconds(60));
}

TEST_F(ThreadTest, RunFromInsideAFiberSchedulesTheOtherWithoutNestingIt) {
    fw::SetTimeSlice(10'000'000);
    FnThread next([&] { Note("next"); });
    FnThread first([&] {
        next.Run();
        Note(Finished(next) ? "next already ended" : "next scheduled");
    });
    first.Run();
    ASSERT_TRUE(PumpUntil([&] { return Finished(first) && Finished(next); }));
    EXPECT_EQ(log, (Log{"next scheduled live=0", "next live=0"}));
}

// Destroying a thread kills it, so these cover a destroyed thread too.
TEST_F(ThreadTest, KillBeforeTheFirstSliceOrWhileSuspendedEndsTheRunAtOnceAndForGood) {
    FnThread scheduled([&] { Note("killed thread ran"); });
    scheduled.Run();
    scheduled.Kill();
    EXPECT_EQ(scheduled.GetState(), State::NotRunning);
    StartVictim();
    victim.Kill();
    Note("killed");
    EXPECT_EQ(victim.GetState(), State::NotRunning);
    release = true;
    fw::DoEvents(5);
    victim.Run();
    EXPECT_EQ(victim.GetState(), State::Running);
    ASSERT_TRUE(PumpUntil([&] { return Finished(victim) && Finished(scheduled); }));
    EXPECT_EQ(log, (Log{"killed live=0", "victim ended live=1"}));
}

TEST_F(ThreadTest, KillFromAFiberUnwindsTheVictimBeforeKillReturnsAlsoWhenItKillsItself) {
    FnThread killer([&] {
        victim.Kill();
        Note(Finished(victim) ? "victim killed" : "victim still running");
    });
    StartVictim();
    killer.Run();
    ASSERT_TRUE(PumpUntil([&] { return Finished(killer); }));
    victim.SetBody([&] {
        const Sentinel s(live);
        victim.Kill();
        Note("went on after its own kill");
    });
    victim.Run();
    ASSERT_TRUE(PumpUntil([&] { return Finished(victim); }));
    EXPECT_EQ(live, 0);
    EXPECT_EQ(log, Log{"victim killed live=0"});
}

// The search timer's abort runs inside a report rebuild inside a pass's end operation: Qt frames
// are on the pass's stack, so the unwinding must wait for the pump to return.
class KillInsideOwnPumpTest : public ThreadTest {
  protected:
    FnThread pass;
    fw::Timer abort{[this] {
                        pass.Kill();
                        Note(Finished(pass) ? "aborted" : "abort left the pass running");
                    },
                    5};
};

TEST_F(KillInsideOwnPumpTest, StateIsNotRunningAtOnceAndTheStackUnwindsBeforeTheNextPassStarts) {
    FnThread next([&] { Note("next pass ran"); });
    pass.SetBody([&] {
        const Sentinel s(live);
        abort.SetMode(fw::Timer::ModeSingle);
        fw::DoEvents(40);  // the report rebuild
        Note("went on after the pump");
        next.Run();
    });
    pass.Run();
    ASSERT_TRUE(PumpUntil([&] { return !log.empty() && live == 0; }));
    fw::DoEvents(10);
    EXPECT_EQ(log, Log{"aborted live=1"});
    EXPECT_EQ(next.GetState(), State::NotRunning);
}

TEST_F(KillInsideOwnPumpTest, RunAgainInsideThePumpStartsAFreshRunBesideTheDyingOne) {
    abort.SetAction([&] {
        pass.Kill();
        pass.Run();
        Note(Finished(pass) ? "restart lost" : "restarted");
    });
    pass.SetBody([&] {
        if (!log.empty()) {
            Note("fresh run");
            return;
        }
        const Sentinel s(live);
        abort.SetMode(fw::Timer::ModeSingle);
        fw::DoEvents(30);
        Note("went on after the pump");
    });
    pass.Run();
    ASSERT_TRUE(PumpUntil([&] { return log.size() == 2 && live == 0 && Finished(pass); }));
    EXPECT_EQ(log, (Log{"restarted live=1", "fresh run live=0"}));
}

// Events processed inside a fiber's DoEvents run on that fiber's stack, under Qt frames: a yield
// there must not switch, but killing another, suspended fiber unwinds that one at once.
TEST_F(ThreadTest, YieldFromEventsInsideAFibersPumpNeitherSwitchesNorUnwindsButKillsOthersAtOnce) {
    int victimSteps = 0;
    victim.SetBody([&] {
        const Sentinel s(live);
        for (;;) {
            ++victimSteps;
            fw::Yield();
        }
    });
    fw::Timer action(
        [&] {
            const int before = victimSteps;
            for (int i = 0; i < 100; ++i) {
                fw::Yield();
            }
            Note("victim steps in pump=" + std::to_string(victimSteps - before));
            victim.Kill();
            Note("victim killed");
        },
        5);
    FnThread pumping([&] {
        action.SetMode(fw::Timer::ModeSingle);
        fw::DoEvents(20);
        Note("pump returned");
    });
    StartVictim();
    pumping.Run();
    ASSERT_TRUE(PumpUntil([&] { return Finished(pumping); }));
    EXPECT_EQ(log, (Log{"victim steps in pump=0 live=1", "victim killed live=0",
                        "pump returned live=0"}));
}

// Random Run, Kill, pump and destroy from the main loop, from fibers and from timer actions that
// run inside fibers' pumps. Every scope must be unwound and nothing may crash or leak (run under
// the address sanitizer as well).
TEST_F(ThreadTest, StressRandomRunKillAndDestroyLeavesNothingBehind) {
    constexpr int kThreads = 8;
    std::mt19937 rng(20240611);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    std::vector<std::unique_ptr<FnThread>> threads(kThreads);
    const auto act = [&](int op) {  // 0 runs, 1 kills a random thread, 2 pumps
        FnThread& t = *threads[pick(kThreads)];
        if (op == 0) {
            t.Run();
        } else if (op == 1) {
            t.Kill();
        } else {
            fw::DoEvents(pick(2));
        }
    };
    const std::function<void()> body = [&] {
        const Sentinel s(live);
        for (int i = pick(60); i > 0; --i) {
            const Sentinel inner(live);
            fw::Yield();
            if (pick(100) < 9) {
                act(pick(3));
            }
        }
    };
    for (auto& t : threads) {
        t = std::make_unique<FnThread>(body);
    }
    fw::Timer chaos([&] { act(pick(2)); }, 1);
    chaos.SetMode(fw::Timer::ModeMultiple);
    for (int round = 0; round < 3000; ++round) {
        if (pick(10) == 0) {
            threads[pick(kThreads)] = std::make_unique<FnThread>(body);
        } else {
            act(pick(3));
        }
    }
    chaos.SetMode(fw::Timer::ModeOff);
    for (auto& t : threads) {
        t.reset();
    }
    EXPECT_EQ(live, 0);
}

}  // namespace
