// Zoom, wheel and scroll arithmetic of the view, and the view's commands that use it.
#include <gtest/gtest.h>

#include <cmath>

#include "ViewFixture.h"
#include "model/SettingsStore.h"
#include "view/ViewZoom.h"

using namespace oscview;
using namespace viewtest;

namespace {

constexpr int64_t kBillion = 1000000000;

}  // namespace

TEST(ViewZoom, HorizontalStepsAboutTheAnchorWithinTheirLimits) {
    struct Case {
        bool in;
        double xscale, fit;
        int64_t first, anchor, samples;
        int plot;
        double xscaleAfter;
        int64_t firstAfter;
        bool changed;
    };
    const Case cases[] = {
        // In: the anchor keeps its place, the left edge halves its distance to it.
        {true, 0.25, 0.01, 300, 400, 10000, 1000, 0.5, 350, true},
        {true, 0.25, 0.01, 500, 400, 10000, 1000, 0.5, 450, true},
        {true, 0.25, 0.01, 301, 400, 10000, 1000, 0.5, 351, true},  // halves toward zero
        {true, 0.25, 0.01, 300, -1, 10000, 1000, 0.5, 300, true},   // no cursor: the left edge stays
        {true, 1.0, 0.01, 300, 400, 10000, 1000, 1.0, 300, false},  // 25 pixels a sample at most
        // Out: the distance doubles, then the window is kept within the record.
        {false, 0.5, 0.01, 300, 400, 10000, 1000, 0.25, 200, true},
        {false, 0.5, 0.01, 300, 100, 10000, 1000, 0.25, 500, true},
        {false, 0.5, 0.01, 100, 400, 10000, 1000, 0.25, 0, true},           // not before the start
        {false, 0.5, 0.01, 9900, 9950, 10000, 1000, 0.25, 10000 - 160 - 1, true},  // not past the end
        {false, 0.01, 0.01, 300, 400, 10000, 1000, 0.01, 300, false},       // the fit scale is the least
        // A billion samples: nothing wraps.
        {false, std::ldexp(1.0, -20), std::ldexp(1.0, -25), 900000000, 999000000, kBillion, 1800,
         std::ldexp(1.0, -21), 801000000, true},
        {true, std::ldexp(1.0, -21), std::ldexp(1.0, -25), 801000000, 999000000, kBillion, 1800, std::ldexp(1.0, -20),
         900000000, true},
    };
    for (const Case& c : cases) {
        const HorizontalZoom z = ZoomHorizontal(c.in, c.xscale, c.fit, c.first, c.anchor, c.samples, c.plot);
        EXPECT_DOUBLE_EQ(z.xscale, c.xscaleAfter) << c.first << " " << c.anchor;
        EXPECT_EQ(z.first, c.firstAfter) << c.first << " " << c.anchor;
        EXPECT_EQ(z.changed, c.changed) << c.first << " " << c.anchor;
    }
}

TEST(ViewZoom, VerticalStepsAboutTheLevelCursorWithinTheirLimits) {
    struct Case {
        bool in;
        int size, offset, anchor;
        int sizeAfter, offsetAfter;
        bool changed;
    };
    const Case cases[] = {
        {true, 93, 0, 0, 121, 0, true},
        {true, 93, -100, 0, 121, -130, true},
        {true, 93, -100, 200, 121, -190, true},  // the anchor row keeps its height
        {true, 93, 0, 200, 121, -60, true},
        {false, 93, 0, 200, 72, 0, true},        // never scrolled below the top
        {false, 121, -130, 0, 93, -100, true},
        {false, 93, -100, 200, 72, -31, true},   // (-300 / 1.3 + 200) = -30.77 -> -31
        {true, 500, -10, 0, 500, -10, false},
        {true, 499, 0, 0, 649, 0, true},         // the last step may pass the limit
        {false, 70, -10, 0, 70, -10, false},
        {false, 71, 0, 0, 55, 0, true},
    };
    for (const Case& c : cases) {
        const VerticalZoom z = ZoomVertical(c.in, c.size, c.offset, c.anchor);
        EXPECT_EQ(z.analogSize, c.sizeAfter) << c.size << " " << c.offset << " " << c.anchor;
        EXPECT_EQ(z.offset, c.offsetAfter) << c.size << " " << c.offset << " " << c.anchor;
        EXPECT_EQ(z.changed, c.changed) << c.size << " " << c.offset << " " << c.anchor;
    }
}

