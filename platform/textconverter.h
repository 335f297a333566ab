// Converts text between two encodings through the C library's iconv. Strict: a character the
// target encoding lacks, or a byte sequence invalid in the source encoding, fails the whole
// conversion instead of being replaced. One converter is not safe for concurrent use.
#pragma once

#include <iconv.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

class TextConverter {
  public:
    // Nothing when the C library does not know one of the encoding names.
    static std::optional<TextConverter> Open(const std::string& to, const std::string& from);

    std::optional<std::string> Convert(std::string_view text) const;

  private:
    struct Closer {
        void operator()(void* descriptor) const;
    };
    explicit TextConverter(iconv_t descriptor) : descriptor_(descriptor) {}

    std::unique_ptr<void, Closer> descriptor_;
};

// Whether an encoding name, as dictionaries write it, means UTF-8.
bool IsUTF8Name(std::string_view name);
// The C library's name for an encoding name as dictionaries write it ("microsoft-cp1251" is
// "CP1251"); other names pass unchanged.
std::string LibraryEncodingName(std::string_view name);

}  // namespace platform
