#include <gtest/gtest.h>

#include "ViewFixture.h"
#include "model/AppOptions.h"
#include "model/TimeText.h"

using namespace viewtest;

namespace {

struct EnglishTexts {
    EnglishTexts() { TheAppOptions().englishResources = true; }
    ~EnglishTexts() { TheAppOptions().englishResources = false; }
};

}  // namespace

TEST(Captions, ValueTextsWithPrefixesUnitsAndStrips) {
    ViewRig rig;
    SetUpRecord(rig.doc, 1000, 4);
    AddChannels(rig.doc, {Analog(rig.doc, "U", {1250, -1200, 0, 0}, L"V"), Analog(rig.doc, "I", {1, 2, 3, 4}, L"A"),
                          Analog(rig.doc, "N", {1, 2, 3, 4}, L"None")});
    rig.Open(800, 600);
    auto& chs = rig.doc.GetOscillogram().m_channels;
    auto& v = *rig.view;
    EXPECT_EQ(v.FormatCaptionValue(chs[0], -0.5, true), CString(L"-500    мВ"));
    EXPECT_EQ(v.FormatCaptionValue(chs[1], 0.25, true), CString(L" 250    мА"));
    EXPECT_EQ(v.FormatCaptionValue(chs[2], 7.5, true), CString(L" 7.5    "));
    EXPECT_EQ(v.FormatCaptionValue(chs[1], -1500, false), CString(L"-1.5     кА"));
    chs[1].m_flags |= CHF_ADC_COUNTS;
    EXPECT_EQ(v.FormatCaptionValue(chs[1], 12, true), CString(L" 12     "));
    chs[0].m_flags = (chs[0].m_flags & ~(CHF_SHOW_RMS | CHF_SHOW_HARMONIC)) | CHF_SHOW_MINMAX;
    EXPECT_EQ(v.FormatStripCaption(chs[0]), CString(L"Max:1.25кВ|Min:-1.2кВ"));
    {
        EnglishTexts english;
        EXPECT_EQ(v.FormatStripCaption(chs[0]), CString(L"Max:1.25kV|Min:-1.2kV"));
    }
    chs[0].m_flags &= ~CHF_SHOW_MINMAX;
    EXPECT_EQ(v.FormatStripCaption(chs[0]), CString());
    EXPECT_EQ(v.GetCaptionWidthSample(chs[0]), CString());
    chs[0].m_flags |= CHF_SHOW_MINMAX | CHF_SHOW_RMS | CHF_SHOW_HARMONIC;
    EXPECT_EQ(v.GetCaptionWidthSample(chs[0]), CString(L"Max:000.00mV|Min:000.00mV|СКЗ:000.00mV|A1:000.00mV"));
}

TEST(Captions, DisplayOrderKeepsStripsTogether) {
    ViewRig rig;
    SetUpRecord(rig.doc, 1000, 4);
    std::vector<double> s(4, 1.0);
    AddChannels(rig.doc, {Analog(rig.doc, "A", s), Analog(rig.doc, "B", s), Analog(rig.doc, "C", s), Analog(rig.doc, "D", s)});
    rig.doc.m_channelGroups[L"g"] = {"B", "D"};
    rig.Open(800, 600);
    auto& chs = rig.doc.GetOscillogram().m_channels;
    std::vector<CChannel*> order;
    std::set<const CChannel*> grouped, heads;
    rig.view->BuildDisplayOrder(order, &grouped, &heads);
    EXPECT_EQ(order, (std::vector<CChannel*>{&chs[0], &chs[1], &chs[3], &chs[2]}));
    EXPECT_EQ(grouped, (std::set<const CChannel*>{&chs[1], &chs[3]}));
    EXPECT_EQ(heads, (std::set<const CChannel*>{&chs[1]}));
    rig.view->BuildDisplayOrder(order, nullptr, nullptr);
    EXPECT_EQ(order.size(), 6u);  // without the sets a strip is listed at each member
}

