// The framework's SQLite database and record set. Every operation sets the error state
// (Error(), ErrorMessage() = sqlite3_errmsg of the failed step) and clears it on success, so a
// caller reads the state right after the step it guards. Writes are collected in a transaction
// that the framework opens on the first write and that Commit() ends, as the framework always did.
// Not for use from several OS threads.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace fw {

// A value of one column: text or integer, as SQLite stored it; NULL is absent.
class DatabaseField {
public:
    DatabaseField() = default;
    explicit DatabaseField(std::optional<std::string> text) : text_(std::move(text)) {}
    std::string StringValue() const { return text_.value_or(""); }
    int64_t IntegerValue() const;  // Val of the text, as SQLite's integer conversion would
    double DoubleValue() const;
    bool IsNull() const { return !text_; }

private:
    std::optional<std::string> text_;
};

// The record to insert: column name to text.
class DatabaseRecord {
public:
    void Column(const std::string& name, const std::string& value);
    void IntegerColumn(const std::string& name, int64_t value);
    const std::vector<std::pair<std::string, std::string>>& Columns() const { return columns_; }

private:
    std::vector<std::pair<std::string, std::string>> columns_;
};

class Database;

// The rows of one select, read whole when the statement runs (a statement runs to its end
// without a thread switch). Must not outlive its database.
class RecordSet {
public:
    bool EOF() const;
    void MoveNext();
    void MoveFirst();
    int64_t RecordCount() const;
    int FieldCount() const;
    // The current row's column by name (ignoring case) or by 1-based index; an unknown name or a
    // read past the end gives a NULL field.
    DatabaseField Field(const std::string& name) const;
    DatabaseField IdxField(int index) const;

    // Edits the current row of a single-table select: Edit(), SetField()..., Update().
    // Update sets the database's error state.
    void Edit();
    void SetField(const std::string& name, const std::string& value);
    void Update();

private:
    friend class Database;
    Database* db_ = nullptr;
    std::string table_;
    std::vector<std::string> names_;
    std::vector<std::vector<std::optional<std::string>>> rows_;
    std::vector<int64_t> rowids_;  // empty when the select has no single table
    std::map<std::string, std::string> edits_;
    size_t pos_ = 0;
};

class Database {
public:
    Database();
    ~Database();  // closes the connection
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    std::string DatabaseFile;  // the file the database lives in
    bool ReadOnly = false;     // connect read-only

    bool CreateDatabaseFile();  // creates (or opens) the file read-write and connects
    bool Connect();             // connects to an existing file; false when it does not exist
    void Close();
    bool IsConnected() const { return db_ != nullptr; }

    void SQLExecute(const std::string& statement);
    // nullptr on error (see Error()).
    std::unique_ptr<RecordSet> SQLSelect(const std::string& statement);
    void InsertRecord(const std::string& table, const DatabaseRecord& record);
    void Commit();
    void Rollback();

    bool Error() const { return error_; }
    std::string ErrorMessage() const { return errorMessage_; }
    int ErrorCode() const { return errorCode_; }

private:
    friend class RecordSet;
    bool Open(int flags);
    void SetError();
    void ClearError();
    bool BeginIfNeeded();
    sqlite3* db_ = nullptr;
    bool inTransaction_ = false;
    bool error_ = false;
    int errorCode_ = 0;
    std::string errorMessage_;
};

}  // namespace fw
