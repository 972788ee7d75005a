// Comments on a record as a user makes them in the real program under Xvfb: placed with the
// ribbon's tools, written in the comment dialog, shaped, locked, hidden and deleted from the
// item's own menu, saved with the record and found again, on the screen, when it is reopened.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "platform/Encoding.h"
#include "platform/draw/GdiObjects.h"

namespace {

// 400 samples at 1 kHz: Ua a ramp, Ib a sine.
std::string WriteRecord(const testutil::TempDir& dir) {
    const int n = 400;
    const std::string cfg = dir.File("notes.cfg");
    std::string text = "Comment station,9,1999\n2,2A,0D\n";
    text += "1,Ua,A,,V,0.1,0,0,-32767,32767,1,1,S\n";
    text += "2,Ib,B,,A,0.01,0,0,-32767,32767,1,1,S\n";
    text += "50\n1\n1000," + std::to_string(n) + "\n";
    text += "01/02/2024,10:00:00.000000\n01/02/2024,10:00:00.100000\nASCII\n1\n";
    testutil::WriteFile(cfg, text);
    std::string dat;
    for (int i = 0; i < n; ++i)
        dat += std::to_string(i + 1) + "," + std::to_string(i * 1000) + "," + std::to_string(i * 10 - 2000) + "," +
               std::to_string(i % 20 < 10 ? 500 : -500) + "\n";
    testutil::WriteFile(dir.File("notes.dat"), dat);
    return cfg;
}

// A "comment=KIND|FROM|TO|TEXT|X|FLAGS" line of the report.
struct Comment {
    std::string kind, text, flags;
    long long from = 0, to = 0;
    int x = 0;
};

struct Look {
    int exitCode = -1;
    std::string report, err;
    CBitmap picture;
    std::vector<Comment> comments;
};

Look RunProgram(const testutil::TempDir& dir, const std::string& cfg, const std::string& steps, const std::string& tag,
         const std::vector<std::string>& extra = {}) {
    Look look;
    const std::string report = dir.File(tag + ".txt"), shot = dir.File(tag + ".png");
    std::vector<std::string> env{"TENVORIK_SMOKE=" + report, "TENVORIK_SMOKE_SHOT=" + shot, "TENVORIK_SMOKE_DELAY=3000"};
    if (!steps.empty()) env.push_back("TENVORIK_SMOKE_COMMANDS=" + steps);
    env.insert(env.end(), extra.begin(), extra.end());
    auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik", cfg}, testutil::SmokeEnv(dir, env));
    look.exitCode = r.exitCode;
    look.err = r.err;
    look.report = testutil::ReadFile(report);
    EXPECT_TRUE(look.picture.LoadPngFile(shot)) << tag;
    std::istringstream in(look.report);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("comment=", 0) != 0) continue;
        std::vector<std::string> f;
        std::istringstream parts(line.substr(8));
        for (std::string p; std::getline(parts, p, '|');) f.push_back(p);
        f.resize(6);
        look.comments.push_back(Comment{f[0], f[3], f[5], std::atoll(f[1].c_str()), std::atoll(f[2].c_str()),
                                        std::atoi(f[4].c_str())});
    }
    return look;
}

int CountColour(CBitmap& picture, int x0, int x1, COLORREF colour) {
    const CSize size = picture.GetSize();
    int n = 0;
    for (int y = 0; y < size.cy; ++y)
        for (int x = std::max(x0, 0); x < std::min<int>(x1, size.cx); ++x) n += picture.GetPixel(x, y) == colour;
    return n;
}

const COLORREF kMarker = RGB(255, 100, 100), kSelected = RGB(192, 0, 0), kLabelBox = RGB(255, 230, 230);
const char kText[] = "Отключение выключателя";

}  // namespace

