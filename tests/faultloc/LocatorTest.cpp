// Fault location on synthetic three-phase records of faults on a modelled line. The records are
// built from the network's own equations, so the distance each method must find is known.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <iterator>
#include <limits>
#include <map>

#include "FakeUi.h"
#include "faultloc/WrongPlaceLocator.h"
#include "model/TenvorikException.h"
#include "platform/Encoding.h"

namespace {

using C = std::complex<double>;
const C a(-0.5, std::sqrt(3.0) / 2), a2(-0.5, -std::sqrt(3.0) / 2);

struct Phases {
    C A, B, C_;
};
Phases FromSequences(C s1, C s2, C s0) { return {s0 + s1 + s2, s0 + a2 * s1 + a * s2, s0 + a * s1 + a2 * s2}; }

class FakeRecord : public LocatorRecord {
public:
    FakeRecord(double fs, double f) : m_fs(fs), m_f(f) {}
    int GetSampleCount() const override { return count; }
    double GetSamplingFrequency() const override { return m_fs; }
    double GetNetFrequency() const override { return m_f; }
    void ReadDisplayValues(const CString& name, int first, int count, double* out) const override {
        auto it = channels.find(name.str());
        if (it == channels.end()) throw new CTenvorikException(354);
        for (int k = 0; k < count; ++k) {
            const size_t i = size_t(first + k);
            out[k] = i < it->second.size() ? it->second[i] : 0.0;
        }
    }
    int FindChannelIndex(const CString& name) const override {
        return withOwnFrequency && channels.count(name.str()) ? 0 : -1;
    }
    double GetSampleTimeUs(int i) const override { return i * 1e6 / m_fs; }
    double GetSampleFrequency(int, int) const override { return m_f; }
    void SetCalculatedChannel(const CString& name, const CString& unit, const std::vector<double>& v) override {
        results[name.str()] = v;
        units[name.str()] = unit;
    }
    void SetDiscreteChannel(const CString& name, const std::vector<int>& flags) override {
        results[name.str()] = std::vector<double>(flags.begin(), flags.end());
    }
    void RemoveChannel(const CString& name) override { results.erase(name.str()); }
    bool GetChannelRatio(const CString& name, double& primary, double& secondary) const override {
        if (!channels.count(name.str())) return false;
        primary = 110000;
        secondary = 100;
        return true;
    }

    // Appends `seconds` of steady state: each channel a sine of the given peak phasor.
    void AddSegment(double seconds, const std::map<std::wstring, C>& phasors) {
        int n = int(std::lround(seconds * m_fs));
        for (int k = 0; k < n; ++k) {
            double t = (count + k) / m_fs;
            for (const auto& [name, p] : phasors) channels[name].push_back((p * std::polar(1.0, 2 * M_PI * m_f * t)).imag());
        }
        count += n;
    }

