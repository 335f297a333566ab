// Text encodings: Windows-1252 and URL components.
#pragma once

#include <string>
#include <string_view>

namespace fw {

// UTF-8 to Windows-1252 bytes; a character the code page lacks becomes "?".
std::string ConvertToWindows1252(std::string_view utf8);
// Windows-1252 bytes to UTF-8; the five undefined bytes map to U+FFFD.
std::string ConvertFromWindows1252(std::string_view bytes);
// Every byte outside A-Z a-z 0-9 - _ . ~ becomes %XX (upper-case hex).
std::string EncodeURLComponent(std::string_view bytes);
// The value of one hexadecimal digit (either case), or -1.
int HexDigitValue(char c);
// %XX becomes its byte and "+" stays as it is; a malformed escape is kept literally.
std::string DecodeURLComponent(std::string_view text);
// The text with every invalid UTF-8 sequence replaced by U+FFFD; valid text comes back as it is.
std::string ReplaceInvalidUTF8(std::string_view text);

}  // namespace fw
