// The differential-currents page of quick analysis over its controls kept in memory: the
// channels it produces for the choices a user makes, the pairs for the differential diagram,
// how its controls follow the choices, and its state in the record's settings file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <string>

#include "TestUtil.h"
#include "analysis/CalcChannels.h"
#include "analysis/DiffCurrents.h"
#include "model/DocumentModel.h"
#include "model/SettingsStore.h"
#include "model/TenvorikException.h"
#include "platform/Encoding.h"

using namespace diffpage;

namespace {

const wchar_t* const kChannels[] = {L"Ia", L"Ib", L"Ic", L"Ia НН", L"Ib НН", L"Ic НН", L"Кв\"1"};

std::wstring Q(const std::wstring& name) { return L"\"" + name + L"\""; }

std::wstring Arm(const wchar_t* pattern, int n) {
    wchar_t buf[128];
    std::swprintf(buf, 128, pattern, n);
    return buf;
}

// The 24 arguments of a sum over `names`, the arms past them written "0".
std::wstring Lists(const std::vector<std::wstring>& names) {
    std::wstring s;
    for (size_t k = 0; k < 24; ++k) s += (k ? L", " : L"") + (k < names.size() ? names[k] : std::wstring(L"0"));
    return s;
}
std::wstring Sum(const std::vector<std::wstring>& names) { return L"Mod:(GrsSumCur: (" + Lists(names) + L"))"; }

// Every control of the page.
std::vector<int> PageControls() {
    std::vector<int> ids = {kArmCount,  kPhaseCount,  kArmSelector, kPrevArm,   kNextArm,      kArmGroup,
                            kIa,        kIb,          kIc,          kLabelIb,   kLabelIc,      kByCoeff,
                            kByCtRatio, kByPower,     kByRatedCurrent, kKpriv,  kKttRatio,     kKttBase,
                            kKttPower,  kSnom,        kUnom,        kKttRated,  kInom,         kCaptionByCoeff,
                            kCaptionByCtRatio, kCaptionByPower, kCaptionByRatedCurrent, kGroupNone, kGroupBySequence,
                            kGroupTriangle, kSequenceGroup, kSequenceGroupLabel, kTriangleGroup, kTriangleGroupLabel,
                            kRemoveI0,  kBrakeBySum,  kBrakeBySub,  kBrakeByMax, kBrakeCoeff,  kBrakeCoeffLabel,
                            kHolderCurrent, kHolderIb, kHolderIc,   kHolderK1,  kHolderK2,     kHolderK3,
                            kHolderGroup};
    for (int i = 0; i < kMaxArms; ++i) ids.push_back(kFirstArmHolder + i);
    return ids;
}

class DiffPage : public ::testing::Test {
protected:
    void SetUp() override {
        COscillogram& o = doc.GetOscillogram();
        o.m_samplingFrequency = 1000;
        o.m_netFrequency = 50.0;
        for (const wchar_t* name : kChannels) {
            CChannel& ch = o.m_channels.emplace_back(&doc);
            ch.m_name = name;
            ch.m_displayUnit = L"A";
            for (int i = 0; i < 60; ++i) ch.m_samples.push_back(std::sin(i * 0.314));
            ++o.m_analogCount;
        }
        o.RecalcAll(false);
        AddControls(controls);
        Open(page);
    }
    static void AddControls(ArgumentControlMap& c) {
        for (int id : PageControls()) c.Add(id);
        for (int id : {kKpriv, kKttRatio, kKttBase, kKttPower, kSnom, kUnom, kKttRated, kInom}) c.AddEdit(id);
    }
    // What the page base does when the page is first shown.
    void Open(DiffCurrentsModel& p) {
        p.m_filler = {&controls, true};
        FillArgumentControls(p.m_filler, &doc.GetOscillogram());
        p.LoadState(store.GetCategory(p.GetPageKey()));
    }
    // A user's choice in a list, with the page's handler.
    void Choose(int id, const wchar_t* text) {
        const std::vector<CString> entries = controls.GetChoices(id);
        const auto it = std::find(entries.begin(), entries.end(), CString(text));
        ASSERT_NE(it, entries.end()) << id;
        controls.SetChoices(id, entries, int(it - entries.begin()));
        switch (id) {
            case kArmCount: page.OnArmCountChosen(); break;
            case kPhaseCount: page.OnPhaseCountChosen(); break;
            case kArmSelector: page.OnArmChosen(); break;
            default: page.OnArmControlChanged(id); break;
        }
    }
    void Type(int id, const wchar_t* text) {
        controls.SetText(id, text);
        page.OnArmControlChanged(id);
    }
    void Tick(int id, bool on) {
        controls.SetCheck(id, on);
        page.OnArmControlChanged(id);
    }
    void Radio(int id) {
        static const std::vector<std::vector<int>> groups = {{kByCoeff, kByCtRatio, kByPower, kByRatedCurrent},
                                                             {kGroupNone, kGroupBySequence, kGroupTriangle},
                                                             {kBrakeBySum, kBrakeBySub, kBrakeByMax}};
        for (const std::vector<int>& group : groups) {
            if (std::find(group.begin(), group.end(), id) == group.end()) continue;
            for (int other : group) controls.SetCheck(other, other == id);
        }
        if (id >= kByCoeff && id <= kByRatedCurrent) page.OnScalingModeChosen();
        if (id >= kGroupNone && id <= kGroupTriangle) page.OnGroupModeChosen();
        if (id >= kBrakeBySum && id <= kBrakeByMax) page.OnBrakeModeChosen();
    }
    std::vector<std::wstring> Formulas() { return Texts(&CQAnPropPg::GetFormulas); }
    std::vector<std::wstring> Names() { return Texts(&CQAnPropPg::GetChannelNames); }
    std::vector<std::wstring> Texts(void (CQAnPropPg::*get)(std::vector<CString>&)) {
        std::vector<CString> v;
        (page.*get)(v);
        std::vector<std::wstring> out;
        for (const CString& s : v) out.push_back(s.str());
        return out;
    }

