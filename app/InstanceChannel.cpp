#include "app/InstanceChannel.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace instance {
namespace {

constexpr char kTag[4] = {'T', 'V', 'K', '1'};
constexpr char kFindTag[4] = {'T', 'V', 'K', 'F'};

struct Message {
    bool find = false;  // the file finder is asked for
    std::string path;   // a record to open; empty when none, or when the message was not valid
    bool Valid() const { return find || !path.empty(); }
};

bool MakeAddress(const std::string& path, sockaddr_un& addr) {
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof addr.sun_path) return false;
    std::memcpy(addr.sun_path, path.data(), path.size());
    return true;
}

// Reads or writes exactly `n` bytes, waiting at most `timeoutMs` for each step.
bool Transfer(int fd, void* buf, size_t n, bool write, int timeoutMs) {
    auto* p = static_cast<char*>(buf);
    while (n > 0) {
        pollfd pfd{fd, short(write ? POLLOUT : POLLIN), 0};
        int r = ::poll(&pfd, 1, timeoutMs);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return false;
        ssize_t k = write ? ::send(fd, p, n, MSG_NOSIGNAL) : ::recv(fd, p, n, 0);
        if (k < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (k <= 0) return false;
        p += k;
        n -= size_t(k);
    }
    return true;
}

int Connect(const std::string& socketPath, int timeoutMs) {
    sockaddr_un addr;
    if (!MakeAddress(socketPath, addr)) return -1;
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return -1;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) return fd;
    if (errno == EINPROGRESS || errno == EAGAIN) {
        pollfd pfd{fd, POLLOUT, 0};
        int err = 0;
        socklen_t len = sizeof err;
        if (::poll(&pfd, 1, timeoutMs) == 1 && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) == 0 && err == 0)
            return fd;
    }
    ::close(fd);
    return -1;
}

// Reads one message from an accepted connection; not Valid when it is not a valid one.
Message ReadMessage(int fd) {
    constexpr int kTimeoutMs = 500;
    unsigned char head[8];
    if (!Transfer(fd, head, sizeof head, false, kTimeoutMs)) return {};
    uint32_t n = uint32_t(head[4]) | uint32_t(head[5]) << 8 | uint32_t(head[6]) << 16 | uint32_t(head[7]) << 24;
    if (std::memcmp(head, kFindTag, 4) == 0) return Message{n == 0, {}};
    if (std::memcmp(head, kTag, 4) != 0) return {};
    if (n == 0 || n > kMaxPathBytes) return {};
    std::string path(n, '\0');
    if (!Transfer(fd, path.data(), n, false, kTimeoutMs)) return {};
    if (path.find('\0') != std::string::npos) return {};
    return Message{false, std::move(path)};
}

// Sends one message and waits for the running instance's answer; true when it took it.
bool Send(const std::string& socketPath, const char (&tag)[4], const std::string& body, int timeoutMs) {
    int fd = Connect(socketPath, timeoutMs);
    if (fd < 0) return false;
    std::string msg(tag, 4);
    uint32_t n = uint32_t(body.size());
    for (int i = 0; i < 4; ++i) msg += char((n >> (8 * i)) & 0xFF);
    msg += body;
    unsigned char answer = 0;
    bool ok = Transfer(fd, msg.data(), msg.size(), true, timeoutMs) && Transfer(fd, &answer, 1, false, timeoutMs) &&
              answer == 1;
    ::close(fd);
    return ok;
}

}  // namespace

std::string PrivateFolder(const std::string& dir, std::string* why) {
    // Made here when it is not there; a folder or link someone else put in its place is
    // looked at, never followed.
    if (::mkdir(dir.c_str(), 0700) == 0) {
        // Ours, just made: a narrow umask may have taken more than the group's and others' bits.
        ::chmod(dir.c_str(), 0700);
    } else if (errno != EEXIST) {
        if (why) *why = std::strerror(errno);
        return {};
    }
    struct stat st {};
    if (::lstat(dir.c_str(), &st) != 0) {
        if (why) *why = std::strerror(errno);
        return {};
    }
    const char* fault = nullptr;
    if (S_ISLNK(st.st_mode)) fault = "it is a symbolic link";
    else if (!S_ISDIR(st.st_mode)) fault = "it is not a folder";
    else if (st.st_uid != ::getuid()) fault = "another user owns it";
    else if ((st.st_mode & 07777) != 0700) fault = "its mode is not 0700";
    if (fault) {
        if (why) *why = fault;
        return {};
    }
    return dir;
}

std::string SocketPath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime) return std::string(runtime) + "/Tenvorik.sock";
    const char* tmp = std::getenv("TMPDIR");
    const std::string dir = std::string(tmp && *tmp ? tmp : "/tmp") + "/Tenvorik-" + std::to_string(::getuid());
    std::string why;
    if (PrivateFolder(dir, &why).empty()) {
        // Said once a run: the hand-over is off, the program itself runs as always.
        static bool told = false;
        if (!told) {
            told = true;
            std::fprintf(stderr,
                         "Tenvorik: %s is not a private folder of this user (%s); a second start will not hand "
                         "its record to this one.\n",
                         dir.c_str(), why.c_str());
        }
        return {};
    }
    return dir + "/Tenvorik.sock";
}

bool SendPath(const std::string& socketPath, const std::string& path, int timeoutMs) {
    if (path.empty() || path.size() > kMaxPathBytes || path.find('\0') != std::string::npos) return false;
    return Send(socketPath, kTag, path, timeoutMs);
}

bool SendFind(const std::string& socketPath, int timeoutMs) { return Send(socketPath, kFindTag, {}, timeoutMs); }

Server::~Server() {
    if (m_fd < 0) return;
    ::close(m_fd);
    ::unlink(m_path.c_str());
}

bool Server::Listen(const std::string& socketPath) {
    if (m_fd >= 0) return true;
    sockaddr_un addr;
    if (!MakeAddress(socketPath, addr)) return false;
    // Two first starts at once must not both replace the socket: the check and the bind are
    // done under a lock on a file beside it.
    std::string lockPath = socketPath + ".lock";
    int lockFd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd < 0) return false;
    ::flock(lockFd, LOCK_EX);
    bool ok = false;
    int probe = Connect(socketPath, 1000);
    if (probe >= 0) {
        ::close(probe);  // a live instance serves it
    } else {
        ::unlink(socketPath.c_str());
        int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        mode_t old = ::umask(0077);
        if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 && ::listen(fd, 8) == 0) {
            m_fd = fd;
            m_path = socketPath;
            ok = true;
        } else if (fd >= 0) {
            ::close(fd);
        }
        ::umask(old);
    }
    ::flock(lockFd, LOCK_UN);
    ::close(lockFd);
    return ok;
}

std::vector<std::string> Server::Poll() {
    std::vector<std::string> paths;
    if (m_fd < 0) return paths;
    for (;;) {
        int c = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (c < 0) break;
        // Only this user may hand over records.
        ucred cred{};
        socklen_t len = sizeof cred;
        Message message;
        if (::getsockopt(c, SOL_SOCKET, SO_PEERCRED, &cred, &len) == 0 && cred.uid == ::getuid())
            message = ReadMessage(c);
        unsigned char answer = message.Valid() ? 1 : 0;
        Transfer(c, &answer, 1, true, 500);
        ::close(c);
        if (message.find) m_findAsked = true;
        if (!message.path.empty()) paths.push_back(std::move(message.path));
    }
    return paths;
}

bool Server::TakeFindRequest() {
    const bool asked = m_findAsked;
    m_findAsked = false;
    return asked;
}

}  // namespace instance
