// Decoration elements: defaults, font conversions, bounds, hit regions (a line of no length
// included), corner and end hits, drawing; the copy buffer, and copying a group of linked
// elements into another scheme.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "halvex/helpers/VersionInterface.h"
#include "halvex/scheme/SchemeDecor.h"
#include "halvex/scheme/SchemeFuncElement.h"
#include "halvex/scheme/SchemeInOut.h"
#include "tests/halvex/support/FakeArmHost.h"
#include "tests/halvex/support/TestSchemeElements.h"

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
    int DarkIn(int x0, int y0, int x1, int y1) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (At(x, y) != 0xFFFFFFFFu) ++n;
        return n;
    }
};

void ExpectRect(const RectF& r, float x, float y, float w, float h) {
    EXPECT_NEAR(r.X, x, 1e-4);
    EXPECT_NEAR(r.Y, y, 1e-4);
    EXPECT_NEAR(r.Width, w, 1e-4);
    EXPECT_NEAR(r.Height, h, 1e-4);
}

bool In(SCHEME_BASE_ELEMENT& e, float x, float y, float scale = 1) {
    std::unique_ptr<Region> r(e.CreateBoundedRegion(nullptr, scale));
    return r->IsVisible(PointF(x, y));
}

}  // namespace

TEST(SchemeDecor, DefaultsKindsAndCopies) {
    SCHEME_TEXT_ELEMENT text;
    EXPECT_FALSE(text.m_bCodeStyle);
    EXPECT_EQ(text.m_font.m_sFaceName, L"Arial");
    EXPECT_EQ(text.m_font.m_fSize, 2.0f);
    EXPECT_EQ(text.m_color, 0xFF000000u);
    SCHEME_TEXT_ELEMENT code(true);
    EXPECT_EQ(code.m_font.m_sFaceName, L"Courier New");
    EXPECT_EQ(code.m_font.m_fSize, 20.0f);
    EXPECT_TRUE(code.m_font.m_bBold);
    EXPECT_EQ(code.m_color, 0xFF640064u);
    SCHEME_DYNAMIC_ELEMENT dyn;
    EXPECT_FALSE(dyn.m_bCodeStyle);
    EXPECT_EQ(dyn.m_font.m_sFaceName, L"Courier New");
    EXPECT_TRUE(dyn.m_font.m_bBold);
    EXPECT_EQ(dyn.m_color, 0xFF000000u);
    EXPECT_EQ(dyn.m_colorDisplay, 0xFF640064u);
    EXPECT_EQ(dyn.m_nBoxWidth, 84);
    EXPECT_EQ(dyn.m_nBoxHeight, 20);
    SCHEME_LINE_ELEMENT line;
    SCHEME_RECT_ELEMENT rect;

    const struct {
        SCHEME_BASE_ELEMENT* e;
        ESchemeElementType type;
        bool region;
    } kinds[] = {{&text, eSchElemText, false}, {&line, eSchElemLine, true}, {&rect, eSchElemRect, true},
                 {&dyn, eSchElemDynText, false}};
    for (const auto& k : kinds) {
        EXPECT_EQ(k.e->GetSchemeElementType(), k.type);
        EXPECT_EQ(k.e->IsUseGerionInsteadRectForHitTest(), k.region);
        EXPECT_EQ(k.e->GetSchemeEditShortName(), L" ");
        std::vector<Sch_PortIn> ins{Sch_PortIn()};
        std::vector<Sch_PortOut> outs{Sch_PortOut()};
        k.e->GetVectPortIn(nullptr, ins);
        k.e->GetVectPortOut(nullptr, outs);
        EXPECT_TRUE(ins.empty());
        EXPECT_TRUE(outs.empty());
        std::unique_ptr<SCHEME_BASE_ELEMENT> clone(k.e->Clone());
        EXPECT_EQ(clone->GetSchemeElementType(), k.type);
        EXPECT_TRUE(clone->IsEqual(*k.e));
    }
    dyn.m_sAlias = L"Ia";
    std::unique_ptr<SCHEME_BASE_ELEMENT> clone(dyn.Clone());
    EXPECT_EQ(dynamic_cast<SCHEME_DYNAMIC_ELEMENT&>(*clone).m_sAlias, L"Ia");
}

