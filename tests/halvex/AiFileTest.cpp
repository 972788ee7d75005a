#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "FakeUi.h"
#include "TestUtil.h"
#include "halvex/helpers/Ai_File.h"
#include "platform/Encoding.h"

using testutil::ReadFile;
using testutil::TempDir;
using testutil::WriteFile;

namespace {

CString W(const std::string& utf8) { return CString(platform::Utf8ToWide(utf8)); }
std::string U(const CString& s) { return platform::WideToUtf8(s.view()); }
std::string Utf16(const std::wstring& text, bool bom) { return platform::WideToUtf16Le(text, bom); }

}  // namespace

TEST(AiFile, PathTexts) {
    struct Case { const wchar_t *path, *name, *title, *ext, *folderPart; };
    const Case cases[] = {
        {L"C:\\a\\rec.cfg", L"rec.cfg", L"rec", L"cfg", L"C:\\a"},
        {L"/data/a/rec.cfg", L"rec.cfg", L"rec", L"cfg", L"/data/a"},
        {L"C:/a/rec.cfg", L"rec.cfg", L"rec", L"cfg", L"C:/a"},
        {L"rec.cfg", L"rec.cfg", L"rec", L"cfg", L"rec.cfg"},  // no separator: the path comes back whole
        {L"rec", L"rec", L"rec", L"rec", L"rec"},             // no dot: the extension is the whole text
        {L"/a/rec.", L"rec.", L"rec", L"", L"/a"},
        {L"", L"", L"", L"", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(U(c.path));
        EXPECT_EQ(CAi_File::GetFileName_(c.path), c.name);
        EXPECT_EQ(CAi_File::GetFileTitle_(c.path), c.title);
        EXPECT_EQ(CAi_File::GetFileExt(c.path), c.ext);
        EXPECT_EQ(CAi_File::GetFilePath_(c.path), c.folderPart);
    }
    EXPECT_EQ(CAi_File::GetFileFolder(L"/data/rec/x.cfg"), L"rec");
    EXPECT_EQ(CAi_File::GetFileFolder(L"/x.cfg"), L"");
    EXPECT_EQ(CAi_File::GetFileFolder(L"a/x.cfg"), L"a/x.cfg");  // a folder part without separator
    // A deep folder is no reason to lose the name; a name longer than any file system keeps is.
    CString deep = L"/" + CString(L'd', 300) + L"/rec.cfg";
    EXPECT_EQ(CAi_File::GetFileName_(deep), L"rec.cfg");
    EXPECT_EQ(CAi_File::GetFileName_(L"/a/" + CString(L'n', 256) + L".cfg"), L"");

    struct Ext { const wchar_t *path, *ext, *result; };
    for (const Ext& e : {Ext{L"rec.", L"cfg", L"rec.cfg"}, Ext{L"rec.cfg", L".cfg", L"rec.cfg"},
                         Ext{L"rec.dat", L"cfg", L"rec.dat.cfg"}, Ext{L"", L"cfg", L".cfg"}}) {
        CString p = e.path;
        CAi_File::AddExtensionIfNeed(&p, e.ext);
        EXPECT_EQ(p, e.result);
    }
    EXPECT_TRUE(CAi_File::IfPathHasNotBadSimbols(L"C:\\a\\b.cfg"));
    EXPECT_FALSE(CAi_File::IfPathHasNotBadSimbols(L"/a:b"));
    EXPECT_FALSE(CAi_File::IfPathHasNotBadSimbols(L"/a/*.cfg"));
    EXPECT_TRUE(CAi_File::IfFileNameHasNotBadSimbols(L"Запись 1.cfg"));
    EXPECT_FALSE(CAi_File::IfFileNameHasNotBadSimbols(L"a/b"));
    EXPECT_FALSE(CAi_File::IfFolderNameHasNotBadSimbols(L"a\"b"));
}

TEST(AiFile, CreateFileModesAndMessages) {
    testutil::FakeUi ui;
    TempDir dir;
    CString path = W(dir.File("rec.cfg"));
    EXPECT_FALSE(CAi_File::CreateFile_(L"", 0));
    EXPECT_TRUE(CAi_File::CreateFile_(path, 2));  // missing: created whatever the mode
    EXPECT_TRUE(CAi_File::IsFileExist(path));
    WriteFile(dir.File("rec.cfg"), "content");
    EXPECT_TRUE(CAi_File::CreateFile_(path, 1));
    EXPECT_EQ(ReadFile(dir.File("rec.cfg")), "content");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(CAi_File::CreateFile_(path, 2));
    ASSERT_EQ(ui.messages.size(), 1u);  // shown by the library through the program's services
    EXPECT_EQ(ui.messages[0], L"File already exists!");
    EXPECT_EQ(ui.types[0] & MB_ICONERROR, unsigned(MB_ICONERROR));
    EXPECT_EQ(ReadFile(dir.File("rec.cfg")), "content");
    EXPECT_TRUE(CAi_File::CreateFile_(path, 0));
    EXPECT_EQ(ReadFile(dir.File("rec.cfg")), "");
    EXPECT_FALSE(CAi_File::CreateFile_(W(dir.path()), 0));  // a folder

    // Existence: files and folders apart.
    EXPECT_TRUE(CAi_File::IfFileExists(path));
    EXPECT_FALSE(CAi_File::IsFileExist(W(dir.path())));
    EXPECT_TRUE(CAi_File::IfFolderExists(W(dir.path())));
    EXPECT_FALSE(CAi_File::IsFolderExist(path));
    EXPECT_FALSE(CAi_File::IsFileExist(L""));
}

TEST(AiFile, CreateFolderMakesEveryMissingLevel) {
    testutil::FakeUi ui;
    TempDir dir;
    EXPECT_FALSE(CAi_File::CreateFolder(W(dir.path()), true));  // exists already
    CString nested = W(dir.File("один/два/три"));
    EXPECT_TRUE(CAi_File::CreateFolder(nested, true));
    EXPECT_TRUE(CAi_File::IsFolderExist(nested));
    // A path written by a Windows peer.
    EXPECT_TRUE(CAi_File::CreateFolder(W(dir.path()) + L"\\x\\y", false));
    EXPECT_TRUE(CAi_File::IsFolderExist(W(dir.File("x/y"))));
    EXPECT_TRUE(ui.messages.empty());

    WriteFile(dir.File("file"), "");
    CString blocked = W(dir.File("file/sub"));
    EXPECT_FALSE(CAi_File::CreateFolder(blocked, false));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(CAi_File::CreateFolder(blocked, true));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], L"Ошибка при создании папки:\n" + blocked + L"!");

    EXPECT_TRUE(CAi_File::ExamineFolder(nested));
    EXPECT_TRUE(CAi_File::ExamineFile(W(dir.File("new/deeper/f.txt"))));
    EXPECT_TRUE(CAi_File::IsFileExist(W(dir.File("new/deeper/f.txt"))));
}

