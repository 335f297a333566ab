#include "sources/bridge/NSAutoreleasePool.h"

#include "framework/exceptions.h"
#include "platform/objc.h"
#include "sources/bridge/Cocoa.h"

NSAutoreleasePool::NSAutoreleasePool() {
    // The class before the selector: function arguments have no order of their own.
    const int32_t poolClass = Cocoa::ClassRef("NSAutoreleasePool");
    objCRef_ = objc_msgSend(poolClass, Cocoa::Selector("alloc"));
    if (objCRef_ == 0) {
        throw fw::RuntimeException();
    }
    objCRef_ = objc_msgSend(objCRef_, Cocoa::Selector("init"));
    if (objCRef_ == 0) {
        throw fw::RuntimeException();
    }
}

NSAutoreleasePool::~NSAutoreleasePool() {
    if (objCRef_ == 0) {
        return;
    }
    // Straight from the runtime: a destructor must not raise the look-up's exception.
    objc_msgSend(objCRef_, sel_registerName("release"));
    objCRef_ = 0;
}
