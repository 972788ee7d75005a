// The differential diagram as a protection engineer reads it: restraint current across,
// differential current up, the operating zone of the shipped differential block tinted, and a
// fault's trajectory inside or outside it, rendered to an image and checked pixel by pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "CircleFixture.h"
#include "FakeUi.h"
#include "diagrams/DiffDiagramWnd.h"
#include "model/Resources.h"
#include "platform/Encoding.h"

using namespace circletest;

namespace {

const COLORREF kDiff = RGB(0, 140, 0), kBrake = RGB(120, 60, 0);
const wchar_t kBlock[] = L"Дифференциальная защита ДЗТ-1";

class Owner : public DiagramOwner {
public:
    explicit Owner(CTenvorikDoc* d) : doc(d) {}
    CTenvorikDoc* GetActiveDocument() override { return doc; }
    CTenvorikDoc* doc;
};

struct Picture {
    CDC dc;
    CBitmap bmp;
    int w, h;
    Picture(int width, int height) : w(width), h(height) {
        dc.CreateCompatibleDC(nullptr);
        bmp.CreateCompatibleBitmap(&dc, w, h);
        dc.SelectObject(&bmp);
    }
};

// 1000 samples per second at 50 Hz. The restraint current "It" rises from 0 to `brake` (in
// nominal currents) over samples 100..200 and stays; the differential current "Id" does the
// same towards `diff`.
void FaultRecord(CTenvorikDoc& doc, double brake, double diff) {
    SetSamples(doc, 400);
    auto ramp = [](double top) {
        return [top](size_t i) { return i < 100 ? 0.0 : i > 200 ? top : top * double(i - 100) / 100.0; };
    };
    AddChannel(doc, "It", L"A", kBrake, ramp(brake));
    AddChannel(doc, "Id", L"A", kDiff, ramp(diff));
    // The scale follows the shown points: a pair as large, far off the grid (negative), keeps
    // it while the fault's pair is hidden for the picture without it.
    const double most = std::max(brake, diff);
    AddChannel(doc, "Ks", L"A", RGB(90, 90, 90), [most](size_t) { return -most; });
    AddChannel(doc, "Kd", L"A", RGB(90, 90, 90), [most](size_t) { return -most; });
    doc.m_diffChartPairs = {{L"It", L"Id"}, {L"Ks", L"Kd"}};
    SettingsNode& node = doc.m_settings.GetCategory(L"Diff Chart");
    node.SetString(L"SelectedBlock", kBlock);
    node.SetInt(L"ViewChannelType", 0);
    SetCursors(doc, 150, 350);
}

class DiffDrawing : public ::testing::Test {
protected:
    void Open(double brake, double diff) {
        FaultRecord(doc, brake, diff);
        wnd.SetLibraryFolder(CString(platform::Utf8ToWide(std::string(TV_SOURCE_DIR) + "/resources/blocks").c_str()));
        wnd.SetClientSize(CSize(600, 600));
        wnd.ReloadBlocks();
        ASSERT_EQ(wnd.GetGridModel().BlockTypeValue(), CString(kBlock));
        ASSERT_TRUE(ui.exceptions.empty());
    }
    // Renders with and without the trajectory: `trace` are the pixels in the colours of the
    // trajectory and its crosses inside the grid frame, `inZone` those of them that the
    // picture without the trajectory shows tinted by the zone (or on its frame).
    void Render(std::vector<std::pair<int, int>>& trace, size_t& inZone) {
        Picture with(600, 600), without(600, 600);
        // The first paint places the origin; the pictures compared come after it.
        wnd.Draw(&with.dc, CRect(0, 0, 600, 600), 1, nullptr, &doc);
        wnd.Draw(&with.dc, CRect(0, 0, 600, 600), 1, nullptr, &doc);
        layout = wnd.LastLayout();
        if (const char* dump = std::getenv("DIFF_DUMP")) with.bmp.SavePng(dump);
        doc.m_diffChartPairs[0].visible = false;
        wnd.Draw(&without.dc, CRect(0, 0, 600, 600), 1, nullptr, &doc);
        doc.m_diffChartPairs[0].visible = true;
        ASSERT_EQ(layout.scales.ppuR, wnd.LastLayout().scales.ppuR);
        trace.clear();
        inZone = 0;
        int zone = 0;
        for (int y = layout.frame.top + 1; y < layout.frame.bottom; ++y)
            for (int x = layout.frame.left + 1; x < layout.frame.right; ++x) {
                const COLORREF under = without.dc.GetPixel(x, y);
                // The tint of colour row 0 and the zone's frame are blue-green; white, the
                // grey grid and the texts are not.
                const bool tinted = GetRValue(under) + 15 < GetGValue(under) && GetRValue(under) + 15 < GetBValue(under);
                zone += tinted;
                const COLORREF c = with.dc.GetPixel(x, y);
                if (c == kDiff || c == RGB(200, 0, 0) || c == RGB(0, 0, 200)) {
                    trace.push_back({x, y});
                    inZone += tinted;
                }
            }
        EXPECT_GT(zone, 10000);
        EXPECT_GT(trace.size(), 40u);
    }
    PlaneDiagramWnd::Layout layout;
    testutil::FakeUi ui;
    Doc doc;
    Owner owner{&doc};
    DiffDiagramWnd wnd{&owner};
};

}  // namespace

