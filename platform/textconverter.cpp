#include "platform/textconverter.h"

#include <vector>

#include "framework/text.h"

namespace platform {

void TextConverter::Closer::operator()(void* descriptor) const {
    iconv_close(static_cast<iconv_t>(descriptor));
}

std::optional<TextConverter> TextConverter::Open(const std::string& to, const std::string& from) {
    const iconv_t descriptor = iconv_open(to.c_str(), from.c_str());
    if (descriptor == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    return TextConverter(descriptor);
}

std::optional<std::string> TextConverter::Convert(std::string_view text) const {
    const iconv_t descriptor = static_cast<iconv_t>(descriptor_.get());
    iconv(descriptor, nullptr, nullptr, nullptr, nullptr);  // a failed call may leave a shift state
    std::vector<char> input(text.begin(), text.end());
    char* in = input.data();
    size_t inLeft = input.size();
    // Four bytes per input byte hold any conversion between the encodings dictionaries use.
    std::string output(text.size() * 4 + 4, '\0');
    char* out = output.data();
    size_t outLeft = output.size();
    if (iconv(descriptor, &in, &inLeft, &out, &outLeft) == static_cast<size_t>(-1) ||
        iconv(descriptor, nullptr, nullptr, &out, &outLeft) == static_cast<size_t>(-1)) {
        return std::nullopt;
    }
    output.resize(output.size() - outLeft);
    return output;
}

bool IsUTF8Name(std::string_view name) {
    return fw::EqualsIgnoreCase(name, "UTF-8") || fw::EqualsIgnoreCase(name, "UTF8");
}

std::string LibraryEncodingName(std::string_view name) {
    constexpr std::string_view kMicrosoftPrefix = "microsoft-";
    if (fw::InStr(name, kMicrosoftPrefix) == 1) {
        return fw::Mid(name, fw::Len(kMicrosoftPrefix) + 1);
    }
    return std::string(name);
}

}  // namespace platform
