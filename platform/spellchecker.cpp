#include "platform/spellchecker.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/wordscanner.h"

namespace platform {

namespace {

struct LanguageDictionaries {
    const char* language;
    std::vector<const char*> stems;
};

const std::vector<LanguageDictionaries>& Languages() {
    static const std::vector<LanguageDictionaries> languages = {
        {"de", {"de_DE"}},
        {"en", {"en_US"}},
        {"en_GB", {"en_GB"}},
        {"Multilingual", {"de_DE", "en_US", "en_GB"}},
    };
    return languages;
}

bool IsDigitsOnly(QStringView word) {
    return std::all_of(word.begin(), word.end(), [](QChar c) { return c.isDigit(); });
}

// Indexes from `start` to the end, then, with `wrap`, from the beginning up to `start`.
std::vector<WordSpan> InSearchOrder(const std::vector<WordSpan>& words, qsizetype start,
                                    bool wrap) {
    std::vector<WordSpan> ordered;
    for (const WordSpan& word : words) {
        if (word.start >= start) {
            ordered.push_back(word);
        }
    }
    if (wrap) {
        for (const WordSpan& word : words) {
            if (word.start < start) {
                ordered.push_back(word);
            }
        }
    }
    return ordered;
}

bool IsCorrect(const std::vector<HunspellDictionary*>& dictionaries, const QString& word) {
    if (IsDigitsOnly(word)) {
        return true;
    }
    const std::string utf8 = word.toStdString();
    return std::any_of(dictionaries.begin(), dictionaries.end(),
                       [&](HunspellDictionary* dictionary) { return dictionary->Spell(utf8); });
}

// Each dictionary's suggestions for one word, interleaved rank by rank, each guess once.
std::vector<std::string> WordGuesses(const std::vector<HunspellDictionary*>& dictionaries,
                                     const std::string& word) {
    std::vector<std::vector<std::string>> lists;
    for (HunspellDictionary* dictionary : dictionaries) {
        lists.push_back(dictionary->Suggest(word));
    }
    std::vector<std::string> guesses;
    for (size_t rank = 0;; ++rank) {
        bool any = false;
        for (const std::vector<std::string>& list : lists) {
            if (rank >= list.size()) {
                continue;
            }
            any = true;
            if (std::find(guesses.begin(), guesses.end(), list[rank]) == guesses.end()) {
                guesses.push_back(list[rank]);
            }
        }
        if (!any) {
            return guesses;
        }
    }
}

// A text of several words gets guesses only for its first misspelled word, each guess in that
// word's place with the rest of the text kept; a text whose words are all correct gets none.
std::vector<std::string> GuessesFrom(const std::vector<HunspellDictionary*>& dictionaries,
                                     const std::string& text) {
    const QString qtext = QString::fromStdString(text);
    const std::vector<WordSpan> words = FindWords(qtext);
    if (words.size() <= 1) {
        return WordGuesses(dictionaries, text);
    }
    for (const WordSpan& word : words) {
        const QString spelled = qtext.mid(word.start, word.length);
        if (IsCorrect(dictionaries, spelled)) {
            continue;
        }
        std::vector<std::string> guesses;
        for (const std::string& guess : WordGuesses(dictionaries, spelled.toStdString())) {
            guesses.push_back((qtext.left(word.start) + QString::fromStdString(guess) +
                               qtext.mid(word.start + word.length))
                                  .toStdString());
        }
        return guesses;
    }
    return {};
}

}  // namespace

SpellChecker::SpellChecker(std::filesystem::path dictionaryFolder)
    : dictionaries_(MakeDictionaries(dictionaryFolder)),
      workerDictionaries_(MakeDictionaries(dictionaryFolder)),
      worker_(
          [this](const std::string& word, const std::string& language) {
              return GuessesFrom(DictionariesOf(workerDictionaries_, language), word);
          },
          [this](const std::string& language) {
              for (const Dictionaries* set : {&dictionaries_, &workerDictionaries_}) {
                  for (HunspellDictionary* dictionary : DictionariesOf(*set, language)) {
                      dictionary->Load();
                  }
              }
          }) {}

SpellChecker::Dictionaries SpellChecker::MakeDictionaries(const std::filesystem::path& folder) {
    Dictionaries dictionaries;
    for (const LanguageDictionaries& entry : Languages()) {
        for (const char* stem : entry.stems) {
            if (dictionaries.contains(stem)) {
                continue;
            }
            const std::filesystem::path base = folder / stem;
            dictionaries.emplace(stem, std::make_unique<HunspellDictionary>(
                                           base.string() + ".aff", base.string() + ".dic"));
        }
    }
    return dictionaries;
}

std::vector<HunspellDictionary*> SpellChecker::DictionariesOf(const Dictionaries& dictionaries,
                                                              const std::string& language) {
    std::vector<HunspellDictionary*> found;
    for (const LanguageDictionaries& entry : Languages()) {
        if (language != entry.language) {
            continue;
        }
        for (const char* stem : entry.stems) {
            HunspellDictionary* const dictionary = dictionaries.at(stem).get();
            if (dictionary->Exists()) {
                found.push_back(dictionary);
            }
        }
    }
    return found;
}

bool SpellChecker::SetLanguage(const std::string& language) {
    if (DictionariesOf(dictionaries_, language).empty()) {
        return false;
    }
    language_ = language;
    worker_.Load(language);
    return true;
}

SpellingRange SpellChecker::Check(const QString& text, int32_t start, const std::string& language,
                                  bool wrap, int32_t* wordCount) {
    const std::vector<WordSpan> words = FindWords(text);
    if (wordCount != nullptr) {
        *wordCount = static_cast<int32_t>(std::min<size_t>(words.size(), INT32_MAX));
    }
    const std::vector<HunspellDictionary*> dictionaries = DictionariesOf(dictionaries_, language);
    for (const WordSpan& word : InSearchOrder(words, std::max(start, 0), wrap)) {
        if (!IsCorrect(dictionaries, text.mid(word.start, word.length))) {
            return {static_cast<uint32_t>(word.start), static_cast<uint32_t>(word.length)};
        }
    }
    return {kNotFound, 0};
}

std::vector<std::string> SpellChecker::Guesses(const std::string& word) {
    if (std::optional<std::vector<std::string>> prepared = worker_.Take(word, language_)) {
        return std::move(*prepared);
    }
    return GuessesFrom(DictionariesOf(dictionaries_, language_), word);
}

void SpellChecker::PrepareGuesses(const std::string& word) {
    worker_.Prepare(word, language_);
}

bool SpellChecker::GuessesPending(const std::string& word) const {
    return worker_.Pending(word, language_);
}

}  // namespace platform
