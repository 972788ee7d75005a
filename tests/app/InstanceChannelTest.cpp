// Hand-over of a record between two processes over the instance socket.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>

#include "TestUtil.h"
#include "app/InstanceChannel.h"

namespace {

// Polls the server until `n` paths arrived or two seconds passed.
std::vector<std::string> Collect(instance::Server& server, size_t n) {
    std::vector<std::string> got;
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (got.size() < n && std::chrono::steady_clock::now() < end) {
        for (auto& p : server.Poll()) got.push_back(p);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return got;
}

// Sends raw bytes to the socket as a foreign or broken client would; returns the answer byte,
// or -1 when none came.
int SendRaw(const std::string& sock, const std::string& bytes) {
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, sock.c_str(), sizeof addr.sun_path - 1);
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        close(fd);
        return -1;
    }
    if (!bytes.empty()) (void)!write(fd, bytes.data(), bytes.size());
    shutdown(fd, SHUT_WR);
    unsigned char b = 0;
    int r = read(fd, &b, 1) == 1 ? b : -1;
    close(fd);
    return r;
}

}  // namespace

TEST(InstanceChannel, SecondProcessHandsItsPathToTheFirst) {
    testutil::TempDir dir;
    const std::string sock = dir.File("Tenvorik.sock");
    const std::string path = "/records/Подстанция 1/rec.cfg";
    instance::Server first;
    ASSERT_TRUE(first.Listen(sock));
    pid_t child = fork();
    if (child == 0) {
        // The second start: hands over and reports through its exit code.
        _exit(instance::SendPath(sock, path) ? 0 : 1);
    }
    auto got = Collect(first, 1);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0], path);
}

TEST(InstanceChannel, NoRunningInstanceOrStaleSocket) {
    testutil::TempDir dir;
    const std::string sock = dir.File("Tenvorik.sock");
    EXPECT_FALSE(instance::SendPath(sock, "/r/a.cfg", 500));
    {
        // A first instance that ended without removing its socket, as after a crash.
        pid_t child = fork();
        if (child == 0) {
            auto* s = new instance::Server;
            _exit(s->Listen(sock) ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_EQ(WEXITSTATUS(status), 0);
    }
    ASSERT_EQ(access(sock.c_str(), F_OK), 0);
    EXPECT_FALSE(instance::SendPath(sock, "/r/a.cfg", 500));
    // The next first start takes the socket over.
    instance::Server next;
    EXPECT_TRUE(next.Listen(sock));
    // While it runs, another full instance does not take it away.
    instance::Server other;
    EXPECT_FALSE(other.Listen(sock));
}

TEST(InstanceChannel, MalformedMessagesAreRefused) {
    testutil::TempDir dir;
    const std::string sock = dir.File("Tenvorik.sock");
    instance::Server server;
    ASSERT_TRUE(server.Listen(sock));
    auto msg = [](const std::string& tag, uint32_t n, const std::string& body) {
        std::string m = tag;
        for (int i = 0; i < 4; ++i) m += char((n >> (8 * i)) & 0xFF);
        return m + body;
    };
    const std::string bad[] = {
        "",                                           // nothing
        "TVK",                                        // short header
        msg("XXXX", 3, "/ab"),                        // foreign tag
        msg("TVK1", 0, ""),                           // empty path
        msg("TVK1", 10, "/ab"),                       // count larger than what follows
        msg("TVK1", 0xFFFFFFFFu, "/ab"),              // absurd count
        msg("TVK1", 4, std::string("/a\0b", 4)),      // zero byte inside
        msg("TVKF", 3, "/ab"),                        // a finder request carries nothing
    };
    for (const std::string& b : bad) {
        int answer = 0;
        std::atomic<bool> done{false};
        std::thread client([&] {
            answer = SendRaw(sock, b);
            done = true;
        });
        std::vector<std::string> got;
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (!done && std::chrono::steady_clock::now() < end) {
            for (auto& p : server.Poll()) got.push_back(p);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        client.join();
        EXPECT_NE(answer, 1) << b.size();
        EXPECT_TRUE(got.empty()) << b.size();
    }
    // and the channel still works afterwards
    std::thread t([&] { EXPECT_TRUE(instance::SendPath(sock, "/r/ok.cfg")); });
    auto got = Collect(server, 1);
    t.join();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0], "/r/ok.cfg");
    EXPECT_FALSE(instance::SendPath(sock, std::string(instance::kMaxPathBytes + 1, 'a'), 500));
}

TEST(InstanceChannel, SecondStartAsksTheFirstForItsFinder) {
    testutil::TempDir dir;
    const std::string sock = dir.File("Tenvorik.sock");
    EXPECT_FALSE(instance::SendFind(sock, 500));  // nobody runs: the second start runs on its own
    instance::Server first;
    ASSERT_TRUE(first.Listen(sock));
    EXPECT_FALSE(first.TakeFindRequest());
    std::atomic<bool> sent{false};
    std::thread second([&] { sent = instance::SendFind(sock) && instance::SendPath(sock, "/r/a.cfg"); });
    auto got = Collect(first, 1);
    second.join();
    EXPECT_TRUE(sent);
    // The record comes as before, the finder request apart from it, and only once.
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0], "/r/a.cfg");
    EXPECT_TRUE(first.TakeFindRequest());
    EXPECT_FALSE(first.TakeFindRequest());
}

