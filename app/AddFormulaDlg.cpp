#include "app/AddFormulaDlg.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/imaglist.h>
#include <wx/panel.h>
#include <wx/scrolwin.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <functional>

#include "model/Resources.h"
#include "model/TenvorikException.h"
#include "platform/UiServices.h"
#include "platform/ui/WxUiServices.h"

using platform::FromWx;
using platform::ToWx;

namespace {

constexpr int kTreeId = 1039;
constexpr int kNameId = 1034;
constexpr int kPlaceholderId = 1035;
constexpr unsigned kStrTitle = 9940;
constexpr unsigned kStrName = 9941;
constexpr unsigned kStrArguments = 9942;
constexpr unsigned kStrCancel = 3328;

class TreeCode : public wxTreeItemData {
public:
    explicit TreeCode(int c) : code(c) {}
    int code;
};

}  // namespace

AddFormulaDlg::AddFormulaDlg(wxWindow* parent, const CString& initialName, const COscillogram* record,
                             std::vector<CString> takenNames)
    : wxDialog(parent, wxID_ANY, ToWx(LoadResString(kStrTitle)), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_model(initialName, record, std::move(takenNames)) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* body = new wxBoxSizer(wxHORIZONTAL);
    m_tree = new wxTreeCtrl(this, kTreeId, wxDefaultPosition, wxSize(300, 420),
                            wxTR_DEFAULT_STYLE | wxTR_HIDE_ROOT | wxTR_SINGLE);
    body->Add(m_tree, 0, wxEXPAND | wxALL, 8);

    auto* right = new wxBoxSizer(wxVERTICAL);
    right->Add(new wxStaticText(this, wxID_ANY, ToWx(LoadResString(kStrName))), 0, wxTOP, 8);
    m_name = new wxTextCtrl(this, kNameId, ToWx(m_model.GetName()), wxDefaultPosition, wxSize(420, -1));
    right->Add(m_name, 0, wxEXPAND | wxTOP, 4);
    right->Add(new wxStaticText(this, wxID_ANY, ToWx(LoadResString(kStrArguments))), 0, wxTOP, 12);
    m_placeholder = new wxPanel(this, kPlaceholderId, wxDefaultPosition, wxSize(420, 340));
    m_placeholder->SetSizer(new wxBoxSizer(wxVERTICAL));
    right->Add(m_placeholder, 1, wxEXPAND | wxTOP, 4);
    body->Add(right, 1, wxEXPAND | wxRIGHT, 8);
    top->Add(body, 1, wxEXPAND);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    auto* ok = new wxButton(this, wxID_OK);
    buttons->Add(ok, 0, wxRIGHT, 8);
    buttons->Add(new wxButton(this, wxID_CANCEL, ToWx(LoadResString(kStrCancel))), 0);
    top->Add(buttons, 0, wxEXPAND | wxALL, 8);
    ok->SetDefault();
    SetSizerAndFit(top);
    CentreOnParent();

    ShowPanel(400);
    FillTree();
    m_tree->Bind(wxEVT_TREE_SEL_CHANGED, &AddFormulaDlg::OnSelChanged, this);
    Bind(wxEVT_BUTTON, &AddFormulaDlg::OnOk, this, wxID_OK);
    m_name->SetFocus();
    m_name->SelectAll();
}

void AddFormulaDlg::FillTree() {
    auto* images = new wxImageList(16, 16, true);
    images->Add(wxArtProvider::GetBitmap(wxART_FOLDER, wxART_OTHER, wxSize(16, 16)));
    images->Add(wxArtProvider::GetBitmap(wxART_NORMAL_FILE, wxART_OTHER, wxSize(16, 16)));
    m_tree->AssignImageList(images);
    const wxTreeItemId root = m_tree->AddRoot(wxString());
    std::function<void(const wxTreeItemId&, const std::vector<FormulaTreeEntry>&)> add =
        [&](const wxTreeItemId& parent, const std::vector<FormulaTreeEntry>& entries) {
            for (const FormulaTreeEntry& e : entries) {
                const int image = e.code ? 1 : 0;
                const wxTreeItemId id =
                    m_tree->AppendItem(parent, ToWx(e.GetText()), image, image, new TreeCode(e.code));
                if (e.code) m_items[e.code] = id;
                add(id, e.children);
                if (!e.children.empty()) m_tree->Expand(id);
            }
        };
    add(root, FormulaFunctionTree());
}

