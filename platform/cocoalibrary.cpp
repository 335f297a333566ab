#include "platform/cocoalibrary.h"

#include <array>
#include <typeindex>

#include "platform/objc.h"

namespace platform::detail {

namespace {

struct Export {
    std::string_view name;
    std::type_index type;
    AnyFunction function;
};

template <typename Function>
Export Exported(std::string_view name, Function* function) {
    return {name, std::type_index(typeid(Function)), reinterpret_cast<AnyFunction>(function)};
}

const std::array<Export, 5>& Exports() {
    static const std::array<Export, 5> exports = {
        Exported("objc_getClass", &objc_getClass),
        Exported("sel_registerName", &sel_registerName),
        Exported("objc_msgSend", &objc_msgSend),
        Exported("objc_msgSend_stret", &objc_msgSend_stret),
        Exported("NSApplicationLoad", &NSApplicationLoad),
    };
    return exports;
}

}  // namespace

AnyFunction FindCocoaEntry(std::string_view name, const std::type_info& type) {
    for (const Export& entry : Exports()) {
        if (entry.name == name && entry.type == std::type_index(type)) {
            return entry.function;
        }
    }
    return nullptr;
}

}  // namespace platform::detail