TEST(AiFile, ListingOrderAndDeletingFromTheEnd) {
    TempDir dir;
    CString root = W(dir.File("root"));
    CAi_File::CreateFolder(root + L"/A/A1", false);
    CAi_File::CreateFolder(root + L"/B", false);
    WriteFile(dir.File("root/r.txt"), "r");
    WriteFile(dir.File("root/A/a.txt"), "a");
    WriteFile(dir.File("root/A/A1/a1.txt"), "a1");
    TempDir outside;
    WriteFile(outside.File("keep.txt"), "keep");
    ASSERT_EQ(symlink(outside.path().c_str(), dir.File("root/B/link").c_str()), 0);

    CAi_File f;
    EXPECT_FALSE(f.GetListOfFilesInFolder(L"", true));
    ASSERT_TRUE(f.GetListOfFilesInFolder(root, true));
    const auto& list = f.m_vListOfFolderAndFiles;
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].strFolder, root);
    EXPECT_EQ(list[0].nIndex, 0);
    EXPECT_EQ(list[0].nParentIndex, -1);
    EXPECT_EQ(list[0].nDepth, 0);
    ASSERT_EQ(list[0].vFiles.size(), 1u);
    EXPECT_EQ(list[0].vFiles[0].strName, L"r.txt");
    EXPECT_EQ(list[0].vFiles[0].strPath, root + L"/r.txt");
    auto find = [&](const CString& path) {
        return std::find_if(list.begin(), list.end(), [&](const auto& e) { return e.strFolder == path; }) - list.begin();
    };
    size_t a = size_t(find(root + L"/A")), a1 = size_t(find(root + L"/A/A1")), b = size_t(find(root + L"/B"));
    ASSERT_LT(a1, list.size());
    ASSERT_LT(b, list.size());
    EXPECT_LT(a, a1);  // each folder before those below it
    EXPECT_EQ(list[a1].nParentIndex, list[a].nIndex);
    EXPECT_EQ(list[a1].nDepth, 2);
    EXPECT_GT(list[a1].nIndex, list[a].nIndex);
    ASSERT_EQ(list[b].vFiles.size(), 1u);  // the link is listed, not followed
    EXPECT_EQ(list[b].vFiles[0].strName, L"link");

    ASSERT_TRUE(f.GetListOfFilesInFolder(root, false));
    EXPECT_EQ(f.m_vListOfFolderAndFiles.size(), 1u);
    EXPECT_FALSE(f.GetListOfFilesInFolder(L"", false));  // left as it was
    EXPECT_EQ(f.m_vListOfFolderAndFiles.size(), 1u);
    EXPECT_TRUE(f.GetListOfFilesInFolder(W(dir.File("missing")), true));
    EXPECT_TRUE(f.m_vListOfFolderAndFiles.empty());

    EXPECT_TRUE(f.IsFileInFolder(root + L"/A", false));
    EXPECT_FALSE(f.IsFileInFolder(root + L"/B/empty", true));
    EXPECT_FALSE(f.IsFileInFolder(W(dir.File("missing")), true));  // nothing searchable, nothing found

    // Only empty folders: E1 and then E go, every folder holding a file (or a link) stays.
    CAi_File::CreateFolder(root + L"/E/E1", false);
    bool removed = false;
    EXPECT_TRUE(CAi_File::DeleteFolder(root, true, &removed));
    EXPECT_TRUE(removed);
    EXPECT_FALSE(CAi_File::IsFolderExist(root + L"/E"));
    EXPECT_TRUE(CAi_File::IsFolderExist(root + L"/A/A1"));

    chmod(dir.File("root/A/a.txt").c_str(), 0444);  // read-only files go too
    EXPECT_TRUE(CAi_File::DeleteFolder(root, false, &removed));
    EXPECT_FALSE(CAi_File::IsFolderExist(root));
    EXPECT_EQ(ReadFile(outside.File("keep.txt")), "keep");
    EXPECT_FALSE(CAi_File::DeleteFolder(root, false, nullptr));
}