TEST(SchemeDecor, FontConversions) {
    LOGFONTW lf;
    SCHEME_TEXT_ELEMENT text;
    text.SetLogFont(lf);
    EXPECT_EQ(lf.lfHeight, -16);
    EXPECT_EQ(lf.lfWeight, 400);
    EXPECT_EQ(lf.lfEscapement, 900);
    EXPECT_EQ(lf.lfOrientation, 900);
    EXPECT_EQ(lf.lfCharSet, 1);
    EXPECT_EQ(lf.lfItalic, 0);
    EXPECT_EQ(std::wstring(lf.lfFaceName), L"Arial");

    Arm_Font f;
    f.m_fSize = 1.3f;  // 10.4 rounds to 10
    f.m_bBold = f.m_bItalic = f.m_bUnderline = f.m_bStrikeout = true;
    f.m_sFaceName = L"A face name much longer than a LOGFONT can hold";
    SCHEME_TEXT_ELEMENT::SetLogFontFromArmFont(f, lf);
    EXPECT_EQ(lf.lfHeight, -10);
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfItalic + lf.lfUnderline + lf.lfStrikeOut, 3);
    EXPECT_EQ(std::wstring(lf.lfFaceName).size(), size_t(LF_FACESIZE - 1));

    LOGFONTW in;
    in.lfHeight = -20;
    in.lfWeight = 600;
    in.lfItalic = 1;
    std::wcscpy(in.lfFaceName, L"Tahoma");
    text.SetArmFont(in);
    EXPECT_EQ(text.m_font.m_fSize, 2.5f);
    EXPECT_FALSE(text.m_font.m_bBold);
    EXPECT_TRUE(text.m_font.m_bItalic);
    EXPECT_FALSE(text.m_font.m_bUnderline);
    EXPECT_EQ(text.m_font.m_sFaceName, L"Tahoma");
    in.lfHeight = 24;
    in.lfWeight = 900;
    SCHEME_TEXT_ELEMENT::SetArmFontFromLogFont(in, f);
    EXPECT_EQ(f.m_fSize, 3.0f);
    EXPECT_TRUE(f.m_bBold);
}

