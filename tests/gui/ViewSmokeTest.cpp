// The program under Xvfb opens a record and paints its oscillogram: the picture of the window
// holds the curves of the record's channels, each in its colour, right of the caption column.
#include <gtest/gtest.h>


#include <cmath>
#include <string>

#include "TestUtil.h"
#include "platform/draw/GdiObjects.h"

namespace {

// Three analog channels of phases A, B and C with sines, and one discrete channel.
std::string WriteSineRecord(const testutil::TempDir& dir, int samples) {
    const std::string cfg = dir.File("sines.cfg");
    std::string text = "View station,7,1999\n4,3A,1D\n";
    text += "1,Ua,A,,V,0.1,0,0,-32767,32767,1,1,S\n";
    text += "2,Ub,B,,V,0.1,0,0,-32767,32767,1,1,S\n";
    text += "3,Ic,C,,A,0.01,0,0,-32767,32767,1,1,S\n";
    text += "1,Switch,,,0\n50\n1\n1000," + std::to_string(samples) + "\n";
    text += "01/02/2024,10:00:00.000000\n01/02/2024,10:00:00.100000\nASCII\n1\n";
    testutil::WriteFile(cfg, text);
    std::string dat;
    for (int i = 0; i < samples; ++i) {
        auto v = [&](double phase) { return std::to_string(int(std::lround(1000 * std::sin(i * 2 * M_PI / 20 + phase)))); };
        dat += std::to_string(i + 1) + "," + std::to_string(i * 1000) + "," + v(0) + "," + v(2.1) + "," + v(4.2) + "," +
               std::to_string((i / 100) % 2) + "\n";
    }
    testutil::WriteFile(dir.File("sines.dat"), dat);
    return cfg;
}

}  // namespace

TEST(ViewSmoke, OpenedRecordShowsItsCurvesInTheirColours) {
    testutil::TempDir dir;
    const std::string cfg = WriteSineRecord(dir, 2000);
    const std::string report = dir.File("report.txt"), shot = dir.File("shot.png");
    auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik", cfg},
                           testutil::SmokeEnv(dir, {"TENVORIK_SMOKE=" + report, "TENVORIK_SMOKE_SHOT=" + shot,
                                                    "TENVORIK_SMOKE_DELAY=2500"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string text = testutil::ReadFile(report);
    EXPECT_EQ(text.find("dialog="), std::string::npos) << text;
    CBitmap picture;
    ASSERT_TRUE(picture.LoadPngFile(shot));
    const CSize size = picture.GetSize();
    ASSERT_GT(size.cx, 400);
    // Pixels of each phase colour right of the caption column.
    const COLORREF colours[3] = {RGB(192, 192, 0), RGB(0, 114, 41), RGB(255, 0, 0)};
    int counts[3] = {0, 0, 0};
    for (int y = 0; y < size.cy; ++y)
        for (int x = size.cx * 2 / 5; x < size.cx; ++x) {
            const COLORREF c = picture.GetPixel(x, y);
            for (int k = 0; k < 3; ++k) counts[k] += c == colours[k];
        }
    for (int k = 0; k < 3; ++k) EXPECT_GT(counts[k], 200) << "channel " << k << "\n" << text;
}
