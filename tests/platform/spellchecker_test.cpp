// The Hunspell-backed checker: the misspelled range per language, guesses, and dictionaries that
// are not in UTF-8. Uses the system dictionaries in /usr/share/hunspell.
#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "platform/spellchecker.h"

namespace {

using platform::SpellChecker;
using platform::SpellingRange;

class SpellCheckerTest : public ::testing::Test {
  protected:
    // Loading a dictionary is the expensive part: one checker for the whole suite.
    static SpellChecker& Checker() {
        static SpellChecker checker("/usr/share/hunspell");
        return checker;
    }
    static SpellingRange Check(const char* text, const std::string& language) {
        return Checker().Check(QString::fromUtf8(text), 0, language, false, nullptr);
    }
};

TEST_F(SpellCheckerTest, TheRangeIsTheFirstMisspelledWordOrEmpty) {
    struct Case {
        const char* text;
        const char* language;
        uint32_t location;
        uint32_t length;
    };
    const uint32_t none = SpellChecker::kNotFound;
    for (const Case& c : {
             Case{"Haus Fenstr", "de", 5, 6},
             Case{"Straße über", "de", none, 0},
             Case{"colour", "en", 0, 6},
             Case{"colour", "en_GB", none, 0},
             Case{"Haus house colour", "Multilingual", none, 0},
             Case{"Haus Hasu", "Multilingual", 5, 4},
             Case{"1999", "de", none, 0},
             Case{"", "de", none, 0},
             Case{"Haus", "", 0, 4},
         }) {
        SCOPED_TRACE(std::string(c.text) + " / " + c.language);
        const SpellingRange range = Check(c.text, c.language);
        EXPECT_EQ(range.length, c.length);
        EXPECT_EQ(range.location, c.location);
    }
}

TEST_F(SpellCheckerTest, MultilingualGuessesInterleaveTheDictionariesEachGuessOnce) {
    ASSERT_TRUE(Checker().SetLanguage("Multilingual"));
    const std::vector<std::string> guesses = Checker().Guesses("color");
    // Rank by rank in the order German, American, British; "colon" is in both English lists.
    ASSERT_GE(guesses.size(), 3u);
    EXPECT_EQ(guesses[0], "cool");
    EXPECT_EQ(guesses[1], "color");
    EXPECT_EQ(guesses[2], "colour");
    EXPECT_EQ(std::count(guesses.begin(), guesses.end(), "colon"), 1);
}

// Hunspell knows single words: a phrase is judged word by word, and only a misspelled word is
// replaced by the guesses.
TEST_F(SpellCheckerTest, PhraseGuessesReplaceOnlyItsMisspelledWord) {
    ASSERT_TRUE(Checker().SetLanguage("en"));
    EXPECT_TRUE(Checker().Guesses("kick the bucket").empty());
    const std::vector<std::string> guesses = Checker().Guesses("kick the buckt");
    EXPECT_NE(std::find(guesses.begin(), guesses.end(), "kick the bucket"), guesses.end());
    for (const std::string& guess : guesses) {
        EXPECT_EQ(guess.rfind("kick the ", 0), 0u) << guess;
    }
}

// Every system dictionary is in UTF-8; one in its own 8-bit encoding takes the word and gives
// back its guesses in UTF-8 all the same.
TEST(Latin1DictionaryTest, WordsGoInAndGuessesComeBackInUtf8) {
    QTemporaryDir folder;
    const std::string base = folder.filePath("de_DE").toStdString();
    std::ofstream(base + ".aff", std::ios::binary) << "SET ISO8859-1\nTRY \xe4\xf6rBL\n";
    std::ofstream(base + ".dic", std::ios::binary) << "2\nB\xe4r\nL\xf6we\n";
    SpellChecker checker(folder.path().toStdString());
    ASSERT_TRUE(checker.SetLanguage("de"));
    EXPECT_EQ(checker.Check("Löwe Bäär", 0, "de", false, nullptr).location, 5u);
    EXPECT_EQ(checker.Guesses("Bäär"), std::vector<std::string>{"Bär"});
}

}  // namespace
