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

// Lays out an application folder (bin/ and Resources/ side by side) in a temporary folder and
// points the executable there.
class ApplicationFolderTest : public ::testing::Test {
  protected:
    ApplicationFolderTest() : root_(folder_.path().toStdString()) {
        fs::create_directories(root_ / "app" / "bin");
        fs::create_directories(root_ / "home");
        fw::SetExecutableFile((root_ / "app" / "bin" / "quorvane").string());
    }
    ~ApplicationFolderTest() override { fw::SetExecutableFile(""); }

    std::string Under(const std::string& relative) const { return (root_ / relative).string(); }

  private:
    QTemporaryDir folder_;
    fs::path root_;
};

TEST(FolderItemTest, ExecutableIsTheRunningProgramOnceTheOverrideIsCleared) {
    fw::SetExecutableFile("/opt/elsewhere/bin/quorvane");
    fw::SetExecutableFile("");
    EXPECT_EQ(fw::ExecutableFile().NativePath(), fs::read_symlink("/proc/self/exe").string());
}

TEST_F(ApplicationFolderTest, NamesResolveBesideTheExecutableAndResourcesBesideItsFolder) {
    EXPECT_EQ(fw::GetFolderItem("DIC_WL_DE.tdb").NativePath(), Under("app/bin/DIC_WL_DE.tdb"));
    EXPECT_EQ(fw::GetFolderItem("/etc/hostname").NativePath(), "/etc/hostname");
    EXPECT_EQ(fw::ResourcesFolder().Child("de.strings").NativePath(),
              Under("app/Resources/de.strings"));
}

// A missing preferences folder must not make the first start fail.
TEST_F(ApplicationFolderTest, PreferencesFolderFollowsXdgConfigHomeOrHomeConfigAndIsCreated) {
    const ScopedEnvironment home("HOME", Under("home"));
    const std::vector<std::pair<std::optional<std::string>, std::string>> rows = {
        {Under("fresh/config"), "fresh/config"},
        {std::nullopt, "home/.config"},
        {"", "home/.config"},
        {"relative/config", "home/.config"}};
    for (const auto& [configHome, expected] : rows) {
        const ScopedEnvironment config("XDG_CONFIG_HOME", configHome);
        fs::remove_all(Under("home/.config"));
        const fw::FolderItem preferences = fw::PreferencesFolder();
        EXPECT_EQ(preferences.NativePath(), Under(expected));
        EXPECT_TRUE(preferences.Directory()) << expected;
    }
}

}  // namespace
