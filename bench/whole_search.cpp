// One whole search through the real windows, typed into the search field as a user would.
#include "whole_search.h"

#include <string>

#include "bench_ui.h"
#include "framework/folderitem.h"
#include "framework/localization.h"
#include "online_replies.h"
#include "search/App.h"
#include "search/PMC.h"
#include "sources/SSC.h"
#include "sources/ServiceHosts.h"
#include "tools/drive/SearchDriver.h"
#include "windows/ResultWin.h"
#include "windows/SearchWin.h"
#include "worddata/DIC.h"

namespace {

// Sets up the windows and the online clients once per process; the executable's place decides
// where the word files are found.
void StartProgram(const std::filesystem::path& resources) {
    static bool started = false;
    if (started) {
        return;
    }
    started = true;
    InstallSilentUI();
    fw::SetLocalizationLanguage("en");
    fw::SetExecutableFile((resources / ".." / "bin" / "quorvane").string());
    DIC::gSelectedLanguage = "DE";
    DIC::gDE = true;
    DIC::CreateOnlineClients();
    SSC::Initialize();
    App::gSSCLanguage = App::ChooseSSCLanguage();
    SSC::SetLanguage(App::gSSCLanguage);
    PMC::InitializeGlobals();
    PMC::ShowSearchWin();
}

// Loads the German word files afresh for every benchmark: another benchmark of the same process
// may have replaced or dropped the global word store, and a search without one finds nothing
// fast.
bool LoadGermanWordFiles(const std::filesystem::path& resources) {
    StartProgram(resources);
    DIC::Terminate();  // the groups read before, which a new read would add to
    App::gDBLoaded = DIC::LoadDB("DE") && DIC::LoadWL("DE");
    return App::gDBLoaded;
}

}  // namespace

void BM_WholeSearch(benchmark::State& state, const std::string& word,
                    const std::filesystem::path& resources) {
    if (!LoadGermanWordFiles(resources)) {
        state.SkipWithError("German word files missing");
        return;
    }
    // The online lookups go to services on this machine that know no word.
    LocalHTTPServer services;
    services.responder = online::KnowsNothing;
    ServiceHosts::PointAllAt(services.HostAndPort());
    SearchDriver driver;
    double stall = 0;
    double wall = 0;
    double processCpu = 0;
    double hits = 0;
    double reportBytes = 0;
    for (auto _ : state) {
        const auto result = driver.Search(word);
        if (!result) {
            state.SkipWithError("the search did not settle");
            return;
        }
        state.SetIterationTime(result->cpuMs / 1e3);
        processCpu += result->processCpuMs;
        stall = std::max(stall, result->maxStallMs);
        wall += result->ms;
        hits += result->hit ? 1 : 0;
        reportBytes += static_cast<double>(result->report.size());
        driver.Search("x");
    }
    state.counters["max_stall_ms"] = stall;
    state.counters["wall_ms"] = wall / static_cast<double>(state.iterations());
    // A search that found no word is fast and measures nothing: these show that each one did.
    state.counters["hits"] = hits / static_cast<double>(state.iterations());
    state.counters["report_bytes"] = reportBytes / static_cast<double>(state.iterations());
    state.counters["process_cpu_ms"] = processCpu / static_cast<double>(state.iterations());
}
