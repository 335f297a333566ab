// Timers, the event pump's duration and the clock.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "framework/events.h"
#include "framework/threads.h"
#include "framework/timer.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

milliseconds ElapsedSince(Clock::time_point start) {
    return std::chrono::duration_cast<milliseconds>(Clock::now() - start);
}

void PumpFor(int ms) {
    const auto end = Clock::now() + milliseconds(ms);
    while (Clock::now() < end) {
        fw::DoEvents(1);
    }
}

TEST(TimerTest, NewTimerIsOffAndNeverFires) {
    int fired = 0;
    const fw::Timer timer([&] { ++fired; }, 1);
    EXPECT_EQ(timer.GetMode(), fw::Timer::ModeOff);
    PumpFor(20);
    EXPECT_EQ(fired, 0);
}

TEST(TimerTest, OneShotFiresOnceAfterItsPeriodAndTurnsOff) {
    int fired = 0;
    int modeInAction = -1;
    fw::Timer timer;
    timer.SetAction([&] {
        ++fired;
        modeInAction = timer.GetMode();
    });
    timer.SetPeriod(20);
    const auto start = Clock::now();
    timer.SetMode(fw::Timer::ModeSingle);
    PumpFor(10);
    EXPECT_EQ(fired, 0);
    PumpFor(60);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(modeInAction, fw::Timer::ModeOff);
    EXPECT_EQ(timer.GetMode(), fw::Timer::ModeOff);
    EXPECT_GE(ElapsedSince(start), milliseconds(20));
}

TEST(TimerTest, RepeatingFiresUntilSwitchedOff) {
    int fired = 0;
    fw::Timer timer([&] { ++fired; }, 5);
    timer.SetMode(fw::Timer::ModeMultiple);
    PumpFor(80);
    EXPECT_GE(fired, 4);
    EXPECT_EQ(timer.GetMode(), fw::Timer::ModeMultiple);
    timer.SetMode(fw::Timer::ModeOff);
    const int afterOff = fired;
    PumpFor(30);
    EXPECT_EQ(fired, afterOff);
}

TEST(TimerTest, UnknownModeSwitchesTheTimerOff) {
    int fired = 0;
    fw::Timer timer([&] { ++fired; }, 5);
    timer.SetMode(fw::Timer::ModeMultiple);
    timer.SetMode(7);
    EXPECT_EQ(timer.GetMode(), fw::Timer::ModeOff);
    PumpFor(30);
    EXPECT_EQ(fired, 0);
}

// The search timer's debounce: every change re-arms the one-shot countdown from scratch.
TEST(TimerTest, SettingOneShotAgainRestartsTheCountdown) {
    Clock::time_point firedAt{};
    fw::Timer timer([&] { firedAt = Clock::now(); }, 60);
    timer.SetMode(fw::Timer::ModeSingle);
    PumpFor(40);
    const auto rearmed = Clock::now();
    timer.SetMode(fw::Timer::ModeSingle);
    PumpFor(40);
    EXPECT_EQ(firedAt, Clock::time_point{});
    PumpFor(80);
    ASSERT_NE(firedAt, Clock::time_point{});
    EXPECT_GE(firedAt - rearmed, milliseconds(60));
}

// The search timer's abort path: the action sets a new period and arms itself again.
TEST(TimerTest, RearmingInsideTheOwnActionFiresAgainWithTheNewPeriod) {
    int fired = 0;
    Clock::time_point secondArmed{};
    Clock::time_point secondFired{};
    fw::Timer timer;
    timer.SetAction([&] {
        if (++fired == 1) {
            timer.SetPeriod(30);
            timer.SetMode(fw::Timer::ModeSingle);
            secondArmed = Clock::now();
        } else {
            secondFired = Clock::now();
        }
    });
    timer.SetPeriod(5);
    timer.SetMode(fw::Timer::ModeSingle);
    PumpFor(100);
    EXPECT_EQ(fired, 2);
    EXPECT_EQ(timer.GetMode(), fw::Timer::ModeOff);
    EXPECT_GE(secondFired - secondArmed, milliseconds(30));
}

TEST(TimerTest, PeriodChangeWaitsForTheNextStart) {
    int fired = 0;
    fw::Timer timer([&] { ++fired; }, 20);
    timer.SetMode(fw::Timer::ModeSingle);
    timer.SetPeriod(500);
    EXPECT_EQ(timer.Period(), 500);
    PumpFor(60);
    EXPECT_EQ(fired, 1);
}

TEST(TimerTest, ResetRestartsARunningCountdownAndLeavesAnIdleTimerOff) {
    int fired = 0;
    fw::Timer timer([&] { ++fired; }, 50);
    timer.Reset();
    EXPECT_EQ(timer.GetMode(), fw::Timer::ModeOff);
    timer.SetMode(fw::Timer::ModeSingle);
    PumpFor(35);
    timer.Reset();
    PumpFor(35);
    EXPECT_EQ(fired, 0);
    PumpFor(60);
    EXPECT_EQ(fired, 1);
}