// The fallback folder of the socket is used only when no one else may enter it.
TEST(InstanceChannel, FallbackFolderIsUsedOnlyWhenItIsTheUsersOwnAndPrivate) {
    namespace fs = std::filesystem;
    testutil::TempDir dir;
    const std::string target = dir.File("target");
    fs::create_directory(target);
    ::chmod(target.c_str(), 0700);
    struct Case {
        const char* name;
        std::function<void(const std::string&)> make;
        bool usable;
    };
    const std::vector<Case> cases = {
        {"absent: made private", [](const std::string&) {}, true},
        {"own folder of mode 0700", [](const std::string& p) { fs::create_directory(p), ::chmod(p.c_str(), 0700); }, true},
        {"mode 0755", [](const std::string& p) { fs::create_directory(p), ::chmod(p.c_str(), 0755); }, false},
        {"mode 0777 with the sticky bit", [](const std::string& p) { fs::create_directory(p), ::chmod(p.c_str(), 01777); }, false},
        {"mode 0710", [](const std::string& p) { fs::create_directory(p), ::chmod(p.c_str(), 0710); }, false},
        {"a link to a private folder", [&](const std::string& p) { fs::create_directory_symlink(target, p); }, false},
        {"a file", [](const std::string& p) { testutil::WriteFile(p, "x"); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string p = dir.File(std::string("Tenvorik-") + std::to_string(&c - cases.data()));
        c.make(p);
        std::string why;
        const std::string got = instance::PrivateFolder(p, &why);
        EXPECT_EQ(got.empty(), !c.usable) << why;
        if (c.usable) {
            struct stat st {};
            ASSERT_EQ(::lstat(p.c_str(), &st), 0);
            EXPECT_TRUE(S_ISDIR(st.st_mode));
            EXPECT_EQ(st.st_mode & 07777, 0700u);
        } else {
            EXPECT_FALSE(why.empty());
        }
    }
    // The link's target keeps its mode: nothing was done through the link.
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
}

// A folder of another user's, of the right mode: only a test run as root can make one.
TEST(InstanceChannel, FallbackFolderOfAnotherOwnerIsNotUsed) {
    if (::getuid() != 0) GTEST_SKIP() << "only root can give a folder to another user";
    testutil::TempDir dir;
    const std::string p = dir.File("Tenvorik-0");
    ASSERT_EQ(::mkdir(p.c_str(), 0700), 0);
    const passwd* nobody = ::getpwnam("nobody");
    ASSERT_NE(nobody, nullptr);
    ASSERT_EQ(::chown(p.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    std::string why;
    EXPECT_TRUE(instance::PrivateFolder(p, &why).empty());
    EXPECT_NE(why.find("another user"), std::string::npos) << why;
}

// Without a runtime folder, a fallback folder that others may enter turns the hand-over off
// for the run, said once on the standard error; a private one carries the socket.
TEST(InstanceChannel, SocketPathRefusesAnUnsafeFallbackFolderAndSaysSoOnce) {
    testutil::TempDir dir;
    const std::string folder = dir.File("Tenvorik-" + std::to_string(::getuid()));
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(folder.c_str(), 0777), 0);
    const std::string errPath = dir.File("err.txt");
    // In a child, so that the environment and the once-a-run message are its own.
    pid_t child = fork();
    if (child == 0) {
        int fd = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, 2);
        ::unsetenv("XDG_RUNTIME_DIR");
        ::setenv("TMPDIR", dir.path().c_str(), 1);
        const bool refused = instance::SocketPath().empty() && instance::SocketPath().empty();
        instance::Server server;
        const bool listened = server.Listen(instance::SocketPath());
        ::chmod(folder.c_str(), 0700);
        const bool usable = instance::SocketPath() == folder + "/Tenvorik.sock";
        _exit(refused && !listened && usable ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const std::string err = testutil::ReadFile(errPath);
    const std::string said = folder + " is not a private folder of this user (its mode is not 0700)";
    const size_t first = err.find(said);
    ASSERT_NE(first, std::string::npos) << err;
    EXPECT_EQ(err.find("is not a private folder", first + said.size()), std::string::npos) << err;
    // Nothing was put in the folder others may enter.
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}
