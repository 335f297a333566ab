// The application object: the steps of its Open in their order, the tables from which it chooses
// the spell checker's language and the result window's step, the activation, and a quit in the
// middle of a search.
#include <QTemporaryDir>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "framework/fiber_helpers.h"
#include "framework/folderitem.h"
#include "framework/localization.h"
#include "framework/scoped_environment.h"
#include "framework/shell.h"
#include "framework/text.h"
#include "framework/threads.h"
#include "framework/timer.h"
#include "framework/variant.h"
#include "platform/runtime.h"
#include "search/App.h"
#include "search/PMC.h"
#include "search_fixture.h"
#include "windows/ResultWin.h"
#include "windows/SearchWin.h"
#include "worddata/DIC.h"
#include "worddata/PREFS.h"

namespace searchtest {
namespace {

// The processor probe's sysctl keys answered from `values`; a key without a value fails as an
// unknown one does. `onProbe` runs at every command.
void AnswerProbe(const std::map<std::string, std::string>& values,
                 const std::function<void()>& onProbe = {}) {
    fw::SetShellBackend([values, onProbe](const std::string& command) {
        if (onProbe) {
            onProbe();
        }
        const std::string key = command.substr(command.find(' ') + 1);
        const auto value = values.find(key);
        if (value == values.end()) {
            return fw::ShellOutcome{255, "sysctl: unknown oid\n"};
        }
        return fw::ShellOutcome{0, key + ": " + value->second + "\n"};
    });
}

class AppTest : public ::testing::Test {
  protected:
    void TearDown() override { fw::SetShellBackend({}); }
    ScopedRecordingUI ui_;
};

// What the steps before the processor probe have done, and what the steps after it have not.
struct StateAtProbe {
    bool dbLoaded = false;
    std::string title;
    std::string sscLanguage;
    std::string checkerLanguage;
    bool searchWinShown = true;
    bool resultWinMade = true;
};

TEST_F(AppTest, OpenRunsItsStepsInOrderAndTheTitleFollowsTheLanguage) {
    QTemporaryDir config;
    const ScopedEnvironment configHome("XDG_CONFIG_HOME", config.path().toStdString());
    fw::SetLocalizationLanguage("en");
    fw::SetExecutableFile(
        (std::filesystem::path(QUORVANE_TEST_RESOURCES) / ".." / "bin" / "quorvane").string());
    PREFS::Initialize();
    PREFS::Store("DicLanguage", fw::Variant("DE"));
    PREFS::gPrefsDB.reset();
    PMC::InitializeGlobals();
    SearchWin& search = SearchWin::Get();
    StateAtProbe atProbe;
    AnswerProbe({{"hw.cputype", "18"}, {"hw.cpusubtype", "9"}}, [&] {
        atProbe = {App::gDBLoaded,    search.WinTitleFake.Backdrop(),
                   App::gSSCLanguage, platform::Runtime::Get()->Checker().Language(),
                   search.Visible(),  ResultWin::Exists()};
    });

    App app;
    app.Open();

    EXPECT_TRUE(atProbe.dbLoaded);
    EXPECT_EQ(atProbe.title, "WinTitleDE") << "chosen once the language is known";
    EXPECT_EQ(atProbe.sscLanguage, "de");
    EXPECT_EQ(atProbe.checkerLanguage, "de");
    EXPECT_FALSE(atProbe.searchWinShown);
    EXPECT_FALSE(atProbe.resultWinMade);
    EXPECT_EQ(PMC::gWindowStep, 80);
    EXPECT_TRUE(search.Visible());
    EXPECT_EQ(search.Left(), 1024 - 300 - 2);
    EXPECT_EQ(search.Top(), 24);
    EXPECT_TRUE(search.UserInput.HasFocus());
    EXPECT_TRUE(ResultWin::Exists());
    EXPECT_FALSE(ResultWin::Get().Visible());
    EXPECT_TRUE(ui_->messages.empty());
    PREFS::gPrefsDB.reset();
}

TEST_F(AppTest, WindowStepFollowsTheProcessorClassAndClock) {
    struct Row {
        std::map<std::string, std::string> probe;
        int step;
    };
    const Row rows[] = {
        {{{"hw.cputype", "18"}, {"hw.cpusubtype", "9"}}, 80},
        {{{"hw.cputype", "18"}, {"hw.cpusubtype", "10"}, {"hw.cpufrequency", "1199000000"}}, 60},
        {{{"hw.cputype", "18"}, {"hw.cpusubtype", "10"}, {"hw.cpufrequency", "1200000000"}}, 40},
        {{{"hw.cputype", "18"}, {"hw.cpusubtype", "10"}}, 60},  // the clock can't be read
        {{{"hw.cputype", "18"}, {"hw.cpusubtype", "100"}}, 30},
        {{{"hw.cputype", "7"}, {"hw.cpusubtype", "4"}}, 20},
        {{{"hw.cputype", "18"}, {"hw.cpusubtype", "12"}}, 20},
        {{}, 20},  // the probe failed
    };
    for (const Row& row : rows) {
        AnswerProbe(row.probe);
        EXPECT_EQ(App::ChooseWindowStep(), row.step) << row.probe.size() << " answers";
    }
}

TEST_F(AppTest, SpellCheckerLanguageFollowsTheDictionaryLanguageAndRegion) {
    const std::string saved = DIC::gSelectedLanguage;
    for (const auto& [language, chosen] : std::map<std::string, std::string>{
             {"DE", "de"}, {"de", "de"}, {"", ""}, {"FR", ""}, {"EN", "en"}}) {
        DIC::gSelectedLanguage = language;
        EXPECT_EQ(App::ChooseSSCLanguage(), chosen) << language;
    }
    DIC::gSelectedLanguage = saved;
    for (const auto& [region, chosen] : std::map<std::string, std::string>{{"US", "en"},
                                                                           {"us", "en"},
                                                                           {"GB", "en_GB"},
                                                                           {"gB", "en_GB"},
                                                                           {"AU", "Multilingual"},
                                                                           {"", "Multilingual"}}) {
        EXPECT_EQ(App::EnglishSSCLanguage(region), chosen) << region;
    }
}

TEST_F(AppTest, EveryActivationSelectsTheWholeSearchText) {
    SearchWin& search = SearchWin::Get();
    App app;
    for (const std::string text : {"", "Haustür"}) {
        search.UserInput.SetText(text);
        search.UserInput.SetSelStart(2);
        app.Activate();
        EXPECT_TRUE(search.UserInput.HasFocus());
        EXPECT_EQ(search.UserInput.SelStart(), 0);
        EXPECT_EQ(search.UserInput.SelLength(), fw::Len(text));
    }
}

bool Running(const fw::Thread& thread) {
    return thread.GetState() == fw::Thread::State::Running;
}

// A quit asked for while a pass runs lets that pass end over what it read; its end operation
// starts no further pass, a search started while quitting starts none, and the close still
// closes the word store.
class QuitTest : public SearchTest {
  protected:
    void TearDown() override {
        App::gAppIsQuitting = false;
        fw::SetTimeSlice(3000);
        if (!App::gDBLoaded || !DIC::gWordDB) {
            App::gDBLoaded = DIC::LoadDB("DE") && DIC::LoadWL("DE");
        }
        SearchTest::TearDown();
    }
    App app_;
};

TEST_F(QuitTest, QuitDuringTheSynonymPassStartsNoFurtherPassAndClosesTheWordStore) {
    SearchWin& window = SearchWin::Get();
    fw::SetTimeSlice(0);  // a switch at every yield, so the pass is met running
    bool quit = false;
    fw::Timer probe(
        [&] {
            if (!quit && Running(window.SynonymSearchThread)) {
                quit = true;
                EXPECT_FALSE(app_.CancelClose());
            }
        },
        1);
    probe.SetMode(fw::Timer::ModeMultiple);
    window.UserInput.SetText("Haus");
    window.SearchTimer.SetMode(fw::Timer::ModeOff);
    window.SearchTimer_Action();
    ASSERT_TRUE(PumpUntil([&] { return quit && !Running(window.SynonymSearchThread); }, 20000));
    probe.SetMode(fw::Timer::ModeOff);
    fw::DoEvents(50);
    EXPECT_FALSE(PMC::gSynonymWords.empty()) << "the pass ended over what it read";
    EXPECT_FALSE(Running(window.FragmentSearchThread));
    EXPECT_TRUE(PMC::gFragmentSearchRunning) << "set all the same";
    EXPECT_TRUE(PMC::gFragmentStart.empty());

    PMC::InitializeGlobals();
    window.UserInput.SetText("Fenster");
    window.SearchTimer.SetMode(fw::Timer::ModeOff);
    window.SearchTimer_Action();
    EXPECT_TRUE(PMC::gDirectHit);
    EXPECT_FALSE(PMC::IsAnySearchRunning());
    EXPECT_FALSE(Running(window.SynonymSearchThread));

    app_.Close();
    EXPECT_EQ(DIC::gWordDB, nullptr);
}

}  // namespace
}  // namespace searchtest
