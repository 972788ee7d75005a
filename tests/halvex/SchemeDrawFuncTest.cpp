// Scheme pictures, property descriptors and function definitions: bounds computed, pixels
// rendered on an off-screen picture, size expressions and value texts.
#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "tests/halvex/support/FakeArmHost.h"
#include "halvex/config/ParamDiag.h"
#include "halvex/scheme/SchemeFunc.h"

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

void ExpectRect(const RectF& r, float x, float y, float w, float h) {
    EXPECT_NEAR(r.X, x, 1e-5);
    EXPECT_NEAR(r.Y, y, 1e-5);
    EXPECT_NEAR(r.Width, w, 1e-5);
    EXPECT_NEAR(r.Height, h, 1e-5);
}

}  // namespace

TEST(SchemeSize, ExpressionsLeftToRightHeldToIntRange) {
    testutil::FakeArmHost host;
    host.defines[L"N"] = L"12";
    host.defines[L"BIG"] = L"99999999999999";
    host.defines[L"M1"] = L" -1";
    const struct {
        const wchar_t* expr;
        int value;
    } cases[] = {
        {L"2+3*4", 20}, {L"10/3", 4}, {L"-10/4", 3}, {L"7/0", 7}, {L"8-", 8}, {L"", 0}, {L"+-*/", 0},
        {L" $N * 2 ", 24}, {L"$ N*2", 24}, {L"$UNKNOWN+5", 5}, {L"2+-3", 5},
        {L"-2147483648", INT_MAX}, {L"0-2147483647-1/$M1", INT_MAX},  // INT_MIN / -1 saturates
        {L"0-2147483647-1*$M1", INT_MAX}, {L"7/$M1", -7}, {L"0-7/2", -2},  // truncated, then one up
        {L"2147483647+1", INT_MAX}, {L"0-2147483647-5", INT_MIN}, {L"65536*65536", INT_MAX},
        {L"$BIG", INT_MAX}, {L"99999999999999999999999*0", 0}, {L"abc+4", 4}, {L"12abc", 12},
        {L"7/2", 4}, {L"9/3", 3},
    };
    for (const auto& c : cases) EXPECT_EQ(SchSizeExpression(&host, c.expr), c.value) << c.expr;
    EXPECT_EQ(SchSizeExpression(nullptr, L"$N+1"), 1);

    TYPE_MATCHER t;
    t.m_sSize = L"$N/5";
    t.m_sType = L"float";
    host.types[L"T"] = t;
    PARAM_DIAG diag;
    diag.m_sAux3 = L"T";
    EXPECT_EQ(diag.GetSize(&host), 3);
    EXPECT_EQ(diag.GetType(&host), L"float");
    diag.m_sAux3 = L"U";
    EXPECT_EQ(diag.GetSize(&host), 0);
    EXPECT_EQ(diag.GetType(&host), L"");
}

