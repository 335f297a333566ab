// The trigram index that answers fragment patterns ("%haus%") of DIC::FindWord without scanning
// every word. The word-file builder creates it inside the word database, over the words' own rows,
// in a file whose word IDs follow SQLite's NOCASE order, and marks such a file: the index then
// yields its rows in the order in which the scan over the NOCASE index returns them, and every
// candidate is checked with the same LIKE, so the rows are the scan's, row for row. A file without
// the mark is scanned. Main OS thread, any fiber.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/database.h"

namespace FragmentIndex {

// The statements that add the index to a word database whose words are all in place.
std::vector<std::string> BuildStatements();

// The file's user version that marks its word IDs (the row IDs) as numbered in SQLite's NOCASE
// order, ties in row-ID order; and the statement that sets it.
constexpr int32_t kIdsInNocaseOrder = 0x514E4F43;
std::string MarkStatement();

// The fragment of a "%fragment%" pattern that the index answers exactly: 3 to 64 characters of
// valid UTF-8 holding no wildcard and no NUL. Nothing for any other pattern.
std::optional<std::string> IndexableFragment(const std::string& pattern);

// The rows of "SELECT wID, wWord FROM words WHERE wWord LIKE pattern" under the connection's
// current case_sensitive_like setting, in the scan's order, stepped as they are read. Nullptr when
// the index can't answer: a pattern it can't answer exactly, a file without the index or the mark,
// a word ID that is not the row ID, a scan that would not follow the NOCASE order, or a failed
// select (the database's error state then says why,
// and the next statement clears it).
std::unique_ptr<fw::RecordSet> Select(fw::Database& db, const std::string& pattern);

}  // namespace FragmentIndex
