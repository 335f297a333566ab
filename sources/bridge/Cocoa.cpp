#include "sources/bridge/Cocoa.h"

#include "platform/objc.h"
#include "sources/bridge/BridgeExceptions.h"

namespace Cocoa {

void Initialize() {
    if (NSApplicationLoad() == platform::NO) {
        return;
    }
    // A pool drains every pool opened after it: the old one must go before the new one opens,
    // or the new timer would hold a drained pool.
    AutoreleasePool.reset();
    AutoreleasePool = std::make_unique<AutoreleaseTimer>();
}

int32_t ClassRef(const std::string& name) {
    const int32_t ref = objc_getClass(name.c_str());
    if (ref == 0) {
        throw CocoaUnregisteredClassException(name);
    }
    return ref;
}

int32_t Selector(const std::string& name) {
    const int32_t ref = sel_registerName(name.c_str());
    if (ref == 0) {
        throw CocoaUnregisteredSelectorException(name);
    }
    return ref;
}

}  // namespace Cocoa