TEST(ViewZoom, WheelScrollsByRowsAndStopsAtTheLastRow) {
    struct Case {
        int64_t pos;
        int rotation, row;
        int64_t content, available, after;
    };
    const Case cases[] = {
        {0, -120, 93, 2000, 500, 93},      // a notch toward the user: one row down
        {186, 120, 93, 2000, 500, 93},     // away from the user: one row up
        {0, -360, 93, 2000, 500, 279},     // three notches
        {0, -40, 93, 2000, 500, 31},       // a smooth wheel's third of a notch
        {1450, -120, 93, 2000, 500, 1500}, // the last row shows in full, no further
        {40, 120, 93, 2000, 500, 0},
        {0, -120, 93, 400, 500, 0},        // nothing to scroll
        {0, -120, 93, 400, -50, 93},       // a window shorter than its bottom band
    };
    for (const Case& c : cases)
        EXPECT_EQ(WheelVerticalPosition(c.pos, c.rotation, c.row, c.content, c.available), c.after)
            << c.pos << " " << c.rotation;
}

TEST(ViewZoom, WindowOfPlacedCursorsIsBroughtIntoView) {
    struct Case {
        int64_t a, b, first, span, samples, after;
    };
    const Case cases[] = {
        {280, 299, 0, 500, 1000, 0},            // on show already: nothing moves
        {280, 299, 0, 100, 1000, 240},          // centred
        {299, 280, 0, 100, 1000, 240},          // either order
        {5, 20, 500, 100, 1000, 0},             // not before the start
        {980, 999, 0, 100, 1000, 900},          // not past the end
        {100, 900, 0, 200, 1000, 100},          // wider than the span: its start at the left
        {999000000, 999000050, 0, 1000, kBillion, 998999525},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FirstSampleShowing(c.a, c.b, c.first, c.span, c.samples), c.after) << c.a << " " << c.b;
}

TEST(ViewZoom, TracesFollowACursorSteppedPastTheirEdgeByTheLeastMove) {
    struct Case {
        int64_t sample, first, span, samples, after, margin = 0;
    };
    const Case cases[] = {
        {150, 100, 100, 1000, 100},   // on show
        {100, 100, 100, 1000, 100},   // the left edge
        {200, 100, 100, 1000, 100},   // the right edge
        {201, 100, 100, 1000, 101},   // one past it: one sample along
        {99, 100, 100, 1000, 99},
        {0, 100, 100, 1000, 0},
        {999, 100, 100, 1000, 899},
        {999, 950, 100, 1000, 950},   // a window already at the end
        {50, 0, 100, 40, 0},          // a record shorter than the window
        {kBillion - 1, 0, 1000, kBillion, kBillion - 1001},
        // Kept clear of the edges by a margin, a quarter of the span at most.
        {195, 100, 100, 1000, 100, 5},
        {196, 100, 100, 1000, 101, 5},
        {104, 100, 100, 1000, 99, 5},
        {2, 100, 100, 1000, 0, 5},
        {997, 100, 100, 1000, 900, 5},
        {180, 100, 100, 1000, 105, 60},  // 25 at most
    };
    for (const Case& c : cases)
        EXPECT_EQ(FirstSampleFollowing(c.sample, c.first, c.span, c.samples, c.margin), c.after) << c.sample << " " << c.first;
}

