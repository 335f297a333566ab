// Finds the words of a text for the spell checker. A word is a run of letters, digits and
// combining marks; a single apostrophe (' or U+2019) or hyphen between two such characters joins
// the run ("don't", "Mutter-Kind"). Positions and lengths count UTF-16 code units, as the
// checker's ranges do. Pure.
#pragma once

#include <QStringView>
#include <vector>

namespace platform {

struct WordSpan {
    qsizetype start = 0;
    qsizetype length = 0;

    bool operator==(const WordSpan&) const = default;
};

std::vector<WordSpan> FindWords(QStringView text);

}  // namespace platform