TEST(Captions, PastedChannelReadsTheInterpolatedValueAtTheCursorAndNothingOutsideItsSpan) {
    ViewRig rig;
    SetUpRecord(rig.doc, 1000, 20);
    CChannel pasted = Analog(rig.doc, "P", {0, 10, 20, 30});
    pasted.m_flags |= CHF_OWN_TIMEBASE;
    pasted.m_ownRate = 250;
    pasted.m_ownTimes = {2000, 6000, 10000, 14000};
    AddChannels(rig.doc, {Analog(rig.doc, "U", std::vector<double>(20, 1.0)), std::move(pasted)});
    rig.Open(800, 600);
    auto& chs = rig.doc.GetOscillogram().m_channels;
    auto& c = rig.doc.m_cursors.m_cursors[0];
    c.position = 7;  // 7000 us: a quarter of the way from 6000 to 10000
    EXPECT_DOUBLE_EQ(rig.view->ValueAtCursor(chs[1]), 12.5);
    c.position = 6;
    EXPECT_DOUBLE_EQ(rig.view->ValueAtCursor(chs[1]), 10.0);
    rig.doc.m_pasteTimeShift = -0.001;  // the pasted record a millisecond later
    EXPECT_DOUBLE_EQ(rig.view->ValueAtCursor(chs[1]), 12.5);
    for (int outside : {0, 1, 16, 19}) {
        rig.doc.m_pasteTimeShift = 0;
        c.position = outside;
        EXPECT_TRUE(std::isnan(rig.view->ValueAtCursor(chs[1]))) << outside;
    }
    rig.Render();
}

TEST(Captions, TimeValuesOfTheDifferencePanel) {
    ViewRig rig;
    SetUpRecord(rig.doc, 1000, 4);
    rig.doc.GetOscillogram().m_startTime = L"10:00:00.000";
    rig.Open(800, 600);
    auto& v = *rig.view;
    using namespace oscview;
    EXPECT_EQ(v.FormatTimeValue(0, false, kSamples), CString(L"1"));
    EXPECT_EQ(v.FormatTimeValue(5, true, kSamples), CString(L"5"));
    EXPECT_EQ(v.FormatTimeValue(1500, false, kMilliseconds), CString(L"2"));
    EXPECT_EQ(v.FormatTimeValue(2400000000LL, false, kMicroseconds), CString(L"2400000000"));
    EXPECT_EQ(v.FormatTimeValue(3723500000LL, true, kTimeOfDay), CString(L"01:02:03.500"));
    EXPECT_EQ(v.FormatTimeValue(1999999, false, kTimeOfDay), CString(L"10:00:02.000"));
    EXPECT_EQ(v.FormatTimeValue(-1500000, false, kSeconds), CString(L"-1.500"));
}

TEST(Captions, CaptionColumnIsSizedToItsTexts) {
    ViewRig rig;
    SetUpRecord(rig.doc, 1000, 4);
    std::vector<double> s(4, 1.0);
    AddChannels(rig.doc, {Analog(rig.doc, "U", s, L"V")});
    rig.Open(800, 600);
    auto& v = *rig.view;
    CScreenDC dc;
    dc.SelectObject(&v.m_boldFont);
    auto width = [&](const wchar_t* t) { return int(dc.GetTextExtent(CString(t)).cx); };
    auto& ch = rig.doc.GetOscillogram().m_channels[0];
    v.MeasureCaptionColumn(&dc);
    const int xShort = std::max(width(L"Max:"), width(L"U") + 5);
    EXPECT_EQ(v.m_valueX, xShort);
    EXPECT_EQ(v.m_leftWidth, width(L": -0.00000000 A") + 10 + xShort);
    ch.m_displayUnit = L"kV";
    v.MeasureCaptionColumn(&dc);
    EXPECT_EQ(v.m_leftWidth, width(L": -0.0000000E-000 ") + 10 + xShort);
    ch.m_name = L"A channel name of forty characters long!";
    v.MeasureCaptionColumn(&dc);
    EXPECT_EQ(v.m_valueX, int(dc.GetTextExtent(ch.m_name.Left(25)).cx) + 5);
    // Absolute time makes room for the date label with short names.
    ch.m_name = L"U";
    ch.m_displayUnit = L"V";
    rig.doc.GetOscillogram().m_channels.clear();
    v.MeasureCaptionColumn(&dc);
    const int empty = v.m_leftWidth;
    EXPECT_EQ(empty, width(L"Max:"));
    v.m_timeUnit = oscview::kTimeOfDay;
    v.MeasureCaptionColumn(&dc);
    EXPECT_GT(v.m_leftWidth, empty);
}

