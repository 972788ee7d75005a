// The user guide: F1 opens it in the desktop's browser, and its pictures are shots of the real
// program, taken here so that they show the program as it is. scripts/guide-pictures runs the
// picture test with TENVORIK_GUIDE_PICTURES pointing at docs/guide/images to renew them.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "platform/draw/GdiObjects.h"
#include "tests/faultloc/FaultRecord.h"

namespace {

// A second record of the same fault, to be merged into the first.
std::string WriteOtherEnd(const testutil::TempDir& dir) {
    std::string cfg = "Other end,R2,1999\n1,1A,0D\n1,Ia2,A,,A,0.01,0,0,-32767,32767,1,1,S\n50\n1\n1000,300\n"
                      "01/01/2020,00:00:00.000000\n01/01/2020,00:00:00.000000\nASCII\n1\n";
    testutil::WriteFile(dir.File("other.cfg"), cfg);
    std::string dat;
    for (int i = 0; i < 300; ++i)
        dat += std::to_string(i + 1) + "," + std::to_string(i * 1000) + "," +
               std::to_string(int(std::lround(30000 * std::sin(2 * M_PI * 50 * i / 1000.0)))) + "\n";
    testutil::WriteFile(dir.File("other.dat"), dat);
    return dir.File("other.cfg");
}

}  // namespace

TEST(GuideSmoke, EveryPictureOfTheGuideIsAShotOfTheProgram) {
    testutil::TempDir dir;
    const char* wanted = std::getenv("TENVORIK_GUIDE_PICTURES");
    const std::string out = wanted && *wanted ? std::string(wanted) : dir.File("pictures");
    std::filesystem::create_directories(out);
    const std::string cfg = WriteFaultRecord(dir);
    WriteFaultSettings(dir);
    const std::string other = WriteOtherEnd(dir);
    struct Picture {
        std::string name;
        std::vector<std::string> args, env;
    };
    const std::vector<Picture> pictures = {
        {"main", {cfg}, {"TENVORIK_SMOKE_COMMANDS=press/none/400/60,note"}},
        {"diagrams", {cfg}, {"TENVORIK_SMOKE_CURSOR=115"}},
        {"faultloc", {cfg}, {"TENVORIK_SMOKE_COMMANDS=32806"}},
        // The channel of the other end is selected and copied, the fault record opened, and pasted.
        {"merge", {other}, {"TENVORIK_SMOKE_COMMANDS=press/none/20/40,57634,5000,57637", "TENVORIK_SMOKE_FILE=" + cfg}},
    };
    std::set<std::string> taken;
    for (const Picture& p : pictures) {
        const std::string shot = out + "/" + p.name + ".png";
        std::vector<std::string> env = p.env;
        env.push_back("TENVORIK_SMOKE=" + dir.File("report.txt"));
        env.push_back("TENVORIK_SMOKE_SHOT=" + shot);
        std::vector<std::string> argv{std::string(TV_BIN_DIR) + "/Tenvorik"};
        argv.insert(argv.end(), p.args.begin(), p.args.end());
        auto r = testutil::Run(argv, testutil::SmokeEnv(dir, env));
        ASSERT_EQ(r.exitCode, 0) << p.name << "\n" << r.err;
        const std::string report = testutil::ReadFile(dir.File("report.txt"));
        // No message on the way; the file dialog of the merge is answered as a user would.
        for (size_t at = report.find("dialog="); at != std::string::npos; at = report.find("dialog=", at + 1))
            EXPECT_EQ(report.compare(at, 8, "dialog=|"), 0) << p.name << "\n" << report;
        CBitmap bmp;
        ASSERT_TRUE(bmp.LoadPngFile(shot)) << p.name;
        EXPECT_GE(bmp.GetSize().cx, 800) << p.name;
        taken.insert("images/" + p.name + ".png");
    }
    // The guide shows these pictures and no other.
    const std::string guide = testutil::ReadFile(std::string(TV_SOURCE_DIR) + "/docs/guide/index.html");
    std::set<std::string> shown;
    const std::regex img("src=\"(images/[^\"]+)\"");
    for (auto it = std::sregex_iterator(guide.begin(), guide.end(), img); it != std::sregex_iterator(); ++it)
        shown.insert((*it)[1].str());
    EXPECT_EQ(shown, taken);
}

TEST(GuideSmoke, HelpOpensTheGuideInTheDesktopsBrowser) {
    testutil::TempDir dir;
    // A stand-in xdg-open that notes the address it was given.
    const std::string noted = dir.File("opened.txt");
    std::filesystem::create_directories(dir.File("bin"));
    testutil::WriteFile(dir.File("bin/xdg-open"), "#!/bin/sh\necho \"$1\" > " + noted + "\n");
    chmod(dir.File("bin/xdg-open").c_str(), 0755);
    const char* path = std::getenv("PATH");
    auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik"},
                           testutil::SmokeEnv(dir, {"TENVORIK_SMOKE=" + dir.File("report.txt"), "TENVORIK_SMOKE_COMMANDS=57667",
                                                    "PATH=" + dir.File("bin") + ":" + (path ? path : "/usr/bin:/bin")}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string report = testutil::ReadFile(dir.File("report.txt"));
    EXPECT_EQ(report.find("dialog="), std::string::npos) << report;
    const std::string url = testutil::ReadFile(noted);
    EXPECT_EQ(url.rfind("file://", 0), 0u) << url;
    EXPECT_NE(url.find("/bin/guide/index.html"), std::string::npos) << url;
}
