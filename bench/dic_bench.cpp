// The word store on the generated German word files of the build's Resources folder. Budgets:
// exact and any-case FindWord under 0.1 ms; the fragment lookup from the trigram index at most
// 0.1x the bare fragment statement beside it ("%haus%"), 0.02x for a rare fragment
// ("%xylofantik%"); the sound-alike pass over the largest soundex bucket under 15 ms of CPU;
// LoadWL of the German file under 150 ms.
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench_ui.h"
#include "framework/folderitem.h"
#include "framework/sqlite_handles.h"
#include "framework/vectorstate.h"
#include "worddata/DIC.h"

namespace {

const std::string kResources = QUORVANE_BENCH_RESOURCES;

bool GermanFilesPresent(benchmark::State& state) {
    for (const char* name : {"DIC_DB_DE.tdb", "DIC_WL_DE.tdb"}) {
        if (!std::filesystem::exists(std::filesystem::path(kResources) / name)) {
            state.SkipWithError((std::string(name) + " missing in " + kResources).c_str());
            return false;
        }
    }
    return true;
}

// Opens the German word database once for all benchmarks; false (and the benchmark skipped)
// when it can't.
bool OpenGermanDatabase(benchmark::State& state) {
    if (!GermanFilesPresent(state)) {
        return false;
    }
    if (DIC::gWordDB) {
        return true;
    }
    InstallSilentUI();
    fw::SetExecutableFile(kResources + "/../bin/quorvane-bench");
    DIC::gSelectedLanguage = "DE";
    if (!DIC::LoadDB("DE")) {
        state.SkipWithError(InstallSilentUI()->lastMessage.c_str());
        return false;
    }
    return true;
}

using SqliteHandle = fw::SqliteConnection;
using StatementHandle = fw::SqliteStatement;

SqliteHandle OpenBareGermanDatabase() {
    sqlite3* raw = nullptr;
    sqlite3_open_v2((kResources + "/DIC_DB_DE.tdb").c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    return SqliteHandle(raw);
}

// The soundex key with the most words, found by SQL.
int32_t LargestSoundexBucket() {
    const SqliteHandle db = OpenBareGermanDatabase();
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db.get(),
                       "SELECT wSoundex FROM words WHERE wSoundex > 0 GROUP BY wSoundex "
                       "ORDER BY count(*) DESC LIMIT 1",
                       -1, &raw, nullptr);
    const StatementHandle statement(raw);
    return sqlite3_step(raw) == SQLITE_ROW ? sqlite3_column_int(raw, 0) : 0;
}

const std::vector<std::string> kWords = {
    "Haus",  "Donaudampfschifffahrt",   "Müller", "Straße",   "Fenster",          "Schmetterling",
    "Ärger", "Wohnungsbaugesellschaft", "Tisch",  "Quorvane", "Honigkuchenpferd", "Zug",
};

void BM_DIC_GetSoundex(benchmark::State& state) {
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(DIC::GetSoundex(kWords[i++ % kWords.size()]));
    }
}
BENCHMARK(BM_DIC_GetSoundex);

void BM_DIC_FuzzyCompare(benchmark::State& state) {
    size_t i = 0;
    for (auto _ : state) {
        const std::string& candidate = kWords[i++ % kWords.size()];
        benchmark::DoNotOptimize(DIC::FuzzyCompare("Hausboot", candidate));
    }
}
BENCHMARK(BM_DIC_FuzzyCompare);

void BM_DIC_FindWord_ExactCase(benchmark::State& state) {
    if (!OpenGermanDatabase(state)) {
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(DIC::FindWord("Haus", true));
    }
}
BENCHMARK(BM_DIC_FindWord_ExactCase)->Unit(benchmark::kMicrosecond);

void BM_DIC_FindWord_AnyCase(benchmark::State& state) {
    if (!OpenGermanDatabase(state)) {
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(DIC::FindWord("haus", false));
    }
}
BENCHMARK(BM_DIC_FindWord_AnyCase)->Unit(benchmark::kMicrosecond);

// Every row of a fragment lookup, or only the rows the fragment pass classifies ("en" is too
// short for the index).
void BM_DIC_FindWord_Fragment(benchmark::State& state, const std::string& pattern,
                              int32_t rowLimit) {
    if (!OpenGermanDatabase(state)) {
        return;
    }
    int32_t rows = 0;
    for (auto _ : state) {
        rows = DIC::FindWord(pattern, false, rowLimit);
    }
    state.counters["rows"] = rows;
}
BENCHMARK_CAPTURE(BM_DIC_FindWord_Fragment, haus, std::string("%haus%"), DIC::kAllRows)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DIC_FindWord_Fragment, xylofantik, std::string("%xylofantik%"), DIC::kAllRows)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DIC_FindWord_Fragment, haus_pass, std::string("%haus%"), 500)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DIC_FindWord_Fragment, en_pass, std::string("%en%"), 500)
    ->Unit(benchmark::kMillisecond);

