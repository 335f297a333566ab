// The field's operations on its Qt widget (editfield_widgets.cpp adds the key and mouse hooks).
// Qt counts positions in UTF-16 units; every position that crosses this interface is converted
// against the widget's current text, so a character outside the BMP is one position.
#include "framework/editfield.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPointer>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QWindow>
#include <algorithm>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "framework/editfield_widgets.h"
#include "framework/lineundolimit.h"
#include "framework/text.h"
#include "framework/window.h"

namespace fw {

namespace {

// A drawer and the window it is attached to share one keyboard focus, as one window would: the
// member activated last holds it.
bool AreDrawerPartners(const QWidget* window, const QWidget* other) {
    const auto attached = [](const QWidget* drawer, const QWidget* parent) {
        return drawer->windowType() == Qt::Tool && drawer->windowHandle() &&
               parent->windowHandle() &&
               drawer->windowHandle()->transientParent() == parent->windowHandle();
    };
    return window != other && (attached(window, other) || attached(other, window));
}

// The UTF-16 index of the character under `at`. Qt answers the caret position nearest to a point,
// which for a point on the right half of a character is the next one's.
int CharacterAt(const QTextEdit& edit, QPoint at) {
    const QTextCursor hit = edit.cursorForPosition(at);
    if (hit.position() == 0) {
        return 0;
    }
    QTextCursor before(hit);
    before.setPosition(hit.position() - 1);
    const QRect caret = edit.cursorRect(hit);
    const bool sameLine = edit.cursorRect(before).top() == caret.top();
    return sameLine && at.x() < caret.left() ? hit.position() - 1 : hit.position();
}

}  // namespace

struct EditField::Impl {
    Impl(EditField& owner, QWidget* parent, Kind kind) {
        if (kind == Kind::SingleLine) {
            line = detail::MakeLineEdit(owner, parent);
            line->setMaxLength(std::numeric_limits<int>::max());  // no limit of its own
            widget = line;
            undoLimit.emplace(*line);
            QObject::connect(line, &QLineEdit::textChanged, line, [this] { map.reset(); });
            QObject::connect(line, &QLineEdit::textChanged, line, [&owner] {
                if (owner.TextChange) {
                    owner.TextChange();
                }
            });
        } else {
            text = detail::MakeTextEdit(owner, parent);
            widget = text;
            SetUpStyledField();
            // Only a change of the characters moves positions; the styling's own changes don't.
            QObject::connect(Document(), &QTextDocument::contentsChange, text, [this] {
                if (!styling) {
                    map.reset();
                }
            });
            QObject::connect(text->verticalScrollBar(), &QScrollBar::valueChanged, text,
                             [this, &owner] {
                                 if (!scrolling && owner.ScrollPositionChanged) {
                                     owner.ScrollPositionChanged();
                                 }
                             });
            // Qt reports style changes as text changes too; only a new text counts here.
            QObject::connect(text, &QTextEdit::textChanged, text, [this, &owner] {
                if (!owner.TextChange) {
                    return;
                }
                QString now = RawText();
                if (now != lastText) {
                    lastText = std::move(now);
                    owner.TextChange();
                }
            });
        }
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Base, Qt::white);
        widget->setPalette(palette);
        textSize = QFontInfo(widget->font()).pixelSize();
    }

    // The widget is a child of the window: deleting it first detaches it from the window, and a
    // window that died first has deleted it already (the guard is then null).
    ~Impl() { delete widget.data(); }

    void SetUpStyledField() {
        text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        text->setLineWrapMode(QTextEdit::WidgetWidth);
        text->setAcceptRichText(false);
        text->setAttribute(Qt::WA_MacShowFocusRect, false);
        QPalette palette = text->palette();
        palette.setColor(QPalette::Text, Qt::black);
        text->setPalette(palette);
    }

    QTextDocument* Document() const { return text->document(); }

    // The text as the document counts positions (one U+2029 per line end).
    QString RawText() const { return text ? Document()->toRawText() : line->text(); }

    // The positions of the text as it is now.
    const detail::PositionMap& Map() const {
        if (!map) {
            map.emplace(RawText());
        }
        return *map;
    }

    QTextCursor RangeCursor(int64_t start, int64_t length) const {
        const auto [from, to] = Map().ToUtf16Range(start, length);
        QTextCursor cursor(Document());
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        return cursor;
    }

    // The selection's UTF-16 indexes (start, end); a caret without a selection is both.
    std::pair<int, int> SelectionUtf16() const {
        if (line) {
            if (!line->hasSelectedText()) {
                return {line->cursorPosition(), line->cursorPosition()};
            }
            return {line->selectionStart(), line->selectionEnd()};
        }
        const QTextCursor cursor = text->textCursor();
        return {cursor.selectionStart(), cursor.selectionEnd()};
    }

