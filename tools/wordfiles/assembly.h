// Turns the words and synonym groups of one language into what its two word files hold: the
// words with dense IDs in NOCASE order, and the groups with dense keys in source order, both
// cross-referenced. Pure; the result owns its data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/wordfiles/sources.h"

namespace wordfiles {

// The word-group file counts members and groups in 16-bit fields.
struct AssemblyLimits {
    size_t maxMembers = 32767;  // at least 4; a larger group is split into even parts
    // A word lists its first groups up to this many; it stays a member of the others.
    size_t maxGroupsPerWord = 32767;
};

struct WordFileContent {
    std::vector<std::string> words;                // word ID = index; unique, InNocaseOrder
    std::vector<std::vector<int32_t>> groups;      // group key = index; member IDs, source order
    std::vector<std::vector<int32_t>> wordGroups;  // per word ID, its group keys, ascending

    size_t droppedGroups = 0;  // no word that passes the word check
    size_t splitGroups = 0;    // groups that became several
    size_t cappedWords = 0;    // words that lost groups to the limit
};

// SQLite's NOCASE order (ASCII letters folded, a prefix before its extensions), ties in byte
// order. Word IDs follow it, so that the word database's NOCASE index, its rows and its fragment
// index all hold the words in one order.
bool InNocaseOrder(const std::string& a, const std::string& b);

// `words` and every group word become the word list; a group keeps each word once, at its first
// place, and stays when it holds at least one word (each synset or thesaurus line is a group).
WordFileContent Assemble(std::vector<std::string> words, const std::vector<Group>& groups,
                         const AssemblyLimits& limits = {});

}  // namespace wordfiles
