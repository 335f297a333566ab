#include "sources/bridge/CFType.h"

#include "platform/corefoundation.h"
#include "sources/bridge/BridgeExceptions.h"
#include "sources/bridge/CFString.h"
#include "sources/bridge/CoreFoundation.h"

namespace {

// Wraps a string the caller received from a copy function: the wrapper's retain replaces the
// copy's, so the wrapper holds the only one.
std::unique_ptr<CFString> AdoptCopiedString(int32_t ref, const char* methodName,
                                            const char* functionName) {
    CoreFoundation::CheckCFTypeRef(ref, "CFType", methodName, functionName);
    auto string = std::make_unique<CFString>(ref);
    CoreFoundation::Release(ref);
    return string;
}

}  // namespace

CFType::CFType(int32_t theRef) {
    if (theRef == 0) {
        throw InvalidParameterException("CFType", "Constructor", "theRef cannot be 0");
    }
    ref_ = CFRetain(theRef);
    CoreFoundation::CheckCFTypeRef(ref_, "CFType", "Constructor", "CFRetain");
}

CFType::~CFType() {
    if (ref_ == 0) {
        return;
    }
    CFRelease(ref_);
    ref_ = 0;
}

bool CFType::Equals(const CFType& other) const {
    return CFEqual(ref_, other.ref_);
}

int32_t CFType::TypeID() const {
    return CFGetTypeID(ref_);
}

std::unique_ptr<CFString> CFType::Description() const {
    return AdoptCopiedString(CFCopyDescription(ref_), "Description", "CFCopyDescription");
}

std::unique_ptr<CFString> CFType::TypeDescription() const {
    return AdoptCopiedString(CFCopyTypeIDDescription(TypeID()), "TypeDescription",
                             "CFCopyTypeIDDescription");
}

int32_t CFType::RefCount() const {
    return CFGetRetainCount(ref_);
}

int32_t CFType::Hash() const {
    return CFHash(ref_);
}

CFType::operator int32_t() const {
    return ref_;
}

void CFType::Show() const {
    CFShow(ref_);
}
