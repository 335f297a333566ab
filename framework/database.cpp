#include "framework/database.h"

#include <sqlite3.h>

#include <cctype>
#include <limits>
#include <string_view>

#include "framework/folderitem.h"
#include "framework/sqlite_handles.h"
#include "framework/text.h"
#include "framework/vectorstate.h"

namespace fw {

namespace {

using Statement = SqliteStatement;

// Prepares the first statement of `sql`; `tail` receives where the next one begins. The statement
// is null for text without one (blanks, a comment) and after a failure.
int Prepare(sqlite3* db, std::string_view sql, Statement& statement, const char** tail = nullptr) {
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &raw, tail);
    statement.reset(raw);
    return rc;
}

constexpr std::string_view kNotConnected = "The database is not connected.";

// How many virtual-machine steps SQLite runs between two looks at the statement clock: a few
// microseconds of work, so the look costs nothing and a late statement stops at once.
constexpr int kStepsBetweenClockLooks = 1000;

// SQLite reads the database, and a hot journal or write-ahead log beside it, with blocking reads:
// a FIFO in any of those places would hang the connection before the first statement.
bool OnlyRegularFiles(const std::string& path) {
    for (const char* suffix : {"", "-journal", "-wal"}) {
        const FolderItem item(path + suffix);
        if (item.Exists() && !item.IsRegularFile()) {
            return false;
        }
    }
    return true;
}

// Skips blanks and SQL comments; returns the position of the statement's first keyword.
size_t StatementStart(std::string_view sql) {
    size_t i = 0;
    while (i < sql.size()) {
        if (std::isspace(static_cast<unsigned char>(sql[i]))) {
            ++i;
        } else if (sql.substr(i, 2) == "--") {
            const size_t end = sql.find('\n', i);
            i = end == std::string_view::npos ? sql.size() : end + 1;
        } else if (sql.substr(i, 2) == "/*") {
            const size_t end = sql.find("*/", i + 2);
            i = end == std::string_view::npos ? sql.size() : end + 2;
        } else {
            break;
        }
    }
    return i;
}

std::string_view FirstKeyword(std::string_view sql) {
    const size_t start = StatementStart(sql);
    size_t end = start;
    while (end < sql.size() && std::isalpha(static_cast<unsigned char>(sql[end]))) {
        ++end;
    }
    return sql.substr(start, end - start);
}

// Statements that SQLite refuses inside a transaction, or that manage one themselves.
bool RunsOutsideTransaction(std::string_view keyword) {
    for (const std::string_view k : {"PRAGMA", "VACUUM", "ATTACH", "DETACH", "BEGIN", "COMMIT",
                                     "END", "ROLLBACK", "SAVEPOINT", "RELEASE"}) {
        if (EqualsIgnoreCase(keyword, k)) {
            return true;
        }
    }
    return false;
}

bool IsWrite(sqlite3_stmt* statement) {
    return !sqlite3_stmt_readonly(statement) &&
           !RunsOutsideTransaction(FirstKeyword(sqlite3_sql(statement)));
}

std::string QuoteIdentifier(std::string_view name) {
    std::string quoted = "\"";
    for (const char c : name) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

// A name that begins "file:" would be read as a URI by Debian's SQLite build.
std::string PlainPath(const std::string& path) {
    return path.rfind("file:", 0) == 0 ? "./" + path : path;
}

int BindText(sqlite3_stmt* statement, int index, const std::string& value) {
    return sqlite3_bind_text(statement, index, value.data(), static_cast<int>(value.size()),
                             SQLITE_STATIC);
}

// The table behind every column of a select, when they all come from the same one.
std::optional<std::pair<std::string, std::string>> SingleTable(sqlite3_stmt* statement) {
    const int count = sqlite3_column_count(statement);
    if (count == 0) {
        return std::nullopt;
    }
    std::pair<std::string, std::string> first;
    for (int i = 0; i < count; ++i) {
        const char* schema = sqlite3_column_database_name(statement, i);
        const char* table = sqlite3_column_table_name(statement, i);
        if (!schema || !table) {
            return std::nullopt;
        }
        if (i == 0) {
            first = {schema, table};
        } else if (first.first != schema || first.second != table) {
            return std::nullopt;
        }
    }
    return first;
}

// True when the origin column is the table's rowid (or its INTEGER PRIMARY KEY alias) rather
// than an ordinary column that happens to be named "rowid".
bool IsRowidColumn(sqlite3* db, const std::string& schema, const std::string& table,
                   const char* origin) {
    const char* type = nullptr;
    int primaryKey = 0;
    if (!origin ||
        sqlite3_table_column_metadata(db, schema.c_str(), table.c_str(), origin, &type, nullptr,
                                      nullptr, &primaryKey, nullptr) != SQLITE_OK) {
        return false;
    }
    return primaryKey && type && EqualsIgnoreCase(type, "INTEGER");
}

}  // namespace

// ---- DatabaseField, DatabaseRecord -------------------------------------------------------------

int64_t DatabaseField::IntegerValue() const {
    if (!text_) {
        return 0;
    }
    const std::string& s = *text_;
    size_t i = 0;
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    // Accumulate as a negative number so that the smallest int64 is reachable; clamp on overflow.
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    int64_t value = 0;
    for (; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); ++i) {
        const int digit = s[i] - '0';
        if (value < (kMin + digit) / 10) {
            return negative ? kMin : std::numeric_limits<int64_t>::max();
        }
        value = value * 10 - digit;
    }
    if (negative) {
        return value;
    }
    return value == kMin ? std::numeric_limits<int64_t>::max() : -value;
}

