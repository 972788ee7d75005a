// The ribbon, the keys, the wheel and the zoom commands of the real program under Xvfb, driven
// as a user drives them: the events go to the real windows and the picture is looked at.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>

#include "TestUtil.h"
#include "platform/draw/GdiObjects.h"
#include "tests/faultloc/FaultRecord.h"

namespace {

struct ProgramRun {
    int exitCode = -1;
    std::string report, err;
};

ProgramRun RunProgram(const testutil::TempDir& dir, const std::vector<std::string>& args, const std::string& steps,
               const std::string& shot = "", int delayMs = 2500) {
    const std::string report = dir.File("report.txt");
    std::vector<std::string> argv{std::string(TV_BIN_DIR) + "/Tenvorik"};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> env{"TENVORIK_SMOKE=" + report, "TENVORIK_SMOKE_COMMANDS=" + steps,
                                 "TENVORIK_SMOKE_DELAY=" + std::to_string(delayMs)};
    if (!shot.empty()) env.push_back("TENVORIK_SMOKE_SHOT=" + shot);
    std::remove(report.c_str());
    auto r = testutil::Run(argv, testutil::SmokeEnv(dir, env));
    return {r.exitCode, testutil::ReadFile(report), r.err};
}

// "name=value" pairs of a line of the report ("view=..." or one "note=...").
std::map<std::string, std::string> Fields(const std::string& line) {
    std::map<std::string, std::string> f;
    std::istringstream in(line);
    std::string word;
    while (in >> word) {
        const size_t eq = word.find('=');
        if (eq != std::string::npos) f[word.substr(0, eq)] = word.substr(eq + 1);
    }
    return f;
}

std::vector<std::map<std::string, std::string>> Lines(const std::string& report, const std::string& key) {
    std::vector<std::map<std::string, std::string>> out;
    std::istringstream in(report);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key + "=", 0) == 0) out.push_back(Fields(line.substr(key.size() + 1)));
    return out;
}

double Num(const std::map<std::string, std::string>& f, const std::string& key) {
    auto it = f.find(key);
    return it == f.end() ? NAN : std::atof(it->second.c_str());
}

// `analog` sine channels and one discrete channel of `samples` samples at 1 kHz.
std::string WriteRecord(const testutil::TempDir& dir, int analog, int samples) {
    std::string text = "Zoom station,7,1999\n" + std::to_string(analog + 1) + "," + std::to_string(analog) + "A,1D\n";
    for (int k = 0; k < analog; ++k)
        text += std::to_string(k + 1) + ",U" + std::to_string(k) + ",A,,V,0.1,0,0,-32767,32767,1,1,S\n";
    text += "1,Switch,,,0\n50\n1\n1000," + std::to_string(samples) + "\n";
    text += "01/02/2024,10:00:00.000000\n01/02/2024,10:00:00.100000\nASCII\n1\n";
    testutil::WriteFile(dir.File("zoom.cfg"), text);
    std::string dat;
    for (int i = 0; i < samples; ++i) {
        dat += std::to_string(i + 1) + "," + std::to_string(i * 1000);
        for (int k = 0; k < analog; ++k) dat += "," + std::to_string(int(std::lround(1000 * std::sin(i * 2 * M_PI / 20 + k))));
        dat += "," + std::to_string((i / 100) % 2) + "\n";
    }
    testutil::WriteFile(dir.File("zoom.dat"), dat);
    return dir.File("zoom.cfg");
}

int64_t Span(const std::map<std::string, std::string>& v) {
    return int64_t(std::trunc((Num(v, "width") - Num(v, "left")) / 25.0 / Num(v, "xscale"))) - 1;
}

}  // namespace

// A fresh start, page by page: every button the ribbon lists is on the picture of its page.
TEST(RibbonSmoke, EveryPageOfAFreshStartShowsItsButtons) {
    const int buttonsPerPage[3] = {14, 39, 2};
    for (int page = 0; page < 3; ++page) {
        testutil::TempDir dir;
        const std::string shot = dir.File("page.png");
        const ProgramRun r = RunProgram(dir, {}, "page/" + std::to_string(page), shot);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        CBitmap picture;
        ASSERT_TRUE(picture.LoadPngFile(shot));
        const auto buttons = Lines(r.report, "ribbonbutton");
        EXPECT_EQ(int(buttons.size()), buttonsPerPage[page]) << r.report;
        std::istringstream in(r.report);
        std::string line;
        int checked = 0;
        while (std::getline(in, line)) {
            if (line.rfind("ribbonbutton=", 0) != 0) continue;
            int p, id, x, y, w, h, enabled;
            ASSERT_EQ(std::sscanf(line.c_str(), "ribbonbutton=%d:%d:%d:%d:%d:%d:%d", &p, &id, &x, &y, &w, &h, &enabled), 7);
            EXPECT_EQ(p, page);
            // The button has a place of its own in the ribbon, and something is drawn there:
            // pixels of more than one colour, enough for a picture.
            EXPECT_GE(w, 16) << line;
            EXPECT_GE(h, 16) << line;
            EXPECT_LT(y + h, 130) << line;
            std::map<COLORREF, int> colours;
            for (int yy = y; yy < y + h; ++yy)
                for (int xx = x; xx < x + w; ++xx) ++colours[picture.GetPixel(xx, yy)];
            int most = 0;
            for (const auto& [c, n] : colours) most = std::max(most, n);
            EXPECT_GE(w * h - most, 25) << "nothing drawn for " << line;
            ++checked;
        }
        EXPECT_EQ(checked, buttonsPerPage[page]);
    }
}

