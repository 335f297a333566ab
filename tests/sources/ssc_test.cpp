// The spell-checker service as the search uses it: known words, guesses and languages.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/corefoundation.h"
#include "sources/SSC.h"
#include "sources/bridge/BridgeExceptions.h"
#include "sources/bridge/Cocoa.h"
#include "test_ui.h"

namespace {

class SSCTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (Cocoa::AutoreleasePool == nullptr) {
            SSC::Initialize();
        }
    }
    void SetUp() override { ASSERT_TRUE(SSC::SetLanguage("de")); }
};

TEST_F(SSCTest, InitializeStartsThePoolTimerAndTakesATag) {
    ASSERT_NE(Cocoa::AutoreleasePool, nullptr);
    EXPECT_NE(Cocoa::AutoreleasePool->Pool()->ObjCRef(), 0);
    EXPECT_NE(SSC::gSpellTag, 0);
    EXPECT_NE(SSC::GetSpellTag(), SSC::gSpellTag);
    EXPECT_EQ(SSC::GetNSSpellChecker(), SSC::GetNSSpellChecker());
}

TEST_F(SSCTest, ATextIsCorrectOnlyWhenNoWordOfItIsMisspelled) {
    struct Case {
        const char* text;
        const char* language;
        bool correct;
    };
    for (const Case& c : {
             Case{"Haus", "de", true},
             Case{"Straße", "de", true},
             Case{"Hasu", "de", false},
             Case{"haus", "de", false},
             Case{"Haus Fenster", "de", true},
             Case{"Haus Fenstr", "de", false},
             Case{"colour", "en", false},
             Case{"color", "en", true},
             Case{"colour", "en_GB", true},
             Case{"color", "en_GB", false},
             Case{"Haus", "Multilingual", true},
             Case{"colour", "Multilingual", true},
             Case{"Hasu", "Multilingual", false},
             Case{"Haus", "fr", false},
         }) {
        SCOPED_TRACE(std::string(c.text) + " / " + c.language);
        EXPECT_EQ(SSC::CheckString(c.text, c.language), c.correct);
    }
}

TEST_F(SSCTest, TheCheckUsesItsOwnLanguageNotTheCheckersCurrentOne) {
    ASSERT_TRUE(SSC::SetLanguage("en"));
    EXPECT_TRUE(SSC::CheckString("Schmetterling", "de"));
    EXPECT_FALSE(SSC::CheckString("Schmetterling", "en"));
}

TEST_F(SSCTest, AnEmptyLanguageAnswersFalseAndNeverEndsTheProgram) {
    const ScopedRecordingUI ui;
    EXPECT_FALSE(SSC::SetLanguage(""));
    EXPECT_FALSE(SSC::CheckString("Haus", ""));
    EXPECT_FALSE(SSC::CheckString("", ""));
    EXPECT_TRUE(ui->messages.empty());
    EXPECT_TRUE(ui->quitCodes.empty());
    EXPECT_TRUE(SSC::CheckString("Haus", "de")) << "the checker's language was kept";
}

TEST_F(SSCTest, OnlyLanguagesWithADictionaryAreAccepted) {
    for (const char* language : {"de", "en", "en_GB", "Multilingual"}) {
        EXPECT_TRUE(SSC::SetLanguage(language)) << language;
    }
    for (const char* language : {"fr", "english", "de_CH"}) {
        EXPECT_FALSE(SSC::SetLanguage(language)) << language;
    }
}

TEST_F(SSCTest, GuessesComeInTheCheckersOrderInItsCurrentLanguage) {
    const std::vector<std::string> guesses = SSC::GetGuessesForWord("Strasenbahn");
    ASSERT_FALSE(guesses.empty());
    EXPECT_EQ(guesses.front(), "Straßenbahn");
    EXPECT_EQ(SSC::GetGuessesForWord("Schmetterlng").front(), "Schmetterling");

    ASSERT_TRUE(SSC::SetLanguage("en_GB"));
    const std::vector<std::string> british = SSC::GetGuessesForWord("color");
    EXPECT_NE(std::find(british.begin(), british.end(), "colour"), british.end());
}

TEST_F(SSCTest, AWordWithoutGuessesGivesAnEmptyList) {
    EXPECT_TRUE(SSC::GetGuessesForWord("xqzxqzxqzk").empty());
    EXPECT_TRUE(SSC::GetGuessesForWord("").empty());
}

TEST_F(SSCTest, TheCallsLeaveNoStringBehind) {
    SSC::CheckString("Haus Fenstr", "de");
    SSC::GetGuessesForWord("Fenstr");
    const int64_t live = platform::LiveObjectCount();
    const int64_t stale = platform::StaleReferenceCount();
    EXPECT_FALSE(SSC::CheckString("Haus Fenstr", "de"));
    EXPECT_TRUE(SSC::SetLanguage("de"));
    EXPECT_EQ(platform::LiveObjectCount(), live);
    // Only the guesses array and its strings stay, in the pool until its next tick (nothing here
    // runs the event loop, so no tick comes between).
    const auto guesses = static_cast<int64_t>(SSC::GetGuessesForWord("Fenstr").size());
    EXPECT_EQ(platform::LiveObjectCount(), live + guesses + 1);
    EXPECT_EQ(platform::StaleReferenceCount(), stale);
}

TEST_F(SSCTest, TextThatIsNoValidUTF8RaisesTheBridgesException) {
    EXPECT_THROW(SSC::CheckString("Gr\xfc\xdf"
                                  "e",
                                  "de"),
                 CFTypeRefException);
    EXPECT_THROW(SSC::GetGuessesForWord("\xff"), CFTypeRefException);
}

}  // namespace
