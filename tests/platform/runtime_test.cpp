// The runtime stand-in's object references where the bridge and the spell-checker service do not
// reach them: a release after the last one is counted, never followed.
#include <gtest/gtest.h>

#include "platform/corefoundation.h"

namespace {

int32_t NewString(const char* text) {
    return CFStringCreateWithCString(0, text, platform::kEncodingUTF8);
}

TEST(RuntimeTest, AnObjectGoesAtItsLastReleaseAndLaterReleasesAreCountedAsStale) {
    const int64_t live = platform::LiveObjectCount();
    const int64_t stale = platform::StaleReferenceCount();
    const int32_t text = NewString("Haus");
    EXPECT_EQ(CFRetain(text), text);
    EXPECT_EQ(CFGetRetainCount(text), 2);
    CFRelease(text);
    EXPECT_EQ(platform::LiveObjectCount(), live + 1);
    CFRelease(text);
    EXPECT_EQ(platform::LiveObjectCount(), live);
    EXPECT_EQ(platform::StaleReferenceCount(), stale);
    CFRelease(text);
    EXPECT_EQ(CFRetain(text), 0);
    EXPECT_EQ(platform::StaleReferenceCount(), stale + 2);
    EXPECT_NE(NewString("Haus"), text) << "a reference is never handed out twice";
}

}  // namespace
