#pragma once
#include <wx/dialog.h>

#include <array>

#include "model/AppOptions.h"

class wxHyperlinkCtrl;
class wxRadioButton;

// Program settings: the folder of record description files, how COMTRADE 2013 times are
// shown, and the language of the texts from the next start on (the system's, Russian or
// English). The options change only on OK.
class CProgSettingdDlg : public wxDialog {
public:
    CProgSettingdDlg(wxWindow* parent, AppOptions& options);

    // The folder the dialog holds now.
    const wxString& GetFolder() const { return m_folder; }

    // The language's radio button, top to bottom, and back.
    static size_t LanguageIndex(platform::TextLanguage language);
    static platform::TextLanguage LanguageAt(size_t index);

private:
    void SetFolder(const wxString& folder);
    void OnBrowse(wxCommandEvent&);
    void OnOk(wxCommandEvent&);

    AppOptions& m_options;
    wxString m_folder;
    wxHyperlinkCtrl* m_link = nullptr;
    wxRadioButton* m_utc = nullptr;
    wxRadioButton* m_local = nullptr;
    std::array<wxRadioButton*, 3> m_languages{};
};
