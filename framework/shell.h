// A synchronous shell behind a replaceable backend, so that tests feed commands' outputs.
#pragma once

#include <functional>
#include <string>

namespace fw {

struct ShellOutcome {
    int errorCode = 0;   // the command's exit status; non-zero when it could not run
    std::string output;  // standard output and standard error, whole
};
using ShellBackend = std::function<ShellOutcome(const std::string& command)>;
// An empty backend restores the real one (/bin/sh -c).
void SetShellBackend(ShellBackend backend);

class Shell {
public:
    int Mode = 0;  // 0 synchronous: the only mode the program uses
    void Execute(const std::string& command);
    int ErrorCode() const { return errorCode_; }
    const std::string& Result() const { return result_; }
    void Close();

private:
    int errorCode_ = 0;
    std::string result_;
};

}  // namespace fw
