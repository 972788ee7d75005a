// Bus segments and buses: building by extension, reshaping by moving part of a segment, fork
// points, bounds and hit tests, and the pixels of a drawn bus.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "halvex/helpers/VersionInterface.h"
#include "halvex/scheme/SchemeBus.h"

using namespace Gdiplus;

namespace {

// (horizontal, pos, start, end) of every segment, in order.
using Shape = std::vector<std::tuple<bool, int, int, int>>;

Shape ShapeOf(const SCHEME_BUS& bus) {
    Shape s;
    for (const auto& seg : bus.m_vecSegments) s.emplace_back(seg->IsHorizontal(), seg->m_nPos, seg->m_nStart, seg->m_nEnd);
    return s;
}

SCHEME_BUS MakeBus(const Shape& shape) {
    SCHEME_BUS bus;
    for (const auto& [h, pos, start, end] : shape) bus.m_vecSegments.push_back(MakeBusSegment(h, pos, start, end));
    return bus;
}

constexpr bool H = true, V = false;

struct Picture {
    Bitmap bitmap;
    Graphics g;
    Picture(int w, int h, float scale) : bitmap(w, h), g(&bitmap) {
        g.Clear(Color(0xFFFFFFFF));
        g.SetPageUnit(UnitPixel);
        g.SetPageScale(scale);
    }
    ARGB At(int x, int y) const {
        Color c;
        bitmap.GetPixel(x, y, &c);
        return c.GetValue();
    }
};

void ExpectRect(const RectF& r, float x, float y, float w, float h) {
    EXPECT_NEAR(r.X, x, 1e-5);
    EXPECT_NEAR(r.Y, y, 1e-5);
    EXPECT_NEAR(r.Width, w, 1e-5);
    EXPECT_NEAR(r.Height, h, 1e-5);
}

}  // namespace

TEST(BusSegment, PointsValuesRangesAndRounding) {
    BUS_SEGMENT_HORIZ h;
    h.m_nStart = 10, h.m_nEnd = 2, h.m_nPos = 5;  // runs towards smaller x
    Point p(-1, -1);
    EXPECT_TRUE(h.ConvertToPoint(2, p));
    EXPECT_EQ(p.X, 2);
    EXPECT_EQ(p.Y, 5);
    p = Point(-1, -1);
    EXPECT_FALSE(h.ConvertToPoint(11, p));
    EXPECT_EQ(p.X, -1);  // untouched
    int v = -7;
    EXPECT_TRUE(h.ConvertToValue(Point(4, 5), v));
    EXPECT_EQ(v, 4);
    EXPECT_FALSE(h.ConvertToValue(Point(4, 6), v));
    EXPECT_EQ(h.GetStartPoint().X, 10);
    EXPECT_EQ(h.GetEndPoint().X, 2);

    BUS_SEGMENT_HORIZ near;
    near.m_nStart = 0, near.m_nEnd = 10, near.m_nPos = 2;
    EXPECT_TRUE(near.IsNear(PointF(4.5f, 2.49f), p));  // halves round up
    EXPECT_EQ(p.X, 5);
    EXPECT_EQ(p.Y, 2);
    EXPECT_FALSE(near.IsNear(PointF(4.0f, 2.5f), p));
    EXPECT_FALSE(near.IsNear(PointF(10.5f, 2.0f), p));

    BUS_SEGMENT_VERT vert;
    vert.m_nStart = 0, vert.m_nEnd = 8, vert.m_nPos = 3;
    EXPECT_TRUE(vert.IsNear(PointF(2.5f, 7.6f), p));
    EXPECT_EQ(p.X, 3);
    EXPECT_EQ(p.Y, 8);
    EXPECT_TRUE(vert.ConvertToValue(Point(3, 0), v));
    EXPECT_EQ(v, 0);
    vert.Offset(Size(2, 5));
    EXPECT_EQ(vert.m_nPos, 5);
    EXPECT_EQ(vert.m_nStart, 5);
    EXPECT_EQ(vert.m_nEnd, 13);

    // Bands two device pixels wide.
    ExpectRect(h.GetBoundedRectF(2), 2, 4.5f, 8, 1);
    ExpectRect(vert.GetBoundedRectF(1), 4, 5, 2, 8);

    EXPECT_TRUE(h.IsNearCorner(PointF(10.4f, 5.4f), false));
    EXPECT_FALSE(h.IsNearCorner(PointF(10.5f, 5.0f), false));
    EXPECT_TRUE(h.IsNearCorner(PointF(2, 5), true));
}

