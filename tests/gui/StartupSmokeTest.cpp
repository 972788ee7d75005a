// The real program under Xvfb, driven through its smoke hook: it starts, shows its main
// window, opens what it is given, and closes cleanly.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "TestUtil.h"

namespace {

// Runs the program with its profile and instance socket kept inside `dir`; returns the
// smoke report.
std::string RunProgram(const testutil::TempDir& dir, const std::vector<std::string>& args, int* exitCode = nullptr,
                       std::string* err = nullptr) {
    const std::string report = dir.File("report.txt");
    std::vector<std::string> argv{std::string(TV_BIN_DIR) + "/Tenvorik"};
    argv.insert(argv.end(), args.begin(), args.end());
    auto r = testutil::Run(argv, testutil::SmokeEnv(dir, {"TENVORIK_SMOKE=" + report}));
    if (exitCode) *exitCode = r.exitCode;
    if (err) *err = r.err;
    return testutil::ReadFile(report);
}

// A COMTRADE 1999 ASCII record of three analog channels and one discrete channel with
// `samples` samples at 1000 per second; returns the configuration file's path.
std::string WriteRecord(const testutil::TempDir& dir, const std::string& title, int samples) {
    const std::string cfg = dir.File(title + ".cfg");
    std::string text = "Smoke station,7,1999\n4,3A,1D\n";
    text += "1,Ua,A,,V,0.1,0,0,-32767,32767,1,1,S\n";
    text += "2,Ub,B,,V,0.1,0,0,-32767,32767,1,1,S\n";
    text += "3,Ia,A,,A,0.01,0,0,-32767,32767,1,1,S\n";
    text += "1,Switch,,,0\n50\n1\n1000," + std::to_string(samples) + "\n";
    text += "01/02/2024,10:00:00.000000\n01/02/2024,10:00:00.100000\nASCII\n1\n";
    testutil::WriteFile(cfg, text);
    std::string dat;
    dat.reserve(size_t(samples) * 40);
    for (int i = 0; i < samples; ++i) {
        const int v = (i * 37) % 2000 - 1000;
        dat += std::to_string(i + 1) + "," + std::to_string(static_cast<long long>(i) * 1000) + "," + std::to_string(v) + "," +
               std::to_string(-v) + "," + std::to_string(v / 2) + "," + std::to_string(i % 2) + "\n";
    }
    testutil::WriteFile(dir.File(title + ".dat"), dat);
    return cfg;
}

}  // namespace

TEST(Startup, MainWindowOpensAndClosesCleanly) {
    testutil::TempDir dir;
    int rc = -1;
    std::string err;
    std::string text = RunProgram(dir, {}, &rc, &err);
    ASSERT_EQ(rc, 0) << err;
    EXPECT_NE(text.find("title=Tenvorik\n"), std::string::npos) << text;
    // the six cursor read-outs and the maker's pane
    EXPECT_NE(text.find("status0=Верт. визир 1:"), std::string::npos) << text;
    EXPECT_NE(text.find("status5=Разница г. визиров:"), std::string::npos) << text;
    EXPECT_NE(text.find("status6=Korvelund"), std::string::npos) << text;
    EXPECT_EQ(text.find("dialog="), std::string::npos) << text;
    // the profile was written where the test put it
    EXPECT_NE(testutil::ReadFile(dir.File("config/Korvelund/Tenvorik.ini")).find("UTC for Comtrade2013"),
              std::string::npos);
}

