// The Qt widgets under fw::EditField, with the program's hooks mixed in: typed keys and
// input-method commits pass the field's KeyDown, presses and double-click presses go to its
// MouseDown (IsContextualClick() tells their kind meanwhile), the text area reports MouseEnter and
// MouseExit, the wheel goes to MouseWheel, and the context menu is the program's. Internal to the
// framework; main OS thread.
#pragma once

#include <QString>
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

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

// A text's code-point positions against its UTF-16 indexes, made in one walk: only the surrogate
// pairs differ, so a conversion counts the pairs before it. A report styles hundreds of runs, and
// walking the text from its start for each run made the styling quadratic in the report's size.
class PositionMap {
  public:
    explicit PositionMap(QString text) : text_(std::move(text)) {
        int64_t position = 0;
        for (qsizetype i = 0; i < text_.size(); i += CharacterUnits(text_, i), ++position) {
            if (CharacterUnits(text_, i) == 2) {
                pairPositions_.push_back(position);
                pairIndexes_.push_back(i);
            }
        }
    }

    const QString& Text() const { return text_; }

    // The UTF-16 index of code-point position `position` (not negative), clamped to the text.
    int ToUtf16(int64_t position) const {
        const int64_t clamped = std::min<int64_t>(position, text_.size());
        const auto pairs = std::lower_bound(pairPositions_.begin(), pairPositions_.end(), clamped) -
                           pairPositions_.begin();
        return static_cast<int>(std::min<int64_t>(clamped + pairs, text_.size()));
    }

    // The UTF-16 indexes (from, to) of `length` code points from code-point position `start` (not
    // negative); a negative length is an empty range.
    std::pair<int, int> ToUtf16Range(int64_t start, int64_t length) const {
        const int64_t from = std::min<int64_t>(start, text_.size());
        return {ToUtf16(from), ToUtf16(from + std::clamp<int64_t>(length, 0, text_.size()))};
    }

    // The number of code points that begin before UTF-16 index `index`.
    int64_t ToCodePoints(qsizetype index) const {
        const qsizetype units = std::clamp<qsizetype>(index, 0, text_.size());
        // A pair counts one unit less once both of its units lie before `index`.
        const auto whole = std::lower_bound(pairIndexes_.begin(), pairIndexes_.end(), units - 1) -
                           pairIndexes_.begin();
        return units - whole;
    }

  private:
    QString text_;
    std::vector<int64_t> pairPositions_;  // code-point positions of the surrogate pairs
    std::vector<qsizetype> pairIndexes_;  // their UTF-16 indexes
};

}  // namespace detail

}  // namespace fw
