// User blocks and block elements: inputs and outputs listed top to bottom with their types, the
// first problem reported, the box laid out and drawn, and the block element placed in a scheme
// with its pins, types, bounds, info text and hits.
#include <gtest/gtest.h>

#include <algorithm>

#include "halvex/config/ArmObject.h"
#include "halvex/helpers/HalvexResources.h"
#include "halvex/scheme/SchemeBlockElement.h"
#include "halvex/scheme/SchemeDecor.h"
#include "halvex/scheme/SchemeFuncElement.h"
#include "halvex/scheme/SchemeInOut.h"
#include "tests/halvex/support/FakeArmHost.h"
#include "tests/halvex/support/TestSchemeElements.h"

using namespace Gdiplus;

namespace {

Sch_Object BoxObj(float x, float y, float w, float h, const wchar_t* attrib = L"") {
    Sch_Object o;
    o.m_nType = 1;
    o.m_rect.m_rect = RectF(x, y, w, h);
    o.m_rect.m_sAttribute = attrib;
    o.m_rect.m_nPenWidth = 2;
    return o;
}

// A host whose inputs and outputs are 4 x 2 boxes with one pin, whose block template has a
// border and a names' look in a font the tests measure, and which knows a function F of three
// BOOL inputs and an INT output.
struct BlockHost : testutil::FakeArmHost {
    SCHEME_FUNC func;
    BlockHost() {
        inputSchemeDraw.m_vObjects.push_back(BoxObj(0, 0, 4, 2));
        Sch_PortOut out;
        out.m_fX = 4, out.m_fY = 1;
        inputSchemeDraw.m_vPortOut.push_back(out);
        outputSchemeDraw.m_vObjects.push_back(BoxObj(0, 0, 4, 2));
        Sch_PortIn in;
        in.m_fX = 0, in.m_fY = 1;
        outputSchemeDraw.m_vPortIn.push_back(in);

        blockDrawTemplate.m_vObjects.push_back(BoxObj(0, 0, 1, 1, L"BorderRect"));
        Sch_Object names;
        names.m_nType = 3;
        names.m_text.m_sAttribute = L"InOutText";
        names.m_text.m_sFaceName = L"DejaVu Sans";
        names.m_text.m_fSize = 1.5f;
        blockDrawTemplate.m_vObjects.push_back(names);

        func.m_sName = L"F";
        func.m_eType = EFuncSchemeType(1);
        FUNC_ARGUMENT b, i;
        b.m_sTypeName = L"BOOL";
        i.m_sTypeName = L"INT";
        func.m_vInputs = {b, b, b};
        func.m_vOutputs = {i};
        functions[1][L"F"] = &func;
        types[L"BOOL"].m_bInvertible = true;
        types[L"INT"].m_bInvertible = false;
    }
};

template <class T>
T* Add(ARM_SCHEME& s, T* e) {
    s.m_mapElements[e->GetGuidString()] = SmartPointer<SCHEME_BASE_ELEMENT>(e);
    return e;
}

void Connect(ARM_SCHEME& s, SCHEME_BASE_ELEMENT* from, int outPort, SCHEME_BASE_ELEMENT* to, int inPort) {
    SmartPointer<SCHEME_BUS> bus(new SCHEME_BUS);
    s.m_mapBuses[bus->GetGuidString()] = bus;
    ASSERT_TRUE(s.ConnectElements(to->m_guid, inPort, from->m_guid, outPort, bus->m_guid));
}

SCHEME_INPUT* Input(ARM_SCHEME& s, const wchar_t* name, int y) {
    auto* e = Add(s, new SCHEME_INPUT(eSchemeEditUser));
    e->m_sName = name;
    e->m_nY = y;
    return e;
}

SCHEME_OUTPUT* Output(ARM_SCHEME& s, const wchar_t* name, int y) {
    auto* e = Add(s, new SCHEME_OUTPUT(eSchemeEditUser));
    e->m_sName = name;
    e->m_nX = 30;
    e->m_nY = y;
    return e;
}

SCHEME_FUNC_ELEMENT* Func(ARM_SCHEME& s, BlockHost& host) {
    auto* e = Add(s, new SCHEME_FUNC_ELEMENT(&host.func));
    e->m_nX = 15;
    return e;
}

// Three inputs at heights 40, 10 and 25 into F, and F's output out.
BLOCK_SCHEME MakeBlock(BlockHost& host) {
    ARM_SCHEME s;
    s.m_sName = L"Guard";
    SCHEME_FUNC_ELEMENT* f = Func(s, host);
    Connect(s, Input(s, L"a40", 40), 0, f, 0);
    Connect(s, Input(s, L"b10", 10), 0, f, 1);
    Connect(s, Input(s, L"c25", 25), 0, f, 2);
    Connect(s, f, 0, Output(s, L"out", 5), 0);
    return BLOCK_SCHEME(eSchemeEditUser, s);
}

}  // namespace

