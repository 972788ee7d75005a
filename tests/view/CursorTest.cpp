#include <gtest/gtest.h>

#include "ViewFixture.h"
#include "model/AppOptions.h"
#include "model/TimeText.h"

using namespace viewtest;

namespace {

// A record of `n` samples at `rate` with two analog channels and a discrete one, in a view.
struct CursorRig : ViewRig {
    CursorRig(int rate = 1000, size_t n = 1000) {
        SetUpRecord(doc, rate, n);
        std::vector<double> ramp(n), flat(n, 2.0), bits(n, 0.0);
        for (size_t i = 0; i < n; ++i) ramp[i] = double(i % 100) - 50;  // -50 .. 49
        AddChannels(doc, {Analog(doc, "U", ramp, L"V"), Analog(doc, "Flat", flat, L"A"), Discrete(doc, "D", bits)});
        for (auto& ch : doc.GetOscillogram().m_channels) ch.m_flags &= ~(CHF_SHOW_RMS | CHF_SHOW_HARMONIC);
        Open(1000, 700);
    }
    CursorSet& cursors() { return doc.m_cursors; }
};

}  // namespace

TEST(Cursors, ReadoutsInEveryTimeUnit) {
    CursorRig rig;
    rig.doc.GetOscillogram().m_timeReferenceSample = 100;
    rig.doc.GetOscillogram().m_startTime = L"23:59:59.9996";
    CursorSet& c = rig.cursors();
    c.SetPosition(0, 100);
    c.SetPosition(1, 98);
    struct Case {
        int unit;
        const wchar_t *p0, *p1, *p2;
    } cases[] = {
        {oscview::kSamples, L"Верт. визир 1: 1", L"Верт. визир 2: -1", L"Разница. верт. визиров: 2"},
        {oscview::kMicroseconds, L"Верт. визир 1: 0 мкс", L"Верт. визир 2: -2000 мкс", L"Разница. верт. визиров: 2000 мкс"},
        {oscview::kMilliseconds, L"Верт. визир 1: 0 мс", L"Верт. визир 2: -2 мс", L"Разница. верт. визиров: 2 мс"},
        {oscview::kSeconds, L"Верт. визир 1: 0.000 сек.", L"Верт. визир 2: -0.002 сек.", L"Разница. верт. визиров: 0.002 сек."},
        // The time of day counts from the record's first sample; no ".1000" milliseconds.
        {oscview::kTimeOfDay, L"Верт. визир 1: 00:00:00.100", L"Верт. визир 2: 00:00:00.098", L"Разница. верт. визиров: 00.002"},
    };
    for (const Case& k : cases) {
        rig.view->m_timeUnit = k.unit;
        c.UpdateReadouts();
        EXPECT_EQ(rig.host.panes[0], CString(k.p0)) << k.unit;
        EXPECT_EQ(rig.host.panes[1], CString(k.p1)) << k.unit;
        EXPECT_EQ(rig.host.panes[2], CString(k.p2)) << k.unit;
    }
    // Hidden cursors give the bare labels; a start time without digits leaves the panes empty.
    c.m_cursors[1].shown = false;
    rig.view->m_timeUnit = oscview::kMilliseconds;
    c.UpdateReadouts();
    EXPECT_EQ(rig.host.panes[1], CString(L"Верт. визир 2:"));
    EXPECT_EQ(rig.host.panes[2], CString(L"Разница. верт. визиров:"));
    c.m_cursors[1].shown = true;
    rig.doc.GetOscillogram().m_startTime = L"--";
    rig.view->m_timeUnit = oscview::kTimeOfDay;
    c.UpdateReadouts();
    EXPECT_EQ(rig.host.panes[0], CString());
    EXPECT_EQ(rig.host.panes[2], CString());
}

TEST(Cursors, MillisecondRoundingAndTimesPast32Bits) {
    // Ten million samples at 4 kHz: 2500 s, past what 32 bits of microseconds hold.
    CursorRig rig(4000, 10);
    SetUpRecord(rig.doc, 4000, 10000000);
    rig.doc.GetOscillogram().m_channels[0].m_samples.assign(10000000, 1.0);
    rig.doc.GetOscillogram().RecalcAll(false);
    CursorSet& c = rig.cursors();
    c.SetPosition(0, 9999999);
    c.SetPosition(1, 6);  // 1500 us
    rig.view->m_timeUnit = oscview::kMicroseconds;
    c.UpdateReadouts();
    EXPECT_EQ(rig.host.panes[0], CString(L"Верт. визир 1: 2499999750 мкс"));
    EXPECT_EQ(rig.host.panes[2], CString(L"Разница. верт. визиров: 2499998250 мкс"));
    rig.view->m_timeUnit = oscview::kMilliseconds;
    c.UpdateReadouts();
    // To the quarter millisecond that 4 kHz gives, not cut to whole milliseconds.
    EXPECT_EQ(rig.host.panes[1], CString(L"Верт. визир 2: 1.50 мс"));
    EXPECT_EQ(rig.host.panes[0], CString(L"Верт. визир 1: 2499999.75 мс"));
    // A cursor never goes past the last sample.
    c.SetPosition(2, 20000000);
    EXPECT_EQ(c.m_cursors[2].position, 9999999);
    c.SetPosition(2, -5);
    EXPECT_EQ(c.m_cursors[2].position, 0);
}

