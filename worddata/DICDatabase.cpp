// Lookups in the read-only word database. The row loops step the statement one row at a time,
// yield once per row and stop at the caller's row limit or as soon as the application is quitting.
#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "framework/text.h"
#include "framework/threads.h"
#include "search/App.h"
#include "worddata/DIC.h"
#include "worddata/FragmentIndex.h"
#include "worddata/PMDebug.h"

namespace DIC {
namespace {

// Doubles every apostrophe, so a stray one can neither end the literal nor widen the select.
// Words that the search controller accepts hold none and reach the statement unchanged.
std::string QuoteLiteral(const std::string& text) {
    if (text.find('\'') == std::string::npos) {
        return text;
    }
    return fw::ReplaceAllB(text, "'", "''");
}

// Reads the rows of a "SELECT wID, wWord", at most `rowLimit`, into the hit lists: the number of
// rows read, 0 (lists untouched) when there is none, nothing when the select failed (lists
// untouched) or one of its later steps did (lists part-filled, as a killed lookup leaves them).
// The statement is stepped no further than the rows read, and it is closed before the words are
// normalised, so no other lookup meets it open at a yield.
std::optional<int32_t> ReadHits(std::unique_ptr<fw::RecordSet> rows, int32_t rowLimit) {
    if (!rows) {
        return std::nullopt;
    }
    if (rows->EndOfFile()) {
        return 0;
    }
    const auto limit = static_cast<size_t>(std::max(rowLimit, 1));
    gHitID.clear();
    gHitWord.clear();
    while (!rows->EndOfFile() && !App::IsQuitting()) {
        gHitID.push_back(static_cast<int32_t>(rows->IdxField(1).IntegerValue()));
        gHitWord.push_back(rows->IdxField(2).StringValue());
        if (gHitWord.size() == limit) {
            break;
        }
        rows->MoveNext();
        if (gWordDB->Error()) {
            return std::nullopt;
        }
        fw::Yield();
    }
    rows.reset();
    CorrectResult();
    return static_cast<int32_t>(gHitWord.size());
}

}  // namespace

bool LoadDB(const std::string& language) {
    const fw::FolderItem file = LocateWordFile("DIC_DB_" + language + ".tdb");
    if (!file.Exists()) {
        PMDebug::Error("Can't locate the selected word list database.");
        return false;
    }
    gWordDB = std::make_unique<fw::Database>();
    gWordDB->DatabaseFile = file.NativePath();
    gWordDB->ReadOnly = true;
    // Only a real table of the expected columns: a view in its place (one that recurses for ever,
    // say) would freeze the first search, and a file without it would pass the start-up.
    if (!gWordDB->Connect() || !gWordDB->HasTable("words", {"wID", "wWord", "wSoundex"})) {
        const std::string message = gWordDB->ErrorMessage();
        gWordDB.reset();
        PMDebug::Error("Can't open the selected word list database. (" + message + ")");
        return false;
    }
    return true;
}

int32_t FindWord(const std::string& pattern, bool exactCase, int32_t rowLimit) {
    if (!gWordDB) {
        return 0;
    }
    // SQLite refuses a longer pattern as an error; no word of a word list is that long, so such a
    // pattern (a pasted text) finds nothing instead of ending the program.
    const std::string literal = QuoteLiteral(pattern);
    if (literal.size() > static_cast<size_t>(gWordDB->LikePatternLimit())) {
        return 0;
    }
    gWordDB->SQLExecute(exactCase ? "PRAGMA case_sensitive_like=ON;"
                                  : "PRAGMA case_sensitive_like=OFF");
    if (gWordDB->Error()) {
        PMDebug::Error("Word list database can't switch case sensitiveness! (" +
                       gWordDB->ErrorMessage() + ")");
    }
    // A fragment pattern comes from the word file's trigram index where that gives exactly the
    // scan's rows; otherwise, or when the index fails, the scan runs.
    if (const std::optional<int32_t> indexed =
            ReadHits(FragmentIndex::Select(*gWordDB, pattern), rowLimit)) {
        return *indexed;
    }
    const std::optional<int32_t> found = ReadHits(
        gWordDB->SQLSelect("SELECT wID, wWord FROM words WHERE wWord LIKE '" + literal + "'"),
        rowLimit);
    if (!found) {
        PMDebug::Error("Can't access word list database. (" + gWordDB->ErrorMessage() + ")");
        return 0;
    }
    return *found;
}

int32_t FindSoundex(int32_t key, int32_t rowLimit) {
    if (!gWordDB) {
        return 0;
    }
    const std::optional<int32_t> found =
        ReadHits(gWordDB->SQLSelect("SELECT wID, wWord FROM words WHERE wSoundex = " +
                                    fw::Str(static_cast<int64_t>(key))),
                 rowLimit);
    if (!found) {
        PMDebug::Error("Can't access soundex values. (" + gWordDB->ErrorMessage() + ")");
        return 0;
    }
    return *found;
}

std::string GetWord(int32_t wordID) {
    if (!gWordDB) {
        return "";
    }
    const std::unique_ptr<fw::RecordSet> rows = gWordDB->SQLSelect(
        "SELECT * FROM words WHERE wID = " + fw::Str(static_cast<int64_t>(wordID)));
    if (!rows || gWordDB->Error()) {
        PMDebug::Error("Can't access word. (" + gWordDB->ErrorMessage() + ")");
        return "";
    }
    if (rows->EndOfFile()) {
        PMDebug::Error("Can't access word at given index.");
        return "";
    }
    if (rows->RecordCount() > 1) {
        PMDebug::Error("Can't access word. Index isn't unique.");
        return "";
    }
    return CorrectWord(rows->Field("wWord").StringValue());
}

void CorrectResult() {
    for (auto entry = gHitWord.rbegin(); entry != gHitWord.rend(); ++entry) {
        *entry = CorrectWord(*entry);
        fw::Yield();
    }
}

std::string CorrectWord(const std::string& word) {
    std::string corrected = word;
    const size_t runStart = corrected.find(' ');
    if (runStart != std::string::npos) {
        const size_t runEnd = corrected.find_first_not_of(' ', runStart);
        const size_t runLength =
            (runEnd == std::string::npos ? corrected.size() : runEnd) - runStart;
        corrected.replace(runStart, runLength, " ");
    }
    if (IsEN() && fw::Len(corrected) > 3 && fw::EqualsIgnoreCase(fw::Left(corrected, 3), "to ")) {
        corrected = fw::Mid(corrected, 4);
    }
    return corrected;
}

}  // namespace DIC
