#pragma once
#include "analysis/PhaseSoprotPage.h"
#include "app/QAnHolderPageWindow.h"

// The phase-impedance page of the quick-analysis sheet.
class CQAnPhaseSoprotPg final : public QAnHolderPageWindow {
public:
    CQAnPhaseSoprotPg(wxWindow* parent, CQAnPropSheet& sheet);
    wxString GetTitle() const override;

private:
    PhaseSoprotPage m_page;
};
