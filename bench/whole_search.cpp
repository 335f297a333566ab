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

// Loads the German word files of `resources` once per process: the word store is global.
bool OpenGermanWordFiles(const std::filesystem::path& resources) {
    static const bool loaded = [&resources] {
        InstallSilentUI();
        fw::SetLocalizationLanguage("en");
        fw::SetExecutableFile((resources / ".." / "bin" / "quorvane").string());
        DIC::gSelectedLanguage = "DE";
        DIC::gDE = true;
        App::gDBLoaded = DIC::LoadDB("DE") && DIC::LoadWL("DE");
        DIC::CreateOnlineClients();
        SSC::Initialize();
        App::gSSCLanguage = App::ChooseSSCLanguage();
        SSC::SetLanguage(App::gSSCLanguage);
        PMC::InitializeGlobals();
        PMC::ShowSearchWin();
        return App::gDBLoaded;
    }();
    return loaded;
}

}  // namespace

void BM_WholeSearch(benchmark::State& state, const std::string& word,
                    const std::filesystem::path& resources) {
    if (!OpenGermanWordFiles(resources)) {
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
        driver.Search("x");
    }
    state.counters["max_stall_ms"] = stall;
    state.counters["wall_ms"] = wall / static_cast<double>(state.iterations());
    state.counters["process_cpu_ms"] = processCpu / static_cast<double>(state.iterations());
}
