#include "framework/localization.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "framework/folderitem.h"

namespace {

namespace fs = std::filesystem;

// Sets (or with nullopt unsets) an environment variable for the scope of a test.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        Apply(value);
    }
    ~ScopedEnvironment() { Apply(old_); }

  private:
    void Apply(const std::optional<std::string>& value) {
        if (value) {
            ::setenv(name_, value->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    const char* name_;
    std::optional<std::string> old_;
};

// An application folder whose Resources/ the test fills with tables; the language is German.
class LocalizationTest : public ::testing::Test {
  protected:
    LocalizationTest() : resources_(fs::path(folder_.path().toStdString()) / "Resources") {
        fs::create_directories(resources_.parent_path() / "bin");
        fs::create_directories(resources_);
        fw::SetExecutableFile((resources_.parent_path() / "bin" / "quorvane").string());
        fw::SetLocalizationLanguage("de");
    }
    ~LocalizationTest() override {
        fw::SetExecutableFile("");
        fw::SetLocalizationLanguage("");
    }

    void WriteTable(const std::string& language, const std::string& contents) const {
        std::ofstream(resources_ / (language + ".strings"), std::ios::binary) << contents;
    }

    static std::string Lookup(const std::string& key) {
        return fw::System::_GetLocalizedString(key, "<default>");
    }

  private:
    QTemporaryDir folder_;
    fs::path resources_;
};

TEST_F(LocalizationTest, TranslatedKeyReplacesTheDefault) {
    WriteTable("de", "TT.REP_Unknown = Unbekanntes Wort.\nTT.MM_Copy=&Kopieren\n");
    EXPECT_EQ(Lookup("TT.REP_Unknown"), "Unbekanntes Wort.");
    EXPECT_EQ(Lookup("TT.MM_Copy"), "&Kopieren");
}

TEST_F(LocalizationTest, KeyWithoutTranslationGivesTheDefaultByteForByte) {
    WriteTable("de", "TT.REP_Unknown = Unbekanntes Wort.\n");
    EXPECT_EQ(fw::System::_GetLocalizedString("TT.REP_Found", " was found!"), " was found!");
    EXPECT_EQ(fw::System::_GetLocalizedString("TT.ERR_Internet", "a\r\rb"), "a\r\rb");
}

TEST_F(LocalizationTest, KeysAreMatchedWithTheirLetterCase) {
    WriteTable("de", "TT.REP_Noun = Substantiv\n");
    EXPECT_EQ(Lookup("tt.rep_noun"), "<default>");
}

TEST_F(LocalizationTest, QuotedValueKeepsItsBlanks) {
    WriteTable("de",
               "TT.REP_Found = \" wurde gefunden!\"\n"
               "TT.MEN_Search =\t\"Suche \"  \n"
               "TT.REP_Source = Quellen:   \n");
    EXPECT_EQ(Lookup("TT.REP_Found"), " wurde gefunden!");
    EXPECT_EQ(Lookup("TT.MEN_Search"), "Suche ");
    EXPECT_EQ(Lookup("TT.REP_Source"), "Quellen:");
}

TEST_F(LocalizationTest, EscapesInTheValueAreResolved) {
    WriteTable("de",
               "TT.ERR_Internet = \"Keine Verbindung!\\r\\rBitte warten.\"\n"
               "Other = a\\nb\\tc\\\\d\\\"e\n"
               "Equals = x = y\n");
    EXPECT_EQ(Lookup("TT.ERR_Internet"), "Keine Verbindung!\r\rBitte warten.");
    EXPECT_EQ(Lookup("Other"), "a\nb\tc\\d\"e");
    EXPECT_EQ(Lookup("Equals"), "x = y");
}

TEST_F(LocalizationTest, MalformedLinesAreSkippedAndTheRestIsRead) {
    WriteTable("de",
               "NoEquals Substantiv\n"
               " = no key\n"
               "UnknownEscape = a\\qb\n"
               "DanglingBackslash = ab\\\n"
               "Unterminated = \"offen\n"
               "StrayQuote = \"zu\" mehr\n"
               "QuoteInside = a\"b\n"
               "Latin1 = Gr\xF6\xDF"
               "e\n"
               "# Commented = Kommentar\n"
               "   # Indented = Kommentar\n"
               "\n"
               "Good = gut\n");
    for (const char* key : {"NoEquals Substantiv", "NoEquals", "", "UnknownEscape",
                            "DanglingBackslash", "Unterminated", "StrayQuote", "QuoteInside",
                            "Latin1", "# Commented", "Commented", "Indented"}) {
        EXPECT_EQ(Lookup(key), "<default>") << key;
    }
    EXPECT_EQ(Lookup("Good"), "gut");
}

TEST_F(LocalizationTest, WindowsLineEndsAndAByteOrderMarkAreAccepted) {
    WriteTable("de",
               "\xEF\xBB\xBF"
               "First = Größe\r\nSecond = \" zwei \"\r\n");
    EXPECT_EQ(Lookup("First"), "Größe");
    EXPECT_EQ(Lookup("Second"), " zwei ");
}

TEST_F(LocalizationTest, LaterLineForTheSameKeyWins) {
    WriteTable("de", "Key = erst\nKey = dann\n");
    EXPECT_EQ(Lookup("Key"), "dann");
}

TEST_F(LocalizationTest, BinaryGarbageGivesDefaults) {
    std::string garbage;
    for (int i = 0; i < 5000; ++i) {
        garbage += static_cast<char>((i * 7919) % 256);
    }
    WriteTable("de", garbage);
    EXPECT_EQ(Lookup("TT.REP_Noun"), "<default>");
}

TEST_F(LocalizationTest, TableIsReadOnceAndKeptUntilTheLanguageIsSetAgain) {
    WriteTable("de", "TT.REP_Verb = Verb (alt)\n");
    EXPECT_EQ(Lookup("TT.REP_Verb"), "Verb (alt)");
    WriteTable("de", "TT.REP_Verb = Verb (neu)\n");
    EXPECT_EQ(Lookup("TT.REP_Verb"), "Verb (alt)");

    fw::SetLocalizationLanguage("de");
    EXPECT_EQ(Lookup("TT.REP_Verb"), "Verb (neu)");
}

TEST_F(LocalizationTest, EnglishUsesTheBuiltInDefaultsEvenWithATable) {
    WriteTable("en", "TT.REP_Noun = Substantive\n");
    fw::SetLocalizationLanguage("en");
    EXPECT_EQ(Lookup("TT.REP_Noun"), "<default>");
}

TEST_F(LocalizationTest, LanguageWithoutATableGivesDefaults) {
    WriteTable("de", "TT.REP_Noun = Substantiv\n");
    fw::SetLocalizationLanguage("fr");
    EXPECT_EQ(Lookup("TT.REP_Noun"), "<default>");
}

TEST_F(LocalizationTest, LanguageComesFromTheFirstSetLocaleVariable) {
    fw::SetLocalizationLanguage("");
    struct Case {
        std::optional<std::string> all, messages, lang;
        std::string language;
    };
    const std::vector<Case> cases = {
        {"de_DE.UTF-8", "fr_FR", "es_ES", "de"},
        {"", "fr_FR.UTF-8", "es_ES", "fr"},
        {std::nullopt, std::nullopt, "de_AT@euro", "de"},
        {std::nullopt, std::nullopt, "DE_de", "de"},
        {std::nullopt, std::nullopt, "nds_DE", "nds"},
        {std::nullopt, std::nullopt, "de", "de"},
        {"C", "de_DE", "de_DE", "en"},
        {"C.UTF-8", std::nullopt, "de_DE", "en"},
        {"POSIX", std::nullopt, std::nullopt, "en"},
        {std::nullopt, std::nullopt, std::nullopt, "en"},
        {"", "", "", "en"},
        {"../../etc/passwd", std::nullopt, std::nullopt, "en"},
        {"d1_DE", std::nullopt, std::nullopt, "en"},
    };
    for (const Case& c : cases) {
        const ScopedEnvironment all("LC_ALL", c.all);
        const ScopedEnvironment messages("LC_MESSAGES", c.messages);
        const ScopedEnvironment lang("LANG", c.lang);
        EXPECT_EQ(fw::LocalizationLanguage(), c.language)
            << c.all.value_or("-") << " " << c.messages.value_or("-") << " "
            << c.lang.value_or("-");
    }
}

TEST_F(LocalizationTest, OverrideWinsOverTheLocale) {
    const ScopedEnvironment all("LC_ALL", "fr_FR.UTF-8");
    fw::SetLocalizationLanguage("de");
    EXPECT_EQ(fw::LocalizationLanguage(), "de");
    fw::SetLocalizationLanguage("");
    EXPECT_EQ(fw::LocalizationLanguage(), "fr");
}

TEST_F(LocalizationTest, LocaleChoosesTheTable) {
    WriteTable("de", "TT.REP_Adjective = Adjektiv\n");
    fw::SetLocalizationLanguage("");
    const ScopedEnvironment all("LC_ALL", "de_CH.UTF-8");
    EXPECT_EQ(Lookup("TT.REP_Adjective"), "Adjektiv");
}

}  // namespace
