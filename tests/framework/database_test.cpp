#include "framework/database.h"

#include <QTemporaryDir>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

class DatabaseTest : public ::testing::Test {
  protected:
    // A connection to `name`, a file created when missing; with `schema`, holding it committed.
    std::unique_ptr<fw::Database> Open(const std::string& name, const std::string& schema = "") {
        auto db = std::make_unique<fw::Database>();
        db->DatabaseFile = dir_.filePath(QString::fromStdString(name)).toStdString();
        EXPECT_TRUE(db->CreateDatabaseFile()) << db->ErrorMessage();
        if (!schema.empty()) {
            db->SQLExecute(schema);
            EXPECT_FALSE(db->Error()) << db->ErrorMessage();
            db->Commit();
        }
        return db;
    }

    static std::string Scalar(fw::Database& db, const std::string& sql) {
        const auto rows = db.SQLSelect(sql);
        EXPECT_TRUE(rows) << sql << ": " << db.ErrorMessage();
        return rows && !rows->EndOfFile() ? rows->IdxField(1).StringValue() : "<none>";
    }

    static void Insert(fw::Database& db, const std::string& value) {
        fw::DatabaseRecord record;
        record.Column("a", value);
        db.InsertRecord("t", record);
    }

    QTemporaryDir dir_;
};

// A select steps only as far as its rows are read: a row that fails to compute (an integer
// overflow in row 3) fails no select that stops before it. RecordCount steps to the end, leaving
// the cursor where it was, and a later step's failure ends the rows and sets the error state.
TEST_F(DatabaseTest, SelectStepsOnlyAsFarAsItsRowsAreRead) {
    auto db = Open("l.db", "CREATE TABLE t(n integer); INSERT INTO t VALUES (1), (2), (3), (4)");
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

// A statement that runs on and on (a crafted view, say) is interrupted once its time is up, in a
// select, an execute and a write alike; the connection stays usable.
TEST_F(DatabaseTest, StatementsRunningPastTheTimeLimitAreInterrupted) {
    auto db = Open("slow.db", "CREATE TABLE t(a)");
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
    auto holder = Open("busy.db", "CREATE TABLE t(a)");
    Insert(*holder, "first");  // holds the write lock until the commit
    std::thread committer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        holder->Commit();
    });
    auto waiter = Open("busy.db");
    EXPECT_EQ(Scalar(*waiter, "SELECT count(*) FROM t"), "0") << "not committed yet";
    const auto start = std::chrono::steady_clock::now();
    Insert(*waiter, "second");
    const std::string error = waiter->ErrorMessage();
    EXPECT_GT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    waiter->Commit();
    committer.join();
    EXPECT_EQ(error, "");
    EXPECT_EQ(Scalar(*waiter, "SELECT group_concat(a) FROM t"), "first,second");
}

}  // namespace
