#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

#include "TestUtil.h"
#include "halvex/helpers/Ai_File.h"
#include "halvex/helpers/Ai_GetResFile.h"
#include "halvex/helpers/Ai_Log.h"
#include "halvex/helpers/Ai_Time.h"
#include "halvex/helpers/VersionInterface.h"
#include "platform/Encoding.h"

using testutil::ReadFile;
using testutil::TempDir;
using testutil::WriteFile;

namespace {

CString W(const std::string& utf8) { return CString(platform::Utf8ToWide(utf8)); }

// Reaches the unit conversion that the duration operations use.
class TimeProbe : public CAi_Time {
public:
    using CAi_Time::GetTimeIn;
};

}  // namespace

TEST(AiTime, UnitsAndRounding) {
    struct Case { int64_t ms; int unit; bool rounding; int64_t result; };
    const Case cases[] = {
        {90500, 3, true, 2},  {90500, 2, true, 91},  {90500, 3, false, 1}, {90500, 2, false, 90},
        {90500, 1, true, 90500}, {1500, 2, true, 2},  {1499, 2, true, 1},   {30000, 3, true, 1}, {29999, 3, true, 0}, {499, 2, true, 0},
        {5400000, 4, false, 1}, {5400000, 4, true, 2}, {5399999, 4, true, 1}, {90500, 5, true, 0},
        {90500, 0, false, 0}, {-1, 2, true, -1},      {-1, 4, false, -1},
    };
    for (const Case& c : cases) {
        TimeProbe t;
        EXPECT_EQ(t.GetTimeIn(c.ms, c.unit, c.rounding), c.result) << c.ms << " unit " << c.unit;
    }
}

TEST(AiTime, MarksInMemoryAndInTheMarkFile) {
    CAi_Time t;
    for (int unit : {1, 2, 3, 4}) EXPECT_EQ(t.GetTimePeriod(77, unit, false, true, false), -1);
    EXPECT_EQ(CAi_Time::GetTimePeriod_(77, 2, false, false), -1);
    EXPECT_FALSE(CAi_Time::IsID_(77));
    CAi_Time::SaveCurrentTime_(77);
    EXPECT_TRUE(CAi_Time::IsID_(77));
    EXPECT_GE(CAi_Time::GetTimePeriod_(77, 1, false, false), 0);
    CAi_Time::FreeID_(77);
    EXPECT_FALSE(CAi_Time::IsID_(77));

    CAi_Time own(5);  // its own list, not the static one
    EXPECT_FALSE(CAi_Time::IsID_(5));
    EXPECT_GE(own.GetTimePeriod(5, 1, false, false, false), 0);

    TempDir dir;
    CString file = W(dir.File("marks.ini"));
    {
        CAi_Time writer;
        writer.SaveCurrentTime(12, true, file);
    }
    // Another object (as after a restart) finds the mark through the file's section "12".
    CAi_Time reader;
    int64_t saved = reader.GetSavedTime(12, 1, true, file);
    EXPECT_GT(saved, 0);
    EXPECT_LE(saved, CAi_Time::GetCurrentTimeByMilliseconds());
    EXPECT_NE(ReadFile(dir.File("marks.ini")).find("[12]"), std::string::npos);
    EXPECT_EQ(reader.GetSavedTime(13, 1, true, file), 0);  // missing in the file: "0"
    // A mark written one and a half minutes ago by someone else.
    WriteFile(dir.File("old.ini"), "[3]\nTimerMark=" + std::to_string(CAi_Time::GetCurrentTimeByMilliseconds() - 90500) + "\n");
    EXPECT_EQ(reader.GetTimePeriod(3, 3, false, true, true, W(dir.File("old.ini"))), 2);
}

