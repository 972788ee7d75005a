// The circle diagram pane in the real program under Xvfb: a fault record whose impedance
// falls from 40 to 10 ohm is opened, the first cursor placed after the fault, and the
// trajectory with its cursor cross appears in the pane.
#include <gtest/gtest.h>

#include <filesystem>


#include <algorithm>
#include <cmath>
#include <map>
#include <string>

#include "TestUtil.h"
#include "tests/faultloc/FaultRecord.h"
#include "platform/draw/GdiObjects.h"

namespace {

// 1000 samples per second at 50 Hz; the impedance channel's amplitude drops at sample 200.
void WriteFaultRecord(const std::string& base) {
    testutil::WriteFile(base + ".cfg",
                        "Fault,Z1,1999\r\n1,1A,0D\r\n1,Z,,,Ohm,0.01,0,0,-32767,32767,1,1,S\r\n50\r\n1\r\n1000,400\r\n"
                        "01/01/2020,00:00:00.000000\r\n01/01/2020,00:00:00.100000\r\nASCII\r\n1\r\n");
    std::string dat;
    for (int i = 0; i < 400; ++i) {
        const double amp = (i < 200 ? 40.0 : 10.0) * std::sqrt(2.0);
        const long v = std::lround(amp * std::sin(2 * 3.14159265358979 * 50 * i / 1000.0 + 0.6) / 0.01);
        dat += std::to_string(i + 1) + "," + std::to_string(i * 1000) + "," + std::to_string(v) + "\r\n";
    }
    testutil::WriteFile(base + ".dat", dat);
}

}  // namespace

