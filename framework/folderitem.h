// File and folder items and the special folders.
#pragma once

#include <string>

namespace fw {

class FolderItem {
public:
    FolderItem() = default;
    explicit FolderItem(std::string path) : path_(std::move(path)) {}

    const std::string& NativePath() const { return path_; }
    std::string Name() const;
    bool Exists() const;
    bool Directory() const;
    FolderItem Parent() const;
    FolderItem Child(const std::string& name) const;
    bool CreateAsFolder() const;  // with missing parents; true when it exists afterwards

private:
    std::string path_;
};

// A bare name resolved beside the application (the folder of the executable).
FolderItem GetFolderItem(const std::string& name);
// The running executable; tests may point it elsewhere (SetExecutableFile).
FolderItem ExecutableFile();
void SetExecutableFile(const std::string& path);  // "" restores the real one
// The application's resource folder: the executable's parent's parent, child "Resources".
FolderItem ResourcesFolder();
// The user's preferences folder: $XDG_CONFIG_HOME, else ~/.config; created if missing.
FolderItem PreferencesFolder();

}  // namespace fw
