#pragma once
#include "analysis/MezphaseSoedPage.h"
#include "app/QAnHolderPageWindow.h"

// The interphase-impedance page of the quick-analysis sheet.
class CQAnMezphaseSoedPg final : public QAnHolderPageWindow {
public:
    CQAnMezphaseSoedPg(wxWindow* parent, CQAnPropSheet& sheet);
    wxString GetTitle() const override;
    // Line voltages when the record has no phase voltages.
    bool SmokeFill() override;

private:
    MezphaseSoedPage m_page;
};
