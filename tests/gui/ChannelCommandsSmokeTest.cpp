// The channel commands as a user meets them under Xvfb: inverting a channel flips its curve on
// the screen, the ratio dialog changes the value a caption shows, and two channels merged into
// one strip share its row until they are separated again.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>

#include "TestUtil.h"
#include "platform/draw/GdiObjects.h"

namespace {

const COLORREF kUa = RGB(192, 192, 0), kUb = RGB(0, 114, 41);

// Ua and Ub rise from the first sample to the last (Ua from 5 V, ratio 10/1); Ic is a sine.
std::string WriteRampRecord(const testutil::TempDir& dir) {
    const int n = 400;
    const std::string cfg = dir.File("ramps.cfg");
    std::string text = "Ramp station,7,1999\n3,3A,0D\n";
    text += "1,Ua,A,,V,0.1,0,0,-32767,32767,10,1,S\n";
    text += "2,Ub,B,,V,0.1,0,0,-32767,32767,1,1,S\n";
    text += "3,Ic,C,,A,0.01,0,0,-32767,32767,1,1,S\n";
    text += "50\n1\n1000," + std::to_string(n) + "\n";
    text += "01/02/2024,10:00:00.000000\n01/02/2024,10:00:00.100000\nASCII\n1\n";
    testutil::WriteFile(cfg, text);
    std::string dat;
    for (int i = 0; i < n; ++i)
        dat += std::to_string(i + 1) + "," + std::to_string(i * 1000) + "," + std::to_string(50 + i * 5) + "," +
               std::to_string(i * 3) + "," + std::to_string(i % 20 < 10 ? 500 : -500) + "\n";
    testutil::WriteFile(dir.File("ramps.dat"), dat);
    return cfg;
}

struct Look {
    std::string report;
    CBitmap picture;
    // "channel=NAME|VALUE|HEIGHT" lines by name.
    std::map<std::string, std::pair<std::string, int>> channels;
};

Look Open(const testutil::TempDir& dir, const std::string& cfg, const std::string& steps, const std::string& tag) {
    Look look;
    const std::string report = dir.File(tag + ".txt"), shot = dir.File(tag + ".png");
    std::vector<std::string> env{"TENVORIK_SMOKE=" + report, "TENVORIK_SMOKE_SHOT=" + shot, "TENVORIK_SMOKE_DELAY=4000"};
    if (!steps.empty()) env.push_back("TENVORIK_SMOKE_COMMANDS=" + steps);
    auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik", cfg}, testutil::SmokeEnv(dir, env));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    look.report = testutil::ReadFile(report);
    EXPECT_TRUE(look.picture.LoadPngFile(shot)) << tag;
    std::istringstream in(look.report);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("channel=", 0) != 0) continue;
        const size_t a = line.find('|'), b = line.rfind('|');
        look.channels[line.substr(8, a - 8)] = {line.substr(a + 1, b - a - 1), std::atoi(line.c_str() + b + 1)};
    }
    return look;
}

// The mean height on the screen of a colour's pixels in a band of the window: x from `from`
// to `to` as fractions of its width (the view's curves lie between about 0.14 and 0.69, the
// caption column left of them, the diagram panes right).
double MeanY(const CBitmap& picture, COLORREF colour, double from, double to) {
    const CSize size = picture.GetSize();
    double sum = 0;
    int count = 0;
    for (int y = 0; y < size.cy; ++y)
        for (int x = int(size.cx * from); x < int(size.cx * to); ++x)
            if (picture.GetPixel(x, y) == colour) sum += y, ++count;
    return count ? sum / count : -1;
}

std::pair<int, int> RangeY(const CBitmap& picture, COLORREF colour) {
    const CSize size = picture.GetSize();
    int lo = INT_MAX, hi = -1;
    for (int y = 0; y < size.cy; ++y)
        for (int x = int(size.cx * 0.16); x < int(size.cx * 0.68); ++x)
            if (picture.GetPixel(x, y) == colour) lo = std::min(lo, y), hi = std::max(hi, y);
    return {lo, hi};
}

}  // namespace