TEST(ViewZoom, MeasuredSpanGivesFractionsOfTheRow) {
    RowFractions f = MeasuredFractions(110, 140, 100, 100);
    EXPECT_DOUBLE_EQ(f.from, 0.1);
    EXPECT_DOUBLE_EQ(f.to, 0.4);
    EXPECT_FALSE(f.reset);
    f = MeasuredFractions(140, 110, 100, 100);  // dragged upward
    EXPECT_DOUBLE_EQ(f.from, 0.1);
    EXPECT_DOUBLE_EQ(f.to, 0.4);
    EXPECT_TRUE(MeasuredFractions(120.2, 120.7, 100, 100).reset);  // the same pixel
    EXPECT_TRUE(MeasuredFractions(110, 140, 100, 0).reset);
}

TEST(ViewZoom, ScrollBarsNeverGetNegativeSizes) {
    struct Case {
        int64_t max, page, pos;
        int position, thumb, range;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 0, 0},
        {-5, 10, 3, 0, 0, 0},
        {10000, 500, 200, 200, 500, 10001},
        {10000, 500, 20000, 9501, 500, 10001},   // the thumb stays inside
        {10000, -3, -7, 0, 1, 10001},
        {100, 1000, 50, 0, 101, 101},            // a page larger than the range
        {int64_t(1) << 40, 10, 5, 5, 10, INT32_MAX},
    };
    for (const Case& c : cases) {
        const ScrollBarSetting s = ToScrollBar(c.max, c.page, c.pos);
        EXPECT_EQ(s.position, c.position) << c.max << " " << c.page << " " << c.pos;
        EXPECT_EQ(s.thumb, c.thumb) << c.max << " " << c.page << " " << c.pos;
        EXPECT_EQ(s.range, c.range) << c.max << " " << c.page << " " << c.pos;
        EXPECT_GE(s.range - s.thumb - s.position, 0);
    }
}

namespace {

// Four analog channels of 4000 samples in an 800 x 600 client.
void OpenSines(ViewRig& rig) {
    SetUpRecord(rig.doc, 1000, 4000);
    std::vector<CChannel> chs;
    for (int k = 0; k < 4; ++k) {
        std::vector<double> v(4000);
        for (size_t i = 0; i < v.size(); ++i) v[i] = 100 * std::sin(double(i) * 2 * M_PI / 20 + k);
        chs.push_back(Analog(rig.doc, ("U" + std::to_string(k)).c_str(), std::move(v)));
    }
    AddChannels(rig.doc, std::move(chs));
    rig.Open(800, 600);
}

}  // namespace

TEST(ViewCommands, WheelWithItsModifiersZoomsOrScrolls) {
    ViewRig rig;
    OpenSines(rig);
    CTenvorikView& v = *rig.view;
    const double x0 = v.m_xScale;
    v.OnMouseWheel(120, false, true, false);  // CTRL, away from the user: in
    EXPECT_DOUBLE_EQ(v.m_xScale, 2 * x0);
    v.OnMouseWheel(-120, false, true, false);
    EXPECT_DOUBLE_EQ(v.m_xScale, x0);
    v.OnMouseWheel(120, true, false, false);  // ALT: rows taller
    EXPECT_EQ(v.m_analogSize, 121);
    v.OnMouseWheel(-120, true, false, false);
    EXPECT_EQ(v.m_analogSize, 93);
    // Half-notches of a smooth wheel add up to one step.
    v.OnMouseWheel(60, false, true, false);
    EXPECT_DOUBLE_EQ(v.m_xScale, x0);
    v.OnMouseWheel(60, false, true, false);
    EXPECT_DOUBLE_EQ(v.m_xScale, 2 * x0);
    // Plain: the rows scroll by one row a notch, no further than the last row.
    v.OnSize(800, 300);
    v.OnMouseWheel(-120, false, false, false);
    EXPECT_EQ(v.m_yOffset, -93);
    for (int i = 0; i < 20; ++i) v.OnMouseWheel(-120, false, false, false);
    const int available = 300 - v.GetBottomBand() + 2;
    EXPECT_EQ(v.m_yOffset, -(4 * 93 - available));
    EXPECT_EQ(rig.host.v.pos, 4 * 93 - available);
    // SHIFT pages through time as the bar's page does, and back.
    ASSERT_EQ(v.m_firstSample, 0);
    const int64_t n = 4000, span = v.m_visibleSpan, step = span * 10000 / n;
    v.OnMouseWheel(-120, false, false, true);
    EXPECT_EQ(v.m_firstSample, (n - span) * step / 10000);
    v.OnMouseWheel(120, false, false, true);
    EXPECT_EQ(v.m_firstSample, 0);
}

