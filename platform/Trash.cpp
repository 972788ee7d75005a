#include "platform/Trash.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Encoding.h"
#include "platform/FileSystem.h"

namespace platform {
namespace {

bool Fail(int* err, int value) {
    if (err) *err = value;
    return false;
}

// A path as the trash-info file writes it: URL-encoded bytes of UTF-8, "/" kept.
std::string EncodePath(const std::string& path) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                           c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
        if (plain) {
            out += char(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

bool SameDevice(const std::string& a, const std::string& b) {
    struct stat sa{}, sb{};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev;
}

// The top folder of the file system that holds `folder`.
std::string MountTop(std::string folder) {
    struct stat st{};
    if (::stat(folder.c_str(), &st) != 0) return folder;
    while (folder != "/") {
        const size_t slash = folder.rfind('/');
        const std::string parent = slash == 0 ? "/" : folder.substr(0, slash);
        struct stat sp{};
        if (::stat(parent.c_str(), &sp) != 0 || sp.st_dev != st.st_dev) break;
        folder = parent;
    }
    return folder;
}

bool MakeFolder(const std::string& path, mode_t mode) {
    return ::mkdir(path.c_str(), mode) == 0 || errno == EEXIST;
}

// Moves `source` into the trash `trash` (with its "files" and "info" folders made as needed):
// the info file is made first under a free name, so two files of one name never collide.
bool MoveInto(const std::string& trash, const std::string& source, const std::string& absolute, int* err) {
    if (!MakeFolder(trash, 0700) || !MakeFolder(trash + "/files", 0700) || !MakeFolder(trash + "/info", 0700))
        return Fail(err, errno);
    const size_t slash = source.rfind('/');
    const std::string name = slash == std::string::npos ? source : source.substr(slash + 1);

    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", &local);
    const std::string info = "[Trash Info]\nPath=" + EncodePath(absolute) + "\nDeletionDate=" + stamp + "\n";

    for (int n = 1; n < 10000; ++n) {
        const std::string entry = n == 1 ? name : name + "." + std::to_string(n);
        const std::string infoPath = trash + "/info/" + entry + ".trashinfo";
        const int fd = ::open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return Fail(err, errno);
        }
        const bool written = ::write(fd, info.data(), info.size()) == ssize_t(info.size());
        const int writeErr = errno;
        ::close(fd);
        const std::string target = trash + "/files/" + entry;
        if (!written || ::access(target.c_str(), F_OK) == 0) {
            ::unlink(infoPath.c_str());
            if (!written) return Fail(err, writeErr);
            continue;
        }
        if (::rename(source.c_str(), target.c_str()) != 0) {
            const int e = errno;
            ::unlink(infoPath.c_str());
            return Fail(err, e);
        }
        return true;
    }
    return Fail(err, EEXIST);
}

}  // namespace

CString HomeTrashFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    const CString base = data && *data ? CString(Utf8ToWide(data)) : JoinPath(HomeFolder(), L".local/share");
    return JoinPath(base, L"Trash");
}

bool MoveToTrash(const CString& path, int* err) {
    CString absolute = path;
    if (absolute.IsEmpty()) return Fail(err, ENOENT);
    if (absolute[0] != L'/') absolute = JoinPath(CurrentFolder(), absolute);
    const std::string source = WideToUtf8(absolute.view());
    struct stat st{};
    if (::lstat(source.c_str(), &st) != 0) return Fail(err, errno);

    const std::string home = WideToUtf8(HomeTrashFolder().view());
    const std::string homeParent = home.substr(0, home.rfind('/'));
    CreateFolders(CString(Utf8ToWide(homeParent)));
    const std::string folder = source.substr(0, source.rfind('/'));
    if (SameDevice(folder.empty() ? "/" : folder, homeParent)) return MoveInto(home, source, source, err);

    // Another file system: its own trash at its top, as file managers look for it.
    const std::string top = MountTop(folder.empty() ? "/" : folder);
    const std::string trash = (top == "/" ? std::string() : top) + "/.Trash-" + std::to_string(::getuid());
    return MoveInto(trash, source, source, err);
}

}  // namespace platform
