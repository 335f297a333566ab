#include "framework/regex.h"

#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Every sub-expression of a match as "text@offset", whole match first; "none" without a match.
std::string Describe(const std::optional<fw::RegExMatch>& match) {
    if (!match) {
        return "none";
    }
    std::string parts;
    for (int i = 0; i < match->SubExpressionCount(); ++i) {
        parts += (i ? " " : "") + match->SubExpressionString(i) + "@" +
                 std::to_string(match->SubExpressionStartB(i));
    }
    return parts;
}

std::string Find(const std::string& pattern, const std::string& target, long start = 0) {
    fw::RegEx re;
    re.SearchPattern = pattern;
    return Describe(re.Search(target, start));
}

// The whole text of every match that Search() finds after a first search of `target`.
std::vector<std::string> AllMatches(const std::string& pattern, const std::string& target) {
    fw::RegEx re;
    re.SearchPattern = pattern;
    std::vector<std::string> found;
    for (auto match = re.Search(target, 0); match && found.size() < 100; match = re.Search()) {
        found.push_back(match->SubExpressionString(0));
    }
    return found;
}

std::string Replaced(const std::string& pattern, const std::string& replacement,
                     const std::string& target, bool all = true) {
    fw::RegEx re;
    re.SearchPattern = pattern;
    re.ReplacementPattern = replacement;
    re.ReplaceAllMatches = all;
    return re.Replace(target);
}

// Offsets count bytes; "." and classes take whole characters, case-sensitively, and stop at a
// line end; a start inside a character moves to the next one.
TEST(RegExTest, MatchesReportSubExpressionTextsAndByteOffsets) {
    struct Row {
        const char *pattern, *target;
        long start;
        const char* expected;
    };
    const std::vector<Row> rows = {
        {"(M)(a)(ß)", "Größe und Maß", 0, "Maß@12 M@12 a@13 ß@14"},
        {"(a)|(b)", "b", 0, "b@0 @-1 b@0"},
        {"r(.)", "Größe", 0, "rö@1 ö@2"},
        {"[äöü]+", "Müll über", 0, "ü@1"},
        {"<li>.+</li>", "<li>a</li> <li>b</li>\n<li>c</li>", 0, "<li>a</li> <li>b</li>@0"},
        {"(<B>)(.+?)(</B>)", "<B>one</B><B>two</B>", 0, "<B>one</B>@0 <B>@0 one@3 </B>@6"},
        {"haus", "HAUS", 0, "none"},
        {"[,]", "ä,b,c", 3, ",@4"},
        {"b", "ä,b,c", 1, "b@3"},
        {"[,]", "ä,b,c", 5, "none"},
        {"[,]", "ä,b,c", 99, "none"},
        {"[,]", "ä,b,c", -1, "none"},
        {"$", "ä,b,c", 6, "@6"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.pattern) + " in " + row.target);
        EXPECT_EQ(Find(row.pattern, row.target, row.start), row.expected);
    }
    fw::RegEx re;
    re.SearchPattern = "(a)";
    const auto match = re.Search("a", 0);
    EXPECT_EQ(match->SubExpressionString(7), "");
    EXPECT_EQ(match->SubExpressionStartB(-1), -1);
}

TEST(RegExTest, SearchContinuesInTheSameTargetAndRestartsForANewTargetOrPattern) {
    EXPECT_EQ(AllMatches("(>)([a-zA-Z&#0-9; ]+?)(<)", "<a>Haus</a>, <a>Heim</a>, <b>Gr&#252;n</b>"),
              (std::vector<std::string>{">Haus<", ">Heim<", ">Gr&#252;n<"}));
    fw::RegEx re;
    re.SearchPattern = "[0-9]";
    EXPECT_EQ(Describe(re.Search("1a2")), "1@0");
    EXPECT_EQ(Describe(re.Search("1a2")), "2@2");
    EXPECT_EQ(Describe(re.Search("1a2")), "none");
    EXPECT_EQ(Describe(re.Search()), "none") << "a finished search stays finished";
    EXPECT_EQ(Describe(re.Search("1a2")), "1@0") << "after the end it starts over";
    EXPECT_EQ(Describe(re.Search("x9")), "9@1");
    re.SearchPattern = "x";
    EXPECT_EQ(Describe(re.Search()), "none") << "no continuation of another pattern's search";
    EXPECT_EQ(Describe(re.Search("x9")), "x@0");
}

TEST(RegExTest, EmptyMatchesAdvanceInsteadOfLooping) {
    EXPECT_EQ(AllMatches("x*", "axxb"), (std::vector<std::string>{"", "xx", "", ""}));
    EXPECT_EQ(AllMatches("(?=ü)|", "üü").size(), 3u) << "one empty match per character boundary";
    EXPECT_EQ(Replaced("x*", "-", "abc"), "-a-b-c-");
}

TEST(RegExTest, ReplaceFirstOrEveryMatchWithSubExpressions) {
    EXPECT_EQ(Replaced(" +", " ", "to  go   now", false), "to go   now");
    EXPECT_EQ(Replaced(" +", " ", "to  go   now"), "to go now");
    EXPECT_EQ(Replaced(" +", " ", "nothing"), "nothing");
    EXPECT_EQ(Replaced("[ÄÖÜ]", "_", "ÄrgerÖl"), "_rger_l");
    EXPECT_EQ(Replaced("(&#x)([^;]*)(;)", "[\\2]", "a&#xFC;b&#xDF;", false), "a[FC]b&#xDF;");
    EXPECT_EQ(Replaced("([a-z]+)@([a-z]+)", "$2 at \\1 ($0)", "me@home"), "home at me (me@home)");
    EXPECT_EQ(Replaced("(a)|(b)", "<$1$2$9>", "b"), "<b>");
    EXPECT_EQ(Replaced("c", "$ and \\x", "c"), "$ and \\x");
}

TEST(RegExTest, TargetWithInvalidUtf8IsSearchedByteByByte) {
    const std::string target = "ab\xff\xfexy\xc3";
    EXPECT_EQ(Find("x(y)", target), "xy@4 y@5");
    EXPECT_EQ(Find("[^<]+", target), target + "@0");
    EXPECT_EQ(AllMatches(".", target).size(), target.size());
    EXPECT_EQ(Replaced("b", "B", target), "aB\xff\xfexy\xc3");
    EXPECT_EQ(AllMatches(".", "ü").size(), 1u) << "a valid target is searched by character again";
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
    EXPECT_EQ(Find("(x+x+)+y", std::string(5000, 'x')), "none");
    EXPECT_EQ(Find("^(\\w+\\s?)*$", std::string(3000, 'a') + "!"), "none");
    const std::string hostile = std::string(200, 'a') + "b";
    EXPECT_EQ(Replaced("(a|aa)+$", "-", hostile), hostile);
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
        EXPECT_EQ(Find("<li>.+</li>", page), page + "@0");
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