TEST(ViewCommands, RefusedZoomStillWritesTheViewAndMarksTheRecord) {
    ViewRig rig;
    OpenSines(rig);
    CTenvorikView& v = *rig.view;
    v.m_analogSize = 500;
    rig.doc.SetModifiedFlag(false);
    EXPECT_FALSE(v.GetViewCommandState(ID_ZOOM_VERTICAL_IN).enabled);
    v.OnMouseWheel(120, true, false, false);
    EXPECT_EQ(v.m_analogSize, 500);
    EXPECT_TRUE(rig.doc.IsModified());
    SettingsNode& view = rig.doc.m_settings.GetCategory(L"View");
    EXPECT_EQ(view.GetInt(L"YAnalogSize", 0), 500);
    // At the fit scale nothing zooms out; at 1.0 nothing zooms in.
    v.m_xScale = v.GetFitScale();
    EXPECT_FALSE(v.GetViewCommandState(ID_ZOOM_HORIZONTAL_OUT).enabled);
    v.OnZoomCommand(ID_ZOOM_HORIZONTAL_OUT);
    EXPECT_DOUBLE_EQ(v.m_xScale, v.GetFitScale());
    v.m_xScale = 1.0;
    EXPECT_FALSE(v.GetViewCommandState(ID_ZOOM_HORIZONTAL_IN).enabled);
    v.OnZoomCommand(ID_ZOOM_HORIZONTAL_IN);
    EXPECT_DOUBLE_EQ(v.m_xScale, 1.0);
    EXPECT_DOUBLE_EQ(view.GetDouble(L"XScale", 0), 1.0);
}

TEST(ViewCommands, HorizontalZoomOutKeepsTheFirstShownCursor) {
    ViewRig rig;
    OpenSines(rig);
    CTenvorikView& v = *rig.view;
    v.m_xScale = 0.5;
    v.m_firstSample = 300;
    rig.doc.m_cursors.m_cursors[1].shown = true;
    rig.doc.m_cursors.m_cursors[1].position = 400;
    v.OnZoomCommand(ID_ZOOM_HORIZONTAL_OUT);
    EXPECT_DOUBLE_EQ(v.m_xScale, 0.25);
    EXPECT_EQ(v.m_firstSample, 200);
}

TEST(ViewCommands, MeasuredSpanZoomsTheRowAndRestoreTakesItBack) {
    ViewRig rig;
    OpenSines(rig);
    CTenvorikView& v = *rig.view;
    const int x = v.m_leftWidth + 100;
    v.OnViewCommand(ID_ZOOM_SELECTED_AREA);
    EXPECT_EQ(v.m_mouseMode, 7);
    EXPECT_TRUE(v.GetViewCommandState(ID_ZOOM_SELECTED_AREA).checked);
    // The second row (93 .. 185): from 20% to 60% of it.
    v.OnButtonDown(x, 93 + 18, true, false);
    EXPECT_EQ(v.m_mouseMode, 8);
    v.OnMouseMove(x, 93 + 55);
    v.OnMouseMove(x, 93 + 500);  // held inside the row
    EXPECT_DOUBLE_EQ(v.m_measureY2, 93 + 92);
    v.OnMouseMove(x, 93 + 55);
    v.OnButtonUp();
    EXPECT_EQ(v.m_mouseMode, 0);
    const CChannel& ch = rig.doc.m_oscillogram.m_channels[1];
    EXPECT_TRUE(ch.m_zoomed);
    EXPECT_NEAR(ch.m_zoomFrom, 18.0 / 93, 1e-12);
    EXPECT_NEAR(ch.m_zoomTo, 55.0 / 93, 1e-12);
    EXPECT_FALSE(rig.doc.m_oscillogram.m_channels[0].m_zoomed);
    // Restore acts on the selected channels.
    v.OnViewCommand(ID_RESTORE_SIZE);
    EXPECT_TRUE(rig.doc.m_oscillogram.m_channels[1].m_zoomed);
    rig.doc.m_oscillogram.m_channels[1].m_selected = true;
    v.OnViewCommand(ID_RESTORE_SIZE);
    EXPECT_FALSE(rig.doc.m_oscillogram.m_channels[1].m_zoomed);
    // A press on no row leaves the measurement, and a click on one spot resets the zoom.
    v.OnViewCommand(ID_ZOOM_SELECTED_AREA);
    v.OnButtonDown(x, 4 * 93 + 10, true, false);
    EXPECT_EQ(v.m_mouseMode, 0);
    rig.doc.m_oscillogram.m_channels[2].SetVerticalZoom(0.2, 0.4);
    v.OnViewCommand(ID_ZOOM_SELECTED_AREA);
    v.OnButtonDown(x, 2 * 93 + 30, true, false);
    v.OnButtonUp();
    EXPECT_FALSE(rig.doc.m_oscillogram.m_channels[2].m_zoomed);
}