TEST(AiFile, DeleteFileAndItsErrorCode) {
    TempDir dir;
    WriteFile(dir.File("a"), "a");
    EXPECT_FALSE(CAi_File::DeleteFile_(L""));
    EXPECT_FALSE(CAi_File::DeleteFile_(W(dir.File("missing"))));
    EXPECT_FALSE(CAi_File::DeleteFile_(W(dir.path())));
    EXPECT_TRUE(CAi_File::DeleteFile_(W(dir.File("a"))));
    EXPECT_EQ(CAi_File::GetLastErrCode(), 0u);
    EXPECT_FALSE(CAi_File::IsFileExist(W(dir.File("a"))));
    WriteFile(dir.File("b"), "b");
    WriteFile(dir.File("c"), "c");
    EXPECT_TRUE(CAi_File::DeleteFiles(W(dir.path())));
    EXPECT_FALSE(CAi_File::IsFileExist(W(dir.File("b"))));
    EXPECT_FALSE(CAi_File::IsFileExist(W(dir.File("c"))));
}

TEST(AiFile, LengthsAndCodings) {
    TempDir dir;
    WriteFile(dir.File("bom"), "\xFF\xFE");
    WriteFile(dir.File("ab"), "ab");
    WriteFile(dir.File("u16"), Utf16(L"Ток", false));
    WriteFile(dir.File("ansi"), platform::WideToAnsi(L"Ток"));
    WriteFile(dir.File("empty"), "");
    EXPECT_EQ(CAi_File::GetFileLength(W(dir.File("bom"))), 0);  // only the mark: empty
    EXPECT_EQ(CAi_File::GetFileLength(W(dir.File("ab"))), 2);
    EXPECT_EQ(CAi_File::GetFileLength(W(dir.File("missing"))), -1);
    EXPECT_EQ(CAi_File::GetFileLength(L""), -1);
    long size = 99;
    EXPECT_TRUE(CAi_File::IsFileEmpty(W(dir.File("missing")), &size));
    EXPECT_EQ(size, 99);
    EXPECT_FALSE(CAi_File::IsFileEmpty(W(dir.File("ansi")), &size));
    EXPECT_EQ(size, 3);
    EXPECT_TRUE(CAi_File::IsFileEmpty(W(dir.File("empty")), &size));
    EXPECT_EQ(size, 0);

    EXPECT_TRUE(CAi_File::IsUnicodeFile(W(dir.File("u16"))));
    EXPECT_FALSE(CAi_File::IsUnicodeFile(W(dir.File("ansi"))));
    EXPECT_FALSE(CAi_File::IsUnicodeFile(W(dir.File("ab"))));
    EXPECT_FALSE(CAi_File::IsUnicodeFile(W(dir.File("empty"))));
    EXPECT_EQ(CAi_File::GetFileCodingFormat(W(dir.File("ansi"))), 2);
    EXPECT_EQ(CAi_File::GetFileCodingFormat(W(dir.File("u16"))), 1);
    EXPECT_EQ(CAi_File::GetFileCodingFormat(W(dir.File("missing"))), 1);

    struct Case { std::string bytes; bool unicode; };
    const Case cases[] = {
        {Utf16(L"Hello, world\r\n", false), true},
        {Utf16(L"Канал №1 «А»", false), true},
        {Utf16(L"x", true), true},
        {"Hello, world\r\n", false},
        {platform::WideToAnsi(L"Канал №1 «А»"), false},
        {"\xFE\xFF\x00" "A", false},  // big-endian mark
        {Utf16(L"abc", false) + "x", false},
        {std::string("\x01\x00\x02\x00", 4), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CAi_File::LooksLikeUnicodeText(reinterpret_cast<const BYTE*>(c.bytes.data()), c.bytes.size()),
                  c.unicode);
}

TEST(AiFile, ReadingWholeFiles) {
    TempDir dir;
    CString text;
    WriteFile(dir.File("empty"), "");
    EXPECT_EQ(CAi_File::ReadFileToString(W(dir.File("empty")), &text), 0);
    EXPECT_EQ(text, L"");
    text = L"old";
    EXPECT_EQ(CAi_File::ReadFileToString(W(dir.File("missing")), &text), -1);
    EXPECT_EQ(text, L"");
    EXPECT_EQ(CAi_File::ReadFileToString(W(dir.path()), &text), -1);
    EXPECT_EQ(CAi_File::ReadFileToString(L"", &text), -1);

    // Every UTF-16 unit is read, the last one too, with or without the mark.
    const std::wstring wide = L"Ток фазы A\r\n12";
    WriteFile(dir.File("bom"), Utf16(wide, true));
    EXPECT_EQ(CAi_File::ReadFileToString(W(dir.File("bom")), &text), int(wide.size() * 2 + 2));
    EXPECT_EQ(text, wide.c_str());
    WriteFile(dir.File("nobom"), Utf16(wide, false));
    CAi_File::ReadFileToString(W(dir.File("nobom")), &text);
    EXPECT_EQ(text, wide.c_str());
    WriteFile(dir.File("ansi"), platform::WideToAnsi(wide));
    EXPECT_EQ(CAi_File::ReadFileToString(W(dir.File("ansi")), &text), int(wide.size()));
    EXPECT_EQ(text, wide.c_str());

    BYTE* buffer = new BYTE[4];
    EXPECT_EQ(CAi_File::ReadFileToBuffer(W(dir.File("missing")), &buffer, true), -1);
    EXPECT_EQ(buffer, nullptr);  // the old block is freed
    ASSERT_EQ(CAi_File::ReadFileToBuffer(W(dir.File("ansi")), &buffer, true), int(wide.size()));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer)), platform::WideToAnsi(wide));  // zero-terminated
    delete[] buffer;
}

