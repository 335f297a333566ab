// The localisation lookup over per-language tables in the resource folder:
// Resources/<language>.strings, UTF-8 lines "key = value" (escapes \n \r \t \\ \" in the value,
// "#" starts a comment line). The language comes from the system locale (LC_ALL, LC_MESSAGES,
// LANG); English has no table: its texts are the built-in defaults.
#pragma once

#include <string>

namespace fw {

namespace System {
// The text stored under `key` for the user's language, or `defaultText` when there is none.
std::string _GetLocalizedString(const std::string& key, const std::string& defaultText);
}  // namespace System

// The two-letter language the lookup uses; SetLocalizationLanguage overrides it ("" restores the
// locale's) and drops the loaded table.
std::string LocalizationLanguage();
void SetLocalizationLanguage(const std::string& language);

}  // namespace fw
