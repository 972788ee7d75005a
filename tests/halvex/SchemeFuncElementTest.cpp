// Function elements: data-type inference at their ports, inversion permission, property values
// with their enable rules, export to blocks, feedback sizes, drawing, info text, and a whole
// small scheme rendered off screen.
#include <gtest/gtest.h>

#include <memory>

#include "halvex/helpers/HalvexResources.h"
#include "halvex/scheme/ArmScheme.h"
#include "halvex/scheme/SchemeFuncElement.h"
#include "halvex/scheme/SchemeInOut.h"
#include "tests/halvex/support/FakeArmHost.h"

using namespace Gdiplus;

namespace {

struct PlainObject : ArmObject {
    explicit PlainObject(EArmObjectType t, const wchar_t* name) : type(t) { m_sName = name; }
    EArmObjectType GetArmObjectType() const override { return type; }
    EArmObjectType type;
};

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

struct Scheme {
    testutil::FakeArmHost host;
    ARM_SCHEME scheme;
    Scheme() { host.schemes[eSchemeEditCalcValues].push_back(&scheme); }

    template <class T>
    T* Place(T* element) {
        scheme.m_mapElements[element->GetGuidString()] = SmartPointer<SCHEME_BASE_ELEMENT>(element);
        host.elementPlaces[element] = {eSchemeEditCalcValues, 0};
        if constexpr (std::is_base_of_v<ArmObject, T>) host.objects.push_back(element);
        return element;
    }
    SCHEME_FUNC_ELEMENT* Func(SCHEME_FUNC& f, int x = 0, int y = 0) {
        host.functions[f.m_eType][f.m_sName] = &f;
        auto* e = Place(new SCHEME_FUNC_ELEMENT(&f));
        e->m_nX = x, e->m_nY = y;
        return e;
    }
    MAP_SCHEME_POINTER_ELEMENT* Map() { return &scheme.m_mapElements; }
};

void Link(SCHEME_BASE_ELEMENT* from, int outPort, SCHEME_BASE_ELEMENT* to, int inPort) {
    GuidAndPort there;
    there.m_guidElem = to->m_guid;
    there.m_nPort = inPort;
    from->m_mapOutLinks[outPort].push_back(there);
    GuidAndPort back;
    back.m_guidElem = from->m_guid;
    back.m_nPort = outPort;
    to->m_mapInLinks[inPort] = back;
}

FUNC_ARGUMENT Arg(const wchar_t* type, bool autoType = false) {
    FUNC_ARGUMENT a;
    a.m_sName = L"x";
    a.m_sTypeName = type;
    a.m_bAutoType = autoType;
    return a;
}

// A 4 x 4 box with inputs at the left edge and outputs at the right, `pitch` units apart.
Scheme_Draw BoxDrawing(int ins, int outs, int pitch = 2) {
    Scheme_Draw d;
    Sch_Object box;
    box.m_nType = 1;
    box.m_rect.m_rect = RectF(0, 0, 4, 4);
    d.m_vObjects = {box};
    for (int i = 0; i < ins; ++i) {
        Sch_PortIn p;
        p.m_fX = 0, p.m_fY = float(1 + pitch * i);
        d.m_vPortIn.push_back(p);
    }
    for (int i = 0; i < outs; ++i) {
        Sch_PortOut p;
        p.m_fX = 4, p.m_fY = float(1 + pitch * i);
        d.m_vPortOut.push_back(p);
    }
    return d;
}

SCHEME_FUNC Func(const wchar_t* name, std::vector<FUNC_ARGUMENT> ins, std::vector<FUNC_ARGUMENT> outs) {
    SCHEME_FUNC f;
    f.m_sName = name;
    f.m_sTitle = name;
    f.m_sCaption = name;
    f.m_eType = EFuncSchemeType(1);
    f.m_draw = BoxDrawing(int(ins.size()), int(outs.size()));
    f.m_vInputs = std::move(ins);
    f.m_vOutputs = std::move(outs);
    return f;
}

template <class P>
SmartPointer<FuncPropsBase> Prop(P* p, const wchar_t* key, const wchar_t* caption = L"") {
    p->m_sKey = key;
    p->m_sCaption = caption;
    return SmartPointer<FuncPropsBase>(p);
}

}  // namespace