    void MergeFormat(int64_t start, int64_t length, const QTextCharFormat& format) {
        if (!text || length <= 0) {
            return;
        }
        // Drawn with the next paint: a report styles run after run, and drawing each at once
        // would repaint the whole field a dozen times per report.
        styling = true;
        RangeCursor(std::max<int64_t>(start, 0), length).mergeCharFormat(format);
        styling = false;
    }

    QTextCharFormat FormatAt(int64_t position) const {
        if (!text || position < 0) {
            return {};
        }
        const int index = Map().ToUtf16(position);
        if (index >= Map().Text().size()) {
            return {};
        }
        const QTextBlock block = Document()->findBlock(index);
        if (index == block.position() + block.length() - 1) {
            // A line end: Qt keeps its format as the character format of the next block.
            return block.next().charFormat();
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().contains(index)) {
                return it.fragment().charFormat();
            }
        }
        return block.charFormat();
    }

    // Qt lays a field out only while it is shown; a hidden one is laid out here at the width of
    // the text area it will have, so that line numbers are right before it is shown.
    void EnsureLayout() {
        if (text->isVisible()) {
            return;
        }
        if (text->testAttribute(Qt::WA_PendingResizeEvent)) {
            QResizeEvent resize(text->size(), text->size());
            QCoreApplication::sendEvent(text, &resize);
        }
        Document()->setTextWidth(text->viewport()->width());
    }

    // Every repaint would shape the text's lines afresh; a report is repainted whole at every
    // step of the window's animation, so its lines keep their shaped glyphs until they change.
    void KeepShapedText() {
        for (QTextBlock block = Document()->begin(); block.isValid(); block = block.next()) {
            block.layout()->setCacheEnabled(true);
        }
    }

    // The live-update setting: a change of the text is drawn at once rather than at the next
    // paint event.
    void Drawn() {
        if (!liveUpdate || !widget->isVisible()) {
            return;
        }
        if (text) {
            text->viewport()->repaint();
        } else {
            widget->repaint();
        }
    }

    QPointer<QWidget> widget;
    QPointer<QLineEdit> line;
    QPointer<QTextEdit> text;
    int textSize = 0;
    // The block that holds `line` (0-based, after wrapping) and the line's number within it; an
    // invalid block past the last line.
    std::pair<QTextBlock, int> FindLine(int64_t line) {
        EnsureLayout();
        QTextDocument* const document = Document();
        document->documentLayout()->blockBoundingRect(document->lastBlock());
        int64_t first = 0;
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            const int count = block.layout()->lineCount();
            if (line < first + count) {
                return {block, static_cast<int>(line - first)};
            }
            first += count;
        }
        return {QTextBlock(), 0};
    }

    // The top of a block's line in the document's coordinates (its margin included).
    qreal LineTop(const QTextBlock& block, int lineInBlock) const {
        const QRectF bounds = Document()->documentLayout()->blockBoundingRect(block);
        return bounds.top() + block.layout()->lineAt(lineInBlock).y();
    }

    QTextCursor batch;  // holds the edit block of the Stylings that live
    int stylings = 0;
    mutable std::optional<detail::PositionMap> map;  // of the text as it was last converted
    bool styling = false;                            // MergeFormat is changing formats only
    bool liveUpdate = false;
    bool scrolling = false;  // SetScrollPosition is moving the view
    QString lastText;        // styled field: the text at the last TextChange
    std::optional<detail::LineUndoLimit> undoLimit;  // single-line field
};

EditField::EditField(Window& window, Kind kind, int left, int top, int width, int height)
    : impl_(std::make_unique<Impl>(*this, window.ContentWidget(), kind)) {
    impl_->widget->setGeometry(left, top, width, height);
    impl_->widget->show();
}

EditField::~EditField() = default;

std::string EditField::Text() const {
    QString raw = impl_->RawText();
    if (impl_->text) {
        raw.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
    }
    return raw.toStdString();
}

void EditField::SetText(const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (impl_->line) {
        impl_->line->setText(value);
        impl_->Drawn();
        return;
    }
    // Through the document: QTextEdit::setPlainText would give the whole new text the format at
    // the caret, a bold heading's for instance.
    impl_->Document()->setPlainText(value);
    impl_->KeepShapedText();
    impl_->Drawn();
}

int64_t EditField::SelStart() const {
    return impl_->Map().ToCodePoints(impl_->SelectionUtf16().first);
}

void EditField::SetSelStart(int64_t start) {
    const int index = impl_->Map().ToUtf16(std::max<int64_t>(start, 0));
    if (impl_->line) {
        impl_->line->setCursorPosition(index);
        return;
    }
    QTextCursor cursor = impl_->text->textCursor();
    cursor.setPosition(index);
    impl_->text->setTextCursor(cursor);
}

