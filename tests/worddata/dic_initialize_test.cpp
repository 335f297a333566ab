#include <cstdlib>
#include <string>

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

class DicInitializeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dictest::ResetWordStore();
        const char* config = std::getenv("XDG_CONFIG_HOME");
        savedConfigHome_ = config ? config : "";
        ::setenv("XDG_CONFIG_HOME", (layout_.Root() / "config").c_str(), 1);
        fw::SetLocalizationLanguage("en");
        fw::SetLongVersion("Quorvane 1.0.0");
        PREFS::Initialize();
        ASSERT_THAT(ui_->messages, IsEmpty());
    }

    void TearDown() override {
        dictest::ResetWordStore();
        PREFS::gPrefsDB.reset();
        fw::SetLongVersion("");
        fw::SetLocalizationLanguage("");
        if (savedConfigHome_.empty()) {
            ::unsetenv("XDG_CONFIG_HOME");
        } else {
            ::setenv("XDG_CONFIG_HOME", savedConfigHome_.c_str(), 1);
        }
    }

    // A word database of one word and a word-group file that puts it in one group.
    static void WriteWordFiles(const std::filesystem::path& database,
                               const std::filesystem::path& groups, const std::string& word) {
        dictest::WriteWordDatabase(database, {{0, word, DIC::GetSoundex(word)}});
        dictest::GroupFileBytes file;
        file.Int32(1).Group(1, {0}).Int64(0).Int32(1).Word({1});
        dictest::WriteFile(groups, file.Bytes());
    }

    void WriteInResources(const std::string& language, const std::string& word) {
        WriteWordFiles(layout_.InResources("DIC_DB_" + language + ".tdb"),
                       layout_.InResources("DIC_WL_" + language + ".tdb"), word);
    }

    std::string StoredLanguage() const { return PREFS::Retrieve("DicLanguage").StringValue(); }

    dictest::AppLayout layout_;
    ScopedRecordingUI ui_;
    std::string savedConfigHome_;
};

TEST_F(DicInitializeTest, EditionNameDeutschWinsOverEnglish) {
    WriteInResources("DE", "Haus");
    WriteInResources("EN", "house");
    fw::SetLongVersion("Quorvane English Deutsch 1.0");
    EXPECT_TRUE(DIC::Initialize());
    EXPECT_TRUE(DIC::IsDE());
    EXPECT_FALSE(DIC::IsEN());
    EXPECT_EQ(DIC::GetWord(0), "Haus");
    EXPECT_TRUE(PREFS::Retrieve("DicLanguage").IsNil());
}

TEST_F(DicInitializeTest, EnglishInLowerCaseNamesTheEnglishEdition) {
    WriteInResources("DE", "Haus");
    WriteInResources("EN", "house");
    PREFS::Store("DicLanguage", fw::Variant("DE"));
    fw::SetLongVersion("Quorvane english");
    EXPECT_TRUE(DIC::Initialize());
    EXPECT_TRUE(DIC::IsEN());
    EXPECT_EQ(DIC::gSelectedLanguage, "EN");
    EXPECT_EQ(DIC::GetWord(0), "house");
}

TEST_F(DicInitializeTest, StoredLowerCaseCodeSelectsAndLoadsEnglish) {
    WriteInResources("EN", "house");
    PREFS::Store("DicLanguage", fw::Variant("en"));
    EXPECT_TRUE(DIC::Initialize());
    EXPECT_EQ(DIC::gSelectedLanguage, "en");
    EXPECT_TRUE(DIC::IsEN());
    EXPECT_TRUE(DIC::gEN);
    EXPECT_FALSE(DIC::gDE);
    EXPECT_EQ(DIC::GetWord(0), "house");
    EXPECT_THAT(ui_->messages, IsEmpty());
}

TEST_F(DicInitializeTest, FilesNamedWithTheStoredCodeAreFoundToo) {
    WriteInResources("en", "house");
    PREFS::Store("DicLanguage", fw::Variant("en"));
    EXPECT_TRUE(DIC::Initialize());
    EXPECT_TRUE(DIC::gEN);
    EXPECT_EQ(DIC::GetWord(0), "house");
}

