// Test helpers that read and write SQLite files with SQLite's own API, so that the checks see
// exactly the rows and plans on disk, whatever the program's database layer does. A failure fails
// the calling test; the handles close themselves.
#pragma once

#include <sqlite3.h>

#include <gtest/gtest.h>

#include "framework/sqlite_handles.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace sqlite_probe {

using Connection = fw::SqliteConnection;
using Row = std::vector<std::string>;

// Read-only, as the program opens its word files, or read-write and created when missing; nullptr
// (and a test failure) when it can't be opened.
inline Connection Open(const std::string& path, bool readOnly = true) {
    sqlite3* raw = nullptr;
    const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    Connection db(raw);
    if (rc != SQLITE_OK) {
        ADD_FAILURE() << "can't open " << path << ": " << sqlite3_errmsg(raw);
        return nullptr;
    }
    return db;
}

// Runs the statements on the file, creating it when missing.
inline void Execute(const std::filesystem::path& file, const std::string& statements) {
    const Connection db = Open(file.string(), false);
    ASSERT_TRUE(db);
    ASSERT_EQ(sqlite3_exec(db.get(), statements.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db.get());
}

// Every row the statements give, NULL read as "".
inline std::vector<Row> Rows(sqlite3* db, const std::string& sql) {
    std::vector<Row> rows;
    const auto collect = [](void* target, int count, char** values, char**) {
        Row& row = static_cast<std::vector<Row>*>(target)->emplace_back();
        for (int i = 0; i < count; ++i) {
            row.emplace_back(values[i] ? values[i] : "");
        }
        return 0;
    };
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), collect, &rows, nullptr), SQLITE_OK)
        << sql << ": " << sqlite3_errmsg(db);
    return rows;
}

inline std::vector<Row> Rows(const std::filesystem::path& file, const std::string& sql) {
    const Connection db = Open(file.string());
    return db ? Rows(db.get(), sql) : std::vector<Row>{};
}

}  // namespace sqlite_probe
