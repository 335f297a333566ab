// The system spell checker through the Cocoa bridge, German dictionary. Budgets: SSC.CheckString
// under 1 ms; SSC.GetGuessesForWord under 150 ms per word, and next to nothing on the event loop
// when the guesses were prepared. Hunspell's own suggest on the same
// words, in the same run, is the anchor: the bridge should add next to nothing to it.
#include <hunspell/hunspell.hxx>

#include <string>

#include <benchmark/benchmark.h>

#include "framework/events.h"
#include "sources/SSC.h"
#include "sources/bridge/Cocoa.h"

namespace {

// Starts the checker once, in German, with the dictionary loaded before any timing.
bool StartGermanChecker(benchmark::State& state) {
    static const bool started = [] {
        SSC::Initialize();
        return SSC::SetLanguage("de") && SSC::CheckString("Haus", "de");
    }();
    if (!started) {
        state.SkipWithError("the German dictionary is not installed");
    }
    return started;
}

void BM_SSC_CheckString(benchmark::State& state, const std::string& text, bool correct) {
    if (!StartGermanChecker(state)) {
        return;
    }
    for (auto _ : state) {
        if (SSC::CheckString(text, "de") != correct) {
            state.SkipWithError("unexpected verdict");
            return;
        }
    }
}
BENCHMARK_CAPTURE(BM_SSC_CheckString, Haus, std::string("Haus"), true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SSC_CheckString, Schmetterlng, std::string("Schmetterlng"), false)
    ->Unit(benchmark::kMicrosecond);

void BM_SSC_GetGuessesForWord(benchmark::State& state, const std::string& word) {
    if (!StartGermanChecker(state)) {
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(SSC::GetGuessesForWord(word));
    }
    // Let the autorelease timer's tick come, so the pool does not only grow from run to run.
    fw::DoEvents(0);
}

void BM_Hunspell_suggest(benchmark::State& state, const std::string& word) {
    static Hunspell hunspell("/usr/share/hunspell/de_DE.aff", "/usr/share/hunspell/de_DE.dic");
    for (auto _ : state) {
        benchmark::DoNotOptimize(hunspell.suggest(word));
    }
}

// What the event loop pays at the hand-over once the guesses were prepared beside the passes.
void BM_SSC_CollectPreparedGuesses(benchmark::State& state, const std::string& word) {
    if (!StartGermanChecker(state)) {
        return;
    }
    SSC::PrepareGuessesForWord(word);
    while (SSC::GuessesPending(word)) {
        fw::DoEvents(1);
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(SSC::GetGuessesForWord(word));
    }
    fw::DoEvents(0);
}
BENCHMARK_CAPTURE(BM_SSC_CollectPreparedGuesses, Donaudampfschiffahrtsgesellschaft,
                  std::string("Donaudampfschiffahrtsgesellschaft"))
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_CAPTURE(BM_SSC_GetGuessesForWord, Strasenbahn, std::string("Strasenbahn"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Hunspell_suggest, Strasenbahn, std::string("Strasenbahn"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SSC_GetGuessesForWord, Fenstr, std::string("Fenstr"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Hunspell_suggest, Fenstr, std::string("Fenstr"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SSC_GetGuessesForWord, Schmetterlng, std::string("Schmetterlng"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Hunspell_suggest, Schmetterlng, std::string("Schmetterlng"))
    ->Unit(benchmark::kMillisecond);

}  // namespace
