#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "Fixtures.h"
#include "TestUtil.h"
#include "document/RecordDump.h"
#include "document/TenvorikDoc.h"
#include "platform/AtomicFile.h"
#include "platform/Encoding.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

// A record saved over an older one is replaced whole or not at all: a refused, failing, killed
// or racing save leaves a record that opens as the old one or the new one.

using fixtures::DocUi;
using testutil::ReadFile;
using testutil::TempDir;
using testutil::WriteFile;

namespace {

CString W(const std::string& s) { return CString(platform::Utf8ToWide(s)); }
std::string N(const CString& s) { return platform::WideToUtf8(s.view()); }

// The files of the record "rec" in `dir`, name to bytes.
std::vector<std::pair<std::string, std::string>> Files(const TempDir& dir) {
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        if (e.path().filename().string().rfind("rec.", 0) == 0)
            files.emplace_back(e.path().filename().string(), ReadFile(e.path().string()));
    std::sort(files.begin(), files.end());
    return files;
}

// Hidden files: what a save leaves behind when it does not clean up.
std::string Leftovers(const TempDir& dir) {
    std::string names;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        if (e.path().filename().string()[0] == '.') names += e.path().filename().string() + " ";
    return names;
}

std::string DumpOf(const std::string& cfg) {
    CTenvorikDoc doc;
    if (!doc.OnOpenDocument(W(cfg))) return "does not open";
    return DumpRecordJson(doc, true);
}

// An old record "rec" (4 samples, a header, settings) and a newer one "src" (8 samples) to
// save over it.
struct Scene {
    TempDir dir;
    std::string rec, src;
    Scene() {
        rec = fixtures::Write(dir, "rec", fixtures::Ascii1999(4));
        WriteFile(dir.File("rec.hdr"), "old header");
        {
            CTenvorikDoc doc;
            EXPECT_TRUE(doc.OnOpenDocument(W(rec)));
            EXPECT_TRUE(doc.OnSaveDocument(W(rec)));  // writes its settings file
        }
        src = fixtures::Write(dir, "src", fixtures::Ascii1999(8));
    }
};

int g_calls = 0, g_failAt = -1;
bool g_kill = false;
platform::SaveStep g_step{};

void StepHook(platform::SaveStep step, const CString& target) {
    if (g_calls++ != g_failAt) return;
    g_step = step;
    if (g_kill) ::_exit(9);
    CFileException::ThrowErrno(ENOSPC, target);
}

}  // namespace

TEST(RecordSave, ProtectedHeaderOrSettingsRefusesTheWholeSave) {
    for (const char* name : {"rec.hdr", "rec.set"}) {
        Scene s;
        const auto before = Files(s.dir);
        ASSERT_EQ(chmod(s.dir.File(name).c_str(), 0444), 0);
        DocUi ui;
        CTenvorikDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(W(s.src)));
        EXPECT_FALSE(doc.OnSaveDocument(W(s.rec)));
        EXPECT_EQ(Files(s.dir), before) << name;
        ASSERT_EQ(ui.errors.size(), 1u);
        const std::string message = N(ui.errors[0]);
        EXPECT_NE(message.find("Нет доступа к файлу: " + s.dir.File(name)), std::string::npos) << message;
        EXPECT_NE(message.find("Осциллограмма не сохранена; её файлы остались прежними: rec.dat, rec.cfg, rec.hdr, rec.set."),
                  std::string::npos)
            << message;
        EXPECT_EQ(Leftovers(s.dir), "") << name;
    }
}

TEST(RecordSave, ProtectedCffKeepsItsSettingsFile) {
    TempDir dir;
    const std::string src = fixtures::Write(dir, "src", fixtures::Binary32Year2013(6));
    WriteFile(dir.File("rec.cff"), "an older record");
    WriteFile(dir.File("rec.set"), "older settings");
    ASSERT_EQ(chmod(dir.File("rec.cff").c_str(), 0444), 0);
    DocUi ui;
    CTenvorikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(W(src)));
    EXPECT_FALSE(doc.OnSaveDocument(W(dir.File("rec.cff"))));
    EXPECT_EQ(ReadFile(dir.File("rec.set")), "older settings");
    EXPECT_EQ(ReadFile(dir.File("rec.cff")), "an older record");
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(N(ui.errors[0]).find("остались прежними: rec.set, rec.cff."), std::string::npos) << N(ui.errors[0]);
    EXPECT_EQ(Leftovers(dir), "");
}

