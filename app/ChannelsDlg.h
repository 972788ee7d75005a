#pragma once
#include <wx/dialog.h>

#include "app/ChannelsTable.h"

class CTenvorikDoc;
class wxGrid;
class wxGridEvent;
class wxKeyEvent;
class wxTextCtrl;

// The channels dialog: every channel and diagram pair in one grid with its display flags. A
// double click switches a flag (or renames on the name), and so do Space and Enter on the
// cell with the grid's cursor; F2 renames the cursor's channel; a click on a flag column's
// header switches the whole column; every change takes effect at once.
class ChannelsDlg : public wxDialog {
public:
    ChannelsDlg(wxWindow* parent, CTenvorikDoc& doc);

private:
    void Fill();
    void OnDoubleClick(wxGridEvent& event);
    // The double click's work on one cell, from the mouse or the keys.
    void ActivateCell(int row, int col);
    void OnGridKey(wxKeyEvent& event);
    void OnLabelClick(wxGridEvent& event);
    void BeginRename(int row);
    void CommitRename(bool apply);

    ChannelsTable m_table;
    wxGrid* m_grid = nullptr;
    wxTextCtrl* m_editor = nullptr;
    int m_editRow = -1;
};