TEST(SchemeFuncElement, FixedAndDetectedPortTypes) {
    Scheme s;
    s.host.objTypeMatches[eArmObjAnalogInput] = L"float";
    PlainObject ai(eArmObjAnalogInput, L"AI");
    s.host.objects.push_back(&ai);
    SCHEME_FUNC fixed = Func(L"Fixed", {Arg(L"int32"), Arg(L"bool")}, {Arg(L"double")});
    SCHEME_FUNC autoF = Func(L"Auto", {Arg(L"", true)}, {Arg(L"", true)});
    SCHEME_FUNC autoG = Func(L"AutoG", {Arg(L"", true)}, {Arg(L"word")});

    SCHEME_FUNC_ELEMENT* f = s.Func(fixed);
    EXPECT_EQ(f->GetPortInTypeMatch(&s.host, s.Map(), 1), L"bool");
    EXPECT_EQ(f->GetPortOutTypeMatch(&s.host, s.Map(), 0), L"double");
    EXPECT_EQ(f->GetPortInTypeMatch(&s.host, s.Map(), 2), L"");   // out of range
    EXPECT_EQ(f->GetPortOutTypeMatch(&s.host, s.Map(), -1), L"");
    EXPECT_FALSE(f->IsAutoDetectPortInTypeMatch(&s.host, 0));
    SCHEME_FUNC_ELEMENT lost;
    lost.m_sName = L"NoSuchFunction";
    EXPECT_EQ(lost.GetPortInTypeMatch(&s.host, s.Map(), 0), L"");
    EXPECT_FALSE(lost.IsAutoDetectPortInTypeMatch(&s.host, 0));

    // Input element -> A (detected) -> B (detected): A takes the input's type; B does not
    // follow A's detected port and finds nothing.
    SCHEME_INPUT* in = s.Place(new SCHEME_INPUT(eSchemeEditCalcValues));
    in->m_sName = L"AI";
    in->SetConnected(&ai);
    SCHEME_FUNC_ELEMENT* a = s.Func(autoF);
    SCHEME_FUNC_ELEMENT* b = s.Place(new SCHEME_FUNC_ELEMENT(&autoF));
    Link(in, 0, a, 0);
    Link(a, 0, b, 0);
    EXPECT_TRUE(a->IsAutoDetectPortInTypeMatch(&s.host, 0));
    EXPECT_TRUE(a->IsAutoDetectPortOutTypeMatch(&s.host, 0));
    EXPECT_EQ(a->GetPortInTypeMatch(&s.host, s.Map(), 0), L"float");
    EXPECT_EQ(a->GetPortOutTypeMatch(&s.host, s.Map(), 0), L"float");
    EXPECT_EQ(b->GetPortInTypeMatch(&s.host, s.Map(), 0), L"");
    EXPECT_EQ(b->GetPortOutTypeMatch(&s.host, s.Map(), 0), L"");
    // The input's own type comes from inside its scheme first: A's detected port.
    EXPECT_EQ(in->GetTypeMatch(&s.host), L"float");

    // A detected input fed by a fixed output takes its type; a detected port also learns from
    // what its output feeds.
    SCHEME_FUNC_ELEMENT* c = s.Func(fixed);
    SCHEME_FUNC_ELEMENT* g = s.Func(autoG);
    Link(c, 0, g, 0);
    EXPECT_EQ(g->GetPortInTypeMatch(&s.host, s.Map(), 0), L"double");
    EXPECT_EQ(g->GetPortOutTypeMatch(&s.host, s.Map(), 0), L"word");  // fixed
    SCHEME_FUNC_ELEMENT* d = s.Func(autoF);
    SCHEME_FUNC_ELEMENT* e = s.Func(fixed);
    Link(d, 0, e, 1);
    EXPECT_EQ(d->GetPortInTypeMatch(&s.host, s.Map(), 0), L"bool");

    // A detected output feeding a scheme output linked to a variable takes the variable's type.
    PlainObject var(eArmObjVarSysOut, L"V");
    s.host.objTypeMatches[eArmObjVarSysOut] = L"bit";
    s.host.objects.push_back(&var);
    SCHEME_OUTPUT* out = s.Place(new SCHEME_OUTPUT(eSchemeEditCalcValues));
    out->m_sName = L"V";
    out->SetConnected(&var);
    SCHEME_FUNC_ELEMENT* h = s.Func(autoF);
    Link(h, 0, out, 0);
    EXPECT_EQ(h->GetPortInTypeMatch(&s.host, s.Map(), 0), L"bit");

    // Two detected elements linked only to each other: no type, and the search ends.
    SCHEME_FUNC_ELEMENT* x = s.Func(autoF);
    SCHEME_FUNC_ELEMENT* y = s.Func(autoF);
    Link(x, 0, y, 0);
    Link(y, 0, x, 0);
    EXPECT_EQ(x->GetPortInTypeMatch(&s.host, s.Map(), 0), L"");
    EXPECT_EQ(y->GetPortOutTypeMatch(&s.host, s.Map(), 0), L"");

    // A link to an element no longer in the map gives no type.
    SCHEME_FUNC_ELEMENT* z = s.Func(autoF);
    SCHEME_FUNC_ELEMENT gone(&fixed);
    Link(&gone, 0, z, 0);
    EXPECT_EQ(z->GetPortInTypeMatch(&s.host, s.Map(), 0), L"");
    s.scheme.m_mapElements[gone.GetGuidString()];  // a hole under its key
    EXPECT_EQ(z->GetPortInTypeMatch(&s.host, s.Map(), 0), L"");
}

