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

class DicWordGroupsTest : public ::testing::Test {
  protected:
    void SetUp() override { dictest::ResetWordStore(); }
    void TearDown() override { dictest::ResetWordStore(); }

    bool Load(const dictest::GroupFileBytes& file) {
        dictest::WriteFile(layout_.InResources("DIC_WL_DE.tdb"), file.Bytes());
        return DIC::LoadWL("DE");
    }

    std::vector<std::string> Reports() const { return dictest::Reports(ui_.get()); }

    dictest::AppLayout layout_;
    ScopedRecordingUI ui_;
};

TEST_F(DicWordGroupsTest, TablesListGroupsAndWordsInFileOrder) {
    dictest::GroupFileBytes file;
    file.Int32(2).Group(70, {3, 0, 2}).Group(-5, {2, 1}).Int64(0);
    file.Int32(4).Word({70}).Word({-5}).Word({-5, 70}).Word({70});
    ASSERT_TRUE(Load(file));
    EXPECT_THAT(ui_->messages, IsEmpty());
    EXPECT_EQ(DIC::gGroupDict->Count(), 2u);
    EXPECT_THAT(Members(70), ElementsAre(3, 0, 2));
    EXPECT_THAT(Members(-5), ElementsAre(2, 1));
    EXPECT_EQ(DIC::gWordGroupsDict.Count(), 4u);
    EXPECT_THAT(GroupKeys(0), ElementsAre(70));
    EXPECT_THAT(GroupKeys(2), ElementsAre(-5, 70));
}

TEST_F(DicWordGroupsTest, FileWithoutGroupsAndOneEmptyWordLoads) {
    EXPECT_EQ(DIC::gGroupDict, nullptr);
    dictest::GroupFileBytes file;
    file.Int32(0).Int64(0).Int32(1).Int16(0);
    ASSERT_TRUE(Load(file));
    ASSERT_NE(DIC::gGroupDict, nullptr);
    EXPECT_EQ(DIC::gGroupDict->Count(), 0u);
    EXPECT_EQ(DIC::gWordGroupsDict.Count(), 1u);
    EXPECT_TRUE(DIC::gWordGroupsDict.IsNil(0));
}

TEST_F(DicWordGroupsTest, NegativeCountsMeanNone) {
    dictest::GroupFileBytes file;
    file.Int32(2).Int32(8).Int16(-1).Group(9, {0}).Int64(0);
    file.Int32(3).Int16(-1).Word({9}).Int16(0);
    ASSERT_TRUE(Load(file));
    EXPECT_TRUE(DIC::gGroupDict->HasKey(8));
    EXPECT_THAT(Members(8), IsEmpty());
    EXPECT_TRUE(DIC::gWordGroupsDict.IsNil(0));
    EXPECT_THAT(GroupKeys(1), ElementsAre(9));
    EXPECT_TRUE(DIC::gWordGroupsDict.IsNil(2));
}

TEST_F(DicWordGroupsTest, IdOutsideTheWordRecordsCountsAsInNoGroup) {
    dictest::GroupFileBytes file;
    file.Int32(1).Group(1, {0}).Int64(0).Int32(1).Word({1});
    ASSERT_TRUE(Load(file));
    EXPECT_THAT(GroupKeys(0), ElementsAre(1));
    EXPECT_TRUE(DIC::gWordGroupsDict.IsNil(1));
    EXPECT_TRUE(DIC::gWordGroupsDict.IsNil(450000));
    EXPECT_TRUE(DIC::gWordGroupsDict.IsNil(-1));
}

TEST_F(DicWordGroupsTest, RepeatedGroupKeyKeepsLaterGroupButCountsEarlierIds) {
    dictest::GroupFileBytes file;
    file.Int32(2).Group(4, {0, 5}).Group(4, {1}).Int64(0).Int32(5);
    ASSERT_FALSE(Load(file));
    EXPECT_THAT(Reports(),
                ElementsAre("Selected word list file is corrupted! Not enough words. (5 vs. 4)"));

    dictest::ResetWordStore();
    dictest::GroupFileBytes enough;
    enough.Int32(2).Group(4, {0, 5}).Group(4, {1}).Int64(0).Int32(6);
    for (int word = 0; word < 6; ++word) {
        enough.Word({4});
    }
    ASSERT_TRUE(Load(enough));
    EXPECT_EQ(DIC::gGroupDict->Count(), 1u);
    EXPECT_THAT(Members(4), ElementsAre(1));
}