int64_t EditField::SelLength() const {
    const auto [from, to] = impl_->SelectionUtf16();
    return impl_->Map().ToCodePoints(to) - impl_->Map().ToCodePoints(from);
}

void EditField::SetSelLength(int64_t length) {
    const auto [from, to] = impl_->Map().ToUtf16Range(SelStart(), length);
    if (impl_->line) {
        impl_->line->setSelection(from, to - from);
        return;
    }
    QTextCursor cursor = impl_->text->textCursor();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    impl_->text->setTextCursor(cursor);
}

std::string EditField::SelText() const {
    return Mid(Text(), SelStart() + 1, SelLength());
}

void EditField::SetSelText(const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (impl_->line) {
        impl_->line->insert(value);
        return;
    }
    impl_->text->insertPlainText(value);
}

void EditField::SetTextColor(int red, int green, int blue) {
    QPalette palette = impl_->widget->palette();
    palette.setColor(QPalette::Text, QColor(red, green, blue));
    impl_->widget->setPalette(palette);
}

int EditField::TextSize() const {
    return impl_->textSize;
}

void EditField::SetTextSize(int size) {
    impl_->textSize = size;
    QFont font = impl_->widget->font();
    font.setPixelSize(std::max(size, 1));
    impl_->widget->setFont(font);
    if (impl_->text) {
        impl_->Document()->setDefaultFont(font);
    }
}

void EditField::SetReadOnly(bool readOnly) {
    if (impl_->line) {
        impl_->line->setReadOnly(readOnly);
        return;
    }
    impl_->text->setReadOnly(readOnly);
}

void EditField::SetLiveUpdate(bool liveUpdate) {
    impl_->liveUpdate = liveUpdate;
}

void EditField::SetBorder(bool border) {
    if (impl_->text) {
        impl_->text->setFrameShape(border ? QFrame::StyledPanel : QFrame::NoFrame);
    }
}

void EditField::SetVerticalScrollBar(bool shown) {
    if (impl_->text) {
        impl_->text->setVerticalScrollBarPolicy(shown ? Qt::ScrollBarAlwaysOn
                                                      : Qt::ScrollBarAlwaysOff);
    }
}

void EditField::SetAcceptTabs(bool accept) {
    if (impl_->text) {
        impl_->text->setTabChangesFocus(!accept);
    }
}

EditField::Styling::Styling(EditField& field) : field_(field) {
    Impl& impl = *field_.impl_;
    if (impl.text && impl.stylings++ == 0) {
        impl.batch = QTextCursor(impl.Document());
        impl.batch.beginEditBlock();
    }
}

EditField::Styling::~Styling() {
    Impl& impl = *field_.impl_;
    if (impl.text && --impl.stylings == 0) {
        impl.styling = true;
        impl.batch.endEditBlock();
        // Qt lays out again only the blocks it takes the changes to touch, and the lines of later
        // blocks could keep their old breaks: their count would be wrong.
        impl.Document()->markContentsDirty(0, impl.Document()->characterCount());
        impl.styling = false;
    }
}

void EditField::SetBold(int64_t start, int64_t length) {
    QTextCharFormat format;
    format.setFontWeight(QFont::Bold);
    impl_->MergeFormat(start, length, format);
}

void EditField::SetItalic(int64_t start, int64_t length) {
    QTextCharFormat format;
    format.setFontItalic(true);
    impl_->MergeFormat(start, length, format);
}

void EditField::SetSize(int64_t start, int64_t length, int size) {
    QTextCharFormat format;
    format.setProperty(QTextFormat::FontPixelSize, std::max(size, 1));
    impl_->MergeFormat(start, length, format);
}

bool EditField::IsBoldAt(int64_t position) const {
    return impl_->FormatAt(position).fontWeight() >= QFont::Bold;
}

bool EditField::IsItalicAt(int64_t position) const {
    return impl_->FormatAt(position).fontItalic();
}

int64_t EditField::LineNumAtCharPos(int64_t position) const {
    if (impl_->line) {
        return 0;
    }
    impl_->EnsureLayout();
    QTextDocument* const document = impl_->Document();
    const int index = impl_->Map().ToUtf16(std::max<int64_t>(position, 0));
    QTextBlock target = document->findBlock(index);
    if (!target.isValid()) {
        target = document->lastBlock();
    }
    document->documentLayout()->blockBoundingRect(target);  // lays out every block up to it
    int64_t lines = 0;
    for (QTextBlock block = document->begin(); block != target; block = block.next()) {
        lines += block.layout()->lineCount();
    }
    const QTextLayout* const layout = target.layout();
    const QTextLine line = layout->lineForTextPosition(index - target.position());
    return lines + (line.isValid() ? line.lineNumber() : std::max(layout->lineCount() - 1, 0));
}

