#include "framework/regex.h"

#include <chrono>

#include <gtest/gtest.h>

namespace {

std::optional<fw::RegExMatch> Find(const std::string& pattern, const std::string& target,
                                   long start = 0) {
    fw::RegEx re;
    re.SearchPattern = pattern;
    return re.Search(target, start);
}

// Every whole match that Search() finds after a first search of `target`.
std::vector<std::string> AllMatches(fw::RegEx& re, const std::string& target) {
    std::vector<std::string> found;
    for (auto match = re.Search(target, 0); match && found.size() < 100; match = re.Search()) {
        found.push_back(match->SubExpressionString(0));
    }
    return found;
}

std::string Replaced(const std::string& pattern, const std::string& replacement,
                     const std::string& target, bool all) {
    fw::RegEx re;
    re.SearchPattern = pattern;
    re.ReplacementPattern = replacement;
    re.ReplaceAllMatches = all;
    return re.Replace(target);
}

// ---- Matches and offsets
// -------------------------------------------------------------------------

TEST(RegExTest, SubExpressionOffsetsCountBytesOfMultiByteText) {
    const auto match = Find("(M)(a)(ß)", "Größe und Maß");
    ASSERT_TRUE(match);
    EXPECT_EQ(match->SubExpressionCount(), 4);
    EXPECT_EQ(match->SubExpressionString(0), "Maß");
    EXPECT_EQ(match->SubExpressionStartB(0), 12);  // "Größe und " is 12 bytes
    EXPECT_EQ(match->SubExpressionStartB(3), 14);
    EXPECT_EQ(match->SubExpressionString(3), "ß");
}

TEST(RegExTest, DotAndClassesTakeWholeCharactersButNoLineEnd) {
    EXPECT_EQ(Find("G(.)", "Größe")->SubExpressionString(1), "r");
    EXPECT_EQ(Find("r(.)", "Größe")->SubExpressionString(1), "ö");
    EXPECT_EQ(
        Find("(<P><B>Wort: </B> )([^<]+)", "<P><B>Wort: </B> Ärger</B>")->SubExpressionString(2),
        "Ärger");
    EXPECT_EQ(Find("<li>.+</li>", "<li>a</li> <li>b</li>\n<li>c</li>")->SubExpressionString(0),
              "<li>a</li> <li>b</li>");
}

TEST(RegExTest, DefaultOptionsAreCaseSensitiveWithLazyQuantifiers) {
    EXPECT_FALSE(Find("haus", "HAUS"));
    EXPECT_EQ(Find("(<B>)(.+?)(</B>)", "<B>one</B><B>two</B>")->SubExpressionString(2), "one");
    EXPECT_EQ(Find("\\([nv]\\)|\\(adj\\)", "x (adj) y")->SubExpressionString(0), "(adj)");
}

TEST(RegExTest, UnsetOrUnknownSubExpressionIsEmptyAtMinusOne) {
    const auto match = Find("(a)|(b)", "b");
    ASSERT_TRUE(match);
    EXPECT_EQ(match->SubExpressionString(1), "");
    EXPECT_EQ(match->SubExpressionStartB(1), -1);
    EXPECT_EQ(match->SubExpressionStartB(2), 0);
    EXPECT_EQ(match->SubExpressionString(7), "");
    EXPECT_EQ(match->SubExpressionStartB(-1), -1);
}

TEST(RegExTest, SearchStartsAtTheGivenByteOffset) {
    const std::string text = "ä,b,c";
    EXPECT_EQ(Find("[,]", text, 0)->SubExpressionStartB(0), 2);
    EXPECT_EQ(Find("[,]", text, 3)->SubExpressionStartB(0), 4);
    EXPECT_FALSE(Find("[,]", text, 5));
    EXPECT_FALSE(Find("[,]", text, 99));
    EXPECT_FALSE(Find("[,]", text, -1));
    EXPECT_TRUE(Find("$", text, static_cast<long>(text.size())));
}

TEST(RegExTest, StartInsideAMultiByteCharacterIsSafe) {
    const auto match = Find("b", "äb", 1);
    ASSERT_TRUE(match);
    EXPECT_EQ(match->SubExpressionStartB(0), 2);
}

// ---- Continued searches
// --------------------------------------------------------------------------

TEST(RegExTest, SearchWithoutTargetContinuesAfterTheLastMatch) {
    fw::RegEx re;
    re.SearchPattern = "(>)([a-zA-Z&#0-9; ]+?)(<)";
    EXPECT_EQ(AllMatches(re, "<a>Haus</a>, <a>Heim</a>, <b>Gr&#252;n</b>"),
              (std::vector<std::string>{">Haus<", ">Heim<", ">Gr&#252;n<"}));
    EXPECT_FALSE(re.Search()) << "a finished search stays finished";
}

TEST(RegExTest, SearchOfTheSameTargetContinuesAndANewTargetRestarts) {
    fw::RegEx re;
    re.SearchPattern = "[0-9]";
    EXPECT_EQ(re.Search("1a2")->SubExpressionStartB(0), 0);
    EXPECT_EQ(re.Search("1a2")->SubExpressionStartB(0), 2);
    EXPECT_FALSE(re.Search("1a2"));
    EXPECT_EQ(re.Search("1a2")->SubExpressionStartB(0), 0) << "after the end it starts over";
    EXPECT_EQ(re.Search("x9")->SubExpressionStartB(0), 1);
}

TEST(RegExTest, NewPatternStartsAFreshSearch) {
    fw::RegEx re;
    re.SearchPattern = "a";
    ASSERT_TRUE(re.Search("aXa"));
    re.SearchPattern = "X";
    EXPECT_FALSE(re.Search()) << "no continuation of another pattern's search";
    EXPECT_EQ(re.Search("aXa")->SubExpressionStartB(0), 1);
}

TEST(RegExTest, EmptyMatchesAdvanceInsteadOfLooping) {
    fw::RegEx re;
    re.SearchPattern = "x*";
    EXPECT_EQ(AllMatches(re, "axxb"), (std::vector<std::string>{"", "xx", "", ""}));
    re.SearchPattern = "(?=ü)|";
    EXPECT_EQ(AllMatches(re, "üü").size(), 3u) << "one empty match per character boundary";
}

// ---- Replace ------------------------------------------------------------------------------------

TEST(RegExTest, ReplaceFirstOrEveryMatch) {
    EXPECT_EQ(Replaced(" +", " ", "to  go   now", false), "to go   now");
    EXPECT_EQ(Replaced(" +", " ", "to  go   now", true), "to go now");
    EXPECT_EQ(Replaced(" +", " ", "nothing", true), "nothing");
    EXPECT_EQ(Replaced("x*", "-", "abc", true), "-a-b-c-");
    EXPECT_EQ(Replaced("ö", "oe", "Töpfe über Öfen", true), "Toepfe über Öfen");
}

TEST(RegExTest, ReplacementRefersToSubExpressions) {
    EXPECT_EQ(Replaced("(&#x)([^;]*)(;)", "[\\2]", "a&#xFC;b&#xDF;", false), "a[FC]b&#xDF;");
    EXPECT_EQ(Replaced("([a-z]+)@([a-z]+)", "$2 at \\1 ($0)", "me@home", false),
              "home at me (me@home)");
    EXPECT_EQ(Replaced("(a)|(b)", "<$1$2$9>", "b", false), "<b>");
    EXPECT_EQ(Replaced("c", "$ and \\x", "c", false), "$ and \\x");
}

// ---- Hostile input
// -------------------------------------------------------------------------------

TEST(RegExTest, TargetWithInvalidUtf8IsSearchedByteByByte) {
    const std::string target =
        "ab\xff\xfe"
        "cd\xc3";
    const auto match = Find("c(d)", target);
    ASSERT_TRUE(match);
    EXPECT_EQ(match->SubExpressionStartB(1), 5);
    EXPECT_EQ(Find("[^<]+", target)->SubExpressionString(0), target);
    fw::RegEx re;
    re.SearchPattern = ".";
    EXPECT_EQ(AllMatches(re, target).size(), target.size());
    EXPECT_EQ(Replaced("b", "B", target, true),
              "aB\xff\xfe"
              "cd\xc3");
    EXPECT_EQ(AllMatches(re, "ü").size(), 1u) << "a valid target is searched by character again";
}

TEST(RegExTest, ClassesWithUmlautsMatchWholeCharacters) {
    EXPECT_EQ(Find("[äöü]+", "Müll über")->SubExpressionString(0), "ü");
    EXPECT_EQ(Replaced("[ÄÖÜ]", "_", "ÄrgerÖl", true), "_rger_l");
}

TEST(RegExTest, PatternThatFailsToCompileNeverMatches) {
    for (const std::string pattern : {"(unclosed", "[z-a]", "bad\xff"}) {
        fw::RegEx re;
        re.SearchPattern = pattern;
        re.ReplacementPattern = "x";
        EXPECT_FALSE(re.Search("anything (unclosed", 0)) << pattern;
        EXPECT_FALSE(re.Search());
        EXPECT_EQ(re.Replace("text"), "text");
    }
}

TEST(RegExTest, CatastrophicBacktrackingEndsQuicklyWithoutMatch) {
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(Find("(x+x+)+y", std::string(5000, 'x')));
    EXPECT_FALSE(Find("^(\\w+\\s?)*$", std::string(3000, 'a') + "!"));
    fw::RegEx re;
    re.SearchPattern = "(a|aa)+$";
    re.ReplacementPattern = "-";
    re.ReplaceAllMatches = true;
    const std::string hostile = std::string(200, 'a') + "b";
    EXPECT_EQ(re.Replace(hostile).size(), hostile.size());
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
}

TEST(RegExTest, ManySearchesInALongPageStayLinear) {
    for (const bool strayByte : {false, true}) {
        std::string page;
        for (int i = 0; i < 20000; ++i) {
            page += "<li>(n) <a>word</a> (gloss " + std::to_string(i) + ")</li>";
            if (strayByte && i == 100) {
                page += '\xe4';
            }
        }
        const auto started = std::chrono::steady_clock::now();
        const auto item = Find("<li>.+</li>", page);
        ASSERT_TRUE(item);
        EXPECT_EQ(item->SubExpressionString(0).size(), page.size());
        fw::RegEx words;
        words.SearchPattern = "(>)([a-zA-Z][a-zA-Z -]*)(<)";
        size_t count = 0;
        for (auto match = words.Search(page, 0); match; match = words.Search()) {
            ++count;
        }
        EXPECT_EQ(count, 20000u);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
    }
}

}  // namespace
