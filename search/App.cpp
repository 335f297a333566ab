#include "search/App.h"

#include <cctype>
#include <cstdlib>

#include "framework/application.h"
#include "framework/text.h"
#include "search/PMC.h"
#include "sources/SSC.h"
#include "windows/AboutWindow.h"
#include "windows/MainMenu.h"
#include "windows/ResultWin.h"
#include "windows/SearchWin.h"
#include "worddata/DIC.h"
#include "worddata/PMDebug.h"
#include "worddata/PREFS.h"

App::App() {
    fw::SetApplicationName(PREFS::gAppName);
    SetMenuBar(&MainMenu::Get());
    AddMenuHandler("MI_About", [this] { return _MI_About_Action(); });
}

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

bool App::_MI_About_Action() {
    AboutWindow::Get().Show();
    return true;
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

std::string App::InstanceKey() {
    std::string key = "quorvane";
    const std::string version = fw::LongVersion();
    if (fw::InStr(version, "Deutsch") > 0) {
        key += "-deutsch";
    } else if (fw::InStr(version, "English") > 0) {
        key += "-english";
    }
    // The display the windows go to: the platform asked for, and the X or Wayland display.
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        key += std::string("-") + (value ? value : "");
    }
    for (char& c : key) {
        const bool plain = std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.';
        c = plain ? c : '_';
    }
    return key;
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