int64_t EditField::CharPosAtXY(int x, int y) const {
    if (impl_->line) {
        return impl_->Map().ToCodePoints(impl_->line->cursorPositionAt(QPoint(x, y)));
    }
    impl_->EnsureLayout();
    return impl_->Map().ToCodePoints(CharacterAt(*impl_->text, QPoint(x, y)));
}

bool EditField::IsBesideText(int x, int y) const {
    if (impl_->line) {
        return false;
    }
    impl_->EnsureLayout();
    const QTextEdit& edit = *impl_->text;
    // The layout's exact hit test finds a character only within a line's text.
    const QPoint inDocument(x + edit.horizontalScrollBar()->value(),
                            y + edit.verticalScrollBar()->value());
    return impl_->Document()->documentLayout()->hitTest(inDocument, Qt::ExactHit) < 0;
}

bool EditField::IsBelowText(int y) const {
    if (impl_->line) {
        return false;
    }
    impl_->EnsureLayout();
    QTextDocument* const document = impl_->Document();
    const qreal bottom =
        document->documentLayout()->blockBoundingRect(document->lastBlock()).bottom();
    return y + impl_->text->verticalScrollBar()->value() >= bottom;
}

int64_t EditField::CharPosAtLineNum(int64_t line) const {
    if (impl_->line) {
        return line <= 0 ? 0 : fw::Len(Text());
    }
    const auto [block, lineInBlock] = impl_->FindLine(std::max<int64_t>(line, 0));
    if (!block.isValid()) {
        return fw::Len(Text());
    }
    const int index = block.position() + block.layout()->lineAt(lineInBlock).textStart();
    return impl_->Map().ToCodePoints(index);
}

int64_t EditField::LineNumAtHeight(int y) const {
    if (impl_->line) {
        return 0;
    }
    impl_->EnsureLayout();
    QTextDocument* const document = impl_->Document();
    QAbstractTextDocumentLayout* const layout = document->documentLayout();
    layout->blockBoundingRect(document->lastBlock());  // lays out every block
    int64_t line = -1;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const qreal blockTop = layout->blockBoundingRect(block).top();
        for (int i = 0; i < block.layout()->lineCount(); ++i) {
            if (line >= 0 && blockTop + block.layout()->lineAt(i).y() > y) {
                return line;
            }
            ++line;
        }
    }
    return std::max<int64_t>(line, 0);
}

int64_t EditField::ScrollPosition() const {
    if (impl_->line) {
        return 0;
    }
    // A line scrolled to the top keeps the text's top margin above it (SetScrollPosition).
    const qreal margin = impl_->Document()->documentMargin();
    return LineNumAtHeight(impl_->text->verticalScrollBar()->value() + static_cast<int>(margin));
}

void EditField::SetScrollPosition(int64_t line) {
    if (impl_->line) {
        return;
    }
    const auto [block, lineInBlock] = impl_->FindLine(std::max<int64_t>(line, 0));
    QScrollBar* const bar = impl_->text->verticalScrollBar();
    const qreal margin = impl_->Document()->documentMargin();
    const int top = block.isValid() ? static_cast<int>(impl_->LineTop(block, lineInBlock) - margin)
                                    : bar->maximum();
    impl_->scrolling = true;
    bar->setValue(top);
    impl_->scrolling = false;
}

int EditField::Left() const {
    return impl_->widget->x();
}

int EditField::Top() const {
    return impl_->widget->y();
}

int EditField::Width() const {
    return impl_->widget->width();
}

void EditField::SetWidth(int width) {
    impl_->widget->resize(width, impl_->widget->height());
}

int EditField::Height() const {
    return impl_->widget->height();
}

void EditField::SetHeight(int height) {
    impl_->widget->resize(impl_->widget->width(), height);
}

bool EditField::HasFocus() const {
    const QWidget* const window = impl_->widget->window();
    if (window->focusWidget() != impl_->widget) {
        return false;
    }
    const QWidget* const active = QApplication::activeWindow();
    return active == nullptr || !AreDrawerPartners(window, active);
}

void EditField::SetFocus() {
    impl_->widget->setFocus(Qt::OtherFocusReason);
    QWidget* const window = impl_->widget->window();
    const QWidget* const active = QApplication::activeWindow();
    if (active != nullptr && AreDrawerPartners(window, active)) {
        window->activateWindow();
    }
}

QWidget* EditField::Widget() const {
    return impl_->widget;
}

}  // namespace fw
