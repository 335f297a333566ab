// The preference store: named, typed settings in the SQLite file Quorvane.pref. Every failure goes
// to PMDebug::Error. Main event loop only.
#pragma once

#include <memory>
#include <string>

#include "framework/database.h"
#include "framework/variant.h"

namespace PREFS {

inline std::string gAppName = "Quorvane";
inline std::unique_ptr<fw::Database> gPrefsDB;

void Initialize();
fw::Variant Retrieve(const std::string& name);  // nil when the name has no row
void Store(const std::string& name, const fw::Variant& value);
void CreatePrefFile();

}  // namespace PREFS
