#include "framework/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace fw {
namespace {

TEST(TextInStr, IgnoresUmlautCaseAndCountsCharactersFromOne) {
    EXPECT_EQ(InStr("ÄRGER über Öl", "öl"), 12);
    EXPECT_EQ(InStr("xxab", "abc"), 0);
    EXPECT_EQ(InStr("Straße", "SS"), 0);  // "ß" matches only itself and its capital
    EXPECT_EQ(InStr("STRAẞE", "ß"), 5);
    EXPECT_EQ(InStr(2, "äää", "Ä"), 2);
    EXPECT_EQ(InStrB(1, "äÄ", "Ä"), 2);
    EXPECT_EQ(InStrB(2, "Bär Bär", "Bär"), 5);
    EXPECT_EQ(ReplaceAllB("Ää ää", "ä", "ae"), "Äae aeae");
    // The Kelvin sign folds to "k": an ASCII-only shortcut must not miss it.
    EXPECT_EQ(InStr("Grad \u212Aelvin", "kelvin"), 6);
    EXPECT_TRUE(EqualsIgnoreCase("\u212A", "K"));
    EXPECT_EQ(InStr("k\u212A", "KK"), 1);
    EXPECT_EQ(ReplaceAll("Haken \u212Ailo", "k", "c"), "Hacen cilo");
}

// A replacement containing the pattern is never searched again, and matches do not overlap.
TEST(TextReplace, ReplaceAllIgnoresUmlautCaseInOneLeftToRightPass) {
    EXPECT_EQ(ReplaceAll("Über über ÜBER", "ü", "ue"), "ueber ueber ueBER");
    EXPECT_EQ(ReplaceAll("äÄ", "ä", "ÄÄ"), "ÄÄÄÄ");
    EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceAll("Haus", "", "x"), "Haus");
    EXPECT_EQ(Replace("PSYCHE", "ps", "S"), "SYCHE");
}

// Numbers in the word files and the preferences are written with "." whatever the locale says.
TEST(TextNumbers, ValReadsTheLeadingNumberAndStrReadsBackAsTheSameValue) {
    const std::vector<std::pair<const char*, double>> rows = {
        {"", 0}, {"  -3.5e2x", -350}, {"3,5", 3}, {"1.2.3", 1.2}, {"1e-400", 0}};
    for (const auto& [text, value] : rows) {
        EXPECT_EQ(Val(text), value) << '"' << text << '"';
    }
    EXPECT_EQ(Str(350.0), "350");
    for (const double value : {0.1, 1.0 / 3.0, 123456.789, 1e-7, 6.02214076e23, -0.000125}) {
        EXPECT_EQ(Val(Str(value)), value) << Str(value);
    }
}

TEST(TextLists, IndexOfIgnoresCaseAndSortPutsUmlautsBesideTheirBaseLettersStably) {
    const std::vector<std::string> fruit{"Äpfel", "Birne", "äpfel"};
    EXPECT_EQ(IndexOf(fruit, "ÄPFEL"), 0);
    EXPECT_EQ(IndexOf(fruit, "Apfel"), -1);

    std::vector<std::string> words{"Zebra", "baer",  "Öl",   "Bär",  "äpfel", "Pfanne",
                                   "Apfel", "Birne", "Ofen", "haus", "HAUS",  "Haus"};
    SortList(words);
    EXPECT_EQ(words, (std::vector<std::string>{"Apfel", "äpfel", "baer", "Bär", "Birne", "haus",
                                               "HAUS", "Haus", "Ofen", "Öl", "Pfanne", "Zebra"}));
}

TEST(TextInvalidUtf8, EachInvalidByteIsOneCharacterMatchedOnlyByItself) {
    EXPECT_EQ(Len("\xC3"), 1);              // truncated two-byte sequence
    EXPECT_EQ(Len("\xE2\x82"), 2);          // truncated three-byte sequence
    EXPECT_EQ(Len("\xC0\xAF"), 2);          // overlong "/"
    EXPECT_EQ(Len("\xED\xA0\x80"), 3);      // encoded surrogate
    EXPECT_EQ(Len("\xF4\x90\x80\x80"), 4);  // beyond U+10FFFF
    EXPECT_EQ(InStr("\xFF\xFEzy", "ZY"), 3);
    EXPECT_EQ(Uppercase("a\xFFz\xE4"), "A\xFFZ\xE4");
    EXPECT_EQ(Trim(" \xA0 "), "\xA0");
    // A lone byte never matches inside a valid character.
    EXPECT_EQ(InStr("\xC3\xA4", "\xC3"), 0);
    EXPECT_EQ(InStrB(1, "\xC3\xA4", "\xA4"), 0);
    EXPECT_EQ(ReplaceAllB("\xC3\xA4", "\xA4", "x"), "\xC3\xA4");
    EXPECT_EQ(InStr("ab\xC3", "\xC3"), 3);
    EXPECT_FALSE(EqualsIgnoreCase("\xE4", "ä"));
    EXPECT_FALSE(EqualsIgnoreCase("\xC4", "\xE4"));
}

// Cuts count characters, a multi-byte one as one, and clamp at the ends.
TEST(TextInvalidUtf8, RandomBytesKeepTheCharacterRules) {
    std::mt19937 random(20240611);
    const std::string alphabet = "aAbB\xC3\xA4\x84\xC4\xE2\x82\xAC\xF0\x9F\x98\x80\xFF\xED\xA0 ";
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const int size = static_cast<int>(random() % 40);
        for (int i = 0; i < size; ++i) {
            text += alphabet[random() % alphabet.size()];
        }
        const int64_t length = Len(text);
        const int64_t cut = static_cast<int64_t>(random() % 42) - 1;
        ASSERT_EQ(Left(text, cut) + Mid(text, std::max<int64_t>(cut, 0) + 1), text);
        ASSERT_EQ(Len(Right(text, cut)), std::clamp<int64_t>(cut, 0, length));
        ASSERT_EQ(Len(Uppercase(text)), length);
        ASSERT_EQ(Len(Lowercase(text)), length);
        const std::string find = Mid(text, cut, 2);
        ASSERT_EQ(ReplaceAllB(text, find, find), text);
        const int64_t found = InStr(text, find);
        if (!find.empty()) {
            ASSERT_GT(found, 0);
            ASSERT_TRUE(EqualsIgnoreCase(Mid(text, found, Len(find)), find));
            ASSERT_EQ(FoldCase(Mid(text, found, Len(find))), FoldCase(find));
        }
    }
}

}  // namespace
}  // namespace fw
