#include "app/FormulaEditorPg.h"

#include <wx/artprov.h>
#include <wx/bmpbuttn.h>
#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

#include "analysis/CalcChannels.h"
#include "app/AddFormulaDlg.h"
#include "document/TenvorikDoc.h"
#include "model/Resources.h"
#include "platform/UiServices.h"
#include "platform/ui/InPlaceEditor.h"
#include "platform/ui/WxUiServices.h"

using platform::FromWx;
using platform::ToWx;

namespace {

constexpr int kListId = 1013;
constexpr int kSaveId = 1014;
constexpr int kLoadId = 1015;
constexpr int kAddId = 1016;
constexpr int kDeleteId = 1017;
constexpr int kUpId = 1018;
constexpr int kDownId = 1019;
constexpr int kDeleteAllId = 1028;
constexpr unsigned kStrTitle = 9932;
constexpr unsigned kStrNameColumn = 3285;
constexpr unsigned kStrFormulaColumn = 3521;

CalcChannels& DocumentList(CQAnPropSheet& sheet) { return CalcChannels::Of(sheet.Document().GetOscillogram()); }

}  // namespace

CQAnFormulaEditorPg::CQAnFormulaEditorPg(wxWindow* parent, CQAnPropSheet& sheet)
    : QAnPageWindow(parent, sheet), m_model(&sheet.Document().GetOscillogram(), DocumentList(sheet)) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    m_list = new wxListCtrl(this, kListId, wxDefaultPosition, wxSize(520, 340),
                            wxLC_REPORT | wxLC_SINGLE_SEL | wxLC_HRULES | wxLC_VRULES);
    m_list->AppendColumn(ToWx(LoadResString(kStrNameColumn)), wxLIST_FORMAT_LEFT, 160);
    m_list->AppendColumn(ToWx(LoadResString(kStrFormulaColumn)), wxLIST_FORMAT_LEFT, 340);
    top->Add(m_list, 1, wxEXPAND | wxALL, 4);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto text = [&](int id, unsigned str) {
        buttons->Add(new wxButton(this, id, ToWx(LoadResString(str))), 0, wxRIGHT, 4);
    };
    auto image = [&](int id, const wxArtID& art, unsigned tip) {
        auto* b = new wxBitmapButton(this, id, wxArtProvider::GetBitmap(art, wxART_BUTTON, wxSize(16, 16)));
        b->SetToolTip(ToWx(LoadResString(tip)));
        buttons->Add(b, 0, wxRIGHT, 4);
    };
    text(kAddId, 9935);
    text(kDeleteId, 9936);
    text(kDeleteAllId, 9937);
    image(kUpId, wxART_GO_UP, 9938);
    image(kDownId, wxART_GO_DOWN, 9939);
    buttons->AddStretchSpacer();
    text(kLoadId, 9933);
    text(kSaveId, 9934);
    top->Add(buttons, 0, wxEXPAND | wxALL, 4);
    SetSizer(top);

    Bind(wxEVT_BUTTON, &CQAnFormulaEditorPg::OnButton, this);
    m_list->Bind(wxEVT_LIST_ITEM_SELECTED, &CQAnFormulaEditorPg::OnSelected, this);
    m_list->Bind(wxEVT_LEFT_DCLICK, &CQAnFormulaEditorPg::OnDoubleClick, this);
    // A click elsewhere in the list takes what is being typed.
    m_list->Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& e) {
        CommitEdits();
        e.Skip();
    });
    Reload();
}

wxString CQAnFormulaEditorPg::GetTitle() const { return ToWx(LoadResString(kStrTitle)); }

wxBitmap CQAnFormulaEditorPg::GetIcon() const {
    return wxArtProvider::GetBitmap(wxART_REPORT_VIEW, wxART_OTHER, wxSize(32, 32));
}

