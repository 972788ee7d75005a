// The quick-access buttons on the ribbon's tab row of the real program under Xvfb: where they
// stand, and a click on one runs its command as the menu does.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "TestUtil.h"

TEST(QuickAccessSmoke, OpenSaveAndPrintStandOnTheTabRowAndOpenOpens) {
    testutil::TempDir dir;
    testutil::WriteFile(dir.File("rec.cfg"),
                        "Quick,1,1999\n1,1A,0D\n1,Ua,A,,V,1,0,0,-32767,32767,1,1,S\n50\n1\n1000,20\n"
                        "01/02/2024,10:00:00.000000\n01/02/2024,10:00:00.000000\nASCII\n1\n");
    std::string dat;
    for (int i = 0; i < 20; ++i) dat += std::to_string(i + 1) + "," + std::to_string(i * 1000) + "," + std::to_string(i) + "\n";
    testutil::WriteFile(dir.File("rec.dat"), dat);
    const std::string report = dir.File("report.txt");
    // No record on the command line: the open button's file dialog is answered with the record.
    auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik"},
                           testutil::SmokeEnv(dir, {"TENVORIK_SMOKE=" + report, "TENVORIK_SMOKE_FILE=" + dir.File("rec.cfg"),
                                                    "TENVORIK_SMOKE_COMMANDS=quick/5000"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string text = testutil::ReadFile(report);
    EXPECT_NE(text.find("tab=rec.cfg"), std::string::npos) << text;
    const size_t at = text.find("quickaccess=");
    ASSERT_NE(at, std::string::npos) << text;
    int x = -1, y = -1, w = 0, h = 0;
    ASSERT_EQ(std::sscanf(text.c_str() + at, "quickaccess=%d,%d %dx%d", &x, &y, &w, &h), 4) << text;
    // At the top left of the window, one row high, the three buttons in it.
    EXPECT_LE(y, 40) << text;
    EXPECT_GE(w, 3 * 16) << text;
    EXPECT_LE(h, 40) << text;
    const std::string line = text.substr(at, text.find('\n', at) - at);
    for (const char* id : {" 5000:on", " 5003:", " 57607:on"}) EXPECT_NE(line.find(id), std::string::npos) << line;
}