    std::map<std::wstring, std::vector<double>> channels, results;
    std::map<std::wstring, CString> units;
    int count = 0;
    bool withOwnFrequency = false;

private:
    double m_fs, m_f;
};

struct FakeHost : LocatorHost {
    void PlaceCursors(int first, int last) override {
        cursors = {first, last};
    }
    void ShowResultBar(const CString&) override { barShown = true; }
    void HideResultBar() override { barShown = false; }
    void UpdateViews() override { ++updates; }
    std::pair<int, int> cursors{-1, -1};
    bool barShown = false;
    int updates = 0;
};

void AddPhaseChannels(std::map<std::wstring, C>& m, const std::wstring& prefix, const Phases& p) {
    m[prefix + L"a"] = p.A;
    m[prefix + L"b"] = p.B;
    m[prefix + L"c"] = p.C_;
}

void SetStation(WrongPlaceLocatorData::Station& st, const std::wstring& suffix, const CString& in) {
    st.SetParam(LineParam::NominalCurrent(), in);
    for (const wchar_t* ph : {L"a", L"b", L"c"}) {
        st.SetParam(CString(L"I") + ph, CString((L"I" + std::wstring(ph) + suffix).c_str()));
        st.SetParam(CString(L"U") + ph, CString((L"U" + std::wstring(ph) + suffix).c_str()));
    }
    st.SetParam(L"Uab", CString((L"Uab" + suffix).c_str()));
    st.SetParam(L"Ubc", CString((L"Ubc" + suffix).c_str()));
    st.SetParam(L"Uca", CString((L"Uca" + suffix).c_str()));
}

WrongPlaceLocatorData::Section* AddSection(WrongPlaceLocatorData& m, const wchar_t* len, const wchar_t* towers,
                                          C z, C z1, C z0) {
    auto* s = m.station1.AddSection();
    s->SetParam(LineParam::Length(), len);
    s->SetParam(LineParam::Towers(), towers);
    auto txt = [](double v) {
        CString t;
        t.Format(L"%.17g", v);
        return t;
    };
    s->SetParam(LineParam::R(), txt(z.real()));
    s->SetParam(LineParam::X(), txt(z.imag()));
    s->SetParam(LineParam::R1(), txt(z1.real()));
    s->SetParam(LineParam::X1(), txt(z1.imag()));
    s->SetParam(LineParam::R0(), txt(z0.real()));
    s->SetParam(LineParam::X0(), txt(z0.imag()));
    return s;
}

// Station-1 measurements of a radial line: phase voltages, line voltages and currents.
std::map<std::wstring, C> Measurements(const Phases& u, const Phases& i, const std::wstring& suffix = L"1") {
    std::map<std::wstring, C> m;
    AddPhaseChannels(m, L"U", u);
    AddPhaseChannels(m, L"I", i);
    std::map<std::wstring, C> out;
    for (auto& [k, v] : m) out[k + suffix] = v;
    out[L"Uab" + suffix] = u.A - u.B;
    out[L"Ubc" + suffix] = u.B - u.C_;
    out[L"Uca" + suffix] = u.C_ - u.A;
    return out;
}

std::string Errors(const testutil::FakeUi& ui) {
    std::string out;
    for (const auto& e : ui.exceptions) out += platform::WideToUtf8(e.view()) + "\n";
    return out;
}

const Phases kSource = FromSequences(C(57735, 0), 0, 0);  // 100 kV line-to-line, peak phasors
const Phases kLoad = FromSequences(std::polar(80.0, -0.3), 0, 0);

}  // namespace

