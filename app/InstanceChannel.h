#pragma once
// Hand-over of a record from a second start to the instance already running, over a local
// socket in the user's runtime folder. The message is "TVK1", a 32-bit little-endian byte
// count and the UTF-8 path; the running instance answers one byte, 1 when it took the path.
// Nothing of the message is trusted: a wrong tag, a count of 0 or above kMaxPathBytes, a short
// read or a zero byte inside the path is refused. "TVKF" with a count of 0 and nothing after
// it asks the running instance to show its file finder; an instance that predates it refuses
// the tag, and the second start then runs on its own as before.
#include <string>
#include <vector>

namespace instance {

constexpr size_t kMaxPathBytes = 16384;

// The socket of this user's running instance: $XDG_RUNTIME_DIR/Tenvorik.sock, or else
// Tenvorik.sock in the folder "Tenvorik-<uid>" of the temporary folder ($TMPDIR or /tmp).
// That folder is used only when it is this user's own folder (not a link) of mode 0700, since
// whoever may enter it could take the paths handed over or hand over paths of their own;
// otherwise the path is empty, so that this run neither hands over nor listens, and the
// standard error says so once.
std::string SocketPath();
// `dir` made with mode 0700 when it is not there, and given back when it is this user's own
// folder, no link, of mode 0700; empty otherwise, with the reason in `why`.
std::string PrivateFolder(const std::string& dir, std::string* why = nullptr);

// Second start: offers `path` to the running instance. True when it accepted; false when no
// instance answers (none runs, or it left a stale socket) within `timeoutMs`.
bool SendPath(const std::string& socketPath, const std::string& path, int timeoutMs = 5000);
// Second start with "-Find": asks the running instance to show its file finder. True when it
// accepted, false as SendPath.
bool SendFind(const std::string& socketPath, int timeoutMs = 5000);

class Server {
public:
    Server() = default;
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // First start: serves `socketPath`. A stale socket left by an instance that ended is
    // replaced; false when a live instance already serves it.
    bool Listen(const std::string& socketPath);
    bool IsListening() const { return m_fd >= 0; }
    // Takes every hand-over waiting, without blocking when none is; returns the valid paths.
    std::vector<std::string> Poll();
    // True once after Poll took one or more requests for the file finder.
    bool TakeFindRequest();

private:
    int m_fd = -1;
    std::string m_path;
    bool m_findAsked = false;
};

}  // namespace instance
