#include "analysis/SymmetricItems.h"

#include "analysis/CalcChannels.h"
#include "model/Oscillogram.h"
#include "model/SettingsStore.h"

using namespace symmpage;

namespace {

struct ListKey {
    int id;
    const wchar_t* key;
};
constexpr ListKey kLists[] = {{kIa, L"IA"}, {kIb, L"IB"},   {kIc, L"IC"},   {kUa, L"UA"},
                              {kUb, L"UB"}, {kUc, L"UC"}, {kUab, L"UAB"}, {kUbc, L"UBC"}};
constexpr ListKey kChecks[] = {{kCurrentsOff, L"currOffState"},
                               {kVoltagesOff, L"voltOffState"},
                               {kComputeIb, L"calcIBState"},
                               {kPhaseVoltages, L"phaseVoltState"},
                               {kLineVoltages, L"lineVoltState"}};

}  // namespace

bool SymmetricItemsModel::CurrentsWanted() {
    ArgumentControls& c = Controls();
    return c.HasControl(kCurrentsOff) && !c.IsChecked(kCurrentsOff) && c.HasControl(kComputeIb);
}

bool SymmetricItemsModel::VoltagesWanted() {
    ArgumentControls& c = Controls();
    return c.HasControl(kVoltagesOff) && !c.IsChecked(kVoltagesOff) && c.HasControl(kPhaseVoltages);
}

void SymmetricItemsModel::GetFormulas(std::vector<CString>& out) {
    out.clear();
    ArgumentControls& c = Controls();
    auto compose = [&](std::initializer_list<int> codes) {
        for (int code : codes) out.push_back(ComposeFormulaText(m_filler, code));
    };
    if (CurrentsWanted()) {
        if (c.IsChecked(kComputeIb)) {
            // The sequence currents take the computed phase-B current under the name its
            // channel will get.
            CString name = L"Ib";
            if (m_record) {
                const auto* list = dynamic_cast<const CalcChannels*>(m_record->m_derivedChannels.get());
                name = MakeUniqueName(*m_record, list ? list->FormulaNames() : std::vector<CString>(), {}, name);
            }
            c.SetText(kComputedIbName, name);
            compose({401, 800, 801});
        } else {
            compose({403, 404, 402});
        }
    }
    if (VoltagesWanted()) {
        if (c.IsChecked(kPhaseVoltages))
            compose({410, 411, 407});
        else
            compose({408, 409});
    }
}

void SymmetricItemsModel::GetChannelNames(std::vector<CString>& out) {
    out.clear();
    ArgumentControls& c = Controls();
    if (CurrentsWanted()) {
        if (c.IsChecked(kComputeIb))
            out.insert(out.end(), {L"Ib", L"I1", L"I2"});
        else
            out.insert(out.end(), {L"I1", L"I2", L"3I0"});
    }
    if (VoltagesWanted()) {
        if (c.IsChecked(kPhaseVoltages))
            out.insert(out.end(), {L"U1", L"U2", L"3U0"});
        else
            out.insert(out.end(), {L"U1", L"U2"});
    }
}

bool SymmetricItemsModel::Satisfied(int id) {
    return Controls().HasControl(id) && IsChannelPresent(Controls(), id);
}

bool SymmetricItemsModel::CanConfirm() {
    ArgumentControls& c = Controls();
    const bool currents = c.IsChecked(kCurrentsOff) ||
                          (Satisfied(kIa) && Satisfied(kIc) && (c.IsChecked(kComputeIb) || Satisfied(kIb)));
    // Line voltages need their two channels as phase voltages need their three.
    const bool voltages = c.IsChecked(kVoltagesOff) ||
                          (c.IsChecked(kPhaseVoltages) ? Satisfied(kUa) && Satisfied(kUb) && Satisfied(kUc)
                                                       : Satisfied(kUab) && Satisfied(kUbc));
    return currents && voltages;
}

void SymmetricItemsModel::UpdateControls() { EnableOk(CanConfirm()); }

void SymmetricItemsModel::OnComputeIb() {
    ArgumentControls& c = Controls();
    const bool own = !c.IsChecked(kComputeIb);
    c.EnableControl(kIb, own);
    c.EnableControl(kLabelIb, own);
    UpdateControls();
}

void SymmetricItemsModel::OnVoltageKind() {
    ArgumentControls& c = Controls();
    const bool phase = c.IsChecked(kPhaseVoltages);
    for (int id : {kUa, kUb, kUc, kLabelUa, kLabelUb, kLabelUc}) c.EnableControl(id, phase);
    for (int id : {kUab, kUbc, kLabelUab, kLabelUbc}) c.EnableControl(id, !phase);
    UpdateControls();
}

void SymmetricItemsModel::OnCurrentsOff() {
    ArgumentControls& c = Controls();
    if (c.IsChecked(kCurrentsOff)) {
        // One group stays on: the voltages' box is out of reach while the currents are off.
        for (int id : {kIsolatedNote, kLabelIa, kLabelIb, kLabelIc, kComputeIb, kIa, kIb, kIc, kVoltagesOff})
            c.EnableControl(id, false);
    } else {
        for (int id : {kIsolatedNote, kLabelIa, kLabelIc, kComputeIb, kIa, kIc, kVoltagesOff}) c.EnableControl(id, true);
        const bool own = !c.IsChecked(kComputeIb);
        c.EnableControl(kIb, own);
        c.EnableControl(kLabelIb, own);
    }
    UpdateControls();
}

void SymmetricItemsModel::OnVoltagesOff() {
    ArgumentControls& c = Controls();
    if (c.IsChecked(kVoltagesOff)) {
        for (int id : {kLabelUa, kLabelUb, kLabelUc, kLabelUab, kLabelUbc, kPhaseVoltages, kLineVoltages, kUa, kUb, kUc,
                       kUab, kUbc, kCurrentsOff})
            c.EnableControl(id, false);
        UpdateControls();
    } else {
        for (int id : {kPhaseVoltages, kLineVoltages, kCurrentsOff}) c.EnableControl(id, true);
        OnVoltageKind();
    }
}

void SymmetricItemsModel::LoadState(SettingsNode& category) {
    ArgumentControls& c = Controls();
    for (const ListKey& l : kLists) RestoreComboSelection(c, category, l.id, l.key, true);
    for (const ListKey& k : kChecks) RestoreCheck(c, category, k.key, k.id);
    // The controls follow the restored choices.
    OnComputeIb();
    OnVoltageKind();
    OnCurrentsOff();
    OnVoltagesOff();
}

void SymmetricItemsModel::SaveState(SettingsNode& category) {
    ArgumentControls& c = Controls();
    for (const ListKey& l : kLists) SaveComboSelection(c, category, l.id, l.key, true);
    for (const ListKey& k : kChecks) category.SetInt(k.key, c.IsChecked(k.id) ? 1 : 0);
}
