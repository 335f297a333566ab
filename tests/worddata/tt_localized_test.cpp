// A run in German: every text-table entry answers the German table's text for its own key, and
// keeps it when the table changes later. This file runs in its own process, so no English
// lookup has filled the entries' caches before.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "framework/folderitem.h"
#include "framework/localization.h"
#include "tt_entries.h"
#include "worddata/TT.h"

namespace {

namespace fs = std::filesystem;

TEST(TextTableInGerman, EveryEntryAnswersItsOwnKeyAndKeepsIt) {
    const fs::path resources = QUORVANE_TEST_RESOURCES;
    fw::SetExecutableFile((resources.parent_path() / "bin" / "quorvane").string());
    fw::SetLocalizationLanguage("de");

    for (const auto& [key, entry, english] : AllEntries()) {
        EXPECT_EQ(entry(), fw::System::_GetLocalizedString(key, "\x01missing")) << key;
    }
    EXPECT_EQ(TT::REP_Found(), " wurde gefunden!");

    // Without any table the lookups fall back to English; the entries keep their German texts.
    fw::SetLocalizationLanguage("en");
    ASSERT_EQ(fw::System::_GetLocalizedString("TT.REP_Found", " was found!"), " was found!");
    EXPECT_EQ(TT::REP_Found(), " wurde gefunden!");
    EXPECT_EQ(TT::ERR_Title(), "Programmfehler!");

    fw::SetExecutableFile("");
    fw::SetLocalizationLanguage("");
}

}  // namespace
