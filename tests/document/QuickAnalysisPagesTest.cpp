// The differential-currents and symmetrical-components pages confirmed on records with known
// answers: a two-winding transformer seen through a through fault and an internal one, and an
// unbalanced three-phase set whose sequence components are given.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <functional>

#include "Fixtures.h"
#include "TestUtil.h"
#include "analysis/CalcChannels.h"
#include "analysis/DiffCurrents.h"
#include "analysis/SymmetricItems.h"
#include "document/TenvorikDoc.h"
#include "model/SettingsStore.h"
#include "platform/Encoding.h"

namespace {

using C = std::complex<double>;
const C kA = std::polar(1.0, 2 * M_PI / 3), kA2 = std::conj(kA);
constexpr int kSamples = 400;

struct Signal {
    const char* name;
    const char* unit;
    std::function<C(int sample)> phasor;
};

// A COMTRADE record at 1 kHz and 50 Hz whose channels are the sines of the phasors given.
std::string WriteRecord(const testutil::TempDir& dir, const std::vector<Signal>& signals) {
    std::string cfg = "S,T1,1999\r\n" + std::to_string(signals.size()) + "," + std::to_string(signals.size()) + "A,0D\r\n";
    for (size_t k = 0; k < signals.size(); ++k)
        cfg += std::to_string(k + 1) + "," + signals[k].name + ",,," + signals[k].unit + ",0.001,0,0,-99998,99998,1,1,P\r\n";
    cfg += "50\r\n1\r\n1000," + std::to_string(kSamples) +
           "\r\n01/01/2024,10:00:00.000000\r\n01/01/2024,10:00:00.100000\r\nASCII\r\n1\r\n";
    std::string dat;
    for (int i = 0; i < kSamples; ++i) {
        dat += std::to_string(i + 1) + "," + std::to_string(i * 1000);
        const C turn = std::polar(1.0, 2 * M_PI * 50 * i / 1000.0);
        for (const Signal& s : signals) dat += "," + std::to_string(std::lround((s.phasor(i) * turn).real() * 1000));
        dat += "\r\n";
    }
    testutil::WriteFile(dir.File("rec.cfg"), cfg);
    testutil::WriteFile(dir.File("rec.dat"), dat);
    return dir.File("rec.cfg");
}

// Phase currents of sequence components.
C Phase(int p, C i1, C i2, C i0) {
    if (p == 0) return i1 + i2 + i0;
    if (p == 1) return kA2 * i1 + kA * i2 + i0;
    return kA * i1 + kA2 * i2 + i0;
}

class PagesOnRecord : public ::testing::Test {
protected:
    void Open(const std::vector<Signal>& signals) {
        ASSERT_TRUE(doc.OnOpenDocument(CString(platform::Utf8ToWide(WriteRecord(dir, signals)))));
    }
    const CChannel* Find(const std::wstring& name) {
        for (const CChannel& ch : doc.GetOscillogram().m_channels)
            if (ch.m_name.str() == name) return &ch;
        return nullptr;
    }
    double Value(const std::wstring& name, int sample) {
        const CChannel* ch = Find(name);
        EXPECT_TRUE(ch) << platform::WideToUtf8(name);
        return ch ? ch->GetValue(uint32_t(sample)) : NAN;
    }
    // What the record's phasors make of a magnitude of 1 at `sample`.
    double Unit(int sample) { return std::abs(Find(L"Ref")->GetStoredHarmonic(uint32_t(sample))); }
    void Choose(int id, const wchar_t* text) {
        const std::vector<CString> entries = controls.GetChoices(id);
        const auto it = std::find(entries.begin(), entries.end(), CString(text));
        ASSERT_NE(it, entries.end()) << id;
        controls.SetChoices(id, entries, int(it - entries.begin()));
    }
    // The page shown, filled by `fill`, confirmed.
    bool Confirm(CQAnPropPg& page, const std::vector<int>& ids, const std::function<void()>& fill,
                 const std::vector<int>& edits = {}) {
        for (int id : ids) controls.Add(id);
        for (int id : edits) controls.AddEdit(id);
        page.m_filler = {&controls, true};
        FillArgumentControls(page.m_filler, &doc.GetOscillogram());
        page.LoadState(doc.m_settings.GetCategory(page.GetPageKey()));
        fill();
        QAnResults results;
        CollectResults(page, results);
        page.SaveState(doc.m_settings.GetCategory(page.GetPageKey()));
        return doc.ApplyQuickAnalysis(results);
    }