TEST(BlockScheme, ConstructionAndCopies) {
    BLOCK_SCHEME empty;
    EXPECT_EQ(int(empty.m_eSchemeKind), -1);
    EXPECT_EQ(empty.GetInputsCount(), 0);
    BLOCK_SCHEME other;
    EXPECT_FALSE(empty.m_guid == other.m_guid);
    BlockHost host;
    BLOCK_SCHEME block = MakeBlock(host);
    BLOCK_SCHEME copy(block);
    EXPECT_TRUE(copy.m_guid == block.m_guid);
    EXPECT_EQ(copy.m_scheme.m_mapElements.begin()->second.get(), block.m_scheme.m_mapElements.begin()->second.get());
}

TEST(BlockScheme, InputsAndOutputsTopDownWithTheirTypes) {
    BlockHost host;
    BLOCK_SCHEME block = MakeBlock(host);
    CString error = L"old";
    ASSERT_TRUE(block.CalcInputsOutputs(&host, error)) << CStringA(error).GetString();
    EXPECT_EQ(error, L"");
    EXPECT_EQ(block.m_vecInputs, (std::vector<CString>{L"b10", L"c25", L"a40"}));
    EXPECT_EQ(block.m_vecInputTypes, (std::vector<CString>{L"BOOL", L"BOOL", L"BOOL"}));
    EXPECT_EQ(block.m_vecOutputs, (std::vector<CString>{L"out"}));
    EXPECT_EQ(block.m_vecOutputTypes, (std::vector<CString>{L"INT"}));
    EXPECT_EQ(block.GetInputsCount(), 3);
    EXPECT_EQ(block.GetOutputsCount(), 1);

    EXPECT_FALSE(block.IsRequireInitCftBlock(&host));
    host.types[L"INT"].m_bRequireCft = true;
    EXPECT_TRUE(block.IsRequireInitCftBlock(&host));
    host.types.erase(L"INT");  // names the table lacks are passed over
    EXPECT_FALSE(block.IsRequireInitCftBlock(&host));
    EXPECT_TRUE(host.types.count(L"INT") == 0);
}

TEST(BlockScheme, InputsAtOneHeightKeepTheirKeyOrder) {
    BlockHost host;
    ARM_SCHEME s;
    SCHEME_FUNC_ELEMENT* f = Func(s, host);
    SCHEME_INPUT* p = Input(s, L"p", 10);
    SCHEME_INPUT* q = Input(s, L"q", 10);
    Connect(s, p, 0, f, 0);
    Connect(s, q, 0, f, 1);
    BLOCK_SCHEME block(eSchemeEditUser, s);
    CString error;
    ASSERT_TRUE(block.CalcInputsOutputs(&host, error));
    const bool pFirst = p->GetGuidString() < q->GetGuidString();
    EXPECT_EQ(block.m_vecInputs, (pFirst ? std::vector<CString>{L"p", L"q"} : std::vector<CString>{L"q", L"p"}));
}