TEST(BusSegment, CloneHasItsOwnIdentityCopiesKeepIt) {
    BUS_SEGMENT_VERT v;
    v.m_nStart = 1, v.m_nEnd = 4, v.m_nPos = 9;
    std::unique_ptr<BUS_SEGMENT> c(v.Clone());
    EXPECT_FALSE(c->IsHorizontal());
    EXPECT_TRUE(c->IsSameGeometry(v));
    EXPECT_FALSE(c->IsEqual(v));
    BUS_SEGMENT_VERT copy(v);
    EXPECT_TRUE(copy.IsEqual(v));
    BUS_SEGMENT_HORIZ h;
    h.m_nStart = 1, h.m_nEnd = 4, h.m_nPos = 9;
    EXPECT_FALSE(h.IsSameGeometry(v));
}

TEST(BusSegment, InclusionExcludesRightAndBottomEdges) {
    BUS_SEGMENT_HORIZ h;
    h.m_nStart = 0, h.m_nEnd = 10, h.m_nPos = 5;
    EXPECT_TRUE(h.IsInRect(RectF(0, 0, 10.5f, 10)));
    EXPECT_FALSE(h.IsInRect(RectF(0, 0, 10, 10)));  // ends on x = right edge
    EXPECT_FALSE(h.IsInRect(RectF(0, 0, 20, 5)));   // lies on y = bottom edge
    EXPECT_TRUE(h.IsInRect(RectF(0, 5, 20, 1)));
}

TEST(BusSegment, CommonPointOfTwoSegments) {
    const struct {
        Shape a, b;
        bool ok;
        int x, y;
    } cases[] = {
        {{{H, 0, 0, 20}}, {{H, 0, 0, 10}}, true, 10, 0},
        {{{H, 0, 0, 10}}, {{H, 0, 0, 20}}, true, 10, 0},
        {{{H, 0, 0, 10}}, {{H, 0, 0, -5}}, false, 0, 0},   // the other runs the other way
        {{{H, 0, 20, 0}}, {{H, 0, 20, 5}}, true, 5, 0},    // both backwards
        {{{H, 0, 20, 0}}, {{H, 0, 20, 20}}, false, 0, 0},  // other end at the start
        {{{H, 0, 0, 10}}, {{H, 1, 0, 10}}, false, 0, 0},
        {{{H, 0, 0, 10}}, {{V, 0, 0, 10}}, false, 0, 0},
        {{{V, 4, 2, 9}}, {{V, 4, 2, 6}}, true, 4, 6},
        {{{H, 0, 3, 3}}, {{H, 0, 3, 8}}, true, 3, 0},      // an empty one runs forwards
    };
    for (const auto& c : cases) {
        const SCHEME_BUS a = MakeBus(c.a), b = MakeBus(c.b);
        Point p(-1, -1);
        EXPECT_EQ(a.m_vecSegments[0]->GetLastCommonPointIfPossible(*b.m_vecSegments[0], p), c.ok);
        if (c.ok) {
            EXPECT_EQ(p.X, c.x);
            EXPECT_EQ(p.Y, c.y);
        }
    }
}

TEST(SchemeBus, ExtendToBuildsHorizontalThenVertical) {
    SCHEME_BUS bus;
    bus.m_ptStart = Point(2, 3);
    bus.ExtendTo(Point(2, 3));
    EXPECT_TRUE(bus.m_vecSegments.empty());
    bus.ExtendTo(Point(10, 7));
    EXPECT_EQ(ShapeOf(bus), (Shape{{H, 3, 2, 10}, {V, 10, 3, 7}}));
    bus.ExtendTo(Point(10, 12));  // the last vertical lengthens
    EXPECT_EQ(ShapeOf(bus), (Shape{{H, 3, 2, 10}, {V, 10, 3, 12}}));
    bus.ExtendTo(Point(10, 3));  // and shrinks to nothing: removed
    EXPECT_EQ(ShapeOf(bus), (Shape{{H, 3, 2, 10}}));
    bus.ExtendTo(Point(15, 3));  // the last horizontal lengthens
    EXPECT_EQ(ShapeOf(bus), (Shape{{H, 3, 2, 15}}));
    bus.ExtendTo(Point(2, 9));  // back onto its start x: removed, then vertical from its start
    EXPECT_EQ(ShapeOf(bus), (Shape{{V, 2, 3, 9}}));
    bus.ExtendTo(Point(6, 1));
    EXPECT_EQ(ShapeOf(bus), (Shape{{V, 2, 3, 9}, {H, 9, 2, 6}, {V, 6, 9, 1}}));

    SCHEME_BUS up;
    up.m_ptStart = Point(4, 4);
    up.ExtendTo(Point(4, 0));
    EXPECT_EQ(ShapeOf(up), (Shape{{V, 4, 4, 0}}));
    SCHEME_BUS flat;
    flat.ExtendTo(Point(5, 0));
    EXPECT_EQ(ShapeOf(flat), (Shape{{H, 0, 0, 5}}));
}

