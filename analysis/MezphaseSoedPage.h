#pragma once
// The interphase-impedance page without its window: the impedances "Zab", "Zbc" and "Zca" a
// distance relay sees between phases, from the phase currents and either the phase or the line
// voltages, with the line voltages (and the phase-B current of a network with an isolated
// neutral) they need made on the way.
#include "analysis/QAnHolderPage.h"

class MezphaseSoedPage final : public QAnHolderPage {
public:
    MezphaseSoedPage();

    CString GetPageKey() const override { return L"InterPhaseResistPage"; }
    void GetCircleDiagramItems(QAnNameSet& out) override;
    QAnDiagramOptions GetDiagramOptions() override;
    void UpdateControls() override;
    void LoadState(SettingsNode& category) override;
    void SaveState(SettingsNode& category) override;

protected:
    void MakeItems() override;
    void ApplyRules(int id) override;

private:
    void ApplyVoltageRule();
    void ApplyIbRule();
};
