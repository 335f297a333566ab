// The report builder: the text and style runs for the states a search passes through, the list
// and sense limits, the one-build full view, and the re-entry guard under deferral.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/events.h"
#include "framework/fiber_helpers.h"
#include "framework/text.h"
#include "framework/timer.h"
#include "search/PMC.h"
#include "tools/drive/SearchDriver.h"
#include "windows/ResultWin.h"
#include "windows/SearchWin.h"
#include "worddata/DIC.h"
#include "worddata/TT.h"

namespace {

using Runs = SearchDriver::Runs;

// The character range (start, end) of the first occurrence of each piece in `text`.
Runs RangesOf(const std::string& text, const std::vector<std::string>& pieces) {
    Runs runs;
    for (const std::string& piece : pieces) {
        const auto start = static_cast<int32_t>(fw::InStrB(1, text, piece) - 1);
        EXPECT_GE(start, 0) << piece;
        runs.emplace_back(start, start + static_cast<int32_t>(fw::Len(piece)));
    }
    return runs;
}

PMC::WordList Words(int count, const std::string& stem = "w") {
    PMC::WordList words;
    for (int i = 1; i <= count; ++i) {
        words.push_back(stem + std::to_string(i));
    }
    return words;
}

std::string FieldText() {
    return ResultWin::Get().ResultField.Text();
}

class ReportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PMC::InitializeGlobals();
        PMC::gSearchWord = "Haus";  // a word is searched: its report shows
        DIC::gSelectedLanguage = "DE";
        ResultWin::Get().SetHeight(100);
    }
    void TearDown() override {
        SearchWin::Get().RefreshLaterTimer.SetMode(fw::Timer::ModeOff);
        PMC::InitializeGlobals();
    }
};

