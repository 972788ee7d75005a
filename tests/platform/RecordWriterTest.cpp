#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "TestUtil.h"
#include "platform/Encoding.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/RecordWriter.h"

// A record of several files saved as one step: refused, failing, killed or racing, it is
// always the old record or the new one, and nothing of the save is left behind.

using testutil::ReadFile;
using testutil::TempDir;
using testutil::WriteFile;

namespace {

CString W(const std::string& s) { return CString(platform::Utf8ToWide(s)); }

const char* const kMembers[] = {"rec.dat", "rec.hdr", "rec.set", "rec.cfg"};

// Every file of the record holds its own name and the version's tag, so that a record mixed
// from two saves shows.
std::string Content(const std::string& name, const std::string& tag) { return name + ":" + tag + "\n"; }

void WriteVersion(const TempDir& dir, const std::string& tag) {
    for (const char* m : kMembers) WriteFile(dir.File(m), Content(m, tag));
}

void SaveVersion(const TempDir& dir, const std::string& tag) {
    platform::RecordWriter w(W(dir.File("rec.cfg")));
    // The main file is added first: it is still the last one put in place.
    w.Add(W(dir.File("rec.cfg")), Content("rec.cfg", tag));
    for (const char* m : {"rec.dat", "rec.hdr", "rec.set"}) w.Add(W(dir.File(m)), Content(m, tag));
    w.Commit();
}

// The tag all files of the record share, or "mixed".
std::string VersionOf(const TempDir& dir) {
    std::string tag;
    for (const char* m : kMembers) {
        const std::string text = ReadFile(dir.File(m));
        const std::string prefix = std::string(m) + ":";
        if (text.compare(0, prefix.size(), prefix) != 0) return "mixed";
        const std::string t = text.substr(prefix.size(), text.size() - prefix.size() - 1);
        if (!tag.empty() && t != tag) return "mixed";
        tag = t;
    }
    return tag;
}

// Files of the folder that are not the record's own (temporary files, journals, locks).
std::vector<std::string> Leftovers(const TempDir& dir) {
    std::vector<std::string> extra;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
        const std::string name = e.path().filename().string();
        bool member = false;
        for (const char* m : kMembers) member = member || name == m;
        if (!member) extra.push_back(name);
    }
    return extra;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string s;
    for (const auto& n : names) s += n + " ";
    return s;
}

// The steps a save passes, counted; the hook acts at the one chosen.
int g_calls = 0;
int g_failAt = -1;
bool g_kill = false;
platform::SaveStep g_failedStep{};

void StepHook(platform::SaveStep step, const CString& target) {
    if (g_calls++ != g_failAt) return;
    g_failedStep = step;
    if (g_kill) ::_exit(9);
    // What a full disk gives.
    CFileException::ThrowErrno(ENOSPC, target);
}

struct HookGuard {
    HookGuard() {
        g_calls = 0;
        platform::SetSaveStepHook(StepHook);
    }
    ~HookGuard() {
        platform::SetSaveStepHook(nullptr);
        g_failAt = -1;
        g_kill = false;
    }
};

}  // namespace

TEST(RecordWriter, ProtectedMemberRefusesTheWholeSave) {
    for (const char* protectedFile : {"rec.hdr", "rec.set", "rec.cfg"}) {
        TempDir dir;
        WriteVersion(dir, "old");
        ASSERT_EQ(chmod(dir.File(protectedFile).c_str(), 0444), 0);
        platform::RecordWriter w(W(dir.File("rec.cfg")));
        for (const char* m : kMembers) w.Add(W(dir.File(m)), Content(m, "new"));
        try {
            w.Commit();
            ADD_FAILURE() << protectedFile << ": the save went through";
        } catch (CFileException* e) {
            EXPECT_EQ(e->m_cause, CFileException::accessDenied);
            EXPECT_EQ(e->m_strFileName, W(dir.File(protectedFile)));
            e->Delete();
        }
        EXPECT_TRUE(w.Replaced().empty());
        EXPECT_EQ(w.NotReplaced().size(), 4u);
        EXPECT_EQ(VersionOf(dir), "old") << protectedFile;
        EXPECT_EQ(Leftovers(dir), std::vector<std::string>{".rec.cfg.lock"}) << protectedFile;
    }
}

TEST(RecordWriter, FullDiskAtEachStepLeavesTheOldRecord) {
    TempDir dir;
    WriteVersion(dir, "old");
    HookGuard hook;
    // Steps before the first rename: each file made, written and flushed, and the journal.
    for (int step = 0;; ++step) {
        g_calls = 0;
        g_failAt = step;
        try {
            SaveVersion(dir, "new");
            break;
        } catch (CFileException* e) {
            EXPECT_EQ(e->m_cause, CFileException::diskFull);
            e->Delete();
        }
        if (g_failedStep == platform::SaveStep::Rename) break;
        EXPECT_EQ(VersionOf(dir), "old") << "step " << step;
        EXPECT_TRUE(Leftovers(dir).empty()) << "step " << step << ": " << Joined(Leftovers(dir));
        ASSERT_LT(step, 100);
    }
}