TEST(AiFile, WritingWholeFiles) {
    testutil::FakeUi ui;
    TempDir dir;
    const BYTE data[] = {'1', '2', '3'};
    EXPECT_FALSE(CAi_File::WriteBufferToFile(W(dir.File("new")), data, 3, false));
    EXPECT_FALSE(CAi_File::IsFileExist(W(dir.File("new"))));  // never created here
    EXPECT_FALSE(CAi_File::WriteBufferToFile(W(dir.File("new")), nullptr, 3, false));
    WriteFile(dir.File("f"), "ab");
    EXPECT_TRUE(CAi_File::WriteBufferToFile(W(dir.File("f")), data, 3, false));
    EXPECT_EQ(ReadFile(dir.File("f")), "ab123");
    EXPECT_TRUE(CAi_File::WriteBufferToFile(W(dir.File("f")), data, 2, true));
    EXPECT_EQ(ReadFile(dir.File("f")), "12");

    // Text: an empty file becomes UTF-16 with its mark; a shorter text leaves no stale tail
    // and keeps the mark.
    WriteFile(dir.File("t"), "");
    CString text = L"Длинная первая строка";
    EXPECT_TRUE(CAi_File::WriteStringToFile(W(dir.File("t")), &text, 0));
    EXPECT_EQ(ReadFile(dir.File("t")), Utf16(text.str(), true));
    text = L"Коротко";
    EXPECT_TRUE(CAi_File::WriteStringToFile(W(dir.File("t")), &text, 1));
    EXPECT_EQ(ReadFile(dir.File("t")), Utf16(L"Коротко", true));
    EXPECT_TRUE(ui.messages.empty());
    // The coding must agree with the file's.
    EXPECT_FALSE(CAi_File::WriteStringToFile(W(dir.File("t")), &text, 2));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], L"Can not write characters of ASCII coding to the file which has Unicode coding\r\n(The file: " +
                                  W(dir.File("t")) + L")!");
    WriteFile(dir.File("a"), "ansi text");
    EXPECT_FALSE(CAi_File::WriteStringToFile(W(dir.File("a")), &text, 1));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_NE(ui.messages[1].Find(L"Can not write characters of Unicode coding"), -1);
    EXPECT_EQ(ReadFile(dir.File("a")), "ansi text");
    EXPECT_TRUE(CAi_File::WriteStringToFile(W(dir.File("a")), &text, 2));
    EXPECT_EQ(ReadFile(dir.File("a")), platform::WideToAnsi(L"Коротко"));
    EXPECT_FALSE(CAi_File::WriteStringToFile(W(dir.File("missing")), &text, 2));
    EXPECT_FALSE(CAi_File::IsFileExist(W(dir.File("missing"))));
}

