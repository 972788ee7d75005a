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
    // Commit in two halves, for files that must all be complete before any replaces its
    // target: Prepare() pushes the temporary file to the disk, closes it and checks again
    // that the target may be replaced; Rename() puts it in place.
    void Prepare();
    void Rename();
    // Drops what was written; the target stays as it was.
    void Abort() noexcept;

    // Throws the CFileException the constructor would for `target` (a folder, a file the user
    // may not replace), without making anything.
    static void CheckTarget(const CString& target);

    const CString& Target() const { return m_target; }
    const CString& TempPath() const { return m_temp; }

private:
    CString m_target;  // the real file when the target is a link, so the link survives
    CString m_temp;
    CFile m_file;
    bool m_prepared = false;
    bool m_done = false;
};

// The steps of a save, for a test that makes one fail (as a full disk or a refusal would)
// or ends the process there (as a kill would). The hook is called before the step on the
// file the user sees; it may throw the CFileException the system would give there.
enum class SaveStep { CreateTemp, Write, Flush, Rename, Finish };
using SaveStepHook = void (*)(SaveStep step, const CString& target);
void SetSaveStepHook(SaveStepHook hook);
// Calls the hook set, if any.
void SaveStepReached(SaveStep step, const CString& target);

// Pushes a folder's entries (a rename in it) to the disk.
void SyncFolder(const CString& folder);

// Replaces the file at `path` by `bytes` as above; throws CFileException.
void WriteFileAtomically(const CString& path, std::string_view bytes);
// The same without throwing: false, with the message for the user in `error`, on failure.
bool TryWriteFileAtomically(const CString& path, std::string_view bytes, CString* error = nullptr);

}  // namespace platform
