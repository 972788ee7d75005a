// Fault location in the real program under Xvfb: a fault record with its line model in the
// record's settings file, the run from the ribbon, the result in the caption bar.
#include <gtest/gtest.h>


#include "TestUtil.h"
#include "tests/faultloc/FaultRecord.h"

namespace {

std::string RunProgram(const testutil::TempDir& dir, const std::vector<std::string>& args, const std::string& commands,
                       int* exitCode) {
    const std::string report = dir.File("report.txt");
    std::vector<std::string> argv{std::string(TV_BIN_DIR) + "/Tenvorik"};
    argv.insert(argv.end(), args.begin(), args.end());
    auto r = testutil::Run(argv,
                           testutil::SmokeEnv(dir, {"TENVORIK_SMOKE=" + report, "TENVORIK_SMOKE_COMMANDS=" + commands}));
    *exitCode = r.exitCode;
    return testutil::ReadFile(report) + r.err;
}

}  // namespace

TEST(FaultLocationSmoke, RibbonRunShowsTheResultInTheCaptionBar) {
    testutil::TempDir dir;
    const std::string cfg = WriteFaultRecord(dir);
    WriteFaultSettings(dir);
    int rc = -1;
    const std::string text = RunProgram(dir, {cfg}, "32806", &rc);
    ASSERT_EQ(rc, 0) << text;
    EXPECT_NE(text.find("resultbar=    2-х фазное КЗ: фазы BC на участке № 1, опоры 12 - 13.    Расстояние = 6."),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("parambar=Станция: PS"), std::string::npos) << text;
    EXPECT_EQ(text.find("dialog="), std::string::npos) << text;
}

TEST(FaultLocationSmoke, RunWithoutLineModelSaysSoAndShowsNoResult) {
    testutil::TempDir dir;
    const std::string cfg = WriteFaultRecord(dir);
    int rc = -1;
    const std::string text = RunProgram(dir, {cfg}, "32806", &rc);
    ASSERT_EQ(rc, 0) << text;
    EXPECT_NE(text.find("|Данные для определения места повреждения не введены."), std::string::npos) << text;
    EXPECT_EQ(text.find("resultbar="), std::string::npos) << text;
}

TEST(FaultLocationSmoke, LineModelEditorOpensAndCancelRunsNothing) {
    testutil::TempDir dir;
    const std::string cfg = WriteFaultRecord(dir);
    WriteFaultSettings(dir);
    int rc = -1;
    const std::string text = RunProgram(dir, {cfg}, "32807", &rc);
    ASSERT_EQ(rc, 0) << text;
    EXPECT_NE(text.find("dialog=Параметры ОМП\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("dialog="), text.rfind("dialog=")) << text;  // the editor alone
    EXPECT_EQ(text.find("resultbar="), std::string::npos) << text;
}
