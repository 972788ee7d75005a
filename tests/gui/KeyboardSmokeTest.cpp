// The program driven from the keyboard alone, in the real program under Xvfb with the keys of
// the display server and no click to give the view the focus: the ribbon's commands reached
// with F10 and the arrows, Tab from place to place with a frame where the keys are, Ctrl+Tab
// through the records, Enter and Escape closing "Параметры осциллограммы", and the keys back
// with the view after a dialog, a closed tab and "Объединить".
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "platform/draw/GdiObjects.h"
#include "tests/faultloc/FaultRecord.h"

namespace {

// A COMTRADE 1999 ASCII record at 1 kHz of one analog channel whose sample i is k * i.
std::string WriteLine(const testutil::TempDir& dir, const std::string& name, const std::string& channel,
                      const std::string& start, int samples, int k) {
    std::string cfg = "ST " + name + ",REC " + name + ",1999\r\n1,1A,0D\r\n";
    cfg += "1," + channel + ",,,A,1,0,0,-99999,99999,1,1,P\r\n";
    cfg += "50\r\n1\r\n1000," + std::to_string(samples) + "\r\n05/03/2021," + start + "\r\n05/03/2021," + start +
           "\r\nASCII\r\n1\r\n";
    std::string dat;
    for (int i = 0; i < samples; ++i)
        dat += std::to_string(i + 1) + "," + std::to_string(i * 1000) + "," + std::to_string(k * i) + "\r\n";
    testutil::WriteFile(dir.File(name + ".cfg"), cfg);
    testutil::WriteFile(dir.File(name + ".dat"), dat);
    return dir.File(name + ".cfg");
}

struct Look {
    int exitCode = -1;
    std::string report, err;
    std::vector<std::string> notes;
    CBitmap picture;
};

Look RunProgram(const testutil::TempDir& dir, const std::string& cfg, const std::string& steps, const std::string& tag,
                const std::vector<std::string>& extra = {}) {
    Look look;
    const std::string report = dir.File(tag + ".txt"), shot = dir.File(tag + ".png");
    std::vector<std::string> env{"TENVORIK_SMOKE=" + report, "TENVORIK_SMOKE_SHOT=" + shot, "TENVORIK_SMOKE_DELAY=3000",
                                 "TENVORIK_SMOKE_COMMANDS=" + steps};
    env.insert(env.end(), extra.begin(), extra.end());
    auto r = testutil::Run({std::string(TV_BIN_DIR) + "/Tenvorik", cfg}, testutil::SmokeEnv(dir, env));
    look.exitCode = r.exitCode;
    look.err = r.err;
    look.report = testutil::ReadFile(report);
    EXPECT_TRUE(look.picture.LoadPngFile(shot)) << tag;
    std::istringstream in(look.report);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("note=", 0) == 0) look.notes.push_back(line.substr(5));
    return look;
}

// The notes of "keys" steps ("focus=… record=… page=… ribbonkeys=…"), in order.
std::vector<std::string> KeyNotes(const Look& look) {
    std::vector<std::string> found;
    for (const std::string& n : look.notes)
        if (n.rfind("focus=", 0) == 0) found.push_back(n);
    return found;
}

// The position of В1 in the notes of "note" steps ("off" while it is not placed).
std::vector<std::string> CursorNotes(const Look& look) {
    std::vector<std::string> found;
    for (const std::string& n : look.notes) {
        const size_t at = n.find(" cursor0=");
        if (at != std::string::npos) found.push_back(n.substr(at + 9, n.find(' ', at + 1) - at - 9));
    }
    return found;
}

// The value after "KEY=" in the report, up to the line's end.
std::string ReportValue(const std::string& report, const std::string& key) {
    const size_t at = report.find("\n" + key + "=");
    if (at == std::string::npos) return std::string();
    const size_t from = at + key.size() + 2;
    return report.substr(from, report.find('\n', from) - from);
}

