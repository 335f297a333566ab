// The event pump and the clock. Main OS thread only.
#pragma once

#include <cstdint>

namespace fw {

// Runs the event loop (events, timers, sockets) for `milliseconds`, not "until idle"; 0 or less
// processes what is pending once. From the main context the ready cooperative threads run too.
// Inside a fiber the events run on the fiber's stack and no other fiber runs meanwhile (switching
// away with Qt frames on the stack is impossible); a Yield() reached from those events neither
// switches nor unwinds. A fiber killed during the pump unwinds when it returns.
// False once a quit is under way (QuitUnderWay): the application's event loop is ending, and once
// Qt has ended it a pump returns at once without serving anything; so a caller waiting for an
// event, a reply or a time-out must stop waiting instead of pumping again.
bool DoEvents(int milliseconds);
// A quit has been asked for and not cancelled, or the application's event loop has ended: the
// application object says so (fw::Application::Quitting); false without one.
bool QuitUnderWay();
// CPU time of the calling OS thread so far.
double ThreadCpuMilliseconds();
// CPU time of the main OS thread spent inside DoEvents so far (the outermost pumps only), for
// measurements that leave the event pumps out.
double PumpCpuMilliseconds();

// Ticks of 1/60 s since the steady clock's epoch (the system's start); replaceable for tests
// through SetTicksSource.
int64_t Ticks();
// Microseconds since an arbitrary start, monotonic.
double Microseconds();
using TicksSource = int64_t (*)();
void SetTicksSource(TicksSource source);  // nullptr restores the real clock

}  // namespace fw
