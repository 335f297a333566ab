// The soundex code and the k-gram similarity. The stored wSoundex keys of the word files were made
// by this code, so every rule here, odd ones included, is part of the data contract: change one
// and the sound-alike search finds the wrong words.
#include <utility>

#include "framework/text.h"
#include "framework/threads.h"
#include "worddata/DIC.h"

namespace DIC {
namespace {

using Replacement = std::pair<const char*, const char*>;

constexpr Replacement kGermanLetters[] = {
    {"Ü", "UE"}, {"Ö", "OE"}, {"Ä", "AE"}, {"ü", "ue"}, {"ö", "oe"}, {"ä", "ae"}, {"ß", "ss"},
};

// Silent or merged letters of English spelling; "_" marks the dropped letter until step 8.
constexpr Replacement kSpellingRules[] = {
    {"DG", "_G"}, {"GH", "_H"},   {"KN", "_N"},   {"GN", "_N"},   {"MB", "M_"},
    {"PH", "F_"}, {"TCH", "_CH"}, {"MPS", "M_S"}, {"MPT", "M_T"}, {"MPZ", "M_Z"},
};

// Class by class, letter by letter: the order matters for letters that fold onto A-Z.
constexpr Replacement kDigitClasses[] = {
    {"A", "0"}, {"E", "0"}, {"I", "0"}, {"O", "0"}, {"U", "0"}, {"Y", "0"}, {"H", "0"},
    {"W", "0"}, {"B", "1"}, {"P", "1"}, {"F", "1"}, {"V", "1"}, {"C", "2"}, {"S", "2"},
    {"G", "2"}, {"J", "2"}, {"K", "2"}, {"Q", "2"}, {"X", "2"}, {"Z", "2"}, {"D", "3"},
    {"T", "3"}, {"L", "4"}, {"M", "5"}, {"N", "5"}, {"R", "6"},
};

void ReplaceEach(std::string& text, const auto& replacements) {
    for (const auto& [find, with] : replacements) {
        if (fw::InStr(text, find) > 0) {
            text = fw::ReplaceAll(text, find, with);
        }
    }
}

int32_t EffectiveCodeLength(int32_t codeLength, bool census) {
    int32_t length = 0;
    if (census) {
        codeLength = 4;
    }
    if (codeLength > 0) {
        length = codeLength;
    }
    if (length > 10) {
        return 10;
    }
    return length < 4 ? 4 : length;
}

// Every character outside A-Z except the blank turns into a blank, all its occurrences at once;
// the character count stays.
void BlankNonLetters(std::string& text) {
    for (int64_t i = 1; i <= fw::Len(text); ++i) {
        const std::string c = fw::Mid(text, i, 1);
        const bool outside = fw::CompareIgnoreCase(c, "A") < 0 || fw::CompareIgnoreCase(c, "Z") > 0;
        if (c != " " && outside) {
            text = fw::ReplaceAll(text, c, " ");
        }
        fw::Yield();
    }
}

void ApplySpellingRules(std::string& text) {
    const std::string f = fw::Mid(text, 1, 1);
    const std::string g = fw::Mid(text, 2, 1);
    if (fw::EqualsIgnoreCase(f, "P") && fw::EqualsIgnoreCase(g, "S")) {
        text = fw::Replace(text, "PS", "S");
    }
    if (fw::EqualsIgnoreCase(f, "P") && fw::EqualsIgnoreCase(g, "F")) {
        text = fw::Replace(text, "PF", "F");
    }
    ReplaceEach(text, kSpellingRules);
}

// Keeps a character only when the next one differs, so every run of equal characters becomes one.
std::string CollapseRuns(const std::string& text) {
    std::string collapsed;
    const int64_t length = fw::Len(text);
    std::string current = fw::Mid(text, 1, 1);
    for (int64_t i = 1; i <= length; ++i) {
        std::string next = fw::Mid(text, i + 1, 1);
        if (!fw::EqualsIgnoreCase(current, next)) {
            collapsed += current;
        }
        current = std::move(next);
        fw::Yield();
    }
    return collapsed;
}

// The code length's own digits padded with "0" to three characters: "400" for 4, "100" for 10.
std::string FillText(int32_t codeLength) {
    std::string fill = fw::Str(static_cast<int64_t>(codeLength));
    for (int64_t i = 1; i <= 4 - fw::Len(fill); ++i) {
        fill += "0";
        fw::Yield();
    }
    return fill;
}

}  // namespace

std::string GetSoundexAUX(const std::string& word, int32_t codeLength, bool census) {
    const int32_t length = EffectiveCodeLength(codeLength, census);
    if (word.empty()) {
        return "";
    }
    std::string text = word;
    ReplaceEach(text, kGermanLetters);
    text = fw::Uppercase(text);
    BlankNonLetters(text);
    text = fw::Trim(text);
    if (text.empty()) {
        return "";
    }
    if (!census) {
        ApplySpellingRules(text);
    }
    if (fw::InStr(text, "_") > 0) {
        text = fw::ReplaceAll(text, "_", "");
    }

    const std::string first = fw::Mid(text, 1, 1);
    if (fw::EqualsIgnoreCase(first, "H") || fw::EqualsIgnoreCase(first, "W")) {
        text = "-" + fw::Mid(text, 2);
    }
    if (census) {
        ReplaceEach(text, std::initializer_list<Replacement>{{"H", "."}, {"W", "."}});
    }
    ReplaceEach(text, kDigitClasses);
    if (census && fw::InStr(text, ".") > 0) {
        text = fw::ReplaceAll(text, ".", "");
    }

    std::string digits = CollapseRuns(text);
    ReplaceEach(digits, std::initializer_list<Replacement>{{" ", ""}, {"0", ""}});
    digits += FillText(length);
    return first + fw::Mid(digits, 2, length - 1);
}

int32_t GetSoundex(const std::string& word) {
    const std::string code = GetSoundexAUX(word, 4, true);
    return static_cast<int32_t>(fw::Val(fw::Mid(code, 2, 3)));
}

double FuzzyCompare(const std::string& first, const std::string& second) {
    const int64_t firstLength = fw::Len(first);
    const int64_t secondLength = fw::Len(second);
    const bool firstIsShorter = firstLength <= secondLength;
    const std::string& s = firstIsShorter ? first : second;
    const std::string& t = firstIsShorter ? second : first;
    const int64_t sLength = firstIsShorter ? firstLength : secondLength;
    const int64_t tLength = firstIsShorter ? secondLength : firstLength;

    const int64_t k = sLength >= 5 ? 3 : (sLength >= 3 ? 2 : 1);
    int64_t count = 0;
    for (int64_t i = 1; i + k - 1 <= sLength; ++i) {
        if (fw::InStr(t, fw::Mid(s, i, k)) > 0) {
            ++count;
        }
        fw::Yield();
    }
    const double divisor = static_cast<double>(sLength + tLength - 2 * (k - 1));
    return static_cast<double>(2 * count) / divisor * 100.0;
}

}  // namespace DIC
