// File and folder items and the special folders. An item is a path; nothing is opened or held.
// Queries never throw: a path that can't be examined counts as not existing. Call from the main
// OS thread (any fiber).
#pragma once

#include <string>

namespace fw {

class FolderItem {
  public:
    FolderItem() = default;
    explicit FolderItem(std::string path) : path_(std::move(path)) {}

    const std::string& NativePath() const { return path_; }
    std::string Name() const;  // the last path component
    bool Exists() const;
    bool Directory() const;
    // A regular file (symbolic links followed). Reading anything else (a FIFO, a device) may block
    // or never end, so every reader of a file checks this before it opens the file.
    bool IsRegularFile() const;
    FolderItem Parent() const;  // "/" is its own parent; an empty item stays empty
    FolderItem Child(const std::string& name) const;
    bool CreateAsFolder() const;  // with missing parents; true when it exists afterwards

  private:
    std::string path_;
};

// A bare name resolved beside the application (the folder of the executable); an absolute path is
// taken as it is.
FolderItem GetFolderItem(const std::string& name);
// The running executable; tests may point it elsewhere (SetExecutableFile).
FolderItem ExecutableFile();
void SetExecutableFile(const std::string& path);  // "" restores the real one
// The application's resource folder: the executable's parent's parent, child "Resources". Its
// existence is not checked.
FolderItem ResourcesFolder();
// The user's preferences folder: $XDG_CONFIG_HOME (when absolute), else ~/.config; created if
// missing, so that the first start of the program finds it.
FolderItem PreferencesFolder();

}  // namespace fw
