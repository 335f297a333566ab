// The text fields on real Qt widgets, offscreen: what typing passes the key handler, style runs,
// wrapped line numbers, and what the mouse handlers see. A hidden field's line numbers are proven
// by the result window's sizing and the report copies.
#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "fiber_helpers.h"
#include "framework/editfield.h"
#include "framework/lineundolimit.h"
#include "framework/menu.h"
#include "framework/text.h"
#include "framework/ui.h"
#include "framework/window.h"
#include "window_events.h"

namespace {

using Kind = fw::EditField::Kind;

QTextEdit* StyledWidget(const fw::EditField& field) {
    return static_cast<QTextEdit*>(field.Widget());
}

class EditFieldTest : public ::testing::Test {
  protected:
    fw::Window window{fw::Window::Frame::Plain, 300, 200};
};

TEST_F(EditFieldTest, KeyDownDecidesWhatIsTypedAndTabNeverMovesTheFocus) {
    fw::EditField field(window, Kind::SingleLine, 5, 20, 269, 22);
    const fw::EditField other(window, Kind::SingleLine, 5, 50, 269, 22);
    field.KeyDown = [](const std::string& key) { return key != "a" && key != "b"; };
    window.Show();
    field.SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return field.Widget()->hasFocus(); }));

    SendKey(field.Widget(), Qt::Key_A, "a", Qt::NoModifier);
    SendKey(field.Widget(), Qt::Key_C, "c", Qt::NoModifier);
    SendKey(field.Widget(), Qt::Key_Tab, "\t", Qt::NoModifier);
    EXPECT_EQ(field.Text(), "a");
    EXPECT_TRUE(field.Widget()->hasFocus()) << "tab was dropped, not taken for a focus change";

    // A key that types several characters, and an input method's commit: each character passes
    // the handler on its own.
    SendKey(field.Widget(), Qt::Key_B, "bcb", Qt::NoModifier);
    QInputMethodEvent commit;
    commit.setCommitString("cab");
    QCoreApplication::sendEvent(field.Widget(), &commit);
    EXPECT_EQ(field.Text(), "abbab");
    window.Hide();
}

// Report texts check the runs at their ends; a run must not reach into the line end after it.
TEST_F(EditFieldTest, StyleRunsCoverExactlyTheirRangeAndANewTextStartsPlain) {
    fw::EditField field(window, Kind::MultiLineStyled, 0, 0, 270, 100);
    field.SetText("\nHeading\n\nabc, def\nnext");
    field.SetBold(1, 7);     // "Heading", not its line end
    field.SetItalic(10, 3);  // "abc"
    std::string styles;
    for (int64_t position = 0; position <= 14; ++position) {
        styles += field.IsBoldAt(position) ? 'B' : field.IsItalicAt(position) ? 'I' : '.';
    }
    EXPECT_EQ(styles, ".BBBBBBB..III..");
    // The caret inside a bold run must not carry its format into the next text.
    field.SetSelStart(3);
    field.SetText("plain text");
    EXPECT_FALSE(field.IsBoldAt(0));
    EXPECT_FALSE(field.IsBoldAt(9));
}

// Runs styled together reach the layout once (run by run, each laid the rest out again: seconds
// for a long report), and the lines are counted as a fresh layout of the styled text counts them.
TEST_F(EditFieldTest, RunsStyledTogetherAreLaidOutOnceAndCountedAsAFreshLayout) {
    fw::EditField field(window, Kind::MultiLineStyled, 0, 0, 270, 100);
    field.SetTextSize(11);
    std::string text;
    for (int i = 0; i < 3000; ++i) {
        text += "\nwords that wrap only when larger " + std::to_string(1000 + i);  // 38 each
    }
    window.Show();
    field.SetText(text);
    const auto start = std::chrono::steady_clock::now();
    {
        const fw::EditField::Styling styling(field);
        for (int64_t line = 0; line < 3000; line += 2) {
            field.SetBold(line * 38 + 1, 37);
            field.SetSize(line * 38 + 1, 37, 16);
        }
    }
    const int64_t lines = field.LineNumAtCharPos(fw::Len(text));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    field.SetWidth(271);  // lays every line out afresh
    field.SetWidth(270);
    EXPECT_EQ(lines, field.LineNumAtCharPos(fw::Len(text)));
    EXPECT_GT(lines, 4000);
    window.Hide();
}

// Single and right-button presses at characters are proven through the result window.
// The styled field's scroll bar paints from a picture of itself: after a resize, a scroll and a
// partial repaint it must still show exactly what the style draws for a plain bar in its state.
TEST_F(EditFieldTest, ScrollBarPictureShowsWhatTheStyleDrawsAfterEveryChange) {
    fw::EditField field(window, Kind::MultiLineStyled, 0, 0, 300, 200);
    field.SetText(std::string(60, '\n'));
    window.Show();
    QScrollBar* const bar = StyledWidget(field)->verticalScrollBar();
    QScrollBar plain(Qt::Vertical, window.Widget());
    plain.move(0, 0);
    plain.lower();
    const auto sameAsPlain = [&] {
        plain.resize(bar->size());
        plain.setRange(bar->minimum(), bar->maximum());
        plain.setPageStep(bar->pageStep());
        plain.setValue(bar->value());
        plain.setEnabled(bar->isEnabled());
        return bar->grab().toImage() == plain.grab().toImage();
    };
    EXPECT_TRUE(sameAsPlain());
    field.SetHeight(260);
    bar->repaint(0, 0, bar->width(), 30);
    EXPECT_TRUE(sameAsPlain()) << "after a resize and a partial repaint";
    bar->setValue(bar->maximum() / 2);
    EXPECT_TRUE(sameAsPlain()) << "after a scroll";
}

