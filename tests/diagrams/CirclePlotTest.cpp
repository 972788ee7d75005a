#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "CircleFixture.h"
#include "diagrams/CirclePlot.h"
#include "model/SettingsStore.h"

using namespace circletest;

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
}

TEST(CircleSettings, DefaultsAndDamagedValues) {
    SettingsNode node;
    CircleChartSettings s = LoadCircleChartSettings(node);
    EXPECT_TRUE(s.sightsOnly);  // although a fresh window starts with it off
    EXPECT_TRUE(s.showOffCharacteristics);
    EXPECT_EQ(s.viewChannelType, 0u);
    EXPECT_EQ(s.selectedBlock, CString());
    for (const auto& [text, view] : std::vector<std::pair<const wchar_t*, unsigned>>{
             {L"1", 1}, {L"2", 2}, {L"3", 0}, {L"-1", 0}, {L"junk", 0}}) {
        node.SetString(L"ViewChannelType", text);
        node.SetString(L"SightsOnly", L"7");
        s = LoadCircleChartSettings(node);
        EXPECT_EQ(s.viewChannelType, view) << text;
        EXPECT_TRUE(s.sightsOnly);
    }
}

TEST(CircleScale, RoundUpToOneDigit) {
    const std::pair<double, double> cases[] = {{0, 0}, {0.23, 0.3}, {41, 50}, {50, 50}, {-7.2, -8},
                                               {0.001, 0.001}, {999, 1000}, {kNaN, 0},
                                               {std::numeric_limits<double>::infinity(), 0}};
    for (auto [v, r] : cases) EXPECT_NEAR(RoundUpOneDigit(v), r, 1e-12) << v;
}

TEST(CircleScale, CellsUnitsAndPixels) {
    // 96 dpi: cells of 19 px; a 300 x 200 plot has 100 / 19 = 5 cells to its nearer edge.
    const CRect plot(0, 0, 300, 200);
    CircleScales s = ComputeCircleScales(23, 4100, 96, 1, plot, 1.0);
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(s.cell, 19);
    EXPECT_DOUBLE_EQ(s.upcR, 5);     // 23 / 5 = 4.6 -> 5
    EXPECT_DOUBLE_EQ(s.upcP, 900);   // 820 -> 900
    EXPECT_DOUBLE_EQ(s.ppuR, 19 / 5.0);
    s = ComputeCircleScales(23, 4100, 96, 1, plot, 2.0);
    EXPECT_DOUBLE_EQ(s.upcR, 3);     // 2.3 -> 3
    // Printing at scale 3: cells of 57 px.
    EXPECT_EQ(ComputeCircleScales(1, 1, 96, 3, plot, 1.0).cell, 57);
    // Nothing to show: no units per cell and no pixels per unit, never infinity.
    s = ComputeCircleScales(0, 0, 96, 1, plot, 1.0);
    EXPECT_TRUE(s.ok);
    EXPECT_EQ(s.upcR, 0);
    EXPECT_EQ(s.ppuR, 0);
    EXPECT_EQ(s.ppuP, 0);
    // A plot smaller than one cell, a print scale of 0, a zoom of 0 or NaN divide nothing by zero.
    EXPECT_EQ(ComputeCircleScales(10, 10, 96, 1, CRect(0, 0, 20, 20), 1.0).ppuR, 0);
    EXPECT_FALSE(ComputeCircleScales(10, 10, 96, 0, plot, 1.0).ok);
    EXPECT_EQ(ComputeCircleScales(10, 10, 96, 1, plot, 0.0).ppuR, 0);
    EXPECT_EQ(ComputeCircleScales(10, 10, 96, 1, plot, kNaN).ppuR, 0);
}

TEST(CircleZoom, FourHundredPixelRule) {
    struct Case {
        double ppu, zoom, newZoom, extent;
        bool ok;
    } cases[] = {
        {2.0, 1.0, 1.5, 100, true},    // 300 px
        {2.0, 1.0, 2.25, 100, false},  // 450 px
        {2.0, 1.5, 1.0, 150, true},
        {0.0, 1.0, 1.5, 100, true},    // nothing to show on the resistance scale
        {2.0, 1.0, 1.5, 0, true},      // no zones at all
        {2.0, 0.0, 1.5, 10, false},    // a zoom that is no number is never taken
        {2.0, 1.0, kNaN, 10, false},
    };
    for (const Case& c : cases) EXPECT_EQ(CircleCanZoomTo(c.ppu, c.zoom, c.newZoom, c.extent), c.ok) << c.newZoom;
    EXPECT_DOUBLE_EQ(1.0 * kCircleZoomIn * kCircleZoomOut, 1.0);
}

