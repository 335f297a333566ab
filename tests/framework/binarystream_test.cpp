// Big-endian reads across buffer windows and of truncated or corrupted files are proven with the
// word-group loader and the generated word files. Nothing writes a stream yet.
#include "framework/binarystream.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <string>

namespace {

class BinaryStreamTest : public ::testing::Test {
  protected:
    std::string FileWith(const std::string& bytes) const {
        const std::string path = folder_.filePath("data.bin").toStdString();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    QTemporaryDir folder_;
};

// A corrupt count may ask for any number of bytes: the read fails without reserving memory.
TEST_F(BinaryStreamTest, ReadPastTheEndThrowsAndLeavesThePositionAtTheEnd) {
    auto stream = fw::BinaryStream::Open(FileWith(std::string(20, 'x')));
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
