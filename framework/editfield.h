// The framework's text field on Qt widgets: a single-line field (QLineEdit) or a multi-line styled
// field (QTextEdit). Text is UTF-8; every position is a 0-based count of characters (code points)
// and a line end is one character, so positions address the same characters as the program's own
// text functions. Main OS thread only (any fiber). The event handlers run on whatever stack
// processes Qt's events.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace fw {

class MenuItem;
class Window;

// A styled field's text with its style runs; the runs cover the text's characters in order, the
// line ends between paragraphs aside. Sizes in pixels.
struct StyleRun {
    int64_t start;
    int64_t length;
    bool bold;
    bool italic;
    int size;
};
struct StyledText {
    std::string text;
    std::vector<StyleRun> runs;
};

class EditField {
  public:
    enum class Kind { SingleLine, MultiLineStyled };

    // A child control of `window` at left, top, width x height of its content.
    EditField(Window& window, Kind kind, int left, int top, int width, int height);
    ~EditField();
    EditField(const EditField&) = delete;
    EditField& operator=(const EditField&) = delete;

    // Every change of the text, typed, pasted or set by code.
    std::function<void()> TextChange;
    // A typed key with its text (one character; control keys give their character code: 8
    // backspace, 28/29/30/31 left/right/up/down arrows, 127 forward delete, 9 tab, 13 return,
    // 27 escape). True drops the key.
    std::function<bool(const std::string& key)> KeyDown;
    // A mouse press or double-click press at x, y of the field's text area. True: handled, the
    // field does nothing of its own. IsContextualClick() tells the kind of click meanwhile.
    std::function<bool(int x, int y)> MouseDown;
    std::function<void()> MouseEnter;
    std::function<void()> MouseExit;
    // The context menu asked for at x, y of the text area (a right-button press, after its
    // MouseDown; Ctrl with the left button; the menu key): the handler appends the items to base
    // and returns True to show them. The chosen item then goes to ContextualMenuAction.
    std::function<bool(MenuItem& base, int x, int y)> ConstructContextualMenu;
    std::function<bool(const MenuItem& hitItem)> ContextualMenuAction;
    // A turn of the mouse wheel in lines, positive downwards. True: handled. A field without a
    // scroll bar of its own never scrolls by the wheel itself: its window's code does.
    std::function<bool(int x, int y, int deltaX, int deltaY)> MouseWheel;
    // The field's view moved by itself (the caret kept in view, the wheel of a field with its own
    // scroll bar); not after SetScrollPosition.
    std::function<void()> ScrollPositionChanged;

    std::string Text() const;
    void SetText(const std::string& text);
    int64_t SelStart() const;
    void SetSelStart(int64_t start);  // collapses the selection to a caret at start
    int64_t SelLength() const;
    void SetSelLength(int64_t length);  // from SelStart; a negative start selects nothing
    std::string SelText() const;
    // Replaces the selection by `text`, as typing would; the caret ends after it.
    void SetSelText(const std::string& text);

    void SetTextColor(int red, int green, int blue);
    // The plain text size in pixels (the Mac drew one point as one pixel).
    int TextSize() const;
    void SetTextSize(int size);
    void SetReadOnly(bool readOnly);
    void SetLiveUpdate(bool liveUpdate);
    // Multi-line styled fields: the frame and the field's own vertical scroll bar (both on when
    // created), and whether the tab key types a tab (off: it moves the focus).
    void SetBorder(bool border);
    void SetVerticalScrollBar(bool shown);
    void SetAcceptTabs(bool accept);

    // Styled text runs, on (start, length) character ranges; multi-line styled fields only.
    // While a Styling of the field lives, the runs reach the text's layout together when it ends,
    // and the whole text is laid out afresh once: run by run, every run laid out the rest of the
    // text again. Must not outlive the field.
    class Styling {
      public:
        explicit Styling(EditField& field);
        ~Styling();
        Styling(const Styling&) = delete;
        Styling& operator=(const Styling&) = delete;

      private:
        EditField& field_;
    };
    void SetBold(int64_t start, int64_t length);
    void SetItalic(int64_t start, int64_t length);
    void SetSize(int64_t start, int64_t length, int size);
    bool IsBoldAt(int64_t position) const;
    bool IsItalicAt(int64_t position) const;
    // The line, counted from 0 after wrapping, that holds the character at `position`; the text's
    // length gives the last line.
    int64_t LineNumAtCharPos(int64_t position) const;
    // The position of the character under x, y of the text area; beside or below the text, the
    // nearest one (right of a line's end, the line end's).
    int64_t CharPosAtXY(int x, int y) const;
    // Whether x, y of the text area lies beside the text: right of the last character of its line
    // (anywhere on an empty line) or below the last line. False for a single-line field.
    bool IsBesideText(int x, int y) const;
    // Whether y of the text area lies below the last line. False for a single-line field.
    bool IsBelowText(int y) const;
    // The position of the first character of `line`; past the last line, the text's length.
    int64_t CharPosAtLineNum(int64_t line) const;
    // The line at `y` pixels below the top of the text area with the view at the text's top,
    // whatever the view shows; below the text, the last line.
    int64_t LineNumAtHeight(int y) const;
    // The first line in view; setting it scrolls that line to the top as far as the text reaches.
    int64_t ScrollPosition() const;
    void SetScrollPosition(int64_t line);
    // The text with every character's bold, italic and size.
    fw::StyledText GetStyledText() const;
    void SetStyledText(const fw::StyledText& styled);

    int Left() const;
    int Top() const;
    int Width() const;
    void SetWidth(int width);
    int Height() const;
    void SetHeight(int height);

    bool HasFocus() const;
    void SetFocus();

    QWidget* Widget() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// True while a MouseDown handler runs for a contextual click (right button, or Ctrl with the left).
bool IsContextualClick();

}  // namespace fw
