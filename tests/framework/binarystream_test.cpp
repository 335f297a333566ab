#include "framework/binarystream.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <limits>
#include <string>

namespace {

using namespace std::string_literals;

constexpr int64_t kNearMin = std::numeric_limits<int64_t>::min() + 1;

class BinaryStreamTest : public ::testing::Test {
  protected:
    std::string PathOf(const std::string& name) const {
        return folder_.filePath(QString::fromStdString(name)).toStdString();
    }

    std::string FileWith(const std::string& bytes, const std::string& name = "data.bin") const {
        const std::string path = PathOf(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static std::string ContentsOf(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

  private:
    QTemporaryDir folder_;
};

TEST_F(BinaryStreamTest, IntegersHaveTheChosenByteOrderOnDiskAndReadBack) {
    const std::string path = PathOf("written.bin");
    {
        auto stream = fw::BinaryStream::Create(path);
        ASSERT_NE(stream, nullptr);
        for (const bool little : {false, true}) {
            stream->LittleEndian = little;
            stream->WriteInt16(-2);
            stream->WriteInt32(0x01020304);
            stream->WriteInt64(kNearMin);
        }
        stream->Write("ab");
    }  // the destructor writes what is still pending
    EXPECT_EQ(ContentsOf(path),
              "\xFF\xFE\1\2\3\4\x80\0\0\0\0\0\0\1"  // big-endian
              "\xFE\xFF\4\3\2\1\1\0\0\0\0\0\0\x80"  // little-endian
              "ab"s);
    auto stream = fw::BinaryStream::Open(path);
    for (const bool little : {false, true}) {
        stream->LittleEndian = little;
        EXPECT_EQ(stream->ReadInt16(), -2);
        EXPECT_EQ(stream->ReadInt32(), 0x01020304);
        EXPECT_EQ(stream->ReadInt64(), kNearMin);
    }
    EXPECT_EQ(stream->Read(2), "ab");
}

TEST_F(BinaryStreamTest, ReadPastTheEndThrowsAndLeavesThePositionAtTheEnd) {
    auto stream = fw::BinaryStream::Open(FileWith("\0\7\1\2\3"s));
    EXPECT_EQ(stream->ReadInt16(), 7);
    EXPECT_FALSE(stream->EndOfFile());
    EXPECT_THROW(stream->ReadInt32(), fw::EndOfFileException);
    EXPECT_EQ(stream->Position(), 5);
    EXPECT_TRUE(stream->EndOfFile());
    EXPECT_THROW(stream->ReadInt16(), fw::EndOfFileException);

    stream->SetPosition(2);
    EXPECT_THROW(stream->Read(4), fw::EndOfFileException);
    EXPECT_EQ(stream->Position(), 5);
    stream->SetPosition(100);
    EXPECT_THROW(stream->Read(1), fw::EndOfFileException);
    EXPECT_EQ(stream->Position(), 5);

    auto empty = fw::BinaryStream::Open(FileWith("", "empty.bin"));
    EXPECT_TRUE(empty->EndOfFile());
    EXPECT_THROW(empty->ReadInt64(), fw::EndOfFileException);
}

// A 20-byte word-group file may claim 2^31-1 groups or a read of any size; the loader reads record
// after record, so a read must fail as soon as the bytes run out, without inventing zeros and
// without reserving memory for what is not there.
TEST_F(BinaryStreamTest, CorruptCountsFailAtTheEndOfTheFileWithoutReservingMemory) {
    auto huge = fw::BinaryStream::Open(FileWith(std::string(20, 'x'), "huge.bin"));
    EXPECT_THROW(huge->Read(std::numeric_limits<size_t>::max()), fw::EndOfFileException);
    huge->SetPosition(0);
    EXPECT_THROW(huge->Read(size_t{1} << 40), fw::EndOfFileException);
    EXPECT_EQ(huge->Position(), 20);

    auto stream = fw::BinaryStream::Open(FileWith("\x7F\xFF\xFF\xFF"s + std::string(16, '\0')));
    const int32_t groups = stream->ReadInt32();
    int32_t completed = 0;
    EXPECT_THROW(
        for (; completed < groups; ++completed) {
            stream->ReadInt32();
            const int16_t members = stream->ReadInt16();
            for (int16_t m = 0; m < members; ++m) {
                stream->ReadInt32();
            }
        },
        fw::EndOfFileException);
    EXPECT_EQ(completed, 2);
}

TEST_F(BinaryStreamTest, ReadsAcrossBufferWindowsMatchTheFile) {
    std::string file;
    for (int32_t i = 0; i < 100000; ++i) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            file += static_cast<char>((i >> shift) & 0xFF);
        }
    }
    auto stream = fw::BinaryStream::Open(FileWith(file));
    for (int32_t i = 0; i < 100000; ++i) {
        ASSERT_EQ(stream->ReadInt32(), i) << "at record " << i;
    }
    EXPECT_TRUE(stream->EndOfFile());

    // Odd offsets put integers across the edge of a buffer window.
    for (const int64_t at : {65535LL, 131071LL, 1LL, 399995LL}) {
        stream->SetPosition(at);
        const auto byteAt = [&](int64_t k) { return static_cast<unsigned char>(file[k]); };
        const uint32_t expected =
            (byteAt(at) << 24) | (byteAt(at + 1) << 16) | (byteAt(at + 2) << 8) | byteAt(at + 3);
        EXPECT_EQ(static_cast<uint32_t>(stream->ReadInt32()), expected) << "at offset " << at;
    }
    stream->SetPosition(65530);
    EXPECT_EQ(stream->Read(12), file.substr(65530, 12));
}

TEST_F(BinaryStreamTest, WritesAtAnyPositionAreSeenByReadsAndReachTheFile) {
    const std::string path = FileWith("\0\0\0\1\0\0\0\2"s);
    auto stream = fw::BinaryStream::Open(path, true);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->ReadInt32(), 1);  // fills the read window with the old bytes
    stream->SetPosition(0);
    stream->WriteInt32(10);
    stream->SetPosition(0);
    EXPECT_EQ(stream->ReadInt32(), 10);
    EXPECT_EQ(stream->ReadInt32(), 2);
    stream->WriteInt32(3);  // appends
    EXPECT_EQ(stream->Length(), 12);
    stream->SetPosition(8);
    EXPECT_EQ(stream->ReadInt32(), 3);