TEST(Cursors, MovingHandsPositionsToTheLocatorAndRewritesReadouts) {
    CursorRig rig;
    CursorSet& c = rig.cursors();
    rig.view->m_timeUnit = oscview::kSamples;
    const int left = rig.view->m_leftWidth;
    // 25 x 0.4 = 10 pixels per sample: x = left + 35 is 3.5 samples, rounded up.
    c.MoveVerticalCursor(true, left, 0, left + 35, 0.4);
    EXPECT_EQ(c.m_cursors[0].position, 4);
    c.MoveVerticalCursor(false, left, 10, left + 34, 0.4);
    EXPECT_EQ(c.m_cursors[1].position, 13);
    EXPECT_EQ(rig.host.locator, std::make_pair(4, 13));
    EXPECT_EQ(rig.host.panes[0], CString(L"Верт. визир 1: 5"));
    EXPECT_EQ(rig.host.panes[2], CString(L"Разница. верт. визиров: 9"));
    EXPECT_GE(rig.host.diagramUpdates, 2);
    c.MoveThirdCursor(left, 0, left - 100, 0.4);
    EXPECT_EQ(c.m_cursors[2].position, 0);
    EXPECT_EQ(rig.host.locator, std::make_pair(4, 13));
}

TEST(Cursors, LevelCursorsBindToRowsAndSurviveFlatAndRemovedChannels) {
    CursorRig rig;
    CursorSet& c = rig.cursors();
    oscview::CTenvorikView& v = *rig.view;
    const int h0 = v.GetChannelHeightAt(0), h1 = v.GetChannelHeightAt(1);
    // The first row's top pixel line is the channel's maximum, 5 pixels down.
    c.PlaceLevelCursor(true, 0, 10, 5);
    EXPECT_EQ(c.m_cursors[3].channel, 0);
    EXPECT_DOUBLE_EQ(c.m_cursors[3].level, 49.0);
    EXPECT_EQ(c.ValueToY(0, 0, 49.0), 5);
    EXPECT_EQ(c.ValueToY(0, 0, -50.0), h0 - 5);
    EXPECT_EQ(rig.host.panes[3], CString(L"Гор. визир 1:   49 В"));
    // The last pixel line of a row binds nothing.
    c.PlaceLevelCursor(false, 0, 10, h0 - 1);
    EXPECT_EQ(c.m_cursors[4].channel, -1);
    // A flat channel: its level lies in the row's middle, nothing divides by zero.
    c.PlaceLevelCursor(false, 0, 10, h0 + 20);
    EXPECT_EQ(c.m_cursors[4].channel, 1);
    EXPECT_EQ(c.ValueToY(1, 0, c.m_cursors[4].level), h0 + h1 - h1 / 2);
    EXPECT_EQ(rig.host.panes[5], CString(L"Разница г. визиров:"));
    // Both on one channel: the difference with its unit prefix.
    c.m_cursors[4] = {true, 0, 48.5, 0};
    c.UpdateLevelDifference();
    EXPECT_EQ(rig.host.panes[5], CString(L"Разница г. визиров: 500 мВ"));
    // A hit on each cursor.
    c.SetPosition(0, 10);
    EXPECT_EQ(c.HitTest(v.m_leftWidth + int(10 * 25 * v.m_xScale) + 2, 300, 0, v.m_leftWidth, 0, v.m_xScale), 1);
    EXPECT_EQ(c.HitTest(900, 6, 0, v.m_leftWidth, 0, v.m_xScale), 4);
    EXPECT_EQ(c.HitTest(900, 40, 0, v.m_leftWidth, 0, v.m_xScale), 0);
    // The channel a cursor was bound to is removed: the cursor lets go, nothing reads past the end.
    rig.doc.GetOscillogram().m_channels.erase(rig.doc.GetOscillogram().m_channels.begin() + 1,
                                              rig.doc.GetOscillogram().m_channels.end());
    rig.doc.GetOscillogram().m_analogCount = 1;
    rig.doc.GetOscillogram().m_discreteCount = 0;
    c.m_cursors[4] = {true, 0, 1.0, 2};
    c.UpdateReadouts();
    EXPECT_FALSE(c.m_cursors[4].shown);
    EXPECT_EQ(c.ValueToY(7, 0, 1.0), -1);
    rig.Render();
}

