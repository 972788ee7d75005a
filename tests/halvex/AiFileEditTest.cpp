#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "FakeUi.h"
#include "FileSizeLimit.h"
#include "TestUtil.h"
#include "halvex/helpers/Ai_File.h"
#include "halvex/helpers/Ai_Registry.h"
#include "platform/Encoding.h"

using testutil::ReadFile;
using testutil::TempDir;
using testutil::WriteFile;

namespace {

CString W(const std::string& utf8) { return CString(platform::Utf8ToWide(utf8)); }

// A file's content in either coding: UTF-16LE with its mark, or code page 1251.
std::string Bytes(const std::wstring& text, bool unicode) {
    return unicode ? platform::WideToUtf16Le(text, true) : platform::WideToAnsi(text);
}

class Codings : public ::testing::TestWithParam<bool> {};

}  // namespace

TEST_P(Codings, LineAndBlockEditsKeepTheCoding) {
    const bool u = GetParam();
    TempDir dir;
    std::string f = dir.File("a.txt"), src = dir.File("src.txt"), empty = dir.File("empty.txt");
    CString F = W(f);
    WriteFile(f, Bytes(L"Первая\r\nвторая", u));
    EXPECT_TRUE(CAi_File::AddLineToEnd(F, L"конец", CAi_File::eNewLineBefore));
    EXPECT_TRUE(CAi_File::AddLineToBegin(F, L"начало", CAi_File::eNewLineAfter));
    EXPECT_EQ(ReadFile(f), Bytes(L"начало\r\nПервая\r\nвторая\r\nконец", u));
    EXPECT_FALSE(CAi_File::AddLineToEnd(F, L"", 0));
    EXPECT_FALSE(CAi_File::AddLineToEnd(W(dir.File("none.txt")), L"x", 0));

    EXPECT_EQ(CAi_File::GetSeekBefore(F, L"Первая"), 8);
    EXPECT_EQ(CAi_File::GetSeekAfter(F, L"Первая"), 14);
    EXPECT_EQ(CAi_File::GetSeekAfter(F, L"нет"), -1);

    // The source's text goes in the destination's coding, whatever the source's own.
    WriteFile(src, Bytes(L"ВСТАВКА", !u));
    EXPECT_TRUE(CAi_File::ChangeBlockInFile(W(src), F, 8, 14, CAi_File::eNewLineBoth));
    EXPECT_EQ(ReadFile(f), Bytes(L"начало\r\n\r\nВСТАВКА\r\n\r\nвторая\r\nконец", u));
    std::string before = ReadFile(f);
    WriteFile(empty, "");
    EXPECT_TRUE(CAi_File::ChangeBlockInFile(W(empty), F, 0, 3, 3));
    EXPECT_FALSE(CAi_File::ChangeBlockInFile(W(dir.File("missing")), F, 0, 3, 0));
    EXPECT_FALSE(CAi_File::ChangeBlockInFile(W(src), F, 5, 4, 0));
    EXPECT_FALSE(CAi_File::ChangeBlockInFile(W(src), F, 0, 1000, 0));
    EXPECT_EQ(ReadFile(f), before);

    EXPECT_TRUE(CAi_File::CutFragment(F, 3, 3));
    EXPECT_EQ(ReadFile(f), before);
    EXPECT_TRUE(CAi_File::CutFragment(F, 6, 10));
    EXPECT_EQ(ReadFile(f), Bytes(L"началоВСТАВКА\r\n\r\nвторая\r\nконец", u));
    EXPECT_FALSE(CAi_File::CutFragment(F, -1, 2));
    EXPECT_FALSE(CAi_File::CutFragment(F, 4, 2));
    EXPECT_TRUE(CAi_File::CutFragment(F, 28, 1000));  // a tail past the end is the end
    EXPECT_EQ(ReadFile(f), Bytes(L"началоВСТАВКА\r\n\r\nвторая\r\nкон", u));

    EXPECT_TRUE(CAi_File::ChangeStringInFile(F, L"\r\n", L"|"));
    EXPECT_EQ(ReadFile(f), Bytes(L"началоВСТАВКА||вторая|кон", u));
    EXPECT_TRUE(CAi_File::TrimRight(F, L"кон|"));
    EXPECT_EQ(ReadFile(f), Bytes(L"началоВСТАВКА||вторая", u));
    EXPECT_FALSE(CAi_File::TrimRight(F, L""));
    EXPECT_FALSE(CAi_File::ChangeStringInFile(L"", L"a", L"b"));
}

