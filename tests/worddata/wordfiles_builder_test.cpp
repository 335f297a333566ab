// The word-file builder's group limit: the file counts a group's members in 16 bits.
#include <gtest/gtest.h>

#include <stdexcept>

#include "tools/wordfiles/assembly.h"
#include "tools/wordfiles/group_file.h"

namespace wordfiles {
namespace {

// A larger count must fail, not wrap.
TEST(GroupFile, MemberCountBeyondSixteenBitsIsRefused) {
    WordFileContent content;
    content.words = {"a"};
    content.wordGroups = {{0}};
    content.groups = {std::vector<int32_t>(32768, 0)};
    EXPECT_THROW(EncodeGroupFile(content), std::length_error);
    content.groups.front().resize(32767);
    EXPECT_NO_THROW(EncodeGroupFile(content));
}

}  // namespace
}  // namespace wordfiles
