#include "app/QAnHolderPageWindow.h"

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

QAnHolderPageWindow::QAnHolderPageWindow(wxWindow* parent, CQAnPropSheet& sheet, QAnHolderPage& logic)
    : QAnPageWindow(parent, sheet), m_logic(logic) {
    Bind(wxEVT_CHOICE, &QAnHolderPageWindow::OnChange, this);
    Bind(wxEVT_TEXT, &QAnHolderPageWindow::OnChange, this);
    Bind(wxEVT_CHECKBOX, &QAnHolderPageWindow::OnChange, this);
    Bind(wxEVT_RADIOBUTTON, &QAnHolderPageWindow::OnChange, this);
}

void QAnHolderPageWindow::OnChange(wxCommandEvent& event) {
    // Changes made while the page fills itself are not the user's.
    if (IsInitialised()) m_logic.OnControlChanged(event.GetId());
    event.Skip();
}

wxSizer* QAnHolderPageWindow::AddGroup(wxSizer* into, const wxString& caption) {
    auto* box = new wxStaticBoxSizer(wxVERTICAL, this, caption);
    auto* grid = new wxFlexGridSizer(2, wxSize(8, 4));
    grid->AddGrowableCol(1, 1);
    box->Add(grid, 1, wxEXPAND | wxALL, 4);
    into->Add(box, 0, wxEXPAND | wxALL, 4);
    m_groupWindows[grid] = box->GetStaticBox();
    return grid;
}

wxWindow* QAnHolderPageWindow::GroupWindow(wxSizer* group) const {
    auto it = m_groupWindows.find(group);
    return it == m_groupWindows.end() ? const_cast<QAnHolderPageWindow*>(this) : it->second;
}

void QAnHolderPageWindow::AddChannel(wxSizer* group, int id, int labelId, const wxString& label) {
    wxWindow* parent = GroupWindow(group);
    auto* text = new wxStaticText(parent, labelId, label);
    group->Add(text, 0, wxALIGN_CENTER_VERTICAL);
    group->Add(new wxChoice(parent, id, wxDefaultPosition, wxSize(200, -1)), 1, wxEXPAND);
    AttachLabel(id, text);
}

void QAnHolderPageWindow::AddEdit(wxSizer* group, int id, int labelId, const wxString& label) {
    wxWindow* parent = GroupWindow(group);
    auto* text = new wxStaticText(parent, labelId, label);
    group->Add(text, 0, wxALIGN_CENTER_VERTICAL);
    group->Add(new wxTextCtrl(parent, id, wxString(), wxDefaultPosition, wxSize(200, -1)), 1, wxEXPAND);
    AttachLabel(id, text);
}

void QAnHolderPageWindow::AddCheck(wxSizer* group, int id, const wxString& text) {
    group->Add(new wxCheckBox(GroupWindow(group), id, text));
    group->AddSpacer(0);
}

void QAnHolderPageWindow::AddRadio(wxSizer* group, int id, const wxString& text, bool first) {
    group->Add(new wxRadioButton(GroupWindow(group), id, text, wxDefaultPosition, wxDefaultSize,
                                 first ? wxRB_GROUP : 0));
    group->AddSpacer(0);
}

void QAnHolderPageWindow::AddNote(wxSizer* group, int id, const wxString& text) {
    group->Add(new wxStaticText(GroupWindow(group), id, text));
    group->AddSpacer(0);
}