TEST(SchemeDecor, LineBoundsRegionAndEnds) {
    SCHEME_LINE_ELEMENT line;
    line.m_nX = 5;
    line.m_nY = 7;
    ExpectRect(line.GetBoundedRectF(nullptr, 1), 2, 4, 16, 6);
    ExpectRect(line.GetBoundedRectF(nullptr, 2), 3.5f, 5.5f, 13, 3);

    // h = max(2, 0.3) + max(1, 0.3) = 3 at scale 1: a band 3 either side, 3 past both ends.
    EXPECT_TRUE(In(line, 10, 7));
    EXPECT_TRUE(In(line, 10, 9.9f));
    EXPECT_FALSE(In(line, 10, 10.1f));
    EXPECT_TRUE(In(line, 2.1f, 7));
    EXPECT_FALSE(In(line, 1.9f, 7));
    EXPECT_TRUE(In(line, 17.9f, 7));
    EXPECT_FALSE(In(line, 18.1f, 7));
    // A slanted line: the band follows it.
    line.m_nEndX = 10;
    line.m_nEndY = 10;
    EXPECT_TRUE(In(line, 10, 12));
    EXPECT_FALSE(In(line, 15, 7));

    // A line of no length is hit within a square around its point.
    SCHEME_LINE_ELEMENT dot;
    dot.m_nX = 20;
    dot.m_nY = 30;
    dot.m_nEndX = 0;
    std::unique_ptr<Region> region(dot.CreateBoundedRegion(nullptr, 1));
    EXPECT_TRUE(region->IsVisible(PointF(20, 30)));
    EXPECT_TRUE(region->IsVisible(PointF(22.9f, 27.1f)));
    EXPECT_FALSE(region->IsVisible(PointF(23.1f, 30)));
    EXPECT_FALSE(region->IsVisible(PointF(20, 26.9f)));
    dot.m_nWidth = 10;  // zoomed out: h = 10/4 + 0.3
    std::unique_ptr<Region> wide(dot.CreateBoundedRegion(nullptr, 4));
    EXPECT_TRUE(wide->IsVisible(PointF(22.7f, 30)));
    EXPECT_FALSE(wide->IsVisible(PointF(22.9f, 30)));
    MAP_SCHEME_POINTER_ELEMENT map;
    map[dot.GetGuidString()] = SmartPointer<SCHEME_BASE_ELEMENT>(dot.Clone());
    PointF p(21, 31);
    EXPECT_EQ(map.GetHitElement(nullptr, p, 1), dot.GetGuidString());
    PointF q(40, 30);
    EXPECT_EQ(map.GetHitElement(nullptr, q, 1), L"");

    // Ends: tolerance 1 + max(5, 3) = 6 at width 2 and scale 1.
    SCHEME_LINE_ELEMENT l;
    bool start = false;
    EXPECT_TRUE(l.GetStartEndPointsHitTest(PointF(15.9f, 0), 1, start));
    EXPECT_FALSE(start);
    EXPECT_FALSE(l.GetStartEndPointsHitTest(PointF(16, 0), 1, start));
    EXPECT_TRUE(l.GetStartEndPointsHitTest(PointF(-5.9f, 5.9f), 1, start));
    EXPECT_TRUE(start);
    l.m_nWidth = 9;  // 1 + max(5, 10) = 11
    EXPECT_TRUE(l.GetStartEndPointsHitTest(PointF(20.9f, 0), 1, start));
}

TEST(SchemeDecor, RectBoundsFrameRegionAndCorners) {
    SCHEME_RECT_ELEMENT r;
    r.m_nX = 10;
    r.m_nY = 20;
    r.m_nWidth = 100;
    r.m_nHeight = 100;
    ExpectRect(r.GetBoundedRectF(nullptr, 1), 9, 19, 102, 102);
    ExpectRect(r.GetBoundedRectF(nullptr, 2), 9.5f, 19.5f, 101, 101);
    // t = 1 + max(5, 4) = 6: bands of 12 centred on the edges; the inside is free.
    EXPECT_FALSE(In(r, 60, 70));
    EXPECT_TRUE(In(r, 60, 25.9f));
    EXPECT_FALSE(In(r, 60, 26.1f));
    EXPECT_TRUE(In(r, 4.1f, 70));
    EXPECT_FALSE(In(r, 3.9f, 70));
    EXPECT_TRUE(In(r, 115.9f, 125.9f));
    ERectElemCornerHitTest corner = eRectCornerTopLeft;
    EXPECT_TRUE(r.GetCornerHitTest(PointF(110, 120), 1, corner));
    EXPECT_EQ(corner, eRectCornerBottomRight);
    EXPECT_TRUE(r.GetCornerHitTest(PointF(105, 15), 1, corner));
    EXPECT_EQ(corner, eRectCornerTopRight);
    EXPECT_TRUE(r.GetCornerHitTest(PointF(10, 120), 1, corner));
    EXPECT_EQ(corner, eRectCornerBottomLeft);
    EXPECT_TRUE(r.GetCornerHitTest(PointF(15.9f, 25.9f), 1, corner));
    EXPECT_EQ(corner, eRectCornerTopLeft);
    EXPECT_FALSE(r.GetCornerHitTest(PointF(60, 70), 1, corner));
    EXPECT_FALSE(r.GetCornerHitTest(PointF(16, 20), 1, corner));
}

