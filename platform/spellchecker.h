// The spell checker behind the stand-in NSSpellChecker, on Hunspell dictionaries in one folder:
// "de" is de_DE, "en" en_US, "en_GB" en_GB, and "Multilingual" all three, a word being correct
// when any of them accepts it. Each dictionary loads on its first use and stays. Main OS thread
// only.
#pragma once

#include <QString>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/hunspelldictionary.h"

namespace platform {

// The first misspelled word of a text, in UTF-16 code units; length 0 when there is none.
struct SpellingRange {
    uint32_t location = 0;
    uint32_t length = 0;
};

class SpellChecker {
  public:
    // Location of the range that finds no misspelled word.
    static constexpr uint32_t kNotFound = 0x7FFFFFFF;

    explicit SpellChecker(std::filesystem::path dictionaryFolder);

    // False, leaving the language as it was, for a language without an installed dictionary
    // (the empty language included). Until it succeeds the language is "en".
    bool SetLanguage(const std::string& language);
    const std::string& Language() const { return language_; }

    // The first misspelled word at or after `start`; with `wrap`, the search goes on from the
    // beginning of the text up to `start`. Words of digits alone are never misspelled. A
    // language without a dictionary can judge no word, so its first word counts as misspelled.
    // `wordCount`, when given, receives the number of words of the text.
    SpellingRange Check(const QString& text, int32_t start, const std::string& language, bool wrap,
                        int32_t* wordCount);
    // Guesses in the current language, each once; for "Multilingual" the dictionaries' lists
    // interleaved (first of each, then second of each, ...).
    std::vector<std::string> Guesses(const std::string& word);

  private:
    // The installed dictionaries of a language, in a fixed order; empty for an unknown one.
    std::vector<HunspellDictionary*> DictionariesOf(const std::string& language);
    bool IsCorrect(const std::vector<HunspellDictionary*>& dictionaries, const QString& word);

    std::map<std::string, std::unique_ptr<HunspellDictionary>> dictionaries_;  // by file stem
    std::string language_ = "en";
};

}  // namespace platform
