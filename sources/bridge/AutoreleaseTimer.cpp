#include "sources/bridge/AutoreleaseTimer.h"

AutoreleaseTimer::AutoreleaseTimer() : fw::Timer({}, 1000) {
    SetAction([this] { Action(); });
    pool_ = std::make_unique<NSAutoreleasePool>();
    SetMode(ModeMultiple);
    SetPeriod(1000);
}

void AutoreleaseTimer::Action() {
    pool_.reset();
    pool_ = std::make_unique<NSAutoreleasePool>();
}
