// The real program under Xvfb: a user opens quick analysis on a record of a phase-to-phase
// fault, turns to the interphase-impedance page, chooses line voltages (the record has no
// phase voltages) and confirms; the
// impedances appear among the view's captions (the loop of the faulted phases showing the
// line's impedance to the fault), with the line voltage the record already has made again
// under a name of its own; saved and opened again, the record shows them again.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "tests/faultloc/FaultRecord.h"

namespace {

std::string RunProgram(const testutil::TempDir& dir, const std::string& cfg, const std::string& commands,
                       const std::string& page, int* rc) {
    const std::string report = dir.File("report.txt");
    std::filesystem::remove(report);
    // The first cursor goes well past the fault's start, so that the captions show the fault.
    std::vector<std::string> env = {"TENVORIK_SMOKE=" + report, "TENVORIK_SMOKE_COMMANDS=" + commands,
                                    "TENVORIK_SMOKE_CURSOR=250"};
    if (!page.empty()) env.push_back("TENVORIK_SMOKE_QAN_PAGE=" + page);
    auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik", cfg}, testutil::SmokeEnv(dir, env));
    *rc = r.exitCode;
    return testutil::ReadFile(report) + r.err;
}

// The value text of the caption of `name` ("channel=name|value|height"), or "<none>".
std::string Caption(const std::string& report, const std::string& name) {
    const std::string key = "channel=" + name + "|";
    const size_t at = report.find(key);
    if (at == std::string::npos) return "<none>";
    const size_t from = at + key.size();
    return report.substr(from, report.find('|', from) - from);
}

}  // namespace

TEST(InterphasePageSmoke, ImpedancesOfTheLineVoltagesAreAddedShownAndKept) {
    testutil::TempDir dir;
    const std::string cfg = WriteFaultRecord(dir);
    int rc = -1;
    // Quick analysis on the interphase page with line voltages, then save.
    const std::string added = RunProgram(dir, cfg, "137,5003", "InterPhaseResistPage", &rc);
    ASSERT_EQ(rc, 0) << added;
    EXPECT_NE(added.find("dialog=Быстрый анализ|driven\n"), std::string::npos) << added;
    for (const char* name : {"Uca_2", "Zab", "Zbc", "Zca"}) EXPECT_NE(Caption(added, name), "<none>") << name << added;
    // The record's own line voltage is kept, the page's own made beside it, equal to it.
    EXPECT_NE(Caption(added, "Uca"), "<none>");
    EXPECT_EQ(Caption(added, "Uca_2"), Caption(added, "Uca"));
    // The faulted loop B-C sees the line's impedance to the fault, |0.12 + j0.41| x 6.3 km.
    const std::string zbc = Caption(added, "Zbc");
    EXPECT_NEAR(std::atof(zbc.c_str()), std::abs(std::complex<double>(0.12, 0.41)) * 6.3, 0.01) << zbc;
    EXPECT_NE(zbc.find("Ом"), std::string::npos) << zbc;
    EXPECT_EQ(added.find("title=Tenvorik - fault.cfg*"), std::string::npos) << added;

    const std::string reopened = RunProgram(dir, cfg, "", "", &rc);
    ASSERT_EQ(rc, 0) << reopened;
    for (const char* name : {"Uca_2", "Zab", "Zbc", "Zca"}) EXPECT_NE(Caption(reopened, name), "<none>") << name;
    EXPECT_EQ(reopened.find("dialog="), std::string::npos) << reopened;
}
