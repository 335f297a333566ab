#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "worddata/DIC.h"

namespace {

struct KeyCase {
    const char* word;
    const char* code;
    int32_t key;
};

// The stored wSoundex keys of the shipped word files were made from exactly these codes.
constexpr KeyCase kCensusCases[] = {
    {"Robert", "R163", 163},   {"Rupert", "R163", 163},   {"Rubin", "R154", 154},
    {"Anna", "A400", 400},     {"Ashcraft", "A613", 613}, {"Honeyman", "H555", 555},
    {"Müller", "M464", 464},   {"Mueller", "M464", 464},  {"Straße", "S362", 362},
    {"New York", "N624", 624}, {"A", "A00", 0},           {"4711", "", 0},
};

TEST(DicSoundexTest, WorkedExamplesGiveTheirCodeAndStoredKey) {
    for (const KeyCase& c : kCensusCases) {
        SCOPED_TRACE(c.word);
        EXPECT_EQ(DIC::GetSoundexAUX(c.word, 4, true), c.code);
        EXPECT_EQ(DIC::GetSoundex(c.word), c.key);
    }
}

TEST(DicSoundexTest, WordsWithoutLettersHaveNoCodeAndKeyZero) {
    for (const char* word : {"", " ", "   ", "4711", "-'!?", "12 34"}) {
        SCOPED_TRACE(word);
        EXPECT_EQ(DIC::GetSoundexAUX(word, 4, true), "");
        EXPECT_EQ(DIC::GetSoundex(word), 0);
    }
}

TEST(DicSoundexTest, OnlyConsonantAfterInitialVowelGivesKey400) {
    EXPECT_EQ(DIC::GetSoundexAUX("Eva", 4, true), "E400");
    EXPECT_EQ(DIC::GetSoundex("Eva"), 400);
}

TEST(DicSoundexTest, CaseAndUmlautSpellingsShareOneCode) {
    for (const char* word : {"Müller", "mueller", "MUELLER", "MÜLLER", "müller"}) {
        SCOPED_TRACE(word);
        EXPECT_EQ(DIC::GetSoundexAUX(word, 4, true), "M464");
    }
    EXPECT_EQ(DIC::GetSoundex("Straße"), DIC::GetSoundex("STRASSE"));
    EXPECT_EQ(DIC::GetSoundex("Öl"), DIC::GetSoundex("oel"));
    EXPECT_EQ(DIC::GetSoundex("Ärger"), DIC::GetSoundex("aerger"));
}

TEST(DicSoundexTest, HyphenOrBlankKeepsRunsApart) {
    EXPECT_EQ(DIC::GetSoundexAUX("AB-B", 4, true), "A140");
    EXPECT_EQ(DIC::GetSoundexAUX("AB B", 4, true), "A140");
    EXPECT_EQ(DIC::GetSoundexAUX("ABB", 4, true), "A400");
}

TEST(DicSoundexTest, SignsAroundAWordAreTrimmedAway) {
    EXPECT_EQ(DIC::GetSoundexAUX("  'Robert'! ", 4, true), "R163");
    EXPECT_EQ(DIC::GetSoundexAUX("2Robert", 4, true), "R163");
}

TEST(DicSoundexTest, CensusModeMergesEqualDigitsAcrossHAndW) {
    // S and C meet across the H in census mode; a non-census H is a vowel that keeps them apart.
    EXPECT_EQ(DIC::GetSoundexAUX("Ashcraft", 4, true), "A613");
    EXPECT_EQ(DIC::GetSoundexAUX("Ashcraft", 4, false), "A261");
}

TEST(DicSoundexTest, InitialHOrWKeepsItsLetterButNotADigit) {
    EXPECT_EQ(DIC::GetSoundexAUX("Honeyman", 4, true), "H555");
    EXPECT_EQ(DIC::GetSoundexAUX("Wolf", 4, true), "W414");
    EXPECT_EQ(DIC::GetSoundexAUX("H", 4, true), "H400");
}

TEST(DicSoundexTest, NonCensusSpellingRulesDropSilentLetters) {
    EXPECT_EQ(DIC::GetSoundexAUX("Knight", 4, false), "N340");
    EXPECT_EQ(DIC::GetSoundexAUX("Lamb", 4, false), "L540");
    EXPECT_EQ(DIC::GetSoundexAUX("Pfeffer", 4, false), "F164");
    EXPECT_EQ(DIC::GetSoundexAUX("Pfeffer", 6, false), "F16600");
    EXPECT_EQ(DIC::GetSoundexAUX("Psyche", 4, false), "S240");
    EXPECT_EQ(DIC::GetSoundexAUX("Photo", 4, false), "F340");
    // Census mode knows none of these rules.
    EXPECT_EQ(DIC::GetSoundexAUX("Knight", 4, true), "K523");
}

TEST(DicSoundexTest, OnlyTheFirstPsOrPfAtTheStartIsSimplified) {
    EXPECT_EQ(DIC::GetSoundexAUX("Psps", 4, false), "S124");
    EXPECT_EQ(DIC::GetSoundexAUX("Aps", 4, false), "A240");
}

TEST(DicSoundexTest, CodeLengthIsClampedBetweenFourAndTen) {
    for (const int32_t length : {0, -7, 1, 3}) {
        SCOPED_TRACE(length);
        EXPECT_EQ(DIC::GetSoundexAUX("Rubin", length, false), "R154");
    }
    EXPECT_EQ(DIC::GetSoundexAUX("Rubin", 5, false), "R1550");
    EXPECT_EQ(DIC::GetSoundexAUX("Rubin", 9, false), "R15900");
    // The fill text of length 10 is "100": its first digit stands where the length's digit would.
    EXPECT_EQ(DIC::GetSoundexAUX("Rubin", 10, false), "R15100");
    EXPECT_EQ(DIC::GetSoundexAUX("Rubin", 11, false), "R15100");
    EXPECT_EQ(DIC::GetSoundexAUX("Rubin", 500, false), "R15100");
    // Census mode ignores the length asked for.
    EXPECT_EQ(DIC::GetSoundexAUX("Rubin", 10, true), "R154");
    // A short digit string leaves a long code short.
    EXPECT_EQ(DIC::GetSoundexAUX("A", 6, false), "A00");
    EXPECT_EQ(DIC::GetSoundexAUX("Ab", 10, false), "A100");
}

// 0, 400, d40, dd4 or ddd with every d from 1 to 6: the forms a stored key can take.
bool IsKeyForm(int32_t key) {
    const std::string text = std::to_string(key);
    if (key == 0 || text == "400") {
        return true;
    }
    if (text.size() != 3 || text.find_first_not_of("123456") == 0) {
        return false;
    }
    return text.substr(1) == "40" || text.find_first_not_of("123456") == std::string::npos;
}

TEST(DicSoundexTest, KeysTakeOnlyTheStoredDigitForms) {
    for (const char* word :
         {"Haus", "Maus", "Fenster", "Donaudampfschifffahrt", "Schmetterling", "Ei", "Oh", "Zzzz",
          "Quorvane", "Hallo", "Wehweh", "Bob", "Lilli", "Ohr", "Yak", "Straßenbahn", "to go"}) {
        SCOPED_TRACE(word);
        EXPECT_TRUE(IsKeyForm(DIC::GetSoundex(word))) << DIC::GetSoundex(word);
    }
}

TEST(DicFuzzyCompareTest, ScoresTheWorkedExamples) {
    struct ScoreCase {
        const char* first;
        const char* second;
        double score;
    };
    constexpr ScoreCase kCases[] = {
        {"Haus", "Maus", 200.0 / 3.0},
        {"Fenster", "Finster", 60.0},
        {"Tisch", "Fisch", 200.0 / 3.0},
        {"Wort", "wort", 100.0},
        {"Haus", "Hausboot", 60.0},
        {"aaa", "aab", 100.0},
        {"aab", "aaa", 50.0},
        // The shorter text gives the grams whichever comes first; up to 2 characters, k is 1.
        {"Hausboot", "Haus", 60.0},
        {"ab", "ba", 100.0},
        {"a", "x", 0.0},
    };
    for (const ScoreCase& c : kCases) {
        SCOPED_TRACE(std::string(c.first) + " / " + c.second);
        EXPECT_DOUBLE_EQ(DIC::FuzzyCompare(c.first, c.second), c.score);
    }
}

TEST(DicFuzzyCompareTest, UmlautCountsAsOneCharacterAndFoldsCase) {
    // "Müll" has 4 characters, so k = 2 and all three bigrams hit "MÜLLER".
    EXPECT_DOUBLE_EQ(DIC::FuzzyCompare("Müll", "MÜLLER"), 2.0 * 3 / (4 + 6 - 2) * 100.0);
}

TEST(DicFuzzyCompareTest, EmptyTextsScoreZeroOrNotANumber) {
    EXPECT_DOUBLE_EQ(DIC::FuzzyCompare("", "Haus"), 0.0);
    EXPECT_DOUBLE_EQ(DIC::FuzzyCompare("Haus", ""), 0.0);
    EXPECT_TRUE(std::isnan(DIC::FuzzyCompare("", "")));
}

}  // namespace
