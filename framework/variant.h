// The framework's variant: a value that knows its type code (VarType) and its text form.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace fw {

// A date and time, carried as SQL date-time text ("YYYY-MM-DD HH:MM:SS").
struct Date {
    std::string SQLDateTime;
};

struct Color {
    uint8_t red = 0, green = 0, blue = 0;
};

// An object reference the program can't store; only its type code matters.
struct ObjectRef {};

class Variant {
  public:
    // The framework's type codes.
    enum Type {
        TypeNil = 0,
        TypeInteger = 2,
        TypeLong = 3,
        TypeDouble = 5,
        TypeDate = 7,
        TypeString = 8,
        TypeObject = 9,
        TypeBoolean = 11,
        TypeColor = 16
    };

    Variant() = default;
    Variant(int32_t v) : value_(v) {}
    Variant(int64_t v) : value_(v) {}
    Variant(double v) : value_(v) {}
    Variant(bool v) : value_(v) {}
    Variant(const char* v) : value_(std::string(v)) {}
    Variant(std::string v) : value_(std::move(v)) {}
    Variant(Date v) : value_(std::move(v)) {}
    Variant(Color v) : value_(v) {}
    Variant(ObjectRef v) : value_(v) {}

    int VarType() const;
    bool IsNil() const { return value_.index() == 0; }
    // The framework's conversion to text: decimal numbers, SQL date-time text for dates,
    // "True"/"False", the string itself; "" for nil, objects and colours have "&h" + RRGGBB.
    std::string StringValue() const;
    const std::string* AsString() const { return std::get_if<std::string>(&value_); }
    const Date* AsDate() const { return std::get_if<Date>(&value_); }

  private:
    std::variant<std::monostate, int32_t, int64_t, double, Date, std::string, ObjectRef, bool,
                 Color>
        value_;
};

}  // namespace fw
