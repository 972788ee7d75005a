// The interphase-impedance, zero-sequence and phase-impedance pages of quick analysis without
// their windows: the channels each makes for representative choices (names in order and the
// formulas composed), the names its formulas give the channels it makes on the way, the OK
// rules and the controls each choice greys, and the page's choices in its settings category.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/CalcChannels.h"
#include "analysis/MezphaseSoedPage.h"
#include "analysis/NullPoslPage.h"
#include "analysis/PhaseSoprotPage.h"
#include "model/DocumentModel.h"
#include "model/Resources.h"
#include "model/SettingsStore.h"
#include "model/TenvorikException.h"

namespace {

using Texts = std::vector<std::wstring>;

const std::vector<int> kInterphaseControls = {1007, 1008, 1009, 2046, 2050, 2051, 1043, 1044, 1045, 1010, 1011, 2042,
                                              2054, 2057, 2058, 2059, 2070, 2071};
const std::vector<int> kNullControls = {2156, 2047, 2049, 1007, 1008, 1009, 2072, 2157, 2063, 2064, 2065, 1043, 1044,
                                        1045, 1067, 2074, 1062, 2053, 2054, 2055, 2057, 2058, 2059, 2073, 2075, 2076, 2077};
const std::vector<int> kPhaseControls = {1007, 1008, 1009, 2042, 2123, 2124, 1052, 1053, 1050, 1051, 2121, 2122,
                                         2043, 2044, 2045, 2125, 2126, 1043, 1044, 1045};

// A page over controls kept in memory, on a record with the given analog channels, filled and
// restored as the sheet fills and restores it.
template <class Page>
struct Bench {
    Bench(const std::vector<std::wstring>& channels, const std::vector<int>& controls, SettingsNode* state = nullptr) {
        COscillogram& o = doc.GetOscillogram();
        o.m_samplingFrequency = 1000;
        o.m_netFrequency = 50.0;
        for (const std::wstring& name : channels) {
            CChannel& ch = o.m_channels.emplace_back(&doc);
            ch.m_name = name.c_str();
            ch.m_samples.assign(40, 0.0);
            ++o.m_analogCount;
        }
        for (int id : controls) page.Add(id);
        logic.m_filler = {&page, true};
        logic.m_record = &o;
        logic.m_enableOk = [this](bool enable) {
            ok = enable;
            ++okCalls;
        };
        FillArgumentControls(logic.m_filler, &o);
        SettingsNode empty;
        logic.LoadState(state ? *state : empty);
    }
    // Chooses `entry` in list `id` (which must offer it), as the user would.
    void Choose(int id, const std::wstring& entry) {
        const std::vector<CString> entries = page.GetChoices(id);
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i] == entry.c_str()) {
                page.SetChoices(id, entries, int(i));
                logic.OnControlChanged(id);
                return;
            }
        ADD_FAILURE() << "no entry for list " << id;
    }
    void Type(int id, const std::wstring& text) {
        page.SetText(id, text.c_str());
        logic.OnControlChanged(id);
    }
    void Click(int id, bool checked = true) {
        page.SetCheck(id, checked);
        logic.OnControlChanged(id);
    }
    void Radio(int id, std::initializer_list<int> group) {
        for (int other : group) page.SetCheck(other, other == id);
        logic.OnControlChanged(id);
    }
    Texts Formulas() {
        std::vector<CString> v;
        logic.GetFormulas(v);
        Texts t;
        for (const CString& s : v) t.push_back(s.str());
        return t;
    }
    Texts Names() {
        std::vector<CString> v;
        logic.GetChannelNames(v);
        Texts t;
        for (const CString& s : v) t.push_back(s.str());
        return t;
    }

    DocumentModel doc;
    ArgumentControlMap page;
    Page logic;
    bool ok = false;
    int okCalls = 0;
};

const std::vector<std::wstring> kPhaseRecord = {L"Ia", L"Ib", L"Ic", L"Ua", L"Ub", L"Uc"};
const std::vector<std::wstring> kLineRecord = {L"Ia", L"Ib", L"Ic", L"Uab", L"Ubc"};

// ---- interphase impedances ------------------------------------------------------------------

