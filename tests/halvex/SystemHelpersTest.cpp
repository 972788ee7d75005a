#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "FakeUi.h"
#include "TestUtil.h"
#include "halvex/helpers/Ai_Bmp.h"
#include "halvex/helpers/Ai_COMPortList.h"
#include "halvex/helpers/Ai_CRC.h"
#include "halvex/helpers/Ai_Diff.h"
#include "halvex/helpers/Ai_Msg.h"
#include "halvex/helpers/Ai_Position.h"
#include "halvex/helpers/Ai_Registry.h"
#include "halvex/helpers/Ai_RunApp.h"
#include "platform/Encoding.h"
#include "platform/draw/DeviceContext.h"
#include "platform/draw/GdiObjects.h"

using testutil::ReadFile;
using testutil::TempDir;
using testutil::WriteFile;

namespace {

CString W(const std::string& utf8) { return CString(platform::Utf8ToWide(utf8)); }

// Points the profile folder, and so the registry's files, into a test folder.
class ConfigHome {
public:
    explicit ConfigHome(const TempDir& dir) {
        const char* old = getenv("XDG_CONFIG_HOME");
        if (old) m_old = old, m_had = true;
        setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
    }
    ~ConfigHome() {
        if (m_had)
            setenv("XDG_CONFIG_HOME", m_old.c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
    }

private:
    std::string m_old;
    bool m_had = false;
};

}  // namespace

TEST(AiCRC, ModbusCheckValue) {
    const BYTE digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(CAi_CRC::CalcCRC(digits, 9), 0x374B);
    BYTE first = 0, second = 0;
    EXPECT_EQ(CAi_CRC::SetCRCTo(&first, &second, digits, 9), 0x374B);
    EXPECT_EQ(first, 0x37);
    EXPECT_EQ(second, 0x4B);
    WORD running = 0xFFFF;
    for (BYTE b : digits) running = CAi_CRC::CalcCRC_FromStreem(b, running);
    EXPECT_EQ(running, 0x374B);
    // A Modbus request as sent on the wire: address 1, function 3, register 0, count 1.
    const BYTE request[] = {0x01, 0x03, 0x00, 0x00, 0x00, 0x01};
    CAi_CRC::SetCRCTo(&first, &second, request, 6);
    EXPECT_EQ(first, 0x84);
    EXPECT_EQ(second, 0x0A);
    EXPECT_EQ(CAi_CRC::CalcCRC(nullptr, 5), 0xFFFF);
    EXPECT_EQ(CAi_CRC::CalcCRC(digits, 0), 0xFFFF);
}

TEST(AiMsg, ParametersFillPlaceholdersInOrder) {
    testutil::FakeUi ui;
    ui.answers.push_back(IDYES);
    EXPECT_EQ(CAi_Msg::AfxMsgBox(MB_YESNO, L"%d of %d in %s", 3, 2, 7, L"A"), IDYES);
    EXPECT_EQ(CAi_Msg::GetMadeMessage(), L"2 of 7 in A");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.types[0], unsigned(MB_YESNO));
    // Only `count` parameters are used; a parameter of an unknown kind is reported and skipped.
    MSG_PARAM odd;
    odd.nKind = 5;
    CAi_Msg::AfxMsgBox(MB_OK, L"%s %d %s", 2, std::vector<MSG_PARAM>{odd, MSG_PARAM(L"x"), MSG_PARAM(1)});
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[1], L"Error [AfxMsgBox]!");
    EXPECT_EQ(ui.messages[2], L"x %d %s");
}

TEST(AiPosition, StrictlyInside) {
    CRect r(10, 10, 20, 20);
    struct Case { int x, y; bool in; };
    for (const Case& c : {Case{15, 15, true}, Case{11, 19, true}, Case{10, 15, false}, Case{20, 15, false},
                          Case{15, 10, false}, Case{15, 20, false}})
        EXPECT_EQ(CAi_Position::IsMouseInWnd(CPoint(c.x, c.y), r), c.in) << c.x << "," << c.y;
}

