#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestUtil.h"
#include "halvex/helpers/CmdLineInfo.h"
#include "platform/Encoding.h"
#include "platform/Profile.h"

using testutil::TempDir;

namespace {

CString W(const std::string& utf8) { return CString(platform::Utf8ToWide(utf8)); }

using Codes = std::vector<std::vector<int>>;

CCmdLineInfo::CMD_LINE_STATE Parse(CCmdLineInfo& info, const std::vector<std::string>& args) {
    std::vector<CString> a;
    for (const auto& s : args) a.push_back(W(s));
    return info.ParseCmdLine(a);
}

}  // namespace

TEST(CmdLineInfo, ResultCodes) {
    TempDir dir;
    testutil::WriteFile(dir.File("fw.bin"), "x");
    testutil::WriteFile(dir.File("p.pmk"), "x");
    const std::string fw = dir.File("fw.bin"), pmk = dir.File("p.pmk");
    struct Case { std::vector<std::string> args; Codes codes; };
    const Case cases[] = {
        {{"plain", "words"}, {}},
        {{"-interface:usb"}, {{0}}},
        {{"-interface:eth|192.168.0.10|502"}, {{0}}},
        {{"-interface:eth|192.168.0.300|502"}, {{18}}},
        {{"-interface:eth|1.2.3|0"}, {{18, 19}}},
        {{"-interface:eth|1.2.3.4|65536"}, {{19}}},
        {{"-interface:eth|1.2.3.4"}, {{17}}},
        {{"-interface:com"}, {{10, 11, 12, 13, 14, 15, 16}}},
        {{"-interface:com|3|1|14400"}, {{12}}},
        {{"-interface:com|0|257|9600|Even|3|256|yes"}, {{10, 11, 13, 14, 15, 16}}},
        {{"-interface:com|1|2|3|4|5|6|7|8"}, {{0}}},
        {{"-interface:serial"}, {{9}}},
        {{"-interface"}, {{9}}},
        {{"-bfpo:" + fw}, {{20}}},
        {{"-bfpo:" + fw, "-pmk:" + pmk}, {{1}, {2}}},
        {{"-pmk:" + pmk + "\"tail", "-bfpo:" + dir.File("none")}, {{2}, {21}}},
        {{"-pmk:" + dir.File("none")}, {{23}}},
        {{"-connect:true"}, {{24}}},
        {{"-interface:usb", "-connect:TRUE", "-download_pmk:False"}, {{0}, {3}, {4}}},
        {{"-interface:usb", "-connect:maybe"}, {{0}, {25}}},
        {{"-download_pmk:true"}, {{26}}},
        {{"-interface:usb", "-connect:false", "-download_pmk:x"}, {{0}, {3}, {27}}},
        {{"-login:user"}, {{33}}},
        {{"-passwd:pw"}, {{34}}},
        {{"-login:user", "-passwd:pw"}, {{6}, {7}}},
        {{"-output_file:a"}, {{35}}},  // only in automatic-test mode
        {{"-autotest", "-interface:usb"}, {{0}, {29}}},
        {{"-autotest", "-output_file:o.txt", "-output_dir:/d", "-read_params:101010101"}, {{8}, {8}, {8}}},
        {{"-autotest", "-output_file:o.txt", "-read_params:1"}, {{30}, {30}}},
        {{"-autotest", "-output_file:", "-output_dir:/d", "-read_params:1"}, {{32, 31}, {32, 31}, {32, 31}}},
        {{"-interface:usb", "-autotest"}, {{0}, {35}}},
        {{"-whatever"}, {{35}}},
    };
    for (const Case& c : cases) {
        std::string joined;
        for (const auto& a : c.args) joined += a + " ";
        SCOPED_TRACE(joined);
        CCmdLineInfo info;
        EXPECT_EQ(Parse(info, c.args).vResults, c.codes);
    }
}

