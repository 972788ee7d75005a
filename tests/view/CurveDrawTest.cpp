#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <string>

#include "ViewFixture.h"
#include "model/ChannelDraw.h"
#include "model/Numeric.h"

using namespace viewtest;

namespace {

const COLORREF kWhite = RGB(255, 255, 255);

// A white image with a context to draw on.
struct Canvas {
    CDC dc;
    CBitmap bmp;
    Canvas(int w, int h) {
        dc.CreateCompatibleDC(nullptr);
        bmp.CreateCompatibleBitmap(&dc, w, h);
        dc.SelectObject(&bmp);
        dc.FillSolidRect(0, 0, w, h, kWhite);
    }
    COLORREF At(int x, int y) { return bmp.GetPixel(x, y); }
};

CurveStrip Strip(CDC* dc, int right, int64_t first, int top, int left, int height, double xscale) {
    CurveStrip s;
    s.dc = dc, s.right = right, s.first = first, s.top = top, s.left = left, s.height = height, s.xscale = xscale;
    return s;
}

bool AnyInRow(Canvas& c, int y, int x0, int x1, COLORREF color) {
    for (int x = x0; x <= x1; ++x)
        if (c.At(x, y) == color) return true;
    return false;
}

}  // namespace

TEST(CurveDraw, VerticalMappingZeroLineAndFlatChannels) {
    CTenvorikDoc doc;
    SetUpRecord(doc, 1000, 8);
    AddChannels(doc, {Analog(doc, "U", {30, -10, 30, -10, 30, -10, 30, -10}), Analog(doc, "F", std::vector<double>(8, 0.0)),
                      Analog(doc, "P", {1, 5, 1, 5, 1, 5, 1, 5})});
    auto& chs = doc.GetOscillogram().m_channels;
    for (auto& ch : chs) ch.m_customColorSet = true, ch.m_customColor = RGB(0, 0, 200);
    Canvas c(220, 400);
    chs[0].Draw(Strip(&c.dc, 210, 0, 0, 0, 110, 1.0));
    EXPECT_EQ(c.At(0, 5), RGB(0, 0, 200));     // high: 5 below the top
    EXPECT_EQ(c.At(25, 105), RGB(0, 0, 200));  // low: 5 above the bottom
    EXPECT_EQ(c.At(205, 80), RGB(200, 200, 200));  // the zero line
    // A flat channel lies in the middle of its strip, its zero line with it.
    chs[1].Draw(Strip(&c.dc, 210, 0, 120, 0, 100, 1.0));
    EXPECT_EQ(c.At(12, 170), RGB(0, 0, 200));
    // A range from 1 to 5 has no zero line.
    chs[2].Draw(Strip(&c.dc, 210, 0, 230, 0, 110, 1.0));
    for (int y = 230; y < 340; ++y) EXPECT_NE(c.At(205, y), RGB(200, 200, 200)) << y;
}

TEST(CurveDraw, CirclesOnlyPastFourPixelsPerSample) {
    CTenvorikDoc doc;
    SetUpRecord(doc, 1000, 40);
    AddChannels(doc, {Analog(doc, "F", std::vector<double>(40, 0.0))});
    CChannel& ch = doc.GetOscillogram().m_channels[0];
    ch.m_customColorSet = true, ch.m_customColor = RGB(0, 0, 200);
    for (double xscale : {0.16, 0.17}) {
        Canvas c(200, 60);
        ch.Draw(Strip(&c.dc, 190, 0, 0, 0, 60, xscale));
        const int x = RoundToInt(25.0 * 4 * xscale);  // the fifth sample
        EXPECT_EQ(AnyInRow(c, 28, x - 2, x + 1, RGB(0, 0, 200)), xscale > 0.16) << xscale;
    }
}

TEST(CurveDraw, DiscreteBarsPerSample) {
    CTenvorikDoc doc;
    SetUpRecord(doc, 1000, 10);
    AddChannels(doc, {Discrete(doc, "D", {0, 0, 0, 1, 1, 1, 0, 0, 0, 0}), Discrete(doc, "E", {0, 0, 0, 0, 0, 0, 0, 0, 0, 1})});
    auto& chs = doc.GetOscillogram().m_channels;
    chs[0].m_color = RGB(10, 120, 10);
    chs[1].m_color = RGB(10, 120, 10);
    Canvas c(200, 60);
    chs[0].Draw(Strip(&c.dc, 190, 0, 0, 0, 20, 0.4));  // 10 pixels per sample
    const int yc = 10;
    EXPECT_EQ(c.At(29, yc), kWhite);
    EXPECT_EQ(c.At(30, yc), RGB(200, 0, 0));
    EXPECT_EQ(c.At(45, yc), RGB(10, 120, 10));
    EXPECT_EQ(c.At(60, yc), RGB(200, 0, 0));
    EXPECT_EQ(c.At(61, yc), kWhite);
    EXPECT_EQ(c.At(45, yc - 6), RGB(200, 0, 0));
    EXPECT_EQ(c.At(45, yc + 6), kWhite);
    // On at its very last sample: a 4-pixel bar there.
    chs[1].Draw(Strip(&c.dc, 190, 0, 30, 0, 20, 0.4));
    EXPECT_EQ(c.At(90, 40), RGB(200, 0, 0));
    EXPECT_EQ(c.At(92, 40), RGB(10, 120, 10));
    EXPECT_EQ(c.At(94, 40), kWhite);
    // Selected: the highlight fill.
    chs[0].m_selected = true;
    chs[0].Draw(Strip(&c.dc, 190, 0, 30, 0, 20, 0.4));
    EXPECT_EQ(c.At(45, 40), RGB(253, 219, 102));
}

