#include "platform/RecordWriter.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "platform/Encoding.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

namespace platform {
namespace {

// A save that another instance keeps running longer than this is taken for a hung one (a
// network folder gone away, say), and this save gives up rather than wait for ever.
constexpr int kSaveWaitMs = 120000;
// A temporary file whose writer still runs is left alone, unless it is older than any save.
constexpr time_t kStaleAge = 24 * 3600;

std::string Narrow(const CString& s) { return WideToUtf8(s.view()); }

CString JournalPath(const CString& mainPath) {
    return JoinPath(PathFolder(mainPath), L"." + PathFileName(mainPath) + L".commit");
}

bool AllDigits(const std::wstring& s) {
    if (s.empty()) return false;
    for (wchar_t c : s)
        if (c < L'0' || c > L'9') return false;
    return true;
}

// A temporary file our writer makes for a file of the record named `stem` plus an extension:
// ".<stem>.<ext>.<pid>.<n>.tmp". Gives the writer's process.
bool IsRecordTemp(const std::wstring& name, const std::wstring& stem, long& pid) {
    const std::wstring head = L"." + stem + L".", tail = L".tmp";
    if (name.size() <= head.size() + tail.size() || name.compare(0, head.size(), head) != 0 ||
        name.compare(name.size() - tail.size(), tail.size(), tail) != 0)
        return false;
    const std::wstring rest = name.substr(head.size(), name.size() - head.size() - tail.size());
    const size_t a = rest.find(L'.');
    if (a == 0 || a == std::wstring::npos) return false;
    const size_t b = rest.find(L'.', a + 1);
    if (b == std::wstring::npos || rest.find(L'.', b + 1) != std::wstring::npos) return false;
    const std::wstring p = rest.substr(a + 1, b - a - 1), n = rest.substr(b + 1);
    if (!AllDigits(p) || !AllDigits(n) || p.size() > 9) return false;
    pid = std::stol(p);
    return true;
}

// The temporary file `temp` is one our writer made for `target`, beside it.
bool IsTempOf(const CString& temp, const CString& target) {
    if (PathFolder(temp) != PathFolder(target)) return false;
    const std::wstring name = PathFileName(temp).str(), file = PathFileName(target).str();
    long pid = 0;
    const std::wstring stem = PathTitle(target).str();
    return name.compare(0, file.size() + 2, L"." + file + L".") == 0 && IsRecordTemp(name, stem, pid);
}

bool WriterGone(long pid, const std::string& path) {
    if (pid == long(::getpid())) return false;
    struct stat st{};
    if (::stat(path.c_str(), &st) != 0) return false;
    if (std::time(nullptr) - st.st_mtime > kStaleAge) return true;
    return pid <= 0 || (::kill(pid_t(pid), 0) != 0 && errno == ESRCH);
}

struct Rename {
    CString from, to;
};

// The journal lists the renames of a save whose temporary files are all complete; its last
// line says that the list is whole.
bool ReadJournal(const CString& path, std::vector<Rename>& renames) {
    std::string text;
    try {
        text = ReadFileBytes(path);
    } catch (CFileException* e) {
        e->Delete();
        return false;
    }
    size_t pos = 0;
    bool ended = false;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) break;
        const std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        if (line == "end") {
            ended = pos == text.size();
            break;
        }
        const size_t tab = line.find('\t');
        if (tab == std::string::npos) return false;
        renames.push_back({CString(Utf8ToWide(line.substr(0, tab))), CString(Utf8ToWide(line.substr(tab + 1)))});
    }
    return ended;
}

void WriteJournal(const CString& path, const std::vector<Rename>& renames) {
    std::string text;
    for (const Rename& r : renames) text += Narrow(r.from) + '\t' + Narrow(r.to) + '\n';
    text += "end\n";
    SaveStepReached(SaveStep::Write, path);
    CFile f(path, CFile::modeCreate | CFile::modeWrite);
    try {
        f.Write(text);
        f.Flush();
        f.Close();
    } catch (CFileException*) {
        f.Abort();
        RemoveFile(path);
        throw;
    }
}

// Under the record's lock: the renames of a killed save are finished (its files were all
// complete when its journal was written), then what killed saves left is removed.
void TidyLocked(const CString& mainPath) {
    const CString journal = JournalPath(mainPath);
    if (PathExists(journal)) {
        std::vector<Rename> renames;
        if (ReadJournal(journal, renames)) {
            for (const Rename& r : renames)
                if (IsTempOf(r.from, r.to) && FileExists(r.from)) RenamePath(r.from, r.to);
        }
        RemoveFile(journal);
    }
    const CString folder = PathFolder(mainPath);
    std::vector<FolderEntry> entries;
    if (!ListFolder(folder.IsEmpty() ? CString(L".") : folder, entries)) return;
    const std::wstring stem = PathTitle(mainPath).str();
    for (const FolderEntry& e : entries) {
        long pid = 0;
        if (e.isFolder || e.isLink || !IsRecordTemp(e.name.str(), stem, pid)) continue;
        const CString path = JoinPath(folder, e.name);
        if (WriterGone(pid, Narrow(path))) RemoveFile(path);
    }
}