TEST_P(Codings, SectionsReadAndWritten) {
    const bool u = GetParam();
    TempDir dir;
    std::string f = dir.File("s.txt");
    CString F = W(f);
    WriteFile(f, Bytes(L"head\r\n[A]\r\n x = 1 \r\ny=2=3\r\n\r\n=4\r\n[/A]\r\n[B]\r\nz=9\r\n[/B]\r\n", u));
    CAi_File file;
    CString copy;
    file.m_pSectionText = &copy;
    ASSERT_TRUE(file.GetParametersFromSection(F, L"[A]", L"", L"="));
    ASSERT_EQ(file.m_vSectionParams.size(), 3u);
    EXPECT_EQ(file.m_vSectionParams[0], (std::pair<CString, CString>(L"x", L"1")));
    EXPECT_EQ(file.m_vSectionParams[1], (std::pair<CString, CString>(L"y", L"2")));
    EXPECT_EQ(file.m_vSectionParams[2], (std::pair<CString, CString>(L"4", L"")));
    EXPECT_EQ(copy.Left(4), L"head");
    ASSERT_TRUE(file.GetParametersFromSection(F, L"[A]", L"[/A]", L""));
    ASSERT_EQ(file.m_vSectionParams.size(), 3u);
    EXPECT_EQ(file.m_vSectionParams[0], (std::pair<CString, CString>(L"x = 1", L"")));
    EXPECT_EQ(file.m_vSectionParams[2], (std::pair<CString, CString>(L"=4", L"")));
    EXPECT_TRUE(file.GetParametersFromSection(L"no section here", L"[A]", L"", L"="));
    EXPECT_TRUE(file.m_vSectionParams.empty());
    EXPECT_FALSE(file.GetParametersFromSection(static_cast<const wchar_t*>(nullptr), L"[A]", L"", L"="));
    EXPECT_EQ(CFileCtrlInnerUsing::CreateSectStop(L"[Name]"), L"[/Name]");

    ASSERT_TRUE(file.SetParameterAndMeanToSection(F, L"[A]", L"[/A]", L"y", L"5", L"="));
    ASSERT_TRUE(file.SetParameterAndMeanToSection(F, L"[A]", L"[/A]", L"w", L"в", L"="));
    EXPECT_TRUE(file.m_vSectionParams.empty());
    ASSERT_TRUE(file.SetParameterAndMeanToSection(F, L"[C]", L"[/C]", L"n", L"1", L"="));
    EXPECT_EQ(ReadFile(f), Bytes(L"head\r\n[A]\r\nx=1\r\ny=5\r\n4=\r\nw=в\r\n[/A]\r\n[B]\r\nz=9\r\n[/B]\r\n\r\n[C]\r\nn=1\r\n[/C]", u));
    EXPECT_FALSE(file.SetParameterAndMeanToSection(F, L"[A]", L"[/A]", L"", L"1", L"="));

    testutil::FakeUi ui;
    WriteFile(f, Bytes(L"[/D]\r\n[D]\r\n", u));
    std::string odd = ReadFile(f);
    EXPECT_FALSE(CAi_File::AddLineToSection(F, L"a=1", L"[D]", L"[/D]"));
    EXPECT_FALSE(file.SetParameterAndMeanToSection(F, L"[D]", L"[/D]", L"a", L"1", L"="));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], L"Error in CAi_File::AddLineToSection (Af-9,Bf-0,Sta-[D],Sto-[/D])!");
    EXPECT_EQ(ReadFile(f), odd);
    EXPECT_FALSE(CAi_File::AddLineToSection(W(dir.File("none")), L"a", L"[D]", L"[/D]"));
    EXPECT_EQ(ui.messages.back(), L"Error in CAi_File::AddLineToSection 2!");
}

