#include <gtest/gtest.h>

#include "Canvas.h"
#include "platform/draw/GdiPlus.h"
#include "platform/draw/Region.h"

using namespace drawtest;

namespace {
CRgn Rect(int l, int t, int r, int b) {
    CRgn g;
    g.CreateRectRgn(l, t, r, b);
    return g;
}
}  // namespace

TEST(Region, CombinationsOfTwoOverlappingRectangles) {
    const CRgn a = Rect(0, 0, 10, 10), b = Rect(5, 5, 15, 15);
    struct Case {
        int mode;
        int kind;
        CRect box;
        bool in00, in77, in1212;  // (0,0) only in a, (7,7) in both, (12,12) only in b
    } cases[] = {
        {RGN_AND, SIMPLEREGION, {5, 5, 10, 10}, false, true, false},
        {RGN_OR, COMPLEXREGION, {0, 0, 15, 15}, true, true, true},
        {RGN_XOR, COMPLEXREGION, {0, 0, 15, 15}, true, false, true},
        {RGN_DIFF, COMPLEXREGION, {0, 0, 10, 10}, true, false, false},
        {RGN_COPY, SIMPLEREGION, {0, 0, 10, 10}, true, true, false},
    };
    for (const auto& k : cases) {
        CRgn r;
        EXPECT_EQ(r.CombineRgn(&a, &b, k.mode), k.kind) << k.mode;
        CRect box;
        r.GetRgnBox(&box);
        EXPECT_EQ(box, k.box) << k.mode;
        EXPECT_EQ(r.PtInRegion(0, 0), k.in00) << k.mode;
        EXPECT_EQ(r.PtInRegion(7, 7), k.in77) << k.mode;
        EXPECT_EQ(r.PtInRegion(12, 12), k.in1212) << k.mode;
        EXPECT_FALSE(r.PtInRegion(15, 15)) << k.mode;  // right and bottom edges are outside
    }
    CRgn empty;
    const CRgn far = Rect(20, 20, 30, 30);
    EXPECT_EQ(empty.CombineRgn(&a, &far, RGN_AND), NULLREGION);
    CRgn uncreated, out;
    EXPECT_EQ(out.CombineRgn(&a, &uncreated, RGN_OR), RGN_ERROR);
    // Disjoint parts joined again give back the plain rectangle.
    CRgn left = Rect(0, 0, 5, 10), right = Rect(5, 0, 10, 10), whole;
    EXPECT_EQ(whole.CombineRgn(&left, &right, RGN_OR), SIMPLEREGION);
    EXPECT_TRUE(whole.EqualRgn(&a));
}

TEST(Region, EllipsePolygonOffsetAndFrame) {
    CRgn e;
    e.CreateEllipticRgn(0, 0, 20, 10);
    CRect box;
    EXPECT_EQ(e.GetRgnBox(&box), COMPLEXREGION);
    EXPECT_EQ(box, CRect(0, 0, 20, 10));
    EXPECT_TRUE(e.PtInRegion(10, 5));
    EXPECT_FALSE(e.PtInRegion(0, 0));
    EXPECT_FALSE(e.PtInRegion(19, 9));

    const POINT tri[] = {{0, 0}, {10, 0}, {0, 10}};
    CRgn t;
    t.CreatePolygonRgn(tri, 3, ALTERNATE);
    EXPECT_TRUE(t.PtInRegion(0, 0));
    EXPECT_TRUE(t.PtInRegion(4, 4));   // centre (4.5, 4.5) lies on the hypotenuse's inside
    EXPECT_FALSE(t.PtInRegion(5, 5));
    EXPECT_FALSE(t.PtInRegion(10, 0));
    t.OffsetRgn(100, 50);
    EXPECT_TRUE(t.PtInRegion(100, 50));
    EXPECT_FALSE(t.PtInRegion(0, 0));

    // Crossed polygon: the middle is inside with WINDING, outside with ALTERNATE.
    const POINT star[] = {{0, 0}, {20, 0}, {20, 20}, {5, 20}, {5, 5}, {15, 5}, {15, 15}, {0, 15}};
    CRgn alt, wind;
    alt.CreatePolygonRgn(star, 8, ALTERNATE);
    wind.CreatePolygonRgn(star, 8, WINDING);
    EXPECT_FALSE(alt.PtInRegion(10, 10));
    EXPECT_TRUE(wind.PtInRegion(10, 10));

    const CRgn sq = Rect(0, 0, 10, 10);
    const CRgn frame = sq.Frame(2, 1);
    EXPECT_TRUE(frame.PtInRegion(1, 5));
    EXPECT_FALSE(frame.PtInRegion(2, 5));
    EXPECT_TRUE(frame.PtInRegion(5, 0));
    EXPECT_FALSE(frame.PtInRegion(5, 1));
    EXPECT_TRUE(frame.PtInRegion(9, 9));
}

