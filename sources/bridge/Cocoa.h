// Loads Cocoa once and keeps its autorelease pool recycled; looks Objective-C classes and
// selectors up by name. Main event loop only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "sources/bridge/AutoreleaseTimer.h"

namespace Cocoa {

// Keeps the pool's timer alive for the whole run once Initialize has loaded Cocoa.
inline std::unique_ptr<AutoreleaseTimer> AutoreleasePool;

// Loads Cocoa and starts the autorelease timer; when Cocoa does not load, nothing else happens
// and nothing is reported (later calls then run without a pool). A repeated call releases the
// old timer's pool before the new timer opens its own.
void Initialize();
// The class of that name; raises CocoaUnregisteredClassException when the runtime knows none.
int32_t ClassRef(const std::string& name);
// The selector of that name; raises CocoaUnregisteredSelectorException when the runtime knows
// none.
int32_t Selector(const std::string& name);

}  // namespace Cocoa
