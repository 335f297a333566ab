// The word database: table `words` (wID, wWord, wSoundex) with one row per word, wID = position,
// wSoundex made by the program's own DIC::GetSoundex, the indexes that the program's LIKE and
// soundex selects use, and the trigram index of FragmentIndex, marked usable when the words come in
// NOCASE order. Two runs over the same words give byte-identical files. The target is replaced
// only when complete; failures throw std::runtime_error (or a filesystem error).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace wordfiles {

void WriteWordDatabase(const std::filesystem::path& target, const std::vector<std::string>& words);

}  // namespace wordfiles