TEST(SchemeDecor, DynamicTextRefreshAliasAndBounds) {
    SCHEME_DYNAMIC_ELEMENT d;
    EXPECT_TRUE(d.RefreshByTimer(nullptr));
    EXPECT_EQ(d.m_sLastValue, L"??????");
    EXPECT_FALSE(d.RefreshByTimer(nullptr));
    ExpectRect(d.GetBoundedRectForCountAliasPos(), 0, 0, 84, 20);

    d.m_font.m_sFaceName = L"DejaVu Sans";
    d.m_font.m_fSize = 10;
    d.m_sAlias = L"Ua";
    const RectF left = (d.m_nAliasPlace = 0, d.GetAliasBoundedRectF(1));
    const float tw = left.Width;
    ASSERT_GT(tw, 5);
    ExpectRect(left, -tw, 0, tw, 20);
    ExpectRect((d.m_nAliasPlace = 1, d.GetAliasBoundedRectF(1)), 84, 0, tw, 20);
    const RectF above = (d.m_nAliasPlace = 2, d.GetAliasBoundedRectF(1));
    const float th = above.Height;
    ExpectRect(above, (84 - tw) / 2, -th, tw, th);
    ExpectRect((d.m_nAliasPlace = 3, d.GetAliasBoundedRectF(1)), (84 - tw) / 2, 20, tw, th);
    ExpectRect((d.m_nAliasPlace = 4, d.GetAliasBoundedRectF(1)), 0, 0, 0, 0);

    d.m_nAliasPlace = 0;
    d.m_nX = 100;
    d.m_nY = 50;
    const RectF b = d.GetBoundedRectF(nullptr, 1);
    EXPECT_NEAR(b.X, 100 - tw, 1e-3);
    EXPECT_NEAR(b.GetRight(), 184, 1.0);  // the value box, from where the value text starts
    EXPECT_NEAR(b.Y, 50, 1.0);
    EXPECT_NEAR(b.GetBottom(), 70, 1.0);

    Sch_Text t;
    d.SetAliasSchText(t, 1);
    EXPECT_EQ(t.m_sText, L"Ua");
    EXPECT_EQ(t.m_nVAlign, 1);
    EXPECT_EQ(t.m_nTextRenderingHint, 1);
    EXPECT_EQ(t.m_color.GetValue(), 0xFF640064u);
    EXPECT_NEAR(t.m_fX, -tw, 1e-4);
    EXPECT_NEAR(t.m_fLayoutHeight, 20, 1e-4);
}

