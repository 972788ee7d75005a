// The element base of logic schemes: port bookkeeping, pin and inversion hit tests, port
// decorations rendered on an off-screen picture, and the element map's drawing, bounds and hits.
#include <gtest/gtest.h>

#include <memory>

#include "halvex/config/ArmObject.h"
#include "halvex/scheme/SchemeBaseElement.h"
#include "tests/halvex/support/FakeArmHost.h"

using namespace Gdiplus;

namespace {

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

// An element whose picture is a box with pins given by the test; it draws the picture and the
// base's decorations the way concrete elements do.
class BoxElement : public SCHEME_BASE_ELEMENT {
public:
    BoxElement() {
        Sch_Object box;
        box.m_nType = 1;
        box.m_rect.m_rect = RectF(0, 0, 4, 4);
        picture.m_vObjects = {box};
    }
    void AddIn(float x, float y) {
        Sch_PortIn p;
        p.m_fX = x, p.m_fY = y;
        picture.m_vPortIn.push_back(p);
    }
    void AddOut(float x, float y) {
        Sch_PortOut p;
        p.m_fX = x, p.m_fY = y;
        picture.m_vPortOut.push_back(p);
    }

    void Draw(ArmDataInterface* host, Graphics& g, EDrawType type, Size offset) const override {
        const GraphicsState s = g.Save();
        g.TranslateTransform(REAL(offset.Width + m_nX), REAL(offset.Height + m_nY));
        const_cast<Scheme_Draw&>(picture).Draw(g, type, nullptr, nullptr);
        if (busySquares) DrawSquaresOnBusyPorts(host, g, type);
        if (freeSquares) DrawSquaresOnFreePorts(host, g, type);
        else DrawCrossesOnFreePorts(host, g, type);
        DrawInversionsOnPorts(host, g, type);
        g.Restore(s);
        ++drawn;
    }
    ESchemeElementType GetSchemeElementType() const override { return eSchElemFunc; }
    RectF GetBoundedRectF(ArmDataInterface*, float scale) const override {
        return SchPlaceElementRect(const_cast<Scheme_Draw&>(picture).GetBoundedRectF(scale), m_nX, m_nY);
    }
    void GetVectPortIn(ArmDataInterface*, std::vector<Sch_PortIn>& out) const override { out = picture.m_vPortIn; }
    void GetVectPortOut(ArmDataInterface*, std::vector<Sch_PortOut>& out) const override { out = picture.m_vPortOut; }
    SCHEME_BASE_ELEMENT* Clone() const override { return new BoxElement(*this); }
    bool IsAllowInvertPort(ArmDataInterface*, int port, bool isInput) const override {
        return isInput ? port != 1 : true;  // input 1 may not be inverted
    }
    CString GetSchemeEditShortName() const override { return L" "; }
    bool IsUseGerionInsteadRectForHitTest() const override { return useRegion; }
    Region* CreateBoundedRegion(ArmDataInterface* host, float scale) const override {
        if (!useRegion) return SCHEME_BASE_ELEMENT::CreateBoundedRegion(host, scale);
        // A thin diagonal: only points near the line from (0, 0) to (10, 10) belong to it.
        GraphicsPath path;
        const PointF pts[] = {{0, 0}, {1, 0}, {11, 10}, {10, 10}};
        path.AddPolygon(pts, 4);
        return new Region(&path);
    }
    bool IsLargePinHitTarget(ArmDataInterface*) const override { return large; }

    Scheme_Draw picture;
    bool busySquares = false, freeSquares = false, useRegion = false, large = false;
    mutable int drawn = 0;
};

GuidAndPort LinkTo(const SCHEME_GUID_ELEMENT& far, int port) {
    GuidAndPort l;
    l.m_guidElem = far.m_guid;
    l.m_nPort = port;
    return l;
}

}  // namespace