TEST(InterphasePage, PhaseVoltagesWithoutComputedIbMakeSixChannels) {
    Bench<MezphaseSoedPage> b(kPhaseRecord, kInterphaseControls);
    EXPECT_EQ(b.logic.GetPageKey(), CString(L"InterPhaseResistPage"));
    EXPECT_TRUE(b.page.IsChecked(2050));
    EXPECT_FALSE(b.page.IsChecked(2051));
    EXPECT_TRUE(b.ok);
    EXPECT_EQ(b.Names(), (Texts{L"Uab", L"Ubc", L"Uca", L"Zab", L"Zbc", L"Zca"}));
    EXPECT_EQ(b.Formulas(), (Texts{L"Ulf: (Ua, Ub)", L"Ulf: (Ub, Uc)", L"Ulf: (Uc, Ua)",
                                   L"Mod:(Zl: (Uab, Ia, Ib, 0.25))", L"Mod:(Zl: (Ubc, Ib, Ic, 0.25))",
                                   L"Mod:(Zl: (Uca, Ic, Ia, 0.25))"}));
    QAnNameSet circle;
    b.logic.GetCircleDiagramItems(circle);
    EXPECT_EQ(circle, (QAnNameSet{L"Zab", L"Zbc", L"Zca"}));
    const QAnDiagramOptions options = b.logic.GetDiagramOptions();
    EXPECT_TRUE(options.circleView2);
    EXPECT_FALSE(options.circleView1 || options.showAngles || options.listsEdited);
    EXPECT_TRUE(options.angleChannel.IsEmpty());
    QAnNameSet vector{L"x"};
    b.logic.GetVectorDiagramItems(vector);
    EXPECT_TRUE(vector.empty());
}

TEST(InterphasePage, LineVoltagesWithComputedIbMakeFiveChannels) {
    Bench<MezphaseSoedPage> b(kLineRecord, kInterphaseControls);
    EXPECT_FALSE(b.ok);  // phase voltages chosen, and the record has none
    b.Radio(2051, {2050, 2051});
    EXPECT_TRUE(b.ok);
    b.Click(2046);
    EXPECT_EQ(b.Names(), (Texts{L"Ib", L"Uca", L"Zab", L"Zbc", L"Zca"}));
    // The record's own Ib is taken, so the computed one is Ib_2 and named so by the impedances.
    EXPECT_EQ(b.Formulas(), (Texts{L"Ib: (Ia, Ic, 0)", L"Ull: (Uab, Ubc)", L"Mod:(Zl: (Uab, Ia, \"Ib_2\", 0.25))",
                                   L"Mod:(Zl: (Ubc, \"Ib_2\", Ic, 0.25))", L"Mod:(Zl: (Uca, Ic, Ia, 0.25))"}));
    QAnNameSet circle{L"x"};
    b.logic.GetCircleDiagramItems(circle);
    EXPECT_TRUE(circle.empty());

    b.Click(2046, false);
    EXPECT_EQ(b.Formulas(), (Texts{L"Ull: (Uab, Ubc)", L"Mod:(Zl: (Uab, Ia, Ib, 0.25))",
                                   L"Mod:(Zl: (Ubc, Ib, Ic, 0.25))", L"Mod:(Zl: (Uca, Ic, Ia, 0.25))"}));
}

TEST(InterphasePage, PhaseVoltagesWithComputedIb) {
    Bench<MezphaseSoedPage> b({L"Ia", L"Ic", L"Ua", L"Ub", L"Uc"}, kInterphaseControls);
    EXPECT_FALSE(b.ok);  // no Ib in the record
    b.Click(2046);
    EXPECT_TRUE(b.ok);
    EXPECT_EQ(b.Names(), (Texts{L"Ib", L"Uab", L"Ubc", L"Uca", L"Zab", L"Zbc", L"Zca"}));
    EXPECT_EQ(b.Formulas(), (Texts{L"Ib: (Ia, Ic, 0)", L"Ulf: (Ua, Ub)", L"Ulf: (Ub, Uc)", L"Ulf: (Uc, Ua)",
                                   L"Mod:(Zl: (Uab, Ia, Ib, 0.25))", L"Mod:(Zl: (Ubc, Ib, Ic, 0.25))",
                                   L"Mod:(Zl: (Uca, Ic, Ia, 0.25))"}));
}

