// Report copy windows offscreen: what they copy and call themselves, the modified mark, the
// cascade, their own scroll bar kept in step with the text, and Ctrl+W.
#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <string>

#include "framework/fiber_helpers.h"
#include "framework/text.h"
#include "framework/timer.h"
#include "search/PMC.h"
#include "test_ui.h"
#include "window_events.h"
#include "windows/ResultWin.h"
#include "windows/SearchWin.h"
#include "windows/TextWindow.h"

namespace {

// A report of `lines` lines: the leading line end, the headline, then numbered entries.
std::string Report(int lines) {
    std::string report = "\n\"Haus\" was found!";
    for (int line = 2; line < lines; ++line) {
        report += "\nline " + std::to_string(line);
    }
    return report;
}

class TextWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PMC::InitializeGlobals();
        PMC::gDirectHit = true;
        PMC::gHitWord = "Haus";
        SetReport(Report(4));
    }

    void TearDown() override {
        for (int i = fw::WindowCount() - 1; i >= 0; --i) {
            if (auto* copy = dynamic_cast<TextWindow*>(fw::WindowAt(i))) {
                copy->Close();
            }
        }
        fw::DoEvents(0);
        SearchWin::Get().UserInput.SetText("");
        SearchWin::Get().SearchTimer.SetMode(fw::Timer::ModeOff);
        PMC::InitializeGlobals();
    }

    static void SetReport(const std::string& report) {
        fw::EditField& field = ResultWin::Get().ResultField;
        field.SetText(report);
        field.SetBold(1, fw::Len("\"Haus\" was found!"));
    }

    static TextWindow& Shown() {
        TextWindow& window = TextWindow::Make();
        window.Show();
        return window;
    }

    ScopedRecordingUI ui;
};

TEST_F(TextWindowTest, CopyLosesTheLeadingLineAndHeadlineUnderTheHitWordsTitle) {
    SetReport("\n\"Haus\" was found!\n\nSynonyms...\n\nHeim, Gebäude");
    ResultWin::Get().ResultField.SetBold(20, 11);
    ResultWin::Get().ResultField.SetSize(20, 11, 12);
    TextWindow& copy = Shown();
    EXPECT_EQ(copy.Title(), "Result of \"Haus\"");
    EXPECT_EQ(copy.TextField.Text(), "\nSynonyms...\n\nHeim, Gebäude");
    EXPECT_TRUE(copy.TextField.IsBoldAt(1));
    EXPECT_FALSE(copy.TextField.IsBoldAt(14));
    EXPECT_EQ(copy.TextField.GetStyledText().runs.front().size, 12) << "the report's sizes";
    EXPECT_EQ(copy.TextField.SelStart(), 0);
    EXPECT_FALSE(copy.Modified());
    EXPECT_EQ(copy.Height(), 300) << "the text area below the menu bar, once shown";

    // Three lines or fewer are copied whole; without a hit the title is the normalised input.
    SetReport("\n\"Xyz\"\nUnknown word.");
    PMC::gDirectHit = false;
    SearchWin::Get().UserInput.SetText("  ÄPFEL ");
    TextWindow& whole = TextWindow::Make();
    EXPECT_EQ(whole.TextField.Text(), "\n\"Xyz\"\nUnknown word.");
    EXPECT_EQ(whole.Title(), "Result of \"Äpfel\"");
}

TEST_F(TextWindowTest, EditingMarksTheWindowAndCtrlWClosesItWithoutAsking) {
    TextWindow& copy = Shown();
    copy.BringToFront();
    ASSERT_TRUE(PumpUntil([&] { return QApplication::activeWindow() == copy.Widget(); }));
    copy.TextField.SetFocus();
    TypeCharacter(copy.TextField, "x");
    EXPECT_TRUE(copy.Modified());

    const int open = fw::WindowCount();
    const QPointer<QWidget> widget = copy.Widget();
    QTest::keyClick(copy.TextField.Widget(), Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(fw::WindowCount(), open - 1);
    EXPECT_TRUE(ui->messages.empty());
    fw::DoEvents(0);
    EXPECT_TRUE(widget.isNull()) << "the closed window is gone with its text";
}

TEST_F(TextWindowTest, CopiesCascadeFromTheFrontMostOtherCopy) {
    TextWindow& first = Shown();
    first.SetLeft(100);
    first.SetTop(80);
    TextWindow& second = Shown();
    EXPECT_EQ(second.Left(), 120);
    EXPECT_EQ(second.Top(), 100);
    first.BringToFront();
    TextWindow& third = Shown();
    EXPECT_EQ(third.Left(), 120) << "from the first, now in front";
    EXPECT_EQ(third.Top(), 100);
}

TEST_F(TextWindowTest, ScrollBarFollowsTheLinesTheWheelAndTypingAtTheEndOfAScrolledCopy) {
    TextWindow& small = Shown();
    EXPECT_EQ(small.Scroller.Maximum(), 2) << "a copy that fits";

    SetReport(Report(82));
    TextWindow& copy = Shown();
    fw::EditField& field = copy.TextField;
    const int64_t last = field.LineNumAtCharPos(fw::Len(field.Text()));
    const int64_t fitting = field.LineNumAtCharPos(field.CharPosAtXY(1, field.Height()));
    ASSERT_EQ(last, 79);
    ASSERT_GT(fitting, 5);
    EXPECT_EQ(copy.Scroller.Maximum(), last - fitting + 2);
    EXPECT_EQ(copy.Scroller.PageStep(), fitting);

    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(static_cast<QAbstractScrollArea*>(field.Widget())->viewport(),
                                &wheel);
    EXPECT_EQ(copy.Scroller.Value(), QApplication::wheelScrollLines());
    EXPECT_EQ(field.ScrollPosition(), copy.Scroller.Value());

    copy.Scroller.SetValue(last - fitting);
    const int64_t firstInView = field.ScrollPosition();
    EXPECT_EQ(firstInView, last - fitting);
    field.SetSelStart(fw::Len(field.Text()));
    TypeCharacter(field, "x");
    EXPECT_EQ(copy.Scroller.Maximum(), last - fitting + 2) << "the range does not shrink";
    EXPECT_EQ(copy.Scroller.Value(), firstInView);
    EXPECT_EQ(field.ScrollPosition(), firstInView) << "the view stays where it was";

    // The controls follow the window's size.
    copy.Widget()->resize(copy.Widget()->width(), copy.Widget()->height() + 100);
    EXPECT_EQ(field.Height(), copy.Height() + 1);
    EXPECT_GT(copy.Scroller.PageStep(), fitting) << "resizing recomputes the range";
}

}  // namespace
