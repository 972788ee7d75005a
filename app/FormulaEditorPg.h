#pragma once
#include "analysis/FormulaEditor.h"
#include "app/QAnPropSheet.h"

class wxListCtrl;
class wxListEvent;
class wxTextCtrl;

// The formula-editor page: the record's calculated channels as rows of name and formula,
// added through the formula builder, edited in place with a double click, moved, deleted,
// and loaded from or saved to ".frm" lists. It edits a working copy; the sheet's OK hands
// the rows over.
class CQAnFormulaEditorPg : public QAnPageWindow {
public:
    CQAnFormulaEditorPg(wxWindow* parent, CQAnPropSheet& sheet);

    CQAnPropPg& Logic() override { return m_model; }
    wxString GetTitle() const override;
    wxBitmap GetIcon() const override;
    void CommitEdits() override { EndEdit(true); }

    // Opens the formula builder and appends its channel on OK.
    void AddRow();
    // True while the builder is open.
    bool IsAdding() const { return m_adding; }

private:
    void Reload();
    void SelectRow(int row);
    void OnButton(wxCommandEvent& event);
    void OnSelected(wxListEvent& event);
    void OnDoubleClick(wxMouseEvent& event);
    void OpenEdit(int row, int column);
    // Closes the open cell edit, keeping what was typed or not.
    void EndEdit(bool keep);

    FormulaEditorModel m_model;
    wxListCtrl* m_list = nullptr;
    wxTextCtrl* m_edit = nullptr;
    int m_editRow = -1, m_editColumn = -1;
    bool m_adding = false;
};