TEST(BlockScheme, TheFirstProblemIsReported) {
    BlockHost host;
    {
        // An output named like an input.
        ARM_SCHEME s;
        SCHEME_FUNC_ELEMENT* f = Func(s, host);
        Connect(s, Input(s, L"X", 0), 0, f, 0);
        Connect(s, f, 0, Output(s, L"X", 0), 0);
        BLOCK_SCHEME block(eSchemeEditUser, s);
        CString error;
        EXPECT_FALSE(block.CalcInputsOutputs(&host, error));
        EXPECT_EQ(error, HalvexLoadString(7170) + L" \"X\": " + HalvexLoadString(7351));
        EXPECT_EQ(block.m_vecInputs.size(), 1u);
        EXPECT_TRUE(block.m_vecOutputs.empty());
    }
    {
        // Two inputs of one name.
        ARM_SCHEME s;
        SCHEME_FUNC_ELEMENT* f = Func(s, host);
        Connect(s, Input(s, L"Y", 0), 0, f, 0);
        Connect(s, Input(s, L"Y", 5), 0, f, 1);
        BLOCK_SCHEME block(eSchemeEditUser, s);
        CString error;
        EXPECT_FALSE(block.CalcInputsOutputs(&host, error));
        EXPECT_EQ(error, HalvexLoadString(7167) + L" \"Y\": " + HalvexLoadString(7351));
    }
    {
        // An input wired straight to an output: no type either way.
        ARM_SCHEME s;
        Connect(s, Input(s, L"A", 0), 0, Output(s, L"B", 0), 0);
        BLOCK_SCHEME block(eSchemeEditUser, s);
        CString error;
        EXPECT_FALSE(block.CalcInputsOutputs(&host, error));
        CString expected;
        expected.Format(HalvexLoadString(7352).GetString(), L"A");
        EXPECT_EQ(error, expected + HalvexLoadString(7353));
        EXPECT_EQ(block.m_vecInputs, (std::vector<CString>{L"A"}));  // the name went in, the type did not
        EXPECT_TRUE(block.m_vecInputTypes.empty());
    }
    {
        // An output fed by nothing.
        ARM_SCHEME s;
        Output(s, L"Z", 0);
        BLOCK_SCHEME block(eSchemeEditUser, s);
        CString error;
        EXPECT_FALSE(block.CalcInputsOutputs(&host, error));
        CString expected;
        expected.Format(HalvexLoadString(7354).GetString(), L"Z");
        EXPECT_EQ(error, expected + HalvexLoadString(7355));
    }
}

TEST(BlockScheme, TheBoxFromTheHostsTemplate) {
    BlockHost host;
    BLOCK_SCHEME block = MakeBlock(host);
    CString error;
    ASSERT_TRUE(block.CalcInputsOutputs(&host, error));
    block.CalcSchemeDraw(&host);
    ASSERT_EQ(block.m_draw.m_vPortIn.size(), 3u);
    ASSERT_EQ(block.m_draw.m_vPortOut.size(), 1u);
    const RectF border = block.m_draw.m_vObjects[0].m_rect.m_rect;
    EXPECT_EQ(border.X, 0.0f);
    Bitmap one(1, 1);
    Graphics measure(&one);
    const FontFamily family(L"DejaVu Sans");
    const Font font(&family, 1.5f, 0, UnitWorld);
    EXPECT_EQ(border.Height, float(3 * SchBlockRowStep(font.GetHeight(&measure))));
    EXPECT_EQ(block.m_draw.m_vPortOut[0].m_fX, border.Width);
    EXPECT_EQ(block.m_draw.m_vObjects.size(), 1u + 4u);  // the names' look left the drawing

    Bitmap bitmap(10, 10);
    Graphics g(&bitmap);
    g.SetPageScale(2);
    const RectF r = block.GetBoundedRectF(&host, g);
    EXPECT_LT(r.X, -0.9f);  // the input pins reach one unit left
    EXPECT_GT(r.GetRight(), border.Width + 0.9f);

    BLOCK_SCHEME blank;  // nothing to draw: nothing drawn
    Bitmap picture(10, 10);
    Graphics pg(&picture);
    pg.Clear(Color(0xFFFFFFFF));
    blank.Draw(&host, pg, eDrawNormal);
    Color c;
    picture.GetPixel(0, 0, &c);
    EXPECT_EQ(c.GetValue(), 0xFFFFFFFFu);
}

