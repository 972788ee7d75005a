// The real program under Xvfb: a user opens quick analysis on a record of a two-winding
// transformer, fills the differential-currents page with the two arms' phase currents (names
// with blanks), confirms, and finds the arms' and the differential and restraint channels in
// the view and their pairs on the differential diagram.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <filesystem>

#include "TestUtil.h"

namespace {

// Six phase currents, the high and the low side, 1 kHz at 50 Hz.
std::string WriteTransformerRecord(const testutil::TempDir& dir) {
    const char* names[6] = {"Ia HV", "Ib HV", "Ic HV", "Ia LV", "Ib LV", "Ic LV"};
    std::string cfg = "TR,T1,1999\r\n6,6A,0D\r\n";
    for (int k = 0; k < 6; ++k)
        cfg += std::to_string(k + 1) + "," + names[k] + ",,,A,0.01,0,0,-99998,99998,1,1,P\r\n";
    cfg += "50\r\n1\r\n1000,200\r\n01/01/2024,10:00:00.000000\r\n01/01/2024,10:00:00.100000\r\nASCII\r\n1\r\n";
    std::string dat;
    for (int i = 0; i < 200; ++i) {
        dat += std::to_string(i + 1) + "," + std::to_string(i * 1000);
        for (int k = 0; k < 6; ++k) {
            const double amplitude = k < 3 ? 100.0 : 50.0;
            const double angle = 2 * M_PI * 50 * i / 1000.0 - 2 * M_PI / 3 * (k % 3) + (k < 3 ? 0 : M_PI);
            dat += "," + std::to_string(std::lround(amplitude * std::cos(angle) / 0.01));
        }
        dat += "\r\n";
    }
    testutil::WriteFile(dir.File("tr.cfg"), cfg);
    testutil::WriteFile(dir.File("tr.dat"), dat);
    return dir.File("tr.cfg");
}

bool Has(const std::string& report, const std::string& line) { return report.find(line) != std::string::npos; }

}  // namespace

TEST(QuickAnalysisDiffSmoke, DifferentialPageAddsChannelsAndDiagramPairs) {
    testutil::TempDir dir;
    const std::string cfg = WriteTransformerRecord(dir);
    const std::string report = dir.File("report.txt");
    // Quick analysis (137) on the differential-currents page.
    auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik", cfg},
                           testutil::SmokeEnv(dir, {"TENVORIK_SMOKE=" + report, "TENVORIK_SMOKE_COMMANDS=137",
                                                    "TENVORIK_SMOKE_QAN_PAGE=DiffCurrentsPage",
                                                    "TENVORIK_SMOKE_DELAY=3000"}));
    const std::string text = testutil::ReadFile(report) + r.err;
    ASSERT_EQ(r.exitCode, 0) << text;
    EXPECT_TRUE(Has(text, "dialog=Быстрый анализ|driven\n")) << text;
    for (const char* name : {"Ia плечо 1 прив.", "Ic плечо 2 прив.", "Ia диф.", "Ib диф.", "Ic диф.", "Ia торм.",
                             "Ib торм.", "Ic торм."})
        EXPECT_TRUE(Has(text, std::string("channel=") + name + "|")) << name << "\n" << text;
    // Nothing turned: the connection group is not considered by default.
    EXPECT_FALSE(Has(text, "пов.")) << text;
    for (const char* pair : {"diffpair=Ia диф. | Ia торм.\n", "diffpair=Ib диф. | Ib торм.\n", "diffpair=Ic диф. | Ic торм.\n"})
        EXPECT_TRUE(Has(text, pair)) << pair << "\n" << text;
    EXPECT_TRUE(Has(text, "diffvalues=1\n")) << text;
    // The run changed the record.
    EXPECT_TRUE(Has(text, "tab=tr.cfg*\n")) << text;
}
