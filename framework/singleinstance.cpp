#include "framework/singleinstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string_view>
#include <thread>

namespace fw {

namespace {

constexpr std::string_view kActivate = "activate\n";
// How long a later start tries to reach the holder, which listens right after taking the lock.
constexpr auto kHandOverPatience = std::chrono::seconds(2);
// Each lost race with an ending holder costs one try; a few cover any real start-up.
constexpr int kLockAttempts = 8;

bool IsPrivateFolder(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

// Whether the open file is the one the path names now.
bool IsFileAt(int fd, const std::string& path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// A folder of this user's that only this user can enter, made when missing; "" when it can't be.
std::string OwnFolderIn(const std::string& base) {
    const std::string folder = base + "/quorvane-" + std::to_string(::getuid());
    ::mkdir(folder.c_str(), 0700);
    return IsPrivateFolder(folder) ? folder : "";
}

// A folder that only this user can enter, or "" when there is none: the runtime folder, else one
// of the user's own in the temporary folder, else one in /tmp.
std::string PrivateFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/' && IsPrivateFolder(runtime)) {
        return runtime;
    }
    const char* temporary = std::getenv("TMPDIR");
    if (temporary && temporary[0] == '/') {
        if (std::string folder = OwnFolderIn(temporary); !folder.empty()) {
            return folder;
        }
    }
    return OwnFolderIn("/tmp");
}

// The name of the key's files: the key itself when it is short, else a short one made from the
// key, as a socket's path and a file's name have limits. It depends on the key alone, so that
// every start of a key finds the same files.
std::string FileStem(const std::string& key) {
    constexpr std::size_t kLongestPlainKey = 64;
    if (key.size() <= kLongestPlainKey) {
        return key;
    }
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const char c : key) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
    return "quorvane-" + std::string(digits);
}

// How this process names the open folder: its short name in /proc, whatever the length of the
// folder's own path; the path itself where /proc is not mounted.
std::string FolderPrefix(int folderFd, const std::string& folder) {
    const std::string shortName = "/proc/self/fd/" + std::to_string(folderFd) + "/";
    return ::access(shortName.c_str(), X_OK) == 0 ? shortName : folder + "/";
}

void SayRunningAlone(const std::string& why) {
    std::cerr << "quorvane: " << why << "; this start runs on its own, without handing over to a "
              << "running one." << std::endl;
}

// A stream socket connected to or bound at `path`; -1 when that fails.
int UnixSocket(const std::string& path, bool bind) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const auto* generic = reinterpret_cast<const sockaddr*>(&address);
    const bool done =
        fd >= 0 && (bind ? ::bind(fd, generic, sizeof address) == 0 && ::listen(fd, SOMAXCONN) == 0
                         : ::connect(fd, generic, sizeof address) == 0);
    if (!done && fd >= 0) {
        ::close(fd);
    }
    return done ? fd : -1;
}

}  // namespace

SingleInstance::SingleInstance(const std::string& key) {
    const std::string folder = PrivateFolder();
    folderFd_ = folder.empty() ? -1 : ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folderFd_ < 0) {
        SayRunningAlone("no private folder in XDG_RUNTIME_DIR, TMPDIR or /tmp");
        return;
    }
    // A deep runtime or temporary folder, whose own path would not fit a socket address, serves
    // through its short name as well as a short one.
    const std::string prefix = FolderPrefix(folderFd_, folder);
    lockPath_ = prefix + FileStem(key) + ".lock";
    socketPath_ = prefix + FileStem(key) + ".socket";
    if (socketPath_.size() >= sizeof(sockaddr_un::sun_path)) {
        SayRunningAlone("the path of " + socketPath_ + " is too long for a socket");
        return;
    }
    // A holder removes its lock file as it ends; a lock taken on a file that is no longer the
    // one at the path holds nothing, and the next try opens the path afresh.
    for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
        lockFd_ = ::open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (lockFd_ < 0) {
            SayRunningAlone(lockPath_ + ": " + std::strerror(errno));
            return;
        }
        if (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
            break;
        }
        if (IsFileAt(lockFd_, lockPath_)) {
            ::unlink(socketPath_.c_str());  // left behind by a holder that has ended
            listenFd_ = UnixSocket(socketPath_, true);
            if (listenFd_ < 0) {
                SayRunningAlone(socketPath_ + ": " + std::strerror(errno));
            }
            return;
        }
        ::close(lockFd_);
        lockFd_ = -1;
    }
    handedOver_ = HandOver();
    if (!handedOver_) {
        SayRunningAlone("the running one did not answer at " + socketPath_);
    }
    if (lockFd_ >= 0) {
        ::close(lockFd_);
        lockFd_ = -1;
    }
}

SingleInstance::~SingleInstance() {
    server_.reset();
    if (listenFd_ >= 0) {
        ::close(listenFd_);
    }
    if (lockFd_ >= 0) {
        // Still holding the key: its files are ours to remove before the lock goes.
        ::unlink(socketPath_.c_str());
        ::unlink(lockPath_.c_str());
        ::close(lockFd_);
    }
    if (folderFd_ >= 0) {
        ::close(folderFd_);
    }
}

bool SingleInstance::HandOver() const {
    const auto giveUp = std::chrono::steady_clock::now() + kHandOverPatience;
    do {
        const int fd = UnixSocket(socketPath_, false);
        if (fd >= 0) {
            const bool sent = ::write(fd, kActivate.data(), kActivate.size()) ==
                              static_cast<ssize_t>(kActivate.size());
            ::close(fd);
            return sent;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } while (std::chrono::steady_clock::now() < giveUp);
    return false;
}

void SingleInstance::Serve(std::function<void()> activate) {
    if (listenFd_ < 0) {
        return;
    }
    server_ = std::make_unique<QLocalServer>();
    if (!server_->listen(static_cast<qintptr>(listenFd_))) {
        server_.reset();
        return;
    }
    listenFd_ = -1;  // the server owns it now
    QLocalServer* const server = server_.get();
    QObject::connect(server, &QLocalServer::newConnection, server, [server, activate] {
        while (QLocalSocket* const peer = server->nextPendingConnection()) {
            QObject::connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            QObject::connect(peer, &QLocalSocket::readyRead, peer, [peer, activate] {
                if (!peer->canReadLine()) {
                    return;
                }
                const QByteArray line = peer->readLine();
                peer->disconnectFromServer();
                if (line.toStdString() == kActivate) {
                    activate();
                }
            });
        }
    });
}

}  // namespace fw
