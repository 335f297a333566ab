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
        {"<li>.+</li>", "<li>a</li> <li>b</li>\n<li>c</li>", 0, "<li>a</li> <li>b</li>@0"},
        {"haus", "HAUS", 0, "none"},
        {"[,]", "ä,b,c", 3, ",@4"},
        {"b", "ä,b,c", 1, "b@3"},
        {"[,]", "ä,b,c", 99, "none"},
        {"$", "ä,b,c", 6, "@6"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.pattern) + " in " + row.target);
        EXPECT_EQ(Find(row.pattern, row.target, row.start), row.expected);
    }
}

TEST(RegExTest, EmptyMatchesAdvanceAndInvalidTargetsAreSearchedByteByByte) {
    EXPECT_EQ(AllMatches("x*", "axxb"), (std::vector<std::string>{"", "xx", "", ""}));
    EXPECT_EQ(AllMatches("(?=ü)|", "üü").size(), 3u) << "one empty match per character boundary";
    // A target with invalid UTF-8 is searched byte by byte.
    const std::string target = "ab\xff\xfexy\xc3";
    EXPECT_EQ(Find("x(y)", target), "xy@4 y@5");
    EXPECT_EQ(Find("[^<]+", target), target + "@0");
    EXPECT_EQ(AllMatches(".", target).size(), target.size());
    EXPECT_EQ(AllMatches(".", "ü").size(), 1u) << "a valid target is searched by character again";
}

TEST(RegExTest, CatastrophicBacktrackingEndsQuicklyWithoutMatch) {
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(Find("(x+x+)+y", std::string(5000, 'x')), "none");
    EXPECT_EQ(Find("^(\\w+\\s?)*$", std::string(3000, 'a') + "!"), "none");
    EXPECT_EQ(Find("(a|aa)+$", std::string(200, 'a') + "b"), "none");
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
