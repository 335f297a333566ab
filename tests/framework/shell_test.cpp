#include "framework/shell.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ShellTest, ErrorCodeAndOutputOfTheRealShell) {
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
        // larger than the pipe's buffer: reading only after the end would deadlock
        {"head -c 1000000 /dev/zero | tr '\\0' a", 0, std::string(1000000, 'a')}};
    fw::Shell shell;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        shell.Execute(row.command);
        EXPECT_EQ(shell.ErrorCode(), row.errorCode);
        EXPECT_EQ(shell.Result(), row.result);
    }
}

}  // namespace
