#include "framework/database.h"

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

namespace {

class DatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    std::string PathOf(const std::string& name) const {
        return dir_.filePath(QString::fromStdString(name)).toStdString();
    }

    // A fresh database file holding one committed table, `schema`.
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

    static void Insert(fw::Database& db, const std::string& table,
                       std::vector<std::pair<std::string, std::string>> columns) {
        fw::DatabaseRecord record;
        for (const auto& [name, value] : columns) {
            record.Column(name, value);
        }
        db.InsertRecord(table, record);
        EXPECT_FALSE(db.Error()) << db.ErrorMessage();
    }

    QTemporaryDir dir_;
};

constexpr const char* kPreferences =
    "CREATE TABLE preferences(pName varchar primary key, pType Integer, pValue varchar)";

// ---- Connecting
// ----------------------------------------------------------------------------------

TEST_F(DatabaseTest, ConnectToMissingFileFailsWithoutCreatingIt) {
    for (const bool readOnly : {false, true}) {
        fw::Database db;
        db.DatabaseFile = PathOf("missing.pref");
        db.ReadOnly = readOnly;
        EXPECT_FALSE(db.Connect());
        EXPECT_TRUE(db.Error());
        EXPECT_EQ(db.ErrorMessage(), "unable to open database file");
        EXPECT_FALSE(db.IsConnected());
        EXPECT_FALSE(std::filesystem::exists(db.DatabaseFile));
    }
}

