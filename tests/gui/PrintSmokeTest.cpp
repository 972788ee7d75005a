// The program under Xvfb opens the preview of a record's printout from the ribbon's command.
#include <gtest/gtest.h>

#include <string>

#include "TestUtil.h"

TEST(PrintSmoke, PreviewCommandShowsThePrintout) {
    testutil::TempDir dir;
    const std::string report = dir.File("report.txt");
    // The preview is looked at while up: harmless redraw requests keep the look waiting.
    std::string commands = "57609";
    for (int i = 0; i < 4; ++i) commands += ",32831";
    auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik", std::string(TV_SOURCE_DIR) + "/samples/sample.cfg"},
                           testutil::SmokeEnv(dir, {"TENVORIK_SMOKE=" + report, "TENVORIK_SMOKE_DELAY=2500",
                                                    "TENVORIK_SMOKE_COMMANDS=" + commands}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string text = testutil::ReadFile(report);
    EXPECT_EQ(text.find("dialog="), std::string::npos) << text;
    EXPECT_NE(text.find("window=Печать\n"), std::string::npos) << text;
}
