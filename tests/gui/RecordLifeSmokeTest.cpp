// A record's life in the real program under Xvfb: what it puts on show goes with it when it
// closes, and a new name given by "Save as" is the name its tab shows.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestUtil.h"
#include "tests/faultloc/FaultRecord.h"

namespace {

struct Look {
    int exitCode = -1;
    std::string report, err;
};

Look RunProgram(const testutil::TempDir& dir, const std::vector<std::string>& args,
                const std::vector<std::string>& extra) {
    const std::string report = dir.File("report.txt");
    std::filesystem::remove(report);
    std::vector<std::string> argv{std::string(TV_BIN_DIR) + "/Tenvorik"};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> env{"TENVORIK_SMOKE=" + report};
    env.insert(env.end(), extra.begin(), extra.end());
    auto r = testutil::Run(argv, testutil::SmokeEnv(dir, env));
    return {r.exitCode, testutil::ReadFile(report), r.err};
}

// The record's distance block, stored with it, is what the circle diagram's grid shows.
const std::wstring kCircleBlock =
    L"\t<category name=\"Circle Chart\" SelectedBlock=\"Дистанционная защита ДЗ-2\"/>\r\n";

}  // namespace

TEST(RecordLifeSmoke, ClosingTheLastRecordLeavesWhatAFreshStartShows) {
    testutil::TempDir dir;
    const std::string cfg = WriteFaultRecord(dir);
    WriteFaultSettings(dir, kCircleBlock);

    const Look fresh = RunProgram(dir, {}, {});
    ASSERT_EQ(fresh.exitCode, 0) << fresh.err;
    EXPECT_NE(fresh.report.find("blockgrid=Нет|rows 1|disabled\n"), std::string::npos) << fresh.report;

    // With the record open and located: its result, its block and its cursors are on show.
    const Look open = RunProgram(dir, {cfg}, {"TENVORIK_SMOKE_COMMANDS=32806"});
    ASSERT_EQ(open.exitCode, 0) << open.err;
    EXPECT_NE(open.report.find("resultbar="), std::string::npos) << open.report;
    EXPECT_NE(open.report.find("blockgrid=Дистанционная защита ДЗ-2|rows 10|enabled\n"), std::string::npos)
        << open.report;
    EXPECT_NE(open.report.find("tab=fault.cfg\n"), std::string::npos) << open.report;
    EXPECT_NE(open.report.find("status0="), std::string::npos);
    EXPECT_NE(open.report.substr(open.report.find("status0=")), fresh.report.substr(fresh.report.find("status0=")));

    // Closed again, nothing of it is left: the frame looks as it did before it opened.
    const Look closed = RunProgram(dir, {cfg}, {"TENVORIK_SMOKE_COMMANDS=32806,5001"});
    ASSERT_EQ(closed.exitCode, 0) << closed.err;
    EXPECT_EQ(closed.report, fresh.report);
}

TEST(RecordLifeSmoke, SaveAsNamesTheTab) {
    testutil::TempDir dir;
    const std::string cfg = WriteFaultRecord(dir);
    const Look saved =
        RunProgram(dir, {cfg}, {"TENVORIK_SMOKE_COMMANDS=5004", "TENVORIK_SMOKE_FILE=" + dir.File("renamed.cfg")});
    ASSERT_EQ(saved.exitCode, 0) << saved.err;
    EXPECT_TRUE(std::filesystem::exists(dir.File("renamed.dat"))) << saved.report;
    EXPECT_NE(saved.report.find("title=Tenvorik - renamed.cfg\n"), std::string::npos) << saved.report;
    EXPECT_NE(saved.report.find("tab=renamed.cfg\n"), std::string::npos) << saved.report;
    EXPECT_EQ(saved.report.find("tab=fault.cfg"), std::string::npos) << saved.report;
}

TEST(RecordLifeSmoke, SaveAsZipExportsAndKeepsTheRecord) {
    testutil::TempDir dir;
    const std::string cfg = WriteFaultRecord(dir);
    const Look saved =
        RunProgram(dir, {cfg}, {"TENVORIK_SMOKE_COMMANDS=5004", "TENVORIK_SMOKE_FILE=" + dir.File("packed.zip")});
    ASSERT_EQ(saved.exitCode, 0) << saved.err;
    EXPECT_TRUE(std::filesystem::exists(dir.File("packed.zip"))) << saved.report;
    EXPECT_FALSE(std::filesystem::exists(dir.File("packed.cfg"))) << saved.report;
    // The tab and the title still name the record; the archive is no recent record.
    EXPECT_NE(saved.report.find("title=Tenvorik - fault.cfg"), std::string::npos) << saved.report;
    EXPECT_NE(saved.report.find("tab=fault.cfg"), std::string::npos) << saved.report;
    const std::string profile = testutil::ReadFile(dir.File("config/Korvelund/Tenvorik.ini"));
    EXPECT_NE(profile.find("fault.cfg"), std::string::npos) << profile;
    EXPECT_EQ(profile.find("packed.zip"), std::string::npos) << profile;

    // Over an existing archive, the question names the archive.
    const Look again =
        RunProgram(dir, {cfg}, {"TENVORIK_SMOKE_COMMANDS=5004", "TENVORIK_SMOKE_FILE=" + dir.File("packed.zip")});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_NE(again.report.find("packed.zip уже существует."), std::string::npos) << again.report;
    EXPECT_EQ(again.report.find("packed.cfg"), std::string::npos) << again.report;
}

TEST(RecordLifeSmoke, OpeningAFileThatIsNoRecordSaysWhichAndWhy) {
    testutil::TempDir dir;
    const std::string notes = dir.File("notes.txt");
    testutil::WriteFile(notes, "not a record\n");
    // Through the open dialog, and named on the command line.
    const std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> ways = {
        {{}, {"TENVORIK_SMOKE_COMMANDS=5000", "TENVORIK_SMOKE_FILE=" + notes}},
        {{notes}, {}},
    };
    for (const auto& [args, env] : ways) {
        const Look look = RunProgram(dir, args, env);
        ASSERT_EQ(look.exitCode, 0) << look.err;
        EXPECT_NE(look.report.find("|Файл не является осциллограммой: открываются файлы .cfg, .dat, .cff, .osc и .sto - " +
                                   notes + "\n"),
                  std::string::npos)
            << look.report;
        EXPECT_EQ(look.report.find("tab="), std::string::npos) << look.report;
    }
}