void AddFormulaDlg::ShowPanel(int code) {
    m_model.ShowPanel(code);
    if (m_panel) m_panel->Destroy();
    // Items with many arguments scroll within the place the panel has.
    m_panel = new wxScrolledWindow(m_placeholder, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxVSCROLL);
    m_panel->SetScrollRate(0, 10);
    auto* grid = new wxFlexGridSizer(2, wxSize(8, 6));
    grid->AddGrowableCol(1, 1);
    ArgumentControlMap& values = m_model.Panel();
    for (const ArgumentField& f : m_model.GetFields()) {
        const wxString label = ToWx(f.label);
        switch (f.kind) {
            case ArgumentKind::Check: {
                auto* box = new wxCheckBox(m_panel, f.id, label);
                box->SetValue(values.IsChecked(f.id));
                grid->AddSpacer(0);
                grid->Add(box);
                break;
            }
            case ArgumentKind::Channel:
            case ArgumentKind::Choice: {
                wxArrayString entries;
                for (const CString& e : values.GetChoices(f.id)) entries.Add(ToWx(e));
                // Channel lists offer the record's channels only; number lists take a typed number.
                const long style = f.kind == ArgumentKind::Channel ? wxCB_READONLY : wxCB_DROPDOWN;
                auto* combo = new wxComboBox(m_panel, f.id, ToWx(values.GetText(f.id)), wxDefaultPosition,
                                             wxDefaultSize, entries, style | wxTE_PROCESS_ENTER);
                const int at = combo->FindString(ToWx(values.GetText(f.id)), true);
                if (at != wxNOT_FOUND) combo->SetSelection(at);
                grid->Add(new wxStaticText(m_panel, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL);
                grid->Add(combo, 1, wxEXPAND);
                break;
            }
            case ArgumentKind::Number:
            case ArgumentKind::Formula: {
                grid->Add(new wxStaticText(m_panel, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL);
                grid->Add(new wxTextCtrl(m_panel, f.id, ToWx(values.GetText(f.id)), wxDefaultPosition, wxDefaultSize,
                                         wxTE_PROCESS_ENTER),
                          1, wxEXPAND);
                break;
            }
        }
    }
    m_panel->SetSizer(grid);
    m_panel->FitInside();
    m_panel->Bind(wxEVT_COMBOBOX, &AddFormulaDlg::OnFieldChanged, this);
    m_panel->Bind(wxEVT_TEXT, &AddFormulaDlg::OnFieldChanged, this);
    m_panel->Bind(wxEVT_CHECKBOX, &AddFormulaDlg::OnFieldChanged, this);
    // Enter in a field is the dialog's OK, with the same checks.
    m_panel->Bind(wxEVT_TEXT_ENTER, &AddFormulaDlg::OnOk, this);
    m_placeholder->GetSizer()->Add(m_panel, 1, wxEXPAND);
    m_placeholder->Layout();
    if (wxWindow* ok = FindWindow(wxID_OK)) ok->Enable(m_model.CanConfirm());
}

void AddFormulaDlg::OnFieldChanged(wxCommandEvent& event) {
    const int id = event.GetId();
    wxWindow* w = m_panel ? m_panel->FindWindow(id) : nullptr;
    ArgumentControlMap& values = m_model.Panel();
    if (auto* box = dynamic_cast<wxCheckBox*>(w)) values.SetCheck(id, box->GetValue());
    else if (auto* combo = dynamic_cast<wxComboBox*>(w)) values.SetText(id, FromWx(combo->GetValue()));
    else if (auto* text = dynamic_cast<wxTextCtrl*>(w)) values.SetText(id, FromWx(text->GetValue()));
}

void AddFormulaDlg::OnSelChanged(wxTreeEvent& event) {
    auto* data = dynamic_cast<TreeCode*>(m_tree->GetItemData(event.GetItem()));
    ShowPanel(data ? data->code : 0);
}

bool AddFormulaDlg::SelectItem(int code) {
    auto it = m_items.find(code);
    if (it == m_items.end()) return false;
    m_tree->SelectItem(it->second);
    m_tree->EnsureVisible(it->second);
    // The toolkit may not report a selection made by the program.
    if (m_model.GetCode() != code) ShowPanel(code);
    return true;
}

void AddFormulaDlg::OnOk(wxCommandEvent&) {
    if (!m_model.CanConfirm()) return;
    m_model.SetName(FromWx(m_name->GetValue()));
    unsigned reason = 0;
    try {
        reason = m_model.Confirm();
    } catch (CException* e) {
        platform::Ui().MessageBox(e->GetErrorMessage(), CString(), MB_OK | MB_ICONERROR);
        e->Delete();
        return;
    }
    if (reason) {
        platform::Ui().MessageBox(LoadResString(reason), CString(), MB_OK | MB_ICONERROR);
        m_name->SetFocus();
        return;
    }
    EndModal(wxID_OK);
}

bool AddFormulaDlg::SmokeStep() {
    // The zero-sequence current of the phase currents, under the name proposed.
    SelectItem(402);
    wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
    OnOk(ok);
    return !IsModal();
}