TEST(SchemeBaseElement, LinksBusyFreeAndInversions) {
    testutil::FakeArmHost host;
    BoxElement e, far;
    e.AddIn(0, 1);
    e.AddIn(0, 3);
    e.AddOut(4, 2);

    const GuidAndPort none;
    EXPECT_TRUE(CompileIncludeSpace::IsGuidNil(none.m_guidElem));
    EXPECT_TRUE(CompileIncludeSpace::IsGuidNil(none.m_guidBus));
    EXPECT_EQ(none.m_nPort, 0);

    EXPECT_FALSE(e.IsPortInBusy(0));
    EXPECT_TRUE(e.CanStartBusFromPortIn(0));
    e.m_mapInLinks[0] = LinkTo(far, 0);
    EXPECT_TRUE(e.IsPortInBusy(0));
    EXPECT_FALSE(e.CanStartBusFromPortIn(0));
    EXPECT_TRUE(CompileIncludeSpace::IsGuidEqual(e.GetPortInGuid(0), far.m_guid));
    e.m_mapInLinks[1] = GuidAndPort();  // an entry holding no element is free
    EXPECT_FALSE(e.IsPortInBusy(1));
    EXPECT_FALSE(e.IsPortInBusy(-5));

    EXPECT_FALSE(e.IsPortOutBusy(0));
    e.m_mapOutLinks[0];  // an entry with no link left still makes the output busy
    EXPECT_TRUE(e.IsPortOutBusy(0));
    EXPECT_TRUE(e.CanStartBusFromPortOut(0));

    e.m_setInvertedIn = {0, 1};
    e.m_setInvertedOut = {0};
    EXPECT_TRUE(e.IsPortInInverted(&host, 0));
    EXPECT_FALSE(e.IsPortInInverted(&host, 1));  // stored but not allowed
    EXPECT_TRUE(e.IsPortOutInverted(&host, 0));
    EXPECT_FALSE(e.IsPortOutInverted(&host, 3));

    // The base allows no inversion at all.
    struct Plain : BoxElement {
        bool IsAllowInvertPort(ArmDataInterface* h, int p, bool in) const override {
            return SCHEME_BASE_ELEMENT::IsAllowInvertPort(h, p, in);
        }
    } plain;
    plain.AddIn(0, 1);
    plain.m_setInvertedIn = {0};
    EXPECT_FALSE(plain.IsPortInInverted(&host, 0));

    // Base answers of the type operations.
    MAP_SCHEME_POINTER_ELEMENT map;
    EXPECT_EQ(plain.GetPortInTypeMatch(&host, &map, 0), L"");
    EXPECT_EQ(plain.GetPortOutTypeMatchWithBlackList(&host, &map, 0, {L"x"}), L"");
    EXPECT_FALSE(plain.IsAutoDetectPortInTypeMatch(&host, 0));
    EXPECT_FALSE(plain.IsAutoDetectPortOutTypeMatch(&host, 0));
    OUT_INFO_TEXT info;
    info.m_sName = L"old";
    info.m_arrLines = {L"line"};
    plain.FillOutInfoText(info, &host);
    EXPECT_EQ(info.m_sName, L"");
    EXPECT_TRUE(info.m_arrLines.empty());
}

TEST(SchemeBaseElement, CopiesKeepIdentity) {
    BoxElement e;
    e.m_nX = 7;
    e.m_mapPortTexts[0] = L"0.5";
    BoxElement copy(e);
    EXPECT_TRUE(copy.IsEqual(e));
    EXPECT_EQ(copy.GetGuidString(), e.GetGuidString());
    EXPECT_EQ(copy.m_mapPortTexts[0], L"0.5");
    std::unique_ptr<SCHEME_BASE_ELEMENT> clone(e.Clone());
    EXPECT_TRUE(clone->IsEqual(e));
    EXPECT_EQ(clone->m_nX, 7);
    BoxElement other;
    EXPECT_FALSE(other.IsEqual(e));
    EXPECT_EQ(e.GetGuidString().GetLength(), 36);
}

