// A search from the typed word to the settled report, through the real windows and the build's
// word files.
#include <QColor>
#include <QPalette>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>
#include <string>
#include <utility>

#include "framework/database.h"
#include "framework/text.h"
#include "framework/threads.h"
#include "framework/timer.h"
#include "search/PMC.h"
#include "search_fixture.h"
#include "windows/ResultWin.h"
#include "windows/SearchWin.h"
#include "worddata/DIC.h"

namespace searchtest {
namespace {

class SearchFlowTest : public SearchTest {};

// The line after the report's leading line end; "?" when the report lacks that line end.
std::string Headline(const std::string& report) {
    if (report.empty() || report[0] != '\n') {
        return "?";
    }
    return report.substr(1, report.find('\n', 1) - 1);
}

// The colour of the search field's text.
QColor InputColour() {
    return SearchWin::Get().UserInput.Widget()->palette().color(QPalette::Text);
}

TEST_F(SearchFlowTest, KnownGermanWordGetsEverySectionInOrder) {
    const auto result = Search("Haus");
    ASSERT_TRUE(result.hit);
    EXPECT_EQ(Headline(result.report), "\"Haus\" was found!");
    const char* headings[] = {"Synonyms...", "Possible continuation...", "Similar to...",
                              "Words with this ending...", "Other words with this fragment..."};
    int64_t previous = 0;
    for (const char* heading : headings) {
        const int64_t at = fw::InStrB(1, result.report, heading);
        EXPECT_GT(at, previous) << heading << " missing or out of order";
        previous = at;
    }
    EXPECT_NE(result.report.find("\n\nList of sources: Quorvane"), std::string::npos);
    EXPECT_EQ(result.report.find("Please wait"), std::string::npos) << "the search settled";
    EXPECT_TRUE(result.italic.empty());
    EXPECT_TRUE(ResultWin::Get().Visible());
    EXPECT_FALSE(SearchWin::Get().ProgressWheel.Visible());
    EXPECT_EQ(InputColour(), QColor(0, 200, 0));
}

// Exactly the scan's first 500 rows are taken, each into the list of its first occurrence.
TEST_F(SearchFlowTest, FragmentsAreClassifiedByTheFirstOccurrenceWithinTheFirst500Rows) {
    Search("haus");
    EXPECT_TRUE(PMC::gDirectHit);
    EXPECT_EQ(PMC::gHitWord, "Haus");
    ASSERT_GT(DIC::FindWord("%haus%", false), 501);
    PMC::WordList taken;
    for (size_t row = 0; row < 500; ++row) {
        const std::string& word = DIC::gHitWord[row];
        if (!fw::EqualsIgnoreCase(word, "haus") && PMC::CheckWord(word) &&
            fw::IndexOf(taken, word) < 0) {
            taken.push_back(word);
        }
    }
    EXPECT_EQ(PMC::gFragmentStart.size() + PMC::gFragmentEnd.size() + PMC::gFragmentAny.size(),
              taken.size());
    for (const std::string& word : taken) {
        const int64_t at = fw::InStr(word, "haus");
        const PMC::WordList& list = at == 1                   ? PMC::gFragmentStart
                                    : at == fw::Len(word) - 3 ? PMC::gFragmentEnd
                                                              : PMC::gFragmentAny;
        EXPECT_GE(fw::IndexOf(list, word), 0) << word;
    }
}

TEST_F(SearchFlowTest, UnknownWordGetsTheUnknownHeadlineAndNoSynonyms) {
    SearchWin::Get().UserInput.SetTextColor(0, 200, 0);  // as a known word left it
    const auto result = Search("Xylofantik");
    EXPECT_FALSE(result.hit);
    EXPECT_EQ(Headline(result.report), "Unknown word.");
    EXPECT_EQ(result.report.find("Synonyms..."), std::string::npos);
    EXPECT_EQ(PMC::gHitWordID, -1);
    EXPECT_EQ(InputColour(), QColor(200, 0, 0));
}

TEST_F(SearchFlowTest, RejectedInputHidesTheResultWindowAndSearchesNothing) {
    Search("Haus");
    ASSERT_TRUE(ResultWin::Get().Visible());
    for (const char* input : {"x", "Haus1", "Haus.", "-haus", "Café"}) {
        SCOPED_TRACE(input);
        const auto shown = driver_.Paste(input, 5000);
        ASSERT_TRUE(shown);
        EXPECT_EQ(shown->report, "") << "the window is hidden";
        EXPECT_TRUE(shown->bold.empty());
        EXPECT_EQ(PMC::gSearchWord, "");
        EXPECT_FALSE(PMC::gDirectHit);
        EXPECT_FALSE(ResultWin::Get().Visible());
        EXPECT_TRUE(PMC::gFragmentStart.empty());
        EXPECT_TRUE(SearchWin::Get().UserInput.HasFocus());
    }
    EXPECT_TRUE(Search("Haus").hit) << "the next accepted word always counts as a change";
}

TEST_F(SearchFlowTest, EnglishEditionFindsItsWordsAndAsksTheEnglishDictionary) {
    UseLanguage("EN");
    const auto result = Search("house");
    Search("housse");
    const bool englishGuess = fw::IndexOf(PMC::gSoundexWords, "House") >= 0 ||
                              fw::IndexOf(PMC::gSoundexWords, "mousse") >= 0;
    UseLanguage("DE");
    EXPECT_TRUE(englishGuess);
    ASSERT_TRUE(result.hit);
    EXPECT_EQ(Headline(result.report), "\"house\" was found!");
    EXPECT_NE(result.report.find("Synonyms..."), std::string::npos);
    EXPECT_NE(result.report.find("List of sources: Quorvane"), std::string::npos);
}

TEST_F(SearchFlowTest, SpellCheckerMakesAWordKnownThatTheWordListLacks) {
    const auto result = Search("Sonnenschirmständer");
    ASSERT_TRUE(result.hit);
    EXPECT_EQ(PMC::gHitWordID, -1);
    EXPECT_EQ(PMC::gHitWordSource, "System Dictionary (Hunspell)");
    EXPECT_EQ(Headline(result.report), "\"Sonnenschirmständer\" was found!");
    EXPECT_EQ(result.report.find("Synonyms..."), std::string::npos);

    // Accepted only with its first letter's case toggled, that variant becomes the search word.
    ASSERT_TRUE(Search("sonnenschirmständer").hit);
    EXPECT_EQ(PMC::gSearchWord, "Sonnenschirmständer");
    EXPECT_EQ(PMC::gHitWord, "Sonnenschirmständer");
}

TEST_F(SearchFlowTest, TypoGetsTheGuessesAndTheSpellCheckerOnceAmongTheSources) {
    const auto result = Search("Hauss");
    EXPECT_FALSE(result.hit);
    EXPECT_GE(fw::IndexOf(PMC::gSoundexWords, "Haus"), 0);
    const std::string source = "System Dictionary (Hunspell)";
    const size_t first = result.report.find(source);
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(result.report.find(source, first + 1), std::string::npos);
}

// A window manager's close hides the report. The same word typed again shows it again, as it
// was and without a new search, or at once while its search still runs, which then goes on.
TEST_F(SearchFlowTest, SameWordTypedAgainShowsTheReportTheWindowManagerClosed) {
    ResultWin& result = ResultWin::Get();
    const auto first = Search("Haus");
    result.Widget()->close();
    ASSERT_FALSE(result.Visible());
    const uint64_t aborts = PMC::AbortCount();
    const auto again = Search("Haus");
    EXPECT_EQ(again.report, first.report) << "shown again";
    EXPECT_EQ(PMC::AbortCount(), aborts) << "no new search";
    EXPECT_TRUE(SearchWin::Get().UserInput.HasFocus());
    driver_.Paste("x");
    EXPECT_EQ(driver_.Paste("")->report, "") << "the report of a word no longer searched";

    SearchWin& window = SearchWin::Get();
    bool shownAtOnce = false;
    bool retyped = false;
    fw::Timer probe(
        [&] {
            if (retyped || Headline(result.ResultField.Text()) != "Unknown word." ||
                !PMC::IsAnySearchRunning() || !result.Visible() || PMC::gRefreshReportRunning ||
                fw::CurrentThread() != nullptr) {
                return;
            }
            retyped = true;
            result.Widget()->close();
            window.SearchTimer.SetMode(fw::Timer::ModeOff);
            window.SearchTimer_Action();
            shownAtOnce = result.Visible() && !PMC::gSearchAborted;
        },
        1);
    probe.SetMode(fw::Timer::ModeMultiple);
    const auto running = Search("Xylofantik");
    probe.SetMode(fw::Timer::ModeOff);
    ASSERT_TRUE(retyped) << "the search never showed a report while it ran";
    EXPECT_TRUE(shownAtOnce);
    EXPECT_EQ(Headline(running.report), "Unknown word.");
    EXPECT_EQ(running.report.find("Please wait"), std::string::npos) << "the search went on";
}

// The field has no length limit, and a pasted text is searched like a typed one: 100,000 letters,
// far beyond SQLite's LIKE pattern limit, give the report of an unknown word in linear time and
// without a fatal box. Its sound-alike key is that of "Haus", so the similarity scoring runs.
TEST_F(SearchFlowTest, PastedWordOfAHundredThousandLettersGetsItsReport) {
    std::string word = "Haus";
    for (int i = 4; i < 100000; ++i) {
        word += "ä";
    }
    const auto result = driver_.Paste(word, 20000);
    ASSERT_TRUE(result.has_value());
    EXPECT_TRUE(ui_->messages.empty());
    EXPECT_EQ(fw::Len(SearchWin::Get().UserInput.Text()), 100000);
    EXPECT_EQ(PMC::gSearchWord, word);
    EXPECT_EQ(Headline(result->report), "Unknown word.");
    EXPECT_LT(result->ms, 1000.0);
    EXPECT_LT(result->cpuMs, 1000.0);
    EXPECT_LT(result->maxStallMs, 200.0) << "nothing quadratic on the event loop";
}

// Word files no builder would write: "Haus" names its group 32,767 times, the group repeats its
// words, and two hold 100,000 letters (in one run, or in short runs). The search settles at once,
// the window never stalls, and the report is no longer than a real one.
TEST_F(SearchFlowTest, CraftedWordFilesNeitherFreezeTheSearchNorTheWindow) {
    const QTemporaryDir dir;
    auto db = std::make_unique<fw::Database>();
    db->DatabaseFile = (dir.path() + "/words.tdb").toStdString();
    ASSERT_TRUE(db->CreateDatabaseFile());
    db->SQLExecute(
        "CREATE TABLE words(wID INTEGER PRIMARY KEY, wWord, wSoundex); INSERT INTO words VALUES "
        "(0, 'Haus', 200), (1, 'Haus' || printf('%.*c', 100000, 'x'), 200), (2, 'Haus' || "
        "replace(printf('%.*c', 6250, 'x'), 'x', ' xxxxxxxxxxxxxxx'), 200); WITH RECURSIVE "
        "n(i) AS (SELECT 3 UNION ALL SELECT i + 1 FROM n WHERE i < 300) INSERT INTO words "
        "SELECT i, 'Haus' || char(97 + i / 26, 97 + i % 26), 200 FROM n");
    db->Commit();
    auto groups = std::make_unique<DIC::GroupDict>();
    DIC::WordGroupsList wordGroups;
    for (int32_t i = 0; i < 32767; ++i) {
        groups->AddMember(i % 301);
        wordGroups.AddKey(7);
    }
    groups->CommitGroup(7);
    groups->FinishGroups();
    wordGroups.CommitEntry();
    const auto swapFiles = [&] {
        std::swap(DIC::gWordDB, db);
        std::swap(DIC::gGroupDict, groups);
        std::swap(DIC::gWordGroupsDict, wordGroups);
    };
    swapFiles();
    const auto result = driver_.Search("Haus", 5000);
    ResetSearchState();
    swapFiles();
    ASSERT_TRUE(result.has_value());
    EXPECT_LT(result->ms, 2000);
    EXPECT_LT(result->maxStallMs, 100);
    EXPECT_LT(result->report.size(), 4000u);
}

// The search timer can fire inside the first report's animation and reject the word typed since;
// the interrupted search start must then leave the search ended, not run a pass for the emptied
// search word and show the hidden window again with its results. A reply that asked for a rebuild
// just before (deferred, as a build was running) must not show it again 300 ms later either.
TEST_F(SearchFlowTest, WordRejectedDuringTheFirstReportEndsTheSearch) {
    Search("Haus");  // a tall report: the next search's first report shrinks the window in steps
    PMC::gWindowStep = 2;
    SearchWin& window = SearchWin::Get();
    bool rejected = false;
    fw::Timer probe(
        [&] {
            if (rejected || !PMC::gRefreshReportRunning || PMC::gSearchWord != "Xylofantik" ||
                PMC::IsAnySearchRunning() || fw::CurrentThread() != nullptr) {
                return;
            }
            rejected = true;
            PMC::SearchFinished();
            window.UserInput.SetText("x");
            window.SearchTimer.SetMode(fw::Timer::ModeOff);
            window.SearchTimer_Action();
        },
        1);
    probe.SetMode(fw::Timer::ModeMultiple);
    Search("Xylofantik");
    probe.SetMode(fw::Timer::ModeOff);
    ASSERT_TRUE(rejected) << "the first report never animated";
    EXPECT_EQ(PMC::gSearchWord, "");
    EXPECT_FALSE(ResultWin::Get().Visible());
    EXPECT_TRUE(PMC::gFragmentStart.empty() && PMC::gFragmentAny.empty());
    EXPECT_FALSE(PMC::IsAnySearchRunning());
}

}  // namespace
}  // namespace searchtest