// With a record open, the commands that have their bodies are enabled, and those whose bodies
// are still to come are not.
TEST(RibbonSmoke, ControlsAreEnabledExactlyWhereTheirCommandsWork) {
    testutil::TempDir dir;
    const std::string cfg = WriteRecord(dir, 3, 2000);
    std::map<int, int> enabled;
    for (int page = 0; page < 3; ++page) {
        const ProgramRun r = RunProgram(dir, {cfg}, "page/" + std::to_string(page), "", 2000);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        std::istringstream in(r.report);
        std::string line;
        while (std::getline(in, line)) {
            int p, id, x, y, w, h, on;
            if (std::sscanf(line.c_str(), "ribbonbutton=%d:%d:%d:%d:%d:%d:%d", &p, &id, &x, &y, &w, &h, &on) == 7)
                enabled[id] = on;
        }
    }
    // Paste waits for channels on the clipboard, which this run has not copied.
    EXPECT_EQ(enabled[57637], 0);
    for (int id : {5000, 5001, 5004, 32880, 57605, 57607, 57609, 32861, 32860, 129, 57634, 32811, 32809, 32808, 140,
                   32845, 32846, 32847, 32802, 32800, 32801, 138, 141, 32813, 32814, 139, 32815, 32816, 32817, 32818,
                   32819, 32867, 32868, 142, 32807, 32806, 32805, 155, 156, 157, 32862, 32866, 137, 131})
        EXPECT_EQ(enabled[id], 1) << id;
}

TEST(ZoomSmoke, WheelZoomAndMeasuredZoomChangeTheViewAsComputed) {
    testutil::TempDir dir;
    const std::string cfg = WriteRecord(dir, 3, 4000);
    const ProgramRun r = RunProgram(dir, {cfg}, "note,wheel/ctrl/120/500/100,note,138,drag/500/10/500/60,note", "", 2000);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto notes = Lines(r.report, "note");
    ASSERT_EQ(notes.size(), 3u) << r.report;
    const auto &before = notes[0], &zoomed = notes[1], &measured = notes[2];
    EXPECT_DOUBLE_EQ(Num(zoomed, "xscale"), 2 * Num(before, "xscale"));
    EXPECT_EQ(Num(zoomed, "span"), double(Span(zoomed))) << r.report;
    EXPECT_LT(Num(zoomed, "span"), Num(before, "span") / 2 + 2);
    // The measurement over the first row zoomed it to the measured fraction.
    const double row = Num(measured, "row0");
    ASSERT_GT(row, 60);
    EXPECT_EQ(measured.at("zoom0"), [&] {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.4f:%.4f", 10 / row, 60 / row);
        return std::string(buf);
    }()) << r.report;
    EXPECT_EQ(measured.at("mode"), "0");
}

TEST(ZoomSmoke, WheelScrollsRowsToTheLastOneAndKeysRunCommands) {
    testutil::TempDir dir;
    const std::string cfg = WriteRecord(dir, 16, 2000);
    const ProgramRun r = RunProgram(dir, {cfg},
                             "wheel/none/-120/500/100,note,wheel/none/-3600/500/100,wheel/none/-120/500/100,note,key/ctrl/=,note,key/ctrl/w", "", 2000);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto notes = Lines(r.report, "note");
    ASSERT_EQ(notes.size(), 3u) << r.report;
    EXPECT_EQ(Num(notes[0], "offset"), -Num(notes[0], "row0"));
    // Scrolled as far as it goes: the last row ends where the rows' area ends.
    const double content = Num(notes[1], "content"), available = Num(notes[1], "available");
    ASSERT_GT(content, available);
    EXPECT_EQ(Num(notes[1], "offset"), -(content - available));
    // CTRL+= zooms in; CTRL+W closes the record, which first asks about the changes.
    EXPECT_DOUBLE_EQ(Num(notes[2], "xscale"), 2 * Num(notes[1], "xscale"));
    EXPECT_NE(r.report.find("|Сохранить изменения в zoom.cfg?"), std::string::npos) << r.report;
    // Unchanged, it closes at once.
    const ProgramRun closed = RunProgram(dir, {cfg}, "key/ctrl/w", "", 2000);
    ASSERT_EQ(closed.exitCode, 0) << closed.err;
    EXPECT_NE(closed.report.find("title=Tenvorik\n"), std::string::npos) << closed.report;
    EXPECT_NE(closed.report.find("view=none"), std::string::npos) << closed.report;
}

