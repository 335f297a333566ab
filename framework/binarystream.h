// A binary file stream for reading, with a selectable byte order, read through an own buffer so
// that millions of small integer reads stay cheap. Reading past the end throws EndOfFileException
// and leaves the position at the end. The stream owns its file; one caller (fiber) at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace fw {

class EndOfFileException : public std::runtime_error {
  public:
    EndOfFileException() : std::runtime_error("read past the end of the stream") {}
};

class BinaryStream {
  public:
    // nullptr when the path is not a regular file that can be opened for reading.
    static std::unique_ptr<BinaryStream> Open(const std::string& path);
    BinaryStream(const BinaryStream&) = delete;
    BinaryStream& operator=(const BinaryStream&) = delete;

    bool LittleEndian = false;  // big-endian unless set

    int16_t ReadInt16() { return static_cast<int16_t>(ReadUnsigned<uint16_t>()); }
    int32_t ReadInt32() { return static_cast<int32_t>(ReadUnsigned<uint32_t>()); }
    int64_t ReadInt64() { return static_cast<int64_t>(ReadUnsigned<uint64_t>()); }

    int64_t Position() const { return position_; }
    int64_t Length() const { return length_; }

  private:
    struct OpenedFile {
        int fd;
        int64_t length;
    };

  public:
    explicit BinaryStream(OpenedFile file);  // only through Open and Create

  private:
    // Owns a POSIX file descriptor (-1: none) and closes it.
    class FileHandle {
      public:
        FileHandle() = default;
        ~FileHandle() { Reset(); }
        FileHandle(const FileHandle&) = delete;
        FileHandle& operator=(const FileHandle&) = delete;
        int Get() const { return fd_; }
        void Reset(int fd = -1);

      private:
        int fd_ = -1;
    };
    static std::unique_ptr<BinaryStream> Adopt(int fd);

    template <typename T>
    T ReadUnsigned() {
        unsigned char bytes[sizeof(T)];
        const int64_t offset = position_ - bufferStart_;
        if (offset >= 0 && offset + static_cast<int64_t>(sizeof(T)) <= bufferFill_) {
            const unsigned char* from = buffer_.data() + offset;
            for (size_t i = 0; i < sizeof(T); ++i) {
                bytes[i] = from[i];
            }
            position_ += sizeof(T);
        } else {
            ReadExactly(bytes, sizeof(T));
        }
        T value = 0;
        for (size_t i = 0; i < sizeof(T); ++i) {
            const size_t index = LittleEndian ? sizeof(T) - 1 - i : i;
            value = static_cast<T>((value << 8) | bytes[index]);
        }
        return value;
    }
    void ReadExactly(void* into, size_t count);
    [[noreturn]] void FailRead();
    bool FillBuffer();

    FileHandle file_;
    int64_t length_ = 0;
    int64_t position_ = 0;
    std::vector<unsigned char> buffer_;  // a window of the file at bufferStart_
    int64_t bufferStart_ = 0;
    int64_t bufferFill_ = 0;
};

}  // namespace fw
