// The failures the Cocoa and Core Foundation wrappers raise. Nothing in the bridge catches them.
#pragma once

#include <string>

#include "framework/exceptions.h"

// objc_getClass does not know the name.
class CocoaUnregisteredClassException : public fw::RuntimeException {
  public:
    explicit CocoaUnregisteredClassException(const std::string& name);
};

// sel_registerName does not know the name.
class CocoaUnregisteredSelectorException : public fw::RuntimeException {
  public:
    explicit CocoaUnregisteredSelectorException(const std::string& name);
};

// An argument a wrapper cannot work with, such as a zero reference.
class InvalidParameterException : public fw::RuntimeException {
  public:
    // Message: className + "." + methodName + ": " + message + "."
    InvalidParameterException(const std::string& className, const std::string& methodName,
                              const std::string& message);
    explicit InvalidParameterException(const std::string& message)
        : fw::RuntimeException(message) {}
};

// A Core Foundation call answered no reference. It carries the three names and no message.
class CFTypeRefException : public fw::RuntimeException {
  public:
    CFTypeRefException(std::string className, std::string methodName, std::string functionName);

    const std::string& ClassName() const { return pClassName; }
    const std::string& MethodName() const { return pMethodName; }
    const std::string& FunctionName() const { return pFunctionName; }

  private:
    std::string pClassName;
    std::string pMethodName;
    std::string pFunctionName;
};