TEST_F(EditFieldTest, DoubleAndControlClicksReachMouseDownAndUnhandledPressesAreQts) {
    fw::EditField field(window, Kind::MultiLineStyled, 0, 0, 270, 100);
    field.SetText("alpha beta gamma");
    field.SetSelStart(0);
    window.Show();
    QWidget* const area = StyledWidget(field)->viewport();
    std::vector<bool> contextual;
    bool handled = true;
    field.MouseDown = [&](int, int) {
        contextual.push_back(fw::IsContextualClick());
        return handled;
    };
    const QPoint beta = CharacterPoint(field, 7);
    SendClick(area, beta, Qt::LeftButton, Qt::NoModifier, QEvent::MouseButtonDblClick);
    SendClick(area, beta, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(contextual, (std::vector<bool>{false, true}));
    EXPECT_FALSE(fw::IsContextualClick());
    EXPECT_EQ(field.SelStart(), 0) << "a handled press leaves the caret where it was";

    handled = false;
    SendClick(area, beta, Qt::LeftButton, Qt::NoModifier);
    EXPECT_EQ(field.SelStart(), 7) << "an unhandled press is Qt's";
    window.Hide();
}

// The real menu on Qt: the handler's items in order, "&" shown as it is, separators and disabled
// items as built, and the chosen item handed back; Ctrl with the left button opens it too.
TEST_F(EditFieldTest, ContextMenuShowsTheHandlersItemsAndHandsBackTheChosenOne) {
    std::unique_ptr<fw::UIServices> recording = fw::SetUI(nullptr);
    for (const Kind kind : {Kind::SingleLine, Kind::MultiLineStyled}) {
        SCOPED_TRACE(static_cast<int>(kind));
        fw::EditField field(window, kind, 0, 0, 270, 100);
        field.ConstructContextualMenu = [](fw::MenuItem& base, int, int) {
            for (const char* text : {"Search \"A&B\" at...", "-", "Copy word"}) {
                base.Append(std::make_unique<fw::MenuItem>(text)).Enabled = text[0] != 'S';
            }
            return true;
        };
        std::string chosen;
        field.ContextualMenuAction = [&](const fw::MenuItem& item) {
            chosen = item.Text;
            return false;
        };
        window.Show();
        std::vector<std::pair<QString, bool>> shown;
        QTimer::singleShot(100, [&] {
            auto* const menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            for (QAction* action : menu->actions()) {
                shown.emplace_back(action->isSeparator() ? "-" : action->text(),
                                   action->isEnabled());
            }
            menu->actions().back()->trigger();
            menu->close();
        });
        QWidget* const area =
            kind == Kind::SingleLine ? field.Widget() : StyledWidget(field)->viewport();
        SendClick(area, QPointF(5, 5), Qt::LeftButton, Qt::ControlModifier);
        const std::vector<std::pair<QString, bool>> expected = {
            {"Search \"A&&B\" at...", false}, {"-", false}, {"Copy word", true}};
        EXPECT_EQ(shown, expected);
        EXPECT_EQ(chosen, "Copy word");
        window.Hide();
    }
    fw::SetUI(std::move(recording));
}

// The history is first filled to its limit by replacing the text with itself, which Qt records
// character by character both ways; the next change crosses the limit. It stays as typed and can
// be taken back, but nothing before it can.
TEST(LineUndoLimitTest, CrossingTheLimitKeepsOnlyTheLastChangeWithTheCaretWhereItWas) {
    const struct {
        const char* name;
        std::string text;
        int caret;  // -1: the whole text selected
        int key;
        QString typed;
        std::string after;
        int caretAfter;
    } cases[] = {
        {"typed at the end", "wort", 4, Qt::Key_E, "e", "worte", 5},
        {"typed inside a run of one letter", "aab", 0, Qt::Key_A, "a", "aaab", 1},
        {"backspace", "wort", 2, Qt::Key_Backspace, "\b", "wrt", 1},
        {"typed over the whole text", "wort", -1, Qt::Key_H, "h", "h", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QLineEdit line(QString::fromStdString(c.text));
        const fw::detail::LineUndoLimit limit(line, 2 * static_cast<qsizetype>(c.text.size()));
        line.selectAll();
        line.insert(line.text());
        line.home(false);  // ends the fill's undo step
        if (c.caret < 0) {
            line.selectAll();
        } else {
            line.setCursorPosition(c.caret);
        }
        SendKey(&line, c.key, c.typed);
        EXPECT_EQ(line.text().toStdString(), c.after);
        EXPECT_EQ(line.cursorPosition(), c.caretAfter);
        line.undo();
        EXPECT_EQ(line.text().toStdString(), c.text);
        EXPECT_FALSE(line.isUndoAvailable()) << "the history reaches back to the last change only";
    }
}

}  // namespace