TEST(Region, ClippingFillingAndFramingOnTheDevice) {
    Canvas c(40, 40);
    CRgn clip;
    clip.CreateEllipticRgn(0, 0, 40, 40);
    EXPECT_EQ(c.dc.SelectClipRgn(&clip), COMPLEXREGION);
    clip.DeleteObject();  // the context keeps its own copy
    c.dc.FillSolidRect(0, 0, 40, 40, kBlue);
    CPen pen(PS_SOLID, 1, kRed);
    c.dc.SelectObject(&pen);
    c.dc.MoveTo(0, 20);
    c.dc.LineTo(40, 20);
    EXPECT_EQ(c.At(20, 10), kBlue);
    EXPECT_EQ(c.At(0, 0), kWhite);
    EXPECT_EQ(c.At(39, 39), kWhite);
    EXPECT_EQ(c.At(1, 20), kRed);
    EXPECT_EQ(c.At(39, 2), kWhite);
    CRect box;
    c.dc.GetClipBox(&box);
    EXPECT_EQ(box, CRect(0, 0, 40, 40));
    c.dc.SelectClipRgn(nullptr);
    c.dc.FillSolidRect(0, 0, 1, 1, kBlue);
    EXPECT_EQ(c.At(0, 0), kBlue);

    Canvas d(30, 30);
    CRgn a = Rect(2, 2, 12, 12), b = Rect(8, 8, 20, 20), u;
    u.CombineRgn(&a, &b, RGN_OR);
    CBrush fill(kBlue), edge(kRed);
    d.dc.FillRgn(&u, &fill);
    d.dc.FrameRgn(&u, &edge, 1, 1);
    EXPECT_EQ(d.At(5, 5), kBlue);
    EXPECT_EQ(d.At(2, 5), kRed);
    EXPECT_EQ(d.At(11, 5), kRed);   // the right edge of the first part
    EXPECT_EQ(d.At(11, 9), kBlue);  // inside the union
    EXPECT_EQ(d.At(19, 19), kRed);
    EXPECT_EQ(d.At(20, 20), kWhite);
    EXPECT_EQ(d.Count(kRed) + d.Count(kBlue), 100 + 144 - 16);
}

TEST(Region, TranslucentFillClippedToAZone) {
    // The zone is tinted through the clip region at alpha 50, then framed.
    Canvas c(40, 40);
    CRgn zone;
    zone.CreateEllipticRgn(5, 5, 35, 35);
    c.dc.SaveDC();
    c.dc.SelectClipRgn(&zone);
    {
        Gdiplus::Graphics g(&c.dc);
        Gdiplus::SolidBrush brush(Gdiplus::Color(50, 0, 162, 232));
        g.FillRectangle(&brush, 0, 0, 40, 40);
    }
    CBrush frame(RGB(0, 162, 232));
    c.dc.FrameRgn(&zone, &frame, 1, 1);
    c.dc.RestoreDC(-1);
    // 255 + (c - 255) * 50 / 255 per channel.
    EXPECT_TRUE(Near(c.At(20, 20), RGB(205, 237, 250), 1));
    EXPECT_EQ(c.At(2, 2), kWhite);
    EXPECT_EQ(c.At(20, 5), RGB(0, 162, 232));
    EXPECT_EQ(c.At(20, 4), kWhite);
}

TEST(Region, PathsBecomeRegionsAndReplayThroughPolyDraw) {
    Canvas c(60, 60);
    ASSERT_TRUE(c.dc.BeginPath());
    const POINT sq[] = {{10, 10}, {30, 10}, {30, 30}, {10, 30}};
    c.dc.Polygon(sq, 4);
    ASSERT_TRUE(c.dc.EndPath());
    EXPECT_EQ(c.Ink(), CRect());  // a path draws nothing
    CRgn r;
    ASSERT_TRUE(r.CreateFromPath(&c.dc));
    CRect box;
    EXPECT_EQ(r.GetRgnBox(&box), SIMPLEREGION);
    EXPECT_EQ(box, CRect(10, 10, 30, 30));
    CRgn again;
    EXPECT_FALSE(again.CreateFromPath(&c.dc));  // the path was used up

    // An ellipse in a path is a start point and four quarter curves; read back, moved and
    // replayed into a new path it gives the moved ellipse.
    c.dc.BeginPath();
    c.dc.Ellipse(-10, -5, 10, 5);
    c.dc.EndPath();
    const int n = c.dc.GetPath(nullptr, nullptr, 0);
    ASSERT_EQ(n, 13);
    std::vector<POINT> pts(static_cast<size_t>(n));
    std::vector<BYTE> types(static_cast<size_t>(n));
    ASSERT_EQ(c.dc.GetPath(pts.data(), types.data(), n), 13);
    EXPECT_EQ(types[0], PT_MOVETO);
    EXPECT_EQ(types[1], PT_BEZIERTO);
    EXPECT_EQ(types[12], PT_BEZIERTO | PT_CLOSEFIGURE);
    for (auto& p : pts) {
        p.x += 40;
        p.y += 40;
    }
    c.dc.BeginPath();
    c.dc.PolyDraw(pts.data(), types.data(), n);
    c.dc.EndPath();
    CRgn ell;
    ell.CreateFromPath(&c.dc);
    ell.GetRgnBox(&box);
    EXPECT_EQ(box, CRect(30, 35, 50, 45));
    EXPECT_TRUE(ell.PtInRegion(40, 40));
    EXPECT_FALSE(ell.PtInRegion(31, 36));

    // An empty outline gives an empty region; the caller then falls back to one pixel.
    c.dc.BeginPath();
    c.dc.Ellipse(5, 5, 5, 5);
    c.dc.EndPath();
    CRgn none;
    ASSERT_TRUE(none.CreateFromPath(&c.dc));
    EXPECT_EQ(none.GetRgnBox(&box), NULLREGION);
    EXPECT_TRUE(box.IsRectEmpty());

    // PolyDraw outside a path draws the figures.
    c.dc.PolyDraw(pts.data(), types.data(), n);
    EXPECT_EQ(c.At(50, 40), kBlack);
    EXPECT_EQ(c.At(40, 40), kWhite);
}
