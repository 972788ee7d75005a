// Records whose names no code page holds, opened in the real program under Xvfb: the channel
// captions and the parameter bar show the names as written, and the header typed in the comment
// dialog is saved as the record's own UTF-8.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestUtil.h"

namespace {

const std::string kKorean = "SMARTSTATION testing text encoding: hgvcj\xed\x84\xb0\xed\x8c\x8c\xed\x81\xac" "387";
const std::string kChinese = "220kV\xe7\xba\xbf\xe8\xb7\xaf\xe6\x95\x85\xe9\x9a\x9c";  // 220kV线路故障
const std::string kVoltage = "\xec\xa0\x84\xec\x95\x95";                               // 전압
const std::string kCurrent = "\xe7\x94\xb5\xe6\xb5\x81";                               // 电流

std::string Cfg(const std::string& station, const std::string& channel) {
    return station + ",R1,2013\r\n2,1A,1D\r\n1," + channel + ",A,,kV,0.5,0,0,20,26,1,1,P\r\n1,Trip,,,0\r\n50\r\n1\r\n"
           "1000,4\r\n01/02/2020,10:00:00.000000\r\n01/02/2020,10:00:00.001000\r\nASCII\r\n1\r\n+3h,+3h\r\n0,0\r\n";
}

const char kDat[] = "1,0,20,0\r\n2,1000,24,1\r\n3,2000,26,0\r\n4,3000,22,1\r\n";

std::string RunProgram(const testutil::TempDir& dir, const std::string& path, const std::string& commands,
                       const std::vector<std::string>& extra, int* exitCode) {
    const std::string report = dir.File("report.txt");
    std::vector<std::string> env{"TENVORIK_SMOKE=" + report};
    if (!commands.empty()) env.push_back("TENVORIK_SMOKE_COMMANDS=" + commands);
    env.insert(env.end(), extra.begin(), extra.end());
    auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik", path}, testutil::SmokeEnv(dir, env));
    *exitCode = r.exitCode;
    return testutil::ReadFile(report) + r.err;
}

}  // namespace

TEST(RecordTextsSmoke, KoreanNamesShowAndTheHeaderIsSavedAsUtf8) {
    testutil::TempDir dir;
    testutil::WriteFile(dir.File("k.cfg"), Cfg(kKorean, kVoltage + "A"));
    testutil::WriteFile(dir.File("k.dat"), kDat);
    const std::string header = "\xea\xb3\xa0\xec\x9e\xa5 " + kCurrent;  // 고장 电流
    int rc = -1;
    const std::string text = RunProgram(dir, dir.File("k.cfg"), "32805,5003", {"TENVORIK_SMOKE_COMMENT=" + header}, &rc);
    ASSERT_EQ(rc, 0) << text;
    EXPECT_NE(text.find("channel=" + kVoltage + "A|"), std::string::npos) << text;
    EXPECT_NE(text.find("parambar=Станция: " + kKorean + " | "), std::string::npos) << text;
    EXPECT_NE(text.find("dialog=Комментарии к диаграмме|driven"), std::string::npos) << text;
    EXPECT_EQ(testutil::ReadFile(dir.File("k.hdr")), header);
}

TEST(RecordTextsSmoke, ChineseCffWithRecorderSectionLinesOpens) {
    testutil::TempDir dir;
    testutil::WriteFile(dir.File("z.cff"),
                        "--- file type  CFG ---\r\n" + Cfg(kChinese, kCurrent) + "-- file type  DAT ---\r\n" + kDat);
    int rc = -1;
    const std::string text = RunProgram(dir, dir.File("z.cff"), "", {}, &rc);
    ASSERT_EQ(rc, 0) << text;
    EXPECT_NE(text.find("channel=" + kCurrent + "|"), std::string::npos) << text;
    EXPECT_NE(text.find("parambar=Станция: " + kChinese + " | "), std::string::npos) << text;
    EXPECT_EQ(text.find("dialog="), std::string::npos) << text;
}
