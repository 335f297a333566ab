// Readers of the Debian word sources: plain word lists (one word a line), the OpenThesaurus text
// export (one synonym group a line) and the WordNet 3.0 data files (one synset a line). Pure
// functions over text that own nothing; every word they hand out passes IsWord. Malformed input
// never throws: a bad line gives no group, and ReadWordNet counts such lines.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wordfiles {

// The words of one synonym group, in source order; duplicates are left to the assembly.
using Group = std::vector<std::string>;

// The program's word check: only the letters a-z, A-Z, ä ö ü Ä Ö Ü ß, the blank and the hyphen,
// and no hyphen in front. Unlike the program's check, the empty text is no word here.
bool IsWord(std::string_view text);

// A thesaurus entry with its annotations in parentheses removed, blank runs squeezed to one blank
// and trimmed. An unclosed "(" drops the rest of the entry.
std::string CleanThesaurusEntry(std::string_view entry);

// The entries of one thesaurus line that are words after cleaning; empty for a comment line.
Group ParseThesaurusLine(std::string_view line);

// The lemmas of one WordNet synset line that are words, with "_" read as a blank and an
// adjective marker such as "(a)" dropped; nullopt for the license header and malformed lines.
std::optional<Group> ParseWordNetLine(std::string_view line);

struct WordNetGroups {
    std::vector<Group> groups;
    size_t malformedLines = 0;  // lines that are neither license header nor synset
};

std::vector<std::string> ReadWordList(std::istream& in);
std::vector<Group> ReadThesaurus(std::istream& in);
// Appends the synsets of one data file, so that several files keep their order.
void ReadWordNet(std::istream& in, WordNetGroups& into);

}  // namespace wordfiles
