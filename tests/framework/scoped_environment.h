// Scoped changes of the process's surroundings for a test: an environment variable, and a
// throw-away application layout. Each restores what it changed when it goes. Main thread.
#pragma once

#include <QTemporaryDir>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "framework/folderitem.h"

// Sets (or with nullopt unsets) an environment variable for one scope and restores the old value.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        Apply(value);
    }
    ~ScopedEnvironment() { Apply(old_); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    void Apply(const std::optional<std::string>& value) const {
        if (value) {
            ::setenv(name_, value->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    const char* name_;
    std::optional<std::string> old_;
};

// bin/ and Resources/ side by side in a temporary folder, the executable file pointing to
// bin/quorvane, and $XDG_CONFIG_HOME to config/ beside them.
class ScopedAppLayout {
  public:
    ScopedAppLayout()
        : root_(dir_.path().toStdString()),
          config_("XDG_CONFIG_HOME", (root_ / "config").string()) {
        std::filesystem::create_directories(root_ / "bin");
        std::filesystem::create_directories(root_ / "Resources");
        std::ofstream(root_ / "bin" / "quorvane");
        fw::SetExecutableFile((root_ / "bin" / "quorvane").string());
    }
    ~ScopedAppLayout() { fw::SetExecutableFile(""); }

    const std::filesystem::path& Root() const { return root_; }
    std::filesystem::path BesideApp(const std::string& name) const { return root_ / "bin" / name; }
    std::filesystem::path InResources(const std::string& name) const {
        return root_ / "Resources" / name;
    }

  private:
    QTemporaryDir dir_;
    std::filesystem::path root_;
    ScopedEnvironment config_;
};
