// An exclusive advisory lock on a folder, for processes that change the folder's files one after
// the other: judge a file, move it, put a new one in its place. The lock is taken on the folder
// itself, so no lock file is left behind, and the system releases it however its holder ends.
#pragma once

#include <chrono>
#include <string>

namespace fw {

class FolderLock {
  public:
    // Waits at most `patience` for the lock. Without it (a holder that hangs, a file system
    // without locks, no such folder) the object holds nothing and its owner goes on unprotected,
    // which is better than never starting.
    FolderLock(const std::string& folder, std::chrono::milliseconds patience);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

  private:
    int fd_ = -1;
};

}  // namespace fw