TEST_F(DatabaseTest, ConnectToFileThatIsNoDatabaseFails) {
    std::ofstream(PathOf("junk.tdb")) << "This is a text file, long enough to be taken for a "
                                         "database header by nobody at all.";
    fw::Database db;
    db.DatabaseFile = PathOf("junk.tdb");
    EXPECT_FALSE(db.Connect());
    EXPECT_EQ(db.ErrorMessage(), "file is not a database");
    EXPECT_FALSE(db.IsConnected());
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

TEST_F(DatabaseTest, EveryOperationWithoutConnectionReportsAnError) {
    fw::Database db;
    db.SQLExecute("CREATE TABLE t(a)");
    EXPECT_TRUE(db.Error());
    EXPECT_EQ(db.SQLSelect("SELECT 1"), nullptr);
    EXPECT_TRUE(db.Error());
    db.Commit();
    EXPECT_TRUE(db.Error());
    EXPECT_EQ(db.ErrorMessage(), "The database is not connected.");
}

// ---- Error state
// ---------------------------------------------------------------------------------

TEST_F(DatabaseTest, ErrorStateFollowsTheLastStep) {
    auto db = Create("e.db", "CREATE TABLE t(a)");
    db->SQLExecute("CREAT TABLE u(a)");
    EXPECT_TRUE(db->Error());
    EXPECT_EQ(db->ErrorMessage(), "near \"CREAT\": syntax error");

    EXPECT_NE(db->SQLSelect("SELECT a FROM t"), nullptr);
    EXPECT_FALSE(db->Error());
    EXPECT_EQ(db->ErrorMessage(), "");

    EXPECT_EQ(db->SQLSelect("SELECT * FROM missing"), nullptr);
    EXPECT_TRUE(db->Error());
    EXPECT_EQ(db->ErrorMessage(), "no such table: missing");

    Insert(*db, "t", {{"a", "1"}});
    EXPECT_FALSE(db->Error());
}

TEST_F(DatabaseTest, InsertIntoMissingTableOrColumnFails) {
    auto db = Create("e.db", "CREATE TABLE t(a)");
    fw::DatabaseRecord record;
    record.Column("a", "1");
    db->InsertRecord("nosuch", record);
    EXPECT_EQ(db->ErrorMessage(), "no such table: nosuch");
    record.Column("b", "2");
    db->InsertRecord("t", record);
    EXPECT_EQ(db->ErrorMessage(), "table t has no column named b");
}

TEST_F(DatabaseTest, WritesOnReadOnlyConnectionFailAndChangeNothing) {
    Create("ro.db", kPreferences);
    auto db = Open("ro.db", true);
    fw::DatabaseRecord record;
    record.Column("pName", "DicLanguage");
    db->InsertRecord("preferences", record);
    EXPECT_TRUE(db->Error());
    EXPECT_EQ(db->ErrorMessage(), "attempt to write a readonly database");

    db->SQLExecute("DELETE FROM preferences");
    EXPECT_EQ(db->ErrorMessage(), "attempt to write a readonly database");
    db->Commit();
    EXPECT_FALSE(db->Error());
    EXPECT_EQ(Scalar(*Open("ro.db"), "SELECT count(*) FROM preferences"), "0");
}

TEST_F(DatabaseTest, FailedInsertKeepsEarlierWritesOfTheTransaction) {
    auto db = Create("p.db", kPreferences);
    Insert(*db, "preferences", {{"pName", "a"}, {"pValue", "1"}});
    fw::DatabaseRecord duplicate;
    duplicate.Column("pName", "a");
    db->InsertRecord("preferences", duplicate);
    EXPECT_EQ(db->ErrorMessage(), "UNIQUE constraint failed: preferences.pName");
    db->Commit();
    EXPECT_FALSE(db->Error());
    EXPECT_EQ(Scalar(*Open("p.db"), "SELECT pValue FROM preferences"), "1");
}

// ---- Transactions
// --------------------------------------------------------------------------------

TEST_F(DatabaseTest, WritesBecomeVisibleToOthersOnlyAtCommit) {
    auto writer = Create("tx.db", kPreferences);
    auto reader = Open("tx.db", true);
    Insert(*writer, "preferences", {{"pName", "x"}});
    writer->SQLExecute("UPDATE preferences SET pValue = 'y'");
    EXPECT_EQ(Scalar(*reader, "SELECT count(*) FROM preferences"), "0");
    writer->Commit();
    EXPECT_FALSE(writer->Error());
    EXPECT_EQ(Scalar(*reader, "SELECT pValue FROM preferences"), "y");
}

TEST_F(DatabaseTest, UncommittedWritesAreLostWithTheConnection) {
    {
        auto db = Create("lost.db", "CREATE TABLE t(a)");
        Insert(*db, "t", {{"a", "1"}});
        auto other = Create("rolled.db", "CREATE TABLE t(a)");
        Insert(*other, "t", {{"a", "1"}});
        other->Rollback();
        EXPECT_FALSE(other->Error());
    }
    EXPECT_EQ(Scalar(*Open("lost.db"), "SELECT count(*) FROM t"), "0");
    EXPECT_EQ(Scalar(*Open("rolled.db"), "SELECT count(*) FROM t"), "0");
}

TEST_F(DatabaseTest, CommitWithNothingPendingSucceeds) {
    auto db = Create("c.db", "CREATE TABLE t(a)");
    db->Commit();
    EXPECT_FALSE(db->Error());
    db->SQLExecute("CREAT");
    db->Commit();
    EXPECT_FALSE(db->Error()) << "a successful commit clears the error state";
}

TEST_F(DatabaseTest, PragmaTakesEffectBecauseNoTransactionIsOpened) {
    // SQLite ignores this pragma inside a transaction, so it shows whether one was begun.
    auto db = Create("f.db", "CREATE TABLE t(a)");
    db->SQLExecute("PRAGMA foreign_keys=ON;");
    EXPECT_FALSE(db->Error()) << db->ErrorMessage();
    EXPECT_EQ(Scalar(*db, "PRAGMA foreign_keys"), "1");
}

TEST_F(DatabaseTest, SelectHoldsNoLockThatBlocksAnotherWriter) {
    auto db = Create("lock.db", "CREATE TABLE t(a)");
    ASSERT_NE(db->SQLSelect("SELECT * FROM t"), nullptr);
    auto other = Open("lock.db");
    Insert(*other, "t", {{"a", "1"}});
    other->Commit();
    EXPECT_FALSE(other->Error()) << other->ErrorMessage();
}

TEST_F(DatabaseTest, ExplicitTransactionStatementsAreHonoured) {
    auto db = Create("x.db", "CREATE TABLE t(a)");
    db->SQLExecute("BEGIN; INSERT INTO t VALUES (1); COMMIT");
    EXPECT_FALSE(db->Error()) << db->ErrorMessage();
    EXPECT_EQ(Scalar(*Open("x.db"), "SELECT count(*) FROM t"), "1");
}

// ---- Statements
// ----------------------------------------------------------------------------------

TEST_F(DatabaseTest, ExecuteRunsEveryStatementButSelectOnlyTheFirst) {
    auto db = Create("s.db", "CREATE TABLE t(a); CREATE INDEX ta ON t(a); -- trailing comment");
    EXPECT_EQ(Scalar(*db, "SELECT count(*) FROM sqlite_schema"), "2");
    const auto rows = db->SQLSelect("SELECT 1; DROP TABLE t");
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(Scalar(*db, "SELECT count(*) FROM t"), "0");
}

TEST_F(DatabaseTest, LikeFollowsCaseSensitivePragma) {
    Create("w.tdb", "CREATE TABLE words(wID integer, wWord text, wSoundex integer)");
    {
        auto db = Open("w.tdb");
        int id = 0;
        for (const char* word : {"Haus", "haus", "Hausboot", "Rathaus", "Maus"}) {
            fw::DatabaseRecord record;
            record.IntegerColumn("wID", id++);
            record.Column("wWord", word);
            db->InsertRecord("words", record);
        }
        db->Commit();
    }
    auto db = Open("w.tdb", true);
    const auto count = [&](const std::string& pattern) {
        return db->SQLSelect("SELECT wID, wWord FROM words WHERE wWord LIKE '" + pattern + "'")
            ->RecordCount();
    };
    db->SQLExecute("PRAGMA case_sensitive_like=ON;");
    EXPECT_FALSE(db->Error()) << db->ErrorMessage();
    EXPECT_EQ(count("haus"), 1);
    EXPECT_EQ(count("%haus%"), 2);
    db->SQLExecute("PRAGMA case_sensitive_like=OFF");
    EXPECT_FALSE(db->Error());
    EXPECT_EQ(count("haus"), 2);
    EXPECT_EQ(count("%haus%"), 4);
}

// ---- Record sets
// ---------------------------------------------------------------------------------

TEST_F(DatabaseTest, RecordSetCountsAndWalksRows) {
    auto db = Create("r.db", "CREATE TABLE t(n integer, s text)");
    for (int i = 0; i < 3; ++i) {
        Insert(*db, "t", {{"n", std::to_string(i)}, {"s", "row" + std::to_string(i)}});
    }
    const auto rows = db->SQLSelect("SELECT n, s, NULL AS empty FROM t ORDER BY n");
    ASSERT_NE(rows, nullptr) << db->ErrorMessage();
    EXPECT_EQ(rows->RecordCount(), 3);
    EXPECT_EQ(rows->FieldCount(), 3);
    std::vector<std::string> seen;
    for (; !rows->EndOfFile(); rows->MoveNext()) {
        seen.push_back(rows->Field("S").StringValue() + "/" + rows->IdxField(1).StringValue());
        EXPECT_TRUE(rows->Field("empty").IsNull());
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"row0/0", "row1/1", "row2/2"}));
    rows->MoveNext();
    EXPECT_TRUE(rows->EndOfFile());
    EXPECT_TRUE(rows->Field("n").IsNull()) << "a read past the end gives NULL";
    rows->MoveFirst();
    EXPECT_EQ(rows->Field("n").IntegerValue(), 0);
    EXPECT_TRUE(rows->Field("unknown").IsNull());
    EXPECT_TRUE(rows->IdxField(0).IsNull());
    EXPECT_TRUE(rows->IdxField(4).IsNull());
}

