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

class QWidget;

namespace fw {

class Window;

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

    std::string Text() const;
    void SetText(const std::string& text);
    int64_t SelStart() const;
    void SetSelStart(int64_t start);  // collapses the selection to a caret at start
    int64_t SelLength() const;
    void SetSelLength(int64_t length);  // from SelStart; a negative start selects nothing
    std::string SelText() const;

    void SetTextColor(int red, int green, int blue);
    // The plain text size in pixels (the Mac drew one point as one pixel).
    int TextSize() const;
    void SetTextSize(int size);
    void SetReadOnly(bool readOnly);
    void SetLiveUpdate(bool liveUpdate);

    // Styled text runs, on (start, length) character ranges; multi-line styled fields only.
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
