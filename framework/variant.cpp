#include "framework/variant.h"

#include <array>
#include <cstdio>

#include "framework/text.h"

namespace fw {
namespace {

template <typename... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <typename... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

std::string ColorText(const Color& c) {
    std::array<char, 16> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "&h%02X%02X%02X", c.red, c.green, c.blue);
    return buffer.data();
}

}  // namespace

int Variant::VarType() const {
    return std::visit(Overloaded{
                          [](std::monostate) { return TypeNil; },
                          [](int32_t) { return TypeInteger; },
                          [](int64_t) { return TypeLong; },
                          [](double) { return TypeDouble; },
                          [](const Date&) { return TypeDate; },
                          [](const std::string&) { return TypeString; },
                          [](ObjectRef) { return TypeObject; },
                          [](bool) { return TypeBoolean; },
                          [](Color) { return TypeColor; },
                      },
                      value_);
}

std::string Variant::StringValue() const {
    return std::visit(Overloaded{
                          [](std::monostate) { return std::string(); },
                          [](int32_t v) { return Str(int64_t{v}); },
                          [](int64_t v) { return Str(v); },
                          [](double v) { return Str(v); },
                          [](const Date& v) { return v.SQLDateTime; },
                          [](const std::string& v) { return v; },
                          [](ObjectRef) { return std::string(); },
                          [](bool v) { return std::string(v ? "True" : "False"); },
                          [](Color v) { return ColorText(v); },
                      },
                      value_);
}

}  // namespace fw
