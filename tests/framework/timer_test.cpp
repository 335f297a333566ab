// The event pump's duration and the clock. Repeating and single timers serve every other suite.
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
    fw::DoEvents(100);
    EXPECT_GE(fw::Microseconds() - microsecondsBefore, 100'000.0);
    EXPECT_LT(fw::Microseconds() - microsecondsBefore, 200'000.0);
    EXPECT_GE(fw::Ticks() - ticksBefore, 5);
    EXPECT_LE(fw::Ticks() - ticksBefore, 12);
}

}  // namespace