TEST(Passes, PictureLayersInOrder) {
    ViewRig rig;
    const size_t n = 400;
    SetUpRecord(rig.doc, 1000, n);
    std::vector<double> sine(n), bits(n);
    for (size_t i = 0; i < n; ++i) sine[i] = 100 * std::sin(double(i) * 0.1), bits[i] = (i / 50) % 2;
    AddChannels(rig.doc, {Analog(rig.doc, "UA", sine), Analog(rig.doc, "UB", sine), Discrete(rig.doc, "D1", bits)});
    auto& chs = rig.doc.GetOscillogram().m_channels;
    chs[0].m_customColorSet = true, chs[0].m_customColor = RGB(0, 0, 200);
    rig.doc.GetOscillogram().m_timeReferenceSample = 100;
    rig.doc.m_settings.GetCategory(L"View").SetDouble(L"XScale", 0.2);  // 5 pixels per sample
    rig.Open(1000, 500);
    rig.doc.m_cursors.SetPosition(0, 20);
    CBitmap& pic = rig.Render();
    auto& v = *rig.view;
    const int W = v.m_leftWidth, h0 = v.GetChannelHeight(chs[0]), h1 = v.GetChannelHeight(chs[1]);
    // Row backgrounds: white, then the even row's gradient.
    EXPECT_EQ(pic.GetPixel(W + 3, 40), RGB(255, 255, 255));
    EXPECT_NEAR(GetRValue(pic.GetPixel(2, h0 + 1)), 214, 1);
    // Separators under each row, the grid every 50 pixels.
    EXPECT_EQ(pic.GetPixel(W + 27, h0 - 1), RGB(200, 200, 200));
    EXPECT_EQ(pic.GetPixel(W + 50, h0 / 2 + 30), RGB(230, 230, 230));
    // The zero-time line, dotted, at sample 100.
    bool zeroLine = false;
    for (int y = 0; y < 20; ++y) zeroLine |= pic.GetPixel(W + 500, y) == RGB(35, 194, 87);
    EXPECT_TRUE(zeroLine);
    // The curve over the background.
    int curve = 0;
    for (int y = 0; y < h0; ++y) curve += pic.GetPixel(W + 200, y) == RGB(0, 0, 200);
    EXPECT_GT(curve, 0);
    // The discrete channel's duration bar and its on-runs.
    const int yd = h0 + h1 + 10;
    EXPECT_EQ(pic.GetPixel(W + 150, yd - 2), RGB(150, 150, 255));
    // The cursor over everything, the axis band at the bottom with its outline.
    EXPECT_EQ(pic.GetPixel(W + 100, 5 + h0 / 2), RGB(255, 100, 100));
    EXPECT_EQ(pic.GetPixel(W + 101, 500 - 75), RGB(0, 0, 0));
    EXPECT_EQ(pic.GetPixel(W, 500 - 28), RGB(0, 0, 0));  // first tick
    // A selected row is highlighted on screen.
    chs[1].m_selected = true;
    CBitmap& sel = rig.Render();
    EXPECT_EQ(GetRValue(sel.GetPixel(2, h0 + 1)), 254);
    EXPECT_NEAR(GetGValue(sel.GetPixel(2, h0 + 1)), 225, 2);
}

TEST(Passes, EmptyRecordAndNarrowWindowsPaint) {
    ViewRig rig;
    rig.Open(300, 200);
    CBitmap& pic = rig.Render();
    EXPECT_EQ(pic.GetPixel(150, 50), RGB(255, 255, 255));
    EXPECT_EQ(pic.GetPixel(150, 200 - 75), RGB(0, 0, 0));
    // A window narrower than the caption column.
    SetUpRecord(rig.doc, 1000, 100);
    AddChannels(rig.doc, {Analog(rig.doc, "U", std::vector<double>(100, 1.0)), Discrete(rig.doc, "D", std::vector<double>(100, 1.0))});
    rig.view->OnSize(40, 30);
    rig.view->OnUpdate();
    rig.Render();
    EXPECT_EQ(rig.view->m_visibleSpan, 0);
}

