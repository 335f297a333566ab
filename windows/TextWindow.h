// A report copy window: an editable copy of the report in a resizeable desktop window with its
// own menu bar (TextWinMenu) and a scroll bar of its own that follows the text's lines. Each
// Make() opens another one; closing it discards the copy without a question. Main OS thread only.
#pragma once

#include <cstdint>

#include "framework/controls.h"
#include "framework/editfield.h"
#include "framework/window.h"

template <class W>
class ClosableWindows;

class TextWindow : public fw::Window {
  public:
    // A new text window, filled by Open and still hidden: its creator shows it.
    static TextWindow& Make();

    fw::EditField TextField;
    fw::ScrollBar Scroller;

    // Takes the title and the copy of the report, and moves the window 20 pixels right of and
    // below the front-most other text window.
    void Open();
    void TextField_TextChange();
    bool TextField_MouseWheel(int x, int y, int deltaX, int deltaY);
    void Scroller_ValueChanged();
    // The window's size changes, also while the user drags it (the Mac's Resized and Resizing).
    void Resizing();
    bool _MI_Close_Action();
    void SetCloseButtonMarker(bool modified);
    // The scroll bar's range and page step from the copy's lines.
    void RefreshScrollbar();

  private:
    TextWindow();
    // The controls follow the window's edges: the field all four, the bar top, right and bottom.
    void LayOut();
    // The bar follows the field when the field scrolls by itself (the caret kept in view).
    void TextField_ScrollPositionChanged();

    bool followingField_ = false;  // the bar is being set from the field's view
    friend class ClosableWindows<TextWindow>;
};
