#include "windows/TextWindow.h"

#include <string>

#include "framework/text.h"
#include "framework/threads.h"
#include "search/PMC.h"
#include "windows/ClosableWindows.h"
#include "windows/ResultWin.h"
#include "windows/SearchWin.h"
#include "windows/TextWinMenu.h"
#include "worddata/TT.h"

namespace {

constexpr int kSize = 300;
constexpr int kMinimumSize = 128;
constexpr int kMaximumSize = 32000;
constexpr int kBarWidth = 16;
constexpr int kBarBottomGap = 14;
constexpr int kCascadeOffset = 20;
constexpr int kRemovedLines = 2;  // the report's leading empty line and its headline

}  // namespace

TextWindow& TextWindow::Make() {
    return ClosableWindows<TextWindow>::Make();
}

TextWindow::TextWindow()
    : fw::Window(Frame::Document, kSize, kSize),
      TextField(*this, fw::EditField::Kind::MultiLineStyled, 0, -1, kSize - kBarWidth, kSize + 1),
      Scroller(*this, kSize - kBarWidth + 1, -1, kBarWidth, kSize - kBarBottomGap + 1) {
    SetMenuBar(TextWinMenu::Get());
    SetSizeLimits(kMinimumSize, kMinimumSize, kMaximumSize, kMaximumSize);
    SetTitle("Untitled");
    TextField.SetBorder(false);
    TextField.SetVerticalScrollBar(false);
    TextField.SetAcceptTabs(false);
    Scroller.SetMinimum(0);
    Scroller.SetValue(0);
    Scroller.SetMaximum(100);
    Scroller.SetLineStep(1);
    Scroller.SetPageStep(20);
    TextField.TextChange = [this] { TextField_TextChange(); };
    TextField.MouseWheel = [this](int x, int y, int deltaX, int deltaY) {
        return TextField_MouseWheel(x, y, deltaX, deltaY);
    };
    TextField.ScrollPositionChanged = [this] { TextField_ScrollPositionChanged(); };
    Scroller.ValueChanged = [this] { Scroller_ValueChanged(); };
    SizeChanged = [this] { Resizing(); };
    AddMenuHandler("MI_Close", [this] { return _MI_Close_Action(); });
    Open();
}

void TextWindow::Open() {
    const std::string word =
        PMC::gDirectHit ? PMC::gHitWord : PMC::NormalizeWord(SearchWin::Get().UserInput.Text());
    SetTitle(TT::WIN_Title() + "\"" + word + "\"");
    TextField.SetStyledText(ResultWin::Get().ResultField.GetStyledText());
    if (TextField.LineNumAtCharPos(fw::Len(TextField.Text())) > kRemovedLines) {
        TextField.SetSelStart(0);
        TextField.SetSelLength(TextField.CharPosAtLineNum(kRemovedLines));
        TextField.SetSelText("");
    }
    TextField.SetSelStart(0);
    SetCloseButtonMarker(false);
    RefreshScrollbar();
    TextWindow* reference = nullptr;
    for (int i = fw::WindowCount() - 1; i >= 0; --i) {
        auto* const other = dynamic_cast<TextWindow*>(fw::WindowAt(i));
        if (other != nullptr && other != this) {
            reference = other;
        }
        fw::Yield();
    }
    if (reference != nullptr) {
        SetLeft(reference->Left() + kCascadeOffset);
        SetTop(reference->Top() + kCascadeOffset);
    }
}

void TextWindow::TextField_TextChange() {
    SetCloseButtonMarker(true);
    RefreshScrollbar();
}

bool TextWindow::TextField_MouseWheel(int /*x*/, int /*y*/, int /*deltaX*/, int deltaY) {
    Scroller.SetValue(Scroller.Value() + deltaY);
    return false;
}

void TextWindow::Scroller_ValueChanged() {
    if (!followingField_) {
        TextField.SetScrollPosition(Scroller.Value());
    }
}

void TextWindow::TextField_ScrollPositionChanged() {
    followingField_ = true;
    Scroller.SetValue(static_cast<int>(TextField.ScrollPosition()));
    followingField_ = false;
}

void TextWindow::Resizing() {
    LayOut();
    RefreshScrollbar();
}

bool TextWindow::_MI_Close_Action() {
    Close();
    return false;
}

void TextWindow::SetCloseButtonMarker(bool modified) {
    SetModified(modified);
}

// The range counts the lines that fit into the field from the text's top, not the view's bottom
// line: once the view is scrolled that line is further down, the range would shrink below the
// bar's value, and the bar would pull the view back toward the top at the next keystroke.
void TextWindow::RefreshScrollbar() {
    const int64_t lastLine = TextField.LineNumAtCharPos(fw::Len(TextField.Text()));
    const int64_t bottomLine = TextField.LineNumAtHeight(TextField.Height());
    Scroller.SetMinimum(0);
    Scroller.SetMaximum(static_cast<int>(lastLine - bottomLine + 2));
    Scroller.SetPageStep(static_cast<int>(bottomLine));
}

void TextWindow::LayOut() {
    TextField.SetWidth(Width() - kBarWidth);
    TextField.SetHeight(Height() + 1);
    Scroller.SetGeometry(Width() - kBarWidth + 1, -1, kBarWidth, Height() - kBarBottomGap + 1);
}
