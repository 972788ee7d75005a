#pragma once
#include <wx/dialog.h>

#include "app/FileInfo.h"

class CTenvorikDoc;
class wxChoice;
class wxComboBox;
class wxStaticText;

// The record information dialog: the record's facts, with the sampling rate, the code page of
// its texts and the frequency-correction channel open to correction. "Close" applies.
class FileInfoDlg : public wxDialog {
public:
    FileInfoDlg(wxWindow* parent, CTenvorikDoc& doc);

private:
    // Into the controls.
    void Fill();
    // Out of the controls; false (and the dialog stays) when the rate is not a valid number.
    bool Apply();
    void OnOk(wxCommandEvent&);
    void OnCodePage(wxCommandEvent&);

    CTenvorikDoc& m_doc;
    wxStaticText* m_values[11] = {};
    wxComboBox* m_rate = nullptr;
    wxChoice* m_codePage = nullptr;
    wxChoice* m_correction = nullptr;
};
