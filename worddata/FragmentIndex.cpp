// The index is an FTS5 table with the trigram tokenizer over the words table's own rows (external
// content, so no word is stored twice). It holds no positions (detail=none), which keeps it small:
// a fragment is looked up as "every one of its trigrams", a superset of the words that contain it,
// and the LIKE of the original statement picks the rows out of those candidates. The tokenizer
// folds letter case further than LIKE does (umlauts too), which only widens the candidates.
#include "worddata/FragmentIndex.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "framework/text.h"

namespace FragmentIndex {
namespace {

constexpr int64_t kShortestFragment = 3;  // the tokenizer's trigrams
constexpr int64_t kLongestFragment = 64;  // keeps the query short; the scan answers longer ones

// The plans under which the word scan returns its rows in word-ID order: over the table itself,
// or over the NOCASE index of a file numbered in that index's order.
constexpr std::string_view kScansInIdOrder[] = {
    "SCAN words", "SCAN words USING COVERING INDEX words_wWord_nocase"};
// wID is the table's row ID, so the word-ID order is the order of the table and of its indexes'
// ties.
constexpr std::string_view kIdIsRowId = "SEARCH words USING INTEGER PRIMARY KEY (rowid=?)";

// `text` between two `quote` characters, each quote inside doubled.
std::string Quoted(std::string_view text, char quote) {
    std::string quoted(1, quote);
    for (const char c : text) {
        quoted += c;
        if (c == quote) {
            quoted += quote;
        }
    }
    return quoted + quote;
}

// Every trigram of the fragment, each one required.
std::string TrigramQuery(const std::string& fragment) {
    std::string query;
    const int64_t length = fw::Len(fragment);
    for (int64_t start = 1; start + 2 <= length; ++start) {
        if (!query.empty()) {
            query += " AND ";
        }
        query += Quoted(fw::Mid(fragment, start, 3), '"');
    }
    return query;
}

// The column of the select's only row; nothing when it gives no row or several.
std::optional<std::string> OnlyValue(fw::Database& db, const std::string& sql,
                                     const std::string& column) {
    const auto rows = db.SQLSelect(sql);
    if (!rows || rows->RecordCount() != 1) {
        return std::nullopt;
    }
    return rows->Field(column).StringValue();
}

// The index answers in the scan's order only in a file that the builder marked as numbered in
// NOCASE order, whose word ID is the row ID, and whose scan the planner runs in word-ID order.
bool AnswersInScanOrder(fw::Database& db) {
    if (!OnlyValue(db,
                   "SELECT 1 AS found FROM sqlite_schema WHERE type = 'table' AND name = "
                   "'words_trigram'",
                   "found") ||
        OnlyValue(db, "PRAGMA user_version", "user_version") != std::to_string(kIdsInNocaseOrder) ||
        OnlyValue(db, "EXPLAIN QUERY PLAN SELECT wWord FROM words WHERE wID = 0", "detail") !=
            kIdIsRowId) {
        return false;
    }
    const std::optional<std::string> scan = OnlyValue(
        db, "EXPLAIN QUERY PLAN SELECT wID, wWord FROM words WHERE wWord LIKE '%x%'", "detail");
    return scan && std::find(std::begin(kScansInIdOrder), std::end(kScansInIdOrder), *scan) !=
                       std::end(kScansInIdOrder);
}

}  // namespace

std::vector<std::string> BuildStatements() {
    return {
        "CREATE VIRTUAL TABLE words_trigram USING fts5(wWord, content='words', "
        "content_rowid='wID', tokenize='trigram', detail='none', columnsize=0)",
        "INSERT INTO words_trigram(words_trigram) VALUES('rebuild')",
        "INSERT INTO words_trigram(words_trigram) VALUES('optimize')"};
}

std::string MarkStatement() {
    return "PRAGMA user_version = " + std::to_string(kIdsInNocaseOrder);
}

std::optional<std::string> IndexableFragment(const std::string& pattern) {
    if (pattern.size() < 2 || pattern.front() != '%' || pattern.back() != '%') {
        return std::nullopt;
    }
    std::string fragment = pattern.substr(1, pattern.size() - 2);
    const int64_t length = fw::Len(fragment);
    if (length < kShortestFragment || length > kLongestFragment ||
        fragment.find_first_of(std::string_view("%_\0", 3)) != std::string::npos ||
        !fw::IsValidUtf8(fragment)) {
        return std::nullopt;
    }
    return fragment;
}

std::unique_ptr<fw::RecordSet> Select(fw::Database& db, const std::string& pattern) {
    const std::optional<std::string> fragment = IndexableFragment(pattern);
    if (!fragment || !AnswersInScanOrder(db)) {
        return nullptr;
    }
    return db.SQLSelect(
        "SELECT words.wID, words.wWord FROM words_trigram JOIN words ON words.wID = "
        "words_trigram.rowid WHERE words_trigram MATCH " +
        Quoted(TrigramQuery(*fragment), '\'') + " AND words.wWord LIKE " + Quoted(pattern, '\'') +
        " ORDER BY words_trigram.rowid");
}

}  // namespace FragmentIndex
