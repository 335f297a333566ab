// Kept apart from the other suites: the constants are looked up once per process, so this file's
// single test must be the first to ask for them.
#include <gtest/gtest.h>

#include "dic_fixture.h"
#include "framework/localization.h"
#include "worddata/DIC.h"

namespace {

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
