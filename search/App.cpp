#include "search/App.h"

#include "framework/text.h"
#include "search/PMC.h"
#include "sources/SSC.h"
#include "windows/ResultWin.h"
#include "windows/SearchWin.h"
#include "worddata/DIC.h"
#include "worddata/PMDebug.h"
#include "worddata/PREFS.h"

void App::BringWindowToFront(fw::Window& w) {
    w.BringToFront();
}

void App::Deactivate() {}

void App::Open() {
    PREFS::Initialize();
    gDBLoaded = DIC::Initialize();
    // The window's title strip follows the language, which is known from here on.
    SearchWin::Get().Open();
    SSC::Initialize();
    gSSCLanguage = ChooseSSCLanguage();
    SSC::SetLanguage(gSSCLanguage);
    PMC::gWindowStep = ChooseWindowStep();
    PMC::ShowSearchWin();
    ResultWin::Get().ResultField.SetLiveUpdate(true);
}

void App::Close() {
    DIC::Terminate();
}

void App::Activate() {
    SearchWin& window = SearchWin::Get();
    BringWindowToFront(window);
    window.UserInput.SetFocus();
    window.UserInput.SetSelStart(0);
    window.UserInput.SetSelLength(fw::Len(window.UserInput.Text()));
}

bool App::CancelClose() {
    gAppIsQuitting = true;
    return false;
}

std::string App::ChooseSSCLanguage() {
    if (DIC::IsDE()) {
        return "de";
    }
    return DIC::IsEN() ? EnglishSSCLanguage(DIC::cSystemLanguage()) : "";
}

std::string App::EnglishSSCLanguage(const std::string& systemLanguage) {
    if (fw::EqualsIgnoreCase(systemLanguage, "US")) {
        return "en";
    }
    return fw::EqualsIgnoreCase(systemLanguage, "GB") ? "en_GB" : "Multilingual";
}

int App::ChooseWindowStep() {
    constexpr int kFastClockMHz = 1200;
    switch (PMDebug::GetMacCPUType()) {
        case 3:
            return 80;
        case 4:
            return PMDebug::GetMacCPUSpeed() < kFastClockMHz ? 60 : 40;
        case 5:
            return 30;
        default:
            return 20;
    }
}