TEST(CircleScroll, LimitsBarsAndOffsets) {
    // Whole cells before the zoom: 400 / 19 = 21 -> round(21 * 1.5 * 0.5) = 16.
    EXPECT_EQ(CircleScrollLimit(400, 19, 1.5), 16);
    EXPECT_EQ(CircleScrollLimit(400, 0, 1.5), 0);
    EXPECT_EQ(CircleScrollLimit(-5, 19, 1.5), 0);
    EXPECT_EQ(CircleScrollLimit(400, 19, kNaN), 0);

    CircleScrollBars b = CircleScrollBarState(1.0, 4, 4, 10, 10);
    EXPECT_FALSE(b.enabled);
    EXPECT_EQ(b.page, 0);
    b = CircleScrollBarState(2.0, 4, -2, 10, 0);
    EXPECT_TRUE(b.enabled);
    EXPECT_EQ(b.page, 5000);
    EXPECT_EQ(b.range, 5000);
    EXPECT_EQ(b.posH, 2500 - 4 * 5000 / 20);
    EXPECT_EQ(b.posV, 2500);  // no limit: centred

    struct Step {
        CircleScrollCode code;
        int current, delivered, result;
    } steps[] = {
        {kScrollLineUp, 50, 0, 0},         {kScrollPageUp, 300, 0, 200},     {kScrollLineDown, 4950, 0, 4999},
        {kScrollPageDown, 100, 0, 200},    {kScrollThumbTrack, 0, 1234, 1234}, {kScrollEnd, 7, 7, -1},
    };
    for (const Step& s : steps) EXPECT_EQ(CircleScrollPosition(s.code, s.current, s.delivered, 5000), s.result);

    EXPECT_EQ(CircleOffsetFromPosition(2.0, 10, 5000, 1500), 4);
    EXPECT_EQ(CircleOffsetFromPosition(2.0, 10, 5000, 2500), 0);
    EXPECT_EQ(CircleOffsetFromPosition(1.0, 10, 5000, 0), 0);
    // A zoom a hair above 1 leaves a page of the whole bar and no range: no division by zero.
    b = CircleScrollBarState(1.00001, 0, 0, 10, 10);
    EXPECT_EQ(b.range, 0);
    EXPECT_EQ(CircleOffsetFromPosition(1.00001, 10, b.range, 0), 0);
}

TEST(CircleLayout, GridHeightAfterADrag) {
    EXPECT_EQ(ClampCircleGridHeight(300, 800), 300);
    EXPECT_EQ(ClampCircleGridHeight(700, 800), 650);
    EXPECT_EQ(ClampCircleGridHeight(-40, 800), 50);
    EXPECT_EQ(ClampCircleGridHeight(120, 180), 50);  // a small pane: the lower limit wins
}

TEST(CircleRange, PlottedSamples) {
    struct Case {
        bool sights;
        int64_t c1, c2, period, count;
        bool trajectory;
        int64_t start, end;
    } cases[] = {
        {true, 70, 30, 20, 100, false, 30, 70},
        {true, 5, 10, 20, 100, false, 5, 10},
        {true, 5, 10, 20, 100, true, 20, 20},   // never the first period
        {false, 0, 0, 20, 100, true, 20, 99},   // up to the last sample
        {true, 50, 500, 20, 100, false, 50, 99},
        {false, 0, 0, 20, 10, true, 9, 9},
    };
    for (const Case& c : cases) {
        SampleRange r = CirclePlottedRange(c.sights, c.c1, c.c2, c.period, c.count, c.trajectory);
        EXPECT_EQ(r.start, c.start);
        EXPECT_EQ(r.end, c.end);
    }
    EXPECT_TRUE(CirclePlottedRange(false, 0, 0, 20, 0, true).Empty());
}