void DatabaseRecord::Set(const std::string& name, std::string value, bool integer) {
    for (size_t i = 0; i < columns_.size(); ++i) {
        if (EqualsIgnoreCase(columns_[i].first, name)) {
            columns_[i].second = std::move(value);
            integers_[i] = integer;
            return;
        }
    }
    columns_.emplace_back(name, std::move(value));
    integers_.push_back(integer);
}

void DatabaseRecord::Column(const std::string& name, const std::string& value) {
    Set(name, value, false);
}

void DatabaseRecord::IntegerColumn(const std::string& name, int64_t value) {
    Set(name, std::to_string(value), true);
}

// ---- RecordSet ---------------------------------------------------------------------------------

void RecordSet::StatementFinalizer::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

void RecordSet::MoveNext() {
    if (row_ < rowCount_) {
        ++row_;
    }
    if (row_ == rowCount_) {
        Fetch();
    }
}

int64_t RecordSet::RecordCount() {
    while (Fetch()) {
    }
    return static_cast<int64_t>(rowCount_);
}

bool RecordSet::Fetch() {
    if (!statement_) {
        return false;
    }
    sqlite3_stmt* const statement = statement_.get();
    // Painting between two steps may have left the upper vector state dirty again.
    ClearUpperVectorState();
    const Database::StatementClock clock(*db_);  // a record set with a statement has a database
    const int rc = sqlite3_step(statement);
    if (rc != SQLITE_ROW) {
        if (rc != SQLITE_DONE) {
            db_->SetError();
        }
        statement_.reset();
        return false;
    }
    if (withRowid_) {
        rowids_.push_back(sqlite3_column_int64(statement, 0));
    }
    const int end = sqlite3_column_count(statement);
    for (int i = withRowid_ ? 1 : 0; i < end; ++i) {
        const unsigned char* text = sqlite3_column_text(statement, i);
        if (!text) {
            cells_.push_back({0, kNull});
            continue;
        }
        const auto length = static_cast<size_t>(sqlite3_column_bytes(statement, i));
        cells_.push_back({text_.size(), length});
        text_.append(reinterpret_cast<const char*>(text), length);
    }
    ++rowCount_;
    return true;
}

