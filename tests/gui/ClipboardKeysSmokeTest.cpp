// The clipboard keys as a user presses them under Xvfb: CTRL+C copies the selected channel of
// the record and CTRL+V pastes it back, as a pasted channel beside the record's own.
#include <gtest/gtest.h>

#include <string>

#include "TestUtil.h"

namespace {

std::string WriteRecord(const testutil::TempDir& dir) {
    const int n = 200;
    const std::string cfg = dir.File("keys.cfg");
    std::string text = "Key station,7,1999\n2,2A,0D\n";
    text += "1,Ua,A,,V,0.1,0,0,-32767,32767,1,1,S\n";
    text += "2,Ib,B,,A,0.01,0,0,-32767,32767,1,1,S\n";
    text += "50\n1\n1000," + std::to_string(n) + "\n";
    text += "01/02/2024,10:00:00.000000\n01/02/2024,10:00:00.100000\nASCII\n1\n";
    testutil::WriteFile(cfg, text);
    std::string dat;
    for (int i = 0; i < n; ++i)
        dat += std::to_string(i + 1) + "," + std::to_string(i * 1000) + "," + std::to_string(i * 5) + "," +
               std::to_string(i % 20 < 10 ? 500 : -500) + "\n";
    testutil::WriteFile(dir.File("keys.dat"), dat);
    return cfg;
}

}  // namespace

TEST(ClipboardKeysSmoke, CtrlCThenCtrlVPastesTheSelectedChannel) {
    testutil::TempDir dir;
    const std::string cfg = WriteRecord(dir);
    const std::string report = dir.File("report.txt");
    // Ua's caption is clicked (selected), then the two keys go through the display server.
    auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik", cfg},
                           testutil::SmokeEnv(dir, {"TENVORIK_SMOKE=" + report, "TENVORIK_SMOKE_DELAY=3000",
                                                    "TENVORIK_SMOKE_COMMANDS=press/none/20/15,key/ctrl/c,key/ctrl/v"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string text = testutil::ReadFile(report);
    EXPECT_NE(text.find("channel=Ua (вст.)|"), std::string::npos) << text;
    EXPECT_EQ(text.find("channel=Ib (вст.)|"), std::string::npos) << text;
    EXPECT_EQ(text.find("dialog="), std::string::npos) << text;
}
