// Perl-compatible regular expressions (PCRE2, 8-bit) with the engine's default options
// (case-sensitive, "." stops at a line end); offsets are 0-based bytes into the target. A valid
// UTF-8 target is matched by characters; any other target byte by byte, so invalid input never
// crashes. A pattern that fails to compile never matches, and the match limits turn runaway
// backtracking into "no match". An object belongs to one OS thread; a match never yields.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fw {

class RegExMatch {
  public:
    int SubExpressionCount() const { return static_cast<int>(texts_.size()); }
    // 0 is the whole match; an unset or unknown sub-expression gives "" and offset -1.
    std::string SubExpressionString(int index) const;
    long SubExpressionStartB(int index) const;

  private:
    friend class RegEx;
    std::vector<std::string> texts_;
    std::vector<long> starts_;
};

class RegEx {
  public:
    RegEx();
    ~RegEx();
    RegEx(const RegEx&) = delete;
    RegEx& operator=(const RegEx&) = delete;

    std::string SearchPattern;

    // Searches from byte offset `startByte` (one inside a character moves to the next character;
    // one beyond the end finds nothing). Without it, continues after the last match of the same
    // target, or from 0 for a new target or after a failed search. After an empty match the next
    // search never returns the same empty match, so a loop over all matches ends. Search(target)
    // compares the whole target with the last one; a loop over one long page should call
    // Search().
    std::optional<RegExMatch> Search(const std::string& target, long startByte);
    std::optional<RegExMatch> Search(const std::string& target);
    std::optional<RegExMatch> Search();  // the next match in the last target
    // Searches the last target again, from byte offset `startByte`, without comparing or copying
    // it: many searches at different places of one long page.
    std::optional<RegExMatch> SearchFrom(long startByte);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