TEST(CircleTexts, EdgeLabelsLegendAndCells) {
    // Resistance readings are never prefixed, power readings are.
    EXPECT_EQ(CircleEdgeLabel(L'R', 40000, 4000, true), CString(L" R: 40000 Ом, 4 кВт"));
    EXPECT_EQ(CircleEdgeLabel(L'X', -20, 0, true), CString(L" X: -20 Ом, 0 вар"));
    EXPECT_EQ(CircleEdgeLabel(L'R', 0, 2500000, false), CString(L" R: 0 Ом, 2.5 MВт"));
    EXPECT_EQ(CircleEdgeLabel(L'R', -3.0 * 0.0, -0.0, true), CString(L" R: 0 Ом, 0 Вт"));
    EXPECT_EQ(CircleCellLegend(5, 900, true), CString(L" 5 Ом, 900 Вт"));
    EXPECT_EQ(CircleCellLegend(0, 0, true), CString(L" 0 Ом, 0 Вт"));

    EXPECT_EQ(FormatTableValue(0.0, L"Ohm", L"Ом", true), CString(L"0.0"));
    EXPECT_EQ(FormatTableValue(0.0123, L"Ohm", L"Ом", true), CString(L"12.300 мОм"));
    EXPECT_EQ(FormatTableMagnitude(0.0, L"VA", L"ВА", true), CString(L"0.000 ВА"));
    EXPECT_EQ(FormatTableAngle(Complex(0, -2)), CString(L"-90.00\u00BA"));
    EXPECT_EQ(FormatTableComplex(Complex(3000, -4000), L"VA", L"ВА", true), CString(L"3.000-j4.000 кВА"));
    EXPECT_EQ(FormatTableComplex(Complex(3, 4), L"Ohm", L"Ом", false), CString(L"3.000+j4.000 Ом"));
    EXPECT_EQ(FormatTableComplex(Complex(0, 0), L"Ohm", L"Ом", true), CString(L"0.0+j0.0 Ом"));
    EXPECT_EQ(ValueTableHeight(0, 15, 1), 12);
    EXPECT_EQ(ValueTableHeight(3, 15, 2), (12 + 15) * 3 + 24);
}

class CircleDocTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetSamples(doc, 100);
        AddChannel(doc, "Ia", L"A", RGB(1, 2, 3), nullptr, nullptr, true);
        AddChannel(doc, "Z", L"ohm", RGB(200, 0, 0), nullptr, [](size_t i) { return Complex(double(i), -2.0 * double(i)); }, true);
        AddChannel(doc, "S", L"VA", RGB(0, 200, 0), nullptr, [](size_t) { return Complex(kNaN, 5.0); });
        AddChannel(doc, "R", L"Ohm", RGB(0, 0, 200), [](size_t i) { return i == 60 ? kNaN : -double(i); });
        AddChannel(doc, "X", L"Ohm", RGB(0, 0, 100), [](size_t i) { return 0.5 * double(i); });
        doc.m_circleChartPairs = {{L"R", L"X"}, {L"R", L"gone"}};
    }
    Doc doc;
};

TEST_F(CircleDocTest, FlagsFollowTheUnits) {
    auto& ch = doc.m_oscillogram.m_channels;
    StripNonCircleChannels(doc.m_oscillogram);
    EXPECT_FALSE(ch[0].m_flags & CHF_CIRCLE_DIAGRAM);  // amperes lose the flag
    EXPECT_TRUE(ch[1].m_flags & CHF_CIRCLE_DIAGRAM);
    ch[4].m_flags |= CHF_OWN_TIMEBASE;
    doc.m_circleChartPairs[0].visible = false;
    ShowAllCircleItems(doc);
    EXPECT_FALSE(ch[0].m_flags & CHF_CIRCLE_DIAGRAM);
    EXPECT_TRUE(ch[2].m_flags & CHF_CIRCLE_DIAGRAM);
    EXPECT_FALSE(ch[4].m_flags & CHF_CIRCLE_DIAGRAM);  // own time base
    EXPECT_TRUE(doc.m_circleChartPairs[0].visible);
    HideAllCircleItems(doc);
    for (const CChannel& c : ch) EXPECT_FALSE(c.m_flags & CHF_CIRCLE_DIAGRAM);
    EXPECT_FALSE(doc.m_circleChartPairs[1].visible);
}