    DocumentModel doc;
    ArgumentControlMap controls;
    SettingsStore store;
    DiffCurrentsModel page{&doc.GetOscillogram()};
};

TEST_F(DiffPage, OnePhaseGivesEachArmsScaledCurrentThenDifferentialAndRestraint) {
    Choose(kPhaseCount, L"1");
    Radio(kByCoeff);
    Type(kKpriv, L"2,5");
    Choose(kArmSelector, L"2");
    Choose(kIa, L"Ia НН");
    Type(kKpriv, L"0.4");
    const std::wstring a1 = Arm(L"Ia плечо %d прив.", 1), a2 = Arm(L"Ia плечо %d прив.", 2);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{a1, a2, L"Ia диф.", L"Ia торм."}));
    EXPECT_EQ(Formulas(), (std::vector<std::wstring>{L"CoeffPriv: (Ia, 2.5)", L"CoeffPriv: (\"Ia НН\", 0.4)",
                                                     Sum({Q(a1), Q(a2)}), L"TormSumCur: (0.5, " + Lists({Q(a1), Q(a2)}) + L")"}));
    std::vector<QAnNamePair> pairs;
    page.GetDiffPairs(pairs);
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(pairs[0].first, CString(L"Ia торм."));
    EXPECT_EQ(pairs[0].second, CString(L"Ia диф."));
}

// Three phases: the scaled currents of every arm, the turned ones, then per phase the
// differential and the restraint currents; the formulas refer to the names in that order.
struct ThreePhaseCase {
    const char* what;
    int arms, scaling, group, brake;
    std::wstring firstScaled;   // the formula of arm 1's Ia
    std::wstring firstTurned;   // of arm 1's turned Ia ("" when nothing is turned)
    std::wstring lastTurned;    // of the last arm's turned Ic
    std::wstring brakeA;        // the restraint current of phase A
};

