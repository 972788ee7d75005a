// The differential diagram pane in the real program under Xvfb: a record whose settings file
// pairs a restraint and a differential current is opened, the ribbon's command shows the pane
// with the pair's trajectory and cursor crosses, and the same command hides it again.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestUtil.h"
#include "platform/Encoding.h"
#include "platform/draw/GdiObjects.h"

namespace {

// 1000 samples per second at 50 Hz; both currents step from 0 to 5 A at sample 100.
void WriteRecord(const testutil::TempDir& dir) {
    testutil::WriteFile(dir.File("diff.cfg"),
                        "Diff,T1,1999\r\n2,2A,0D\r\n1,It,,,A,0.01,0,0,-32767,32767,1,1,S\r\n"
                        "2,Id,,,A,0.01,0,0,-32767,32767,1,1,S\r\n50\r\n1\r\n1000,400\r\n"
                        "01/01/2020,00:00:00.000000\r\n01/01/2020,00:00:00.100000\r\nASCII\r\n1\r\n");
    std::string dat;
    for (int i = 0; i < 400; ++i) {
        const int v = i < 100 ? 0 : 500;
        dat += std::to_string(i + 1) + "," + std::to_string(i * 1000) + "," + std::to_string(v) + "," +
               std::to_string(v) + "\r\n";
    }
    testutil::WriteFile(dir.File("diff.dat"), dat);
    const std::wstring xml =
        L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n"
        L"<settings>\r\n"
        L"\t<category name=\"Diff Chart\" SightsOnly=\"0\" ViewChannelType=\"0\">\r\n"
        L"\t\t<category name=\"Channels\">\r\n"
        L"\t\t\t<category name=\"0\" visible=\"1\" BrakeCurr=\"It\" DiffCurr=\"Id\"/>\r\n"
        L"\t\t</category>\r\n"
        L"\t</category>\r\n"
        L"</settings>\r\n";
    testutil::WriteFile(dir.File("diff.set"), platform::WideToUtf16Le(xml, true));
}

// Pixels of the cursor crosses' colours in a screen shot of the program after `commands`.
int CrossPixels(const std::string& commands) {
    testutil::TempDir dir;
    const std::string report = dir.File("report.txt"), shot = dir.File("shot.png");
    std::filesystem::create_directories(dir.File("config/Korvelund"));
    testutil::WriteFile(dir.File("config/Korvelund/Tenvorik.ini"), "[Diff Diagram]\nProperties Height=40\n");
    WriteRecord(dir);
    auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik", dir.File("diff.cfg")},
                           testutil::SmokeEnv(dir, {"TENVORIK_SMOKE=" + report, "TENVORIK_SMOKE_SHOT=" + shot,
                                                    "TENVORIK_SMOKE_CURSOR=300", "TENVORIK_SMOKE_COMMANDS=" + commands,
                                                    "TENVORIK_SMOKE_DELAY=2500"}));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(testutil::ReadFile(report).find("dialog="), std::string::npos);
    CBitmap bmp;
    if (!bmp.LoadPngFile(shot)) return -1;
    int n = 0;
    for (int y = 0; y < bmp.GetSize().cy; ++y)
        for (int x = 0; x < bmp.GetSize().cx; ++x) n += bmp.GetPixel(x, y) == RGB(0, 0, 200) || bmp.GetPixel(x, y) == RGB(200, 0, 0);
    return n;
}

}  // namespace

TEST(DiffPane, RibbonCommandShowsAndHidesThePane) {
    // The vector and circle panes are hidden first (32809, 32808) to leave the right side to
    // it. Hidden at first; shown, the cursor crosses of the pair appear; hidden again, they go.
    const int hidden = CrossPixels("32809,32808");
    const int shown = CrossPixels("32809,32808,140");
    const int again = CrossPixels("32809,32808,140,140");
    ASSERT_GE(hidden, 0);
    EXPECT_GE(shown, hidden + 8);
    EXPECT_EQ(again, hidden);
}