INSTANTIATE_TEST_SUITE_P(AiFileEdit, Codings, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Utf16" : "Ansi"; });

TEST(AiFileEdit, FailedWriteLeavesTheOldFile) {
    TempDir dir;
    std::string f = dir.File("big.txt");
    std::wstring body(3000, L'ж');
    WriteFile(f, platform::WideToUtf16Le(L"[S]\r\na=1\r\n[/S]\r\n" + body, true));
    const std::string before = ReadFile(f);
    CAi_File file;
    {
        testutil::FileSizeLimit limit(1000);  // the disk is full
        EXPECT_FALSE(CAi_File::AddLineToEnd(W(f), L"x", 0));
        EXPECT_FALSE(CAi_File::CutFragment(W(f), 0, 3));
        EXPECT_FALSE(file.SetParameterAndMeanToSection(W(f), L"[S]", L"[/S]", L"a", L"2", L"="));
    }
    EXPECT_EQ(ReadFile(f), before);
}

TEST(AiFileEdit, EnvironmentPathEntries) {
    TempDir dir;
    const char* old = getenv("XDG_CONFIG_HOME");
    std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
    EXPECT_FALSE(CAi_File::AddPathToSystemEnvironment(L"C:\\a"));  // no value to edit
    GET_REG_PARAM p;
    p.hRoot = HKEY_LOCAL_MACHINE;
    p.strKey = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
    p.strName = L"Path";
    p.strValue = L"C:\\ab;C:\\b";
    CAi_Registry reg;
    ASSERT_TRUE(reg.CreateAndSetValue(&p));
    auto value = [&] {
        GET_REG_PARAM q = p;
        reg.GetRegParam(&q);
        return q.strValue;
    };
    EXPECT_TRUE(CAi_File::AddPathToSystemEnvironment(L"c:\\B"));  // already there
    EXPECT_EQ(value(), L"C:\\ab;C:\\b");
    EXPECT_TRUE(CAi_File::AddPathToSystemEnvironment(L"C:\\a"));  // "C:\\ab" is another entry
    EXPECT_EQ(value(), L"C:\\ab;C:\\b;C:\\a");
    EXPECT_TRUE(CAi_File::DeletePathFromSystemEnvironment(L"C:\\x"));
    EXPECT_EQ(value(), L"C:\\ab;C:\\b;C:\\a");
    EXPECT_TRUE(CAi_File::DeletePathFromSystemEnvironment(L"C:\\A"));
    EXPECT_EQ(value(), L"C:\\ab;C:\\b");
    EXPECT_TRUE(CAi_File::DeletePathFromSystemEnvironment(L"C:\\ab"));
    EXPECT_EQ(value(), L"C:\\b");
    if (old) setenv("XDG_CONFIG_HOME", saved.c_str(), 1); else unsetenv("XDG_CONFIG_HOME");
}

namespace {

// The checks as a user without special rights sees them; 0 when all held.
int PermissionChecks(const std::string& root) {
    int failures = 0;
    auto expect = [&](bool ok) { failures += ok ? 0 : 1; };
    CString ro = W(root + "/ro.txt"), rw = W(root + "/rw.txt"), none = W(root + "/none.txt");
    expect(CAi_File::ExaminePermissions(rw, false, CAi_File::ePermReadWrite, false));
    expect(CAi_File::ExaminePermissions(ro, false, CAi_File::ePermRead, false));
    expect(!CAi_File::ExaminePermissions(ro, false, CAi_File::ePermWrite, false));
    expect(CAi_File::m_strPermissionErrorInfo == L"Вы не имеете прав на запись в указанный файл!!");
    expect(!CAi_File::ExaminePermissions(none, false, CAi_File::ePermReadWrite, false));
    expect(CAi_File::m_strPermissionErrorInfo == L"Вы не имеете прав на чтение и запись указанного файла!!");
    expect(!CAi_File::ExaminePermissions(none, false, CAi_File::ePermRead, false));
    expect(CAi_File::m_strPermissionErrorInfo == L"Вы не имеете прав на чтение указанного файла!!");
    expect(!CAi_File::ExaminePermissions(W(root + "/rodir"), true, CAi_File::ePermWrite, false));
    expect(CAi_File::m_strPermissionErrorInfo == L"Вы не имеете прав на запись в указанную папку!!");
    expect(!CAi_File::ExaminePermissions(ro, true, CAi_File::ePermRead, false));  // a file is no folder
    CString below = W(root + "/rodir/not/yet\\");
    expect(!CAi_File::ExaminePermissions2(below, true, CAi_File::ePermWrite, false));
    expect(below == W(root + "/rodir/not/yet"));
    CString fine = W(root + "/new/sub");
    expect(CAi_File::ExaminePermissions2(fine, true, CAi_File::ePermReadWrite, false));
    return failures;
}

}  // namespace

TEST(AiFileEdit, Permissions) {
    TempDir dir;
    std::string root = dir.File("p");
    mkdir(root.c_str(), 0777);
    chmod(root.c_str(), 0777);
    WriteFile(root + "/ro.txt", "r");
    WriteFile(root + "/rw.txt", "w");
    WriteFile(root + "/none.txt", "n");
    mkdir((root + "/rodir").c_str(), 0555);
    chmod((root + "/ro.txt").c_str(), 0444);
    chmod((root + "/rw.txt").c_str(), 0666);
    chmod((root + "/none.txt").c_str(), 0000);
    chmod(dir.path().c_str(), 0755);
    if (geteuid() != 0) {
        EXPECT_EQ(PermissionChecks(root), 0);
    } else {
        // The superuser may do everything; the checks run as an ordinary user.
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            if (setgid(65534) != 0 || setuid(65534) != 0) _exit(100);
            _exit(PermissionChecks(root));
        }
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    testutil::FakeUi ui;
    CString missing = W(root + "/gone.txt");
    EXPECT_FALSE(CAi_File::ExaminePermissions(missing, false, CAi_File::ePermRead, true));
    EXPECT_TRUE(ui.messages.empty());  // nothing to check, nothing to say
    CString nowhere = L"no-such-folder-here/x";
    EXPECT_FALSE(CAi_File::ExaminePermissions2(nowhere, false, CAi_File::ePermRead, false));
}
