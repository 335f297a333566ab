// The record set against the bare SQLite step loop on a word table of the German list's size: the
// fragment pass may cost at most 1.2x the bare scan.
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include <benchmark/benchmark.h>

#include "framework/database.h"
#include "framework/sqlite_handles.h"
#include "framework/vectorstate.h"

namespace {

using Connection = fw::SqliteConnection;
using Statement = fw::SqliteStatement;

constexpr int kWords = 400'000;
constexpr const char* kFragmentSelect = "SELECT wID, wWord FROM words WHERE wWord LIKE '%haus%'";
constexpr const char* kExactSelect = "SELECT wID, wWord FROM words WHERE wWord LIKE 'Hausboot'";

Statement Prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &raw, nullptr);
    return Statement(raw);
}

// German-looking compounds from syllables; about one word in a hundred holds "haus".
std::string MakeWord(std::mt19937& random) {
    static const char* const kSyllables[] = {
        "ber", "gen",  "land", "stadt", "wald",  "mann",   "kraft", "ung",  "schaft", "tür",
        "zug", "feld", "bahn", "öl",    "licht", "wasser", "bau",   "heit", "spiel",  "grün"};
    std::uniform_int_distribution<int> syllable(0, std::size(kSyllables) - 1);
    std::uniform_int_distribution<int> count(2, 4);
    std::uniform_int_distribution<int> percent(0, 99);
    std::string word = percent(random) == 0 ? "haus" : "";
    for (int i = count(random); i > 0; --i) {
        word += kSyllables[syllable(random)];
    }
    if (percent(random) < 40) {
        word[0] = static_cast<char>(word[0] - 'a' + 'A');
    }
    return word;
}

// The generated word database, made once per run and removed at exit.
class WordFile {
  public:
    WordFile()
        : path_(std::filesystem::temp_directory_path() /
                ("quorvane-bench-" + std::to_string(getpid()) + ".tdb")) {
        sqlite3* raw = nullptr;
        sqlite3_open(path_.c_str(), &raw);
        const Connection db(raw);
        sqlite3_exec(db.get(),
                     "CREATE TABLE words(wID integer, wWord text, wSoundex integer); BEGIN",
                     nullptr, nullptr, nullptr);
        const Statement insert = Prepare(db.get(), "INSERT INTO words VALUES (?, ?, ?)");
        std::mt19937 random(1102);
        for (int id = 0; id < kWords; ++id) {
            const std::string word = id == kWords / 2 ? "Hausboot" : MakeWord(random);
            sqlite3_bind_int(insert.get(), 1, id);
            sqlite3_bind_text(insert.get(), 2, word.data(), static_cast<int>(word.size()),
                              SQLITE_TRANSIENT);
            sqlite3_bind_int(insert.get(), 3, id % 6000);
            sqlite3_step(insert.get());
            sqlite3_reset(insert.get());
        }
        sqlite3_exec(db.get(),
                     "CREATE INDEX wordBinary ON words(wWord COLLATE BINARY);"
                     "CREATE INDEX wordNocase ON words(wWord COLLATE NOCASE);"
                     "CREATE INDEX soundex ON words(wSoundex); COMMIT",
                     nullptr, nullptr, nullptr);
    }
    ~WordFile() { std::filesystem::remove(path_); }
    std::string Path() const { return path_.string(); }

  private:
    std::filesystem::path path_;
};

const WordFile& Words() {
    static const WordFile file;
    return file;
}

Connection OpenBare() {
    sqlite3* raw = nullptr;
    sqlite3_open_v2(Words().Path().c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    return Connection(raw);
}

std::unique_ptr<fw::Database> OpenFramework() {
    auto db = std::make_unique<fw::Database>();
    db->DatabaseFile = Words().Path();
    db->ReadOnly = true;
    db->Connect();
    return db;
}

void BareStepLoop(benchmark::State& state, const char* pragma, const char* sql) {
    const Connection db = OpenBare();
    sqlite3_exec(db.get(), pragma, nullptr, nullptr, nullptr);
    int64_t rows = 0;
    for (auto _ : state) {
        const Statement select = Prepare(db.get(), sql);
        // As the framework does before a scan, so both start from the same vector state.
        fw::ClearUpperVectorState();
        while (sqlite3_step(select.get()) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_int64(select.get(), 0));
            benchmark::DoNotOptimize(sqlite3_column_text(select.get(), 1));
            benchmark::DoNotOptimize(sqlite3_column_bytes(select.get(), 1));
            ++rows;
        }
    }
    state.counters["rows"] = benchmark::Counter(static_cast<double>(rows) / state.iterations());
}

// As the word store reads a lookup: every row's ID as an integer and its word as text.
void RecordSetLoop(benchmark::State& state, const char* pragma, const char* sql) {
    const auto db = OpenFramework();
    db->SQLExecute(pragma);
    int64_t rows = 0;
    for (auto _ : state) {
        const auto records = db->SQLSelect(sql);
        for (; !records->EndOfFile(); records->MoveNext()) {
            benchmark::DoNotOptimize(records->Field("wID").IntegerValue());
            benchmark::DoNotOptimize(records->Field("wWord").StringValue());
            ++rows;
        }
    }
    state.counters["rows"] = benchmark::Counter(static_cast<double>(rows) / state.iterations());
}

void BM_FragmentScan_BareSqlite(benchmark::State& state) {
    BareStepLoop(state, "PRAGMA case_sensitive_like=OFF", kFragmentSelect);
}
void BM_FragmentScan_RecordSet(benchmark::State& state) {
    RecordSetLoop(state, "PRAGMA case_sensitive_like=OFF", kFragmentSelect);
}
void BM_ExactWord_BareSqlite(benchmark::State& state) {
    BareStepLoop(state, "PRAGMA case_sensitive_like=ON;", kExactSelect);
}
void BM_ExactWord_RecordSet(benchmark::State& state) {
    RecordSetLoop(state, "PRAGMA case_sensitive_like=ON;", kExactSelect);
}

BENCHMARK(BM_FragmentScan_BareSqlite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FragmentScan_RecordSet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExactWord_BareSqlite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExactWord_RecordSet)->Unit(benchmark::kMicrosecond);

}  // namespace
