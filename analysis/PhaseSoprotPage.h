#pragma once
// The phase-impedance page without its window: the loop impedances "Za", "Zb" and "Zc" of the
// three phases, compensated by the zero-sequence current "3I0" the page makes first and, when
// a channel of it is chosen, by the zero-sequence current of a parallel line. The compensation
// is given by the line's specific parameters per kilometre or by compensation coefficients.
#include "analysis/QAnHolderPage.h"

class PhaseSoprotPage final : public QAnHolderPage {
public:
    PhaseSoprotPage();

    CString GetPageKey() const override { return L"PhaseResistPage"; }
    void GetCircleDiagramItems(QAnNameSet& out) override;
    QAnDiagramOptions GetDiagramOptions() override;
    void UpdateControls() override;
    void LoadState(SettingsNode& category) override;
    void SaveState(SettingsNode& category) override;

protected:
    void MakeItems() override;
    void ApplyRules(int id) override;

private:
    // Whether a parallel line's current is chosen (the list shows neither nothing nor "Не учитывать").
    bool HasParallelLine() const;
    void ApplyModeRule();
};