TEST(SchemeBus, MovingPartsOfSegments) {
    const struct {
        const char* what;
        Shape before;
        int segment, from, to, dx, dy;
        Shape after;
    } cases[] = {
        {"first horizontal as a whole", {{H, 0, 0, 10}, {V, 10, 0, 5}}, 0, 0, 10, 0, 3,
         {{V, 0, 0, 3}, {H, 3, 0, 10}, {V, 10, 3, 5}}},
        {"middle third of a long horizontal", {{H, 0, 0, 30}}, 0, 10, 20, 0, 4,
         {{H, 0, 0, 10}, {V, 10, 0, 4}, {H, 4, 10, 20}, {V, 20, 4, 0}, {H, 0, 20, 30}}},
        {"last horizontal as a whole", {{V, 0, 0, 5}, {H, 5, 0, 10}}, 1, 0, 10, 0, -2,
         {{V, 0, 0, 3}, {H, 3, 0, 10}, {V, 10, 3, 5}}},
        {"a vertical moves sideways", {{H, 0, 0, 10}, {V, 10, 0, 10}, {H, 10, 10, 20}}, 1, 0, 10, 5, 0,
         {{H, 0, 0, 15}, {V, 15, 0, 10}, {H, 10, 15, 20}}},
        {"a backwards part", {{H, 0, 30, 0}}, 0, 20, 10, 0, 2,
         {{H, 0, 30, 20}, {V, 20, 0, 2}, {H, 2, 20, 10}, {V, 10, 2, 0}, {H, 0, 10, 0}}},
        // The vertical before the moved segment empties: the repair drops it and joins the
        // two horizontals around it.
        {"a step flattened", {{H, 0, 0, 10}, {V, 10, 0, 5}, {H, 5, 10, 20}, {V, 20, 5, 9}}, 2, 10, 20, 0, -5,
         {{H, 0, 0, 20}, {V, 20, 0, 9}}},
        {"no move", {{H, 0, 0, 10}}, 0, 0, 10, 7, 0, {{H, 0, 0, 10}}},
    };
    for (const auto& c : cases) {
        SCHEME_BUS bus = MakeBus(c.before);
        ST_SEGM part;
        part.m_nSegment = c.segment, part.m_nFrom = c.from, part.m_nTo = c.to;
        bus.OffsetSegmentPart(part, Size(c.dx, c.dy));
        EXPECT_EQ(ShapeOf(bus), c.after) << c.what;
    }
}

TEST(SchemeBus, PartsThatDoNotFitTheBusChangeNothing) {
    const Shape shape{{H, 0, 0, 10}, {V, 10, 0, 5}};
    const struct {
        int segment, from, to;
    } cases[] = {{-1, 0, 10}, {2, 0, 5}, {99, 0, 5}, {0, -3, 10}, {0, 0, 11}, {1, 0, 6}, {0, -1, -1}};
    for (const auto& c : cases) {
        SCHEME_BUS bus = MakeBus(shape);
        ST_SEGM part;
        part.m_nSegment = c.segment, part.m_nFrom = c.from, part.m_nTo = c.to;
        bus.OffsetSegmentPart(part, Size(3, 3));
        EXPECT_EQ(ShapeOf(bus), shape) << c.segment << " " << c.from << " " << c.to;
    }
    SCHEME_BUS empty;
    ST_SEGM part;
    empty.OffsetSegmentPart(part, Size(1, 1));
    EXPECT_TRUE(empty.m_vecSegments.empty());
}

