// The application's menu bar and the search window's: the Edit menu and the application menu's
// About item. One instance, made on the first call of Get and kept for the run; it holds items
// only (the windows draw them). Main OS thread only.
#pragma once

#include <memory>
#include <string>

#include "framework/menu.h"

class MainMenu : public fw::MenuBar {
  public:
    static MainMenu& Get();
    inline static std::unique_ptr<MainMenu> _implicitInstance;

    // Appends the Edit menu with its items, About and the application menu's separator: the bar
    // of the search window, and the text windows' bar after its File menu.
    static void AppendEditAndAbout(fw::MenuBar& bar);
    // Appends an item as both bars make them: named, auto-enabled, with its caption ("-": a
    // separator) and shortcut ("Cmd+X" or none).
    static fw::MenuItem& AppendItem(fw::MenuItem& menu, const char* name, const std::string& text,
                                    const char* shortcut = "",
                                    fw::MenuItem::Kind kind = fw::MenuItem::Kind::Normal);

  private:
    MainMenu();
};
