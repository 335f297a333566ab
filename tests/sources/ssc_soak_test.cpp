// Many checks and guesses with the autorelease timer ticking leave nothing behind. Run it under
// valgrind or the sanitizer build to see the memory side as well.
#include <gtest/gtest.h>

#include "framework/events.h"
#include "framework/fiber_helpers.h"
#include "platform/corefoundation.h"
#include "sources/SSC.h"
#include "sources/bridge/Cocoa.h"

namespace {

int32_t CurrentPool() {
    return Cocoa::AutoreleasePool->Pool()->ObjCRef();
}

bool PumpUntilNextTick() {
    const int32_t pool = CurrentPool();
    return PumpUntil([pool] { return CurrentPool() != pool; }, 3000);
}

TEST(SSCSoakTest, TenThousandChecksAndGuessesWithTheTimerTickingLeaveNoObjectBehind) {
    SSC::Initialize();
    ASSERT_TRUE(SSC::SetLanguage("en"));
    // The dictionary loads on first use; after a tick the pool is empty.
    SSC::GetGuessesForWord("ab");
    ASSERT_TRUE(PumpUntilNextTick());
    const int64_t live = platform::LiveObjectCount();
    const int64_t stale = platform::StaleReferenceCount();

    constexpr int kBatches = 4;
    constexpr int kCallsPerBatch = 2500;
    for (int batch = 0; batch < kBatches; ++batch) {
        for (int call = 0; call < kCallsPerBatch; ++call) {
            ASSERT_TRUE(SSC::CheckString(call % 2 == 0 ? "ab" : "colour ab", "en") ==
                        (call % 2 == 0));
            ASSERT_FALSE(SSC::GetGuessesForWord("ab").empty());
            fw::DoEvents(0);
        }
        ASSERT_TRUE(PumpUntilNextTick());
        EXPECT_EQ(platform::LiveObjectCount(), live) << "batch " << batch;
    }
    EXPECT_EQ(platform::StaleReferenceCount(), stale);
}

}  // namespace