TEST(Startup, EnglishLibraryBesideTheProgramGivesEnglishTexts) {
    testutil::TempDir dir;
    // A copy of the program with the English library beside it, as a user installs it.
    namespace fs = std::filesystem;
    const fs::path app = dir.File("app");
    fs::create_directory(app);
    for (const char* f : {"Tenvorik", "libHalvex.so", "libOrvinel.so", "libplatform.so", "libplatform_draw.so", "libplatform_ui.so"})
        fs::copy_file(fs::path(TV_BIN_DIR) / f, app / f);
    fs::copy_file(fs::path(TV_LANG_DIR) / "Tenvorik_ResEng.so", app / "Tenvorik_ResEng.so");
    const std::string report = dir.File("report.txt");
    auto r = testutil::Run({(app / "Tenvorik").string()}, testutil::SmokeEnv(dir, {"TENVORIK_SMOKE=" + report}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string text = testutil::ReadFile(report);
    EXPECT_NE(text.find("status0=Vert. cursor 1:"), std::string::npos) << text;
    EXPECT_NE(text.find("status5=Hor. cursor difference:"), std::string::npos) << text;
}

// As installed, the English libraries lie in "lang" beside the program: the user's locale or
// the program's settings take them, and nothing is written where the program lies.
TEST(Startup, EnglishTextsFollowTheLocaleAndTheSettingsWithoutWritingBesideTheProgram) {
    namespace fs = std::filesystem;
    ASSERT_TRUE(fs::exists(fs::path(TV_BIN_DIR) / "lang" / "Tenvorik_ResEng.so"));
    auto listing = [] {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(TV_BIN_DIR)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    };
    const std::vector<std::string> before = listing();
    struct Case {
        const char* lang;
        const char* setting;  // "Language" of the settings, or none
        bool english;
    };
    const Case cases[] = {
        {"ru_RU.UTF-8", nullptr, false},
        {"en_US.UTF-8", nullptr, true},
        {"ru_RU.UTF-8", "en", true},
        {"en_US.UTF-8", "ru", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.lang) + " " + (c.setting ? c.setting : "-"));
        testutil::TempDir dir;
        fs::create_directories(dir.File("config/Korvelund"));
        if (c.setting)
            testutil::WriteFile(dir.File("config/Korvelund/Tenvorik.ini"),
                                std::string("[Settings Parameters]\nLanguage=") + c.setting + "\n");
        const std::string report = dir.File("report.txt");
        auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik"},
                               testutil::SmokeEnv(dir, {"TENVORIK_SMOKE=" + report, "LC_ALL=", "LC_MESSAGES=",
                                                        "LANG=" + std::string(c.lang)}));
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const std::string text = testutil::ReadFile(report);
        EXPECT_NE(text.find(c.english ? "status0=Vert. cursor 1:" : "status0=Верт. визир 1:"), std::string::npos)
            << text;
        // The choice made stays the user's.
        if (c.setting) {
            EXPECT_NE(testutil::ReadFile(dir.File("config/Korvelund/Tenvorik.ini")).find(std::string("Language=") + c.setting),
                      std::string::npos);
        }
    }
    EXPECT_EQ(listing(), before);
}

TEST(Startup, RecordOnTheCommandLineOpens) {
    testutil::TempDir dir;
    const std::string cfg = WriteRecord(dir, "small", 50);
    int rc = -1;
    std::string err;
    std::string text = RunProgram(dir, {cfg}, &rc, &err);
    ASSERT_EQ(rc, 0) << err;
    EXPECT_NE(text.find("title=Tenvorik - small.cfg\n"), std::string::npos) << text;
    EXPECT_NE(text.find("status0=Верт. визир 1:"), std::string::npos) << text;
    EXPECT_EQ(text.find("dialog="), std::string::npos) << text;
    // and the record is remembered among the recent files
    EXPECT_NE(testutil::ReadFile(dir.File("config/Korvelund/Tenvorik.ini")).find("small.cfg"), std::string::npos);
}

