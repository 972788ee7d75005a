#pragma once
#include "analysis/DiffCurrents.h"
#include "app/QAnPropSheet.h"

// The differential-currents page: arm and phase counts, the arm on show with its phase
// currents, scaling and connection group, and how the restraint current is formed.
class CQAnDiffCursPg : public QAnPageWindow {
public:
    CQAnDiffCursPg(wxWindow* parent, CQAnPropSheet& sheet);

    CQAnPropPg& Logic() override { return m_model; }
    wxString GetTitle() const override;
    wxBitmap GetIcon() const override;
    bool SmokeFill() override;

private:
    void OnChoice(wxCommandEvent& event);
    void OnButton(wxCommandEvent& event);
    void OnRadio(wxCommandEvent& event);
    // Chooses `text` in list `id` as a user would, handlers included.
    void Choose(int id, const wxString& text);

    DiffCurrentsModel m_model;
};