TEST(FuncProps, PercentFormatsAndValueTexts) {
    const struct {
        double x;
        unsigned precision;
        const wchar_t* format;
    } formats[] = {{1.5, 0, L"%.1f"}, {2.0, 0, L"%.0f"}, {2.0, 4, L"%.0f"}, {0.125, 2, L"%.2f"},
                   {1.0 / 3, 0, L"%.6f"}, {0.5, 3, L"%.1f"}, {-0.25, 0, L"%.2f"}, {1.5, 4000000000u, L"%.1f"}};
    for (const auto& f : formats) EXPECT_EQ(CalcPercentFormat(f.x, f.precision), f.format) << f.x;

    FuncPropsEditInt i;
    EXPECT_EQ(i.GetDefaultValue(), L"1");
    EXPECT_EQ(i.GetDisabledValue(), L"1");
    i.SetDisabledValue(L"abc");
    EXPECT_TRUE(i.m_bHasDisabledValue);
    EXPECT_EQ(i.GetDisabledValue(), L"0");
    i.SetDefaultValue(L"99999999999");
    EXPECT_EQ(i.GetDefaultValue(), L"2147483647");

    FuncPropsEditDouble d;
    EXPECT_EQ(d.GetDefaultValue(), L"0.5");
    EXPECT_EQ(d.GetDisabledValue(), L"0.5");
    EXPECT_EQ(d.GetCompilerString(L"3"), L"3.");
    EXPECT_EQ(d.GetCompilerString(L"3.25"), L"3.25");

    FuncPropsEditDouble2Int d2i;
    d2i.m_dMultiplier = 10;
    const struct {
        const wchar_t* in;
        const wchar_t* out;
    } d2iCases[] = {{L"0.25", L"3"}, {L"-0.26", L"-3"}, {L"1e300", L"2147483647"}, {L"-1e300", L"-2147483648"},
                    {L"x", L"0"}};
    for (const auto& c : d2iCases) EXPECT_EQ(d2i.GetCompilerString(c.in), c.out) << c.in;

    FuncPropsEditInt2Double i2d;
    i2d.m_dMultiplier = 0.1;
    EXPECT_EQ(i2d.GetCompilerString(L"15"), L"1.500000");

    FuncPropsBool b;
    b.SetDefaultValue(L"true");
    EXPECT_EQ(b.GetDefaultValue(), L"0");
    b.SetDefaultValue(L"1");
    EXPECT_EQ(b.GetDefaultValue(), L"1");
    EXPECT_TRUE(b.GetValueEnableDependProps(L"1"));
    EXPECT_FALSE(b.GetValueEnableDependProps(L"0"));

    FuncPropsCftCombo c;
    c.m_vOptions = {L"A", L"B"};
    c.m_vCftItems = {L"k1", L"k2"};
    EXPECT_EQ(c.GetInfoWindowValue(L"-1"), L"");
    EXPECT_EQ(c.GetInfoWindowValue(L"2"), L"");
    EXPECT_EQ(c.GetInfoWindowValue(L"1"), L"B");
    EXPECT_EQ(c.GetCftComboItem(L"0"), L"k1");
    c.SetDisabledValue(L"1");
    EXPECT_EQ(c.GetDisabledValue(), L"1");
    EXPECT_FALSE(c.m_bHasDisabledValue);
}

TEST(FuncProps, ObjectChoiceSortsSomeTypesAndSkipsLocked) {
    struct Obj : ArmLockObject {
        EArmObjectType t;
        explicit Obj(int type, const wchar_t* name, bool locked = false) : t(EArmObjectType(type)) {
            m_sName = name;
            m_bLocked = locked;
        }
        EArmObjectType GetArmObjectType() const override { return t; }
    };
    Obj a5(5, L"B"), b5(5, L"A"), c5(5, L"B"), a9(9, L"B"), b9(9, L"B"), l9(9, L"L", true);
    testutil::FakeArmHost host;
    host.objects = {&a5, &b5, &c5, &a9, &b9, &l9};
    FuncPropsArmObjCombo p;
    std::vector<CString> options;
    CString selected;
    p.m_eArmObjType = EArmObjectType(5);
    p.CollectOptions(&host, L"B", options, selected);
    EXPECT_EQ(options, (std::vector<CString>{L"A", L"B"}));
    EXPECT_EQ(selected, L"B");
    p.m_eArmObjType = EArmObjectType(9);
    p.CollectOptions(&host, L"L", options, selected);
    EXPECT_EQ(options, (std::vector<CString>{L"B", L"B", L"L"}));
    EXPECT_EQ(selected, L"L");
    p.m_bSkipLocked = true;
    p.CollectOptions(&host, L"L", options, selected);
    EXPECT_EQ(options, (std::vector<CString>{L"B", L"B"}));
    EXPECT_EQ(selected, L"");
    EXPECT_FALSE(p.IsSaveInExportToBlock());
}

