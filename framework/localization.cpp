#include "framework/localization.h"

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "framework/folderitem.h"
#include "framework/text.h"

namespace fw {

namespace {

using Table = std::unordered_map<std::string, std::string>;

struct LocalizationState {
    std::string overrideLanguage;
    std::optional<Table> table;  // empty until the first lookup
};

LocalizationState& State() {
    static LocalizationState state;
    return state;
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Two or three letters and nothing else: the codes that name a table's file, so that the locale
// can't steer the file name out of the resource folder.
bool IsCode(std::string_view code) {
    if (code.size() < 2 || code.size() > 3) {
        return false;
    }
    for (const char c : code) {
        if (!IsAsciiLetter(c)) {
            return false;
        }
    }
    return true;
}

// "de_DE.UTF-8" and "de" give "de"; anything that names no language ("C", "POSIX") gives "en".
std::string LanguageOf(std::string_view locale) {
    const std::string_view code = locale.substr(0, locale.find_first_of("_.@"));
    return IsCode(code) ? fw::Lowercase(code) : "en";
}

// "en_GB.UTF-8" gives "GB"; a locale without a language or a region gives "".
std::string RegionOf(std::string_view locale) {
    const size_t separator = locale.find('_');
    if (!IsCode(locale.substr(0, separator)) || separator == std::string_view::npos) {
        return "";
    }
    const std::string_view rest = locale.substr(separator + 1);
    const std::string_view code = rest.substr(0, rest.find_first_of(".@"));
    return IsCode(code) ? fw::Uppercase(code) : "";
}

// The overriding language, else the first locale variable that is set.
std::string LocaleName() {
    const std::string& chosen = State().overrideLanguage;
    if (!chosen.empty()) {
        return chosen;
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) {
            return value;
        }
    }
    return "";
}

// The value's text with its quotes and escapes resolved, or nothing when it is malformed.
std::optional<std::string> ParseValue(std::string_view value) {
    const bool quoted = !value.empty() && value.front() == '"';
    if (quoted) {
        value.remove_prefix(1);
    }
    std::string text;
    for (size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '"') {
            const bool closesValue = quoted && i + 1 == value.size();
            return closesValue ? std::optional<std::string>(text) : std::nullopt;
        }
        if (c != '\\') {
            text += c;
            continue;
        }
        if (++i == value.size()) {
            return std::nullopt;
        }
        switch (value[i]) {
            case 'n':
                text += '\n';
                break;
            case 'r':
                text += '\r';
                break;
            case 't':
                text += '\t';
                break;
            case '\\':
                text += '\\';
                break;
            case '"':
                text += '"';
                break;
            default:
                return std::nullopt;
        }
    }
    return quoted ? std::nullopt : std::optional<std::string>(text);
}

void ParseLine(std::string_view line, Table& table) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    const std::string trimmed = fw::Trim(line);
    if (trimmed.empty() || trimmed.front() == '#' || !IsValidUtf8(trimmed)) {
        return;
    }
    const size_t equals = trimmed.find('=');
    if (equals == std::string::npos) {
        return;
    }
    std::string key = fw::Trim(std::string_view(trimmed).substr(0, equals));
    std::optional<std::string> value =
        ParseValue(fw::Trim(std::string_view(trimmed).substr(equals + 1)));
    if (key.empty() || !value) {
        return;
    }
    table.insert_or_assign(std::move(key), std::move(*value));
}

// Reads Resources/<name>.strings into `table`, its lines over the ones already there.
void ReadTable(const std::string& name, Table& table) {
    const FolderItem source = ResourcesFolder().Child(name + ".strings");
    if (!source.IsRegularFile()) {
        return;  // missing, or a FIFO that would block the first lookup for ever
    }
    std::ifstream file(source.NativePath(), std::ios::binary);
    std::string line;
    for (bool first = true; std::getline(file, line); first = false) {
        std::string_view text = line;
        if (first && text.starts_with("\xEF\xBB\xBF")) {
            text.remove_prefix(3);
        }
        ParseLine(text, table);
    }
}

// The language's table (none for English) with the region's table over it.
Table LoadTable(const std::string& language, const std::string& region) {
    Table table;
    if (language != "en") {
        ReadTable(language, table);
    }
    if (!region.empty()) {
        ReadTable(language + "_" + region, table);
    }
    return table;
}

}  // namespace

namespace System {

std::string _GetLocalizedString(const std::string& key, const std::string& defaultText) {
    LocalizationState& state = State();
    if (!state.table) {
        state.table = LoadTable(LocalizationLanguage(), LocalizationRegion());
    }
    const auto found = state.table->find(key);
    return found == state.table->end() ? defaultText : found->second;
}

}  // namespace System

std::string LocalizationLanguage() {
    return LanguageOf(LocaleName());
}

std::string LocalizationRegion() {
    return RegionOf(LocaleName());
}

void SetLocalizationLanguage(const std::string& language) {
    State().overrideLanguage = language;
    State().table.reset();
}

}  // namespace fw