// The voltage holders are number fields to the composition; the names the page puts in them
// still reach the formulas as channel names.
TEST(InterphasePage, TakenVoltageNamesAndOddChannelNamesAreQuoted) {
    Bench<MezphaseSoedPage> b({L"Фаза A", L"I b", L"Ic", L"Ua", L"Ub", L"U\"c", L"Uc", L"uab", L"Ubc", L"Ubc_2",
                               L"Uca"},
                              kInterphaseControls);
    b.Choose(1007, L"Фаза A");
    b.Choose(1008, L"I b");
    b.Type(2042, L"0,5");
    EXPECT_TRUE(b.ok);
    EXPECT_EQ(b.Formulas(), (Texts{L"Ulf: (Ua, Ub)", L"Ulf: (Ub, Uc)", L"Ulf: (Uc, Ua)",
                                   L"Mod:(Zl: (\"Uab_2\", \"Фаза A\", \"I b\", 0.5))",
                                   L"Mod:(Zl: (\"Ubc_3\", \"I b\", Ic, 0.5))",
                                   L"Mod:(Zl: (\"Uca_2\", Ic, \"Фаза A\", 0.5))"}));
    EXPECT_EQ(b.logic.GetHolderText(2090), CString(L"\"Uab_2\""));

    // A name with a quote cannot be written in a formula: the page says so instead of
    // composing one that reads differently.
    b.Choose(1045, L"U\"c");
    try {
        b.Formulas();
        ADD_FAILURE() << "no error";
    } catch (CTenvorikException* e) {
        EXPECT_NE(e->GetErrorMessage().str().find(L"U\"c"), std::wstring::npos);
        e->Delete();
    }
}

TEST(InterphasePage, OkRules) {
    Bench<MezphaseSoedPage> b(kPhaseRecord, kInterphaseControls);
    ASSERT_TRUE(b.ok);
    b.Type(2042, L"");
    EXPECT_FALSE(b.ok);
    b.Type(2042, L"1");
    EXPECT_TRUE(b.ok);

    // A record without Ia: its list says the channel is missing.
    Bench<MezphaseSoedPage> noIa({L"Ib", L"Ic", L"Ua", L"Ub", L"Uc"}, kInterphaseControls);
    EXPECT_EQ(noIa.page.GetText(1007), LoadResString(191));
    EXPECT_FALSE(noIa.ok);

    // Line voltages need Uab and Ubc, phase voltages do not.
    Bench<MezphaseSoedPage> phaseOnly(kPhaseRecord, kInterphaseControls);
    phaseOnly.Radio(2051, {2050, 2051});
    EXPECT_FALSE(phaseOnly.ok);
    phaseOnly.Radio(2050, {2050, 2051});
    EXPECT_TRUE(phaseOnly.ok);
}

TEST(InterphasePage, ChoicesGreyWhatTheyMakeUnused) {
    Bench<MezphaseSoedPage> b(kPhaseRecord, kInterphaseControls);
    EXPECT_TRUE(b.page.IsControlEnabled(1043));
    EXPECT_FALSE(b.page.IsControlEnabled(1010));
    EXPECT_FALSE(b.page.IsControlEnabled(2071));
    b.Radio(2051, {2050, 2051});
    for (int id : {1043, 1044, 1045, 2057, 2058, 2059}) EXPECT_FALSE(b.page.IsControlEnabled(id)) << id;
    for (int id : {1010, 1011, 2070, 2071}) EXPECT_TRUE(b.page.IsControlEnabled(id)) << id;
    b.Click(2046);
    EXPECT_FALSE(b.page.IsControlEnabled(1008));
    EXPECT_FALSE(b.page.IsControlEnabled(2054));
    b.Click(2046, false);
    EXPECT_TRUE(b.page.IsControlEnabled(1008));
}

