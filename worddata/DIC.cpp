// The word store's life cycle: the language of the run, where its word files lie, loading them
// at start-up and releasing them at quit.
#include "worddata/DIC.h"

#include <filesystem>
#include <system_error>

#include "framework/application.h"
#include "framework/text.h"
#include "framework/variant.h"
#include "search/App.h"
#include "worddata/LocalizedConstant.h"
#include "worddata/PREFS.h"

namespace DIC {
namespace {

constinit LocalizedConstant gLanguageDefault("DIC.cLanguageDefault", "EN");
constinit LocalizedConstant gSystemLanguage("DIC.cSystemLanguage", "US");

std::string DatabaseFileName(const std::string& language) {
    return "DIC_DB_" + language + ".tdb";
}

std::string GroupFileName(const std::string& language) {
    return "DIC_WL_" + language + ".tdb";
}

// `item` when it exists; else the smallest entry of its folder whose name equals its name ignoring
// letter case (the Mac's file system matched names that way); else `item`, which does not exist.
fw::FolderItem ExistingIgnoringCase(const fw::FolderItem& item) {
    if (item.Exists()) {
        return item;
    }
    const fw::FolderItem folder = item.Parent();
    const std::string name = item.Name();
    std::error_code error;
    std::filesystem::directory_iterator entries(folder.NativePath(), error);
    std::string match;
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::string candidate = entries->path().filename().string();
        if (fw::EqualsIgnoreCase(candidate, name) && (match.empty() || candidate < match)) {
            match = candidate;
        }
    }
    return match.empty() ? item : folder.Child(match);
}

fw::FolderItem BesideApplication(const std::string& name) {
    return ExistingIgnoringCase(fw::GetFolderItem(name));
}

fw::FolderItem InResourceFolder(const std::string& name) {
    return ExistingIgnoringCase(GetResourceFolder().Child(name));
}

// The language the edition names, else the stored preference, else the localized default, which
// is then stored so that later starts read it back.
std::string ChooseLanguage() {
    const std::string version = fw::LongVersion();
    if (fw::InStr(version, "Deutsch") > 0) {
        return "DE";
    }
    if (fw::InStr(version, "English") > 0) {
        return "EN";
    }
    const fw::Variant stored = PREFS::Retrieve("DicLanguage");
    if (!stored.IsNil()) {
        return stored.StringValue();
    }
    const std::string language = cLanguageDefault();
    PREFS::Store("DicLanguage", fw::Variant(language));
    return language;
}

}  // namespace

bool Initialize() {
    gDE = IsDBExisting("DE");
    gEN = IsDBExisting("EN");
    gSelectedLanguage = ChooseLanguage();
    const bool available = (gEN && IsEN()) || (gDE && IsDE());
    const bool loaded = available && LoadDB(gSelectedLanguage) && LoadWL(gSelectedLanguage);
    CreateOnlineClients();
    return loaded;
}

void Terminate() {
    if (!App::gDBLoaded) {
        return;
    }
    if (gWordDB) {
        gWordDB->Close();
    }
    gWordDB.reset();
    // The group tables are a few flat arrays, not one dictionary per word: freeing them takes no
    // per-entry loop that would need a yield (and Terminate runs on the main context, where a
    // yield does nothing).
    gGroupDict.reset();
    gWordGroupsDict.Clear();
}

bool IsDE() {
    return fw::EqualsIgnoreCase(gSelectedLanguage, "DE");
}

bool IsEN() {
    return fw::EqualsIgnoreCase(gSelectedLanguage, "EN");
}

bool IsDBExisting(const std::string& language) {
    // The place of the database decides where the word-group file must lie.
    if (BesideApplication(DatabaseFileName(language)).Exists()) {
        return BesideApplication(GroupFileName(language)).Exists();
    }
    if (InResourceFolder(DatabaseFileName(language)).Exists()) {
        return InResourceFolder(GroupFileName(language)).Exists();
    }
    return false;
}

fw::FolderItem GetResourceFolder() {
    return fw::ResourcesFolder();
}

fw::FolderItem LocateWordFile(const std::string& name) {
    const fw::FolderItem beside = BesideApplication(name);
    return beside.Exists() ? beside : InResourceFolder(name);
}

std::string cLanguageDefault() {
    return gLanguageDefault();
}

std::string cSystemLanguage() {
    return gSystemLanguage();
}

}  // namespace DIC
