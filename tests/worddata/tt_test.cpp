// Localized constants keep the text of their first call for the whole process, so each test here
// is the first to call its constants, and no other test of this file calls them.
#include <algorithm>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "dic_fixture.h"
#include "framework/folderitem.h"
#include "framework/localization.h"
#include "worddata/DIC.h"
#include "worddata/TT.h"

namespace {

struct Entry {
    const char* key;
    const std::string& (*text)();
};

#define ENTRY(name) \
    { "TT." #name, TT::name }
const Entry kEntries[] = {
    ENTRY(REP_Found),        ENTRY(REP_Unknown),
    ENTRY(REP_Baseform),     ENTRY(REP_PartOfSpeech),
    ENTRY(REP_Subjects),     ENTRY(REP_Synonyms),
    ENTRY(REP_Continuation), ENTRY(REP_Similar),
    ENTRY(REP_Ending),       ENTRY(REP_Fragment),
    ENTRY(REP_MoreAnalysis), ENTRY(REP_MoreSuggestions),
    ENTRY(REP_Source),       ENTRY(REP_SystemDictionary),
    ENTRY(REP_Noun),         ENTRY(REP_Neuter),
    ENTRY(REP_Adjective),    ENTRY(REP_Verb),
    ENTRY(REP_FirstName),    ENTRY(REP_LastName),
    ENTRY(REP_UnknownType),  ENTRY(REP_Nouns),
    ENTRY(REP_Verbs),        ENTRY(REP_Adjectives),
    ENTRY(MEN_Search),       ENTRY(MEN_At),
    ENTRY(MEN_CopyWord),     ENTRY(MEN_AppendWord),
    ENTRY(MEN_NoWord),       ENTRY(MEN_NewWindow),
    ENTRY(MM_About),         ENTRY(MM_FileMenu),
    ENTRY(MM_Close),         ENTRY(MM_EditMenu),
    ENTRY(MM_Cut),           ENTRY(MM_Copy),
    ENTRY(MM_Paste),         ENTRY(MM_Delete),
    ENTRY(MM_SelectAll),     ENTRY(WIN_Title),
    ENTRY(ERR_Title),        ENTRY(ERR_Internet),
};
#undef ENTRY

// The German table shipped in Resources/ answers every text-table entry in the shape of its English
// default (blanks at the ends, mnemonics, line breaks): a missing key would show English in the
// German user interface.
TEST(GermanTable, AnswersEveryEntryInTheShapeOfItsEnglishDefault) {
    const std::filesystem::path resources = QUORVANE_TEST_RESOURCES;
    fw::SetExecutableFile((resources.parent_path() / "bin" / "quorvane").string());
    const auto count = [](const std::string& text, char sign) {
        return std::count(text.begin(), text.end(), sign);
    };
    for (const auto& [key, entry] : kEntries) {
        SCOPED_TRACE(key);
        fw::SetLocalizationLanguage("en");
        const std::string english = entry();
        fw::SetLocalizationLanguage("de");
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
