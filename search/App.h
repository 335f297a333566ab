// The application object's state that other subsystems test. A quit never goes back, so the
// flags need no lock even when the search passes read them from their fibers.
#pragma once

#include <string>

class App {
  public:
    inline static bool gDBLoaded = false;       // the language's word files were loaded
    inline static bool gAppIsQuitting = false;  // set once, by the quit request
    inline static std::string gSSCLanguage;     // the spell checker's language code

    static bool IsQuitting() { return gAppIsQuitting; }
};
