// Cooperative threads: scheduling, yielding, killing in every state, and the traps of killing a
// fiber that is processing events on its own stack.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "framework/events.h"
#include "framework/threads.h"
#include "framework/timer.h"

namespace {

using State = fw::Thread::State;

class FnThread : public fw::Thread {
  public:
    explicit FnThread(std::function<void()> body = {}) : body_(std::move(body)) {}
    ~FnThread() override { Kill(); }
    void SetBody(std::function<void()> body) { body_ = std::move(body); }

  protected:
    void Execute() override {
        const std::function<void()> body = body_;
        body();
    }

  private:
    std::function<void()> body_;
};

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

bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        fw::DoEvents(1);
    }
    return true;
}

bool Finished(const fw::Thread& t) {
    return t.GetState() == State::NotRunning;
}

[[noreturn]] void YieldForever() {
    for (;;) {
        fw::Yield();
    }
}

class ThreadTest : public ::testing::Test {
  protected:
    // Every yield switches, so that the order of events is fixed.
    void SetUp() override { fw::SetTimeSlice(0); }
    void TearDown() override { fw::SetTimeSlice(3000); }
};

TEST_F(ThreadTest, RunStartsFromTheEventLoopNotInsideTheCaller) {
    bool ran = false;
    FnThread t([&] { ran = true; });
    t.Run();
    EXPECT_FALSE(ran);
    EXPECT_EQ(t.GetState(), State::Running);
    ASSERT_TRUE(PumpUntil([&] { return Finished(t); }));
    EXPECT_TRUE(ran);
}

TEST_F(ThreadTest, RunWhileRunningIsIgnored) {
    int runs = 0;
    FnThread t([&] {
        ++runs;
        fw::Yield();
    });
    t.Run();
    t.Run();
    ASSERT_TRUE(PumpUntil([&] { return Finished(t); }));
    EXPECT_EQ(runs, 1);
}

TEST_F(ThreadTest, EndedThreadRunsAgain) {
    int runs = 0;
    FnThread t([&] { ++runs; });
    t.Run();
    ASSERT_TRUE(PumpUntil([&] { return Finished(t); }));
    t.Run();
    ASSERT_TRUE(PumpUntil([&] { return Finished(t); }));
    EXPECT_EQ(runs, 2);
}

TEST_F(ThreadTest, CurrentThreadNamesTheFiberAndIsNullOnMain) {
    const fw::Thread* seen = nullptr;
    FnThread t([&] { seen = fw::CurrentThread(); });
    EXPECT_EQ(fw::CurrentThread(), nullptr);
    t.Run();
    ASSERT_TRUE(PumpUntil([&] { return Finished(t); }));
    EXPECT_EQ(seen, &t);
}

TEST_F(ThreadTest, YieldOnTheMainContextIsANoOp) {
    bool ran = false;
    FnThread t([&] { ran = true; });
    t.Run();
    for (int i = 0; i < 1000; ++i) {
        fw::Yield();
    }
    EXPECT_FALSE(ran);
    ASSERT_TRUE(PumpUntil([&] { return Finished(t); }));
}

TEST_F(ThreadTest, TwoThreadsInterleaveOnlyAtYields) {
    std::vector<std::string> log;
    FnThread a([&] {
        log.push_back("a1");
        log.push_back("a1'");
        fw::Yield();
        log.push_back("a2");
    });
    FnThread b([&] {
        log.push_back("b1");
        fw::Yield();
        log.push_back("b2");
    });
    a.Run();
    b.Run();
    ASSERT_TRUE(PumpUntil([&] { return Finished(a) && Finished(b); }));
    EXPECT_EQ(log, (std::vector<std::string>{"a1", "a1'", "b1", "a2", "b2"}));
}

TEST_F(ThreadTest, YieldKeepsRunningUntilTheSliceIsUsedUp) {
    fw::SetTimeSlice(10'000'000);
    std::vector<std::string> log;
    FnThread a([&] {
        log.push_back("a1");
        fw::Yield();
        log.push_back("a2");
    });
    FnThread b([&] { log.push_back("b"); });
    a.Run();
    b.Run();
    ASSERT_TRUE(PumpUntil([&] { return Finished(a) && Finished(b); }));
    EXPECT_EQ(log, (std::vector<std::string>{"a1", "a2", "b"}));
}

