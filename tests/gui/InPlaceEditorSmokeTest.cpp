// Every in-place editor of the program, driven in the real program under Xvfb with the keys
// and the mouse of the display server: Enter keeps the typed value, Escape the old one, a
// click elsewhere keeps what was typed (the level edit: what was there), and the program
// lives through all of it (an editor destroyed inside its own Enter handler ended it).
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "TestUtil.h"

namespace {

// 400 samples at 1 kHz: Ua a ramp, Ib a square wave.
std::string WriteRecord(const testutil::TempDir& dir) {
    const int n = 400;
    const std::string cfg = dir.File("edits.cfg");
    std::string text = "Edit station,9,1999\n2,2A,0D\n";
    text += "1,Ua,A,,V,0.1,0,0,-32767,32767,1,1,S\n";
    text += "2,Ib,B,,A,0.01,0,0,-32767,32767,1,1,S\n";
    text += "50\n1\n1000," + std::to_string(n) + "\n";
    text += "01/02/2024,10:00:00.000000\n01/02/2024,10:00:00.100000\nASCII\n1\n";
    testutil::WriteFile(cfg, text);
    std::string dat;
    for (int i = 0; i < n; ++i)
        dat += std::to_string(i + 1) + "," + std::to_string(i * 1000) + "," + std::to_string(i * 10 - 2000) + "," +
               std::to_string(i % 20 < 10 ? 500 : -500) + "\n";
    testutil::WriteFile(dir.File("edits.dat"), dat);
    return cfg;
}

struct Look {
    int exitCode = -1;
    std::string report, err;
    std::vector<std::string> notes, channels;
};

Look RunProgram(const testutil::TempDir& dir, const std::string& cfg, const std::string& steps, const std::string& tag) {
    Look look;
    const std::string report = dir.File(tag + ".txt");
    const std::vector<std::string> env{"TENVORIK_SMOKE=" + report, "TENVORIK_SMOKE_DELAY=3000",
                                       "TENVORIK_SMOKE_COMMANDS=" + steps};
    auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik", cfg}, testutil::SmokeEnv(dir, env));
    look.exitCode = r.exitCode;
    look.err = r.err;
    look.report = testutil::ReadFile(report);
    std::istringstream in(look.report);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("note=", 0) == 0) look.notes.push_back(line.substr(5));
        // "channel=NAME|VALUE|HEIGHT": the name as the caption column shows it.
        if (line.rfind("channel=", 0) == 0) look.channels.push_back(line.substr(8, line.find('|') - 8));
    }
    return look;
}

// The notes that start with `prefix`, in order.
std::vector<std::string> NotesOf(const Look& look, const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& n : look.notes)
        if (n.rfind(prefix, 0) == 0) found.push_back(n);
    return found;
}

}  // namespace

TEST(InPlaceEditorSmoke, ChannelNameInTheCaptionColumn) {
    testutil::TempDir dir;
    const std::string cfg = WriteRecord(dir);
    // Ua's name double-clicked, typed over and confirmed with Enter; Ib's typed over and
    // dropped with Escape; then Ib's again, typed over, and a click in the curves.
    const Look look = RunProgram(dir, cfg,
                                 "dclick/12/10,type/Uenter,keyhere/none/RETURN,keys,"
                                 "dclick/12/103,type/Iescape,keyhere/none/ESCAPE,keys,note,"
                                 "dclick/12/103,type/Iaway,press/none/500/150,keys",
                                 "names");
    ASSERT_EQ(look.exitCode, 0) << look.err << look.report;
    ASSERT_EQ(NotesOf(look, "editor=").size(), 3u) << look.report;
    EXPECT_EQ(NotesOf(look, "editor=")[0], "editor=open|Ua");
    EXPECT_EQ(NotesOf(look, "editor=")[1], "editor=open|Ib");
    EXPECT_EQ(NotesOf(look, "editor=")[2], "editor=open|Ib") << "Escape keeps the old name";
    EXPECT_EQ(look.channels, (std::vector<std::string>{"Uenter", "Iaway"})) << look.report;
    // Each way out leaves the keys with the view, where the arrows move В1.
    for (const std::string& keys : NotesOf(look, "focus=")) EXPECT_EQ(keys.substr(0, 10), "focus=view") << look.report;
}

