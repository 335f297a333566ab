// The database's guards against hostile files: the clock that bounds every statement's running
// time, and the check that a table is one whose reads are plain stored rows.
#include <sqlite3.h>

#include "framework/database.h"
#include "framework/text.h"

namespace fw {

Database::StatementClock::StatementClock(Database& database)
    : database_(database), enclosing_(database.deadline_) {
    database_.deadline_ = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(database_.StatementTimeLimitMs);
}

Database::StatementClock::~StatementClock() {
    database_.deadline_ = enclosing_;
}

int Database::InterruptWhenLate(void* database) {
    return std::chrono::steady_clock::now() > static_cast<Database*>(database)->deadline_ ? 1 : 0;
}

bool Database::HasTable(const std::string& table, const std::vector<std::string>& columns) {
    const std::string literal = "'" + ReplaceAllB(table, "'", "''") + "'";
    const std::unique_ptr<RecordSet> kind = SQLSelect("PRAGMA main.table_list(" + literal + ")");
    if (!kind) {
        return false;
    }
    bool ordinary = !kind->EndOfFile() && kind->Field("type").StringValue() == "table";
    const std::unique_ptr<RecordSet> fields =
        ordinary ? SQLSelect("PRAGMA main.table_xinfo(" + literal + ")") : nullptr;
    if (ordinary && !fields) {
        return false;
    }
    size_t found = 0;
    for (; ordinary && !fields->EndOfFile(); fields->MoveNext()) {
        constexpr int64_t kGeneratedOnRead = 2;  // a virtual generated column
        ordinary = fields->Field("hidden").IntegerValue() != kGeneratedOnRead;
        for (const std::string& column : columns) {
            found += EqualsIgnoreCase(fields->Field("name").StringValue(), column) ? 1 : 0;
        }
    }
    if (ordinary && found == columns.size()) {
        return true;
    }
    std::string names;
    for (const std::string& column : columns) {
        names += (names.empty() ? "" : ", ") + column;
    }
    SetError(SQLITE_SCHEMA, "no table " + table + " with the columns " + names);
    return false;
}

}  // namespace fw
