// The differential diagram as a protection engineer reads it: restraint current across,
// differential current up, the operating zone of the shipped differential block tinted, and a
// fault's trajectory inside or outside it, rendered to an image and checked pixel by pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

TEST_F(DiffDrawing, FirstPaintPutsTheOriginInTheLowerLeftCorner) {
    Open(30, 2);
    // Opening drew nothing yet: the origin is still in the middle.
    EXPECT_TRUE(wnd.FirstPaintPending());
    EXPECT_EQ(wnd.OffsetH(), 0);
    // 610 pixels across hold 31 cells of 19 pixels, from the middle 15 whole cells each way,
    // while the origin steps reach 16 (half of 31, rounded up).
    wnd.SetClientSize(CSize(610, 600));
    const int limitH = wnd.GetScrollLimit(true);
    EXPECT_EQ(limitH, 16);
    Picture tiny(100, 100);
    // Even a picture too small for a plot places it.
    wnd.Draw(&tiny.dc, CRect(0, 0, 100, 100), 1, nullptr, &doc);
    EXPECT_FALSE(wnd.FirstPaintPending());
    // Down and left in steps of two cells, but not past the edge of the grid.
    EXPECT_EQ(wnd.OffsetV(), 14);
    EXPECT_EQ(wnd.OffsetH(), -14);
    Picture pic(610, 600);
    wnd.Draw(&pic.dc, CRect(0, 0, 610, 600), 1, nullptr, &doc);
    const auto& l = wnd.LastLayout();
    EXPECT_EQ(l.oy, l.frame.bottom);
    EXPECT_EQ(l.ox - l.scales.cell, l.frame.left);
    // Later paints leave the origin where the user puts it.
    EXPECT_TRUE(wnd.StepOrigin(true, 2));
    wnd.Draw(&pic.dc, CRect(0, 0, 610, 600), 1, nullptr, &doc);
    EXPECT_EQ(wnd.OffsetH(), -12);
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