TEST_F(ReportTest, TextAndStyleRunsFollowTheSearchState) {
    struct Case {
        const char* scenario;
        std::function<void()> state;
        std::string text;
        std::vector<std::string> bold;
        std::vector<std::string> italic;
    };
    const Case cases[] = {
        {"UnknownWordRightAfterItsSearchStarts",
         [] { PMC::gFragmentSearchRunning = true; },
         "\nUnknown word.\n\nPlease wait for more suggestions...",
         {"Unknown word.", "Please wait for more suggestions..."},
         {}},
        {"KnownGermanWordWhileALookupRuns",
         [] {
             PMC::gDirectHit = true;
             PMC::gHitWord = "Gemüse";
             PMC::gWordBaseform = {"Gemüse"};
             PMC::gWordType = {"Substantiv"};
             PMC::gWordSachgebiete = {"Küche", "Garten"};
             PMC::gSynonymWords = {"Grünzeug", "Kraut"};
             PMC::gHitWordSource = "Wortliste";
             PMC::gSoundexSearchRunning = true;
             PMC::gSoundexWords = {"Gemäuer"};
         },
         "\n\"Gemüse\" was found!\n\nBaseform: Gemüse\nPart of speech: Substantiv\n\nSubject "
         "groups: Küche, Garten\n\nSynonyms...\n\nGrünzeug, Kraut\n\nList of sources: "
         "Wortliste\n\nPlease wait for more analysis...",
         {"\"Gemüse\" was found!", "Synonyms...", "Please wait for more analysis..."},
         {}},
        {"EnglishSensesInPartOfSpeechOrderAndCleanedSynonyms",
         [] {
             DIC::gSelectedLanguage = "EN";
             PMC::gDirectHit = true;
             PMC::gHitWord = "fast";
             PMC::gWordType = {"Adjective", "Noun", "Verb", "Noun", "Adverb"};
             PMC::gWordBaseform = {"fast, quick", "fast", "fast, abstain", "fasting", "firmly"};
             PMC::gWordSachgebiete = {"acting quickly", "abstaining from food", "", "", ""};
             PMC::gSynonymWords = {"fast", "rapid"};
             PMC::gForbiddenSynonyms = {"fast", "quick"};
         },
         "\n\"fast\" was found!\n\nNouns...\n\nfast\n[abstaining from food]\n\nfasting"
         "\n\nVerbs...\n\nfast, abstain\n\nAdjectives...\n\nfast, quick\n[acting quickly]"
         "\n\nSynonyms...\n\nrapid",
         {"\"fast\" was found!", "Nouns...", "Verbs...", "Adjectives...", "Synonyms..."},
         {"\n[abstaining from food]", "\n[acting quickly]"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scenario);
        PMC::InitializeGlobals();
        PMC::gSearchWord = "Haus";  // a word is searched: its report shows
        DIC::gSelectedLanguage = "DE";
        c.state();

        PMC::RefreshReport();

        EXPECT_EQ(FieldText(), c.text);
        EXPECT_EQ(SearchDriver::RunsOf(PMC::gBoldMarkers), RangesOf(c.text, c.bold));
        EXPECT_EQ(SearchDriver::RunsOf(PMC::gItalicMarkers), RangesOf(c.text, c.italic));
        const fw::EditField& field = ResultWin::Get().ResultField;
        for (const auto& [start, end] : RangesOf(c.text, c.bold)) {
            EXPECT_TRUE(field.IsBoldAt(start) && field.IsBoldAt(end - 1)) << start;
        }
        for (const auto& [start, end] : RangesOf(c.text, c.italic)) {
            EXPECT_TRUE(field.IsItalicAt(start + 1) && field.IsItalicAt(end - 1)) << start;
        }
        EXPECT_FALSE(PMC::gRefreshReportRunning);
        EXPECT_TRUE(ResultWin::Get().Visible());
    }
}

TEST_F(ReportTest, CleanSynonymsUsesUpEachMatchedForbiddenWordOnce) {
    PMC::gForbiddenSynonyms = {"fast", "quick", "Rapid"};
    PMC::gSynonymWords = {"fast", "rapid", "rapid", "swift"};
    PMC::CleanSynonyms();
    EXPECT_EQ(PMC::gSynonymWords, (PMC::WordList{"rapid", "swift"}));
    EXPECT_EQ(PMC::gForbiddenSynonyms, PMC::WordList{"quick"});
}

TEST_F(ReportTest, OverflowItemShowsEverythingForOneBuild) {
    PMC::gFragmentStart = Words(45, "haus");
    PMC::gDirectHit = true;
    PMC::gHitWord = "go";
    DIC::gSelectedLanguage = "EN";
    PMC::gWordType = {"Noun", "Noun", "Noun", "Noun"};
    PMC::gWordBaseform = {"n1", "n2", "n3", "n4"};
    PMC::gWordSachgebiete = {"", "", "", ""};
    PMC::RefreshReport();
    ASSERT_NE(fw::InStrB(1, FieldText(), "haus40, (5...)"), 0);

    PMC::gHitWordSource = "ignored source";
    PMC::HandleClickCommand("(haus)");
    EXPECT_EQ(fw::InStrB(1, FieldText(), "ignored source"), 0) << "no build for a plain item";

    PMC::HandleClickCommand("(5...)");
    EXPECT_NE(fw::InStrB(1, FieldText(), "haus44, haus45"), 0);
    EXPECT_NE(fw::InStrB(1, FieldText(), "\n\nn4"), 0);
    EXPECT_EQ(fw::InStrB(1, FieldText(), "...)"), 0);
    EXPECT_FALSE(PMC::gShowAll);

    PMC::RefreshReport();
    EXPECT_NE(fw::InStrB(1, FieldText(), "haus40, (5...)"), 0);
    EXPECT_NE(fw::InStrB(1, FieldText(), "\n\n(1...)"), 0);
}

int Occurrences(const std::string& text, const std::string& piece) {
    int count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) {
        ++count;
    }
    return count;
}

