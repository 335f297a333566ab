// Small helpers over Core Foundation references for the wrappers. Main event loop only.
#pragma once

#include <cstdint>
#include <string>

namespace CoreFoundation {

// CFRelease for a reference other than 0; nothing for 0.
void Release(int32_t ref);
// Raises CFTypeRefException (className, methodName, functionName) when ref is 0.
void CheckCFTypeRef(int32_t ref, const std::string& className, const std::string& methodName,
                    const std::string& functionName);

}  // namespace CoreFoundation
