#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "dic_fixture.h"
#include "framework/events.h"
#include "framework/threads.h"
#include "search/App.h"
#include "sqlite_probe.h"
#include "worddata/DIC.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::vector<dictest::WordRow> kGermanWords = {
    {0, "Haus", 200},   {1, "Maus", 520},     {2, "Hausboot", 213},
    {3, "Berlin", 164}, {4, "haushoch", 220}, {5, "Mäuse", 520},
};

// A search pass stand-in: looks up every word on its own cooperative thread.
class EveryWordPass : public fw::Thread {
  public:
    ~EveryWordPass() override { Kill(); }
    int32_t count = -1;

  protected:
    void Execute() override { count = DIC::FindWord("%", false); }
};

class DicDatabaseTest : public dictest::AppTest {
  protected:
    void LoadWords(const std::vector<dictest::WordRow>& rows) {
        dictest::WriteWordDatabase(layout_.InResources("DIC_DB_DE.tdb"), rows);
        DIC::gSelectedLanguage = "DE";
        ASSERT_TRUE(DIC::LoadDB("DE"));
        ASSERT_THAT(ui_->messages, IsEmpty());
    }
};

TEST_F(DicDatabaseTest, LookupsFillParallelHitListsOnlyWhenTheyFindRows) {
    LoadWords(kGermanWords);
    // Patterns in both case modes are checked against the scan in the fragment index test.
    ASSERT_EQ(DIC::FindWord("%aus%", false), 4);
    EXPECT_EQ(DIC::FindWord("Xylophon", false), 0);
    EXPECT_EQ(DIC::FindSoundex(999), 0);
    EXPECT_THAT(DIC::gHitID, ElementsAre(0, 1, 2, 4));
    EXPECT_EQ(DIC::FindSoundex(520), 2);
    EXPECT_THAT(DIC::gHitID, ElementsAre(1, 5));
    EXPECT_THAT(DIC::gHitWord, ElementsAre("Maus", "Mäuse"));
    EXPECT_THAT(ui_->messages, IsEmpty());

    // The word database is opened read-only.
    DIC::gWordDB->SQLExecute("DELETE FROM words");
    EXPECT_TRUE(DIC::gWordDB->Error());
    EXPECT_EQ(DIC::FindWord("%", false), 6);
}

TEST_F(DicDatabaseTest, WordsAreNormalisedAndMissingOrRepeatedIdsReported) {
    LoadWords({{1, "Maus", 520},
               {1, "Maut", 530},
               {2, "New   York  City", 624},
               {4, "to go", 200},
               {5, "to", 300},
               {6, "tory", 360},
               {7, "To  Be", 100}});
    // Only the first run of blanks shrinks, before the English edition drops the "to " of verbs.
    EXPECT_EQ(DIC::GetWord(2), "New York  City");
    EXPECT_EQ(DIC::GetWord(4), "to go");
    DIC::gSelectedLanguage = "en";
    EXPECT_EQ(DIC::FindWord("to%", false), 4);
    EXPECT_THAT(DIC::gHitWord, ElementsAre("go", "to", "tory", "Be"));
    EXPECT_THAT(ui_->messages, IsEmpty());

    EXPECT_EQ(DIC::GetWord(99), "");
    EXPECT_EQ(DIC::GetWord(1), "");
    EXPECT_THAT(Reports(), ElementsAre("Can't access word at given index.",
                                       "Can't access word. Index isn't unique."));
    EXPECT_THAT(ui_->quitCodes, ElementsAre(0, 0));
}

// An apostrophe is a literal, not SQL. SQLite refuses a LIKE pattern beyond its limit as an error:
// such a pattern (a pasted text) finds nothing without a fatal report, the hit lists untouched;
// one at the limit is still looked up.
TEST_F(DicDatabaseTest, ApostropheInPatternIsLiteralNotSqlAndOneBeyondTheLikeLimitFindsNothing) {
    LoadWords({{0, "O'Neill", 540}, {1, "Haus", 200}});
    EXPECT_EQ(DIC::FindWord("x' OR '1'='1", false), 0);
    EXPECT_EQ(DIC::FindWord("'", false), 0);
    ASSERT_EQ(DIC::FindWord("O'Neill", true), 1);
    EXPECT_THAT(DIC::gHitWord, ElementsAre("O'Neill"));
    const auto limit = static_cast<size_t>(DIC::gWordDB->LikePatternLimit());
    ASSERT_GT(limit, 2u);
    EXPECT_EQ(DIC::FindWord(std::string(limit + 1, 'a'), false), 0);
    EXPECT_EQ(DIC::FindWord("%" + std::string(limit - 2, 'a') + "%", false), 0);
    EXPECT_EQ(DIC::FindWord("%" + std::string(limit - 2, 'a') + "'", false), 0) << "quoted, over";
    EXPECT_THAT(DIC::gHitID, ElementsAre(0));
    EXPECT_THAT(ui_->messages, IsEmpty());
}

