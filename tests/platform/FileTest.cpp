#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "FileSizeLimit.h"
#include "TestUtil.h"
#include "platform/AtomicFile.h"
#include "platform/Encoding.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

using namespace platform;
using testutil::ReadFile;
using testutil::TempDir;
using testutil::WriteFile;

namespace {

CString W(const std::string& utf8) { return CString(Utf8ToWide(utf8)); }

std::vector<std::string> Names(const std::string& folder) {
    std::vector<FolderEntry> entries;
    EXPECT_TRUE(ListFolder(W(folder), entries));
    std::vector<std::string> names;
    for (const auto& e : entries) names.push_back(WideToUtf8(e.name.view()));
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(File, ReadWriteSeekAndLength) {
    TempDir dir;
    CString path = W(dir.File("файл.bin"));
    {
        CFile f(path, CFile::modeCreate | CFile::modeReadWrite);
        f.Write("hello world", 11);
        EXPECT_EQ(f.GetLength(), 11u);
        f.Seek(6, CFile::begin);
        char buf[16] = {};
        EXPECT_EQ(f.Read(buf, sizeof buf), 5u);
        EXPECT_EQ(std::string(buf), "world");
        EXPECT_EQ(f.Read(buf, sizeof buf), 0u);  // at the end
        EXPECT_EQ(f.Seek(-5, CFile::end), 6u);
        f.Write("W", 1);
        f.SetLength(8);
        f.Close();
    }
    EXPECT_EQ(ReadFile(dir.File("файл.bin")), "hello Wo");
    {
        // modeNoTruncate keeps the content; plain modeCreate empties it.
        CFile f(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
        EXPECT_EQ(f.GetLength(), 8u);
        f.SeekToEnd();
        f.Write(std::string_view("!"));
    }
    EXPECT_EQ(ReadFile(dir.File("файл.bin")), "hello Wo!");
    CFile(path, CFile::modeCreate | CFile::modeWrite).Close();
    EXPECT_EQ(ReadFile(dir.File("файл.bin")), "");
}

TEST(File, FailuresCarryCauseAndPath) {
    TempDir dir;
    CString missing = W(dir.File("нет.cfg"));
    try {
        CFile f(missing, CFile::modeRead);
        FAIL() << "opened a missing file";
    } catch (CFileException* e) {
        EXPECT_EQ(e->m_cause, CFileException::fileNotFound);
        EXPECT_EQ(e->m_strFileName, missing);
        EXPECT_NE(e->GetErrorMessage().Find(missing), -1);
        e->Delete();
    }
    CFile f;
    CFileException err;
    EXPECT_FALSE(f.Open(W(dir.path()), CFile::modeRead, &err));  // a folder is no file
    EXPECT_EQ(err.m_cause, CFileException::invalidFile);
    EXPECT_FALSE(f.Open(W(dir.File("a/b/c")), CFile::modeCreate | CFile::modeWrite, &err));
    EXPECT_EQ(err.m_cause, CFileException::fileNotFound);
    bool thrown = false;
    try {
        ReadFileBytes(missing);
    } catch (CFileException* e) {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown);
}

TEST(FileSystem, PathParts) {
    struct Case { const wchar_t *path, *name, *title, *ext, *folder; };
    const Case cases[] = {
        {L"/a/rec.cfg", L"rec.cfg", L"rec", L".cfg", L"/a"},
        {L"rec.CFG", L"rec.CFG", L"rec", L".CFG", L""},
        {L"/rec", L"rec", L"rec", L"", L"/"},
        {L"/a.b/rec", L"rec", L"rec", L"", L"/a.b"},
        {L"/a/.hidden", L".hidden", L".hidden", L"", L"/a"},
        {L"/a/arc.tar.gz", L"arc.tar.gz", L"arc.tar", L".gz", L"/a"},
        {L"/a/b/", L"", L"", L"", L"/a/b"},
        {L"", L"", L"", L"", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(WideToUtf8(c.path));
        EXPECT_EQ(PathFileName(c.path), c.name);
        EXPECT_EQ(PathTitle(c.path), c.title);
        EXPECT_EQ(PathExtension(c.path), c.ext);
        EXPECT_EQ(PathFolder(c.path), c.folder);
    }
    EXPECT_EQ(JoinPath(L"/a/", L"b"), L"/a/b");
    EXPECT_EQ(JoinPath(L"/", L"b"), L"/b");
    EXPECT_EQ(JoinPath(L"a", L"/abs"), L"/abs");
    EXPECT_EQ(JoinPath(L"", L"b"), L"b");
    EXPECT_EQ(PathFromPeer(L"..\\rec\\a.cfg"), L"../rec/a.cfg");
}

TEST(FileSystem, FoldersCreateListRemove) {
    TempDir dir;
    CString nested = W(dir.File("один/два/три"));
    EXPECT_TRUE(CreateFolders(nested));
    EXPECT_TRUE(FolderExists(nested));
    EXPECT_TRUE(CreateFolders(nested + L"/"));  // already there
    WriteFile(dir.File("один/f.txt"), "x");
    int err = 0;
    EXPECT_FALSE(CreateFolders(W(dir.File("один/f.txt/sub")), &err));  // a file is in the way
    EXPECT_NE(err, 0);
    EXPECT_EQ(Names(dir.File("один")), (std::vector<std::string>{"f.txt", "два"}));
    EXPECT_TRUE(FileExists(W(dir.File("один/f.txt"))));
    EXPECT_FALSE(FileExists(nested));
    EXPECT_EQ(FileSize(W(dir.File("один/f.txt"))), 1);
    EXPECT_EQ(FileSize(nested), -1);
    EXPECT_FALSE(RemoveFile(nested));
    EXPECT_FALSE(RemoveFolder(W(dir.File("один"))));  // not empty

    // A link inside the tree to something outside it: the link goes, its target stays.
    TempDir outside;
    WriteFile(outside.File("keep.txt"), "keep");
    ASSERT_EQ(symlink(outside.path().c_str(), dir.File("один/два/link").c_str()), 0);
    EXPECT_TRUE(RemoveTree(W(dir.File("один"))));
    EXPECT_FALSE(PathExists(W(dir.File("один"))));
    EXPECT_EQ(ReadFile(outside.File("keep.txt")), "keep");
}

TEST(FileSystem, TemporaryFilesAreNewAndUnique) {
    TempDir dir;
    CString a = MakeTempFile(L"t", L".tmp", W(dir.path()));
    CString b = MakeTempFile(L"t", L".tmp", W(dir.path()));
    ASSERT_FALSE(a.IsEmpty());
    EXPECT_NE(a, b);
    EXPECT_EQ(FileSize(a), 0);
    EXPECT_EQ(PathExtension(a), L".tmp");
    CString f = MakeTempFolder(L"tv", W(dir.path()));
    EXPECT_TRUE(FolderExists(f));
    EXPECT_TRUE(MakeTempFile(L"t", L"", W(dir.File("missing"))).IsEmpty());
    EXPECT_FALSE(TempFolder().IsEmpty());
}

TEST(AtomicFile, WritesNewAndReplacesKeepingPermissions) {
    TempDir dir;
    CString path = W(dir.File("rec.cfg"));
    WriteFileAtomically(path, "first");
    EXPECT_EQ(ReadFile(dir.File("rec.cfg")), "first");
    chmod(dir.File("rec.cfg").c_str(), 0640);
    WriteFileAtomically(path, "second, longer");
    EXPECT_EQ(ReadFile(dir.File("rec.cfg")), "second, longer");
    struct stat st{};
    stat(dir.File("rec.cfg").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    // A link keeps pointing at the replaced file.
    ASSERT_EQ(symlink("rec.cfg", dir.File("link.cfg").c_str()), 0);
    WriteFileAtomically(W(dir.File("link.cfg")), "third");
    struct stat lst{};
    lstat(dir.File("link.cfg").c_str(), &lst);
    EXPECT_TRUE(S_ISLNK(lst.st_mode));
    EXPECT_EQ(ReadFile(dir.File("rec.cfg")), "third");
    EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"link.cfg", "rec.cfg"}));
}

TEST(AtomicFile, FailedSaveLeavesOldFileByteIdentical) {
    TempDir dir;
    const std::string old = std::string("old\0content\xFF", 13) + std::string(100, 'o');
    WriteFile(dir.File("rec.dat"), old);
    CString path = W(dir.File("rec.dat"));

    // Abandoned half-way (the writer's caller threw).
    {
        AtomicFileWriter w(path);
        w.Write("new");
    }
    EXPECT_EQ(ReadFile(dir.File("rec.dat")), old);

    // The disk fills half-way through the write.
    CString message;
    {
        testutil::FileSizeLimit limit(4096);
        EXPECT_FALSE(TryWriteFileAtomically(path, std::string(100000, 'n'), &message));
    }
    EXPECT_EQ(ReadFile(dir.File("rec.dat")), old);
    EXPECT_NE(message.Find(path), -1) << WideToUtf8(message.view());

    // The same through the throwing form: the exception names the user's file.
    {
        testutil::FileSizeLimit limit(4096);
        try {
            WriteFileAtomically(path, std::string(100000, 'n'));
            ADD_FAILURE() << "the write did not fail";
        } catch (CFileException* e) {
            EXPECT_EQ(e->m_cause, CFileException::diskFull);
            EXPECT_EQ(e->m_strFileName, path);
            e->Delete();
        }
    }
    EXPECT_EQ(ReadFile(dir.File("rec.dat")), old);
    // No temporary file is left behind.
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"rec.dat"});

