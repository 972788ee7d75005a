// The main window's layout in the real program, each run on a display server of its own size
// (a laptop's 1366×768 and a desktop's 1920×1080): the room the curves get at the first start,
// the room a diagram pane gets once it shows something, and the ribbon after a change of look.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "platform/draw/GdiObjects.h"
#include "tests/faultloc/FaultRecord.h"

namespace {

constexpr const char* kXvfbRun = "/usr/bin/xvfb-run";

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    bool Inside(const Rect& o) const { return x >= o.x && y >= o.y && x + w <= o.x + o.w && y + h <= o.y + o.h; }
};

Rect ParseRect(const std::string& text) {
    Rect r;
    std::sscanf(text.c_str(), "%d,%d %dx%d", &r.x, &r.y, &r.w, &r.h);
    return r;
}

// A 50 Hz record at 1 kHz of phase voltages and currents with a phase-A fault after 0.1 s.
std::string WriteRecord(const testutil::TempDir& dir) {
    using C = std::complex<double>;
    const C a(-0.5, std::sqrt(3.0) / 2);
    const char* names[6] = {"Ua", "Ub", "Uc", "Ia", "Ib", "Ic"};
    std::string cfg = "PS,R1,1999\r\n6,6A,0D\r\n";
    for (int k = 0; k < 6; ++k)
        cfg += std::to_string(k + 1) + "," + names[k] + ",,," + (k < 3 ? "V" : "A") + ",0.1,0,0,-99999,99999,1,1,P\r\n";
    cfg += "50\r\n1\r\n1000,300\r\n01/01/2024,10:00:00.000000\r\n01/01/2024,10:00:00.100000\r\nASCII\r\n1\r\n";
    std::string dat;
    for (int i = 0; i < 300; ++i) {
        C u[3] = {std::polar(57735.0, 0.0), std::polar(57735.0, 0.0) * a * a, std::polar(57735.0, 0.0) * a};
        C c[3] = {std::polar(300.0, -0.3), std::polar(300.0, -0.3) * a * a, std::polar(300.0, -0.3) * a};
        if (i >= 100) u[0] *= 0.3, c[0] = std::polar(4000.0, -1.2);
        const C rot = std::polar(1.0, 2 * M_PI * 50 * i / 1000.0);
        dat += std::to_string(i + 1) + "," + std::to_string(i * 1000);
        for (const C& v : u) dat += "," + std::to_string(std::lround((v * rot).imag() / 0.1));
        for (const C& v : c) dat += "," + std::to_string(std::lround((v * rot).imag() / 0.1));
        dat += "\r\n";
    }
    testutil::WriteFile(dir.File("phases.cfg"), cfg);
    testutil::WriteFile(dir.File("phases.dat"), dat);
    return dir.File("phases.cfg");
}

struct ScreenRun {
    int exitCode = -1;
    std::string report, err;
    std::vector<std::string> Lines(const std::string& key) const {
        std::vector<std::string> out;
        std::istringstream in(report);
        std::string line;
        while (std::getline(in, line))
            if (line.rfind(key + "=", 0) == 0) out.push_back(line.substr(key.size() + 1));
        return out;
    }
    std::string Line(const std::string& key) const {
        const auto lines = Lines(key);
        return lines.empty() ? std::string() : lines.front();
    }
};

// The program on a screen of `size` ("1366x768"), with `steps` run before the look.
ScreenRun RunOnScreen(const testutil::TempDir& dir, const std::string& size, const std::vector<std::string>& args,
                const std::string& steps, std::vector<std::string> env = {}) {
    const std::string report = dir.File("report.txt");
    std::remove(report.c_str());
    std::vector<std::string> argv{kXvfbRun, "-a", "-s", "-screen 0 " + size + "x24", std::string(TV_BIN_DIR) + "/Tenvorik"};
    argv.insert(argv.end(), args.begin(), args.end());
    env.push_back("TENVORIK_SMOKE=" + report);
    env.push_back("TENVORIK_SMOKE_DELAY=2500");
    if (!steps.empty()) env.push_back("TENVORIK_SMOKE_COMMANDS=" + steps);
    const auto r = testutil::Run(argv, testutil::SmokeEnv(dir, env), 120);
    return {r.exitCode, testutil::ReadFile(report), r.err};
}

