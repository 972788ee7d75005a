#include "app/CommentDlg.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

#include <cstdlib>

#include "document/TenvorikDoc.h"
#include "model/CommentList.h"
#include "model/CommentStrings.h"
#include "model/Resources.h"
#include "platform/Encoding.h"
#include "platform/UiServices.h"
#include "platform/ui/WxUiServices.h"

using platform::FromWx;
using platform::ToWx;

namespace {
enum : int { kTextId = 1005, kCodePageId = 1087 };
}

CCommentDlg::CCommentDlg(wxWindow* parent, CTenvorikDoc& doc, const CString& text)
    : wxDialog(parent, wxID_ANY, ToWx(LoadResString(IDS_COMMENT_DIALOG_TITLE)), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_doc(doc), m_text(text) {
    Build();
}

CCommentDlg::CCommentDlg(wxWindow* parent, CTenvorikDoc& doc, CStringA* target)
    : wxDialog(parent, wxID_ANY, ToWx(LoadResString(IDS_COMMENT_DIALOG_TITLE)), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_doc(doc), m_target(target) {
    m_option = m_openingOption = doc.m_settings.GetCategory(L"Comments").GetInt(L"Codepage", 0) ? 1 : 0;
    m_utf8Header = target && doc.m_utf8Texts && platform::IsUtf8(target->view());
    if (target) m_text = m_utf8Header ? doc.RecordText(*target) : HeaderCommentToText(*target, m_option);
    Build();
}

void CCommentDlg::Build() {
    auto* top = new wxBoxSizer(wxVERTICAL);
    m_edit = new wxTextCtrl(this, kTextId, ToWx(m_text), wxDefaultPosition, wxSize(420, 200),
                            wxTE_MULTILINE | wxHSCROLL);
    top->Add(m_edit, 1, wxEXPAND | wxALL, 8);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    wxArrayString pages;
    pages.Add(ToWx(LoadResString(IDS_COMMENT_CODEPAGE_OEM)));
    pages.Add(ToWx(LoadResString(IDS_COMMENT_CODEPAGE_ANSI)));
    m_codePage = new wxChoice(this, kCodePageId, wxDefaultPosition, wxDefaultSize, pages);
    m_codePage->SetSelection(m_option);
    // The code page belongs to the header's bytes only.
    m_codePage->Show(m_target != nullptr && !m_utf8Header);
    m_codePage->Bind(wxEVT_CHOICE, &CCommentDlg::OnCodePage, this);
    Bind(wxEVT_BUTTON, &CCommentDlg::OnOk, this, wxID_OK);
    row->Add(m_codePage, 0, wxALIGN_CENTER_VERTICAL);
    row->AddStretchSpacer();
    row->Add(new wxButton(this, wxID_OK, wxS("OK")), 0, wxRIGHT, 8);
    row->Add(new wxButton(this, wxID_CANCEL, ToWx(LoadResString(IDS_COMMENT_CANCEL))));
    top->Add(row, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    SetSizerAndFit(top);
    CentreOnParent();
    m_edit->SetFocus();
}

void CCommentDlg::OnCodePage(wxCommandEvent&) {
    const int chosen = m_codePage->GetSelection() == 1 ? 1 : 0;
    if (chosen == m_option) return;
    const CString text = FromWx(m_edit->GetValue());
    m_option = chosen;
    // Text the old code page cannot hold was typed, not read from the header's bytes: the
    // user chose a code page to write it in, and reading bytes again would lose those characters.
    if (!HeaderCommentUnfitChars(text, 1 - chosen).IsEmpty()) return;
    m_text = HeaderCommentToText(HeaderCommentFromText(text, 1 - chosen), chosen);
    m_edit->ChangeValue(ToWx(m_text));
}

bool CCommentDlg::ConfirmCodePage() {
    // A header held as UTF-8 keeps every character: there is nothing to ask.
    if (!m_target || m_utf8Header) return true;
    int suggested = -1;
    const CString question = HeaderCommentLossQuestion(FromWx(m_edit->GetValue()), m_option, suggested);
    if (question.IsEmpty()) return true;
    const CString title = LoadResString(IDS_COMMENT_DIALOG_TITLE);
    if (suggested < 0)
        return platform::Ui().MessageBox(question, title, MB_OKCANCEL | MB_ICONWARNING) == IDOK;
    switch (platform::Ui().MessageBox(question, title, MB_YESNOCANCEL | MB_ICONWARNING)) {
        case IDYES:
            // The text as typed, written in the code page that holds it.
            m_option = suggested;
            m_codePage->SetSelection(suggested);
            return true;
        case IDNO: return true;
        default: return false;
    }
}

void CCommentDlg::OnOk(wxCommandEvent& event) {
    // Back in the dialog, nothing of the text lost, when the user would rather edit it.
    if (!ConfirmCodePage()) return;
    event.Skip();
}

bool CCommentDlg::EditText(CString* out) {
    if (ShowModal() != wxID_OK) return false;
    m_text = FromWx(m_edit->GetValue());
    if (!m_target) {
        if (!out) return false;
        *out = m_text;
        return true;
    }
    if (m_utf8Header) {
        const CStringA bytes = m_doc.RecordBytes(m_text);
        if (bytes == *m_target) return false;
        *m_target = bytes;
        return true;
    }
    const CStringA bytes = HeaderCommentFromText(m_text, m_option);
    m_doc.m_settings.GetCategory(L"Comments").SetInt(L"Codepage", m_option);
    if (m_option != m_openingOption) m_doc.SetModifiedFlag(true);
    if (bytes == *m_target) return false;
    *m_target = bytes;
    return true;
}

bool CCommentDlg::SmokeStep() {
    const char* text = std::getenv("TENVORIK_SMOKE_COMMENT");
    if (text && *text) m_edit->ChangeValue(wxString::FromUTF8(text));
    EndModal(text && *text ? wxID_OK : wxID_CANCEL);
    return true;
}