TEST(SchPrimitives, BoundsOfShapesPinsAndDrawings) {
    Sch_Line line;
    line.m_fX1 = 5, line.m_fY1 = 5, line.m_fX2 = 1, line.m_fY2 = 2;
    ExpectRect(line.GetBoundedRectF(1), -1, 0, 8, 7);
    Sch_Polygon two;
    two.m_points = {PointF(0, 0), PointF(4, 4)};
    ExpectRect(two.GetBoundedRectF(1), 0, 0, 0, 0);
    Sch_Rect r;
    r.m_rect = RectF(2, 3, 4, 5);
    ExpectRect(r.GetBoundedRectF(2), 1.5f, 2.5f, 5, 6);

    Sch_PortIn in;
    in.m_fX = 10, in.m_fY = 4;
    ExpectRect(in.GetInversionHitTestRectF(), 8.5f, 3.5f, 2, 1);
    ExpectRect(in.GetPinHitTestRectF(false), 8.5f, 3.5f, 1, 1);
    ExpectRect(in.GetPinHitTestRectF(true), 6, 1, 6, 6);
    ExpectRect(in.GetBoundedRectF(1), 6, 1, 7, 6);  // (9..10, 4) grown by (2 + 1) / 1

    Scheme_Draw d;
    Sch_Object text;
    text.m_nType = 3;
    text.m_text.m_sText = L"Text";
    d.m_vObjects = {text};
    ExpectRect(d.GetBoundedRectF(1), 0, 0, 0, 0);  // texts never count
    Sch_Object o12;
    o12.m_nType = 12;
    d.m_vObjects.push_back(o12);
    EXPECT_EQ(d.m_vObjects.back().GetBaseObj(), nullptr);
    Sch_Object rect;
    rect.m_nType = 1;
    rect.m_rect.m_rect = RectF(0, 0, 10, 10);
    d.m_vObjects.push_back(rect);
    d.m_vPortOut.push_back(Sch_PortOut());
    d.m_vPortOut.back().m_fX = 10, d.m_vPortOut.back().m_fY = 5;
    ExpectRect(d.GetBoundedRectF(1), -1, -1, 15, 12);  // pin (10..11, 5) grown by 3
}

TEST(SchPrimitives, RenderedPixels) {
    // A filled rectangle at scale 2: outline black, the fill starts half a unit inside.
    Picture p(40, 40, 2);
    Sch_Rect r;
    r.m_rect = RectF(2, 2, 10, 10);
    r.m_bFill = true;
    r.m_colorFill = Color(0xFFFF0000);
    r.m_bUseSelectColor = true;
    r.m_colorSelect = Color(0xFF0000FF);
    r.Draw(p.g, eDrawSelect, nullptr, nullptr);
    EXPECT_EQ(p.At(4, 12), 0xFF0000FFu);   // outline in the select colour
    EXPECT_EQ(p.At(5, 12), 0xFFFF0000u);   // fill one device pixel inside
    EXPECT_EQ(p.At(12, 12), 0xFFFF0000u);
    EXPECT_EQ(p.At(2, 12), 0xFFFFFFFFu);
    r.m_bUseSelectColor = false;
    r.Draw(p.g, eDrawSelect, nullptr, nullptr);
    EXPECT_EQ(p.At(4, 12), 0xFF000000u);  // flag cleared: normal colour

    // Pins: kind 5 marks a blue 6 x 6 square, a drawing in kind 5 paints no pins.
    Picture q(60, 60, 4);
    Sch_PortOut pin;
    pin.m_fX = 5, pin.m_fY = 5;
    pin.DrawCross(q.g, eDrawBluePins);
    EXPECT_EQ(q.At(8, 8), 0xFF0000FFu);
    EXPECT_EQ(q.At(31, 31), 0xFF0000FFu);
    EXPECT_EQ(q.At(33, 33), 0xFFFFFFFFu);
    Picture s(60, 60, 4);
    Scheme_Draw d;
    d.m_vPortOut = {pin};
    d.Draw(s.g, eDrawBluePins, nullptr, nullptr);
    EXPECT_EQ(s.At(22, 20), 0xFFFFFFFFu);
    d.Draw(s.g, eDrawNormal, nullptr, nullptr);
    EXPECT_EQ(s.At(22, 20), 0xFF000000u);  // the pin stroke from x 5 to 6 at y 5, 2 pixels wide
    pin.DrawSquare(s.g, eDrawNormal);
    EXPECT_EQ(s.At(14, 14), 0xFF640064u);
}

