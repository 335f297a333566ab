// The search window: a frameless strip with the input field, the busy wheel and the title strip,
// which opens the strip's menu (MainMenu), and the timers and pass threads that the search
// controller drives by name. One instance,
// created hidden on first reference and destroyed with the application object. Main OS thread;
// the pass handlers run on their own cooperative threads.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "framework/controls.h"
#include "framework/editfield.h"
#include "framework/threads.h"
#include "framework/timer.h"
#include "framework/window.h"

namespace fw {
class MenuItem;
}

template <class W>
class WindowOwner;

class SearchWin : public fw::Window {
  public:
    // A pass thread: its Run handler is bound when the window creates it.
    class PassThread : public fw::Thread {
      public:
        explicit PassThread(std::function<void()> run) : run_(std::move(run)) {}
        ~PassThread() override { Kill(); }

      protected:
        void Execute() override { run_(); }

      private:
        std::function<void()> run_;
    };

    // Kills the pass threads before any control goes.
    ~SearchWin() override;
    // Kills the pass threads in the order of their chain: a killed end operation unwinds through
    // code that still reads the next pass's thread.
    void KillPassThreads();

    // The window, created hidden on first reference.
    static SearchWin& Get();
    // Whether the window has been created.
    static bool Exists();

    // The characters that the key filter lets into the field.
    static const std::string& KeyFilterCharacters();
    // Whether `character` is one character of that set, compared exactly: the word check and the
    // key filter agree, so no letter is typed without a beep that the search then rejects.
    static bool IsKeyFilterCharacter(std::string_view character);

    // Controls, in the order the window creates them.
    fw::EditField UserInput;
    fw::ProgressWheel ProgressWheel;
    fw::Canvas WinTitleFake;
    fw::Timer SearchTimer;
    PassThread FragmentSearchThread;
    PassThread SoundexSearchThread;
    fw::Timer FinishedSoundexSearchTimer;
    PassThread SynonymSearchThread;
    fw::Timer RefreshLaterTimer;
    fw::Timer SocketTimeOut;

    // Event handlers.
    void UserInput_TextChange();
    bool UserInput_KeyDown(const std::string& key);
    bool UserInput_ConstructContextualMenu(fw::MenuItem& base, int x, int y);
    bool UserInput_ContextualMenuAction(const fw::MenuItem& hitItem);
    // The strip has no menu bar of its own on screen: a click on its title picture opens it.
    void WinTitleFake_MouseDown(int x, int y);
    void SearchTimer_Action();
    void RefreshLaterTimer_Action();
    void SocketTimeOut_Action();
    void Open();
    void Activate();

    // The pass handlers; their bodies belong to the search controller (search/SearchPasses.cpp).
    void SynonymSearchThread_Run();
    void FragmentSearchThread_Run();
    void SoundexSearchThread_Run();
    void FinishedSoundexSearchTimer_Action();

  private:
    SearchWin();
    friend class WindowOwner<SearchWin>;
};
