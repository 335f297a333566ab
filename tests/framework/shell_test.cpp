#include "framework/shell.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ShellTest : public ::testing::Test {
  protected:
    ~ShellTest() override { fw::SetShellBackend({}); }

    fw::Shell shell_;
};

TEST_F(ShellTest, ErrorCodeAndOutputOfTheRealShell) {
    struct Row {
        const char* command;
        int errorCode;
        std::string result;
    };
    const std::vector<Row> rows = {
        {"echo out; echo err 1>&2; printf 'last'", 0, "out\nerr\nlast"},
        {"echo partial; exit 3", 3, "partial\n"},
        {"kill -9 $$", 128 + 9, ""},
        {"cat", 0, ""},  // a command reading input ends at once
        {"printf '%s|' \"two words\" 'single \"quoted\"'", 0, "two words|single \"quoted\"|"},
        // larger than the pipe's buffer: reading only after the end would deadlock
        {"head -c 1000000 /dev/zero | tr '\\0' a", 0, std::string(1000000, 'a')}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        shell_.Execute(row.command);
        EXPECT_EQ(shell_.ErrorCode(), row.errorCode);
        EXPECT_EQ(shell_.Result(), row.result);
    }
    shell_.Execute("no-such-command-quorvane");
    EXPECT_EQ(shell_.ErrorCode(), 127);
    EXPECT_NE(shell_.Result().find("no-such-command-quorvane"), std::string::npos);
}

// The processor probe asks for Mac keys; on Linux they are unknown, which must read as a failed
// query or an output of another form, never as a value.
TEST_F(ShellTest, MacHardwareKeyIsUnknownOnLinux) {
    shell_.Execute("sysctl hw.cputype");
    const bool answered = shell_.ErrorCode() == 0 && shell_.Result().rfind("hw.cputype: ", 0) == 0;
    EXPECT_FALSE(answered) << shell_.Result();
}

TEST_F(ShellTest, ReplacedBackendAnswersUntilRestored) {
    std::string seen;
    fw::SetShellBackend([&seen](const std::string& command) {
        seen = command;
        return fw::ShellOutcome{0, "hw.cputype: 18\n"};
    });
    shell_.Execute("sysctl hw.cputype");
    EXPECT_EQ(seen, "sysctl hw.cputype");
    EXPECT_EQ(shell_.Result(), "hw.cputype: 18\n");
    fw::SetShellBackend({});
    shell_.Execute("printf real");
    EXPECT_EQ(shell_.Result(), "real");
}

}  // namespace
