#include "framework/encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace fw {
namespace {

TEST(Windows1252, TheHighRowHoldsTheCodePageCharactersAndUndefinedBytesBecomeReplacements) {
    EXPECT_EQ(ConvertFromWindows1252("\x80\x84\x93\x8A\x9F\x96\x99"), "€„“ŠŸ–™");
    EXPECT_EQ(ConvertFromWindows1252("M\xFCller \xC4rger \xDF"), "Müller Ärger ß");
    EXPECT_EQ(ConvertFromWindows1252(std::string("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(ConvertFromWindows1252("\x81\x8D\x8F\x90\x9D"), "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
}

TEST(Windows1252, EveryDefinedByteSurvivesTheRoundTrip) {
    int undefined = 0;
    for (int byte = 0; byte < 256; ++byte) {
        const std::string original(1, static_cast<char>(byte));
        const std::string converted = ConvertFromWindows1252(original);
        if (converted == "\uFFFD") {
            ++undefined;
        } else {
            EXPECT_EQ(ConvertToWindows1252(converted), original) << byte;
        }
    }
    EXPECT_EQ(undefined, 5);
}

TEST(Windows1252, CharactersTheCodePageLacksAndInvalidUtf8BecomeQuestionMarks) {
    EXPECT_EQ(ConvertToWindows1252("€ für Äpfel"), "\x80 f\xFCr \xC4pfel");
    EXPECT_EQ(ConvertToWindows1252("日本"), "??");
    EXPECT_EQ(ConvertToWindows1252("\u0080"), "?");  // a C1 control is not the euro sign
    EXPECT_EQ(ConvertToWindows1252("\uFFFD😀"), "??");
    const std::string converted = ConvertToWindows1252("a\xFFz\xC3");
    EXPECT_EQ(converted.front(), 'a');
    EXPECT_EQ(converted.find('\xFF'), std::string::npos);
    EXPECT_NE(converted.find('z'), std::string::npos);
}

TEST(URLComponent, EncodesAllButUnreservedBytesAndDecodesOnlyWellFormedEscapes) {
    EXPECT_EQ(EncodeURLComponent("Grüße & Co."), "Gr%C3%BC%C3%9Fe%20%26%20Co.");
    EXPECT_EQ(EncodeURLComponent("AZaz09-_.~"), "AZaz09-_.~");
    EXPECT_EQ(EncodeURLComponent("a+b/c?d=e#f"), "a%2Bb%2Fc%3Fd%3De%23f");
    EXPECT_EQ(DecodeURLComponent("Gr%C3%BC%c3%9fe a+b%20c"), "Grüße a+b c");
    for (const char* malformed : {"100%", "%4", "%G1x"}) {
        EXPECT_EQ(DecodeURLComponent(malformed), malformed);
    }
    EXPECT_EQ(DecodeURLComponent("%%41"), "%A");
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    EXPECT_EQ(DecodeURLComponent(EncodeURLComponent(all)), all);
}

}  // namespace
}  // namespace fw
