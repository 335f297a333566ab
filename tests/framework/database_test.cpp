#include "framework/database.h"

#include <QTemporaryDir>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr const char* kPreferences =
    "CREATE TABLE preferences(pName varchar primary key, pType Integer, pValue varchar)";
constexpr const char* kReadOnly = "attempt to write a readonly database";

class DatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    std::string PathOf(const std::string& name) const {
        return dir_.filePath(QString::fromStdString(name)).toStdString();
    }

    // A fresh database file holding the committed `schema` (any statements).
    std::unique_ptr<fw::Database> Create(const std::string& name, const std::string& schema) {
        auto db = std::make_unique<fw::Database>();
        db->DatabaseFile = PathOf(name);
        EXPECT_TRUE(db->CreateDatabaseFile()) << db->ErrorMessage();
        db->SQLExecute(schema);
        EXPECT_FALSE(db->Error()) << db->ErrorMessage();
        db->Commit();
        return db;
    }

    std::unique_ptr<fw::Database> Open(const std::string& name, bool readOnly = false) {
        auto db = std::make_unique<fw::Database>();
        db->DatabaseFile = PathOf(name);
        db->ReadOnly = readOnly;
        EXPECT_TRUE(db->Connect()) << db->ErrorMessage();
        return db;
    }

    static std::string Scalar(fw::Database& db, const std::string& sql) {
        const auto rows = db.SQLSelect(sql);
        EXPECT_TRUE(rows) << sql << ": " << db.ErrorMessage();
        return rows && !rows->EndOfFile() ? rows->IdxField(1).StringValue() : "<none>";
    }

    // What a fresh read-only connection to `name` sees.
    std::string Committed(const std::string& name, const std::string& sql) {
        return Scalar(*Open(name, true), sql);
    }

    static void Insert(fw::Database& db, const std::string& table, const std::string& column,
                       const std::string& value) {
        fw::DatabaseRecord record;
        record.Column(column, value);
        db.InsertRecord(table, record);
    }

    // Sets one field of row `row` (0-based) of `select` to "new" through Edit and Update.
    static void UpdateField(fw::Database& db, const std::string& select, const std::string& field,
                            int row = 0) {
        const auto rows = db.SQLSelect(select);
        ASSERT_NE(rows, nullptr) << select << ": " << db.ErrorMessage();
        for (int i = 0; i < row; ++i) {
            rows->MoveNext();
        }
        rows->Edit();
        rows->SetField(field, "new");
        rows->Update();
    }

    QTemporaryDir dir_;
};

TEST_F(DatabaseTest, ConnectFailsOnAMissingFileOrOneThatIsNoDatabaseAndCreatesNothing) {
    std::ofstream(PathOf("junk.tdb")) << "This is a text file, not a database header.";
    struct Row {
        const char* name;
        bool readOnly;
        const char* message;
    };
    for (const Row& row : {Row{"missing.pref", false, "unable to open database file"},
                           Row{"missing.pref", true, "unable to open database file"},
                           Row{"junk.tdb", false, "file is not a database"}}) {
        SCOPED_TRACE(row.name);
        fw::Database db;
        db.DatabaseFile = PathOf(row.name);
        db.ReadOnly = row.readOnly;
        EXPECT_FALSE(db.Connect());
        EXPECT_EQ(db.ErrorMessage(), row.message);
        EXPECT_FALSE(db.IsConnected());
        EXPECT_EQ(db.SQLSelect("SELECT 1"), nullptr);
        db.SQLExecute("CREATE TABLE t(a)");
        db.Commit();
        EXPECT_TRUE(db.Error());
        EXPECT_EQ(db.ErrorMessage(), "The database is not connected.");
    }
    EXPECT_FALSE(std::filesystem::exists(PathOf("missing.pref")));
}

TEST_F(DatabaseTest, FileNameThatLooksLikeAnUriIsAnOrdinaryFile) {
    const std::string name = "file:weird?mode=memory";
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path().toStdString());
    fw::Database db;
    db.DatabaseFile = name;
    EXPECT_TRUE(db.CreateDatabaseFile()) << db.ErrorMessage();
    std::filesystem::current_path(previous);
    EXPECT_TRUE(std::filesystem::exists(PathOf(name)));
}

