// The preference store on real SQLite files in a temporary application folder and a temporary
// preferences folder ($XDG_CONFIG_HOME).
#include <sqlite3.h>

#include <QTemporaryDir>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/application.h"
#include "framework/folderitem.h"
#include "framework/localization.h"
#include "test_ui.h"
#include "worddata/PREFS.h"

namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::vector<std::string>>;

struct SqliteCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using SqliteHandle = std::unique_ptr<sqlite3, SqliteCloser>;

// Reads and writes the files with SQLite itself, so the tests see what lies on disk.
SqliteHandle OpenFile(const fs::path& file) {
    sqlite3* raw = nullptr;
    sqlite3_open(file.c_str(), &raw);
    return SqliteHandle(raw);
}

void Execute(const fs::path& file, const std::string& statements) {
    const SqliteHandle db = OpenFile(file);
    ASSERT_EQ(sqlite3_exec(db.get(), statements.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db.get());
}

Rows Query(const fs::path& file, const std::string& statement) {
    const SqliteHandle db = OpenFile(file);
    Rows rows;
    auto collect = [](void* target, int count, char** values, char**) {
        auto& out = *static_cast<Rows*>(target);
        out.emplace_back();
        for (int i = 0; i < count; ++i) {
            out.back().emplace_back(values[i] ? values[i] : "<null>");
        }
        return 0;
    };
    EXPECT_EQ(sqlite3_exec(db.get(), statement.c_str(), collect, &rows, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db.get());
    return rows;
}

const char* const kCreateTable =
    "CREATE TABLE preferences(pName varchar primary key, pType Integer, pValue varchar);"
    "CREATE INDEX fastpref ON preferences (pName);";

class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            previous_ = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    ~ScopedEnvironment() {
        if (previous_) {
            setenv(name_, previous_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

  private:
    const char* name_;
    std::optional<std::string> previous_;
};

class PrefsTest : public ::testing::Test {
  protected:
    PrefsTest()
        : root_(root_dir_.path().toStdString()),
          config_("XDG_CONFIG_HOME", (root_ / "config").string()),
          besideApp_(root_ / "bin" / "Quorvane.pref"),
          inPrefsFolder_(root_ / "config" / "Quorvane.pref") {}

    void SetUp() override {
        ASSERT_TRUE(root_dir_.isValid());
        fs::create_directories(root_ / "bin");
        std::ofstream(root_ / "bin" / "quorvane") << "";
        fw::SetExecutableFile((root_ / "bin" / "quorvane").string());
        fw::SetLocalizationLanguage("en");
    }

    void TearDown() override {
        PREFS::gPrefsDB.reset();
        fw::SetExecutableFile("");
        fw::SetLongVersion("");
    }

    // A preference file beside the application, made the way an earlier run would have made it.
    void LayFileBesideApplication(const std::string& extraStatements) {
        Execute(besideApp_, std::string(kCreateTable) + extraStatements);
    }

    void ExpectOneFatalReport(const std::string& message) {
        EXPECT_THAT(ui_->messages, ::testing::ElementsAre("Program Error!\n\n" + message));
        EXPECT_THAT(ui_->quitCodes, ::testing::ElementsAre(0));
    }

    QTemporaryDir root_dir_;
    fs::path root_;
    ScopedEnvironment config_;
    fs::path besideApp_;
    fs::path inPrefsFolder_;
    ScopedRecordingUI ui_;
};

TEST_F(PrefsTest, FirstStartCreatesFileInPreferencesFolderWithStampsInOrder) {
    fw::SetLongVersion("Quorvane 2.5 Deutsch");

    PREFS::Initialize();

    EXPECT_TRUE(ui_->messages.empty());
    EXPECT_TRUE(fs::exists(inPrefsFolder_));
    EXPECT_FALSE(fs::exists(besideApp_));
    const Rows stamps =
        Query(inPrefsFolder_, "SELECT pName, pType, pValue FROM preferences ORDER BY rowid");
    ASSERT_EQ(stamps.size(), 3u);
    EXPECT_EQ(stamps[0][0], "DB_Creation_Date");
    EXPECT_EQ(stamps[0][1], "7");
    EXPECT_TRUE(std::regex_match(stamps[0][2], std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")))
        << stamps[0][2];
    EXPECT_THAT(stamps[1],
                ::testing::ElementsAre("DB_Creation_AppVersion", "8", "Quorvane 2.5 Deutsch"));
    EXPECT_THAT(stamps[2], ::testing::ElementsAre("DB_Creation_AppBuild", "7", fw::BuildDate()));
}

TEST_F(PrefsTest, CreatedFileHoldsTableAndIndexFromExactStatements) {
    PREFS::Initialize();

    EXPECT_THAT(Query(inPrefsFolder_, "SELECT type, name, sql FROM sqlite_master ORDER BY rowid"),
                ::testing::Contains(::testing::ElementsAre(
                    "table", "preferences",
                    "CREATE TABLE preferences(pName varchar primary key, pType Integer, "
                    "pValue varchar)")));
    EXPECT_THAT(Query(inPrefsFolder_, "SELECT type, name, sql FROM sqlite_master ORDER BY rowid"),
                ::testing::Contains(::testing::ElementsAre(
                    "index", "fastpref", "CREATE INDEX fastpref ON preferences (pName)")));
}

TEST_F(PrefsTest, LaterStartReadsFileBackWithoutRewritingStamps) {
    fw::SetLongVersion("first run");
    PREFS::Initialize();
    PREFS::Store("DicLanguage", fw::Variant("DE"));
    PREFS::gPrefsDB.reset();

    fw::SetLongVersion("second run");
    PREFS::Initialize();

    EXPECT_TRUE(ui_->messages.empty());
    const fw::Variant language = PREFS::Retrieve("DicLanguage");
    ASSERT_NE(language.AsString(), nullptr);
    EXPECT_EQ(*language.AsString(), "DE");
    EXPECT_EQ(PREFS::Retrieve("DB_Creation_AppVersion").StringValue(), "first run");
    EXPECT_THAT(Query(inPrefsFolder_, "SELECT count(*) FROM preferences"),
                ::testing::ElementsAre(::testing::ElementsAre("4")));
}

TEST_F(PrefsTest, FileBesideApplicationIsUsedInPlace) {
    LayFileBesideApplication("INSERT INTO preferences VALUES ('DicLanguage', 8, 'EN');");

    PREFS::Initialize();
    const fw::Variant stored = PREFS::Retrieve("DicLanguage");
    PREFS::Store("Written", fw::Variant("here"));

    EXPECT_TRUE(ui_->messages.empty());
    ASSERT_NE(stored.AsString(), nullptr);
    EXPECT_EQ(*stored.AsString(), "EN");
    EXPECT_FALSE(fs::exists(inPrefsFolder_));
    EXPECT_THAT(Query(besideApp_, "SELECT pValue FROM preferences WHERE pName = 'Written'"),
                ::testing::ElementsAre(::testing::ElementsAre("here")));
    // An existing file gets no creation stamps.
    EXPECT_THAT(Query(besideApp_, "SELECT count(*) FROM preferences"),
                ::testing::ElementsAre(::testing::ElementsAre("2")));
}

TEST_F(PrefsTest, StoreReplacesValueAndCodeInTheSameRow) {
    PREFS::Initialize();
    PREFS::Store("LastSeen", fw::Variant(fw::Date{"2024-02-29 23:59:01"}));
    const Rows before = Query(inPrefsFolder_,
                              "SELECT rowid, pType, pValue FROM preferences WHERE pName = "
                              "'LastSeen'");

    PREFS::Store("LastSeen", fw::Variant("yesterday"));

    EXPECT_TRUE(ui_->messages.empty());
    ASSERT_EQ(before.size(), 1u);
    EXPECT_THAT(before[0], ::testing::ElementsAre(::testing::_, "7", "2024-02-29 23:59:01"));
    EXPECT_THAT(Query(inPrefsFolder_,
                      "SELECT rowid, pType, pValue FROM preferences WHERE pName = 'LastSeen'"),
                ::testing::ElementsAre(::testing::ElementsAre(before[0][0], "8", "yesterday")));
}

TEST_F(PrefsTest, NameNeverStoredReadsAsNilWithoutReport) {
    PREFS::Initialize();

    EXPECT_TRUE(PREFS::Retrieve("DicLanguage").IsNil());
    EXPECT_TRUE(ui_->messages.empty());
    EXPECT_TRUE(ui_->quitCodes.empty());
}

TEST_F(PrefsTest, StoredRowsReadBackByTheirTypeCode) {
    LayFileBesideApplication(
        "INSERT INTO preferences VALUES ('nil', 0, 'ignored');"
        "INSERT INTO preferences VALUES ('int', 2, '12abc');"
        "INSERT INTO preferences VALUES ('long', 3, '-7');"
        "INSERT INTO preferences VALUES ('double', 5, '2.5e3');"
        "INSERT INTO preferences VALUES ('date', 7, '2009-11-05 07:08:09');"
        "INSERT INTO preferences VALUES ('text', 8, '  Grüße, \"du\"  ');"
        "INSERT INTO preferences VALUES ('yes', 11, 'TRUE');"
        "INSERT INTO preferences VALUES ('no', 11, 'yes');");
    PREFS::Initialize();

    EXPECT_TRUE(PREFS::Retrieve("nil").IsNil());
    for (const auto& [name, number] :
         std::vector<std::pair<std::string, double>>{{"int", 12}, {"long", -7}, {"double", 2500}}) {
        const fw::Variant value = PREFS::Retrieve(name);
        EXPECT_EQ(value.VarType(), fw::Variant::TypeDouble) << name;
        EXPECT_EQ(value.DoubleValue(), number) << name;
    }
    const fw::Variant date = PREFS::Retrieve("date");
    ASSERT_NE(date.AsDate(), nullptr);
    EXPECT_EQ(date.AsDate()->SQLDateTime, "2009-11-05 07:08:09");
    const fw::Variant text = PREFS::Retrieve("text");
    ASSERT_NE(text.AsString(), nullptr);
    EXPECT_EQ(*text.AsString(), "  Grüße, \"du\"  ");
    EXPECT_EQ(PREFS::Retrieve("yes").VarType(), fw::Variant::TypeBoolean);
    EXPECT_TRUE(PREFS::Retrieve("yes").BooleanValue());
    EXPECT_FALSE(PREFS::Retrieve("no").BooleanValue());
    EXPECT_TRUE(ui_->messages.empty());
}

TEST_F(PrefsTest, StoredValuesOfEveryKindRoundTrip) {
    PREFS::Initialize();
    PREFS::Store("flag", fw::Variant(true));
    PREFS::Store("count", fw::Variant(int32_t{-42}));
    PREFS::Store("big", fw::Variant(int64_t{1} << 40));
    PREFS::Store("ratio", fw::Variant(0.125));
    PREFS::Store("when", fw::Variant(fw::Date{"1999-12-31 23:59:59"}));

    EXPECT_TRUE(PREFS::Retrieve("flag").BooleanValue());
    EXPECT_EQ(PREFS::Retrieve("count").DoubleValue(), -42);
    EXPECT_EQ(PREFS::Retrieve("big").DoubleValue(), 1099511627776.0);
    EXPECT_EQ(PREFS::Retrieve("ratio").DoubleValue(), 0.125);
    const fw::Variant when = PREFS::Retrieve("when");
    ASSERT_NE(when.AsDate(), nullptr);
    EXPECT_EQ(when.AsDate()->SQLDateTime, "1999-12-31 23:59:59");
    EXPECT_TRUE(ui_->messages.empty());
}

TEST_F(PrefsTest, UnreadableTypeCodesEndTheRun) {
    LayFileBesideApplication(
        "INSERT INTO preferences VALUES ('object', 9, 'x');"
        "INSERT INTO preferences VALUES ('color', 16, '&h00FF00');"
        "INSERT INTO preferences VALUES ('single', 4, '1.5');"
        "INSERT INTO preferences VALUES ('odd', 99, 'x');");
    PREFS::Initialize();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"object", "Can't retrieve preferences value. Type object isn't supported."},
        {"color", "Can't retrieve preferences value. Type color isn't supported."},
        {"single", "Can't retrieve preferences value. Unsupported and unknown type."},
        {"odd", "Can't retrieve preferences value. Unsupported and unknown type."}};

    for (const auto& [name, message] : cases) {
        ui_->messages.clear();
        ui_->quitCodes.clear();
        EXPECT_TRUE(PREFS::Retrieve(name).IsNil()) << name;
        ExpectOneFatalReport(message);
    }
}

TEST_F(PrefsTest, ExistingFileWithoutTableOpensAndFirstReadEndsTheRun) {
    Execute(besideApp_, "CREATE TABLE other(x);");

    PREFS::Initialize();
    EXPECT_TRUE(ui_->messages.empty());

    EXPECT_TRUE(PREFS::Retrieve("DicLanguage").IsNil());
    ExpectOneFatalReport("Can't retrieve preferences value. (no such table: preferences)");
}

TEST_F(PrefsTest, StoreIntoFileWithoutTableEndsTheRun) {
    Execute(besideApp_, "CREATE TABLE other(x);");
    PREFS::Initialize();

    PREFS::Store("DicLanguage", fw::Variant("EN"));

    ExpectOneFatalReport("Can't store preferences value. (no such table: preferences)");
}

TEST_F(PrefsTest, GarbageFileBesideApplicationEndsTheRunWithoutCrash) {
    std::ofstream(besideApp_, std::ios::binary) << std::string(4096, '\xA5');

    PREFS::Initialize();

    ExpectOneFatalReport("DB connection error! (file is not a database)");
    EXPECT_TRUE(fs::exists(besideApp_));
    EXPECT_FALSE(fs::exists(inPrefsFolder_));
}

TEST_F(PrefsTest, UnusablePreferencesFolderEndsTheRunAtCreation) {
    std::ofstream(root_ / "not-a-folder") << "plain file";
    const ScopedEnvironment blocked("XDG_CONFIG_HOME", (root_ / "not-a-folder").string());

    PREFS::Initialize();

    ExpectOneFatalReport("Can't create the database file!");
}

TEST_F(PrefsTest, RejectedInsertIsReportedAsEntryNotCreated) {
    LayFileBesideApplication(
        "CREATE TRIGGER frozen BEFORE INSERT ON preferences "
        "BEGIN SELECT RAISE(ABORT, 'frozen'); END;");
    PREFS::Initialize();

    PREFS::Store("DicLanguage", fw::Variant("DE"));

    ASSERT_FALSE(ui_->messages.empty());
    EXPECT_EQ(ui_->messages.front(),
              "Program Error!\n\nCan't store preferences value. DB can't create the entry! "
              "(frozen)");
    EXPECT_THAT(ui_->quitCodes, ::testing::Contains(0));
}

// A commit that succeeds clears the error state; the failed update must still be reported.
TEST_F(PrefsTest, RejectedUpdateIsReportedDespiteCleanCommit) {
    LayFileBesideApplication(
        "INSERT INTO preferences VALUES ('DicLanguage', 8, 'EN');"
        "CREATE TRIGGER frozen BEFORE UPDATE ON preferences "
        "BEGIN SELECT RAISE(ABORT, 'frozen'); END;");
    PREFS::Initialize();

    PREFS::Store("DicLanguage", fw::Variant("DE"));

    ExpectOneFatalReport("Can't store preferences value. Error during update. (frozen)");
    EXPECT_THAT(Query(besideApp_, "SELECT pValue FROM preferences"),
                ::testing::ElementsAre(::testing::ElementsAre("EN")));
}

// Names are pasted between double quotes; a quote inside a name must stay part of the name.
TEST_F(PrefsTest, NameWithDoubleQuotesIsDataNotSql) {
    PREFS::Initialize();
    const std::string sneaky = R"(x" OR "1"="1)";

    EXPECT_TRUE(PREFS::Retrieve(sneaky).IsNil());
    PREFS::Store(sneaky, fw::Variant("kept"));
    PREFS::Store("say \"hi\"", fw::Variant("hello"));

    EXPECT_TRUE(ui_->messages.empty());
    EXPECT_EQ(PREFS::Retrieve(sneaky).StringValue(), "kept");
    EXPECT_EQ(PREFS::Retrieve("say \"hi\"").StringValue(), "hello");
    EXPECT_THAT(Query(inPrefsFolder_, "SELECT pName FROM preferences WHERE pValue = 'kept'"),
                ::testing::ElementsAre(::testing::ElementsAre(sneaky)));
}

}  // namespace
