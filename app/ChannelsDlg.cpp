#include "app/ChannelsDlg.h"

#include <wx/button.h>
#include <wx/grid.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

#include "model/Resources.h"
#include "platform/ui/InPlaceEditor.h"
#include "platform/ui/WxUiServices.h"

using platform::FromWx;
using platform::ToWx;

namespace {

enum : int { kList = 1013, kEditor = 100 };

// Headers of the flag columns: the view, the spectrum, vector, circle and differential diagrams.
const unsigned kFlagTitles[5] = {9754, 9755, 9756, 9757, 9758};

}  // namespace

ChannelsDlg::ChannelsDlg(wxWindow* parent, CTenvorikDoc& doc)
    : wxDialog(parent, wxID_ANY, ToWx(LoadResString(9752)), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_table(doc) {
    m_grid = new wxGrid(this, kList, wxDefaultPosition, wxSize(640, 420));
    m_grid->CreateGrid(m_table.RowCount(), ChannelsTable::kColumns, wxGrid::wxGridSelectRows);
    m_grid->EnableEditing(false);
    m_grid->HideRowLabels();
    m_grid->EnableDragRowSize(false);
    m_grid->SetColLabelValue(0, ToWx(LoadResString(3244)));
    m_grid->SetColSize(0, 640 - 5 * 64 - 20);
    for (int c = 1; c < ChannelsTable::kColumns; ++c) {
        m_grid->SetColLabelValue(c, ToWx(LoadResString(kFlagTitles[c - 1])));
        m_grid->SetColSize(c, 64);
    }
    Fill();
    m_grid->Bind(wxEVT_GRID_CELL_LEFT_DCLICK, &ChannelsDlg::OnDoubleClick, this);
    m_grid->Bind(wxEVT_GRID_LABEL_LEFT_CLICK, &ChannelsDlg::OnLabelClick, this);
    m_grid->Bind(wxEVT_KEY_DOWN, &ChannelsDlg::OnGridKey, this);
    m_grid->Bind(wxEVT_GRID_CELL_LEFT_CLICK, [this](wxGridEvent& e) {
        e.Skip();
        CommitRename(true);
    });

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(m_grid, 1, wxEXPAND | wxALL, 10);
    top->Add(new wxButton(this, wxID_CANCEL, ToWx(LoadResString(62044))), 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM,
             10);
    SetSizerAndFit(top);
    SetEscapeId(wxID_CANCEL);
    CentreOnParent();
}

void ChannelsDlg::Fill() {
    using Cell = ChannelsTable::Cell;
    for (int r = 0; r < m_table.RowCount(); ++r) {
        wxString name = ToWx(m_table.Text(r));
        const CString note = m_table.FileNameNote(r);
        if (!note.IsEmpty()) name += wxS("   ") + ToWx(note);
        m_grid->SetCellValue(r, 0, name);
        for (int c = 1; c < ChannelsTable::kColumns; ++c) {
            const Cell cell = m_table.GetCell(r, c);
            m_grid->SetCellAlignment(r, c, wxALIGN_CENTRE, wxALIGN_CENTRE);
            m_grid->SetCellValue(r, c, cell == Cell::Set ? wxString(wxS("\u2714")) : wxString());
            m_grid->SetCellBackgroundColour(r, c, cell == Cell::NotApplicable ? wxColour(220, 220, 220) : *wxWHITE);
        }
    }
    m_grid->ForceRefresh();
}

void ChannelsDlg::OnDoubleClick(wxGridEvent& event) { ActivateCell(event.GetRow(), event.GetCol()); }

void ChannelsDlg::ActivateCell(int row, int col) {
    CommitRename(true);
    if (m_table.DoubleClick(row, col)) BeginRename(row);
    Fill();
}

void ChannelsDlg::OnGridKey(wxKeyEvent& event) {
    const int row = m_grid->GetGridCursorRow(), col = m_grid->GetGridCursorCol();
    const int key = event.GetKeyCode();
    // The grid would take Enter down a row and F2 into an edit it does not have.
    if (m_editor || event.HasAnyModifiers() || row < 0 || col < 0) return event.Skip();
    if (key == WXK_SPACE || key == WXK_RETURN || key == WXK_NUMPAD_ENTER) ActivateCell(row, col);
    else if (key == WXK_F2) ActivateCell(row, 0);
    else event.Skip();
}

void ChannelsDlg::OnLabelClick(wxGridEvent& event) {
    CommitRename(true);
    if (event.GetCol() >= 1) m_table.HeaderClick(event.GetCol());
    Fill();
}

void ChannelsDlg::BeginRename(int row) {
    wxRect cell = m_grid->CellToRect(row, 0);
    cell.SetPosition(m_grid->CalcScrolledPosition(cell.GetPosition()));
    m_editor = new wxTextCtrl(m_grid->GetGridWindow(), kEditor, ToWx(m_table.Text(row)), cell.GetPosition(),
                              cell.GetSize(), wxTE_PROCESS_ENTER | wxBORDER_SIMPLE);
    m_editor->SetFont(m_grid->GetDefaultCellFont());
    // Enter and a click elsewhere keep the name typed; Escape the old one.
    platform::BindInPlaceEditor(m_editor, true, [this](const platform::InPlaceEnd& how) { CommitRename(how.keep); });
    m_editor->SelectAll();
    m_editor->SetFocus();
    m_editRow = row;
}

void ChannelsDlg::CommitRename(bool apply) {
    if (!m_editor) return;
    const CString text = FromWx(m_editor->GetValue());
    wxTextCtrl* editor = m_editor;
    m_editor = nullptr;
    const int row = m_editRow;
    m_editRow = -1;
    platform::EndInPlaceEditor(editor, m_grid->GetGridWindow());
    if (apply) m_table.Rename(row, text);
    Fill();
}
