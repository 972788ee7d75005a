#pragma once
#include "analysis/SymmetricItems.h"
#include "app/QAnPropSheet.h"

// The symmetrical-components page: the phase currents and the phase or line voltages whose
// sequence components are wanted, each group of them able to be switched off.
class CQAnSymmSostPg : public QAnPageWindow {
public:
    CQAnSymmSostPg(wxWindow* parent, CQAnPropSheet& sheet);

    CQAnPropPg& Logic() override { return m_model; }
    wxString GetTitle() const override;
    wxBitmap GetIcon() const override;

private:
    void OnControl(wxCommandEvent& event);

    SymmetricItemsModel m_model;
};