TEST(RecordWriter, RenameFailureSaysWhichFilesAreNew) {
    TempDir dir;
    WriteVersion(dir, "old");
    HookGuard hook;
    // Counts the steps up to the second rename: 3 per file (create, write, flush) for four
    // files, the journal, then the renames.
    g_failAt = 4 * 3 + 1 + 1;
    platform::RecordWriter w(W(dir.File("rec.cfg")));
    for (const char* m : kMembers) w.Add(W(dir.File(m)), Content(m, "new"));
    try {
        w.Commit();
        ADD_FAILURE() << "the save went through";
    } catch (CFileException* e) {
        e->Delete();
    }
    ASSERT_EQ(g_failedStep, platform::SaveStep::Rename);
    ASSERT_EQ(w.Replaced().size(), 1u);
    EXPECT_EQ(w.Replaced()[0], W(dir.File("rec.dat")));
    const std::vector<CString> rest = w.NotReplaced();
    ASSERT_EQ(rest.size(), 3u);
    EXPECT_EQ(rest.back(), W(dir.File("rec.cfg")));
    EXPECT_EQ(ReadFile(dir.File("rec.cfg")), Content("rec.cfg", "old"));
}

TEST(RecordWriter, SaveKilledAtEachStepIsTheOldOrTheNewRecord) {
    bool reachedNew = false;
    for (int step = 0; !reachedNew; ++step) {
        ASSERT_LT(step, 100);
        TempDir dir;
        WriteVersion(dir, "old");
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            g_calls = 0;
            g_failAt = step;
            g_kill = true;
            platform::SetSaveStepHook(StepHook);
            try {
                SaveVersion(dir, "new");
            } catch (CFileException*) {
                ::_exit(2);
            }
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        const int code = WEXITSTATUS(status);
        ASSERT_TRUE(code == 9 || code == 0) << "step " << step << " exit " << code;
        reachedNew = code == 0;
        // The next open of the record finishes or drops what the killed save left.
        platform::TidyRecord(W(dir.File("rec.cfg")));
        const std::string version = VersionOf(dir);
        EXPECT_TRUE(version == "old" || version == "new") << "step " << step << ": " << version;
        EXPECT_TRUE(Leftovers(dir).empty()) << "step " << step << ": " << Joined(Leftovers(dir));
    }
}

TEST(RecordWriter, NextSaveRemovesWhatKilledSavesLeft) {
    TempDir dir;
    WriteVersion(dir, "old");
    // A process that has ended: its pid from a child that exited.
    const pid_t gone = fork();
    if (gone == 0) ::_exit(0);
    waitpid(gone, nullptr, 0);
    const std::string dead = std::to_string(gone);
    WriteFile(dir.File(".rec.dat." + dead + ".0.tmp"), "half a data file");
    WriteFile(dir.File(".rec.cfg." + dead + ".1.tmp"), "half a configuration");
    WriteFile(dir.File(".rec.cfg.lock"), "");
    // Not ours to remove: a save that still runs (process 1 lives), another record's file,
    // a file of another naming.
    WriteFile(dir.File(".rec.dat.1.0.tmp"), "running");
    WriteFile(dir.File(".record.dat." + dead + ".0.tmp"), "another record");
    WriteFile(dir.File(".rec.dat.tmp"), "not our naming");
    SaveVersion(dir, "new");
    EXPECT_EQ(VersionOf(dir), "new");
    std::vector<std::string> left = Leftovers(dir);
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{".rec.dat.1.0.tmp", ".rec.dat.tmp", ".record.dat." + dead + ".0.tmp"}));
}

TEST(RecordWriter, ConcurrentSavesNeverMixTheRecord) {
    TempDir dir;
    WriteVersion(dir, "old");
    // One save is slow to put its configuration in place, the other to begin its renames:
    // without a lock the first one's configuration lands over the second one's data.
    static int child = 0;
    auto slow = [](platform::SaveStep step, const CString& target) {
        if (step != platform::SaveStep::Rename) return;
        const bool cfg = platform::PathExtension(target) == L".cfg", dat = platform::PathExtension(target) == L".dat";
        if ((child == 0 && cfg) || (child == 1 && dat)) ::usleep(child == 0 ? 30000 : 15000);
    };
    for (int round = 0; round < 15; ++round) {
        // Both start together, once the parent closes the pipe.
        int start[2];
        ASSERT_EQ(pipe(start), 0);
        pid_t children[2];
        for (int k = 0; k < 2; ++k) {
            children[k] = fork();
            ASSERT_GE(children[k], 0);
            if (children[k] == 0) {
                ::close(start[1]);
                char c;
                while (::read(start[0], &c, 1) > 0) {
                }
                child = k;
                platform::SetSaveStepHook(slow);
                try {
                    SaveVersion(dir, k == 0 ? "A" : "B");
                } catch (CFileException*) {
                    ::_exit(1);
                }
                ::_exit(0);
            }
        }
        ::close(start[0]);
        ::close(start[1]);
        for (pid_t c : children) {
            int status = 0;
            ASSERT_EQ(waitpid(c, &status, 0), c);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "round " << round;
        }
        const std::string version = VersionOf(dir);
        ASSERT_TRUE(version == "A" || version == "B") << "round " << round << ": " << version;
        ASSERT_TRUE(Leftovers(dir).empty()) << "round " << round << ": " << Joined(Leftovers(dir));
    }
}

TEST(RecordWriter, SavesOfOneRecordWaitForEachOther) {
    TempDir dir;
    WriteVersion(dir, "old");
    const CString main = W(dir.File("rec.cfg"));
    auto held = std::make_unique<platform::RecordLock>(main);
    EXPECT_EQ(platform::RecordLock::TryTake(main, 50), nullptr);
    // Another record in the same folder is not held up.
    EXPECT_NE(platform::RecordLock::TryTake(W(dir.File("other.cfg")), 0), nullptr);
    held.reset();
    EXPECT_NE(platform::RecordLock::TryTake(main, 0), nullptr);
    EXPECT_TRUE(Leftovers(dir).empty()) << Joined(Leftovers(dir));
}
