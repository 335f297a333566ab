// The end operations of the local pass chain. Each sets the next pass's flag before it clears its
// own, so the busy state shows no gap between passes.
#include <exception>

#include "framework/text.h"
#include "framework/threads.h"
#include "search/App.h"
#include "search/PMC.h"
#include "sources/SSC.h"
#include "windows/SearchWin.h"
#include "worddata/TT.h"

namespace PMC {

namespace {

// The first two end operations run on the ending pass's own thread and rebuild the report, which
// pumps events: the search timer's abort can kill that thread right there, after the next pass's
// flag was set and before the next pass was started. The abort clears only the flags of threads
// that run, so that flag would stay set for ever and no search could start again. The kill
// unwinds the stack, and this guard clears the flag on the way unless the next pass did start.
class NextPassFlagGuard {
  public:
    NextPassFlagGuard(bool& flag, const fw::Thread& nextPass)
        : flag_(flag), nextPass_(nextPass), exceptions_(std::uncaught_exceptions()) {}
    ~NextPassFlagGuard() {
        if (std::uncaught_exceptions() > exceptions_ &&
            nextPass_.GetState() != fw::Thread::State::Running) {
            flag_ = false;
        }
    }
    NextPassFlagGuard(const NextPassFlagGuard&) = delete;
    NextPassFlagGuard& operator=(const NextPassFlagGuard&) = delete;

  private:
    bool& flag_;
    const fw::Thread& nextPass_;
    const int exceptions_;
};

// Steps shared by the two end operations that hand over to a next pass thread.
void HandOver(fw::Thread& nextPass, bool& nextFlag, bool& ownFlag, void (*ownListWork)()) {
    if (nextPass.GetState() == fw::Thread::State::Running) {
        nextPass.Kill();
    }
    nextFlag = true;
    const NextPassFlagGuard guard(nextFlag, nextPass);
    ownListWork();
    ownFlag = false;
    SearchFinished();
    if (!App::IsQuitting()) {
        nextPass.Run();
    }
}

void SortSynonyms() {
    fw::SortList(gSynonymWords);
}

void NoListWork() {}

// The spell checker's guesses join the sound-alike words, and its name the sources.
void AddGuesses() {
    bool added = false;
    for (const std::string& guess : SSC::GetGuessesForWord(gSearchWord)) {
        if (!fw::EqualsIgnoreCase(guess, gSearchWord) && fw::IndexOf(gSoundexWords, guess) < 0 &&
            CheckWord(guess)) {
            gSoundexWords.push_back(guess);
            added = true;
        }
        fw::Yield();
    }
    const std::string& source = TT::REP_SystemDictionary();
    if (added && fw::InStr(gHitWordSource, source) == 0) {
        gHitWordSource = gHitWordSource.empty() ? source : gHitWordSource + ", " + source;
    }
    fw::SortList(gSoundexWords);
}

}  // namespace

void FinishedSynonymSearch() {
    SearchWin& window = SearchWin::Get();
    HandOver(window.FragmentSearchThread, gFragmentSearchRunning, gSynonymSearchRunning,
             SortSynonyms);
}

void FinishedFragmentSearch() {
    SearchWin& window = SearchWin::Get();
    HandOver(window.SoundexSearchThread, gSoundexSearchRunning, gFragmentSearchRunning, NoListWork);
}

void FinishedSoundexSearch() {
    AddGuesses();
    gSoundexSearchRunning = false;
    SearchFinished();
}

}  // namespace PMC
