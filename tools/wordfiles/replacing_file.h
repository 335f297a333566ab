// A file that takes the place of its target only once it is complete. Writers fill TempPath();
// Commit() renames it over the target in one step. Without Commit() the destructor removes the
// temporary file, so a failed build leaves the previous target or none, never half a file.
// Failures throw std::filesystem::filesystem_error.
#pragma once

#include <filesystem>

namespace wordfiles {

class ReplacingFile {
  public:
    explicit ReplacingFile(std::filesystem::path target);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    const std::filesystem::path& TempPath() const { return temp_; }
    void Commit();

  private:
    std::filesystem::path target_;
    std::filesystem::path temp_;
    bool committed_ = false;
};

}  // namespace wordfiles
