// The symmetrical-components page of quick analysis over its controls kept in memory: the
// channels its choices produce, when it lets the sheet be confirmed, how its controls follow
// the choices, and its state in the record's settings file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "TestUtil.h"
#include "analysis/SymmetricItems.h"
#include "model/DocumentModel.h"
#include "model/SettingsStore.h"
#include "platform/Encoding.h"

using namespace symmpage;

namespace {

std::vector<int> PageControls() {
    return {kIa,        kIb,           kIc,           kUa,           kUb,      kUc,      kUab,     kUbc,
            kCurrentsOff, kVoltagesOff, kComputeIb,   kPhaseVoltages, kLineVoltages, kIsolatedNote, kLabelIa, kLabelIb,
            kLabelIc,   kLabelUa,      kLabelUb,      kLabelUc,      kLabelUab, kLabelUbc, kComputedIbName};
}

class SymmPage : public ::testing::Test {
public:
    // A record of the channels named, in this order.
    void Make(std::initializer_list<const wchar_t*> names) {
        COscillogram& o = doc.GetOscillogram();
        o.m_samplingFrequency = 1000;
        o.m_netFrequency = 50.0;
        for (const wchar_t* name : names) {
            CChannel& ch = o.m_channels.emplace_back(&doc);
            ch.m_name = name;
            ch.m_displayUnit = name[0] == L'U' ? L"V" : L"A";
            for (int i = 0; i < 40; ++i) ch.m_samples.push_back(std::sin(i * 0.314));
            ++o.m_analogCount;
        }
        o.RecalcAll(false);
        for (int id : PageControls()) controls.Add(id);
        // The phase voltages are the radio group's first choice.
        controls.SetCheck(kPhaseVoltages, true);
        page.m_filler = {&controls, true};
        page.m_enableOk = [this](bool on) { ok = on; };
        FillArgumentControls(page.m_filler, &doc.GetOscillogram());
        page.LoadState(store.GetCategory(page.GetPageKey()));
    }
    void Tick(int id, bool on) {
        if (id == kPhaseVoltages || id == kLineVoltages) {
            controls.SetCheck(kPhaseVoltages, id == kPhaseVoltages);
            controls.SetCheck(kLineVoltages, id == kLineVoltages);
            page.OnVoltageKind();
            return;
        }
        controls.SetCheck(id, on);
        if (id == kCurrentsOff) page.OnCurrentsOff();
        if (id == kVoltagesOff) page.OnVoltagesOff();
        if (id == kComputeIb) page.OnComputeIb();
    }
    void Choose(int id, const wchar_t* text) {
        const std::vector<CString> entries = controls.GetChoices(id);
        const auto it = std::find(entries.begin(), entries.end(), CString(text));
        ASSERT_NE(it, entries.end()) << id;
        controls.SetChoices(id, entries, int(it - entries.begin()));
        page.UpdateControls();
    }
    std::vector<std::wstring> Get(void (CQAnPropPg::*get)(std::vector<CString>&)) {
        std::vector<CString> v;
        (page.*get)(v);
        std::vector<std::wstring> out;
        for (const CString& s : v) out.push_back(s.str());
        return out;
    }