TEST(SchemeFuncElement, InversionPermission) {
    Scheme s;
    TYPE_MATCHER inv, plain;
    inv.m_bInvertible = true;
    s.host.types[L"bit"] = inv;
    s.host.types[L"int"] = plain;
    SCHEME_FUNC f = Func(L"F", {Arg(L"bit"), Arg(L"int"), Arg(L"bit", true), Arg(L"unknown")}, {Arg(L"bit")});
    SCHEME_FUNC_ELEMENT* e = s.Func(f);
    EXPECT_TRUE(e->IsAllowInvertPort(&s.host, 0, true));
    EXPECT_FALSE(e->IsAllowInvertPort(&s.host, 1, true));   // type not invertible
    EXPECT_FALSE(e->IsAllowInvertPort(&s.host, 2, true));   // detected port
    EXPECT_FALSE(e->IsAllowInvertPort(&s.host, 3, true));   // type not in the map
    EXPECT_FALSE(e->IsAllowInvertPort(&s.host, 4, true));   // no such input
    EXPECT_TRUE(e->IsAllowInvertPort(&s.host, 0, false));
    e->m_setInvertedIn = {0, 2};
    EXPECT_TRUE(e->IsPortInInverted(&s.host, 0));
    EXPECT_FALSE(e->IsPortInInverted(&s.host, 2));  // stored on a detected port: ignored
    f.m_bNoInversion = true;
    EXPECT_FALSE(e->IsAllowInvertPort(&s.host, 0, true));
    f.m_bNoInversion = false;
    f.m_setHiddenSigns = {L"FeedbackFunction"};
    EXPECT_FALSE(e->IsAllowInvertPort(&s.host, 0, true));
    SCHEME_FUNC_ELEMENT lost;
    EXPECT_FALSE(lost.IsAllowInvertPort(&s.host, 0, true));
}

TEST(SchemeFuncElement, PropertyValuesAndEnableRules) {
    Scheme s;
    SCHEME_FUNC f = Func(L"F", {}, {});
    auto* mode = new FuncPropsBool;
    mode->m_bDefault = true;
    mode->m_vDependProps = {L"Gain"};
    mode->m_vDependMinusProps = {L"Offset"};
    auto* gain = new FuncPropsEditDouble;
    gain->m_dDefault = 2;
    auto* offset = new FuncPropsEditInt;
    f.m_vProps = {Prop(mode, L"Mode"), Prop(gain, L"Gain", L"Усиление"), Prop(offset, L"Offset")};
    SCHEME_FUNC_ELEMENT* e = s.Func(f);

    EXPECT_EQ(e->GetFuncPropValue(&s.host, L"Gain"), L"2");  // default
    e->m_mapPropValues[L"Gain"] = L"3";
    EXPECT_EQ(e->GetFuncPropValue(&s.host, L"Gain"), L"3");
    EXPECT_EQ(e->GetCompilerFuncPropValue(&s.host, L"Gain"), L"3.");
    EXPECT_EQ(e->GetFuncPropValue(&s.host, L"None"), L"");
    EXPECT_EQ(e->GetCompilerFuncPropValue(&s.host, L"None"), L"");
    EXPECT_EQ(e->GetFuncPropValue(L"Gain", L"fb"), L"3");
    EXPECT_EQ(e->GetFuncPropValue(L"Offset", L"fb"), L"fb");

    EXPECT_FALSE(e->IsPropertyDisabled(&s.host, L"Gain"));
    EXPECT_TRUE(e->IsPropertyDisabled(&s.host, L"Offset"));  // enabled only while Mode is "0"
    EXPECT_FALSE(e->IsPropertyDisabled(&s.host, L"Mode"));
    e->m_mapPropValues[L"Mode"] = L"0";
    EXPECT_TRUE(e->IsPropertyDisabled(&s.host, L"Gain"));
    EXPECT_FALSE(e->IsPropertyDisabled(&s.host, L"Offset"));
    EXPECT_FALSE(e->IsPropertyDisabled(&s.host, 99, nullptr));  // no such index: not disabled
    EXPECT_TRUE(e->IsPropertyDisabled(&s.host, L"Missing"));
    std::set<CString> governed{L"Offset"};
    EXPECT_FALSE(e->IsPropertyDisabled(&s.host, 1, &governed));  // Gain not in the governed set
    SCHEME_FUNC_ELEMENT lost;
    EXPECT_TRUE(lost.IsPropertyDisabled(&s.host, 0, nullptr));
    EXPECT_TRUE(lost.IsPropertyDisabled(&s.host, L"Gain"));
    EXPECT_EQ(lost.GetFuncPropValue(&s.host, L"Gain"), L"");

    // Properties governing each other in a circle: the search ends, the one met again counts
    // as enabled.
    SCHEME_FUNC c = Func(L"Circle", {}, {});
    c.m_eType = EFuncSchemeType(2);
    auto* p = new FuncPropsBool;
    auto* q = new FuncPropsBool;
    p->m_bDefault = q->m_bDefault = true;
    p->m_vDependProps = {L"Q"};
    q->m_vDependProps = {L"P"};
    c.m_vProps = {Prop(p, L"P"), Prop(q, L"Q")};
    SCHEME_FUNC_ELEMENT* ce = s.Func(c);
    EXPECT_FALSE(ce->IsPropertyDisabled(&s.host, L"P"));
    EXPECT_FALSE(ce->IsPropertyDisabled(&s.host, L"Q"));
    ce->m_mapPropValues[L"Q"] = L"0";
    EXPECT_TRUE(ce->IsPropertyDisabled(&s.host, L"P"));   // Q is off
    EXPECT_TRUE(ce->IsPropertyDisabled(&s.host, L"Q"));   // P, its governor, is off in turn
    auto* self = new FuncPropsBool;
    self->m_vDependMinusProps = {L"S"};
    c.m_vProps.push_back(Prop(self, L"S"));
    EXPECT_FALSE(ce->IsPropertyDisabled(&s.host, L"S"));  // governs itself: "0" enables it
}