TEST_F(DiffPage, ThreePhasesInTheOrderOfScaledTurnedDifferentialAndRestraint) {
    auto names = [](const wchar_t* pattern, int arms) {
        std::vector<std::wstring> v;
        for (int n = 1; n <= arms; ++n) v.push_back(Q(Arm(pattern, n)));
        return v;
    };
    const std::wstring scaledA = L"Ia плечо %d прив.", turnedA = L"Ia плечо %d прив. пов.";
    const ThreePhaseCase cases[] = {
        {"by sequences, half the difference", 2, kByPower, kGroupBySequence, kBrakeBySub,
         L"CoeffPowerPriv: (Ia, 1., 1., 1.)",
         L"Mod:(GrsPoslIa: (\"Ia плечо 1 прив.\", \"Ib плечо 1 прив.\", \"Ic плечо 1 прив.\", 0, 1))",
         L"Mod:(GrsPoslIc: (\"Ia плечо 2 прив.\", \"Ib плечо 2 прив.\", \"Ic плечо 2 прив.\", 11, 0))",
         L"TormSubCur: (\"Ia плечо 1 прив. пов.\", \"Ia плечо 2 прив. пов.\", 0.5)"},
        {"digital delta, largest", 3, kByCtRatio, kGroupTriangle, kBrakeByMax, L"CoeffTT: (Ia, 1., 1.)",
         L"Mod:(GrsTriangleIa: (\"Ia плечо 1 прив.\", \"Ib плечо 1 прив.\", \"Ic плечо 1 прив.\", 1))",
         L"Mod:(GrsTriangleIc: (\"Ia плечо 3 прив.\", \"Ib плечо 3 прив.\", \"Ic плечо 3 прив.\", 0))",
         L"TormMaxCur: (" + Lists(names(turnedA.c_str(), 3)) + L")"},
        {"group not considered, half the sum", 2, kByRatedCurrent, kGroupNone, kBrakeBySum,
         L"CoeffAmpPriv: (Ia, 1., 1.)", L"", L"", L"TormSumCur: (0.5, " + Lists(names(scaledA.c_str(), 2)) + L")"},
    };
    for (const ThreePhaseCase& c : cases) {
        SCOPED_TRACE(c.what);
        Choose(kArmCount, std::to_wstring(c.arms).c_str());
        Radio(c.scaling);
        Radio(c.group);
        Radio(c.brake);
        // Arm 1 keeps the zero sequence and has group 1; the last arm has group 11.
        Choose(kArmSelector, L"1");
        Tick(kRemoveI0, false);
        Choose(kSequenceGroup, L"0");
        Choose(kTriangleGroup, L"1");
        Choose(kArmSelector, std::to_wstring(c.arms).c_str());
        Tick(kRemoveI0, true);
        Choose(kSequenceGroup, L"11");
        Choose(kTriangleGroup, L"0");

        const bool turned = !c.firstTurned.empty();
        std::vector<std::wstring> expectedNames;
        for (int n = 1; n <= c.arms; ++n)
            for (const wchar_t* p : {L"Ia плечо %d прив.", L"Ib плечо %d прив.", L"Ic плечо %d прив."}) expectedNames.push_back(Arm(p, n));
        if (turned)
            for (int n = 1; n <= c.arms; ++n)
                for (const wchar_t* p : {L"Ia плечо %d прив. пов.", L"Ib плечо %d прив. пов.", L"Ic плечо %d прив. пов."})
                    expectedNames.push_back(Arm(p, n));
        for (const wchar_t* n : {L"Ia диф.", L"Ib диф.", L"Ic диф.", L"Ia торм.", L"Ib торм.", L"Ic торм."}) expectedNames.push_back(n);
        EXPECT_EQ(Names(), expectedNames);

        const std::vector<std::wstring> f = Formulas();
        ASSERT_EQ(f.size(), expectedNames.size());
        const size_t scaled = size_t(3 * c.arms), turnedCount = turned ? scaled : 0;
        EXPECT_EQ(f[0], c.firstScaled);
        if (turned) {
            EXPECT_EQ(f[scaled], c.firstTurned);
            EXPECT_EQ(f[2 * scaled - 1], c.lastTurned);
        }
        const std::wstring pattern = turned ? turnedA : scaledA;
        EXPECT_EQ(f[scaled + turnedCount], Sum(names(pattern.c_str(), c.arms)));
        EXPECT_EQ(f[scaled + turnedCount + 3], c.brakeA);
        std::vector<QAnNamePair> pairs;
        page.GetDiffPairs(pairs);
        ASSERT_EQ(pairs.size(), 3u);
        EXPECT_EQ(pairs[2].first, CString(L"Ic торм."));
        EXPECT_EQ(pairs[2].second, CString(L"Ic диф."));
        // Composing leaves the arm's own box as the user left it.
        EXPECT_TRUE(controls.IsChecked(kRemoveI0));
    }
}

