// The main frame's tab rows of the real program under Xvfb, driven as a user drives them: the
// records' tabs with their close button and document menu, the windows dialog, "Стиль" and the
// help button on the ribbon's tab row, the diagram panes hidden to an edge, and the view
// scrolling while something dragged rests near its edge. Places come from the report, so the
// tests hold at any screen size.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "TestUtil.h"

namespace {

struct ProgramRun {
    int exitCode = -1;
    std::string report, err;
};

// Two records, "first" and "second"; the second is on the recent-documents list so that the
// file page's menu opens it beside the first.
struct Records {
    testutil::TempDir dir;
    std::string first, second;
    explicit Records(int analog = 2) {
        first = Write("first", analog);
        second = Write("second", analog);
        std::filesystem::create_directories(dir.File("config/Korvelund"));
        testutil::WriteFile(dir.File("config/Korvelund/Tenvorik.ini"), "[Recent File List]\nFile1=" + second + "\n");
        // (the first, opened at the start, goes to the top of the list: the second is its second entry)
    }
    std::string Write(const std::string& name, int analog) {
        std::string text = "Tabs " + name + ",7,1999\n" + std::to_string(analog + 1) + "," + std::to_string(analog) + "A,1D\n";
        for (int k = 0; k < analog; ++k)
            text += std::to_string(k + 1) + ",U" + std::to_string(k) + ",A,,V,0.1,0,0,-32767,32767,1,1,S\n";
        text += "1,Switch,,,0\n50\n1\n1000,400\n01/02/2024,10:00:00.000000\n01/02/2024,10:00:00.100000\nASCII\n1\n";
        testutil::WriteFile(dir.File(name + ".cfg"), text);
        std::string dat;
        for (int i = 0; i < 400; ++i) {
            dat += std::to_string(i + 1) + "," + std::to_string(i * 1000);
            for (int k = 0; k < analog; ++k) dat += "," + std::to_string(int(std::lround(1000 * std::sin(i * 0.3 + k))));
            dat += "," + std::to_string((i / 50) % 2) + "\n";
        }
        testutil::WriteFile(dir.File(name + ".dat"), dat);
        return dir.File(name + ".cfg");
    }
    // The program with the first record, the second opened from the file page, then `steps`.
    ProgramRun Run(const std::string& steps, bool both = true, std::vector<std::string> extraEnv = {}) const {
        const std::string report = dir.File("report.txt");
        std::remove(report.c_str());
        std::vector<std::string> env{"TENVORIK_SMOKE=" + report, "TENVORIK_SMOKE_DELAY=2500",
                                     "TENVORIK_SMOKE_COMMANDS=" + std::string(both ? "page/0,ribbon/272/2," : "") + steps};
        env.insert(env.end(), extraEnv.begin(), extraEnv.end());
        auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik", first}, testutil::SmokeEnv(dir, env), 120);
        std::string text = testutil::ReadFile(report);
        // The recent-documents menu that opened the second record is not what a test looks at.
        if (both)
            if (const size_t at = text.find("note=popup=1 "); at != std::string::npos)
                text.erase(at, text.find('\n', at) + 1 - at);
        return {r.exitCode, text, r.err};
    }
};

std::vector<std::string> Values(const std::string& report, const std::string& key) {
    std::vector<std::string> out;
    std::istringstream in(report);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key + "=", 0) == 0) out.push_back(line.substr(key.size() + 1));
    return out;
}

std::string Value(const std::string& report, const std::string& key) {
    const auto v = Values(report, key);
    return v.empty() ? std::string() : v.front();
}

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};
// "x,y,w,h" at the start of `text`, after `prefix`.
Rect ReadRect(const std::string& text, const std::string& prefix = "") {
    Rect r;
    const size_t at = text.find(prefix);
    if (at != std::string::npos) std::sscanf(text.c_str() + at + prefix.size(), "%d,%d,%d,%d", &r.x, &r.y, &r.w, &r.h);
    return r;
}

// "name=value" words of a line.
std::map<std::string, std::string> Fields(const std::string& line) {
    std::map<std::string, std::string> f;
    std::istringstream in(line);
    std::string word;
    while (in >> word)
        if (const size_t eq = word.find('='); eq != std::string::npos) f[word.substr(0, eq)] = word.substr(eq + 1);
    return f;
}

