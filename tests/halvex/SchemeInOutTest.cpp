// Scheme inputs and outputs: object types by scheme kind, links by name, renaming on
// disconnection, link state bits, option gates of outputs, data-type walks across schemes,
// info texts and drawing.
#include <gtest/gtest.h>

#include <memory>

#include "halvex/config/ObjIconsHelper.h"
#include "halvex/helpers/HalvexResources.h"
#include "halvex/scheme/ArmScheme.h"
#include "halvex/scheme/SchemeFuncElement.h"
#include "halvex/scheme/SchemeInOut.h"
#include "tests/halvex/support/FakeArmHost.h"

using namespace Gdiplus;

namespace {

// A plain configuration object of any type.
struct PlainObject : ArmObject {
    explicit PlainObject(EArmObjectType t, const wchar_t* name = L"") : type(t) { m_sName = name; }
    EArmObjectType GetArmObjectType() const override { return type; }
    EArmObjectType type;
};

// Schemes of the test host: elements are owned by the scheme maps, the host lists them as
// objects and knows where each lives.
struct Project {
    testutil::FakeArmHost host;
    std::vector<std::unique_ptr<ARM_SCHEME>> schemes;

    ARM_SCHEME* AddScheme(ESchemeEditType kind, const wchar_t* name) {
        schemes.push_back(std::make_unique<ARM_SCHEME>());
        schemes.back()->m_sName = name;
        host.schemes[kind].push_back(schemes.back().get());
        return schemes.back().get();
    }
    template <class T>
    T* Place(ARM_SCHEME* scheme, T* element) {
        scheme->m_mapElements[element->GetGuidString()] = SmartPointer<SCHEME_BASE_ELEMENT>(element);
        for (const auto& [kind, list] : host.schemes)
            for (size_t i = 0; i < list.size(); ++i)
                if (list[i] == scheme) host.elementPlaces[element] = {kind, int(i)};
        if constexpr (std::is_base_of_v<ArmObject, T>) host.objects.push_back(element);
        return element;
    }
    SCHEME_INPUT* Input(ARM_SCHEME* scheme, ESchemeEditType kind, const wchar_t* name) {
        auto* e = Place(scheme, new SCHEME_INPUT(kind));
        e->m_sName = name;
        return e;
    }
    SCHEME_OUTPUT* Output(ARM_SCHEME* scheme, ESchemeEditType kind, const wchar_t* name) {
        auto* e = Place(scheme, new SCHEME_OUTPUT(kind));
        e->m_sName = name;
        return e;
    }
};

// Records a link from output `outPort` of `from` to input `inPort` of `to`, as the scheme
// graph does.
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

// A one-input, one-output function with fixed or detected argument types.
SCHEME_FUNC MakeFunc(const wchar_t* name, const wchar_t* inType, const wchar_t* outType, bool autoIn = false,
                     bool autoOut = false) {
    SCHEME_FUNC f;
    f.m_sName = name;
    f.m_eType = EFuncSchemeType(1);
    FUNC_ARGUMENT in, out;
    in.m_sTypeName = inType;
    in.m_bAutoType = autoIn;
    out.m_sTypeName = outType;
    out.m_bAutoType = autoOut;
    f.m_vInputs = {in};
    f.m_vOutputs = {out};
    return f;
}

}  // namespace

