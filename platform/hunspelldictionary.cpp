#include "platform/hunspelldictionary.h"

#include <hunspell/hunspell.hxx>

#include <system_error>
#include <utility>

namespace platform {

HunspellDictionary::HunspellDictionary(std::filesystem::path affixFile,
                                       std::filesystem::path wordFile)
    : affixFile_(std::move(affixFile)), wordFile_(std::move(wordFile)) {}

HunspellDictionary::~HunspellDictionary() = default;

bool HunspellDictionary::Exists() const {
    const std::lock_guard lock(mutex_);
    return ExistsLocked();
}

bool HunspellDictionary::ExistsLocked() const {
    if (hunspell_ != nullptr) {
        return true;  // every check asks: spare the loaded dictionary the file system
    }
    std::error_code error;
    return std::filesystem::is_regular_file(affixFile_, error) &&
           std::filesystem::is_regular_file(wordFile_, error);
}

bool HunspellDictionary::Load() {
    const std::lock_guard lock(mutex_);
    return LoadLocked();
}

bool HunspellDictionary::LoadLocked() {
    if (loadTried_) {
        return hunspell_ != nullptr;
    }
    loadTried_ = true;
    // Hunspell reports missing files on standard error and then knows no word: look first.
    if (!ExistsLocked()) {
        return false;
    }
    auto hunspell = std::make_unique<Hunspell>(affixFile_.c_str(), wordFile_.c_str());
    const std::string encoding = hunspell->get_dic_encoding();
    if (!IsUTF8Name(encoding)) {
        const std::string name = LibraryEncodingName(encoding);
        toDictionary_ = TextConverter::Open(name, "UTF-8");
        fromDictionary_ = TextConverter::Open("UTF-8", name);
        if (!toDictionary_ || !fromDictionary_) {
            return false;
        }
    }
    hunspell_ = std::move(hunspell);
    return true;
}

std::optional<std::string> HunspellDictionary::ToDictionary(const std::string& word) const {
    return toDictionary_ ? toDictionary_->Convert(word) : word;
}

std::optional<std::string> HunspellDictionary::FromDictionary(const std::string& word) const {
    return fromDictionary_ ? fromDictionary_->Convert(word) : word;
}

bool HunspellDictionary::Spell(const std::string& word) {
    const std::lock_guard lock(mutex_);
    if (!LoadLocked()) {
        return false;
    }
    const std::optional<std::string> converted = ToDictionary(word);
    return converted && hunspell_->spell(*converted);
}

std::vector<std::string> HunspellDictionary::Suggest(const std::string& word) {
    const std::lock_guard lock(mutex_);
    std::vector<std::string> suggestions;
    if (!LoadLocked()) {
        return suggestions;
    }
    const std::optional<std::string> converted = ToDictionary(word);
    if (!converted) {
        return suggestions;
    }
    for (const std::string& suggestion : hunspell_->suggest(*converted)) {
        if (std::optional<std::string> back = FromDictionary(suggestion)) {
            suggestions.push_back(std::move(*back));
        }
    }
    return suggestions;
}

}  // namespace platform