TEST_F(CircleDocTest, ItemTogglesRefuseWhatDoesNotFit) {
    const int n = int(doc.m_oscillogram.m_channels.size());
    EXPECT_TRUE(ToggleCircleItem(doc, 2));
    EXPECT_TRUE(IsCircleItemChecked(doc, 2));
    EXPECT_TRUE(ToggleCircleItem(doc, n + 1));
    EXPECT_FALSE(IsCircleItemChecked(doc, n + 1));
    EXPECT_TRUE(IsCircleItemChecked(doc, n));
    doc.PruneCircleChartPairs();                // the second pair names no channel
    ASSERT_EQ(doc.m_circleChartPairs.size(), 1u);
    EXPECT_FALSE(ToggleCircleItem(doc, n + 1));
    EXPECT_FALSE(IsCircleItemChecked(doc, n + 1));
    EXPECT_FALSE(ToggleCircleItem(doc, -1));
    EXPECT_FALSE(ToggleCircleItem(doc, 1 << 30));
}

TEST_F(CircleDocTest, ExtentsTableRowsAndMenu) {
    double maxR = 0, maxP = 0;
    CircleDataExtent(doc, false, maxR, maxP);  // samples 20..99
    EXPECT_DOUBLE_EQ(maxR, 2 * 99);             // |Im| of Z; the pair's values reach 99
    EXPECT_DOUBLE_EQ(maxP, 0);                  // S is not flagged
    doc.m_oscillogram.m_channels[2].m_flags |= CHF_CIRCLE_DIAGRAM;
    doc.m_oscillogram.m_channels[1].m_flags &= ~uint32_t(CHF_CIRCLE_DIAGRAM);
    maxR = maxP = 0;
    SetCursors(doc, 70, 50);
    CircleDataExtent(doc, true, maxR, maxP);
    EXPECT_DOUBLE_EQ(maxP, 0);  // NaN real part: the phasor counts as 0
    EXPECT_DOUBLE_EQ(maxR, 70);

    EXPECT_EQ(CircleTableRowCount(doc), 2 + 1);  // Ia (still flagged), S; R | X; not the missing pair
    const auto items = CircleMenuEntries(doc);
    ASSERT_EQ(items.size(), 4u + 2u);
    EXPECT_EQ(items[0].position, 3 + 1);
    EXPECT_EQ(items[0].id, 35001u);  // the channel index, although channel 0 is not offered
    EXPECT_EQ(items[0].text, CString(L"Z"));
    EXPECT_EQ(items[4].position, 5 + 4);
    EXPECT_EQ(items[4].id, 35005u);
    EXPECT_EQ(items[4].text, CString(L"R | X"));
    EXPECT_EQ(items[5].id, 35006u);
}

// The tool buttons of a plane pane, however low the pane: all of them in sight, none over
// another, in as few columns as the height allows.
TEST(CirclePlot, ToolButtonsWrapIntoColumns) {
    // The circle pane's twelve buttons with their five gaps.
    const std::vector<bool> gaps = {true, false, true, true, true, false, false, true, false, true, false, false};
    int lastColumns = 0;
    for (int height : {600, 320, 213, 120, 10}) {
        const auto rects = PlaceToolColumn(gaps, height, 24, 6);
        ASSERT_EQ(rects.size(), gaps.size());
        int columns = 0;
        for (size_t i = 0; i < rects.size(); ++i) {
            columns = std::max(columns, int(rects[i].right / 24));
            // Inside the height unless a column holds that one button alone.
            if (rects[i].top > 0) {
                EXPECT_LE(rects[i].bottom, height) << height << " " << i;
            }
            for (size_t j = 0; j < i; ++j) {
                const CRect& a = rects[i];
                const CRect& b = rects[j];
                const bool overlap = a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
                EXPECT_FALSE(overlap) << height << " " << i << " " << j;
            }
        }
        // One column where all fit (12 buttons and 6 gaps: 324 pixels), more as the pane gets
        // lower, one button each at last.
        EXPECT_EQ(columns == 1, height >= 324) << height;
        EXPECT_GE(columns, lastColumns) << height;
        lastColumns = columns;
    }
    EXPECT_EQ(lastColumns, 12);
}
