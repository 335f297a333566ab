#include "framework/encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace fw {
namespace {

bool IsUndefinedInWindows1252(int byte) {
    return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

TEST(Windows1252, TheHighRowHoldsTheCodePageCharactersNotControls) {
    EXPECT_EQ(ConvertFromWindows1252("\x80"), "€");
    EXPECT_EQ(ConvertFromWindows1252("\x84\x93"), "„“");
    EXPECT_EQ(ConvertFromWindows1252("\x8A\x9A\x9F"), "ŠšŸ");
    EXPECT_EQ(ConvertFromWindows1252("\x96\x97\x99"), "–—™");
    EXPECT_EQ(ConvertFromWindows1252("M\xFCller \xC4rger \xDF"), "Müller Ärger ß");
    EXPECT_EQ(ConvertFromWindows1252(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Windows1252, UndefinedBytesBecomeTheReplacementCharacter) {
    for (const char byte : {'\x81', '\x8D', '\x8F', '\x90', '\x9D'}) {
        EXPECT_EQ(ConvertFromWindows1252(std::string(1, byte)), "\uFFFD");
    }
}

TEST(Windows1252, EveryDefinedByteSurvivesTheRoundTrip) {
    for (int byte = 0; byte < 256; ++byte) {
        if (IsUndefinedInWindows1252(byte)) {
            continue;
        }
        const std::string original(1, static_cast<char>(byte));
        EXPECT_EQ(ConvertToWindows1252(ConvertFromWindows1252(original)), original) << byte;
    }
}

TEST(Windows1252, CharactersTheCodePageLacksBecomeQuestionMarks) {
    EXPECT_EQ(ConvertToWindows1252("€ für Äpfel"), "\x80 f\xFCr \xC4pfel");
    EXPECT_EQ(ConvertToWindows1252("日本"), "??");
    EXPECT_EQ(ConvertToWindows1252("\u0080"), "?");  // a C1 control is not the euro sign
    EXPECT_EQ(ConvertToWindows1252("\uFFFD"), "?");
    EXPECT_EQ(ConvertToWindows1252("😀"), "?");
    EXPECT_EQ(ConvertToWindows1252(""), "");
}

TEST(Windows1252, InvalidUtf8NeverCrashesAndLeavesNoStrayBytes) {
    const std::string converted = ConvertToWindows1252(
        "a\xFF"
        "b\xC3");
    EXPECT_EQ(converted.front(), 'a');
    EXPECT_EQ(converted.find('\xFF'), std::string::npos);
    EXPECT_NE(converted.find('b'), std::string::npos);
}

TEST(URLComponent, EncodesEverythingButUnreservedBytesInUpperCaseHex) {
    EXPECT_EQ(EncodeURLComponent("Grüße & Co."), "Gr%C3%BC%C3%9Fe%20%26%20Co.");
    EXPECT_EQ(EncodeURLComponent("AZaz09-_.~"), "AZaz09-_.~");
    EXPECT_EQ(EncodeURLComponent("a+b/c?d=e#f"), "a%2Bb%2Fc%3Fd%3De%23f");
    EXPECT_EQ(EncodeURLComponent(std::string("\0\xFF", 2)), "%00%FF");
}

TEST(URLComponent, DecodesEscapesOfEitherCaseAndKeepsPlus) {
    EXPECT_EQ(DecodeURLComponent("Gr%C3%BC%c3%9fe"), "Grüße");
    EXPECT_EQ(DecodeURLComponent("a+b%20c"), "a+b c");
}

TEST(URLComponent, MalformedEscapesStayLiteral) {
    EXPECT_EQ(DecodeURLComponent("100%"), "100%");
    EXPECT_EQ(DecodeURLComponent("%4"), "%4");
    EXPECT_EQ(DecodeURLComponent("%G1x"), "%G1x");
    EXPECT_EQ(DecodeURLComponent("%%41"), "%A");
}

TEST(URLComponent, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    EXPECT_EQ(DecodeURLComponent(EncodeURLComponent(all)), all);
}

}  // namespace
}  // namespace fw