void ExpectNoAssertion(const ProgramRun& r) {
    EXPECT_EQ(r.report.find("assertion="), std::string::npos) << r.report;
    EXPECT_EQ(r.err.find("Gtk-CRITICAL"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("runtime error"), std::string::npos) << r.err;
}

// A stand-in for the desktop's browser that notes the address it is given.
std::vector<std::string> FakeBrowser(const testutil::TempDir& dir) {
    std::filesystem::create_directories(dir.File("bin"));
    testutil::WriteFile(dir.File("bin/xdg-open"), "#!/bin/sh\necho \"$1\" >> " + dir.File("opened.txt") + "\n");
    chmod(dir.File("bin/xdg-open").c_str(), 0755);
    const char* path = std::getenv("PATH");
    return {"PATH=" + dir.File("bin") + ":" + (path ? path : "/usr/bin:/bin")};
}

}  // namespace

TEST(FrameTabsSmoke, ActiveRecordTabHasACloseButtonAndTheRowEndsInTheDocumentMenu) {
    const Records rec;
    // The document menu chooses the first record (its first entry) while the second is active.
    const ProgramRun r = rec.Run("tabs,tabbutton/list/1,tabs");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ExpectNoAssertion(r);
    const auto notes = Values(r.report, "note");
    ASSERT_EQ(notes.size(), 3u) << r.report;
    EXPECT_EQ(notes[0], "tabs=first.cfg,*second.cfg");
    // The menu lists the records, the active one checked, and below them the windows dialog.
    EXPECT_EQ(notes[1], "popup=first.cfg;second.cfg:checked;Окна...");
    EXPECT_EQ(notes[2], "tabs=*first.cfg,second.cfg");
    EXPECT_NE(r.report.find("title=Tenvorik - first.cfg\n"), std::string::npos) << r.report;
    // The close button lies on the active tab, at the left of the row; the menu's button at its
    // right end, over the record's view.
    const Rect close = ReadRect(Value(r.report, "recordtabbutton"), "close:");
    const Rect list = ReadRect(r.report, "recordtabbutton=list:");
    const Rect view = ReadRect(Value(r.report, "viewrect"));
    EXPECT_GT(close.w, 0) << r.report;
    EXPECT_LT(close.x, list.x) << r.report;
    EXPECT_LE(list.y + list.h, view.y + 2) << r.report;
    EXPECT_GE(list.x + list.w, view.x + view.w - 40) << r.report;
    EXPECT_LE(list.x + list.w, view.x + view.w + 30) << r.report;
}

TEST(FrameTabsSmoke, TheTabsCloseButtonAsksForAChangedRecordAndClosesAnUnchangedOne) {
    const Records rec;
    // The second record is changed (its time scale), its close button cancelled at the
    // question; then the first, unchanged, is brought forward and closed by its button.
    const ProgramRun r = rec.Run("key/ctrl/=,tabbutton/close/esc,dlgclose,tabs,tabbutton/list/1,tabbutton/close/esc,tabs");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ExpectNoAssertion(r);
    const auto notes = Values(r.report, "note");
    ASSERT_EQ(notes.size(), 3u) << r.report;
    EXPECT_EQ(notes[0], "tabs=first.cfg,*second.cfg*") << r.report;
    EXPECT_EQ(notes[2], "tabs=*second.cfg*") << r.report;
    // The question of the close command, once, for the changed record only.
    const auto dialogs = Values(r.report, "dialog");
    ASSERT_EQ(dialogs.size(), 1u) << r.report;
    EXPECT_NE(dialogs[0].find("|Сохранить изменения в second.cfg?|closed"), std::string::npos) << dialogs[0];
}