// How much of the border of the record's view is drawn in the focus colour, 0 to 1.
double FramedShare(Look& look) {
    int x = 0, y = 0, w = 0, h = 0, r = 0, g = 0, b = 0;
    if (std::sscanf(ReportValue(look.report, "viewrect").c_str(), "%d,%d,%d,%d", &x, &y, &w, &h) != 4) return -1;
    if (std::sscanf(ReportValue(look.report, "focuscolour").c_str(), "%d,%d,%d", &r, &g, &b) != 3) return -1;
    const COLORREF frame = RGB(r, g, b);
    int framed = 0, total = 0;
    // The second pixel row and column inside each edge, where a two-pixel frame lies.
    for (int i = 2; i < w - 2; ++i, total += 2)
        framed += (look.picture.GetPixel(x + i, y + 1) == frame) + (look.picture.GetPixel(x + i, y + h - 2) == frame);
    for (int i = 2; i < h - 2; ++i, total += 2)
        framed += (look.picture.GetPixel(x + 1, y + i) == frame) + (look.picture.GetPixel(x + w - 2, y + i) == frame);
    return total ? double(framed) / total : -1;
}

const char kParameters[] = "Параметры осциллограммы";

// The notes of "focusat" steps: the class and the label of the focus ("wxButton|Объединить").
std::vector<std::string> FocusNotes(const Look& look) {
    std::vector<std::string> found;
    for (const std::string& n : look.notes)
        if (n.rfind("focusat=", 0) == 0) found.push_back(n.substr(8, n.rfind('|') - 8));
    return found;
}

// The record named by each note of a "keys" step.
std::vector<std::string> Records(const Look& look) {
    std::vector<std::string> found;
    for (const std::string& n : KeyNotes(look)) {
        const size_t at = n.find(" record=");
        found.push_back(at == std::string::npos ? std::string() : n.substr(at + 8, n.find(' ', at + 1) - at - 8));
    }
    return found;
}

// The lines "KEY=..." of the report.
std::vector<std::string> ReportLines(const std::string& report, const std::string& key) {
    std::vector<std::string> out;
    std::istringstream in(report);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(key + "=", 0) == 0) out.push_back(line.substr(key.size() + 1));
    return out;
}

}  // namespace

TEST(KeyboardSmoke, F10LeadsIntoTheRibbonAndItsCommandsRunFromTheKeys) {
    testutil::TempDir dir;
    const std::string cfg = WriteLine(dir, "keys", "Ua", "10:00:00.000000", 400, 1);
    // F10: the page tabs; Left: the file page; Down: its first button; Left four times, round
    // from the first to the last: "Параметры осциллограммы", which Enter runs; Enter closes the
    // dialog; the arrow then moves В1.
    const Look look = RunProgram(dir, cfg,
                                 "keys,keyhere/none/F10,keys,keyhere/none/LEFT,keys,keyhere/none/DOWN,keys,"
                                 "keyhere/none/LEFT,keys,keyhere/none/LEFT,keyhere/none/LEFT,keyhere/none/LEFT,keys,"
                                 "keyhere/none/RETURN,keys,keyhere/none/RETURN,keys,keyhere/none/RIGHT,note",
                                 "ribbon");
    ASSERT_EQ(look.exitCode, 0) << look.err << look.report;
    const std::vector<std::string> keys = KeyNotes(look);
    ASSERT_EQ(keys.size(), 8u) << look.report;
    EXPECT_EQ(keys[0], "focus=view record=keys.cfg page=1 ribbonkeys=off");
    EXPECT_EQ(keys[1], "focus=ribbon record=keys.cfg page=1 ribbonkeys=tabs");
    EXPECT_EQ(keys[2], "focus=ribbon record=keys.cfg page=0 ribbonkeys=tabs");
    EXPECT_EQ(keys[3], "focus=ribbon record=keys.cfg page=0 ribbonkeys=5000");  // "Открыть"
    EXPECT_EQ(keys[4], "focus=ribbon record=keys.cfg page=0 ribbonkeys=129");   // "Настройки"
    EXPECT_EQ(keys[5], "focus=ribbon record=keys.cfg page=0 ribbonkeys=32861");
    EXPECT_EQ(keys[6], "focus=dialog record=keys.cfg page=0 ribbonkeys=off");
    EXPECT_EQ(keys[7], "focus=view record=keys.cfg page=0 ribbonkeys=off");
    EXPECT_EQ(CursorNotes(look), std::vector<std::string>{"1"}) << look.report;
    // Enter closed the dialog: none was left for the run to dismiss.
    EXPECT_EQ(look.report.find("dialog="), std::string::npos) << look.report;

    // Escape steps back from the buttons to the tabs and from the tabs to the view.
    const Look back = RunProgram(dir, cfg,
                                 "keyhere/none/F10,keyhere/none/DOWN,keys,keyhere/none/ESCAPE,keys,keyhere/none/ESCAPE,"
                                 "keys,keyhere/none/RIGHT,note",
                                 "escape");
    ASSERT_EQ(back.exitCode, 0) << back.err;
    const std::vector<std::string> steps = KeyNotes(back);
    ASSERT_EQ(steps.size(), 3u) << back.report;
    EXPECT_EQ(steps[0].substr(0, 12), "focus=ribbon");
    EXPECT_EQ(steps[0].find("ribbonkeys=tabs"), std::string::npos) << steps[0];
    EXPECT_EQ(steps[1], "focus=ribbon record=keys.cfg page=1 ribbonkeys=tabs");
    EXPECT_EQ(steps[2], "focus=view record=keys.cfg page=1 ribbonkeys=off");
    EXPECT_EQ(CursorNotes(back), std::vector<std::string>{"1"}) << back.report;
}