TEST(ViewCommands, TimeUnitsAndGridAreRadioAndCheckAndKeptInTheRecord) {
    ViewRig rig;
    OpenSines(rig);
    CTenvorikView& v = *rig.view;
    const std::pair<unsigned, int> units[] = {{ID_TIME_MICROSECONDS, 0}, {ID_TIME_MILLISECONDS, 1}, {ID_TIME_SECONDS, 2},
                                              {ID_TIME_ABSOLUTE, 3},     {ID_TIME_SAMPLES, 4}};
    SettingsNode& view = rig.doc.m_settings.GetCategory(L"View");
    for (const auto& [id, unit] : units) {
        rig.doc.SetModifiedFlag(false);
        EXPECT_TRUE(v.OnViewCommand(id));
        EXPECT_EQ(v.m_timeUnit, unit);
        EXPECT_EQ(view.GetInt(L"RulerState", -1), unit);
        EXPECT_TRUE(rig.doc.IsModified());
        for (const auto& [other, u] : units) EXPECT_EQ(v.GetViewCommandState(other).checked, u == unit);
    }
    EXPECT_TRUE(v.GetViewCommandState(ID_GRID).checked);
    v.OnViewCommand(ID_GRID);
    EXPECT_FALSE(v.m_grid);
    EXPECT_FALSE(v.GetViewCommandState(ID_GRID).checked);
    EXPECT_EQ(view.GetInt(L"Sells", -1), 0);
}

TEST(ViewCommands, CursorAndChannelCommandsAreAnsweredWithTheirStates) {
    ViewRig rig;
    OpenSines(rig);
    CTenvorikView& v = *rig.view;
    EXPECT_FALSE(v.GetViewCommandState(ID_CURSOR_V3).checked);
    EXPECT_TRUE(v.OnViewCommand(ID_CURSOR_V3));
    EXPECT_TRUE(rig.doc.m_cursors.m_cursors[2].shown);
    EXPECT_TRUE(v.GetViewCommandState(ID_CURSOR_V3).checked);
    // Curve kinds act on the selected channels: none selected, nothing to act on.
    EXPECT_FALSE(v.GetViewCommandState(ID_CHANNEL_CURVE_RMS).enabled);
    rig.doc.m_oscillogram.m_channels[0].m_selected = true;
    EXPECT_TRUE(v.GetViewCommandState(ID_CHANNEL_CURVE_RMS).enabled);
    v.OnViewCommand(ID_CHANNEL_CURVE_RMS);
    EXPECT_TRUE(rig.doc.m_oscillogram.m_channels[0].m_flags & CHF_CURVE_RMS);
    EXPECT_TRUE(v.GetViewCommandState(ID_CHANNEL_CURVE_RMS).checked);
    // A command the view does not answer (the channel list is the document's) is left to others.
    EXPECT_FALSE(v.OnViewCommand(32862));
    EXPECT_FALSE(v.GetViewCommandState(32862).known);
}

