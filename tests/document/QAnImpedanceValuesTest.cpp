// The interphase-impedance, zero-sequence and phase-impedance pages of quick analysis on open
// records with known answers: the impedance a relay sees up to a bolted fault is the line's
// impedance to it, the zero-sequence current of a single-phase fault is the fault current,
// and the pages' choices travel with the record's ".set" file.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <functional>
#include <string>
#include <vector>

#include "Fixtures.h"
#include "TestUtil.h"
#include "analysis/CalcChannels.h"
#include "analysis/MezphaseSoedPage.h"
#include "analysis/NullPoslPage.h"
#include "analysis/PhaseSoprotPage.h"
#include "document/TenvorikDoc.h"
#include "model/SettingsStore.h"
#include "platform/Encoding.h"

namespace {

using C = std::complex<double>;

const C a(-0.5, std::sqrt(3.0) / 2), a2 = std::conj(a);
const C z1(0.12, 0.41), z0(0.36, 1.23);  // ohms per kilometre
constexpr double kDistance = 10.0;       // km to the fault
constexpr int kRate = 1000, kSamples = 200;

// Phasors (peak values) of the six channels of a record: Ia, Ib, Ic, Ua, Ub, Uc.
struct Phasors {
    C i[3], u[3];
};

// A COMTRADE record of the three phase currents and voltages at 50 Hz, sampled at 1 kHz.
std::string WriteRecord(const testutil::TempDir& dir, const std::string& name, const Phasors& p) {
    const char* names[6] = {"Ia", "Ib", "Ic", "Ua", "Ub", "Uc"};
    std::string cfg = "Substation,R1,1999\r\n6,6A,0D\r\n";
    for (int k = 0; k < 6; ++k)
        cfg += std::to_string(k + 1) + "," + names[k] + ",,," + (k < 3 ? "A" : "V") + ",0.001,0,0,-99998,99998,1,1,P\r\n";
    cfg += "50\r\n1\r\n" + std::to_string(kRate) + "," + std::to_string(kSamples) +
           "\r\n01/01/2024,10:00:00.000000\r\n01/01/2024,10:00:00.000000\r\nASCII\r\n1\r\n";
    std::string dat;
    for (int s = 0; s < kSamples; ++s) {
        const C rot = std::polar(1.0, 2 * M_PI * 50 * s / double(kRate));
        dat += std::to_string(s + 1) + "," + std::to_string(s * 1000);
        for (int k = 0; k < 6; ++k) {
            const C v = (k < 3 ? p.i[k] : p.u[k - 3]) * rot;
            dat += "," + std::to_string(std::lround(v.imag() / 0.001));
        }
        dat += "\r\n";
    }
    testutil::WriteFile(dir.File(name + ".cfg"), cfg);
    testutil::WriteFile(dir.File(name + ".dat"), dat);
    return dir.File(name + ".cfg");
}

const C kLoad = std::polar(1.0, -0.35);
const C kSource = std::polar(60.0, 0.0);

// A bolted fault between phases B and C kDistance km out, with a balanced load beside it.
Phasors PhaseToPhaseFault(const C& load = kLoad) {
    Phasors p;
    const C fault = std::polar(8.0, -1.3);
    p.i[0] = load;
    p.i[1] = load * a2 + fault;
    p.i[2] = load * a - fault;
    p.u[0] = kSource;
    const C mid = (kSource * a2 + kSource * a) / 2.0;
    const C drop = z1 * kDistance * (p.i[1] - p.i[2]);
    p.u[1] = mid + drop / 2.0;
    p.u[2] = mid - drop / 2.0;
    return p;
}

// A bolted fault of phase A to earth kDistance km out, the load balanced.
const C kEarthFault = std::polar(7.0, -1.25);
Phasors EarthFault() {
    Phasors p;
    p.i[0] = kLoad + kEarthFault;
    p.i[1] = kLoad * a2;
    p.i[2] = kLoad * a;
    const C sum = p.i[0] + p.i[1] + p.i[2];
    const C k0 = (z0 - z1) / (3.0 * z1);
    p.u[0] = z1 * kDistance * (p.i[0] + k0 * sum);
    p.u[1] = kSource * a2;
    p.u[2] = kSource * a;
    return p;
}

class QAnValues : public ::testing::Test {
protected:
    void Open(const Phasors& p) {
        cfg = WriteRecord(dir, "rec", p);
        ASSERT_TRUE(doc.OnOpenDocument(CString(platform::Utf8ToWide(cfg))));
    }
    // Runs `page` over controls kept in memory as the sheet would: filled, restored from the
    // record's settings, changed by `choose`, confirmed and applied.
    template <class Page>
    bool Confirm(Page& page, ArgumentControlMap& controls, const std::function<void()>& choose) {
        page.m_filler = {&controls, true};
        page.m_record = &doc.GetOscillogram();
        page.m_enableOk = [this](bool enable) { ok = enable; };
        FillArgumentControls(page.m_filler, &doc.GetOscillogram());
        page.LoadState(doc.m_settings.GetCategory(page.GetPageKey()));
        choose();
        QAnResults results;
        CollectResults(page, results);
        page.SaveState(doc.m_settings.GetCategory(page.GetPageKey()));
        return ok && doc.ApplyQuickAnalysis(results);
    }
    const CChannel* Find(const wchar_t* name) {
        for (const CChannel& ch : doc.GetOscillogram().m_channels)
            if (ch.m_name == name) return &ch;
        return nullptr;
    }
    std::vector<std::wstring> ListNames() {
        std::vector<std::wstring> v;
        for (const CString& n : CalcChannels::Of(doc.GetOscillogram()).FormulaNames()) v.push_back(n.str());
        return v;
    }

