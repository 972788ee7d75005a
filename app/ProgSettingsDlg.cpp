#include "app/ProgSettingsDlg.h"

#include <wx/button.h>
#include <wx/dirdlg.h>
#include <wx/filename.h>
#include <wx/hyperlink.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "model/Resources.h"
#include "platform/ui/WxUiServices.h"

using platform::ToWx;

namespace {
constexpr int kLinkId = 2002;
constexpr int kBrowseId = 2003;
constexpr int kUtcId = 2132;
constexpr int kLocalId = 4004;
constexpr int kLanguageSystemId = 2140;
constexpr int kLanguageRussianId = 2141;
constexpr int kLanguageEnglishId = 2142;
}  // namespace

CProgSettingdDlg::CProgSettingdDlg(wxWindow* parent, AppOptions& options)
    : wxDialog(parent, wxID_ANY, ToWx(LoadResString(62003))), m_options(options) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY, ToWx(LoadResString(62006))), 0, wxLEFT | wxRIGHT | wxTOP, 12);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    m_link = new wxHyperlinkCtrl(this, kLinkId, wxS(" "), wxS("file:///"), wxDefaultPosition, wxSize(380, -1),
                                 wxHL_ALIGN_LEFT | wxHL_CONTEXTMENU);
    row->Add(m_link, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    row->Add(new wxButton(this, kBrowseId, wxS("..."), wxDefaultPosition, wxSize(40, -1)), 0);
    top->Add(row, 0, wxEXPAND | wxALL, 12);
    top->Add(new wxStaticText(this, wxID_ANY, ToWx(LoadResString(62007))), 0, wxLEFT | wxRIGHT, 12);
    m_utc = new wxRadioButton(this, kUtcId, ToWx(LoadResString(62004)), wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    m_local = new wxRadioButton(this, kLocalId, ToWx(LoadResString(62005)));
    top->Add(m_utc, 0, wxLEFT | wxRIGHT | wxTOP, 12);
    top->Add(m_local, 0, wxLEFT | wxRIGHT | wxTOP, 12);
    // The texts are read at start: the choice is for the next one.
    top->Add(new wxStaticText(this, wxID_ANY, ToWx(LoadResString(62091))), 0, wxLEFT | wxRIGHT | wxTOP, 12);
    m_languages[0] = new wxRadioButton(this, kLanguageSystemId, ToWx(LoadResString(62092)), wxDefaultPosition,
                                       wxDefaultSize, wxRB_GROUP);
    m_languages[1] = new wxRadioButton(this, kLanguageRussianId, ToWx(LoadResString(62093)));
    m_languages[2] = new wxRadioButton(this, kLanguageEnglishId, ToWx(LoadResString(62094)));
    for (wxRadioButton* b : m_languages) top->Add(b, 0, wxLEFT | wxRIGHT | wxTOP, 12);
    top->Add(new wxStaticText(this, wxID_ANY, ToWx(LoadResString(62095))), 0, wxLEFT | wxRIGHT | wxTOP, 12);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    buttons->Add(new wxButton(this, wxID_OK, ToWx(LoadResString(62008))), 0, wxRIGHT, 8);
    buttons->Add(new wxButton(this, wxID_CANCEL, ToWx(LoadResString(62001))), 0);
    top->Add(buttons, 0, wxEXPAND | wxALL, 12);
    SetSizerAndFit(top);
    CentreOnParent();

    SetFolder(ToWx(m_options.dstFolder));
    (m_options.utcForComtrade2013 ? m_utc : m_local)->SetValue(true);
    m_languages[LanguageIndex(m_options.textLanguage)]->SetValue(true);
    Bind(wxEVT_BUTTON, &CProgSettingdDlg::OnBrowse, this, kBrowseId);
    Bind(wxEVT_BUTTON, &CProgSettingdDlg::OnOk, this, wxID_OK);
}

size_t CProgSettingdDlg::LanguageIndex(platform::TextLanguage language) {
    switch (language) {
    case platform::TextLanguage::Russian: return 1;
    case platform::TextLanguage::English: return 2;
    case platform::TextLanguage::System: break;
    }
    return 0;
}

platform::TextLanguage CProgSettingdDlg::LanguageAt(size_t index) {
    return index == 1   ? platform::TextLanguage::Russian
           : index == 2 ? platform::TextLanguage::English
                        : platform::TextLanguage::System;
}

void CProgSettingdDlg::SetFolder(const wxString& folder) {
    m_folder = folder;
    m_link->SetLabel(folder.empty() ? ToWx(LoadResString(62011)) : folder);
    m_link->SetURL(folder.empty() ? wxString(wxS("file:///")) : wxFileName::FileNameToURL(wxFileName::DirName(folder)));
    m_link->Enable(!folder.empty());
    Layout();
}

void CProgSettingdDlg::OnBrowse(wxCommandEvent&) {
    wxDirDialog dlg(this, ToWx(LoadResString(133)), m_folder, wxDD_DEFAULT_STYLE);
    // A cancelled browser leaves the folder as it was.
    if (dlg.ShowModal() == wxID_OK) SetFolder(dlg.GetPath());
}

void CProgSettingdDlg::OnOk(wxCommandEvent&) {
    m_options.dstFolder = platform::FromWx(m_folder);
    m_options.utcForComtrade2013 = m_utc->GetValue();
    for (size_t i = 0; i < m_languages.size(); ++i)
        if (m_languages[i]->GetValue()) m_options.textLanguage = LanguageAt(i);
    EndModal(wxID_OK);
}