TEST(CurveDraw, DenseDiscreteGathersPerPixelWithTicksWhereAColumnChanges) {
    CTenvorikDoc doc;
    const size_t n = 3000;
    SetUpRecord(doc, 1000, n);
    std::vector<double> v(n, 0.0);
    for (size_t i = 1005; i < 2000; ++i) v[i] = 1;
    AddChannels(doc, {Discrete(doc, "D", v)});
    CChannel& ch = doc.GetOscillogram().m_channels[0];
    ch.m_color = RGB(10, 120, 10);
    CurveSummary summary;
    summary.Build(ch);
    for (const CurveSummary* s : std::vector<const CurveSummary*>{nullptr, &summary}) {
        Canvas c(400, 30);
        CurveStrip strip = Strip(&c.dc, 390, 0, 0, 0, 20, 0.004);  // 10 samples per pixel
        strip.summary = s;
        ch.Draw(strip);
        const int yc = 10;
        EXPECT_EQ(c.At(100, yc - 6), RGB(200, 0, 0));  // the tick of the changing column
        EXPECT_EQ(c.At(150, yc), RGB(10, 120, 10));
        EXPECT_EQ(c.At(99, yc), kWhite);
        EXPECT_EQ(c.At(250, yc), kWhite);
    }
}

// The curve drawn per pixel column lights exactly the pixels of the full polyline.
TEST(CurveDraw, ReducedCurveEqualsFullPolyline) {
    CTenvorikDoc doc;
    const size_t n = 200000;
    SetUpRecord(doc, 1000, n);
    std::mt19937 rng(7);
    std::normal_distribution<double> noise(0, 1);
    std::vector<double> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = 30 + 3 * std::sin(double(i) * 0.001) + noise(rng) * (i % 5000 < 100 ? 3 : 0.3);
    AddChannels(doc, {Analog(doc, "U", v)});
    CChannel& ch = doc.GetOscillogram().m_channels[0];
    ch.m_customColorSet = true, ch.m_customColor = RGB(0, 0, 200);
    CurveSummary summary;
    summary.Build(ch);
    struct Case {
        int64_t first;
        double xscale;
        int width;
    } cases[] = {{0, 1.0 / 2048, 700}, {12345, 0.0003, 500}, {199000, 0.005, 900}, {0, 0.011, 640}};
    for (const Case& k : cases) {
        for (const CurveSummary* s : std::vector<const CurveSummary*>{nullptr, &summary}) {
            Canvas a(k.width + 10, 120), b(k.width + 10, 120);
            CurveStrip strip = Strip(&a.dc, k.width, k.first, 0, 3, 120, k.xscale);
            strip.summary = s;
            ch.Draw(strip);
            VerticalMap map(ch.m_min, ch.m_max, 0, 120);
            int64_t visible = std::min<int64_t>(int64_t(n) - k.first, int64_t(std::ceil((k.width - 3) / (25 * k.xscale))));
            std::vector<POINT> pts;
            for (int64_t j = 0; j < visible; ++j)
                pts.push_back(POINT{3 + RoundToInt(25.0 * double(j) * k.xscale), map.Y(ch.GetCurveValue(uint32_t(k.first + j)))});
            CPen pen(PS_SOLID, 1, RGB(0, 0, 200));
            b.dc.SelectObject(&pen);
            b.dc.Polyline(pts.data(), int(pts.size()));
            int differ = 0;
            for (int y = 0; y < 120; ++y)
                for (int x = 0; x < k.width + 10; ++x) differ += a.At(x, y) != b.At(x, y);
            EXPECT_EQ(differ, 0) << k.first << " " << k.xscale << (s ? " summary" : " samples");
        }
    }
}