TEST(BlockElement, AMissingBlockFallsBack) {
    BlockHost host;
    SCHEME_BLOCK_ELEMENT e(eSchemeEditUser, L"nowhere");
    EXPECT_EQ(e.GetSchemeElementType(), eSchElemBlock);
    EXPECT_EQ(e.GetSchemeEditShortName(), L" ");
    EXPECT_TRUE(CompileIncludeSpace::IsGuidNil(e.m_guidBlock));
    std::vector<Sch_PortIn> ins{Sch_PortIn()};
    e.GetVectPortIn(&host, ins);
    EXPECT_TRUE(ins.empty());
    EXPECT_FALSE(e.IsAllowInvertPort(&host, 0, true));
    EXPECT_EQ(e.GetPortInTypeMatch(&host, nullptr, 0), L"");
    OUT_INFO_TEXT info;
    info.m_sName = L"stale";
    e.FillOutInfoText(info, &host);
    EXPECT_EQ(info.m_sType, HalvexLoadString(7186));
    EXPECT_EQ(info.m_sName, L"");
    ASSERT_EQ(info.m_arrLines.size(), 1u);
    CString line;
    line.Format(HalvexLoadString(7190).GetString(), L"nowhere");
    EXPECT_EQ(info.m_arrLines[0], line);

    // The default drawing stands in, at the element's position.
    host.defaultFuncSchemeDraw.m_vObjects.push_back(BoxObj(0, 0, 6, 4));
    e.m_nX = 10;
    e.m_nY = 20;
    const RectF r = e.GetBoundedRectF(&host, 1);
    EXPECT_EQ(r.X, 9.0f);
    EXPECT_EQ(r.Y, 19.0f);
    EXPECT_EQ(SCHEME_BLOCK_ELEMENT(eSchemeEditUser).m_sBlockName, L"");
}

