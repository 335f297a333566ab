// A small stand-in for the Objective-C runtime and the two Cocoa classes the spell-checker bridge
// uses, NSSpellChecker (on Hunspell) and NSAutoreleasePool. Objects, classes and selectors are
// 32-bit references; 0 is nil. A name the runtime does not know answers 0, and so does a message
// that the receiver does not understand or whose arguments do not fit (as a message to nil
// would). Main OS thread only; no lock.
//
// Messages:
//   NSSpellChecker  sharedSpellChecker        the one checker object (never freed)
//                   uniqueSpellDocumentTag    1, 2, 3, ...
//   checker         setLanguage: (string)     YES, or NO for a language without a dictionary
//                   checkSpellingOfString:startingAt:language:wrap:inSpellDocumentWithTag:
//                   wordCount: (string, start, language or nil, wrap, tag, int32_t* or nullptr)
//                                             an NSRange, through objc_msgSend_stret only
//                   guessesForWord: (string)  an autoreleased array of strings, maybe empty
//   NSAutoreleasePool alloc                   a new pool, retain count 1
//   pool            init                      makes it the innermost pool; the pool itself
//   any object      release                   one release; a pool that goes releases what was
//                                             autoreleased into it and into pools opened after it
#pragma once

#include <cstdint>
#include <variant>
#include <vector>

namespace platform {

// One argument: a 32-bit value (integer, BOOL, reference or tag), or the address of a 32-bit
// value the method writes (nullptr when the caller wants no answer there).
using MessageArgument = std::variant<int32_t, int32_t*>;
using MessageArguments = std::vector<MessageArgument>;

constexpr int32_t NO = 0;
constexpr int32_t YES = 1;

// The structure a range-answering message writes through objc_msgSend_stret.
struct NSRange {
    uint32_t location = 0;
    uint32_t length = 0;
};

}  // namespace platform

int32_t objc_getClass(const char* name);
int32_t sel_registerName(const char* name);
int32_t objc_msgSend(int32_t receiver, int32_t selector,
                     const platform::MessageArguments& arguments = {});
// Writes the answer structure to `structure` (an NSRange for the one message that answers one);
// a message without a structure answer leaves the structure zeroed.
void objc_msgSend_stret(void* structure, int32_t receiver, int32_t selector,
                        const platform::MessageArguments& arguments = {});
// YES: the stand-in needs no loading.
int32_t NSApplicationLoad();
