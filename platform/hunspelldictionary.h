// One Hunspell dictionary (an affix file and a word file), loaded on first use and kept. Words
// cross in UTF-8 and are converted to and from the encoding the dictionary declares. A dictionary
// whose files are missing or whose encoding the C library cannot convert accepts no word and has
// no suggestions. Every member function locks the dictionary: a thread may load it in the
// background while another waits to use it.
#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/textconverter.h"

class Hunspell;

namespace platform {

class HunspellDictionary {
  public:
    HunspellDictionary(std::filesystem::path affixFile, std::filesystem::path wordFile);
    ~HunspellDictionary();
    HunspellDictionary(const HunspellDictionary&) = delete;
    HunspellDictionary& operator=(const HunspellDictionary&) = delete;

    // Both files are there (or were, when it loaded); does not load them.
    bool Exists() const;
    // Loads the dictionary unless that was tried before; false when it cannot be loaded.
    bool Load();
    // A word the dictionary lacks, or one with a character its encoding cannot hold, is false.
    bool Spell(const std::string& word);
    // Hunspell's suggestions in its order; a suggestion that does not convert back is dropped.
    std::vector<std::string> Suggest(const std::string& word);

  private:
    bool ExistsLocked() const;
    bool LoadLocked();
    std::optional<std::string> ToDictionary(const std::string& word) const;
    std::optional<std::string> FromDictionary(const std::string& word) const;

    std::filesystem::path affixFile_;
    std::filesystem::path wordFile_;
    mutable std::mutex mutex_;
    bool loadTried_ = false;
    std::unique_ptr<Hunspell> hunspell_;  // nil until loaded, and when loading failed
    // Both nil for a UTF-8 dictionary.
    std::optional<TextConverter> toDictionary_;
    std::optional<TextConverter> fromDictionary_;
};

}  // namespace platform
