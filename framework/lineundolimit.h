// Keeps a single-line field's undo history bounded. Qt's line edit records every character typed,
// pasted or deleted for undo and forgets none until its text is set whole: a search strip left
// open for weeks, each word typed over the last, grew by some 50 bytes per character typed.
#pragma once

#include <QString>

class QLineEdit;

namespace fw::detail {

class LineUndoLimit {
  public:
    // The characters the history may hold before it is cut back to the last change alone: far
    // more than anyone takes back, a few hundred kilobytes of Qt's records at most.
    static constexpr qsizetype kCharacters = 10000;

    // Watches the changes of `line`, which must outlive it; the history is cut once it holds more
    // than `limit` characters.
    explicit LineUndoLimit(QLineEdit& line, qsizetype limit = kCharacters);
    LineUndoLimit(const LineUndoLimit&) = delete;
    LineUndoLimit& operator=(const LineUndoLimit&) = delete;

  private:
    void Changed();
    // Forgets the history, then makes the change from `before` to the text it has now again, so
    // that the last change can still be taken back. Text and caret stay as they are (an edit leaves
    // the caret at the end of what it typed, or where it deleted).
    void CutBackToLastChange(const QString& before);

    QLineEdit& line_;
    const qsizetype limit_;
    QString last_;            // the text after the last change
    qsizetype selected_ = 0;  // the selection's length before the next change
    qsizetype recorded_ = 0;  // the characters the history holds, counted from the changes
};

}  // namespace fw::detail
