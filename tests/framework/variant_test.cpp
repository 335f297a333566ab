#include "framework/variant.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace fw {
namespace {

// The preference file stores a value as its type code and text form; the kinds the preferences
// store and read back are tested with them, the others here.
TEST(VariantPreferenceForm, EachKindHasTheTypeCodeAndTextThePreferenceFileStores) {
    const std::vector<std::pair<Variant, std::pair<int, std::string>>> rows = {
        {Variant(), {0, ""}},
        {Variant(3.0), {5, "3"}},
        {Variant(ObjectRef{}), {9, ""}},
        {Variant(true), {11, "True"}},
        {Variant(false), {11, "False"}},
        {Variant(Color{0x0A, 0xB0, 0xFF}), {16, "&h0AB0FF"}}};
    for (const auto& [value, form] : rows) {
        EXPECT_EQ(value.VarType(), form.first) << form.second;
        EXPECT_EQ(value.StringValue(), form.second);
    }
}

}  // namespace
}  // namespace fw
