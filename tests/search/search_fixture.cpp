#include "search_fixture.h"

#include <filesystem>

#include "framework/fiber_helpers.h"
#include "framework/folderitem.h"
#include "framework/localization.h"
#include "framework/timer.h"
#include "online_replies.h"
#include "search/App.h"
#include "search/PMC.h"
#include "sources/SSC.h"
#include "sources/ServiceHosts.h"
#include "sources/UL_Baseform.h"
#include "sources/UL_ListClients.h"
#include "sources/UL_WWWSocket.h"
#include "sources/WordNetSocket.h"
#include "windows/ResultWin.h"
#include "windows/SearchWin.h"
#include "worddata/DIC.h"

namespace searchtest {

void UseLanguage(const std::string& language) {
    static std::string loaded;
    if (loaded == language) {
        return;
    }
    fw::SetLocalizationLanguage("en");
    // The build lays out bin/ beside Resources/; the word files are looked up from there.
    fw::SetExecutableFile(
        (std::filesystem::path(QUORVANE_TEST_RESOURCES) / ".." / "bin" / "quorvane").string());
    DIC::Terminate();
    DIC::gSelectedLanguage = language;
    DIC::gDE = language == "DE";
    DIC::gEN = language == "EN";
    App::gDBLoaded = DIC::LoadDB(language) && DIC::LoadWL(language);
    ASSERT_TRUE(App::gDBLoaded) << "the build's " << language << " word files";
    static bool spellCheckerReady = false;
    if (!spellCheckerReady) {
        SSC::Initialize();
        spellCheckerReady = true;
    }
    App::gSSCLanguage = App::ChooseSSCLanguage();
    SSC::SetLanguage(App::gSSCLanguage);
    loaded = language;
}

void ResetSearchState() {
    SearchWin& window = SearchWin::Get();
    for (fw::Thread* thread : {static_cast<fw::Thread*>(&window.SynonymSearchThread),
                               static_cast<fw::Thread*>(&window.FragmentSearchThread),
                               static_cast<fw::Thread*>(&window.SoundexSearchThread)}) {
        thread->Kill();
    }
    DIC::CreateOnlineClients();
    for (fw::HTTPSocket* client : std::initializer_list<fw::HTTPSocket*>{
             DIC::gWordNet.get(), DIC::gUL_Baseform.get(), DIC::gUL_Sachgebiete.get(),
             DIC::gUL_Synonyms.get(), DIC::gUL_Thesaurus.get(), DIC::gUL_WWWSocket.get()}) {
        client->Close();
    }
    DIC::gUL_UseWWW = 0;
    window.UserInput.SetText("");
    for (fw::Timer* timer : {&window.SearchTimer, &window.FinishedSoundexSearchTimer,
                             &window.RefreshLaterTimer, &window.SocketTimeOut}) {
        timer->SetMode(fw::Timer::ModeOff);
    }
    window.SearchTimer.SetPeriod(750);
    window.SocketTimeOut.SetPeriod(30000);
    PMC::InitializeGlobals();
    ResultWin::Get().Hide();
    window.ProgressWheel.SetVisible(false);
}

void SearchTest::SetUp() {
    services_.responder = online::KnowsNothing;
    ServiceHosts::PointAllAt(services_.HostAndPort());
    UseLanguage("DE");
    ResetSearchState();
    PMC::ShowSearchWin();
}

void SearchTest::TearDown() {
    ResetSearchState();
}

SearchDriver::Result SearchTest::Search(const std::string& word) {
    const auto result = driver_.Search(word, 20000);
    EXPECT_TRUE(result.has_value()) << "the search for " << word << " did not settle";
    return result.value_or(SearchDriver::Result{});
}

void SearchTest::InterruptAt(const std::string& first, const std::function<bool()>& reached,
                             const std::string& second, const std::string& back) {
    SearchWin& window = SearchWin::Get();
    bool interrupted = false;
    fw::Timer probe(
        [&] {
            if (interrupted || !reached()) {
                return;
            }
            interrupted = true;
            window.UserInput.SetText(second);
            window.SearchTimer.SetMode(fw::Timer::ModeOff);
            window.SearchTimer_Action();
            if (!back.empty()) {
                window.UserInput.SetText(back);
            }
        },
        1);
    probe.SetMode(fw::Timer::ModeMultiple);
    SearchDriver::TypeWord(first);
    PumpUntil([&] { return interrupted; }, 20000);
    probe.SetMode(fw::Timer::ModeOff);
    ASSERT_TRUE(interrupted) << "the state was never reached";
    // The abort re-armed the timer at 200 ms; the new search starts once nothing runs.
    ASSERT_TRUE(SearchDriver::WaitUntilSettled(20000)) << "a busy flag stayed set";
}

}  // namespace searchtest