TEST(InterphasePage, ChoicesRoundTripThroughTheSettingsCategory) {
    SettingsNode state;
    {
        Bench<MezphaseSoedPage> b({L"Ia", L"Ib", L"Ic", L"I2", L"Uab", L"Ubc", L"U2"}, kInterphaseControls);
        b.Radio(2051, {2050, 2051});
        b.Click(2046);
        b.Choose(1009, L"I2");
        b.Choose(1011, L"U2");
        b.Type(2042, L"0,4");
        b.logic.SaveState(state);
    }
    EXPECT_EQ(state.GetString(L"itr", CString()), CString(L"0,4"));
    EXPECT_EQ(state.GetInt(L"lineVoltState", -1), 1);
    EXPECT_EQ(state.GetInt(L"phaseVoltState", -1), 0);
    EXPECT_EQ(state.GetInt(L"calcIBState", -1), 1);
    EXPECT_EQ(state.GetSubCategory(L"IC").GetString(L"channelName", CString()), CString(L"I2"));

    Bench<MezphaseSoedPage> again({L"Ia", L"Ib", L"Ic", L"I2", L"Uab", L"Ubc", L"U2"}, kInterphaseControls, &state);
    EXPECT_TRUE(again.page.IsChecked(2051));
    EXPECT_FALSE(again.page.IsChecked(2050));
    EXPECT_TRUE(again.page.IsChecked(2046));
    EXPECT_FALSE(again.page.IsControlEnabled(1008));
    EXPECT_FALSE(again.page.IsControlEnabled(1043));
    EXPECT_EQ(again.page.GetText(1009), CString(L"I2"));
    EXPECT_EQ(again.page.GetText(1011), CString(L"U2"));
    EXPECT_EQ(again.page.GetText(2042), CString(L"0,4"));
    EXPECT_TRUE(again.ok);
    EXPECT_EQ(again.Formulas()[1], L"Ull: (Uab, U2)");
}

// ---- zero sequence --------------------------------------------------------------------------

TEST(ZeroSequencePage, ComputedCurrentAndVoltageMakeThePowerToo) {
    Bench<NullPoslPage> b(kPhaseRecord, kNullControls);
    EXPECT_EQ(b.logic.GetPageKey(), CString(L"NullSequencePage"));
    EXPECT_TRUE(b.page.IsChecked(2047));
    EXPECT_TRUE(b.page.IsChecked(2063));
    EXPECT_TRUE(b.ok);
    EXPECT_EQ(b.Names(), (Texts{L"3I0", L"3U0", L"S0"}));
    EXPECT_EQ(b.Formulas(), (Texts{L"3I0: (Ia, Ib, Ic)", L"3U0: (Ua, Ub, Uc)", L"Mod:(Pf: (\"3I0\", \"3U0\"))[VA]"}));
    QAnNameSet vector, circle;
    b.logic.GetVectorDiagramItems(vector);
    b.logic.GetCircleDiagramItems(circle);
    EXPECT_EQ(vector, (QAnNameSet{L"3I0", L"3U0"}));
    EXPECT_EQ(circle, (QAnNameSet{L"S0"}));
    const QAnDiagramOptions options = b.logic.GetDiagramOptions();
    EXPECT_EQ(options.angleChannel, CString(L"3U0"));
    EXPECT_TRUE(options.showAngles);
    EXPECT_TRUE(options.circleView1);
    EXPECT_FALSE(options.circleView2 || options.listsEdited);
}

TEST(ZeroSequencePage, MeasuredCurrentAndOpenDeltaVoltage) {
    Bench<NullPoslPage> b({L"Ia", L"Ib", L"Ic", L"3I0", L"3U0", L"Uни", L"U ик"}, kNullControls);
    b.Radio(2049, {2047, 2049});
    b.Radio(2064, {2063, 2064, 2065});
    b.Choose(1067, L"Uни");
    b.Choose(2074, L"U ик");
    EXPECT_TRUE(b.ok);
    EXPECT_EQ(b.Names(), (Texts{L"3I0", L"3U0", L"S0"}));
    // The power is of the two new channels, named as they will be beside the record's own.
    EXPECT_EQ(b.Formulas(), (Texts{L"Chan: (\"3I0\")", L"Uniik: (Uни, \"U ик\")",
                                   L"Mod:(Pf: (\"3I0_2\", \"3U0_2\"))[VA]"}));
    b.Radio(2065, {2063, 2064, 2065});
    EXPECT_EQ(b.Formulas()[1], L"Chan: (\"3U0\")");
}

