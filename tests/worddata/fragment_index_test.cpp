// The fragment lookup from the trigram index against the scan it stands in for, on thousands of
// fragments drawn from the generated German and English word lists, in both case modes: the same
// rows in the same order. The builder writes a word database from a sample of the lists, so the
// scan that decides what is right stays fast enough to run for every fragment.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "dic_fixture.h"
#include "framework/text.h"
#include "sqlite_probe.h"
#include "tools/wordfiles/assembly.h"
#include "tools/wordfiles/word_database.h"
#include "worddata/DIC.h"
#include "worddata/FragmentIndex.h"

namespace {

namespace fs = std::filesystem;
using sqlite_probe::Row;
using sqlite_probe::Rows;

const fs::path kResources = QUORVANE_TEST_RESOURCES;
constexpr size_t kSampleStride = 48;

// Every kSampleStride-th word of both generated word lists.
std::vector<std::string> SampleWords() {
    std::vector<std::string> words;
    for (const char* language : {"DE", "EN"}) {
        const fs::path file = kResources / (std::string("DIC_DB_") + language + ".tdb");
        for (const Row& row : Rows(file, "SELECT wWord FROM words WHERE wID % " +
                                             std::to_string(kSampleStride) + " = 0")) {
            words.push_back(row[0]);
        }
    }
    return words;
}

// Pieces of 2 to 7 characters from spread-out words, some also in upper or lower case, and the
// cases that matter most for the case rule and for patterns the index must leave to the scan.
std::vector<std::string> Fragments(const std::vector<std::string>& words) {
    std::vector<std::string> fragments = {
        "über", "Über", "ÜBER", "straße", "STRASSE", "Straße", "ß",    "äu",  "Äu",  "n-",
        "- ",   "-M",   " de",  "e m",    "h_us",    "%",      "zz%z", "hau", "HAU", "x'y"};
    for (size_t i = 0; fragments.size() < 2000; ++i) {
        const std::string& word = words[(i * 7919) % words.size()];
        const int64_t length = 2 + static_cast<int64_t>(i % 6);
        const int64_t room = fw::Len(word) - length + 1;
        if (room < 1) {
            continue;
        }
        const std::string piece = fw::Mid(word, 1 + static_cast<int64_t>(i % room), length);
        fragments.push_back(piece);
        if (i % 5 == 0) {
            fragments.push_back(i % 2 ? fw::Uppercase(piece) : fw::Lowercase(piece));
        }
    }
    return fragments;
}

class FragmentIndexTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dictest::ResetWordStore();
        ASSERT_TRUE(dir_.isValid());
        file_ = fs::path(dir_.path().toStdString()) / "DIC_DB_DE.tdb";
        words_ = SampleWords();
        ASSERT_GT(words_.size(), 10000u) << "the build writes the word files first";
        wordfiles::WriteWordDatabase(file_, wordfiles::Assemble(words_, {}).words);
        OpenWordDatabase();
        scan_ = sqlite_probe::Open(file_.string());
    }

    // The program's connection, as DIC::LoadDB makes it.
    void OpenWordDatabase() {
        DIC::gWordDB = std::make_unique<fw::Database>();
        DIC::gWordDB->DatabaseFile = file_.string();
        DIC::gWordDB->ReadOnly = true;
        ASSERT_TRUE(DIC::gWordDB->Connect());
    }
    void TearDown() override { dictest::ResetWordStore(); }

    // The word IDs of the scan's statement, exactly as the lookup words it.
    std::vector<int32_t> ScanIds(const std::string& pattern, bool exactCase) {
        Rows(scan_.get(),
             exactCase ? "PRAGMA case_sensitive_like=ON;" : "PRAGMA case_sensitive_like=OFF");
        std::vector<int32_t> ids;
        const std::string literal = fw::ReplaceAllB(pattern, "'", "''");
        for (const Row& row :
             Rows(scan_.get(), "SELECT wID, wWord FROM words WHERE wWord LIKE '" + literal + "'")) {
            ids.push_back(std::stoi(row[0]));
        }
        return ids;
    }

    QTemporaryDir dir_;
    fs::path file_;
    std::vector<std::string> words_;
    fw::SqliteConnection scan_;
    ScopedRecordingUI ui_;
};

TEST_F(FragmentIndexTest, IndexGivesTheScansRowsInTheScansOrderInBothCaseModes) {
    size_t indexed = 0;
    size_t found = 0;
    for (const std::string& fragment : Fragments(words_)) {
        const std::string pattern = "%" + fragment + "%";
        for (const bool exactCase : {false, true}) {
            SCOPED_TRACE(pattern + (exactCase ? " exact case" : " any case"));
            const std::vector<int32_t> expected = ScanIds(pattern, exactCase);
            DIC::gHitID.clear();
            ASSERT_EQ(DIC::FindWord(pattern, exactCase), static_cast<int32_t>(expected.size()));
            if (!expected.empty()) {
                ASSERT_EQ(DIC::gHitID, expected);
                ++found;
            }
            if (FragmentIndex::IndexableFragment(pattern)) {
                ASSERT_NE(FragmentIndex::Select(*DIC::gWordDB, pattern), nullptr);
                ++indexed;
            }
            if (expected.size() > 3) {
                ASSERT_EQ(DIC::FindWord(pattern, exactCase, 3), 3);
                ASSERT_THAT(DIC::gHitID,
                            ::testing::ElementsAreArray(expected.begin(), expected.begin() + 3));
            }
        }
    }
    EXPECT_GT(indexed, 2000u);
    EXPECT_GT(found, 2000u);
    EXPECT_THAT(ui_->messages, ::testing::IsEmpty());
}

// Orders the index can't give are scanned: without the NOCASE index the scan runs over the
// byte-ordered one; a file numbered in byte order has an index but not the builder's mark.
TEST_F(FragmentIndexTest, FileWhoseScanIsNotInWordIdOrderIsScanned) {
    for (const bool numberedInByteOrder : {false, true}) {
        DIC::gWordDB.reset();
        if (numberedInByteOrder) {
            std::vector<std::string> words = wordfiles::Assemble(words_, {}).words;
            std::sort(words.begin(), words.end());
            wordfiles::WriteWordDatabase(file_, words);
            scan_ = sqlite_probe::Open(file_.string());
        } else {
            sqlite_probe::Execute(file_, "DROP INDEX words_wWord_nocase");
        }
        OpenWordDatabase();
        EXPECT_EQ(FragmentIndex::Select(*DIC::gWordDB, "%ung%"), nullptr);
        const std::vector<int32_t> expected = ScanIds("%ung%", false);
        ASSERT_EQ(DIC::FindWord("%ung%", false), static_cast<int32_t>(expected.size()));
        EXPECT_EQ(DIC::gHitID, expected);
    }
}

}  // namespace