TEST(SchemeFuncElement, ExportToBlock) {
    Scheme s;
    SCHEME_FUNC f = Func(L"F", {}, {});
    f.m_sCaption = L"Функция";
    auto* on = new FuncPropsBool;
    on->m_bDefault = true;
    on->m_vDependProps = {L"Name"};
    auto* name = new FuncPropsEditText;
    auto* block = new FuncPropsArmObjBlock;
    block->m_sHostText = L"Name";
    auto* second = new FuncPropsArmObjBlock;
    auto* kept = new FuncPropsEditText;
    kept->m_sDefault = L"dflt";
    auto* combo = new FuncPropsArmObjCombo;  // not saved into blocks
    f.m_vProps = {Prop(on, L"On"), Prop(name, L"Name"), Prop(block, L"Block", L"Блок"), Prop(second, L"Second", L"Второй"),
                  Prop(kept, L"Kept"), Prop(combo, L"Combo")};
    SCHEME_FUNC_ELEMENT* e = s.Func(f);

    CString value = L"x", error;
    EXPECT_TRUE(e->GetFuncPropValueExportToBlock(&s.host, L"Combo", value, error, combo));
    EXPECT_EQ(value, L"");
    EXPECT_TRUE(e->GetFuncPropValueExportToBlock(&s.host, L"Kept", value, error, nullptr));
    EXPECT_TRUE(e->GetFuncPropValueExportToBlock(&s.host, L"Kept", value, error, kept));
    EXPECT_EQ(value, L"dflt");
    // A block name taken from the property it names when it has none of its own.
    EXPECT_FALSE(e->GetFuncPropValueExportToBlock(&s.host, L"Block", value, error, block));
    CString expected;
    expected.Format(HalvexLoadString(7156).GetString(), L"Блок");
    EXPECT_EQ(error, expected);
    e->m_mapPropValues[L"Name"] = L"N1";
    EXPECT_TRUE(e->GetFuncPropValueExportToBlock(&s.host, L"Block", value, error, block));
    EXPECT_EQ(value, L"N1");
    e->m_mapPropValues[L"On"] = L"0";  // the named property is off: nothing to export
    EXPECT_TRUE(e->GetFuncPropValueExportToBlock(&s.host, L"Block", value, error, block));
    EXPECT_EQ(value, L"");
    e->m_mapPropValues.erase(L"On");

    // Two elements with the same block name: the second fails and keeps its values; the
    // names of the failed element do not stay in the shared set.
    e->m_mapPropValues[L"Second"] = L"S1";
    std::set<CString> used;
    ASSERT_TRUE(e->SetFuncPropValuesExportToBlock(&s.host, used, error)) << error.GetString();
    EXPECT_EQ(error, L"");
    EXPECT_EQ(used, (std::set<CString>{L"N1", L"S1"}));
    EXPECT_EQ(e->m_mapPropValues[L"Kept"], L"dflt");
    EXPECT_EQ(e->m_mapPropValues[L"Combo"], L"");
    EXPECT_EQ(e->m_mapPropValues[L"Block"], L"N1");

    SCHEME_FUNC_ELEMENT* other = s.Func(f);
    other->m_mapPropValues = {{L"Block", L"N2"}, {L"Second", L"S1"}, {L"Kept", L"mine"}};
    const auto before = other->m_mapPropValues;
    EXPECT_FALSE(other->SetFuncPropValuesExportToBlock(&s.host, used, error));
    expected.Format(HalvexLoadString(7157).GetString(), L"Функция", L"Второй", L"S1");
    EXPECT_EQ(error, expected);
    EXPECT_EQ(other->m_mapPropValues, before);
    EXPECT_EQ(used, (std::set<CString>{L"N1", L"S1"}));  // N2 not left behind

    // One element repeating a name in two of its own properties fails the same way.
    SCHEME_FUNC_ELEMENT* twice = s.Func(f);
    twice->m_mapPropValues = {{L"Block", L"T"}, {L"Second", L"T"}};
    std::set<CString> fresh;
    EXPECT_FALSE(twice->SetFuncPropValuesExportToBlock(&s.host, fresh, error));
    EXPECT_TRUE(fresh.empty());

    // A missing function exports nothing and empties the values.
    SCHEME_FUNC_ELEMENT lost;
    lost.m_mapPropValues[L"A"] = L"1";
    EXPECT_TRUE(lost.SetFuncPropValuesExportToBlock(&s.host, used, error));
    EXPECT_TRUE(lost.m_mapPropValues.empty());
}