TEST(AiTime, Texts) {
    struct Case { int64_t ms; const wchar_t* text; };
    for (const Case& c : {Case{3723004, L"1:2:3.4 ч"}, Case{62005, L"1:2.5 мин"}, Case{1500, L"1.500 с"},
                          Case{999, L"999 мс"}, Case{0, L"0 мс"}})
        EXPECT_EQ(CAi_Time::GetCurrentTimeByString(CAi_Time::eStrDuration, c.ms), c.text);
    EXPECT_EQ(CAi_Time::GetCurrentTimeByString(9, 0), L"");
    CString date = CAi_Time::GetCurrentDateByString(L"_");
    EXPECT_EQ(date.GetLength(), 10);
    EXPECT_EQ(date[4], L'_');
    EXPECT_EQ(date[7], L'_');
    EXPECT_EQ(CAi_Time::GetCur().GetLength(), 8);
    SYSTEMTIME zero{}, one{};
    one.wMilliseconds = 1;
    EXPECT_TRUE(CAi_Time::IsEmpty(&zero));
    EXPECT_FALSE(CAi_Time::IsEmpty(&one));
}

TEST(AiLog, LinesAreUtf16WithoutMark) {
    TempDir dir;
    CAi_Log::SetPathToLoggingFile(W(dir.path() + "\\"));
    EXPECT_EQ(CAi_Log::m_strFile, W(dir.path() + "/Logging.txt"));
    CAi_Log::SetPathToLoggingFile(W(dir.path() + "//"));
    EXPECT_EQ(CAi_Log::m_strFile, W(dir.path() + "/Logging.txt"));

    CAi_Log log(W(dir.File("log.txt")), true);
    CAi_Log::AddStr(L"Привет");
    CAi_Log::AddStr(5);
    CAi_Log::AddStr(L"a", 6);
    CAi_Log::AddStr(7, L"b");
    CAi_Log::MyTRACE(L"t");
    EXPECT_EQ(ReadFile(dir.File("log.txt")), platform::WideToUtf16Le(L"Привет\r\n5\r\na 6\r\n7 b\r\nt\r\n", false));
    EXPECT_TRUE(CAi_Log::ClearFile());
    EXPECT_EQ(ReadFile(dir.File("log.txt")), "");

    // A dated debug log below the current folder.
    char cwd[4096];
    ASSERT_TRUE(getcwd(cwd, sizeof cwd));
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    mkdir("Debug", 0755);
    CAi_Log::WriteLog(L"text", L"name");
    std::string expected = "Debug/" + platform::WideToUtf8(CAi_Time::GetCurrentDateByString(L"_").view()) + "name.log";
    std::string content = ReadFile(dir.File(expected));
    EXPECT_NE(platform::Utf16LeToWide(content).find(L" >> text\r\n"), std::wstring::npos);
    ASSERT_EQ(chdir(cwd), 0);

    CAi_Log::m_strFile = W(dir.path() + "/missing/log.txt");  // dropped silently
    CAi_Log::AddStr(L"x");
}

TEST(VersionInterface, Versions) {
    struct Cmp { const wchar_t *a, *b; int result; };
    for (const Cmp& c : {Cmp{L"1.18.3", L"1.18.3.0", 0}, Cmp{L"1.18.10", L"1.18.9", 1}, Cmp{L"2", L"10", -1},
                         Cmp{L"1.10.30.0", L"1.10.30.0", 0}, Cmp{L"1.9.3.17", L"1.10.21.0", -1},
                         Cmp{L"1.2.3.4.9", L"1.2.3.4.1", 0}, Cmp{L"", L"0.0", 0}, Cmp{L"x", L"1", -1},
                         Cmp{L"1.0.0.1", L"1", 1}})
        EXPECT_EQ(VersionInterface::CompareVersions(c.a, c.b), c.result)
            << CStringA(c.a).GetString() << " vs " << CStringA(c.b).GetString();
    struct Part { int index; int number; };
    for (const Part& p : {Part{0, 1}, Part{1, 18}, Part{2, 3}, Part{3, 12042}, Part{5, 12042}})
        EXPECT_EQ(VersionInterface::GetNumVersionByIndex(p.index, L"1.18.3.12042"), p.number) << p.index;
    EXPECT_EQ(VersionInterface::GetNumVersionByIndex(0, L"x1"), 0);
    EXPECT_EQ(VersionInterface::GetCurrentProgrammVersion(), L"1.18.3.12042");
    EXPECT_EQ(VersionInterface::GetCurrentNumVersionByIndex(3), 12042);
    EXPECT_EQ(VersionInterface::GetCurrPrgVerWithZorv_Plenwick().Find(L"1.18.3.12042 "), 0);
    EXPECT_FALSE(VersionInterface::IsWine());
    EXPECT_FALSE(VersionInterface::IsWine());
}