TEST(Passes, DifferencePanelArrowsAndLabels) {
    ViewRig rig;
    SetUpRecord(rig.doc, 1000, 1000);
    AddChannels(rig.doc, {Analog(rig.doc, "U", std::vector<double>(1000, 1.0))});
    rig.doc.m_settings.GetCategory(L"View").SetDouble(L"XScale", 0.4);
    rig.Open(1000, 400);
    auto& c = rig.doc.m_cursors;
    c.SetPosition(0, 10);
    c.SetPosition(1, 40);   // 300 pixels on: an arrow with its text
    c.SetPosition(2, 41);   // 10 pixels on: no arrow
    CBitmap& pic = rig.Render();
    const int W = rig.view->m_leftWidth, y = 400 - 75 + 10;
    EXPECT_EQ(pic.GetPixel(W + 150, y), RGB(100, 100, 100));
    EXPECT_EQ(pic.GetPixel(W + 405, y), RGB(255, 255, 255));
    EXPECT_EQ(pic.GetPixel(W + 300, 400 - 30), RGB(100, 100, 100));
}

TEST(Hover, CutNamesAreShownWhole) {
    ViewRig rig;
    SetUpRecord(rig.doc, 1000, 10);
    AddChannels(rig.doc, {Analog(rig.doc, "U", std::vector<double>(10, 1.0)), Discrete(rig.doc, "D", std::vector<double>(10, 0.0))});
    auto& chs = rig.doc.GetOscillogram().m_channels;
    chs[0].m_name = L"A channel name of forty characters long!";
    chs[1].m_name = L"Short";
    rig.Open(800, 600);
    rig.Render();
    oscview::HoverBox box = rig.view->OnMouseHover(CPoint(20, 10));
    EXPECT_TRUE(box.show);
    EXPECT_EQ(box.text, chs[0].m_name);
    const int h0 = rig.view->GetChannelHeight(chs[0]);
    EXPECT_FALSE(rig.view->OnMouseHover(CPoint(20, h0 + 10)).show);
    EXPECT_FALSE(rig.view->OnMouseHover(CPoint(rig.view->m_leftWidth + 5, 10)).show);
}

TEST(Passes, PrintedPicturesIgnoreScrollAndSelectionAndBreakRowsAtPages) {
    ViewRig rig;
    SetUpRecord(rig.doc, 1000, 100);
    std::vector<double> s(100, 1.0);
    AddChannels(rig.doc, {Analog(rig.doc, "A", s), Analog(rig.doc, "B", s), Analog(rig.doc, "C", s)});
    auto& chs = rig.doc.GetOscillogram().m_channels;
    for (auto& ch : chs) ch.m_customColorSet = true, ch.m_customColor = RGB(0, 0, 200);
    chs[1].m_selected = true;
    rig.Open(600, 150);
    auto& v = *rig.view;
    v.m_yOffset = -50;  // scrolled on screen; a printed page starts at the top
    // Pages of 250 view pixels: the second row (to 186) would reach into the page's bottom
    // band, so it starts on the next page, after the axis of the first.
    v.m_printPageWidth = 600, v.m_printPageHeight = 250;
    const int h = v.GetChannelHeight(chs[0]);
    ASSERT_EQ(h, 93);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap bmp;
    bmp.CreateCompatibleBitmap(&dc, 600, 600);
    dc.SelectObject(&bmp);
    dc.SetMapMode(MM_ANISOTROPIC);
    v.DrawContent(&dc, 600, 600);
    // The selected row keeps its alternating colour when printed.
    EXPECT_NEAR(GetRValue(bmp.GetPixel(2, 249 + 1)), 214, 1);
    // The first page's axis band ends on its last line, the second row's curve starts below it.
    EXPECT_EQ(bmp.GetPixel(300, 249 - 75), RGB(0, 0, 0));
    int curve = 0;
    for (int y = 249; y < 249 + h; ++y) curve += bmp.GetPixel(v.m_leftWidth + 10, y) == RGB(0, 0, 200);
    EXPECT_GT(curve, 0);
    curve = 0;
    for (int y = 0; y < h; ++y) curve += bmp.GetPixel(v.m_leftWidth + 10, y) == RGB(0, 0, 200);
    EXPECT_GT(curve, 0);  // the first row at the top, not scrolled
    for (int y = h; y < 249 - 75; ++y) EXPECT_NE(bmp.GetPixel(v.m_leftWidth + 10, y), RGB(0, 0, 200)) << y;
    // The second row's caption is on the second page with its curve.
    int name = 0;
    for (int y = 249; y < 249 + 30; ++y)
        for (int x = 3; x < 30; ++x) name += bmp.GetPixel(x, y) == RGB(128, 128, 128);
    EXPECT_GT(name, 10);
}
