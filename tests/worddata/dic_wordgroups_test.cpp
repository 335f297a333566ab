#include <cstdint>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "dic_fixture.h"
#include "worddata/DIC.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<int32_t> Members(int32_t key) {
    const auto members = DIC::gGroupDict->Members(key);
    return {members.begin(), members.end()};
}

std::vector<int32_t> GroupKeys(int64_t wordID) {
    const auto keys = DIC::gWordGroupsDict.GroupKeys(wordID);
    return {keys.begin(), keys.end()};
}

class DicWordGroupsTest : public dictest::AppTest {
  protected:
    bool Load(const dictest::GroupFileBytes& file) {
        dictest::WriteFile(layout_.InResources("DIC_WL_DE.tdb"), file.Bytes());
        return DIC::LoadWL("DE");
    }
};

TEST_F(DicWordGroupsTest, TablesListGroupsAndWordsInFileOrderAndNegativeCountsMeanNone) {
    dictest::GroupFileBytes file;
    file.Int32(3).Group(70, {3, 0, 2}).Group(-5, {2, 1}).Group(70, {1}).Int64(0);
    file.Int32(4).Word({70}).Word({-5}).Word({-5, 70}).Word({70});
    ASSERT_TRUE(Load(file));
    EXPECT_THAT(ui_->messages, IsEmpty());
    // A repeated key keeps the later group.
    EXPECT_EQ(DIC::gGroupDict->Count(), 2u);
    EXPECT_THAT(Members(70), ElementsAre(1));
    EXPECT_THAT(Members(-5), ElementsAre(2, 1));
    EXPECT_EQ(DIC::gWordGroupsDict.Count(), 4u);
    EXPECT_THAT(GroupKeys(0), ElementsAre(70));
    EXPECT_THAT(GroupKeys(2), ElementsAre(-5, 70));
    // An ID outside the word records is a word in no group.
    for (const int64_t outside : {4, 450000, -1}) {
        EXPECT_TRUE(DIC::gWordGroupsDict.IsNil(outside)) << outside;
    }

    // Negative counts mean none; a word list without a synonym group still names its words.
    dictest::ResetWordStore();
    dictest::GroupFileBytes negative;
    negative.Int32(2).Int32(8).Int16(-1).Group(9, {0}).Int64(0);
    negative.Int32(3).Int16(-1).Word({9}).Int16(0);
    ASSERT_TRUE(Load(negative));
    EXPECT_TRUE(DIC::gGroupDict->HasKey(8));
    EXPECT_THAT(Members(8), IsEmpty());
    EXPECT_TRUE(DIC::gWordGroupsDict.IsNil(0));
    EXPECT_THAT(GroupKeys(1), ElementsAre(9));
    EXPECT_TRUE(DIC::gWordGroupsDict.IsNil(2));

    dictest::ResetWordStore();
    ASSERT_TRUE(Load(dictest::GroupFileBytes().Int32(0).Int64(0).Int32(2).Word({}).Word({})));
    EXPECT_EQ(DIC::gGroupDict->Count(), 0u);
    EXPECT_EQ(DIC::gWordGroupsDict.Count(), 2u);
    EXPECT_THAT(GroupKeys(1), IsEmpty());
    EXPECT_THAT(ui_->messages, IsEmpty());
}

TEST_F(DicWordGroupsTest, MalformedFilesEndInTheirReport) {
    const std::string kCorrupted = "Selected word list file is corrupted!";
    using Bytes = dictest::GroupFileBytes;
    const std::pair<Bytes, std::string> kFiles[] = {
        // The largest ID counts even when a later group replaced the one naming it.
        {Bytes().Int32(2).Group(4, {0, 5}).Group(4, {1}).Int64(0).Int32(5),
         kCorrupted + " Not enough words. (5 vs. 4)"},
        {Bytes().Int32(0).Int64(0).Int32(0), kCorrupted + " Not enough words. (0 vs. -1)"},
        // The smallest word count must not wrap round into a huge last ID.
        {Bytes().Int32(0).Int64(0).Int32(INT32_MIN),
         kCorrupted + " Not enough words. (0 vs. -2147483649)"},
        {Bytes().Int32(1).Group(1, {0}).Int64(1).Int32(1).Word({1}),
         kCorrupted + " Bad group definitions."},
        {Bytes().Int32(1).Group(1, {0}).Int64(0).Int32(2).Word({1}).Word({0}),
         kCorrupted + " Wrong group reference."},
        // Huge counts in a tiny file fail without allocating for them.
        {Bytes().Int32(INT32_MAX).Group(1, {0}).Int32(2).Int16(INT16_MAX).Int32(7), kCorrupted},
        {Bytes().Int32(0).Int64(0).Int32(INT32_MAX).Word({}), kCorrupted},
    };
    for (const auto& [file, report] : kFiles) {
        SCOPED_TRACE(report);
        dictest::ResetWordStore();
        ForgetReports();
        EXPECT_FALSE(Load(file));
        EXPECT_THAT(Reports(), ElementsAre(report));
        EXPECT_THAT(ui_->quitCodes, ElementsAre(0));
    }
}

TEST_F(DicWordGroupsTest, TruncatedMissingOrUnreadableFileIsReported) {
    dictest::GroupFileBytes whole;
    whole.Int32(2).Group(1, {0, 1}).Group(2, {1}).Int64(0).Int32(2).Word({1}).Word({1, 2});
    const std::string& bytes = whole.Bytes();
    for (size_t length = 0; length < bytes.size(); ++length) {
        SCOPED_TRACE(length);
        dictest::ResetWordStore();
        ForgetReports();
        dictest::WriteFile(layout_.InResources("DIC_WL_DE.tdb"), bytes.substr(0, length));
        EXPECT_FALSE(DIC::LoadWL("DE"));
        EXPECT_THAT(Reports(), ElementsAre("Selected word list file is corrupted!"));
    }
    ForgetReports();
    std::filesystem::remove(layout_.InResources("DIC_WL_DE.tdb"));
    EXPECT_FALSE(DIC::LoadWL("DE"));
    std::filesystem::create_directory(layout_.InResources("DIC_WL_DE.tdb"));
    EXPECT_FALSE(DIC::LoadWL("DE"));
    EXPECT_THAT(Reports(), ElementsAre("Can't locate the selected word list file.",
                                       "Can't open the selected word list file."));
}

}  // namespace