TEST_F(DiffDrawing, ThroughFaultStaysUnderTheCharacteristic) {
    // Saturated current transformers: the differential current grows to 2 nominal currents
    // while the restraint current grows to 30, where the restraint line lies near 15.
    Open(30, 2);
    std::vector<std::pair<int, int>> trace;
    size_t inZone = 0;
    Render(trace, inZone);
    EXPECT_EQ(inZone, 0u);
}

TEST_F(DiffDrawing, InternalFaultCrossesTheCharacteristic) {
    Open(30, 30);
    std::vector<std::pair<int, int>> trace;
    size_t inZone = 0;
    Render(trace, inZone);
    EXPECT_EQ(inZone, trace.size());
    // The cross of В2 at (30, 30) nominal currents, of В1 at (15, 15), halfway up the ramp.
    const double ppu = layout.scales.ppuR;
    EXPECT_GT(ppu, 1.0);
    const auto at = [&](double v, int dx, int dy) {
        return CPoint(layout.ox + int(std::lround(v * ppu)) + dx, layout.oy - int(std::lround(v * ppu)) + dy);
    };
    Picture pic(600, 600);
    wnd.Draw(&pic.dc, CRect(0, 0, 600, 600), 1, nullptr, &doc);
    for (auto [dx, dy] : {std::pair{4, 0}, {-4, 0}, {0, 4}, {0, -4}}) {
        EXPECT_EQ(pic.dc.GetPixel(at(30, dx, dy)), RGB(0, 0, 200)) << dx << "," << dy;
        EXPECT_EQ(pic.dc.GetPixel(at(15, dx, dy)), RGB(200, 0, 0)) << dx << "," << dy;
    }
    // Between them the trajectory, in the differential current's colour.
    bool line = false;
    for (int d = -1; d <= 1; ++d) line = line || pic.dc.GetPixel(at(22, d, 0)) == kDiff;
    EXPECT_TRUE(line);
}