bool NeedsTidy(const CString& mainPath) {
    if (PathExists(JournalPath(mainPath)) || PathExists(RecordLock::PathFor(mainPath))) return true;
    const CString folder = PathFolder(mainPath);
    std::vector<FolderEntry> entries;
    if (!ListFolder(folder.IsEmpty() ? CString(L".") : folder, entries)) return false;
    const std::wstring stem = PathTitle(mainPath).str();
    for (const FolderEntry& e : entries) {
        long pid = 0;
        if (!e.isFolder && IsRecordTemp(e.name.str(), stem, pid)) return true;
    }
    return false;
}

}  // namespace

// ---- RecordLock ------------------------------------------------------------------------

CString RecordLock::PathFor(const CString& mainPath) {
    return JoinPath(PathFolder(mainPath), L"." + PathFileName(mainPath) + L".lock");
}

RecordLock::RecordLock(const CString& mainPath) {
    int err = 0;
    if (!Take(mainPath, kSaveWaitMs, &err)) CFileException::ThrowErrno(err ? err : EBUSY, mainPath);
}

std::unique_ptr<RecordLock> RecordLock::TryTake(const CString& mainPath, int waitMs) {
    std::unique_ptr<RecordLock> lock(new RecordLock());
    int err = 0;
    if (!lock->Take(mainPath, waitMs, &err)) return nullptr;
    return lock;
}

bool RecordLock::Take(const CString& mainPath, int waitMs, int* err) {
    m_path = PathFor(mainPath);
    const std::string path = Narrow(m_path);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        // Read access is enough for the lock, so that a lock file another user made serves too.
        const int fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) {
            *err = errno;
            return false;
        }
        bool locked = false;
        for (;;) {
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
                locked = true;
                break;
            }
            const int e = errno;
            if (e == EINTR) continue;
            // A file system without locks: the save goes on unserialised, as it always did.
            if (e == ENOLCK || e == EOPNOTSUPP || e == ENOSYS) {
                locked = true;
                break;
            }
            if (e != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
                ::close(fd);
                *err = e == EWOULDBLOCK ? EBUSY : e;
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        // The save that held the lock removes its file on the way out: a lock taken on a file
        // no longer at the path serialises nothing.
        struct stat held{}, now{};
        if (locked && ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &now) == 0 && held.st_dev == now.st_dev &&
            held.st_ino == now.st_ino) {
            m_fd = fd;
            return true;
        }
        ::close(fd);
    }
}

RecordLock::~RecordLock() {
    if (m_fd < 0) return;
    ::unlink(Narrow(m_path).c_str());
    ::close(m_fd);
}

// ---- RecordWriter ----------------------------------------------------------------------

RecordWriter::RecordWriter(const CString& mainPath) : m_main(mainPath), m_lock(mainPath) { TidyLocked(mainPath); }

RecordWriter::~RecordWriter() {
    // Temporary files not put in place go with their writers, before the lock is let go.
    m_members.clear();
}

void RecordWriter::Add(const CString& path, std::string bytes) {
    Member m;
    m.path = path;
    m.bytes = std::move(bytes);
    m_members.push_back(std::move(m));
    m_paths.push_back(path);
}

AtomicFileWriter& RecordWriter::Open(const CString& path) {
    Member m;
    m.path = path;
    m.file = std::make_unique<AtomicFileWriter>(path);
    m_members.push_back(std::move(m));
    m_paths.push_back(path);
    return *m_members.back().file;
}

std::vector<CString> RecordWriter::NotReplaced() const {
    std::vector<CString> rest;
    for (const CString& p : m_paths) {
        bool done = false;
        for (const CString& r : m_replaced) done = done || r == p;
        if (!done) rest.push_back(p);
    }
    return rest;
}

void RecordWriter::Commit() {
    if (m_committed) throw new CFileException(CFileException::genericException, -1, m_main);
    m_committed = true;
    const CString journal = JournalPath(m_main);
    bool journalWritten = false;
    try {
        // Every target is asked first: a refusal costs nothing and changes nothing.
        for (const Member& m : m_members)
            if (!m.file) AtomicFileWriter::CheckTarget(m.path);
        for (Member& m : m_members) {
            if (m.file) continue;
            m.file = std::make_unique<AtomicFileWriter>(m.path);
            m.file->Write(m.bytes);
            std::string().swap(m.bytes);
        }
        for (Member& m : m_members) m.file->Prepare();

        // The main file last: until it is replaced, the record reads as the old one.
        std::vector<Member*> order;
        for (Member& m : m_members)
            if (m.path != m_main) order.push_back(&m);
        for (Member& m : m_members)
            if (m.path == m_main) order.push_back(&m);
        if (order.size() > 1) {
            std::vector<Rename> renames;
            for (Member* m : order) renames.push_back({m->file->TempPath(), m->file->Target()});
            WriteJournal(journal, renames);
            journalWritten = true;
            SyncFolder(PathFolder(m_main));
        }
        for (Member* m : order) {
            m->file->Rename();
            m_replaced.push_back(m->path);
        }
        SaveStepReached(SaveStep::Finish, m_main);
    } catch (CFileException*) {
        if (journalWritten) RemoveFile(journal);
        m_members.clear();
        throw;
    }
    if (journalWritten) RemoveFile(journal);
    m_members.clear();
}

void TidyRecord(const CString& mainPath) {
    if (!NeedsTidy(mainPath)) return;
    // A save that runs now is waited for a moment: its temporary files are its own.
    if (auto lock = RecordLock::TryTake(mainPath, 2000)) TidyLocked(mainPath);
}

}  // namespace platform
