#pragma once
// Saving without ever losing the user's file: the new content goes to a temporary file beside
// the target, is pushed to the disk, and only a complete write is renamed over the target.
// Until Commit() succeeds the target is untouched; a failure, an exception or a writer
// destroyed without Commit() removes the temporary file and leaves the old file as it was.
#include <string_view>

#include "platform/CString.h"
#include "platform/File.h"

namespace platform {

class AtomicFileWriter {
public:
    // Creates the temporary file beside `target`; throws CFileException when it cannot.
    explicit AtomicFileWriter(const CString& target);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // The temporary file, open for writing (for code that writes through a CFile).
    CFile& File() { return m_file; }
    void Write(const void* data, size_t count);
    void Write(std::string_view bytes) { Write(bytes.data(), bytes.size()); }

    // Flushes, closes and renames over the target; throws CFileException (naming the
    // target) when any step fails, in which case the target is unchanged. A new target
    // gets the usual permissions, a replaced one keeps its own.
    void Commit();
    // Drops what was written; the target stays as it was.
    void Abort() noexcept;

    const CString& Target() const { return m_target; }
    const CString& TempPath() const { return m_temp; }

private:
    CString m_target;  // the real file when the target is a link, so the link survives
    CString m_temp;
    CFile m_file;
    bool m_done = false;
};

// Replaces the file at `path` by `bytes` as above; throws CFileException.
void WriteFileAtomically(const CString& path, std::string_view bytes);
// The same without throwing: false, with the message for the user in `error`, on failure.
bool TryWriteFileAtomically(const CString& path, std::string_view bytes, CString* error = nullptr);

}  // namespace platform
