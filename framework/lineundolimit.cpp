#include "framework/lineundolimit.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <algorithm>
#include <utility>

namespace fw::detail {

namespace {

// A change as Qt records it: the units from `from` on that went, and those that came instead.
struct Change {
    qsizetype from = 0;
    qsizetype removed = 0;
    qsizetype inserted = 0;
};

Change ChangeBetween(const QString& before, const QString& after) {
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before.at(prefix) == after.at(prefix)) {
        ++prefix;
    }
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           before.at(before.size() - 1 - suffix) == after.at(after.size() - 1 - suffix)) {
        ++suffix;
    }
    return {prefix, before.size() - prefix - suffix, after.size() - prefix - suffix};
}

// The same change placed where the caret says it was made: a letter typed into a run of that
// letter fits any place in the run, and the undo puts the caret back where the change was.
Change ChangeAtCaret(const QString& before, const QString& after, qsizetype cursor) {
    Change change = ChangeBetween(before, after);
    const qsizetype from = cursor - change.inserted;
    if (from >= 0 && from < change.from &&
        QStringView(before).mid(from + change.removed) ==
            QStringView(after).mid(from + change.inserted)) {
        change.from = from;
    }
    return change;
}

}  // namespace

LineUndoLimit::LineUndoLimit(QLineEdit& line, qsizetype limit)
    : line_(line), limit_(limit), last_(line.text()) {
    QObject::connect(&line, &QLineEdit::textChanged, &line, [this] { Changed(); });
    // Qt reports a change before the selection it replaced is gone.
    QObject::connect(&line, &QLineEdit::selectionChanged, &line,
                     [this] { selected_ = line_.selectionLength(); });
}

void LineUndoLimit::Changed() {
    const QString before = std::exchange(last_, line_.text());
    // A text set whole has emptied the history; an undo adds nothing to it.
    if (!line_.isUndoAvailable()) {
        recorded_ = 0;
        return;
    }
    if (line_.isRedoAvailable()) {
        return;
    }
    // Qt records every character of a replaced selection both ways, the ones that came back
    // unchanged too (a word pasted over itself).
    const Change change = ChangeBetween(before, last_);
    recorded_ +=
        change.removed + change.inserted + 2 * std::max<qsizetype>(selected_ - change.removed, 0);
    if (recorded_ > limit_) {
        CutBackToLastChange(before);
    }
}

void LineUndoLimit::CutBackToLastChange(const QString& before) {
    const Change change = ChangeAtCaret(before, last_, line_.cursorPosition());
    // The field's users saw this change already; the steps below are no change of theirs.
    const QSignalBlocker quiet(&line_);
    line_.setText(before);
    line_.setSelection(static_cast<int>(change.from), static_cast<int>(change.removed));
    line_.insert(last_.mid(change.from, change.inserted));
    recorded_ = change.removed + change.inserted;
    selected_ = 0;  // its report of the selection gone was held back with the rest
}

}  // namespace fw::detail
