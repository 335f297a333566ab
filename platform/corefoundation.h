// A small stand-in for the Core Foundation calls the bridge makes, on the same 32-bit references
// as the runtime stand-in (platform/objc.h). Strings hold Unicode text; lengths and indexes count
// UTF-16 code units. Every reference counts its retains: a created or copied object starts at 1
// and goes when a release brings it to 0. Unknown, nil or stale references are ignored and answer
// 0 or false. Main OS thread only.
#pragma once

#include <cstdint>

namespace platform {

// The encoding numbers the calls take. Only UTF-8 makes and reads strings.
constexpr uint32_t kEncodingUTF8 = 0x08000100;
constexpr uint32_t kEncodingInvalid = 0xFFFFFFFF;

// Objects alive in the runtime, and how often a retain, release or retain count met a reference
// whose object had already gone; for tests that look for leaks and over-releases.
int64_t LiveObjectCount();
int64_t StaleReferenceCount();

}  // namespace platform

// A new string from the bytes up to the first NUL; 0 for another encoding or invalid bytes.
// `allocator` must be 0.
int32_t CFStringCreateWithCString(int32_t allocator, const char* cString, uint32_t encoding);
int32_t CFStringGetLength(int32_t string);
// The most bytes `length` code units can take in the encoding; -1 for another encoding or a
// length whose size does not fit.
int32_t CFStringGetMaximumSizeForEncoding(int32_t length, uint32_t encoding);
// The text and a NUL into the buffer; false when they do not fit or the encoding is not UTF-8.
bool CFStringGetCString(int32_t string, char* buffer, int32_t bufferSize, uint32_t encoding);
int32_t CFRetain(int32_t ref);  // the reference, or 0 when it is not alive
void CFRelease(int32_t ref);
int32_t CFArrayGetCount(int32_t array);
// The element, not retained; 0 outside the array.
int32_t CFArrayGetValueAtIndex(int32_t array, int32_t index);

bool CFEqual(int32_t first, int32_t second);  // the same object, or equal strings or arrays
int32_t CFGetTypeID(int32_t ref);
int32_t CFCopyDescription(int32_t ref);           // a new string the caller releases
int32_t CFCopyTypeIDDescription(int32_t typeID);  // a new string the caller releases
int32_t CFGetRetainCount(int32_t ref);            // INT32_MAX for an object never freed
int32_t CFHash(int32_t ref);                      // equal objects hash alike
void CFShow(int32_t ref);                         // the description on standard error