TEST(CmdLineInfo, ParsedValues) {
    CCmdLineInfo info;
    auto s = Parse(info, {"-interface:eth|192.168.0.300|502"});
    EXPECT_EQ(std::vector<int>(s.nIp, s.nIp + 4), (std::vector<int>{1, 1, 1, 1}));
    EXPECT_EQ(s.nEthPort, 502u);
    EXPECT_TRUE(s.bInterface);
    EXPECT_FALSE(s.bInterfacePending == false);  // a failed check keeps it pending

    s = Parse(info, {"-interface:com|3|1|14400|even|2|10|true"});
    EXPECT_EQ(s.nInterface, CCmdLineInfo::eInterfaceCom);
    EXPECT_EQ(s.nComPort, 3);
    EXPECT_EQ(s.nBlockAddress, 1);
    EXPECT_EQ(s.nBaudRate, 19200u);  // 14400 is refused
    EXPECT_EQ(s.nParity, unsigned(CCmdLineInfo::eParityEven));
    EXPECT_EQ(s.nStopBits, 0);
    EXPECT_EQ(s.nReadInterval, 10);
    EXPECT_EQ(s.nEcho, 1);

    s = Parse(info, {"-login:user", "-autotest", "x"});
    EXPECT_EQ(s.strLogin, L"");  // no password: no user name either
    s = Parse(info, {"-autotest", "-output_file:o\"x", "-output_dir:/d", "-read_params:100000001", "-login:u\"v",
                     "-passwd:p|q"});
    EXPECT_TRUE(info.IsAutoTestPerforming());
    EXPECT_EQ(s.strOutputFile, L"o");
    EXPECT_EQ(s.strLogin, L"u");
    EXPECT_EQ(s.strPasswd, L"p");
    EXPECT_TRUE(s.bReadFlags[0]);
    EXPECT_FALSE(s.bReadFlags[1]);
    EXPECT_TRUE(s.bReadFlags[8]);
    EXPECT_EQ(s.vArgs[4], (std::vector<CString>{L"-passwd", L"p", L"q"}));

    EXPECT_FALSE(info.HasLinkKorvelundOptions());
    Parse(info, {"-connect:true"});
    EXPECT_TRUE(info.HasLinkKorvelundOptions());
    info.ResetLinkKorvelundOptions();
    EXPECT_FALSE(info.HasLinkKorvelundOptions());
}

TEST(CmdLineInfo, IniOfTheConnection) {
    TempDir dir;
    CCmdLineInfo info;
    Parse(info, {"-interface:com|4|12|38400|even|1|0|true"});
    CString file = W(dir.File("conn.ini"));
    ASSERT_TRUE(info.AnalyzeInterfaceSettings(file));
    auto ini = platform::Profile::AtPath(file);
    EXPECT_EQ(ini.GetProfileString(L"PORT_SETS", L"COM_Parity"), L"2");
    EXPECT_EQ(ini.GetProfileString(L"PORT_SETS", L"Port_Use"), L"COM");
    EXPECT_EQ(ini.GetProfileString(L"PORT_SETS", L"COM_PortNumber"), L"4");
    EXPECT_EQ(ini.GetProfileString(L"PORT_SETS", L"COM_BaudRate"), L"38400");
    EXPECT_EQ(ini.GetProfileString(L"PORT_SETS", L"COM_StopBits"), L"1");
    EXPECT_EQ(ini.GetProfileString(L"PORT_SETS", L"COM_ReadInterval"), L"0");
    EXPECT_EQ(ini.GetProfileString(L"PORT_SETS", L"COM_EchoIs"), L"1");
    EXPECT_EQ(ini.GetProfileString(L"EXCHANGE", L"BlockAddress"), L"12");

    Parse(info, {"-interface:eth|10.0.0.2|503"});
    CString eth = W(dir.File("eth.ini"));
    ASSERT_TRUE(info.AnalyzeInterfaceSettings(eth));
    auto e = platform::Profile::AtPath(eth);
    EXPECT_EQ(e.GetProfileString(L"PORT_SETS", L"EthNet_IP"), L"10.0.0.2");
    EXPECT_EQ(e.GetProfileString(L"PORT_SETS", L"EthNet_Port"), L"503");
    EXPECT_EQ(e.GetProfileString(L"PORT_SETS", L"Port_Use"), L"Ethernet");
    Parse(info, {"-interface:serial"});
    ASSERT_TRUE(info.AnalyzeInterfaceSettings(eth));
    EXPECT_EQ(platform::Profile::AtPath(eth).GetProfileString(L"PORT_SETS", L"Port_Use"), L"USB");
}

TEST(CmdLineInfo, SplitByWindowsRules) {
    struct Case { const wchar_t* line; std::vector<CString> args; };
    const Case cases[] = {
        {L"a b\tc", {L"a", L"b", L"c"}},
        {L"  \"a b\" c  ", {L"a b", L"c"}},
        {L"a\\\\\"b c\" d", {L"a\\b c", L"d"}},
        {L"a\\\"b", {L"a\"b"}},
        {L"C:\\dir\\x.exe -pmk:\"C:\\p q\\f.pmk\"", {L"C:\\dir\\x.exe", L"-pmk:C:\\p q\\f.pmk"}},
        {L"\"a\"\"b\"", {L"a\"b"}},
        {L"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(CCmdLineInfo::SplitArguments(c.line), c.args) << CStringA(c.line).GetString();
}
