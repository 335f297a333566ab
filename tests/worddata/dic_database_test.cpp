#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "dic_fixture.h"
#include "search/App.h"
#include "worddata/DIC.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::vector<dictest::WordRow> kGermanWords = {
    {0, "Haus", 200},   {1, "Maus", 520},     {2, "Hausboot", 213},
    {3, "Berlin", 164}, {4, "haushoch", 220}, {5, "Mäuse", 520},
};

class DicDatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dictest::ResetWordStore();
        DIC::gSelectedLanguage = "DE";
    }
    void TearDown() override {
        App::gAppIsQuitting = false;
        dictest::ResetWordStore();
    }

    void LoadWords(const std::vector<dictest::WordRow>& rows) {
        dictest::WriteWordDatabase(layout_.InResources("DIC_DB_DE.tdb"), rows);
        ASSERT_TRUE(DIC::LoadDB("DE"));
        ASSERT_THAT(ui_->messages, IsEmpty());
    }

    std::vector<std::string> Reports() const { return dictest::Reports(ui_.get()); }

    dictest::AppLayout layout_;
    ScopedRecordingUI ui_;
};

TEST_F(DicDatabaseTest, ExactCaseMissesCapitalisedWordThatAnyCaseFinds) {
    LoadWords(kGermanWords);
    EXPECT_EQ(DIC::FindWord("haus", true), 0);
    EXPECT_EQ(DIC::FindWord("haus", false), 1);
    EXPECT_THAT(DIC::gHitID, ElementsAre(0));
    EXPECT_THAT(DIC::gHitWord, ElementsAre("Haus"));
    // The case pragma is set anew for every lookup, so exact case holds again afterwards.
    EXPECT_EQ(DIC::FindWord("HAUS", true), 0);
    EXPECT_EQ(DIC::FindWord("Haus", true), 1);
}

TEST_F(DicDatabaseTest, FragmentLookupFillsParallelListsInDatabaseOrder) {
    LoadWords(kGermanWords);
    EXPECT_EQ(DIC::FindWord("%aus%", false), 4);
    EXPECT_THAT(DIC::gHitID, ElementsAre(0, 1, 2, 4));
    EXPECT_THAT(DIC::gHitWord, ElementsAre("Haus", "Maus", "Hausboot", "haushoch"));
}

TEST_F(DicDatabaseTest, LookupWithoutMatchLeavesPreviousHitsUntouched) {
    LoadWords(kGermanWords);
    ASSERT_EQ(DIC::FindWord("Haus%", true), 2);
    EXPECT_EQ(DIC::FindWord("Xylophon", false), 0);
    EXPECT_EQ(DIC::FindSoundex(999), 0);
    EXPECT_THAT(DIC::gHitID, ElementsAre(0, 2));
    EXPECT_THAT(DIC::gHitWord, ElementsAre("Haus", "Hausboot"));
    EXPECT_THAT(ui_->messages, IsEmpty());
}

TEST_F(DicDatabaseTest, SoundexLookupReplacesHitsWithAllWordsOfTheKey) {
    LoadWords(kGermanWords);
    ASSERT_EQ(DIC::FindWord("%", false), 6);
    EXPECT_EQ(DIC::FindSoundex(520), 2);
    EXPECT_THAT(DIC::gHitID, ElementsAre(1, 5));
    EXPECT_THAT(DIC::gHitWord, ElementsAre("Maus", "Mäuse"));
    EXPECT_EQ(DIC::FindSoundex(-520), 0);
}

TEST_F(DicDatabaseTest, MissingOrRepeatedIdEndsInFatalReport) {
    LoadWords({{0, "Haus", 200}, {1, "Maus", 520}, {1, "Maut", 530}});
    EXPECT_EQ(DIC::GetWord(0), "Haus");
    EXPECT_EQ(DIC::GetWord(7), "");
    EXPECT_EQ(DIC::GetWord(-1), "");
    EXPECT_EQ(DIC::GetWord(1), "");
    EXPECT_THAT(Reports(), ElementsAre("Can't access word at given index.",
                                       "Can't access word at given index.",
                                       "Can't access word. Index isn't unique."));
    EXPECT_THAT(ui_->quitCodes, ElementsAre(0, 0, 0));
}

TEST_F(DicDatabaseTest, OnlyTheFirstRunOfBlanksShrinks) {
    LoadWords({{0, "New   York  City", 624}, {1, "  leading", 453}});
    EXPECT_EQ(DIC::GetWord(0), "New York  City");
    EXPECT_EQ(DIC::GetWord(1), " leading");
    EXPECT_EQ(DIC::FindWord("New%", false), 1);
    EXPECT_THAT(DIC::gHitWord, ElementsAre("New York  City"));
}

