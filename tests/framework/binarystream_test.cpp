#include "framework/binarystream.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <limits>
#include <string>

namespace {

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

    std::string ContentsOf(const std::string& path) const {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

  private:
    QTemporaryDir folder_;
};

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (const int v : values) {
        bytes += static_cast<char>(v);
    }
    return bytes;
}

TEST_F(BinaryStreamTest, IntegersAreBigEndianUnlessLittleEndianIsSet) {
    const std::string bytes = Bytes({0x00, 0x01, 0xFF, 0xFE, 0x12, 0x34, 0x56, 0x78, 0x80, 0x00,
                                     0x00, 0x00, 0x00, 0x00, 0x00, 0x01});
    auto big = fw::BinaryStream::Open(FileWith(bytes));
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(big->ReadInt16(), 1);
    EXPECT_EQ(big->ReadInt16(), -2);
    EXPECT_EQ(big->ReadInt32(), 0x12345678);
    EXPECT_EQ(big->ReadInt64(), std::numeric_limits<int64_t>::min() + 1);

    auto little = fw::BinaryStream::Open(FileWith(bytes));
    little->LittleEndian = true;
    EXPECT_EQ(little->ReadInt16(), 0x0100);
    EXPECT_EQ(little->ReadInt16(), -257);
    EXPECT_EQ(little->ReadInt32(), 0x78563412);
    EXPECT_EQ(little->ReadInt64(), 0x0100000000000080);
}

TEST_F(BinaryStreamTest, WrittenIntegersHaveTheChosenByteOrderOnDisk) {
    const std::string path = PathOf("written.bin");
    {
        auto stream = fw::BinaryStream::Create(path);
        ASSERT_NE(stream, nullptr);
        stream->WriteInt16(-2);
        stream->WriteInt32(0x01020304);
        stream->LittleEndian = true;
        stream->WriteInt32(0x01020304);
        stream->WriteInt64(-1);
        stream->Write("ab");
        stream->Close();
    }
    EXPECT_EQ(ContentsOf(path), Bytes({0xFF, 0xFE, 1,    2,    3,    4,    4,    3,    2,   1,
                                       0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b'}));
}

TEST_F(BinaryStreamTest, ReadPastTheEndThrowsAndLeavesThePositionAtTheEnd) {
    auto stream = fw::BinaryStream::Open(FileWith(Bytes({0, 7, 1, 2, 3})));
    EXPECT_EQ(stream->ReadInt16(), 7);
    EXPECT_FALSE(stream->EndOfFile());
    EXPECT_THROW(stream->ReadInt32(), fw::EndOfFileException);
    EXPECT_EQ(stream->Position(), 5);
    EXPECT_TRUE(stream->EndOfFile());
    EXPECT_THROW(stream->ReadInt16(), fw::EndOfFileException);

    stream->SetPosition(2);
    EXPECT_THROW(stream->Read(4), fw::EndOfFileException);
    EXPECT_EQ(stream->Position(), 5);
}

TEST_F(BinaryStreamTest, EmptyFileFailsTheFirstRead) {
    auto stream = fw::BinaryStream::Open(FileWith(""));
    ASSERT_NE(stream, nullptr);
    EXPECT_TRUE(stream->EndOfFile());
    EXPECT_THROW(stream->ReadInt64(), fw::EndOfFileException);
    EXPECT_EQ(stream->Read(0), "");
}

TEST_F(BinaryStreamTest, HugeCountFromACorruptFileFailsWithoutReservingMemory) {
    auto stream = fw::BinaryStream::Open(FileWith(std::string(20, 'x')));
    EXPECT_THROW(stream->Read(std::numeric_limits<size_t>::max()), fw::EndOfFileException);
    stream->SetPosition(0);
    EXPECT_THROW(stream->Read(size_t{1} << 40), fw::EndOfFileException);
    EXPECT_EQ(stream->Position(), 20);
}

// A 20-byte word-group file may claim 2^31-1 groups; the loader reads record after record, so the
// read must fail as soon as the bytes run out instead of inventing zeros.
TEST_F(BinaryStreamTest, ClaimedGroupCountBeyondTheFileFailsAtItsEnd) {
    std::string file = Bytes({0x7F, 0xFF, 0xFF, 0xFF});
    file += std::string(16, '\0');
    auto stream = fw::BinaryStream::Open(FileWith(file));
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

TEST_F(BinaryStreamTest, ReadAfterWriteSeesTheNewBytes) {
    const std::string path = FileWith(Bytes({0, 0, 0, 1, 0, 0, 0, 2}));
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
}

TEST_F(BinaryStreamTest, WritesAtScatteredPositionsAllReachTheFile) {
    const std::string path = PathOf("scattered.bin");
    {
        auto stream = fw::BinaryStream::Create(path);
        stream->Write("aaaaaaaa");
        stream->SetPosition(2);
        stream->Write("B");
        stream->SetPosition(6);
        stream->Write("CC");
        stream->Write("d");
    }  // the destructor writes what is still pending
    EXPECT_EQ(ContentsOf(path), "aaBaaaCCd");
}

TEST_F(BinaryStreamTest, CreateTruncatesAnExistingFile) {
    const std::string path = FileWith("old contents");
    auto stream = fw::BinaryStream::Create(path);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->Length(), 0);
    stream->Close();
    EXPECT_EQ(ContentsOf(path), "");
}

TEST_F(BinaryStreamTest, MissingFilesAndFoldersCantBeOpened) {
    EXPECT_EQ(fw::BinaryStream::Open(PathOf("missing.bin")), nullptr);
    EXPECT_EQ(fw::BinaryStream::Open(PathOf("")), nullptr);  // the folder itself
    EXPECT_EQ(fw::BinaryStream::Create(PathOf("no/such/folder.bin")), nullptr);
}

TEST_F(BinaryStreamTest, ReadOnlyStreamRefusesWrites) {
    auto stream = fw::BinaryStream::Open(FileWith("abcd"));
    stream->Write("x");
    EXPECT_THROW(stream->Close(), std::runtime_error);
}

TEST_F(BinaryStreamTest, ClosedStreamIsEmptyAndRefusesWrites) {
    auto stream = fw::BinaryStream::Open(FileWith("abcd"), true);
    stream->Close();
    EXPECT_EQ(stream->Length(), 0);
    EXPECT_THROW(stream->ReadInt16(), fw::EndOfFileException);
    EXPECT_THROW(stream->WriteInt16(1), std::runtime_error);
    stream->Close();  // a second close is harmless
}

TEST_F(BinaryStreamTest, NegativePositionCountsAsTheStart) {
    auto stream = fw::BinaryStream::Open(FileWith(Bytes({0, 5})));
    stream->SetPosition(-3);
    EXPECT_EQ(stream->Position(), 0);
    EXPECT_EQ(stream->ReadInt16(), 5);
}

TEST_F(BinaryStreamTest, PositionBeyondTheEndFailsTheNextRead) {
    auto stream = fw::BinaryStream::Open(FileWith("abcd"));
    stream->SetPosition(100);
    EXPECT_TRUE(stream->EndOfFile());
    EXPECT_THROW(stream->Read(1), fw::EndOfFileException);
    EXPECT_EQ(stream->Position(), 4);
}

}  // namespace