TEST(Locator, IsolatedNeutralPhaseToPhaseFaultInSecondSection) {
    testutil::FakeUi ui;
    const C z1(0.1, 0.4), z2(0.2, 0.35);
    FakeRecord rec(2000, 50);
    rec.AddSegment(0.1, Measurements(kSource, kLoad));
    // Bolted B-C fault 4.2 km into the second section: the loop voltage is the loop current times
    // the impedance up to the fault.
    Phases i = kLoad;
    C If = std::polar(3000.0, -1.2);
    i.B += If;
    i.C_ -= If;
    C drop = (z1 * 10.0 + z2 * 4.2) * (i.B - i.C_);
    Phases u = kSource;
    C mid = (u.B + u.C_) / 2.0;
    u.B = mid + drop / 2.0;
    u.C_ = mid - drop / 2.0;
    rec.AddSegment(0.2, Measurements(u, i));

    WrongPlaceLocator loc;
    auto& m = loc.GetData();
    m.methodType = 1;
    SetStation(m.station1, L"1", L"100");
    AddSection(m, L"10", L"30", z1, 0, 0);
    AddSection(m, L"8", L"20", z2, 0, 0);
    FakeHost host;
    ASSERT_TRUE(loc.Calculate(rec, host, false)) << Errors(ui);
    EXPECT_NEAR(loc.m_distance, 14.2, 1e-6);
    EXPECT_EQ(loc.m_faultSection, 1);
    EXPECT_NEAR(loc.m_distanceInSection, 4.2, 1e-6);
    EXPECT_EQ(loc.m_tower, 11);  // trunc(20 * 4.2 / 8) + 1
    EXPECT_EQ(loc.m_phaseA, 0);
    EXPECT_EQ(loc.m_phaseB, 1);
    EXPECT_EQ(loc.m_phaseC, 1);
    EXPECT_EQ(loc.m_phaseMedian, 1);
    // The window lies in the fault, one period long, and the cursors sit on it.
    EXPECT_GE(loc.m_windowFirst, 200);
    EXPECT_EQ(loc.m_windowLast - loc.m_windowFirst, 39);
    EXPECT_EQ(host.cursors, std::make_pair(loc.m_windowFirst, loc.m_windowLast));
    EXPECT_TRUE(host.barShown);
    EXPECT_EQ(host.updates, 1);
    // Result channels: the distance in metres, the faulted phases as discrete channels.
    ASSERT_EQ(rec.results.count(L"Lкз"), 1u);
    EXPECT_EQ(rec.units[L"Lкз"], L"m");
    EXPECT_NEAR(rec.results[L"Lкз"][size_t(loc.m_windowFirst)], 14200.0, 1e-3);
    EXPECT_EQ(rec.results[L"КЗ фазы B"][size_t(loc.m_windowFirst)], 1.0);
    EXPECT_EQ(rec.results[L"КЗ фазы А"][size_t(loc.m_windowFirst)], 0.0);
    EXPECT_EQ(rec.results[L"КЗ фазы C"][50], 0.0);  // no fault before inception
    EXPECT_TRUE(ui.exceptions.empty());
}

// A model file may give a tower count no int holds: the run takes the most there can be.
TEST(Locator, ATowerCountBeyondAnIntIsTheLargestOne) {
    testutil::FakeUi ui;
    const C z(0.1, 0.4);
    FakeRecord rec(2000, 50);
    rec.AddSegment(0.1, Measurements(kSource, kLoad));
    Phases i = kLoad;
    const C If = std::polar(3000.0, -1.2);
    i.B += If;
    i.C_ -= If;
    const C drop = z * 4.0 * (i.B - i.C_);
    Phases u = kSource;
    const C mid = (u.B + u.C_) / 2.0;
    u.B = mid + drop / 2.0;
    u.C_ = mid - drop / 2.0;
    rec.AddSegment(0.2, Measurements(u, i));

    for (const wchar_t* towers : {L"1e30", L"4155555555555555555555555555555555555555"}) {
        WrongPlaceLocator loc;
        auto& m = loc.GetData();
        m.methodType = 1;
        SetStation(m.station1, L"1", L"100");
        AddSection(m, L"10", towers, z, 0, 0);
        FakeHost host;
        ASSERT_TRUE(loc.Calculate(rec, host, false)) << Errors(ui);
        EXPECT_NEAR(loc.m_distance, 4.0, 1e-6);
        // 4 km into 10 km of as many towers as there can be.
        EXPECT_NEAR(loc.m_tower, 0.4 * std::numeric_limits<int>::max(), 2.0);
    }
}

TEST(Locator, EarthedNeutralSinglePhaseFaultWithZeroSequenceCompensation) {
    testutil::FakeUi ui;
    const C z1(0.12, 0.42), z0(0.3, 1.25);
    const double d = 7.5;
    FakeRecord rec(1000, 50);
    rec.AddSegment(0.1, Measurements(kSource, kLoad));
    Phases i = kLoad;
    i.A += std::polar(2500.0, -1.3);
    C i0 = (i.A + i.B + i.C_) / 3.0;
    Phases u = kSource;
    u.A = d * (z1 * i.A + (z0 - z1) * i0);  // bolted A-earth fault at d km
    rec.AddSegment(0.2, Measurements(u, i));

    WrongPlaceLocator loc;
    auto& m = loc.GetData();
    m.methodType = 2;
    SetStation(m.station1, L"1", L"100");
    AddSection(m, L"20", L"50", 0, z1, z0);
    FakeHost host;
    ASSERT_TRUE(loc.Calculate(rec, host, false));
    EXPECT_NEAR(loc.m_distance, d, 1e-6);
    EXPECT_EQ(loc.m_earthMedian, 1);
    EXPECT_EQ(loc.m_phaseMedian, 0);
    EXPECT_EQ(loc.m_phaseA + loc.m_phaseB + loc.m_phaseC, 1);
    EXPECT_EQ(loc.m_phaseA, 1);
    EXPECT_EQ(loc.m_tower, int(50 * d / 20) + 1);
    // A second run on the same record and model gives the same distance.
    ASSERT_TRUE(loc.Calculate(rec, host, false));
    EXPECT_NEAR(loc.m_distance, d, 1e-6);
}

