// Big-endian reads across buffer windows and of truncated or corrupted files are proven with the
// word-group loader and the generated word files.
#include "framework/binarystream.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <string>

namespace {

// A corrupt count may ask for any number of bytes: the read fails without reserving memory.
TEST(BinaryStreamTest, ReadPastTheEndThrowsAndLeavesThePositionAtTheEnd) {
    const QTemporaryDir folder;
    const std::string path = folder.filePath("data.bin").toStdString();
    std::ofstream(path, std::ios::binary) << std::string(20, 'x');
    auto stream = fw::BinaryStream::Open(path);
    EXPECT_THROW(stream->Read(std::numeric_limits<size_t>::max()), fw::EndOfFileException);
    stream->SetPosition(2);
    EXPECT_THROW(stream->Read(size_t{1} << 40), fw::EndOfFileException);
    EXPECT_EQ(stream->Position(), 20);
    stream->SetPosition(100);
    EXPECT_THROW(stream->Read(1), fw::EndOfFileException);
    EXPECT_EQ(stream->Position(), 20);
    EXPECT_TRUE(stream->EndOfFile());
}

}  // namespace