// "key=value" words of the view's line.
std::map<std::string, int> ViewFields(const ScreenRun& run) {
    std::map<std::string, int> f;
    std::istringstream in(run.Line("view"));
    std::string word;
    while (in >> word) {
        const size_t eq = word.find('=');
        if (eq != std::string::npos) f[word.substr(0, eq)] = std::atoi(word.c_str() + eq + 1);
    }
    return f;
}

struct Pane {
    bool shown = false;
    Rect rect, tools, canvas;
    int table = -1;
};

Pane PaneOf(const ScreenRun& run, int bit) {
    Pane p;
    const std::string line = run.Line("panerect" + std::to_string(bit));
    if (line.empty()) return p;
    p.shown = true;
    const size_t t = line.find("|tools "), c = line.find("|canvas "), v = line.find("|table ");
    p.rect = ParseRect(line.substr(0, t));
    p.tools = ParseRect(line.substr(t + 7));
    p.canvas = ParseRect(line.substr(c + 8));
    p.table = std::atoi(line.c_str() + v + 7);
    return p;
}

bool CanRun() { return access(kXvfbRun, X_OK) == 0; }

}  // namespace

// At the first start on a laptop's screen the window takes the whole screen and the record's
// curves get the largest part of it: several rows, wider and taller than any diagram.
TEST(LayoutSmoke, FirstStartOnASmallScreenGivesTheCurvesMostOfTheRoom) {
    if (!CanRun()) GTEST_SKIP() << "no xvfb-run";
    testutil::TempDir dir;
    const ScreenRun run = RunOnScreen(dir, "1366x768", {WriteRecord(dir)}, "");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Rect frame = ParseRect(run.Line("frame"));
    EXPECT_EQ(frame.w, 1366) << run.report;
    EXPECT_GE(frame.h, 740) << run.report;
    const auto view = ViewFields(run);
    // Rows of the default height, 93 pixels: two and a half at least above the time axis.
    EXPECT_GE(view.at("available"), 230) << run.report;
    // The curves keep half of the window's height; the empty spectrum keeps a strip.
    int clientW = 0, clientH = 0;
    ASSERT_EQ(std::sscanf(run.Line("frameclient").c_str(), "%dx%d", &clientW, &clientH), 2) << run.report;
    EXPECT_GE(2 * view.at("height"), clientH) << run.report;
    EXPECT_LE(PaneOf(run, 2).rect.h, 60) << run.report;
    EXPECT_GE(view.at("width"), frame.w * 6 / 10) << run.report;
    for (int bit : {2, 4, 8}) {
        const Pane p = PaneOf(run, bit);
        ASSERT_TRUE(p.shown) << bit;
        EXPECT_LT(p.rect.w * p.rect.h, view.at("width") * view.at("height")) << bit << run.report;
        EXPECT_TRUE(p.rect.Inside(frame)) << bit << run.report;
    }
}

