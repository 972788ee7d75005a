#include "platform/File.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "platform/Encoding.h"

using platform::Utf8ToWide;
using platform::WideToUtf8;

int CFileException::CauseFromErrno(int err) {
    switch (err) {
        case 0: return none;
        case ENOENT: return fileNotFound;
        case ENOTDIR: case ENAMETOOLONG: case ELOOP: case EINVAL: return badPath;
        case EACCES: case EPERM: case EROFS: return accessDenied;
        case EISDIR: case EBADF: return invalidFile;
        case EMFILE: case ENFILE: return tooManyOpenFiles;
        case ENOSPC: case EDQUOT: case EFBIG: return diskFull;
        case EBUSY: case ETXTBSY: return sharingViolation;
        case EAGAIN: return lockViolation;
        case EIO: return hardIO;
        case ESPIPE: return badSeek;
        default: return genericException;
    }
}

void CFileException::ThrowErrno(int err, const CString& path) {
    throw new CFileException(CauseFromErrno(err), err, path);
}

CString CFileException::GetErrorMessage() const {
    const wchar_t* what = L"Ошибка при работе с файлом";
    switch (m_cause) {
        case fileNotFound: what = L"Файл не найден"; break;
        case badPath: what = L"Неверный путь к файлу"; break;
        case tooManyOpenFiles: what = L"Открыто слишком много файлов"; break;
        case accessDenied: what = L"Нет доступа к файлу"; break;
        case invalidFile: what = L"Недопустимый файл"; break;
        case removeCurrentDir: what = L"Нельзя удалить текущую папку"; break;
        case directoryFull: what = L"Папка переполнена"; break;
        case badSeek: what = L"Ошибка позиционирования в файле"; break;
        case hardIO: what = L"Ошибка ввода-вывода в файле"; break;
        case sharingViolation: what = L"Файл занят другой программой"; break;
        case lockViolation: what = L"Файл заблокирован"; break;
        case diskFull: what = L"Недостаточно места на диске для файла"; break;
        case endOfFile: what = L"Неожиданный конец файла"; break;
        default: break;
    }
    CString text(what);
    if (!m_strFileName.IsEmpty()) text += L": " + m_strFileName;
    // The cause alone says little for these; the system's own words help.
    if ((m_cause == genericException || m_cause == hardIO || m_cause == none) && m_lOsError > 0)
        text += L" (" + CString(Utf8ToWide(std::strerror(int(m_lOsError)))) + L")";
    return text;
}

CFile::CFile(const CString& path, unsigned flags) {
    CFileException e;
    if (!Open(path, flags, &e)) throw new CFileException(e);
}

CFile::~CFile() { Abort(); }

CFile::CFile(CFile&& o) noexcept : m_fd(std::exchange(o.m_fd, -1)), m_path(std::move(o.m_path)) {}

CFile& CFile::operator=(CFile&& o) noexcept {
    if (this != &o) {
        Abort();
        m_fd = std::exchange(o.m_fd, -1);
        m_path = std::move(o.m_path);
    }
    return *this;
}

bool CFile::Open(const CString& path, unsigned flags, CFileException* error) {
    Abort();
    int oflags = O_CLOEXEC;
    switch (flags & 3) {
        case modeWrite: oflags |= O_WRONLY; break;
        case modeReadWrite: oflags |= O_RDWR; break;
        default: oflags |= O_RDONLY; break;
    }
    if (flags & modeCreate) {
        oflags |= O_CREAT;
        if (!(flags & modeNoTruncate)) oflags |= O_TRUNC;
    }
    auto fail = [&](int err) {
        if (error) *error = CFileException(CFileException::CauseFromErrno(err), err, path);
        return false;
    };
    if (path.IsEmpty()) return fail(ENOENT);
    int fd = ::open(WideToUtf8(path.view()).c_str(), oflags, 0666);
    if (fd < 0) return fail(errno);
    struct stat st{};
    if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        return fail(EISDIR);
    }
    m_fd = fd;
    m_path = path;
    return true;
}

void CFile::Fail(int err) const { CFileException::ThrowErrno(err, m_path); }

size_t CFile::Read(void* buffer, size_t count) {
    if (m_fd < 0) Fail(EBADF);
    size_t done = 0;
    auto* p = static_cast<char*>(buffer);
    while (done < count) {
        ssize_t n = ::read(m_fd, p + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail(errno);
        }
        if (n == 0) break;
        done += size_t(n);
    }
    return done;
}

void CFile::Write(const void* buffer, size_t count) {
    if (m_fd < 0) Fail(EBADF);
    size_t done = 0;
    const auto* p = static_cast<const char*>(buffer);
    while (done < count) {
        ssize_t n = ::write(m_fd, p + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail(errno);
        }
        if (n == 0) Fail(ENOSPC);
        done += size_t(n);
    }
}

uint64_t CFile::Seek(int64_t offset, unsigned from) {
    if (m_fd < 0) Fail(EBADF);
    int whence = from == current ? SEEK_CUR : from == end ? SEEK_END : SEEK_SET;
    off_t r = ::lseek(m_fd, off_t(offset), whence);
    if (r < 0) {
        int e = errno;
        throw new CFileException(CFileException::badSeek, e, m_path);
    }
    return uint64_t(r);
}

uint64_t CFile::GetPosition() const {
    if (m_fd < 0) Fail(EBADF);
    off_t r = ::lseek(m_fd, 0, SEEK_CUR);
    if (r < 0) Fail(errno);
    return uint64_t(r);
}

uint64_t CFile::GetLength() const {
    if (m_fd < 0) Fail(EBADF);
    struct stat st{};
    if (fstat(m_fd, &st) != 0) Fail(errno);
    return uint64_t(st.st_size);
}

void CFile::SetLength(uint64_t length) {
    if (m_fd < 0) Fail(EBADF);
    while (::ftruncate(m_fd, off_t(length)) != 0)
        if (errno != EINTR) Fail(errno);
}

void CFile::Flush() {
    if (m_fd < 0) Fail(EBADF);
    if (::fsync(m_fd) != 0 && errno != EINVAL && errno != EROFS) Fail(errno);
}

void CFile::Close() {
    if (m_fd < 0) return;
    int fd = std::exchange(m_fd, -1);
    // A failed close may mean lost data (NFS, quotas); the caller must hear of it. The
    // descriptor is released either way.
    if (::close(fd) != 0 && errno != EINTR) Fail(errno);
}

void CFile::Abort() noexcept {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

namespace platform {

std::string ReadFileBytes(const CString& path) {
    CFile f(path, CFile::modeRead);
    std::string bytes;
    uint64_t len = f.GetLength();
    bytes.resize(size_t(len));
    size_t n = f.Read(bytes.data(), bytes.size());
    bytes.resize(n);
    // A file that grows while it is read (a log) is read to its current end.
    char chunk[65536];
    while (size_t m = f.Read(chunk, sizeof chunk)) bytes.append(chunk, m);
    return bytes;
}

}  // namespace platform
