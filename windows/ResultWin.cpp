// The result window and word picking. A click cuts the report into runs at delimiter characters:
// first the command run between "(" and ")", then the word run between list separators.
// WindowOwner holds the one window.
#include "windows/ResultWin.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "framework/events.h"
#include "framework/menu.h"
#include "framework/regex.h"
#include "framework/text.h"
#include "framework/threads.h"
#include "framework/ui.h"
#include "search/PMC.h"
#include "windows/SearchWin.h"
#include "windows/WindowOwner.h"

namespace {

constexpr int kWidth = 270;
constexpr int kMaximumHeight = 32000;
constexpr int kTextSize = 11;
constexpr int64_t kDoubleClickTicks = 30;
constexpr int kContextualPumpMs = 30;

// Character classes of the two kinds of run; the backslash sequences are regular-expression
// escapes, and neither class holds the blank, so an entry of several words is one run.
std::string CommandDelimiters() {
    return std::string(R"([()\n\f\r\t)") + '"' + "]";
}
std::string WordDelimiters() {
    return std::string(R"([/:,\n\f\r\t)") + '"' + "]";
}

// The byte offset of the character at 0-based position `position`.
long ByteOffset(const std::string& text, int64_t position) {
    return static_cast<long>(fw::Left(text, position).size());
}

// The 0-based position of the last character of the run around `position`: one before the first
// delimiter at or after it, or the text's last position.
int64_t RunEnd(fw::RegEx& delimiters, const std::string& text, int64_t position) {
    const std::optional<fw::RegExMatch> match = delimiters.Search(text, ByteOffset(text, position));
    if (!match) {
        return fw::Len(text) - 1;
    }
    const auto matchByte = static_cast<size_t>(match->SubExpressionStartB(0));
    return fw::Len(std::string_view(text).substr(0, matchByte)) - 1;
}

// The 0-based position of the nearest delimiter before `position`, or -1. Examines one character
// at a time, walking the UTF-8 bytes backwards, and lets the search passes run after each.
int64_t DelimiterBefore(fw::RegEx& delimiters, const std::string& text, int64_t position) {
    size_t end = static_cast<size_t>(ByteOffset(text, position));
    for (int64_t p = position - 1; p >= 0; --p) {
        size_t begin = end - 1;
        while (begin > 0 && (static_cast<unsigned char>(text[begin]) & 0xC0) == 0x80) {
            --begin;
        }
        const bool found = delimiters.Search(text.substr(begin, end - begin), 0).has_value();
        fw::Yield();
        if (found) {
            return p;
        }
        end = begin;
    }
    return -1;
}

// The run around `position` between the delimiters that `pattern` matches: the position of the
// delimiter before it (-1 for none) and of its own last character.
struct Run {
    int64_t before;
    int64_t end;
};

Run RunAround(const std::string& pattern, const std::string& text, int64_t position) {
    fw::RegEx delimiters;
    delimiters.SearchPattern = pattern;
    const int64_t end = RunEnd(delimiters, text, position);
    return {DelimiterBefore(delimiters, text, position), end};
}

}  // namespace

ResultWin& ResultWin::Get() {
    return WindowOwner<ResultWin>::Get();
}

bool ResultWin::Exists() {
    return WindowOwner<ResultWin>::Exists();
}

ResultWin::ResultWin()
    : fw::Window(Frame::Drawer, kWidth, kMinimumHeight),
      ResultField(*this, fw::EditField::Kind::MultiLineStyled, 0, 0, kWidth, kMinimumHeight) {
    SetHeightLimits(kMinimumHeight, kMaximumHeight);
    SetTitle("Result");
    // A drawer of the strip: the window manager's close hides it until the next report, and it
    // stays one of the application's windows.
    CancelClose = [this] {
        Hide();
        return true;
    };
    ResultField.SetReadOnly(true);
    ResultField.SetTextSize(kTextSize);
    ResultField.MouseDown = [this](int x, int y) { return ResultField_MouseDown(x, y); };
    ResultField.MouseEnter = [this] { ResultField_MouseEnter(); };
    ResultField.MouseExit = [this] { ResultField_MouseExit(); };
    ResultField.ConstructContextualMenu = [this](fw::MenuItem& base, int x, int y) {
        return ResultField_ConstructContextualMenu(base, x, y);
    };
    ResultField.ContextualMenuAction = [this](const fw::MenuItem& hitItem) {
        return ResultField_ContextualMenuAction(hitItem);
    };
    // The field is locked to the window's edges: it follows every change of the height.
    Resized = [this](int deltaHeight) {
        ResultField.SetHeight(ResultField.Height() + deltaHeight);
    };
}

