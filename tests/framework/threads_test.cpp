// Cooperative threads: scheduling, yielding, killing in every state, and the traps of killing a
// fiber that is processing events on its own stack.
#include <gtest/gtest.h>

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
struct Sentinel {
    explicit Sentinel(int& counter) : live(counter) { ++live; }
    ~Sentinel() { --live; }
    int& live;
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

}  // namespace