    // A target that cannot be written at all: nothing is created.
    EXPECT_FALSE(TryWriteFileAtomically(W(dir.File("missing/rec.dat")), "x"));
    EXPECT_FALSE(TryWriteFileAtomically(W(dir.path()), "x"));
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"rec.dat"});
}

TEST(AtomicFile, ProtectedTargetIsRefusedAndKept) {
    // Whoever runs the tests, root included: a file nobody may write stays as it was.
    TempDir dir;
    WriteFile(dir.File("rec.cfg"), "protected");
    ASSERT_EQ(chmod(dir.File("rec.cfg").c_str(), 0444), 0);
    CString path = W(dir.File("rec.cfg"));
    CString message;
    EXPECT_FALSE(TryWriteFileAtomically(path, "replaced", &message));
    EXPECT_EQ(message, L"Нет доступа к файлу: " + path);
    // Through a link to it, too.
    ASSERT_EQ(symlink("rec.cfg", dir.File("link.cfg").c_str()), 0);
    EXPECT_FALSE(TryWriteFileAtomically(W(dir.File("link.cfg")), "replaced"));
    // Made protected while the new text was being written.
    WriteFile(dir.File("late.cfg"), "late");
    {
        AtomicFileWriter w(W(dir.File("late.cfg")));
        w.Write("replaced");
        ASSERT_EQ(chmod(dir.File("late.cfg").c_str(), 0400), 0);
        try {
            w.Commit();
            ADD_FAILURE() << "the protected file was replaced";
        } catch (CFileException* e) {
            EXPECT_EQ(e->m_cause, CFileException::accessDenied);
            e->Delete();
        }
    }
    EXPECT_EQ(ReadFile(dir.File("rec.cfg")), "protected");
    EXPECT_EQ(ReadFile(dir.File("late.cfg")), "late");
    struct stat st{};
    stat(dir.File("rec.cfg").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0444u);
    EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"late.cfg", "link.cfg", "rec.cfg"}));
    // A file its owner may write is replaced as before.
    ASSERT_EQ(chmod(dir.File("rec.cfg").c_str(), 0644), 0);
    EXPECT_TRUE(TryWriteFileAtomically(path, "replaced"));
    EXPECT_EQ(ReadFile(dir.File("rec.cfg")), "replaced");
}
