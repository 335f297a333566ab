#include "framework/localization.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/folderitem.h"
#include "scoped_environment.h"

namespace {

// An application folder whose Resources/ the test fills with tables; the language is German.
class LocalizationTest : public ::testing::Test {
  protected:
    LocalizationTest() { fw::SetLocalizationLanguage("de"); }
    ~LocalizationTest() override { fw::SetLocalizationLanguage(""); }

    void WriteTable(const std::string& language, const std::string& contents) const {
        std::ofstream(layout_.InResources(language + ".strings"), std::ios::binary) << contents;
    }

    static std::string Lookup(const std::string& key) {
        return fw::System::_GetLocalizedString(key, "<default>");
    }

  private:
    ScopedAppLayout layout_;
};

// Quoted values, comments and escaped line ends are proven with the shipped German table. A
// malformed line is skipped and the rest read, also after bytes of no encoding at all.
TEST_F(LocalizationTest, TableLinesGiveTheirValuesAndMalformedOnesAreSkipped) {
    std::string garbage;
    for (int i = 0; i < 5000; ++i) {
        garbage += static_cast<char>((i * 7919) % 256);
    }
    WriteTable("de",
               "\xEF\xBB\xBF"
               "TT.MM_Copy=&Kopieren\r\n"
               "TT.REP_Source = Quellen:   \n"
               "Other = a\\nb\\tc\\\\d\\\"e\n"
               "Equals = x = y\n"
               "NoEquals Substantiv\n"
               "DanglingBackslash = ab\\\n"
               "Unterminated = \"offen\n"
               "Latin1 = Gr\xF6\xDF"
               "e\n"
               "   # Indented = Kommentar\n" +
                   garbage + "\nGood = gut\n");
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"TT.MM_Copy", "&Kopieren"}, {"TT.REP_Source", "Quellen:"}, {"Other", "a\nb\tc\\d\"e"},
        {"Equals", "x = y"},         {"tt.mm_copy", "<default>"},   {"Good", "gut"}};
    for (const auto& [key, value] : rows) {
        EXPECT_EQ(Lookup(key), value) << key;
    }
    for (const char* key : {"NoEquals Substantiv", "NoEquals", "DanglingBackslash", "Unterminated",
                            "Latin1", "Indented"}) {
        EXPECT_EQ(Lookup(key), "<default>") << key;
    }
}

// The locale's language chooses the table; its region has a table of its own that answers before
// the language's. English has only region tables, and a missing table gives the defaults.
TEST_F(LocalizationTest, LanguageAndRegionFromTheFirstSetLocaleVariableChooseTheTables) {
    WriteTable("de", "A = de\nB = de\n");
    WriteTable("de_AT", "A = at\n");
    WriteTable("en", "A = en\n");
    WriteTable("en_GB", "A = gb\n");
    // A FIFO in place of a table would block the first lookup for ever.
    ASSERT_EQ(::mkfifo(fw::ResourcesFolder().Child("fr.strings").NativePath().c_str(), 0600), 0);
    struct Case {
        const char* locale;
        const char* key;
        const char* value;
    };
    for (const Case& c : {Case{"de_AT.UTF-8", "A", "at"}, Case{"de_AT@euro", "B", "de"},
                          Case{"de_DE.UTF-8", "A", "de"}, Case{"en_GB.UTF-8", "A", "gb"},
                          Case{"en_US.UTF-8", "A", "<default>"}, Case{"en_G1", "A", "<default>"},
                          Case{"en_..", "A", "<default>"}, Case{"fr_FR", "A", "<default>"}}) {
        const ScopedEnvironment lang("LANG", c.locale);
        fw::SetLocalizationLanguage("");
        EXPECT_EQ(Lookup(c.key), c.value) << c.locale;
    }
    // The language names a file in Resources/, so a locale variable must never lead elsewhere.
    struct Variables {
        std::optional<std::string> all, messages, lang;
        std::string language;
    };
    const std::vector<Variables> cases = {
        {"de_DE.UTF-8", "fr_FR", "es_ES", "de"},
        {"", "fr_FR.UTF-8", "es_ES", "fr"},
        {std::nullopt, std::nullopt, "nds_DE", "nds"},
        {"C.UTF-8", "de_DE", "de_DE", "en"},
        {"../../etc/passwd", std::nullopt, std::nullopt, "en"},
        {"d1_DE", std::nullopt, std::nullopt, "en"},
    };
    for (const Variables& c : cases) {
        const ScopedEnvironment all("LC_ALL", c.all);
        const ScopedEnvironment messages("LC_MESSAGES", c.messages);
        const ScopedEnvironment lang("LANG", c.lang);
        EXPECT_EQ(fw::LocalizationLanguage(), c.language)
            << c.all.value_or("-") << " " << c.messages.value_or("-") << " "
            << c.lang.value_or("-");
    }
    const ScopedEnvironment swiss("LC_ALL", "de_CH.UTF-8");
    fw::SetLocalizationLanguage("fr");
    EXPECT_EQ(fw::LocalizationLanguage(), "fr") << "the override wins over the locale";
}

// The shipped tables: a British locale makes the English edition check with the British
// dictionary.
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

}  // namespace
