// The localisation lookup over per-language tables in the resource folder (ResourcesFolder()).
// Resources/<language>.strings holds UTF-8 lines "key = value":
// - the key is the text before the first "=", the value the text after it, both without the
//   blanks around them; a value in double quotes keeps the blanks inside the quotes;
// - the value reads the escapes \n \r \t \\ and \"; keys are matched exactly (letter case counts);
// - blank lines and lines that start with "#" are ignored; a later line for a key wins;
// - a malformed line (no "=", empty key, unknown escape, stray quote, invalid UTF-8) is skipped.
// The language comes from the system locale (LC_ALL, LC_MESSAGES, LANG); English has no table:
// its texts are the built-in defaults. A locale that names a region also has a region table,
// Resources/<language>_<REGION>.strings ("en_GB.strings"), which answers before the language's
// own. The tables are read on the first lookup and kept until the language is set again. Call
// from the main OS thread (any fiber); no lookup yields.
#pragma once

#include <string>

namespace fw {

namespace System {
// The text stored under `key` for the user's language, or `defaultText` when there is none.
std::string _GetLocalizedString(const std::string& key, const std::string& defaultText);
}  // namespace System

// The two- or three-letter lower-case language the lookup uses ("de" for "de_DE.UTF-8"; "en" for
// "C", "POSIX", an unset locale or one that names no language).
std::string LocalizationLanguage();
// The locale's region in upper case ("GB" for "en_GB.UTF-8"), or "" when it names none.
std::string LocalizationRegion();
// Overrides the locale's language and region ("de", "en_GB"; "" restores the locale's) and drops
// the loaded tables.
void SetLocalizationLanguage(const std::string& language);

}  // namespace fw