TEST_F(DiffPage, ANameTakenByTheRecordIsReferredToWithItsSuffix) {
    CalcChannels::Of(doc.GetOscillogram()).Append(L"IA ПЛЕЧО 2 ПРИВ.", L"Ia * 2");
    Choose(kPhaseCount, L"1");
    const std::vector<std::wstring> f = Formulas();
    ASSERT_EQ(f.size(), 4u);
    EXPECT_EQ(f[2], Sum({Q(L"Ia плечо 1 прив."), Q(L"Ia плечо 2 прив._2")}));
    // The names handed over are the plain ones; the sheet's run gives them the same suffix.
    EXPECT_EQ(Names()[1], L"Ia плечо 2 прив.");
}

TEST_F(DiffPage, ChannelNamesAreQuotedAndANameWithAQuoteIsRefused) {
    Choose(kPhaseCount, L"1");
    Radio(kByCoeff);
    Choose(kIa, L"Ia НН");
    EXPECT_EQ(Formulas()[0], L"CoeffPriv: (\"Ia НН\", 1.)");
    Choose(kIa, L"Кв\"1");
    try {
        Formulas();
        ADD_FAILURE() << "no error";
    } catch (CTenvorikException* e) {
        EXPECT_NE(e->GetErrorMessage().str().find(L"Кв\"1"), std::wstring::npos);
        e->Delete();
    }
}

TEST_F(DiffPage, HalfTheDifferenceNeedsTwoArms) {
    EXPECT_TRUE(controls.IsChecked(kBrakeBySum));
    EXPECT_TRUE(controls.IsControlEnabled(kBrakeBySub));
    Radio(kBrakeBySub);
    EXPECT_TRUE(controls.IsControlEnabled(kBrakeCoeff));
    Choose(kArmCount, L"3");
    EXPECT_TRUE(controls.IsChecked(kBrakeBySum));
    EXPECT_FALSE(controls.IsChecked(kBrakeBySub));
    EXPECT_FALSE(controls.IsControlEnabled(kBrakeBySub));
    EXPECT_TRUE(controls.IsControlEnabled(kBrakeCoeff));
    Radio(kBrakeByMax);
    EXPECT_FALSE(controls.IsControlEnabled(kBrakeCoeff));
    EXPECT_FALSE(controls.IsControlEnabled(kBrakeCoeffLabel));
    Choose(kArmCount, L"2");
    EXPECT_TRUE(controls.IsControlEnabled(kBrakeBySub));
    EXPECT_TRUE(controls.IsChecked(kBrakeByMax));
}

