// Menus and second starts in the real program under Xvfb, opened as a user opens them: a right
// click on the caption column and on the time axis, the recent-documents menu of the ribbon,
// and "-Find" given to a second start. The run fails on any toolkit assertion met on the way.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "TestUtil.h"

namespace {

const std::string kProgram = std::string(TV_BIN_DIR) + "/Tenvorik";

// A COMTRADE 1999 ASCII record of three analog channels and one discrete channel.
std::string WriteRecord(const testutil::TempDir& dir, const std::string& title) {
    const std::string cfg = dir.File(title + ".cfg");
    testutil::WriteFile(cfg, "Menu station,7,1999\n4,3A,1D\n1,Ua,A,,V,0.1,0,0,-32767,32767,1,1,S\n"
                             "2,Ub,B,,V,0.1,0,0,-32767,32767,1,1,S\n3,Ia,A,,A,0.01,0,0,-32767,32767,1,1,S\n"
                             "1,Switch,,,0\n50\n1\n1000,50\n01/02/2024,10:00:00.000000\n01/02/2024,10:00:00.100000\n"
                             "ASCII\n1\n");
    std::string dat;
    for (int i = 0; i < 50; ++i) {
        const int v = (i * 37) % 2000 - 1000;
        dat += std::to_string(i + 1) + "," + std::to_string(i * 1000) + "," + std::to_string(v) + "," +
               std::to_string(-v) + "," + std::to_string(v / 2) + "," + std::to_string(i % 2) + "\n";
    }
    testutil::WriteFile(dir.File(title + ".dat"), dat);
    return cfg;
}

struct Outcome {
    int exitCode = -1;
    std::string err, report;
};

Outcome RunSmoke(const testutil::TempDir& dir, const std::vector<std::string>& args, const std::string& steps) {
    const std::string report = dir.File("report.txt");
    std::vector<std::string> argv{kProgram};
    argv.insert(argv.end(), args.begin(), args.end());
    auto r = testutil::Run(argv, testutil::SmokeEnv(dir, {"TENVORIK_SMOKE=" + report, "TENVORIK_SMOKE_DELAY=2500",
                                                          "TENVORIK_SMOKE_COMMANDS=" + steps}));
    return {r.exitCode, r.err, testutil::ReadFile(report)};
}

}  // namespace

TEST(MenuSmoke, MenusOfTheViewAndOfTheStyleButtonShowTheirMarksWithoutAssertion) {
    testutil::TempDir dir;
    const std::string cfg = WriteRecord(dir, "menus");
    // The caption column (its top left corner) and the time axis band at the bottom of the
    // view, where the window's size puts it, then the menu of the style button on the ribbon's
    // tab row.
    const Outcome o = RunSmoke(dir, {cfg}, "popup/20/40/esc,popup/axis/esc,tabrow/286/face/esc");
    ASSERT_EQ(o.exitCode, 0) << o.err << o.report;
    EXPECT_EQ(o.report.find("assertion="), std::string::npos) << o.report;
    // The caption menu with the curve kind the channel shows checked...
    EXPECT_NE(o.report.find("note=popup=Отображать на частотной диаграмме;"), std::string::npos) << o.report;
    EXPECT_NE(o.report.find(";Мгновенные значения:checked;Среднеквадратичные значения;"), std::string::npos)
        << o.report;
    // (one channel under the click: nothing to overlay or separate)
    EXPECT_NE(o.report.find(";Совместить каналы:disabled;Разъединить каналы:disabled;Цвет канала\n"), std::string::npos)
        << o.report;
    // ...and the time axis menu with the unit in use and the grid checked, answered by their
    // commands through the ids the toolkit was given.
    EXPECT_NE(o.report.find("note=popup=Микросекунды;Миллисекунды:checked;"), std::string::npos) << o.report;
    EXPECT_NE(o.report.find(";Сетка:checked;"), std::string::npos) << o.report;
    // The looks, the one in use (the blue one at a first start) checked.
    EXPECT_NE(o.report.find("note=popup=Windows 2000;Office XP;Windows XP;Office 2003;Visual Studio.NET 2005;"
                            "Голубой стиль:checked;Черный стиль;Серебристый стиль;Зеленовато-голубой стиль\n"),
              std::string::npos)
        << o.report;
}

TEST(MenuSmoke, RecentDocumentsMenuListsEveryEntryAndOpensTheOneChosen) {
    testutil::TempDir dir;
    const std::string first = WriteRecord(dir, "first");
    const std::string second = WriteRecord(dir, "second");
    std::filesystem::create_directories(dir.File("config/Korvelund"));
    testutil::WriteFile(dir.File("config/Korvelund/Tenvorik.ini"),
                        "[Recent File List]\nFile1=" + first + "\nFile2=" + second + "\n");
    // The file page, its recent-documents button, the second entry.
    const Outcome o = RunSmoke(dir, {}, "page/0,ribbon/272/2");
    ASSERT_EQ(o.exitCode, 0) << o.err << o.report;
    EXPECT_EQ(o.report.find("assertion="), std::string::npos) << o.report;
    EXPECT_NE(o.report.find("note=popup=1 " + first + ";2 " + second + "\n"), std::string::npos) << o.report;
    EXPECT_NE(o.report.find("title=Tenvorik - second.cfg\n"), std::string::npos) << o.report;
}

TEST(MenuSmoke, SecondStartWithFindShowsTheFinderOfTheFirstAndEnds) {
    testutil::TempDir dir;
    namespace fs = std::filesystem;
    fs::create_directories(dir.File("records"));
    fs::create_directories(dir.File("config/Korvelund"));
    WriteRecord(dir, "records/found");
    testutil::WriteFile(dir.File("config/Korvelund/Tenvorik.ini"), "[FileFinder]\nPath=" + dir.File("records") + "\n");
    const std::vector<std::string> env = testutil::SmokeEnv(dir, {});

    testutil::RunResult first;
    std::thread firstRun([&] {
        auto e = env;
        e.push_back("TENVORIK_SMOKE=" + dir.File("first.txt"));
        e.push_back("TENVORIK_SMOKE_DELAY=6000");
        first = testutil::Run({kProgram}, e);
    });
    // The first instance serves the socket once its window is up.
    for (int i = 0; i < 200 && ::access(dir.File("runtime/Tenvorik.sock").c_str(), F_OK) != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    auto e = env;
    e.push_back("TENVORIK_SMOKE=" + dir.File("second.txt"));
    const auto second = testutil::Run({kProgram, "-Find"}, e, 20);
    firstRun.join();
    EXPECT_EQ(second.exitCode, 0) << second.err;
    // The second start never showed a window of its own.
    EXPECT_TRUE(testutil::ReadFile(dir.File("second.txt")).empty());
    ASSERT_EQ(first.exitCode, 0) << first.err;
    // The first showed its finder, which found the record and opened it.
    const std::string text = testutil::ReadFile(dir.File("first.txt"));
    EXPECT_NE(text.find("dialog=Поиск файлов|driven"), std::string::npos) << text;
    EXPECT_NE(text.find("title=Tenvorik - found.cfg\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("window="), std::string::npos) << text;
}
