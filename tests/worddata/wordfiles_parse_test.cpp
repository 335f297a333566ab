// The word-file builder's source readers and group assembly, on small samples in the formats of
// the Debian word lists, the OpenThesaurus text export and the WordNet data files.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <stdexcept>

#include "tools/wordfiles/assembly.h"
#include "tools/wordfiles/sources.h"

namespace wordfiles {
namespace {

using Words = std::vector<std::string>;

TEST(WordCheck, AcceptsLettersUmlautsBlanksAndInnerHyphens) {
    for (const char* word :
         {"Haus", "Straße", "Ärger", "Öl", "Übel", "größer", "New York", "E-Mail", "Auto-", "a"}) {
        EXPECT_TRUE(IsWord(word)) << word;
    }
}

TEST(WordCheck, RejectsWhatTheProgramsCheckRejects) {
    for (const char* word : {"", "-los", "Peter's", "4711", "Café", "naïve", "Deputat...", "a/b",
                             "Tab\tbed", "x;y", "(ugs.)", "cut\xC3", "\xC3\xA9t\xC3\xA9"}) {
        EXPECT_FALSE(IsWord(word)) << word;
    }
}

TEST(ThesaurusEntry, AnnotationsInParenthesesAreDroppedAndBlanksSqueezed) {
    EXPECT_EQ(CleanThesaurusEntry("(von etwas) fortfahren"), "fortfahren");
    EXPECT_EQ(CleanThesaurusEntry("abdüsen (ugs.)"), "abdüsen");
    EXPECT_EQ(CleanThesaurusEntry("Hommage (geh., franz.)"), "Hommage");
    EXPECT_EQ(CleanThesaurusEntry("geht nicht (mehr) (ugs.)"), "geht nicht");
    EXPECT_EQ(CleanThesaurusEntry("etwas (mehr) tun"), "etwas tun");
    EXPECT_EQ(CleanThesaurusEntry("  im   Eimer  "), "im Eimer");
}

TEST(ThesaurusEntry, NestedAndUnbalancedParenthesesNeverLeakIntoAWord) {
    EXPECT_EQ(CleanThesaurusEntry("Zusage (von Kunden (verbrieft)) einholen"), "Zusage einholen");
    // An unclosed annotation runs to the end of the entry.
    EXPECT_EQ(CleanThesaurusEntry("Zusage (von Kunden (verbrieft) einholen"), "Zusage");
    EXPECT_EQ(CleanThesaurusEntry("(nur Annotation)"), "");
    // A stray closing parenthesis stays, so the word check drops the entry.
    EXPECT_FALSE(IsWord(CleanThesaurusEntry("Tor) auf")));
}

TEST(ThesaurusLine, GroupHoldsTheEntriesThatAreWordsInLineOrder) {
    EXPECT_EQ(ParseThesaurusLine("Lee;dem Wind abgewandte Seite;Windschatten"),
              (Words{"Lee", "dem Wind abgewandte Seite", "Windschatten"}));
    EXPECT_EQ(ParseThesaurusLine("intramuskulär (fachspr.);in einem Muskel\r"),
              (Words{"intramuskulär", "in einem Muskel"}));
    EXPECT_EQ(ParseThesaurusLine("pflanzlich;Pflanzen...;Kfz-Steuer;4-Takter;;-weise"),
              (Words{"pflanzlich", "Kfz-Steuer"}));
}

TEST(ThesaurusLine, CommentsAndEmptyLinesGiveNoGroup) {
    EXPECT_TRUE(ParseThesaurusLine("# OpenThesaurus - German Thesaurus in text format").empty());
    EXPECT_TRUE(ParseThesaurusLine("#Haus;Gebäude").empty());
    EXPECT_TRUE(ParseThesaurusLine("").empty());
    EXPECT_TRUE(ParseThesaurusLine("Deputat...;Konzessions...").empty());
}

TEST(ThesaurusReader, KeepsOneGroupPerLineWithWordsAndSkipsTheRest) {
    std::istringstream in(
        "# Copyright\n"
        "Fission;Atomspaltung;Kernspaltung\n"
        "Deputat...;Konzessions...\n"
        "\n"
        "gezackt;gezähnt;zackig");
    const std::vector<Group> groups = ReadThesaurus(in);
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0], (Words{"Fission", "Atomspaltung", "Kernspaltung"}));
    EXPECT_EQ(groups[1], (Words{"gezackt", "gezähnt", "zackig"}));
}