TEST(SchemeFuncElement, FeedbackSizes) {
    Scheme s;
    SCHEME_FUNC f = Func(L"Fb", {Arg(L"T")}, {Arg(L"T")});
    f.m_setHiddenSigns = {L"FeedbackFunction"};
    f.m_sInitSize = L"7";
    SCHEME_FUNC_ELEMENT* e = s.Func(f);
    EXPECT_TRUE(e->IsFeedbackFunction(&s.host));
    EXPECT_EQ(e->GetFuncInitSize(&s.host, s.Map()), 0);  // type unknown to the host
    EXPECT_EQ(e->GetFeedbackTypeMatcher(&s.host, s.Map()), nullptr);
    TYPE_MATCHER t;
    const struct {
        const wchar_t* size;
        const wchar_t* word;
        int init;
    } cases[] = {{L"6", L"", 3}, {L"8", L"", 3}, {L"9", L"", 4}, {L"6", L"2", 4}, {L"0", L"", 1},
                 {L"6", L"0", 3}, {L"6", L"-8", 3}, {L"2147483647", L"", 536870913}};
    for (const auto& c : cases) {
        t.m_sSize = c.size;
        s.host.types[L"T"] = t;
        s.host.defines[L"SIZEOF_INT_BYTES"] = c.word;
        EXPECT_EQ(e->GetFuncInitSize(&s.host, s.Map()), c.init) << c.size << " " << c.word;
    }
    EXPECT_EQ(e->GetFeedbackTypeMatcher(&s.host, s.Map()), &s.host.types[L"T"]);
    f.m_setHiddenSigns.clear();
    EXPECT_FALSE(e->IsFeedbackFunction(&s.host));
    EXPECT_EQ(e->GetFuncInitSize(&s.host, s.Map()), 7);
    EXPECT_EQ(e->GetFeedbackTypeMatcher(&s.host, s.Map()), nullptr);
    SCHEME_FUNC_ELEMENT lost;
    EXPECT_EQ(lost.GetFuncInitSize(&s.host, s.Map()), 0);
    EXPECT_FALSE(lost.IsFeedbackFunction(&s.host));
}

