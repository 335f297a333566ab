// The word-file builder: its source readers on small samples in the formats of the Debian word
// lists, the OpenThesaurus text export and the WordNet data files; the group assembly; and its
// writers: the word-group file's bytes and its round trip through the program's own loader, the
// word database's rows and keys, and files that are replaced only when complete. Every file lives
// in a temporary application folder of the test.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "dic_fixture.h"
#include "sqlite_probe.h"
#include "tools/wordfiles/assembly.h"
#include "tools/wordfiles/group_file.h"
#include "tools/wordfiles/replacing_file.h"
#include "tools/wordfiles/sources.h"
#include "tools/wordfiles/word_database.h"
#include "worddata/DIC.h"

namespace wordfiles {
namespace {

namespace fs = std::filesystem;
using sqlite_probe::Row;
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
        {"(von etwas) fortfahren", "fortfahren"},
        {"abdüsen (ugs.)", "abdüsen"},
        {"Hommage (geh., franz.)", "Hommage"},
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
    for (const char* line :
         {"# OpenThesaurus - German Thesaurus", "#Haus;Gebäude", "", "Deputat..."}) {
        EXPECT_TRUE(ParseThesaurusLine(line).empty()) << line;
    }
    std::istringstream in("# Copyright\nFission;Kernspaltung\nDeputat...\n\ngezackt;zackig");
    EXPECT_EQ(ReadThesaurus(in),
              (std::vector<Group>{{"Fission", "Kernspaltung"}, {"gezackt", "zackig"}}));
}

TEST(WordNetLine, LemmasAreWordsWithBlanksForUnderscoresAndWithoutMarkers) {
    const std::pair<const char*, Words> kLines[] = {
        {"02958343 06 n 04 car 0 auto 0 machine 6 motorcar 0 024 @ 03791235 n 0000 | \"a car\"  ",
         Words{"car", "auto", "machine", "motorcar"}},
        {"09119277 15 n 02 New_York 0 New_York_City 0 000 | a city", {"New York", "New York City"}},
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

TEST(WordNetReader, AppendsFileAfterFileAndCountsOnlyTrueMalformedLines) {
    std::istringstream nouns(
        "  1 This software and database is being provided to you\n"
        "  2 and/or copying this software and database, you agree\n"
        "02958343 06 n 02 car 0 auto 0 000 | a motor vehicle\n"
        "this line is broken\n");
    std::istringstream verbs("01835496 38 v 02 travel 0 go 0 000 | change location\r\n");
    WordNetGroups read;
    ReadWordNet(nouns, read);
    ReadWordNet(verbs, read);
    EXPECT_EQ(read.groups, (std::vector<Group>{{"car", "auto"}, {"travel", "go"}}));
    EXPECT_EQ(read.malformedLines, 1u);
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

TEST(Assembly, WordsAreTheUniqueUnionInByteOrderAndGroupsKeepTheirFirstPlaces) {
    const WordFileContent content =
        Assemble({"b", "ä", "Z", "a", "b", "Äpfel", "alone"},
                 {{"c", "a", "c", "b", "a"}, {"Zebra", "Zebra"}, {}, {"b", "c"}});
    EXPECT_EQ(content.words, (Words{"Z", "Zebra", "a", "alone", "b", "c", "Äpfel", "ä"}));
    // Only a group without words is dropped; the keys stay dense.
    EXPECT_EQ(GroupWords(content), (std::vector<Words>{{"c", "a", "b"}, {"Zebra"}, {"b", "c"}}));
    EXPECT_EQ(content.droppedGroups, 1u);
    // Every word record lists exactly the groups holding it, in key order.
    EXPECT_EQ(content.wordGroups, (std::vector<Keys>{{}, {1}, {0}, {}, {0, 2}, {0, 2}, {}, {}}));
}

TEST(Assembly, OversizedGroupIsSplitIntoEvenPartsThatKeepEveryMember) {
    Group big;
    for (char c = 'a'; c <= 'j'; ++c) {
        big.emplace_back(1, c);
    }
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

TEST(Assembly, LimitsTooSmallToSplitIntoRealGroupsAreRefused) {
    EXPECT_THROW(Assemble({}, {}, {.maxMembers = 3}), std::invalid_argument);
    EXPECT_THROW(Assemble({}, {}, {.maxMembers = 4, .maxGroupsPerWord = 0}), std::invalid_argument);
}

TEST(GroupFile, EncodesBigEndianRecordsAroundAZeroSeparator) {
    WordFileContent content;
    content.words.resize(259);
    content.groups = {{1, 258}};
    content.wordGroups.resize(259);
    content.wordGroups[1] = {0};
    content.wordGroups[258] = {0};

    dictest::GroupFileBytes expected;
    expected.Int32(1).Group(0, {1, 258}).Int64(0).Int32(259).Word({}).Word({0});
    for (int word = 2; word < 258; ++word) {
        expected.Word({});
    }
    expected.Word({0});
    EXPECT_EQ(EncodeGroupFile(content), expected.Bytes());

    content.groups.front().resize(32768);
    EXPECT_THROW(EncodeGroupFile(content), std::length_error) << "a count must not wrap";
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

TEST(WordDatabase, RowsCarryDenseIdsAndTheProgramsSoundexKeysInAByteIdenticalFile) {
    const dictest::AppLayout layout;
    const std::vector<std::string> words = {"Anna", "HAUS", "Haus", "Müller", "Straße", "haus"};
    WriteWordDatabase(layout.InResources("DIC_DB_DE.tdb"), words);
    WriteWordDatabase(layout.InResources("again.tdb"), words);

    const fs::path file = layout.InResources("DIC_DB_DE.tdb");
    EXPECT_THAT(sqlite_probe::Rows(file, "SELECT sql FROM sqlite_master WHERE name = 'words'"),
                ::testing::ElementsAre(Row{
                    "CREATE TABLE words (wID INTEGER PRIMARY KEY, wWord TEXT, wSoundex INTEGER)"}));
    const auto rows =
        sqlite_probe::Rows(file, "SELECT wID, wWord, wSoundex FROM words ORDER BY wID");
    ASSERT_EQ(rows.size(), words.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i],
                  (Row{std::to_string(i), words[i], std::to_string(DIC::GetSoundex(words[i]))}));
    }
    const std::string bytes = ReadFile(file);
    EXPECT_FALSE(bytes.empty());
    EXPECT_TRUE(bytes == ReadFile(layout.InResources("again.tdb")));
}

}  // namespace
}  // namespace wordfiles