TEST(AiRegistry, ValuesKeysAndCopies) {
    TempDir dir;
    ConfigHome home(dir);
    CAi_Registry reg;
    EXPECT_EQ(reg.GetRegParam(nullptr), CAi_Registry::eRegNoParam);
    GET_REG_PARAM p;
    p.hRoot = HKEY_CURRENT_USER;
    p.strKey = L"Software\\Korvelund\\Plenwick";
    p.strName = L"Port";
    p.dwType = REG_DWORD;
    p.dwValue = 503;
    EXPECT_EQ(reg.GetRegParam(&p), CAi_Registry::eRegNoKey);
    EXPECT_FALSE(reg.SetValue(&p));  // the key does not exist yet
    EXPECT_TRUE(reg.CreateAndSetValue(&p));
    p.strName = L"Name";
    p.dwType = REG_SZ;
    p.strValue = L"Блок\\1";
    EXPECT_TRUE(reg.SetValue(&p));
    p.dwType = 3;  // binary values are not written
    EXPECT_FALSE(reg.SetValue(&p));

    GET_REG_PARAM q;
    q.strKey = L"SOFTWARE\\korvelund\\plenwick\\";
    q.strName = L"port";
    q.dwType = REG_DWORD;
    EXPECT_EQ(reg.GetRegParam(&q), CAi_Registry::eRegRead);
    EXPECT_EQ(q.dwValue, 503u);
    EXPECT_EQ(q.strValue, L"503");
    q.strName = L"Name";
    q.dwType = REG_SZ;
    EXPECT_EQ(reg.GetRegParam(&q), CAi_Registry::eRegRead);
    EXPECT_EQ(q.strValue, L"Блок\\1");
    q.strName = L"Missing";
    EXPECT_EQ(reg.GetRegParam(&q), CAi_Registry::eRegNoValue);

    // A sub-key does not hide the key's own values.
    GET_REG_PARAM sub = p;
    sub.dwType = REG_SZ;
    sub.strKey = L"Software\\Korvelund\\Plenwick\\Sub";
    sub.strName = L"Deep";
    sub.strValue = L"1";
    EXPECT_TRUE(reg.CreateAndSetValue(&sub));
    q.strName = L"Name";
    EXPECT_EQ(reg.GetRegParam(&q), CAi_Registry::eRegRead);

    EXPECT_EQ(CAi_Registry::CopyKey(HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, L"Software\\Korvelund\\Plenwick",
                                    L"Copy"),
              ERROR_SUCCESS);
    GET_REG_PARAM c;
    c.hRoot = HKEY_LOCAL_MACHINE;
    c.strKey = L"Copy\\Sub";
    c.strName = L"Deep";
    EXPECT_EQ(reg.GetRegParam(&c), CAi_Registry::eRegRead);
    EXPECT_EQ(c.strValue, L"1");
    c.strKey = L"Copy";
    c.strName = L"Name";
    EXPECT_EQ(reg.GetRegParam(&c), CAi_Registry::eRegRead);
    EXPECT_EQ(c.strValue, L"Блок\\1");
    EXPECT_EQ(CAi_Registry::CopyKey(HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, L"Nothing", L"X"), ERROR_FILE_NOT_FOUND);
}

