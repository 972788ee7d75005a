// The real program under Xvfb: a user opens quick analysis, adds a calculated channel through
// the formula builder, confirms, and finds it among the view's captions with its unit; saved
// and opened again, the record shows it again.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestUtil.h"
#include "tests/faultloc/FaultRecord.h"

namespace {

std::string RunProgram(const testutil::TempDir& dir, const std::string& cfg, const std::string& commands, int* rc) {
    const std::string report = dir.File("report.txt");
    std::filesystem::remove(report);
    auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik", cfg},
                           testutil::SmokeEnv(dir, {"TENVORIK_SMOKE=" + report, "TENVORIK_SMOKE_COMMANDS=" + commands}));
    *rc = r.exitCode;
    return testutil::ReadFile(report) + r.err;
}

// The value text of the caption of `name` as the report gives it ("channel=name|value|height"),
// or "<none>".
std::string Caption(const std::string& report, const std::string& name) {
    const std::string key = "channel=" + name + "|";
    const size_t at = report.find(key);
    if (at == std::string::npos) return "<none>";
    const size_t from = at + key.size();
    return report.substr(from, report.find('|', from) - from);
}

// The unit a caption's value text ends with.
std::string Unit(const std::string& value) { return value.substr(value.find_last_of(' ') + 1); }

}  // namespace

TEST(QuickAnalysisSmoke, ChannelAddedThroughTheBuilderIsShownSavedAndShownAgain) {
    testutil::TempDir dir;
    const std::string cfg = WriteFaultRecord(dir);
    int rc = -1;
    // Quick analysis (the builder's zero-sequence current under the proposed name), then save.
    const std::string added = RunProgram(dir, cfg, "137,5003", &rc);
    ASSERT_EQ(rc, 0) << added;
    EXPECT_NE(added.find("dialog=Конструктор формул|driven\n"), std::string::npos) << added;
    EXPECT_NE(added.find("dialog=Быстрый анализ|driven\n"), std::string::npos) << added;
    const std::string value = Caption(added, "Канал1");
    ASSERT_NE(value, "<none>") << added;
    // In amperes, as the phase currents it is made of.
    const std::string ia = Caption(added, "Ia");
    ASSERT_NE(ia, "<none>") << added;
    EXPECT_EQ(Unit(value), Unit(ia)) << value << " / " << ia;
    EXPECT_EQ(Unit(ia), "А");
    EXPECT_EQ(added.find("title=Tenvorik - fault.cfg*"), std::string::npos) << added;

    const std::string reopened = RunProgram(dir, cfg, "", &rc);
    ASSERT_EQ(rc, 0) << reopened;
    EXPECT_EQ(Caption(reopened, "Канал1"), value) << reopened;
}