TEST(WordNetLine, LemmasBecomeWordsWithBlanksForUnderscores) {
    const auto group = ParseWordNetLine(
        "02958343 06 n 05 car 0 auto 0 automobile 0 machine 6 motorcar 0 024 @ 03791235 n 0000 "
        "| a motor vehicle with four wheels; \"he needs a car to get to work\"  ");
    ASSERT_TRUE(group);
    EXPECT_EQ(*group, (Words{"car", "auto", "automobile", "machine", "motorcar"}));

    const auto places = ParseWordNetLine(
        "09119277 15 n 02 New_York 0 New_York_City 0 000 | the largest city in New York State");
    ASSERT_TRUE(places);
    EXPECT_EQ(*places, (Words{"New York", "New York City"}));
}

TEST(WordNetLine, AdjectiveMarkersAreDroppedButParenthesesInGlossesAreNot) {
    const auto group = ParseWordNetLine(
        "00006032 00 s 03 galore(ip) 0 beautiful(a) 0 ready(p) 0 000 | (often followed by `to')");
    ASSERT_TRUE(group);
    EXPECT_EQ(*group, (Words{"galore", "beautiful", "ready"}));
}

TEST(WordNetLine, WordCountIsHexadecimal) {
    const auto group = ParseWordNetLine(
        "04543158 06 n 0a a 0 b 0 c 0 d 0 e 0 f 0 g 0 h 0 i 0 j 0 000 | ten lemmas");
    ASSERT_TRUE(group);
    EXPECT_EQ(group->size(), 10u);
    EXPECT_EQ(group->back(), "j");
}

TEST(WordNetLine, LemmasTheWordCheckRejectsAreLeftOut) {
    const auto group = ParseWordNetLine(
        "15228267 28 n 05 o'clock 0 Fourth_of_July 0 4th_of_July 0 St._Louis 0 hour 1 000 | x");
    ASSERT_TRUE(group);
    EXPECT_EQ(*group, (Words{"Fourth of July", "hour"}));
}