TEST(KeyboardSmoke, EnterAndEscapeCloseTheRecordParameters) {
    testutil::TempDir dir;
    const std::string cfg = WriteLine(dir, "keys", "Ua", "10:00:00.000000", 400, 1);
    for (const char* key : {"RETURN", "ESCAPE"}) {
        const Look look = RunProgram(dir, cfg, std::string("32861,keys,keyhere/none/") + key + ",keys,keyhere/none/RIGHT,note",
                                     key);
        ASSERT_EQ(look.exitCode, 0) << look.err;
        const std::vector<std::string> keys = KeyNotes(look);
        ASSERT_EQ(keys.size(), 2u) << look.report;
        EXPECT_EQ(keys[0].substr(0, 12), "focus=dialog") << key;
        EXPECT_EQ(keys[1].substr(0, 10), "focus=view") << key << "\n" << look.report;
        EXPECT_EQ(look.report.find(std::string("dialog=") + kParameters), std::string::npos) << key << "\n" << look.report;
        EXPECT_EQ(CursorNotes(look), std::vector<std::string>{"1"}) << key << "\n" << look.report;
    }
    // Without a key the dialog stays until the run closes it.
    const Look open = RunProgram(dir, cfg, "32861", "open");
    EXPECT_NE(open.report.find(std::string("dialog=") + kParameters), std::string::npos) << open.report;
}

TEST(KeyboardSmoke, TabGoesFromPlaceToPlaceAndTheFocusIsFramed) {
    testutil::TempDir dir;
    const std::string cfg = WriteLine(dir, "keys", "Ua", "10:00:00.000000", 400, 1);
    // Tab: the ribbon, then a diagram pane; Shift+Tab back to the ribbon and to the view,
    // where the arrows move В1 again.
    Look look = RunProgram(dir, cfg,
                           "keys,keyhere/none/TAB,keys,keyhere/none/TAB,keys,keyhere/shift/TAB,keys,keyhere/shift/TAB,"
                           "keys,keyhere/none/RIGHT,keyhere/none/RIGHT,note",
                           "tab");
    ASSERT_EQ(look.exitCode, 0) << look.err;
    const std::vector<std::string> keys = KeyNotes(look);
    ASSERT_EQ(keys.size(), 5u) << look.report;
    EXPECT_EQ(keys[0].substr(0, 10), "focus=view");
    EXPECT_EQ(keys[1], "focus=ribbon record=keys.cfg page=1 ribbonkeys=tabs");
    EXPECT_EQ(keys[2].substr(0, 12), "focus=other:") << keys[2];  // a diagram pane
    EXPECT_EQ(keys[3], "focus=ribbon record=keys.cfg page=1 ribbonkeys=tabs");
    EXPECT_EQ(keys[4].substr(0, 10), "focus=view");
    EXPECT_EQ(CursorNotes(look), std::vector<std::string>{"2"}) << look.report;
    // The view with the keys is framed in the highlight colour all round.
    EXPECT_GT(FramedShare(look), 0.95) << look.report;

    // With the keys on a pane, the view has no frame.
    Look pane = RunProgram(dir, cfg, "keyhere/none/TAB,keyhere/none/TAB,keys", "pane");
    ASSERT_EQ(KeyNotes(pane).size(), 1u);
    EXPECT_EQ(KeyNotes(pane)[0].substr(0, 12), "focus=other:") << pane.report;
    EXPECT_LT(FramedShare(pane), 0.05) << pane.report;
}

