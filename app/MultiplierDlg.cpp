#include "app/MultiplierDlg.h"

#include <wx/button.h>
#include <wx/grid.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

#include "model/Resources.h"
#include "platform/UiServices.h"
#include "platform/ui/InPlaceEditor.h"
#include "platform/ui/WxUiServices.h"

using platform::FromWx;
using platform::ToWx;

namespace {
enum : int { kList = 1076, kEditor = 100 };
}

MultiplierDlg::MultiplierDlg(wxWindow* parent, MultiplierTable& table)
    : wxDialog(parent, wxID_ANY, ToWx(LoadResString(9753)), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_table(table) {
    m_grid = new wxGrid(this, kList, wxDefaultPosition, wxSize(600, 320));
    m_grid->CreateGrid(int(table.Rows().size()), 3, wxGrid::wxGridSelectRows);
    m_grid->EnableEditing(false);
    m_grid->HideRowLabels();
    m_grid->EnableDragRowSize(false);
    m_grid->SetColLabelValue(0, ToWx(LoadResString(3226)));
    m_grid->SetColLabelValue(1, ToWx(LoadResString(3361)));
    m_grid->SetColLabelValue(2, ToWx(LoadResString(3150)));
    const int width = (600 - 25) * 33 / 100;
    for (int c = 0; c < 3; ++c) m_grid->SetColSize(c, width);
    ShowTable();
    m_grid->Bind(wxEVT_GRID_CELL_LEFT_DCLICK, &MultiplierDlg::OnDoubleClick, this);
    m_grid->Bind(wxEVT_GRID_CELL_LEFT_CLICK, &MultiplierDlg::OnClick, this);
    m_grid->Bind(wxEVT_GRID_LABEL_LEFT_CLICK, &MultiplierDlg::OnClick, this);

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(m_grid, 1, wxEXPAND | wxALL, 10);
    auto* buttons = new wxStdDialogButtonSizer;
    buttons->AddButton(new wxButton(this, wxID_OK));
    buttons->AddButton(new wxButton(this, wxID_CANCEL, ToWx(LoadResString(62001))));
    buttons->Realize();
    top->Add(buttons, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 10);
    SetSizerAndFit(top);
    Bind(wxEVT_BUTTON, &MultiplierDlg::OnOk, this, wxID_OK);
    CentreOnParent();
}

MultiplierDlg::~MultiplierDlg() = default;

void MultiplierDlg::ShowTable() {
    const auto& rows = m_table.Rows();
    for (int r = 0; r < int(rows.size()); ++r)
        for (int c = 0; c < 3; ++c) {
            m_grid->SetCellValue(r, c, ToWx(m_table.CellText(r, c)));
            // A marked cell other than the one being edited shows what the typed value reaches.
            const bool marked = m_table.IsMarked(r, c) && !(r == m_table.EditRow() && c == m_table.EditCol());
            m_grid->SetCellBackgroundColour(r, c, marked ? wxColour(100, 100, 255) : *wxWHITE);
            m_grid->SetCellTextColour(r, c, marked ? *wxWHITE : *wxBLACK);
        }
    m_grid->ForceRefresh();
}

void MultiplierDlg::CloseEditor() {
    if (!m_editor) return;
    wxTextCtrl* editor = m_editor;
    m_editor = nullptr;
    platform::EndInPlaceEditor(editor, m_grid->GetGridWindow());
}

bool MultiplierDlg::CommitEdit(bool ctrl) {
    if (!m_editor) return true;
    const CString text = FromWx(m_editor->GetValue());
    CloseEditor();
    CString error;
    const bool ok = m_table.CommitEdit(text, ctrl, &error);
    ShowTable();
    if (!ok) platform::Ui().MessageBox(error, CString(), MB_OK | MB_ICONEXCLAMATION);
    return ok;
}

void MultiplierDlg::BeginEdit(int row, int col, bool shift) {
    CommitEdit(wxGetKeyState(WXK_CONTROL));
    if (!m_table.StartEdit(row, col, shift)) {
        ShowTable();
        return;
    }
    ShowTable();
    wxRect cell = m_grid->CellToRect(row, col);
    cell.SetPosition(m_grid->CalcScrolledPosition(cell.GetPosition()));
    m_editor = new wxTextCtrl(m_grid->GetGridWindow(), kEditor, ToWx(m_table.CellText(row, col)), cell.GetPosition(),
                              cell.GetSize(), wxTE_PROCESS_ENTER | wxBORDER_SIMPLE);
    m_editor->SetFont(m_grid->GetDefaultCellFont());
    // Enter (with Ctrl: for every marked cell) and a click elsewhere keep the value typed;
    // Escape leaves the cell as it was.
    platform::BindInPlaceEditor(m_editor, true, [this](const platform::InPlaceEnd& how) {
        if (how.keep) {
            CommitEdit(how.ctrl || (how.kind == platform::InPlaceEnd::kFocusLost && wxGetKeyState(WXK_CONTROL)));
            return;
        }
        if (!m_editor) return;
        CloseEditor();
        m_table.CommitEdit(m_table.CellText(m_table.EditRow(), m_table.EditCol()), false, nullptr);
        ShowTable();
    });
    m_editor->SelectAll();
    m_editor->SetFocus();
}

void MultiplierDlg::OnDoubleClick(wxGridEvent& event) { BeginEdit(event.GetRow(), event.GetCol(), event.ShiftDown()); }

void MultiplierDlg::OnClick(wxGridEvent& event) {
    event.Skip();
    CommitEdit(event.ControlDown());
}

void MultiplierDlg::OnOk(wxCommandEvent&) {
    if (!CommitEdit(false)) return;
    EndModal(m_table.IsChanged() ? wxID_OK : wxID_CANCEL);
}

bool MultiplierDlg::SmokeStep() {
    switch (m_smokeStep++) {
        case 0:
            BeginEdit(0, 1, false);
            return false;
        case 1:
            if (m_editor) {
                double v = 0;
                ParseRatio(m_table.CellText(0, 1), v);
                m_editor->SetValue(wxString::Format(wxS("%g"), v * 2));
            }
            return false;
        default: {
            wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
            ok.SetEventObject(this);
            ProcessWindowEvent(ok);
            return true;
        }
    }
}
