#pragma once
#include <wx/dialog.h>

#include "platform/UiServices.h"

class wxGauge;

// The progress window shown while a record is converted to COMTRADE: one bar, modeless,
// centred on the screen.
class CProgrBarDlg : public wxDialog, public platform::ProgressWindow {
public:
    explicit CProgrBarDlg(wxWindow* parent);

    void CenterOnScreen();
    void StepTo(int position) override;
    void SetVisible(bool visible) override;

private:
    wxGauge* m_gauge = nullptr;
};
