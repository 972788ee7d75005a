#pragma once
// The settings dialog of the harmonic spectrum: periods of the window, number of lines, values
// in percent or absolute, and what percent refers to.
#include <wx/dialog.h>

#include "diagrams/FourieDiagramWnd.h"

class wxRadioButton;
class wxStaticBox;
class wxTextCtrl;

class FourieDiagramSettingsDlg : public wxDialog {
public:
    // `sampleCount`, `samplingFrequency` and `netFrequency` of the record set the limits.
    FourieDiagramSettingsDlg(wxWindow* parent, const FourieSettings& settings, int64_t sampleCount,
                             double samplingFrequency, double netFrequency);
    // The options as the user left them; valid after OK.
    const FourieSettings& Settings() const { return m_settings; }

    bool TransferDataFromWindow() override;

private:
    void UpdateNormalisation();

    FourieSettings m_settings;
    int64_t m_count;
    double m_fs, m_f;
    wxTextCtrl *m_periods, *m_harmonics;
    wxRadioButton *m_percent, *m_absolute, *m_fundamental, *m_rms;
    wxStaticBox* m_normalisation;
};