TEST(ChannelCommandsSmoke, InvertingAChannelFromItsContextMenuFlipsItsCurve) {
    testutil::TempDir dir;
    const std::string cfg = WriteRampRecord(dir);
    const Look plain = Open(dir, cfg, "", "plain");
    // "Инвертировать" from the menu of Ua's caption.
    const Look inverted = Open(dir, cfg, "menu/20/30/32823", "inverted");
    EXPECT_NE(inverted.report.find("note=menu=32823:chosen"), std::string::npos) << inverted.report;
    // Rising: higher on the screen (smaller y) at the right than at the left.
    EXPECT_GT(MeanY(plain.picture, kUa, 0.16, 0.3), MeanY(plain.picture, kUa, 0.55, 0.68)) << plain.report;
    EXPECT_LT(MeanY(inverted.picture, kUa, 0.16, 0.3), MeanY(inverted.picture, kUa, 0.55, 0.68)) << inverted.report;
    // The channel not selected still rises.
    EXPECT_GT(MeanY(inverted.picture, kUb, 0.16, 0.3), MeanY(inverted.picture, kUb, 0.55, 0.68));
    EXPECT_EQ(inverted.report.find("dialog="), std::string::npos) << inverted.report;
}

TEST(ChannelCommandsSmoke, RatioChangedInTheDialogShowsInTheCaption) {
    testutil::TempDir dir;
    const std::string cfg = WriteRampRecord(dir);
    // Primary values: 5 V on the secondary side at a ratio of 10/1.
    const Look before = Open(dir, cfg, "32867", "primary");
    ASSERT_TRUE(before.channels.count("Ua")) << before.report;
    EXPECT_DOUBLE_EQ(std::strtod(before.channels.at("Ua").first.c_str(), nullptr), 50.0) << before.report;
    // The dialog doubles the primary value and is confirmed.
    const Look after = Open(dir, cfg, "32867,32866", "ratio");
    EXPECT_NE(after.report.find("dialog=Коэффициенты трансформации|driven"), std::string::npos) << after.report;
    ASSERT_TRUE(after.channels.count("Ua")) << after.report;
    EXPECT_DOUBLE_EQ(std::strtod(after.channels.at("Ua").first.c_str(), nullptr), 100.0) << after.report;
    EXPECT_EQ(after.channels.at("Ub").first, before.channels.at("Ub").first);
    EXPECT_NE(after.report.find("title="), std::string::npos);
}

TEST(ChannelCommandsSmoke, OverlaidChannelsShareOneStripUntilSeparated) {
    testutil::TempDir dir;
    const std::string cfg = WriteRampRecord(dir);
    const Look plain = Open(dir, cfg, "", "rows");
    ASSERT_TRUE(plain.channels.count("Ua")) << plain.report;
    const int rowUa = plain.channels.at("Ua").second;
    ASSERT_GT(rowUa, 0);
    // CTRL-click on Ub's caption adds it to the selection; then "Совместить каналы".
    const std::string select = "press/ctrl/20/" + std::to_string(rowUa + 10);
    const Look merged = Open(dir, cfg, select + ",33035", "merged");
    ASSERT_TRUE(merged.channels.count("Ub")) << merged.report;
    EXPECT_EQ(merged.channels.at("Ub").second, 0) << merged.report;
    EXPECT_GT(merged.channels.at("Ua").second, 0);
    // Both curves in one strip: their pixels share the rows of the screen.
    const auto ua = RangeY(merged.picture, kUa), ub = RangeY(merged.picture, kUb);
    EXPECT_LT(ub.first, ua.second) << merged.report;
    const auto pua = RangeY(plain.picture, kUa), pub = RangeY(plain.picture, kUb);
    EXPECT_GT(pub.first, pua.second);

    const Look separated = Open(dir, cfg, select + ",33035,33037", "separated");
    EXPECT_GT(separated.channels.at("Ub").second, 0) << separated.report;
    const auto sua = RangeY(separated.picture, kUa), sub = RangeY(separated.picture, kUb);
    EXPECT_GT(sub.first, sua.second);
}
