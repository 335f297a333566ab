#include "tools/wordfiles/sources.h"

#include <algorithm>

#include "framework/encoding.h"
#include "framework/text.h"

namespace wordfiles {
namespace {

// The second bytes of ä ö ü Ä Ö Ü ß in UTF-8; all of them follow 0xC3.
constexpr std::string_view kUmlautTails = "\xA4\xB6\xBC\x84\x96\x9C\x9F";

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string SqueezeBlanks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == ' ' && !out.empty() && out.back() == ' ') {
            continue;
        }
        out.push_back(c);
    }
    return out;
}

std::string_view WithoutLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) {
        line.remove_suffix(1);
    }
    return line;
}

std::vector<std::string_view> SplitOn(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos) {
            return parts;
        }
        start = end + 1;
    }
}

bool IsDigits(std::string_view text, size_t length) {
    return text.size() == length &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// WordNet writes the word count as two hex digits and each lexical ID as one.
std::optional<int> HexValue(std::string_view text) {
    if (text.empty() || text.size() > 2) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : text) {
        const int digit = fw::HexDigitValue(c);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + digit;
    }
    return value;
}

// Adjective lemmas may carry their syntactic position right after the word.
std::string_view WithoutAdjectiveMarker(std::string_view lemma) {
    for (const std::string_view marker : {"(a)", "(p)", "(ip)"}) {
        if (lemma.size() > marker.size() && lemma.ends_with(marker)) {
            return lemma.substr(0, lemma.size() - marker.size());
        }
    }
    return lemma;
}

bool IsSynsetType(std::string_view field) {
    return field.size() == 1 && std::string_view("nvasr").find(field[0]) != std::string_view::npos;
}

}  // namespace

bool IsWord(std::string_view text) {
    if (text.empty() || text.front() == '-') {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsAsciiLetter(c) || c == ' ' || c == '-') {
            continue;
        }
        const bool umlaut = static_cast<unsigned char>(c) == 0xC3 && i + 1 < text.size() &&
                            kUmlautTails.find(text[i + 1]) != std::string_view::npos;
        if (!umlaut) {
            return false;
        }
        ++i;
    }
    return true;
}

std::string CleanThesaurusEntry(std::string_view entry) {
    std::string kept;
    kept.reserve(entry.size());
    int depth = 0;
    for (const char c : entry) {
        if (c == '(') {
            ++depth;
        } else if (c == ')' && depth > 0) {
            --depth;
        } else if (depth == 0) {
            kept.push_back(c);
        }
    }
    return fw::Trim(SqueezeBlanks(kept));
}

Group ParseThesaurusLine(std::string_view line) {
    line = WithoutLineEnd(line);
    if (line.starts_with('#')) {
        return {};
    }
    Group words;
    for (const std::string_view entry : SplitOn(line, ';')) {
        std::string word = CleanThesaurusEntry(entry);
        if (IsWord(word)) {
            words.push_back(std::move(word));
        }
    }
    return words;
}

std::optional<Group> ParseWordNetLine(std::string_view line) {
    line = WithoutLineEnd(line);
    if (line.starts_with("  ")) {
        return std::nullopt;
    }
    const std::vector<std::string_view> fields = SplitOn(line, ' ');
    if (fields.size() < 4 || !IsDigits(fields[0], 8) || !IsDigits(fields[1], 2) ||
        !IsSynsetType(fields[2])) {
        return std::nullopt;
    }
    const std::optional<int> count = HexValue(fields[3]);
    if (!count || *count < 1 || fields.size() < 4 + 2 * static_cast<size_t>(*count)) {
        return std::nullopt;
    }
    Group words;
    for (int i = 0; i < *count; ++i) {
        const std::string_view lemma = fields[4 + 2 * i];
        if (!HexValue(fields[5 + 2 * i])) {
            return std::nullopt;
        }
        std::string word(WithoutAdjectiveMarker(lemma));
        std::replace(word.begin(), word.end(), '_', ' ');
        if (IsWord(word)) {
            words.push_back(std::move(word));
        }
    }
    return words;
}

std::vector<std::string> ReadWordList(std::istream& in) {
    std::vector<std::string> words;
    std::string line;
    while (std::getline(in, line)) {
        std::string word = fw::Trim(line);
        if (IsWord(word)) {
            words.push_back(std::move(word));
        }
    }
    return words;
}

std::vector<Group> ReadThesaurus(std::istream& in) {
    std::vector<Group> groups;
    std::string line;
    while (std::getline(in, line)) {
        Group group = ParseThesaurusLine(line);
        if (!group.empty()) {
            groups.push_back(std::move(group));
        }
    }
    return groups;
}

void ReadWordNet(std::istream& in, WordNetGroups& into) {
    std::string line;
    while (std::getline(in, line)) {
        std::optional<Group> group = ParseWordNetLine(line);
        if (group && !group->empty()) {
            into.groups.push_back(std::move(*group));
        } else if (!group && !line.starts_with("  ")) {
            ++into.malformedLines;
        }
    }
}

}  // namespace wordfiles
