// Every text-table entry with its localisation key, for tests that check a table key by key.
#pragma once

#include <string>
#include <utility>
#include <vector>

using TextTableEntry = std::pair<const char*, const std::string& (*)()>;
const std::vector<TextTableEntry>& AllEntries();