TEST(FrameTabsSmoke, WindowsDialogListsTheRecordsAndActivatesSavesAndClosesFromTheKeyboard) {
    const Records rec;
    // From the file page's button: the list with the active record chosen; Up chooses the
    // first, Enter activates it and closes the dialog.
    const ProgramRun a = rec.Run("131,listnote,keyhere/none/UP,listnote,keyhere/none/RETURN,tabs");
    ASSERT_EQ(a.exitCode, 0) << a.err;
    ExpectNoAssertion(a);
    auto notes = Values(a.report, "note");
    ASSERT_EQ(notes.size(), 3u) << a.report;
    EXPECT_EQ(notes[0], "list=first.cfg,*second.cfg|Активировать:on|ОК:on|Сохранить:off|Закрыть окно(а):on|focus=list");
    EXPECT_EQ(notes[1].substr(0, 27), "list=*first.cfg,second.cfg|") << notes[1];
    EXPECT_EQ(notes[2], "tabs=*first.cfg,second.cfg");
    // Enter ended the dialog: nothing was left for the run to dismiss.
    EXPECT_EQ(Values(a.report, "dialog").size(), 0u) << a.report;

    // Tab goes from the list through the buttons; a changed record is saved by "Сохранить"
    // (its mark goes), the other closed by "Закрыть окно(а)", and Escape ends the dialog.
    const ProgramRun b = rec.Run(
        "key/ctrl/=,131,listnote,keyhere/none/TAB,keyhere/none/TAB,keyhere/none/TAB,listnote,keyhere/none/SPACE,listnote,"
        "keyhere/none/ESCAPE,tabs");
    ASSERT_EQ(b.exitCode, 0) << b.err;
    ExpectNoAssertion(b);
    notes = Values(b.report, "note");
    ASSERT_EQ(notes.size(), 4u) << b.report;
    EXPECT_EQ(notes[0], "list=first.cfg,*second.cfg*|Активировать:on|ОК:on|Сохранить:on|Закрыть окно(а):on|focus=list");
    EXPECT_NE(notes[1].find("|focus=Сохранить"), std::string::npos) << notes[1];
    EXPECT_EQ(notes[2].substr(0, notes[2].find("|focus=")),
              "list=first.cfg,*second.cfg|Активировать:on|ОК:on|Сохранить:off|Закрыть окно(а):on");
    EXPECT_EQ(notes[3], "tabs=first.cfg,*second.cfg");
}

TEST(FrameTabsSmoke, WindowsDialogClosesTheChosenRecordAndStaysOpen) {
    const Records rec;
    const ProgramRun r = rec.Run(
        "131,keyhere/none/TAB,keyhere/none/TAB,keyhere/none/TAB,listnote,keyhere/none/SPACE,listnote,"
        "keyhere/none/ESCAPE,tabs");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ExpectNoAssertion(r);
    const auto notes = Values(r.report, "note");
    ASSERT_EQ(notes.size(), 3u) << r.report;
    // (Tab passes over "Сохранить": nothing to save)
    EXPECT_NE(notes[0].find("|focus=Закрыть окно(а)"), std::string::npos) << notes[0];
    EXPECT_EQ(notes[1].substr(0, 16), "list=*first.cfg|") << notes[1];
    EXPECT_EQ(notes[2], "tabs=*first.cfg");
    // Nothing was changed: no question, and Escape ended the dialog.
    EXPECT_EQ(Values(r.report, "dialog").size(), 0u) << r.report;
}

TEST(FrameTabsSmoke, DocumentMenuOpensTheWindowsDialog) {
    const Records rec;
    // Its last entry, below the two records.
    const ProgramRun r = rec.Run("tabbutton/list/3,listnote,keyhere/none/ESCAPE,tabs");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ExpectNoAssertion(r);
    const auto notes = Values(r.report, "note");
    ASSERT_EQ(notes.size(), 3u) << r.report;
    EXPECT_EQ(notes[1].substr(0, 27), "list=first.cfg,*second.cfg|") << notes[1];
    EXPECT_EQ(notes[2], "tabs=first.cfg,*second.cfg");
}

TEST(FrameTabsSmoke, StyleAndHelpStandAtTheRightEndOfTheRibbonsTabRow) {
    const Records rec;
    const std::vector<std::string> browser = FakeBrowser(rec.dir);
    // Help's face runs help; its arrow opens the help menu; "Стиль" opens the looks.
    const ProgramRun r = rec.Run("tabrow/57667/face/esc,tabrow/57667/arrow/esc,tabrow/286/face/esc", false, browser);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ExpectNoAssertion(r);
    const std::string opened = testutil::ReadFile(rec.dir.File("opened.txt"));
    EXPECT_NE(opened.find("/bin/guide/index.html"), std::string::npos) << opened;
    const auto notes = Values(r.report, "note");
    ASSERT_EQ(notes.size(), 2u) << r.report;
    EXPECT_EQ(notes[0], "popup=Помощь;О программе...");
    EXPECT_EQ(notes[1], "popup=Windows 2000;Office XP;Windows XP;Office 2003;Visual Studio.NET 2005;Голубой стиль:checked;"
                        "Черный стиль;Серебристый стиль;Зеленовато-голубой стиль");
    // Both in the tab row (above the first page's panels), at its right end, style first; the
    // style button with its tool tip and description.
    const auto row = Values(r.report, "tabrow");
    ASSERT_EQ(row.size(), 2u) << r.report;
    const Rect style = ReadRect(row[0], "286:"), help = ReadRect(row[1], "57667:");
    const Rect ribbon = ReadRect(Value(r.report, "ribbonrect"));
    Rect quick;
    std::sscanf(Value(r.report, "quickaccess").c_str(), "%d,%d %dx%d", &quick.x, &quick.y, &quick.w, &quick.h);
    EXPECT_LT(style.x + style.w, help.x + 1) << r.report;
    EXPECT_GT(style.x, ribbon.x + ribbon.w / 2) << r.report;
    EXPECT_GE(help.x + help.w, ribbon.x + ribbon.w - 60) << r.report;
    EXPECT_LE(help.x + help.w, ribbon.x + ribbon.w) << r.report;
    EXPECT_LE(style.y + style.h, quick.y + quick.h + 2) << r.report;
    EXPECT_NE(row[0].find("|Изменить стиль оформления|Выберите одну из тем Office 2007"), std::string::npos) << row[0];
    // Help's arrow is a part of its own at the element's right.
    const Rect arrow = ReadRect(row[1], "arrow ");
    EXPECT_EQ(arrow.x + arrow.w, help.x + help.w) << row[1];
    EXPECT_LT(arrow.w, help.w) << row[1];
}

TEST(FrameTabsSmoke, TabRowElementsAreReachedFromTheRibbonsKeys) {
    const Records rec;
    const std::vector<std::string> browser = FakeBrowser(rec.dir);
    // F10, then Right past the last page's tab to "Стиль" and help; Down opens help's menu,
    // Enter runs help.
    const ProgramRun r = rec.Run(
        "keyhere/none/F10,keys,keyhere/none/RIGHT,keyhere/none/RIGHT,keys,keyhere/none/RIGHT,keys,keyhere/none/DOWN,"
        "keys,keyhere/none/RETURN,keys,keyhere/none/RIGHT,keys",
        false, browser);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ExpectNoAssertion(r);
    const auto notes = Values(r.report, "note");
    ASSERT_EQ(notes.size(), 7u) << r.report;
    EXPECT_NE(notes[0].find("ribbonkeys=tabs"), std::string::npos) << notes[0];
    EXPECT_NE(notes[1].find("ribbonkeys=row:286"), std::string::npos) << notes[1];
    EXPECT_NE(notes[2].find("ribbonkeys=row:57667"), std::string::npos) << notes[2];
    EXPECT_EQ(notes[3], "popup=Помощь;О программе...");
    EXPECT_NE(notes[4].find("ribbonkeys=row:57667"), std::string::npos) << notes[4];
    // Round again to the first page's tab.
    EXPECT_NE(notes[6].find("ribbonkeys=tabs"), std::string::npos) << notes[6];
    EXPECT_NE(notes[6].find("page=0"), std::string::npos) << notes[6];
    const std::string opened = testutil::ReadFile(rec.dir.File("opened.txt"));
    EXPECT_NE(opened.find("/bin/guide/index.html"), std::string::npos) << opened;
}

