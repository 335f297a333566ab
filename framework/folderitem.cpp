#include "framework/folderitem.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fw {

namespace {

namespace fs = std::filesystem;

std::string& ExecutableOverride() {
    static std::string path;
    return path;
}

// The real executable, asked once: /proc/self/exe stays valid while the process runs.
const std::string& RealExecutable() {
    static const std::string path = [] {
        std::error_code error;
        const fs::path target = fs::read_symlink("/proc/self/exe", error);
        return error ? fs::current_path(error).append("quorvane").string() : target.string();
    }();
    return path;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string HomeFolder() {
    const std::string home = Environment("HOME");
    if (!home.empty()) {
        return home;
    }
    const passwd* entry = ::getpwuid(::getuid());
    return entry && entry->pw_dir ? entry->pw_dir : "/";
}

// Normal form without a trailing separator, so that "a/b/" names the same item as "a/b".
fs::path Normal(const std::string& path) {
    fs::path normal = fs::path(path).lexically_normal();
    if (!normal.has_filename() && normal.has_relative_path()) {
        normal = normal.parent_path();
    }
    return normal;
}

}  // namespace

std::string FolderItem::Name() const {
    return Normal(path_).filename();
}

bool FolderItem::Exists() const {
    std::error_code error;
    return !path_.empty() && fs::exists(path_, error);
}

bool FolderItem::Directory() const {
    std::error_code error;
    return !path_.empty() && fs::is_directory(path_, error);
}

bool FolderItem::IsRegularFile() const {
    std::error_code error;
    return !path_.empty() && fs::is_regular_file(path_, error);
}

FolderItem FolderItem::Parent() const {
    if (path_.empty()) {
        return {};
    }
    const fs::path path = Normal(path_);
    if (path.has_parent_path()) {
        return FolderItem(path.parent_path().string());
    }
    return FolderItem(path.is_absolute() ? path.string() : ".");
}

FolderItem FolderItem::Child(const std::string& name) const {
    return FolderItem((fs::path(path_) / name).string());
}

bool FolderItem::CreateAsFolder() const {
    if (path_.empty()) {
        return false;
    }
    std::error_code error;
    fs::create_directories(path_, error);
    return Directory();
}

FolderItem GetFolderItem(const std::string& name) {
    if (fs::path(name).is_absolute()) {
        return FolderItem(name);
    }
    return ExecutableFile().Parent().Child(name);
}

FolderItem ExecutableFile() {
    const std::string& overridden = ExecutableOverride();
    return FolderItem(overridden.empty() ? RealExecutable() : overridden);
}

void SetExecutableFile(const std::string& path) {
    ExecutableOverride() = path;
}

FolderItem ResourcesFolder() {
    return ExecutableFile().Parent().Parent().Child("Resources");
}

FolderItem PreferencesFolder() {
    // The XDG rules ask to ignore a relative $XDG_CONFIG_HOME.
    const std::string configHome = Environment("XDG_CONFIG_HOME");
    const FolderItem folder = fs::path(configHome).is_absolute()
                                  ? FolderItem(configHome)
                                  : FolderItem(HomeFolder()).Child(".config");
    folder.CreateAsFolder();
    return folder;
}

}  // namespace fw