TEST(AiFileVersion, ModuleRecord) {
    CAi_File f;
    // Any address inside the library names it.
    ASSERT_EQ(f.DetectFileVersionInfo(reinterpret_cast<const void*>(&VersionInterface::IsWine)), 1);
    EXPECT_EQ(f.GetFileVersion(0), 12042);
    EXPECT_EQ(f.GetFileVersion(1), 3);
    EXPECT_EQ(f.GetFileVersion(2), 18);
    EXPECT_EQ(f.GetFileVersion(3), 1);
    EXPECT_EQ(f.GetFileVersion(4), 0);
    EXPECT_EQ(f.GetProductVersion(0), 12042);
    EXPECT_EQ(f.GetFileVersion(), L"1.18.3.12042");
    EXPECT_EQ(f.GetOriginalFileName(), L"libHalvex.so");
    EXPECT_EQ(f.GetSpecialBuild(), L"");
    EXPECT_EQ(f.GetFileDate(), 0);

    // Files without a record, or not even a module, give 0 and clear what was read.
    TempDir dir;
    std::string lib = ReadFile(std::string(TV_BIN_DIR) + "/libHalvex.so");
    WriteFile(dir.File("cut.so"), lib.substr(0, 4096));
    WriteFile(dir.File("text.so"), "not a module");
    for (const char* name : {"cut.so", "text.so", "missing.so"}) {
        EXPECT_EQ(f.DetectFileVersionInfo(W(dir.File(name)).GetString()), 0) << name;
        EXPECT_EQ(f.GetFileVersion(0), 0);
        EXPECT_EQ(f.GetCompanyName(), L"");
    }
    EXPECT_EQ(f.DetectFileVersionInfo(static_cast<const wchar_t*>(nullptr)), 0);
}

TEST(AiGetResFile, HelpFilesAndTexts) {
    static const char help[] = "HELP\x01\x02";
    static const char ansi[] = "\xcf\xf0\xe8\xe2\xe5\xf2";  // "Привет" in code page 1251
    static const char utf16[] = "\xff\xfe" "A\0\x2f\x04";
    static const RESOURCE_BLOB blobs[] = {
        {L"HELPFILE", 10, help, sizeof help - 1},
        {L"TEXT", 11, ansi, sizeof ansi - 1},
        {L"TEXT", 12, utf16, 6},
        {L"TEXT", 13, utf16, 1},  // too short for its mark
    };
    CAi_GetResFile::RegisterModuleResources(reinterpret_cast<const void*>(&W), blobs, 4);
    CAi_GetResFile r;
    r.SetHModule(reinterpret_cast<const void*>(&W));
    CString path = r.GetFile(10, L"tv-help-test.bin");
    ASSERT_FALSE(path.IsEmpty());
    EXPECT_EQ(ReadFile(platform::WideToUtf8(path.view())), std::string(help, sizeof help - 1));
    EXPECT_EQ(r.BufferLength(), 6);
    unlink(platform::WideToUtf8(path.view()).c_str());
    EXPECT_EQ(r.GetFile(99, L"x.bin"), L"");
    EXPECT_EQ(r.GetFile(10, L""), L"");

    CString text;
    EXPECT_TRUE(r.GetFile(11, L"", L"TEXT", &text, eFileCodingAnsi));
    EXPECT_EQ(text, L"Привет");
    EXPECT_TRUE(r.GetFile(12, L"TEXT", L"OTHER", &text, eFileCodingUnicode));
    EXPECT_EQ(text, L"AЯ");
    EXPECT_TRUE(r.GetFile(13, L"TEXT", nullptr, &text, eFileCodingUnicode));
    EXPECT_EQ(text, L"");
    EXPECT_FALSE(r.GetFile(11, L"HELPFILE", nullptr, &text, eFileCodingAnsi));
    CAi_GetResFile other;  // the library's module has none of these
    other.SetHModule(reinterpret_cast<const void*>(&VersionInterface::IsWine));
    EXPECT_FALSE(other.GetFile(11, L"TEXT", nullptr, &text, eFileCodingAnsi));
}
