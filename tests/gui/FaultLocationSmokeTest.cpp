// Fault location in the real program under Xvfb: a fault record with its line model in the
// record's settings file, the run from the ribbon, the result in the caption bar.
#include <gtest/gtest.h>


#include "TestUtil.h"
#include "tests/faultloc/FaultRecord.h"
#include "platform/Encoding.h"

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

// The record's settings file with the line model: one 20 km section of 40 towers, isolated
// neutral, written as the program writes it (UTF-16 XML).
void WriteSettings(const testutil::TempDir& dir) {
    const std::wstring xml =
        L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n"
        L"<settings>\r\n"
        L"\t<category name=\"WrongPlaceFinding\" type=\"1\" ver=\"2\">\r\n"
        L"\t\t<category name=\"Station1\" Ia=\"Ia\" Ib=\"Ib\" Ic=\"Ic\" In=\"100\" Ua=\"\" Uab=\"Uab\" Ub=\"\" "
        L"Ubc=\"Ubc\" Uc=\"\" Uca=\"Uca\" obj_name=\"ПС Северная\">\r\n"
        L"\t\t\t<category name=\"Section1\" comment=\"\" lenght=\"20\" r=\"0,12\" r0=\"0\" r1=\"0\" "
        L"sup_number=\"40\" x=\"0.41\" x0=\"0\" x1=\"0\"/>\r\n"
        L"\t\t</category>\r\n"
        L"\t\t<category name=\"Station2\" In=\"0\" obj_name=\"Подстанция\"/>\r\n"
        L"\t</category>\r\n"
        L"</settings>\r\n";
    testutil::WriteFile(dir.File("fault.set"), platform::WideToUtf16Le(xml, true));
}

}  // namespace

TEST(FaultLocationSmoke, RibbonRunShowsTheResultInTheCaptionBar) {
    testutil::TempDir dir;
    const std::string cfg = WriteFaultRecord(dir);
    WriteSettings(dir);
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
    WriteSettings(dir);
    int rc = -1;
    const std::string text = RunProgram(dir, {cfg}, "32807", &rc);
    ASSERT_EQ(rc, 0) << text;
    EXPECT_NE(text.find("dialog=Параметры ОМП\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("dialog="), text.rfind("dialog=")) << text;  // the editor alone
    EXPECT_EQ(text.find("resultbar="), std::string::npos) << text;
}
