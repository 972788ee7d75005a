#include "platform/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Encoding.h"
#include "platform/FileSystem.h"

namespace platform {
namespace {

std::atomic<SaveStepHook> g_saveStepHook{nullptr};

// A link is resolved so that the rename replaces the file it points to, not the link.
CString ResolveTarget(const CString& path) {
    std::string p = WideToUtf8(path.view());
    struct stat st{};
    if (::lstat(p.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(p.c_str(), nullptr)) {
            CString r(Utf8ToWide(real));
            std::free(real);
            return r;
        }
    }
    return path;
}

// The temporary file is created with the usual permissions (the umask applies), so that a new
// target looks like any other file the user saves.
CString CreateTempBeside(const CString& target, int& fd, int& err) {
    static std::atomic<unsigned> counter{0};
    CString folder = PathFolder(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        CString name;
        name.Format(L".%s.%d.%u.tmp", PathFileName(target).GetString(), int(getpid()), counter++);
        CString path = JoinPath(folder, name);
        fd = ::open(WideToUtf8(path.view()).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return path;
        err = errno;
        if (err != EEXIST) break;
    }
    return CString();
}

// The rename that commits a save needs only the folder's permission, so it would replace a
// file its owner protected. A file is replaced only when the user may write it: the kernel's
// own check (with its lists of access rights) for an ordinary user; for root, who passes
// that check for every file, a file that nobody may write stays as it is.
bool MayReplace(const std::string& target) {
    struct stat st{};
    if (::stat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return true;
    if (::geteuid() == 0) return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    return ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0;
}

}  // namespace

void SyncFolder(const CString& folder) {
    int fd = ::open(WideToUtf8((folder.IsEmpty() ? CString(L".") : folder).view()).c_str(),
                    O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void SetSaveStepHook(SaveStepHook hook) { g_saveStepHook = hook; }

void SaveStepReached(SaveStep step, const CString& target) {
    if (SaveStepHook hook = g_saveStepHook.load()) hook(step, target);
}

void AtomicFileWriter::CheckTarget(const CString& target) {
    const CString resolved = ResolveTarget(target);
    if (resolved.IsEmpty()) CFileException::ThrowErrno(ENOENT, target);
    if (FolderExists(resolved)) throw new CFileException(CFileException::invalidFile, EISDIR, target);
    if (!MayReplace(WideToUtf8(resolved.view()))) CFileException::ThrowErrno(EACCES, target);
}

AtomicFileWriter::AtomicFileWriter(const CString& target) : m_target(ResolveTarget(target)) {
    CheckTarget(target);
    SaveStepReached(SaveStep::CreateTemp, m_target);
    int err = 0, fd = -1;
    m_temp = CreateTempBeside(m_target, fd, err);
    if (m_temp.IsEmpty()) CFileException::ThrowErrno(err ? err : EIO, target);
    ::close(fd);
    CFileException e;
    if (!m_file.Open(m_temp, CFile::modeWrite, &e)) {
        RemoveFile(m_temp);
        throw new CFileException(e.m_cause, e.m_lOsError, target);
    }
}

void AtomicFileWriter::Write(const void* data, size_t count) {
    try {
        SaveStepReached(SaveStep::Write, m_target);
        m_file.Write(data, count);
    } catch (CFileException* e) {
        e->m_strFileName = m_target;
        throw;
    }
}

AtomicFileWriter::~AtomicFileWriter() { Abort(); }

void AtomicFileWriter::Abort() noexcept {
    if (m_done) return;
    m_done = true;
    m_file.Abort();
    RemoveFile(m_temp);
}

void AtomicFileWriter::Commit() {
    Prepare();
    Rename();
}

void AtomicFileWriter::Prepare() {
    if (m_done || m_prepared) throw new CFileException(CFileException::genericException, -1, m_target);
    try {
        SaveStepReached(SaveStep::Flush, m_target);
        struct stat st{};
        std::string target = WideToUtf8(m_target.view());
        // Protected while the file was being written: refused all the same.
        if (!MayReplace(target)) CFileException::ThrowErrno(EACCES, m_target);
        if (::stat(target.c_str(), &st) == 0 && ::fchmod(m_file.Handle(), st.st_mode & 07777) != 0)
            CFileException::ThrowErrno(errno, m_target);
        m_file.Flush();
        m_file.Close();
    } catch (CFileException* e) {
        Abort();
        // The message names the user's file, not our temporary one.
        e->m_strFileName = m_target;
        throw;
    }
    m_prepared = true;
}

void AtomicFileWriter::Rename() {
    if (m_done || !m_prepared) throw new CFileException(CFileException::genericException, -1, m_target);
    try {
        SaveStepReached(SaveStep::Rename, m_target);
        // Protected since it was prepared: refused all the same.
        if (!MayReplace(WideToUtf8(m_target.view()))) CFileException::ThrowErrno(EACCES, m_target);
        int err = 0;
        if (!RenamePath(m_temp, m_target, &err)) CFileException::ThrowErrno(err, m_target);
    } catch (CFileException* e) {
        Abort();
        e->m_strFileName = m_target;
        throw;
    }
    m_done = true;
    SyncFolder(PathFolder(m_target));
}

void WriteFileAtomically(const CString& path, std::string_view bytes) {
    AtomicFileWriter w(path);
    w.Write(bytes);
    w.Commit();
}

bool TryWriteFileAtomically(const CString& path, std::string_view bytes, CString* error) {
    try {
        WriteFileAtomically(path, bytes);
        return true;
    } catch (CFileException* e) {
        if (error) *error = e->GetErrorMessage();
        e->Delete();
        return false;
    }
}

}  // namespace platform
