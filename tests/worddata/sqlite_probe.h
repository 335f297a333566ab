// Reads and writes SQLite files with SQLite's own API, so that checks see exactly what is on disk,
// whatever the program's database layer does. A failure fails the calling test.
#pragma once

#include <sqlite3.h>

#include <gtest/gtest.h>

#include "framework/sqlite_handles.h"

#include <filesystem>
#include <string>
#include <vector>

namespace sqlite_probe {

using Row = std::vector<std::string>;

// Read-only, as the program opens its word files, or read-write and created when missing.
inline fw::SqliteConnection Open(const std::string& path, bool readOnly = true) {
    sqlite3* raw = nullptr;
    const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    fw::SqliteConnection db(raw);
    if (rc != SQLITE_OK) {
        ADD_FAILURE() << "can't open " << path << ": " << sqlite3_errmsg(raw);
        return nullptr;
    }
    return db;
}

inline void Execute(const std::filesystem::path& file, const std::string& statements) {
    const fw::SqliteConnection db = Open(file.string(), false);
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
    const fw::SqliteConnection db = Open(file.string());
    return db ? Rows(db.get(), sql) : std::vector<Row>{};
}

}  // namespace sqlite_probe
