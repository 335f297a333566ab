#include "framework/variant.h"

#include <gtest/gtest.h>

namespace fw {
namespace {

// The preference file stores a value as its type code and text form and reads it back from both.
TEST(VariantTextForm, EachKindHasTheTextThePreferenceFileStores) {
    EXPECT_EQ(Variant(int32_t{42}).StringValue(), "42");
    EXPECT_EQ(Variant(int64_t{-9000000000}).StringValue(), "-9000000000");
    EXPECT_EQ(Variant(0.5).StringValue(), "0.5");
    EXPECT_EQ(Variant(3.0).StringValue(), "3");
    EXPECT_EQ(Variant(true).StringValue(), "True");
    EXPECT_EQ(Variant(false).StringValue(), "False");
    EXPECT_EQ(Variant("Äpfel").StringValue(), "Äpfel");
    EXPECT_EQ(Variant(Date{"2024-06-11 08:05:09"}).StringValue(), "2024-06-11 08:05:09");
    EXPECT_EQ(Variant().StringValue(), "");
    EXPECT_EQ(Variant(ObjectRef{}).StringValue(), "");
    EXPECT_EQ(Variant(Color{0x0A, 0xB0, 0xFF}).StringValue(), "&h0AB0FF");
}

TEST(VariantTypeCode, EachKindReportsItsFrameworkCode) {
    EXPECT_EQ(Variant().VarType(), 0);
    EXPECT_EQ(Variant(int32_t{1}).VarType(), 2);
    EXPECT_EQ(Variant(int64_t{1}).VarType(), 3);
    EXPECT_EQ(Variant(1.5).VarType(), 5);
    EXPECT_EQ(Variant(Date{}).VarType(), 7);
    EXPECT_EQ(Variant(std::string("x")).VarType(), 8);
    EXPECT_EQ(Variant(ObjectRef{}).VarType(), 9);
    EXPECT_EQ(Variant(true).VarType(), 11);
    EXPECT_EQ(Variant(Color{}).VarType(), 16);
    EXPECT_TRUE(Variant().IsNil());
}

TEST(VariantConversion, TextReadsAsNumberAndBoolean) {
    EXPECT_EQ(Variant("12abc").DoubleValue(), 12);
    EXPECT_EQ(Variant(true).DoubleValue(), 1);
    EXPECT_EQ(Variant(int32_t{7}).DoubleValue(), 7);
    EXPECT_TRUE(Variant("TRUE").BooleanValue());
    EXPECT_FALSE(Variant("yes").BooleanValue());
    EXPECT_TRUE(Variant(int64_t{2}).BooleanValue());
    EXPECT_FALSE(Variant().BooleanValue());
}

}  // namespace
}  // namespace fw