TEST_F(ThreadTest, BusyFiberLetsTimersFireBetweenSlices) {
    fw::SetTimeSlice(3000);
    bool stop = false;
    const auto start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::duration firedAfter{};
    fw::Timer timer(
        [&] {
            firedAfter = std::chrono::steady_clock::now() - start;
            stop = true;
        },
        10);
    FnThread spinner([&] {
        while (!stop) {
            fw::Yield();
        }
    });
    spinner.Run();
    timer.SetMode(fw::Timer::ModeSingle);
    ASSERT_TRUE(PumpUntil([&] { return Finished(spinner); }));
    EXPECT_LT(firedAfter, std::chrono::milliseconds(60));
}

TEST_F(ThreadTest, RunFromInsideAFiberSchedulesTheOtherWithoutNestingIt) {
    fw::SetTimeSlice(10'000'000);
    std::vector<std::string> log;
    FnThread next([&] { log.push_back("next"); });
    FnThread first([&] {
        log.push_back("first starts next");
        next.Run();
        log.push_back(Finished(next) ? "next already ended" : "next scheduled");
        log.push_back("first ends");
    });
    first.Run();
    ASSERT_TRUE(PumpUntil([&] { return Finished(first) && Finished(next); }));
    EXPECT_EQ(log, (std::vector<std::string>{"first starts next", "next scheduled", "first ends",
                                             "next"}));
}

TEST_F(ThreadTest, KillWhileSuspendedUnwindsAtOnceAndSkipsTheEndCode) {
    int live = 0;
    bool endCode = false;
    FnThread t([&] {
        const Sentinel s(live);
        for (int i = 0; i < 1'000'000; ++i) {
            fw::Yield();
        }
        endCode = true;
    });
    t.Run();
    ASSERT_TRUE(PumpUntil([&] { return live == 1; }));
    t.Kill();
    EXPECT_EQ(t.GetState(), State::NotRunning);
    EXPECT_EQ(live, 0);
    fw::DoEvents(5);
    EXPECT_FALSE(endCode);
}

TEST_F(ThreadTest, KillFromAnotherFiberUnwindsTheVictimBeforeKillReturns) {
    int live = 0;
    int liveAfterKill = -1;
    State stateAfterKill = State::Running;
    FnThread victim([&] {
        const Sentinel s(live);
        YieldForever();
    });
    FnThread killer([&] {
        victim.Kill();
        liveAfterKill = live;
        stateAfterKill = victim.GetState();
    });
    victim.Run();
    ASSERT_TRUE(PumpUntil([&] { return live == 1; }));
    killer.Run();
    ASSERT_TRUE(PumpUntil([&] { return Finished(killer); }));
    EXPECT_EQ(liveAfterKill, 0);
    EXPECT_EQ(stateAfterKill, State::NotRunning);
}

TEST_F(ThreadTest, KillBeforeTheFirstSliceDropsTheRun) {
    bool ran = false;
    FnThread t([&] { ran = true; });
    t.Run();
    t.Kill();
    EXPECT_EQ(t.GetState(), State::NotRunning);
    fw::DoEvents(10);
    EXPECT_FALSE(ran);
}

TEST_F(ThreadTest, SelfKillOutsideAPumpUnwindsAtOnce) {
    int live = 0;
    bool afterKill = false;
    FnThread t;
    t.SetBody([&] {
        const Sentinel s(live);
        t.Kill();
        afterKill = true;
    });
    t.Run();
    ASSERT_TRUE(PumpUntil([&] { return Finished(t); }));
    EXPECT_FALSE(afterKill);
    EXPECT_EQ(live, 0);
}

TEST_F(ThreadTest, KilledThreadRunsAgainFromTheStart) {
    int starts = 0;
    bool endCode = false;
    int budget = 1'000'000;
    FnThread t([&] {
        ++starts;
        while (--budget > 0 && starts == 1) {
            fw::Yield();
        }
        endCode = true;
    });
    t.Run();
    ASSERT_TRUE(PumpUntil([&] { return starts == 1; }));
    t.Kill();
    t.Run();
    EXPECT_EQ(t.GetState(), State::Running);
    ASSERT_TRUE(PumpUntil([&] { return Finished(t); }));
    EXPECT_EQ(starts, 2);
    EXPECT_TRUE(endCode);
}