TEST(ZeroSequencePage, OneQuantitySwitchedOff) {
    Bench<NullPoslPage> b(kPhaseRecord, kNullControls);
    b.Click(2157);
    EXPECT_EQ(b.Names(), (Texts{L"3I0"}));
    EXPECT_EQ(b.Formulas(), (Texts{L"3I0: (Ia, Ib, Ic)"}));
    QAnNameSet vector, circle;
    b.logic.GetVectorDiagramItems(vector);
    b.logic.GetCircleDiagramItems(circle);
    EXPECT_EQ(vector, (QAnNameSet{L"3I0"}));
    EXPECT_TRUE(circle.empty());
    QAnDiagramOptions options = b.logic.GetDiagramOptions();
    EXPECT_TRUE(options.angleChannel.IsEmpty());
    EXPECT_TRUE(options.showAngles);
    EXPECT_FALSE(options.circleView1);
    // The other quantity cannot be switched off as well.
    EXPECT_FALSE(b.page.IsControlEnabled(2156));
    for (int id : {2063, 2064, 2065, 1043, 1067, 2074, 1062, 2057, 2075, 2077}) EXPECT_FALSE(b.page.IsControlEnabled(id));
    EXPECT_TRUE(b.ok);

    b.Click(2157, false);
    EXPECT_TRUE(b.page.IsControlEnabled(2156));
    EXPECT_TRUE(b.page.IsControlEnabled(1043));
    EXPECT_FALSE(b.page.IsControlEnabled(1062));
    b.Click(2156);
    EXPECT_FALSE(b.page.IsControlEnabled(2157));
    EXPECT_FALSE(b.page.IsControlEnabled(1007));
    EXPECT_EQ(b.Names(), (Texts{L"3U0"}));
    options = b.logic.GetDiagramOptions();
    EXPECT_EQ(options.angleChannel, CString(L"3U0"));
    EXPECT_FALSE(options.circleView1);
}

TEST(ZeroSequencePage, OkNeedsBothQuantitiesComputable) {
    // Phase voltages present, phase currents missing: a good voltage does not make up for it.
    Bench<NullPoslPage> b({L"Ia", L"Ua", L"Ub", L"Uc", L"3I0"}, kNullControls);
    EXPECT_FALSE(b.ok);
    b.Radio(2049, {2047, 2049});
    EXPECT_TRUE(b.ok);
    // A measured voltage needs its channel; the record has none.
    b.Radio(2065, {2063, 2064, 2065});
    EXPECT_FALSE(b.ok);
    b.Click(2157);
    EXPECT_TRUE(b.ok);
    // The open-delta windings need both lists chosen.
    Bench<NullPoslPage> delta({L"Ia", L"Ib", L"Ic"}, kNullControls);
    delta.Radio(2064, {2063, 2064, 2065});
    EXPECT_TRUE(delta.ok);  // the lists offer the record's channels
    Bench<NullPoslPage> empty(std::vector<std::wstring>{}, kNullControls);
    empty.Radio(2064, {2063, 2064, 2065});
    EXPECT_FALSE(empty.ok);
}