TEST_F(DiffDrawing, TheOriginSitsInTheGridsLowerLeftCornerUntilTheUserMovesIt) {
    Open(30, 2);
    EXPECT_TRUE(wnd.OriginFollowsCorner());
    EXPECT_EQ(wnd.OffsetH(), 0);
    // Even a picture too small for a plot leaves the origin to the next that has one.
    Picture tiny(100, 100);
    wnd.Draw(&tiny.dc, CRect(0, 0, 100, 100), 1, nullptr, &doc);
    // The corner of the grid each drawing makes: with or without the value table under it,
    // whatever size the pane takes, from the first paint on.
    struct Case {
        int w, h;
        bool table;
    } cases[] = {{610, 600, false}, {610, 600, true}, {400, 300, true}, {900, 700, false}, {600, 600, true}};
    for (const Case& c : cases) {
        if (wnd.ShowValues() != c.table) wnd.OnCommand(ID_DIFF_SHOW_VALUES);
        wnd.SetClientSize(CSize(c.w, c.h));
        Picture pic(c.w, c.h);
        wnd.Draw(&pic.dc, CRect(0, 0, c.w, c.h), 1, nullptr, &doc);
        const auto& l = wnd.LastLayout();
        ASSERT_EQ(l.table, c.table) << c.w << "x" << c.h;
        EXPECT_EQ(l.ox, l.frame.left) << c.w << "x" << c.h;
        EXPECT_EQ(l.oy, l.frame.bottom) << c.w << "x" << c.h;
    }
    // The user's steps keep the origin where they put it, through later paints and resizes.
    const int before = wnd.OffsetH();
    EXPECT_TRUE(wnd.StepOrigin(true, 2));
    EXPECT_FALSE(wnd.OriginFollowsCorner());
    wnd.SetClientSize(CSize(610, 600));
    Picture pic(610, 600);
    wnd.Draw(&pic.dc, CRect(0, 0, 610, 600), 1, nullptr, &doc);
    EXPECT_EQ(wnd.OffsetH(), before + 2);
    // Zoomed back to 1, the view is the first one again.
    ASSERT_TRUE(wnd.ZoomIn());
    ASSERT_TRUE(wnd.ZoomOut());
    wnd.Draw(&pic.dc, CRect(0, 0, 610, 600), 1, nullptr, &doc);
    EXPECT_EQ(wnd.LastLayout().ox, wnd.LastLayout().frame.left);
    EXPECT_EQ(wnd.LastLayout().oy, wnd.LastLayout().frame.bottom);
}

TEST_F(DiffDrawing, AHealthyLoadShowsOnTheGridAtEveryZoomWithItsCrossesOverTheCellBox) {
    // A transformer at a third of its rating: 0.033 nominal currents of restraint, a few
    // thousandths of differential current, with the value table on as a new record has it.
    Open(30, 2);
    for (CChannel& ch : doc.GetOscillogram().m_channels) {
        const bool brake = ch.m_fileName == "It";
        ch.m_samples.assign(ch.m_samples.size(), brake ? 0.033 : 0.002);
        ch.Recalc();
    }
    doc.m_diffChartPairs.resize(1);
    wnd.EnableShowValues();
    const COLORREF cross1 = RGB(200, 0, 0), cross2 = RGB(0, 0, 200);
    for (int zoom = 0; zoom <= 5; ++zoom) {
        if (zoom > 0) {
            ASSERT_TRUE(wnd.ZoomIn()) << zoom;
        }
        Picture pic(600, 600);
        wnd.Draw(&pic.dc, CRect(0, 0, 600, 600), 1, nullptr, &doc);
        const auto& l = wnd.LastLayout();
        if (const char* dump = std::getenv("DIFF_DUMP"); dump && zoom == 0) pic.bmp.SavePng(dump);
        ASSERT_TRUE(l.table);
        const double ppu = l.scales.ppuR;
        const CPoint at(l.ox + int(std::lround(0.033 * ppu)), l.oy - int(std::lround(0.002 * ppu)));
        // The point is on the grid (its frame included), and both crosses mark it.
        EXPECT_GE(at.x, l.frame.left) << zoom;
        EXPECT_LE(at.x, l.frame.right) << zoom;
        EXPECT_GE(at.y, l.frame.top) << zoom;
        EXPECT_LE(at.y, l.frame.bottom) << zoom;
        int marked = 0, outside = 0;
        for (int y = 0; y < l.plot.bottom; ++y)  // the table's colour squares lie below
            for (int x = 0; x < 600; ++x) {
                const COLORREF c = pic.dc.GetPixel(x, y);
                if (c != cross1 && c != cross2 && c != kDiff) continue;
                ++marked;
                // Nothing of it runs under the frame into the table.
                outside += y > l.frame.bottom + 5 || x < l.frame.left - 5;
            }
        EXPECT_GE(marked, 8) << zoom;
        EXPECT_EQ(outside, 0) << zoom;
        EXPECT_EQ(pic.dc.GetPixel(at.x, at.y - 3), cross2) << zoom;  // В2 drawn last, on В1's point
    }
    // A point under the cell legend's box, a cell and a half from the corner each way: its
    // cross is drawn over the box.
    while (wnd.Zoom() > 1.0) {
        ASSERT_TRUE(wnd.ZoomOut());
    }
    Picture first(600, 600);
    wnd.Draw(&first.dc, CRect(0, 0, 600, 600), 1, nullptr, &doc);
    const double upc = wnd.LastLayout().scales.upcR;
    ASSERT_GT(upc, 0.0);
    for (CChannel& ch : doc.GetOscillogram().m_channels) {
        ch.m_samples.Set(350, 1.5 * upc);
        ch.Recalc();
    }
    Picture pic(600, 600);
    wnd.Draw(&pic.dc, CRect(0, 0, 600, 600), 1, nullptr, &doc);
    const auto& l = wnd.LastLayout();
    ASSERT_EQ(l.scales.upcR, upc);
    const int cell = l.scales.cell;
    const int d = int(std::lround(1.5 * upc * l.scales.ppuR));
    const CPoint box(l.ox + d, l.oy - d);
    ASSERT_GT(box.x, l.frame.left + cell + 6);
    ASSERT_LT(box.x, l.frame.left + 2 * cell - 6);
    ASSERT_GT(box.y, l.frame.bottom - 2 * cell + 6);
    ASSERT_LT(box.y, l.frame.bottom - cell - 6);
    // Beside the cross the box's own grey shows: the cross lies on it.
    EXPECT_EQ(pic.dc.GetPixel(box.x + 5, box.y + 5), RGB(240, 240, 240));
    for (auto [dx, dy] : {std::pair{3, 0}, {-3, 0}, {0, 3}, {0, -3}})
        EXPECT_EQ(pic.dc.GetPixel(box.x + dx, box.y + dy), cross2) << dx << "," << dy;
}

