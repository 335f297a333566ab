// The word-file builder's writers: the word-group file's bytes and its round trip through the
// program's own loader, the word database's rows, keys and indexed lookups, and files that are
// replaced only when complete. Every file lives in a temporary folder of the test.
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "framework/folderitem.h"
#include "test_ui.h"
#include "tools/wordfiles/assembly.h"
#include "tools/wordfiles/group_file.h"
#include "tools/wordfiles/replacing_file.h"
#include "tools/wordfiles/word_database.h"
#include "worddata/DIC.h"
#include "wordfiles_db.h"

namespace wordfiles {
namespace {

namespace fs = std::filesystem;
using namespace wordfiles_test;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class TempFolder {
  public:
    fs::path Path(const std::string& name) const {
        return fs::path(dir_.path().toStdString()) / name;
    }

  private:
    QTemporaryDir dir_;
};

TEST(GroupFile, EncodesBigEndianRecordsAroundAZeroSeparator) {
    WordFileContent content;
    content.words.resize(259);
    content.groups = {{1, 258}};
    content.wordGroups.resize(259);
    content.wordGroups[1] = {0};
    content.wordGroups[258] = {0};

    const std::string bytes = EncodeGroupFile(content);

    const std::string head(
        "\x00\x00\x00\x01"                  // one group
        "\x00\x00\x00\x00\x00\x02"          // key 0, two members
        "\x00\x00\x00\x01\x00\x00\x01\x02"  // IDs 1 and 258
        "\x00\x00\x00\x00\x00\x00\x00\x00"  // separator
        "\x00\x00\x01\x03"                  // 259 word records
        "\x00\x00"                          // word 0: no group
        "\x00\x01\x00\x00\x00\x00",         // word 1: group 0
        38);
    ASSERT_EQ(bytes.size(), head.size() + 256 * 2 + 6);
    EXPECT_EQ(bytes.substr(0, head.size()), head);
    EXPECT_EQ(bytes.substr(bytes.size() - 6), std::string("\x00\x01\x00\x00\x00\x00", 6));
}

TEST(GroupFile, CountBeyondSixteenBitsIsRefusedRatherThanWrapped) {
    WordFileContent content;
    content.groups.emplace_back(32768, 0);
    EXPECT_THROW(EncodeGroupFile(content), std::length_error);
    content.groups.front().resize(32767);
    EXPECT_NO_THROW(EncodeGroupFile(content));
}

TEST(GroupFile, WrittenFileLoadsThroughTheProgramsLoaderWithItsGroups) {
    const TempFolder folder;
    fs::create_directories(folder.Path("bin"));
    fs::create_directories(folder.Path("Resources"));
    const WordFileContent content =
        Assemble({"alone"}, {{"Haus", "Gebäude", "Bau"}, {"Bau", "Errichtung"}});
    WriteGroupFile(folder.Path("Resources") / "DIC_WL_XX.tdb", content);

    const ScopedRecordingUI ui;
    fw::SetExecutableFile(folder.Path("bin/quorvane").string());
    DIC::gWordGroupsDict.Clear();
    const bool loaded = DIC::LoadWL("XX");
    fw::SetExecutableFile("");

    ASSERT_TRUE(loaded);
    EXPECT_THAT(ui->messages, ::testing::IsEmpty());
    ASSERT_EQ(DIC::gGroupDict->Count(), content.groups.size());
    for (size_t key = 0; key < content.groups.size(); ++key) {
        const auto members = DIC::gGroupDict->Members(static_cast<int32_t>(key));
        EXPECT_EQ(std::vector<int32_t>(members.begin(), members.end()), content.groups[key]);
    }
    ASSERT_EQ(DIC::gWordGroupsDict.Count(), content.words.size());
    for (size_t id = 0; id < content.words.size(); ++id) {
        const auto keys = DIC::gWordGroupsDict.GroupKeys(static_cast<int64_t>(id));
        EXPECT_EQ(std::vector<int32_t>(keys.begin(), keys.end()), content.wordGroups[id]);
    }
}

TEST(ReplacingFile, UncommittedWriteLeavesThePreviousTargetAndNoTemporaryFile) {
    const TempFolder folder;
    const fs::path target = folder.Path("DIC_WL_DE.tdb");
    WriteText(target, "previous");
    {
        const ReplacingFile file(target);
        WriteText(file.TempPath(), "half");
    }
    EXPECT_EQ(ReadFile(target), "previous");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path("")), fs::directory_iterator()), 1);
}

