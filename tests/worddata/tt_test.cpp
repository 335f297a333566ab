// Localized constants keep the text of their first call for the whole process, so each test here
// is the first to call its constants, and no other test of this file calls them.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "dic_fixture.h"
#include "framework/folderitem.h"
#include "framework/localization.h"
#include "worddata/DIC.h"
#include "worddata/TT.h"

namespace {

// A British locale makes the English edition check with the British dictionary.
TEST(ShippedTables, BritishLocaleNamesTheBritishRegion) {
    const std::filesystem::path resources = QUORVANE_TEST_RESOURCES;
    fw::SetExecutableFile((resources.parent_path() / "bin" / "quorvane").string());
    fw::SetLocalizationLanguage("en_GB.UTF-8");
    EXPECT_EQ(fw::System::_GetLocalizedString("DIC.cSystemLanguage", "US"), "GB");
    fw::SetLocalizationLanguage("en_US.UTF-8");
    EXPECT_EQ(fw::System::_GetLocalizedString("DIC.cSystemLanguage", "US"), "US");
    fw::SetExecutableFile("");
    fw::SetLocalizationLanguage("");
}

TEST(DicConstantsTest, TranslationIsLookedUpOnceAndKeptForTheRun) {
    dictest::AppLayout layout;
    dictest::WriteFile(layout.InResources("de.strings"),
                       "DIC.cLanguageDefault = DE\nDIC.cSystemLanguage = \"GB\"\n");
    fw::SetLocalizationLanguage("de");
    EXPECT_EQ(DIC::cLanguageDefault(), "DE");
    EXPECT_EQ(DIC::cSystemLanguage(), "GB");

    dictest::WriteFile(layout.InResources("de.strings"), "DIC.cLanguageDefault = FR\n");
    fw::SetLocalizationLanguage("en");
    EXPECT_EQ(DIC::cLanguageDefault(), "DE");
    EXPECT_EQ(DIC::cSystemLanguage(), "GB");
    fw::SetLocalizationLanguage("");
}

}  // namespace
