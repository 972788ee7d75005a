// The circle diagram as an engineer reads it: a fault trajectory of an impedance channel and a
// resistance pair over a polygon zone, rendered to an image and checked pixel by pixel.
#include <gtest/gtest.h>

#include <cmath>

#include "CircleFixture.h"
#include "FakeUi.h"
#include "diagrams/CircleDiagramWnd.h"
#include "model/Resources.h"
#include "model/XmlDocument.h"

using namespace circletest;

namespace {

const COLORREF kZ = RGB(0, 140, 0), kR = RGB(120, 60, 0), kX = RGB(0, 60, 120);
const COLORREF kCursor1 = RGB(200, 0, 0), kCursor2 = RGB(0, 0, 200);

// One characteristic: the operating zone R -5..20, X -5..30 ohm; optionally a return zone
// a little larger.
class PolygonZones : public CircleZoneSource {
public:
    int colorIndex = 3;
    bool withReturn = false;
    double scaleUp = 1.0;
    int CharacteristicCount() const override { return 1; }
    bool IsVisible(int) const override { return true; }
    int ColorIndex(int) const override { return colorIndex; }
    CString Dimension(int) const override { return L"Ohm"; }
    bool BuildZone(int, int mode, double scale, CPoint o, const CRect* view, CRgn& zone) const override {
        if (mode == 0 && !withReturn) return false;
        const double g = (mode == 0 ? 2.0 : 0.0);
        const double pts[4][2] = {{-5 - g, -5 - g}, {20 + g, -5 - g}, {20 + g, 30 + g}, {-5 - g, 30 + g}};
        POINT p[4];
        for (int i = 0; i < 4; ++i)
            p[i] = {o.x + int(std::lround(pts[i][0] * scaleUp * scale)), o.y - int(std::lround(pts[i][1] * scaleUp * scale))};
        zone.CreatePolygonRgn(p, 4, ALTERNATE);
        if (view) {
            CRgn clip;
            clip.CreateRectRgnIndirect(view);
            zone.CombineRgn(&zone, &clip, RGN_AND);
        }
        return true;
    }
};

class Owner : public DiagramOwner {
public:
    explicit Owner(CTenvorikDoc* d) : doc(d) {}
    CTenvorikDoc* GetActiveDocument() override { return doc; }
    CTenvorikDoc* doc;
};

struct Picture {
    CDC dc;
    CBitmap bmp;
    Picture(int w, int h) {
        dc.CreateCompatibleDC(nullptr);
        bmp.CreateCompatibleBitmap(&dc, w, h);
        dc.SelectObject(&bmp);
    }
};

bool Near(COLORREF a, COLORREF b, int tol) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tol && std::abs(GetGValue(a) - GetGValue(b)) <= tol &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tol;
}

bool ColourAround(CDC& dc, int x, int y, COLORREF c, int reach = 1) {
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx)
            if (dc.GetPixel(x + dx, y + dy) == c) return true;
    return false;
}

// A fault: the impedance sits at 40 + j40 ohm, then in samples 100..120 runs to 8 + j12 and
// stays. A pair of resistance channels stays at -20 - j10 ohm.
class CircleDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        SetSamples(doc, 200);
        AddChannel(doc, "Z", L"Ohm", kZ, nullptr,
                   [](size_t i) {
                       const double t = i < 100 ? 0.0 : i > 120 ? 1.0 : double(i - 100) / 20.0;
                       return Complex(40 + (8 - 40) * t, 40 + (12 - 40) * t);
                   },
                   true);
        AddChannel(doc, "R", L"Ohm", kR, [](size_t) { return -20.0; });
        AddChannel(doc, "X", L"Ohm", kX, [](size_t) { return -10.0; });
        doc.m_circleChartPairs = {{L"R", L"X"}, {L"R", L"gone"}};
        doc.m_settings.GetCategory(L"Circle Chart").SetInt(L"SightsOnly", 0);
        SetCursors(doc, 60, 150);
        wnd.SetZoneSource(&zones);
        wnd.SetClientSize(CSize(400, 400));
        wnd.LoadSettings();
    }
    Doc doc;
    Owner owner{&doc};
    PolygonZones zones;
    CircleDiagramWnd wnd{&owner};
};

}  // namespace