TEST_F(DicWordGroupsTest, ZeroWordsAlwaysFailWithTheirNumbers) {
    dictest::GroupFileBytes file;
    file.Int32(0).Int64(0).Int32(0);
    EXPECT_FALSE(Load(file));
    EXPECT_THAT(Reports(),
                ElementsAre("Selected word list file is corrupted! Not enough words. (0 vs. -1)"));
}

TEST_F(DicWordGroupsTest, SmallestWordCountDoesNotWrapIntoEnough) {
    dictest::GroupFileBytes file;
    file.Int32(0).Int64(0).Int32(INT32_MIN);
    EXPECT_FALSE(Load(file));
    EXPECT_THAT(Reports(), ElementsAre("Selected word list file is corrupted! Not enough words. "
                                       "(0 vs. -2147483649)"));
}

TEST_F(DicWordGroupsTest, NonZeroSeparatorFailsEvenWhenAllElseIsSound) {
    dictest::GroupFileBytes file;
    file.Int32(1).Group(1, {0}).Int64(1).Int32(1).Word({1});
    EXPECT_FALSE(Load(file));
    EXPECT_THAT(Reports(),
                ElementsAre("Selected word list file is corrupted! Bad group definitions."));
    EXPECT_THAT(ui_->quitCodes, ElementsAre(0));
}

TEST_F(DicWordGroupsTest, UndefinedGroupKeyFailsEvenWhenItIsZero) {
    dictest::GroupFileBytes file;
    file.Int32(1).Group(1, {0}).Int64(0).Int32(2).Word({1}).Word({0});
    EXPECT_FALSE(Load(file));
    EXPECT_THAT(Reports(),
                ElementsAre("Selected word list file is corrupted! Wrong group reference."));
}

TEST_F(DicWordGroupsTest, TruncatedFileEndsInCorruptedReport) {
    dictest::GroupFileBytes whole;
    whole.Int32(2).Group(1, {0, 1}).Group(2, {1}).Int64(0).Int32(2).Word({1}).Word({1, 2});
    const std::string& bytes = whole.Bytes();
    for (size_t length = 0; length < bytes.size(); ++length) {
        SCOPED_TRACE(length);
        dictest::ResetWordStore();
        ui_->messages.clear();
        dictest::WriteFile(layout_.InResources("DIC_WL_DE.tdb"), bytes.substr(0, length));
        EXPECT_FALSE(DIC::LoadWL("DE"));
        EXPECT_THAT(Reports(), ElementsAre("Selected word list file is corrupted!"));
    }
}

TEST_F(DicWordGroupsTest, HugeCountsInATinyFileFailWithoutAllocating) {
    dictest::GroupFileBytes groups;
    groups.Int32(INT32_MAX).Group(1, {0}).Int32(2).Int16(INT16_MAX).Int32(7);
    EXPECT_FALSE(Load(groups));

    dictest::ResetWordStore();
    dictest::GroupFileBytes words;
    words.Int32(0).Int64(0).Int32(INT32_MAX).Word({});
    EXPECT_FALSE(Load(words));
    EXPECT_THAT(Reports(), ElementsAre("Selected word list file is corrupted!",
                                       "Selected word list file is corrupted!"));
}

TEST_F(DicWordGroupsTest, MissingFileIsReported) {
    EXPECT_FALSE(DIC::LoadWL("DE"));
    EXPECT_THAT(Reports(), ElementsAre("Can't locate the selected word list file."));
}

TEST_F(DicWordGroupsTest, UnreadableFileIsReported) {
    std::filesystem::create_directory(layout_.InResources("DIC_WL_DE.tdb"));
    EXPECT_FALSE(DIC::LoadWL("DE"));
    EXPECT_THAT(Reports(), ElementsAre("Can't open the selected word list file."));
}

}  // namespace