    DocumentModel doc;
    ArgumentControlMap controls;
    SettingsStore store;
    SymmetricItemsModel page{&doc.GetOscillogram()};
    bool ok = false;
};

struct ItemsCase {
    const char* what;
    bool currentsOff, voltagesOff, computeIb, lineVoltages;
    std::vector<std::wstring> names, formulas;
};

TEST_F(SymmPage, ChoicesGiveTheirSequenceChannels) {
    Make({L"Ia", L"IB", L"Ic", L"Ua", L"Ub", L"Uc", L"Uab", L"Ubc", L"U c"});
    // No channel is named Ib exactly: the user picks IB.
    EXPECT_EQ(controls.GetText(kIb), CString(L"Канал отсутствует"));
    Choose(kIb, L"IB");
    const ItemsCase cases[] = {
        {"phase currents and voltages", false, false, false, false,
         {L"I1", L"I2", L"3I0", L"U1", L"U2", L"3U0"},
         {L"I1: (Ia, IB, Ic)", L"I2: (Ia, IB, Ic)", L"3I0: (Ia, IB, Ic)", L"U1f: (Ua, Ub, Uc)", L"U2f: (Ua, Ub, Uc)",
          L"3U0: (Ua, Ub, Uc)"}},
        // The computed phase-B current takes a free name (IB is there), and the sequence
        // currents refer to it by that name.
        {"computed Ib, line voltages", false, false, true, true,
         {L"Ib", L"I1", L"I2", L"U1", L"U2"},
         {L"Ib: (Ia, Ic, 0)", L"I1: (Ia, \"Ib_2\", Ic)", L"I2: (Ia, \"Ib_2\", Ic)", L"U1l: (Uab, Ubc)", L"U2l: (Uab, Ubc)"}},
        {"currents off", true, false, false, false,
         {L"U1", L"U2", L"3U0"},
         {L"U1f: (Ua, Ub, Uc)", L"U2f: (Ua, Ub, Uc)", L"3U0: (Ua, Ub, Uc)"}},
        {"voltages off", false, true, false, true, {L"I1", L"I2", L"3I0"},
         {L"I1: (Ia, IB, Ic)", L"I2: (Ia, IB, Ic)", L"3I0: (Ia, IB, Ic)"}},
    };
    for (const ItemsCase& c : cases) {
        SCOPED_TRACE(c.what);
        Tick(kCurrentsOff, false);
        Tick(kVoltagesOff, false);
        Tick(c.lineVoltages ? kLineVoltages : kPhaseVoltages, true);
        Tick(kComputeIb, c.computeIb);
        Tick(kCurrentsOff, c.currentsOff);
        Tick(kVoltagesOff, c.voltagesOff);
        EXPECT_EQ(Get(&CQAnPropPg::GetChannelNames), c.names);
        EXPECT_EQ(Get(&CQAnPropPg::GetFormulas), c.formulas);
        EXPECT_TRUE(ok);
    }
    // A voltage channel with a blank in its name is quoted.
    Tick(kVoltagesOff, false);
    Tick(kPhaseVoltages, true);
    Choose(kUc, L"U c");
    EXPECT_EQ(Get(&CQAnPropPg::GetFormulas).back(), L"3U0: (Ua, Ub, \"U c\")");
}

// Which missing channels keep the sheet from being confirmed.
struct OkCase {
    const char* what;
    std::initializer_list<const wchar_t*> channels;
    bool currentsOff, voltagesOff, computeIb, lineVoltages;
    bool ok;
};

TEST(SymmPageOk, MissingChannelsOfAGroupInUseDisableConfirming) {
    const OkCase cases[] = {
        {"all there", {L"Ia", L"Ib", L"Ic", L"Ua", L"Ub", L"Uc", L"Uab", L"Ubc"}, false, false, false, false, true},
        {"no Ib", {L"Ia", L"Ic", L"Ua", L"Ub", L"Uc"}, false, false, false, false, false},
        {"no Ib, computed", {L"Ia", L"Ic", L"Ua", L"Ub", L"Uc"}, false, false, true, false, true},
        {"no Ic", {L"Ia", L"Ib", L"Ua", L"Ub", L"Uc"}, false, false, false, false, false},
        {"no currents, switched off", {L"Ua", L"Ub", L"Uc"}, true, false, false, false, true},
        {"phase voltages without line ones", {L"Ia", L"Ib", L"Ic", L"Ua", L"Ub", L"Uc"}, false, false, false, false, true},
        {"line voltages without phase ones", {L"Ia", L"Ib", L"Ic", L"Uab", L"Ubc"}, false, false, false, true, true},
        // Line voltages need their channels as phase voltages need theirs.
        {"line voltages missing", {L"Ia", L"Ib", L"Ic", L"Ua", L"Ub", L"Uc", L"Uab"}, false, false, false, true, false},
        {"no Ub", {L"Ia", L"Ib", L"Ic", L"Ua", L"Uc"}, false, false, false, false, false},
        {"no voltages, switched off", {L"Ia", L"Ib", L"Ic"}, false, true, false, false, true},
    };
    for (const OkCase& c : cases) {
        SCOPED_TRACE(c.what);
        struct Page : SymmPage {
            void TestBody() override {}
        } p;
        p.Make(c.channels);
        p.Tick(c.lineVoltages ? kLineVoltages : kPhaseVoltages, true);
        p.Tick(kComputeIb, c.computeIb);
        p.Tick(kCurrentsOff, c.currentsOff);
        p.Tick(kVoltagesOff, c.voltagesOff);
        EXPECT_EQ(p.ok, c.ok);
        EXPECT_EQ(p.page.CanConfirm(), c.ok);
    }
}

TEST_F(SymmPage, OneGroupStaysOnAndTheListsFollowTheChoices) {
    Make({L"Ia", L"Ib", L"Ic", L"Ua", L"Ub", L"Uc", L"Uab", L"Ubc"});
    EXPECT_TRUE(controls.IsControlEnabled(kUa));
    EXPECT_FALSE(controls.IsControlEnabled(kUab));
    Tick(kCurrentsOff, true);
    for (int id : {kIa, kIb, kIc, kLabelIa, kComputeIb, kIsolatedNote, kVoltagesOff}) EXPECT_FALSE(controls.IsControlEnabled(id)) << id;
    Tick(kCurrentsOff, false);
    EXPECT_TRUE(controls.IsControlEnabled(kVoltagesOff));
    EXPECT_TRUE(controls.IsControlEnabled(kIb));
    Tick(kVoltagesOff, true);
    for (int id : {kUa, kUab, kLabelUbc, kPhaseVoltages, kLineVoltages, kCurrentsOff}) EXPECT_FALSE(controls.IsControlEnabled(id)) << id;
    Tick(kVoltagesOff, false);
    EXPECT_TRUE(controls.IsControlEnabled(kCurrentsOff));
    Tick(kLineVoltages, true);
    EXPECT_FALSE(controls.IsControlEnabled(kUa));
    EXPECT_FALSE(controls.IsControlEnabled(kLabelUb));
    EXPECT_TRUE(controls.IsControlEnabled(kUab));
    EXPECT_TRUE(controls.IsControlEnabled(kLabelUbc));
    Tick(kComputeIb, true);
    EXPECT_FALSE(controls.IsControlEnabled(kIb));
    EXPECT_FALSE(controls.IsControlEnabled(kLabelIb));
    // With Ib computed, switching the currents off and on again leaves Ib's list off.
    Tick(kCurrentsOff, true);
    Tick(kCurrentsOff, false);
    EXPECT_FALSE(controls.IsControlEnabled(kIb));
    EXPECT_TRUE(controls.IsControlEnabled(kIa));
}

TEST_F(SymmPage, StateRoundTripsThroughTheSettingsFile) {
    Make({L"Ia", L"Ib", L"Ic", L"I c2", L"Ua", L"Ub", L"Uc", L"Uab", L"Ubc"});
    Choose(kIc, L"I c2");
    Tick(kComputeIb, true);
    Tick(kLineVoltages, true);
    page.SaveState(store.GetCategory(page.GetPageKey()));
    SettingsNode& saved = store.GetCategory(L"SymmetricItemsPage");
    EXPECT_EQ(saved.GetSubCategory(L"IC").GetString(L"channelName", CString()), CString(L"I c2"));
    EXPECT_EQ(saved.GetInt(L"calcIBState", -1), 1);
    EXPECT_EQ(saved.GetInt(L"phaseVoltState", -1), 0);
    EXPECT_EQ(saved.GetInt(L"lineVoltState", -1), 1);
    EXPECT_EQ(saved.GetInt(L"currOffState", -1), 0);
    const std::vector<std::wstring> before = Get(&CQAnPropPg::GetFormulas);

    testutil::TempDir dir;
    const CString path(platform::Utf8ToWide(dir.File("rec.set")));
    ASSERT_TRUE(store.Save(path));
    SettingsStore reread;
    ASSERT_TRUE(reread.Load(path));
    store = reread;
    ArgumentControlMap fresh;
    for (int id : PageControls()) fresh.Add(id);
    fresh.SetCheck(kPhaseVoltages, true);
    controls = fresh;
    FillArgumentControls(page.m_filler, &doc.GetOscillogram());
    page.LoadState(store.GetCategory(page.GetPageKey()));
    EXPECT_EQ(controls.GetText(kIc), CString(L"I c2"));
    EXPECT_TRUE(controls.IsChecked(kComputeIb));
    EXPECT_TRUE(controls.IsChecked(kLineVoltages));
    EXPECT_FALSE(controls.IsChecked(kPhaseVoltages));
    EXPECT_FALSE(controls.IsControlEnabled(kIb));
    EXPECT_FALSE(controls.IsControlEnabled(kUa));
    EXPECT_EQ(Get(&CQAnPropPg::GetFormulas), before);
}

}  // namespace
