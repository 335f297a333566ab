// The word files that the build generated from the Debian word data, loaded through the program's
// own loaders.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "dic_fixture.h"
#include "framework/folderitem.h"
#include "sqlite_probe.h"
#include "tools/wordfiles/group_file.h"
#include "tools/wordfiles/sources.h"
#include "worddata/DIC.h"

namespace {

namespace fs = std::filesystem;
using sqlite_probe::Row;
using sqlite_probe::Rows;

const fs::path kResources = QUORVANE_TEST_RESOURCES;

class WordFilesTest : public ::testing::TestWithParam<std::string> {
  protected:
    void SetUp() override {
        fw::SetExecutableFile((kResources.parent_path() / "bin" / "quorvane").string());
        dictest::ResetWordStore();
        ASSERT_TRUE(DIC::LoadDB(GetParam())) << "the build writes the word files first";
        ASSERT_TRUE(DIC::LoadWL(GetParam()));
        ASSERT_THAT(ui_->messages, ::testing::IsEmpty());
        db_ = sqlite_probe::Open((kResources / ("DIC_DB_" + GetParam() + ".tdb")).string());
        ASSERT_TRUE(db_);
        for (Row& row : Rows(db_.get(), "SELECT wWord FROM words ORDER BY wID")) {
            words_.push_back(std::move(row[0]));
        }
    }
    void TearDown() override {
        dictest::ResetWordStore();
        fw::SetExecutableFile("");
    }

    ScopedRecordingUI ui_;
    fw::SqliteConnection db_;
    std::vector<std::string> words_;  // by word ID
};

// Word IDs follow SQLite's own NOCASE order, ties in byte order: the order of the NOCASE index
// that the fragment scan walks, which the fragment index relies on.
TEST_P(WordFilesTest, WordsAreUniqueInNocaseOrderAndPassTheWordCheck) {
    for (size_t id = 0; id < words_.size(); ++id) {
        ASSERT_TRUE(wordfiles::IsWord(words_[id])) << id << ": " << words_[id];
    }
    EXPECT_THAT(Rows(db_.get(),
                     "SELECT count(*) FROM words a JOIN words b ON b.wID = a.wID + 1 "
                     "WHERE a.wWord > b.wWord COLLATE NOCASE OR "
                     "(a.wWord = b.wWord COLLATE NOCASE AND a.wWord >= b.wWord)"),
                ::testing::ElementsAre(Row{"0"}));
}

// Dense IDs and keys above the floors; groups of distinct words of the database; records and
// groups naming each other.
TEST_P(WordFilesTest, FilesMeetTheFloorsAndTheirGroupsAgreeWithTheWordRecords) {
    const bool german = GetParam() == "DE";
    EXPECT_GE(words_.size(), german ? 400000u : 150000u);
    EXPECT_GE(DIC::gGroupDict->Count(), german ? 30000u : 100000u);
    EXPECT_EQ(DIC::gWordGroupsDict.Count(), words_.size()) << "one word record per word";
    EXPECT_THAT(Rows(db_.get(), "SELECT MIN(wID), MAX(wID) FROM words"),
                ::testing::ElementsAre(Row{"0", std::to_string(words_.size() - 1)}));
    std::vector<std::vector<int32_t>> expected(words_.size());
    for (int32_t key = 0; key < static_cast<int32_t>(DIC::gGroupDict->Count()); ++key) {
        ASSERT_TRUE(DIC::gGroupDict->HasKey(key));
        const auto span = DIC::gGroupDict->Members(key);
        std::vector<int32_t> members(span.begin(), span.end());
        ASSERT_FALSE(members.empty()) << "group " << key;
        std::sort(members.begin(), members.end());
        ASSERT_EQ(std::adjacent_find(members.begin(), members.end()), members.end())
            << "group " << key << " names a word twice";
        ASSERT_GE(members.front(), 0);
        ASSERT_LT(members.back(), static_cast<int32_t>(words_.size()))
            << "group " << key << " names no word of the database";
        for (const int32_t id : members) {
            expected[static_cast<size_t>(id)].push_back(key);
        }
    }
    for (size_t id = 0; id < expected.size(); ++id) {
        const auto keys = DIC::gWordGroupsDict.GroupKeys(static_cast<int64_t>(id));
        ASSERT_EQ(std::vector<int32_t>(keys.begin(), keys.end()), expected[id]) << words_[id];
    }
}

TEST_P(WordFilesTest, ProgramsStatementsAreAnsweredFromIndexes) {
    const auto plan = [this](const std::string& sql) {
        std::string details;
        for (const Row& row : Rows(db_.get(), "EXPLAIN QUERY PLAN " + sql)) {
            details += row.back() + "\n";
        }
        return details;
    };
    const std::string exact = "SELECT wID, wWord FROM words WHERE wWord LIKE 'Haus'";
    Rows(db_.get(), "PRAGMA case_sensitive_like=ON;");
    EXPECT_THAT(plan(exact), ::testing::HasSubstr("INDEX words_wWord_binary"));
    Rows(db_.get(), "PRAGMA case_sensitive_like=OFF");
    EXPECT_THAT(plan(exact), ::testing::HasSubstr("INDEX words_wWord_nocase"));
    EXPECT_THAT(plan("SELECT wID, wWord FROM words WHERE wSoundex = 240"),
                ::testing::HasSubstr("INDEX words_wSoundex"));
}

INSTANTIATE_TEST_SUITE_P(Generated, WordFilesTest, ::testing::Values("DE", "EN"),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.param;
                         });

// The builder's group limit: the file counts a group's members in 16 bits, so a larger count must
// fail, not wrap.
TEST(GroupFile, MemberCountBeyondSixteenBitsIsRefused) {
    wordfiles::WordFileContent content;
    content.words = {"a"};
    content.wordGroups = {{0}};
    content.groups = {std::vector<int32_t>(32768, 0)};
    EXPECT_THROW(wordfiles::EncodeGroupFile(content), std::length_error);
    content.groups.front().resize(32767);
    EXPECT_NO_THROW(wordfiles::EncodeGroupFile(content));
}

}  // namespace
