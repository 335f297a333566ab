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

// pread may transfer less than asked or be interrupted; this loops until done or failed.
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

std::unique_ptr<BinaryStream> BinaryStream::Open(const std::string& path) {
    return Adopt(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
}

void BinaryStream::FailRead() {
    position_ = length_;
    throw EndOfFileException();
}

bool BinaryStream::FillBuffer() {
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

}  // namespace fw