TEST(KeyboardSmoke, CtrlTabSwitchesRecordsAndTheKeysStayWithTheViewAfterATabCloses) {
    testutil::TempDir dir;
    const std::string first = WriteLine(dir, "first", "Ua", "10:00:00.000000", 400, 1);
    const std::string second = WriteLine(dir, "second", "Ub", "10:00:00.000000", 400, 2);
    // The second record opened with Ctrl+O; Ctrl+Tab round the two and back with
    // Ctrl+Shift+Tab; Ctrl+W closes the first, and the keys are the second's at once.
    const Look look = RunProgram(dir, first,
                                 "keyhere/ctrl/O,keys,keyhere/ctrl/TAB,keys,keyhere/ctrl/TAB,keys,keyhere/ctrlshift/TAB,"
                                 "keys,keyhere/ctrl/W,keys,keyhere/none/RIGHT,note,keyhere/ctrl/W",
                                 "tabs", {"TENVORIK_SMOKE_FILE=" + second});
    ASSERT_EQ(look.exitCode, 0) << look.err;
    const std::vector<std::string> keys = KeyNotes(look);
    ASSERT_EQ(keys.size(), 5u) << look.report;
    const char* records[] = {"second.cfg", "first.cfg", "second.cfg", "first.cfg", "second.cfg"};
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(keys[i], std::string("focus=view record=") + records[i] + " page=1 ribbonkeys=off") << i;
    EXPECT_EQ(CursorNotes(look), std::vector<std::string>{"1"}) << look.report;
    // The last Ctrl+W closed the second record too.
    EXPECT_EQ(look.report.find("tab="), std::string::npos) << look.report;
}

TEST(KeyboardSmoke, TheKeysComeBackToTheViewAfterADialogAndAfterCombining) {
    testutil::TempDir dir;
    const std::string source = WriteLine(dir, "source", "Ib", "10:00:00.100000", 300, 2);
    const std::string host = WriteLine(dir, "host", "Ua", "10:00:00.000000", 400, 1);
    // "Каналы" opened and closed; the arrows move В1 and Ctrl+Shift+S asks for a name.
    const std::string saved = dir.File("saved.cfg");
    const Look dialog = RunProgram(dir, host, "32862,dlgclose,keys,keyhere/none/RIGHT,note,keyhere/ctrlshift/S",
                                   "dialog", {"TENVORIK_SMOKE_FILE=" + saved});
    ASSERT_EQ(dialog.exitCode, 0) << dialog.err;
    ASSERT_EQ(KeyNotes(dialog).size(), 1u) << dialog.report;
    EXPECT_EQ(KeyNotes(dialog)[0].substr(0, 10), "focus=view") << dialog.report;
    EXPECT_EQ(CursorNotes(dialog), std::vector<std::string>{"1"}) << dialog.report;
    EXPECT_NE(dialog.report.find("|" + saved), std::string::npos) << dialog.report;

    // A channel copied, pasted into another record, synchronised and combined with the merge
    // bar's buttons: the arrows move В1 of the combined record without a click.
    const Look merged = RunProgram(dir, source, "57634,5000,57637,button/1091,button/1092,keys,keyhere/none/RIGHT,note",
                                   "merged", {"TENVORIK_SMOKE_FILE=" + host});
    ASSERT_EQ(merged.exitCode, 0) << merged.err;
    EXPECT_EQ(merged.report.find("mergebar="), std::string::npos) << merged.report;
    ASSERT_EQ(KeyNotes(merged).size(), 1u) << merged.report;
    EXPECT_EQ(KeyNotes(merged)[0].substr(0, 29), "focus=view record=host.cfg* p") << merged.report;
    EXPECT_EQ(CursorNotes(merged), std::vector<std::string>{"1"}) << merged.report;
}

