// The Qt widgets under fw::EditField, with the program's hooks mixed in: typed keys and
// input-method commits pass the field's KeyDown, presses and double-click presses go to its
// MouseDown (IsContextualClick() tells their kind meanwhile), the text area reports MouseEnter and
// MouseExit, the wheel goes to MouseWheel, and the context menu is the program's. Internal to the
// framework; main OS thread.
#pragma once

#include <QString>

class QLineEdit;
class QTextEdit;
class QWidget;

namespace fw {

class EditField;

namespace detail {

// New widgets owned by `parent`; they call the handlers of `owner`, which must outlive them.
QLineEdit* MakeLineEdit(EditField& owner, QWidget* parent);
QTextEdit* MakeTextEdit(EditField& owner, QWidget* parent);

// The UTF-16 units of the character at `index`: 2 for a surrogate pair, else 1. Inline: the
// position conversions call it once per character of the field's text.
inline qsizetype CharacterUnits(const QString& text, qsizetype index) {
    const bool pair = text.at(index).isHighSurrogate() && index + 1 < text.size() &&
                      text.at(index + 1).isLowSurrogate();
    return pair ? 2 : 1;
}

}  // namespace detail

}  // namespace fw