TEST(DiffTexts, LabelsInNominalCurrents) {
    EXPECT_EQ(DiffEdgeLabel(true, 20, true), CString(L" Iторм: 20 ном"));
    EXPECT_EQ(DiffEdgeLabel(false, -1.5, true), CString(L" Iдиф: -1.5 ном"));
    EXPECT_EQ(DiffEdgeLabel(false, -0.0, true), CString(L" Iдиф: 0 ном"));
    // "ном" takes no prefix, however large the value.
    EXPECT_EQ(DiffEdgeLabel(true, 2000, true), CString(L" Iторм: 2000 ном"));
    EXPECT_EQ(DiffCellLegend(0.5, true), CString(L" 0.5 ном"));
}

TEST(DiffSettings, CommandsStoreTheSwitchesInTheRecord) {
    Doc doc;
    SetSamples(doc, 10);
    Owner owner(&doc);
    DiffDiagramWnd wnd(&owner);
    // A record without the category shows all three switches on.
    wnd.LoadSettings();
    EXPECT_TRUE(wnd.SightsOnly());
    EXPECT_TRUE(wnd.ShowOffCharacteristics());
    EXPECT_TRUE(wnd.ShowValues());
    struct Case {
        unsigned id;
        const wchar_t* key;
        bool (DiffDiagramWnd::*get)() const;
    };
    const Case cases[] = {{ID_CIRCLE_SIGHTS_ONLY, L"SightsOnly", &DiffDiagramWnd::SightsOnly},
                          {ID_CIRCLE_TB_SIGHTS_ONLY, L"SightsOnly", &DiffDiagramWnd::SightsOnly},
                          {ID_CIRCLE_SHOW_OFF, L"ShowOffCharacteristics", &DiffDiagramWnd::ShowOffCharacteristics},
                          {ID_DIFF_SHOW_VALUES, L"ViewChannelType", &DiffDiagramWnd::ShowValues}};
    for (const Case& c : cases) {
        const bool before = (wnd.*c.get)();
        const int modified = doc.modified;
        EXPECT_TRUE(wnd.OnCommand(c.id));
        EXPECT_EQ((wnd.*c.get)(), !before);
        EXPECT_EQ(doc.m_settings.GetCategory(L"Diff Chart").GetInt(c.key, -1), before ? 0 : 1);
        EXPECT_EQ(doc.modified, modified + 1);
        CCmdUI ui(c.id);
        wnd.OnUpdateCommand(ui);
        EXPECT_EQ(ui.m_check != 0, !before);
    }
    // The quick analysis turns the table on: stored and modified only when it was off.
    ASSERT_FALSE(wnd.ShowValues());
    wnd.EnableShowValues();
    EXPECT_TRUE(wnd.ShowValues());
    EXPECT_EQ(doc.m_settings.GetCategory(L"Diff Chart").GetInt(L"ViewChannelType", -1), 1);
    const int modified = doc.modified;
    wnd.EnableShowValues();
    EXPECT_EQ(doc.modified, modified);
    // A reopened window reads them back.
    DiffDiagramWnd again(&owner);
    again.LoadSettings();
    EXPECT_TRUE(again.SightsOnly());  // flipped twice: by the menu and by the tool bar
    EXPECT_FALSE(again.ShowOffCharacteristics());
    EXPECT_TRUE(again.ShowValues());
    // The record closed: the block grid takes no edit until the next one.
    EXPECT_TRUE(again.GetGridModel().IsEditable());
    owner.doc = nullptr;
    again.LoadSettings();
    EXPECT_FALSE(again.GetGridModel().IsEditable());
}

