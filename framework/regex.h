// Perl-compatible regular expressions (PCRE2, 8-bit) with the engine's default options: offsets
// are 0-based bytes into the UTF-8 target. Safe on invalid UTF-8 and hostile input: a pattern that
// fails to compile never matches, and the match limits stop runaway backtracking (no match).
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
    std::string ReplacementPattern;  // "\1".."\9" and "$1".."$9" stand for sub-expressions
    bool ReplaceAllMatches = false;

    // Searches from byte offset `startByte`; without it, continues after the last match of the
    // same target (the framework's Search()), or from 0 for a new target.
    std::optional<RegExMatch> Search(const std::string& target, long startByte);
    std::optional<RegExMatch> Search(const std::string& target);
    std::optional<RegExMatch> Search();  // the next match in the last target
    // The target with the first (or every) match replaced; the target itself when none matches.
    std::string Replace(const std::string& target);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