// Ctrl+PageDown and Ctrl+PageUp go to the next and the previous record, round from the last to
// the first, with the keys in the view, on the ribbon or on a diagram pane; without Ctrl the
// page keys leave the records alone.
TEST(KeyboardSmoke, CtrlPageDownAndUpSwitchRecordsWhereverTheKeysAre) {
    testutil::TempDir dir;
    const std::string first = WriteLine(dir, "first", "Ua", "10:00:00.000000", 400, 1);
    const std::string second = WriteLine(dir, "second", "Ub", "10:00:00.000000", 400, 2);
    const Look look = RunProgram(dir, first,
                                 "keyhere/ctrl/O,keys,keyhere/ctrl/PAGEDOWN,keys,keyhere/ctrl/PAGEDOWN,keys,"
                                 "keyhere/ctrl/PAGEUP,keys,keyhere/none/TAB,keys,keyhere/ctrl/PAGEUP,keys,keyhere/none/TAB,"
                                 "keyhere/none/TAB,keys,keyhere/ctrl/PAGEDOWN,keys,keyhere/none/PAGEDOWN,keyhere/none/PAGEUP,keys",
                                 "pages", {"TENVORIK_SMOKE_FILE=" + second});
    ASSERT_EQ(look.exitCode, 0) << look.err;
    // The second record, round to the first and back; from the ribbon; from a diagram pane;
    // the page keys alone leave the record.
    EXPECT_EQ(Records(look), (std::vector<std::string>{"second.cfg", "first.cfg", "second.cfg", "first.cfg", "first.cfg",
                                                        "second.cfg", "second.cfg", "first.cfg", "first.cfg"}))
        << look.report;
    const std::vector<std::string> keys = KeyNotes(look);
    ASSERT_EQ(keys.size(), 9u) << look.report;
    EXPECT_EQ(keys[4].substr(0, 12), "focus=ribbon") << keys[4];
    EXPECT_EQ(keys[6].substr(0, 12), "focus=other:") << keys[6];  // a diagram pane
}

// In "Каналы" the keys do what a double click does: Space and Enter switch the flag under the
// grid's cursor or rename on the name, F2 renames the cursor's channel; the rename takes Enter
// and Escape; Escape closes the dialog and the keys are the view's again.
TEST(KeyboardSmoke, TheChannelsDialogSwitchesFlagsAndRenamesFromTheKeys) {
    testutil::TempDir dir;
    std::string cfg = "ST keys,REC keys,1999\r\n2,2A,0D\r\n1,Ua,,,V,1,0,0,-99999,99999,1,1,P\r\n"
                      "2,Ub,,,V,1,0,0,-99999,99999,1,1,P\r\n50\r\n1\r\n1000,100\r\n05/03/2021,10:00:00.000000\r\n"
                      "05/03/2021,10:00:00.000000\r\nASCII\r\n1\r\n";
    std::string dat;
    for (int i = 0; i < 100; ++i) dat += std::to_string(i + 1) + "," + std::to_string(i * 1000) + "," + std::to_string(i) + ",1\r\n";
    testutil::WriteFile(dir.File("two.cfg"), cfg);
    testutil::WriteFile(dir.File("two.dat"), dat);
    const Look look = RunProgram(dir, dir.File("two.cfg"),
                                 "32862,gridnote,keyhere/none/RIGHT,focusat,keyhere/none/SPACE,gridnote,keyhere/none/DOWN,"
                                 "keyhere/none/RETURN,gridnote,keyhere/none/F2,focusat,type/Uновое,keyhere/none/RETURN,focusat,"
                                 "gridnote,keyhere/none/LEFT,keyhere/none/RETURN,type/Uзабытое,keyhere/none/ESCAPE,gridnote,"
                                 "keyhere/none/ESCAPE,keys,keyhere/none/RIGHT,note",
                                 "channels");
    ASSERT_EQ(look.exitCode, 0) << look.err;
    std::vector<std::string> grids;
    for (const std::string& n : look.notes)
        if (n.rfind("grid=", 0) == 0) grids.push_back(n.substr(5, n.find(';', n.find(';') + 1) - 5));
    ASSERT_EQ(grids.size(), 5u) << look.report;
    EXPECT_EQ(grids[0], "Ua|✔||||;Ub|✔||||");
    EXPECT_EQ(grids[1], "Ua|||||;Ub|✔||||");         // Space on Ua's view flag
    EXPECT_EQ(grids[2], "Ua|||||;Ub|||||");          // Enter on Ub's
    EXPECT_EQ(grids[3], "Ua|||||;Uновое   (Ub)|||||");  // F2, typed, Enter
    EXPECT_EQ(grids[4], grids[3]);                      // Enter on the name, typed, Escape
    const std::vector<std::string> focus = FocusNotes(look);
    ASSERT_EQ(focus.size(), 3u) << look.report;
    EXPECT_EQ(focus, (std::vector<std::string>{"wxGrid|grid", "wxTextCtrl|text", "wxGrid|grid"})) << look.report;
    ASSERT_EQ(KeyNotes(look).size(), 1u) << look.report;
    EXPECT_EQ(KeyNotes(look)[0].substr(0, 10), "focus=view") << look.report;
    EXPECT_EQ(look.report.find("dialog="), std::string::npos) << look.report;
}