TEST(SchemeInOut, TypesByKindIconsAndCopies) {
    const struct {
        int kind;
        EArmObjectType in, out;
    } table[] = {{0, eArmObjPredvObrInput, eArmObjPredvObrOutput},       {1, eArmObjIzmerOrgInput, eArmObjIzmerOrgOutput},
                 {2, eArmObjPuskOrgInput, eArmObjPuskOrgOutput},         {3, eArmObjPhonObrInput, eArmObjPhonObrOutput},
                 {4, eArmObjOrgIspRazrInput, eArmObjOrgIspRazrOutput},   {5, eArmObjOrgIspUserInput, eArmObjOrgIspUserOutput},
                 {6, eArmObjRaschVhodInput, eArmObjRaschVhodOutput},     {7, eArmObjOrgIspUserInput, eArmObjOrgIspUserOutput},
                 {9, eArmObjOrgIspUserInput, eArmObjOrgIspUserOutput}};
    for (const auto& t : table) {
        SCHEME_INPUT in{ESchemeEditType(t.kind)};
        SCHEME_OUTPUT out{ESchemeEditType(t.kind)};
        EXPECT_EQ(in.GetArmObjectType(), t.in) << t.kind;
        EXPECT_EQ(out.GetArmObjectType(), t.out) << t.kind;
        EXPECT_FALSE(in.IsConnected());
        EXPECT_EQ(in.m_eLinkType, t.in);
        EXPECT_EQ(out.m_eLinkType, t.out);
    }
    SCHEME_INPUT in(eSchemeEditUser);
    SCHEME_OUTPUT out(eSchemeEditUser);
    EXPECT_EQ(in.GetObjectIconID(eTblLevelFirst), 7036);
    EXPECT_EQ(out.GetObjectIconID(eTblLevelDeeper), 7037);
    EXPECT_EQ(in.GetSchemeElementType(), eSchElemInput);
    EXPECT_EQ(out.GetSchemeElementType(), eSchElemOutput);
    EXPECT_FALSE(in.IsArmObjLocked());
    EXPECT_EQ(in.m_nValue, 1);
    EXPECT_EQ(out.m_nValue, 1);
    EXPECT_EQ(out.m_sChannelCoeff, L"1");
    EXPECT_EQ(out.m_eUseDistSend, eUseDistSendNone);

    SCHEME_OUTPUT full(eSchemeEditCalcValues, true, true, true, eUseDistSendChannel1, true, L"2.5", L"A", L"kV");
    full.m_sName = L"Out";
    full.m_vNumbers = {3, -1};
    full.m_nX = 4;
    std::unique_ptr<SCHEME_BASE_ELEMENT> copy(full.Clone());
    auto* o = dynamic_cast<SCHEME_OUTPUT*>(copy.get());
    ASSERT_NE(o, nullptr);
    EXPECT_TRUE(o->IsEqual(full));
    EXPECT_EQ(o->m_sName, L"Out");
    EXPECT_EQ(o->m_sChannelUnit, L"kV");
    EXPECT_TRUE(o->m_bUseInKtrUstavka);
    EXPECT_EQ(o->m_vNumbers.size(), 2u);
    EXPECT_EQ(o->m_nX, 4);
    std::unique_ptr<SCHEME_BASE_ELEMENT> inCopy(in.Clone());
    EXPECT_NE(dynamic_cast<SCHEME_INPUT*>(inCopy.get()), nullptr);
}