TEST(BlockElement, PinsTypesBoundsAndInfoFromTheBlock) {
    BlockHost host;
    BLOCK_SCHEME block = MakeBlock(host);
    CString error;
    ASSERT_TRUE(block.CalcInputsOutputs(&host, error));
    block.CalcSchemeDraw(&host);
    host.blocks[eSchemeEditUser][L"guard"] = &block;

    SCHEME_BLOCK_ELEMENT e(eSchemeEditUser, L"guard");
    e.m_nX = 10;
    e.m_nY = 20;
    e.m_mapPropValues[L"Setting"] = L"S1";
    std::vector<Sch_PortIn> ins;
    std::vector<Sch_PortOut> outs;
    e.GetVectPortIn(&host, ins);
    e.GetVectPortOut(&host, outs);
    EXPECT_EQ(ins.size(), 3u);
    EXPECT_EQ(outs.size(), 1u);
    EXPECT_EQ(ins[2].m_fY, 5.0f);

    EXPECT_EQ(e.GetOrigPortInTypeMatch(&host, 0), L"BOOL");
    EXPECT_EQ(e.GetOrigPortInTypeMatch(&host, -1), L"");
    EXPECT_EQ(e.GetOrigPortInTypeMatch(&host, 3), L"");
    EXPECT_EQ(e.GetOrigPortOutTypeMatch(&host, 0), L"INT");
    EXPECT_EQ(e.GetOrigPortOutTypeMatch(&host, 1), L"");
    std::set<CString> black{e.GetGuidString()};
    EXPECT_EQ(e.GetPortOutTypeMatchWithBlackList(&host, nullptr, 0, black), L"INT");  // a walk ends here
    EXPECT_TRUE(e.IsAllowInvertPort(&host, 1, true));
    EXPECT_FALSE(e.IsAllowInvertPort(&host, 0, false));
    EXPECT_FALSE(e.IsAllowInvertPort(&host, 7, true));

    // The box as the screen measures it, whatever the scale asked.
    Bitmap screen(1, 1);
    Graphics g(&screen);
    RectF box = block.GetBoundedRectF(&host, g);
    box.Offset(10, 20);
    for (float scale : {1.0f, 4.0f}) {
        const RectF r = e.GetBoundedRectF(&host, scale);
        EXPECT_NEAR(r.X, box.X, 1e-5);
        EXPECT_NEAR(r.Width, box.Width, 1e-5);
        EXPECT_NEAR(r.Height, box.Height, 1e-5);
    }

    OUT_INFO_TEXT info;
    e.FillOutInfoText(info, &host);
    EXPECT_TRUE(info.m_arrLines.empty());
    EXPECT_EQ(info.m_sName, L"Guard");
    auto in = [](int n, const wchar_t* name) {
        CString t;
        t.Format(L" %d:\n", n);
        return L"\n" + HalvexLoadString(7167) + t + HalvexLoadString(7188) + L": " + name + L"\n" +
               HalvexLoadString(7168) + L": BOOL\n";
    };
    EXPECT_EQ(info.m_sInfo, L"\n" + HalvexLoadString(7187) + L": guard\n\n" + HalvexLoadString(7166) + L": 3\n" +
                                in(1, L"b10") + in(2, L"c25") + in(3, L"a40") + L"\n\n" + HalvexLoadString(7169) +
                                L": 1\n\n" + HalvexLoadString(7170) + L" 1:\n" + HalvexLoadString(7189) +
                                L": out\n" + HalvexLoadString(7171) + L": INT\n");

    std::unique_ptr<SCHEME_BASE_ELEMENT> clone(e.Clone());
    auto* c = dynamic_cast<SCHEME_BLOCK_ELEMENT*>(clone.get());
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->IsEqual(e));
    EXPECT_EQ(c->m_sBlockName, L"guard");
    EXPECT_EQ(c->m_mapPropValues.at(L"Setting"), L"S1");

    OBJ_COMPILE_OFFSET offset;
    EXPECT_EQ(offset.m_nValue, 0);
    EXPECT_EQ(offset.m_nWords[3], 0u);
}

TEST(BlockElement, DrawnWithItsBoxAndFreePinMarks) {
    BlockHost host;
    BLOCK_SCHEME block = MakeBlock(host);
    CString error;
    ASSERT_TRUE(block.CalcInputsOutputs(&host, error));
    block.CalcSchemeDraw(&host);
    host.blocks[eSchemeEditUser][L"guard"] = &block;
    SCHEME_BLOCK_ELEMENT e(eSchemeEditUser, L"guard");
    e.m_nX = 2;
    e.m_nY = 1;
    const float w = block.m_draw.m_vObjects[0].m_rect.m_rect.Width;

    Bitmap bitmap(int((w + 6) * 10), 100);
    Graphics g(&bitmap);
    g.Clear(Color(0xFFFFFFFF));
    g.SetPageUnit(UnitPixel);
    g.SetPageScale(10);
    e.Draw(&host, g, eDrawNormal, Size(1, 1));  // the box at (3, 2)
    auto at = [&](int x, int y) {
        Color c;
        bitmap.GetPixel(x, y, &c);
        return c.GetValue();
    };
    EXPECT_EQ(at(24, 30), 0xFF000000u);                  // input pin 0 runs from x = 3 to 2 at y = 3
    EXPECT_EQ(at(24, 70), 0xFF000000u);                  // input pin 2 at y = 7
    EXPECT_NE(at(17, 27), 0xFFFFFFFFu);                  // the cross marking a free pin at its end
    EXPECT_EQ(at(int((w + 3.5f) * 10), 30), 0xFF000000u);  // the output pin
    EXPECT_EQ(at(29, 40), 0xFF000000u);                  // the border between the pins
    EXPECT_EQ(at(50, 95), 0xFFFFFFFFu);                  // below the box
}

