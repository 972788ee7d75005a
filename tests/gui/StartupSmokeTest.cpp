// The real program under Xvfb, driven through its smoke hook: it starts, shows its main
// window, opens what it is given, and closes cleanly.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "TestUtil.h"

namespace {

// Runs the program with its profile and instance socket kept inside `dir`; returns the
// smoke report.
std::string RunProgram(const testutil::TempDir& dir, const std::vector<std::string>& args, int* exitCode = nullptr,
                       std::string* err = nullptr) {
    const std::string report = dir.File("report.txt");
    ::mkdir(dir.File("config").c_str(), 0700);
    ::mkdir(dir.File("runtime").c_str(), 0700);
    std::vector<std::string> argv{std::string(TV_BIN_DIR) + "/Tenvorik"};
    argv.insert(argv.end(), args.begin(), args.end());
    auto r = testutil::Run(argv, {"TENVORIK_SMOKE=" + report, "XDG_CONFIG_HOME=" + dir.File("config"),
                                  "XDG_RUNTIME_DIR=" + dir.File("runtime")});
    if (exitCode) *exitCode = r.exitCode;
    if (err) *err = r.err;
    return testutil::ReadFile(report);
}

}  // namespace

TEST(Startup, MainWindowOpensAndClosesCleanly) {
    testutil::TempDir dir;
    int rc = -1;
    std::string err;
    std::string text = RunProgram(dir, {}, &rc, &err);
    ASSERT_EQ(rc, 0) << err;
    EXPECT_NE(text.find("title=Tenvorik\n"), std::string::npos) << text;
    // the six cursor read-outs and the maker's pane
    EXPECT_NE(text.find("status0=Верт. визир 1:"), std::string::npos) << text;
    EXPECT_NE(text.find("status5=Разница г. визиров:"), std::string::npos) << text;
    EXPECT_NE(text.find("status6=Korvelund"), std::string::npos) << text;
    EXPECT_EQ(text.find("dialog="), std::string::npos) << text;
    // the profile was written where the test put it
    EXPECT_NE(testutil::ReadFile(dir.File("config/Korvelund/Tenvorik.ini")).find("UTC for Comtrade2013"),
              std::string::npos);
}
