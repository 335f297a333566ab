// The preference store on real SQLite files, checked with SQLite itself.
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <fstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "dic_fixture.h"
#include "framework/application.h"
#include "sqlite_probe.h"
#include "worddata/PREFS.h"

namespace {

namespace fs = std::filesystem;
using sqlite_probe::Row;
using sqlite_probe::Rows;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kCreateTable =
    "CREATE TABLE preferences(pName varchar primary key, pType Integer, pValue varchar);"
    "CREATE INDEX fastpref ON preferences (pName);";

class PrefsTest : public dictest::AppTest {
  protected:
    void TearDown() override {
        dictest::AppTest::TearDown();
        PREFS::gPrefsDB.reset();
        fw::SetLongVersion("");
    }

    // A preference file beside the application, as an earlier run or a hand would have left it.
    void StartWithFileBesideApplication(const std::string& statements) {
        PREFS::gPrefsDB.reset();
        fs::remove(besideApp_);
        sqlite_probe::Execute(besideApp_, statements);
        ForgetReports();
        PREFS::Initialize();
        ASSERT_THAT(ui_->messages, IsEmpty());
    }

    const fs::path besideApp_ = layout_.BesideApp("Quorvane.pref");
    const fs::path inPrefsFolder_ = layout_.Root() / "config" / "Quorvane.pref";
};

// The first start creates the file in the preferences folder with its schema and stamps; later
// starts read it back and write no stamps. (The other tests use a file beside the application.)
TEST_F(PrefsTest, FileIsCreatedOnceWithItsStampsAndReadBack) {
    fw::SetLongVersion("Quorvane 2.5 Deutsch");
    PREFS::Initialize();
    EXPECT_THAT(Rows(inPrefsFolder_, "SELECT sql FROM sqlite_master"),
                ::testing::IsSupersetOf({Row{"CREATE TABLE preferences(pName varchar primary key, "
                                             "pType Integer, pValue varchar)"},
                                         Row{"CREATE INDEX fastpref ON preferences (pName)"}}));
    EXPECT_TRUE(PREFS::Retrieve("flag").IsNil());
    PREFS::Store("flag", fw::Variant(true));
    PREFS::Store("flag", fw::Variant("yesterday"));
    PREFS::gPrefsDB.reset();
    fw::SetLongVersion("second run");
    PREFS::Initialize();

    EXPECT_EQ(PREFS::Retrieve("flag").StringValue(), "yesterday");
    const auto kDateTime = ::testing::MatchesRegex("[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9:]{8}");
    EXPECT_THAT(Rows(inPrefsFolder_, "SELECT rowid, * FROM preferences"),
                ElementsAre(ElementsAre("1", "DB_Creation_Date", "7", kDateTime),
                            Row{"2", "DB_Creation_AppVersion", "8", "Quorvane 2.5 Deutsch"},
                            Row{"3", "DB_Creation_AppBuild", "7", fw::BuildDate()},
                            Row{"4", "flag", "8", "yesterday"}));

    EXPECT_THAT(ui_->messages, IsEmpty());
}

TEST_F(PrefsTest, StoredRowsReadBackByTheirTypeCode) {
    struct StoredRow {
        int code;
        std::string text;
        int type;            // of the value read back
        std::string value;   // its text
        std::string report;  // the fatal report, if any
    };
    const std::string kCant = "Can't retrieve preferences value. ";
    const std::vector<StoredRow> rows = {
        {0, "ignored", fw::Variant::TypeNil, "", ""},
        {2, "12abc", fw::Variant::TypeDouble, "12", ""},
        {3, "4294967296", fw::Variant::TypeDouble, "4294967296", ""},
        {5, "2.5", fw::Variant::TypeDouble, "2.5", ""},
        {7, "2024-06-11 10:00:00", fw::Variant::TypeDate, "2024-06-11 10:00:00", ""},
        {11, "TRUE", fw::Variant::TypeBoolean, "True", ""},
        {11, "yes", fw::Variant::TypeBoolean, "False", ""},
        {9, "x", fw::Variant::TypeNil, "", kCant + "Type object isn't supported."},
        {16, "&h00FF00", fw::Variant::TypeNil, "", kCant + "Type color isn't supported."},
        {4, "1.5", fw::Variant::TypeNil, "", kCant + "Unsupported and unknown type."}};
    std::string inserts;
    for (size_t i = 0; i < rows.size(); ++i) {
        inserts += "INSERT INTO preferences VALUES ('row" + std::to_string(i) + "', " +
                   std::to_string(rows[i].code) + ", '" + rows[i].text + "');";
    }
    StartWithFileBesideApplication(kCreateTable + inserts);

    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(std::to_string(rows[i].code) + ": " + rows[i].text);
        ui_->messages.clear();
        const fw::Variant value = PREFS::Retrieve("row" + std::to_string(i));
        EXPECT_EQ(value.VarType(), rows[i].type);
        EXPECT_EQ(value.StringValue(), rows[i].value);
        EXPECT_EQ(Reports(), rows[i].report.empty() ? std::vector<std::string>{}
                                                    : std::vector<std::string>{rows[i].report});
    }
    EXPECT_THAT(ui_->quitCodes, ElementsAre(0, 0, 0));
}

