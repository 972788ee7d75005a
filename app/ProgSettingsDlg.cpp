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
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    buttons->Add(new wxButton(this, wxID_OK, ToWx(LoadResString(62008))), 0, wxRIGHT, 8);
    buttons->Add(new wxButton(this, wxID_CANCEL, ToWx(LoadResString(62001))), 0);
    top->Add(buttons, 0, wxEXPAND | wxALL, 12);
    SetSizerAndFit(top);
    CentreOnParent();

    SetFolder(ToWx(m_options.dstFolder));
    (m_options.utcForComtrade2013 ? m_utc : m_local)->SetValue(true);
    Bind(wxEVT_BUTTON, &CProgSettingdDlg::OnBrowse, this, kBrowseId);
    Bind(wxEVT_BUTTON, &CProgSettingdDlg::OnOk, this, wxID_OK);
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
    EndModal(wxID_OK);
}