// In the view, Alt with the arrows steps the channel selection through the captions (Shift
// stretches it), and the menu key or Shift+F10 opens the captions' menu for it, whose first
// entry is framed: four steps down and Enter hide the selected channel. (A record opens with
// its first channel selected: the keys go on from it.)
TEST(KeyboardSmoke, AltArrowsSelectChannelsAndTheMenuKeyActsOnThem) {
    testutil::TempDir dir;
    std::string cfg = "ST keys,REC keys,1999\r\n3,3A,0D\r\n";
    for (int k = 0; k < 3; ++k) cfg += std::to_string(k + 1) + ",U" + std::string(1, char('a' + k)) + ",,,V,1,0,0,-99999,99999,1,1,P\r\n";
    cfg += "50\r\n1\r\n1000,100\r\n05/03/2021,10:00:00.000000\r\n05/03/2021,10:00:00.000000\r\nASCII\r\n1\r\n";
    std::string dat;
    for (int i = 0; i < 100; ++i) dat += std::to_string(i + 1) + "," + std::to_string(i * 1000) + ",1,2,3\r\n";
    testutil::WriteFile(dir.File("three.cfg"), cfg);
    testutil::WriteFile(dir.File("three.dat"), dat);
    const Look look = RunProgram(dir, dir.File("three.cfg"),
                                 "keyhere/alt/DOWN,keyhere/altshift/DOWN,keyhere/shift/F10,keys,keyhere/alt/UP,"
                                 "menuanswer/4,keyhere/none/MENU,keys,keyhere/none/RIGHT,note",
                                 "select");
    ASSERT_EQ(look.exitCode, 0) << look.err;
    std::vector<std::string> popups;
    for (const std::string& n : look.notes)
        if (n.rfind("popup=", 0) == 0) popups.push_back(n.substr(6));
    ASSERT_EQ(popups.size(), 2u) << look.report;
    // Two channels selected: they can be put in one strip; one alone cannot.
    EXPECT_NE(popups[0].find("Совместить каналы;"), std::string::npos) << popups[0];
    EXPECT_NE(popups[1].find("Совместить каналы:disabled"), std::string::npos) << popups[1];
    // Ub, stepped back to alone, was hidden; the keys stayed with the view.
    std::vector<std::string> shown;
    for (const std::string& c : ReportLines(look.report, "channel")) shown.push_back(c.substr(0, c.find('|')));
    EXPECT_EQ(shown, (std::vector<std::string>{"Ua", "Uc"})) << look.report;
    for (const std::string& k : KeyNotes(look)) EXPECT_EQ(k.substr(0, 10), "focus=view") << k;
    EXPECT_EQ(CursorNotes(look), std::vector<std::string>{"1"}) << look.report;
}