    fixtures::DocUi ui;
    testutil::TempDir dir;
    CTenvorikDoc doc;
    ArgumentControlMap controls;
};

// Every control of the differential page.
std::vector<int> DiffControls() {
    using namespace diffpage;
    std::vector<int> ids = {kArmCount, kPhaseCount, kArmSelector, kPrevArm, kNextArm, kArmGroup, kIa, kIb, kIc,
                            kByCoeff, kByCtRatio, kByPower, kByRatedCurrent, kKpriv, kKttRatio, kKttBase, kKttPower,
                            kSnom, kUnom, kKttRated, kInom, kGroupNone, kGroupBySequence, kGroupTriangle,
                            kSequenceGroup, kTriangleGroup, kRemoveI0, kBrakeBySum, kBrakeBySub, kBrakeByMax,
                            kBrakeCoeff, kHolderCurrent, kHolderIb, kHolderIc, kHolderK1, kHolderK2, kHolderK3,
                            kHolderGroup};
    for (int i = 0; i < kMaxArms; ++i) ids.push_back(kFirstArmHolder + i);
    return ids;
}

// A Yd11 transformer: the high-voltage arm as recorded, the low-voltage arm turned by 11 × 30°
// and scaled by 2, carrying a zero-sequence current the differential protection must not see.
// A through fault for the first 200 samples; then an internal fault fed from the high side only.
class Transformer : public PagesOnRecord {
protected:
    void SetUp() override {
        const C i1 = std::polar(10.0, -0.35), i2 = std::polar(4.0, 0.9), j0 = std::polar(3.0, 0.17);
        const C p = std::polar(1.0, -M_PI / 6), q = std::polar(1.0, M_PI / 6);  // the turns of group 11
        const C j1 = -i1 / (2.0 * p), j2 = -i2 / (2.0 * q);
        std::vector<Signal> s;
        const char* hv[3] = {"Ia HV", "Ib HV", "Ic HV"};
        const char* lv[3] = {"Ia LV", "Ib LV", "Ic LV"};
        for (int k = 0; k < 3; ++k) s.push_back({hv[k], "A", [=](int) { return Phase(k, i1, i2, 0); }});
        for (int k = 0; k < 3; ++k)
            s.push_back({lv[k], "A", [=](int i) { return i < 200 ? Phase(k, j1, j2, j0) : C(0); }});
        s.push_back({"Ref", "A", [](int) { return C(1); }});
        Open(s);
        hvPhase[0] = Phase(0, i1, i2, 0);
        hvPhase[1] = Phase(1, i1, i2, 0);
        hvPhase[2] = Phase(2, i1, i2, 0);
    }
    // Two arms, three phases, by scaling coefficients 1 and 2, by sequences with groups 0
    // and 11; the low side's zero sequence removed as `removeI0` says.
    bool Run(bool removeI0) {
        using namespace diffpage;
        return Confirm(page, DiffControls(), [&] {
            controls.SetCheck(kByPower, false);
            controls.SetCheck(kByCoeff, true);
            page.OnScalingModeChosen();
            controls.SetCheck(kGroupNone, false);
            controls.SetCheck(kGroupBySequence, true);
            page.OnGroupModeChosen();
            const wchar_t* names[2][3] = {{L"Ia HV", L"Ib HV", L"Ic HV"}, {L"Ia LV", L"Ib LV", L"Ic LV"}};
            for (int arm = 0; arm < 2; ++arm) {
                Choose(kArmSelector, arm ? L"2" : L"1");
                page.OnArmChosen();
                for (int p = 0; p < 3; ++p) {
                    Choose(kIa + p, names[arm][p]);
                    page.OnArmControlChanged(kIa + p);
                }
                controls.SetText(kKpriv, arm ? L"2" : L"1");
                page.OnArmControlChanged(kKpriv);
                Choose(kSequenceGroup, arm ? L"11" : L"0");
                page.OnArmControlChanged(kSequenceGroup);
                controls.SetCheck(kRemoveI0, arm ? removeI0 : false);
                page.OnArmControlChanged(kRemoveI0);
            }
        }, {kKpriv, kKttRatio, kKttBase, kKttPower, kSnom, kUnom, kKttRated, kInom});
    }