TEST(RecordSave, FullDiskAtEachStepLeavesTheOldRecord) {
    Scene s;
    const auto before = Files(s.dir);
    DocUi ui;
    CTenvorikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(W(s.src)));
    platform::SetSaveStepHook(StepHook);
    int step = 0;
    for (; step < 100; ++step) {
        g_calls = 0;
        g_failAt = step;
        if (doc.OnSaveDocument(W(s.rec)) || g_step == platform::SaveStep::Rename) break;
        EXPECT_EQ(Files(s.dir), before) << "step " << step;
        EXPECT_EQ(Leftovers(s.dir), "") << "step " << step;
        ASSERT_FALSE(ui.errors.empty());
        EXPECT_NE(N(ui.errors.back()).find("Недостаточно места на диске"), std::string::npos) << N(ui.errors.back());
        EXPECT_NE(N(ui.errors.back()).find("остались прежними"), std::string::npos) << N(ui.errors.back());
    }
    // A rename that fails after another succeeded: the message tells the files apart.
    ASSERT_EQ(g_step, platform::SaveStep::Rename);
    g_calls = 0;
    g_failAt = step + 1;
    EXPECT_FALSE(doc.OnSaveDocument(W(s.rec)));
    EXPECT_NE(N(ui.errors.back())
                  .find("Осциллограмма сохранена не полностью: записаны файлы rec.dat; остались прежними: rec.cfg, "
                        "rec.hdr, rec.set."),
              std::string::npos)
        << N(ui.errors.back());
    EXPECT_EQ(Leftovers(s.dir), "");
    platform::SetSaveStepHook(nullptr);
    g_failAt = -1;
}

TEST(RecordSave, SaveKilledAtEachStepOpensAsTheOldOrTheNewRecord) {
    std::string oldDump, newDump;
    {
        Scene ref;
        oldDump = DumpOf(ref.rec);
        CTenvorikDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(W(ref.src)));
        ASSERT_TRUE(doc.OnSaveDocument(W(ref.dir.File("copy.cfg"))));
        newDump = DumpOf(ref.dir.File("copy.cfg"));
        ASSERT_NE(oldDump, newDump);
    }
    bool finished = false;
    for (int step = 0; !finished; ++step) {
        ASSERT_LT(step, 100);
        Scene s;
        DocUi ui;
        CTenvorikDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(W(s.src)));
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            g_calls = 0;
            g_failAt = step;
            g_kill = true;
            platform::SetSaveStepHook(StepHook);
            ::_exit(doc.OnSaveDocument(W(s.rec)) ? 0 : 2);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        ASSERT_TRUE(WEXITSTATUS(status) == 9 || WEXITSTATUS(status) == 0) << WEXITSTATUS(status);
        finished = WEXITSTATUS(status) == 0;
        const std::string dump = DumpOf(s.rec);
        EXPECT_TRUE(dump == oldDump || dump == newDump) << "step " << step << ":\n" << dump;
        EXPECT_EQ(Leftovers(s.dir), "") << "step " << step;
    }
}

TEST(RecordSave, TwoSavesAtOnceLeaveOneWholeRecord) {
    Scene s;
    const std::string other = fixtures::Write(s.dir, "other", fixtures::Binary1999(5));
    const std::string dumpA = DumpOf(s.src), dumpB = DumpOf(other);
    DocUi ui;
    CTenvorikDoc a, b;
    ASSERT_TRUE(a.OnOpenDocument(W(s.src)));
    ASSERT_TRUE(b.OnOpenDocument(W(other)));
    // One save is slow to put its configuration in place, the other to begin its renames.
    static int child = 0;
    auto slow = [](platform::SaveStep step, const CString& target) {
        if (step != platform::SaveStep::Rename) return;
        const CString ext = platform::PathExtension(target);
        if ((child == 0 && ext == L".cfg") || (child == 1 && ext == L".dat")) ::usleep(child == 0 ? 30000 : 15000);
    };
    for (int round = 0; round < 10; ++round) {
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
                ::_exit((k == 0 ? a : b).OnSaveDocument(W(s.rec)) ? 0 : 1);
            }
        }
        ::close(start[0]);
        ::close(start[1]);
        for (pid_t c : children) {
            int status = 0;
            ASSERT_EQ(waitpid(c, &status, 0), c);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "round " << round;
        }
        const std::string dump = DumpOf(s.rec);
        ASSERT_TRUE(dump == dumpA || dump == dumpB) << "round " << round << ":\n" << dump;
        ASSERT_EQ(Leftovers(s.dir), "") << "round " << round;
    }
}

TEST(RecordSave, RecordWithoutSamplesIsNotWritten) {
    TempDir dir;
    DocUi ui;
    CTenvorikDoc doc;
    for (const char* name : {"empty.cfg", "empty.cff"}) {
        EXPECT_FALSE(doc.OnSaveDocument(W(dir.File(name)))) << name;
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    ASSERT_FALSE(ui.errors.empty());
    EXPECT_NE(N(ui.errors[0]).find("осциллограмма без отсчётов не сохраняется"), std::string::npos) << N(ui.errors[0]);
}

// The settings file keeps a channel's ratio as the configuration gives it, so that it does not
// replace the exact one at the next opening.
TEST(RecordSave, PrimaryRatioReadsBackExactly) {
    TempDir dir;
    fixtures::Record r = fixtures::Ascii1999(6);
    r.cfg.replace(r.cfg.find(",600,5,S"), 8, ",73323.453100023,5,S");
    const std::string src = fixtures::Write(dir, "src", r);
    {
        CTenvorikDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(W(src)));
        ASSERT_TRUE(doc.OnSaveDocument(W(dir.File("rec.cfg"))));
    }
    CTenvorikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(W(dir.File("rec.cfg"))));
    const CChannel* ib = nullptr;
    for (const auto& ch : doc.m_oscillogram.m_channels)
        if (CStringA(ch.m_fileName) == "IB") ib = &ch;
    ASSERT_NE(ib, nullptr);
    EXPECT_EQ(ib->m_primary, 73323.453100023);
}