TEST(ElementMapHits, PinsInversionsLineEndsAndCorners) {
    ARM_SCHEME s;
    auto* a = Add(s, new testutil::TestBox(2, 1, 10, 10));
    PointF pin0(9, 11);  // the end of input pin 0
    int in = 7, out = 7;
    EXPECT_EQ(s.m_mapElements.GetNumPinHitTest(nullptr, pin0, in, out, true), a->GetGuidString());
    EXPECT_EQ(in, 0);
    EXPECT_EQ(out, -1);
    PointF outPin(15, 11);
    EXPECT_EQ(s.m_mapElements.GetNumPinHitTest(nullptr, outPin, in, out, true), a->GetGuidString());
    EXPECT_EQ(out, 0);
    // A linked input counts only when linked inputs are asked for too.
    GuidAndPort link;
    UuidCreate(&link.m_guidElem);
    a->m_mapInLinks[0] = link;
    EXPECT_EQ(s.m_mapElements.GetNumPinHitTest(nullptr, pin0, in, out, true), L"");
    EXPECT_EQ(in, -1);
    EXPECT_EQ(out, -1);
    EXPECT_EQ(s.m_mapElements.GetNumPinHitTest(nullptr, pin0, in, out, false), a->GetGuidString());
    PointF away(50, 50);
    EXPECT_EQ(s.m_mapElements.GetNumPinHitTest(nullptr, away, in, out, false), L"");

    PointF onLine(9.6f, 13.2f);  // input pin 1's line
    EXPECT_EQ(s.m_mapElements.GetNumInversionHitTest(nullptr, onLine, in, out), a->GetGuidString());
    EXPECT_EQ(in, 1);
    EXPECT_EQ(s.m_mapElements.GetNumInversionHitTest(nullptr, away, in, out), L"");
    EXPECT_EQ(in, -1);

    auto* line = Add(s, new SCHEME_LINE_ELEMENT);
    line->m_nX = 100;
    line->m_nY = 100;  // from (100, 100) to (110, 100), width 2: tolerance 6
    auto* rect = Add(s, new SCHEME_RECT_ELEMENT);
    rect->m_nX = 200;
    rect->m_nY = 200;
    bool start = false;
    PointF nearEnd(115.9f, 105.9f);
    EXPECT_EQ(s.m_mapElements.GetLineStartEndPointsHitTest(nearEnd, 1, start), line->GetGuidString());
    EXPECT_FALSE(start);
    PointF pastEnd(116.0f, 100.0f);
    EXPECT_EQ(s.m_mapElements.GetLineStartEndPointsHitTest(pastEnd, 1, start), L"");
    PointF nearStart(95, 95);
    EXPECT_EQ(s.m_mapElements.GetLineStartEndPointsHitTest(nearStart, 1, start), line->GetGuidString());
    EXPECT_TRUE(start);
    ERectElemCornerHitTest corner = eRectCornerTopLeft;
    PointF bottomRight(210, 210);
    EXPECT_EQ(s.m_mapElements.GetRectCornerHitTest(bottomRight, 1, corner), rect->GetGuidString());
    EXPECT_EQ(corner, eRectCornerBottomRight);
    EXPECT_EQ(s.m_mapElements.GetRectCornerHitTest(nearStart, 1, corner), L"");
}
