// One whole search on the build's German word files. Budgets: all local passes of one search
// under 60 ms of CPU (the fixed timer delays and animation pumps sleep, so process CPU time leaves
// them out); the event loop never stalls longer than 15 ms.
#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

#include "whole_search.h"

namespace {

const std::filesystem::path kResources = QUORVANE_BENCH_RESOURCES;

BENCHMARK_CAPTURE(BM_WholeSearch, haus, std::string("haus"), kResources)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_WholeSearch, Strasse, std::string("Straße"), kResources)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_WholeSearch, Fenster, std::string("Fenster"), kResources)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_WholeSearch, Sonnenschein, std::string("Sonnenschein"), kResources)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_WholeSearch, Xylofantik, std::string("Xylofantik"), kResources)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_WholeSearch, en, std::string("en"), kResources)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace
