// Terminal-level objects and small records: types and icons, information texts, the data type
// of remote values taken from the scheme input they feed, and signal name keys.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "halvex/config/TerminalObjects.h"
#include "halvex/helpers/HalvexResources.h"
#include "halvex/scheme/ArmScheme.h"
#include "halvex/scheme/SchemeFuncElement.h"
#include "halvex/scheme/SchemeInOut.h"
#include "tests/halvex/support/FakeArmHost.h"

TEST(TerminalObjects, TypesIconsAndLocks) {
    BLOCK_LED led;
    BLOCK_BUTTON button;
    DIST_ZNACH dist;
    ACCUMULATOR acc;
    MILLISEC_METR ms;
    SIGNAL_USER sig;
    REAL_ACCUM real;
    GOOSE_INPUT gi;
    GOOSE_OUTPUT go;
    GOOSE_INPUT_PB gip;
    GOOSE_OUTPUT_PB gop;
    const struct {
        const ArmObject* o;
        EArmObjectType type;
        int icon;
    } table[] = {{&led, eArmObjBlockLed, 7034},      {&button, eArmObjBlockButton, 7035}, {&dist, eArmObjDistZnach, 7038},
                 {&acc, eArmObjAccumulator, 7039},   {&ms, eArmObjMillisecMetr, 7040},    {&sig, eArmObjSignalUser, 7049},
                 {&real, eArmObjRealAccum, 7050},    {&gi, eArmObjGooseIn, 7071},         {&go, eArmObjGooseOut, 7072},
                 {&gip, eArmObjGooseInPB, 7374},     {&gop, eArmObjGooseOutPB, 7373}};
    for (const auto& t : table) {
        EXPECT_EQ(t.o->GetArmObjectType(), t.type);
        EXPECT_EQ(t.o->GetObjectIconID(eTblLevelFirst), t.icon) << t.type;
        EXPECT_EQ(t.o->GetObjectIconID(eTblLevelDeeper), t.icon) << t.type;
    }
    led.m_bIconAlt = true;
    EXPECT_EQ(led.GetObjectIconID(eTblLevelFirst), 7070);
    acc.m_bLocked = true;
    EXPECT_TRUE(acc.IsArmObjLocked());
    EXPECT_EQ(dist.m_sCount, L"1");
    EXPECT_FALSE(dist.m_bOwnType);

    // Copies are deep.
    JOURNAL j;
    j.m_arrItems = {L"a"};
    JOURNAL k = j;
    k.m_arrItems.push_back(L"b");
    EXPECT_EQ(j.m_arrItems.size(), 1u);
    LED_SIGNAL ls;
    ls.m_setSignals.insert(CSIG_NAME(L"S"));
    LED_SIGNAL lc = ls;
    lc.m_setSignals.insert(CSIG_NAME(L"T", true));
    EXPECT_EQ(ls.m_setSignals.size(), 1u);
    OUTRELAY_SIGNAL rs;
    EXPECT_TRUE(rs.m_setSignals.empty());
}

TEST(TerminalObjects, SignalNameKeys) {
    const CSIG_NAME a(L"A"), aFlag(L"A", true), b(L"B"), empty;
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_FALSE(a.IsEmpty());
    EXPECT_FALSE(a.m_bFlag);
    EXPECT_TRUE(a < aFlag);
    EXPECT_FALSE(aFlag < a);
    EXPECT_FALSE(a == aFlag);
    EXPECT_TRUE(a == CSIG_NAME(L"A", false));
    EXPECT_FALSE(a < CSIG_NAME(L"A"));
    EXPECT_TRUE(aFlag < b);
    EXPECT_TRUE(CSIG_NAME(L"Z") < CSIG_NAME(L"a"));  // case-sensitive
    std::set<CSIG_NAME> set{aFlag, b, a, CSIG_NAME(L"A")};
    ASSERT_EQ(set.size(), 3u);
    EXPECT_TRUE(*set.begin() == a);
}

TEST(TerminalObjects, InfoTexts) {
    testutil::FakeArmHost host;
    BLOCK_LED led;
    led.m_sName = L"LED1";
    led.m_sComment = L"c";
    led.m_sFactoryName = L"HL1";
    led.m_sShortName = L"H1";
    OUT_INFO_TEXT info;
    led.GetOutInfoText(info, &host);
    EXPECT_EQ(info.m_sType, led.GetTypeName(false));
    EXPECT_EQ(info.m_sName, L"LED1");
    EXPECT_EQ(info.m_sComment, L"c");
    EXPECT_EQ(info.m_sInfo, L"\n" + HalvexLoadString(7148) + L": HL1\n" + HalvexLoadString(7149) + L": H1");
    EXPECT_EQ(HalvexLoadString(7148), L"Заводское наименование");

    BLOCK_BUTTON button;
    button.m_sFactoryName = L"SB1";
    button.GetOutInfoText(info, &host);
    EXPECT_EQ(info.m_sInfo, L"\n" + HalvexLoadString(7148) + L": SB1");

    DIST_ZNACH dist;
    dist.m_sComment = L"remote";
    dist.GetOutInfoText(info, &host);
    EXPECT_EQ(info.m_sInfo, HalvexLoadString(7151) + L": " + HalvexLoadString(7141) + L"\n");
    EXPECT_EQ(info.m_sComment, L"remote");

    dist.m_bOwnType = true;
    dist.m_sOwnType = L"T";
    dist.GetOutInfoText(info, &host);
    EXPECT_EQ(info.m_sInfo, HalvexLoadString(7151) + L": T\n" + HalvexLoadString(7152) + L": " + HalvexLoadString(7141));
    TYPE_MATCHER t;
    t.m_sDescription = L"d";
    t.m_sSize = L"2";
    t.m_sCompiler = L"c";
    host.types[L"T"] = t;
    dist.GetOutInfoText(info, &host);
    EXPECT_EQ(info.m_sInfo, HalvexLoadString(7151) + L": T\n" + HalvexLoadString(7152) + L": d\n" +
                                HalvexLoadString(7153) + L": 2\n" + HalvexLoadString(7154) + L": c");
}

TEST(TerminalObjects, RemoteValueTypeFromTheSchemeInput) {
    testutil::FakeArmHost host;
    SCHEME_FUNC f;
    f.m_sName = L"F";
    f.m_eType = EFuncSchemeType(1);
    FUNC_ARGUMENT in;
    in.m_sTypeName = L"int16";
    f.m_vInputs = {in};
    host.functions[1][L"F"] = &f;

    ARM_SCHEME empty, scheme;
    host.schemes[eSchemeEditCalcValues] = {nullptr, &empty, &scheme};
    auto* other = new SCHEME_INPUT(eSchemeEditCalcValues);  // same name, linked elsewhere
    other->m_sName = L"R";
    auto* input = new SCHEME_INPUT(eSchemeEditCalcValues);
    input->m_sName = L"R";
    auto* func = new SCHEME_FUNC_ELEMENT(&f);
    for (SCHEME_BASE_ELEMENT* e : std::initializer_list<SCHEME_BASE_ELEMENT*>{other, input, func})
        scheme.m_mapElements[e->GetGuidString()] = SmartPointer<SCHEME_BASE_ELEMENT>(e);
    scheme.m_mapElements[L"hole"];
    GuidAndPort there;
    there.m_guidElem = func->m_guid;
    input->m_mapOutLinks[0].push_back(there);
    GuidAndPort back;
    back.m_guidElem = input->m_guid;
    func->m_mapInLinks[0] = back;
    other->m_mapOutLinks[0].push_back(there);

    DIST_ZNACH dist;
    dist.m_sName = L"R";
    EXPECT_EQ(dist.GetTypeMatch(&host), L"");  // the input is not linked to it yet
    input->SetConnected(&dist);
    EXPECT_EQ(dist.GetTypeMatch(&host), L"int16");
    dist.m_sName = L"r";
    EXPECT_EQ(dist.GetTypeMatch(&host), L"");

    // Its own type: the host's schemes are not asked.
    testutil::FakeArmHost bare;
    dist.m_bOwnType = true;
    dist.m_sOwnType = L"own";
    EXPECT_EQ(dist.GetTypeMatch(&bare), L"own");
    EXPECT_TRUE(bare.schemes.empty());
    EXPECT_EQ(dist.GetTypeMatch(nullptr), L"own");
}