TEST_F(CircleDrawing, ZoneTintFrameTrajectoriesAndCrosses) {
    Picture pic(400, 400);
    wnd.Draw(&pic.dc, CRect(0, 0, 400, 400), 1, nullptr, &doc);
    ASSERT_EQ(doc.m_circleChartPairs.size(), 1u);  // the pair naming no channel is dropped
    const auto& l = wnd.LastLayout();
    // Plot 388 x 363 under the legend: 9 cells of 19 px to the nearer edge; 40 ohm at most
    // gives 5 ohm a cell.
    EXPECT_EQ(l.plot, CRect(6, 11, 394, 374));
    EXPECT_EQ(l.scales.cell, 19);
    EXPECT_DOUBLE_EQ(l.scales.upcR, 5);
    EXPECT_EQ(l.scales.upcP, 0);
    EXPECT_DOUBLE_EQ(wnd.ResistanceExtent(), 30);
    const int ox = l.ox, oy = l.oy;
    EXPECT_EQ(ox, 200);
    EXPECT_EQ(oy, 192);

    // Inside the zone: the fill colour at alpha 50 over white; outside: white.
    const COLORREF tint = RGB(254, 218, 225);
    EXPECT_TRUE(Near(pic.dc.GetPixel(ox + 40, oy - 100), tint, 2)) << std::hex << pic.dc.GetPixel(ox + 40, oy - 100);
    EXPECT_EQ(pic.dc.GetPixel(ox + 120, oy - 50), RGB(255, 255, 255));
    // The frame of the operating zone on its left and right edges (-5 and 20 ohm).
    EXPECT_EQ(pic.dc.GetPixel(ox - 19, oy - 50), RGB(254, 0, 0));
    EXPECT_EQ(pic.dc.GetPixel(ox + 75, oy - 50), RGB(254, 0, 0));
    EXPECT_NE(pic.dc.GetPixel(ox + 77, oy - 50), RGB(254, 0, 0));

    // The trajectory passes 24 + j26 ohm (sample 110) in the cell 20..25 by 25..30 ohm.
    EXPECT_TRUE(ColourAround(pic.dc, ox + 91, oy - 99, kZ));
    EXPECT_FALSE(ColourAround(pic.dc, ox + 60, oy - 130, kZ, 3));  // nowhere near
    // The pair: -20 - j10 ohm in the colour of its first channel.
    EXPECT_TRUE(ColourAround(pic.dc, ox - 76, oy + 38, kR, 0) || ColourAround(pic.dc, ox - 76, oy + 38, kCursor2, 0));

    // Crosses: В1 at sample 60 (40 + j40: radius 215 px at 45°), В2 at 150 (8 + j12).
    EXPECT_EQ(pic.dc.GetPixel(ox + 152, oy - 152 - 3), kCursor1);
    EXPECT_EQ(pic.dc.GetPixel(ox + 152 + 4, oy - 152), kCursor1);
    EXPECT_EQ(pic.dc.GetPixel(ox + 31 - 3, oy - 46), kCursor2);
    EXPECT_EQ(pic.dc.GetPixel(ox + 31, oy - 46 + 4), kCursor2);
    EXPECT_EQ(pic.dc.GetPixel(ox - 76 - 4, oy + 38), kCursor2);  // the pair's crosses, В2 over В1
    // The split strip at the top of the window.
    EXPECT_EQ(pic.dc.GetPixel(200, 2), RGB(191, 219, 255));
}

TEST_F(CircleDrawing, ReturnZonesFollowTheSwitch) {
    zones.withReturn = true;
    zones.colorIndex = 12;  // row 3 again
    Picture pic(400, 400);
    wnd.Draw(&pic.dc, CRect(0, 0, 400, 400), 1, nullptr, &doc);
    const int ox = wnd.LastLayout().ox, oy = wnd.LastLayout().oy;
    // The return zone reaches 22 ohm: its frame (x 83 px) in the mode-0 colour, not tinted.
    EXPECT_EQ(pic.dc.GetPixel(ox + 83, oy - 50), RGB(254, 159, 159));
    EXPECT_EQ(pic.dc.GetPixel(ox + 80, oy - 50), RGB(255, 255, 255));
    wnd.OnCommand(ID_CIRCLE_SHOW_OFF);
    EXPECT_EQ(doc.m_settings.GetCategory(L"Circle Chart").GetInt(L"ShowOffCharacteristics", 9), 0);
    wnd.Draw(&pic.dc, CRect(0, 0, 400, 400), 1, nullptr, &doc);
    EXPECT_EQ(pic.dc.GetPixel(ox + 83, oy - 50), RGB(255, 255, 255));
    EXPECT_DOUBLE_EQ(wnd.ResistanceExtent(), 32);  // hidden return zones still count
}

