// The application object: what its Open sets up, the tables from which it chooses
// the spell checker's language and the result window's step, the activation, and the quit.
#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "framework/application.h"
#include "framework/database.h"
#include "framework/events.h"
#include "framework/folderitem.h"
#include "framework/localization.h"
#include "framework/scoped_environment.h"
#include "framework/shell.h"
#include "framework/text.h"
#include "framework/threads.h"
#include "framework/variant.h"
#include "platform/runtime.h"
#include "search/App.h"
#include "search/PMC.h"
#include "windows/EditionPictures.h"
#include "windows/ResultWin.h"
#include "windows/SearchWin.h"
#include "worddata/DIC.h"
#include "worddata/PREFS.h"

#include "test_ui.h"

namespace searchtest {
namespace {

// The processor probe's sysctl keys answered from `values`; a key without a value fails as an
// unknown one does.
void AnswerProbe(const std::map<std::string, std::string>& values) {
    fw::SetShellBackend([values](const std::string& command) {
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

TEST_F(AppTest, OpenLoadsTheStoredLanguageWhichTheTitleAndTheCheckerFollow) {
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
    AnswerProbe({{"hw.cputype", "18"}, {"hw.cpusubtype", "9"}});

    // The main screen right of another one and lower.
    ui_->screenLeft = 1920;
    ui_->screenTop = 180;
    App app;
    app.Open();

    EXPECT_TRUE(App::gDBLoaded);
    EXPECT_EQ(search.WinTitleFake.Backdrop(), WinTitleDE());
    EXPECT_EQ(platform::Runtime::Get()->Checker().Language(), "de");
    EXPECT_EQ(PMC::gWindowStep, 80);
    EXPECT_TRUE(search.Visible());
    EXPECT_EQ(search.Left(), 1920 + 1024 - 300 - 2);
    EXPECT_EQ(search.Top(), 180 + 24);
    EXPECT_TRUE(search.UserInput.HasFocus());
    EXPECT_FALSE(ResultWin::Get().Visible());
    EXPECT_TRUE(ui_->messages.empty());
    PREFS::gPrefsDB.reset();
}

TEST_F(AppTest, WindowStepFollowsTheProcessorClassAndClock) {
    struct Row {
        const char* type;
        const char* subtype;
        const char* megahertz;  // nullptr: the clock can't be read
        int step;
    };
    for (const Row& row :
         {Row{"18", "9", nullptr, 80}, Row{"18", "10", "1199", 60}, Row{"18", "10", "1200", 40},
          Row{"18", "10", nullptr, 60}, Row{"18", "100", nullptr, 30}, Row{"7", "4", nullptr, 20},
          Row{"18", "12", nullptr, 20}, Row{"x", "x", nullptr, 20}}) {
        std::map<std::string, std::string> probe = {{"hw.cpusubtype", row.subtype}};
        if (row.type != std::string("x")) {
            probe["hw.cputype"] = row.type;
        }
        if (row.megahertz) {
            probe["hw.cpufrequency"] = std::string(row.megahertz) + "000000";
        }
        AnswerProbe(probe);
        EXPECT_EQ(App::ChooseWindowStep(), row.step) << row.type << "/" << row.subtype;
    }
}

TEST_F(AppTest, SpellCheckerLanguageFollowsTheDictionaryLanguageAndRegion) {
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    const std::string saved = DIC::gSelectedLanguage;
    for (const auto& [language, chosen] : Pairs{{"de", "de"}, {"FR", ""}, {"EN", "en"}}) {
        DIC::gSelectedLanguage = language;
        EXPECT_EQ(App::ChooseSSCLanguage(), chosen) << language;
    }
    DIC::gSelectedLanguage = saved;
    for (const auto& [region, chosen] :
         Pairs{{"us", "en"}, {"gB", "en_GB"}, {"AU", "Multilingual"}}) {
        EXPECT_EQ(App::EnglishSSCLanguage(region), chosen) << region;
    }
}

// One instance runs per edition and display: no two of them hand over to each other.
TEST_F(AppTest, EveryEditionAndDisplayHasAKeyOfItsOwn) {
    const std::string version = fw::LongVersion();
    std::set<std::string> keys;
    for (const char* edition : {"", " Deutsch", " English"}) {
        fw::SetLongVersion(version + edition);
        for (const char* display : {":0", ":1"}) {
            const ScopedEnvironment set("DISPLAY", display);
            keys.insert(App::InstanceKey());
        }
    }
    fw::SetLongVersion("");
    EXPECT_EQ(keys.size(), 6u);
}

// The real box: titled with the program's name, not the executable's file name; the texts break
// their paragraphs with CR, as the Mac did, which it shows as line breaks.
TEST_F(AppTest, MessageBoxIsTitledWithTheProgramsNameAndBreaksLinesAtCarriageReturns) {
    const App app;
    std::unique_ptr<fw::UIServices> recording = fw::SetUI(nullptr);
    QString title;
    QString shown;
    QTimer::singleShot(0, [&title, &shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        shown = box->text();
        box->accept();
    });
    fw::MsgBox("failed!\r\rEither\r\nor");
    fw::SetUI(std::move(recording));
    EXPECT_EQ(title, "Quorvane");
    EXPECT_EQ(shown, "failed!\n\nEither\nor");
}

TEST_F(AppTest, EveryActivationRestoresTheStripAndSelectsTheWholeSearchText) {
    SearchWin& search = SearchWin::Get();
    App app;
    for (const std::string text : {"", "Haustür"}) {
        search.UserInput.SetText(text);
        search.UserInput.SetSelStart(2);
        search.Widget()->showMinimized();
        app.Activate();
        EXPECT_FALSE(search.Widget()->isMinimized());
        EXPECT_TRUE(search.UserInput.HasFocus());
        EXPECT_EQ(search.UserInput.SelStart(), 0);
        EXPECT_EQ(search.UserInput.SelLength(), fw::Len(text));
    }
}

// While quitting no pass starts: neither a search's first pass nor the next one of an ending pass,
// whose flag is set all the same.
TEST_F(AppTest, NoPassStartsWhileQuitting) {
    PMC::InitializeGlobals();
    SearchWin& search = SearchWin::Get();
    App app;
    EXPECT_FALSE(app.CancelClose()) << "a quit is never cancelled";
    search.UserInput.SetText("Xylofantik");
    PMC::SearchNow();
    EXPECT_EQ(PMC::gSearchWord, "Xylofantik");
    EXPECT_FALSE(PMC::IsAnySearchRunning());
    EXPECT_NE(search.FragmentSearchThread.GetState(), fw::Thread::State::Running);
    PMC::FinishedSynonymSearch();
    EXPECT_TRUE(PMC::gFragmentSearchRunning);
    EXPECT_NE(search.FragmentSearchThread.GetState(), fw::Thread::State::Running);
    App::gAppIsQuitting = false;
    PMC::InitializeGlobals();
}

// The fatal report's quit is heard at once, so the failing pass's end starts no further pass
// (whose lookup would fail with a box of its own).
TEST_F(AppTest, ALookupFailureInsideAPassShowsOneBoxAndStartsNoFurtherPass) {
    PMC::InitializeGlobals();
    App app;
    QTemporaryDir folder;
    DIC::gWordDB = std::make_unique<fw::Database>();  // without a words table
    DIC::gWordDB->DatabaseFile = folder.filePath("empty.tdb").toStdString();
    ASSERT_TRUE(DIC::gWordDB->CreateDatabaseFile());
    App::gDBLoaded = true;
    PMC::gSearchWord = "Haus";
    PMC::gFragmentSearchRunning = true;
    SearchWin& search = SearchWin::Get();
    search.FragmentSearchThread.Run();
    fw::DoEvents(200);
    EXPECT_EQ(ui_->messages.size(), 1u);
    EXPECT_TRUE(App::IsQuitting());
    EXPECT_NE(search.SoundexSearchThread.GetState(), fw::Thread::State::Running);
    DIC::gWordDB.reset();
    App::gDBLoaded = false;
    App::gAppIsQuitting = false;
    PMC::InitializeGlobals();
}

}  // namespace
}  // namespace searchtest
