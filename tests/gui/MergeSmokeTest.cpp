// Two records merged in the real program under Xvfb, as a user merges them: the channel of
// one is copied, the other is opened and takes the paste, the two are lined up by their start
// times, combined and saved; the saved record opens with both channels on one time base.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "TestUtil.h"

namespace {

// A COMTRADE 1999 ASCII record at 1 kHz of one analog channel whose sample i is k * i.
std::string WriteLine(const testutil::TempDir& dir, const std::string& name, const std::string& channel,
                      const std::string& start, int samples, int k) {
    std::string cfg = "ST " + name + ",REC " + name + ",1999\r\n1,1A,0D\r\n";
    cfg += "1," + channel + ",,,A,1,0,0,-99999,99999,1,1,P\r\n";
    cfg += "50\r\n1\r\n1000," + std::to_string(samples) + "\r\n05/03/2021," + start + "\r\n05/03/2021," + start +
           "\r\nASCII\r\n1\r\n";
    std::string dat;
    for (int i = 0; i < samples; ++i)
        dat += std::to_string(i + 1) + "," + std::to_string(i * 1000) + "," + std::to_string(k * i) + "\r\n";
    testutil::WriteFile(dir.File(name + ".cfg"), cfg);
    testutil::WriteFile(dir.File(name + ".dat"), dat);
    return dir.File(name + ".cfg");
}

struct Box {
    int x = 0, y = 0, w = 0, h = 0;
    bool Overlaps(const Box& o) const { return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h; }
};

// The lines "KEY=..." of a report.
std::vector<std::string> Lines(const std::string& report, const std::string& key) {
    std::vector<std::string> out;
    std::istringstream in(report);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(key + "=", 0) == 0) out.push_back(line.substr(key.size() + 1));
    return out;
}

std::vector<double> Samples(const std::string& json, const std::string& channel) {
    const size_t at = json.find("\"name\": \"" + channel + "\"");
    if (at == std::string::npos) return {};
    const size_t open = json.find("\"samples\": [", at);
    const size_t close = json.find(']', open);
    std::vector<double> out;
    std::string list = json.substr(open + 12, close - open - 12);
    for (size_t p = 0; p < list.size();) {
        size_t comma = list.find(',', p);
        out.push_back(std::stod(list.substr(p, comma - p)));
        if (comma == std::string::npos) break;
        p = comma + 1;
    }
    return out;
}

}  // namespace

TEST(MergeSmoke, CopyPasteSynchroniseCombineSaveAndReopen) {
    testutil::TempDir dir;
    // The other recorder started 0.1 s later by its clock.
    const std::string source = WriteLine(dir, "source", "Ib", "10:00:00.100000", 300, 2);
    const std::string host = WriteLine(dir, "host", "Ua", "10:00:00.000000", 400, 1);
    const std::string report = dir.File("report.txt");
    // Copy in the first record; open the second; paste; synchronise by the start times;
    // combine; save.
    const std::vector<std::string> env = {"TENVORIK_SMOKE=" + report, "TENVORIK_SMOKE_FILE=" + host,
                                          "TENVORIK_SMOKE_COMMANDS=57634,5000,57637,1091,1092,5003"};
    auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik", source}, testutil::SmokeEnv(dir, env));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string look = testutil::ReadFile(report);
    EXPECT_NE(look.find("tab=host.cfg"), std::string::npos) << look;
    // No message was met on the way, only the file dialog; the merge bar went away with the
    // combination.
    const size_t dialog = look.find("dialog=");
    ASSERT_NE(dialog, std::string::npos) << look;
    EXPECT_NE(look.find("host.cfg", dialog), std::string::npos) << look;
    EXPECT_EQ(look.find("dialog=", dialog + 1), std::string::npos) << look;
    EXPECT_EQ(look.find("mergebar="), std::string::npos) << look;

    auto dump = testutil::Run({std::string(TV_BIN_DIR) + "/recdump", "--all", host});
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    const std::vector<double> ua = Samples(dump.out, "Ua");
    const std::vector<double> ib = Samples(dump.out, "Ib (вст.)");
    // Two analog channels, nothing else. The pasted one is put 100 samples later, which its
    // shorter span fills: 399 ms, every sample of it.
    int names = 0;
    for (size_t p = dump.out.find("\"name\""); p != std::string::npos; p = dump.out.find("\"name\"", p + 1)) ++names;
    EXPECT_EQ(names, 2);
    ASSERT_EQ(ua.size(), 400u) << dump.out.substr(0, 2000);
    ASSERT_EQ(ib.size(), 400u);
    for (size_t s : {1u, 57u, 250u, 399u}) EXPECT_NEAR(ua[s], double(s), 0.01) << s;
    for (size_t s : {120u, 250u, 399u}) EXPECT_NEAR(ib[s], 2.0 * (double(s) - 100.0), 0.01) << s;
    EXPECT_NEAR(ib[50], 0.0, 0.01);
}