TEST(SchemeInOut, LinksByNameAndRenaming) {
    Project p;
    ARM_SCHEME* pre = p.AddScheme(eSchemeEditPreProcessing, L"Pre");
    ARM_SCHEME* calc = p.AddScheme(eSchemeEditCalcValues, L"Calc");
    ARM_SCHEME* user = p.AddScheme(eSchemeEditUser, L"User");
    SCHEME_OUTPUT* x = p.Output(pre, eSchemeEditPreProcessing, L"X");
    SCHEME_INPUT* a = p.Input(calc, eSchemeEditCalcValues, L"X");
    SCHEME_INPUT* b = p.Input(calc, eSchemeEditCalcValues, L"X");
    SCHEME_INPUT* c = p.Input(user, eSchemeEditUser, L"X");
    SCHEME_INPUT* lower = p.Input(user, eSchemeEditUser, L"x");  // names compare with case
    PlainObject taken(eArmObjAnalogInput, L"X_copy1");
    p.host.objects.push_back(&taken);

    x->SetConnected(a);  // link type: inputs
    for (SCHEME_INPUT* in : {a, b, c, lower}) in->SetConnected(x);
    lower->m_sName = L"x";
    EXPECT_TRUE(x->IsConnected());
    EXPECT_EQ(x->m_eLinkType, eArmObjIzmerOrgInput);

    std::vector<ArmObject*> out;
    x->GetConnectedArmObjects(&p.host, out);
    ASSERT_EQ(out.size(), 3u);  // every input kind, same name only
    EXPECT_EQ(out[0], static_cast<ArmObject*>(a));
    EXPECT_EQ(out[2], static_cast<ArmObject*>(c));
    a->GetConnectedArmObjects(&p.host, out);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0], static_cast<ArmObject*>(x));

    x->GetConnectedArmObjectsInSchemeEditType(&p.host, eSchemeEditCalcValues, out);
    EXPECT_EQ(out.size(), 2u);
    EXPECT_TRUE(x->IsConnectedInSchemeEditType(&p.host, eSchemeEditUser));
    EXPECT_FALSE(x->IsConnectedInSchemeEditType(&p.host, eSchemeEditStartOrgans));
    EXPECT_TRUE(a->IsConnectedInSchemeEditType(&p.host, eSchemeEditPreProcessing));

    // The two partners of the calculated-values kind get fresh names past the one taken.
    EXPECT_FALSE(x->DisconnectInSchemeEditTypeAndCorrectNames(&p.host, eSchemeEditStartOrgans));
    EXPECT_TRUE(x->DisconnectInSchemeEditTypeAndCorrectNames(&p.host, eSchemeEditCalcValues));
    EXPECT_EQ(a->m_sName, L"X_copy2");
    EXPECT_EQ(b->m_sName, L"X_copy3");
    EXPECT_FALSE(a->IsConnected());
    EXPECT_FALSE(b->IsConnected());
    EXPECT_EQ(x->m_eLinkType, eArmObjOrgIspUserInput);  // c still takes it
    EXPECT_TRUE(x->DisconnectInSchemeEditTypeAndCorrectNames(&p.host, eSchemeEditUser));
    EXPECT_EQ(c->m_sName, L"X_copy4");  // past the names given before
    EXPECT_FALSE(x->IsConnected());
    x->ResetConnect();
    EXPECT_FALSE(x->IsConnected());
    x->GetConnectedArmObjects(&p.host, out);
    EXPECT_TRUE(out.empty());
}

TEST(SchemeInOut, CanRenameAndStateBits) {
    Project p;
    ARM_SCHEME* calc = p.AddScheme(eSchemeEditCalcValues, L"Calc");
    ARM_SCHEME* dev = p.AddScheme(eSchemeEditDeveloper, L"Dev");
    SCHEME_OUTPUT* o = p.Output(calc, eSchemeEditCalcValues, L"S");
    EXPECT_TRUE(o->CanRename());
    EXPECT_EQ(o->GetSchemeInOutConnect(&p.host), 0x1);
    o->m_bUseInSignalsMatrix = true;
    EXPECT_EQ(o->GetSchemeInOutConnect(&p.host), 0x401);

    // Linked to a configuration object only.
    PlainObject var(eArmObjVarSysOut, L"S");
    p.host.objects.push_back(&var);
    o->SetConnected(&var);
    EXPECT_FALSE(o->CanRename());
    o->m_bUseInAsu = true;
    EXPECT_EQ(o->GetSchemeInOutConnect(&p.host), 0x200 | 0x400 | 0x1000);

    // Linked to inputs of the partner type: option bits per input, then a foreign kind stops.
    SCHEME_INPUT* in1 = p.Input(calc, eSchemeEditCalcValues, L"S");
    o->SetConnected(in1);
    EXPECT_TRUE(o->CanRename());
    EXPECT_EQ(o->GetSchemeInOutConnect(&p.host), 0x400 | 0x1000 | 0x2 | 0x10 | 0x20);
    SCHEME_INPUT* in2 = p.Input(dev, eSchemeEditDeveloper, L"S");
    EXPECT_EQ(o->GetSchemeInOutConnect(&p.host), 0x400 | 0x1000 | 0x2 | 0x10 | 0x20 | 0x100);
    in1->SetConnected(o);
    EXPECT_EQ(in1->GetSchemeInOutConnect(&p.host), 0x80);
    in2->m_sName = L"T";
    in1->m_sName = L"T";
    EXPECT_EQ(o->GetSchemeInOutConnect(&p.host), 0x400 | 0x1000);  // no one of that name, option bits set

    // A user-scheme element linked to elements of other kinds keeps its name.
    SCHEME_INPUT u(eSchemeEditUser);
    u.m_eLinkType = eArmObjIzmerOrgOutput;
    EXPECT_FALSE(u.CanRename());
    u.m_eLinkType = eArmObjOrgIspUserOutput;
    EXPECT_TRUE(u.CanRename());
}

