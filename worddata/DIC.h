// The word store: soundex keys and word similarity, the read-only word database and its lookups,
// the synonym-group tables, and the language choice at start-up. Main event loop and its
// cooperative threads only (the passes never run at the same time, so no lock guards the state).
// Every failure of the word files goes to PMDebug::Error, which asks the application to quit; the
// operation then returns its failure result (False, 0 or "").
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/database.h"
#include "framework/folderitem.h"
#include "worddata/WordGroups.h"

class WordNetSocket;
class UL_Baseform;
class UL_Sachgebiete;
class UL_Synonyms;
class UL_Thesaurus;
class UL_WWWSocket;

namespace DIC {

// --- Soundex key and word similarity: pure, reentrant, yield at every character or k-gram.

// The soundex code of `word`: its first letter followed by digits; "" when it holds no letter.
std::string GetSoundexAUX(const std::string& word, int32_t codeLength, bool census);
// The key stored in the word database's column wSoundex; 0 means no key.
int32_t GetSoundex(const std::string& word);
// How alike two words are, from 0 to 100 (not-a-number for two empty texts).
double FuzzyCompare(const std::string& first, const std::string& second);

// --- Word database and lookups.

// The open word database of the chosen language; nil before loading and after Terminate.
inline std::unique_ptr<fw::Database> gWordDB;
// The hit lists: the rows of the last lookup that found any, parallel, in database order. A killed
// or quit-interrupted lookup may leave them part-filled: read only as many as its count says.
inline std::vector<int32_t> gHitID;
inline std::vector<std::string> gHitWord;

// Opens DIC_DB_<language>.tdb read-only into gWordDB; false after a reported failure.
bool LoadDB(const std::string& language);

// The lookups find nothing ("" or 0, without a report) while no word database is open.

// Every row of a lookup.
inline constexpr int32_t kAllRows = INT32_MAX;

// Rows whose wWord matches the LIKE pattern, into the hit lists; the number of rows read, or 0
// (hit lists untouched) when none matched. "%" and "_" in the pattern are wildcards; an apostrophe
// is matched literally; a pattern longer than the database's LIKE limit finds nothing. A caller
// that uses only the first rows passes their number as `rowLimit`: the rows after it are never
// read, and the count is then at most the limit.
int32_t FindWord(const std::string& pattern, bool exactCase, int32_t rowLimit = kAllRows);
// Rows whose wSoundex equals `key`, into the hit lists, like FindWord.
int32_t FindSoundex(int32_t key, int32_t rowLimit = kAllRows);
// The normalised word with that ID, or "" after a failure.
std::string GetWord(int32_t wordID);
// Normalises every entry of gHitWord in place, through CorrectWord.
void CorrectResult();
// The first run of blanks shrunk to one; in English, a leading "to " of a verb dropped.
std::string CorrectWord(const std::string& word);

// --- Word-group file.

// Group key -> member word IDs; nil before LoadWL.
inline std::unique_ptr<GroupDict> gGroupDict;
// Word ID -> group keys; empty at program start, filled by LoadWL.
inline WordGroupsList gWordGroupsDict;

// Reads DIC_WL_<language>.tdb into the two tables; false after a reported failure, with whatever
// was read before it left in place.
bool LoadWL(const std::string& language);

// --- Start-up and language choice.

inline std::string gSelectedLanguage;  // "DE", "EN" or the preference's text
inline bool gDE = false;               // the German word files exist
inline bool gEN = false;               // the English word files exist
// Online route for German: 0 not probed yet, 1 portal page, 2 SOAP clients.
inline int32_t gUL_UseWWW = 0;

// The six online clients, made by Initialize and kept for the run; nil before.
extern std::unique_ptr<WordNetSocket> gWordNet;
extern std::unique_ptr<UL_Baseform> gUL_Baseform;
extern std::unique_ptr<UL_Sachgebiete> gUL_Sachgebiete;
extern std::unique_ptr<UL_Synonyms> gUL_Synonyms;
extern std::unique_ptr<UL_Thesaurus> gUL_Thesaurus;
extern std::unique_ptr<UL_WWWSocket> gUL_WWWSocket;

// Chooses the language, loads its word files and makes the online clients; True when both word
// files loaded.
bool Initialize();
// Makes the six online clients, in their order, unless they exist.
void CreateOnlineClients();
// German only: pings the word service once (3 s without progress, or a little longer in all, end
// the wait; events are pumped meanwhile) and sets gUL_UseWWW to 2 when it answers that it is
// ready, to 1 otherwise. Nothing is reported.
void CheckUL_SOAP();
// Releases the word data at quit, only when App::gDBLoaded says it was loaded.
void Terminate();
bool IsDE();
bool IsEN();
// Both word files of the language lie together beside the application or in the resource
// folder; the place of the database decides where the word-group file must be.
bool IsDBExisting(const std::string& language);
// The executable's parent's parent, child "Resources"; not checked for existence.
fw::FolderItem GetResourceFolder();
// A word file beside the application, else in the resource folder; Exists() is false when
// neither holds it. The name matches ignoring letter case when no exact match exists, as it did
// on the Mac's file system, so a preference "en" still finds DIC_DB_EN.tdb.
fw::FolderItem LocateWordFile(const std::string& name);

// Localized constants, looked up once per run.
std::string cLanguageDefault();
std::string cSystemLanguage();

}  // namespace DIC
