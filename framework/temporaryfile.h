// A file made under a unique name beside the file it is to become, and moved into place once
// whole: a reader of the target then finds no file or a whole one, whenever the writer is
// interrupted. Removed when it ends unless it was moved. Main OS thread.
#pragma once

#include <chrono>
#include <string>

namespace fw {

// Renames `from` to `to` unless `to` exists (also as a dangling link): 0, or the errno value of
// the failure (EEXIST when `to` exists). Two processes racing for one name never replace each
// other's file.
int RenameNoReplace(const std::string& from, const std::string& to);

class TemporaryFile {
  public:
    // An empty file named `target` + ".new-" and six characters; Path() is "" when it could not
    // be made.
    explicit TemporaryFile(const std::string& target);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& Path() const { return path_; }
    // Renames the file to `target`; false when that failed, also when `target` exists by then
    // (another process made it first: its file stays).
    bool MoveTo(const std::string& target);
    // True when the last failure was that the target existed.
    bool TargetExisted() const;
    // The system's text for the last failure.
    std::string ErrorMessage() const;

    // Removes what writers for `target` that were killed left behind (files named as Path() would
    // name them, and whatever was named after those), once older than `age`: a younger one may
    // be another process's file in the making.
    static void RemoveLeftovers(const std::string& target, std::chrono::seconds age);

  private:
    std::string path_;
    int error_ = 0;
};

}  // namespace fw
