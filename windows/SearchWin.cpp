// The search window's layout, its debounce and key filter, and the search timer's start-or-abort
// step. WindowOwner holds the one window.
#include "windows/SearchWin.h"

#include "framework/menu.h"
#include "framework/text.h"
#include "framework/ui.h"
#include "search/PMC.h"
#include "sources/UL_Baseform.h"
#include "sources/UL_WWWSocket.h"
#include "sources/WordNetSocket.h"
#include "windows/EditionPictures.h"
#include "windows/MainMenu.h"
#include "windows/WindowOwner.h"
#include "worddata/DIC.h"

namespace {

constexpr int kDebounceMs = 750;
constexpr int kAbortRetryMs = 200;
constexpr int kFinishedSoundexMs = 100;
constexpr int kRefreshLaterMs = 300;
constexpr int kSocketTimeOutMs = 30000;
constexpr int kTitleTop = 1;  // the title strip's place: 0, 1, 300 x 16
constexpr int kTitleHeight = 16;

// Ends a time-limited request, whatever state its connection is in: one still connecting would
// otherwise end later with a second callback.
void CloseRequest(fw::HTTPSocket& client) {
    if (client.InFlight()) {
        client.Close();
    }
}

// Editing keys that the field handles itself: backspace, left and right arrow, forward delete.
bool IsEditingKey(const std::string& key) {
    if (key.size() != 1) {
        return false;
    }
    const unsigned char code = static_cast<unsigned char>(key[0]);
    return code == 8 || code == 28 || code == 29 || code == 127;
}

}  // namespace

SearchWin& SearchWin::Get() {
    return WindowOwner<SearchWin>::Get();
}

bool SearchWin::Exists() {
    return WindowOwner<SearchWin>::Exists();
}

const std::string& SearchWin::KeyFilterCharacters() {
    static const std::string characters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ üöäßÜÖÄ-";
    return characters;
}

bool SearchWin::IsKeyFilterCharacter(std::string_view character) {
    return fw::Len(character) == 1 && fw::InStrB(1, KeyFilterCharacters(), character) > 0;
}

SearchWin::SearchWin()
    : fw::Window(Frame::Plain, 300, 46),
      UserInput(*this, fw::EditField::Kind::SingleLine, 5, 20, 269, 22),
      ProgressWheel(*this, 279, 23, 16, 16),
      WinTitleFake(*this, 0, kTitleTop, 300, kTitleHeight),
      SearchTimer([this] { SearchTimer_Action(); }, kDebounceMs),
      FragmentSearchThread([this] { FragmentSearchThread_Run(); }),
      SoundexSearchThread([this] { SoundexSearchThread_Run(); }),
      FinishedSoundexSearchTimer([this] { FinishedSoundexSearchTimer_Action(); },
                                 kFinishedSoundexMs),
      SynonymSearchThread([this] { SynonymSearchThread_Run(); }),
      RefreshLaterTimer([this] { RefreshLaterTimer_Action(); }, kRefreshLaterMs),
      SocketTimeOut([this] { SocketTimeOut_Action(); }, kSocketTimeOutMs) {
    SetMenuBar(MainMenu::Get());
    SetTitle("Quorvane");
    // The strip is the program: it is never gone while the program runs, and the copy windows
    // hold nothing to save, so the window manager's close quits as Ctrl+Q does.
    CancelClose = [] {
        fw::Quit(0);
        return true;
    };
    WinTitleFake.SetBackdrop(WinTitle());
    WinTitleFake.MouseDown = [this](int x, int y) { WinTitleFake_MouseDown(x, y); };
    UserInput.SetTextColor(200, 0, 0);
    UserInput.TextChange = [this] { UserInput_TextChange(); };
    UserInput.KeyDown = [this](const std::string& key) { return UserInput_KeyDown(key); };
    UserInput.ConstructContextualMenu = [this](fw::MenuItem& base, int x, int y) {
        return UserInput_ConstructContextualMenu(base, x, y);
    };
    UserInput.ContextualMenuAction = [this](const fw::MenuItem& hitItem) {
        return UserInput_ContextualMenuAction(hitItem);
    };
}

SearchWin::~SearchWin() {
    KillPassThreads();
}

void SearchWin::KillPassThreads() {
    SynonymSearchThread.Kill();
    FragmentSearchThread.Kill();
    SoundexSearchThread.Kill();
}

void SearchWin::UserInput_TextChange() {
    SearchTimer.SetMode(fw::Timer::ModeOff);
    SearchTimer.SetPeriod(kDebounceMs);
    SearchTimer.SetMode(fw::Timer::ModeSingle);
}

bool SearchWin::UserInput_KeyDown(const std::string& key) {
    if (IsEditingKey(key)) {
        return false;
    }
    if (!IsKeyFilterCharacter(key)) {
        fw::Beep();
        return true;
    }
    return false;
}

bool SearchWin::UserInput_ConstructContextualMenu(fw::MenuItem& base, int /*x*/, int /*y*/) {
    PMC::ConstructContextualMenu(base, UserInput.Text(), true);
    return true;
}

bool SearchWin::UserInput_ContextualMenuAction(const fw::MenuItem& hitItem) {
    PMC::DoContextualMenu(hitItem.Text, UserInput.Text());
    return false;
}

void SearchWin::WinTitleFake_MouseDown(int /*x*/, int /*y*/) {
    PopUpMenuBar(0, kTitleTop + kTitleHeight);
}

void SearchWin::SearchTimer_Action() {
    // The word of the running or last search typed again (a key and its undoing): aborting would
    // empty its lists for nothing. Let that search run on, or keep its report, and bring back the
    // report a window manager's close hid. A search that was aborted already counts as not run:
    // its word is searched again.
    if (PMC::NormalizeWord(UserInput.Text()) == PMC::gSearchWord && !PMC::gSearchAborted) {
        SearchTimer.SetPeriod(kDebounceMs);
        PMC::ShowResultWinAgain();
        return;
    }
    if (PMC::IsAnySearchRunning()) {
        PMC::SearchAbort();
        SearchTimer.SetPeriod(kAbortRetryMs);
        SearchTimer.SetMode(fw::Timer::ModeSingle);
        return;
    }
    SearchTimer.SetPeriod(kDebounceMs);
    PMC::SearchNow();
}

void SearchWin::RefreshLaterTimer_Action() {
    PMC::RefreshReport();
}

void SearchWin::SocketTimeOut_Action() {
    if (PMC::gWordNetSearchRunning) {
        CloseRequest(*DIC::gWordNet);
        PMC::FinishedWordNetSearch(true, false, "");
    }
    if (PMC::gULBaseformSearchRunning) {
        CloseRequest(*DIC::gUL_Baseform);
        CloseRequest(*DIC::gUL_WWWSocket);
        PMC::FinishedULBaseformSearch(true, false, "", false);
    }
}

void SearchWin::Open() {
    if (DIC::IsDE()) {
        WinTitleFake.SetBackdrop(WinTitleDE());
    } else if (DIC::IsEN()) {
        WinTitleFake.SetBackdrop(WinTitleEN());
    }
}

void SearchWin::Activate() {}
