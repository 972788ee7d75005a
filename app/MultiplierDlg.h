#pragma once
#include <wx/dialog.h>

#include "app/MultiplierTable.h"
#include "app/SmokeHook.h"

class wxGrid;
class wxGridEvent;
class wxTextCtrl;

// The transformation-ratio dialog: the table's rows in a grid; a double click edits a value
// cell, SHIFT marks the cells between the last edited one and this, CTRL keeps the marks
// when the edit ends. OK ends with wxID_OK only when something was typed that differs.
class MultiplierDlg : public wxDialog, public SmokeDrivenDialog {
public:
    MultiplierDlg(wxWindow* parent, MultiplierTable& table);
    ~MultiplierDlg() override;

    // A smoke run doubles the first channel's primary value and confirms.
    bool SmokeStep() override;

private:
    void OnDoubleClick(wxGridEvent& event);
    void OnClick(wxGridEvent& event);
    void OnOk(wxCommandEvent&);
    void BeginEdit(int row, int col, bool shift);
    // Ends an open edit; false when the typed text was refused.
    bool CommitEdit(bool ctrl);
    void CloseEditor();
    void ShowTable();

    MultiplierTable& m_table;
    wxGrid* m_grid = nullptr;
    wxTextCtrl* m_editor = nullptr;
    int m_smokeStep = 0;
};
