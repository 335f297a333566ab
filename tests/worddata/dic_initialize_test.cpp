#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "dic_fixture.h"
#include "framework/application.h"
#include "framework/localization.h"
#include "search/App.h"
#include "worddata/DIC.h"
#include "worddata/PREFS.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class DicInitializeTest : public dictest::AppTest {
  protected:
    void SetUp() override {
        dictest::AppTest::SetUp();
        fw::SetLocalizationLanguage("en");
        fw::SetLongVersion("Quorvane 1.0.0");
        PREFS::Initialize();
        ASSERT_THAT(ui_->messages, IsEmpty());
    }

    void TearDown() override {
        dictest::AppTest::TearDown();
        PREFS::gPrefsDB.reset();
        fw::SetLongVersion("");
        fw::SetLocalizationLanguage("");
    }

    // A database of one word and a word-group file that puts it in one group, each beside the
    // application or in Resources/.
    void WriteWordFiles(const std::string& language, const std::string& word,
                        bool databaseBeside = false, bool groupsBeside = false) {
        const auto place = [this](bool beside, const std::string& name) {
            return beside ? layout_.BesideApp(name) : layout_.InResources(name);
        };
        dictest::WriteWordDatabase(place(databaseBeside, "DIC_DB_" + language + ".tdb"),
                                   {{0, word, 0}});
        dictest::GroupFileBytes groups;
        groups.Int32(1).Group(1, {0}).Int64(0).Int32(1).Word({1});
        dictest::WriteFile(place(groupsBeside, "DIC_WL_" + language + ".tdb"), groups.Bytes());
    }
};

TEST_F(DicInitializeTest, EditionThenPreferenceThenDefaultChooseTheLanguage) {
    struct Start {
        std::string version;
        std::string stored;                  // "" for none
        std::vector<std::string> languages;  // whose word files lie in Resources/
        bool loaded;
        std::string selected;
        bool de, en;              // gDE, gEN
        std::string word;         // word 0 of the loaded database
        std::string storedAfter;  // "" for none
    };
    const std::vector<Start> starts = {
        // "Deutsch" wins over "English"; a language the edition names is not stored.
        {"Quorvane English Deutsch 1.0", "", {"DE", "EN"}, true, "DE", true, true, "Haus", ""},
        {"Quorvane english", "DE", {"DE", "EN"}, true, "EN", true, true, "house", "DE"},
        // Stored codes and the word files' names match ignoring case.
        {"Quorvane 1.0", "en", {"EN"}, true, "en", false, true, "house", "en"},
        // The first start stores the default; an unknown code loads nothing, without a report.
        {"Quorvane 1.0", "", {"EN", "DE"}, true, "EN", true, true, "house", "EN"},
        {"Quorvane 1.0", "FR", {"DE", "EN"}, false, "FR", true, true, "", "FR"},
    };
    for (const Start& start : starts) {
        SCOPED_TRACE(start.version + ", stored " + start.stored);
        dictest::ResetWordStore();
        PREFS::gPrefsDB.reset();
        std::filesystem::remove_all(layout_.Root() / "config");
        std::filesystem::remove_all(layout_.Root() / "Resources");
        std::filesystem::create_directory(layout_.Root() / "Resources");
        PREFS::Initialize();
        for (const std::string& language : start.languages) {
            WriteWordFiles(language, language == "DE" ? "Haus" : "house");
        }
        if (!start.stored.empty()) {
            PREFS::Store("DicLanguage", fw::Variant(start.stored));
        }
        fw::SetLongVersion(start.version);

        EXPECT_EQ(DIC::Initialize(), start.loaded);
        EXPECT_EQ(DIC::gSelectedLanguage, start.selected);
        EXPECT_EQ(DIC::gDE, start.de);
        EXPECT_EQ(DIC::gEN, start.en);
        EXPECT_EQ(DIC::GetWord(0), start.word);
        EXPECT_EQ(DIC::gGroupDict != nullptr, start.loaded);
        EXPECT_EQ(PREFS::Retrieve("DicLanguage").StringValue(), start.storedAfter);
        EXPECT_THAT(ui_->messages, IsEmpty());
    }
}

TEST_F(DicInitializeTest, PlaceOfTheDatabaseDecidesWhereTheGroupFileMustLie) {
    WriteWordFiles("DE", "Haus", true, false);
    WriteWordFiles("EN", "house", true, true);
    WriteWordFiles("FR", "maison");
    EXPECT_FALSE(DIC::IsDBExisting("DE"));
    EXPECT_TRUE(DIC::IsDBExisting("EN"));
    EXPECT_TRUE(DIC::IsDBExisting("FR"));

    PREFS::Store("DicLanguage", fw::Variant("DE"));
    EXPECT_FALSE(DIC::Initialize());
    EXPECT_FALSE(DIC::gDE);
    EXPECT_EQ(DIC::gWordDB, nullptr);
    EXPECT_THAT(ui_->messages, IsEmpty());
}

}  // namespace
