#include "framework/folderitem.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace {

namespace fs = std::filesystem;

// Sets (or with nullopt unsets) an environment variable for the scope of a test.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        Apply(value);
    }
    ~ScopedEnvironment() { Apply(old_); }

  private:
    void Apply(const std::optional<std::string>& value) {
        if (value) {
            ::setenv(name_, value->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    const char* name_;
    std::optional<std::string> old_;
};

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

TEST(FolderItemTest, ExecutableIsTheRunningProgramUnlessOverridden) {
    const std::string running = fs::read_symlink("/proc/self/exe").string();
    EXPECT_EQ(fw::ExecutableFile().NativePath(), running);
    EXPECT_TRUE(fw::ExecutableFile().Exists());

    fw::SetExecutableFile("/opt/elsewhere/bin/quorvane");
    EXPECT_EQ(fw::ExecutableFile().NativePath(), "/opt/elsewhere/bin/quorvane");
    fw::SetExecutableFile("");
    EXPECT_EQ(fw::ExecutableFile().NativePath(), running);
}

TEST_F(ApplicationFolderTest, BareNameResolvesBesideTheExecutable) {
    EXPECT_EQ(fw::GetFolderItem("DIC_WL_DE.tdb").NativePath(), Under("app/bin/DIC_WL_DE.tdb"));
    EXPECT_FALSE(fw::GetFolderItem("DIC_WL_DE.tdb").Exists());

    std::ofstream(Under("app/bin/DIC_WL_DE.tdb")) << "x";
    EXPECT_TRUE(fw::GetFolderItem("DIC_WL_DE.tdb").Exists());
    EXPECT_FALSE(fw::GetFolderItem("DIC_WL_DE.tdb").Directory());
}

TEST_F(ApplicationFolderTest, AbsoluteNameIsTakenAsItIs) {
    EXPECT_EQ(fw::GetFolderItem("/etc/hostname").NativePath(), "/etc/hostname");
}

TEST_F(ApplicationFolderTest, ResourcesFolderSitsBesideTheExecutablesFolderUnchecked) {
    const fw::FolderItem resources = fw::ResourcesFolder();
    EXPECT_EQ(resources.NativePath(), Under("app/Resources"));
    EXPECT_FALSE(resources.Exists());
    EXPECT_EQ(resources.Child("de.strings").NativePath(), Under("app/Resources/de.strings"));
}

TEST_F(ApplicationFolderTest, PreferencesFolderFollowsXdgConfigHomeAndIsCreated) {
    const ScopedEnvironment config("XDG_CONFIG_HOME", Under("fresh/config"));
    const fw::FolderItem preferences = fw::PreferencesFolder();
    EXPECT_EQ(preferences.NativePath(), Under("fresh/config"));
    EXPECT_TRUE(preferences.Directory());
}

TEST_F(ApplicationFolderTest, PreferencesFolderFallsBackToHomeConfigOnFirstStart) {
    const ScopedEnvironment home("HOME", Under("home"));
    for (const auto& configHome : {std::optional<std::string>(), std::optional<std::string>(""),
                                   std::optional<std::string>("relative/config")}) {
        const ScopedEnvironment config("XDG_CONFIG_HOME", configHome);
        fs::remove_all(Under("home/.config"));
        const fw::FolderItem preferences = fw::PreferencesFolder();
        EXPECT_EQ(preferences.NativePath(), Under("home/.config"));
        EXPECT_TRUE(preferences.Directory());
    }
}

TEST_F(ApplicationFolderTest, CreateAsFolderMakesMissingParentsButNotThroughAFile) {
    EXPECT_TRUE(fw::FolderItem(Under("a/b/c")).CreateAsFolder());
    EXPECT_TRUE(fw::FolderItem(Under("a/b/c")).Directory());
    EXPECT_TRUE(fw::FolderItem(Under("a/b/c")).CreateAsFolder());  // already there

    std::ofstream(Under("plain")) << "x";
    EXPECT_FALSE(fw::FolderItem(Under("plain/sub")).CreateAsFolder());
    EXPECT_FALSE(fw::FolderItem(Under("plain")).CreateAsFolder());
    EXPECT_FALSE(fw::FolderItem().CreateAsFolder());
}

TEST(FolderItemTest, NameAndParentIgnoreATrailingSeparator) {
    EXPECT_EQ(fw::FolderItem("/a/b/").Name(), "b");
    EXPECT_EQ(fw::FolderItem("/a/b/").Parent().NativePath(), "/a");
    EXPECT_EQ(fw::FolderItem("/a/b").Parent().NativePath(), "/a");
    EXPECT_EQ(fw::FolderItem("/a").Parent().NativePath(), "/");
    EXPECT_EQ(fw::FolderItem("/").Parent().NativePath(), "/");
    EXPECT_EQ(fw::FolderItem("name").Parent().NativePath(), ".");
    EXPECT_EQ(fw::FolderItem("/a/b").Child("c").NativePath(), "/a/b/c");
    EXPECT_EQ(fw::FolderItem("/a/b").Child("c").Name(), "c");
}

TEST(FolderItemTest, EmptyItemNeverExists) {
    const fw::FolderItem empty;
    EXPECT_FALSE(empty.Exists());
    EXPECT_FALSE(empty.Directory());
    EXPECT_EQ(empty.Parent().NativePath(), "");
}

}  // namespace