TEST(DiffTable, RowsAtTheFirstCursorAndTheLegendInstead) {
    Doc doc;
    SetSamples(doc, 200);
    AddChannel(doc, "It", L"A", kBrake, [](size_t i) { return i == 50 ? 1500.0 : 0.0; });
    AddChannel(doc, "Id", L"A", kDiff, [](size_t i) { return i == 50 ? 0.25 : 0.0; });
    AddChannel(doc, "Id2", L"A", kDiff, [](size_t) { return 1.0; });
    doc.m_diffChartPairs = {{L"It", L"Id"}, {L"It", L"Id2"}, {L"It", L"gone"}};
    doc.m_diffChartPairs[1].visible = false;
    SetCursors(doc, 50, 60);
    Owner owner(&doc);
    DiffDiagramWnd wnd(&owner);
    wnd.LoadSettings();
    auto rows = wnd.Rows(doc);
    ASSERT_EQ(rows.size(), 1u);  // hidden and broken pairs have no row
    EXPECT_EQ(rows[0].text, CString(L"Id It"));
    EXPECT_EQ(rows[0].color, kDiff);
    EXPECT_EQ(rows[0].cells[0], CString(L"250.000 мА"));
    EXPECT_EQ(rows[0].cells[1], CString(L"1.500 кА"));
    // Zero is "0.0"; a cursor past the end reads zeros.
    SetCursors(doc, 100000, 60);
    rows = wnd.Rows(doc);
    EXPECT_EQ(rows[0].cells[0], CString(L"0.0"));
    EXPECT_EQ(rows[0].cells[1], CString(L"0.0"));

    Picture pic(400, 400);
    wnd.Draw(&pic.dc, CRect(0, 0, 400, 400), 1, nullptr, &doc);
    EXPECT_TRUE(wnd.LastLayout().table);
    EXPECT_EQ(doc.m_diffChartPairs.size(), 2u);  // the drawing pruned the broken pair
    // Too little room for the table: the legend takes its place.
    Picture low(400, 160);
    wnd.Draw(&low.dc, CRect(0, 0, 400, 160), 1, nullptr, &doc);
    EXPECT_FALSE(wnd.LastLayout().table);
    bool square = false;
    for (int x = 0; x < 400 && !square; ++x) square = low.dc.GetPixel(x, wnd.LastLayout().plot.bottom + 8) == kDiff;
    EXPECT_TRUE(square);
}