TEST(Cursors, LevelCursorsFollowTheirCurveToPrimaryValuesAndBack) {
    CursorRig rig;
    CursorSet& c = rig.cursors();
    oscview::CTenvorikView& v = *rig.view;
    CChannel& u = rig.doc.GetOscillogram().m_channels[0];
    u.m_primary = 110000;  // a 110 kV / 100 V transformer
    u.m_secondary = 100;
    const int h0 = v.GetChannelHeightAt(0);
    c.PlaceLevelCursor(true, 0, 10, 5);           // 49 V
    c.PlaceLevelCursor(false, 0, 10, h0 / 2 + 3);  // a little under 0 V
    const double low = c.m_cursors[4].level;
    const int y1 = c.ValueToY(0, 0, c.m_cursors[3].level), y2 = c.ValueToY(0, 0, low);
    ASSERT_NE(y1, y2);
    EXPECT_EQ(rig.host.panes[3], CString(L"Гор. визир 1:   49 В"));

    struct Step {
        unsigned command;
        double factor;
        const wchar_t* first;
        const wchar_t* difference;
    } steps[] = {
        {ID_SHOW_PRIMARY_VALUES, 1100, L"Гор. визир 1: 53.9 кВ", L"кВ"},
        {ID_SHOW_SECONDARY_VALUES, 1, L"Гор. визир 1:   49 В", L" В"},
    };
    for (const Step& s : steps) {
        EXPECT_TRUE(v.OnChannelCommand(s.command));
        EXPECT_NEAR(c.m_cursors[3].level, 49.0 * s.factor, 1e-9 * s.factor);
        EXPECT_NEAR(c.m_cursors[4].level, low * s.factor, 1e-9 * s.factor);
        // Where they were on the curve, not both on its zero line.
        EXPECT_NEAR(c.ValueToY(0, 0, c.m_cursors[3].level), y1, 1) << s.command;
        EXPECT_NEAR(c.ValueToY(0, 0, c.m_cursors[4].level), y2, 1) << s.command;
        EXPECT_EQ(rig.host.panes[3], CString(s.first));
        EXPECT_GE(rig.host.panes[5].Find(s.difference), 0) << rig.host.panes[5].str();
    }
}

TEST(Cursors, TogglingPlacesAHorizontalCursorOnFirstUse) {
    CursorRig rig;
    CursorSet& c = rig.cursors();
    c.OnToggleCursor(ID_CURSOR_H2);
    EXPECT_TRUE(c.m_cursors[4].shown);
    EXPECT_EQ(c.m_cursors[4].channel, 0);  // the row that holds y = 20
    c.OnToggleCursor(ID_CURSOR_H2);
    EXPECT_FALSE(c.m_cursors[4].shown);
    c.OnToggleCursor(ID_CURSOR_V3);
    EXPECT_TRUE(c.IsCursorShown(ID_CURSOR_V3));
    EXPECT_EQ(rig.host.panes[4], CString(L"Гор. визир 2:"));
}

TEST(Cursors, DrawnWhereTheTracesPutTheirSamples) {
    CursorRig rig;
    CursorSet& c = rig.cursors();
    oscview::CTenvorikView& v = *rig.view;
    v.SetXScale(0.4);
    c.SetPosition(0, 10);
    c.SetPosition(1, 30);
    rig.Render();
    CBitmap& pic = rig.Render();
    const int W = v.m_leftWidth;
    EXPECT_EQ(pic.GetPixel(W + 100, 300), RGB(255, 100, 100));
    EXPECT_EQ(pic.GetPixel(W + 300, 300), RGB(100, 100, 255));
    // Several samples per pixel: the column that holds the sample.
        // 10001 samples over 996 columns: sample 500 is in column 49.
    EXPECT_EQ(CursorSet::CursorX(500, 100, 1100, 0, 0.004, 100000), 100 + 49);
    EXPECT_EQ(CursorSet::CursorX(5, 100, 1100, 10, 0.004, 100000), 100 + int((5 - 10) * 0.1));
    // Two cursors on one x: the second in the third colour.
    c.SetPosition(1, 10);
    CBitmap& again = rig.Render();
    EXPECT_EQ(again.GetPixel(W + 100, 300), RGB(0, 160, 0));
}