TEST(SchemeDecorDraw, LinesFramesTextsAndMarks) {
    {
        SCHEME_LINE_ELEMENT line;  // (0, 0) to (10, 0) at (5, 10), 2 pixels wide
        line.m_nX = 5;
        line.m_nY = 10;
        line.m_color = 0xFFFF0000;
        Picture pic(40, 30, 2);
        line.Draw(nullptr, pic.g, eDrawNormal, Size(0, 0));
        EXPECT_EQ(pic.At(20, 19), 0xFFFF0000u);
        EXPECT_EQ(pic.At(20, 20), 0xFFFF0000u);
        EXPECT_EQ(pic.At(20, 22), 0xFFFFFFFFu);
        EXPECT_EQ(pic.At(32, 20), 0xFFFFFFFFu);  // ends at x = 15 (device 30)
        line.Draw(nullptr, pic.g, eDrawSelect, Size(0, 0));  // round marks at both ends
        EXPECT_EQ(pic.At(10, 23), 0xFF0000FFu);
        EXPECT_EQ(pic.At(30, 17), 0xFF0000FFu);
    }
    {
        SCHEME_RECT_ELEMENT rect;
        rect.m_nX = 2;
        rect.m_nY = 2;
        rect.m_nWidth = 20;
        rect.m_nHeight = 10;
        rect.m_color = 0xFF00FF00;
        Picture pic(30, 20, 1);
        rect.Draw(nullptr, pic.g, eDrawNormal, Size(1, 1));  // frame from (3, 3) to (23, 13)
        EXPECT_EQ(pic.At(10, 2), 0xFF00FF00u);
        EXPECT_EQ(pic.At(10, 3), 0xFF00FF00u);
        EXPECT_EQ(pic.At(22, 8), 0xFF00FF00u);
        EXPECT_EQ(pic.At(10, 8), 0xFFFFFFFFu);  // hollow
        rect.Draw(nullptr, pic.g, eDrawDrag, Size(1, 1));
        EXPECT_EQ(pic.At(24, 14), 0xFF0000FFu);  // a corner mark
    }
    {
        SCHEME_TEXT_ELEMENT text;
        text.m_sText = L"TEXT";
        text.m_font.m_sFaceName = L"DejaVu Sans";
        text.m_font.m_fSize = 10;
        text.m_nX = 5;
        text.m_nY = 5;
        const RectF r = text.GetBoundedRectF(nullptr, 1);
        ASSERT_GT(r.Width, 20);
        EXPECT_NEAR(r.X, 5, 1e-4);
        Picture pic(80, 30, 1);
        text.Draw(nullptr, pic.g, eDrawNormal, Size(0, 0));
        EXPECT_GT(pic.DarkIn(5, 5, int(r.GetRight()), int(r.GetBottom())), 20);
        EXPECT_EQ(pic.DarkIn(int(r.GetRight()) + 2, 0, 80, 30), 0);
        Picture sel(80, 30, 1);
        text.Draw(nullptr, sel.g, eDrawSelect, Size(0, 0));  // the box outlined
        EXPECT_EQ(sel.At(int(r.X + r.Width / 2), int(r.Y)), 0xFF0000FFu);

        text.m_nOrientation = 1;  // a quarter turn: the box stands upright
        const RectF v = text.GetBoundedRectF(nullptr, 1);
        EXPECT_NEAR(v.Width, r.Height, 1e-3);
        EXPECT_NEAR(v.Height, r.Width, 1e-3);
    }
    {
        SCHEME_DYNAMIC_ELEMENT d;
        d.m_font.m_sFaceName = L"DejaVu Sans";
        d.m_font.m_fSize = 10;
        d.m_sAlias = L"Ua";
        d.m_nX = 40;
        d.m_sLastValue = L"888";
        Picture pic(140, 30, 1);
        d.Draw(nullptr, pic.g, EDrawType(7), Size(0, 0));  // the alias only
        EXPECT_GT(pic.DarkIn(0, 0, 40, 30), 10);
        EXPECT_EQ(pic.DarkIn(40, 0, 140, 30), 0);
        d.Draw(nullptr, pic.g, eDrawNormal, Size(0, 0));
        EXPECT_GT(pic.DarkIn(40, 0, 140, 30), 10);
    }
}

TEST(SchemeDecorDraw, UnderWineALineIsTheThinnest) {
    SCHEME_LINE_ELEMENT line;
    line.m_nWidth = 8;
    line.m_nY = 10;
    VersionInterface::SetIsWine(true);
    Picture pic(20, 20, 1);
    line.Draw(nullptr, pic.g, eDrawNormal, Size(0, 0));
    VersionInterface::SetIsWine(false);
    EXPECT_LE(pic.DarkIn(5, 0, 6, 20), 2);
    EXPECT_GE(pic.DarkIn(5, 0, 6, 20), 1);
}