TEST(SchemeBaseElement, PinAndInversionHitTests) {
    testutil::FakeArmHost host;
    BoxElement e;
    e.m_nX = 10, e.m_nY = 20;
    e.AddIn(0, 1);  // ends at (-1, 1)
    e.AddIn(0, 3);
    e.AddOut(4, 1);  // ends at (5, 1)
    int in = 7, out = 7;
    const struct {
        float x, y;
        bool hit;
        int in, out;
    } cases[] = {
        {9.0f, 21.0f, true, 0, -1},      // the end of input 0
        {8.5f, 20.5f, true, 0, -1},      // left and top edges of its 1 x 1 target belong to it
        {9.5f, 21.0f, false, -1, -1},    // the right edge does not
        {9.0f, 21.5f, false, -1, -1},    // nor the bottom edge
        {9.2f, 23.2f, true, 1, -1},      // input 1
        {15.0f, 21.0f, true, -1, 0},     // output 0
        {12.0f, 22.0f, false, -1, -1},   // inside the box, no pin
    };
    for (const auto& c : cases) {
        PointF p(c.x, c.y);
        EXPECT_EQ(e.GetPinHitTest(&host, p, in, out), c.hit) << c.x << "," << c.y;
        EXPECT_EQ(in, c.in) << c.x << "," << c.y;
        EXPECT_EQ(out, c.out) << c.x << "," << c.y;
    }
    // A larger target: 6 x 6 around the end.
    e.large = true;
    PointF nearIn(11.4f, 24.5f);
    EXPECT_TRUE(e.GetPinHitTest(&host, nearIn, in, out));
    EXPECT_EQ(in, 1);
    PointF pastIn(12.0f, 24.5f);  // right edge of input 1's large target
    EXPECT_FALSE(e.GetPinHitTest(&host, pastIn, in, out));
    e.large = false;

    // Inversion targets: the pin line widened by half a unit, whatever may be inverted.
    const struct {
        float x, y;
        bool hit;
        int in, out;
    } inv[] = {
        {9.5f, 21.0f, true, 0, -1},    // middle of input 0's stroke
        {8.5f, 20.5f, true, 0, -1},    // top-left corner
        {10.5f, 21.0f, false, -1, -1}, // right edge
        {9.5f, 21.5f, false, -1, -1},  // bottom edge
        {9.5f, 23.0f, true, 1, -1},    // input 1, which may not be inverted
        {14.9f, 21.2f, true, -1, 0},
    };
    for (const auto& c : inv) {
        PointF p(c.x, c.y);
        EXPECT_EQ(e.GetInversionHitTest(&host, p, in, out), c.hit) << c.x << "," << c.y;
        EXPECT_EQ(in, c.in);
        EXPECT_EQ(out, c.out);
    }

    // An input and an output pin over one another: the input wins.
    BoxElement o;
    o.AddIn(2, 2);   // ends at (1, 2)
    o.AddOut(0, 2);  // ends at (1, 2)
    PointF p(1, 2);
    EXPECT_TRUE(o.GetPinHitTest(&host, p, in, out));
    EXPECT_EQ(in, 0);
    EXPECT_EQ(out, -1);
    EXPECT_TRUE(o.GetInversionHitTest(&host, p, in, out));
    EXPECT_EQ(in, 0);
    EXPECT_EQ(out, -1);
}

TEST(SchemeBaseElement, PortDecorationsRendered) {
    testutil::FakeArmHost host;
    BoxElement far;
    // Scale 10; element at (2, 2): input 0 busy at (2, 3), input 1 free at (2, 5), output 0
    // busy at (6, 3), output 1 free at (6, 5); inversions on input 0 and output 1.
    BoxElement e;
    e.m_nX = 2, e.m_nY = 2;
    e.AddIn(0, 1);
    e.AddIn(0, 3);
    e.AddOut(4, 1);
    e.AddOut(4, 3);
    e.m_mapInLinks[0] = LinkTo(far, 0);
    e.m_mapOutLinks[0];  // busy with no link left
    e.m_setInvertedIn = {0, 1};
    e.m_setInvertedOut = {1};
    e.busySquares = true;

    Picture p(100, 100, 10);
    e.Draw(&host, p.g, eDrawNormal, Size());
    EXPECT_EQ(p.At(5, 15), 0xFF640064u);   // square around the busy input's anchor
    EXPECT_EQ(p.At(60, 30), 0xFF640064u);  // filled square on the busy output's anchor
    EXPECT_EQ(p.At(19, 50), 0xFF000000u);  // cross at the free input's end, (1, 5)
    EXPECT_EQ(p.At(70, 54), 0xFFFFFFFFu);  // the free output's end (7, 5) ...
    EXPECT_EQ(p.At(67, 47), 0xFF000000u);  // ... is crossed
    EXPECT_EQ(p.At(8, 28), 0xFF640064u);   // no cross at the busy input's end, (1, 3)
    // Inversion circles: white inside, on pins that may carry them.
    EXPECT_EQ(p.At(60, 50), 0xFFFFFFFFu);  // output 1's circle, over the pin stroke
    EXPECT_EQ(p.At(20, 50), 0xFF000000u);  // input 1 may not be inverted: the stroke stays

    // Pin markers of kind 5: every pin crossed blue, no squares.
    Picture q(100, 100, 10);
    e.Draw(&host, q.g, eDrawBluePins, Size());
    EXPECT_EQ(q.At(5, 15), 0xFF0000FFu);   // 6 x 6 around input 0's anchor, busy or not
    EXPECT_EQ(q.At(85, 5), 0xFF0000FFu);   // output 0's
    EXPECT_EQ(q.At(5, 75), 0xFF0000FFu);   // input 1's

    // Squares on free outputs only.
    BoxElement f = e;
    f.busySquares = false;
    f.freeSquares = true;
    f.m_setInvertedIn.clear();
    f.m_setInvertedOut.clear();
    Picture r(100, 100, 10);
    f.Draw(&host, r.g, eDrawNormal, Size(1, 0));
    EXPECT_EQ(r.At(70, 50), 0xFF640064u);  // output 1 free, moved by the offset
    EXPECT_NE(r.At(70, 20), 0xFF640064u);  // output 0 busy
    EXPECT_NE(r.At(30, 50), 0xFF640064u);  // inputs get none
}