TEST_F(ThreadTest, VictimWhoseDestructorKillsItsKillerStopsTheKillerToo) {
    int live = 0;
    bool killerContinued = false;
    FnThread killer;
    struct KillsOnUnwind {
        fw::Thread& target;
        ~KillsOnUnwind() { target.Kill(); }
    };
    bool victimStarted = false;
    FnThread victim([&] {
        const KillsOnUnwind k{killer};
        victimStarted = true;
        YieldForever();
    });
    killer.SetBody([&] {
        const Sentinel s(live);
        victim.Kill();
        killerContinued = true;
    });
    victim.Run();
    ASSERT_TRUE(PumpUntil([&] { return victimStarted; }));
    killer.Run();
    ASSERT_TRUE(PumpUntil([&] { return Finished(killer) && live == 0; }));
    EXPECT_FALSE(killerContinued);
    EXPECT_EQ(victim.GetState(), State::NotRunning);
}

TEST_F(ThreadTest, DestroyingARunningThreadUnwindsItsStack) {
    int live = 0;
    bool endCode = false;
    auto t = std::make_unique<FnThread>([&] {
        const Sentinel s(live);
        for (int i = 0; i < 1'000'000; ++i) {
            fw::Yield();
        }
        endCode = true;
    });
    t->Run();
    ASSERT_TRUE(PumpUntil([&] { return live == 1; }));
    t.reset();
    EXPECT_EQ(live, 0);
    fw::DoEvents(5);
    EXPECT_FALSE(endCode);
}

TEST_F(ThreadTest, DestroyingAScheduledThreadNeverRunsIt) {
    bool ran = false;
    auto t = std::make_unique<FnThread>([&] { ran = true; });
    t->Run();
    t.reset();
    fw::DoEvents(10);
    EXPECT_FALSE(ran);
}

// The search timer's abort runs inside a report rebuild inside a pass's end operation: Qt frames
// are on the pass's stack, so the unwinding must wait for the pump to return.
class KillInsideOwnPumpTest : public ThreadTest {
  protected:
    int live = 0;
    bool afterPump = false;
    int liveInAction = -1;
    State stateInAction = State::Running;
    FnThread pass;
    fw::Timer abort{[this] {
                        pass.Kill();
                        stateInAction = pass.GetState();
                        liveInAction = live;
                    },
                    5};
};

TEST_F(KillInsideOwnPumpTest, StateIsNotRunningAtOnceButTheStackUnwindsWhenThePumpReturns) {
    pass.SetBody([this] {
        const Sentinel s(live);
        abort.SetMode(fw::Timer::ModeSingle);
        fw::DoEvents(40);
        afterPump = true;
    });
    pass.Run();
    ASSERT_TRUE(PumpUntil([&] { return liveInAction >= 0 && live == 0; }));
    EXPECT_EQ(stateInAction, State::NotRunning);
    EXPECT_EQ(liveInAction, 1);
    EXPECT_FALSE(afterPump);
}

TEST_F(KillInsideOwnPumpTest, AbortInsideTheEndOperationNeverStartsTheNextPass) {
    bool nextRan = false;
    FnThread next([&] { nextRan = true; });
    pass.SetBody([&] {
        const Sentinel s(live);
        abort.SetMode(fw::Timer::ModeSingle);
        fw::DoEvents(30);  // the report rebuild
        next.Run();
    });
    pass.Run();
    ASSERT_TRUE(PumpUntil([&] { return liveInAction >= 0 && live == 0; }));
    fw::DoEvents(10);
    EXPECT_FALSE(nextRan);
    EXPECT_EQ(next.GetState(), State::NotRunning);
}