// The merge bar is in the Tab order after the ribbon, control by control: a record is merged
// from the keyboard alone, its mode changed with the arrows; "Синхронизация" pressed with
// Space keeps the keys on the bar for "Объединить", after which they are the view's.
TEST(KeyboardSmoke, TheMergeBarTakesTheKeysInTheTabOrder) {
    testutil::TempDir dir;
    const std::string source = WriteLine(dir, "source", "Ib", "10:00:00.100000", 300, 2);
    const std::string host = WriteLine(dir, "host", "Ua", "10:00:00.000000", 400, 1);
    const Look look = RunProgram(dir, source,
                                 "keyhere/alt/DOWN,keyhere/ctrl/C,keyhere/ctrl/O,keyhere/ctrl/V,keyhere/none/TAB,keys,"
                                 "keyhere/none/TAB,focusat,keyhere/none/DOWN,keyhere/none/TAB,focusat,keyhere/none/TAB,"
                                 "focusat,keyhere/none/TAB,focusat,keyhere/none/SPACE,focusat,keyhere/none/TAB,focusat,"
                                 "keyhere/none/SPACE,keys,keyhere/none/RIGHT,note",
                                 "mergekeys", {"TENVORIK_SMOKE_FILE=" + host});
    ASSERT_EQ(look.exitCode, 0) << look.err;
    const std::vector<std::string> keys = KeyNotes(look);
    ASSERT_EQ(keys.size(), 2u) << look.report;
    EXPECT_EQ(keys[0], "focus=ribbon record=host.cfg* page=1 ribbonkeys=tabs");
    const std::vector<std::string> focus = FocusNotes(look);
    ASSERT_EQ(focus.size(), 6u) << look.report;
    // The mode list; the two channel lists, which the mode chosen with the arrow enabled; the
    // buttons.
    EXPECT_EQ(focus, (std::vector<std::string>{"wxChoice|choice", "wxChoice|choice", "wxChoice|choice",
                                                "wxButton|Синхронизация", "wxButton|Синхронизация",
                                                "wxButton|Объединить"}))
        << look.report;
    EXPECT_EQ(look.report.find("mergebar="), std::string::npos) << look.report;
    EXPECT_EQ(keys[1].substr(0, 29), "focus=view record=host.cfg* p") << keys[1];
    EXPECT_EQ(CursorNotes(look), std::vector<std::string>{"1"}) << look.report;
}

// The fault locator's result bar is in the Tab order too: "Сохранить..." after the ribbon.
TEST(KeyboardSmoke, TheResultBarTakesTheKeysInTheTabOrder) {
    testutil::TempDir dir;
    const std::string cfg = WriteFaultRecord(dir);
    WriteFaultSettings(dir);
    const Look look = RunProgram(dir, cfg, "32806,keyhere/none/TAB,keyhere/none/TAB,focusat,keyhere/shift/TAB,keys",
                                 "resultkeys");
    ASSERT_EQ(look.exitCode, 0) << look.err;
    ASSERT_NE(look.report.find("resultbar="), std::string::npos) << look.report;
    const std::vector<std::string> focus = FocusNotes(look);
    ASSERT_EQ(focus.size(), 1u) << look.report;
    EXPECT_EQ(focus[0], "wxButton|Сохранить...") << look.report;
    ASSERT_EQ(KeyNotes(look).size(), 1u);
    EXPECT_EQ(KeyNotes(look)[0].substr(0, 12), "focus=ribbon") << look.report;
}

// Print preview run from the ribbon with the keys comes to the front with them: Escape closes
// it, and the arrows move В1 again.
TEST(KeyboardSmoke, PrintPreviewFromTheRibbonTakesTheKeysAndGivesThemBack) {
    testutil::TempDir dir;
    const std::string cfg = WriteLine(dir, "keys", "Ua", "10:00:00.000000", 400, 1);
    // F10, the file page, its buttons: "Предварительный просмотр" is the eighth.
    std::string steps = "keyhere/none/F10,keyhere/none/LEFT,keyhere/none/DOWN";
    for (int i = 0; i < 7; ++i) steps += ",keyhere/none/RIGHT";
    steps += ",keys,keyhere/none/RETURN,focusat,keyhere/none/ESCAPE,keys,keyhere/none/RIGHT,note";
    const Look look = RunProgram(dir, cfg, steps, "preview");
    ASSERT_EQ(look.exitCode, 0) << look.err;
    const std::vector<std::string> keys = KeyNotes(look);
    ASSERT_EQ(keys.size(), 2u) << look.report;
    EXPECT_EQ(keys[0], "focus=ribbon record=keys.cfg page=0 ribbonkeys=57609");
    ASSERT_EQ(FocusNotes(look).size(), 1u) << look.report;
    EXPECT_EQ(FocusNotes(look)[0].substr(0, 16), "wxPreviewCanvas|") << look.report;
    EXPECT_EQ(look.report.find("window="), std::string::npos) << look.report;
    EXPECT_EQ(keys[1].substr(0, 10), "focus=view") << keys[1];
    EXPECT_EQ(CursorNotes(look), std::vector<std::string>{"1"}) << look.report;
}
