#pragma once
#include <wx/dialog.h>

#include "model/AppOptions.h"

class wxHyperlinkCtrl;
class wxRadioButton;

// Program settings: the folder of record description files and how COMTRADE 2013 times are
// shown. The options change only on OK.
class CProgSettingdDlg : public wxDialog {
public:
    CProgSettingdDlg(wxWindow* parent, AppOptions& options);

    // The folder the dialog holds now.
    const wxString& GetFolder() const { return m_folder; }

private:
    void SetFolder(const wxString& folder);
    void OnBrowse(wxCommandEvent&);
    void OnOk(wxCommandEvent&);

    AppOptions& m_options;
    wxString m_folder;
    wxHyperlinkCtrl* m_link = nullptr;
    wxRadioButton* m_utc = nullptr;
    wxRadioButton* m_local = nullptr;
};
