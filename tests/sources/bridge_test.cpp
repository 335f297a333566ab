// The Cocoa and Core Foundation wrappers: string round trips and the autorelease timer's pool
// recycling.
#include <gtest/gtest.h>

#include <string>

#include "framework/fiber_helpers.h"
#include "platform/corefoundation.h"
#include "platform/objc.h"
#include "sources/bridge/AutoreleaseTimer.h"
#include "sources/bridge/CFString.h"
#include "sources/bridge/Cocoa.h"

namespace {

TEST(CFStringTest, TextRoundTripsUnchanged) {
    // A leading byte-order mark is text like any other and must not be dropped.
    for (const char* text : {"Grüße aus Köln, Ähre, Übel, Öl", "", "a😀b", "\xEF\xBB\xBFHaus"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(static_cast<std::string>(CFString(text)), text);
    }
    EXPECT_EQ(static_cast<std::string>(CFString(std::string("ab\0cd", 5))), "ab");
}

int32_t SharedSpellChecker() {
    return objc_msgSend(Cocoa::ClassRef("NSSpellChecker"), Cocoa::Selector("sharedSpellChecker"));
}

// An array that the current pool owns, retained once more by the caller.
int32_t RetainedAutoreleasedArray(int32_t checker) {
    const CFString word("Hasu");
    return CFRetain(
        objc_msgSend(checker, Cocoa::Selector("guessesForWord:"), {static_cast<int32_t>(word)}));
}

TEST(AutoreleaseTimerTest, EachTickReleasesTheOldPoolOnceBeforeItMakesTheNewOne) {
    const int32_t checker = SharedSpellChecker();  // made once, then lives for the whole run
    const int64_t live = platform::LiveObjectCount();
    const int64_t stale = platform::StaleReferenceCount();
    {
        AutoreleaseTimer timer;
        const int32_t firstPool = timer.Pool()->ObjCRef();
        const int32_t array = RetainedAutoreleasedArray(checker);
        ASSERT_EQ(CFGetRetainCount(array), 2);

        ASSERT_TRUE(PumpUntil([&] { return timer.Pool()->ObjCRef() != firstPool; }, 3000));
        const int32_t secondPool = timer.Pool()->ObjCRef();
        EXPECT_EQ(CFGetTypeID(firstPool), 0) << "the old pool is gone";
        // Made after the old one went: otherwise it would have been opened inside it and drained
        // with it.
        EXPECT_NE(CFGetTypeID(secondPool), 0);
        EXPECT_EQ(CFGetRetainCount(array), 1);

        ASSERT_TRUE(PumpUntil([&] { return timer.Pool()->ObjCRef() != secondPool; }, 3000));
        EXPECT_EQ(CFGetRetainCount(array), 1) << "released by its own pool only";
        CFRelease(array);
    }
    EXPECT_EQ(platform::LiveObjectCount(), live);
    EXPECT_EQ(platform::StaleReferenceCount(), stale) << "no pool was released twice";
}

}  // namespace