TEST(SchTexts, RotatedBoxAndMissingTexts) {
    Sch_Text t;
    t.m_sText = L"ABC";
    t.m_fX = 3, t.m_fY = 4;
    const RectF flat = t.GetRectBoundText();
    EXPECT_GT(flat.Width, flat.Height);
    t.m_nRotation = 1;
    const RectF turned = t.GetRectBoundText();
    EXPECT_FLOAT_EQ(turned.Width, flat.Height);
    EXPECT_FLOAT_EQ(turned.Height, flat.Width);
    t.m_sFaceName = L"NoSuchFaceAnywhere";
    ExpectRect(t.GetRectBoundText(), 3, 4, 0, 0);

    Picture p(80, 40, 4);
    Sch_FuncName_Text name;
    name.Draw(p.g, eDrawNormal, nullptr, nullptr);
    Sch_PropName_Text prop;
    prop.m_sPropName = L"K";
    SCH_VALUES values{{L"X", L"1"}};
    prop.Draw(p.g, eDrawNormal, nullptr, &values);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 80; ++x) ASSERT_EQ(p.At(x, y), 0xFFFFFFFFu);
    values[L"K"] = L"W";
    prop.Draw(p.g, eDrawNormal, nullptr, &values);
    int ink = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 80; ++x) ink += p.At(x, y) != 0xFFFFFFFFu;
    EXPECT_GT(ink, 10);
}

TEST(SchemeFunc, DrawingChoiceBoundsAndInfo) {
    testutil::FakeArmHost host;
    Scheme_Draw box;
    Sch_Object rect;
    rect.m_nType = 1;
    rect.m_rect.m_rect = RectF(1, 1, 4, 4);
    box.m_vObjects = {rect};
    host.drawings[L"Box0"] = box;
    box.m_vObjects[0].m_rect.m_rect = RectF(10, 1, 4, 4);
    host.drawings[L"Box1"] = box;
    Scheme_Draw flat;  // only a text: bounds of zero size
    Sch_Object text;
    text.m_nType = 3;
    text.m_text.m_sText = L"far away";
    text.m_text.m_fX = 50;
    flat.m_vObjects = {text};

    SCHEME_FUNC f;
    f.m_eType = EFuncSchemeType(9);
    f.m_vDrawNames = {L"Box0", L"Box1"};
    Picture p(80, 40, 4);
    f.Draw(&host, p.g, eDrawNormal, nullptr);
    EXPECT_EQ(p.At(4, 8), 0xFF000000u);   // Box0's left edge
    EXPECT_EQ(p.At(40, 8), 0xFFFFFFFFu);  // Box1 not drawn without values
    Picture q(80, 40, 4);
    SCH_VALUES values{{L"Rotation", L"1"}};
    f.Draw(&host, q.g, eDrawNormal, &values);
    EXPECT_EQ(q.At(4, 8), 0xFFFFFFFFu);
    EXPECT_EQ(q.At(40, 8), 0xFF000000u);
    ExpectRect(f.GetBoundedRectF(&host, 1), 0, 0, 15, 6);
    host.drawings[L"Flat"] = flat;
    f.m_vDrawNames.push_back(L"Flat");
    ExpectRect(f.GetBoundedRectF(&host, 1), 0, 0, 15, 6);  // zero height does not widen

    f.m_setHiddenSigns = {L"FeedbackFunction", L"AnalogInput"};
    EXPECT_FALSE(f.IsRequireInitCftFunc(&host));
    f.m_setHiddenSigns = {};
    FUNC_ARGUMENT a;
    a.m_sName = L"X";
    a.m_sTypeName = L"missing";
    EXPECT_EQ(a.GetInfoString(&host),
              L"X\nПредставление аргумента: \nТип аргумента: missing\nОписание типа: отсутствует");
    TYPE_MATCHER t;
    t.m_bRequireCft = true;
    t.m_sDescription = L"d";
    t.m_sSize = L"4";
    t.m_sCompiler = L"int";
    host.types[L"T"] = t;
    a.m_sTypeName = L"T";
    a.m_sCftFormula = L"k";
    EXPECT_EQ(a.GetInfoString(&host), L"X\nПредставление аргумента: \nТип аргумента: T\nОписание типа: d\nДлина типа: "
                                      L"4\nВывод типа в файлы компилятора: int\nФормула расчета коэффициента "
                                      L"трансформации: k");
    f.m_vOutputs = {a};
    EXPECT_TRUE(f.IsRequireInitCftFunc(&host));
}