TEST(CirclePane, TrajectoryOfAFaultRecordIsOnTheScreen) {
    testutil::TempDir dir;
    const std::string report = dir.File("report.txt"), shot = dir.File("shot.png");
    // A low block grid leaves the plot room in the docked pane.
    std::filesystem::create_directories(dir.File("config/Korvelund"));
    testutil::WriteFile(dir.File("config/Korvelund/Tenvorik.ini"), "[Circle Diagram]\nProperties Height=40\n");
    WriteFaultRecord(dir.File("fault"));
    auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik", dir.File("fault.cfg")},
                           testutil::SmokeEnv(dir, {"TENVORIK_SMOKE=" + report, "TENVORIK_SMOKE_SHOT=" + shot,
                                                    "TENVORIK_SMOKE_CURSOR=300", "TENVORIK_SMOKE_DELAY=2500"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string text = testutil::ReadFile(report);
    EXPECT_EQ(text.find("dialog="), std::string::npos) << text;
    CBitmap bmp;
    ASSERT_TRUE(bmp.LoadPngFile(shot));
    const CSize size = bmp.GetSize();
    // The pane's split strip marks the top of the diagram window: 5 rows of its colour.
    int left = -1, right = -1, top = -1;
    for (int y = 0; y < size.cy && top < 0; ++y) {
        int run = 0;
        for (int x = 0; x < size.cx; ++x) {
            if (bmp.GetPixel(x, y) == RGB(191, 219, 255)) {
                if (run++ == 0) left = x;
                right = x;
            } else if (run > 100) {
                break;
            } else {
                run = 0;
            }
        }
        if (run > 100) top = y;
    }
    ASSERT_GE(top, 0) << "no circle pane on the screen";
    // Below the strip: the red cross of cursor В1 and the trajectory's own colour.
    int cross = 0;
    std::map<COLORREF, int> colours;
    for (int y = top + 5; y < size.cy; ++y)
        for (int x = left; x <= right; ++x) {
            const COLORREF p = bmp.GetPixel(x, y);
            cross += p == RGB(200, 0, 0);
            ++colours[p];
        }
    EXPECT_GE(cross, 10);
    // The trajectory: the most frequent colour that is neither white nor grid, frame, axis,
    // text, cross or strip, drawn along more than a few pixels.
    int trace = 0;
    for (const auto& [c, n] : colours) {
        const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
        const bool grey = std::abs(r - g) < 8 && std::abs(g - b) < 8;
        if (!grey && c != RGB(200, 0, 0) && c != RGB(0, 0, 200) && c != RGB(191, 219, 255)) trace = std::max(trace, n);
    }
    EXPECT_GE(trace, 10);
}

// Rows of the shot that hold a run of more than 100 pixels of `colour`.
int RowsWithARunOf(const CBitmap& bmp, COLORREF colour) {
    const CSize size = bmp.GetSize();
    int rows = 0;
    for (int y = 0; y < size.cy; ++y) {
        int run = 0, best = 0;
        for (int x = 0; x < size.cx; ++x) {
            run = bmp.GetPixel(x, y) == colour ? run + 1 : 0;
            best = std::max(best, run);
        }
        rows += best > 100;
    }
    return rows;
}

// The split strip of the plane diagrams follows the look the user chose: dark under the black look.
TEST(CirclePane, TheSplitStripTakesTheApplicationLook) {
    testutil::TempDir dir;
    const std::string report = dir.File("report.txt"), shot = dir.File("shot.png");
    std::filesystem::create_directories(dir.File("config/Korvelund"));
    testutil::WriteFile(dir.File("config/Korvelund/Tenvorik.ini"),
                        "[Circle Diagram]\nProperties Height=40\n[Workspace]\nApplicationLook=216\n");
    WriteFaultRecord(dir.File("fault"));
    auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik", dir.File("fault.cfg")},
                           testutil::SmokeEnv(dir, {"TENVORIK_SMOKE=" + report, "TENVORIK_SMOKE_SHOT=" + shot,
                                                    "TENVORIK_SMOKE_CURSOR=300", "TENVORIK_SMOKE_DELAY=2500"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    CBitmap bmp;
    ASSERT_TRUE(bmp.LoadPngFile(shot));
    EXPECT_GE(RowsWithARunOf(bmp, RGB(83, 83, 83)), 5);
    EXPECT_EQ(RowsWithARunOf(bmp, RGB(191, 219, 255)), 0);
}

// At the window's first size, with the fault-location result bar taking its strip, the circle
// pane still shows a diagram to read and every tool button beside it.
TEST(CirclePane, DefaultSizeWithTheResultBarLeavesTheDiagramItsRoom) {
    testutil::TempDir dir;
    const std::string cfg = WriteFaultRecord(dir);
    WriteFaultSettings(dir, L"\t<category name=\"Circle Chart\" SelectedBlock=\"Дистанционная защита ДЗ-2\"/>\r\n");
    const std::string report = dir.File("report.txt");
    auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik", cfg},
                           testutil::SmokeEnv(dir, {"TENVORIK_SMOKE=" + report, "TENVORIK_SMOKE_COMMANDS=32806"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string text = testutil::ReadFile(report);
    ASSERT_NE(text.find("resultbar="), std::string::npos) << text;
    int px, py, pw, ph, dx, dy, dw, dh, tx, ty, tw, th;
    const size_t at = text.find("circlepane=");
    ASSERT_NE(at, std::string::npos) << text;
    ASSERT_EQ(std::sscanf(text.c_str() + at, "circlepane=%d,%d %dx%d|diagram %d,%d %dx%d|tools %d,%d %dx%d", &px, &py, &pw,
                          &ph, &dx, &dy, &dw, &dh, &tx, &ty, &tw, &th),
              12)
        << text;
    // The grid gives way: the diagram keeps at least 150 pixels less its scroll bar.
    EXPECT_GE(dh, 120) << text;
    EXPECT_GE(dw, 150) << text;
    // The tools stand beside the diagram inside the pane, as high as the pane.
    EXPECT_LE(dx + dw, tx) << text;
    EXPECT_LE(tx + tw, pw) << text;
    EXPECT_EQ(ty, 0) << text;
    EXPECT_EQ(th, ph) << text;
}
