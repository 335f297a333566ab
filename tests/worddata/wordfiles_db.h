// Test helpers that look into a generated word database with SQLite's own API, so that the
// checks see exactly the plans and rows SQLite produces. A failure fails the calling test.
#pragma once

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace wordfiles_test {

struct ConnectionCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;
using Row = std::vector<std::string>;

// Read-only, as the program opens it; nullptr (and a test failure) when it can't be opened.
inline Connection OpenReadOnly(const std::string& path) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    Connection db(raw);
    if (rc != SQLITE_OK) {
        ADD_FAILURE() << "can't open " << path << ": " << sqlite3_errmsg(raw);
        return nullptr;
    }
    return db;
}

// Every row of the statement, NULL read as "".
inline std::vector<Row> Rows(sqlite3* db, const std::string& sql) {
    std::vector<Row> rows;
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db);
        return rows;
    }
    const Statement statement(raw);
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        Row row;
        for (int i = 0; i < sqlite3_column_count(raw); ++i) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(raw, i));
            row.emplace_back(text ? text : "");
        }
        rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) {
        ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db);
    }
    return rows;
}

inline std::string Single(sqlite3* db, const std::string& sql) {
    const std::vector<Row> rows = Rows(db, sql);
    return rows.empty() || rows[0].empty() ? "" : rows[0][0];
}

// The detail lines of EXPLAIN QUERY PLAN, joined by line ends.
inline std::string QueryPlan(sqlite3* db, const std::string& sql) {
    std::string plan;
    for (const Row& row : Rows(db, "EXPLAIN QUERY PLAN " + sql)) {
        plan += row.back() + "\n";
    }
    return plan;
}

}  // namespace wordfiles_test