TEST(DiffMenu, PairItemsAndTheirToggles) {
    Doc doc;
    SetSamples(doc, 10);
    AddChannel(doc, "It", L"A", kBrake, nullptr);
    AddChannel(doc, "Id", L"A", kDiff, nullptr);
    doc.m_diffChartPairs = {{L"It", L"Id"}, {L"It", L"Id"}};
    doc.m_diffChartPairs[1].visible = false;
    Owner owner(&doc);
    DiffDiagramWnd wnd(&owner);
    const auto menu = wnd.BuildContextMenu();
    ASSERT_EQ(menu.size(), 7u);
    EXPECT_EQ(menu[0].text, CString(L"Каналы"));
    const auto& items = menu[0].items;
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[0].id, unsigned(ID_CIRCLE_CREATE_PAIR));
    EXPECT_EQ(items[3].id, 0u);
    EXPECT_EQ(items[4].id, 35000u);
    EXPECT_EQ(items[4].text, CString(L"Id | It"));
    EXPECT_EQ(items[5].id, 35001u);
    EXPECT_EQ(menu[4].id, unsigned(ID_DIFF_SHOW_VALUES));
    EXPECT_EQ(menu[4].text, CString(L"Показывать значения"));

    CCmdUI ui(35001);
    wnd.OnUpdateCommand(ui);
    EXPECT_EQ(ui.m_check, 0);
    EXPECT_TRUE(wnd.OnCommand(35001));
    EXPECT_TRUE(doc.m_diffChartPairs[1].visible);
    // An item past the pairs changes nothing and leaves the record unmodified.
    const int modified = doc.modified;
    EXPECT_TRUE(wnd.OnCommand(35002));
    EXPECT_EQ(doc.modified, modified);
    wnd.OnCommand(ID_CIRCLE_HIDE_ALL);
    EXPECT_FALSE(doc.m_diffChartPairs[0].visible || doc.m_diffChartPairs[1].visible);
    wnd.OnCommand(ID_CIRCLE_SHOW_ALL);
    EXPECT_TRUE(doc.m_diffChartPairs[0].visible && doc.m_diffChartPairs[1].visible);
    // "Create" edits a copy of the differential pairs, and only OK keeps it.
    wnd.SetPairEditor([](std::vector<ChannelPair>& pairs) {
        pairs.resize(1);
        return true;
    });
    wnd.OnCommand(ID_CIRCLE_CREATE_PAIR);
    EXPECT_EQ(doc.m_diffChartPairs.size(), 1u);
}

TEST(DiffOutput, CopiesAndPrintsThePicture) {
    Doc doc;
    FaultRecord(doc, 30, 30);
    Owner owner(&doc);
    DiffDiagramWnd wnd(&owner);
    wnd.LoadSettings();
    wnd.SetClientSize(CSize(300, 250));
    DiagramPicture picture;
    ASSERT_TRUE(wnd.CopyToClipboard(picture));
    EXPECT_EQ(picture.width, 300);
    EXPECT_EQ(picture.height, 250);
    EXPECT_NE(picture.svg.find("<svg"), std::string::npos);
    // A page at twice the screen's resolution: the trajectory in its colour, nothing of the
    // split strip, which belongs to the screen.
    Picture page(800, 800);
    CDC printer;
    printer.Attach(page.dc.GetCairo(), 800, 800, 192, true);
    wnd.Print(&printer, CRect(0, 0, 800, 800), &doc, false, 96);
    printer.Detach();
    int trace = 0, strip = 0;
    for (int y = 0; y < 800; ++y)
        for (int x = 0; x < 800; ++x) {
            trace += page.bmp.GetPixel(x, y) == kDiff;
            strip += page.bmp.GetPixel(x, y) == RGB(191, 219, 255);
        }
    EXPECT_GT(trace, 20);
    EXPECT_EQ(strip, 0);
}
