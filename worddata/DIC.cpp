// The word store's life cycle: where its word files lie and releasing them at quit. The start-up
// itself, which makes the online clients too, is in DICStartup.cpp.
#include "worddata/DIC.h"

#include <filesystem>
#include <system_error>

#include "framework/text.h"
#include "search/App.h"
#include "worddata/LocalizedConstant.h"

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

}  // namespace

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
