// The framework's run-time failures. Message() is the text the exception carries ("" when it has
// none). Code on a cooperative thread may throw and catch them like any other exception.
#pragma once

#include <stdexcept>
#include <string>

namespace fw {

class RuntimeException : public std::runtime_error {
  public:
    explicit RuntimeException(const std::string& message = "") : std::runtime_error(message) {}

    std::string Message() const { return what(); }
};

// A library function that a call declares was not found in its library when it was called.
class FunctionNotFoundException : public RuntimeException {
  public:
    explicit FunctionNotFoundException(const std::string& functionName)
        : RuntimeException("The function " + functionName + " was not found in its library.") {}
};

}  // namespace fw
