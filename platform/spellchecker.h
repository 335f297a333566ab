// The spell checker behind the stand-in NSSpellChecker, on Hunspell dictionaries in one folder:
// "de" is de_DE, "en" en_US, "en_GB" en_GB, and "Multilingual" all three, a word being correct
// when any of them accepts it. Each dictionary loads on its first use, or in the background once
// its language is set, and stays. Guesses asked for ahead are computed on a worker thread with
// dictionaries of its own (Hunspell objects are not thread-safe). Main OS thread only.
#pragma once

#include <QString>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/guessworker.h"
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
    // (the empty language included). Until it succeeds the language is "en". An accepted
    // language's dictionaries start loading in the background.
    bool SetLanguage(const std::string& language);
    const std::string& Language() const { return language_; }

    // The first misspelled word at or after `start`; with `wrap`, the search goes on from the
    // beginning of the text up to `start`. Words of digits alone are never misspelled. A
    // language without a dictionary can judge no word, so its first word counts as misspelled.
    // `wordCount`, when given, receives the number of words of the text.
    SpellingRange Check(const QString& text, int32_t start, const std::string& language, bool wrap,
                        int32_t* wordCount);
    // Guesses in the current language, each once; for "Multilingual" the dictionaries' lists
    // interleaved (first of each, then second of each, ...). A text of several words gets
    // guesses for its first misspelled word only, the rest of the text kept around each; none
    // when every word is correct.
    // Prepared guesses are collected, once the worker has them.
    std::vector<std::string> Guesses(const std::string& word);
    // Starts computing the guesses for `word` in the current language on the worker thread.
    void PrepareGuesses(const std::string& word);
    // True while guesses prepared for `word` in the current language are still being computed.
    bool GuessesPending(const std::string& word) const;

  private:
    using Dictionaries = std::map<std::string, std::unique_ptr<HunspellDictionary>>;  // by stem

    static Dictionaries MakeDictionaries(const std::filesystem::path& folder);
    // The installed dictionaries of a language, in a fixed order; empty for an unknown one.
    static std::vector<HunspellDictionary*> DictionariesOf(const Dictionaries& dictionaries,
                                                           const std::string& language);

    Dictionaries dictionaries_;        // the calling thread's
    Dictionaries workerDictionaries_;  // the worker's own, for its guesses
    std::string language_ = "en";
    GuessWorker worker_;  // last: joined before the dictionaries go
};

}  // namespace platform
