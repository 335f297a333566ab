// Keeps one Cocoa autorelease pool in place on the main thread and recycles it every 1000 ms
// from the main event loop: each tick releases the old pool before it makes the new one, so
// what Cocoa hands back autoreleased lives at least until the next tick. Main event loop only.
#pragma once

#include <memory>

#include "framework/timer.h"
#include "sources/bridge/NSAutoreleasePool.h"

class AutoreleaseTimer : public fw::Timer {
  public:
    // Makes the first pool, then repeats every 1000 ms.
    AutoreleaseTimer();

    // The current pool; nil only while a tick replaces it.
    const NSAutoreleasePool* Pool() const { return pool_.get(); }

  private:
    void Action();

    std::unique_ptr<NSAutoreleasePool> pool_;
};
