// Owners of raw SQLite handles, for code that talks to the C API directly (the framework's own
// database class, the word-file builder, benchmarks and test probes).
#pragma once

#include <sqlite3.h>

#include <memory>

namespace fw {

struct SqliteConnectionCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct SqliteStatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using SqliteConnection = std::unique_ptr<sqlite3, SqliteConnectionCloser>;
using SqliteStatement = std::unique_ptr<sqlite3_stmt, SqliteStatementFinalizer>;

}  // namespace fw
