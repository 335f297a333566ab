#include "framework/binarystream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace fw {

namespace {

constexpr int64_t kBufferSize = 64 * 1024;

// pread/pwrite may transfer less than asked or be interrupted; these loop until done or failed.
int64_t ReadAt(int fd, unsigned char* into, int64_t count, int64_t offset) {
    int64_t done = 0;
    while (done < count) {
        const ssize_t n =
            ::pread(fd, into + done, static_cast<size_t>(count - done), offset + done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += n;
    }
    return done;
}

bool WriteAt(int fd, const char* bytes, int64_t count, int64_t offset) {
    int64_t done = 0;
    while (done < count) {
        const ssize_t n =
            ::pwrite(fd, bytes + done, static_cast<size_t>(count - done), offset + done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += n;
    }
    return true;
}

}  // namespace

void BinaryStream::FileHandle::Reset(int fd) {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    fd_ = fd;
}

std::unique_ptr<BinaryStream> BinaryStream::Adopt(int fd) {
    struct stat info {};
    if (fd < 0) {
        return nullptr;
    }
    // Opened without blocking, so that a FIFO is refused here instead of waiting for a writer;
    // a regular file reads the same either way, but its reads go back to blocking.
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<BinaryStream>(OpenedFile{fd, info.st_size});
}

BinaryStream::BinaryStream(OpenedFile file) : length_(file.length) {
    file_.Reset(file.fd);
}

std::unique_ptr<BinaryStream> BinaryStream::Open(const std::string& path, bool write) {
    return Adopt(::open(path.c_str(), (write ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NONBLOCK));
}

std::unique_ptr<BinaryStream> BinaryStream::Create(const std::string& path) {
    return Adopt(::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0666));
}

// A destructor can't report a failed write; callers who care about the last bytes call Close().
BinaryStream::~BinaryStream() {
    WritePending();
}

void BinaryStream::FailRead() {
    position_ = length_;
    throw EndOfFileException();
}

bool BinaryStream::FillBuffer() {
    FlushWrites();
    if (file_.Get() < 0 || position_ >= length_) {
        return false;
    }
    const int64_t wanted = std::min(kBufferSize, length_ - position_);
    if (static_cast<int64_t>(buffer_.size()) < wanted) {
        buffer_.resize(static_cast<size_t>(wanted));
    }
    bufferStart_ = position_;
    bufferFill_ = ReadAt(file_.Get(), buffer_.data(), wanted, position_);
    return bufferFill_ > 0;
}

void BinaryStream::ReadExactly(void* into, size_t count) {
    auto* out = static_cast<unsigned char*>(into);
    size_t done = 0;
    while (done < count) {
        const int64_t offset = position_ - bufferStart_;
        if (offset < 0 || offset >= bufferFill_) {
            if (!FillBuffer()) {
                FailRead();
            }
            continue;
        }
        const size_t take = std::min(count - done, static_cast<size_t>(bufferFill_ - offset));
        std::memcpy(out + done, buffer_.data() + offset, take);
        done += take;
        position_ += static_cast<int64_t>(take);
    }
}

std::string BinaryStream::Read(size_t count) {
    // Checked before allocating: a corrupt count must not reserve memory the file can't fill.
    if (position_ > length_ || count > static_cast<uint64_t>(length_ - position_)) {
        FailRead();
    }
    std::string bytes(count, '\0');
    ReadExactly(bytes.data(), count);
    return bytes;
}

bool BinaryStream::WritePending() {
    if (pending_.empty()) {
        return true;
    }
    const bool written =
        file_.Get() >= 0 &&
        WriteAt(file_.Get(), pending_.data(), static_cast<int64_t>(pending_.size()), pendingStart_);
    pending_.clear();
    return written;
}

void BinaryStream::FlushWrites() {
    if (!WritePending()) {
        throw std::runtime_error("can't write to the stream's file");
    }
}

void BinaryStream::WriteRaw(const char* bytes, size_t count) {
    if (file_.Get() < 0) {
        throw std::runtime_error("write to a closed stream");
    }
    bufferFill_ = 0;  // the read window may now be stale
    const bool continues = position_ == pendingStart_ + static_cast<int64_t>(pending_.size());
    if (!continues || static_cast<int64_t>(pending_.size()) >= kBufferSize) {
        FlushWrites();
        pendingStart_ = position_;
    }
    pending_.append(bytes, count);
    position_ += static_cast<int64_t>(count);
    length_ = std::max(length_, position_);
}

void BinaryStream::WriteUnsigned(uint64_t value, size_t width) {
    char bytes[8];
    for (size_t i = 0; i < width; ++i) {
        const size_t index = LittleEndian ? i : width - 1 - i;
        bytes[index] = static_cast<char>(value & 0xFF);
        value >>= 8;
    }
    WriteRaw(bytes, width);
}

void BinaryStream::WriteInt16(int16_t v) {
    WriteUnsigned(static_cast<uint16_t>(v), 2);
}
void BinaryStream::WriteInt32(int32_t v) {
    WriteUnsigned(static_cast<uint32_t>(v), 4);
}
void BinaryStream::WriteInt64(int64_t v) {
    WriteUnsigned(static_cast<uint64_t>(v), 8);
}
void BinaryStream::Write(const std::string& bytes) {
    WriteRaw(bytes.data(), bytes.size());
}

void BinaryStream::SetPosition(int64_t position) {
    position_ = std::max<int64_t>(position, 0);
}

void BinaryStream::Close() {
    if (file_.Get() < 0) {
        return;
    }
    const bool written = WritePending();
    file_.Reset();
    length_ = position_ = bufferFill_ = 0;
    if (!written) {
        throw std::runtime_error("can't write to the stream's file");
    }
}

}  // namespace fw
