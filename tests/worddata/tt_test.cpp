// The shipped string tables as the program reads them.
#include <filesystem>

#include <gtest/gtest.h>

#include "framework/folderitem.h"
#include "framework/localization.h"

namespace {

// A British locale makes the English edition check with the British dictionary.
TEST(ShippedTables, BritishLocaleNamesTheBritishRegion) {
    const std::filesystem::path resources = QUORVANE_TEST_RESOURCES;
    fw::SetExecutableFile((resources.parent_path() / "bin" / "quorvane").string());
    fw::SetLocalizationLanguage("en_GB.UTF-8");
    EXPECT_EQ(fw::System::_GetLocalizedString("DIC.cSystemLanguage", "US"), "GB");
    fw::SetLocalizationLanguage("en_US.UTF-8");
    EXPECT_EQ(fw::System::_GetLocalizedString("DIC.cSystemLanguage", "US"), "US");
    fw::SetExecutableFile("");
    fw::SetLocalizationLanguage("");
}

}  // namespace
