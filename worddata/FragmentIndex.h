// The trigram index that answers fragment patterns ("%haus%") of DIC::FindWord without scanning
// every word. The word-file builder creates it inside the word database, over the words' own rows,
// in a file whose word IDs follow SQLite's NOCASE order: the index then yields its rows in the
// order in which the scan over the NOCASE index returns them, and every candidate is checked with
// the same LIKE, so the rows are the scan's, row for row. Main OS thread, any fiber.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/database.h"

namespace FragmentIndex {

// The statements that add the index to a word database whose words are all in place.
std::vector<std::string> BuildStatements();

// The fragment of a "%fragment%" pattern that the index answers exactly: 3 to 64 characters of
// valid UTF-8 holding no wildcard and no NUL. Nothing for any other pattern.
std::optional<std::string> IndexableFragment(const std::string& pattern);

// The rows of "SELECT wID, wWord FROM words WHERE wWord LIKE pattern" under the connection's
// current case_sensitive_like setting, in the scan's order, stepped as they are read. Nullptr when
// the index can't answer: a pattern it can't answer exactly, a file without the index, a scan that
// would not follow the NOCASE order, or a failed select (the database's error state then says why,
// and the next statement clears it).
std::unique_ptr<fw::RecordSet> Select(fw::Database& db, const std::string& pattern);

}  // namespace FragmentIndex
