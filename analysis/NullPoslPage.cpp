#include "analysis/NullPoslPage.h"

#include "model/SettingsStore.h"

namespace {

constexpr int kIa = 1007, kIb = 1008, kIc = 1009;
constexpr int kMeasuredI0 = 2072;
constexpr int kUa = 1043, kUb = 1044, kUc = 1045;
constexpr int kUni = 1067, kUik = 2074, kMeasuredU0 = 1062;
constexpr int kCurrentOff = 2156, kVoltageOff = 2157;
constexpr int kCurrentComputed = 2047, kCurrentMeasured = 2049;
constexpr int kVoltageFromPhases = 2063, kVoltageFromDelta = 2064, kVoltageMeasured = 2065;
constexpr int kI0Holder = 2079, kU0Holder = 2078;

const std::initializer_list<std::pair<int, const wchar_t*>> kChannels = {
    {kIa, L"IA"},         {kIb, L"IB"},   {kIc, L"IC"},   {kUa, L"UA"},          {kUb, L"UB"},
    {kUc, L"UC"},         {kMeasuredI0, L"3I0_0"},        {kUni, L"UNI"},        {kUik, L"UIK"},
    {kMeasuredU0, L"3U0"},
};
const std::initializer_list<std::pair<int, const wchar_t*>> kChecks = {
    {kCurrentComputed, L"calcCurrState"},     {kCurrentMeasured, L"measuredCurrState"},
    {kVoltageFromPhases, L"calcUABCState"},   {kVoltageFromDelta, L"calcUniUicState"},
    {kVoltageMeasured, L"measuredVoltState"}, {kCurrentOff, L"currOffState"},
    {kVoltageOff, L"voltOffState"},
};

}  // namespace

NullPoslPage::NullPoslPage() : QAnHolderPage({kI0Holder, kU0Holder}) {}

bool NullPoslPage::CurrentOn() const { return Has(kCurrentOff) && !Checked(kCurrentOff); }

bool NullPoslPage::VoltageOn() const { return Has(kVoltageOff) && !Checked(kVoltageOff); }

void NullPoslPage::MakeItems() {
    if (CurrentOn() && Has(kCurrentComputed)) Compose(Checked(kCurrentComputed) ? 402 : 515, L"3I0");
    if (VoltageOn()) {
        if (Checked(kVoltageFromPhases))
            Compose(407, L"3U0");
        else if (Has(kVoltageFromDelta))
            Compose(Checked(kVoltageFromDelta) ? 517 : 516, L"3U0");
    }
    if (CurrentOn() && VoltageOn()) {
        SetHolder(kI0Holder, UniqueName(L"3I0"));
        SetHolder(kU0Holder, UniqueName(L"3U0"));
        Compose(518, L"S0");
    }
}

void NullPoslPage::GetVectorDiagramItems(QAnNameSet& out) {
    out.clear();
    if (CurrentOn()) out.insert(L"3I0");
    if (VoltageOn()) out.insert(L"3U0");
}

void NullPoslPage::GetCircleDiagramItems(QAnNameSet& out) {
    out.clear();
    if (CurrentOn() && VoltageOn()) out.insert(L"S0");
}

QAnDiagramOptions NullPoslPage::GetDiagramOptions() {
    QAnDiagramOptions options;
    if (VoltageOn()) options.angleChannel = L"3U0";
    options.showAngles = CurrentOn() || VoltageOn();
    options.circleView1 = CurrentOn() && VoltageOn();
    return options;
}

void NullPoslPage::UpdateControls() {
    // Both quantities must be computable: a good voltage choice does not make up for a current
    // without its channels.
    bool current = true;
    if (CurrentOn()) {
        if (!Checked(kCurrentMeasured)) current = AllChosen({kIa, kIb, kIc});
        if (!Checked(kCurrentComputed)) current = current && Chosen(kMeasuredI0);
    }
    bool voltage = true;
    if (!Checked(kVoltageOff)) {
        if (Checked(kVoltageFromPhases)) voltage = AllChosen({kUa, kUb, kUc});
        if (Checked(kVoltageFromDelta)) voltage = voltage && AllChosen({kUni, kUik});
        if (Checked(kVoltageMeasured)) voltage = voltage && Chosen(kMeasuredU0);
    }
    EnableOk(current && voltage);
}

