// The menu bar of every text window: the File menu with Close Window, then the Edit menu and
// About as in MainMenu. One instance shared by all text windows, made on the first call of Get
// and kept for the run. Main OS thread only.
#pragma once

#include <memory>

#include "framework/menu.h"

class TextWinMenu : public fw::MenuBar {
  public:
    static TextWinMenu& Get();
    inline static std::unique_ptr<TextWinMenu> _implicitInstance;

  private:
    TextWinMenu();
};