// The fragment statement as it stands, on a bare connection reading both columns of every row:
// what the lookups above replace.
void BM_SQLite_Fragment(benchmark::State& state, const std::string& pattern) {
    if (!GermanFilesPresent(state)) {
        return;
    }
    const SqliteHandle db = OpenBareGermanDatabase();
    sqlite3_exec(db.get(), "PRAGMA case_sensitive_like=OFF", nullptr, nullptr, nullptr);
    const std::string sql = "SELECT wID, wWord FROM words WHERE wWord LIKE '" + pattern + "'";
    int64_t rows = 0;
    for (auto _ : state) {
        sqlite3_stmt* raw = nullptr;
        sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &raw, nullptr);
        const StatementHandle statement(raw);
        rows = 0;
        // As the framework does before a scan, so both start from the same vector state.
        fw::ClearUpperVectorState();
        while (sqlite3_step(raw) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_int(raw, 0));
            benchmark::DoNotOptimize(sqlite3_column_text(raw, 1));
            ++rows;
        }
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK_CAPTURE(BM_SQLite_Fragment, haus, std::string("%haus%"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SQLite_Fragment, xylofantik, std::string("%xylofantik%"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SQLite_Fragment, en, std::string("%en%"))->Unit(benchmark::kMillisecond);

void BM_DIC_FindSoundex_LargestBucket(benchmark::State& state) {
    if (!OpenGermanDatabase(state)) {
        return;
    }
    const int32_t key = LargestSoundexBucket();
    for (auto _ : state) {
        benchmark::DoNotOptimize(DIC::FindSoundex(key));
    }
    state.counters["key"] = key;
    state.counters["rows"] = static_cast<double>(DIC::gHitID.size());
}
BENCHMARK(BM_DIC_FindSoundex_LargestBucket)->Unit(benchmark::kMillisecond);

// The sound-alike pass's work on the largest bucket: its lookup and a score for every candidate.
void BM_DIC_SoundAlikeScoring_LargestBucket(benchmark::State& state) {
    if (!OpenGermanDatabase(state)) {
        return;
    }
    const int32_t key = LargestSoundexBucket();
    const int32_t count = DIC::FindSoundex(key);
    if (count == 0) {
        state.SkipWithError("largest soundex bucket is empty");
        return;
    }
    const std::string word = DIC::gHitWord.front();
    for (auto _ : state) {
        const int32_t rows = DIC::FindSoundex(DIC::GetSoundex(word));
        double best = 0;
        for (int32_t i = 0; i < rows; ++i) {
            best = std::max(best, DIC::FuzzyCompare(word, DIC::gHitWord[static_cast<size_t>(i)]));
        }
        benchmark::DoNotOptimize(best);
    }
    state.counters["rows"] = count;
}
BENCHMARK(BM_DIC_SoundAlikeScoring_LargestBucket)->Unit(benchmark::kMillisecond);

// A pasted word of 100,000 letters with the key of "Haus": its soundex key and one sound-alike
// round over its first 1000 candidates, which must stay linear in the word's length.
void BM_DIC_PastedWordSoundAlikeRound(benchmark::State& state) {
    if (!OpenGermanDatabase(state)) {
        return;
    }
    std::string word = "Haus";
    for (int i = 4; i < 100000; ++i) {
        word += "ä";
    }
    for (auto _ : state) {
        const int32_t rows = std::min(DIC::FindSoundex(DIC::GetSoundex(word)), 1000);
        double best = 0;
        for (int32_t i = 0; i < rows; ++i) {
            best = std::max(best, DIC::FuzzyCompare(word, DIC::gHitWord[static_cast<size_t>(i)]));
        }
        benchmark::DoNotOptimize(best);
    }
}
BENCHMARK(BM_DIC_PastedWordSoundAlikeRound)->Unit(benchmark::kMillisecond);

void BM_DIC_GetWord(benchmark::State& state) {
    if (!OpenGermanDatabase(state)) {
        return;
    }
    int32_t id = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(DIC::GetWord(id));
        id = (id + 7919) % 400000;
    }
}
BENCHMARK(BM_DIC_GetWord)->Unit(benchmark::kMicrosecond);

void BM_DIC_LoadWL(benchmark::State& state) {
    if (!OpenGermanDatabase(state)) {
        return;
    }
    for (auto _ : state) {
        DIC::gGroupDict.reset();
        DIC::gWordGroupsDict.Clear();
        if (!DIC::LoadWL("DE")) {
            state.SkipWithError(InstallSilentUI()->lastMessage.c_str());
            return;
        }
    }
    state.counters["words"] = static_cast<double>(DIC::gWordGroupsDict.Count());
    state.counters["groups"] = static_cast<double>(DIC::gGroupDict->Count());
}
BENCHMARK(BM_DIC_LoadWL)->Unit(benchmark::kMillisecond);

}  // namespace
