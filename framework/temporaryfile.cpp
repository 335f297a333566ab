#include "framework/temporaryfile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace fw {

namespace {

constexpr const char* kInfix = ".new-";

}  // namespace

int RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL) {
        return errno;
    }
    // A file system without the flag: a hard link fails just as well when the name is taken.
    if (::link(from.c_str(), to.c_str()) != 0) {
        return errno;
    }
    ::unlink(from.c_str());
    return 0;
}

TemporaryFile::TemporaryFile(const std::string& target) : path_(target + kInfix + "XXXXXX") {
    const int descriptor = ::mkstemp(path_.data());
    if (descriptor < 0) {
        error_ = errno;
        path_.clear();
        return;
    }
    ::close(descriptor);
}

TemporaryFile::~TemporaryFile() {
    if (!path_.empty()) {
        std::remove(path_.c_str());
    }
}

bool TemporaryFile::MoveTo(const std::string& target) {
    error_ = RenameNoReplace(path_, target);
    if (error_ != 0) {
        return false;
    }
    path_.clear();
    return true;
}

bool TemporaryFile::TargetExisted() const {
    return error_ == EEXIST;
}

std::string TemporaryFile::ErrorMessage() const {
    return std::strerror(error_);
}

void TemporaryFile::RemoveLeftovers(const std::string& target, std::chrono::seconds age) {
    namespace fs = std::filesystem;
    const fs::path path(target);
    const std::string prefix = path.filename().string() + kInfix;
    const fs::file_time_type limit = fs::file_time_type::clock::now() - age;
    std::error_code error;
    for (fs::directory_iterator entry(path.parent_path(), error);
         !error && entry != fs::directory_iterator(); entry.increment(error)) {
        std::error_code ignored;
        if (entry->path().filename().string().starts_with(prefix) &&
            entry->last_write_time(ignored) < limit) {
            fs::remove(entry->path(), ignored);
        }
    }
}

}  // namespace fw
