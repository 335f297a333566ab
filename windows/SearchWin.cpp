// The search window's layout, its debounce and key filter, and the search timer's start-or-abort
// step. WindowOwner holds the one window.
#include "windows/SearchWin.h"

#include "framework/text.h"
#include "framework/ui.h"
#include "search/PMC.h"
#include "windows/WindowOwner.h"
#include "worddata/DIC.h"

namespace {

constexpr int kDebounceMs = 750;
constexpr int kAbortRetryMs = 200;
constexpr int kFinishedSoundexMs = 100;
constexpr int kRefreshLaterMs = 300;
constexpr int kSocketTimeOutMs = 30000;

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
      WinTitleFake(*this, 0, 1, 300, 16),
      SearchTimer([this] { SearchTimer_Action(); }, kDebounceMs),
      FragmentSearchThread([this] { FragmentSearchThread_Run(); }),
      SoundexSearchThread([this] { SoundexSearchThread_Run(); }),
      FinishedSoundexSearchTimer([this] { FinishedSoundexSearchTimer_Action(); },
                                 kFinishedSoundexMs),
      SynonymSearchThread([this] { SynonymSearchThread_Run(); }),
      RefreshLaterTimer([this] { RefreshLaterTimer_Action(); }, kRefreshLaterMs),
      SocketTimeOut({}, kSocketTimeOutMs) {
    SetTitle("Quorvane");
    WinTitleFake.SetBackdrop("WinTitle");
    UserInput.SetTextColor(200, 0, 0);
    UserInput.TextChange = [this] { UserInput_TextChange(); };
    UserInput.KeyDown = [this](const std::string& key) { return UserInput_KeyDown(key); };
}

SearchWin::~SearchWin() {
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

void SearchWin::SearchTimer_Action() {
    // The word of the running search typed again (a key and its undoing): aborting would empty
    // its lists for nothing. Let that search run on instead, unless it was aborted already: then
    // it counts as not run, and its word is searched again.
    if (PMC::NormalizeWord(UserInput.Text()) == PMC::gSearchWord && !PMC::gSearchAborted) {
        SearchTimer.SetPeriod(kDebounceMs);
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

void SearchWin::Open() {
    if (DIC::IsDE()) {
        WinTitleFake.SetBackdrop("WinTitleDE");
    } else if (DIC::IsEN()) {
        WinTitleFake.SetBackdrop("WinTitleEN");
    }
}

void SearchWin::Activate() {}