TEST(SchemeBus, SwapTwiceRestoresAndCopiesShareOrCloneSegments) {
    const Shape shape{{H, 0, 0, 10}, {V, 10, 0, 5}, {H, 5, 10, 4}};
    SCHEME_BUS bus = MakeBus(shape);
    bus.SwapSegments();
    EXPECT_EQ(ShapeOf(bus), (Shape{{H, 5, 4, 10}, {V, 10, 5, 0}, {H, 0, 10, 0}}));
    bus.SwapSegments();
    EXPECT_EQ(ShapeOf(bus), shape);

    bus.m_nPortIn = 2;
    bus.m_bHostFlag = false;
    SCHEME_BUS shared(bus);
    EXPECT_TRUE(shared.IsEqual(bus));
    EXPECT_EQ(shared.m_vecSegments[0].get(), bus.m_vecSegments[0].get());

    SCHEME_BUS deep;
    const CString own = deep.GetGuidString();
    deep = bus;
    EXPECT_EQ(deep.GetGuidString(), own);
    EXPECT_EQ(deep.m_nPortIn, 2);
    EXPECT_FALSE(deep.m_bHostFlag);
    EXPECT_EQ(ShapeOf(deep), shape);
    EXPECT_NE(deep.m_vecSegments[0].get(), bus.m_vecSegments[0].get());
    deep.Offset(Size(1, 1));
    EXPECT_EQ(ShapeOf(bus), shape);
    deep = deep;
    EXPECT_EQ(deep.m_vecSegments.size(), 3u);
}

TEST(SchemeBus, ForkPoints) {
    // Two buses leave (0, 0) together and part after 10 units.
    const SCHEME_BUS a = MakeBus({{H, 0, 0, 10}, {V, 10, 0, 8}});
    const SCHEME_BUS b = MakeBus({{H, 0, 0, 20}, {V, 20, 0, 8}});
    Point p;
    EXPECT_TRUE(a.GetLastCommonPointIfPossible(b, p));
    EXPECT_EQ(p.X, 10);
    EXPECT_EQ(p.Y, 0);
    EXPECT_TRUE(b.GetLastCommonPointIfPossible(a, p));
    EXPECT_EQ(p.X, 10);
    // They share a corner and a vertical stretch, then part.
    const SCHEME_BUS c = MakeBus({{H, 0, 0, 10}, {V, 10, 0, 8}, {H, 8, 10, 30}});
    const SCHEME_BUS d = MakeBus({{H, 0, 0, 10}, {V, 10, 0, 4}, {H, 4, 10, 30}});
    EXPECT_TRUE(c.GetLastCommonPointIfPossible(d, p));
    EXPECT_EQ(p.X, 10);
    EXPECT_EQ(p.Y, 4);
    // Different starts: no fork.
    const SCHEME_BUS e = MakeBus({{H, 1, 0, 10}});
    EXPECT_FALSE(a.GetLastCommonPointIfPossible(e, p));
    EXPECT_FALSE(SCHEME_BUS().GetLastCommonPointIfPossible(a, p));
    EXPECT_FALSE(a.GetLastCommonPointIfPossible(SCHEME_BUS(), p));
    // A bus that is a prefix of the other forks at its own end.
    const SCHEME_BUS f = MakeBus({{H, 0, 0, 10}});
    EXPECT_TRUE(f.GetLastCommonPointIfPossible(b, p));
    EXPECT_EQ(p.X, 10);
}

TEST(SchemeBus, BoundsInclusionAndCorners) {
    const SCHEME_BUS a = MakeBus({{H, 5, 2, 10}, {V, 10, 5, 9}});
    ExpectRect(a.GetBoundedRectF(1), 2, 4, 9, 5);
    ExpectRect(SCHEME_BUS().GetBoundedRectF(1), 0, 0, 0, 0);
    EXPECT_TRUE(a.IsInRect(RectF(2, 5, 9, 5)));
    EXPECT_FALSE(a.IsInRect(RectF(2, 5, 8, 5)));
    EXPECT_FALSE(SCHEME_BUS().IsInRect(RectF(-100, -100, 200, 200)));

    MAP_SCHEME_POINTER_BUS map;
    ExpectRect(map.GetBoundedRectF(1), 0, 0, 0, 0);
    SmartPointer<SCHEME_BUS> pa(new SCHEME_BUS(a));
    map[pa->GetGuidString()] = pa;
    ExpectRect(map.GetBoundedRectF(1), 2, 4, 9, 5);
    SmartPointer<SCHEME_BUS> empty(new SCHEME_BUS);
    map[empty->GetGuidString()] = empty;
    ExpectRect(map.GetBoundedRectF(1), 0, 0, 11, 9);  // the segmentless bus adds the origin

    CString key;
    int index = -1;
    EXPECT_TRUE(map.IsNearCorner(PointF(10.2f, 4.8f), key, index));
    EXPECT_EQ(key, pa->GetGuidString());
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(map.IsNearCorner(PointF(10, 9), key, index));  // the bus's end is no corner
    EXPECT_FALSE(map.IsNearCorner(PointF(2, 5), key, index));
}

