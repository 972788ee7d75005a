#include "model/AtomicWrite.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Encoding.h"

namespace {

bool Fail(CString* error, const CString& path, int err) {
    if (error) *error = path + L": " + CString(platform::Utf8ToWide(std::strerror(err)));
    return false;
}

}  // namespace

bool WriteFileAtomically(const CString& path, const std::string& bytes, CString* error) {
    static std::atomic<unsigned> counter{0};
    const std::string target = platform::WideToUtf8(path.view());
    if (target.empty()) return Fail(error, path, ENOENT);
    const std::string temp = target + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    mode_t mode = 0666;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) mode = st.st_mode & 07777;
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) return Fail(error, path, errno);
    size_t done = 0;
    int err = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            err = errno;
            break;
        }
        done += size_t(n);
    }
    if (!err && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && !err) err = errno;
    if (!err && ::rename(temp.c_str(), target.c_str()) != 0) err = errno;
    if (err) {
        ::unlink(temp.c_str());
        return Fail(error, path, err);
    }
    return true;
}
