// No client converts text yet; these hold the two conversions to their contract until one does.
#include "framework/encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace fw {
namespace {

TEST(Windows1252, DefinedBytesRoundTripAndTheRestBecomeReplacementsOrQuestionMarks) {
    EXPECT_EQ(ConvertFromWindows1252("\x80\x84\x93\x9F M\xFCller"), "€„“Ÿ Müller");
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
    EXPECT_EQ(ConvertToWindows1252("日\u0080\uFFFD😀"), "????");  // U+0080 is no euro sign
    EXPECT_EQ(ConvertToWindows1252("a\xFFz"), "a?z");
}

TEST(URLComponent, EncodesAllButUnreservedBytesAndDecodesOnlyWellFormedEscapes) {
    EXPECT_EQ(EncodeURLComponent("Grüße & Co.~_-+/?=#"),
              "Gr%C3%BC%C3%9Fe%20%26%20Co.~_-%2B%2F%3F%3D%23");
    EXPECT_EQ(DecodeURLComponent("Gr%C3%BC%c3%9fe a+b%20c %%41"), "Grüße a+b c %A");
    for (const char* malformed : {"100%", "%4", "%G1x"}) {
        EXPECT_EQ(DecodeURLComponent(malformed), malformed);
    }
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    EXPECT_EQ(DecodeURLComponent(EncodeURLComponent(all)), all);
}

}  // namespace
}  // namespace fw
