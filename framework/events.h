// The event pump and the clock.
#pragma once

#include <cstdint>

namespace fw {

// Runs the event loop (events, timers, ready threads) for `milliseconds`, not "until idle".
// Inside a fiber the events run on the fiber's stack; a Yield() reached from those events neither
// switches nor unwinds.
void DoEvents(int milliseconds);

// Ticks of 1/60 s since an arbitrary start; replaceable for tests through SetTicksSource.
int64_t Ticks();
// Microseconds since an arbitrary start, monotonic.
double Microseconds();
using TicksSource = int64_t (*)();
void SetTicksSource(TicksSource source);  // nullptr restores the real clock

}  // namespace fw