TEST(SchemeInOut, ClearingLinksByName) {
    Project p;
    ARM_SCHEME* pre = p.AddScheme(eSchemeEditPreProcessing, L"Pre");
    ARM_SCHEME* calc = p.AddScheme(eSchemeEditCalcValues, L"Calc");
    SCHEME_OUTPUT* o = p.Output(pre, eSchemeEditPreProcessing, L"S");
    SCHEME_INPUT* a = p.Input(calc, eSchemeEditCalcValues, L"S");
    SCHEME_INPUT* b = p.Input(calc, eSchemeEditCalcValues, L"S");
    o->SetConnected(a);
    a->SetConnected(o);
    b->SetConnected(o);
    a->ClearConnectedOutputs(&p.host);  // b still takes the output
    EXPECT_TRUE(o->IsConnected());
    b->ResetConnect();
    a->ClearConnectedOutputs(&p.host);  // a alone
    EXPECT_FALSE(o->IsConnected());

    o->SetConnected(a);
    b->SetConnected(o);
    o->ClearConnectedInputs(&p.host);
    EXPECT_FALSE(a->IsConnected());
    EXPECT_FALSE(b->IsConnected());
    o->ResetConnect();
    a->SetConnected(o);
    o->ClearConnectedInputs(&p.host);  // not linked to inputs: nothing
    EXPECT_TRUE(a->IsConnected());
}

