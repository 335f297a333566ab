// Big-endian reads across buffer windows and of truncated or corrupted files are proven with the
// word-group loader and the generated word files. Nothing writes a stream yet; one test holds the
// writes to their contract.
#include "framework/binarystream.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <limits>
#include <string>

namespace {

using namespace std::string_literals;

class BinaryStreamTest : public ::testing::Test {
  protected:
    std::string FileWith(const std::string& bytes) const {
        const std::string path = folder_.filePath("data.bin").toStdString();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static std::string ContentsOf(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
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

// A write the file refuses must surface by Close() at the latest, never vanish.
TEST_F(BinaryStreamTest, WritesInEitherByteOrderAtAnyPositionAreReadBackAndReachTheFile) {
    const std::string path = FileWith("\0\0\0\1\0\0\0\2"s);
    auto stream = fw::BinaryStream::Open(path, true);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->ReadInt32(), 1);  // fills the read window with the old bytes
    stream->SetPosition(0);
    stream->WriteInt32(10);
    stream->SetPosition(0);
    EXPECT_EQ(stream->ReadInt32(), 10);
    EXPECT_EQ(stream->ReadInt32(), 2);
    stream->LittleEndian = true;
    stream->WriteInt16(-2);  // appends
    stream->WriteInt64(std::numeric_limits<int64_t>::min() + 1);
    EXPECT_EQ(stream->Length(), 18);
    stream->SetPosition(8);
    EXPECT_EQ(stream->ReadInt16(), -2);
    stream->SetPosition(1);
    stream->Write("B");
    stream->Close();
    EXPECT_EQ(ContentsOf(path), "\0B\0\x0A\0\0\0\2\xFE\xFF\1\0\0\0\0\0\0\x80"s);
    EXPECT_THROW(stream->WriteInt16(1), std::runtime_error) << "closed";

    auto readOnly = fw::BinaryStream::Open(FileWith("abcd"));
    readOnly->Write("x");
    EXPECT_THROW(readOnly->Close(), std::runtime_error);
}

}  // namespace
