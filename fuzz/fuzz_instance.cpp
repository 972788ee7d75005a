// A message on the running instance's socket, as a second start (or anything else of the same
// user) may send it: the instance takes a record's path or a file-finder request, or refuses.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "FuzzSupport.h"
#include "app/InstanceChannel.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::Initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static instance::Server server;
    static const std::string socketPath = instance::SocketPath();
    if (!server.IsListening() && !server.Listen(socketPath)) fuzz::Fail("the instance socket cannot be served");
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, socketPath.data(), std::min(socketPath.size(), sizeof addr.sun_path - 1));
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) fuzz::Fail("cannot connect");
    size_t sent = 0;
    while (sent < size) {
        ssize_t n = ::send(fd, data + sent, size - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n <= 0) break;
        sent += size_t(n);
    }
    ::shutdown(fd, SHUT_WR);
    const std::vector<std::string> paths = server.Poll();
    server.TakeFindRequest();
    for (const std::string& p : paths)
        if (p.empty() || p.size() > instance::kMaxPathBytes || p.find('\0') != std::string::npos)
            fuzz::Fail("the instance took a path it should refuse");
    unsigned char answer = 0;
    (void)::recv(fd, &answer, 1, 0);
    ::close(fd);
    return 0;
}
