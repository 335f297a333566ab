// The text table's English defaults, the cache-once rule of localized constants, and the German
// localisation table shipped in Resources/.
#include <QTemporaryDir>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "framework/folderitem.h"
#include "framework/localization.h"
#include "tt_entries.h"
#include "worddata/LocalizedConstant.h"
#include "worddata/TT.h"

namespace {

namespace fs = std::filesystem;

// An application folder in a temporary directory: bin/quorvane and Resources/.
class TemporaryApplication {
  public:
    TemporaryApplication() : root_(dir_.path().toStdString()) {
        fs::create_directories(root_ / "bin");
        fs::create_directories(root_ / "Resources");
        fw::SetExecutableFile((root_ / "bin" / "quorvane").string());
    }
    ~TemporaryApplication() {
        fw::SetExecutableFile("");
        fw::SetLocalizationLanguage("");
    }

    // Writes the language's table and makes it the one the lookup reads next.
    void WriteTable(const std::string& language, const std::string& lines) {
        std::ofstream(root_ / "Resources" / (language + ".strings"), std::ios::binary) << lines;
        fw::SetLocalizationLanguage(language);
    }

  private:
    QTemporaryDir dir_;
    fs::path root_;
};

// The defaults hold in a run without translations; the cache makes these the texts for the whole
// process, so every test of this file that calls an entry runs in English.
TEST(TextTable, EnglishDefaultsAreExactToTheByte) {
    const TemporaryApplication app;
    fw::SetLocalizationLanguage("en");

    EXPECT_EQ(TT::REP_Found(), " was found!");
    EXPECT_EQ(TT::REP_Unknown(), "Unknown word.");
    EXPECT_EQ(TT::REP_Baseform(), "Baseform: ");
    EXPECT_EQ(TT::REP_PartOfSpeech(), "Part of speech: ");
    EXPECT_EQ(TT::REP_Subjects(), "Subject groups: ");
    EXPECT_EQ(TT::REP_Synonyms(), "Synonyms...");
    EXPECT_EQ(TT::REP_Continuation(), "Possible continuation...");
    EXPECT_EQ(TT::REP_Similar(), "Similar to...");
    EXPECT_EQ(TT::REP_Ending(), "Words with this ending...");
    EXPECT_EQ(TT::REP_Fragment(), "Other words with this fragment...");
    EXPECT_EQ(TT::REP_MoreAnalysis(), "Please wait for more analysis...");
    EXPECT_EQ(TT::REP_MoreSuggestions(), "Please wait for more suggestions...");
    EXPECT_EQ(TT::REP_Source(), "List of sources: ");
    EXPECT_EQ(TT::REP_SystemDictionary(), "Mac OS X System Dictionary");
    EXPECT_EQ(TT::REP_Noun(), "Noun");
    EXPECT_EQ(TT::REP_Neuter(), "Neuter");
    EXPECT_EQ(TT::REP_Adjective(), "Adjective");
    EXPECT_EQ(TT::REP_Verb(), "Verb");
    EXPECT_EQ(TT::REP_FirstName(), "Proper first name");
    EXPECT_EQ(TT::REP_LastName(), "Proper surname");
    EXPECT_EQ(TT::REP_UnknownType(), "Unknown");
    EXPECT_EQ(TT::REP_Nouns(), "Nouns...");
    EXPECT_EQ(TT::REP_Verbs(), "Verbs...");
    EXPECT_EQ(TT::REP_Adjectives(), "Adjectives...");
    EXPECT_EQ(TT::MEN_Search(), "Search ");
    EXPECT_EQ(TT::MEN_At(), " at...");
    EXPECT_EQ(TT::MEN_CopyWord(), "Copy word");
    EXPECT_EQ(TT::MEN_AppendWord(), "Append word");
    EXPECT_EQ(TT::MEN_NoWord(), "No word selected!");
    EXPECT_EQ(TT::MEN_NewWindow(), "Open new window");
    EXPECT_EQ(TT::MM_About(), "About Quorvane");
    EXPECT_EQ(TT::MM_FileMenu(), "&File");
    EXPECT_EQ(TT::MM_Close(), "Close Window");
    EXPECT_EQ(TT::MM_EditMenu(), "&Edit");
    EXPECT_EQ(TT::MM_Cut(), "Cu&t");
    EXPECT_EQ(TT::MM_Copy(), "&Copy");
    EXPECT_EQ(TT::MM_Paste(), "&Paste");
    EXPECT_EQ(TT::MM_Delete(), "Delete");
    EXPECT_EQ(TT::MM_SelectAll(), "Select &All");
    EXPECT_EQ(TT::WIN_Title(), "Result of ");
    EXPECT_EQ(TT::ERR_Title(), "Program Error!");
    EXPECT_EQ(TT::ERR_Internet(),
              "The internet connection has failed!\r\rEither the servers are down, too busy to "
              "answer or your internet connection isn't working. Quorvane shows this message only "
              "once and will keep trying to get a connection.");
}

TEST(TextTable, InternetErrorHoldsExactlyTwoCarriageReturnsAndNoLineFeed) {
    const TemporaryApplication app;
    fw::SetLocalizationLanguage("en");
    const std::string& text = TT::ERR_Internet();

    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 2);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_EQ(text.find("!\r\rEither the servers"), text.find('\r') - 1);
}

