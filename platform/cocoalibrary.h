// The functions the stand-in Cocoa library exports, found by name as a loader finds a declared
// library function when it is called. Pure lookup; any thread.
#pragma once

#include <string_view>
#include <typeinfo>

namespace platform {

namespace detail {
using AnyFunction = void (*)();
AnyFunction FindCocoaEntry(std::string_view name, const std::type_info& type);
}  // namespace detail

// The exported function of that name, or nullptr when the library exports none of that name
// and type.
template <typename Function>
Function* FindCocoaFunction(std::string_view name) {
    return reinterpret_cast<Function*>(detail::FindCocoaEntry(name, typeid(Function)));
}

}  // namespace platform