TEST_F(DatabaseTest, EachFailedStepReportsItsMessageUntilTheNextSuccessAndLosesNoEarlierWrite) {
    auto db = Create("e.db", kPreferences);
    Insert(*db, "preferences", "pName", "kept");
    fw::DatabaseRecord unknownColumn;
    unknownColumn.Column("pName", "b");
    unknownColumn.Column("b", "2");
    const std::vector<std::pair<std::function<void()>, std::string>> rows = {
        {[&] { db->SQLExecute("CREAT TABLE u(a)"); }, "near \"CREAT\": syntax error"},
        {[&] { EXPECT_FALSE(db->SQLSelect("SELECT * FROM missing")); }, "no such table: missing"},
        {[&] { Insert(*db, "nosuch", "a", "1"); }, "no such table: nosuch"},
        {[&] { db->InsertRecord("preferences", unknownColumn); },
         "table preferences has no column named b"},
        {[&] { Insert(*db, "preferences", "pName", "kept"); },
         "UNIQUE constraint failed: preferences.pName"}};
    for (const auto& [step, message] : rows) {
        SCOPED_TRACE(message);
        step();
        EXPECT_TRUE(db->Error());
        EXPECT_EQ(db->ErrorMessage(), message);
        EXPECT_NE(db->SQLSelect("SELECT 1"), nullptr);
        EXPECT_FALSE(db->Error());
        EXPECT_EQ(db->ErrorMessage(), "");
    }
    db->Commit();
    EXPECT_FALSE(db->Error());
    db->SQLExecute("CREAT");
    db->Commit();
    EXPECT_FALSE(db->Error()) << "a commit with nothing pending succeeds and clears the error";
    EXPECT_EQ(Committed("e.db", "SELECT group_concat(pName) FROM preferences"), "kept");
}

// The word database is opened read-only; the letter case of its LIKE is switched by a pragma.
TEST_F(DatabaseTest, WritesOnReadOnlyConnectionFailAndChangeNothingButPragmasWork) {
    Create("ro.db", "CREATE TABLE words(wWord text); INSERT INTO words VALUES ('Haus'), ('haus')");
    auto db = Open("ro.db", true);
    Insert(*db, "words", "wWord", "Maus");
    EXPECT_EQ(db->ErrorMessage(), kReadOnly);
    db->SQLExecute("DELETE FROM words");
    EXPECT_EQ(db->ErrorMessage(), kReadOnly);
    UpdateField(*db, "SELECT wWord FROM words", "wWord");
    EXPECT_EQ(db->ErrorMessage(), kReadOnly);
    db->Commit();
    EXPECT_FALSE(db->Error());
    for (const auto& [pragma, count] : {std::pair{"ON;", "1"}, std::pair{"OFF", "2"}}) {
        db->SQLExecute(std::string("PRAGMA case_sensitive_like=") + pragma);
        EXPECT_FALSE(db->Error()) << db->ErrorMessage();
        EXPECT_EQ(Scalar(*db, "SELECT count(*) FROM words WHERE wWord LIKE 'haus'"), count);
    }
    EXPECT_EQ(Committed("ro.db", "SELECT group_concat(wWord) FROM words"), "Haus,haus");
}

// Writes collect in a transaction the framework opens on the first write; a SELECT, a PRAGMA or
// an explicit transaction statement must not open one.
TEST_F(DatabaseTest, WritesBecomeVisibleOnlyAtCommitAndNoImplicitTransactionBlocksOthers) {
    auto writer = Create("tx.db", "CREATE TABLE t(a)");
    auto reader = Open("tx.db", true);
    Insert(*writer, "t", "a", "1");
    writer->SQLExecute("UPDATE t SET a = 'committed'");
    EXPECT_EQ(Scalar(*reader, "SELECT count(*) FROM t"), "0");
    writer->Commit();
    EXPECT_EQ(Scalar(*reader, "SELECT a FROM t"), "committed");
    Insert(*writer, "t", "a", "rolled back");
    writer->Rollback();
    EXPECT_FALSE(writer->Error());

    // SQLite ignores this pragma inside a transaction, so it shows whether one was begun.
    writer->SQLExecute("PRAGMA foreign_keys=ON;");
    EXPECT_EQ(Scalar(*writer, "PRAGMA foreign_keys"), "1");
    writer->SQLExecute("BEGIN; INSERT INTO t VALUES ('explicit'); COMMIT");
    EXPECT_FALSE(writer->Error()) << writer->ErrorMessage();
    ASSERT_NE(writer->SQLSelect("SELECT * FROM t"), nullptr);
    auto other = Open("tx.db");
    Insert(*other, "t", "a", "other");
    other->Commit();
    EXPECT_FALSE(other->Error()) << other->ErrorMessage();
    Insert(*writer, "t", "a", "lost with the connection");
    writer.reset();
    EXPECT_EQ(Committed("tx.db", "SELECT group_concat(a) FROM t"), "committed,explicit,other");
}

