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

bool HasIndex(fw::Database& db) {
    const auto rows =
        db.SQLSelect("SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = 'words_trigram'");
    return rows && !rows->EndOfFile();
}

// The planner picks the scan's index; only a scan in word-ID order can be answered in index order.
bool ScanFollowsIdOrder(fw::Database& db) {
    const auto rows =
        db.SQLSelect("EXPLAIN QUERY PLAN SELECT wID, wWord FROM words WHERE wWord LIKE '%x%'");
    if (!rows || rows->RecordCount() != 1) {
        return false;
    }
    const std::string detail = rows->Field("detail").StringValue();
    return std::find(std::begin(kScansInIdOrder), std::end(kScansInIdOrder), detail) !=
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
    if (!fragment || !HasIndex(db) || !ScanFollowsIdOrder(db)) {
        return nullptr;
    }
    return db.SQLSelect(
        "SELECT words.wID, words.wWord FROM words_trigram JOIN words ON words.wID = "
        "words_trigram.rowid WHERE words_trigram MATCH " +
        Quoted(TrigramQuery(*fragment), '\'') + " AND words.wWord LIKE " + Quoted(pattern, '\'') +
        " ORDER BY words_trigram.rowid");
}

}  // namespace FragmentIndex