TEST(ReplacingFile, CommitReplacesTheTargetAndALeftoverTemporaryFileIsNotReused) {
    const TempFolder folder;
    const fs::path target = folder.Path("DIC_WL_DE.tdb");
    WriteText(target, "previous");
    WriteText(target.string() + ".part", "left by a killed build");
    {
        ReplacingFile file(target);
        EXPECT_FALSE(fs::exists(file.TempPath()));
        WriteText(file.TempPath(), "complete");
        file.Commit();
    }
    EXPECT_EQ(ReadFile(target), "complete");
    EXPECT_FALSE(fs::exists(target.string() + ".part"));
}

TEST(ReplacingFile, WritersIntoAMissingFolderFailAndLeaveNothing) {
    const TempFolder folder;
    const fs::path missing = folder.Path("missing");
    const WordFileContent content = Assemble({"a", "b"}, {{"a", "b"}});
    EXPECT_ANY_THROW(WriteGroupFile(missing / "DIC_WL_DE.tdb", content));
    EXPECT_ANY_THROW(WriteWordDatabase(missing / "DIC_DB_DE.tdb", content.words));
    EXPECT_FALSE(fs::exists(missing));
}

class WordDatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteWordDatabase(file_, words_);
        db_ = OpenReadOnly(file_.string());
        ASSERT_TRUE(db_);
    }

    const std::vector<std::string> words_{"Anna",   "HAUS",   "Haus", "Haustür", "Müller",
                                          "Robert", "Straße", "haus", "hausen"};
    TempFolder folder_;
    fs::path file_ = folder_.Path("DIC_DB_DE.tdb");
    Connection db_;
};

TEST_F(WordDatabaseTest, TableHasTheProgramsSchema) {
    EXPECT_EQ(Single(db_.get(), "SELECT sql FROM sqlite_master WHERE name = 'words'"),
              "CREATE TABLE words (wID INTEGER PRIMARY KEY, wWord TEXT, wSoundex INTEGER)");
}

TEST_F(WordDatabaseTest, RowsCarryDenseIdsAndTheKeysOfTheProgramsSoundex) {
    const auto rows = Rows(db_.get(), "SELECT wID, wWord, wSoundex FROM words ORDER BY wID");
    ASSERT_EQ(rows.size(), words_.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i][0], std::to_string(i));
        EXPECT_EQ(rows[i][1], words_[i]);
        EXPECT_EQ(rows[i][2], std::to_string(DIC::GetSoundex(words_[i])));
    }
    EXPECT_EQ(Single(db_.get(), "SELECT wSoundex FROM words WHERE wWord = 'Robert'"), "163");
    EXPECT_EQ(Single(db_.get(), "SELECT wSoundex FROM words WHERE wWord = 'Müller'"), "464");
    EXPECT_EQ(Single(db_.get(), "SELECT wSoundex FROM words WHERE wWord = 'Anna'"), "400");
}

TEST_F(WordDatabaseTest, IndexedLikeFindsExactlyWhatTheCaseModeAllows) {
    Rows(db_.get(), "PRAGMA case_sensitive_like=ON;");
    EXPECT_EQ(Rows(db_.get(), "SELECT wWord FROM words WHERE wWord LIKE 'Haus'"),
              (std::vector<Row>{{"Haus"}}));
    Rows(db_.get(), "PRAGMA case_sensitive_like=OFF");
    EXPECT_EQ(Rows(db_.get(), "SELECT wWord FROM words WHERE wWord LIKE 'haus' ORDER BY wID"),
              (std::vector<Row>{{"HAUS"}, {"Haus"}, {"haus"}}));
    EXPECT_EQ(Rows(db_.get(), "SELECT wWord FROM words WHERE wWord LIKE 'haus%' ORDER BY wID"),
              (std::vector<Row>{{"HAUS"}, {"Haus"}, {"Haustür"}, {"haus"}, {"hausen"}}));
}

TEST_F(WordDatabaseTest, SameWordsGiveAByteIdenticalFile) {
    const fs::path again = folder_.Path("again.tdb");
    WriteWordDatabase(again, words_);
    const std::string first = ReadFile(file_);
    EXPECT_FALSE(first.empty());
    EXPECT_TRUE(first == ReadFile(again));
}

}  // namespace
}  // namespace wordfiles
