// A styled field's text with its runs, read from the document's fragments and written back
// through the field's own style setters.
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFragment>

#include "framework/editfield.h"
#include "framework/editfield_widgets.h"

namespace fw {

StyledText EditField::GetStyledText() const {
    StyledText styled{Text(), {}};
    const auto* const edit = qobject_cast<const QTextEdit*>(Widget());
    if (edit == nullptr) {
        return styled;
    }
    const QTextDocument* const document = edit->document();
    const detail::PositionMap map(document->toRawText());
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int64_t position = map.ToCodePoints(fragment.position());
            const int64_t length =
                map.ToCodePoints(fragment.position() + fragment.length()) - position;
            const QTextCharFormat format = fragment.charFormat();
            const int size = format.hasProperty(QTextFormat::FontPixelSize)
                                 ? format.intProperty(QTextFormat::FontPixelSize)
                                 : TextSize();
            styled.runs.push_back(
                {position, length, format.fontWeight() >= QFont::Bold, format.fontItalic(), size});
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