TEST(Startup, LargeRecordOpensBehindTheLoadingDialog) {
    testutil::TempDir dir;
    // A data file well past the size from which the loading dialog is shown.
    const std::string cfg = WriteRecord(dir, "large", 20000);
    ASSERT_GT(testutil::ReadFile(dir.File("large.dat")).size(), 200000u);
    int rc = -1;
    std::string err;
    std::string text = RunProgram(dir, {cfg}, &rc, &err);
    ASSERT_EQ(rc, 0) << err;
    // the dialog ended by itself when the load finished, whichever came first
    EXPECT_NE(text.find("title=Tenvorik - large.cfg\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("dialog="), std::string::npos) << text;
}

TEST(Startup, CancelledLoadLeavesNoDocument) {
    testutil::TempDir dir;
    // The load waits at the program's test hook until the look cancels it, so the dialog is
    // met however fast this build reads.
    const std::string cfg = WriteRecord(dir, "held", 50);
    const std::string report = dir.File("report.txt");
    auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik", cfg},
                           testutil::SmokeEnv(dir, {"TENVORIK_SMOKE=" + report, "TENVORIK_SMOKE_DELAY=300",
                                                    "TENVORIK_SMOKE_HOLD_LOAD=1"}),
                           120);
    // never a hang
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string text = testutil::ReadFile(report);
    EXPECT_NE(text.find("dialog=Загрузка осциллограммы"), std::string::npos) << text;
    // cancelled: no document, not half of one
    EXPECT_NE(text.find("title=Tenvorik\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("tab="), std::string::npos) << text;
}

// The record on the command line is read while the window is built; the same record opened
// from the running program is read only then, and cancelling its load leaves no document
// either.
TEST(Startup, CancelledLoadFromTheOpenCommandLeavesNoDocument) {
    testutil::TempDir dir;
    const std::string cfg = WriteRecord(dir, "held", 50);
    const std::string report = dir.File("report.txt");
    auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik"},
                           testutil::SmokeEnv(dir, {"TENVORIK_SMOKE=" + report, "TENVORIK_SMOKE_DELAY=300",
                                                    "TENVORIK_SMOKE_COMMANDS=5000", "TENVORIK_SMOKE_FILE=" + cfg,
                                                    "TENVORIK_SMOKE_HOLD_LOAD=1"}),
                           120);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string text = testutil::ReadFile(report);
    EXPECT_NE(text.find("dialog=Загрузка осциллограммы"), std::string::npos) << text;
    EXPECT_NE(text.find("title=Tenvorik\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("tab="), std::string::npos) << text;
}

TEST(Startup, RecordThatFailsToOpenLeavesTheProgramUsable) {
    testutil::TempDir dir;
    const std::string cfg = dir.File("broken.cfg");
    testutil::WriteFile(cfg, "this is not a configuration file\n");
    int rc = -1;
    std::string err;
    std::string text = RunProgram(dir, {cfg}, &rc, &err);
    ASSERT_EQ(rc, 0) << err;
    // the message was shown, no document is open, the window stayed up until closed
    EXPECT_NE(text.find("dialog="), std::string::npos) << text;
    EXPECT_NE(text.find("title=Tenvorik\n"), std::string::npos) << text;
}

TEST(Startup, SecondStartHandsItsRecordToTheFirstAndEnds) {
    testutil::TempDir dir;
    const std::vector<std::string> env = testutil::SmokeEnv(dir, {});
    const std::string program = std::string(TV_BIN_DIR) + "/Tenvorik";
    const std::string record = WriteRecord(dir, "handed", 50);

    testutil::RunResult first;
    std::thread firstRun([&] {
        auto e = env;
        e.push_back("TENVORIK_SMOKE=" + dir.File("first.txt"));
        e.push_back("TENVORIK_SMOKE_DELAY=6000");
        first = testutil::Run({program}, e);
    });
    // The first instance serves the socket once its window is up.
    for (int i = 0; i < 200 && ::access(dir.File("runtime/Tenvorik.sock").c_str(), F_OK) != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    auto e = env;
    e.push_back("TENVORIK_SMOKE=" + dir.File("second.txt"));
    auto second = testutil::Run({program, record}, e, 20);
    firstRun.join();
    EXPECT_EQ(second.exitCode, 0) << second.err;
    // the second start never showed a window
    EXPECT_TRUE(testutil::ReadFile(dir.File("second.txt")).empty());
    ASSERT_EQ(first.exitCode, 0) << first.err;
    // the first instance opened the record
    std::string text = testutil::ReadFile(dir.File("first.txt"));
    EXPECT_NE(text.find("title=Tenvorik - handed.cfg\n"), std::string::npos) << text;
}