int RecordSet::ColumnIndex(const std::string& name) const {
    for (size_t i = 0; i < names_.size(); ++i) {
        if (EqualsIgnoreCase(names_[i], name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

DatabaseField RecordSet::CellField(int column) const {
    if (column < 0 || column >= FieldCount() || EndOfFile()) {
        return DatabaseField();
    }
    const Cell& cell = cells_[row_ * names_.size() + static_cast<size_t>(column)];
    if (cell.length == kNull) {
        return DatabaseField();
    }
    return DatabaseField(text_.substr(cell.offset, cell.length));
}

DatabaseField RecordSet::Field(const std::string& name) const {
    return CellField(ColumnIndex(name));
}

DatabaseField RecordSet::IdxField(int index) const {
    return CellField(index - 1);
}

void RecordSet::Edit() {
    edits_.clear();
}

void RecordSet::SetField(const std::string& name, const std::string& value) {
    for (auto& edit : edits_) {
        if (EqualsIgnoreCase(edit.first, name)) {
            edit.second = value;
            return;
        }
    }
    edits_.emplace_back(name, value);
}

bool RecordSet::CanUpdate() const {
    return !rowids_.empty() && !EndOfFile();
}

void RecordSet::StoreCell(int column, const std::string& value) {
    Cell& cell = cells_[row_ * names_.size() + static_cast<size_t>(column)];
    cell = {text_.size(), value.size()};
    text_ += value;
}

void RecordSet::Update() {
    if (!db_ || !db_->CheckConnected()) {
        return;
    }
    if (db_->ReadOnly) {
        db_->SetError(SQLITE_READONLY, "attempt to write a readonly database");
        return;
    }
    if (!CanUpdate()) {
        db_->SetError(SQLITE_MISUSE, EndOfFile()
                                         ? "There is no current record to update."
                                         : "The record set can't be updated: its select does "
                                           "not read the rows of a single table.");
        return;
    }
    if (edits_.empty()) {
        db_->ClearError();
        return;
    }
    const Database::StatementClock clock(*db_);
    std::string sql =
        "UPDATE " + QuoteIdentifier(schema_) + "." + QuoteIdentifier(table_) + " SET ";
    for (size_t i = 0; i < edits_.size(); ++i) {
        const int column = ColumnIndex(edits_[i].first);
        const std::string& target = column >= 0 ? origins_[column] : edits_[i].first;
        sql += (i ? ", " : "") + QuoteIdentifier(target) + " = ?" + std::to_string(i + 1);
    }
    sql += " WHERE " + QuoteIdentifier(rowidColumn_) + " = ?" + std::to_string(edits_.size() + 1);

    sqlite3* db = db_->db_.get();
    Statement statement;
    if (Prepare(db, sql, statement) != SQLITE_OK) {
        db_->SetError();
        return;
    }
    sqlite3_stmt* raw = statement.get();
    for (size_t i = 0; i < edits_.size(); ++i) {
        BindText(raw, static_cast<int>(i + 1), edits_[i].second);
    }
    sqlite3_bind_int64(raw, static_cast<int>(edits_.size() + 1), rowids_[row_]);
    if (!db_->BeginIfNeeded()) {
        return;
    }
    if (sqlite3_step(raw) != SQLITE_DONE) {
        db_->SetError();
        return;
    }
    if (sqlite3_changes(db) == 0) {
        db_->SetError(SQLITE_NOTFOUND, "The record to update no longer exists.");
        return;
    }
    for (const auto& [name, value] : edits_) {
        const int column = ColumnIndex(name);
        if (column >= 0) {
            StoreCell(column, value);
        }
    }
    edits_.clear();
    db_->ClearError();
}

// ---- Database ----------------------------------------------------------------------------------

void Database::Closer::operator()(sqlite3* db) const {
    sqlite3_close_v2(db);
}

Database::Database() = default;
Database::~Database() = default;

void Database::SetError() {
    sqlite3* db = db_.get();
    SetError(db ? sqlite3_errcode(db) : SQLITE_MISUSE,
             db ? sqlite3_errmsg(db) : std::string(kNotConnected));
}

void Database::SetError(int code, const std::string& message) {
    error_ = true;
    errorCode_ = code;
    errorMessage_ = message;
}

void Database::ClearError() {
    error_ = false;
    errorCode_ = 0;
    errorMessage_.clear();
}

bool Database::CheckConnected() {
    if (db_) {
        return true;
    }
    SetError(SQLITE_MISUSE, std::string(kNotConnected));
    return false;
}

bool Database::Open(int flags) {
    Close();
    if (DatabaseFile.empty()) {
        SetError(SQLITE_CANTOPEN, sqlite3_errstr(SQLITE_CANTOPEN));
        return false;
    }
    const std::string path = PlainPath(DatabaseFile);
    if (!OnlyRegularFiles(path)) {
        SetError(SQLITE_CANTOPEN, "not a regular file");
        return false;
    }
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    std::unique_ptr<sqlite3, Closer> connection(raw);
    if (rc != SQLITE_OK) {
        SetError(rc, raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc));
        return false;
    }
    sqlite3_progress_handler(raw, kStepsBetweenClockLooks, &Database::InterruptWhenLate, this);
    sqlite3_busy_timeout(raw, kBusyTimeoutMs);
    const StatementClock clock(*this);
    // SQLite opens lazily; reading the schema now makes a file that is no database fail here.
    if (sqlite3_exec(raw, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr) !=
        SQLITE_OK) {
        SetError(sqlite3_errcode(raw), sqlite3_errmsg(raw));
        return false;
    }
    db_ = std::move(connection);
    ClearError();
    return true;
}

bool Database::CreateDatabaseFile() {
    return Open(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

bool Database::Connect() {
    return Open(ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE);
}

void Database::Close() {
    db_.reset();
}

bool Database::BeginIfNeeded() {
    if (!sqlite3_get_autocommit(db_.get())) {
        return true;
    }
    if (sqlite3_exec(db_.get(), "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK) {
        SetError();
        return false;
    }
    return true;
}

void Database::EndTransaction(const char* statement) {
    if (!CheckConnected()) {
        return;
    }
    if (sqlite3_get_autocommit(db_.get())) {
        ClearError();
        return;
    }
    const StatementClock clock(*this);
    if (sqlite3_exec(db_.get(), statement, nullptr, nullptr, nullptr) != SQLITE_OK) {
        SetError();
        return;
    }
    ClearError();
}

void Database::Commit() {
    EndTransaction("COMMIT");
}

void Database::SQLExecute(const std::string& statement) {
    if (!CheckConnected()) {
        return;
    }
    const char* next = statement.c_str();
    const char* const end = next + statement.size();
    while (next < end) {
        const StatementClock clock(*this);
        Statement current;
        if (Prepare(db_.get(), std::string_view(next, end - next), current, &next) != SQLITE_OK) {
            SetError();
            return;
        }
        sqlite3_stmt* raw = current.get();
        if (!raw) {
            continue;  // only blanks or a comment were left
        }
        if (IsWrite(raw) && !BeginIfNeeded()) {
            return;
        }
        int rc = SQLITE_ROW;
        while (rc == SQLITE_ROW) {
            rc = sqlite3_step(raw);
        }
        if (rc != SQLITE_DONE) {
            SetError();
            return;
        }
    }
    ClearError();
}

namespace {

// The same select with the rowid of its table in front, so that Update can find a row again.
// Only a plain "SELECT <columns> FROM <one table>" prepares this way; anything else (DISTINCT,
// a compound select, a view, a table without rowid) fails to prepare and is read without rowids.
Statement WithRowid(sqlite3* db, sqlite3_stmt* original, const std::string& schema,
                    const std::string& table) {
    const std::string_view sql = sqlite3_sql(original);
    const std::string_view keyword = FirstKeyword(sql);
    if (!EqualsIgnoreCase(keyword, "SELECT")) {
        return nullptr;
    }
    const size_t insertAt = keyword.data() + keyword.size() - sql.data();
    const std::string rewritten =
        std::string(sql.substr(0, insertAt)) + " rowid," + std::string(sql.substr(insertAt));
    Statement statement;
    if (Prepare(db, rewritten, statement) != SQLITE_OK || !statement) {
        return nullptr;
    }
    sqlite3_stmt* raw = statement.get();
    if (sqlite3_column_count(raw) != sqlite3_column_count(original) + 1 ||
        SingleTable(raw) != std::make_pair(schema, table) ||
        !IsRowidColumn(db, schema, table, sqlite3_column_origin_name(raw, 0))) {
        return nullptr;
    }
    return statement;
}

}  // namespace

std::unique_ptr<RecordSet> Database::SQLSelect(const std::string& statement) {
    if (!CheckConnected()) {
        return nullptr;
    }
    sqlite3* db = db_.get();
    const StatementClock clock(*this);
    Statement original;
    if (Prepare(db, statement, original) != SQLITE_OK) {
        SetError();
        return nullptr;
    }
    sqlite3_stmt* raw = original.get();
    auto rows = std::make_unique<RecordSet>();
    rows->db_ = this;
    if (!raw) {
        ClearError();
        return rows;
    }
    const int columns = sqlite3_column_count(raw);
    for (int i = 0; i < columns; ++i) {
        const char* origin = sqlite3_column_origin_name(raw, i);
        rows->names_.emplace_back(sqlite3_column_name(raw, i));
        rows->origins_.emplace_back(origin ? origin : "");
    }

    // A read-only connection can't edit rows, so it skips the second prepare that finds them.
    Statement run;
    if (const auto table = ReadOnly ? std::nullopt : SingleTable(raw)) {
        run = WithRowid(db, raw, table->first, table->second);
        if (run) {
            rows->schema_ = table->first;
            rows->table_ = table->second;
            rows->rowidColumn_ = sqlite3_column_origin_name(run.get(), 0);
        }
    }
    rows->withRowid_ = run != nullptr;
    if (!rows->withRowid_) {
        run = std::move(original);
    }
    const bool write = IsWrite(run.get());
    if (write && !BeginIfNeeded()) {
        return nullptr;
    }
    rows->statement_.reset(run.release());
    // A write runs to its end at once, as it always did; a read steps its first row only. The
    // error state is read back, since a failed step leaves it set.
    ClearError();
    if (write) {
        rows->RecordCount();
    } else {
        rows->Fetch();
    }
    return Error() ? nullptr : std::move(rows);
}

void Database::InsertRecord(const std::string& table, const DatabaseRecord& record) {
    if (!CheckConnected()) {
        return;
    }
    const auto& columns = record.Columns();
    std::string sql = "INSERT INTO " + QuoteIdentifier(table);
    if (columns.empty()) {
        sql += " DEFAULT VALUES";
    } else {
        std::string names;
        std::string values;
        for (size_t i = 0; i < columns.size(); ++i) {
            names += (i ? ", " : "") + QuoteIdentifier(columns[i].first);
            values += (i ? ", ?" : "?") + std::to_string(i + 1);
        }
        sql += " (" + names + ") VALUES (" + values + ")";
    }
    const StatementClock clock(*this);
    Statement statement;
    if (Prepare(db_.get(), sql, statement) != SQLITE_OK) {
        SetError();
        return;
    }
    sqlite3_stmt* raw = statement.get();
    for (size_t i = 0; i < columns.size(); ++i) {
        const int index = static_cast<int>(i + 1);
        if (record.IsInteger(i)) {
            sqlite3_bind_int64(raw, index, std::stoll(columns[i].second));
        } else {
            BindText(raw, index, columns[i].second);
        }
    }
    if (!BeginIfNeeded()) {
        return;
    }
    if (sqlite3_step(raw) != SQLITE_DONE) {
        SetError();
        return;
    }
    ClearError();
}

int Database::LikePatternLimit() const {
    return db_ ? sqlite3_limit(db_.get(), SQLITE_LIMIT_LIKE_PATTERN_LENGTH, -1) : 0;
}

}  // namespace fw
