// The spell-checker service as the search uses it: the language of a check, guesses prepared
// ahead, and what the calls leave behind. The checker's verdicts and guesses per language are
// tested in tests/platform.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "framework/events.h"
#include "platform/corefoundation.h"
#include "sources/SSC.h"
#include "sources/UL_HTTPSocket.h"
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

// Hunspell's guesses take tens of milliseconds (a quarter of a second for a long compound); asked
// for ahead, they cost the thread that collects them next to nothing, and they are the same.
TEST_F(SSCTest, GuessesPreparedAheadAreComputedOffTheCollectingThread) {
    const std::string word = "Strasenbahn";
    SSC::PrepareGuessesForWord(word);
    EXPECT_TRUE(SSC::GuessesPending(word));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (SSC::GuessesPending(word) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const double before = fw::ThreadCpuMilliseconds();
    const std::vector<std::string> guesses = SSC::GetGuessesForWord(word);
    EXPECT_LT(fw::ThreadCpuMilliseconds() - before, 5.0);
    ASSERT_FALSE(guesses.empty());
    EXPECT_EQ(guesses.front(), "Straßenbahn");
    EXPECT_FALSE(SSC::GuessesPending("Hasu")) << "never asked for";
}

// The spell checker's retry toggles the first character's case: by code up to "z", every
// character there included, and the German umlauts swapped; anything else stays.
TEST(ChangeCaseTest, FirstCharacterTogglesUmlautsIncluded) {
    const std::pair<const char*, const char*> kRows[] = {
        {"haus", "Haus"}, {"Haus", "haus"}, {"über", "Über"}, {"Über", "über"}, {"äh", "Äh"},
        {"Öl", "öl"},     {"ßen", "ßen"},   {"^a", ">a"},     {"éa", "éa"},     {"", ""}};
    for (const auto& [word, changed] : kRows) {
        EXPECT_EQ(UL_HTTPSocket::ChangeCase(word), changed) << word;
    }
}

}  // namespace
