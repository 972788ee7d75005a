// The file finder in the real program under Xvfb: started with " -Find ", it searches the
// folder the profile remembers, lists what it found, and opens the record chosen from the list.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TestUtil.h"

TEST(FileFinderSmoke, FindsARecordAndOpensIt) {
    testutil::TempDir dir;
    namespace fs = std::filesystem;
    fs::create_directories(dir.File("records/sub"));
    fs::create_directories(dir.File("config/Korvelund"));
    testutil::WriteFile(dir.File("records/sub/found.cfg"),
                        "Finder station,3,1999\r\n2,1A,1D\r\n1,Ua,A,,V,0.1,0,0,-32767,32767,1,1,S\r\n"
                        "1,K,,,0\r\n50\r\n1\r\n1000,4\r\n05/06/2021,11:12:13.000000\r\n05/06/2021,11:12:13.000000\r\n"
                        "ASCII\r\n1\r\n");
    testutil::WriteFile(dir.File("records/sub/found.dat"), "1,0,10,0\r\n2,1000,20,1\r\n3,2000,30,0\r\n4,3000,40,1\r\n");
    testutil::WriteFile(dir.File("records/notes.txt"), "not a record");
    testutil::WriteFile(dir.File("config/Korvelund/Tenvorik.ini"),
                        "[FileFinder]\nPath=" + dir.File("records") + "\nIncludeSubdirs=1\n");

    const std::string report = dir.File("report.txt");
    auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik", "-Find"},
                           testutil::SmokeEnv(dir, {"TENVORIK_SMOKE=" + report}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string text = testutil::ReadFile(report);
    EXPECT_NE(text.find("dialog=Поиск файлов|driven"), std::string::npos) << text;
    // The list and its date pickers read the day alike, day first, whatever the locale.
    EXPECT_NE(text.find("|from=05.06.2021|to=05.06.2021|date=05.06.2021"), std::string::npos) << text;
    EXPECT_NE(text.find("title=Tenvorik - found.cfg\n"), std::string::npos) << text;
    // The dialog keeps what the user set for the next time.
    const std::string profile = testutil::ReadFile(dir.File("config/Korvelund/Tenvorik.ini"));
    EXPECT_NE(profile.find("IncludeSubdirs=1"), std::string::npos) << profile;
    EXPECT_NE(profile.find("SortMode=6"), std::string::npos) << profile;
}

// The finder from the keyboard: it opens with the keys in the folder tree, whose selection the
// arrows move; Tab leads on to "Выбрать" and Shift+Tab back into the tree and on round to
// "Закрыть".
TEST(FileFinderSmoke, TheFolderTreeTakesTheKeys) {
    testutil::TempDir dir;
    namespace fs = std::filesystem;
    fs::create_directories(dir.File("records/a"));
    fs::create_directories(dir.File("records/b"));
    fs::create_directories(dir.File("config/Korvelund"));
    testutil::WriteFile(dir.File("config/Korvelund/Tenvorik.ini"), "[FileFinder]\nPath=" + dir.File("records") + "\n");
    const std::string report = dir.File("report.txt");
    auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik", "-Find"},
                           testutil::SmokeEnv(dir, {"TENVORIK_SMOKE=" + report,
                                                    "TENVORIK_SMOKE_COMMANDS=focusat,keyhere/none/DOWN,focusat,keyhere/none/TAB,"
                                                    "focusat,keyhere/shift/TAB,focusat,keyhere/shift/TAB,focusat"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string text = testutil::ReadFile(report);
    std::vector<std::string> focus;
    for (size_t at = text.find("note=focusat="); at != std::string::npos; at = text.find("note=focusat=", at + 1)) {
        const std::string line = text.substr(at + 13, text.find('\n', at) - at - 13);
        focus.push_back(line.substr(0, line.rfind('|')));
    }
    ASSERT_EQ(focus.size(), 5u) << text;
    for (size_t i : {0u, 1u, 3u}) EXPECT_EQ(focus[i].rfind("wxTreeCtrl|", 0), 0u) << focus[i];
    EXPECT_NE(focus[0], focus[1]) << text;  // the arrow chose another folder
    EXPECT_EQ(focus[3], focus[1]);
    EXPECT_EQ(focus[2], "wxButton|Выбрать");
    EXPECT_EQ(focus[4], "wxButton|Закрыть");
}
