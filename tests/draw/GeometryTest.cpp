#include <gtest/gtest.h>

#include "platform/Geometry.h"

TEST(Geometry, RectanglesExcludeTheirRightAndBottomEdge) {
    CRect r(10, 20, 30, 60);
    EXPECT_EQ(r.Width(), 20);
    EXPECT_EQ(r.Height(), 40);
    EXPECT_EQ(r.Size(), CSize(20, 40));
    EXPECT_EQ(r.CenterPoint(), CPoint(20, 40));
    EXPECT_EQ(r.TopLeft(), CPoint(10, 20));
    EXPECT_EQ(r.BottomRight(), CPoint(30, 60));
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(30, 40)));
    EXPECT_FALSE(r.PtInRect(CPoint(20, 60)));
    EXPECT_FALSE(r.IsRectEmpty());
    EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty());
    EXPECT_TRUE(CRect(5, 5, 2, 9).IsRectEmpty());  // inverted counts as empty
}

TEST(Geometry, ChangingRectangles) {
    struct Case {
        const char* what;
        CRect result, expected;
    };
    auto with = [](CRect r, auto&& f) {
        f(r);
        return r;
    };
    const CRect base(10, 10, 20, 30);
    const Case cases[] = {
        {"inflate", with(base, [](CRect& r) { r.InflateRect(2, 3); }), {8, 7, 22, 33}},
        {"deflate", with(base, [](CRect& r) { r.DeflateRect(1, 2); }), {11, 12, 19, 28}},
        {"deflate sides", with(base, [](CRect& r) { r.DeflateRect(1, 2, 3, 4); }), {11, 12, 17, 26}},
        {"offset", with(base, [](CRect& r) { r.OffsetRect(-10, 5); }), {0, 15, 10, 35}},
        {"offset by size", with(base, [](CRect& r) { r.OffsetRect(CSize(1, 1)); }), {11, 11, 21, 31}},
        {"normalize", with(CRect(20, 30, 10, 10), [](CRect& r) { r.NormalizeRect(); }), {10, 10, 20, 30}},
        {"move", with(base, [](CRect& r) { r.MoveToXY(0, 0); }), {0, 0, 10, 20}},
        {"intersect", base & CRect(15, 0, 40, 15), {15, 10, 20, 15}},
        {"disjoint", base & CRect(50, 50, 60, 60), {0, 0, 0, 0}},
        {"touching", base & CRect(20, 10, 30, 30), {0, 0, 0, 0}},
        {"union", base | CRect(0, 0, 5, 5), {0, 0, 20, 30}},
        {"union with empty", base | CRect(100, 100, 100, 100), base},
        {"plus point", base + CPoint(1, 2), {11, 12, 21, 32}},
    };
    for (const auto& c : cases) EXPECT_EQ(c.result, c.expected) << c.what;
    CRect r;
    EXPECT_FALSE(r.IntersectRect(base, CRect(50, 50, 60, 60)));
    EXPECT_TRUE(r.IsRectNull());
    EXPECT_TRUE(r.UnionRect(CRect(), base));
    EXPECT_EQ(r, base);
}

TEST(Geometry, PointsAndSizes) {
    CPoint p(3, 4);
    p += CSize(1, 1);
    EXPECT_EQ(p, CPoint(4, 5));
    p.Offset(-4, -5);
    EXPECT_EQ(p, CPoint(0, 0));
    EXPECT_EQ(CPoint(5, 7) - CPoint(2, 3), CSize(3, 4));
    EXPECT_EQ(CPoint(5, 7) - CSize(5, 7), CPoint(0, 0));
    EXPECT_EQ(-CSize(1, 2), CSize(-1, -2));
    EXPECT_NE(CSize(1, 2), CSize(2, 1));
}