TEST(Locator, EarthedNeutralThroughFaultResistanceIsPolarisedByZeroSequence) {
    testutil::FakeUi ui;
    const C z1(0.1, 0.4), z0(0.3, 1.2);
    const double d = 12.0, Rf = 5.0;
    FakeRecord rec(1000, 50);
    rec.AddSegment(0.06, Measurements(kSource, FromSequences(0, 0, 0)));
    // Without load the fault current is the zero-sequence current times three, in phase with
    // the current through the fault resistance: the reactance method is then exact.
    Phases i = FromSequences(0, 0, 0);
    i.A = std::polar(1800.0, -1.1);
    C i0 = i.A / 3.0;
    Phases u = kSource;
    u.A = d * (z1 * i.A + (z0 - z1) * i0) + Rf * 3.0 * i0;
    rec.AddSegment(0.2, Measurements(u, i));

    WrongPlaceLocator loc;
    auto& m = loc.GetData();
    m.methodType = 2;
    SetStation(m.station1, L"1", L"100");
    AddSection(m, L"30", L"60", 0, z1, z0);
    FakeHost host;
    ASSERT_TRUE(loc.Calculate(rec, host, true));
    EXPECT_NEAR(loc.m_distance, d, 1e-6);
}

TEST(Locator, EarthedNeutralWithParallelLineCoupling) {
    testutil::FakeUi ui;
    const C z1(0.1, 0.4), z0(0.3, 1.2), zm(0.2, 0.7);
    const double d = 9.0;
    Phases i = kLoad;
    i.A += std::polar(2200.0, -1.25);
    C i0 = (i.A + i.B + i.C_) / 3.0;
    C i0p = 0.6 * i0 * std::polar(1.0, 0.1);  // zero-sequence current of the coupled line
    Phases u = kSource;
    u.A = d * (z1 * i.A + (z0 - z1) * i0 + zm * i0p);
    auto fault = Measurements(u, i);
    fault[L"I0p"] = i0p;
    auto pre = Measurements(kSource, kLoad);
    pre[L"I0p"] = 0;
    FakeRecord rec(1000, 50);
    rec.AddSegment(0.1, pre);
    rec.AddSegment(0.2, fault);

    WrongPlaceLocator loc;
    auto& m = loc.GetData();
    m.methodType = 2;
    SetStation(m.station1, L"1", L"100");
    auto* s = AddSection(m, L"25", L"50", 0, z1, z0);
    auto* p = s->AddParallelLine();
    p->SetParam(LineParam::Rm(), L"0.2");
    p->SetParam(LineParam::Xm(), L"0,7");  // a decimal comma, as Russian users type it
    p->SetParam(L"I0", L"I0p");
    FakeHost host;
    ASSERT_TRUE(loc.Calculate(rec, host, false)) << Errors(ui);
    EXPECT_NEAR(loc.m_distance, d, 1e-6);
}