TEST(ZeroSequencePage, ChoicesRoundTripThroughTheSettingsCategory) {
    SettingsNode state;
    {
        Bench<NullPoslPage> b({L"Ia", L"Ib", L"Ic", L"In", L"Uни", L"Uик"}, kNullControls);
        b.Radio(2049, {2047, 2049});
        b.Choose(2072, L"In");
        b.Radio(2064, {2063, 2064, 2065});
        b.Choose(1067, L"Uни");
        b.Choose(2074, L"Uик");
        b.logic.SaveState(state);
    }
    EXPECT_EQ(state.GetInt(L"measuredCurrState", -1), 1);
    EXPECT_EQ(state.GetInt(L"calcCurrState", -1), 0);
    EXPECT_EQ(state.GetInt(L"calcUniUicState", -1), 1);
    EXPECT_EQ(state.GetInt(L"currOffState", -1), 0);
    EXPECT_EQ(state.GetSubCategory(L"3I0_0").GetString(L"channelName", CString()), CString(L"In"));
    EXPECT_EQ(state.GetSubCategory(L"UIK").GetString(L"channelName", CString()), CString(L"Uик"));

    Bench<NullPoslPage> again({L"Ia", L"Ib", L"Ic", L"In", L"Uни", L"Uик"}, kNullControls, &state);
    EXPECT_TRUE(again.page.IsChecked(2049));
    EXPECT_FALSE(again.page.IsChecked(2047));
    EXPECT_TRUE(again.page.IsChecked(2064));
    EXPECT_FALSE(again.page.IsControlEnabled(1007));
    EXPECT_TRUE(again.page.IsControlEnabled(2072));
    EXPECT_TRUE(again.page.IsControlEnabled(1067));
    EXPECT_FALSE(again.page.IsControlEnabled(1043));
    EXPECT_EQ(again.Formulas(), (Texts{L"Chan: (In)", L"Uniik: (Uни, Uик)", L"Mod:(Pf: (\"3I0\", \"3U0\"))[VA]"}));

    // A category that switches both off keeps the current's choice only.
    SettingsNode both;
    both.SetInt(L"currOffState", 1);
    both.SetInt(L"voltOffState", 1);
    Bench<NullPoslPage> off(kPhaseRecord, kNullControls, &both);
    EXPECT_TRUE(off.page.IsChecked(2156));
    EXPECT_FALSE(off.page.IsChecked(2157));
    EXPECT_TRUE(off.page.IsControlEnabled(2156));
    EXPECT_EQ(off.Names(), (Texts{L"3U0"}));
}

// ---- phase impedances -----------------------------------------------------------------------

TEST(PhaseImpedancePage, SpecificParametersWithoutParallelLine) {
    Bench<PhaseSoprotPage> b(kPhaseRecord, kPhaseControls);
    EXPECT_EQ(b.logic.GetPageKey(), CString(L"PhaseResistPage"));
    EXPECT_TRUE(b.page.IsChecked(2123));
    EXPECT_EQ(b.page.GetText(2043), LoadResString(3299));
    EXPECT_TRUE(b.ok);
    b.Type(1052, L"0,3");
    EXPECT_EQ(b.Names(), (Texts{L"3I0", L"Za", L"Zb", L"Zc"}));
    EXPECT_EQ(b.Formulas(),
              (Texts{L"3I0: (Ia, Ib, Ic)", L"Mod:(Zf: (Ua, Ia, \"3I0\", 0, 0.3, 1., 0., 1., 1., 0., 0.25))",
                     L"Mod:(Zf: (Ub, Ib, \"3I0\", 0, 0.3, 1., 0., 1., 1., 0., 0.25))",
                     L"Mod:(Zf: (Uc, Ic, \"3I0\", 0, 0.3, 1., 0., 1., 1., 0., 0.25))"}));
    QAnNameSet circle;
    b.logic.GetCircleDiagramItems(circle);
    EXPECT_EQ(circle, (QAnNameSet{L"Za", L"Zb", L"Zc"}));
    EXPECT_TRUE(b.logic.GetDiagramOptions().circleView2);
    // Without a parallel line its parameters are not asked for.
    for (int id : {2044, 2045, 2125, 2126, 2121, 2122}) EXPECT_FALSE(b.page.IsControlEnabled(id)) << id;
    b.Type(2044, L"");
    EXPECT_TRUE(b.ok);
}

TEST(PhaseImpedancePage, CoefficientsWithParallelLine) {
    Bench<PhaseSoprotPage> b({L"Ia", L"Ib", L"Ic", L"Ua", L"Ub", L"Uc", L"3I0", L"3I0n"}, kPhaseControls);
    EXPECT_EQ(b.page.GetText(2043), CString(L"3I0n"));  // its default channel
    b.Radio(2124, {2123, 2124});
    for (int id : {2121, 2122, 2125, 2126}) EXPECT_TRUE(b.page.IsControlEnabled(id)) << id;
    for (int id : {1052, 1053, 1050, 1051, 2044, 2045}) EXPECT_FALSE(b.page.IsControlEnabled(id)) << id;
    b.Type(2121, L"0.8");
    b.Type(2122, L"-5");
    EXPECT_EQ(b.Names(), (Texts{L"3I0", L"Za", L"Zb", L"Zc"}));
    // The record's own 3I0 is taken: the impedances name the new one.
    EXPECT_EQ(b.Formulas(),
              (Texts{L"3I0: (Ia, Ib, Ic)", L"Mod:(Zk: (Ua, Ia, \"3I0_2\", \"3I0n\", 0.8, 0., -5, 0., 0.25))",
                     L"Mod:(Zk: (Ub, Ib, \"3I0_2\", \"3I0n\", 0.8, 0., -5, 0., 0.25))",
                     L"Mod:(Zk: (Uc, Ic, \"3I0_2\", \"3I0n\", 0.8, 0., -5, 0., 0.25))"}));
}