TEST(ZoomSmoke, ClosedPaneReopensFromItsButton) {
    testutil::TempDir dir;
    const std::string cfg = WriteRecord(dir, 3, 500);
    ProgramRun r = RunProgram(dir, {cfg}, "closepane/4", "", 1500);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.report.find("pane4=0"), std::string::npos) << r.report;
    r = RunProgram(dir, {cfg}, "closepane/4,32809", "", 1500);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.report.find("pane4=1"), std::string::npos) << r.report;
}

TEST(ZoomSmoke, ThirdCursorAppearsFromItsCommandAndTheTimeUnitChangesTheAxis) {
    testutil::TempDir dir;
    const std::string cfg = WriteRecord(dir, 3, 4000);
    const std::string msShot = dir.File("ms.png"), usShot = dir.File("us.png");
    ProgramRun ms = RunProgram(dir, {cfg}, "139,32813", msShot, 1500);
    ASSERT_EQ(ms.exitCode, 0) << ms.err;
    const auto v = Lines(ms.report, "view").at(0);
    ASSERT_NE(v.at("cursor2"), "off") << ms.report;
    // В3 goes to three quarters of the traces' width.
    const double third = Num(v, "cursor2"), left = Num(v, "left"), width = Num(v, "width");
    const double expected = std::floor(3 * std::floor((width - left) / 4) / 25.0 / Num(v, "xscale") + 0.5);
    EXPECT_NEAR(third, expected, 1.0) << ms.report;
    EXPECT_NE(ms.report.find("status0=Верт. визир 1:"), std::string::npos);
    EXPECT_EQ(ms.report.find("мкс"), std::string::npos);
    ProgramRun us = RunProgram(dir, {cfg}, "139,32813,32853", usShot, 1500);
    ASSERT_EQ(us.exitCode, 0) << us.err;
    EXPECT_EQ(Lines(us.report, "view").at(0).at("unit"), "0");
    EXPECT_NE(us.report.find("мкс"), std::string::npos) << us.report;
    // The axis band under the traces is drawn anew with the other labels.
    CBitmap a, b;
    ASSERT_TRUE(a.LoadPngFile(msShot));
    ASSERT_TRUE(b.LoadPngFile(usShot));
    ASSERT_EQ(a.GetSize().cx, b.GetSize().cx);
    int differing = 0;
    for (int y = 0; y < a.GetSize().cy; ++y)
        for (int x = 0; x < a.GetSize().cx * 2 / 3; ++x) differing += a.GetPixel(x, y) != b.GetPixel(x, y);
    EXPECT_GT(differing, 50);
}

TEST(ZoomSmoke, FaultLocationBringsItsCursorsIntoViewWithoutScrollBarWarnings) {
    testutil::TempDir dir;
    const std::string cfg = WriteFaultRecord(dir);
    const std::wstring xml =
        L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<settings>\r\n"
        L"\t<category name=\"WrongPlaceFinding\" type=\"1\" ver=\"2\">\r\n"
        L"\t\t<category name=\"Station1\" Ia=\"Ia\" Ib=\"Ib\" Ic=\"Ic\" In=\"100\" Ua=\"\" Uab=\"Uab\" Ub=\"\" "
        L"Ubc=\"Ubc\" Uc=\"\" Uca=\"Uca\" obj_name=\"S\">\r\n"
        L"\t\t\t<category name=\"Section1\" comment=\"\" lenght=\"20\" r=\"0,12\" r0=\"0\" r1=\"0\" "
        L"sup_number=\"40\" x=\"0.41\" x0=\"0\" x1=\"0\"/>\r\n\t\t</category>\r\n"
        L"\t\t<category name=\"Station2\" In=\"0\" obj_name=\"P\"/>\r\n\t</category>\r\n</settings>\r\n";
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : xml) {
        bytes += char(c & 0xFF);
        bytes += char((c >> 8) & 0xFF);
    }
    testutil::WriteFile(dir.File("fault.set"), bytes);
    // Zoomed in to the start of the record first, so that the window found lies off screen.
    const ProgramRun r = RunProgram(dir, {cfg}, "wheel/ctrl/720/500/100,note,32806,note", "", 1500);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto notes = Lines(r.report, "note");
    ASSERT_EQ(notes.size(), 2u) << r.report;
    ASSERT_LT(Num(notes[0], "span"), 150);
    const auto& after = notes[1];
    const double first = Num(after, "first"), span = Num(after, "span");
    ASSERT_NE(after.at("cursor0"), "off") << r.report;
    const double b1 = Num(after, "cursor0"), b2 = Num(after, "cursor1");
    EXPECT_GT(b1, Num(notes[0], "first") + Num(notes[0], "span")) << r.report;
    EXPECT_LE(first, b1) << r.report;
    EXPECT_GE(first + span, b2) << r.report;
    EXPECT_EQ(r.err.find("Gtk-CRITICAL"), std::string::npos) << r.err;
}

TEST(AboutSmoke, AboutShowsTheVersion) {
    testutil::TempDir dir;
    const ProgramRun r = RunProgram(dir, {}, "57664", "", 2500);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.report.find("dialog=О программе|Версия 1.0.0"), std::string::npos) << r.report;
}
