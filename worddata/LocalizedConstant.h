// A localized constant: a key and an English default, looked up in the localisation resources on
// its first use and kept for the rest of the run, whatever the resources do later. Declare one per
// constant with static storage (constinit is fine). Main event loop and its cooperative threads:
// the lookup holds no yield point, so a first use completes before any other fiber runs.
#pragma once

#include <optional>
#include <string>

#include "framework/localization.h"

class LocalizedConstant {
  public:
    constexpr LocalizedConstant(const char* key, const char* defaultText)
        : key_(key), default_(defaultText) {}
    LocalizedConstant(const LocalizedConstant&) = delete;
    LocalizedConstant& operator=(const LocalizedConstant&) = delete;

    // The cached text; the reference stays valid and unchanged for the object's lifetime.
    const std::string& Value() {
        if (!cached_) {
            cached_ = fw::System::_GetLocalizedString(key_, default_);
        }
        return *cached_;
    }
    const std::string& operator()() { return Value(); }

    const char* Key() const { return key_; }
    const char* Default() const { return default_; }

  private:
    const char* key_;
    const char* default_;
    // Empty until the first use; an optional keeps the constructor constexpr for every compiler.
    std::optional<std::string> cached_;
};
