#include "fuzz/reader_checks.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unordered_set>

#include "framework/events.h"
#include "framework/text.h"
#include "search/PMC.h"

namespace fuzz {
namespace {

constexpr std::string_view kSeparator = "\1\2";
constexpr size_t kSmallBytes = 4 << 10;
constexpr size_t kGrowth = 8;
// What the larger input may cost beyond kGrowth times the smaller one: caches, allocation.
constexpr double kAllowance = 3.0;
constexpr double kSlackMs = 1.0;
constexpr int kRounds = 4;

double CostMs(const std::function<void(const std::string&)>& read, const std::string& input) {
    const double start = fw::ThreadCpuMilliseconds();
    read(input);
    return fw::ThreadCpuMilliseconds() - start;
}

// The prefix, the unit repeated to at least `bytes`, the suffix (see the header).
std::string Scaled(std::string_view input, size_t bytes) {
    std::string_view prefix;
    std::string_view unit = input;
    std::string_view suffix;
    const size_t first = input.find(kSeparator);
    const size_t second =
        first == std::string_view::npos ? first : input.find(kSeparator, first + kSeparator.size());
    if (second != std::string_view::npos) {
        prefix = input.substr(0, first);
        unit = input.substr(first + kSeparator.size(), second - first - kSeparator.size());
        suffix = input.substr(second + kSeparator.size());
    }
    std::string scaled(prefix);
    while (!unit.empty() && scaled.size() < bytes) {
        scaled.append(unit);
    }
    return scaled.append(suffix);
}

}  // namespace

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "reader rule broken: %s\n", what);
        std::abort();
    }
}

void RequireList(const std::vector<std::string>& list, const char* name, bool words, bool once) {
    std::unordered_set<std::string> keys;
    for (const std::string& entry : list) {
        if (!fw::IsValidUtf8(entry) || (words && (entry.empty() || !PMC::CheckWord(entry))) ||
            (once && !keys.insert(fw::CaseKey(entry)).second)) {
            std::fprintf(stderr, "list %s, entry \"%s\":\n", name, entry.c_str());
            Require(false, words ? "valid UTF-8, a word that passes CheckWord, once"
                                 : "valid UTF-8, once");
        }
    }
}

void RequireRows(const char* name, std::initializer_list<const std::vector<std::string>*> columns,
                 std::string_view separator) {
    const size_t rows = (*columns.begin())->size();
    std::vector<std::string> keys(rows);
    std::string_view before;  // nothing before the first column
    for (const std::vector<std::string>* column : columns) {
        Require(column->size() == rows, "the columns of a table equally long");
        for (size_t row = 0; row < rows; ++row) {
            keys[row].append(before).append((*column)[row]);
        }
        before = separator;
    }
    RequireList(keys, name, false, true);
}

void RequireLinearTime(std::string_view input,
                       const std::function<void(const std::string&)>& read) {
    const std::string small = Scaled(input, kSmallBytes);
    const std::string large = Scaled(input, kSmallBytes * kGrowth);
    double smallMs = 0;
    double largeMs = 0;
    // The allocator (ASan recycling its quarantine) or another process may disturb a measurement:
    // a finding fails every round.
    for (int round = 0; round < kRounds; ++round) {
        const double base = CostMs(read, std::string());
        smallMs = std::max(0.0, CostMs(read, small) - base);
        largeMs = CostMs(read, large) - base;
        if (largeMs <= kAllowance * kGrowth * smallMs + kSlackMs) {
            return;
        }
    }
    std::fprintf(stderr, "%zu bytes read in %.2f ms, %zu bytes in %.2f ms\n", small.size(), smallMs,
                 large.size(), largeMs);
    Require(false, "time linear in the input");
}

}  // namespace fuzz