TEST(SchemeFuncElement, PinsBoundsCopiesAndHitTargets) {
    Scheme s;
    s.host.drawings[L"ArrowL"] = BoxDrawing(1, 0);
    s.host.drawings[L"ArrowR"] = BoxDrawing(0, 2);
    SCHEME_FUNC f = Func(L"Sw", {Arg(L"bit")}, {Arg(L"bit")});
    f.m_eType = EFuncSchemeType(9);
    f.m_vDrawNames = {L"ArrowL", L"ArrowR", L"Unknown"};
    SCHEME_FUNC_ELEMENT* e = s.Func(f, 10, 20);
    std::vector<Sch_PortIn> ins;
    std::vector<Sch_PortOut> outs;
    e->GetVectPortIn(&s.host, ins);
    e->GetVectPortOut(&s.host, outs);
    EXPECT_EQ(ins.size(), 2u);   // ArrowL's and the function's own
    EXPECT_EQ(outs.size(), 3u);  // ArrowR's two and the function's own
    e->m_mapPropValues[L"Rotation"] = L"R";
    e->GetVectPortIn(&s.host, ins);
    e->GetVectPortOut(&s.host, outs);
    EXPECT_EQ(ins.size(), 1u);
    EXPECT_EQ(outs.size(), 3u);
    e->m_mapPropValues[L"Arrow"] = L"L";  // chooses against Rotation: neither drawing
    e->GetVectPortOut(&s.host, outs);
    EXPECT_EQ(outs.size(), 1u);

    // Pins of a function of that kind are hit within 6 x 6 around their ends.
    e->m_mapPropValues.clear();
    int in = -1, out = -1;
    PointF nearIn(10 - 1 + 2.5f, 21);
    EXPECT_TRUE(e->GetPinHitTest(&s.host, nearIn, in, out));
    EXPECT_EQ(in, 0);
    SCHEME_FUNC g = Func(L"Plain", {Arg(L"bit")}, {});
    SCHEME_FUNC_ELEMENT* p = s.Func(g, 10, 20);
    EXPECT_FALSE(p->GetPinHitTest(&s.host, nearIn, in, out));
    PointF atEnd(9, 21);
    EXPECT_TRUE(p->GetPinHitTest(&s.host, atEnd, in, out));

    const RectF r = p->GetBoundedRectF(&s.host, 1);
    const RectF own = g.GetBoundedRectF(&s.host, 1);
    EXPECT_FLOAT_EQ(r.X, own.X + 10);
    EXPECT_FLOAT_EQ(r.Y, own.Y + 20);
    SCHEME_FUNC_ELEMENT lost;
    lost.m_nX = 5;
    s.host.defaultFuncSchemeDraw = BoxDrawing(1, 1);
    EXPECT_FLOAT_EQ(lost.GetBoundedRectF(&s.host, 1).X, s.host.defaultFuncSchemeDraw.GetBoundedRectF(1).X + 5);
    lost.GetVectPortIn(&s.host, ins);
    EXPECT_TRUE(ins.empty());  // a missing function has no pins

    p->m_mapPropValues[L"K"] = L"v";
    std::unique_ptr<SCHEME_BASE_ELEMENT> copy(p->Clone());
    auto* c = dynamic_cast<SCHEME_FUNC_ELEMENT*>(copy.get());
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->IsEqual(*p));
    EXPECT_EQ(c->m_sName, L"Plain");
    EXPECT_EQ(c->m_mapPropValues[L"K"], L"v");
    EXPECT_EQ(c->GetSchemeEditShortName(), L" ");
    EXPECT_EQ(c->GetSchemeElementType(), eSchElemFunc);
}

TEST(SchemeFuncElement, DrawingLooks) {
    Scheme s;
    SCHEME_FUNC f = Func(L"Sw", {Arg(L"bit")}, {Arg(L"bit"), Arg(L"bit")});
    f.m_eType = EFuncSchemeType(9);
    f.m_draw = BoxDrawing(1, 2, 8);
    SCHEME_FUNC_ELEMENT* e = s.Func(f, 1, 1);
    SCHEME_FUNC_ELEMENT far(&f);
    Link(e, 0, &far, 0);
    Link(&far, 0, e, 0);
    // Element at (1, 1), scale 10: input anchor (1, 2) busy, outputs (5, 2) busy and (5, 10) free.

    // Selected, a function of that kind draws with kind 5: blue squares on every pin, no busy squares.
    Picture sel(120, 160, 10);
    e->Draw(&s.host, sel.g, eDrawSelect, Size());
    EXPECT_EQ(sel.At(7, 17), 0xFF0000FFu);
    EXPECT_EQ(sel.At(55, 17), 0xFF0000FFu);
    EXPECT_EQ(sel.At(55, 97), 0xFF0000FFu);
    // Normal: kind 4, busy squares first, then red squares on the free pins.
    Picture norm(120, 160, 10);
    e->Draw(&s.host, norm.g, eDrawNormal, Size());
    EXPECT_EQ(norm.At(7, 17), 0xFF640064u);
    EXPECT_EQ(norm.At(55, 17), 0xFF640064u);
    EXPECT_EQ(norm.At(55, 97), 0xFFFF0000u);

    // Look 7: free outputs of "AggregatedBuses" get squares, other elements neither squares nor crosses.
    SCHEME_FUNC agg = Func(L"AggregatedBuses", {Arg(L"bit")}, {Arg(L"bit"), Arg(L"bit")});
    agg.m_draw = BoxDrawing(1, 2, 8);
    SCHEME_FUNC_ELEMENT* a = s.Func(agg, 1, 1);
    Link(a, 0, &far, 1);
    Picture p7(120, 160, 10);
    a->Draw(&s.host, p7.g, EDrawType(7), Size());
    EXPECT_EQ(p7.At(55, 97), 0xFF640064u);  // free output
    EXPECT_NE(p7.At(55, 17), 0xFF640064u);  // busy output
    EXPECT_NE(p7.At(3, 17), 0xFF000000u);   // no cross at the free input's end (0, 2)
    SCHEME_FUNC other = Func(L"Other", {Arg(L"bit")}, {Arg(L"bit")});
    SCHEME_FUNC_ELEMENT* o = s.Func(other, 1, 1);
    Picture q7(120, 160, 10);
    o->Draw(&s.host, q7.g, EDrawType(7), Size());
    EXPECT_NE(q7.At(50, 20), 0xFF640064u);
    EXPECT_NE(q7.At(57, 17), 0xFF000000u);  // no cross at the free output's end (6, 2)
    Picture n0(120, 160, 10);
    o->Draw(&s.host, n0.g, eDrawNormal, Size());
    EXPECT_EQ(n0.At(57, 17), 0xFF000000u);  // drawn normally it is crossed

    // A missing function draws the host's default picture with the element's name.
    s.host.defaultFuncSchemeDraw = BoxDrawing(0, 0);
    SCHEME_FUNC_ELEMENT lost;
    lost.m_sName = L"Gone";
    lost.m_nX = 2, lost.m_nY = 2;
    Picture m(100, 80, 10);
    lost.Draw(&s.host, m.g, eDrawNormal, Size());
    EXPECT_EQ(m.At(20, 40), 0xFF000000u);  // the default box's left edge
}

