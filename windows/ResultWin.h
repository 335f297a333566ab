// The result window: the report field attached below the search window, and word picking by
// click, Shift-click, double-click and contextual click. One instance, created hidden on first
// reference and destroyed with the application object. Main OS thread only.
#pragma once

#include <cstdint>
#include <string>

#include "framework/editfield.h"
#include "framework/window.h"

namespace fw {
class MenuItem;
}

template <class W>
class WindowOwner;

class ResultWin : public fw::Window {
  public:
    // The window, created hidden on first reference.
    static ResultWin& Get();
    static bool Exists();

    // The least height of the window, and its height when created.
    static constexpr int kMinimumHeight = 100;

    fw::EditField ResultField;

    // Kept across searches and rebuilds; only clicks change them.
    int64_t gDoubleClick = 0;    // ticks of the last click that picked a word or a command
    std::string gCommand;        // the command picked by the last single click, with parentheses
    std::string gLastWord;       // the word picked by the last single click
    int64_t gLastSelStart = -1;  // the selection of the last contextual pick
    int64_t gLastSelLength = 0;

    bool ResultField_MouseDown(int x, int y);
    void ResultField_MouseEnter();
    void ResultField_MouseExit();
    bool ResultField_ConstructContextualMenu(fw::MenuItem& base, int x, int y);
    bool ResultField_ContextualMenuAction(const fw::MenuItem& hitItem);

    // Ends the search window's pass threads first: an end operation waiting between two steps of
    // its report's animation holds this window and unwinds through code that still uses it.
    ~ResultWin() override;

  private:
    ResultWin();
    // The steps of a single click at x, y: a bold or italic character, an empty line and the area
    // below the text pick nothing, a run between "(" and ")" picks a command, anything else a
    // word; right of a line's end, the line's last entry.
    void PickAt(int x, int y);
    // Whether the click at x, y, whose character position is c, can pick anything.
    bool CanPickAt(int x, int y, const std::string& text, int64_t c) const;
    bool PickCommand(const std::string& text, int64_t c);
    void PickWord(const std::string& text, int64_t c);
    friend class WindowOwner<ResultWin>;
};