// Quick analysis of the phase impedances draws Za, Zb and Zc on the circle diagram: the pane
// gives the diagram room for its grid and the value table under it, and shown beside them, the
// differential pane takes a place of its own instead of squeezing the others; every pane's
// tool bar stands whole beside its diagram, on the screen.
TEST(LayoutSmoke, DiagramPanesShowTheirDiagramAndValueTableAtBothScreenSizes) {
    if (!CanRun()) GTEST_SKIP() << "no xvfb-run";
    for (const char* size : {"1366x768", "1920x1080"}) {
        SCOPED_TRACE(size);
        testutil::TempDir dir;
        const std::string cfg = WriteRecord(dir);
        const std::vector<std::string> env = {"TENVORIK_SMOKE_QAN_PAGE=PhaseResistPage", "TENVORIK_SMOKE_CURSOR=200"};
        for (const char* steps : {"137", "137,140"}) {
            SCOPED_TRACE(steps);
            const ScreenRun run = RunOnScreen(dir, size, {cfg}, steps, env);
            ASSERT_EQ(run.exitCode, 0) << run.err;
            ASSERT_NE(run.report.find("dialog=Быстрый анализ|driven"), std::string::npos) << run.report;
            int sw = 0, sh = 0;
            std::sscanf(run.Line("screen").c_str(), "%dx%d", &sw, &sh);
            const Rect frame = ParseRect(run.Line("frame"));
            EXPECT_TRUE(frame.Inside(Rect{0, 0, sw, sh})) << run.report;
            const Pane circle = PaneOf(run, 8);
            ASSERT_TRUE(circle.shown) << run.report;
            EXPECT_EQ(circle.table, 1) << run.report;
            EXPECT_GE(circle.canvas.h, 200) << run.report;
            const bool diff = std::string(steps).find("140") != std::string::npos;
            EXPECT_EQ(PaneOf(run, 16).shown, diff) << run.report;
            for (int bit : {4, 8, 16}) {
                const Pane p = PaneOf(run, bit);
                if (!p.shown) continue;
                SCOPED_TRACE(bit);
                EXPECT_GE(p.rect.w, 300) << run.report;
                EXPECT_GE(p.rect.h, 200) << run.report;
                EXPECT_TRUE(p.rect.Inside(frame)) << run.report;
                // The tool bar: a column at the pane's right, whole, beside the diagram.
                EXPECT_TRUE(p.tools.Inside(p.rect)) << run.report;
                EXPECT_GT(p.tools.h, p.tools.w) << run.report;
                EXPECT_LE(p.canvas.x + p.canvas.w, p.tools.x) << run.report;
            }
        }
    }
}

// A change of look while the program runs lays the ribbon out again: no panel is folded into
// a button while the bar has room, and every button of the page on show lies on the bar. In the
// flat looks a checked button keeps its blue picture on a light fill.
TEST(LayoutSmoke, LookChangeKeepsEveryRibbonPanelOpenAndCheckedPicturesVisible) {
    if (!CanRun()) GTEST_SKIP() << "no xvfb-run";
    for (const char* steps : {"210", "216,211", "211,212,215"}) {
        SCOPED_TRACE(steps);
        testutil::TempDir dir;
        const std::string shot = dir.File("shot.png");
        const ScreenRun run = RunOnScreen(dir, "1366x768", {WriteRecord(dir)}, steps, {"TENVORIK_SMOKE_SHOT=" + shot});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const auto panels = run.Lines("ribbonpanel");
        ASSERT_GE(panels.size(), 8u) << run.report;
        for (const std::string& p : panels) EXPECT_EQ(p.substr(p.size() - 4), "|0|1") << p;
        const Rect frame = ParseRect(run.Line("frame"));
        int buttons = 0;
        for (const std::string& b : run.Lines("ribbonbutton")) {
            int page, id, x, y, w, h, enabled;
            ASSERT_EQ(std::sscanf(b.c_str(), "%d:%d:%d:%d:%d:%d:%d", &page, &id, &x, &y, &w, &h, &enabled), 7) << b;
            EXPECT_TRUE(w > 0 && h > 0 && x >= 0 && y >= 0 && x + w <= frame.w && y + h <= 160) << b;
            ++buttons;
            // The spectrum's button is checked while its pane is on show.
            if (id != 32811 || std::string(steps) != "216,211") continue;
            CBitmap bmp;
            ASSERT_TRUE(bmp.LoadPngFile(shot));
            int accent = 0, sign = 0;
            for (int py = y; py < y + h; ++py)
                for (int px = x; px < x + w; ++px) {
                    const COLORREF c = bmp.GetPixel(px, py);
                    accent += c == RGB(10, 36, 106);
                    sign += std::abs(GetRValue(c) - 40) < 30 && std::abs(GetGValue(c) - 90) < 30 && std::abs(GetBValue(c) - 170) < 30;
                }
            EXPECT_LT(accent, w * h / 10) << b;
            EXPECT_GE(sign, 20) << b;
        }
        EXPECT_GE(buttons, 20) << run.report;
    }
}

