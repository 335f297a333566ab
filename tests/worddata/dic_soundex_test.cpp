#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "worddata/DIC.h"

namespace {

struct CodeCase {
    const char* code;
    int32_t key;
    std::vector<const char*> words;
};

// The word files store the keys in wSoundex: a key computed differently misses every word.
TEST(DicSoundexTest, CensusCodesAndStoredKeysOfTheWorkedExamples) {
    const CodeCase kCases[] = {
        // Signs around a word are trimmed away; case and umlaut spellings share one code.
        {"R163", 163, {"Robert", "Rupert", "  'Robert'! ", "2Robert"}},
        {"M464", 464, {"Müller", "Mueller", "MÜLLER", "MUELLER"}},
        {"S362", 362, {"Straße", "STRASSE"}},
        {"O400", 400, {"Öl", "oel"}},
        {"A264", 264, {"Ärger", "aerger"}},
        {"", 0, {"", "   ", "4711", "-'!?", "12 34"}},
        // A hyphen or a blank keeps runs of one digit apart; S and C meet across an H.
        {"A400", 400, {"Anna", "ABB"}},
        {"A140", 140, {"AB-B", "AB B"}},
        {"A613", 613, {"Ashcraft"}},
        {"R154", 154, {"Rubin"}},
        {"H555", 555, {"Honeyman"}},
        {"W256", 256, {"Wagner"}},
        {"N624", 624, {"New York"}},
        {"A00", 0, {"A"}},
        {"K523", 523, {"Knight"}},
    };
    for (const CodeCase& c : kCases) {
        for (const char* word : c.words) {
            EXPECT_EQ(DIC::GetSoundexAUX(word, 4, true), c.code) << word;
            EXPECT_EQ(DIC::GetSoundex(word), c.key) << word;
        }
    }
}

TEST(DicFuzzyCompareTest, ScoresTheWorkedExamples) {
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    // A long text (a pasted one) is searched through its k-grams, ignoring case all the same.
    const std::string pasted = "HAUS" + std::string(300, 'x');
    const std::pair<double, Pairs> kScores[] = {
        {100.0, {{"Wort", "wort"}, {"aaa", "aab"}, {"ab", "ba"}}},
        {200.0 / 3, {{"Haus", "Maus"}, {"Tisch", "Fisch"}}},
        {60.0, {{"Fenster", "Finster"}, {"Haus", "Hausboot"}, {"Hausboot", "Haus"}}},
        {50.0, {{"aab", "aaa"}}},
        {75.0, {{"Müll", "MÜLLER"}}},
        {0.0, {{"a", "x"}, {"", "Haus"}, {"Haus", ""}}},
        {600.0 / 306, {{"Haus", pasted}, {pasted, "Haus"}}},
    };
    for (const auto& [score, pairs] : kScores) {
        for (const auto& [first, second] : pairs) {
            EXPECT_DOUBLE_EQ(DIC::FuzzyCompare(first, second), score) << first << " / " << second;
        }
    }
    EXPECT_TRUE(std::isnan(DIC::FuzzyCompare("", "")));
}

}  // namespace
