// Every text-table entry with its localisation key and its English default, byte for byte.
#pragma once

#include <string>
#include <vector>

struct TextTableEntry {
    const char* key;
    const std::string& (*entry)();
    const char* english;
};
const std::vector<TextTableEntry>& AllEntries();