    stream->SetPosition(1);
    stream->Write("B");
    stream->SetPosition(10);
    stream->Write("CC");
    stream->Write("d");
    stream->Close();
    EXPECT_EQ(ContentsOf(path), "\0B\0\x0A\0\0\0\2\0\0CCd"s);
}

// A write the file refuses must surface by Close() at the latest, never vanish.
TEST_F(BinaryStreamTest, MissingPathsCantBeOpenedCreateTruncatesAndRefusedWritesThrow) {
    EXPECT_EQ(fw::BinaryStream::Open(PathOf("missing.bin")), nullptr);
    EXPECT_EQ(fw::BinaryStream::Open(PathOf("")), nullptr);  // the folder itself
    EXPECT_EQ(fw::BinaryStream::Create(PathOf("no/such/folder.bin")), nullptr);
    auto readOnly = fw::BinaryStream::Open(FileWith("abcd"));
    readOnly->Write("x");
    EXPECT_THROW(readOnly->Close(), std::runtime_error);
    auto created = fw::BinaryStream::Create(PathOf("data.bin"));
    EXPECT_EQ(created->Length(), 0);
    created->Close();
    EXPECT_EQ(ContentsOf(PathOf("data.bin")), "");
    EXPECT_THROW(created->WriteInt16(1), std::runtime_error);
}

}  // namespace