TEST(AiFile, CopyFileToFile) {
    TempDir dir;
    WriteFile(dir.File("src"), "source bytes");
    WriteFile(dir.File("dst"), "old destination");
    CString src = W(dir.File("src")), dst = W(dir.File("dst"));
    EXPECT_FALSE(CAi_File::CopyFileToFile(src, W(dir.File("nodst"))));
    EXPECT_FALSE(CAi_File::IsFileExist(W(dir.File("nodst"))));
    EXPECT_TRUE(CAi_File::CopyFileToFile(W(dir.File("x")), W(dir.File("x"))));  // same text: nothing to do
    // A missing source leaves the destination whole.
    EXPECT_FALSE(CAi_File::CopyFileToFile(W(dir.File("nosrc")), dst));
    EXPECT_EQ(ReadFile(dir.File("dst")), "old destination");
    EXPECT_TRUE(CAi_File::CopyFileToFile(src, dst));
    EXPECT_EQ(ReadFile(dir.File("dst")), "source bytes");

    // With a marker only the text before it is copied, in the source's coding.
    WriteFile(dir.File("u16"), Utf16(L"header\r\n--- end\r\ntail", true));
    EXPECT_EQ(CAi_File::GetSeekBefore(W(dir.File("u16")), L"--- end"), 8);
    EXPECT_EQ(CAi_File::GetSeekBefore(W(dir.File("u16")), L"absent"), -1);
    EXPECT_EQ(CAi_File::GetSeekBefore(W(dir.File("missing")), L"x"), -1);
    EXPECT_TRUE(CAi_File::CopyFileToFile(W(dir.File("u16")), dst, L"--- end"));
    EXPECT_EQ(ReadFile(dir.File("dst")), Utf16(L"header\r\n", true));
    WriteFile(dir.File("ansi"), platform::WideToAnsi(L"Шапка|хвост"));
    EXPECT_TRUE(CAi_File::CopyFileToFile(W(dir.File("ansi")), dst, L"|"));
    EXPECT_EQ(ReadFile(dir.File("dst")), platform::WideToAnsi(L"Шапка"));

    // Folders.
    WriteFile(dir.File("tree/sub/f.txt"), "");
    CAi_File::CreateFolder(W(dir.File("tree/sub")), false);
    WriteFile(dir.File("tree/sub/f.txt"), "f");
    EXPECT_TRUE(CAi_File::CopyFolderToFolder(W(dir.File("tree")), W(dir.File("copy"))));
    EXPECT_EQ(ReadFile(dir.File("copy/sub/f.txt")), "f");
    EXPECT_FALSE(CAi_File::CopyFolderToFolder(L"", W(dir.File("copy"))));
}