TEST_F(DatabaseTest, ExecuteRunsEveryStatementButSelectOnlyTheFirst) {
    auto db = Create("s.db", "CREATE TABLE t(a); CREATE INDEX ta ON t(a); -- trailing comment");
    ASSERT_NE(db->SQLSelect("SELECT 1; DROP TABLE t"), nullptr);
    EXPECT_EQ(Scalar(*db, "SELECT count(*) FROM sqlite_schema"), "2");
}

TEST_F(DatabaseTest, RecordSetWalksItsRowsAndGivesNullOutsideThem) {
    auto db = Create("r.db",
                     "CREATE TABLE t(n integer, s text);"
                     "INSERT INTO t VALUES (2, 'row2'), (0, 'row0'), (1, 'row1')");
    const auto rows = db->SQLSelect("SELECT n, s, NULL AS empty FROM t ORDER BY n");
    ASSERT_NE(rows, nullptr) << db->ErrorMessage();
    EXPECT_EQ(rows->RecordCount(), 3);
    EXPECT_EQ(rows->FieldCount(), 3);
    std::string seen;
    for (; !rows->EndOfFile(); rows->MoveNext()) {
        seen += rows->Field("S").StringValue() + "/" + rows->IdxField(1).StringValue() + " ";
        EXPECT_TRUE(rows->Field("empty").IsNull());
    }
    EXPECT_EQ(seen, "row0/0 row1/1 row2/2 ");
    rows->MoveNext();
    EXPECT_TRUE(rows->Field("n").IsNull()) << "a read past the end gives NULL";
    rows->MoveFirst();
    EXPECT_EQ(rows->Field("n").IntegerValue(), 0);
    EXPECT_TRUE(rows->Field("unknown").IsNull());
    EXPECT_TRUE(rows->IdxField(0).IsNull());
    EXPECT_TRUE(rows->IdxField(4).IsNull());
    const auto none = db->SQLSelect("SELECT * FROM t WHERE s = \"DicLanguage\"");
    EXPECT_TRUE(none->EndOfFile());
    EXPECT_EQ(none->FieldCount(), 2);
}

// Preference values are read back from text that may have been damaged.
TEST_F(DatabaseTest, IntegerValueReadsLeadingIntegerLikeSqlite) {
    const std::vector<std::pair<const char*, int64_t>> rows = {
        {"  -42xyz", -42},
        {"3.9", 3},
        {"abc", 0},
        {"99999999999999999999", INT64_MAX},
        {"-99999999999999999999", INT64_MIN}};
    for (const auto& [text, value] : rows) {
        EXPECT_EQ(fw::DatabaseField(text).IntegerValue(), value) << text;
    }
    EXPECT_EQ(fw::DatabaseField().IntegerValue(), 0);
    EXPECT_DOUBLE_EQ(fw::DatabaseField("2.5e1").DoubleValue(), 25.0);
}

TEST_F(DatabaseTest, InsertRecordStoresTextQuotesAndSqlByteForByte) {
    auto db = Create("q.db", "CREATE TABLE \"odd \"\"name\"(\"order\" text, v)");
    const std::vector<std::string> values = {
        "Größe",   "日本語 😀", std::string("nul\0inside", 10), "O'Brien", "'); DROP TABLE x; --",
        "?1 $a :b"};
    for (const auto& value : values) {
        fw::DatabaseRecord record;
        record.Column("order", value);
        record.IntegerColumn("v", 7);
        record.Column("V", value);  // the last setting of a column wins
        db->InsertRecord("odd \"name", record);
        EXPECT_FALSE(db->Error()) << db->ErrorMessage();
    }
    const auto rows = db->SQLSelect("SELECT \"order\", v FROM \"odd \"\"name\" ORDER BY rowid");
    ASSERT_EQ(rows->RecordCount(), static_cast<int64_t>(values.size()));
    for (const auto& value : values) {
        EXPECT_EQ(rows->Field("order").StringValue(), value);
        EXPECT_EQ(rows->Field("v").StringValue(), value);
        rows->MoveNext();
    }
    db->SQLExecute("CREATE TABLE typed(untyped)");
    fw::DatabaseRecord record;
    record.IntegerColumn("untyped", 7);
    db->InsertRecord("typed", record);
    EXPECT_EQ(Scalar(*db, "SELECT typeof(untyped) FROM typed"), "integer");
}

