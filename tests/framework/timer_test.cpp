// Timers, the event pump's duration and the clock.
#include <gtest/gtest.h>

#include <chrono>

#include "fiber_helpers.h"
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

TEST(TimerTest, RepeatingFiresUntilModeZeroOrAnUnknownModeSwitchesItOff) {
    for (const int offMode : {static_cast<int>(fw::Timer::ModeOff), 7}) {
        SCOPED_TRACE(offMode);
        int fired = 0;
        fw::Timer timer([&] { ++fired; }, 5);
        timer.SetMode(fw::Timer::ModeMultiple);
        PumpFor(80);
        EXPECT_GE(fired, 4);
        timer.SetMode(offMode);
        EXPECT_EQ(timer.GetMode(), fw::Timer::ModeOff);
        const int afterOff = fired;
        PumpFor(30);
        EXPECT_EQ(fired, afterOff);
    }
}

TEST(EventPumpTest, DoEventsRunsForTheGivenTimeNotUntilIdleOnMainAndOnAFiber) {
    int fired = 0;
    fw::Timer timer([&] { ++fired; }, 0);
    timer.SetMode(fw::Timer::ModeSingle);
    auto start = Clock::now();
    fw::DoEvents(0);
    fw::DoEvents(0);
    EXPECT_LT(ElapsedSince(start), milliseconds(20)) << "0 processes what is pending once";
    EXPECT_EQ(fired, 1);

    start = Clock::now();
    fw::DoEvents(50);
    EXPECT_GE(ElapsedSince(start), milliseconds(50));
    EXPECT_LT(ElapsedSince(start), milliseconds(150));
    FnThread pumping([] { fw::DoEvents(40); });
    pumping.Run();
    start = Clock::now();
    ASSERT_TRUE(PumpUntil([&] { return Finished(pumping); }));
    EXPECT_GE(ElapsedSince(start), milliseconds(40));
    EXPECT_LT(ElapsedSince(start), milliseconds(200));
}

// Ticks count 1/60 s.
TEST(ClockTest, TicksAndMicrosecondsFollowRealTime) {
    const int64_t ticksBefore = fw::Ticks();
    const double microsecondsBefore = fw::Microseconds();
    PumpFor(100);
    EXPECT_GE(fw::Microseconds() - microsecondsBefore, 100'000.0);
    EXPECT_LT(fw::Microseconds() - microsecondsBefore, 200'000.0);
    EXPECT_GE(fw::Ticks() - ticksBefore, 5);
    EXPECT_LE(fw::Ticks() - ticksBefore, 12);
}

}  // namespace