TEST(Locator, EarthedNeutralFaultBeyondATap) {
    testutil::FakeUi ui;
    const C z1(0.1, 0.4), z0(0.3, 1.2), zt(20, 60);
    const double len1 = 10, d2 = 5;
    // Station currents during an A-earth fault; the tap at the end of the first section draws
    // zero-sequence current only, so past it the phase and zero-sequence currents both lose it.
    Phases i = kLoad;
    i.A += std::polar(2000.0, -1.2);
    const C i0 = (i.A + i.B + i.C_) / 3.0;
    const C S = z1 * i.A + (z0 - z1) * i0;
    const C Ea = kSource.A;
    const C X = ((len1 + d2) * S + d2 * z0 * (Ea / 3.0 + z0 * len1 * i0) / zt) / (1.0 + d2 * z0 / (3.0 * zt));
    Phases u = kSource;
    u.A = X;
    FakeRecord rec(1000, 50);
    rec.AddSegment(0.1, Measurements(kSource, kLoad));
    rec.AddSegment(0.2, Measurements(u, i));

    WrongPlaceLocator loc;
    auto& m = loc.GetData();
    m.methodType = 2;
    SetStation(m.station1, L"1", L"100");
    auto* s1 = AddSection(m, L"10", L"20", 0, z1, z0);
    auto* tap = s1->AddConnection();
    tap->SetParam(LineParam::TapR0(), L"20");
    tap->SetParam(LineParam::TapX0(), L"60");
    AddSection(m, L"12", L"24", 0, z1, z0);
    FakeHost host;
    ASSERT_TRUE(loc.Calculate(rec, host, false)) << Errors(ui);
    EXPECT_NEAR(loc.m_distance, len1 + d2, 1e-6);
    EXPECT_EQ(loc.m_faultSection, 1);
}

namespace {

// A two-ended record: load, then a phase-to-phase fault whose negative-sequence quantities
// each end measures (currents flowing into the line at both ends).
FakeRecord TwoEndedRecord(C U2_1, C I1_1, C I2_1, C U2_2, C I1_2, C I2_2) {
    FakeRecord rec(2000, 50);
    std::map<std::wstring, C> pre = Measurements(kSource, kLoad, L"1");
    for (auto& [k, v] : Measurements(kSource, FromSequences(-kLoad.A, 0, 0), L"2")) pre[k] = v;
    rec.AddSegment(0.1, pre);
    const C u1(57735 * 0.8, 0);
    std::map<std::wstring, C> fault = Measurements(FromSequences(u1, U2_1, 0), FromSequences(I1_1, I2_1, 0), L"1");
    for (auto& [k, v] : Measurements(FromSequences(u1, U2_2, 0), FromSequences(I1_2, I2_2, 0), L"2")) fault[k] = v;
    rec.AddSegment(0.2, fault);
    return rec;
}

void SetTwoEndedModel(WrongPlaceLocator& loc, C z1, C z0) {
    auto& m = loc.GetData();
    m.methodType = 4;
    SetStation(m.station1, L"1", L"100");
    for (const wchar_t* ph : {L"a", L"b", L"c"}) {
        m.station2.SetParam(CString(L"U") + ph, CString((L"U" + std::wstring(ph) + L"2").c_str()));
        m.station2.SetParam(CString(L"I") + ph, CString((L"I" + std::wstring(ph) + L"2").c_str()));
    }
    m.station2.SetParam(LineParam::NominalCurrent(), L"100");
    AddSection(m, L"30", L"90", 0, z1, z0);
}

}  // namespace

TEST(Locator, TwoEndedPhaseToPhaseFault) {
    testutil::FakeUi ui;
    const C z1(0.08, 0.38), z0(0.25, 1.1);
    const double L = 30, d = 12.3;
    // Negative-sequence network during a B-C fault: the fault point's voltage drives current
    // into the line from both ends, through each source and the line up to the fault.
    const C zs1(1.0, 6.0), zs2(2.0, 9.0);
    C I2_1 = std::polar(1500.0, -1.0);
    C U2f = -(zs1 + z1 * d) * I2_1;
    C I2_2 = -U2f / (zs2 + z1 * (L - d));
    FakeRecord rec = TwoEndedRecord(-zs1 * I2_1, -I2_1 + kLoad.A * 0.1, I2_1, -zs2 * I2_2, -I2_2, I2_2);
    WrongPlaceLocator loc;
    SetTwoEndedModel(loc, z1, z0);
    FakeHost host;
    ASSERT_TRUE(loc.Calculate(rec, host, false)) << Errors(ui);
    EXPECT_NEAR(loc.m_distance, d, 0.03);
    EXPECT_EQ(loc.m_phaseB, 1);
    EXPECT_EQ(loc.m_phaseC, 1);
}