TEST(SchemeInOut, OptionGatesOfOutputs) {
    struct Row {
        int kind;
        bool orgIspAllowed, orgIspUsable, asu, distSend, ktr, oscill, dastrel;
    };
    const Row rows[] = {
        {0, false, false, false, false, false, true, true}, {1, false, false, true, true, true, true, true},
        {2, true, true, false, false, false, false, false}, {3, true, true, false, false, false, false, false},
        {4, true, true, true, true, false, false, false},   {5, false, true, true, false, false, false, false},
        {6, false, false, false, false, false, true, false}, {7, true, true, false, false, false, false, false},
    };
    for (const Row& r : rows) {
        const auto k = ESchemeEditType(r.kind);
        EXPECT_EQ(SCHEME_OUTPUT::IsAllowOptionUseInOrgIspUsers(k), r.orgIspAllowed) << r.kind;
        EXPECT_EQ(SCHEME_OUTPUT::CanBeUsedInOrgIspUsers(k), r.orgIspUsable) << r.kind;
        EXPECT_EQ(SCHEME_OUTPUT::IsAllowOptionUseInAsu(k, nullptr), r.asu) << r.kind;
        EXPECT_EQ(SCHEME_OUTPUT::IsAllowOptionUseDistSend(k, nullptr), r.distSend) << r.kind;
        EXPECT_EQ(SCHEME_OUTPUT::IsAllowOptionUseInKtrUstavka(k), r.ktr) << r.kind;
        EXPECT_EQ(SCHEME_OUTPUT::IsAllowOptionsOscillParams(k), r.oscill) << r.kind;
        EXPECT_EQ(SCHEME_OUTPUT::IsAllowOnlyForFloatScalarDastrel100S(k), r.dastrel) << r.kind;

        SCHEME_OUTPUT o(k);
        EXPECT_EQ(o.GetUseInOrgIspUsers(), r.kind == 5 || r.kind == 7) << r.kind;
        o.m_bUseInOrgIspUsers = true;
        EXPECT_EQ(o.GetUseInOrgIspUsers(), r.orgIspUsable) << r.kind;
        o.m_sChannelCoeff = L"2";
        o.m_sChannelPhase = L"B";
        o.m_sChannelUnit = L"A";
        EXPECT_EQ(o.GetChannelCoeff(), r.oscill ? L"2" : L"1.0") << r.kind;
        EXPECT_EQ(o.GetChannelPhase(), r.oscill ? L"B" : L"") << r.kind;
        EXPECT_EQ(o.GetChannelUnit(), r.oscill ? L"A" : L"") << r.kind;
        o.m_bUseInKtrUstavka = true;
        EXPECT_EQ(o.GetUseInKtrUstavka(), r.ktr) << r.kind;
    }

    testutil::FakeArmHost host;
    SCHEME_OUTPUT o(eSchemeEditCalcValues);
    o.m_bUseInAsu = true;
    EXPECT_TRUE(o.GetUseInAsu(&host));
    host.asuForbidden = true;
    EXPECT_FALSE(o.GetUseInAsu(&host));
    EXPECT_FALSE(o.IsAllowOptionUseInAsu(&host));
    EXPECT_TRUE(o.GetUseInAsu(nullptr));

    // Distant sending: channel 2 only where ASU use is forbidden.
    const struct {
        int kind;
        EUseDistSend stored;
        bool hostGiven, forbidden, supported;
        EUseDistSend expect;
        bool allowed;
    } dist[] = {
        {1, eUseDistSendChannel2, true, false, true, eUseDistSendNone, true},
        {1, eUseDistSendChannel2, false, false, true, eUseDistSendNone, true},
        {1, eUseDistSendChannel2, true, true, false, eUseDistSendChannel2, true},
        {4, eUseDistSendChannel2, true, true, true, eUseDistSendChannel2, true},
        {1, eUseDistSendChannel1, true, false, true, eUseDistSendChannel1, true},
        {1, eUseDistSendChannel1, true, false, false, eUseDistSendNone, false},
        {1, eUseDistSendChannel1, false, false, false, eUseDistSendChannel1, true},
        {2, eUseDistSendChannel1, true, true, true, eUseDistSendNone, false},
    };
    for (const auto& d : dist) {
        testutil::FakeArmHost h;
        h.asuForbidden = d.forbidden;
        h.distSendSupported = d.supported;
        SCHEME_OUTPUT out(ESchemeEditType(d.kind));
        out.m_eUseDistSend = d.stored;
        ArmDataInterface* hp = d.hostGiven ? &h : nullptr;
        EXPECT_EQ(out.GetUseDistSend(hp), d.expect) << d.kind << " " << d.stored;
        EXPECT_EQ(out.IsAllowOptionUseDistSend(hp), d.allowed) << d.kind << " " << d.stored;
        EXPECT_EQ(SCHEME_OUTPUT::IsAllowChannel2DistSend(hp), d.hostGiven && d.forbidden);
    }
}

TEST(SchemeInOut, CommentFromTheLinkedObject) {
    Project p;
    ARM_SCHEME* calc = p.AddScheme(eSchemeEditCalcValues, L"Calc");
    SCHEME_INPUT* in = p.Input(calc, eSchemeEditCalcValues, L"V");
    in->m_sComment = L"own";
    ArmObject* found = reinterpret_cast<ArmObject*>(1);
    EXPECT_FALSE(in->IsCommentEditable(found, &p.host));
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(in->GetComment(&p.host), L"own");
    PlainObject var(eArmObjVarSysIn, L"V");
    var.m_sComment = L"from the variable";
    p.host.objects.push_back(&var);
    in->SetConnected(&var);
    EXPECT_TRUE(in->IsCommentEditable(found, &p.host));
    EXPECT_EQ(found, &var);
    EXPECT_EQ(in->GetComment(&p.host), L"from the variable");
    EXPECT_EQ(in->m_sComment, L"from the variable");
}