TEST(TimerTest, DestroyingTheTimerInsideItsOwnActionIsSafe) {
    int fired = 0;
    auto timer = std::make_unique<fw::Timer>();
    timer->SetAction([&] {
        ++fired;
        timer.reset();
    });
    timer->SetPeriod(2);
    timer->SetMode(fw::Timer::ModeMultiple);
    PumpFor(30);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(timer, nullptr);
}

TEST(TimerTest, ReplacingTheActionInsideItKeepsTheRunningCallIntact) {
    std::string seen;
    fw::Timer timer;
    const std::string text = "still here";
    timer.SetAction([&timer, &seen, copy = text] {
        timer.SetAction([&seen] { seen += "|second"; });
        seen = copy;
    });
    timer.SetPeriod(2);
    timer.SetMode(fw::Timer::ModeSingle);
    PumpFor(20);
    EXPECT_EQ(seen, "still here");
    timer.SetMode(fw::Timer::ModeSingle);
    PumpFor(20);
    EXPECT_EQ(seen, "still here|second");
}

class PumpingThread : public fw::Thread {
  public:
    ~PumpingThread() override { Kill(); }
    int pumpMs = 30;

  protected:
    void Execute() override { fw::DoEvents(pumpMs); }
};

TEST(TimerTest, ActionRunsOnTheFiberWhosePumpProcessesIt) {
    const fw::Thread* actionThread = nullptr;
    bool fired = false;
    fw::Timer timer(
        [&] {
            actionThread = fw::CurrentThread();
            fired = true;
        },
        10);
    PumpingThread t;
    timer.SetMode(fw::Timer::ModeSingle);
    t.Run();
    const auto start = Clock::now();
    while (t.GetState() == fw::Thread::State::Running && ElapsedSince(start) < milliseconds(2000)) {
        fw::DoEvents(1);
    }
    ASSERT_TRUE(fired);
    EXPECT_EQ(actionThread, &t);
}

TEST(TimerTest, ActionOnTheMainLoopSeesNoCurrentThread) {
    const PumpingThread neverRun;
    const fw::Thread* actionThread = &neverRun;
    fw::Timer timer([&] { actionThread = fw::CurrentThread(); }, 1);
    timer.SetMode(fw::Timer::ModeSingle);
    PumpFor(20);
    EXPECT_EQ(actionThread, nullptr);
}

TEST(EventPumpTest, DoEventsRunsForTheGivenTimeNotUntilIdle) {
    const auto start = Clock::now();
    fw::DoEvents(50);
    const auto elapsed = ElapsedSince(start);
    EXPECT_GE(elapsed, milliseconds(50));
    EXPECT_LT(elapsed, milliseconds(150));
}

TEST(EventPumpTest, DoEventsOfZeroProcessesPendingEventsAndReturns) {
    int fired = 0;
    fw::Timer timer([&] { ++fired; }, 0);
    timer.SetMode(fw::Timer::ModeSingle);
    const auto start = Clock::now();
    fw::DoEvents(0);
    fw::DoEvents(0);
    EXPECT_LT(ElapsedSince(start), milliseconds(20));
    EXPECT_EQ(fired, 1);
}

TEST(EventPumpTest, DoEventsInsideAFiberLastsItsTimeToo) {
    PumpingThread t;
    t.pumpMs = 40;
    t.Run();
    const auto start = Clock::now();
    while (t.GetState() == fw::Thread::State::Running && ElapsedSince(start) < milliseconds(2000)) {
        fw::DoEvents(1);
    }
    const auto pumpTime = Clock::now() - start;
    EXPECT_GE(pumpTime, milliseconds(40));
    EXPECT_LT(pumpTime, milliseconds(200));
}

int64_t gFakeTicks = 0;
int64_t FakeTicks() {
    return gFakeTicks;
}

TEST(ClockTest, TicksSourceIsReplaceableAndRestorable) {
    gFakeTicks = 12345;
    fw::SetTicksSource(&FakeTicks);
    EXPECT_EQ(fw::Ticks(), 12345);
    gFakeTicks = 12375;
    EXPECT_EQ(fw::Ticks(), 12375);
    fw::SetTicksSource(nullptr);
    const int64_t before = fw::Ticks();
    PumpFor(100);
    const int64_t advanced = fw::Ticks() - before;
    EXPECT_GE(advanced, 5);
    EXPECT_LE(advanced, 12);
}

TEST(ClockTest, MicrosecondsNeverGoBackAndFollowRealTime) {
    const double first = fw::Microseconds();
    double last = first;
    for (int i = 0; i < 10000; ++i) {
        const double now = fw::Microseconds();
        ASSERT_GE(now, last);
        last = now;
    }
    PumpFor(20);
    EXPECT_GE(fw::Microseconds() - first, 20'000.0);
}

}  // namespace