TEST(AiRunApp, StartsWaitsAndReports) {
    testutil::FakeUi ui;
    TempDir dir;
    CAi_RunApp run;
    DWORD code = 99;
    EXPECT_EQ(run.RunApplication(L"", L"sh -c \"exit 3\"", 1, 0, &code), 1);
    EXPECT_EQ(code, 3u);
    // The folder and the environment block reach the program.
    CString env = W("TV_X=a b") + CString(L'\0', 1) + W("PATH=/usr/bin:/bin") + CString(L'\0', 1);
    CString folder = W(dir.path());
    EXPECT_EQ(run.RunApplication(L"/bin/sh", L"sh -c \"pwd > out.txt; echo \\\"$TV_X\\\" >> out.txt\"", 1, 0, &code,
                                 &env, &folder),
              1);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(ReadFile(dir.File("out.txt")), dir.path() + "\na b\n");
    EXPECT_TRUE(ui.messages.empty());

    EXPECT_EQ(run.RunApplication(L"", L"/no/such/program -x", 1, 0, &code), 0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], L"Ошибка запуска приложения!\n[/no/such/program -x]");
    EXPECT_EQ(ui.types[0], unsigned(MB_OK | MB_ICONERROR));
    EXPECT_TRUE(run.RunApplication2(L"true", false));
    EXPECT_FALSE(run.RunApplication2(L"/no/such/program", true));
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST(AiRunApp, ElevatedStartGoesThroughPkexecOrSaysWhyNot) {
    testutil::FakeUi ui;
    TempDir dir;
    const char* oldPath = getenv("PATH");
    std::string savedPath = oldPath ? oldPath : "";
    // A stand-in pkexec that records what it was asked to run.
    std::string out = dir.File("args.txt");
    WriteFile(dir.File("pkexec"), "#!/bin/sh\necho \"$@\" > " + out + ".part && mv " + out + ".part " + out + "\n");
    chmod(dir.File("pkexec").c_str(), 0755);
    setenv("PATH", (dir.path() + ":/usr/bin:/bin").c_str(), 1);
    CAi_RunApp run;
    EXPECT_TRUE(run.RunApplicationElevated(L"true"));  // a bare name is looked up: pkexec wants a full path
    for (int i = 0; i < 200 && access(out.c_str(), F_OK) != 0; ++i) usleep(10000);
    std::string args = ReadFile(out);
    EXPECT_TRUE(args == "/usr/bin/true\n" || args == "/bin/true\n") << args;
    EXPECT_TRUE(ui.messages.empty());

    setenv("PATH", dir.File("none").c_str(), 1);
    EXPECT_FALSE(run.RunApplicationElevated(L"/bin/true"));
    setenv("PATH", savedPath.c_str(), 1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].Find(L"pkexec"), -1);
    EXPECT_NE(ui.messages[0].Find(L"[/bin/true]"), -1);
}