TEST(SelectedSchemeBuffer, ClearAndEmptiness) {
    SELECTED_SCHEME_BUFFER buffer;
    EXPECT_TRUE(buffer.IsItEmpty());
    buffer.m_nSchemeKind = 5;
    buffer.m_sText1 = L"from";
    buffer.m_sText2 = L"second";
    buffer.m_nValue = 3;
    buffer.m_scheme.m_sName = L"S";
    buffer.m_scheme.m_nExtra = 9;
    SmartPointer<SCHEME_BUS> bus(new SCHEME_BUS);
    buffer.m_scheme.m_mapBuses[bus->GetGuidString()] = bus;
    EXPECT_TRUE(buffer.IsItEmpty());  // buses alone are nothing to paste
    auto* e = new testutil::TestBox(1, 1);
    buffer.m_scheme.m_mapElements[e->GetGuidString()] = SmartPointer<SCHEME_BASE_ELEMENT>(e);
    EXPECT_FALSE(buffer.IsItEmpty());
    buffer.m_sText1.Empty();
    EXPECT_TRUE(buffer.IsItEmpty());
    buffer.m_sText1 = L"from";

    SELECTED_SCHEME_BUFFER copy(buffer);
    EXPECT_EQ(copy.m_scheme.m_mapElements.begin()->second.get(), e);
    buffer.Clear();
    EXPECT_EQ(buffer.m_nSchemeKind, -1);
    EXPECT_EQ(buffer.m_sText1, L"");
    EXPECT_TRUE(buffer.m_scheme.m_mapElements.empty());
    EXPECT_TRUE(buffer.m_scheme.m_mapBuses.empty());
    EXPECT_EQ(buffer.m_sText2, L"second");
    EXPECT_EQ(buffer.m_nValue, 3);
    EXPECT_EQ(buffer.m_scheme.m_sName, L"S");
    EXPECT_EQ(buffer.m_scheme.m_nExtra, 9);
    EXPECT_TRUE(buffer.IsItEmpty());
    EXPECT_FALSE(copy.IsItEmpty());
}

