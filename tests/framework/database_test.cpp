#include "framework/database.h"

#include <QTemporaryDir>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

class DatabaseTest : public ::testing::Test {
  protected:
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

    static void Insert(fw::Database& db, const std::string& value) {
        fw::DatabaseRecord record;
        record.Column("a", value);
        db.InsertRecord("t", record);
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

TEST_F(DatabaseTest, ConnectToAMissingFileFailsAndCreatesNothing) {
    for (const bool readOnly : {false, true}) {
        fw::Database db;
        db.DatabaseFile = PathOf("missing.pref");
        db.ReadOnly = readOnly;
        EXPECT_FALSE(db.Connect());
        EXPECT_EQ(db.ErrorMessage(), "unable to open database file");
        EXPECT_EQ(db.SQLSelect("SELECT 1"), nullptr);
        db.SQLExecute("CREATE TABLE t(a)");
        db.Commit();
        EXPECT_EQ(db.ErrorMessage(), "The database is not connected.");
    }
    EXPECT_FALSE(std::filesystem::exists(PathOf("missing.pref")));
}

TEST_F(DatabaseTest, EachFailedStepReportsItsMessageUntilTheNextSuccessAndLosesNoEarlierWrite) {
    auto db = Create("e.db", "CREATE TABLE t(a primary key)");
    Insert(*db, "kept");
    const std::vector<std::pair<std::function<void()>, std::string>> rows = {
        {[&] { db->SQLExecute("CREAT TABLE u(a)"); }, "near \"CREAT\": syntax error"},
        {[&] { EXPECT_FALSE(db->SQLSelect("SELECT * FROM missing")); }, "no such table: missing"},
        {[&] { Insert(*db, "kept"); }, "UNIQUE constraint failed: t.a"}};
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
    EXPECT_EQ(Committed("e.db", "SELECT group_concat(a) FROM t"), "kept");
}

// Writes collect in a transaction the framework opens on the first write; a SELECT or a PRAGMA
// must not open one.
TEST_F(DatabaseTest, WritesBecomeVisibleOnlyAtCommitAndNoImplicitTransactionBlocksOthers) {
    auto writer = Create("tx.db", "CREATE TABLE t(a)");
    auto reader = Open("tx.db", true);
    Insert(*writer, "1");
    writer->SQLExecute("UPDATE t SET a = 'committed'");
    EXPECT_EQ(Scalar(*reader, "SELECT count(*) FROM t"), "0");
    writer->Commit();
    EXPECT_EQ(Scalar(*reader, "SELECT a FROM t"), "committed");

    // SQLite ignores this pragma inside a transaction, so it shows whether one was begun.
    writer->SQLExecute("PRAGMA foreign_keys=ON;");
    EXPECT_EQ(Scalar(*writer, "PRAGMA foreign_keys"), "1");
    ASSERT_NE(writer->SQLSelect("SELECT * FROM t"), nullptr);
    auto other = Open("tx.db");
    Insert(*other, "other");
    other->Commit();
    EXPECT_FALSE(other->Error()) << other->ErrorMessage();
    Insert(*writer, "lost with the connection");
    writer.reset();
    EXPECT_EQ(Committed("tx.db", "SELECT group_concat(a) FROM t"), "committed,other");
}

TEST_F(DatabaseTest, ExecuteRunsEveryStatementButSelectOnlyTheFirst) {
    auto db = Create("s.db", "CREATE TABLE t(a); CREATE INDEX ta ON t(a); -- trailing comment");
    ASSERT_NE(db->SQLSelect("SELECT 1; DROP TABLE t"), nullptr);
    EXPECT_EQ(Scalar(*db, "SELECT count(*) FROM sqlite_schema"), "2");
}

// Walking rows is proven by the word and preference look-ups; a damaged preference file may lack
// a column or a row, which must read as NULL.
TEST_F(DatabaseTest, RecordSetGivesNullOutsideItsRowsAndColumns) {
    auto db = Create("r.db", "CREATE TABLE t(n integer); INSERT INTO t VALUES (2), (0)");
    const auto rows = db->SQLSelect("SELECT n, NULL AS empty FROM t ORDER BY n");
    ASSERT_NE(rows, nullptr) << db->ErrorMessage();
    EXPECT_EQ(rows->Field("N").StringValue(), "0");
    EXPECT_TRUE(rows->Field("empty").IsNull());
    EXPECT_TRUE(rows->Field("unknown").IsNull());
    EXPECT_TRUE(rows->IdxField(0).IsNull());
    EXPECT_TRUE(rows->IdxField(3).IsNull());
    rows->MoveNext();
    rows->MoveNext();
    EXPECT_TRUE(rows->EndOfFile());
    rows->MoveNext();
    EXPECT_TRUE(rows->Field("n").IsNull()) << "a read past the end gives NULL";
    rows->MoveFirst();
    EXPECT_EQ(rows->IdxField(1).IntegerValue(), 0);
}

// A select steps only as far as its rows are read: a row that fails to compute (an integer
// overflow in row 3) fails no select that stops before it. RecordCount steps to the end, leaving
// the cursor where it was, and a later step's failure ends the rows and sets the error state.
TEST_F(DatabaseTest, SelectStepsOnlyAsFarAsItsRowsAreRead) {
    auto db = Create("l.db", "CREATE TABLE t(n integer); INSERT INTO t VALUES (1), (2), (3), (4)");
    const std::string select =
        "SELECT CASE WHEN n = 3 THEN abs(-9223372036854775805 - n) ELSE n END AS v FROM t";
    auto rows = db->SQLSelect(select);
    ASSERT_NE(rows, nullptr) << db->ErrorMessage();
    rows->MoveNext();
    EXPECT_EQ(rows->Field("v").StringValue(), "2");
    EXPECT_FALSE(db->Error());
    EXPECT_EQ(rows->RecordCount(), 2);
    EXPECT_EQ(db->ErrorMessage(), "integer overflow");
    EXPECT_EQ(rows->Field("v").StringValue(), "2");
    rows->MoveNext();
    EXPECT_TRUE(rows->EndOfFile());

    rows = db->SQLSelect("SELECT n FROM t WHERE n > 1 ORDER BY n");
    ASSERT_NE(rows, nullptr);
    EXPECT_FALSE(db->Error());
    EXPECT_EQ(rows->RecordCount(), 3);
    EXPECT_EQ(rows->Field("n").StringValue(), "2");
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
}

// Edit and Update find their row again: the current one among identical rows and through an
// alias. A row they cannot find again is refused, never guessed.
TEST_F(DatabaseTest, UpdateWritesExactlyTheCurrentRowOrRefuses) {
    auto db = Create("u.db",
                     "CREATE TABLE t(a text); INSERT INTO t VALUES ('same'), ('same'), ('same');"
                     "CREATE TABLE k(id integer primary key, a text);"
                     "INSERT INTO k VALUES (10, 'x'), (20, 'y');"
                     "CREATE TABLE v(rowid text, c text); INSERT INTO v VALUES ('r', '3')");
    struct Row {
        const char* select;
        const char* field;
        int row;
        bool refused;
    };
    for (const Row& r : std::vector<Row>{
             {"select a from t", "a", 1, false},
             {"  /* lead */ SELECT a AS label FROM k WHERE id = 20", "LABEL", 0, false},
             {"SELECT a, c FROM k, v", "c", 0, true},
             {"SELECT a || 'x' AS a FROM k", "a", 0, true},
             {"SELECT DISTINCT a FROM k", "a", 0, true},
             {"SELECT c FROM v", "c", 0, true}}) {  // "rowid" is an ordinary column of v
        SCOPED_TRACE(r.select);
        UpdateField(*db, r.select, r.field, r.row);
        EXPECT_EQ(db->Error(), r.refused) << db->ErrorMessage();
    }
    UpdateField(*db, "SELECT a FROM k", "a", 2);
    EXPECT_EQ(db->ErrorMessage(), "There is no current record to update.");
    EXPECT_EQ(Scalar(*db, "SELECT c FROM v"), "3");
    const auto rows = db->SQLSelect("SELECT c FROM v");
    db->SQLExecute("DELETE FROM v");
    rows->Edit();
    rows->SetField("c", "2");
    rows->Update();
    EXPECT_TRUE(db->Error()) << "the row was deleted meanwhile";
    db->Commit();
    EXPECT_EQ(Committed("u.db", "SELECT group_concat(a) FROM (SELECT a FROM t ORDER BY rowid)"),
              "same,new,same");
    EXPECT_EQ(Committed("u.db", "SELECT group_concat(a) FROM (SELECT a FROM k ORDER BY id)"),
              "x,new");
    EXPECT_EQ(Committed("u.db", "SELECT count(*) FROM v"), "0");
}

// A statement that runs on and on (a crafted view, say) is interrupted once its time is up, in a
// select, an execute and a write alike; the connection stays usable.
TEST_F(DatabaseTest, StatementsRunningPastTheTimeLimitAreInterrupted) {
    auto db = Create("slow.db", "CREATE TABLE t(a)");
    db->StatementTimeLimitMs = 100;
    const std::string kLong =
        "WITH RECURSIVE r(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM r WHERE n < 1e9) ";
    const std::vector<std::function<void()>> steps = {
        [&] { EXPECT_FALSE(db->SQLSelect(kLong + "SELECT count(*) FROM r")); },
        [&] { db->SQLExecute(kLong + "SELECT count(*) FROM r"); },
        [&] { db->SQLExecute("INSERT INTO t " + kLong + "SELECT max(n) FROM r"); }};
    for (const auto& step : steps) {
        const auto start = std::chrono::steady_clock::now();
        step();
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
        EXPECT_EQ(db->ErrorMessage(), "interrupted");
        EXPECT_EQ(Scalar(*db, "SELECT 'usable'"), "usable");
    }
}

// Another process holding the write lock makes a write wait for it, not fail at once with
// "database is locked" (two starts of the program used to clash so on the preference file).
TEST_F(DatabaseTest, AWriteWaitsForAnotherConnectionsLock) {
    auto holder = Create("busy.db", "CREATE TABLE t(a)");
    Insert(*holder, "first");  // holds the write lock until the commit
    std::thread committer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        holder->Commit();
    });
    auto waiter = Open("busy.db");
    Insert(*waiter, "second");
    const std::string error = waiter->ErrorMessage();
    waiter->Commit();
    committer.join();
    EXPECT_EQ(error, "");
    EXPECT_EQ(Committed("busy.db", "SELECT group_concat(a) FROM t"), "first,second");
}

}  // namespace
