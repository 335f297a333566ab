// The sound-alike pass's rounds on a word database of its own: the threshold rises by 5 from 40
// while a round keeps more than 20 words, and the round at 75 is the last.
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/database.h"
#include "framework/timer.h"
#include "search/App.h"
#include "search/PMC.h"
#include "windows/SearchWin.h"
#include "worddata/DIC.h"

namespace {

const std::string kWord = "Abcdefghij";

// `count` words of `length` letters that hold kWord whole and otherwise only letters kWord lacks,
// so their similarity to kWord is 1600 / (6 + length): 76.2 for 15 letters, 72.7 for 16, 48.5
// for 27, 44.4 for 30.
std::vector<std::string> Candidates(size_t length, int count) {
    std::vector<std::string> words;
    for (int n = 0; n < count; ++n) {
        words.push_back(kWord + static_cast<char>('k' + n / 16) + static_cast<char>('k' + n % 16));
        words.back().resize(length, 'z');
    }
    return words;
}

class SoundAlikeRoundsTest : public ::testing::Test {
  protected:
    void TearDown() override {
        SearchWin::Get().FinishedSoundexSearchTimer.SetMode(fw::Timer::ModeOff);
        DIC::gWordDB.reset();
        App::gDBLoaded = false;
        PMC::InitializeGlobals();
    }

    // The list the pass leaves for a word database of these words, all with kWord's key.
    std::vector<std::string> SoundAlikes(const std::vector<std::string>& words) {
        DIC::gWordDB = std::make_unique<fw::Database>();
        DIC::gWordDB->DatabaseFile = (dir_.path() + "/words.tdb").toStdString();
        EXPECT_TRUE(DIC::gWordDB->CreateDatabaseFile());
        DIC::gWordDB->SQLExecute(
            "DROP TABLE IF EXISTS words; CREATE TABLE words(wID, wWord, wSoundex)");
        for (size_t id = 0; id < words.size(); ++id) {
            DIC::gWordDB->SQLExecute("INSERT INTO words VALUES (" + std::to_string(id) + ", '" +
                                     words[id] + "', " + std::to_string(DIC::GetSoundex(kWord)) +
                                     ")");
        }
        DIC::gWordDB->Commit();
        App::gDBLoaded = true;
        PMC::gSearchWord = kWord;
        SearchWin::Get().SoundexSearchThread_Run();
        return PMC::gSoundexWords;
    }

    QTemporaryDir dir_;
};

TEST_F(SoundAlikeRoundsTest, TwentyWordsOrTheRoundAtSeventyFiveEndTheRoundsOfTheFirstThousandRows) {
    const std::vector<std::string> twenty = Candidates(30, 20);
    EXPECT_EQ(SoundAlikes(twenty), twenty) << "the round at 40 keeps 20: the pass ends";

    std::vector<std::string> twentyOne = twenty;
    twentyOne.push_back(Candidates(27, 1).front());
    EXPECT_EQ(SoundAlikes(twentyOne), Candidates(27, 1)) << "21 at 40, then the round at 45";

    std::vector<std::string> rows(999, Candidates(40, 1).front());  // each below 40
    rows.insert(rows.end(), twenty.begin(), twenty.begin() + 2);
    EXPECT_EQ(SoundAlikes(rows), Candidates(30, 1)) << "only the first 1000 rows are scored";

    std::vector<std::string> words = Candidates(15, 21);
    words.push_back(Candidates(16, 1).front());
    EXPECT_EQ(SoundAlikes(words), Candidates(15, 21)) << "the round at 75 is the last";
}

}  // namespace
