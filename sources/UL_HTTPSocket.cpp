#include "sources/UL_HTTPSocket.h"

#include <array>
#include <string_view>
#include <utility>

#include "framework/text.h"

namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kUmlautCases{
    {{"Ü", "ü"}, {"ü", "Ü"}, {"Ö", "ö"}, {"ö", "Ö"}, {"Ä", "ä"}, {"ä", "Ä"}}};

std::string ChangeFirstCharacter(const std::string& first) {
    const auto code = static_cast<unsigned char>(first[0]);
    if (code < 91) {
        return std::string(1, static_cast<char>(code + 32));
    }
    if (code <= 122) {
        return std::string(1, static_cast<char>(code - 32));
    }
    for (const auto& [from, to] : kUmlautCases) {
        if (first == from) {
            return std::string(to);
        }
    }
    return first;
}

}  // namespace

std::string UL_HTTPSocket::ChangeCase(const std::string& s) {
    if (s.empty()) {
        return s;
    }
    return ChangeFirstCharacter(fw::Left(s, 1)) + fw::Mid(s, 2);
}