TEST_F(DatabaseTest, EmptySelectIsAtEndAtOnce) {
    auto db = Create("r.db", kPreferences);
    const auto rows = db->SQLSelect("SELECT * FROM preferences WHERE pName = \"DicLanguage\"");
    ASSERT_NE(rows, nullptr);
    EXPECT_TRUE(rows->EndOfFile());
    EXPECT_EQ(rows->RecordCount(), 0);
    EXPECT_EQ(rows->FieldCount(), 3);
}

TEST_F(DatabaseTest, IntegerValueReadsLeadingIntegerLikeSqlite) {
    const auto integer = [](const char* text) { return fw::DatabaseField(text).IntegerValue(); };
    EXPECT_EQ(integer("7"), 7);
    EXPECT_EQ(integer("  -42xyz"), -42);
    EXPECT_EQ(integer("3.9"), 3);
    EXPECT_EQ(integer("abc"), 0);
    EXPECT_EQ(integer("99999999999999999999"), INT64_MAX);
    EXPECT_EQ(integer("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(integer("-99999999999999999999"), INT64_MIN);
    EXPECT_EQ(fw::DatabaseField().IntegerValue(), 0);
    EXPECT_DOUBLE_EQ(fw::DatabaseField("2.5e1").DoubleValue(), 25.0);
}

TEST_F(DatabaseTest, UnicodeTextRoundTripsByteForByte) {
    auto db = Create("u.db", "CREATE TABLE t(a text)");
    const std::vector<std::string> texts = {
        "Größe", "ÄÖÜäöüß", "naïve café", "日本語", "😀 mit Emoji", std::string("nul\0inside", 10)};
    for (const auto& text : texts) {
        Insert(*db, "t", {{"a", text}});
    }
    db->SQLExecute("INSERT INTO t VALUES ('Übermaß')");
    const auto rows = db->SQLSelect("SELECT a FROM t ORDER BY rowid");
    ASSERT_NE(rows, nullptr);
    for (const auto& text : texts) {
        EXPECT_EQ(rows->Field("a").StringValue(), text);
        rows->MoveNext();
    }
    EXPECT_EQ(rows->Field("a").StringValue(), "Übermaß");
}

TEST_F(DatabaseTest, InsertRecordStoresQuotesAndSqlAsPlainValues) {
    auto db = Create("q.db", "CREATE TABLE \"odd \"\"name\"(\"order\" text, v text)");
    const std::vector<std::string> values = {"O'Brien", "say \"hi\"", "'); DROP TABLE x; --",
                                             "?1 $a :b"};
    for (const auto& value : values) {
        Insert(*db, "odd \"name", {{"order", value}, {"v", value}});
    }
    const auto rows = db->SQLSelect("SELECT \"order\", v FROM \"odd \"\"name\"");
    ASSERT_NE(rows, nullptr);
    ASSERT_EQ(rows->RecordCount(), 4);
    for (const auto& value : values) {
        EXPECT_EQ(rows->Field("order").StringValue(), value);
        EXPECT_EQ(rows->Field("v").StringValue(), value);
        rows->MoveNext();
    }
}

TEST_F(DatabaseTest, IntegerColumnStoresAnIntegerAndLastSettingWins) {
    auto db = Create("i.db", "CREATE TABLE t(untyped, s)");
    fw::DatabaseRecord record;
    record.Column("s", "first");
    record.IntegerColumn("untyped", 7);
    record.Column("S", "second");
    ASSERT_EQ(record.Columns().size(), 2u);
    db->InsertRecord("t", record);
    EXPECT_EQ(Scalar(*db, "SELECT typeof(untyped) || ':' || s FROM t"), "integer:second");
}

// ---- Edit and Update
// -----------------------------------------------------------------------------

TEST_F(DatabaseTest, UpdateReplacesValuesInTheSameRow) {
    auto db = Create("pref.db", kPreferences);
    db->SQLExecute("CREATE INDEX fastpref ON preferences (pName)");
    Insert(*db, "preferences", {{"pName", "DB_Creation_AppBuild"}, {"pType", "7"}});
    Insert(*db, "preferences", {{"pName", "other"}, {"pType", "8"}});
    db->Commit();

    const auto rows =
        db->SQLSelect("SELECT * FROM preferences WHERE pName = \"DB_Creation_AppBuild\"");
    ASSERT_NE(rows, nullptr);
    rows->Edit();
    rows->SetField("pValue", "EN");
    rows->SetField("ptype", "8");
    rows->Update();
    EXPECT_FALSE(db->Error()) << db->ErrorMessage();
    db->Commit();
    EXPECT_EQ(rows->Field("pValue").StringValue(), "EN") << "the record set shows the new value";

    auto check = Open("pref.db", true);
    EXPECT_EQ(Scalar(*check, "SELECT count(*) FROM preferences"), "2");
    EXPECT_EQ(Scalar(*check,
                     "SELECT pValue || typeof(pType) || pType FROM preferences WHERE "
                     "pName = 'DB_Creation_AppBuild'"),
              "ENinteger8");
    EXPECT_EQ(Scalar(*check, "SELECT pType FROM preferences WHERE pName = 'other'"), "8");
}

TEST_F(DatabaseTest, UpdateFindsTheCurrentRowAmongIdenticalOnes) {
    auto db = Create("d.db", "CREATE TABLE t(a text)");
    db->SQLExecute("INSERT INTO t VALUES ('same'), ('same'), ('same')");
    const auto rows = db->SQLSelect("select a from t");
    rows->MoveNext();
    rows->Edit();
    rows->SetField("a", "changed");
    rows->Update();
    EXPECT_FALSE(db->Error()) << db->ErrorMessage();
    EXPECT_EQ(Scalar(*db, "SELECT group_concat(a, ',') FROM (SELECT a FROM t ORDER BY rowid)"),
              "same,changed,same");
}

TEST_F(DatabaseTest, UpdateWorksWithIntegerPrimaryKeyAndAliasedColumns) {
    auto db = Create("k.db", "CREATE TABLE t(id integer primary key, a text)");
    db->SQLExecute("INSERT INTO t VALUES (10, 'x'), (20, 'y')");
    const auto rows = db->SQLSelect("  /* lead */ SELECT a AS label FROM t WHERE id = 20");
    rows->Edit();
    rows->SetField("LABEL", "z");
    rows->Update();
    EXPECT_FALSE(db->Error()) << db->ErrorMessage();
    EXPECT_EQ(Scalar(*db, "SELECT group_concat(a, ',') FROM (SELECT a FROM t ORDER BY id)"), "x,z");
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
        const auto rows = db->SQLSelect(sql);
        ASSERT_NE(rows, nullptr) << sql;
        rows->Edit();
        rows->SetField(field, "new");
        rows->Update();
        EXPECT_TRUE(db->Error()) << sql;
    }
    EXPECT_EQ(Scalar(*db, "SELECT a || b || c FROM t, u, v"), "123");
}

TEST_F(DatabaseTest, UpdatePastTheEndOrOnReadOnlyConnectionFails) {
    Create("z.db", "CREATE TABLE t(a text); INSERT INTO t VALUES ('1')");
    auto db = Open("z.db", true);
    const auto rows = db->SQLSelect("SELECT a FROM t");
    rows->Edit();
    rows->SetField("a", "2");
    rows->Update();
    EXPECT_EQ(db->ErrorMessage(), "attempt to write a readonly database");
    EXPECT_EQ(Scalar(*db, "SELECT a FROM t"), "1");

    auto writable = Open("z.db", false);
    const auto past = writable->SQLSelect("SELECT a FROM t");
    past->MoveNext();
    past->Update();
    EXPECT_EQ(writable->ErrorMessage(), "There is no current record to update.");
}

TEST_F(DatabaseTest, UpdateOfRowDeletedMeanwhileFails) {
    auto db = Create("del.db", "CREATE TABLE t(a text); INSERT INTO t VALUES ('1')");
    const auto rows = db->SQLSelect("SELECT a FROM t");
    db->SQLExecute("DELETE FROM t");
    rows->Edit();
    rows->SetField("a", "2");
    rows->Update();
    EXPECT_TRUE(db->Error());
    EXPECT_EQ(Scalar(*db, "SELECT count(*) FROM t"), "0");
}

}  // namespace