TEST_F(DicInitializeTest, OtherStoredCodeLoadsNothingWithoutReport) {
    WriteInResources("DE", "Haus");
    WriteInResources("EN", "house");
    PREFS::Store("DicLanguage", fw::Variant("FR"));
    EXPECT_FALSE(DIC::Initialize());
    EXPECT_FALSE(DIC::IsDE());
    EXPECT_FALSE(DIC::IsEN());
    EXPECT_TRUE(DIC::gDE);
    EXPECT_TRUE(DIC::gEN);
    EXPECT_EQ(DIC::gWordDB, nullptr);
    EXPECT_EQ(DIC::gGroupDict, nullptr);
    EXPECT_THAT(ui_->messages, IsEmpty());
}

TEST_F(DicInitializeTest, FirstStartStoresTheDefaultAndLaterStartsReadItBack) {
    WriteInResources("EN", "house");
    WriteInResources("DE", "Haus");
    EXPECT_TRUE(DIC::Initialize());
    EXPECT_EQ(DIC::gSelectedLanguage, "EN");
    EXPECT_EQ(StoredLanguage(), "EN");

    dictest::ResetWordStore();
    PREFS::Store("DicLanguage", fw::Variant("de"));
    EXPECT_TRUE(DIC::Initialize());
    EXPECT_EQ(DIC::gSelectedLanguage, "de");
    EXPECT_EQ(StoredLanguage(), "de");
    EXPECT_EQ(DIC::GetWord(0), "Haus");
}

TEST_F(DicInitializeTest, DatabaseBesideAppWithGroupFileInResourcesCountsAsMissing) {
    WriteWordFiles(layout_.BesideApp("DIC_DB_DE.tdb"), layout_.InResources("DIC_WL_DE.tdb"),
                   "Haus");
    PREFS::Store("DicLanguage", fw::Variant("DE"));
    EXPECT_FALSE(DIC::IsDBExisting("DE"));
    EXPECT_FALSE(DIC::Initialize());
    EXPECT_FALSE(DIC::gDE);
    EXPECT_EQ(DIC::gWordDB, nullptr);
    EXPECT_THAT(ui_->messages, IsEmpty());
}

TEST_F(DicInitializeTest, EachLanguageIsFoundInItsOwnPlace) {
    WriteWordFiles(layout_.BesideApp("DIC_DB_EN.tdb"), layout_.BesideApp("DIC_WL_EN.tdb"), "house");
    WriteInResources("DE", "Haus");
    EXPECT_TRUE(DIC::IsDBExisting("EN"));
    EXPECT_TRUE(DIC::IsDBExisting("DE"));
    EXPECT_FALSE(DIC::IsDBExisting("FR"));
    EXPECT_EQ(DIC::GetResourceFolder().NativePath(), (layout_.Root() / "Resources").string());
}

TEST_F(DicInitializeTest, NoWordFilesMeansNoDataAndNoReport) {
    EXPECT_FALSE(DIC::Initialize());
    EXPECT_TRUE(DIC::IsEN());
    EXPECT_FALSE(DIC::gDE);
    EXPECT_FALSE(DIC::gEN);
    EXPECT_THAT(ui_->messages, IsEmpty());
}

TEST_F(DicInitializeTest, CorruptGroupFileFailsTheStartWithReport) {
    WriteInResources("EN", "house");
    dictest::WriteFile(layout_.InResources("DIC_WL_EN.tdb"), std::string(2, '\0'));
    EXPECT_FALSE(DIC::Initialize());
    EXPECT_THAT(dictest::Reports(ui_.get()), ElementsAre("Selected word list file is corrupted!"));
}

TEST_F(DicInitializeTest, TerminateReleasesLoadedDataOnly) {
    WriteInResources("EN", "house");
    App::gDBLoaded = DIC::Initialize();
    ASSERT_TRUE(App::gDBLoaded);
    DIC::Terminate();
    EXPECT_EQ(DIC::gWordDB, nullptr);
    EXPECT_EQ(DIC::gGroupDict, nullptr);
    EXPECT_EQ(DIC::gWordGroupsDict.Count(), 0u);
    App::gDBLoaded = false;
    DIC::Terminate();
    EXPECT_EQ(DIC::gWordDB, nullptr);
}

TEST_F(DicInitializeTest, LanguageTestsAreFalseBeforeStart) {
    EXPECT_FALSE(DIC::IsDE());
    EXPECT_FALSE(DIC::IsEN());
    EXPECT_EQ(DIC::gUL_UseWWW, 0);
}

TEST_F(DicInitializeTest, BuiltInConstantsWithoutTranslation) {
    EXPECT_EQ(DIC::cLanguageDefault(), "EN");
    EXPECT_EQ(DIC::cSystemLanguage(), "US");
}

}  // namespace
