#include "framework/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace fw {
namespace {

// --- Character positions over multi-byte text -------------------------------------------------

TEST(TextPositions, UmlautsAndSharpSCountAsOneCharacter) {
    EXPECT_EQ(Len(""), 0);
    EXPECT_EQ(Len("Haus"), 4);
    EXPECT_EQ(Len("Müller"), 6);
    EXPECT_EQ(Len("Straße"), 6);
    EXPECT_EQ(Len("日本語"), 3);
    EXPECT_EQ(Len("a😀b"), 3);
}

TEST(TextPositions, MidLeftAndRightCutOnCharacters) {
    EXPECT_EQ(Mid("Müller", 2, 3), "üll");
    EXPECT_EQ(Mid("Straße", 5), "ße");
    EXPECT_EQ(Mid("M464", 2, 3), "464");
    EXPECT_EQ(Left("Bäckerei", 2), "Bä");
    EXPECT_EQ(Right("Bäckerei", 3), "rei");
    EXPECT_EQ(Right("schön", 2), "ön");
    EXPECT_EQ(Right("a😀b", 2), "😀b");
}

TEST(TextPositions, MidClampsStartAndLengthOutsideTheText) {
    EXPECT_EQ(Mid("abc", 0, 2), "ab");
    EXPECT_EQ(Mid("abc", -5), "abc");
    EXPECT_EQ(Mid("abc", 4), "");
    EXPECT_EQ(Mid("abc", 10, 2), "");
    EXPECT_EQ(Mid("abc", 2, 100), "bc");
    EXPECT_EQ(Mid("abc", 2, -1), "bc");
    EXPECT_EQ(Mid("abc", 2, 0), "");
    EXPECT_EQ(Mid("", 1, 1), "");
    EXPECT_EQ(Mid("äöü", 3, 5), "ü");
    EXPECT_EQ(Mid("äöü", 4, 1), "");
}

TEST(TextPositions, LeftAndRightClampTheirCount) {
    EXPECT_EQ(Left("Bär", 0), "");
    EXPECT_EQ(Left("Bär", -1), "");
    EXPECT_EQ(Left("Bär", 10), "Bär");
    EXPECT_EQ(Right("Bär", 0), "");
    EXPECT_EQ(Right("Bär", -3), "");
    EXPECT_EQ(Right("Bär", 10), "Bär");
    EXPECT_EQ(Right("", 1), "");
}

// --- Searching --------------------------------------------------------------------------------

TEST(TextInStr, IgnoresCaseOfUmlautsAndReportsCharacterPositions) {
    EXPECT_EQ(InStr("GRÜN", "ü"), 3);
    EXPECT_EQ(InStr("grün", "Ü"), 3);
    EXPECT_EQ(InStr("Bäckerei", "ER"), 5);
    EXPECT_EQ(InStr("Größe", "ßE"), 4);
    EXPECT_EQ(InStr("Grüße aus Köln", "AUS"), 7);
    EXPECT_EQ(InStr("ÄRGER über Öl", "öl"), 12);
    EXPECT_EQ(InStr("Haus", "x"), 0);
    EXPECT_EQ(InStr("ab", "abc"), 0);
    EXPECT_EQ(InStr("xxab", "abc"), 0);
}

TEST(TextInStr, SharpSMatchesOnlyItselfAndItsCapital) {
    EXPECT_EQ(InStr("Straße", "SS"), 0);
    EXPECT_EQ(InStr("STRAẞE", "ß"), 5);
}

TEST(TextInStr, NonAsciiLetterFoldingToAsciiIsFound) {
    // The Kelvin sign folds to "k": an ASCII-only shortcut must not miss it.
    EXPECT_EQ(InStr("Grad \u212Aelvin", "kelvin"), 6);
    EXPECT_TRUE(EqualsIgnoreCase("\u212A", "K"));
    EXPECT_EQ(InStr("k\u212A", "KK"), 1);
    EXPECT_EQ(ReplaceAll("Haken \u212Ailo", "k", "c"), "Hacen cilo");
}

TEST(TextInStr, AsciiPatternIsFoundBehindUmlauts) {
    EXPECT_EQ(InStr("abc ä abd", "ABD"), 7);
    EXPECT_EQ(InStr("äb ab", "ab"), 4);
    EXPECT_EQ(InStr(3, "ää ab", "ab"), 4);
    EXPECT_EQ(InStrB(1, "Ä a A", "A"), 5);
}

TEST(TextInStr, StartCountsCharactersAndClampsBelowOne) {
    EXPECT_EQ(InStr(2, "äää", "Ä"), 2);
    EXPECT_EQ(InStr(3, "äöü", "Ü"), 3);
    EXPECT_EQ(InStr(4, "äöü", "ü"), 0);
    EXPECT_EQ(InStr(0, "abc", "a"), 1);
    EXPECT_EQ(InStr(-3, "abc", "c"), 3);
    EXPECT_EQ(InStr(3, "abcabc", "ab"), 4);
}

TEST(TextInStr, StartBeyondTheEndFindsNothing) {
    EXPECT_EQ(InStr(10, "abc", "a"), 0);
    EXPECT_EQ(InStr(10, "äöü", "ä"), 0);
    EXPECT_EQ(InStr(5, "abc", ""), 0);
    EXPECT_EQ(InStr(4, "abc", ""), 4);
    EXPECT_EQ(InStr("abc", ""), 1);
}

TEST(TextInStr, BinarySearchRespectsCase) {
    EXPECT_EQ(InStrB(1, "Apfel APFEL", "APFEL"), 7);
    EXPECT_EQ(InStrB(1, "äÄ", "Ä"), 2);
    EXPECT_EQ(InStrB(1, "abc", "B"), 0);
    EXPECT_EQ(InStrB(2, "Bär Bär", "Bär"), 5);
}

// --- Replacing --------------------------------------------------------------------------------

TEST(TextReplace, ReplaceAllIgnoresCaseOfUmlautsAndKeepsTheRest) {
    EXPECT_EQ(ReplaceAll("Über über ÜBER", "ü", "ue"), "ueber ueber ueBER");
    EXPECT_EQ(ReplaceAll("Müller", "Ü", "UE"), "MUEller");
    EXPECT_EQ(ReplaceAll("Straße", "ß", "ss"), "Strasse");
    EXPECT_EQ(ReplaceAll("NIGHT", "gh", "_H"), "NI_HT");
}

TEST(TextReplace, ReplacementContainingThePatternEndsAfterOnePass) {
    EXPECT_EQ(ReplaceAll("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(ReplaceAll("xAx", "a", "bAb"), "xbAbx");
    EXPECT_EQ(ReplaceAll("äÄ", "ä", "ÄÄ"), "ÄÄÄÄ");
}

TEST(TextReplace, MatchesDoNotOverlapAndRunLeftToRight) {
    EXPECT_EQ(ReplaceAll("aaaa", "aa", "b"), "bb");
    EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(Replace("a-b-c", "-", "+"), "a+b-c");
    EXPECT_EQ(Replace("PSYCHE", "ps", "S"), "SYCHE");
}

TEST(TextReplace, EmptyPatternOrTextLeavesTheTextAlone) {
    EXPECT_EQ(ReplaceAll("Haus", "", "x"), "Haus");
    EXPECT_EQ(ReplaceAll("", "a", "x"), "");
    EXPECT_EQ(Replace("Haus", "", "x"), "Haus");
    EXPECT_EQ(ReplaceAll("Haus", "s", ""), "Hau");
}

TEST(TextReplace, BinaryReplaceRespectsCase) {
    EXPECT_EQ(ReplaceAllB("Aa", "a", "x"), "Ax");
    EXPECT_EQ(ReplaceAllB("Ää ää", "ä", "ae"), "Äae aeae");
    EXPECT_EQ(ReplaceB("aAa", "a", "x"), "xAa");
}

// --- Case, blanks, numbers --------------------------------------------------------------------

TEST(TextCase, UmlautsChangeCaseAndSharpSStaysOneCharacter) {
    EXPECT_EQ(Uppercase("grüße aus köln"), "GRÜßE AUS KÖLN");
    EXPECT_EQ(Lowercase("ÄÖÜ ABC"), "äöü abc");
    EXPECT_EQ(Uppercase("New York 4711"), "NEW YORK 4711");
    EXPECT_EQ(Lowercase(""), "");
}

TEST(TextTrim, RemovesBlanksTabsAndLineEndsAtTheEndsOnly) {
    EXPECT_EQ(Trim(" \t Haus  Boot \r\n"), "Haus  Boot");
    EXPECT_EQ(Trim(" \t\r\n "), "");
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(LTrim("  Öl "), "Öl ");
    EXPECT_EQ(RTrim("  Öl "), "  Öl");
}

TEST(TextVal, ReadsTheLeadingNumber) {
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val("12abc"), 12);
    EXPECT_EQ(Val("  -3.5e2x"), -350);
    EXPECT_EQ(Val("464"), 464);
    EXPECT_EQ(Val("0012"), 12);
    EXPECT_EQ(Val("+7"), 7);
    EXPECT_EQ(Val(".5"), 0.5);
    EXPECT_EQ(Val("5."), 5);
    EXPECT_EQ(Val("2E3"), 2000);
}

TEST(TextVal, IncompleteNumbersStopBeforeTheBrokenPart) {
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val("."), 0);
    EXPECT_EQ(Val("-"), 0);
    EXPECT_EQ(Val("- 5"), 0);
    EXPECT_EQ(Val("1e"), 1);
    EXPECT_EQ(Val("1e+"), 1);
    EXPECT_EQ(Val("3,5"), 3);
    EXPECT_EQ(Val("1.2.3"), 1.2);
}

TEST(TextVal, NumbersBeyondDoubleRangeSaturate) {
    EXPECT_TRUE(std::isinf(Val("1e400")));
    EXPECT_LT(Val("-1e400"), 0);
    EXPECT_EQ(Val("1e-400"), 0);
}

TEST(TextStr, NumbersReadBackAsTheSameValue) {
    EXPECT_EQ(Str(int64_t{-5}), "-5");
    EXPECT_EQ(Str(int64_t{9007199254740993}), "9007199254740993");
    EXPECT_EQ(Str(350.0), "350");
    EXPECT_EQ(Str(0.1), "0.1");
    EXPECT_EQ(Str(-2.5), "-2.5");
    for (const double value : {1.0 / 3.0, 123456.789, 1e-7, 6.02214076e23, -0.000125}) {
        EXPECT_EQ(Val(Str(value)), value) << Str(value);
    }
}

// --- Comparing and lists ----------------------------------------------------------------------

TEST(TextCompare, SignsAndDigitsFallOutsideTheLetterRange) {
    for (const char* outside : {"_", "[", "0", "9", "-", "'", "`", "{", "é", "É", "Ä", "ß"}) {
        EXPECT_TRUE(CompareIgnoreCase(outside, "A") < 0 || CompareIgnoreCase(outside, "Z") > 0)
            << outside;
    }
    for (const char* inside : {"A", "a", "M", "z", "Z"}) {
        EXPECT_TRUE(CompareIgnoreCase(inside, "A") >= 0 && CompareIgnoreCase(inside, "Z") <= 0)
            << inside;
    }
}

TEST(TextCompare, UmlautsEqualTheirCapitals) {
    EXPECT_EQ(CompareIgnoreCase("Ärger", "ärger"), 0);
    EXPECT_TRUE(EqualsIgnoreCase("MÜLLER", "müller"));
    EXPECT_FALSE(EqualsIgnoreCase("Müller", "Mueller"));
    EXPECT_FALSE(EqualsIgnoreCase("Haus", "Hause"));
    EXPECT_LT(CompareIgnoreCase("Haus", "hausboot"), 0);
    EXPECT_GT(CompareIgnoreCase("b", "A"), 0);
    EXPECT_LT(CompareIgnoreCase("", "a"), 0);
}

TEST(TextCompare, StrCompModesGiveMinusOneZeroOrOne) {
    EXPECT_EQ(StrComp("a", "A", 0), 1);
    EXPECT_EQ(StrComp("a", "A", 1), 0);
    EXPECT_EQ(StrComp("true", "TRUE", 1), 0);
    EXPECT_EQ(StrComp("a", "z", 0), -1);
    EXPECT_EQ(StrComp("Zebra", "apfel", 1), 1);
    EXPECT_EQ(StrComp("Zebra", "apfel", 0), -1);
    EXPECT_EQ(StrComp("", "", 0), 0);
}

TEST(TextLists, IndexOfFindsTheFirstEntryIgnoringCase) {
    const std::vector<std::string> list{"Äpfel", "Birne", "äpfel"};
    EXPECT_EQ(IndexOf(list, "ÄPFEL"), 0);
    EXPECT_EQ(IndexOf(list, "birne"), 1);
    EXPECT_EQ(IndexOf(list, "Apfel"), -1);
    EXPECT_EQ(IndexOf({}, "x"), -1);
}

TEST(TextLists, SortPutsUmlautsBesideTheirBaseLetters) {
    std::vector<std::string> list{"Zebra",  "baer",  "Öl",    "Bär", "äpfel",
                                  "Pfanne", "Apfel", "Birne", "Ofen"};
    SortList(list);
    EXPECT_EQ(list, (std::vector<std::string>{"Apfel", "äpfel", "baer", "Bär", "Birne", "Ofen",
                                              "Öl", "Pfanne", "Zebra"}));
}

TEST(TextLists, SortIgnoresCaseAndKeepsTheOrderOfEqualEntries) {
    std::vector<std::string> list{"haus", "Apfel", "HAUS", "apfel", "Haus"};
    SortList(list);
    EXPECT_EQ(list, (std::vector<std::string>{"Apfel", "apfel", "haus", "HAUS", "Haus"}));

    std::vector<std::string> reversed{"Haus", "HAUS", "haus"};
    SortList(reversed);
    EXPECT_EQ(reversed, (std::vector<std::string>{"Haus", "HAUS", "haus"}));

    std::vector<std::string> empty;
    SortList(empty);
    EXPECT_TRUE(empty.empty());
}

TEST(TextChr, EncodesCodePointsAndReplacesImpossibleOnes) {
    EXPECT_EQ(Chr(65), "A");
    EXPECT_EQ(Chr(0xFC), "ü");
    EXPECT_EQ(Chr(0x20AC), "€");
    EXPECT_EQ(Chr(0x1F600), "😀");
    EXPECT_EQ(Chr(0xD800), "\uFFFD");
    EXPECT_EQ(Chr(0x110000), "\uFFFD");
    EXPECT_EQ(Chr(0), std::string(1, '\0'));
    EXPECT_EQ(EndOfLine(), "\n");
}

// --- Invalid UTF-8 ----------------------------------------------------------------------------

TEST(TextInvalidUtf8, EachInvalidByteIsOneCharacter) {
    EXPECT_EQ(Len("a\xFF"
                  "b"),
              3);
    EXPECT_EQ(Len("\xC3"), 1);              // truncated two-byte sequence
    EXPECT_EQ(Len("\xE2\x82"), 2);          // truncated three-byte sequence
    EXPECT_EQ(Len("\xC0\xAF"), 2);          // overlong "/"
    EXPECT_EQ(Len("\xED\xA0\x80"), 3);      // encoded surrogate
    EXPECT_EQ(Len("\xF4\x90\x80\x80"), 4);  // beyond U+10FFFF
    EXPECT_EQ(Len("M\xFCller"), 6);         // Latin-1 text
}

TEST(TextInvalidUtf8, InvalidBytesSurviveEveryOperation) {
    EXPECT_EQ(Mid("a\xFF"
                  "b",
                  2, 1),
              "\xFF");
    EXPECT_EQ(Right("ab\xC3", 1), "\xC3");
    EXPECT_EQ(Uppercase("a\xFF"
                        "b\xE4"),
              "A\xFF"
              "B\xE4");
    EXPECT_EQ(Lowercase("M\xDC"
                        "LLER"),
              "m\xDC"
              "ller");
    EXPECT_EQ(ReplaceAll("x\xFFy", "Y", "z"), "x\xFFz");
    EXPECT_EQ(InStr("\xFF\xFE"
                    "ab",
                    "AB"),
              3);
    EXPECT_EQ(Trim(" \xA0 "), "\xA0");
}

TEST(TextInvalidUtf8, LoneBytesNeverMatchInsideAValidCharacter) {
    EXPECT_EQ(InStr("\xC3\xA4", "\xC3"), 0);
    EXPECT_EQ(InStrB(1, "\xC3\xA4", "\xA4"), 0);
    EXPECT_EQ(ReplaceAllB("\xC3\xA4", "\xA4", "x"), "\xC3\xA4");
    EXPECT_EQ(InStr("ab\xC3", "\xC3"), 3);
    EXPECT_FALSE(EqualsIgnoreCase("\xE4", "ä"));
    EXPECT_FALSE(EqualsIgnoreCase("\xC4", "\xE4"));
}

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
        }
    }
}

}  // namespace
}  // namespace fw
