// The word-group file: the group records, a zero separator and one record per word, every integer
// signed and big-endian. Encoding is pure; writing replaces the target only when complete and
// throws std::runtime_error (or a filesystem error) on failure.
#pragma once

#include <filesystem>
#include <string>

#include "tools/wordfiles/assembly.h"

namespace wordfiles {

// Member and group counts must already fit 16 bits (Assemble sees to it).
std::string EncodeGroupFile(const WordFileContent& content);
void WriteGroupFile(const std::filesystem::path& target, const WordFileContent& content);

}  // namespace wordfiles
