#include "tools/wordfiles/assembly.h"

#include <algorithm>
#include <stdexcept>

namespace wordfiles {
namespace {

unsigned char FoldAscii(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

std::vector<std::string> UniqueSorted(std::vector<std::string> words,
                                      const std::vector<Group>& groups) {
    for (const Group& group : groups) {
        words.insert(words.end(), group.begin(), group.end());
    }
    std::sort(words.begin(), words.end(), InNocaseOrder);
    words.erase(std::unique(words.begin(), words.end()), words.end());
    if (words.size() > static_cast<size_t>(INT32_MAX)) {
        throw std::length_error("more words than 32-bit word IDs can number");
    }
    return words;
}

int32_t IdOf(const std::vector<std::string>& words, const std::string& word) {
    const auto found = std::lower_bound(words.begin(), words.end(), word, InNocaseOrder);
    return static_cast<int32_t>(found - words.begin());
}

std::vector<int32_t> DistinctMembers(const std::vector<std::string>& words, const Group& group) {
    std::vector<int32_t> members;
    members.reserve(group.size());
    for (const std::string& word : group) {
        const int32_t id = IdOf(words, word);
        if (std::find(members.begin(), members.end(), id) == members.end()) {
            members.push_back(id);
        }
    }
    return members;
}

// Even parts keep every member in some group, and each part holds at least half the limit.
std::vector<std::vector<int32_t>> EvenParts(const std::vector<int32_t>& members, size_t limit) {
    const size_t count = (members.size() + limit - 1) / limit;
    const size_t base = members.size() / count;
    const size_t larger = members.size() % count;
    std::vector<std::vector<int32_t>> parts;
    auto from = members.begin();
    for (size_t i = 0; i < count; ++i) {
        const auto to = from + static_cast<ptrdiff_t>(base + (i < larger ? 1 : 0));
        parts.emplace_back(from, to);
        from = to;
    }
    return parts;
}

void AddGroups(const std::vector<Group>& groups, const AssemblyLimits& limits,
               WordFileContent& content) {
    for (const Group& group : groups) {
        std::vector<int32_t> members = DistinctMembers(content.words, group);
        if (members.empty()) {
            ++content.droppedGroups;
            continue;
        }
        if (members.size() <= limits.maxMembers) {
            content.groups.push_back(std::move(members));
            continue;
        }
        ++content.splitGroups;
        for (std::vector<int32_t>& part : EvenParts(members, limits.maxMembers)) {
            content.groups.push_back(std::move(part));
        }
    }
    if (content.groups.size() > static_cast<size_t>(INT32_MAX)) {
        throw std::length_error("more groups than 32-bit group keys can number");
    }
}

void IndexWordGroups(const AssemblyLimits& limits, WordFileContent& content) {
    content.wordGroups.assign(content.words.size(), {});
    std::vector<bool> capped(content.words.size(), false);
    for (size_t key = 0; key < content.groups.size(); ++key) {
        for (const int32_t id : content.groups[key]) {
            std::vector<int32_t>& keys = content.wordGroups[static_cast<size_t>(id)];
            if (keys.size() < limits.maxGroupsPerWord) {
                keys.push_back(static_cast<int32_t>(key));
            } else {
                capped[static_cast<size_t>(id)] = true;
            }
        }
    }
    content.cappedWords = static_cast<size_t>(std::count(capped.begin(), capped.end(), true));
}

}  // namespace

bool InNocaseOrder(const std::string& a, const std::string& b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const unsigned char x = FoldAscii(a[i]);
        const unsigned char y = FoldAscii(b[i]);
        if (x != y) {
            return x < y;
        }
    }
    if (a.size() != b.size()) {
        return a.size() < b.size();
    }
    return a < b;  // std::string orders like memcmp: byte order, whatever the locale
}

WordFileContent Assemble(std::vector<std::string> words, const std::vector<Group>& groups,
                         const AssemblyLimits& limits) {
    if (limits.maxMembers < 4 || limits.maxGroupsPerWord < 1) {
        throw std::invalid_argument("split parts need room for two members, a word for a group");
    }
    WordFileContent content;
    content.words = UniqueSorted(std::move(words), groups);
    AddGroups(groups, limits, content);
    IndexWordGroups(limits, content);
    return content;
}

}  // namespace wordfiles