// Copy and paste as the editor does it: the selection is cloned into the buffer, and the
// buffer is cloned again, given new GUIDs and merged into the target scheme, whose inputs and
// outputs of the same names are left alone by renaming the pasted ones.
TEST(SelectedSchemeBuffer, CopiesAGroupOfLinkedElementsIntoAnotherScheme) {
    testutil::FakeArmHost host;
    SCHEME_FUNC func;
    func.m_sName = L"NOT";
    func.m_eType = EFuncSchemeType(1);
    FUNC_ARGUMENT arg;
    arg.m_sTypeName = L"BOOL";
    func.m_vInputs = {arg};
    func.m_vOutputs = {arg};
    host.functions[1][L"NOT"] = &func;

    ARM_SCHEME source;
    auto add = [](ARM_SCHEME& s, SCHEME_BASE_ELEMENT* e) {
        s.m_mapElements[e->GetGuidString()] = SmartPointer<SCHEME_BASE_ELEMENT>(e);
        return e;
    };
    auto connect = [](ARM_SCHEME& s, SCHEME_BASE_ELEMENT* from, SCHEME_BASE_ELEMENT* to, int x) {
        SmartPointer<SCHEME_BUS> bus(new SCHEME_BUS);
        bus->m_ptStart = Gdiplus::Point(x, 1);
        bus->ExtendTo(Gdiplus::Point(x + 5, 3));
        s.m_mapBuses[bus->GetGuidString()] = bus;
        EXPECT_TRUE(s.ConnectElements(to->m_guid, 0, from->m_guid, 0, bus->m_guid));
    };
    auto* in = static_cast<SCHEME_INPUT*>(add(source, new SCHEME_INPUT(eSchemeEditUser)));
    in->m_sName = L"Start";
    SCHEME_BASE_ELEMENT* f = add(source, new SCHEME_FUNC_ELEMENT(&func));
    auto* out = static_cast<SCHEME_OUTPUT*>(add(source, new SCHEME_OUTPUT(eSchemeEditUser)));
    out->m_sName = L"Stop";
    connect(source, in, f, 0);
    connect(source, f, out, 10);
    add(source, new SCHEME_TEXT_ELEMENT);

    SELECTED_SCHEME_BUFFER buffer;
    buffer.m_nSchemeKind = eSchemeEditUser;
    buffer.m_sText1 = L"project";
    buffer.m_scheme.MakeClone(source);
    ASSERT_FALSE(buffer.IsItEmpty());
    source.RemoveAllElements();  // cut: the buffer keeps its own objects
    EXPECT_EQ(buffer.m_scheme.m_mapElements.size(), 4u);
    EXPECT_EQ(buffer.m_scheme.m_mapBuses.size(), 2u);

    // The target already holds an input "Start" and a bus of its own.
    ARM_SCHEME target;
    auto* existing = static_cast<SCHEME_INPUT*>(add(target, new SCHEME_INPUT(eSchemeEditUser)));
    existing->m_sName = L"Start";
    SmartPointer<SCHEME_BUS> own(new SCHEME_BUS);
    target.m_mapBuses[own->GetGuidString()] = own;

    for (int paste = 1; paste <= 2; ++paste) {
        ARM_SCHEME piece;
        piece.MakeClone(buffer.m_scheme);
        piece.ChangeGuids();
        for (auto& [key, e] : piece.m_mapElements)
            if (auto* io = dynamic_cast<SCHEME_INOUT*>(e.get())) {
                io->m_sName.AppendFormat(L"_copy%d", paste);
                io->ResetConnect();
            }
        target.m_mapElements.insert(piece.m_mapElements.begin(), piece.m_mapElements.end());
        target.m_mapBuses.insert(piece.m_mapBuses.begin(), piece.m_mapBuses.end());
    }
    EXPECT_EQ(target.m_mapElements.size(), 1u + 8u);
    EXPECT_EQ(target.m_mapBuses.size(), 1u + 4u);
    EXPECT_EQ(existing->m_sName, L"Start");

    // Every pasted link joins pasted elements through pasted buses, with both views agreeing,
    // and the types flow through the pasted function as in the source.
    std::set<CString> names;
    int linked = 0;
    for (const auto& [key, e] : target.m_mapElements) {
        if (auto* io = dynamic_cast<SCHEME_INOUT*>(e.get())) names.insert(io->m_sName);
        for (const auto& [port, link] : e->m_mapInLinks) {
            ++linked;
            const SCHEME_BASE_ELEMENT* far = target.m_mapElements.Find(CompileIncludeSpace::GetStringByGuid(link.m_guidElem));
            ASSERT_NE(far, nullptr);
            const SCHEME_BUS& bus = *target.m_mapBuses.at(CompileIncludeSpace::GetStringByGuid(link.m_guidBus));
            EXPECT_TRUE(bus.m_guidElemIn == e->m_guid);
            EXPECT_TRUE(bus.m_guidElemOut == far->m_guid);
            const auto& back = far->m_mapOutLinks.at(link.m_nPort);
            ASSERT_EQ(back.size(), 1u);
            EXPECT_TRUE(back[0].m_guidElem == e->m_guid);
            EXPECT_TRUE(back[0].m_guidBus == bus.m_guid);
        }
        if (auto* io = dynamic_cast<SCHEME_OUTPUT*>(e.get())) {
            EXPECT_EQ(io->GetPortInsideTypeMatch(&host, &target.m_mapElements), L"BOOL");
        }
    }
    EXPECT_EQ(linked, 4);
    EXPECT_EQ(names, (std::set<CString>{L"Start", L"Start_copy1", L"Stop_copy1", L"Start_copy2", L"Stop_copy2"}));
    // The two pastes share nothing with each other or with the buffer.
    for (const auto& [key, e] : buffer.m_scheme.m_mapElements) EXPECT_EQ(target.m_mapElements.count(key), 0u);
    EXPECT_EQ(buffer.m_scheme.m_mapElements.size(), 4u);
}