TEST(PhaseImpedancePage, OkRules) {
    Bench<PhaseSoprotPage> b({L"Ia", L"Ib", L"Ic", L"Ua", L"Ub", L"Uc", L"3I0n"}, kPhaseControls);
    ASSERT_TRUE(b.ok);
    const std::vector<std::pair<int, bool>> specific = {
        {2042, false}, {1052, false}, {1053, false}, {1050, false}, {1051, false}, {2044, false}, {2045, false},
        {2121, true},  {2122, true},  {2125, true},  {2126, true},
    };
    for (const auto& [id, stillOk] : specific) {
        const CString kept = b.page.GetText(id);
        b.Type(id, L"");
        EXPECT_EQ(b.ok, stillOk) << "specific, empty " << id;
        b.Type(id, kept.str());
        EXPECT_TRUE(b.ok);
    }
    b.Radio(2124, {2123, 2124});
    const std::vector<std::pair<int, bool>> coefficients = {
        {2042, false}, {2121, false}, {2122, false}, {2125, false}, {2126, false}, {1052, true}, {2044, true},
    };
    for (const auto& [id, stillOk] : coefficients) {
        const CString kept = b.page.GetText(id);
        b.Type(id, L"");
        EXPECT_EQ(b.ok, stillOk) << "coefficients, empty " << id;
        b.Type(id, kept.str());
    }
    // "Не учитывать": the parallel line's coefficients are not needed.
    b.Choose(2043, LoadResString(3299).str());
    b.Type(2125, L"");
    EXPECT_TRUE(b.ok);
    EXPECT_FALSE(b.page.IsControlEnabled(2125));

    Bench<PhaseSoprotPage> noUc({L"Ia", L"Ib", L"Ic", L"Ua", L"Ub"}, kPhaseControls);
    EXPECT_FALSE(noUc.ok);
}

TEST(PhaseImpedancePage, ChoicesRoundTripThroughTheSettingsCategory) {
    SettingsNode state;
    const std::vector<std::wstring> record = {L"Ia", L"Ib", L"Ic", L"Ua", L"Ub", L"Uc", L"Ipar"};
    {
        Bench<PhaseSoprotPage> b(record, kPhaseControls);
        b.Radio(2124, {2123, 2124});
        b.Choose(2043, L"Ipar");
        b.Type(2121, L"0,7");
        b.Type(2126, L"12");
        b.Type(2042, L"0.1");
        b.logic.SaveState(state);
    }
    EXPECT_EQ(state.GetInt(L"compensateState", -1), 1);
    EXPECT_EQ(state.GetInt(L"specificState", -1), 0);
    EXPECT_EQ(state.GetString(L"K0", CString()), CString(L"0,7"));
    EXPECT_EQ(state.GetString(L"FM", CString()), CString(L"12"));
    EXPECT_EQ(state.GetString(L"ITR", CString()), CString(L"0.1"));
    EXPECT_EQ(state.GetSubCategory(L"3I0n").GetString(L"channelName", CString()), CString(L"Ipar"));

    Bench<PhaseSoprotPage> again(record, kPhaseControls, &state);
    EXPECT_TRUE(again.page.IsChecked(2124));
    EXPECT_FALSE(again.page.IsChecked(2123));
    EXPECT_TRUE(again.page.IsControlEnabled(2125));
    EXPECT_FALSE(again.page.IsControlEnabled(1052));
    EXPECT_EQ(again.Formulas()[1], L"Mod:(Zk: (Ua, Ia, \"3I0\", Ipar, 0.7, 0., 0., 12, 0.1))");
}

}  // namespace
