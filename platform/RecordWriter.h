#pragma once
// Saving a record of several files (a configuration, its data, header and settings) as one
// step. Every target is checked and every file written in full to a temporary file beside its
// target before the first of them replaces its target; the record's main file is replaced
// last. The renames are listed in a journal beside the record first, so that a save killed
// between its renames is finished by the next open or save of the record rather than leaving
// the new data under the old configuration. Saves of one record, in this process or another,
// wait for each other on an advisory lock beside the record's main file.
#include <memory>
#include <string>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/CString.h"

namespace platform {

// The lock that serialises the saves of the record whose main file is `mainPath`: a lock file
// of our own naming beside it, removed again by the holder.
class RecordLock {
public:
    // Waits until no other save of the record runs; throws CFileException naming the record
    // when the lock file cannot be made or the wait lasts minutes.
    explicit RecordLock(const CString& mainPath);
    // The lock if it is free (or becomes free within `waitMs`); null otherwise, also when the
    // lock file cannot be made (a folder the user may not write).
    static std::unique_ptr<RecordLock> TryTake(const CString& mainPath, int waitMs);
    ~RecordLock();
    RecordLock(const RecordLock&) = delete;
    RecordLock& operator=(const RecordLock&) = delete;

    // The lock file's path for a record.
    static CString PathFor(const CString& mainPath);

private:
    RecordLock() = default;
    bool Take(const CString& mainPath, int waitMs, int* err);

    CString m_path;
    int m_fd = -1;
};

class RecordWriter {
public:
    // Takes the record's lock, finishes a save of it that was killed between its renames and
    // removes the temporary files that killed saves of it left. Throws CFileException.
    explicit RecordWriter(const CString& mainPath);
    ~RecordWriter();
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    // A file of the record with its whole content, written at Commit().
    void Add(const CString& path, std::string bytes);
    // A file of the record written by the caller now, to a temporary file (throws
    // CFileException when its target may not be replaced or the file cannot be made).
    AtomicFileWriter& Open(const CString& path);

    // Checks every target, writes every file added, pushes every temporary file to the disk,
    // then replaces the targets, the main file last. Throws CFileException naming the file
    // that failed; when it comes before the first rename no target has changed, and every
    // temporary file is gone either way. Replaced() and NotReplaced() then tell which
    // targets are new.
    void Commit();

    const std::vector<CString>& Replaced() const { return m_replaced; }
    std::vector<CString> NotReplaced() const;

private:
    struct Member {
        CString path;
        std::string bytes;
        std::unique_ptr<AtomicFileWriter> file;
    };

    CString m_main;
    RecordLock m_lock;
    std::vector<Member> m_members;
    std::vector<CString> m_paths;  // every file of the save, in the order given
    std::vector<CString> m_replaced;
    bool m_committed = false;
};

// Run before a record is opened: finishes a save of it that a killed process left between its
// renames, and removes the temporary files of killed saves of it. Does nothing while a save of
// the record runs or where the user may not write.
void TidyRecord(const CString& mainPath);

}  // namespace platform
