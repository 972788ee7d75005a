#pragma once
// The zero-sequence page without its window: the zero-sequence current "3I0" (from the phase
// currents or a measured channel), the zero-sequence voltage "3U0" (from the phase voltages,
// the open-delta windings or a measured channel) and, with both, the zero-sequence power
// "S0"; either quantity can be switched off, not both.
#include "analysis/QAnHolderPage.h"

class NullPoslPage final : public QAnHolderPage {
public:
    NullPoslPage();

    CString GetPageKey() const override { return L"NullSequencePage"; }
    void GetVectorDiagramItems(QAnNameSet& out) override;
    void GetCircleDiagramItems(QAnNameSet& out) override;
    QAnDiagramOptions GetDiagramOptions() override;
    void UpdateControls() override;
    void LoadState(SettingsNode& category) override;
    void SaveState(SettingsNode& category) override;

protected:
    void MakeItems() override;
    void ApplyRules(int id) override;

private:
    bool CurrentOn() const;
    bool VoltageOn() const;
    void ApplyCurrentModeRule();
    void ApplyVoltageSourceRule();
    void ApplyCurrentOffRule();
    void ApplyVoltageOffRule();
};
