#include "framework/folderitem.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "scoped_environment.h"

namespace {

namespace fs = std::filesystem;

// A missing preferences folder must not make the first start fail.
TEST(FolderItemTest, PreferencesFolderFollowsXdgConfigHomeOrHomeConfigAndIsCreated) {
    const QTemporaryDir folder;
    const fs::path root = folder.path().toStdString();
    fs::create_directories(root / "home");
    const ScopedEnvironment home("HOME", (root / "home").string());
    const std::vector<std::pair<std::optional<std::string>, std::string>> rows = {
        {(root / "fresh/config").string(), "fresh/config"},
        {std::nullopt, "home/.config"},
        {"", "home/.config"},
        {"relative/config", "home/.config"}};
    for (const auto& [configHome, expected] : rows) {
        const ScopedEnvironment config("XDG_CONFIG_HOME", configHome);
        fs::remove_all(root / "home/.config");
        const fw::FolderItem preferences = fw::PreferencesFolder();
        EXPECT_EQ(preferences.NativePath(), (root / expected).string());
        EXPECT_TRUE(preferences.Directory()) << expected;
    }
}

}  // namespace