TEST(SchemeFuncElement, InfoText) {
    Scheme s;
    SCHEME_FUNC_ELEMENT lost;
    lost.m_sName = L"Gone";
    OUT_INFO_TEXT info;
    lost.FillOutInfoText(info, &s.host);
    ASSERT_EQ(info.m_arrLines.size(), 1u);
    CString line;
    line.Format(HalvexLoadString(7180).GetString(), L"Gone");
    EXPECT_EQ(info.m_arrLines[0], line);
    EXPECT_EQ(info.m_sInfo, L"");

    SCHEME_FUNC f = Func(L"And", {Arg(L"bit", true)}, {Arg(L"bit")});
    f.m_sTitle = L"Логическое И";
    f.m_bInit = true;
    f.m_sInitSize = L"$N*2";
    f.m_vHiddenInputs = {Arg(L"int")};
    auto* gain = new FuncPropsEditDouble;
    f.m_vProps = {Prop(gain, L"Gain", L"Усиление")};
    f.m_vHiddenPropNames = {L"H", L"Absent"};
    f.m_setHiddenSigns = {L"AnalogInput"};
    s.host.hiddenProps[L"H"] = HIDDEN_PROP_DATA{L"Скрытое", {{L"a", L"1"}}};
    SCHEME_FUNC fixed = Func(L"Src", {}, {Arg(L"word")});
    SCHEME_FUNC_ELEMENT* e = s.Func(f);
    SCHEME_FUNC_ELEMENT* src = s.Func(fixed);
    Link(src, 0, e, 0);
    auto L = [](unsigned id) { return HalvexLoadString(id); };
    const CString head = L"\nInit: true\nInitSize: $N*2\n\n" + L(7166) + L": 1\n\n" + L(7167) + L" 1:\n" +
                         f.m_vInputs[0].GetInfoString(&s.host) + L"\n" + L(7168) + L": ";
    auto tail = [&](const wchar_t* outType) {
        return L"\n\n\n" + L(7169) + L": 1\n\n" + L(7170) + L" 1:\n" + f.m_vOutputs[0].GetInfoString(&s.host) +
                         L"\n" + L(7171) + L": " + outType + L"\n\n\n" + L(7172) + L": 1\n\n" + L(7173) + L" 1:\n" +
                         f.m_vHiddenInputs[0].GetInfoString(&s.host) + L"\n\n\n" + L(7174) + L": 0\n\n\n" +
                         L(7176) + L":\n" + L(7103) + L": Усиление    " + L(7117) + L": 0.5\n\n\n" + L(7177) +
                         L":\n  " + L(7103) + L": Скрытое\n    " + L(7178) + L": a    " + L(7117) + L": 1\n\n\n" +
                         L(7179) + L":\n    AnalogInput\n";
    };
    e->FillOutInfoText(info, &s.host);
    EXPECT_EQ(info.m_sType, L(7159));
    EXPECT_EQ(info.m_sName, L"Логическое И");
    EXPECT_EQ(info.m_sInfo, head + L"word" + tail(L"bit"));

    // An element the host cannot place shows empty port types; so does a stale place.
    s.host.elementPlaces[e] = {-1, -1};
    e->FillOutInfoText(info, &s.host);
    EXPECT_EQ(info.m_sInfo, head + tail(L""));
    s.host.elementPlaces[e] = {eSchemeEditCalcValues, 3};
    OUT_INFO_TEXT again;
    e->FillOutInfoText(again, &s.host);
    EXPECT_EQ(again.m_sInfo, info.m_sInfo);
}