// Each file opens; the first read or write of DicLanguage then meets what the file lacks or
// forbids, and the rows it holds stay as they were.
TEST_F(PrefsTest, FaultyFilesEndTheRunAndKeepTheirRows) {
    const std::string kTwice =
        "CREATE TABLE preferences(pName varchar, pType Integer, pValue varchar);"
        "INSERT INTO preferences VALUES ('DicLanguage', 8, 'DE'), ('DicLanguage', 8, 'EN');";
    const std::string kEnglish = "INSERT INTO preferences VALUES ('DicLanguage', 8, 'EN');";
    const auto frozen = [](const std::string& operation) {
        return "CREATE TRIGGER frozen BEFORE " + operation +
               " ON preferences BEGIN SELECT RAISE(ABORT, 'frozen'); END;";
    };
    const std::string kRead = "Can't retrieve preferences value. ";
    const std::string kStore = "Can't store preferences value. ";
    struct FaultyFile {
        std::string statements;
        bool store;               // stores "FR", else reads
        std::string report;       // the first fatal report
        const char* valuesAfter;  // nullptr: no table to look into
    };
    const std::vector<FaultyFile> files = {
        {kCreateTable + frozen("INSERT"), true, kStore + "DB can't create the entry! (frozen)", ""},
        // A commit that succeeds clears the error state; the failed update must still show.
        {kCreateTable + kEnglish + frozen("UPDATE"), true, kStore + "Error during update. (frozen)",
         "EN"},
        // Without the primary key a name can be stored twice; neither row may be trusted.
        {kTwice, false, kRead + "The name isn't unique.", "DE EN"},
        {kTwice, true, kStore + "The name isn't unique.", "DE EN"},
    };
    for (const FaultyFile& file : files) {
        SCOPED_TRACE(file.report);
        StartWithFileBesideApplication(file.statements);
        if (file.store) {
            PREFS::Store("DicLanguage", fw::Variant("FR"));
        } else {
            EXPECT_TRUE(PREFS::Retrieve("DicLanguage").IsNil());
        }
        ASSERT_FALSE(Reports().empty());
        EXPECT_EQ(Reports().front(), file.report);
        EXPECT_EQ(ui_->quitCodes.front(), 0);
        if (file.valuesAfter) {
            EXPECT_THAT(Rows(besideApp_, "SELECT group_concat(pValue, ' ') FROM preferences"),
                        ElementsAre(Row{file.valuesAfter}));
        }
    }
}

// The file's table is checked as it opens: a view recursing for ever in its place froze the
// start-up. One report ends the run; the reads and writes of the start-up that follow stay silent.
TEST_F(PrefsTest, FileWithoutARealPreferencesTableEndsTheRunAtOpenWithOneReport) {
    const std::string kEndless = "WITH RECURSIVE r(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM r)";
    const std::string kRefused =
        "DB connection error! (no table preferences with the columns pName, pType, pValue)";
    const std::pair<std::string, std::string> kFiles[] = {
        {"CREATE VIEW preferences(pName, pType, pValue) AS " + kEndless +
             " SELECT n, 8, 'x' FROM r;",
         kRefused},
        {"CREATE TABLE preferences(pName varchar primary key, pValue varchar);", kRefused},
        {"", "DB connection error! (not a regular file)"},
    };
    for (const auto& [statements, report] : kFiles) {
        SCOPED_TRACE(report + " " + statements);
        PREFS::gPrefsDB.reset();
        fs::remove(besideApp_);
        if (statements.empty()) {
            ASSERT_EQ(::mkfifo(besideApp_.c_str(), 0600), 0);
        } else {
            sqlite_probe::Execute(besideApp_, statements);
        }
        ForgetReports();
        const auto start = std::chrono::steady_clock::now();
        PREFS::Initialize();
        EXPECT_TRUE(PREFS::Retrieve("DicLanguage").IsNil());
        PREFS::Store("DicLanguage", fw::Variant("EN"));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        EXPECT_THAT(Reports(), ElementsAre(report));
    }
}

TEST_F(PrefsTest, UnopenableFileOrFolderEndsTheRunAtStart) {
    std::ofstream(besideApp_, std::ios::binary) << std::string(4096, '\xA5');
    PREFS::Initialize();
    EXPECT_FALSE(fs::exists(inPrefsFolder_));

    fs::remove(besideApp_);
    std::ofstream(layout_.Root() / "not-a-folder") << "plain file";
    ::setenv("XDG_CONFIG_HOME", (layout_.Root() / "not-a-folder").c_str(), 1);
    PREFS::Initialize();
    EXPECT_THAT(Reports(), ElementsAre("DB connection error! (file is not a database)",
                                       "Can't create the database file!"));
    EXPECT_THAT(ui_->quitCodes, ElementsAre(0, 0));
}

// Names are pasted between double quotes; a quote inside a name must stay part of the name.
TEST_F(PrefsTest, NameWithDoubleQuotesIsDataNotSql) {
    PREFS::Initialize();
    const std::string sneaky = R"(x" OR "1"="1)";

    EXPECT_TRUE(PREFS::Retrieve(sneaky).IsNil());
    PREFS::Store(sneaky, fw::Variant("kept"));
    PREFS::Store("say \"hi\"", fw::Variant("hello"));

    EXPECT_EQ(PREFS::Retrieve(sneaky).StringValue(), "kept");
    EXPECT_EQ(PREFS::Retrieve("say \"hi\"").StringValue(), "hello");
    EXPECT_THAT(Rows(inPrefsFolder_, "SELECT pName FROM preferences WHERE pValue = 'kept'"),
                ElementsAre(Row{sneaky}));
    EXPECT_THAT(ui_->messages, IsEmpty());
}

}  // namespace
