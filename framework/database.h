// The framework's SQLite database and record set. Every operation sets the error state
// (Error(), ErrorMessage() = sqlite3_errmsg of the failed step) and clears it on success, so a
// caller reads the state right after the step it guards. Writes are collected in a transaction
// that the framework opens on the first write and that Commit() ends, as the framework always did;
// PRAGMA, SELECT and transaction statements never open one. Not for use from several OS threads.
// A select's rows are stepped as the caller reads them: a caller that yields between rows keeps
// the statement open across the switch, and the record set closes it when it ends or dies. The
// files may be hostile: no step runs longer than StatementTimeLimitMs, and only regular files are
// opened.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace fw {

// A value of one column: text or integer, as SQLite stored it; NULL is absent.
class DatabaseField {
  public:
    DatabaseField() = default;
    explicit DatabaseField(std::optional<std::string> text) : text_(std::move(text)) {}
    std::string StringValue() const { return text_.value_or(""); }
    int64_t IntegerValue() const;  // the leading integer of the text, as SQLite converts text
    bool IsNull() const { return !text_; }

  private:
    std::optional<std::string> text_;
};

// The record to insert: column name to value. Setting a column twice keeps the last value.
class DatabaseRecord {
  public:
    void Column(const std::string& name, const std::string& value);
    void IntegerColumn(const std::string& name, int64_t value);
    const std::vector<std::pair<std::string, std::string>>& Columns() const { return columns_; }
    bool IsInteger(size_t index) const { return integers_.at(index); }

  private:
    void Set(const std::string& name, std::string value, bool integer);
    std::vector<std::pair<std::string, std::string>> columns_;
    std::vector<bool> integers_;
};

class Database;

// The rows of one select. The statement is stepped only as far as the cursor's row, so EndOfFile
// is exact at once while rows nobody reads are never stepped; rows once read are kept, so MoveFirst
// goes back to the first. A step that fails after the first row ends the record set and sets the
// database's error state. Holds a plain pointer to its database: it must not outlive it.
class RecordSet {
  public:
    // The framework's EOF test; that name is a macro of the C library.
    bool EndOfFile() const { return row_ >= rowCount_; }
    void MoveNext();
    void MoveFirst() { row_ = 0; }
    // Every row of the select: steps the statement to its end, the cursor staying where it is.
    int64_t RecordCount();
    int FieldCount() const { return static_cast<int>(names_.size()); }
    // The current row's column by name (ignoring case) or by 1-based index; an unknown name or a
    // read past the end gives a NULL field.
    DatabaseField Field(const std::string& name) const;
    DatabaseField IdxField(int index) const;

    // Edits the current row of a single-table select: Edit(), SetField()..., Update(). The row is
    // found again by its rowid, so a select whose rows carry none (a join, an expression column,
    // DISTINCT) cannot be updated. Update sets the database's error state.
    void Edit();
    void SetField(const std::string& name, const std::string& value);
    void Update();

  private:
    friend class Database;
    // A cell is a slice of text_; a NULL cell has length kNull.
    struct Cell {
        size_t offset = 0;
        size_t length = 0;
    };
    static constexpr size_t kNull = static_cast<size_t>(-1);

    struct StatementFinalizer {
        void operator()(sqlite3_stmt* statement) const;
    };

    // Steps the statement and keeps its row; false at its end or after a failed step.
    bool Fetch();
    int ColumnIndex(const std::string& name) const;  // 0-based, -1 when unknown
    DatabaseField CellField(int column) const;
    void StoreCell(int column, const std::string& value);
    bool CanUpdate() const;

    Database* db_ = nullptr;
    // Open until its last row has been stepped or a step failed.
    std::unique_ptr<sqlite3_stmt, StatementFinalizer> statement_;
    bool withRowid_ = false;  // the statement's first column is the rowid, kept for Update
    std::string schema_;      // the database ("main") and table of a single-table select
    std::string table_;
    std::string rowidColumn_;
    std::vector<std::string> names_;
    std::vector<std::string> origins_;  // the table column behind each result column
    std::vector<int64_t> rowids_;       // one per row; empty when the rows can't be updated
    std::string text_;
    std::vector<Cell> cells_;  // row-major
    size_t rowCount_ = 0;
    size_t row_ = 0;
    std::vector<std::pair<std::string, std::string>> edits_;
};

class Database {
  public:
    Database();
    ~Database();  // closes the connection; a pending transaction is rolled back by SQLite
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    std::string DatabaseFile;  // the file the database lives in
    bool ReadOnly = false;     // connect read-only
    // A statement still running after this long is interrupted (error "interrupted"), so that no
    // file, a view that recurses for ever say, can hang the program. Far above any real statement.
    int StatementTimeLimitMs = 2000;
    // How long a statement waits for another process's lock before it fails with "database is
    // locked"; well within the statement time limit.
    static constexpr int kBusyTimeoutMs = 1000;

    bool CreateDatabaseFile();  // creates (or opens) the file read-write and connects
    // Connects to an existing SQLite file; false (and the error state) when it is missing, is not
    // a regular file (nor may its journals be anything else), or is not a database. Never creates
    // a file.
    bool Connect();
    void Close();
    bool IsConnected() const { return db_ != nullptr; }

    // Runs every statement of the text in order; stops at the first failure.
    void SQLExecute(const std::string& statement);
    // Runs the first statement of the text to its end. nullptr on error (see Error()).
    std::unique_ptr<RecordSet> SQLSelect(const std::string& statement);
    // Inserts with bound parameters; column and table names are quoted as identifiers.
    void InsertRecord(const std::string& table, const DatabaseRecord& record);
    void Commit();  // ends the pending transaction; succeeds when none is pending

    // True when `table` is an ordinary table of the database with every one of `columns` (names
    // ignoring case) and no column computed as it is read; else false, with the error state saying
    // so. A view, a virtual table or a missing table fails: what a caller's statements read from
    // it are then stored rows, which no file can make endless.
    bool HasTable(const std::string& table, const std::vector<std::string>& columns);

    bool Error() const { return error_; }
    std::string ErrorMessage() const { return errorMessage_; }
    int ErrorCode() const { return errorCode_; }

    // The longest LIKE pattern, in bytes, that a statement may use; 0 when not connected.
    int LikePatternLimit() const;

  private:
    friend class RecordSet;
    struct Closer {
        void operator()(sqlite3* db) const;
    };

    bool Open(int flags);
    bool CheckConnected();
    void SetError();  // from the connection's last failed step
    void SetError(int code, const std::string& message);
    void ClearError();
    bool BeginIfNeeded();
    void EndTransaction(const char* statement);

    // Arms the statement time limit for the SQL run in its scope; restores the enclosing scope's
    // deadline after it. Every step and exec of the connection runs inside one.
    class StatementClock {
      public:
        explicit StatementClock(Database& database);
        ~StatementClock();
        StatementClock(const StatementClock&) = delete;
        StatementClock& operator=(const StatementClock&) = delete;

      private:
        Database& database_;
        std::chrono::steady_clock::time_point enclosing_;
    };
    static int InterruptWhenLate(void* database);  // SQLite's progress handler

    std::unique_ptr<sqlite3, Closer> db_;
    std::chrono::steady_clock::time_point deadline_ = std::chrono::steady_clock::time_point::max();
    bool error_ = false;
    int errorCode_ = 0;
    std::string errorMessage_;
};

}  // namespace fw