TEST(SchemeBusDraw, ASeveralSegmentBusInEachLook) {
    SCHEME_BUS bus = MakeBus({{H, 10, 5, 40}, {V, 40, 10, 30}, {H, 30, 40, 70}, {V, 70, 30, 15}});
    {
        Picture pic(80, 40, 1);
        bus.Draw(pic.g, eDrawNormal, Size(0, 0));
        // A 2-pixel line covers the pixel rows either side of y = 10 (rows 9 and 10).
        EXPECT_EQ(pic.At(20, 9), 0xFF000000u);
        EXPECT_EQ(pic.At(20, 10), 0xFF000000u);
        EXPECT_EQ(pic.At(20, 12), 0xFFFFFFFFu);
        EXPECT_EQ(pic.At(40, 20), 0xFF000000u);  // vertical at x = 40
        EXPECT_EQ(pic.At(55, 30), 0xFF000000u);
        EXPECT_EQ(pic.At(70, 20), 0xFF000000u);
        EXPECT_EQ(pic.At(70, 35), 0xFFFFFFFFu);  // the last vertical ends at y = 15 upwards
        EXPECT_EQ(pic.At(55, 20), 0xFFFFFFFFu);
        EXPECT_EQ(pic.At(2, 10), 0xFFFFFFFFu);
    }
    {
        Picture pic(80, 40, 1);
        bus.Draw(pic.g, eDrawSelect, Size(0, 2));  // the offset shifts the whole bus
        EXPECT_EQ(pic.At(20, 12), 0xFF0000FFu);
        EXPECT_EQ(pic.At(20, 9), 0xFFFFFFFFu);
    }
    {
        Picture pic(80, 40, 1);
        bus.Draw(pic.g, eDrawDragSegment, Size(0, 0));
        int blue = 0, white = 0;
        for (int x = 6; x < 39; ++x) {
            if (pic.At(x, 10) == 0xFF0000FFu) ++blue;
            if (pic.At(x, 10) == 0xFFFFFFFFu) ++white;
        }
        EXPECT_GT(blue, 5);  // dashed
        EXPECT_GT(white, 5);
    }
    {
        // Mimic screens draw wider in their own colour: 4 pixels at scale 1.
        Picture pic(80, 40, 1);
        bus.Draw(pic.g, eDrawRedPins, Size(0, 0));
        EXPECT_EQ(pic.At(20, 8), 0xFF640064u);
        EXPECT_EQ(pic.At(20, 11), 0xFF640064u);
        EXPECT_EQ(pic.At(20, 13), 0xFFFFFFFFu);
    }
    {
        // Zoomed in twice the line stays two device pixels wide.
        Picture pic(160, 80, 2);
        bus.Draw(pic.g, eDrawNormal, Size(0, 0));
        EXPECT_EQ(pic.At(40, 19), 0xFF000000u);
        EXPECT_EQ(pic.At(40, 20), 0xFF000000u);
        EXPECT_EQ(pic.At(40, 22), 0xFFFFFFFFu);
        EXPECT_EQ(pic.At(80, 40), 0xFF000000u);
    }
    {
        Picture pic(20, 20, 1);
        SCHEME_BUS().Draw(pic.g, eDrawNormal, Size(0, 0));
        EXPECT_EQ(pic.At(0, 0), 0xFFFFFFFFu);
    }
}

TEST(SchemeBusDraw, UnderWineTheLineIsTheThinnest) {
    SCHEME_BUS bus = MakeBus({{H, 10, 0, 40}});
    VersionInterface::SetIsWine(true);
    Picture pic(50, 20, 1);
    bus.Draw(pic.g, eDrawNormal, Size(0, 0));
    VersionInterface::SetIsWine(false);
    int dark = 0;
    for (int y = 7; y < 14; ++y)
        if (pic.At(20, y) != 0xFFFFFFFFu) ++dark;
    EXPECT_GE(dark, 1);
    EXPECT_LE(dark, 2);  // one device pixel, maybe spread over two rows
}

TEST(SchemeBusDraw, DraggedPartOfASegment) {
    BUS_SEGMENT_HORIZ h;
    h.m_nStart = 0, h.m_nEnd = 40, h.m_nPos = 10;
    Picture pic(50, 20, 1);
    h.DrawPartDrag(pic.g, 10, 50);  // the far end is off the segment: nothing
    EXPECT_EQ(pic.At(20, 10), 0xFFFFFFFFu);
    h.DrawPartDrag(pic.g, 10, 30);
    EXPECT_EQ(pic.At(20, 10), 0xFFFFFF00u);
    EXPECT_EQ(pic.At(5, 10), 0xFFFFFFFFu);
}