TEST_F(DicDatabaseTest, EnglishEditionDropsTheToOfVerbsOnly) {
    LoadWords({{0, "to go", 200}, {1, "to", 300}, {2, "tory", 360}, {3, "To  Be", 100}});
    DIC::gSelectedLanguage = "en";
    EXPECT_EQ(DIC::GetWord(0), "go");
    EXPECT_EQ(DIC::GetWord(1), "to");
    EXPECT_EQ(DIC::GetWord(2), "tory");
    // The first run of blanks shrinks before the "to " test.
    EXPECT_EQ(DIC::GetWord(3), "Be");
    EXPECT_EQ(DIC::FindWord("to%", false), 4);
    EXPECT_THAT(DIC::gHitWord, ElementsAre("go", "to", "tory", "Be"));

    DIC::gSelectedLanguage = "DE";
    EXPECT_EQ(DIC::GetWord(0), "to go");
}

TEST_F(DicDatabaseTest, ApostropheInPatternIsLiteralNotSql) {
    LoadWords({{0, "O'Neill", 540}, {1, "Haus", 200}});
    EXPECT_EQ(DIC::FindWord("O'Neill", true), 1);
    EXPECT_THAT(DIC::gHitWord, ElementsAre("O'Neill"));
    EXPECT_EQ(DIC::FindWord("x' OR '1'='1", false), 0);
    EXPECT_EQ(DIC::FindWord("'", false), 0);
    EXPECT_THAT(ui_->messages, IsEmpty());
}

TEST_F(DicDatabaseTest, QuitStopsTheRowLoopAtOnce) {
    LoadWords(kGermanWords);
    ASSERT_EQ(DIC::FindWord("Haus", true), 1);
    App::gAppIsQuitting = true;
    EXPECT_EQ(DIC::FindWord("%", false), 0);
    EXPECT_THAT(DIC::gHitID, IsEmpty());
    EXPECT_THAT(DIC::gHitWord, IsEmpty());
}

TEST_F(DicDatabaseTest, WordDatabaseIsOpenedReadOnly) {
    LoadWords(kGermanWords);
    DIC::gWordDB->SQLExecute("DELETE FROM words");
    EXPECT_TRUE(DIC::gWordDB->Error());
    EXPECT_EQ(DIC::FindWord("%", false), 6);
}

TEST_F(DicDatabaseTest, FileBesideTheApplicationWinsOverResources) {
    dictest::WriteWordDatabase(layout_.InResources("DIC_DB_DE.tdb"), {{0, "Resources", 620}});
    dictest::WriteWordDatabase(layout_.BesideApp("DIC_DB_DE.tdb"), {{0, "Beside", 123}});
    ASSERT_TRUE(DIC::LoadDB("DE"));
    EXPECT_EQ(DIC::GetWord(0), "Beside");
}

TEST_F(DicDatabaseTest, MissingDatabaseIsReportedAndLeavesNoConnection) {
    EXPECT_FALSE(DIC::LoadDB("DE"));
    EXPECT_EQ(DIC::gWordDB, nullptr);
    EXPECT_THAT(Reports(), ElementsAre("Can't locate the selected word list database."));
    EXPECT_THAT(ui_->quitCodes, ElementsAre(0));
}

TEST_F(DicDatabaseTest, FileThatIsNoDatabaseFailsToOpen) {
    dictest::WriteFile(layout_.InResources("DIC_DB_DE.tdb"), std::string(4096, 'x'));
    EXPECT_FALSE(DIC::LoadDB("DE"));
    EXPECT_EQ(DIC::gWordDB, nullptr);
    ASSERT_EQ(Reports().size(), 1u);
    EXPECT_EQ(Reports()[0], "Can't open the selected word list database. (file is not a database)");
}

TEST_F(DicDatabaseTest, FailedSelectsReportTheDatabaseMessage) {
    // An empty file is an empty database: it opens, but it has no words table.
    dictest::WriteFile(layout_.InResources("DIC_DB_DE.tdb"), "");
    ASSERT_TRUE(DIC::LoadDB("DE"));
    DIC::gHitID = {9};
    DIC::gHitWord = {"kept"};

    EXPECT_EQ(DIC::FindWord("Haus", false), 0);
    EXPECT_EQ(DIC::FindSoundex(200), 0);
    EXPECT_EQ(DIC::GetWord(0), "");
    EXPECT_THAT(Reports(), ElementsAre("Can't access word list database. (no such table: words)",
                                       "Can't access soundex values. (no such table: words)",
                                       "Can't access word. (no such table: words)"));
    EXPECT_THAT(DIC::gHitID, ElementsAre(9));
    EXPECT_THAT(DIC::gHitWord, ElementsAre("kept"));
}

TEST_F(DicDatabaseTest, LookupsWithoutDatabaseFindNothing) {
    EXPECT_EQ(DIC::FindWord("Haus", false), 0);
    EXPECT_EQ(DIC::FindSoundex(200), 0);
    EXPECT_EQ(DIC::GetWord(0), "");
}

}  // namespace
