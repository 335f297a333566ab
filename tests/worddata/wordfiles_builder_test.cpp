// The word-file builder's readers on samples in the formats of the Debian word lists, the
// OpenThesaurus export and the WordNet data files, its group limits, and its file replacement.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "dic_fixture.h"
#include "tools/wordfiles/assembly.h"
#include "tools/wordfiles/group_file.h"
#include "tools/wordfiles/replacing_file.h"
#include "tools/wordfiles/sources.h"
#include "tools/wordfiles/word_database.h"

namespace wordfiles {
namespace {

namespace fs = std::filesystem;
using Words = std::vector<std::string>;
using Keys = std::vector<int32_t>;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(WordCheck, AcceptsOnlyTheProgramsLettersBlanksAndInnerHyphens) {
    for (const char* word :
         {"Haus", "Straße", "Ärger", "Öl", "Übel", "größer", "New York", "E-Mail", "Auto-", "a"}) {
        EXPECT_TRUE(IsWord(word)) << word;
    }
    for (const char* word : {"", "-los", "Peter's", "4711", "Café", "naïve", "Deputat...", "a/b",
                             "Tab\tbed", "x;y", "(ugs.)", "cut\xC3", "\xC3\xA9t\xC3\xA9"}) {
        EXPECT_FALSE(IsWord(word)) << word;
    }
}

// An unclosed annotation runs to the end of the entry.
TEST(ThesaurusEntry, AnnotationsInParenthesesAreDroppedAndBlanksSqueezed) {
    const std::pair<const char*, const char*> kEntries[] = {
        {"geht nicht (mehr) (ugs.)", "geht nicht"},
        {"etwas (mehr) tun", "etwas tun"},
        {"  im   Eimer  ", "im Eimer"},
        {"Zusage (von Kunden (verbrieft)) einholen", "Zusage einholen"},
        {"Zusage (von Kunden (verbrieft) einholen", "Zusage"},
        {"(nur Annotation)", ""},
    };
    for (const auto& [entry, cleaned] : kEntries) {
        EXPECT_EQ(CleanThesaurusEntry(entry), cleaned) << entry;
    }
    // A stray closing parenthesis stays, so the word check drops the entry.
    EXPECT_FALSE(IsWord(CleanThesaurusEntry("Tor) auf")));
}

TEST(ThesaurusLine, GroupHoldsTheEntriesThatAreWordsInLineOrder) {
    const std::pair<const char*, Words> kLines[] = {
        {"Lee;dem Wind abgewandte Seite;Windschatten",
         {"Lee", "dem Wind abgewandte Seite", "Windschatten"}},
        {"intramuskulär (fachspr.);in einem Muskel\r", {"intramuskulär", "in einem Muskel"}},
        {"pflanzlich;Pflanzen...;Kfz-Steuer;4-Takter;;-weise", {"pflanzlich", "Kfz-Steuer"}},
    };
    for (const auto& [line, group] : kLines) {
        EXPECT_EQ(ParseThesaurusLine(line), group) << line;
    }
    // Comment lines, blank lines and lines without a word give no group.
    std::istringstream in(
        "# Copyright\n#Haus;Gebäude\nFission;Kernspaltung\nDeputat...\n\ngezackt;zackig");
    EXPECT_EQ(ReadThesaurus(in),
              (std::vector<Group>{{"Fission", "Kernspaltung"}, {"gezackt", "zackig"}}));
}

TEST(WordNetLine, LemmasAreWordsWithBlanksForUnderscoresAndWithoutMarkers) {
    const std::pair<const char*, Words> kLines[] = {
        {"02958343 06 n 04 car 0 auto 0 machine 6 motorcar 0 024 @ 03791235 n 0000 | \"a car\"  ",
         Words{"car", "auto", "machine", "motorcar"}},
        // Adjective markers go; parentheses in the gloss stay out of the words.
        {"00006032 00 s 03 galore(ip) 0 beautiful(a) 0 ready(p) 0 000 | (often followed by `to')",
         Words{"galore", "beautiful", "ready"}},
        // The word count is hexadecimal.
        {"04543158 06 n 0a a 0 b 0 c 0 d 0 e 0 f 0 g 0 h 0 i 0 j 0 000 | ten lemmas",
         Words{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}},
        {"15228267 28 n 05 o'clock 0 Fourth_of_July 0 4th_of_July 0 St._Louis 0 hour 1 000 | x",
         Words{"Fourth of July", "hour"}},
    };
    for (const auto& [line, group] : kLines) {
        EXPECT_EQ(ParseWordNetLine(line), group) << line;
    }
    // The license header and malformed lines give no group.
    for (const char* line :
         {"  1 This software and database is being provided to you, the LICENSEE, by  ", "  ", "",
          "garbage", "00001740 00 a", "00001740 00 a 03 able 0 unable 0",
          "00001740 00 x 01 able 0 000 | bad synset type", "1740 00 a 01 able 0 000 | short offset",
          "00001740 00 a zz able 0 000 | count not hex", "00001740 00 a 00 000 | no lemma",
          "00001740 00 a 01 able q 000 | lex id not hex"}) {
        EXPECT_EQ(ParseWordNetLine(line), std::nullopt) << line;
    }
}

TEST(WordListReader, KeepsWordsAndDropsPossessivesBlankLinesAndLineEnds) {
    std::istringstream in("Aachen\nAachen's\r\n\nzügig\r\n-ig\nfoo bar\n");
    EXPECT_EQ(ReadWordList(in), (Words{"Aachen", "zügig", "foo bar"}));
}

std::vector<Words> GroupWords(const WordFileContent& content) {
    std::vector<Words> groups;
    for (const Keys& members : content.groups) {
        groups.emplace_back();
        for (const int32_t id : members) {
            groups.back().push_back(content.words.at(static_cast<size_t>(id)));
        }
    }
    return groups;
}

TEST(Assembly, OversizedGroupIsSplitIntoEvenPartsThatKeepEveryMember) {
    const Group big = {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"};
    const WordFileContent content = Assemble({}, {big, {"w", "x", "y", "z"}}, {.maxMembers = 4});
    EXPECT_EQ(GroupWords(content),
              (std::vector<Words>{
                  {"a", "b", "c", "d"}, {"e", "f", "g"}, {"h", "i", "j"}, {"w", "x", "y", "z"}}));
    EXPECT_EQ(content.splitGroups, 1u);
}

TEST(Assembly, WordInTooManyGroupsListsItsFirstOnesAndStaysAMemberOfAll) {
    const WordFileContent content = Assemble({}, {{"w", "a"}, {"w", "b"}, {"w", "c"}},
                                             {.maxMembers = 4, .maxGroupsPerWord = 2});
    EXPECT_EQ(content.wordGroups[3], (Keys{0, 1}));  // "w"
    EXPECT_EQ(content.cappedWords, 1u);
    EXPECT_EQ(GroupWords(content), (std::vector<Words>{{"w", "a"}, {"w", "b"}, {"w", "c"}}));
}

// The file counts members in 16 bits: a larger count must fail, not wrap.
TEST(GroupFile, MemberCountBeyondSixteenBitsIsRefused) {
    WordFileContent content;
    content.words = {"a"};
    content.wordGroups = {{0}};
    content.groups = {Keys(32768, 0)};
    EXPECT_THROW(EncodeGroupFile(content), std::length_error);
    content.groups.front().resize(32767);
    EXPECT_NO_THROW(EncodeGroupFile(content));
}

TEST(ReplacingFile, TargetIsReplacedOnlyByACommittedWholeFile) {
    const dictest::AppLayout layout;
    const fs::path target = layout.InResources("DIC_WL_DE.tdb");
    dictest::WriteFile(target, "previous");
    dictest::WriteFile(target.string() + ".part", "left by a killed build");
    {
        const ReplacingFile file(target);
        EXPECT_FALSE(fs::exists(file.TempPath()));
        dictest::WriteFile(file.TempPath(), "half");
    }
    EXPECT_EQ(ReadFile(target), "previous");
    EXPECT_EQ(std::distance(fs::directory_iterator(target.parent_path()), fs::directory_iterator()),
              1);
    {
        ReplacingFile file(target);
        dictest::WriteFile(file.TempPath(), "complete");
        file.Commit();
    }
    EXPECT_EQ(ReadFile(target), "complete");
    EXPECT_FALSE(fs::exists(target.string() + ".part"));

    const fs::path missing = layout.Root() / "missing";
    const WordFileContent content = Assemble({"a", "b"}, {{"a", "b"}});
    EXPECT_ANY_THROW(WriteGroupFile(missing / "DIC_WL_DE.tdb", content));
    EXPECT_ANY_THROW(WriteWordDatabase(missing / "DIC_DB_DE.tdb", content.words));
    EXPECT_FALSE(fs::exists(missing));
}

}  // namespace
}  // namespace wordfiles
