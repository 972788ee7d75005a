#pragma once
#include <wx/dialog.h>
#include <wx/treectrl.h>

#include <map>

#include "analysis/FormulaBuilder.h"
#include "app/SmokeHook.h"

class wxScrolledWindow;
class wxTextCtrl;

// The formula builder: the user names a new calculated channel, picks a function in the tree
// and fills its arguments in the panel beside it. After OK the caller reads the name and the
// formula. The window lays out what FormulaBuilderModel gives and keeps the model's controls
// in step with its own.
class AddFormulaDlg : public wxDialog, public SmokeDrivenDialog {
public:
    // `takenNames`: the names of the list the new channel joins.
    AddFormulaDlg(wxWindow* parent, const CString& initialName, const COscillogram* record,
                  std::vector<CString> takenNames);

    CString GetChannelName() const { return m_model.GetName(); }
    CString GetFormula() const { return m_model.GetFormula(); }
    FormulaBuilderModel& Model() { return m_model; }

    // Picks the tree's item of `code` as a click on it would.
    bool SelectItem(int code);
    bool SmokeStep() override;

private:
    void FillTree();
    void ShowPanel(int code);
    void OnSelChanged(wxTreeEvent& event);
    void OnOk(wxCommandEvent&);
    void OnFieldChanged(wxCommandEvent& event);

    FormulaBuilderModel m_model;
    wxTreeCtrl* m_tree = nullptr;
    wxTextCtrl* m_name = nullptr;
    wxWindow* m_placeholder = nullptr;
    wxScrolledWindow* m_panel = nullptr;
    std::map<int, wxTreeItemId> m_items;
};
