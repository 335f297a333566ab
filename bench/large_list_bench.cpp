// Word files five times the size of the German ones: the words of the builder's German input, each
// also under four suffixes (2.16 million words), written by the builder's own code into
// <build>/bench-large-list/ the first time this program runs, and kept there. Budgets: the
// fragment pass's lookup under 10 ms, and no event-loop stall over 20 ms in a whole search.
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "framework/sqlite_handles.h"
#include "framework/vectorstate.h"
#include "tools/wordfiles/assembly.h"
#include "tools/wordfiles/group_file.h"
#include "tools/wordfiles/sources.h"
#include "tools/wordfiles/word_database.h"
#include "whole_search.h"
#include "worddata/DIC.h"

namespace {

namespace fs = std::filesystem;

const fs::path kResources =
    fs::path(QUORVANE_BENCH_RESOURCES).parent_path() / "bench-large-list" / "Resources";
constexpr const char* kSuffixes[] = {"", "-zwei", "-drei", "-vier", "-fünf"};

// Writes the large word files once; false when the sources can't be read.
bool LargeWordFilesPresent() {
    static const bool present = [] {
        if (fs::exists(kResources / "DIC_DB_DE.tdb") && fs::exists(kResources / "DIC_WL_DE.tdb")) {
            return true;
        }
        // The German word list and thesaurus the build reads.
        std::ifstream listFile(QUORVANE_BENCH_WORD_LIST_DE, std::ios::binary);
        std::ifstream thesaurusFile(QUORVANE_BENCH_THESAURUS_DE, std::ios::binary);
        if (!listFile || !thesaurusFile) {
            return false;
        }
        // The German word files' words (the list's and the thesaurus's), each under every suffix.
        const std::vector<wordfiles::Group> groups = wordfiles::ReadThesaurus(thesaurusFile);
        const std::vector<std::string> german =
            wordfiles::Assemble(wordfiles::ReadWordList(listFile), groups).words;
        std::vector<std::string> words;
        for (const char* suffix : kSuffixes) {
            for (const std::string& word : german) {
                words.push_back(word + suffix);
            }
        }
        std::cerr << "writing " << words.size() << " words into " << kResources << std::endl;
        const wordfiles::WordFileContent content = wordfiles::Assemble(std::move(words), groups);
        fs::create_directories(kResources);
        wordfiles::WriteWordDatabase(kResources / "DIC_DB_DE.tdb", content.words);
        wordfiles::WriteGroupFile(kResources / "DIC_WL_DE.tdb", content);
        return true;
    }();
    return present;
}

// The fragment statement as it stands, on a bare connection, against the fragment pass's lookup
// through the word store (the index, only the 500 rows the pass classifies).
void BM_LargeList_FragmentStatement(benchmark::State& state) {
    if (!LargeWordFilesPresent()) {
        state.SkipWithError("the German word sources are missing");
        return;
    }
    sqlite3* raw = nullptr;
    sqlite3_open_v2((kResources / "DIC_DB_DE.tdb").c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    const fw::SqliteConnection db(raw);
    sqlite3_exec(db.get(), "PRAGMA case_sensitive_like=OFF", nullptr, nullptr, nullptr);
    int64_t rows = 0;
    for (auto _ : state) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db.get(), "SELECT wID, wWord FROM words WHERE wWord LIKE '%haus%'", -1,
                           &statement, nullptr);
        const fw::SqliteStatement owned(statement);
        fw::ClearUpperVectorState();
        for (rows = 0; sqlite3_step(statement) == SQLITE_ROW; ++rows) {
            benchmark::DoNotOptimize(sqlite3_column_text(statement, 1));
        }
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_LargeList_FragmentStatement)->Unit(benchmark::kMillisecond);

void BM_LargeList_FragmentPassLookup(benchmark::State& state, const std::string& pattern) {
    if (!LargeWordFilesPresent()) {
        state.SkipWithError("the German word sources are missing");
        return;
    }
    if (!DIC::gWordDB) {
        DIC::gWordDB = std::make_unique<fw::Database>();
        DIC::gWordDB->DatabaseFile = (kResources / "DIC_DB_DE.tdb").string();
        DIC::gWordDB->ReadOnly = true;
        DIC::gWordDB->Connect();
    }
    int32_t rows = 0;
    for (auto _ : state) {
        rows = DIC::FindWord(pattern, false, 500);
    }
    state.counters["rows"] = rows;
}
BENCHMARK_CAPTURE(BM_LargeList_FragmentPassLookup, haus, std::string("%haus%"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LargeList_FragmentPassLookup, xylofantik, std::string("%xylofantik%"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LargeList_FragmentPassLookup, en, std::string("%en%"))
    ->Unit(benchmark::kMillisecond);

void BM_LargeList_WholeSearch(benchmark::State& state, const std::string& word) {
    if (!LargeWordFilesPresent()) {
        state.SkipWithError("the German word sources are missing");
        return;
    }
    BM_WholeSearch(state, word, kResources);
}
BENCHMARK_CAPTURE(BM_LargeList_WholeSearch, haus, std::string("haus"))
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_LargeList_WholeSearch, Strasse, std::string("Straße"))
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_LargeList_WholeSearch, Xylofantik, std::string("Xylofantik"))
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_LargeList_WholeSearch, en, std::string("en"))
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
