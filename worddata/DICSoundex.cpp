// The soundex code and the k-gram similarity. The stored wSoundex keys of the word files were made
// by this code, so every rule here, odd ones included, is part of the data contract: change one
// and the sound-alike search finds the wrong words.
#include <array>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

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

// The number of bytes of the first character of `rest` (0 for an empty text).
size_t CharacterBytes(std::string_view rest) {
    return fw::Left(rest, 1).size();
}

// The first character of `rest`, which moves past it.
std::string TakeCharacter(std::string_view& rest) {
    std::string c = fw::Left(rest, 1);
    rest.remove_prefix(c.size());
    return c;
}

// Every character outside A-Z except the blank turns into a blank; the character count stays.
// Character by character in one walk: replacing every occurrence of an outside character at once
// blanks the same characters, since characters equal ignoring case are outside alike.
void BlankNonLetters(std::string& text) {
    std::string blanked;
    blanked.reserve(text.size());
    for (std::string_view rest = text; !rest.empty();) {
        const std::string c = TakeCharacter(rest);
        const bool outside = fw::CompareIgnoreCase(c, "A") < 0 || fw::CompareIgnoreCase(c, "Z") > 0;
        blanked += c != " " && outside ? std::string(" ") : c;
        fw::Yield();
    }
    text = std::move(blanked);
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
    std::string_view rest = text;
    for (std::string current = TakeCharacter(rest); !current.empty();) {
        std::string next = TakeCharacter(rest);
        if (!fw::EqualsIgnoreCase(current, next)) {
            collapsed += current;
        }
        current = std::move(next);
        fw::Yield();
    }
    return collapsed;
}

// The k-grams of a text: every run of k characters, case-folded (a text is its foldings' equal
// ignoring case).
std::unordered_set<std::string> FoldedGrams(std::string_view text, int64_t k) {
    const std::string folded = fw::FoldCase(text);
    std::vector<size_t> starts;  // byte offset of every character, and the end
    for (std::string_view rest = folded; !rest.empty(); rest.remove_prefix(CharacterBytes(rest))) {
        starts.push_back(folded.size() - rest.size());
    }
    starts.push_back(folded.size());
    std::unordered_set<std::string> grams;
    for (size_t i = 0; i + static_cast<size_t>(k) < starts.size(); ++i) {
        grams.insert(folded.substr(starts[i], starts[i + k] - starts[i]));
    }
    return grams;
}

// Texts up to this many bytes are measured and searched directly.
constexpr size_t kLongText = 256;

// A long text (a pasted one of 100,000 letters) with its length and its k-grams, for scoring many
// short candidates against it: measuring and searching it anew for each would be quadratic.
struct LongText {
    std::string text;
    int64_t length = 0;
    std::array<std::optional<std::unordered_set<std::string>>, 4> grams;  // by k, made on demand

    const std::unordered_set<std::string>& Grams(int64_t k) {
        if (!grams[k]) {
            grams[k] = FoldedGrams(text, k);
        }
        return *grams[k];
    }
};

// The long text's entry, kept for the calls that follow with the same text (the search word of
// the sound-alike rounds); nullptr for a short text. Shared, so that a caller keeps its entry
// when another fiber's call replaces the kept ones while the caller yields.
std::shared_ptr<LongText> LongTextOf(const std::string& text) {
    static std::array<std::shared_ptr<LongText>, 2> kept;  // the two last, newest first
    if (text.size() <= kLongText) {
        return nullptr;
    }
    for (const std::shared_ptr<LongText>& entry : kept) {
        if (entry && entry->text == text) {
            return entry;
        }
    }
    auto entry = std::make_shared<LongText>();
    entry->text = text;
    entry->length = fw::Len(text);
    kept[1] = std::exchange(kept[0], entry);
    return entry;
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
    const std::shared_ptr<LongText> firstLong = LongTextOf(first);
    const std::shared_ptr<LongText> secondLong = LongTextOf(second);
    const int64_t firstLength = firstLong ? firstLong->length : fw::Len(first);
    const int64_t secondLength = secondLong ? secondLong->length : fw::Len(second);
    const bool firstIsShorter = firstLength <= secondLength;
    const std::string& s = firstIsShorter ? first : second;
    const std::string& t = firstIsShorter ? second : first;
    const int64_t sLength = firstIsShorter ? firstLength : secondLength;
    const int64_t tLength = firstIsShorter ? secondLength : firstLength;
    LongText* const longT = firstIsShorter ? secondLong.get() : firstLong.get();

    const int64_t k = sLength >= 5 ? 3 : (sLength >= 3 ? 2 : 1);
    const std::unordered_set<std::string>* const index = longT ? &longT->Grams(k) : nullptr;
    // The k-gram at position i is the window from byte `begin` to byte `end` of s; both move on
    // by one character per position, so the walk stays linear in the length of s.
    const std::string_view text = s;
    size_t begin = 0;
    size_t end = 0;
    for (int64_t i = 0; i < k; ++i) {
        end += CharacterBytes(text.substr(end));
    }
    int64_t count = 0;
    for (int64_t i = 1; i + k - 1 <= sLength; ++i) {
        const std::string_view gram = text.substr(begin, end - begin);
        if (index ? index->contains(fw::FoldCase(gram)) : fw::InStr(t, gram) > 0) {
            ++count;
        }
        begin += CharacterBytes(text.substr(begin));
        end += CharacterBytes(text.substr(end));
        fw::Yield();
    }
    const double divisor = static_cast<double>(sLength + tLength - 2 * (k - 1));
    return static_cast<double>(2 * count) / divisor * 100.0;
}

}  // namespace DIC