ResultWin::~ResultWin() {
    if (SearchWin::Exists()) {
        SearchWin::Get().KillPassThreads();
    }
}

bool ResultWin::ResultField_MouseDown(int x, int y) {
    if (fw::Ticks() - gDoubleClick < kDoubleClickTicks) {
        if (!gCommand.empty()) {
            PMC::HandleClickCommand(gCommand);
        } else if (const std::string selected = ResultField.SelText(); !selected.empty()) {
            fw::EditField& input = SearchWin::Get().UserInput;
            input.SetText(selected);
            input.SetSelStart(fw::Len(selected));
            input.SetSelLength(0);
        }
    } else {
        PickAt(x, y);
    }
    if (fw::IsContextualClick()) {
        fw::DoEvents(kContextualPumpMs);
        return false;
    }
    if (!gLastWord.empty() || !gCommand.empty()) {
        gDoubleClick = fw::Ticks();
    }
    return true;
}

void ResultWin::PickAt(int x, int y) {
    const std::string text = ResultField.Text();
    const int64_t c = std::clamp<int64_t>(ResultField.CharPosAtXY(x, y), 0, fw::Len(text));
    if (!CanPickAt(x, y, text, c)) {
        gLastWord.clear();
        gCommand.clear();
        return;
    }
    if (PickCommand(text, c)) {
        return;
    }
    PickWord(text, c);
}

bool ResultWin::CanPickAt(int x, int y, const std::string& text, int64_t c) const {
    const auto styled = [this](int64_t position) {
        return ResultField.IsBoldAt(position) || ResultField.IsItalicAt(position);
    };
    if (styled(c)) {
        return false;
    }
    if (!ResultField.IsBesideText(x, y)) {
        return true;
    }
    // Right of a line's end the click lands on the line end, a delimiter, and picks the line's
    // last entry. The line end is plain after a heading or a context too, so the line's own last
    // character decides. An empty line or the area below the text holds no entry: picking there
    // would only empty the clipboard.
    const bool emptyLine = c == 0 || fw::Mid(text, c, 1) == fw::EndOfLine();
    return !emptyLine && !ResultField.IsBelowText(y) && !styled(c - 1);
}

bool ResultWin::PickCommand(const std::string& text, int64_t c) {
    const auto [before, end] = RunAround(CommandDelimiters(), text, c);
    const int64_t start = before + 1;
    const bool opens = before >= 0 && fw::Mid(text, before + 1, 1) == "(";
    const bool closes = fw::Mid(text, end + 2, 1) == ")";
    if (!opens || !closes) {
        return false;
    }
    gCommand = "(" + fw::Mid(text, start + 1, end - start + 1) + ")";
    gLastWord.clear();
    return true;
}

void ResultWin::PickWord(const std::string& text, int64_t c) {
    gCommand.clear();
    const auto [before, end] = RunAround(WordDelimiters(), text, c);
    int64_t start = before + 1;
    if (before >= 0 && fw::Mid(text, before + 2, 1) == " ") {
        start = before + 2;  // one leading blank, never more
    }
    const int64_t length = end - start + 1;
    const std::string word = length > 0 ? fw::Mid(text, start + 1, length) : std::string();
    ResultField.SetSelStart(start);
    ResultField.SetSelLength(length);
    ResultField.SetFocus();
    if (fw::IsContextualClick()) {
        gLastSelStart = start;
        gLastSelLength = length;
    } else if (fw::AsyncShiftKey()) {
        fw::SetClipboardText(fw::ClipboardText() + " " + ResultField.SelText());
    } else {
        fw::SetClipboardText(ResultField.SelText());
    }
    gLastWord = word;
}

void ResultWin::ResultField_MouseEnter() {
    fw::UI().SetMouseCursor(fw::UIServices::Cursor::PointingFinger);
}

void ResultWin::ResultField_MouseExit() {
    fw::UI().SetMouseCursor(fw::UIServices::Cursor::Default);
}

bool ResultWin::ResultField_ConstructContextualMenu(fw::MenuItem& base, int /*x*/, int /*y*/) {
    PMC::ConstructContextualMenu(base, gLastWord, false);
    ResultField.SetSelStart(gLastSelStart);
    ResultField.SetSelLength(gLastSelLength);
    return true;
}

bool ResultWin::ResultField_ContextualMenuAction(const fw::MenuItem& hitItem) {
    PMC::DoContextualMenu(hitItem.Text, gLastWord);
    return false;
}