    DiffCurrentsModel page{&doc.GetOscillogram()};
    C hvPhase[3];
};

TEST_F(Transformer, ThroughFaultGivesNoDifferentialCurrentAndInternalFaultGivesTheFaultCurrent) {
    ASSERT_TRUE(Run(true));
    const wchar_t* diff[3] = {L"Ia диф.", L"Ib диф.", L"Ic диф."};
    const wchar_t* brake[3] = {L"Ia торм.", L"Ib торм.", L"Ic торм."};
    for (int p = 0; p < 3; ++p) {
        SCOPED_TRACE(p);
        const double through = std::abs(hvPhase[p]) * Unit(150);
        EXPECT_NEAR(Value(diff[p], 150), 0.0, 1e-3 * through);
        // Half the sum of two equal magnitudes.
        EXPECT_NEAR(Value(brake[p], 150), through, 1e-3 * through);
        const double fault = std::abs(hvPhase[p]) * Unit(350);
        EXPECT_NEAR(Value(diff[p], 350), fault, 1e-3 * fault);
        EXPECT_NEAR(Value(brake[p], 350), 0.5 * fault, 1e-3 * fault);
    }
    EXPECT_EQ(Find(L"Ia диф.")->GetUnitText(), Find(L"Ia HV")->GetUnitText());
    // The calculated channels in the page's order.
    const std::vector<CString>& names = CalcChannels::Of(doc.GetOscillogram()).FormulaNames();
    ASSERT_EQ(names.size(), 18u);
    EXPECT_EQ(names[0], CString(L"Ia плечо 1 прив."));
    EXPECT_EQ(names[11], CString(L"Ic плечо 2 прив. пов."));
    EXPECT_EQ(names[17], CString(L"Ic торм."));
    // The differential diagram gets the restraint/differential pairs and shows its values.
    ASSERT_EQ(doc.m_diffChartPairs.size(), 3u);
    EXPECT_EQ(doc.m_diffChartPairs[1].first, CString(L"Ib торм."));
    EXPECT_EQ(doc.m_diffChartPairs[1].second, CString(L"Ib диф."));
    EXPECT_TRUE(doc.m_diffChartPairs[1].visible);
    EXPECT_EQ(doc.m_settings.GetCategory(L"Diff Chart").GetInt(L"ViewChannelType", 0), 1);
}

TEST_F(Transformer, TheTickedBoxTakesTheZeroSequenceOut) {
    // Kept in, the low side's zero sequence (3 A scaled by 2) shows as a false differential
    // current in every phase.
    ASSERT_TRUE(Run(false));
    for (const wchar_t* name : {L"Ia диф.", L"Ib диф.", L"Ic диф."})
        EXPECT_NEAR(Value(name, 150), 6.0 * Unit(150), 1e-2) << platform::WideToUtf8(name);
}

TEST_F(Transformer, NamesTakenAlreadyGetASuffixAndTheFormulasFollow) {
    CalcChannels& list = CalcChannels::Of(doc.GetOscillogram());
    list.Append(L"ia плечо 1 прив.", L"Ref * 5");
    list.Append(L"Ia диф.", L"Ref * 7");
    ASSERT_TRUE(list.ComputeChannels());
    ASSERT_TRUE(Run(true));
    // The record's own channel keeps its name and its values.
    EXPECT_NEAR(Value(L"ia плечо 1 прив.", 350), 5.0 * Find(L"Ref")->GetValue(350), 1e-6);
    const double fault = std::abs(hvPhase[0]) * Unit(350);
    EXPECT_NEAR(Value(L"Ia диф._2", 350), fault, 1e-3 * fault);
    EXPECT_NEAR(Value(L"Ia диф._2", 150), 0.0, 1e-3 * fault);
    ASSERT_TRUE(Find(L"Ia плечо 1 прив._2"));
    ASSERT_EQ(doc.m_diffChartPairs.size(), 3u);
    EXPECT_EQ(doc.m_diffChartPairs[0].first, CString(L"Ia торм."));
    EXPECT_EQ(doc.m_diffChartPairs[0].second, CString(L"Ia диф._2"));
}

TEST_F(Transformer, PageStateTravelsWithTheSettingsFile) {
    ASSERT_TRUE(Run(true));
    const CString set(platform::Utf8ToWide(dir.File("rec.set")));
    ASSERT_TRUE(doc.m_settings.Save(set));
    SettingsStore reread;
    ASSERT_TRUE(reread.Load(set));
    SettingsNode& leg = reread.GetCategory(L"DiffCurrentsPage").GetSubCategory(L"Leg_1");
    EXPECT_EQ(leg.GetString(L"IB", CString()), CString(L"Ib LV"));
    EXPECT_EQ(leg.GetString(L"R0", CString()), CString(L"2"));
    EXPECT_EQ(leg.GetString(L"seqGroup", CString()), CString(L"11"));
    EXPECT_EQ(leg.GetInt(L"I0State", -1), 1);
}

TEST_F(PagesOnRecord, SequenceMagnitudesOfAnUnbalancedSet) {
    const C i1 = std::polar(10.0, 0.0), i2 = std::polar(3.0, 0.7), i0 = std::polar(2.0, -0.5);
    const C u1 = std::polar(100.0, 0.1), u2 = std::polar(5.0, 0.35), u0 = std::polar(7.0, 0.0);
    std::vector<Signal> s;
    const char* is[3] = {"Ia", "Ib", "Ic"};
    const char* us[3] = {"Ua", "Ub", "Uc"};
    for (int k = 0; k < 3; ++k) s.push_back({is[k], "A", [=](int) { return Phase(k, i1, i2, i0); }});
    for (int k = 0; k < 3; ++k) s.push_back({us[k], "V", [=](int) { return Phase(k, u1, u2, u0); }});
    s.push_back({"Ref", "A", [](int) { return C(1); }});
    Open(s);
    using namespace symmpage;
    SymmetricItemsModel page(&doc.GetOscillogram());
    bool ok = false;
    page.m_enableOk = [&](bool on) { ok = on; };
    ASSERT_TRUE(Confirm(page,
                        {kIa, kIb, kIc, kUa, kUb, kUc, kUab, kUbc, kCurrentsOff, kVoltagesOff, kComputeIb, kPhaseVoltages,
                         kLineVoltages, kComputedIbName},
                        [&] {
                            controls.SetCheck(kPhaseVoltages, true);
                            page.OnVoltageKind();
                        }));
    // The record has no line voltages, and phase voltages are chosen: the sheet can be confirmed.
    EXPECT_TRUE(ok);
    const double u = Unit(300);
    const std::pair<const wchar_t*, double> expected[] = {{L"I1", 10}, {L"I2", 3}, {L"3I0", 6},
                                                          {L"U1", 100}, {L"U2", 5}, {L"3U0", 21}};
    for (const auto& [name, magnitude] : expected)
        EXPECT_NEAR(Value(name, 300), magnitude * u, 2e-3 * magnitude * u) << platform::WideToUtf8(name);
    EXPECT_EQ(Find(L"I1")->GetUnitText(), Find(L"Ia")->GetUnitText());
    EXPECT_EQ(Find(L"U2")->GetUnitText(), Find(L"Ua")->GetUnitText());
    EXPECT_TRUE(doc.m_diffChartPairs.empty());
    EXPECT_EQ(doc.m_settings.GetCategory(L"SymmetricItemsPage").GetInt(L"phaseVoltState", -1), 1);
}

}  // namespace
