// The real program under Xvfb: it starts, shows its main window and closes cleanly.
#include <gtest/gtest.h>

#include "TestUtil.h"

TEST(Startup, MainWindowOpensAndClosesCleanly) {
    testutil::TempDir dir;
    std::string report = dir.File("report.txt");
    auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik"}, {"TENVORIK_SMOKE=" + report});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string text = testutil::ReadFile(report);
    EXPECT_NE(text.find("title=Tenvorik"), std::string::npos) << text;
}
