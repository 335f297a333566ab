// Input as the user gives it, sent to the real widgets of the program's windows: key presses
// into a field, mouse presses at a character of a styled field. Main OS thread only.
#pragma once

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextCursor>
#include <QTextEdit>

#include <algorithm>
#include <string>

#include "framework/editfield.h"
#include "framework/events.h"
#include "framework/text.h"

inline void SendKey(QWidget* widget, int key, const QString& text,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(widget, &release);
}

// A press (or the second press of a double-click) and its release at `at` of `target`.
inline void SendClick(QWidget* target, QPointF at, Qt::MouseButton button,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                      QEvent::Type pressType = QEvent::MouseButtonPress) {
    const QPointF global = target->mapToGlobal(at);
    QMouseEvent press(pressType, at, global, button, button, modifiers);
    QCoreApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, button, Qt::NoButton, modifiers);
    QCoreApplication::sendEvent(target, &release);
}

// Types one character with the key code that Qt gives its key (the upper-case code point).
inline void TypeCharacter(const fw::EditField& field, const std::string& character) {
    const QString text = QString::fromStdString(character);
    SendKey(field.Widget(), text.toUpper().at(0).unicode(), text);
}

// The 0-based character position of the first `needle` in `text` (code points), or -1.
inline int64_t PositionOf(const std::string& text, const std::string& needle) {
    return fw::InStrB(1, text, needle) - 1;
}

// The point `across` of the way over the character at `position` of a styled field, in its text
// area's coordinates; the field's text must be free of characters outside the BMP.
inline QPoint CharacterPoint(const fw::EditField& field, int64_t position, double across = 0.5) {
    auto* const edit = static_cast<QTextEdit*>(field.Widget());
    QTextCursor cursor(edit->document());
    cursor.setPosition(static_cast<int>(position));
    const QRect left = edit->cursorRect(cursor);
    // A line end, and the text's end, have no width of their own: a point there lies beside it.
    const bool atEnd = position + 1 >= edit->document()->characterCount();
    cursor.setPosition(static_cast<int>(atEnd ? position : position + 1));
    const QRect right = edit->cursorRect(cursor);
    const int width = !atEnd && right.top() == left.top() ? right.left() - left.left() : 4;
    // Whole pixels, as a mouse reports them, and never on the next character's edge.
    const int x = left.left() + std::min(static_cast<int>(across * width), width - 1);
    return QPoint(x, left.center().y());
}

// A press and its release on the character at `position` of a styled field.
inline void ClickCharacter(const fw::EditField& field, int64_t position, Qt::MouseButton button,
                           double across = 0.5) {
    auto* const edit = static_cast<QTextEdit*>(field.Widget());
    SendClick(edit->viewport(), CharacterPoint(field, position, across), button);
}
