#include "tools/wordfiles/replacing_file.h"

#include <system_error>

namespace wordfiles {

ReplacingFile::ReplacingFile(std::filesystem::path target)
    : target_(std::move(target)), temp_(target_.string() + ".part") {
    // A build that was killed may have left its temporary file behind.
    std::filesystem::remove(temp_);
}

ReplacingFile::~ReplacingFile() {
    if (!committed_) {
        std::error_code ignored;
        std::filesystem::remove(temp_, ignored);
    }
}

void ReplacingFile::Commit() {
    std::filesystem::rename(temp_, target_);
    committed_ = true;
}

}  // namespace wordfiles
