// The read-outs of the real program under Xvfb: the В1 read-out at 2400 Hz to the resolution
// the rate gives, the date in the parameter bar day first, and the В1 field kept when a
// pane's tool shows its help text.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "TestUtil.h"

namespace {

// 2000 samples at 2400 Hz of one sine channel and a discrete one, written by a 1991 recorder
// (month first: 06/03/21 is the 3rd of June).
std::string WriteRecord(const testutil::TempDir& dir) {
    std::string text = "Readout station,7\n2,1A,1D\n1,U,A,,V,0.1,0,0,-32767,32767\n1,Switch,,,0\n50\n1\n2400,2000\n";
    text += "06/03/21,10:00:00.000000\n06/03/21,10:00:00.100000\nASCII\n";
    testutil::WriteFile(dir.File("readout.cfg"), text);
    std::string dat;
    for (int i = 0; i < 2000; ++i)
        dat += std::to_string(i + 1) + "," + std::to_string(i * 417) + "," + std::to_string(i % 100) + "," +
               std::to_string((i / 100) % 2) + "\n";
    testutil::WriteFile(dir.File("readout.dat"), dat);
    return dir.File("readout.cfg");
}

std::string RunWith(const testutil::TempDir& dir, const std::string& cfg, const std::string& steps) {
    const std::string report = dir.File("report.txt");
    std::remove(report.c_str());
    auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik", cfg},
                           testutil::SmokeEnv(dir, {"TENVORIK_SMOKE=" + report, "TENVORIK_SMOKE_COMMANDS=" + steps,
                                                    "TENVORIK_SMOKE_DELAY=1500"}));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return testutil::ReadFile(report);
}

std::string Field(const std::string& report, const std::string& key) {
    const size_t at = report.find("\n" + key + "=");
    if (at == std::string::npos) return "<none>";
    const size_t from = at + key.size() + 2;
    return report.substr(from, report.find('\n', from) - from);
}

}  // namespace

TEST(ReadoutsSmoke, CursorTimesToTheRatesResolutionAndTheReadoutKeptUnderAToolsHelp) {
    testutil::TempDir dir;
    const std::string cfg = WriteRecord(dir);
    // В1 on, then the pointer rests on a pane tool that shows its help text.
    const std::string report = RunWith(dir, cfg, "32813,help/Сохранить");
    const std::string b1 = Field("\n" + report, "status0");
    EXPECT_TRUE(std::regex_search(b1, std::regex("^Верт\\. визир 1: -?[0-9]+\\.[0-9]{2} мс$"))) << report;
    EXPECT_EQ(Field("\n" + report, "status6"), "Сохранить") << report;
    // Whatever shows the record's date shows it day first with dots.
    EXPECT_EQ(report.find("/2021"), std::string::npos) << report;
    EXPECT_EQ(report.find("06/03"), std::string::npos) << report;
    // The help goes away and the В1 field still reads the cursor.
    const std::string after = RunWith(dir, cfg, "32813,help/Сохранить,help");
    EXPECT_EQ(Field("\n" + after, "status0"), b1) << after;
}