TEST_F(CircleDrawing, ZoomOriginStepsAndTheResetOfTooLargeZones) {
    // Tiny zones: the data set the scale and the zones allow a deep zoom.
    zones.scaleUp = 0.04;
    for (int i = 0; i < 8; ++i) EXPECT_TRUE(wnd.ZoomIn());
    EXPECT_NEAR(wnd.Zoom(), std::pow(1.5, 8), 1e-9);
    EXPECT_TRUE(wnd.GetScrollBars().enabled);
    EXPECT_TRUE(wnd.StepOrigin(true, 2));
    EXPECT_EQ(wnd.OffsetH(), 2);
    EXPECT_FALSE(wnd.StepOrigin(false, 100000));  // beyond the limit: refused
    EXPECT_EQ(wnd.OffsetV(), 0);
    wnd.OnMouseWheel(4, -120);  // shift: sideways
    EXPECT_EQ(wnd.OffsetH(), 0);
    // The zones grow far past the screen at this zoom: the next paint starts over at 1.
    zones.scaleUp = 1000;
    Picture pic(400, 400);
    wnd.Draw(&pic.dc, CRect(0, 0, 400, 400), 1, nullptr, &doc);
    EXPECT_DOUBLE_EQ(wnd.Zoom(), 1.0);
    EXPECT_FALSE(wnd.GetScrollBars().enabled);
    // A zoom step that would make them larger than 400 px is refused.
    EXPECT_TRUE(wnd.ZoomIn());
    EXPECT_TRUE(wnd.ZoomIn());
    EXPECT_FALSE(wnd.ZoomIn());
    EXPECT_DOUBLE_EQ(wnd.Zoom(), 2.25);
    wnd.OnMouseWheel(8, -120);  // control: zoom out
    EXPECT_DOUBLE_EQ(wnd.Zoom(), 1.5);
    EXPECT_TRUE(wnd.StepOrigin(false, -2));
    wnd.ZoomOut();  // to 1: the origin is centred again
    EXPECT_EQ(wnd.OffsetV(), 0);
    EXPECT_FALSE(wnd.GetScrollBars().enabled);
}

TEST_F(CircleDrawing, TableOrLegendUnderThePlot) {
    Picture pic(400, 400);
    wnd.OnCommand(ID_CIRCLE_VIEW_RMS_ANGLE);
    EXPECT_EQ(wnd.ViewChannelType(), 2u);
    EXPECT_EQ(doc.m_settings.GetCategory(L"Circle Chart").GetInt(L"ViewChannelType", 0), 2);
    wnd.Draw(&pic.dc, CRect(0, 0, 400, 400), 1, nullptr, &doc);
    EXPECT_TRUE(wnd.LastLayout().table);
    EXPECT_LT(wnd.LastLayout().plot.bottom, 374);
    // Too little room for the table: the legend takes its place.
    Picture small(400, 170);
    wnd.Draw(&small.dc, CRect(0, 0, 400, 170), 1, nullptr, &doc);
    EXPECT_FALSE(wnd.LastLayout().table);
    // A window of 120 px or less stays white under the split strip.
    Picture tiny(120, 300);
    wnd.Draw(&tiny.dc, CRect(0, 0, 120, 300), 1, nullptr, &doc);
    EXPECT_EQ(tiny.dc.GetPixel(60, 150), RGB(255, 255, 255));
    EXPECT_EQ(tiny.dc.GetPixel(60, 2), RGB(191, 219, 255));
}

TEST_F(CircleDrawing, CommandsAndMenus) {
    const int n = int(doc.m_oscillogram.m_channels.size());
    doc.PruneCircleChartPairs();  // a repaint while the menu is open
    CCmdUI ui(ID_CIRCLE_ITEM_FIRST + unsigned(n) + 1);
    wnd.OnUpdateCommand(ui);
    EXPECT_EQ(ui.m_check, 0);
    // The pair item of a pair pruned while the menu was open does nothing.
    const int before = doc.modified;
    EXPECT_TRUE(wnd.OnCommand(ID_CIRCLE_ITEM_FIRST + unsigned(n) + 5));
    EXPECT_EQ(doc.modified, before);
    EXPECT_TRUE(wnd.OnCommand(ID_CIRCLE_ITEM_FIRST + unsigned(n)));
    EXPECT_FALSE(doc.m_circleChartPairs[0].visible);

    bool asked = false;
    wnd.SetPairEditor([&](std::vector<ChannelPair>& pairs) {
        asked = true;
        EXPECT_EQ(pairs.size(), 1u);  // pruned before the dialog
        pairs.push_back({L"X", L"R"});
        return true;
    });
    wnd.OnCommand(ID_CIRCLE_CREATE_PAIR);
    EXPECT_TRUE(asked);
    ASSERT_EQ(doc.m_circleChartPairs.size(), 2u);
    EXPECT_EQ(doc.m_circleChartPairs[1].first, CString(L"X"));

    const auto menu = wnd.BuildContextMenu();
    ASSERT_FALSE(menu.empty());
    const auto& channels = menu[0].items;
    // Create, show all, hide all; Z, R, X at 3 + index, ahead of the separator; the pairs
    // at channel count + 4 and on.
    ASSERT_EQ(channels.size(), 4u + 3u + 2u);
    EXPECT_EQ(channels[3].id, 35000u);
    EXPECT_EQ(channels[3].text, CString(L"Z"));
    EXPECT_EQ(channels[6].id, 0u);
    EXPECT_EQ(channels[7].text, CString(L"R | X"));
    EXPECT_EQ(channels[8].id, 35000u + unsigned(n) + 1);
}