TEST(ViewCommands, PlacedFaultWindowScrollsIntoView) {
    ViewRig rig;
    OpenSines(rig);
    CTenvorikView& v = *rig.view;
    v.m_xScale = 1.0;
    v.RecalcLayout();
    ASSERT_LT(v.m_visibleSpan, 100);
    rig.doc.m_cursors.m_view->ShowSamples(3000, 3019);
    EXPECT_LE(v.m_firstSample, 3000);
    EXPECT_GE(v.m_firstSample + v.m_visibleSpan, 3019);
}

// A window placed by the fault locator is shown with both cursors and their labels whole: one
// wider than the view is zoomed out to, one at the record's end keeps its last label inside the
// traces.
TEST(ViewCommands, PlacedCursorsAndTheirLabelsAreWhollyInView) {
    struct Case {
        double xscale;
        int64_t a, b;
    };
    for (const Case& c : {Case{1.0 / 8, 100, 3999}, Case{1.0, 3975, 3999}, Case{1.0, 0, 12}, Case{0.5, 2000, 2030}}) {
        SCOPED_TRACE(c.b);
        ViewRig rig;
        OpenSines(rig);
        CTenvorikView& v = *rig.view;
        v.m_xScale = c.xscale;
        v.RecalcLayout();
        auto& cur = rig.doc.m_cursors.m_cursors;
        cur[0] = CursorMarker{true, int(c.a), 0, -1};
        cur[1] = CursorMarker{true, int(c.b), 0, -1};
        // Green curves and names: whatever is red or blue at the top is a cursor's.
        for (CChannel& ch : rig.doc.GetOscillogram().m_channels) ch.m_customColorSet = true, ch.m_customColor = RGB(0, 128, 0);
        rig.doc.m_showCursorDifference = true;
        rig.Render();  // the caption column measured, as on the screen before any location
        rig.doc.m_cursors.m_view->ShowSamples(c.a, c.b);
        CBitmap& bmp = rig.Render();
        const int W = v.m_leftWidth, width = bmp.GetSize().cx;
        EXPECT_LE(v.m_firstSample, c.a);
        EXPECT_GE(v.m_firstSample + v.m_visibleSpan, c.b);
        // Both lines lie on the traces, clear of the right edge (the first sample of a record
        // shown from its start lies on the left one).
        for (int64_t s : {c.a, c.b}) {
            const double x = W + double(s - v.m_firstSample) * 25 * v.m_xScale;
            EXPECT_GE(x, W);
            EXPECT_LT(x, width - 2);
        }
        // The labels' text (red-ish В1, blue-ish В2) at the top: drawn, and nothing of it over
        // the caption column (above its own blue values) or in the last columns, where a cut
        // label would end.
        int inside = 0, outside = 0;
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < width; ++x) {
                const COLORREF p = bmp.GetPixel(x, y);
                const bool label = (GetBValue(p) > GetRValue(p) + 60 && GetBValue(p) > GetGValue(p) + 60) ||
                                   (GetRValue(p) > GetBValue(p) + 60 && GetRValue(p) > GetGValue(p) + 60);
                if (!label) continue;
                if (x >= width - 2 || (x <= W && y < 5)) ++outside;
                else if (x > W) ++inside;
            }
        EXPECT_GE(inside, 10);
        EXPECT_EQ(outside, 0);
        // The difference panel's time labels under the cursors are whole too.
        const int height = bmp.GetSize().cy;
        int cut = 0;
        for (int y = height - 75; y < height - 30; ++y)
            for (int x = width - 2; x < width; ++x) cut += bmp.GetPixel(x, y) != RGB(255, 255, 255) && GetBValue(bmp.GetPixel(x, y)) > GetRValue(bmp.GetPixel(x, y)) + 40;
        EXPECT_EQ(cut, 0);
        // A scroll bar coming takes some width: the cursors stay in view.
        v.OnSize(width - 16, 600);
        EXPECT_LE(v.m_firstSample, c.a);
        EXPECT_GE(v.m_firstSample + v.m_visibleSpan, c.b);
    }
}
