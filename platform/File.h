#pragma once
// The framework's file class on POSIX descriptors. Paths are CString with "/" separators and
// go to the system as UTF-8. Failures throw CFileException (by pointer, as the framework
// does); Open() reports them without throwing for callers that test the result.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/CString.h"
#include "platform/Exception.h"

class CFileException : public CException {
public:
    enum Cause {
        none = 0,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile,
    };

    CFileException(int cause = none, long osError = -1, const CString& fileName = CString())
        : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}

    // The cause that fits a system error number (errno).
    static int CauseFromErrno(int err);
    // Throws a new exception for `err` (errno) on `path`.
    [[noreturn]] static void ThrowErrno(int err, const CString& path);

    // A sentence a user can act on: what went wrong, with the file's path and the system's
    // reason when there is one.
    CString GetErrorMessage() const override;
    using CException::GetErrorMessage;

    int m_cause;
    long m_lOsError;  // errno, or -1 when there is none
    CString m_strFileName;
};

class CFile {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,     // create; empties an existing file unless modeNoTruncate
        modeNoTruncate = 0x2000,
        typeText = 0x4000,       // accepted and ignored: files are always binary here
        typeBinary = 0x8000,
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile() = default;
    // Opens or throws CFileException.
    CFile(const CString& path, unsigned flags);
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    CFile(CFile&& o) noexcept;
    CFile& operator=(CFile&& o) noexcept;

    // False (with the reason in `error` when given) when the file cannot be opened.
    bool Open(const CString& path, unsigned flags, CFileException* error = nullptr);
    bool IsOpen() const { return m_fd >= 0; }

    // Reads up to `count` bytes; fewer only at the end of the file.
    size_t Read(void* buffer, size_t count);
    // Writes all `count` bytes or throws (a full disk throws diskFull).
    void Write(const void* buffer, size_t count);
    void Write(std::string_view bytes) { Write(bytes.data(), bytes.size()); }

    uint64_t Seek(int64_t offset, unsigned from);
    void SeekToBegin() { Seek(0, begin); }
    uint64_t SeekToEnd() { return Seek(0, end); }
    uint64_t GetPosition() const;
    uint64_t GetLength() const;
    void SetLength(uint64_t length);
    // Pushes the written bytes to the disk (fsync).
    void Flush();
    // Closes; throws when the system reports that written data was lost.
    void Close();
    // Closes, ignoring every error.
    void Abort() noexcept;

    const CString& GetFilePath() const { return m_path; }
    int Handle() const { return m_fd; }

private:
    [[noreturn]] void Fail(int err) const;
    int m_fd = -1;
    CString m_path;
};

namespace platform {

// The whole file's bytes, or CFileException.
std::string ReadFileBytes(const CString& path);

}  // namespace platform
