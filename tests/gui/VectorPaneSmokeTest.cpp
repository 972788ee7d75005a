// The phasor diagram pane in the real program under Xvfb: a record opened, the first cursor
// placed and the channels shown, the phasors appear on the screen.
#include <gtest/gtest.h>


#include "TestUtil.h"
#include "platform/draw/GdiObjects.h"

TEST(VectorPane, PhasorsOfTheSampleRecordAreOnTheScreen) {
    testutil::TempDir dir;
    const std::string report = dir.File("report.txt"), shot = dir.File("shot.png");
    auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik", std::string(TV_SOURCE_DIR) + "/samples/sample.cfg"},
                           testutil::SmokeEnv(dir, {"TENVORIK_SMOKE=" + report, "TENVORIK_SMOKE_SHOT=" + shot,
                                                    "TENVORIK_SMOKE_CURSOR=1000", "TENVORIK_SMOKE_DELAY=2500"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string text = testutil::ReadFile(report);
    EXPECT_EQ(text.find("dialog="), std::string::npos) << text;
    CBitmap bmp;
    ASSERT_TRUE(bmp.LoadPngFile(shot));
    const CSize size = bmp.GetSize();
    // Phase A's yellow, B's green and C's red, above the bottom band where the legend or the
    // value table of the pane would show them as small squares.
    int a = 0, b = 0, c = 0;
    for (int y = 0; y < size.cy - 250; ++y)
        for (int x = 0; x < size.cx; ++x) {
            const COLORREF p = bmp.GetPixel(x, y);
            a += p == RGB(192, 192, 0);
            b += p == RGB(0, 114, 41);
            c += p == RGB(255, 0, 0);
        }
    EXPECT_GT(a, 40);
    EXPECT_GT(b, 40);
    EXPECT_GT(c, 40);
}