void CQAnFormulaEditorPg::Reload() {
    m_list->DeleteAllItems();
    const auto& rows = m_model.Rows();
    for (size_t i = 0; i < rows.size(); ++i) {
        const long at = m_list->InsertItem(long(i), ToWx(rows[i].name));
        m_list->SetItem(at, 1, ToWx(rows[i].formula));
    }
    SelectRow(m_model.GetSelected());
}

void CQAnFormulaEditorPg::SelectRow(int row) {
    m_model.Select(row);
    row = m_model.GetSelected();
    if (row < 0) return;
    m_list->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                         wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    m_list->EnsureVisible(row);
}

void CQAnFormulaEditorPg::OnSelected(wxListEvent& event) { m_model.Select(int(event.GetIndex())); }

void CQAnFormulaEditorPg::AddRow() {
    CommitEdits();
    m_adding = true;
    AddFormulaDlg dlg(this, m_model.ProposedName(), &m_sheet.Document().GetOscillogram(), m_model.NamesExcept(-1));
    const bool ok = dlg.ShowModal() == wxID_OK;
    m_adding = false;
    if (!ok) return;
    m_model.Append(dlg.GetChannelName(), dlg.GetFormula());
    Reload();
    m_list->SetFocus();
}

void CQAnFormulaEditorPg::OnButton(wxCommandEvent& event) {
    CommitEdits();
    switch (event.GetId()) {
        case kAddId: AddRow(); return;
        case kDeleteId: m_model.RemoveSelected(); break;
        case kDeleteAllId: m_model.RemoveAll(); break;
        case kUpId: m_model.MoveUp(); break;
        case kDownId: m_model.MoveDown(); break;
        case kLoadId: m_model.ImportList(); break;
        case kSaveId: m_model.ExportList(); return;
        default: event.Skip(); return;
    }
    Reload();
    m_list->SetFocus();
}

void CQAnFormulaEditorPg::OnDoubleClick(wxMouseEvent& event) {
    int flags = 0;
    long column = -1;
    const long row = m_list->HitTest(event.GetPosition(), flags, &column);
    if (row == wxNOT_FOUND) return;
    if (column < 0) {
        // Where the toolkit does not tell the column, the click's x does.
        int x = event.GetPosition().x;
        column = x < m_list->GetColumnWidth(0) ? 0 : 1;
    }
    OpenEdit(int(row), int(column));
}

void CQAnFormulaEditorPg::OpenEdit(int row, int column) {
    CommitEdits();
    if (row < 0 || size_t(row) >= m_model.Rows().size() || column < 0 || column > 1) return;
    wxRect rect;
    if (!m_list->GetSubItemRect(row, column, rect)) return;
    const FormulaRow& r = m_model.Rows()[size_t(row)];
    m_edit = new wxTextCtrl(m_list, wxID_ANY, ToWx(column == 0 ? r.name : r.formula), rect.GetPosition(),
                            rect.GetSize(), wxTE_PROCESS_ENTER);
    m_edit->SetFont(m_list->GetFont());
    m_editRow = row;
    m_editColumn = column;
    // Enter and a click elsewhere keep what was typed; Escape leaves the cell as it was.
    platform::BindInPlaceEditor(m_edit, true, [this](const platform::InPlaceEnd& how) { EndEdit(how.keep); });
    m_edit->SetFocus();
    m_edit->SelectAll();
}

void CQAnFormulaEditorPg::EndEdit(bool keep) {
    if (!m_edit) return;
    wxTextCtrl* edit = m_edit;
    m_edit = nullptr;
    const CString text = FromWx(edit->GetValue());
    platform::EndInPlaceEditor(edit, m_list);
    // A refused name leaves the cell as it was, with the reason shown.
    if (const unsigned reason = keep ? m_model.EditCell(m_editRow, m_editColumn, text) : 0)
        platform::Ui().MessageBox(LoadResString(reason), CString(), MB_OK | MB_ICONERROR);
    const int row = m_editRow;
    m_editRow = m_editColumn = -1;
    Reload();
    SelectRow(row);
}