TEST(FrameTabsSmoke, PinnedPaneHidesToItsEdgeAndStaysThereForTheNextStart) {
    const Records rec;
    // The vector pane's pin; its tab on the right-hand strip is what a next start shows too.
    const ProgramRun a = rec.Run("pin/4", false);
    ASSERT_EQ(a.exitCode, 0) << a.err;
    ExpectNoAssertion(a);
    EXPECT_EQ(Value(a.report, "pane4"), "0") << a.report;
    const std::string edge = Value(a.report, "edge");
    ASSERT_EQ(edge.rfind("2:diagram4:", 0), 0u) << a.report;
    EXPECT_NE(edge.find("|Векторная диаграмма"), std::string::npos) << edge;
    // Along the frame's right edge, upright.
    const Rect tab = ReadRect(edge, "2:diagram4:");
    const Rect frame = ReadRect(Value(a.report, "frame"));
    EXPECT_GE(tab.x + tab.w, frame.w - 40) << a.report;
    EXPECT_GT(tab.h, tab.w) << a.report;

    const ProgramRun b = rec.Run("note", false);
    ASSERT_EQ(b.exitCode, 0) << b.err;
    EXPECT_EQ(Value(b.report, "pane4"), "0") << b.report;
    EXPECT_EQ(Value(b.report, "edge").rfind("2:diagram4:", 0), 0u) << b.report;

    // A click on its tab shows it again where it was; so does its ribbon button.
    const ProgramRun c = rec.Run("edge/4", false);
    ASSERT_EQ(c.exitCode, 0) << c.err;
    EXPECT_EQ(Value(c.report, "pane4"), "1") << c.report;
    EXPECT_EQ(Value(c.report, "edge"), "") << c.report;
    const ProgramRun d = rec.Run("pin/2,32811", false);
    ASSERT_EQ(d.exitCode, 0) << d.err;
    EXPECT_EQ(Value(d.report, "pane2"), "1") << d.report;
    EXPECT_EQ(Value(d.report, "edge"), "") << d.report;
}

TEST(FrameTabsSmoke, PaneLayoutIsKeptForTheNextStart) {
    const Records rec;
    // The spectrum pane closed, the circle pane hidden to the edge it is docked at.
    const ProgramRun a = rec.Run("closepane/2,pin/8", false);
    ASSERT_EQ(a.exitCode, 0) << a.err;
    const ProgramRun b = rec.Run("note", false);
    ASSERT_EQ(b.exitCode, 0) << b.err;
    ExpectNoAssertion(b);
    EXPECT_EQ(Value(b.report, "pane2"), "0") << b.report;
    EXPECT_EQ(Value(b.report, "pane4"), "1") << b.report;
    EXPECT_EQ(Value(b.report, "pane8"), "0") << b.report;
    EXPECT_EQ(Value(b.report, "edge").rfind("2:diagram8:", 0), 0u) << b.report;
}

TEST(FrameTabsSmoke, DamagedPaneLayoutGivesTheFirstLayout) {
    const Records rec;
    testutil::WriteFile(rec.dir.File("config/Korvelund/Tenvorik.ini"),
                        "[Workspace]\nPane diagram4=name=diagram4;state=0;dir=77;layer=-3;row=9;pos=0;prop=0;bestw=999999;"
                        "besth=-5\nPane diagram2=garbage\nPanesAtEdges=diagram4:9;nothing:2;;:;diagram16\n");
    const ProgramRun r = rec.Run("note", false);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ExpectNoAssertion(r);
    EXPECT_EQ(Value(r.report, "pane2"), "1") << r.report;
    EXPECT_EQ(Value(r.report, "pane4"), "1") << r.report;
    EXPECT_EQ(Value(r.report, "edge"), "") << r.report;
}

TEST(FrameTabsSmoke, DraggingNearTheViewsEdgeScrollsTheRowsAndBack) {
    const Records rec(16);
    // Held near the bottom edge, then near the top one.
    const ProgramRun r = rec.Run("dragover/400/-4/600,dragover/400/4/3000", false);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ExpectNoAssertion(r);
    const auto notes = Values(r.report, "note");
    ASSERT_EQ(notes.size(), 4u) << r.report;
    const auto before = Fields(notes[0]), down = Fields(notes[1]), back = Fields(notes[3]);
    const int row = std::atoi(before.at("analog").c_str());
    ASSERT_GT(row, 0);
    EXPECT_EQ(before.at("offset"), "0");
    // Whole rows went up out of view: the first row on show is a later one.
    const int scrolled = -std::atoi(down.at("offset").c_str());
    EXPECT_GE(scrolled, row) << notes[1];
    EXPECT_EQ(scrolled % row, 0) << notes[1];
    // And at the top edge they came back, to the first row.
    EXPECT_EQ(back.at("offset"), "0") << r.report;
    // Away from the edges nothing moves.
    const ProgramRun still = rec.Run("dragover/400/150/500", false);
    ASSERT_EQ(still.exitCode, 0) << still.err;
    const auto quiet = Values(still.report, "note");
    ASSERT_EQ(quiet.size(), 2u) << still.report;
    EXPECT_EQ(Fields(quiet[1]).at("offset"), "0") << quiet[1];
}
