// A binary file stream with a selectable byte order. Reading past the end throws
// EndOfFileException and leaves the position at the end; the stream never allocates more than
// the caller asks for.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

namespace fw {

class EndOfFileException : public std::runtime_error {
public:
    EndOfFileException() : std::runtime_error("read past the end of the stream") {}
};

class BinaryStream {
public:
    // nullptr when the file can't be opened.
    static std::unique_ptr<BinaryStream> Open(const std::string& path, bool write = false);
    static std::unique_ptr<BinaryStream> Create(const std::string& path);  // truncates
    ~BinaryStream();

    bool LittleEndian = false;  // big-endian unless set

    int16_t ReadInt16();
    int32_t ReadInt32();
    int64_t ReadInt64();
    std::string Read(size_t count);
    void WriteInt16(int16_t v);
    void WriteInt32(int32_t v);
    void WriteInt64(int64_t v);
    void Write(const std::string& bytes);

    bool EOF() const;
    int64_t Position() const;
    void SetPosition(int64_t position);
    int64_t Length() const;
    void Close();

private:
    BinaryStream() = default;
    struct FileCloser {
        void operator()(std::FILE* f) const;
    };
    std::unique_ptr<std::FILE, FileCloser> file_;
    int64_t length_ = 0;
    void ReadExactly(void* into, size_t count);
};

}  // namespace fw