TEST(AiFile, TemporaryAndSpecialFolders) {
    testutil::FakeUi ui;
    CString tmp = CAi_File::GetWinTmpPath();
    ASSERT_FALSE(tmp.IsEmpty());
    EXPECT_EQ(tmp.Right(1), L"/");
    struct stat st{};
    ASSERT_EQ(stat(U(tmp).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0077, 0u);  // the user's own

    CString name;
    name.Format(L"aifile-test-%d.txt", int(getpid()));
    CString content = L"Текст";
    CString path = CAi_File::CreateTempFile(name, &content);
    EXPECT_EQ(path, tmp + name);
    CString back;
    CAi_File::ReadFileToString(path, &back);
    EXPECT_EQ(back, content);
    EXPECT_EQ(CAi_File::ExamineTmpFile(name), path);
    EXPECT_EQ(CAi_File::ReadFileToString(path, &back), 12);  // kept as it was
    EXPECT_TRUE(CAi_File::DeleteFile_(path));
    EXPECT_EQ(CAi_File::CreateTempFile(L"", &content), L"");

    EXPECT_FALSE(CAi_File::GetCurrentPath().IsEmpty());
    EXPECT_EQ(CAi_File::GetAppPath() + L"/" + CAi_File::GetFileName_(CAi_File::GetAppPathName(nullptr)),
              CAi_File::GetAppPathName(nullptr));
    // An address inside the library names the library's file.
    EXPECT_EQ(CAi_File::GetFileName_(CAi_File::GetAppPathName(reinterpret_cast<const void*>(&CAi_File::GetFileExt))),
              L"libHalvex.so");
    EXPECT_EQ(CAi_File::GetSpecialFolder(-5), L"");

    // The folder browser goes through the user-interface services; the fake has none.
    CString folder = L"/start";
    EXPECT_FALSE(CAi_File::ChoiseFolderDlg(&folder, L"Папка"));
    EXPECT_EQ(folder, L"/start");
}

TEST(AiFile, ReadOnlyAttributeAndFileAttributes) {
    testutil::FakeUi ui;
    TempDir dir;
    WriteFile(dir.File("ro"), "12345");
    CString ro = W(dir.File("ro"));
    chmod(dir.File("ro").c_str(), 0444);
    CAi_File::FILE_ATTR attr;
    ASSERT_TRUE(CAi_File::GetFileAttributes_(ro, &attr));
    EXPECT_EQ(attr.dwAttributes & CAi_File::kAttrReadOnly, CAi_File::kAttrReadOnly);
    EXPECT_EQ(attr.info.nFileSizeLow, 5u);
    EXPECT_FALSE(CAi_File::GetFileAttributes_(W(dir.File("missing")), &attr));

    ui.answers = {IDNO, IDYES};
    EXPECT_FALSE(CAi_File::RemoveAttribute_ReadOnly(ro, L"Снять защиту?"));
    EXPECT_TRUE(CAi_File::RemoveAttribute_ReadOnly(ro, L"Снять защиту?"));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0], L"Снять защиту?");
    EXPECT_TRUE(CAi_File::RemoveAttribute_ReadOnly(ro, L"again?"));  // writable now: no question
    EXPECT_EQ(ui.messages.size(), 2u);
    ASSERT_TRUE(CAi_File::GetFileAttributes_(ro, &attr));
    EXPECT_EQ(attr.dwAttributes, CAi_File::kAttrNormal);
    EXPECT_FALSE(CAi_File::RemoveAttribute_ReadOnly(W(dir.path()), L""));
}

