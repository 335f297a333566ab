// CPU cost of one report build with full lists: assembling the text, writing it into the result
// field, styling the runs and measuring the target height. The window already has the report's
// height, so the animation pumps no events and only the build's own work is timed. Beside it, the
// whole process's CPU of a build that grows the shown window step by step, painting included.
#include <string>

#include <benchmark/benchmark.h>

#include "bench_ui.h"
#include "framework/events.h"
#include "search/PMC.h"
#include "tools/drive/SearchDriver.h"
#include "windows/ResultWin.h"
#include "worddata/DIC.h"

namespace {

PMC::WordList Words(const std::string& stem, int count) {
    PMC::WordList words;
    for (int i = 1; i <= count; ++i) {
        words.push_back(stem + std::to_string(i));
    }
    return words;
}

// A known German word after every pass and lookup has ended: base forms, subject groups and
// four word lists longer than the 40 entries a list shows.
void SetFinishedGermanSearch(int listLength) {
    PMC::InitializeGlobals();
    DIC::gSelectedLanguage = "DE";
    PMC::gSearchWord = "Haus";
    PMC::gDirectHit = true;
    PMC::gHitWord = "Haus";
    PMC::gHitWordSource = "Wortliste, Uni Leipzig Wortschatz";
    PMC::gWordBaseform = {"Haus", "hausen"};
    PMC::gWordType = {"Substantiv", "Verb"};
    PMC::gWordSachgebiete = Words("Bauwesen", 6);
    PMC::gSynonymWords = Words("Gebäude", listLength);
    PMC::gFragmentStart = Words("Haustür", listLength);
    PMC::gSoundexWords = Words("Häuschen", listLength);
    PMC::gFragmentEnd = Words("Rathaus", listLength);
    PMC::gFragmentAny = Words("Rathausplatz", listLength);
}

// Arguments: the length of each list, and 1 for the one build after the show-all command.
void BM_RefreshReportFullLists(benchmark::State& state) {
    InstallSilentUI();
    SetFinishedGermanSearch(static_cast<int>(state.range(0)));
    const bool showAll = state.range(1) != 0;
    PMC::gShowAll = showAll;
    PMC::RefreshReport();  // the window takes the report's height once, outside the timing
    const int height = ResultWin::Get().Height();
    for (auto _ : state) {
        PMC::gShowAll = showAll;
        PMC::RefreshReport();
    }
    if (ResultWin::Get().Height() != height) {
        state.SkipWithError("the window height changed: the timing includes event pumps");
    }
    state.counters["chars"] = static_cast<double>(ResultWin::Get().ResultField.Text().size());
}
BENCHMARK(BM_RefreshReportFullLists)->Args({45, 0})->Args({400, 1})->Unit(benchmark::kMillisecond);

// From the least height to the report's: every step repaints the window and pumps 8 ms, which is
// idle time and not counted.
void BM_RefreshReportGrowingTheWindow(benchmark::State& state) {
    InstallSilentUI();
    SetFinishedGermanSearch(45);
    PMC::RefreshReport();
    ResultWin& win = ResultWin::Get();
    const int height = win.Height();
    for (auto _ : state) {
        win.SetHeight(ResultWin::kMinimumHeight);
        fw::DoEvents(20);
        const double start = SearchDriver::ProcessCpuMs();
        PMC::RefreshReport();
        state.SetIterationTime((SearchDriver::ProcessCpuMs() - start) / 1e3);
    }
    state.counters["steps"] = (height - ResultWin::kMinimumHeight + 19) / 20;
}
BENCHMARK(BM_RefreshReportGrowingTheWindow)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