// Every word list of the report at its limit of 40 entries and one past it, every English sense
// block at its limit of 3 senses and one past it.
TEST_F(ReportTest, EachListAndSenseBlockIsCutOnlyPastItsLimit) {
    PMC::WordList* const lists[] = {&PMC::gWordSachgebiete, &PMC::gSynonymWords,
                                    &PMC::gFragmentStart,   &PMC::gSoundexWords,
                                    &PMC::gFragmentEnd,     &PMC::gFragmentAny};
    const std::string stems[] = {"subject", "synonym", "start", "similar", "end", "any"};
    for (const int past : {0, 1}) {
        SCOPED_TRACE(past);
        PMC::gSearchWord = PMC::gHitWord = "Haus";
        PMC::gDirectHit = true;
        DIC::gSelectedLanguage = "DE";
        for (size_t i = 0; i < std::size(lists); ++i) {
            *lists[i] = Words(40 + past, stems[i]);
        }
        PMC::RefreshReport();
        for (const std::string& stem : stems) {
            EXPECT_EQ(Occurrences(FieldText(), stem + "40"), 1) << stem;
            EXPECT_EQ(Occurrences(FieldText(), stem + "40, (1...)"), past) << stem;
            EXPECT_EQ(Occurrences(FieldText(), stem + "41"), 0) << stem;
        }
        EXPECT_EQ(Occurrences(FieldText(), "...)"), 6 * past);

        PMC::InitializeGlobals();
        PMC::gSearchWord = "house";
        PMC::gDirectHit = true;
        DIC::gSelectedLanguage = "EN";
        for (const std::string* type : {&TT::REP_Noun(), &TT::REP_Verb(), &TT::REP_Adjective()}) {
            for (const std::string& sense : Words(3 + past, *type)) {
                PMC::gWordType.push_back(*type);
                PMC::gWordBaseform.push_back(sense);
                PMC::gWordSachgebiete.push_back("");
            }
        }
        PMC::RefreshReport();
        EXPECT_EQ(Occurrences(FieldText(), "3\n\n(1...)"), 3 * past);
        for (const std::string* type : {&TT::REP_Noun(), &TT::REP_Verb(), &TT::REP_Adjective()}) {
            EXPECT_EQ(Occurrences(FieldText(), *type + "4"), 0) << *type;
        }
        EXPECT_EQ(Occurrences(FieldText(), "...)"), 3 * past);
        PMC::InitializeGlobals();
    }
}

TEST_F(ReportTest, CallsDuringABuildMergeIntoOneBuild300msAfterTheLastOne) {
    // The build's animation pumps events long enough for timer actions to ask for more builds.
    ResultWin::Get().SetHeight(300);
    PMC::gHitWordSource = "first";
    int deferrals = 0;
    double lastDeferral = 0;
    fw::Timer caller(
        [&] {
            if (PMC::gRefreshReportRunning && deferrals < 2) {
                PMC::gHitWordSource = "second";
                PMC::RefreshReport();
                lastDeferral = fw::Microseconds();
                ++deferrals;
            }
        },
        1);
    caller.SetMode(fw::Timer::ModeMultiple);
    PMC::RefreshReport();
    caller.SetMode(fw::Timer::ModeOff);

    ASSERT_EQ(deferrals, 2);
    EXPECT_NE(fw::InStrB(1, FieldText(), "first"), 0) << "the running build keeps its text";
    EXPECT_EQ(PMC::gBoldMarkers.size(), 2u);
    ASSERT_TRUE(PumpUntil([] { return fw::InStrB(1, FieldText(), "second") != 0; }, 2000));
    EXPECT_GE(fw::Microseconds() - lastDeferral, 270e3);

    PMC::gHitWordSource = "third";
    fw::DoEvents(600);
    EXPECT_EQ(fw::InStrB(1, FieldText(), "third"), 0) << "a second deferred build ran";
}

}  // namespace
