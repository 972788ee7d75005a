#pragma once
// The symmetrical-components page of quick analysis without its window: from three phase
// currents and three phase or two line voltages, the positive- and negative-sequence currents
// with the zero-sequence current or a computed phase-B current, and the positive- and
// negative-sequence voltages with, from phase voltages, the zero-sequence voltage.
#include "analysis/QuickAnalysis.h"

class COscillogram;

namespace symmpage {

enum : int {
    kIa = 1007,
    kIb = 1008,
    kIc = 1009,
    kUa = 1043,
    kUb = 1044,
    kUc = 1045,
    kUab = 1010,
    kUbc = 1011,
    kCurrentsOff = 2156,
    kVoltagesOff = 2157,
    kComputeIb = 2046,
    kPhaseVoltages = 2050,
    kLineVoltages = 2051,
    kIsolatedNote = 2062,
    kLabelIa = 2053,
    kLabelIb = 2054,
    kLabelIc = 2055,
    kLabelUa = 2057,
    kLabelUb = 2058,
    kLabelUc = 2059,
    kLabelUab = 2070,
    kLabelUbc = 2071,
    kComputedIbName = 2079,
};

}  // namespace symmpage

class SymmetricItemsModel : public CQAnPropPg {
public:
    // The computed phase-B current is named against `record`'s channels and calculated
    // channels (none: every name is free).
    explicit SymmetricItemsModel(const COscillogram* record) : m_record(record) {}

    CString GetPageKey() const override { return L"SymmetricItemsPage"; }
    void GetFormulas(std::vector<CString>& out) override;
    void GetChannelNames(std::vector<CString>& out) override;
    void UpdateControls() override;
    void LoadState(SettingsNode& category) override;
    void SaveState(SettingsNode& category) override;

    // The page's control handlers.
    void OnComputeIb();
    void OnVoltageKind();
    void OnCurrentsOff();
    void OnVoltagesOff();

    // Whether the choices let the sheet be confirmed.
    bool CanConfirm();

private:
    bool CurrentsWanted();
    bool VoltagesWanted();
    bool Satisfied(int id);

    const COscillogram* m_record = nullptr;
};
