#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "worddata/DIC.h"

namespace {

struct CodeCase {
    const char* code;
    std::vector<const char*> words;
};

TEST(DicSoundexTest, CensusCodesOfTheWorkedExamples) {
    const CodeCase kCases[] = {
        // Signs around a word are trimmed away; case and umlaut spellings share one code.
        {"R163", {"Robert", "Rupert", "  'Robert'! ", "2Robert"}},
        {"M464", {"Müller", "Mueller", "MÜLLER", "MUELLER"}},
        {"S362", {"Straße", "STRASSE"}},
        {"O400", {"Öl", "oel"}},
        {"A264", {"Ärger", "aerger"}},
        {"", {"", "   ", "4711", "-'!?", "12 34"}},
        // A hyphen or a blank keeps runs of one digit apart; S and C meet across an H.
        {"A400", {"Anna", "ABB"}},
        {"A140", {"AB-B", "AB B"}},
        {"A613", {"Ashcraft"}},
        {"R154", {"Rubin"}},
        {"E400", {"Eva"}},
        {"H555", {"Honeyman"}},
        {"N624", {"New York"}},
        {"A00", {"A"}},
        {"H400", {"H"}},
        {"W414", {"Wolf"}},
        {"K523", {"Knight"}},
    };
    for (const CodeCase& c : kCases) {
        for (const char* word : c.words) {
            EXPECT_EQ(DIC::GetSoundexAUX(word, 4, true), c.code) << word;
        }
    }
}

TEST(DicSoundexTest, OtherCodesDropSilentLettersAndKeepTheLengthAskedFor) {
    const std::pair<const char*, const char*> kCodes[] = {
        {"Ashcraft", "A261"}, {"Knight", "N340"}, {"Lamb", "L540"}, {"Pfeffer", "F164"},
        {"Psyche", "S240"},   {"Photo", "F340"},  {"Psps", "S124"}, {"Aps", "A240"},
    };
    for (const auto& [word, code] : kCodes) {
        EXPECT_EQ(DIC::GetSoundexAUX(word, 4, false), code) << word;
    }
    // The length is clamped to 4..10; the fill text of length 10 is "100", whose first digit
    // stands where the length's digit would.
    const std::pair<int32_t, const char*> kLengths[] = {
        {0, "R154"},   {-7, "R154"},   {3, "R154"},     {5, "R1550"},
        {9, "R15900"}, {10, "R15100"}, {500, "R15100"},
    };
    for (const auto& [length, code] : kLengths) {
        EXPECT_EQ(DIC::GetSoundexAUX("Rubin", length, false), code) << length;
    }
    EXPECT_EQ(DIC::GetSoundexAUX("Pfeffer", 6, false), "F16600");
    EXPECT_EQ(DIC::GetSoundexAUX("Rubin", 10, true), "R154");
    // A short digit string leaves a long code short.
    EXPECT_EQ(DIC::GetSoundexAUX("A", 6, false), "A00");
    EXPECT_EQ(DIC::GetSoundexAUX("Ab", 10, false), "A100");
}

// The word files store these keys in wSoundex: a key computed differently misses every word.
TEST(DicSoundexTest, StoredKeysAreTheCensusCodesDigits) {
    const std::pair<const char*, int32_t> kKeys[] = {
        {"Robert", 163}, {"Ashcraft", 613}, {"Anna", 400}, {"Müller", 464},
        {"Straße", 362}, {"New York", 624}, {"A", 0},      {"4711", 0},
    };
    for (const auto& [word, key] : kKeys) {
        SCOPED_TRACE(word);
        EXPECT_EQ(DIC::GetSoundex(word), key);
    }
}

TEST(DicFuzzyCompareTest, ScoresTheWorkedExamples) {
    using Pairs = std::vector<std::pair<const char*, const char*>>;
    const std::pair<double, Pairs> kScores[] = {
        {100.0, {{"Wort", "wort"}, {"aaa", "aab"}, {"ab", "ba"}}},
        {200.0 / 3, {{"Haus", "Maus"}, {"Tisch", "Fisch"}}},
        {60.0, {{"Fenster", "Finster"}, {"Haus", "Hausboot"}, {"Hausboot", "Haus"}}},
        {50.0, {{"aab", "aaa"}}},
        {75.0, {{"Müll", "MÜLLER"}}},
        {0.0, {{"a", "x"}, {"", "Haus"}, {"Haus", ""}}},
    };
    for (const auto& [score, pairs] : kScores) {
        for (const auto& [first, second] : pairs) {
            EXPECT_DOUBLE_EQ(DIC::FuzzyCompare(first, second), score) << first << " / " << second;
        }
    }
    EXPECT_TRUE(std::isnan(DIC::FuzzyCompare("", "")));
}

}  // namespace
