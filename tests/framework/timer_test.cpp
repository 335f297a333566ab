// The clock. How long the event pump runs is proven by the thread tests, whose timers must fire
// inside a fiber's pump; repeating and single timers serve every other suite.
#include <gtest/gtest.h>

#include "framework/events.h"

namespace {

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
