// The state of the stand-in Objective-C runtime and Core Foundation: the object table, the two
// classes and the spell checker. It lives from its first use until the program's static objects
// are destroyed; after that Get() answers nullptr, so a wrapper destroyed late finds nothing to
// release instead of a destroyed table. Main OS thread only.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/objecttable.h"
#include "platform/spellchecker.h"

namespace platform {

class Runtime {
  public:
    static Runtime* Get();

    ObjectTable& Objects() { return objects_; }
    SpellChecker& Checker() { return checker_; }

    // The class object of that name, or 0.
    int32_t ClassNamed(std::string_view name) const;
    bool IsClass(int32_t ref, std::string_view name);
    // The one spell checker object, made on first request.
    int32_t SharedSpellChecker();
    int32_t NextSpellDocumentTag() { return ++lastSpellDocumentTag_; }

    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

  private:
    Runtime();
    ~Runtime();

    ObjectTable objects_;
    SpellChecker checker_;
    int32_t spellCheckerClass_ = 0;
    int32_t poolClass_ = 0;
    int32_t sharedSpellChecker_ = 0;
    int32_t lastSpellDocumentTag_ = 0;
};

}  // namespace platform