TEST_F(DatabaseTest, UpdateWritesTheCurrentRowEvenAmongIdenticalOnesOrThroughAnAlias) {
    auto db = Create("u.db", std::string(kPreferences) +
                                 "; CREATE INDEX fastpref ON preferences (pName);"
                                 "INSERT INTO preferences VALUES ('DB_Creation_AppBuild', 7, NULL),"
                                 "('other', 8, NULL); CREATE TABLE t(a text);"
                                 "INSERT INTO t VALUES ('same'), ('same'), ('same');"
                                 "CREATE TABLE k(id integer primary key, a text);"
                                 "INSERT INTO k VALUES (10, 'x'), (20, 'y')");
    const auto rows =
        db->SQLSelect("SELECT * FROM preferences WHERE pName = \"DB_Creation_AppBuild\"");
    rows->Edit();
    rows->SetField("pValue", "EN");
    rows->SetField("ptype", "8");
    rows->Update();
    EXPECT_FALSE(db->Error()) << db->ErrorMessage();
    EXPECT_EQ(rows->Field("pValue").StringValue(), "EN");
    UpdateField(*db, "select a from t", "a", 1);
    EXPECT_FALSE(db->Error()) << db->ErrorMessage();
    UpdateField(*db, "  /* lead */ SELECT a AS label FROM k WHERE id = 20", "LABEL");
    EXPECT_FALSE(db->Error()) << db->ErrorMessage();
    db->Commit();

    EXPECT_EQ(Committed("u.db",
                        "SELECT count(*) || ':' || group_concat(pName || '=' || pValue || "
                        "typeof(pType) || pType) FROM preferences"),
              "2:DB_Creation_AppBuild=ENinteger8");
    EXPECT_EQ(Committed("u.db", "SELECT group_concat(a) FROM (SELECT a FROM t ORDER BY rowid)"),
              "same,new,same");
    EXPECT_EQ(Committed("u.db", "SELECT group_concat(a) FROM (SELECT a FROM k ORDER BY id)"),
              "x,new");
}

TEST_F(DatabaseTest, UpdateRefusesRowsItCannotFindAgain) {
    auto db = Create("n.db",
                     "CREATE TABLE t(a text); CREATE TABLE u(b text); CREATE TABLE v(rowid text, "
                     "c text); INSERT INTO t VALUES ('1'); INSERT INTO u VALUES ('2'); "
                     "INSERT INTO v VALUES ('r', '3')");
    const std::vector<std::pair<std::string, std::string>> selects = {
        {"SELECT a, b FROM t, u", "b"},
        {"SELECT a || 'x' AS a FROM t", "a"},
        {"SELECT DISTINCT a FROM t", "a"},
        {"SELECT c FROM v", "c"}};  // "rowid" is an ordinary column of v
    for (const auto& [sql, field] : selects) {
        UpdateField(*db, sql, field);
        EXPECT_TRUE(db->Error()) << sql;
    }
    EXPECT_EQ(Scalar(*db, "SELECT a || b || c FROM t, u, v"), "123");
    UpdateField(*db, "SELECT a FROM t", "a", 1);
    EXPECT_EQ(db->ErrorMessage(), "There is no current record to update.");

    const auto rows = db->SQLSelect("SELECT a FROM t");
    db->SQLExecute("DELETE FROM t");
    rows->Edit();
    rows->SetField("a", "2");
    rows->Update();
    EXPECT_TRUE(db->Error()) << "the row was deleted meanwhile";
    EXPECT_EQ(Scalar(*db, "SELECT count(*) FROM t"), "0");
}

}  // namespace
