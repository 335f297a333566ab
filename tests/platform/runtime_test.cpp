// The runtime stand-in where the bridge and the spell-checker service do not reach: malformed
// messages, the structure send, UTF-16 lengths and tight buffers, stale references, nested pools
// and the Cocoa library's export table.
#include <gtest/gtest.h>

#include <string>

#include "platform/cocoalibrary.h"
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

int32_t NewPool() {
    return Send(Send(objc_getClass("NSAutoreleasePool"), "alloc"), "init");
}

// An autoreleased array of guesses, retained once more so the test can watch its count.
int32_t RetainedGuesses(const char* word) {
    const int32_t checker = Send(objc_getClass("NSSpellChecker"), "sharedSpellChecker");
    const int32_t text = NewString(word);
    const int32_t array = Send(checker, "guessesForWord:", {text});
    CFRelease(text);
    return CFRetain(array);
}

TEST(RuntimeTest, NamesAndMessagesTheRuntimeDoesNotKnowAnswerNil) {
    EXPECT_EQ(objc_getClass("nsspellchecker"), 0);
    EXPECT_EQ(objc_getClass(nullptr), 0);
    EXPECT_EQ(sel_registerName(nullptr), 0);
    const int32_t checkerClass = objc_getClass("NSSpellChecker");
    const int32_t checker = Send(checkerClass, "sharedSpellChecker");
    const int32_t text = NewString("Haus");
    EXPECT_EQ(Send(0, "sharedSpellChecker"), 0);
    EXPECT_EQ(Send(checkerClass, "alloc"), 0);
    EXPECT_EQ(Send(text, "guessesForWord:", {text}), 0);
    EXPECT_EQ(Send(checker, "guessesForWord:"), 0);             // argument missing
    EXPECT_EQ(Send(checker, "guessesForWord:", {12345}), 0);    // no string
    EXPECT_EQ(Send(checker, "setLanguage:", {text, text}), 0);  // one too many
    EXPECT_EQ(objc_msgSend(checker, 999), 0);
    CFRelease(text);
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

TEST(RuntimeTest, StringsCountUTF16UnitsAndNeedRoomForTheirNul) {
    const int32_t text = NewString("Grüße, 😀");
    ASSERT_NE(text, 0);
    EXPECT_EQ(CFStringGetLength(text), 9);
    char tight[13] = {};  // 13 bytes of text, no room for the NUL
    EXPECT_FALSE(CFStringGetCString(text, tight, sizeof tight, platform::kEncodingUTF8));
    EXPECT_FALSE(CFStringGetCString(text, tight, sizeof tight, platform::kEncodingInvalid));
    EXPECT_EQ(CFStringGetMaximumSizeForEncoding(9, platform::kEncodingUTF8), 27);
    EXPECT_EQ(CFStringGetMaximumSizeForEncoding(0x7FFFFFFF, platform::kEncodingUTF8), -1);
    EXPECT_EQ(CFStringCreateWithCString(0, "Haus", platform::kEncodingInvalid), 0);
    EXPECT_EQ(CFStringCreateWithCString(0, nullptr, platform::kEncodingUTF8), 0);
    CFRelease(text);
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

TEST(RuntimeTest, ReleasingAnOuterPoolDrainsThePoolsOpenedAfterIt) {
    Send(objc_getClass("NSSpellChecker"), "sharedSpellChecker");  // made once, lives on
    const int64_t live = platform::LiveObjectCount();
    const int64_t stale = platform::StaleReferenceCount();
    const int32_t outer = NewPool();
    const int32_t outerArray = RetainedGuesses("Hasu");
    const int32_t inner = NewPool();
    const int32_t innerArray = RetainedGuesses("Hasu");
    EXPECT_EQ(CFArrayGetValueAtIndex(innerArray, CFArrayGetCount(innerArray)), 0);
    Send(outer, "release");
    EXPECT_EQ(CFGetTypeID(inner), 0) << "the inner pool went with the outer one";
    EXPECT_EQ(CFGetRetainCount(outerArray), 1);
    EXPECT_EQ(CFGetRetainCount(innerArray), 1);
    CFRelease(outerArray);
    CFRelease(innerArray);
    EXPECT_EQ(platform::LiveObjectCount(), live) << "the arrays owned their elements";
    EXPECT_EQ(platform::StaleReferenceCount(), stale);
}

TEST(RuntimeTest, TheCocoaLibraryExportsTheStructureSendByNameAndType) {
    using StructSend = void(void*, int32_t, int32_t, const MessageArguments&);
    EXPECT_EQ(platform::FindCocoaFunction<StructSend>("objc_msgSend_stret"), &objc_msgSend_stret);
    EXPECT_EQ(platform::FindCocoaFunction<StructSend>("objc_msgSend_fpret"), nullptr);
    EXPECT_EQ(platform::FindCocoaFunction<int32_t()>("objc_msgSend_stret"), nullptr);
    EXPECT_EQ(platform::FindCocoaFunction<int32_t()>("NSApplicationLoad"), &NSApplicationLoad);
}

}  // namespace
