#include "sources/bridge/CFString.h"

#include <cstring>
#include <vector>

#include "framework/text.h"
#include "platform/corefoundation.h"
#include "sources/bridge/CoreFoundation.h"

namespace {

int32_t CreateString(const std::string& s) {
    // The framework's text is always UTF-8, the empty text included.
    const int32_t ref = CFStringCreateWithCString(0, s.c_str(), platform::kEncodingUTF8);
    CoreFoundation::CheckCFTypeRef(ref, "CFString", "Constructor", "CFStringCreateWithCString");
    return ref;
}

}  // namespace

CFString::CFString(const std::string& s) : CFType(CreateString(s)) {
    // The base retained the new string: give up the creation's own reference.
    CoreFoundation::Release(Ref());
}

CFString::operator int32_t() const {
    return CFType::operator int32_t();
}

CFString::operator std::string() const {
    const int32_t length = CFStringGetLength(Ref());
    const int32_t max = CFStringGetMaximumSizeForEncoding(length, platform::kEncodingUTF8);
    if (max < 0) {
        return "";
    }
    std::vector<char> buffer(static_cast<size_t>(max) + 1, '\0');
    if (!CFStringGetCString(Ref(), buffer.data(), max + 1, platform::kEncodingUTF8)) {
        return "";
    }
    // Up to the terminating NUL: the bytes after it are no text, and counting them as
    // characters would keep NULs whenever code units outnumber characters.
    const std::string text(buffer.data(), strnlen(buffer.data(), buffer.size()));
    return fw::Left(text, length);
}
