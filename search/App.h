// The application object: the start-up inside the event loop, the state other subsystems test,
// the activation that brings the search window forward, and the quit. The flags are read from the
// search passes' fibers too; a quit never goes back, so they need no lock.
#pragma once

#include <string>

#include "framework/appobject.h"

namespace fw {
class Window;
}

class App : public fw::Application {
  public:
    // Gives the application MainMenu as its menu bar and binds MI_About to _MI_About_Action in
    // every window.
    App();

    inline static bool gDBLoaded = false;       // the language's word files were loaded
    inline static bool gAppIsQuitting = false;  // set once, by the quit request
    inline static std::string gSSCLanguage;     // the spell checker's language code

    static bool IsQuitting() { return gAppIsQuitting; }
    // Brings the window to the front and activates it.
    static void BringWindowToFront(fw::Window& w);

    void Deactivate() override;
    void Open() override;
    void Close() override;
    void Activate() override;
    bool CancelClose() override;
    // Shows the about box.
    bool _MI_About_Action();

    // The spell checker's language for the dictionary language and the system's English variant.
    static std::string ChooseSSCLanguage();
    // The English one for a region code: "US" "en", "GB" "en_GB", any other "Multilingual".
    static std::string EnglishSSCLanguage(const std::string& systemLanguage);
    // The key under which one instance runs per user (the runtime folder is the user's), display
    // and edition (the edition named in the long version text).
    static std::string InstanceKey();
    // Pixels per step of the result window's animation, from the processor class and clock.
    static int ChooseWindowStep();
};