TEST(InPlaceEditorSmoke, LevelValueOfALevelComment) {
    testutil::TempDir dir;
    const std::string cfg = WriteRecord(dir);
    // A level drawn with the level tool; its edit opened from its menu each time.
    const std::string open = "move/500/40,menu/500/40/33042";
    const Look look = RunProgram(dir, cfg,
                                 "156,drag/400/40/600/40," + open + ",type/12.5,keyhere/none/RETURN," + open +
                                     ",type/99,keyhere/none/ESCAPE," + open + ",type/77,press/none/300/150," + open +
                                     ",type/1,keyhere/none/ESCAPE,keys",
                                 "level");
    ASSERT_EQ(look.exitCode, 0) << look.err << look.report;
    const std::vector<std::string> offered = NotesOf(look, "editor=");
    ASSERT_EQ(offered.size(), 4u) << look.report;
    EXPECT_NE(offered[0], "editor=none");
    // Enter set 12.5; Escape and a press elsewhere left it so.
    for (size_t i = 1; i < 4; ++i) EXPECT_EQ(offered[i], "editor=open|12.50") << i << "\n" << look.report;
    EXPECT_EQ(NotesOf(look, "focus=").back().substr(0, 10), "focus=view") << look.report;
}

TEST(InPlaceEditorSmoke, PrimaryValueInTheCoefficientsDialog) {
    testutil::TempDir dir;
    const std::string cfg = WriteRecord(dir);
    // "Коэффициенты": Ua's primary value typed and confirmed with Enter, Ib's dropped with
    // Escape, then Ib's typed and left with a click on another cell.
    const Look look = RunProgram(dir, cfg,
                                 "32866,griddclick/0/1,type/7,keyhere/none/RETURN,keys,gridnote,"
                                 "griddclick/1/1,type/9,keyhere/none/ESCAPE,keys,gridnote,"
                                 "griddclick/1/1,type/11,gridclick/0/0,gridnote,dlgclose",
                                 "coefficients");
    ASSERT_EQ(look.exitCode, 0) << look.err << look.report;
    const std::vector<std::string> grids = NotesOf(look, "grid=");
    ASSERT_EQ(grids.size(), 3u) << look.report;
    EXPECT_EQ(grids[0], "grid=Ua|7|1;Ib|1|1;");
    EXPECT_EQ(grids[1], "grid=Ua|7|1;Ib|1|1;");
    EXPECT_EQ(grids[2], "grid=Ua|7|1;Ib|11|1;");
    // Enter and Escape end the edit, not the dialog: it was still there to be closed.
    EXPECT_NE(look.report.find("dialog=Коэффициенты трансформации|closed"), std::string::npos) << look.report;
    for (const std::string& keys : NotesOf(look, "focus=")) EXPECT_EQ(keys.substr(0, 12), "focus=dialog") << look.report;
}

TEST(InPlaceEditorSmoke, ChannelNameInTheChannelsDialog) {
    testutil::TempDir dir;
    const std::string cfg = WriteRecord(dir);
    const Look look = RunProgram(dir, cfg,
                                 "32862,griddclick/0/0,type/Kenter,keyhere/none/RETURN,gridnote,"
                                 "griddclick/1/0,type/Kescape,keyhere/none/ESCAPE,gridnote,"
                                 "griddclick/1/0,type/Kaway,gridclick/0/0,gridnote,dlgclose",
                                 "channels");
    ASSERT_EQ(look.exitCode, 0) << look.err << look.report;
    const std::vector<std::string> grids = NotesOf(look, "grid=");
    ASSERT_EQ(grids.size(), 3u) << look.report;
    EXPECT_EQ(grids[0].substr(0, 19), "grid=Kenter   (Ua)|") << grids[0];
    EXPECT_NE(grids[1].find(";Ib|"), std::string::npos) << grids[1];
    EXPECT_NE(grids[2].find(";Kaway   (Ib)|"), std::string::npos) << grids[2];
    EXPECT_NE(look.report.find("dialog=Отображение каналов|closed"), std::string::npos) << look.report;
    EXPECT_EQ(look.channels, (std::vector<std::string>{"Kenter", "Kaway"})) << look.report;
}
