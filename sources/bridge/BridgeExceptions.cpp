#include "sources/bridge/BridgeExceptions.h"

#include <utility>

CocoaUnregisteredClassException::CocoaUnregisteredClassException(const std::string& name)
    : fw::RuntimeException("The class " + name + " is not registered with the Cocoa runtime.") {}

CocoaUnregisteredSelectorException::CocoaUnregisteredSelectorException(const std::string& name)
    : fw::RuntimeException("The selector " + name + " is not registered with the Cocoa runtime.") {}

InvalidParameterException::InvalidParameterException(const std::string& className,
                                                     const std::string& methodName,
                                                     const std::string& message)
    : fw::RuntimeException(className + "." + methodName + ": " + message + ".") {}

CFTypeRefException::CFTypeRefException(std::string className, std::string methodName,
                                       std::string functionName)
    : pClassName(std::move(className)),
      pMethodName(std::move(methodName)),
      pFunctionName(std::move(functionName)) {}
