#include <gtest/gtest.h>

#include "ViewFixture.h"
#include "model/SettingsStore.h"
#include "model/TimeText.h"

using namespace viewtest;
using namespace oscview;

TEST(ViewScroll, RangeAndPositionsStayRightFarPast32Bits) {
    // A record that fits gives no range.
    HorizontalScroll h = ComputeHorizontalScroll(100, 200, 0);
    EXPECT_EQ(h.max, 0);
    EXPECT_EQ(h.pos, 0);
    h = ComputeHorizontalScroll(100, 100, 0);
    EXPECT_EQ(h.max, 0);
    // Ten million samples: first * 10000 overflows 32 bits.
    const int64_t n = 10000000, v = 1500;
    h = ComputeHorizontalScroll(n, v, n - v);
    EXPECT_EQ(h.page, v * 10000 / (n - v));
    EXPECT_EQ(h.pos, 10000);
    int64_t pos = 0, first = 0;
    ApplyHorizontalScroll(kThumbTrack, 5000, n, v, pos, first);
    EXPECT_EQ(first, (n - v) / 2);
    ApplyHorizontalScroll(kThumbTrack, 10000, n, v, pos, first);
    EXPECT_EQ(first, n - v);
    ApplyHorizontalScroll(kPageDown, 0, n, v, pos, first);
    EXPECT_EQ(first, n - v);
    EXPECT_EQ(pos, 10000);
    ApplyHorizontalScroll(kLineUp, 0, n, v, pos, first);
    EXPECT_EQ(pos, 10000 - v * 10000 / n);
    EXPECT_EQ(first, (n - v) * pos / 10000);
    // Nothing to scroll: no change, no division by zero.
    pos = 3, first = 0;
    ApplyHorizontalScroll(kPageDown, 0, 0, 0, pos, first);
    ApplyHorizontalScroll(kPageDown, 0, 50, 80, pos, first);
    EXPECT_EQ(pos, 3);
    EXPECT_EQ(first, 0);
}

TEST(ViewSettings, DamagedValuesAreClampedAndGoodOnesKept) {
    struct Case {
        const wchar_t *xscale, *analog, *ruler, *sells;
        double wantX;
        int wantAnalog, wantRuler;
        bool wantGrid;
    } cases[] = {
        {L"0", L"0", L"9", L"0", 1.0 / 64, 93, 1, false},
        {L"-2", L"-40", L"-1", L"NaN", 1.0 / 64, 93, 1, true},
        {L"nan", L"100000", L"4", L"7", 1.0 / 64, 5000, 4, true},
        {L"inf", L"120", L"3", L"-3", 1.0 / 64, 120, 3, true},
        {L"0.5", L"93", L"0", L"1", 0.5, 93, 0, true},
    };
    for (const Case& c : cases) {
        ViewRig rig;
        SetUpRecord(rig.doc, 1000, 4000);
        AddChannels(rig.doc, {Analog(rig.doc, "U", std::vector<double>(4000, 1.0))});
        SettingsNode& v = rig.doc.m_settings.GetCategory(L"View");
        v.SetString(L"XScale", c.xscale);
        v.SetString(L"YAnalogSize", c.analog);
        v.SetString(L"RulerState", c.ruler);
        v.SetString(L"Sells", c.sells);
        rig.Open(1000, 600);
        EXPECT_DOUBLE_EQ(rig.view->m_xScale, c.wantX) << c.xscale;
        EXPECT_EQ(rig.view->m_analogSize, c.wantAnalog) << c.analog;
        EXPECT_EQ(rig.view->m_timeUnit, c.wantRuler) << c.ruler;
        EXPECT_EQ(rig.view->m_grid, c.wantGrid) << c.sells;
        // The damaged scale still paints.
        rig.Render();
    }
}

TEST(ViewSettings, NewRecordOpensAtTwiceTheFitScaleAndChangesAreWrittenBack) {
    ViewRig rig;
    SetUpRecord(rig.doc, 1000, 4000);
    AddChannels(rig.doc, {Analog(rig.doc, "U", std::vector<double>(4000, 1.0))});
    rig.Open(1000, 600);
    EXPECT_DOUBLE_EQ(rig.view->GetFitScale(), 1.0 / 128);
    EXPECT_DOUBLE_EQ(rig.view->m_xScale, 1.0 / 64);
    rig.view->SetXScale(0.25);
    rig.view->SetGrid(false);
    SettingsNode& v = rig.doc.m_settings.GetCategory(L"View");
    EXPECT_EQ(v.GetString(L"XScale", L""), CString(L"0.250000"));
    EXPECT_EQ(v.GetInt(L"Sells", 1), 0);
    EXPECT_TRUE(rig.doc.IsModified());
}

