// The preference store: named, typed settings in the SQLite file Quorvane.pref, beside the
// application when one lies there, else in the user's preferences folder (created there on first
// start, whole or not at all). A file that is broken (no database, damaged, without its table) is
// kept aside where it lies as Quorvane.pref.broken (.broken.1 and on when that name is taken), the
// user told once, and a fresh file made in the preferences folder. Initialize must run before the
// other calls. Every write is committed at once. Every failure goes to PMDebug::Error (fatal), the
// database is closed and the call ends with its failure result (nil); the later calls then do
// nothing, silently, so nothing more is written. A file that could not be made is told of at the
// first Store only, since a run that never stores needs no file. Starts at the same moment (the
// editions, other displays) take turns to open, set aside and make the file, and a value stored by
// two of them at once keeps one row. What a start killed while it made the file left is removed at
// a later start. Main event loop only.
#pragma once

#include <memory>
#include <string>

#include "framework/database.h"
#include "framework/variant.h"

namespace PREFS {

inline std::string gAppName = "Quorvane";
inline std::unique_ptr<fw::Database> gPrefsDB;

void Initialize();
// The stored value converted by its type code; nil when the name has no row or on a failure.
fw::Variant Retrieve(const std::string& name);
// Inserts the name's row, or replaces value and type code in its existing row, and commits.
void Store(const std::string& name, const fw::Variant& value);
// Creates the file chosen by Initialize with its table, index and three creation stamps.
void CreatePrefFile();

}  // namespace PREFS
