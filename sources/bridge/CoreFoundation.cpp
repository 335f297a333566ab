#include "sources/bridge/CoreFoundation.h"

#include "platform/corefoundation.h"
#include "sources/bridge/BridgeExceptions.h"

namespace CoreFoundation {

void Release(int32_t ref) {
    if (ref != 0) {
        CFRelease(ref);
    }
}

void CheckCFTypeRef(int32_t ref, const std::string& className, const std::string& methodName,
                    const std::string& functionName) {
    if (ref == 0) {
        throw CFTypeRefException(className, methodName, functionName);
    }
}

}  // namespace CoreFoundation