TEST(Locator, RunsThatCannotStartReportAndLeaveNoResult) {
    struct Case {
        const char* what;
        int method;
        bool section;
        const wchar_t* in;
        const wchar_t* ia;
        double f;
        const wchar_t* message;
    };
    const Case cases[] = {
        {"no sections", 1, false, L"100", L"Ia1", 50, L"Данные для определения места повреждения не введены."},
        {"zero nominal current", 1, true, L"0", L"Ia1", 50, L"Данные для определения места повреждения не введены."},
        {"empty nominal current", 2, true, L"", L"Ia1", 50, L"Данные для определения места повреждения не введены."},
        {"unknown channel", 1, true, L"100", L"nope", 50, L"Имя канала задано неправильно."},
        {"unknown method", 3, true, L"100", L"Ia1", 50, L"Данные для определения места повреждения не введены."},
        {"no net frequency", 1, true, L"100", L"Ia1", 0.5, nullptr},
    };
    for (const auto& c : cases) {
        testutil::FakeUi ui;
        FakeRecord rec(1000, c.f);
        rec.AddSegment(0.1, Measurements(kSource, kLoad));
        WrongPlaceLocator loc;
        auto& m = loc.GetData();
        m.methodType = c.method;
        SetStation(m.station1, L"1", c.in);
        m.station1.SetParam(L"Ia", c.ia);
        if (c.section) AddSection(m, L"10", L"10", C(0.1, 0.4), C(0.1, 0.4), C(0.3, 1.2));
        FakeHost host;
        host.barShown = true;
        EXPECT_FALSE(loc.Calculate(rec, host, false)) << c.what;
        EXPECT_FALSE(loc.IsActive()) << c.what;
        EXPECT_FALSE(host.barShown) << c.what;
        EXPECT_TRUE(rec.results.empty()) << c.what;
        ASSERT_EQ(ui.exceptions.size(), 1u) << c.what;
        if (c.message) {
            EXPECT_EQ(ui.exceptions[0], CString(c.message)) << c.what;
        }
        // Silent runs discard the message.
        EXPECT_FALSE(loc.Calculate(rec, host, true));
        EXPECT_EQ(ui.exceptions.size(), 1u) << c.what;
    }
}

TEST(Locator, PhasorTransformsGiveRmsTimesRootTwoAtTheSamplesPhase) {
    FakeRecord rec(1000, 50);
    const C p = std::polar(10.0, 0.7);
    rec.AddSegment(0.1, {{L"x", p}});
    WrongPlaceLocator loc;
    loc.m_samplesPerPeriod = 20;
    loc.m_netFrequency = 50;
    const auto& x = rec.channels[L"x"];
    EXPECT_EQ(loc.CalcPhasor(x, 19, -1), C(0, 0));
    for (int i : {20, 37, 99}) {
        C expected = p * std::polar(1.0, 2 * M_PI * 50 * i / 1000.0);
        C got = loc.CalcPhasor(x, i, -1);
        EXPECT_NEAR(std::abs(got - expected), 0, 1e-9) << i;
    }
}