TEST_F(DiffPage, EachArmKeepsItsOwnChoices) {
    Choose(kArmCount, L"3");
    EXPECT_EQ(controls.GetText(kArmGroup), CString(L"Плечо 1"));
    EXPECT_FALSE(controls.IsControlEnabled(kPrevArm));
    EXPECT_TRUE(controls.IsControlEnabled(kNextArm));
    page.NextArm();
    Choose(kIb, L"Ib НН");
    Type(kSnom, L"40000");
    Tick(kRemoveI0, false);
    page.NextArm();
    page.NextArm();  // stops at the last
    EXPECT_EQ(controls.GetText(kArmSelector), CString(L"3"));
    EXPECT_EQ(controls.GetText(kArmGroup), CString(L"Плечо 3"));
    EXPECT_FALSE(controls.IsControlEnabled(kNextArm));
    page.PreviousArm();
    EXPECT_EQ(controls.GetText(kIb), CString(L"Ib НН"));
    EXPECT_EQ(controls.GetText(kSnom), CString(L"40000"));
    EXPECT_FALSE(controls.IsChecked(kRemoveI0));
    page.PreviousArm();
    page.PreviousArm();  // stops at the first
    EXPECT_EQ(controls.GetText(kIb), CString(L"Ib"));
    EXPECT_EQ(controls.GetText(kSnom), CString(L"1."));
    EXPECT_TRUE(controls.IsChecked(kRemoveI0));
    EXPECT_EQ(page.GetArm(1).texts[DiffCurrentsModel::Snom], CString(L"40000"));
    // An arm chosen by number shows the same.
    Choose(kArmSelector, L"2");
    EXPECT_EQ(controls.GetText(kIb), CString(L"Ib НН"));
    // Fewer arms: the arm on show stays when it is still there, else the first comes.
    Choose(kArmCount, L"2");
    EXPECT_EQ(controls.GetText(kArmSelector), CString(L"2"));
    EXPECT_EQ(controls.GetChoices(kArmSelector).size(), 2u);
}

TEST_F(DiffPage, ControlsFollowScalingAndConnectionGroup) {
    // As first shown: by power, group not considered, three phases.
    EXPECT_TRUE(controls.IsChecked(kByPower));
    for (int id : {kKttPower, kSnom, kUnom, kCaptionByPower}) EXPECT_TRUE(controls.IsControlEnabled(id)) << id;
    for (int id : {kKpriv, kKttRatio, kKttBase, kKttRated, kInom, kCaptionByCoeff}) EXPECT_FALSE(controls.IsControlEnabled(id)) << id;
    Radio(kByCtRatio);
    for (int id : {kKttRatio, kKttBase, kCaptionByCtRatio}) EXPECT_TRUE(controls.IsControlEnabled(id)) << id;
    EXPECT_FALSE(controls.IsControlEnabled(kSnom));

    EXPECT_TRUE(controls.IsChecked(kGroupNone));
    EXPECT_TRUE(controls.IsControlShown(kSequenceGroup));
    EXPECT_FALSE(controls.IsControlEnabled(kSequenceGroup));
    EXPECT_FALSE(controls.IsControlShown(kTriangleGroup));
    EXPECT_FALSE(controls.IsControlEnabled(kRemoveI0));
    Radio(kGroupBySequence);
    EXPECT_TRUE(controls.IsControlEnabled(kSequenceGroup));
    EXPECT_TRUE(controls.IsControlEnabled(kRemoveI0));
    Radio(kGroupTriangle);
    EXPECT_FALSE(controls.IsControlShown(kSequenceGroup));
    EXPECT_TRUE(controls.IsControlShown(kTriangleGroup));
    EXPECT_TRUE(controls.IsControlEnabled(kTriangleGroupLabel));
    EXPECT_FALSE(controls.IsControlEnabled(kRemoveI0));

    Choose(kPhaseCount, L"1");
    for (int id : {kIb, kIc, kLabelIb, kGroupNone, kGroupBySequence, kGroupTriangle, kSequenceGroup, kRemoveI0})
        EXPECT_FALSE(controls.IsControlEnabled(id)) << id;
    EXPECT_FALSE(controls.IsControlShown(kTriangleGroup));
    Choose(kPhaseCount, L"3");
    EXPECT_TRUE(controls.IsControlEnabled(kIb));
    EXPECT_TRUE(controls.IsControlShown(kTriangleGroup));
}