void NullPoslPage::ApplyCurrentModeRule() {
    const bool computed = Checked(kCurrentComputed);
    Enable({kIa, kIb, kIc, 2053, 2054, 2055}, computed);
    Enable({kMeasuredI0, 2073}, !computed);
}

void NullPoslPage::ApplyVoltageSourceRule() {
    Enable({kUa, kUb, kUc, 2057, 2058, 2059}, Checked(kVoltageFromPhases));
    Enable({kUni, kUik, 2075, 2076}, Checked(kVoltageFromDelta));
    Enable({kMeasuredU0, 2077}, Checked(kVoltageMeasured));
}

void NullPoslPage::ApplyCurrentOffRule() {
    if (Checked(kCurrentOff)) {
        Enable({kCurrentComputed, kCurrentMeasured, 2053, 2054, 2055, 2073, kIa, kIb, kIc, kMeasuredI0, kVoltageOff},
               false);
    } else {
        Enable({kCurrentComputed, kCurrentMeasured, kVoltageOff}, true);
        ApplyCurrentModeRule();
    }
}

void NullPoslPage::ApplyVoltageOffRule() {
    if (Checked(kVoltageOff)) {
        Enable({kVoltageFromPhases, kVoltageFromDelta, kVoltageMeasured, 2057, 2058, 2059, 2075, 2076, 2077, kUa, kUb,
                kUc, kUni, kUik, kMeasuredU0, kCurrentOff},
               false);
    } else {
        Enable({kVoltageFromPhases, kVoltageFromDelta, kVoltageMeasured, kCurrentOff}, true);
        ApplyVoltageSourceRule();
    }
}

void NullPoslPage::ApplyRules(int id) {
    switch (id) {
        case kCurrentComputed:
        case kCurrentMeasured: ApplyCurrentModeRule(); break;
        case kVoltageFromPhases:
        case kVoltageFromDelta:
        case kVoltageMeasured: ApplyVoltageSourceRule(); break;
        case kCurrentOff: ApplyCurrentOffRule(); break;
        case kVoltageOff: ApplyVoltageOffRule(); break;
        default: break;
    }
}

void NullPoslPage::LoadState(SettingsNode& category) {
    RestoreChannels(category, kChannels);
    if (!m_filler.window) return;
    ArgumentControls& c = *m_filler.window;
    const bool computed = RestoreCheck(c, category, L"calcCurrState", kCurrentComputed);
    const bool measured = RestoreCheck(c, category, L"measuredCurrState", kCurrentMeasured);
    const bool phases = RestoreCheck(c, category, L"calcUABCState", kVoltageFromPhases);
    const bool delta = RestoreCheck(c, category, L"calcUniUicState", kVoltageFromDelta);
    const bool voltMeasured = RestoreCheck(c, category, L"measuredVoltState", kVoltageMeasured);
    const bool currentOff = RestoreCheck(c, category, L"currOffState", kCurrentOff);
    const bool voltageOff = RestoreCheck(c, category, L"voltOffState", kVoltageOff);
    CheckRadio(measured && !computed ? kCurrentMeasured : kCurrentComputed, {kCurrentComputed, kCurrentMeasured});
    const int source = phases ? kVoltageFromPhases : delta ? kVoltageFromDelta : voltMeasured ? kVoltageMeasured
                                                                                              : kVoltageFromPhases;
    CheckRadio(source, {kVoltageFromPhases, kVoltageFromDelta, kVoltageMeasured});
    // Both switched off would leave nothing to compute and neither box to tick again; the
    // current's choice is kept.
    if (currentOff && voltageOff) c.SetCheck(kVoltageOff, false);
    ApplyCurrentModeRule();
    ApplyVoltageSourceRule();
    OnControlChanged(kCurrentOff);
    OnControlChanged(kVoltageOff);
}

void NullPoslPage::SaveState(SettingsNode& category) {
    SaveChannels(category, kChannels);
    SaveChecks(category, kChecks);
}
