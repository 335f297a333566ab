#include "framework/shell.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ShellTest : public ::testing::Test {
  protected:
    ~ShellTest() override { fw::SetShellBackend({}); }

    fw::Shell shell_;
};

TEST_F(ShellTest, OutputAndErrorOutputArriveWholeAndInOrder) {
    shell_.Execute("echo out; echo err 1>&2; printf 'last'");
    EXPECT_EQ(shell_.ErrorCode(), 0);
    EXPECT_EQ(shell_.Result(), "out\nerr\nlast");
}

TEST_F(ShellTest, ExitStatusBecomesTheErrorCode) {
    shell_.Execute("echo partial; exit 3");
    EXPECT_EQ(shell_.ErrorCode(), 3);
    EXPECT_EQ(shell_.Result(), "partial\n");

    shell_.Execute("kill -9 $$");
    EXPECT_EQ(shell_.ErrorCode(), 128 + 9);
}

TEST_F(ShellTest, CommandThatCantRunGivesNonZeroAndTheShellsComplaint) {
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

TEST_F(ShellTest, CommandReadingInputEndsAtOnce) {
    shell_.Execute("cat");
    EXPECT_EQ(shell_.ErrorCode(), 0);
    EXPECT_EQ(shell_.Result(), "");
}

TEST_F(ShellTest, OutputLargerThanThePipeIsReadWhole) {
    shell_.Execute("head -c 1000000 /dev/zero | tr '\\0' a");
    EXPECT_EQ(shell_.ErrorCode(), 0);
    EXPECT_EQ(shell_.Result(), std::string(1000000, 'a'));
}

TEST_F(ShellTest, CommandIsReadByTheShellWithItsQuotes) {
    shell_.Execute("printf '%s|' \"two words\" 'single \"quoted\"'");
    EXPECT_EQ(shell_.Result(), "two words|single \"quoted\"|");
}

TEST_F(ShellTest, ReplacedBackendAnswersUntilRestored) {
    std::string seen;
    fw::SetShellBackend([&seen](const std::string& command) {
        seen = command;
        return fw::ShellOutcome{0, "hw.cputype: 18\n"};
    });
    shell_.Execute("sysctl hw.cputype");
    EXPECT_EQ(seen, "sysctl hw.cputype");
    EXPECT_EQ(shell_.ErrorCode(), 0);
    EXPECT_EQ(shell_.Result(), "hw.cputype: 18\n");

    fw::SetShellBackend({});
    shell_.Execute("printf real");
    EXPECT_EQ(shell_.Result(), "real");
}

TEST_F(ShellTest, CloseForgetsTheLastOutcome) {
    shell_.Execute("echo x; exit 2");
    shell_.Close();
    EXPECT_EQ(shell_.ErrorCode(), 0);
    EXPECT_EQ(shell_.Result(), "");
}

}  // namespace