TEST(SchemeElementMap, DrawBoundsAndHitsSkipHoles) {
    testutil::FakeArmHost host;
    MAP_SCHEME_POINTER_ELEMENT map;
    EXPECT_EQ(map.GetBoundedRectF(&host, 1).Width, 0);
    PointF origin(0, 0);
    EXPECT_EQ(map.GetHitElement(&host, origin, 1), L"");

    auto* a = new BoxElement;
    auto* b = new BoxElement;
    a->m_nX = 10, a->m_nY = 10;
    b->m_nX = 12, b->m_nY = 12;
    map[L"bbbb"] = SmartPointer<SCHEME_BASE_ELEMENT>(a);
    map[L"aaaa"] = SmartPointer<SCHEME_BASE_ELEMENT>(b);
    map[L"0000"];  // a hole
    map[L"zzzz"];

    Picture p(40, 40, 1);
    map.Draw(&host, p.g, eDrawNormal, Size());
    EXPECT_EQ(a->drawn, 1);
    EXPECT_EQ(b->drawn, 1);

    const RectF r = map.GetBoundedRectF(&host, 1);
    EXPECT_FLOAT_EQ(r.X, 9);  // the box's bounds take in its pen
    EXPECT_FLOAT_EQ(r.GetRight(), 17);

    // Overlap at (13, 13): the smaller key wins; holes are passed over.
    PointF both(13, 13), onlyA(10.2f, 10.2f), none(30, 30);
    EXPECT_EQ(map.GetHitElement(&host, both, 1), L"aaaa");
    EXPECT_EQ(map.GetHitElement(&host, onlyA, 1), L"bbbb");
    EXPECT_EQ(map.GetHitElement(&host, none, 1), L"");
    EXPECT_EQ(map.Find(L"bbbb"), a);
    EXPECT_EQ(map.Find(L"0000"), nullptr);
    EXPECT_EQ(map.Find(L"none"), nullptr);

    // An element with no extent is never hit but widens the bounds.
    auto* flat = new BoxElement;
    flat->picture.m_vObjects.clear();
    map[L"cccc"] = SmartPointer<SCHEME_BASE_ELEMENT>(flat);
    const RectF r2 = map.GetBoundedRectF(&host, 1);
    EXPECT_FLOAT_EQ(r2.X, 0);  // united with (0, 0, 0, 0)
    EXPECT_FLOAT_EQ(r2.GetRight(), 17);
    PointF at0(0, 0);
    EXPECT_EQ(map.GetHitElement(&host, at0, 1), L"");

    // An element hit by its region: near its diagonal only.
    MAP_SCHEME_POINTER_ELEMENT lines;
    auto* line = new BoxElement;
    line->useRegion = true;
    lines[L"line"] = SmartPointer<SCHEME_BASE_ELEMENT>(line);
    PointF onLine(5.4f, 5.0f), offLine(1.0f, 3.0f);
    EXPECT_EQ(lines.GetHitElement(&host, onLine, 1), L"line");
    EXPECT_EQ(lines.GetHitElement(&host, offLine, 1), L"");

    // The base's region covers the bounding rectangle.
    std::unique_ptr<Region> region(a->SCHEME_BASE_ELEMENT::CreateBoundedRegion(&host, 1));
    EXPECT_TRUE(region->IsVisible(PointF(12, 12)));
    EXPECT_FALSE(region->IsVisible(PointF(20, 12)));
}
