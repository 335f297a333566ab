// The runtime stand-in where the bridge and the spell-checker service do not reach: the structure
// send and stale references.
#include <gtest/gtest.h>

#include <string>

#include "platform/corefoundation.h"
#include "platform/objc.h"

namespace {

using platform::MessageArguments;

int32_t NewString(const char* text) {
    return CFStringCreateWithCString(0, text, platform::kEncodingUTF8);
}

int32_t Send(int32_t receiver, const char* selector, const MessageArguments& arguments = {}) {
    return objc_msgSend(receiver, sel_registerName(selector), arguments);
}

TEST(RuntimeTest, TheCheckReachesOnlyThroughTheStructureSendAndValidatesItsArguments) {
    const int32_t checker = Send(objc_getClass("NSSpellChecker"), "sharedSpellChecker");
    const int32_t selector = sel_registerName(
        "checkSpellingOfString:startingAt:language:wrap:inSpellDocumentWithTag:wordCount:");
    const int32_t text = NewString("Haus Hasu");
    const int32_t language = NewString("de");
    int32_t words = 0;
    platform::NSRange range{9, 9};
    objc_msgSend_stret(&range, checker, selector, {text, 0, language, platform::NO, 1, &words});
    EXPECT_EQ(range.location, 5u);
    EXPECT_EQ(range.length, 4u);
    EXPECT_EQ(words, 2);

    range = {9, 9};
    objc_msgSend_stret(&range, checker, selector, {text, 0, language, platform::NO, 1});
    EXPECT_EQ(range.length, 0u) << "a call that does not fit answers a zeroed structure";
    EXPECT_EQ(objc_msgSend(checker, selector, {text, 0, language, 0, 1, nullptr}), 0);
    CFRelease(text);
    CFRelease(language);
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
