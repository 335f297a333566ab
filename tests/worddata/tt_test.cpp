// The text table's English defaults, and the German localisation table shipped in Resources/.
// The cache-once rule has its own processes: tt_localized_test and dic_constants_test.
#include <algorithm>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "dic_fixture.h"
#include "framework/folderitem.h"
#include "framework/localization.h"
#include "tt_entries.h"

namespace {

namespace fs = std::filesystem;

// The entries keep their first text for the whole process, so this must be the first test of the
// file to call them, and no other test does.
TEST(TextTable, EnglishDefaultsAreExactToTheByte) {
    const dictest::AppLayout app;
    fw::SetLocalizationLanguage("en");
    for (const auto& [key, entry, english] : AllEntries()) {
        EXPECT_EQ(entry(), english) << key;
    }
    fw::SetLocalizationLanguage("");
}

// The German table of the build's Resources/ (copied from the source tree) answers every key the
// program asks for, with blanks, mnemonics and line breaks where the English text has them: a
// missing key would show English in the German user interface.
TEST(GermanTable, AnswersEveryKeyInTheShapeOfTheEnglishText) {
    const fs::path resources = QUORVANE_TEST_RESOURCES;
    fw::SetExecutableFile((resources.parent_path() / "bin" / "quorvane").string());
    fw::SetLocalizationLanguage("de");
    const auto count = [](const std::string& text, char sign) {
        return std::count(text.begin(), text.end(), sign);
    };
    for (const auto& [key, entry, englishText] : AllEntries()) {
        SCOPED_TRACE(key);
        const std::string english = englishText;
        const std::string german = fw::System::_GetLocalizedString(key, "\x01missing");
        ASSERT_NE(german, "\x01missing");
        ASSERT_FALSE(german.empty());
        EXPECT_EQ(german.front() == ' ', english.front() == ' ');
        EXPECT_EQ(german.back() == ' ', english.back() == ' ');
        for (const char sign : {'&', '\r', '\n'}) {
            EXPECT_EQ(count(german, sign), count(english, sign)) << german;
        }
    }
    EXPECT_EQ(fw::System::_GetLocalizedString("DIC.cLanguageDefault", ""), "DE");
    fw::SetExecutableFile("");
    fw::SetLocalizationLanguage("");
}

}  // namespace
