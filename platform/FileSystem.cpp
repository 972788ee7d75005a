#include "platform/FileSystem.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Encoding.h"

namespace platform {
namespace {

std::string Sys(const CString& path) { return WideToUtf8(path.view()); }

bool SetErr(int* err, int value) {
    if (err) *err = value;
    return false;
}

bool Stat(const CString& path, struct stat& st) {
    return !path.IsEmpty() && ::stat(Sys(path).c_str(), &st) == 0;
}

CString RandomLetters(int n) {
    static const wchar_t kChars[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 gen(std::random_device{}() ^ unsigned(getpid()));
    std::uniform_int_distribution<int> pick(0, 35);
    CString s;
    for (int i = 0; i < n; ++i) s += kChars[pick(gen)];
    return s;
}

bool RemoveTreeAt(int parentFd, const char* name, int* err) {
    struct stat st{};
    if (fstatat(parentFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return SetErr(err, errno);
    if (!S_ISDIR(st.st_mode)) {
        if (unlinkat(parentFd, name, 0) != 0) return SetErr(err, errno);
        return true;
    }
    int fd = openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return SetErr(err, errno);
    DIR* dir = fdopendir(fd);
    if (!dir) {
        int e = errno;
        ::close(fd);
        return SetErr(err, e);
    }
    bool ok = true;
    std::vector<std::string> names;
    while (dirent* d = readdir(dir)) {
        std::string n = d->d_name;
        if (n != "." && n != "..") names.push_back(n);
    }
    for (const auto& n : names) ok = RemoveTreeAt(dirfd(dir), n.c_str(), err) && ok;
    closedir(dir);
    if (unlinkat(parentFd, name, AT_REMOVEDIR) != 0) return SetErr(err, errno);
    return ok;
}

}  // namespace

bool FileExists(const CString& path) {
    struct stat st{};
    return Stat(path, st) && !S_ISDIR(st.st_mode);
}

bool FolderExists(const CString& path) {
    struct stat st{};
    return Stat(path, st) && S_ISDIR(st.st_mode);
}

bool PathExists(const CString& path) {
    struct stat st{};
    return !path.IsEmpty() && ::lstat(Sys(path).c_str(), &st) == 0;
}

int64_t FileSize(const CString& path) {
    struct stat st{};
    if (!Stat(path, st) || S_ISDIR(st.st_mode)) return -1;
    return int64_t(st.st_size);
}

bool CreateFolder(const CString& path, int* err) {
    if (path.IsEmpty()) return SetErr(err, ENOENT);
    if (::mkdir(Sys(path).c_str(), 0777) != 0) return SetErr(err, errno);
    return true;
}

bool CreateFolders(const CString& path, int* err) {
    if (path.IsEmpty()) return SetErr(err, ENOENT);
    if (FolderExists(path)) return true;
    std::string p = Sys(path);
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    for (size_t pos = 1; pos <= p.size(); ++pos) {
        if (pos != p.size() && p[pos] != '/') continue;
        std::string part = p.substr(0, pos);
        if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return SetErr(err, errno);
    }
    if (!FolderExists(path)) return SetErr(err, ENOTDIR);
    return true;
}

bool RemoveFile(const CString& path, int* err) {
    struct stat st{};
    if (path.IsEmpty()) return SetErr(err, ENOENT);
    std::string p = Sys(path);
    if (::lstat(p.c_str(), &st) != 0) return SetErr(err, errno);
    if (S_ISDIR(st.st_mode)) return SetErr(err, EISDIR);
    if (::unlink(p.c_str()) != 0) return SetErr(err, errno);
    return true;
}

bool RemoveFolder(const CString& path, int* err) {
    if (path.IsEmpty()) return SetErr(err, ENOENT);
    if (::rmdir(Sys(path).c_str()) != 0) return SetErr(err, errno);
    return true;
}

bool RemoveTree(const CString& path, int* err) {
    if (path.IsEmpty()) return SetErr(err, ENOENT);
    return RemoveTreeAt(AT_FDCWD, Sys(path).c_str(), err);
}

bool RenamePath(const CString& from, const CString& to, int* err) {
    if (from.IsEmpty() || to.IsEmpty()) return SetErr(err, ENOENT);
    if (::rename(Sys(from).c_str(), Sys(to).c_str()) != 0) return SetErr(err, errno);
    return true;
}

bool ListFolder(const CString& folder, std::vector<FolderEntry>& entries, int* err) {
    entries.clear();
    if (folder.IsEmpty()) return SetErr(err, ENOENT);
    std::string base = Sys(folder);
    DIR* dir = ::opendir(base.c_str());
    if (!dir) return SetErr(err, errno);
    while (dirent* d = readdir(dir)) {
        std::string n = d->d_name;
        if (n == "." || n == "..") continue;
        FolderEntry e;
        e.name = CString(Utf8ToWide(n));
        struct stat st{};
        if (fstatat(dirfd(dir), d->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
            e.isLink = S_ISLNK(st.st_mode);
            e.isFolder = S_ISDIR(st.st_mode);
        }
        entries.push_back(std::move(e));
    }
    closedir(dir);
    return true;
}

CString JoinPath(const CString& folder, const CString& name) {
    if (folder.IsEmpty()) return name;
    if (name.IsEmpty()) return folder;
    if (name[0] == L'/') return name;
    CString f = folder;
    while (f.GetLength() > 1 && f[f.GetLength() - 1] == L'/') f.Truncate(f.GetLength() - 1);
    if (f == L"/") return f + name;
    return f + L"/" + name;
}

CString PathFileName(const CString& path) {
    int slash = path.ReverseFind(L'/');
    return slash < 0 ? path : path.Mid(slash + 1);
}

CString PathTitle(const CString& path) {
    CString name = PathFileName(path);
    int dot = name.ReverseFind(L'.');
    return dot <= 0 ? name : name.Left(dot);
}

CString PathExtension(const CString& path) {
    CString name = PathFileName(path);
    int dot = name.ReverseFind(L'.');
    return dot <= 0 ? CString() : name.Mid(dot);
}

CString PathFolder(const CString& path) {
    int slash = path.ReverseFind(L'/');
    if (slash < 0) return CString();
    if (slash == 0) return CString(L"/");
    return path.Left(slash);
}

CString PathFromPeer(const CString& path) {
    CString p = path;
    p.Replace(L'\\', L'/');
    return p;
}

CString TempFolder() {
    const char* env = std::getenv("TMPDIR");
    std::string t = env && *env ? env : "/tmp";
    while (t.size() > 1 && t.back() == '/') t.pop_back();
    return CString(Utf8ToWide(t));
}

CString UserTempFolder() {
    CString path;
    path.Format(L"%s/korvelund-%u", TempFolder().GetString(), unsigned(getuid()));
    std::string p = Sys(path);
    ::mkdir(p.c_str(), 0700);
    struct stat st{};
    // Another user could have made it first, or put a link there.
    if (::lstat(p.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid()) return CString();
    if ((st.st_mode & 0077) != 0 && ::chmod(p.c_str(), 0700) != 0) return CString();
    return path;
}

CString MakeTempFolder(const CString& prefix, const CString& parent, int* err) {
    CString base = parent.IsEmpty() ? TempFolder() : parent;
    for (int attempt = 0; attempt < 100; ++attempt) {
        CString path = JoinPath(base, prefix + RandomLetters(8));
        if (::mkdir(Sys(path).c_str(), 0700) == 0) return path;
        if (errno != EEXIST) {
            SetErr(err, errno);
            return CString();
        }
    }
    SetErr(err, EEXIST);
    return CString();
}

CString MakeTempFile(const CString& prefix, const CString& suffix, const CString& folder, int* err) {
    CString base = folder.IsEmpty() ? TempFolder() : folder;
    for (int attempt = 0; attempt < 100; ++attempt) {
        CString path = JoinPath(base, prefix + RandomLetters(8) + suffix);
        int fd = ::open(Sys(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        if (errno != EEXIST) {
            SetErr(err, errno);
            return CString();
        }
    }
    SetErr(err, EEXIST);
    return CString();
}

CString CurrentFolder() {
    char buf[PATH_MAX];
    if (!::getcwd(buf, sizeof buf)) return CString();
    return CString(Utf8ToWide(buf));
}

CString HomeFolder() {
    const char* env = std::getenv("HOME");
    if (env && *env) return CString(Utf8ToWide(env));
    if (passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return CString(Utf8ToWide(pw->pw_dir));
    return CString();
}

CString ExecutablePath() {
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return CString();
    return CString(Utf8ToWide(std::string(buf, size_t(n))));
}

}  // namespace platform