TEST(TextTable, EntriesAnswerTheSameStoredTextOnEveryCall) {
    const TemporaryApplication app;
    fw::SetLocalizationLanguage("en");

    for (const auto& [key, entry] : AllEntries()) {
        EXPECT_EQ(&entry(), &entry()) << key;
    }
}

TEST(LocalizedConstantCache, KeyMissingFromTheTableYieldsTheDefault) {
    TemporaryApplication app;
    app.WriteTable("de", "TT.Other = Anderes\n");
    LocalizedConstant constant("TT.Sample", " Vorgabe mit Leerzeichen ");

    EXPECT_EQ(constant(), " Vorgabe mit Leerzeichen ");
}

TEST(LocalizedConstantCache, LooksUpOnFirstUseNotAtConstruction) {
    TemporaryApplication app;
    app.WriteTable("de", "TT.Sample = Alt\n");
    LocalizedConstant constant("TT.Sample", "default");

    app.WriteTable("de", "TT.Sample = Neu\n");

    EXPECT_EQ(constant.Value(), "Neu");
}

TEST(LocalizedConstantCache, SecondCallKeepsFirstTextAfterTheTableChanged) {
    TemporaryApplication app;
    app.WriteTable("de", "TT.Sample = Erstfassung\n");
    LocalizedConstant constant("TT.Sample", "default");
    const std::string first = constant();

    app.WriteTable("de", "TT.Sample = Zweitfassung\n");
    ASSERT_EQ(fw::System::_GetLocalizedString("TT.Sample", "default"), "Zweitfassung");

    EXPECT_EQ(first, "Erstfassung");
    EXPECT_EQ(constant(), "Erstfassung");
}

TEST(LocalizedConstantCache, ConstantStaysOnItsDefaultWhenFirstAskedWithoutTranslation) {
    TemporaryApplication app;
    fw::SetLocalizationLanguage("en");
    LocalizedConstant constant("TT.Sample", "default");
    EXPECT_EQ(constant(), "default");

    app.WriteTable("de", "TT.Sample = Übersetzung\n");

    EXPECT_EQ(constant(), "default");
}

// The German table of the build's Resources/ (copied from the source tree) answers every key the
// program asks for; a missing key would show English in the German user interface.
class GermanTable : public ::testing::Test {
  protected:
    void SetUp() override {
        const fs::path resources = QUORVANE_TEST_RESOURCES;
        fw::SetExecutableFile((resources.parent_path() / "bin" / "quorvane").string());
        fw::SetLocalizationLanguage("de");
    }
    void TearDown() override {
        fw::SetExecutableFile("");
        fw::SetLocalizationLanguage("");
    }
    static std::string Lookup(const std::string& key) {
        return fw::System::_GetLocalizedString(key, kMissing);
    }
    static constexpr const char* kMissing = "\x01missing";
};

TEST_F(GermanTable, AnswersEveryTextTableKey) {
    for (const auto& [key, entry] : AllEntries()) {
        const std::string text = Lookup(key);
        EXPECT_NE(text, kMissing) << key;
        EXPECT_FALSE(text.empty()) << key;
    }
}

TEST_F(GermanTable, NamesGermanAsTheDefaultLanguage) {
    EXPECT_EQ(Lookup("DIC.cLanguageDefault"), "DE");
}

TEST_F(GermanTable, KeepsBlanksAtTheSameEndsAsTheEnglishTexts) {
    for (const char* key : {"TT.REP_Found", "TT.MEN_At"}) {
        EXPECT_EQ(Lookup(key).front(), ' ') << key;
    }
    for (const char* key : {"TT.MEN_Search", "TT.REP_Baseform", "TT.REP_PartOfSpeech",
                            "TT.REP_Subjects", "TT.REP_Source", "TT.WIN_Title"}) {
        EXPECT_EQ(Lookup(key).back(), ' ') << key;
    }
}

TEST_F(GermanTable, MenuCaptionsKeepOneMnemonicWhereEnglishHasOne) {
    for (const char* key : {"TT.MM_FileMenu", "TT.MM_EditMenu", "TT.MM_Cut", "TT.MM_Copy",
                            "TT.MM_Paste", "TT.MM_SelectAll"}) {
        const std::string text = Lookup(key);
        EXPECT_EQ(std::count(text.begin(), text.end(), '&'), 1) << key << ": " << text;
    }
}

TEST_F(GermanTable, InternetErrorKeepsItsTwoCarriageReturns) {
    const std::string text = Lookup("TT.ERR_Internet");

    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 2);
    EXPECT_NE(text.find("!\r\r"), std::string::npos);
}

}  // namespace
