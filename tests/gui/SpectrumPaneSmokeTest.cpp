// The harmonic spectrum pane in the real program under Xvfb: a current of 100 A peak with 30 %
// third harmonic is opened, put on the spectrum, and its bars stand in the pane at the bottom:
// the third harmonic's bar 30 % of the fundamental's.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "TestUtil.h"
#include "platform/draw/GdiObjects.h"

namespace {

// 1000 samples per second at 50 Hz; phase B gives the channel its colour.
void WriteRecord(const std::string& base) {
    testutil::WriteFile(base + ".cfg",
                        "Harm,H1,1999\r\n1,1A,0D\r\n1,Ib,B,,A,0.01,0,0,-32767,32767,1,1,S\r\n50\r\n1\r\n1000,400\r\n"
                        "01/01/2020,00:00:00.000000\r\n01/01/2020,00:00:00.100000\r\nASCII\r\n1\r\n");
    std::string dat;
    for (int i = 0; i < 400; ++i) {
        const double wt = 2 * 3.14159265358979 * 50 * i / 1000.0;
        const long v = std::lround((100 * std::sin(wt) + 30 * std::sin(3 * wt)) / 0.01);
        dat += std::to_string(i + 1) + "," + std::to_string(i * 1000) + "," + std::to_string(v) + "\r\n";
    }
    testutil::WriteFile(base + ".dat", dat);
}

}  // namespace

TEST(SpectrumPane, BarsOfAHarmonicRecordAreOnTheScreen) {
    testutil::TempDir dir;
    const std::string report = dir.File("report.txt"), shot = dir.File("shot.png");
    WriteRecord(dir.File("harm"));
    auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik", dir.File("harm.cfg")},
                           testutil::SmokeEnv(dir, {"TENVORIK_SMOKE=" + report, "TENVORIK_SMOKE_SHOT=" + shot,
                                                    "TENVORIK_SMOKE_CURSOR=300", "TENVORIK_SMOKE_DELAY=2500"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(testutil::ReadFile(report).find("dialog="), std::string::npos);
    CBitmap bmp;
    ASSERT_TRUE(bmp.LoadPngFile(shot));
    // The bars' outlines are vertical runs of the channel's colour; the curve in the view
    // makes no such runs.
    const COLORREF colour = RGB(0, 114, 41);
    std::map<int, int> runs;  // length -> how many columns
    const CSize size = bmp.GetSize();
    for (int x = 0; x < size.cx; ++x) {
        int run = 0;
        for (int y = 0; y <= size.cy; ++y) {
            if (y < size.cy && bmp.GetPixel(x, y) == colour) {
                ++run;
            } else {
                if (run >= 8) ++runs[run];
                run = 0;
            }
        }
    }
    ASSERT_FALSE(runs.empty()) << "no spectrum bars on the screen";
    const int fundamental = runs.rbegin()->first;
    // On a laptop screen the pane gives way to the curves' half of the height, so its bars are
    // shorter there than on a large one.
    EXPECT_GE(fundamental, 20);
    bool third = false;
    for (const auto& [length, n] : runs) third = third || std::abs(length - fundamental * 0.3) <= 3;
    EXPECT_TRUE(third) << fundamental;
}
