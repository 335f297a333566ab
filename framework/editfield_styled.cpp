// A styled field's text with its runs, read from the document's fragments and written back
// through the field's own style setters.
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFragment>

#include "framework/editfield.h"
#include "framework/editfield_widgets.h"

namespace fw {

namespace {

// Code points of `text` from UTF-16 index `from` up to `to`.
int64_t CodePointsBetween(const QString& text, qsizetype from, qsizetype to) {
    int64_t count = 0;
    for (qsizetype i = from; i < to && i < text.size(); i += detail::CharacterUnits(text, i)) {
        ++count;
    }
    return count;
}

}  // namespace

StyledText EditField::GetStyledText() const {
    StyledText styled{Text(), {}};
    const auto* const edit = qobject_cast<const QTextEdit*>(Widget());
    if (edit == nullptr) {
        return styled;
    }
    const QTextDocument* const document = edit->document();
    const QString raw = document->toRawText();
    // One walk over the text: `index` (UTF-16) and `position` (code points) advance together.
    qsizetype index = 0;
    int64_t position = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            position += CodePointsBetween(raw, index, fragment.position());
            index = fragment.position();
            const int64_t length = CodePointsBetween(raw, index, index + fragment.length());
            const QTextCharFormat format = fragment.charFormat();
            const int size = format.hasProperty(QTextFormat::FontPixelSize)
                                 ? format.intProperty(QTextFormat::FontPixelSize)
                                 : TextSize();
            styled.runs.push_back(
                {position, length, format.fontWeight() >= QFont::Bold, format.fontItalic(), size});
            position += length;
            index += fragment.length();
        }
    }
    return styled;
}

void EditField::SetStyledText(const StyledText& styled) {
    SetText(styled.text);
    const Styling batch(*this);
    for (const StyleRun& run : styled.runs) {
        SetSize(run.start, run.length, run.size);
        if (run.bold) {
            SetBold(run.start, run.length);
        }
        if (run.italic) {
            SetItalic(run.start, run.length);
        }
    }
}

}  // namespace fw