TEST(AiFile, CopiesOwnTheirInnerObject) {
    CAi_File a;
    a.m_pInner->m_bWriteBOM = true;
    a.m_vListOfFolderAndFiles.resize(2);
    CAi_File b(a);
    EXPECT_NE(a.m_pInner, b.m_pInner);
    EXPECT_TRUE(b.m_pInner->m_bWriteBOM);
    EXPECT_EQ(b.m_vListOfFolderAndFiles.size(), 2u);
    CAi_File c;
    c = b;
    EXPECT_NE(c.m_pInner, b.m_pInner);
    EXPECT_EQ(CFileCtrlInnerUsing::SplitPath(L"C:\\a\\rec.cfg", CFileCtrlInnerUsing::eSplitDrive), L"C:");
    EXPECT_EQ(CFileCtrlInnerUsing::SplitPath(L"C:\\a\\rec.cfg", CFileCtrlInnerUsing::eSplitFolder), L"\\a\\");
    EXPECT_EQ(CFileCtrlInnerUsing::SplitPath(L"/a/rec.cfg", CFileCtrlInnerUsing::eSplitExt), L".cfg");
    EXPECT_EQ(CFileCtrlInnerUsing::SplitPath(L"/a/rec.cfg", 7), L"");
    EXPECT_EQ(a.m_pInner->ConverAToW("A"), std::string("\xFF\xFE" "A\x00", 4));
}
