#include "framework/temporaryfile.h"

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
    if (std::rename(path_.c_str(), target.c_str()) != 0) {
        error_ = errno;
        return false;
    }
    path_.clear();
    return true;
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