TEST_F(CircleDrawing, ZonesOfTheBlockStoredWithTheRecord) {
    testutil::FakeUi ui;
    wnd.SetZoneSource(nullptr);  // the window's own blocks
    XmlDocument xml;
    ASSERT_TRUE(xml.LoadString(CString(
        L"<library><block name=\"Zone\"><characteristic name=\"Box\" dimension=\"Ohm\">"
        L"<parameter name=\"X\" default=\"5\"/><parameter name=\"R\" default=\"3\"/>"
        L"<polygon mode=\"on\" type=\"or\"><line k=\"0\" b=\"x\" type=\"1\"/><line k=\"0\" b=\"r\" type=\"2\"/>"
        L"<line k=\"0\" b=\"-x\" type=\"1\"/><line k=\"0\" b=\"-r\" type=\"2\"/></polygon>"
        L"</characteristic></block></library>")));
    auto& blocks = wnd.GetBlocks();
    blocks.clear();
    blocks.emplace_back();
    blocks[0].name = LoadResString(3306);
    AddProtectionBlocks(blocks, xml.GetRoot(), false);
    ASSERT_EQ(blocks.size(), 2u);
    wnd.GetGridModel().Reset(BlockTypeOptions(blocks));
    wnd.GetGridModel().Fill(LoadResString(3306));
    // The record names its block; the parameter stored with it widens the zone.
    SettingsNode& circle = doc.m_settings.GetCategory(L"Circle Chart");
    circle.SetString(L"SelectedBlock", L"Zone");
    wnd.GetGridModel().Fill(L"Zone");
    blocks[1].characteristics[0].parameters[1].value = L"4";
    wnd.SaveSelectedBlock();
    wnd.GetGridModel().Fill(LoadResString(3306));
    wnd.LoadSettings();
    ASSERT_EQ(wnd.GetCurrentBlockIndex(), 1);
    EXPECT_EQ(blocks[1].characteristics[0].parameters[1].value, CString(L"4"));
    EXPECT_TRUE(ui.exceptions.empty());

    Picture pic(400, 400);
    wnd.Draw(&pic.dc, CRect(0, 0, 400, 400), 1, nullptr, &doc);
    EXPECT_DOUBLE_EQ(wnd.ResistanceExtent(), 5);
    const int ox = wnd.LastLayout().ox, oy = wnd.LastLayout().oy;
    // Colour row 0: R ±4, X ±5 ohm at 3.8 px an ohm.
    EXPECT_TRUE(Near(pic.dc.GetPixel(ox + 5, oy - 7), RGB(210, 253, 255), 2)) << std::hex << pic.dc.GetPixel(ox + 5, oy - 7);
    bool frame = false;
    for (int x = ox + 12; x <= ox + 17; ++x) frame = frame || pic.dc.GetPixel(x, oy - 7) == RGB(1, 37, 255);
    EXPECT_TRUE(frame);
    EXPECT_EQ(pic.dc.GetPixel(ox + 25, oy - 7), RGB(255, 255, 255));

    // The stored block is applied once per record; a record opened at the address of a
    // closed one is a new record.
    blocks[1].characteristics[0].parameters[1].value = L"2";
    wnd.LoadSettings();
    EXPECT_EQ(blocks[1].characteristics[0].parameters[1].value, CString(L"2"));
    wnd.OnDocumentClosed(&doc);
    wnd.LoadSettings();
    EXPECT_EQ(blocks[1].characteristics[0].parameters[1].value, CString(L"4"));
}