// pkexec's own failures (126: the password dialog dismissed or refused, 127: not authorised or
// the program cannot run) answer false without a message; a program that pkexec runs answers
// true whatever it later returns, and the call does not wait for the program to end.
TEST(AiRunApp, ElevatedStartTellsARefusalFromARunningProgram) {
    testutil::FakeUi ui;
    TempDir dir;
    const char* oldPath = getenv("PATH");
    const std::string savedPath = oldPath ? oldPath : "";
    // A stand-in pkexec: it takes a moment, as a password dialog would, then ends as told or
    // gives its process to the program.
    WriteFile(dir.File("pkexec"), "#!/bin/sh\nsleep 0.2\ncase \"$FAKE_PKEXEC_END\" in\n"
                                  "  run) exec \"$@\" ;;\n"
                                  "  *) exit \"$FAKE_PKEXEC_END\" ;;\nesac\n");
    chmod(dir.File("pkexec").c_str(), 0755);
    // The program says it started, then runs until the test lets it end.
    const std::string started = dir.File("started"), gate = dir.File("gate"), ended = dir.File("ended");
    WriteFile(dir.File("elevated-program"), "#!/bin/sh\ntouch " + started + "\ni=0\nwhile [ ! -f " + gate +
                                                " ] && [ $i -lt 400 ]; do sleep 0.05; i=$((i+1)); done\n"
                                                "touch " + ended + "\n");
    chmod(dir.File("elevated-program").c_str(), 0755);
    WriteFile(dir.File("fails"), "#!/bin/sh\nexit 3\n");
    chmod(dir.File("fails").c_str(), 0755);
    setenv("PATH", (dir.path() + ":/usr/bin:/bin").c_str(), 1);
    CAi_RunApp run;
    struct Case {
        const char* end;
        std::string program;
        bool started;
    };
    const Case cases[] = {
        {"126", "/bin/true", false},     // the dialog dismissed
        {"127", "/bin/true", false},     // not authorised, or nothing to run
        {"0", "/bin/true", true},        // the program ran and ended well
        {"run", dir.File("fails"), true},  // it ran; its own failure is its own
        {"run", "/no/such/program", false},  // the shell cannot run it: 127
    };
    for (const Case& c : cases) {
        setenv("FAKE_PKEXEC_END", c.end, 1);
        EXPECT_EQ(run.RunApplicationElevated(W(c.program)), c.started) << c.end << " " << c.program;
    }

    setenv("FAKE_PKEXEC_END", "run", 1);
    EXPECT_TRUE(run.RunApplicationElevated(W(dir.File("elevated-program"))));
    EXPECT_NE(access(ended.c_str(), F_OK), 0);  // answered while the program still runs
    WriteFile(gate, "");
    for (int i = 0; i < 500 && access(ended.c_str(), F_OK) != 0; ++i) usleep(10000);
    EXPECT_EQ(access(started.c_str(), F_OK), 0);
    EXPECT_EQ(access(ended.c_str(), F_OK), 0);

    unsetenv("FAKE_PKEXEC_END");
    setenv("PATH", savedPath.c_str(), 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(AiCOMPortList, PortsWithHardwareOnly) {
    TempDir dir;
    auto port = [&](const std::string& name, bool device, const char* type) {
        mkdir(dir.File(name).c_str(), 0755);
        if (device) mkdir(dir.File(name + "/device").c_str(), 0755);
        if (type) WriteFile(dir.File(name + "/type"), type);
    };
    port("ttyS10", true, "4\n");
    port("ttyS2", true, "4\n");
    port("ttyS3", true, "0\n");  // reserved, no UART
    port("ttyUSB0", true, nullptr);
    port("ttyACM1", false, nullptr);
    port("tty1", true, nullptr);
    CAi_COMPortList list;
    std::vector<CString> names = {L"stale"};
    EXPECT_TRUE(list.GetCOMPortListFrom(W(dir.path()), &names));
    EXPECT_EQ(names, (std::vector<CString>{L"/dev/ttyS2", L"/dev/ttyS10", L"/dev/ttyUSB0"}));
    EXPECT_EQ(list.m_vPorts, names);
    EXPECT_TRUE(list.GetCOMPortListFrom(W(dir.File("none")), &names));
    EXPECT_TRUE(names.empty());
    EXPECT_TRUE(list.GetCOMPortList(nullptr));
}

TEST(AiDiff, SystemLine) {
    wchar_t text[256];
    wcscpy(text, L"old");
    EXPECT_EQ(CAi_Diff::GetOSDisplayString(text, nullptr), 1);
    CString line(text);
    EXPECT_NE(line, L"old");
    EXPECT_NE(line.Find(L"(build "), -1);
    EXPECT_LT(line.GetLength(), 256);
}

TEST(AiBmp, SavedFileAndItsSize) {
    TempDir dir;
    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateTransparentBitmap(5, 3));
    CString file = W(dir.File("pic.bmp"));
    ASSERT_TRUE(CAi_Bmp::SaveBitmapInFile(&bmp, file));
    std::string bytes = ReadFile(dir.File("pic.bmp"));
    ASSERT_EQ(bytes.size(), 14u + 40u + 5u * 3u * 4u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    SIZE size{9, 9};
    EXPECT_TRUE(CAi_Bmp::GetBitmapSize(file, &size));
    EXPECT_EQ(size.cx, 5);
    EXPECT_EQ(size.cy, 3);
    WriteFile(dir.File("short.bmp"), bytes.substr(0, 20));
    EXPECT_FALSE(CAi_Bmp::GetBitmapSize(W(dir.File("short.bmp")), &size));
    EXPECT_EQ(size.cx, 0);
    EXPECT_FALSE(CAi_Bmp::GetBitmapSize(W(dir.File("missing.bmp")), &size));
    EXPECT_FALSE(CAi_Bmp::GetBitmapSize(1234, &size));

    // The kept copy is drawn stretched where it is asked to go.
    CDC screen;
    ASSERT_TRUE(screen.CreateCompatibleDC(nullptr));
    CBitmap target;
    ASSERT_TRUE(target.CreateCompatibleBitmap(&screen, 20, 20));
    screen.SelectObject(&target);
    screen.FillSolidRect(0, 0, 20, 20, RGB(255, 255, 255));
    CBitmap red;
    ASSERT_TRUE(red.CreateCompatibleBitmap(&screen, 2, 2));
    {
        CDC paint;
        paint.CreateCompatibleDC(nullptr);
        paint.SelectObject(&red);
        paint.FillSolidRect(0, 0, 2, 2, RGB(255, 0, 0));
    }
    CAi_Bmp keeper;
    keeper.SetBMP(&red);
    SIZE to{8, 8};
    POINT at{4, 4};
    EXPECT_TRUE(keeper.MoveOutBMPToDC(&screen, &to, &at));
    EXPECT_EQ(target.GetPixel(8, 8), RGB(255, 0, 0));
    EXPECT_EQ(target.GetPixel(2, 2), RGB(255, 255, 255));
    EXPECT_FALSE(keeper.MoveOutBMPFileToDC(&screen, &to, &at, file));
}

// The five-argument form reads the kept pixels as the given description lays them out: the
// left half of a picture kept whole, or nothing when it asks for more than is kept.
TEST(AiBmp, KeptPixelsDrawnAsADescriptionLaysThemOut) {
    CBitmap halves;
    {
        CDC paint;
        ASSERT_TRUE(paint.CreateCompatibleDC(nullptr));
        ASSERT_TRUE(halves.CreateCompatibleBitmap(&paint, 4, 2));
        paint.SelectObject(&halves);
        paint.FillSolidRect(0, 0, 2, 2, RGB(255, 0, 0));
        paint.FillSolidRect(2, 0, 2, 2, RGB(0, 0, 255));
    }
    CAi_Bmp keeper;
    keeper.SetBMP(&halves);
    ASSERT_EQ(keeper.m_bitmap.bmWidth, 4);

    CDC screen;
    ASSERT_TRUE(screen.CreateCompatibleDC(nullptr));
    CBitmap target;
    ASSERT_TRUE(target.CreateCompatibleBitmap(&screen, 20, 20));
    screen.SelectObject(&target);
    auto clear = [&] { screen.FillSolidRect(0, 0, 20, 20, RGB(255, 255, 255)); };
    SIZE to{8, 8};
    POINT at{2, 2};

    clear();
    BITMAP left = keeper.m_bitmap;
    left.bmWidth = 2;
    EXPECT_TRUE(keeper.MoveOutBMPToDC(&screen, &to, &at, &halves, &left));
    EXPECT_EQ(target.GetPixel(3, 3), RGB(255, 0, 0));
    EXPECT_EQ(target.GetPixel(9, 9), RGB(255, 0, 0));  // stretched: no blue half
    EXPECT_EQ(target.GetPixel(12, 12), RGB(255, 255, 255));

    // The kept form is the five-argument one with the kept description.
    clear();
    EXPECT_TRUE(keeper.MoveOutBMPToDC(&screen, &to, &at, keeper.m_pBitmap, &keeper.m_bitmap));
    EXPECT_EQ(target.GetPixel(3, 3), RGB(255, 0, 0));
    EXPECT_EQ(target.GetPixel(9, 9), RGB(0, 0, 255));

    clear();
    BITMAP tooTall = keeper.m_bitmap;
    tooTall.bmHeight = 3;
    BITMAP tooWide = keeper.m_bitmap;
    tooWide.bmWidth = 5;
    BITMAP paletted = keeper.m_bitmap;
    paletted.bmBitsPixel = 8;
    for (const BITMAP* d : std::initializer_list<const BITMAP*>{&tooTall, &tooWide, &paletted, nullptr})
        EXPECT_FALSE(keeper.MoveOutBMPToDC(&screen, &to, &at, &halves, d));
    EXPECT_EQ(target.GetPixel(3, 3), RGB(255, 255, 255));
    CAi_Bmp empty;
    EXPECT_FALSE(empty.MoveOutBMPToDC(&screen, &to, &at, &halves, &left));
}
