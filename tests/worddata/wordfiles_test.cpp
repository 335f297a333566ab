// The word files that the build generated from the Debian word data: their size, the agreement
// between word database and word-group file, the stored soundex keys, the indexes behind the
// program's statements, and a load through the program's own loader.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/folderitem.h"
#include "test_ui.h"
#include "tools/wordfiles/sources.h"
#include "worddata/DIC.h"
#include "wordfiles_db.h"

namespace {

namespace fs = std::filesystem;
using namespace wordfiles_test;

const fs::path kResources = QUORVANE_TEST_RESOURCES;

// An independent reading of the word-group file, strict where the program's loader is lenient:
// every count must be honest and the file must end right after the last word record.
struct GroupFile {
    std::vector<int32_t> keys;  // in file order
    std::vector<std::vector<int32_t>> members;
    int64_t separator = -1;
    std::vector<std::vector<int32_t>> wordGroups;
    bool endsAfterLastRecord = false;
};

class BigEndianReader {
  public:
    explicit BigEndianReader(std::string bytes) : bytes_(std::move(bytes)) {}

    template <typename Int>
    Int Read() {
        if (bytes_.size() - pos_ < sizeof(Int)) {
            throw std::out_of_range("word-group file ends early");
        }
        uint64_t value = 0;
        for (size_t i = 0; i < sizeof(Int); ++i) {
            value = (value << 8) | static_cast<unsigned char>(bytes_[pos_++]);
        }
        return static_cast<Int>(value);
    }
    std::vector<int32_t> ReadList() {
        const int16_t count = Read<int16_t>();
        std::vector<int32_t> values;
        for (int16_t i = 0; i < count; ++i) {
            values.push_back(Read<int32_t>());
        }
        return values;
    }
    bool AtEnd() const { return pos_ == bytes_.size(); }

  private:
    std::string bytes_;
    size_t pos_ = 0;
};

GroupFile DecodeGroupFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    BigEndianReader reader({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
    GroupFile file;
    const int32_t groupCount = reader.Read<int32_t>();
    for (int32_t i = 0; i < groupCount; ++i) {
        file.keys.push_back(reader.Read<int32_t>());
        file.members.push_back(reader.ReadList());
    }
    file.separator = reader.Read<int64_t>();
    const int32_t wordCount = reader.Read<int32_t>();
    for (int32_t i = 0; i < wordCount; ++i) {
        file.wordGroups.push_back(reader.ReadList());
    }
    file.endsAfterLastRecord = reader.AtEnd();
    return file;
}

struct Language {
    std::string code;
    size_t minWords;
    size_t minGroups;
    std::string synonym;
    std::string otherSynonym;
};

std::ostream& operator<<(std::ostream& out, const Language& language) {
    return out << language.code;
}

struct Generated {
    Connection db;
    std::vector<std::string> words;  // by word ID
    GroupFile groups;
};

class WordFilesTest : public ::testing::TestWithParam<Language> {
  protected:
    // Read once per language: the files are large and never change during the run.
    static Generated& Files(const std::string& code) {
        static std::map<std::string, Generated> cache;
        auto [entry, fresh] = cache.try_emplace(code);
        if (fresh) {
            Generated& files = entry->second;
            files.db = OpenReadOnly((kResources / ("DIC_DB_" + code + ".tdb")).string());
            if (files.db) {
                for (Row& row : Rows(files.db.get(), "SELECT wWord FROM words ORDER BY wID")) {
                    files.words.push_back(std::move(row[0]));
                }
            }
            files.groups = DecodeGroupFile(kResources / ("DIC_WL_" + code + ".tdb"));
        }
        return entry->second;
    }

    void SetUp() override {
        ASSERT_TRUE(Files(GetParam().code).db) << "the build writes the word files first";
    }
    sqlite3* Db() { return Files(GetParam().code).db.get(); }
    const std::vector<std::string>& Words() { return Files(GetParam().code).words; }
    const GroupFile& Groups() { return Files(GetParam().code).groups; }

    int32_t IdOf(const std::string& word) {
        const std::string id =
            Single(Db(), "SELECT wID FROM words WHERE wWord = '" + word + "' COLLATE BINARY");
        return id.empty() ? -1 : std::stoi(id);
    }
};

TEST_P(WordFilesTest, MeetWordAndGroupFloors) {
    EXPECT_GE(Words().size(), GetParam().minWords);
    EXPECT_GE(Groups().keys.size(), GetParam().minGroups);
}

TEST_P(WordFilesTest, WordIdsAreDenseFromZero) {
    const std::vector<Row> rows = Rows(Db(), "SELECT COUNT(*), MIN(wID), MAX(wID) FROM words");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0],
              (Row{std::to_string(Words().size()), "0", std::to_string(Words().size() - 1)}));
}

TEST_P(WordFilesTest, WordsAreUniqueInByteOrderAndPassTheWordCheck) {
    for (size_t id = 0; id < Words().size(); ++id) {
        ASSERT_TRUE(wordfiles::IsWord(Words()[id])) << id << ": " << Words()[id];
        if (id > 0) {
            ASSERT_LT(Words()[id - 1], Words()[id]) << "at word ID " << id;
        }
    }
}

