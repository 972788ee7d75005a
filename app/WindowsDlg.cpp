#include "app/WindowsDlg.h"

#include <wx/button.h>
#include <wx/docview.h>
#include <wx/listbox.h>
#include <wx/mdi.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <algorithm>

#include "model/Resources.h"
#include "platform/ui/WxUiServices.h"

using platform::ToWx;

namespace {

enum : unsigned { kTitle = 62227, kLabel = 62228, kActivate = 62229, kSave = 62230, kClose = 62231, kOk = 62232 };

wxString RecordLine(wxDocument& doc) {
    // As its tab names it, with the mark of unsaved changes.
    wxString name = doc.GetUserReadableName();
    if (doc.IsModified()) name += wxS("*");
    return name;
}

}  // namespace

bool CanSaveRecord(wxDocument& doc) {
    // The record's own rule first (a converted record is saved only under a new name), then the
    // document manager's: there must be something to save.
    wxUpdateUIEvent update(wxID_SAVE);
    update.SetEventObject(&doc);
    doc.ProcessEvent(update);
    if (update.GetSetEnabled() && !update.GetEnabled()) return false;
    return !doc.AlreadySaved();
}

WindowsDlg::WindowsDlg(wxWindow* parent, wxDocManager& manager, std::function<std::vector<wxDocument*>()> records)
    : wxDialog(parent, wxID_ANY, ToWx(LoadResString(kTitle)), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_manager(manager),
      m_source(std::move(records)) {
    auto* left = new wxBoxSizer(wxVERTICAL);
    left->Add(new wxStaticText(this, wxID_ANY, ToWx(LoadResString(kLabel))), 0, wxBOTTOM, 4);
    m_list = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(320, 220), 0, nullptr, wxLB_EXTENDED | wxLB_NEEDED_SB);
    left->Add(m_list, 1, wxEXPAND);

    auto* buttons = new wxBoxSizer(wxVERTICAL);
    m_activate = new wxButton(this, wxID_ANY, ToWx(LoadResString(kActivate)));
    auto* ok = new wxButton(this, wxID_OK, ToWx(LoadResString(kOk)));
    m_save = new wxButton(this, wxID_ANY, ToWx(LoadResString(kSave)));
    m_close = new wxButton(this, wxID_ANY, ToWx(LoadResString(kClose)));
    for (wxButton* b : {m_activate, ok, m_save, m_close}) buttons->Add(b, 0, wxEXPAND | wxBOTTOM, 6);

    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(left, 1, wxEXPAND | wxALL, 12);
    top->Add(buttons, 0, wxTOP | wxRIGHT | wxBOTTOM, 12);
    SetSizerAndFit(top);
    // Enter activates the chosen record; Escape closes the dialog as "ОК" does.
    m_activate->SetDefault();
    SetAffirmativeId(wxID_NONE);
    SetEscapeId(wxID_OK);

    m_activate->Bind(wxEVT_BUTTON, &WindowsDlg::OnActivate, this);
    m_save->Bind(wxEVT_BUTTON, &WindowsDlg::OnSave, this);
    m_close->Bind(wxEVT_BUTTON, &WindowsDlg::OnCloseRecords, this);
    m_list->Bind(wxEVT_LISTBOX_DCLICK, &WindowsDlg::OnActivate, this);
    m_list->Bind(wxEVT_LISTBOX, [this](wxCommandEvent&) { UpdateButtons(); });
    Fill();
    m_list->SetFocus();
    CentreOnParent();
    // Once on the screen the list takes the keys for real: a window is given them only then.
    Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& e) {
        e.Skip();
        CallAfter([this] {
            Raise();
            m_list->SetFocus();
        });
    });
}

void WindowsDlg::Fill() {
    const std::vector<wxDocument*> chosen = Chosen();
    m_records = m_source ? m_source() : std::vector<wxDocument*>();
    wxArrayString lines;
    for (wxDocument* doc : m_records) lines.Add(RecordLine(*doc));
    m_list->Set(lines);
    bool any = false;
    for (size_t i = 0; i < m_records.size(); ++i)
        if (std::find(chosen.begin(), chosen.end(), m_records[i]) != chosen.end()) {
            m_list->SetSelection(int(i));
            any = true;
        }
    if (!any)
        for (size_t i = 0; i < m_records.size(); ++i)
            if (m_records[i] == m_manager.GetCurrentDocument()) m_list->SetSelection(int(i));
    if (!any && m_list->GetCount() > 0 && !m_manager.GetCurrentDocument()) m_list->SetSelection(0);
    UpdateButtons();
}

std::vector<wxDocument*> WindowsDlg::Chosen() const {
    std::vector<wxDocument*> docs;
    wxArrayInt at;
    if (!m_list) return docs;
    m_list->GetSelections(at);
    for (int i : at)
        if (i >= 0 && size_t(i) < m_records.size()) docs.push_back(m_records[size_t(i)]);
    return docs;
}

void WindowsDlg::UpdateButtons() {
    const std::vector<wxDocument*> chosen = Chosen();
    m_activate->Enable(chosen.size() == 1);
    m_close->Enable(!chosen.empty());
    bool savable = false;
    for (wxDocument* doc : chosen) savable |= CanSaveRecord(*doc);
    m_save->Enable(savable);
}

void WindowsDlg::OnActivate(wxCommandEvent&) {
    const std::vector<wxDocument*> chosen = Chosen();
    if (chosen.size() != 1) return;
    wxView* view = chosen.front()->GetFirstView();
    if (auto* frame = view ? dynamic_cast<wxMDIChildFrameBase*>(view->GetFrame()) : nullptr) frame->Activate();
    else if (view) view->Activate(true);
    EndModal(wxID_OK);
}

void WindowsDlg::OnSave(wxCommandEvent&) {
    // As the save command saves each: a record that refuses (or whose file dialog is
    // cancelled) stops the rest.
    for (wxDocument* doc : Chosen())
        if (CanSaveRecord(*doc) && !doc->Save()) break;
    Fill();
}

void WindowsDlg::OnCloseRecords(wxCommandEvent&) {
    // As the close command closes each: a record with changes asks first, and a cancel keeps it
    // and those after it.
    for (wxDocument* doc : Chosen())
        if (!m_manager.CloseDocument(doc)) break;
    Fill();
    if (!m_records.empty() && Chosen().empty()) m_list->SetSelection(0);
    UpdateButtons();
    m_list->SetFocus();
}