// On a laptop's screen the fault locator's window ends at the record's last sample while the
// result bar, coming with it, takes height and brings the rows' scroll bar: both cursors stay
// in view.
TEST(LayoutSmoke, FaultLocationCursorsStayInViewOnASmallScreen) {
    if (!CanRun()) GTEST_SKIP() << "no xvfb-run";
    testutil::TempDir dir;
    const std::string cfg = WriteFaultRecord(dir);
    WriteFaultSettings(dir);
    const ScreenRun run = RunOnScreen(dir, "1366x768", {cfg}, "32806");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_NE(run.report.find("resultbar="), std::string::npos) << run.report;
    const auto view = ViewFields(run);
    std::istringstream in(run.Line("view"));
    std::map<std::string, std::string> words;
    for (std::string w; in >> w;)
        if (w.find('=') != std::string::npos) words[w.substr(0, w.find('='))] = w.substr(w.find('=') + 1);
    ASSERT_NE(words["cursor0"], "off") << run.report;
    ASSERT_NE(words["cursor1"], "off") << run.report;
    const int b1 = std::atoi(words["cursor0"].c_str()), b2 = std::atoi(words["cursor1"].c_str());
    EXPECT_LE(view.at("first"), std::min(b1, b2)) << run.report;
    EXPECT_GE(view.at("first") + view.at("span"), std::max(b1, b2)) << run.report;
}

// Panes opened on a laptop's screen, the fault locator's result bar and the differential pane
// among them, leave the curves half of the window's height; empty diagrams take little room
// until they have something to show, and then get theirs.
TEST(LayoutSmoke, TheCurvesKeepHalfTheHeightAsPanesOpen) {
    if (!CanRun()) GTEST_SKIP() << "no xvfb-run";
    testutil::TempDir dir;
    const std::string cfg = WriteFaultRecord(dir);
    WriteFaultSettings(dir);
    // "Анализ"; the differential pane; both; the spectrum and vector diagrams given channels
    // (the run puts every channel on them and В1 in the record).
    const struct {
        const char* steps;
        bool prepared;
    } runs[] = {{"32806", false}, {"140", false}, {"32806,140", false}, {"", true}};
    for (const auto& r : runs) {
        SCOPED_TRACE(r.steps);
        std::vector<std::string> env;
        if (r.prepared) env.push_back("TENVORIK_SMOKE_CURSOR=150");
        const ScreenRun run = RunOnScreen(dir, "1366x768", {cfg}, r.steps, env);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        int clientW = 0, clientH = 0;
        ASSERT_EQ(std::sscanf(run.Line("frameclient").c_str(), "%dx%d", &clientW, &clientH), 2) << run.report;
        const auto view = ViewFields(run);
        EXPECT_GE(2 * view.at("height"), clientH) << run.report;
        EXPECT_GE(view.at("width"), clientW / 2) << run.report;
        if (std::string(r.steps).find("32806") != std::string::npos) {
            EXPECT_NE(run.report.find("resultbar="), std::string::npos) << run.report;
        }
        const Pane spectrum = PaneOf(run, 2), vector = PaneOf(run, 4);
        ASSERT_TRUE(spectrum.shown && vector.shown) << run.report;
        if (r.prepared) {
            // With something to show, a diagram gets room to show it: the spectrum more than a
            // strip (still within what leaves the curves their half), the vector a wider column.
            EXPECT_GE(spectrum.rect.h, 60) << run.report;
            EXPECT_GT(vector.rect.w, 340) << run.report;
        } else {
            EXPECT_LE(spectrum.rect.h, 60) << run.report;
            EXPECT_LE(vector.rect.w, 345) << run.report;
        }
        const Pane diff = PaneOf(run, 16);
        if (diff.shown) {
            EXPECT_LE(diff.rect.w, 345) << run.report;
        }
    }
}
