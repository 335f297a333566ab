#include "framework/folderlock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

namespace fw {

namespace {

// A holder keeps the lock for a few file operations; looking this often costs nothing.
constexpr auto kLookAgain = std::chrono::milliseconds(5);

}  // namespace

FolderLock::FolderLock(const std::string& folder, std::chrono::milliseconds patience)
    : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (fd_ < 0) {
        return;
    }
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) ||
            std::chrono::steady_clock::now() >= giveUp) {
            ::close(fd_);
            fd_ = -1;
            return;
        }
        std::this_thread::sleep_for(kLookAgain);
    }
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) {
        // Given back at once, even where a forked child still holds a copy of the descriptor.
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
    }
}

}  // namespace fw
