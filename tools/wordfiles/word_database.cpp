#include "tools/wordfiles/word_database.h"

#include <sqlite3.h>

#include <memory>
#include <stdexcept>

#include "framework/sqlite_handles.h"
#include "tools/wordfiles/replacing_file.h"
#include "worddata/DIC.h"
#include "worddata/FragmentIndex.h"

namespace wordfiles {
namespace {

using Connection = fw::SqliteConnection;
using Statement = fw::SqliteStatement;

[[noreturn]] void Fail(sqlite3* db, const std::string& what) {
    throw std::runtime_error(what + ": " + sqlite3_errmsg(db));
}

Connection Create(const std::filesystem::path& file) {
    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Connection db(raw);
    if (rc != SQLITE_OK) {
        Fail(db.get(), "can't create " + file.string());
    }
    return db;
}

void Execute(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        Fail(db, sql);
    }
}

Statement Prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) {
        Fail(db, sql);
    }
    return Statement(raw);
}

void InsertWords(sqlite3* db, const std::vector<std::string>& words) {
    const Statement insert =
        Prepare(db, "INSERT INTO words (wID, wWord, wSoundex) VALUES (?1, ?2, ?3)");
    for (size_t id = 0; id < words.size(); ++id) {
        const std::string& word = words[id];
        sqlite3_bind_int64(insert.get(), 1, static_cast<sqlite3_int64>(id));
        sqlite3_bind_text(insert.get(), 2, word.data(), static_cast<int>(word.size()),
                          SQLITE_STATIC);
        sqlite3_bind_int(insert.get(), 3, DIC::GetSoundex(word));
        if (sqlite3_step(insert.get()) != SQLITE_DONE) {
            Fail(db, "can't insert \"" + word + "\"");
        }
        sqlite3_reset(insert.get());
    }
}

// Whether the word IDs follow the order in which the NOCASE index holds the words.
bool IdsFollowNocaseOrder(sqlite3* db) {
    const Statement select =
        Prepare(db, "SELECT wID FROM words ORDER BY wWord COLLATE NOCASE, wID");
    sqlite3_int64 previous = -1;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(select.get())) == SQLITE_ROW) {
        const sqlite3_int64 id = sqlite3_column_int64(select.get(), 0);
        if (id <= previous) {
            return false;
        }
        previous = id;
    }
    if (rc != SQLITE_DONE) {
        Fail(db, "can't read the word order");
    }
    return true;
}

void Fill(const std::filesystem::path& file, const std::vector<std::string>& words) {
    const Connection db = Create(file);
    // The file is a temporary one until it is complete: no journal and no syncing needed.
    Execute(db.get(), "PRAGMA journal_mode=OFF");
    Execute(db.get(), "PRAGMA synchronous=OFF");
    Execute(db.get(), "CREATE TABLE words (wID INTEGER PRIMARY KEY, wWord TEXT, wSoundex INTEGER)");
    Execute(db.get(), "BEGIN");
    InsertWords(db.get(), words);
    Execute(db.get(), "COMMIT");
    // LIKE without a leading "%" can use the BINARY index with case_sensitive_like on and the
    // NOCASE one with it off.
    Execute(db.get(), "CREATE INDEX words_wWord_binary ON words (wWord COLLATE BINARY)");
    Execute(db.get(), "CREATE INDEX words_wWord_nocase ON words (wWord COLLATE NOCASE)");
    Execute(db.get(), "CREATE INDEX words_wSoundex ON words (wSoundex)");
    for (const std::string& statement : FragmentIndex::BuildStatements()) {
        Execute(db.get(), statement.c_str());
    }
    if (IdsFollowNocaseOrder(db.get())) {
        Execute(db.get(), FragmentIndex::MarkStatement().c_str());
    }
    // Merging the index's segments leaves free pages behind; the shipped file has none.
    Execute(db.get(), "VACUUM");
}

}  // namespace

void WriteWordDatabase(const std::filesystem::path& target, const std::vector<std::string>& words) {
    ReplacingFile file(target);
    Fill(file.TempPath(), words);
    file.Commit();
}

}  // namespace wordfiles