TEST(WordNetLine, LicenseHeaderAndMalformedLinesGiveNoGroup) {
    for (const char* line :
         {"  1 This software and database is being provided to you, the LICENSEE, by  ", "  ", "",
          "garbage", "00001740 00 a", "00001740 00 a 03 able 0 unable 0",
          "00001740 00 x 01 able 0 000 | bad synset type", "1740 00 a 01 able 0 000 | short offset",
          "00001740 00 a zz able 0 000 | count not hex", "00001740 00 a 00 000 | no lemma",
          "00001740 00 a 01 able q 000 | lex id not hex"}) {
        EXPECT_FALSE(ParseWordNetLine(line)) << line;
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
    ASSERT_EQ(read.groups.size(), 2u);
    EXPECT_EQ(read.groups[0], (Words{"car", "auto"}));
    EXPECT_EQ(read.groups[1], (Words{"travel", "go"}));
    EXPECT_EQ(read.malformedLines, 1u);
}

TEST(WordListReader, KeepsWordsAndDropsPossessivesBlankLinesAndLineEnds) {
    std::istringstream in("Aachen\nAachen's\r\n\nzügig\r\n-ig\nfoo bar\n");
    EXPECT_EQ(ReadWordList(in), (Words{"Aachen", "zügig", "foo bar"}));
}

std::vector<std::string> WordsOf(const WordFileContent& content, const std::vector<int32_t>& ids) {
    std::vector<std::string> words;
    for (const int32_t id : ids) {
        words.push_back(content.words.at(static_cast<size_t>(id)));
    }
    return words;
}

TEST(Assembly, WordsAreTheUniqueUnionOfBothSourcesInByteOrder) {
    const WordFileContent content =
        Assemble({"b", "ä", "Z", "a", "b", "Äpfel"}, {{"c", "a"}, {"Zebra", "b"}});
    EXPECT_EQ(content.words, (Words{"Z", "Zebra", "a", "b", "c", "Äpfel", "ä"}));
    EXPECT_EQ(content.wordGroups.size(), content.words.size());
}

TEST(Assembly, MembersAppearOnceAtTheirFirstPlaceInSourceOrder) {
    const WordFileContent content = Assemble({}, {{"c", "a", "c", "b", "a"}});
    ASSERT_EQ(content.groups.size(), 1u);
    EXPECT_EQ(WordsOf(content, content.groups[0]), (Words{"c", "a", "b"}));
}

TEST(Assembly, OnlyGroupsWithoutWordsAreDroppedAndKeysStayDense) {
    const WordFileContent content =
        Assemble({"x"}, {{"a", "b"}, {"x", "x"}, {"lonely"}, {}, {"b", "c"}});
    ASSERT_EQ(content.groups.size(), 4u);
    EXPECT_EQ(WordsOf(content, content.groups[0]), (Words{"a", "b"}));
    EXPECT_EQ(WordsOf(content, content.groups[1]), (Words{"x"}));
    EXPECT_EQ(WordsOf(content, content.groups[2]), (Words{"lonely"}));
    EXPECT_EQ(WordsOf(content, content.groups[3]), (Words{"b", "c"}));
    EXPECT_EQ(content.droppedGroups, 1u);
}

TEST(Assembly, EveryWordRecordListsExactlyTheGroupsHoldingItInKeyOrder) {
    const WordFileContent content = Assemble({"alone"}, {{"a", "b"}, {"b", "c"}, {"c", "a", "b"}});
    for (size_t id = 0; id < content.words.size(); ++id) {
        std::vector<int32_t> expected;
        for (size_t key = 0; key < content.groups.size(); ++key) {
            const auto& members = content.groups[key];
            if (std::find(members.begin(), members.end(), static_cast<int32_t>(id)) !=
                members.end()) {
                expected.push_back(static_cast<int32_t>(key));
            }
        }
        EXPECT_EQ(content.wordGroups[id], expected) << content.words[id];
    }
    EXPECT_EQ(content.wordGroups[0], (std::vector<int32_t>{0, 2}));  // "a"
    EXPECT_TRUE(content.wordGroups[1].empty());                      // "alone"
}

TEST(Assembly, OversizedGroupIsSplitIntoEvenPartsThatKeepEveryMember) {
    Group big;
    for (char c = 'a'; c <= 'j'; ++c) {
        big.emplace_back(1, c);
    }
    const WordFileContent content = Assemble({}, {big, {"x", "y"}}, {.maxMembers = 4});
    ASSERT_EQ(content.groups.size(), 4u);
    EXPECT_EQ(WordsOf(content, content.groups[0]), (Words{"a", "b", "c", "d"}));
    EXPECT_EQ(WordsOf(content, content.groups[1]), (Words{"e", "f", "g"}));
    EXPECT_EQ(WordsOf(content, content.groups[2]), (Words{"h", "i", "j"}));
    EXPECT_EQ(WordsOf(content, content.groups[3]), (Words{"x", "y"}));
    EXPECT_EQ(content.splitGroups, 1u);
}

TEST(Assembly, GroupAtTheLimitStaysWhole) {
    const WordFileContent content = Assemble({}, {{"a", "b", "c", "d"}}, {.maxMembers = 4});
    EXPECT_EQ(content.groups.size(), 1u);
    EXPECT_EQ(content.splitGroups, 0u);
}

TEST(Assembly, WordInTooManyGroupsListsItsFirstOnes) {
    const WordFileContent content = Assemble({}, {{"w", "a"}, {"w", "b"}, {"w", "c"}},
                                             {.maxMembers = 4, .maxGroupsPerWord = 2});
    EXPECT_EQ(content.wordGroups[3], (std::vector<int32_t>{0, 1}));  // "w"
    EXPECT_EQ(content.cappedWords, 1u);
    EXPECT_EQ(content.groups.size(), 3u);
}

TEST(Assembly, LimitsTooSmallToSplitIntoRealGroupsAreRefused) {
    EXPECT_THROW(Assemble({}, {}, {.maxMembers = 3}), std::invalid_argument);
    EXPECT_THROW(Assemble({}, {}, {.maxMembers = 4, .maxGroupsPerWord = 0}), std::invalid_argument);
}

}  // namespace
}  // namespace wordfiles