TEST_P(WordFilesTest, GroupFileHasDenseKeysNonEmptyGroupsAndOneRecordPerWord) {
    const GroupFile& file = Groups();
    EXPECT_EQ(file.separator, 0);
    EXPECT_TRUE(file.endsAfterLastRecord);
    ASSERT_EQ(file.wordGroups.size(), Words().size());
    const auto wordCount = static_cast<int32_t>(Words().size());
    for (size_t i = 0; i < file.keys.size(); ++i) {
        ASSERT_EQ(file.keys[i], static_cast<int32_t>(i));
        std::vector<int32_t> members = file.members[i];
        ASSERT_GE(members.size(), 1u) << "group " << i;
        std::sort(members.begin(), members.end());
        ASSERT_EQ(std::adjacent_find(members.begin(), members.end()), members.end())
            << "group " << i << " names a word twice";
        ASSERT_GE(members.front(), 0);
        ASSERT_LT(members.back(), wordCount) << "group " << i << " names no word of the database";
    }
}

TEST_P(WordFilesTest, WordRecordsAndGroupsNameEachOther) {
    const GroupFile& file = Groups();
    std::vector<std::vector<int32_t>> expected(Words().size());
    for (size_t key = 0; key < file.members.size(); ++key) {
        for (const int32_t id : file.members[key]) {
            expected.at(static_cast<size_t>(id)).push_back(static_cast<int32_t>(key));
        }
    }
    for (size_t id = 0; id < expected.size(); ++id) {
        ASSERT_EQ(file.wordGroups[id], expected[id]) << "word " << id << ": " << Words()[id];
    }
}

TEST_P(WordFilesTest, StoredKeysAreTheProgramsSoundexKeys) {
    const std::vector<Row> rows =
        Rows(Db(), "SELECT wWord, wSoundex FROM words WHERE wID % 97 = 0");
    ASSERT_GT(rows.size(), 1000u);
    for (const Row& row : rows) {
        ASSERT_EQ(row[1], std::to_string(DIC::GetSoundex(row[0]))) << row[0];
    }
}

TEST_P(WordFilesTest, ProgramsStatementsAreAnsweredFromIndexes) {
    const std::string exact = "SELECT wID, wWord FROM words WHERE wWord LIKE 'Haus'";
    Rows(Db(), "PRAGMA case_sensitive_like=ON;");
    EXPECT_NE(QueryPlan(Db(), exact).find("INDEX words_wWord_binary"), std::string::npos)
        << QueryPlan(Db(), exact);
    Rows(Db(), "PRAGMA case_sensitive_like=OFF");
    EXPECT_NE(QueryPlan(Db(), exact).find("INDEX words_wWord_nocase"), std::string::npos)
        << QueryPlan(Db(), exact);
    const std::string soundex = "SELECT wID, wWord FROM words WHERE wSoundex = 240";
    EXPECT_NE(QueryPlan(Db(), soundex).find("INDEX words_wSoundex"), std::string::npos)
        << QueryPlan(Db(), soundex);
}

TEST_P(WordFilesTest, KnownSynonymsShareAGroup) {
    const int32_t first = IdOf(GetParam().synonym);
    const int32_t second = IdOf(GetParam().otherSynonym);
    ASSERT_GE(first, 0);
    ASSERT_GE(second, 0);
    const auto& firstGroups = Groups().wordGroups[static_cast<size_t>(first)];
    const auto& secondGroups = Groups().wordGroups[static_cast<size_t>(second)];
    EXPECT_TRUE(std::find_first_of(firstGroups.begin(), firstGroups.end(), secondGroups.begin(),
                                   secondGroups.end()) != firstGroups.end());
}

INSTANTIATE_TEST_SUITE_P(Generated, WordFilesTest,
                         ::testing::Values(Language{"DE", 400000, 30000, "Kernspaltung", "Fission"},
                                           Language{"EN", 150000, 100000, "automobile", "car"}),
                         [](const ::testing::TestParamInfo<Language>& info) {
                             return info.param.code;
                         });

TEST(GeneratedWordFiles, NoTemporaryFileIsLeftBeside) {
    for (const auto& entry : fs::directory_iterator(kResources)) {
        const std::string name = entry.path().filename().string();
        EXPECT_FALSE(name.ends_with(".part") || name.ends_with("-journal")) << name;
    }
}

TEST(GeneratedWordFiles, GermanGroupFileLoadsThroughTheProgramWithoutFatalReport) {
    const ScopedRecordingUI ui;
    fw::SetExecutableFile((kResources.parent_path() / "bin" / "quorvane").string());
    DIC::gWordGroupsDict.Clear();
    const bool loaded = DIC::LoadWL("DE");
    fw::SetExecutableFile("");

    EXPECT_TRUE(loaded);
    EXPECT_THAT(ui->messages, ::testing::IsEmpty());
    EXPECT_TRUE(ui->quitCodes.empty());
    ASSERT_TRUE(DIC::gGroupDict);
    EXPECT_GE(DIC::gGroupDict->Count(), 30000u);
    EXPECT_GE(DIC::gWordGroupsDict.Count(), 400000u);
}

}  // namespace