// On a laptop's screen every text of the merge bar is whole: each list and button gets the size
// its longest text asks for, the labels and the message the bar draws lie clear of them, and
// everything lies inside the bar, with channel names as long as recorders give them.
TEST(MergeSmoke, EveryTextOfTheMergeBarIsWholeOnALaptopScreen) {
    constexpr const char* kXvfbRun = "/usr/bin/xvfb-run";
    if (access(kXvfbRun, X_OK) != 0) GTEST_SKIP() << "no xvfb-run";
    testutil::TempDir dir;
    const std::string source = WriteLine(dir, "source", "IA1 ВЛ 110 кВ Северная", "10:00:00.100000", 300, 2);
    const std::string host = WriteLine(dir, "host", "UA1 ВЛ 110 кВ Южная", "10:00:00.000000", 400, 1);
    const std::string report = dir.File("report.txt");
    // Copied, opened, pasted and synchronised: the bar shows its lists and its message.
    const std::vector<std::string> env = {"TENVORIK_SMOKE=" + report, "TENVORIK_SMOKE_FILE=" + host,
                                          "TENVORIK_SMOKE_COMMANDS=57634,5000,57637,1091", "TENVORIK_SMOKE_DELAY=2500"};
    auto r = testutil::Run({kXvfbRun, "-a", "-s", "-screen 0 1366x768x24", std::string(TV_BIN_DIR) + "/Tenvorik", source},
                           testutil::SmokeEnv(dir, env), 120);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string look = testutil::ReadFile(report);
    ASSERT_EQ(Lines(look, "mergebar"), std::vector<std::string>{"Синхронизация произведена успешно"}) << look;
    int barW = 0, barH = 0;
    ASSERT_EQ(std::sscanf(Lines(look, "mergebarsize").at(0).c_str(), "%dx%d", &barW, &barH), 2) << look;
    EXPECT_EQ(barW, 1366) << look;
    std::vector<Box> parts;
    for (const std::string& p : Lines(look, "mergepart")) {
        int id = 0, shown = 0, bestW = 0, bestH = 0;
        Box b;
        ASSERT_EQ(std::sscanf(p.c_str(), "%d|%d,%d %dx%d|%dx%d|%d", &id, &b.x, &b.y, &b.w, &b.h, &bestW, &bestH, &shown), 8) << p;
        if (!shown) continue;
        EXPECT_GE(b.w, bestW) << p;
        EXPECT_GE(b.h, bestH) << p;
        EXPECT_TRUE(b.x >= 0 && b.y >= 0 && b.x + b.w <= barW && b.y + b.h <= barH) << p << " in " << barW << "x" << barH;
        for (const Box& o : parts) EXPECT_FALSE(b.Overlaps(o)) << p;
        parts.push_back(b);
    }
    EXPECT_EQ(parts.size(), 6u) << look;  // three lists, two buttons, the close button
    std::vector<std::string> texts;
    for (const std::string& t : Lines(look, "mergetext")) {
        Box b;
        const size_t bar = t.rfind('|');
        ASSERT_EQ(std::sscanf(t.c_str() + bar + 1, "%d,%d %dx%d", &b.x, &b.y, &b.w, &b.h), 4) << t;
        texts.push_back(t.substr(0, bar));
        EXPECT_TRUE(b.x >= 0 && b.y >= 0 && b.x + b.w <= barW && b.y + b.h <= barH) << t;
        for (const Box& o : parts) EXPECT_FALSE(b.Overlaps(o)) << t;
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Синхронизация", "Канал 1", "Канал 2", "Синхронизация произведена успешно"}));
}