TEST(ViewRows, HeightsOfRowsAndStrips) {
    ViewRig rig;
    SetUpRecord(rig.doc, 1000, 100);
    std::vector<double> s(100, 1.0);
    AddChannels(rig.doc, {Analog(rig.doc, "U1", s), Analog(rig.doc, "U2", s), Analog(rig.doc, "U3", s),
                          Analog(rig.doc, "U4", s), Analog(rig.doc, "U5", s), Discrete(rig.doc, "D1", s),
                          Discrete(rig.doc, "D2", s)});
    auto& chs = rig.doc.GetOscillogram().m_channels;
    rig.Open(800, 600);
    auto& view = *rig.view;
    for (auto& ch : chs) ch.m_flags &= ~(CHF_SHOW_RMS | CHF_SHOW_HARMONIC);
    const int L = view.m_captionLineHeight;
    ASSERT_GT(L, 5);
    chs[0].m_flags |= CHF_SHOW_MINMAX | CHF_INVERT;
    view.m_analogSize = 10;
    EXPECT_EQ(view.GetChannelHeight(chs[0]), L + 10 + 2 * L + 23);
    view.m_analogSize = 500;
    EXPECT_EQ(view.GetChannelHeight(chs[0]), 500);
    view.m_analogSize = 93;
    chs[1].m_flags &= ~CHF_VISIBLE;
    EXPECT_EQ(view.GetChannelHeight(chs[1]), 0);
    EXPECT_EQ(view.GetChannelHeight(chs[5]), 20);
    // A strip of three: only its first channel has a height.
    rig.doc.m_channelGroups[L"g"] = {"U3", "U4", "U5"};
    const int block = L + 33;
    EXPECT_EQ(view.GetChannelHeight(chs[2]), std::max(3 * block, 93));
    EXPECT_EQ(view.GetChannelHeight(chs[3]), 0);
    EXPECT_EQ(view.GetChannelHeight(chs[4]), 0);
    view.m_analogSize = 20;
    EXPECT_EQ(view.GetChannelHeight(chs[2]), 3 * block);
    // A group naming a channel that is gone still lays out.
    rig.doc.m_channelGroups[L"g"].insert("gone");
    EXPECT_EQ(view.GetChannelHeight(chs[2]), 3 * block);
    // Hit tests walk visible rows; the hidden one takes no room.
    const int h0 = view.GetChannelHeight(chs[0]);
    view.m_leftWidth = 100;
    EXPECT_EQ(view.ChannelFromPoint(200, 0), &chs[0]);
    EXPECT_EQ(view.ChannelFromPoint(200, h0), &chs[2]);
    EXPECT_EQ(view.ChannelFromPoint(100, 0), nullptr);
    EXPECT_EQ(view.ChannelFromPoint(200, h0 + 3 * block), &chs[5]);
    EXPECT_EQ(view.ChannelFromPoint(200, h0 + 3 * block + 40), nullptr);
    EXPECT_EQ(view.GetDiscreteHeight(), 40);
}

TEST(ViewRows, ShortContentHasNoVerticalRangeAndTallContentScrolls) {
    ViewRig rig;
    SetUpRecord(rig.doc, 1000, 100);
    std::vector<CChannel> chs;
    for (int i = 0; i < 20; ++i) chs.push_back(Analog(rig.doc, ("U" + std::to_string(i)).c_str(), std::vector<double>(100, 1.0)));
    AddChannels(rig.doc, std::move(chs));
    rig.Open(800, 5000);
    EXPECT_EQ(rig.view->m_yOffset, 0);
    EXPECT_EQ(rig.host.v.max, 0);
    rig.view->OnSize(800, 400);
    EXPECT_EQ(rig.host.v.max, 20 * 93);
    rig.view->OnVScroll(kThumbTrack, 100000);
    const int available = 400 - 75 + 2;
    EXPECT_EQ(rig.view->m_yOffset, -(20 * 93 - available));
    // A line of the bar is one analog row.
    rig.view->OnVScroll(kLineUp, 0);
    EXPECT_EQ(rig.view->m_yOffset, -(20 * 93 - available - 93));
}

TEST(ViewScroll, TenMillionSamplesScrollToTheirEnd) {
    ViewRig rig;
    const size_t n = 10000000;
    SetUpRecord(rig.doc, 1000, n);
    CChannel ch = Analog(rig.doc, "U", {});
    ch.m_samples.assign(n, 0.0);
    ch.m_samples.Set(n - 1, 1.0);
    AddChannels(rig.doc, {std::move(ch), Analog(rig.doc, "Empty", {})});
    rig.doc.m_settings.GetCategory(L"View").SetDouble(L"XScale", 1.0);
    rig.Open(1200, 500);
    auto& v = *rig.view;
    rig.Render();
    const int64_t span = int64_t(n) - v.m_visibleSpan;
    v.OnHScroll(oscview::kThumbTrack, 10000);
    EXPECT_EQ(v.m_firstSample, span);
    EXPECT_EQ(rig.host.h.pos, 10000);
    v.OnHScroll(oscview::kLineUp, 0);
    EXPECT_EQ(v.m_firstSample, span * (10000 - v.m_visibleSpan * 10000 / int64_t(n)) / 10000);
    v.OnHScroll(oscview::kThumbTrack, 10000);
    // The last sample (the only non-zero one) is on screen, as is the time axis of 2:46:40.
    v.SetTimeUnit(oscview::kTimeOfDay);
    rig.doc.GetOscillogram().m_startTime = L"00:00:00.000";
    CBitmap& pic = rig.Render();
    int curve = 0;
    for (int x = 1100; x < 1200; ++x) curve += pic.GetPixel(x, 5) != RGB(255, 255, 255);
    EXPECT_GT(curve, 0);
    EXPECT_GT(v.GetChannelHeightAt(1), 0);  // the empty channel still has its row
}