TEST(SchemeFuncElement, SmallSchemeRendered) {
    // input -> A -> B -> output, A's output inverted, B's second input free; scale 10.
    Scheme s;
    TYPE_MATCHER bit;
    bit.m_bInvertible = true;
    s.host.types[L"bit"] = bit;
    Sch_PortOut inPin;
    inPin.m_fX = 2, inPin.m_fY = 1;
    Sch_Object inBox;
    inBox.m_nType = 1;
    inBox.m_rect.m_rect = RectF(0, 0, 2, 2);
    s.host.inputSchemeDraw.m_vObjects = {inBox};
    s.host.inputSchemeDraw.m_vPortOut = {inPin};
    Sch_PortIn outPin;
    outPin.m_fX = 0, outPin.m_fY = 1;
    Sch_Object outBox = inBox;
    s.host.outputSchemeDraw.m_vObjects = {outBox};
    s.host.outputSchemeDraw.m_vPortIn = {outPin};

    SCHEME_FUNC fa = Func(L"A", {Arg(L"bit")}, {Arg(L"bit")});
    SCHEME_FUNC fb = Func(L"B", {Arg(L"bit"), Arg(L"bit")}, {Arg(L"bit")});
    SCHEME_INPUT* in = s.Place(new SCHEME_INPUT(eSchemeEditCalcValues));
    in->m_nX = 1, in->m_nY = 2;      // box 1..3 x 2..4, pin (3, 3) -> (4, 3)
    SCHEME_FUNC_ELEMENT* a = s.Func(fa, 5, 2);   // box 5..9 x 2..6, input (5, 3), output (9, 3)
    SCHEME_FUNC_ELEMENT* b = s.Func(fb, 11, 2);  // inputs (11, 3) and (11, 5), output (15, 3)
    SCHEME_OUTPUT* out = s.Place(new SCHEME_OUTPUT(eSchemeEditCalcValues));
    out->m_nX = 17, out->m_nY = 2;   // pin (17, 3) -> (16, 3), box 17..19
    Link(in, 0, a, 0);
    Link(a, 0, b, 0);
    Link(b, 0, out, 0);
    a->m_setInvertedOut = {0};
    b->m_setInvertedIn = {1};  // the free input carries an inversion too

    Picture p(220, 90, 10);
    s.scheme.m_mapElements.Draw(&s.host, p.g, eDrawNormal, Size());
    EXPECT_EQ(p.At(50, 45), 0xFF000000u);    // A's box, left edge
    EXPECT_EQ(p.At(110, 58), 0xFF000000u);   // B's box, left edge
    EXPECT_EQ(p.At(10, 30), 0xFF000000u);    // the input's box
    EXPECT_EQ(p.At(190, 35), 0xFF000000u);   // the output's box, right edge
    EXPECT_EQ(p.At(35, 30), 0xFF000000u);    // the input's pin stroke
    EXPECT_EQ(p.At(165, 30), 0xFF000000u);   // the output's pin stroke
    EXPECT_EQ(p.At(45, 30), 0xFF000000u);    // A's input pin stroke (4..5, 3)
    // Inversion circles: white inside on A's output and B's second input, centred on the anchors.
    EXPECT_EQ(p.At(90, 30), 0xFFFFFFFFu);
    EXPECT_EQ(p.At(110, 50), 0xFFFFFFFFu);
    EXPECT_EQ(p.At(110, 30), 0xFF000000u);   // B's linked first input: a plain stroke
    // Red squares (the normal look of a function with free pins is a cross): B's free input
    // end (10, 5) is crossed, its linked input is not.
    EXPECT_EQ(p.At(97, 47), 0xFF000000u);
    EXPECT_NE(p.At(97, 27), 0xFF000000u);
    // The map's bounds cover all four elements.
    const RectF r = s.scheme.m_mapElements.GetBoundedRectF(&s.host, 10);
    EXPECT_LE(r.X, 1.0f);
    EXPECT_GE(r.GetRight(), 19.0f);
    PointF onB(13, 4);
    EXPECT_EQ(s.scheme.m_mapElements.GetHitElement(&s.host, onB, 10), b->GetGuidString());
    PointF onInv(9.2f, 3.2f);
    int inPort = -1, outPort = -1;
    EXPECT_TRUE(a->GetInversionHitTest(&s.host, onInv, inPort, outPort));
    EXPECT_EQ(outPort, 0);
}