    fixtures::DocUi ui;
    testutil::TempDir dir;
    std::string cfg;
    CTenvorikDoc doc;
    bool ok = false;
};

// The instantaneous value at sample s of a phasor's signal.
double At(const C& phasor, size_t s) { return (phasor * std::polar(1.0, 2 * M_PI * 50 * double(s) / kRate)).imag(); }

TEST_F(QAnValues, InterphaseImpedanceIsTheLineImpedanceToABoltedFault) {
    const Phasors p = PhaseToPhaseFault();
    Open(p);
    MezphaseSoedPage page;
    ArgumentControlMap controls;
    controls.Add({1007, 1008, 1009, 2046, 2050, 2051, 1043, 1044, 1045, 1010, 1011, 2042});
    ASSERT_TRUE(Confirm(page, controls, [] {}));
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(ListNames(), (std::vector<std::wstring>{L"Uab", L"Ubc", L"Uca", L"Zab", L"Zbc", L"Zca"}));

    const CChannel* zbc = Find(L"Zbc");
    const CChannel* ubc = Find(L"Ubc");
    ASSERT_TRUE(zbc && ubc);
    EXPECT_TRUE(zbc->m_flags & CHF_CIRCLE_DIAGRAM);
    EXPECT_EQ(doc.m_settings.GetCategory(L"Circle Chart").GetInt(L"ViewChannelType", 0), 2);
    EXPECT_EQ(ubc->GetUnitText(), CString(L"V"));
    // After the first full period every sample sees the same impedance.
    for (size_t s : {40u, 120u, 199u}) {
        EXPECT_NEAR(ubc->m_samples[s], At(p.u[1] - p.u[2], s), 0.01) << s;
        EXPECT_NEAR(zbc->m_samples[s], std::abs(z1 * kDistance), 0.01) << s;
    }
}

TEST_F(QAnValues, InterphaseImpedanceWithIbComputedAndTakenNames) {
    // The record keeps its own Ubc, so the page's line voltage is Ubc_2, and Ib is computed
    // from Ia and Ic as in a network with an isolated neutral (no load current here).
    const Phasors p = PhaseToPhaseFault(0.0);
    Open(p);
    CalcChannels::Of(doc.GetOscillogram()).Append(L"Ubc", L"Ub - Uc");
    ASSERT_TRUE(CalcChannels::Of(doc.GetOscillogram()).ComputeChannels());
    MezphaseSoedPage page;
    ArgumentControlMap controls;
    controls.Add({1007, 1008, 1009, 2046, 2050, 2051, 1043, 1044, 1045, 1010, 1011, 2042});
    ASSERT_TRUE(Confirm(page, controls, [&] {
        controls.SetCheck(2046, true);
        page.OnControlChanged(2046);
    }));
    EXPECT_EQ(ListNames(),
              (std::vector<std::wstring>{L"Ubc", L"Ib_2", L"Uab", L"Ubc_2", L"Uca", L"Zab", L"Zbc", L"Zca"}));
    EXPECT_NEAR(Find(L"Zbc")->m_samples[150], std::abs(z1 * kDistance), 0.01);
    EXPECT_NEAR(Find(L"Ib_2")->m_samples[150], At(p.i[1], 150), 0.01);
}

TEST_F(QAnValues, ZeroSequenceCurrentOfAnEarthFaultIsTheFaultCurrent) {
    const Phasors p = EarthFault();
    Open(p);
    NullPoslPage page;
    ArgumentControlMap controls;
    controls.Add({2156, 2047, 2049, 1007, 1008, 1009, 2072, 2157, 2063, 2064, 2065, 1043, 1044, 1045, 1067, 2074, 1062});
    ASSERT_TRUE(Confirm(page, controls, [] {}));
    EXPECT_EQ(ListNames(), (std::vector<std::wstring>{L"3I0", L"3U0", L"S0"}));
    const CChannel* i0 = Find(L"3I0");
    const CChannel* u0 = Find(L"3U0");
    ASSERT_TRUE(i0 && u0 && Find(L"S0"));
    EXPECT_EQ(i0->GetUnitText(), CString(L"A"));
    // Shown as the r.m.s. value of the phasor, once a full period is in.
    for (size_t s : {20u, 55u, 150u, 199u}) {
        EXPECT_NEAR(i0->m_samples[s], std::abs(kEarthFault) / std::sqrt(2.0), 0.005) << s;
        EXPECT_NEAR(u0->m_samples[s], std::abs(p.u[0] + p.u[1] + p.u[2]) / std::sqrt(2.0), 0.005) << s;
    }
    EXPECT_TRUE(i0->m_flags & CHF_VECTOR_DIAGRAM);
    EXPECT_TRUE(Find(L"S0")->m_flags & CHF_CIRCLE_DIAGRAM);
    EXPECT_EQ(doc.m_settings.GetCategory(L"Vector Chart").GetString(L"AngleChannelName", CString()), CString(L"3U0"));
    EXPECT_EQ(doc.m_settings.GetCategory(L"Vector Chart").GetInt(L"ShowAnglesValue", 0), 1);
    EXPECT_EQ(doc.m_settings.GetCategory(L"Circle Chart").GetInt(L"ViewChannelType", 0), 1);
}

TEST_F(QAnValues, PhaseImpedanceIsTheLineImpedanceToAnEarthFault) {
    Open(EarthFault());
    PhaseSoprotPage page;
    ArgumentControlMap controls;
    controls.Add({1007, 1008, 1009, 2042, 2123, 2124, 1052, 1053, 1050, 1051, 2121, 2122, 2043, 2044, 2045, 2125, 2126,
                  1043, 1044, 1045});
    ASSERT_TRUE(Confirm(page, controls, [&] {
        controls.SetText(1052, L"0,36");
        controls.SetText(1053, L"0.12");
        controls.SetText(1050, L"1.23");
        controls.SetText(1051, L"0.41");
        page.OnControlChanged(1051);
    }));
    EXPECT_EQ(ListNames(), (std::vector<std::wstring>{L"3I0", L"Za", L"Zb", L"Zc"}));
    for (size_t s : {20u, 100u, 199u}) EXPECT_NEAR(Find(L"Za")->m_samples[s], std::abs(z1 * kDistance), 0.01) << s;
    // The same through compensation coefficients: k0 = (Z0/Z1 - 1)/3 as magnitude and angle.
    const C k0 = (z0 / z1 - 1.0) / 3.0;
    PhaseSoprotPage coefficients;
    ArgumentControlMap c2;
    c2.Add({1007, 1008, 1009, 2042, 2123, 2124, 1052, 1053, 1050, 1051, 2121, 2122, 2043, 2044, 2045, 2125, 2126,
            1043, 1044, 1045});
    ASSERT_TRUE(Confirm(coefficients, c2, [&] {
        EXPECT_TRUE(c2.IsChecked(2123));  // the kept choice, specific parameters
        c2.SetCheck(2123, false);
        c2.SetCheck(2124, true);
        coefficients.OnControlChanged(2124);
        c2.SetText(2121, CString(platform::Utf8ToWide(std::to_string(std::abs(k0)))));
        c2.SetText(2122, CString(platform::Utf8ToWide(std::to_string(std::arg(k0) * 180 / M_PI))));
        coefficients.OnControlChanged(2122);
    }));
    EXPECT_EQ(ListNames(), (std::vector<std::wstring>{L"3I0", L"Za", L"Zb", L"Zc", L"3I0_2", L"Za_2", L"Zb_2", L"Zc_2"}));
    EXPECT_NEAR(Find(L"Za_2")->m_samples[150], std::abs(z1 * kDistance), 0.01);
}

TEST_F(QAnValues, PageChoicesTravelWithTheSettingsFile) {
    Open(EarthFault());
    {
        MezphaseSoedPage page;
        ArgumentControlMap controls;
        controls.Add({1007, 1008, 1009, 2046, 2050, 2051, 1043, 1044, 1045, 1010, 1011, 2042});
        ASSERT_TRUE(Confirm(page, controls, [&] {
            controls.SetText(2042, L"0,3");
            controls.SetCheck(2046, true);
            page.OnControlChanged(2046);
        }));
        NullPoslPage zero;
        ArgumentControlMap zc;
        zc.Add({2156, 2047, 2049, 1007, 1008, 1009, 2072, 2157, 2063, 2064, 2065, 1043, 1044, 1045, 1067, 2074, 1062});
        ASSERT_TRUE(Confirm(zero, zc, [&] {
            zc.SetCheck(2157, true);
            zero.OnControlChanged(2157);
        }));
    }
    ASSERT_TRUE(doc.OnSaveDocument(CString(platform::Utf8ToWide(cfg))));

    CTenvorikDoc again;
    ASSERT_TRUE(again.OnOpenDocument(CString(platform::Utf8ToWide(cfg))));
    SettingsNode& inter = again.m_settings.GetCategory(L"InterPhaseResistPage");
    EXPECT_EQ(inter.GetString(L"itr", CString()), CString(L"0,3"));
    EXPECT_EQ(inter.GetInt(L"calcIBState", 0), 1);
    EXPECT_EQ(inter.GetSubCategory(L"UA").GetString(L"channelName", CString()), CString(L"Ua"));
    EXPECT_EQ(again.m_settings.GetCategory(L"NullSequencePage").GetInt(L"voltOffState", 0), 1);
    // The channels made come back computed from the saved list.
    const std::vector<CString>& names = CalcChannels::Of(again.GetOscillogram()).FormulaNames();
    EXPECT_EQ(names.size(), 8u);
    bool found = false;
    for (const CChannel& ch : again.GetOscillogram().m_channels) found = found || ch.m_name == L"Zca";
    EXPECT_TRUE(found);

    MezphaseSoedPage page;
    ArgumentControlMap controls;
    controls.Add({1007, 1008, 1009, 2046, 2050, 2051, 1043, 1044, 1045, 1010, 1011, 2042});
    page.m_filler = {&controls, true};
    page.m_record = &again.GetOscillogram();
    FillArgumentControls(page.m_filler, &again.GetOscillogram());
    page.LoadState(inter);
    EXPECT_EQ(controls.GetText(2042), CString(L"0,3"));
    EXPECT_TRUE(controls.IsChecked(2046));
    EXPECT_TRUE(controls.IsChecked(2050));
}

}  // namespace