// The controller kills a pass at a row yield; the next lookup that finds rows must not build on
// what the killed one left behind. A quit stops the row loop at once.
TEST_F(DicDatabaseTest, InterruptedLookupLeavesPartialHitsThatTheNextLookupReplaces) {
    LoadWords(kGermanWords);
    ASSERT_EQ(DIC::FindWord("Berlin", true), 1);
    fw::SetTimeSlice(0);
    EveryWordPass pass;
    pass.Run();
    for (int pump = 0;
         pump < 1000 && pass.GetState() == fw::Thread::State::Running && DIC::gHitID.size() != 3;
         ++pump) {
        fw::DoEvents(0);
    }
    // Every row read gives the event loop its turn, so the lookup is caught half-way.
    ASSERT_EQ(pass.GetState(), fw::Thread::State::Running);
    pass.Kill();
    fw::SetTimeSlice(3000);

    EXPECT_EQ(pass.count, -1);
    EXPECT_THAT(DIC::gHitID, ElementsAre(0, 1, 2));
    EXPECT_THAT(DIC::gHitWord, ElementsAre("Haus", "Maus", "Hausboot"));
    EXPECT_EQ(DIC::FindWord("%in", false), 1);
    EXPECT_THAT(DIC::gHitID, ElementsAre(3));
    EXPECT_THAT(DIC::gHitWord, ElementsAre("Berlin"));

    App::gAppIsQuitting = true;
    EXPECT_EQ(DIC::FindWord("%", false), 0);
    EXPECT_THAT(DIC::gHitID, IsEmpty());
    EXPECT_THAT(DIC::gHitWord, IsEmpty());
}

TEST_F(DicDatabaseTest, MissingOrForeignFileIsReportedAndTheFileBesideWins) {
    EXPECT_FALSE(DIC::LoadDB("DE"));
    EXPECT_EQ(DIC::gWordDB, nullptr);
    // Without a database the lookups find nothing, and say nothing.
    EXPECT_EQ(DIC::FindWord("Haus", false), 0);
    EXPECT_EQ(DIC::FindSoundex(200), 0);
    EXPECT_EQ(DIC::GetWord(0), "");

    dictest::WriteFile(layout_.InResources("DIC_DB_DE.tdb"), std::string(4096, 'x'));
    EXPECT_FALSE(DIC::LoadDB("DE"));
    EXPECT_EQ(DIC::gWordDB, nullptr);
    EXPECT_THAT(
        Reports(),
        ElementsAre("Can't locate the selected word list database.",
                    "Can't open the selected word list database. (file is not a database)"));
    EXPECT_THAT(ui_->quitCodes, ElementsAre(0, 0));

    dictest::WriteWordDatabase(layout_.BesideApp("DIC_DB_DE.tdb"), {{0, "Beside", 123}});
    ASSERT_TRUE(DIC::LoadDB("DE"));
    EXPECT_EQ(DIC::GetWord(0), "Beside");
}

// A file whose words are not a real table of the expected columns is refused as it opens, with
// one report: a view recursing for ever froze the first search, and an empty file or one without
// the table passed the start-up and failed at every search. Extra tables and columns are fine.
TEST_F(DicDatabaseTest, OnlyARealWordsTableOpens) {
    const std::string kRefused =
        "Can't open the selected word list database. (no table words with the columns wID, "
        "wWord, wSoundex)";
    const std::string kEndless = "WITH RECURSIVE r(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM r)";
    const std::pair<std::string, std::string> kFiles[] = {
        {"", kRefused},
        {"CREATE VIEW words(wID, wWord, wSoundex) AS " + kEndless + " SELECT n, 'x', 0 FROM r;",
         kRefused},
        {"CREATE TABLE words (wID INTEGER, wWord TEXT);", kRefused},
        {"CREATE VIRTUAL TABLE words USING fts5(wID, wWord, wSoundex);", kRefused},
        // A column computed as it is read can cost anything per row.
        {"CREATE TABLE words (wID INTEGER, wSoundex INTEGER,"
         " wWord TEXT AS (printf('%.*c', 100000000, 'x')));",
         kRefused},
        {"CREATE TABLE WORDS (WID INTEGER, wword TEXT, wSoundex INTEGER, note TEXT);"
         "CREATE VIRTUAL TABLE word_trigrams USING fts5(wWord, tokenize = 'trigram');",
         ""},
    };
    const auto file = layout_.InResources("DIC_DB_DE.tdb");
    for (const auto& [statements, report] : kFiles) {
        SCOPED_TRACE(statements);
        std::filesystem::remove(file);
        sqlite_probe::Execute(file, statements);
        ForgetReports();
        EXPECT_EQ(DIC::LoadDB("DE"), report.empty());
        EXPECT_EQ(Reports(),
                  report.empty() ? std::vector<std::string>{} : std::vector<std::string>{report});
    }
    EXPECT_EQ(DIC::FindWord("%", false), 0);
}

}  // namespace
