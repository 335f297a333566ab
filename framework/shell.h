// A synchronous shell behind a replaceable backend, so that tests feed commands' outputs. The real
// backend runs `/bin/sh -c command` and blocks its caller (the main OS thread, any fiber) until the
// command has ended; no fiber switch happens meanwhile.
#pragma once

#include <functional>
#include <string>

namespace fw {

struct ShellOutcome {
    int errorCode =
        0;  // the command's exit status (128 + signal when killed); 127 when it could not start
    std::string output;  // standard output and standard error, whole, in the order written
};
using ShellBackend = std::function<ShellOutcome(const std::string& command)>;
// An empty backend restores the real one (/bin/sh -c).
void SetShellBackend(ShellBackend backend);
// The real backend, for callers that wrap it.
ShellOutcome RunSystemShell(const std::string& command);

class Shell {
  public:
    int Mode = 0;  // 0 synchronous: the only mode the program uses; every mode runs synchronously
    void Execute(const std::string& command);
    int ErrorCode() const { return errorCode_; }
    const std::string& Result() const { return result_; }
    void Close();  // forgets the last outcome

  private:
    int errorCode_ = 0;
    std::string result_;
};

}  // namespace fw
