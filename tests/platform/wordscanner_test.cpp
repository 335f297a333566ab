// Which parts of a text the spell checker judges as words, in UTF-16 positions.
#include <gtest/gtest.h>

#include <QString>
#include <vector>

#include "platform/wordscanner.h"

namespace {

using platform::FindWords;
using platform::WordSpan;

struct ScanCase {
    const char* text;
    std::vector<WordSpan> words;
};

TEST(WordScannerTest, WordsAreRunsOfLettersJoinedOnlyByInnerApostrophesAndHyphens) {
    const std::vector<ScanCase> cases = {
        {"  ,. ", {}},
        {"Haus Fenstr", {{0, 4}, {5, 6}}},
        {"Mutter-Kind", {{0, 11}}},
        {"don't", {{0, 5}}},
        {"don\u2019t", {{0, 5}}},
        {"-Haus-", {{1, 4}}},
        {"Haus--Boot", {{0, 4}, {6, 4}}},
        {"Haus' Boot", {{0, 4}, {6, 4}}},
        {"über Straße", {{0, 4}, {5, 6}}},
        {"1999 Jahre", {{0, 4}, {5, 5}}},
        {"Cafe\u0301 au", {{0, 5}, {6, 2}}},
        // Positions count UTF-16 code units; U+1D400 is a letter, U+1F600 none and separates.
        {"a\U0001D400b", {{0, 4}}},
        {"a\U0001F600b", {{0, 1}, {3, 1}}},
    };
    for (const ScanCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FindWords(QString::fromUtf8(c.text)), c.words);
    }
}

TEST(WordScannerTest, LoneSurrogatesSeparateWordsWithoutReadingPastTheText) {
    QString text = "ab";
    text.append(QChar(0xD800));
    EXPECT_EQ(FindWords(text), (std::vector<WordSpan>{{0, 2}}));
    text.append("cd");
    EXPECT_EQ(FindWords(text), (std::vector<WordSpan>{{0, 2}, {3, 2}}));
}

}  // namespace
