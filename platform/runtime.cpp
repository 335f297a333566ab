#include "platform/runtime.h"

namespace platform {

namespace {

// Debian installs the system's Hunspell dictionaries here.
constexpr const char* kDictionaryFolder = "/usr/share/hunspell";
constexpr std::string_view kSpellCheckerClass = "NSSpellChecker";
constexpr std::string_view kPoolClass = "NSAutoreleasePool";

// Trivially destructible, so it can still be read while other static objects are destroyed.
bool gRuntimeDestroyed = false;

}  // namespace

Runtime::Runtime() : checker_(kDictionaryFolder) {
    spellCheckerClass_ = objects_.AddPermanent(ClassObject{std::string(kSpellCheckerClass)});
    poolClass_ = objects_.AddPermanent(ClassObject{std::string(kPoolClass)});
}

Runtime::~Runtime() {
    gRuntimeDestroyed = true;
}

Runtime* Runtime::Get() {
    static Runtime runtime;
    return gRuntimeDestroyed ? nullptr : &runtime;
}

int32_t Runtime::ClassNamed(std::string_view name) const {
    if (name == kSpellCheckerClass) {
        return spellCheckerClass_;
    }
    return name == kPoolClass ? poolClass_ : 0;
}

bool Runtime::IsClass(int32_t ref, std::string_view name) {
    return ref != 0 && ref == ClassNamed(name);
}

int32_t Runtime::SharedSpellChecker() {
    if (sharedSpellChecker_ == 0) {
        sharedSpellChecker_ = objects_.AddPermanent(SpellCheckerObject{});
    }
    return sharedSpellChecker_;
}

}  // namespace platform