TEST(SchemeInOut, TypeWalksWithinAndAcrossSchemes) {
    Project p;
    SCHEME_FUNC fix = MakeFunc(L"Fix", L"int32", L"double");
    p.host.functions[1][L"Fix"] = &fix;
    p.host.objTypeMatches[eArmObjAnalogInput] = L"float";
    ARM_SCHEME* pre = p.AddScheme(eSchemeEditPreProcessing, L"Pre");
    ARM_SCHEME* calc = p.AddScheme(eSchemeEditCalcValues, L"Calc");

    // Inside: the input feeds a function input of a fixed type.
    SCHEME_INPUT* in = p.Input(pre, eSchemeEditPreProcessing, L"I");
    auto* f = p.Place(pre, new SCHEME_FUNC_ELEMENT(&fix));
    Link(in, 0, f, 0);
    EXPECT_EQ(in->GetTypeMatch(&p.host), L"int32");
    EXPECT_EQ(in->GetPortOutTypeMatch(&p.host, &pre->m_mapElements, 1), L"");  // one port only

    // Outside: an unlinked input takes the linked configuration object's type.
    SCHEME_INPUT* loose = p.Input(pre, eSchemeEditPreProcessing, L"AI");
    PlainObject ai(eArmObjAnalogInput, L"AI");
    p.host.objects.push_back(&ai);
    EXPECT_EQ(loose->GetTypeMatch(&p.host), L"");
    loose->SetConnected(&ai);
    EXPECT_EQ(loose->GetTypeMatch(&p.host), L"float");
    EXPECT_EQ(loose->GetPortOutsideTypeMatch(&p.host, &pre->m_mapElements), L"float");
    EXPECT_EQ(loose->GetPortInsideTypeMatch(&p.host, &pre->m_mapElements), L"");

    // Across schemes: an input of another kind takes the type of the output it is linked to.
    SCHEME_OUTPUT* out = p.Output(pre, eSchemeEditPreProcessing, L"S");
    Link(f, 0, out, 0);
    SCHEME_INPUT* far = p.Input(calc, eSchemeEditCalcValues, L"S");
    far->SetConnected(out);
    out->SetConnected(far);
    EXPECT_EQ(out->GetTypeMatch(&p.host), L"double");
    EXPECT_EQ(far->GetTypeMatch(&p.host), L"double");

    // A straight input-to-output pass takes the input's outside type.
    SCHEME_OUTPUT* pass = p.Output(pre, eSchemeEditPreProcessing, L"P");
    Link(loose, 0, pass, 0);
    EXPECT_EQ(pass->GetTypeMatch(&p.host), L"float");

    // An element the host places nowhere, or at an index past its list, has no type.
    p.host.elementPlaces[far] = {-1, -1};
    EXPECT_EQ(far->GetTypeMatch(&p.host), L"");
    p.host.elementPlaces[far] = {eSchemeEditCalcValues, 5};
    EXPECT_EQ(far->GetTypeMatch(&p.host), L"");
    p.host.elementPlaces[far] = {eSchemeEditCalcValues, 0};
    p.host.elementPlaces[out] = {eSchemeEditPreProcessing, 7};  // the output's scheme is "not found"
    EXPECT_EQ(far->GetTypeMatch(&p.host), L"");
    p.host.elementPlaces[out] = {42, 0};
    EXPECT_EQ(far->GetTypeMatch(&p.host), L"");
}

TEST(SchemeInOut, LoopOfLinksEnds) {
    // Output A (pre-processing) is fed straight by input B, which is linked by name to output B
    // (calculated values), which is fed straight by input A, linked by name to output A.
    Project p;
    ARM_SCHEME* pre = p.AddScheme(eSchemeEditPreProcessing, L"Pre");
    ARM_SCHEME* calc = p.AddScheme(eSchemeEditCalcValues, L"Calc");
    SCHEME_OUTPUT* outA = p.Output(pre, eSchemeEditPreProcessing, L"A");
    SCHEME_INPUT* inB = p.Input(pre, eSchemeEditPreProcessing, L"B");
    SCHEME_OUTPUT* outB = p.Output(calc, eSchemeEditCalcValues, L"B");
    SCHEME_INPUT* inA = p.Input(calc, eSchemeEditCalcValues, L"A");
    Link(inB, 0, outA, 0);
    Link(inA, 0, outB, 0);
    inB->SetConnected(outB);
    inA->SetConnected(outA);
    outA->SetConnected(inA);
    outB->SetConnected(inB);
    for (SCHEME_INOUT* e : std::initializer_list<SCHEME_INOUT*>{outA, inB, outB, inA})
        EXPECT_EQ(e->GetTypeMatch(&p.host), L"") << e->m_sName.GetString();
}

