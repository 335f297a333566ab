#include "platform/wordscanner.h"

#include <QChar>

namespace platform {

namespace {

// The code point at `index` and the number of code units it takes; a lone surrogate is itself.
char32_t CodePointAt(QStringView text, qsizetype index, qsizetype& units) {
    const QChar first = text[index];
    if (first.isHighSurrogate() && index + 1 < text.size() && text[index + 1].isLowSurrogate()) {
        units = 2;
        return QChar::surrogateToUcs4(first, text[index + 1]);
    }
    units = 1;
    return first.unicode();
}

bool IsWordCharacter(char32_t c) {
    if (QChar::isLetterOrNumber(c)) {
        return true;
    }
    const QChar::Category category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
           category == QChar::Mark_Enclosing;
}

bool IsJoiner(char32_t c) {
    return c == U'\'' || c == U'\u2019' || c == U'-';
}

bool IsWordCharacterAt(QStringView text, qsizetype index) {
    qsizetype units = 0;
    return index < text.size() && IsWordCharacter(CodePointAt(text, index, units));
}

}  // namespace

std::vector<WordSpan> FindWords(QStringView text) {
    std::vector<WordSpan> words;
    qsizetype index = 0;
    qsizetype wordStart = -1;
    while (index < text.size()) {
        qsizetype units = 0;
        const char32_t c = CodePointAt(text, index, units);
        const bool inWord = wordStart >= 0;
        if (IsWordCharacter(c)) {
            wordStart = inWord ? wordStart : index;
        } else if (inWord && !(IsJoiner(c) && IsWordCharacterAt(text, index + units))) {
            words.push_back({wordStart, index - wordStart});
            wordStart = -1;
        }
        index += units;
    }
    if (wordStart >= 0) {
        words.push_back({wordStart, index - wordStart});
    }
    return words;
}

}  // namespace platform