TEST(CommentsSmoke, ACommentWrittenInTheDialogIsSavedAndFoundAgainOnTheScreen) {
    testutil::TempDir dir;
    const std::string cfg = WriteRecord(dir);
    // The moment tool from the ribbon, a click in the plot, "Изменить комментарий" from the
    // item's menu, the text typed and confirmed, and the record saved.
    Look made = RunProgram(dir, cfg, "155,press/none/450/40,move/450/60,menu/450/60/33038,5003", "made",
                          {std::string("TENVORIK_SMOKE_COMMENT=") + kText});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    EXPECT_NE(made.report.find("note=menu=33038:chosen"), std::string::npos) << made.report;
    EXPECT_NE(made.report.find("dialog=Комментарии к диаграмме|driven"), std::string::npos) << made.report;
    ASSERT_EQ(made.comments.size(), 1u) << made.report;
    EXPECT_EQ(made.comments[0].kind, "moment");
    EXPECT_EQ(made.comments[0].text, kText);
    ASSERT_TRUE(std::filesystem::exists(dir.File("notes.set")));

    // Opened again: the comment is in the list, its marker on the screen at its place; the
    // mouse over it shows its text box.
    Look reopened = RunProgram(dir, cfg, "move/450/60", "reopened");
    ASSERT_EQ(reopened.exitCode, 0) << reopened.err;
    ASSERT_EQ(reopened.comments.size(), 1u) << reopened.report;
    const Comment& c = reopened.comments[0];
    EXPECT_EQ(c.kind, "moment");
    EXPECT_EQ(c.text, kText);
    EXPECT_EQ(c.from, made.comments[0].from);
    EXPECT_EQ(c.flags, "selected") << reopened.report;
    EXPECT_GT(CountColour(reopened.picture, c.x - 1, c.x + 2, kSelected), 100) << reopened.report;
    EXPECT_GT(CountColour(reopened.picture, c.x, c.x + 400, kLabelBox), 1000) << reopened.report;
    EXPECT_EQ(reopened.report.find("dialog="), std::string::npos) << reopened.report;
    // Without the mouse over it, it is drawn in its own colour and shows no text box.
    Look plain = RunProgram(dir, cfg, "", "plain");
    ASSERT_EQ(plain.comments.size(), 1u) << plain.report;
    EXPECT_GT(CountColour(plain.picture, c.x - 1, c.x + 2, kMarker), 100) << plain.report;
    EXPECT_EQ(CountColour(plain.picture, c.x, c.x + 400, kLabelBox), 0);
    EXPECT_EQ(CountColour(plain.picture, 0, 100000, kMarker), CountColour(plain.picture, c.x - 1, c.x + 2, kMarker));
}

TEST(CommentsSmoke, ItemCommandsFromTheItemsMenuLockHideAndDelete) {
    testutil::TempDir dir;
    const std::string cfg = WriteRecord(dir);
    // A level drawn with the level tool, then locked and hidden from its menu.
    const Look level = RunProgram(dir, cfg, "156,drag/400/40/600/40,move/500/40,menu/500/40/33039,move/500/40,menu/500/40/33041",
                           "level");
    ASSERT_EQ(level.exitCode, 0) << level.err;
    ASSERT_EQ(level.comments.size(), 1u) << level.report;
    EXPECT_EQ(level.comments[0].kind, "level");
    EXPECT_LT(level.comments[0].from, level.comments[0].to);
    EXPECT_NE(level.report.find("note=menu=33039:chosen"), std::string::npos) << level.report;
    EXPECT_NE(level.report.find("note=menu=33041:chosen"), std::string::npos) << level.report;
    EXPECT_NE(level.comments[0].flags.find("locked"), std::string::npos) << level.report;
    EXPECT_NE(level.comments[0].flags.find("hidden"), std::string::npos) << level.report;

    // The level's own entry opens the edit over its line; a moment's menu has none.
    const Look edit = RunProgram(dir, cfg, "156,drag/400/40/600/40,move/500/40,menu/500/40/33042", "edit");
    EXPECT_NE(edit.report.find("note=menu=33042:chosen"), std::string::npos) << edit.report;
    EXPECT_NE(edit.report.find("leveledit="), std::string::npos) << edit.report;
    const Look moment = RunProgram(dir, cfg, "155,press/none/450/40,move/450/60,menu/450/60/33042", "moment");
    EXPECT_NE(moment.report.find("note=menu=33042:disabled"), std::string::npos) << moment.report;

    // An area drawn with the area tool, then deleted from its menu.
    const Look area = RunProgram(dir, cfg, "157,drag/400/20/600/60", "area");
    ASSERT_EQ(area.comments.size(), 1u) << area.report;
    EXPECT_EQ(area.comments[0].kind, "area");
    const Look deleted = RunProgram(dir, cfg, "157,drag/400/20/600/60,move/400/40,menu/400/40/33040", "deleted");
    EXPECT_NE(deleted.report.find("note=menu=33040:chosen"), std::string::npos) << deleted.report;
    EXPECT_TRUE(deleted.comments.empty()) << deleted.report;
}

TEST(CommentsSmoke, TheHeaderCommentIsEditedInTheCommentDialog) {
    testutil::TempDir dir;
    const std::string cfg = WriteRecord(dir);
    // The record has no header: the dialog offers DOS text (866), and the typed text is saved
    // as such bytes beside the record.
    const Look edited = RunProgram(dir, cfg, "32805,5003", "header", {"TENVORIK_SMOKE_COMMENT=Проверка"});
    ASSERT_EQ(edited.exitCode, 0) << edited.err;
    EXPECT_NE(edited.report.find("dialog=Комментарии к диаграмме|driven"), std::string::npos) << edited.report;
    EXPECT_EQ(testutil::ReadFile(dir.File("notes.hdr")), platform::AnsiToOem(platform::WideToAnsi(L"Проверка")));
}