TEST(SchemeInOut, InfoTexts) {
    Project p;
    TYPE_MATCHER t;
    t.m_sDescription = L"Число";
    t.m_sSize = L"4";
    t.m_sCompiler = L"float";
    p.host.types[L"float"] = t;
    p.host.objTypeMatches[eArmObjAnalogInput] = L"float";
    ARM_SCHEME* pre = p.AddScheme(eSchemeEditPreProcessing, L"Pre");
    ARM_SCHEME* calc = p.AddScheme(eSchemeEditCalcValues, L"Calc");

    SCHEME_INPUT* in = p.Input(pre, eSchemeEditPreProcessing, L"AI");
    OUT_INFO_TEXT info;
    in->GetOutInfoText(info, &p.host);
    EXPECT_EQ(info.m_sType, HalvexLoadString(7182));
    EXPECT_EQ(info.m_sName, L"AI");
    EXPECT_EQ(info.m_sInfo, L"\n" + HalvexLoadString(7184) + L":\n" + HalvexLoadString(7100) + L"\n\n" +
                                HalvexLoadString(7151) + L": " + HalvexLoadString(7141) + L"\n");

    PlainObject ai(eArmObjAnalogInput, L"AI");
    p.host.objects.push_back(&ai);
    in->SetConnected(&ai);
    in->FillOutInfoText(info, &p.host);
    EXPECT_EQ(info.m_sInfo, L"\n" + HalvexLoadString(7184) + L":\n" + ai.GetTypeName(false) + L"\n\n" +
                                HalvexLoadString(7151) + L": float\n" + HalvexLoadString(7152) + L": Число\n" +
                                HalvexLoadString(7153) + L": 4\n" + HalvexLoadString(7154) + L": float");

    // An output linked to inputs of two schemes lists them; its computed coefficient follows.
    SCHEME_OUTPUT* out = p.Output(pre, eSchemeEditPreProcessing, L"S");
    SCHEME_INPUT* a = p.Input(calc, eSchemeEditCalcValues, L"S");
    ARM_SCHEME* calc2 = p.AddScheme(eSchemeEditCalcValues, L"Calc 2");
    SCHEME_INPUT* b = p.Input(calc2, eSchemeEditCalcValues, L"S");
    SCHEME_INPUT* lost = p.Input(calc2, eSchemeEditCalcValues, L"S");
    p.host.elementPlaces[lost] = {eSchemeEditCalcValues, 9};  // a stale place is passed over
    out->SetConnected(a);
    a->SetConnected(out);
    b->SetConnected(out);
    out->m_mapPortTexts[0] = L"0.25";
    out->FillOutInfoText(info, &p.host);
    EXPECT_EQ(info.m_sType, HalvexLoadString(7183));
    const CString kindName = CompileIncludeSpace::GetFuncSchemeTypeName(eSchemeEditCalcValues);
    EXPECT_EQ(info.m_sInfo, L"\n" + HalvexLoadString(7184) + L":\n" + kindName + L" Calc\n" + kindName +
                                L" Calc 2\n\n" + HalvexLoadString(7151) + L": " + HalvexLoadString(7141) + L"\n\n" +
                                HalvexLoadString(7185) + L": 0.25");
}

