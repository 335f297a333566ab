// Owns one Cocoa autorelease pool: made and made the innermost pool on construction, released on
// destruction, which releases everything autoreleased into it. Main event loop only.
#pragma once

#include <cstdint>

class NSAutoreleasePool {
  public:
    // Raises a RuntimeException without a message when Cocoa answers "alloc" or "init" with nil.
    NSAutoreleasePool();
    ~NSAutoreleasePool();
    NSAutoreleasePool(const NSAutoreleasePool&) = delete;
    NSAutoreleasePool& operator=(const NSAutoreleasePool&) = delete;

    // The Cocoa pool object; 0 after its release.
    int32_t ObjCRef() const { return objCRef_; }

  private:
    int32_t objCRef_ = 0;
};