TEST_F(KillInsideOwnPumpTest, RunAgainInsideThePumpStartsAFreshRunBesideTheDyingOne) {
    int starts = 0;
    abort.SetAction([&] {
        pass.Kill();
        pass.Run();
        stateInAction = pass.GetState();
    });
    pass.SetBody([&] {
        if (++starts > 1) {
            return;
        }
        const Sentinel s(live);
        abort.SetMode(fw::Timer::ModeSingle);
        fw::DoEvents(30);
        afterPump = true;
    });
    pass.Run();
    ASSERT_TRUE(PumpUntil([&] { return starts == 2 && live == 0 && Finished(pass); }));
    EXPECT_EQ(stateInAction, State::Running);
    EXPECT_FALSE(afterPump);
}

TEST_F(ThreadTest, YieldFromEventsInsideAFibersPumpNeitherSwitchesNorUnwinds) {
    int otherSteps = 0;
    int otherStepsSeenInPump = -1;
    bool pumpReturned = false;
    FnThread other([&] {
        for (;;) {
            ++otherSteps;
            fw::Yield();
        }
    });
    fw::Timer yielder(
        [&] {
            const int before = otherSteps;
            for (int i = 0; i < 100; ++i) {
                fw::Yield();
            }
            otherStepsSeenInPump = otherSteps - before;
        },
        5);
    FnThread pumping([&] {
        yielder.SetMode(fw::Timer::ModeSingle);
        fw::DoEvents(20);
        pumpReturned = true;
    });
    other.Run();
    ASSERT_TRUE(PumpUntil([&] { return otherSteps > 0; }));
    pumping.Run();
    ASSERT_TRUE(PumpUntil([&] { return Finished(pumping); }));
    EXPECT_EQ(otherStepsSeenInPump, 0);
    EXPECT_TRUE(pumpReturned);
}

TEST_F(ThreadTest, KillOfASuspendedFiberFromInsideAnotherFibersPumpUnwindsIt) {
    int live = 0;
    int liveAfterKill = -1;
    FnThread victim([&] {
        const Sentinel s(live);
        YieldForever();
    });
    fw::Timer abort(
        [&] {
            victim.Kill();
            liveAfterKill = live;
        },
        5);
    FnThread pumping([&] {
        abort.SetMode(fw::Timer::ModeSingle);
        fw::DoEvents(20);
    });
    victim.Run();
    ASSERT_TRUE(PumpUntil([&] { return live == 1; }));
    pumping.Run();
    ASSERT_TRUE(PumpUntil([&] { return Finished(pumping); }));
    EXPECT_EQ(liveAfterKill, 0);
}

// Random Run, Kill, pump and destroy from the main loop, from fibers and from timer actions that
// run inside fibers' pumps. Every scope must be unwound and nothing may crash or leak (run under
// the address sanitizer as well).
TEST_F(ThreadTest, StressRandomRunKillAndDestroyLeavesNothingBehind) {
    constexpr int kThreads = 8;
    std::mt19937 rng(20240611);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    int live = 0;
    std::vector<std::unique_ptr<FnThread>> threads(kThreads);
    std::function<void()> body = [&] {
        const Sentinel s(live);
        const int steps = pick(60);
        for (int i = 0; i < steps; ++i) {
            const Sentinel inner(live);
            fw::Yield();
            const int op = pick(100);
            if (op < 3) {
                threads[pick(kThreads)]->Kill();
            } else if (op < 6) {
                threads[pick(kThreads)]->Run();
            } else if (op < 9) {
                fw::DoEvents(pick(2));
            }
        }
    };
    for (auto& t : threads) {
        t = std::make_unique<FnThread>(body);
    }
    fw::Timer chaos(
        [&] {
            if (pick(2) == 0) {
                threads[pick(kThreads)]->Kill();
            } else {
                threads[pick(kThreads)]->Run();
            }
        },
        1);
    chaos.SetMode(fw::Timer::ModeMultiple);
    for (int round = 0; round < 3000; ++round) {
        const int op = pick(10);
        auto& t = threads[pick(kThreads)];
        if (op < 4) {
            t->Run();
        } else if (op < 6) {
            t->Kill();
        } else if (op < 7) {
            t = std::make_unique<FnThread>(body);
        } else {
            fw::DoEvents(pick(2));
        }
    }
    chaos.SetMode(fw::Timer::ModeOff);
    for (auto& t : threads) {
        t.reset();
    }
    EXPECT_EQ(live, 0);
}

}  // namespace