TEST(Locator, DebounceRisesOnTheQuarterPeriodthSetSample) {
    std::vector<int> short4 = {0, 1, 1, 1, 1, 0, 0};
    WrongPlaceLocator::Debounce(short4, 5, 0);
    EXPECT_EQ(short4, std::vector<int>(7, 0));
    std::vector<int> long6 = {1, 1, 1, 1, 1, 1, 1, 0, 1};
    WrongPlaceLocator::Debounce(long6, 5, 0);
    EXPECT_EQ(long6, (std::vector<int>{0, 0, 0, 0, 0, 1, 1, 0, 0}));
}

TEST(Locator, TowerOfAResult) {
    WrongPlaceLocator loc;
    SectionCalc s1, s2;
    s1.length = 6;
    s1.towers = 12;
    s2.length = 10;
    s2.towers = 25;
    loc.m_sections = {s1, s2};
    const struct { double D; int section, tower; } cases[] = {
        {10, 1, 11},               // 40 % into the second section
        {6, 0, 12},                // exactly at the first section's end: its last tower, not one more
        {16, 1, 25},               // at the end of the line
        {20, 2, 1},                // beyond the line
        {std::nan(""), 2, 1},      // no distance at all
        {0, 0, 1},
    };
    for (const auto& c : cases) {
        loc.m_distance = c.D;
        loc.LocateTower();
        EXPECT_EQ(loc.m_faultSection, c.section) << c.D;
        EXPECT_EQ(loc.m_tower, c.tower) << c.D;
    }
}

TEST(Locator, TwoEndedFaultBehindStationTwoIsOutsideTheLine) {
    testutil::FakeUi ui;
    const C z1(0.08, 0.38), z0(0.25, 1.1);
    const double L = 30;
    // The fault lies behind station 2: negative-sequence current flows through the whole line
    // and out at station 2.
    const C zs1(1.0, 6.0);
    C I2_1 = std::polar(1500.0, -1.0);
    C U2_1 = -zs1 * I2_1;
    FakeRecord rec = TwoEndedRecord(U2_1, -I2_1, I2_1, U2_1 - z1 * L * I2_1, I2_1, -I2_1);
    WrongPlaceLocator loc;
    SetTwoEndedModel(loc, z1, z0);
    FakeHost host;
    ASSERT_TRUE(loc.Calculate(rec, host, false)) << Errors(ui);
    EXPECT_EQ(loc.m_distance, 0.0);
    EXPECT_EQ(loc.m_phaseMedian, 1);
}

TEST(Locator, MismatchComparisonIsTheExactMagnitudesOne) {
    // The two-ended method's halving steps turn on this comparison alone: it must answer as
    // std::abs's magnitudes do, also where the two mismatches differ in their last digits.
    auto exact = [](const std::pair<C, C>& p, const std::pair<C, C>& q) {
        return std::fabs(std::abs(p.first) - std::abs(p.second)) > std::fabs(std::abs(q.first) - std::abs(q.second));
    };
    uint64_t state = 7;
    auto next = [&] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return double(state >> 11) / double(1ull << 53) * 2.0 - 1.0;
    };
    auto value = [&](int scale) { return C(std::ldexp(next(), scale), std::ldexp(next(), scale)); };
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const C specials[] = {C(0, 0), C(-0.0, 0), C(nan, 1), C(1, inf), C(1e-160, 3e-160), C(4e200, 1e200), C(3, 4)};
    size_t mismatches = 0;
    for (int i = 0; i < 400000; ++i) {
        const int scale = int(std::lround(next() * 20));
        std::pair<C, C> p{value(scale), value(scale)}, q;
        switch (i % 4) {
            case 0: q = {value(scale), value(scale)}; break;
            // The same pair a few units in the last place apart: the closest comparisons.
            case 1: q = {p.first * (1 + next() * 4e-16), p.second * (1 - next() * 4e-16)}; break;
            case 2: q = {p.second, p.first}; break;
            default: q = {specials[size_t(i / 4) % std::size(specials)], value(scale)}; break;
        }
        mismatches += MismatchGreater(p, q) != exact(p, q);
        mismatches += MismatchGreater(q, p) != exact(q, p);
    }
    EXPECT_EQ(mismatches, 0u);
}