TEST_F(DiffPage, StateRoundTripsThroughTheSettingsFile) {
    Choose(kArmCount, L"3");
    Radio(kByCoeff);
    Radio(kGroupBySequence);
    Radio(kBrakeByMax);
    Choose(kBrakeCoeff, L"1");
    Choose(kArmSelector, L"2");
    Choose(kIa, L"Ia НН");
    Type(kKpriv, L"0,25");
    Type(kUnom, L"110");
    Choose(kSequenceGroup, L"11");
    Tick(kRemoveI0, false);
    Choose(kArmSelector, L"3");
    Choose(kIc, L"Ic НН");
    const std::vector<std::wstring> before = Formulas();

    page.SaveState(store.GetCategory(page.GetPageKey()));
    SettingsNode& saved = store.GetCategory(L"DiffCurrentsPage");
    EXPECT_EQ(saved.GetSubCategory(L"legOption").GetInt(L"byCastCoeffState", -1), 1);
    EXPECT_EQ(saved.GetSubCategory(L"legOption").GetInt(L"byPowerState", -1), 0);
    EXPECT_EQ(saved.GetSubCategory(L"groupConnOption").GetInt(L"bySequence", -1), 1);
    EXPECT_EQ(saved.GetSubCategory(L"brakeCurrOption").GetInt(L"byMaxState", -1), 1);
    EXPECT_EQ(saved.GetString(L"legCount", CString()), CString(L"3"));
    SettingsNode& leg1 = saved.GetSubCategory(L"Leg_1");
    EXPECT_EQ(leg1.GetString(L"IA", CString()), CString(L"Ia НН"));
    EXPECT_EQ(leg1.GetString(L"R0", CString()), CString(L"0,25"));
    EXPECT_EQ(leg1.GetString(L"X0", CString()), CString(L"110"));
    EXPECT_EQ(leg1.GetString(L"seqGroup", CString()), CString(L"11"));
    EXPECT_EQ(leg1.GetInt(L"I0State", -1), 0);
    EXPECT_EQ(saved.GetSubCategory(L"Leg_0").GetInt(L"I0State", -1), 1);

    testutil::TempDir dir;
    const CString path(platform::Utf8ToWide(dir.File("rec.set")));
    ASSERT_TRUE(store.Save(path));
    SettingsStore reread;
    ASSERT_TRUE(reread.Load(path));
    store = reread;
    ArgumentControlMap fresh;
    AddControls(fresh);
    controls = fresh;
    DiffCurrentsModel again(&doc.GetOscillogram());
    Open(again);
    EXPECT_EQ(controls.GetText(kArmCount), CString(L"3"));
    EXPECT_TRUE(controls.IsChecked(kBrakeByMax));
    EXPECT_EQ(controls.GetText(kBrakeCoeff), CString(L"1"));
    EXPECT_EQ(again.GetArm(1).texts[DiffCurrentsModel::Kpriv], CString(L"0,25"));
    EXPECT_FALSE(again.GetArm(1).removeI0);
    EXPECT_EQ(again.GetArm(2).texts[DiffCurrentsModel::Ic], CString(L"Ic НН"));
    std::vector<CString> formulas;
    again.GetFormulas(formulas);
    ASSERT_EQ(formulas.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(formulas[i].str(), before[i]) << i;
}

TEST_F(DiffPage, NoStoredStateStartsFromTheDefaults) {
    EXPECT_EQ(controls.GetText(kArmCount), CString(L"2"));
    EXPECT_EQ(controls.GetText(kPhaseCount), CString(L"3"));
    EXPECT_EQ(controls.GetText(kArmSelector), CString(L"1"));
    EXPECT_EQ(controls.GetText(kBrakeCoeff), CString(L"0.5"));
    for (int i = 0; i < kMaxArms; ++i) {
        EXPECT_TRUE(page.GetArm(i).removeI0);
        EXPECT_EQ(page.GetArm(i).texts[DiffCurrentsModel::Ia], CString(L"Ia"));
        EXPECT_EQ(page.GetArm(i).texts[DiffCurrentsModel::Kpriv], CString(L"1."));
    }
}

}  // namespace