TEST(CurveDraw, PastedChannelsArePlacedByTheirOwnTimes) {
    CTenvorikDoc doc;
    SetUpRecord(doc, 1000, 20);
    CChannel pasted = Analog(doc, "P", {0, 10, 0, 10, 0, 10, 0, 10, 0, 10});
    pasted.m_flags |= CHF_OWN_TIMEBASE;
    pasted.m_ownRate = 500;
    for (int i = 0; i < 10; ++i) pasted.m_ownTimes.push_back(int64_t(i) * 2000);
    AddChannels(doc, {std::move(pasted)});
    CChannel& ch = doc.GetOscillogram().m_channels[0];
    ch.m_customColorSet = true, ch.m_customColor = RGB(0, 0, 200);
    for (double shift : {0.0, 1000.0}) {
        Canvas c(400, 120);
        CurveStrip strip = Strip(&c.dc, 390, 0, 0, 0, 110, 1.0);
        strip.timeShiftUs = shift;
        ch.Draw(strip);
        const int dx = shift > 0 ? 25 : 0;
        // Own sample s lies at 2 s record samples, 50 s pixels (plus the shift).
        EXPECT_EQ(c.At(50 * 3 + dx, 5), RGB(0, 0, 200)) << shift;   // value 10
        EXPECT_EQ(c.At(50 * 4 + dx, 105), RGB(0, 0, 200)) << shift;  // value 0
        // Its mark sits at the strip's lower left.
        int marked = 0;
        for (int y = 89; y < 105; ++y)
            for (int x = 2; x < 18; ++x) marked += c.At(x, y) != kWhite && c.At(x, y) != RGB(0, 0, 200);
        EXPECT_GT(marked, 20);
    }
    // Scrolled: the first drawn own sample is the one at the first visible time.
    CurveStrip strip = Strip(nullptr, 390, 6, 0, 0, 110, 1.0);
    EXPECT_EQ(ch.FindStartSample(strip), 3u);
    strip.first = 1000;  // past its own times, which go on at its rate
    EXPECT_EQ(ch.FindStartSample(strip), 500u);
}

TEST(CurveDraw, MergedStripSharesOneRangeAndOneZeroLine) {
    CTenvorikDoc doc;
    SetUpRecord(doc, 1000, 4);
    AddChannels(doc, {Analog(doc, "A", {-10, -10, -10, -10}), Analog(doc, "B", {30, 30, 30, 30}), Analog(doc, "C", {0, 0, 0, 0})});
    auto& chs = doc.GetOscillogram().m_channels;
    COLORREF colors[3] = {RGB(200, 0, 0), RGB(0, 150, 0), RGB(0, 0, 200)};
    for (int i = 0; i < 3; ++i) chs[size_t(i)].m_customColorSet = true, chs[size_t(i)].m_customColor = colors[i];
    Canvas c(220, 120);
    doc.GetOscillogram().DrawChannels(Strip(&c.dc, 210, 0, 0, 0, 110, 1.0), {&chs[0], &chs[1], &chs[2]});
    EXPECT_EQ(c.At(10, 105), colors[0]);
    EXPECT_EQ(c.At(10, 5), colors[1]);
    EXPECT_EQ(c.At(10, 80), colors[2]);
    EXPECT_EQ(c.At(205, 80), RGB(200, 200, 200));
}

TEST(CurveDraw, MissingSamplesLeaveAGap) {
    // A sine with a run of missing samples, drawn sparse (one sample a pixel), dense (a hundred
    // a pixel, walked and through the summary): nothing is drawn over the run, the curve is there
    // on both sides, and a sample alone among missing ones still shows.
    struct Case {
        size_t n;
        double xscale;
    } cases[] = {{400, 0.04}, {40000, 0.0004}};
    for (const Case& k : cases) {
        CTenvorikDoc doc;
        SetUpRecord(doc, 1000, k.n);
        std::vector<double> v(k.n);
        const double nan = std::numeric_limits<double>::quiet_NaN();
        for (size_t i = 0; i < k.n; ++i) v[i] = i * 4 >= k.n && i * 2 < k.n ? nan : 10 * std::sin(double(i) * 0.05);
        v[k.n * 3 / 8] = 5.0;  // alone in the middle of the run
        AddChannels(doc, {Analog(doc, "U", v)});
        CChannel& ch = doc.GetOscillogram().m_channels[0];
        ch.m_customColorSet = true, ch.m_customColor = RGB(0, 0, 200);
        CurveSummary summary;
        summary.Build(ch);
        for (const CurveSummary* s : std::vector<const CurveSummary*>{nullptr, &summary}) {
            Canvas c(410, 120);
            CurveStrip strip = Strip(&c.dc, 400, 0, 0, 0, 120, k.xscale);
            strip.summary = k.n > 1000 ? s : nullptr;
            ch.Draw(strip);
            auto inked = [&](int x) {
                for (int y = 0; y < 120; ++y)
                    if (c.At(x, y) == RGB(0, 0, 200)) return true;
                return false;
            };
            const std::string what = std::to_string(k.n) + (strip.summary ? " summary" : " samples");
            for (int x = 2; x < 98; ++x) EXPECT_TRUE(inked(x)) << x << " " << what;
            for (int x = 102; x < 198; ++x) {
                if (x < 148 || x > 152) {
                    EXPECT_FALSE(inked(x)) << x << " " << what;
                }
            }
            EXPECT_TRUE(inked(150)) << what;
            for (int x = 202; x < 398; ++x) EXPECT_TRUE(inked(x)) << x << " " << what;
        }
    }
}