TEST(SchemeInOut, DrawingTextsPinsAndBounds) {
    Project p;
    // The host's output picture: a box, the name, the link code and the numbers.
    Scheme_Draw& d = p.host.outputSchemeDraw;
    Sch_Object box;
    box.m_nType = 1;
    box.m_rect.m_rect = RectF(0, 0, 10, 4);
    Sch_Object name;
    name.m_nType = 4;
    name.m_funcNameText.m_sAttribute = L"name";  // matched without regard to case
    name.m_funcNameText.m_fX = 1, name.m_funcNameText.m_fY = 5;
    Sch_Object type = name;
    type.m_funcNameText.m_sAttribute = L"TypeName";
    type.m_funcNameText.m_fY = 10;
    Sch_Object numbers;
    numbers.m_nType = 8;
    numbers.m_numericText.m_sAttribute = L"NumericText";
    numbers.m_numericText.m_fX = 1, numbers.m_numericText.m_fY = 18;
    d.m_vObjects = {box, name, type, numbers};
    Sch_PortIn pin;
    pin.m_fX = 0, pin.m_fY = 2;
    d.m_vPortIn = {pin};

    ARM_SCHEME* pre = p.AddScheme(eSchemeEditPreProcessing, L"Pre");
    SCHEME_OUTPUT* out = p.Output(pre, eSchemeEditPreProcessing, L"Out");
    out->m_nX = 2, out->m_nY = 1;
    std::vector<Sch_PortIn> pins;
    out->GetVectPortIn(&p.host, pins);
    ASSERT_EQ(pins.size(), 1u);
    EXPECT_FLOAT_EQ(pins[0].m_fY, 2);  // element coordinates
    std::vector<Sch_PortOut> outs;
    out->GetVectPortOut(&p.host, outs);
    EXPECT_TRUE(outs.empty());
    const RectF r = out->GetBoundedRectF(&p.host, 1);
    const RectF own = d.GetBoundedRectF(1);
    EXPECT_FLOAT_EQ(r.X, own.X + 2);  // the picture's bounds at the element's place
    EXPECT_FLOAT_EQ(r.Y, own.Y + 1);
    EXPECT_FLOAT_EQ(r.Width, own.Width);

    // Ink in the bands where the name, the link text and the numbers go.
    auto draw = [&](int& nameInk, int& typeInk, int& numInk, int& crossInk) {
        Bitmap bmp(200, 260);
        Graphics g(&bmp);
        g.Clear(Color(0xFFFFFFFF));
        g.SetPageUnit(UnitPixel);
        g.SetPageScale(10);
        out->Draw(&p.host, g, eDrawNormal, Size(0, 0));
        auto ink = [&](int y0, int y1, int x0, int x1) {
            int n = 0;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x) {
                    Color c;
                    bmp.GetPixel(x, y, &c);
                    n += c.GetValue() != 0xFFFFFFFFu;
                }
            return n;
        };
        nameInk = ink(60, 100, 25, 200);
        typeInk = ink(110, 150, 25, 200);
        numInk = ink(155, 185, 25, 200);
        crossInk = ink(25, 28, 6, 14) + ink(32, 35, 6, 14);  // around the free pin's end (1, 3), off its stroke
    };
    int nameInk, typeInk, numInk, crossInk;
    draw(nameInk, typeInk, numInk, crossInk);
    EXPECT_GT(nameInk, 0);
    EXPECT_EQ(typeInk, 0);  // not linked: no link text
    EXPECT_EQ(numInk, 0);
    EXPECT_GT(crossInk, 0);

    PlainObject partner(eArmObjAnalogInput, L"Out");
    out->SetConnected(&partner);
    draw(nameInk, typeInk, numInk, crossInk);
    EXPECT_GT(typeInk, 0);  // the link type's code
    EXPECT_EQ(numInk, 0);
    out->m_vNumbers = {-1};
    draw(nameInk, typeInk, numInk, crossInk);
    EXPECT_GT(typeInk, 0);  // the single number
    out->m_vNumbers = {3, -1};
    draw(nameInk, typeInk, numInk, crossInk);
    EXPECT_EQ(typeInk, 0);  // two numbers: no link text ...
    EXPECT_GT(numInk, 0);   // ... they are listed instead
    GuidAndPort l;
    l.m_guidElem = SCHEME_INPUT().m_guid;
    out->m_mapInLinks[0] = l;
    draw(nameInk, typeInk, numInk, crossInk);
    EXPECT_EQ(crossInk, 0);  // a linked pin gets no cross
    EXPECT_EQ(out->GetSchemeEditShortName(), L"ANI");
}