TEST(Cursors, MouseAndKeysMoveCursorsAndRewriteReadoutsAtOnce) {
    CursorRig rig;
    oscview::CTenvorikView& v = *rig.view;
    rig.Render();
    v.SetXScale(0.4);
    v.SetTimeUnit(oscview::kSamples);
    const int W = v.m_leftWidth;
    v.OnButtonDown(W + 100, 50, true, false);  // place В1 on sample 10
    EXPECT_EQ(rig.host.panes[0], CString(L"Верт. визир 1: 11"));
    v.OnButtonUp();
    v.OnButtonDown(W + 101, 50, true, false);  // grab it
    EXPECT_EQ(v.m_mouseMode, 1);
    v.OnMouseMove(W + 200, 60);
    EXPECT_EQ(rig.host.panes[0], CString(L"Верт. визир 1: 21"));
    v.OnButtonUp();
    v.OnArrowKey(oscview::CTenvorikView::kArrowRight, false);
    EXPECT_EQ(rig.host.panes[0], CString(L"Верт. визир 1: 22"));
    v.OnArrowKey(oscview::CTenvorikView::kArrowLeft, true);  // В2 at 0 stays at 0
    EXPECT_EQ(rig.host.panes[1], CString(L"Верт. визир 2: 1"));
    // SHIFT places ГВ1 on the row under the point; the arrow keys step it a pixel.
    v.OnButtonDown(W + 50, 5, true, true);
    EXPECT_EQ(rig.doc.m_cursors.m_cursors[3].channel, 0);
    const double top = rig.doc.m_cursors.m_cursors[3].level;
    v.OnArrowKey(oscview::CTenvorikView::kArrowDown, false);
    EXPECT_LT(rig.doc.m_cursors.m_cursors[3].level, top);
    // The never-placed В3 goes to three quarters of the traces.
    v.OnToggleCursorCommand(ID_CURSOR_V3);
    EXPECT_EQ(rig.doc.m_cursors.m_cursors[2].position, int(CursorSet::SampleFromX(W, 0, W + 3 * ((1000 - W) / 4), 0.4)));
}

// A cursor stepped with the arrows to the traces' edge takes the traces along, a sample at a
// time, with room for its label (a sample at this scale), and the scroll bar follows; one on
// show leaves them where they are.
TEST(Cursors, ArrowKeysScrollTheTracesToFollowTheCursor) {
    CursorRig rig;
    oscview::CTenvorikView& v = *rig.view;
    rig.Render();
    v.SetXScale(1.0);
    v.RecalcLayout();
    const int64_t span = v.m_visibleSpan;
    ASSERT_GT(span, 10);
    ASSERT_LT(span, 900);
    rig.doc.m_cursors.SetPosition(0, span - 1);
    for (int k = 0; k < 5; ++k) v.OnArrowKey(oscview::CTenvorikView::kArrowRight, false);
    EXPECT_EQ(rig.doc.m_cursors.m_cursors[0].position, span + 4);
    EXPECT_EQ(v.m_firstSample, 5);
    EXPECT_EQ(rig.host.h.pos, v.m_hScrollPos);
    EXPECT_GT(v.m_hScrollPos, 0);
    // Back inside the window: nothing moves; past its left edge, along again.
    for (int k = 0; k < 6; ++k) v.OnArrowKey(oscview::CTenvorikView::kArrowLeft, false);
    EXPECT_EQ(v.m_firstSample, 5);
    for (int k = 0; k < span; ++k) v.OnArrowKey(oscview::CTenvorikView::kArrowLeft, false);
    EXPECT_EQ(v.m_firstSample, 0);
    // В2 (with CTRL) at the record's end: the window ends there too.
    rig.doc.m_cursors.SetPosition(1, 990);
    for (int k = 0; k < 20; ++k) v.OnArrowKey(oscview::CTenvorikView::kArrowRight, true);
    EXPECT_EQ(rig.doc.m_cursors.m_cursors[1].position, 999);
    EXPECT_EQ(v.m_firstSample, 1000 - span);  // the last sample at the right edge
}

TEST(Cursors, ThePointerShowsWhatAPressWouldTake) {
    using P = oscview::CTenvorikView::Pointer;
    CursorRig rig;
    oscview::CTenvorikView& v = *rig.view;
    rig.Render();
    v.SetXScale(0.4);
    const int W = v.m_leftWidth;
    EXPECT_EQ(v.PointerAt(W + 100, 50), P::Default);
    v.OnButtonDown(W + 100, 50, true, false);  // В1 placed here
    EXPECT_EQ(v.PointerAt(W + 100, 50), P::SizeWE);  // while it is dragged
    v.OnButtonUp();
    EXPECT_EQ(v.PointerAt(W + 101, 70), P::SizeWE);  // over it
    EXPECT_EQ(v.PointerAt(W + 300, 70), P::Default);
    EXPECT_EQ(v.PointerAt(W - 10, 70), P::Default);  // the caption column
    v.OnButtonDown(W + 300, 5, true, true);  // ГВ1 placed by SHIFT
    EXPECT_EQ(v.PointerAt(W + 300, 5), P::SizeNS);
    v.OnButtonUp();
    v.m_mouseMode = 7;  // armed for a vertical measurement
    EXPECT_EQ(v.PointerAt(W + 500, 40), P::UpArrow);
    v.m_mouseMode = 0;
}
