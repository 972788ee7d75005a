#include "halvex/controls/Ai_ListCtrlPicker.h"

#include <wx/menu.h>

#include <algorithm>

#include "platform/ui/WxUiServices.h"

namespace halvex {

CAi_ListCtrlPicker::CAi_ListCtrlPicker(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : ReportListCtrl(parent, id, pos, size), m_picker(List()) {}

void CAi_ListCtrlPicker::MyPreSubclassWindow() {
    List().SetExtendedStyle(List().GetExtendedStyle() | LVS_EX_DOUBLEBUFFER | LVS_EX_FULLROWSELECT |
                            LVS_EX_HEADERDRAGDROP | LVS_EX_GRIDLINES);
}

int CAi_ListCtrlPicker::InsertColumn(int index, const CString& text, int format, int width) {
    const int at = List().InsertColumn(index, text, format, width);
    if (at >= 0) m_picker.OnInsertColumn(at);
    return at;
}

bool CAi_ListCtrlPicker::DeleteColumn(int column) {
    if (!List().DeleteColumn(column)) return false;
    m_picker.OnDeleteColumn(column);
    return true;
}

bool CAi_ListCtrlPicker::SetColumnWidth(int column, int width) {
    // A hidden column keeps no width.
    if (!m_picker.MaySetWidth(column)) return false;
    return List().SetColumnWidth(column, width);
}

void CAi_ListCtrlPicker::SetBoldColumn(int column, bool bold) {
    auto it = std::find(boldColumns.begin(), boldColumns.end(), column);
    if (bold && it == boldColumns.end()) boldColumns.push_back(column);
    if (!bold && it != boldColumns.end()) boldColumns.erase(it);
    Refresh(false);
}

int CAi_ListCtrlPicker::AddHeaderToolTip(int column, const wchar_t* text) { return m_picker.AddHeaderToolTip(column, text); }

std::unique_ptr<wxMenu> CAi_ListCtrlPicker::BuildColumnMenu(CPoint point) const {
    if (!m_contextMenuEnabled || (point.x == -1 && point.y == -1)) return nullptr;
    if (point.y < 0 || point.y >= List().HeaderHeight() || point.x < 0 || point.x >= GetClientSize().x) return nullptr;
    auto menu = std::make_unique<wxMenu>();
    for (int c = 0; c < List().GetColumnCount(); ++c) {
        wxMenuItem* item = menu->AppendCheckItem(c, platform::ToWx(List().GetColumnText(c).Left(511)));
        item->Check(IsColumnVisible(c));
    }
    auto* self = const_cast<CAi_ListCtrlPicker*>(this);
    menu->Bind(wxEVT_MENU, [self](wxCommandEvent& e) {
        if (!self->OnCommand(e.GetId())) e.Skip();
    });
    return menu;
}

void CAi_ListCtrlPicker::OnHeaderContextMenu(CPoint p) {
    std::unique_ptr<wxMenu> menu = BuildColumnMenu(p);
    if (!menu) return;
    PopupMenu(menu.get(), p.x, p.y);
}

bool CAi_ListCtrlPicker::OnCommand(int id) {
    if (id < 0 || id >= List().GetColumnCount()) return false;
    // The column chosen changes sides; the last visible column stays, so the list keeps one.
    const bool show = !IsColumnVisible(id);
    const std::vector<int> order = List().GetColumnOrder();
    const int visible = int(std::count_if(order.begin(), order.end(), [this](int c) { return IsColumnVisible(c); }));
    if (show || visible > 1) ShowColumn(id, show);
    return true;
}

void CAi_ListCtrlPicker::OnHeaderEndResize(int column, int change) {
    m_picker.MoveTipsAfterResize(column, change);
    ColumnWidthsWasChanged();
}

void CAi_ListCtrlPicker::OnHeaderMouseMove(CPoint p) {
    std::vector<int> widths;
    for (int c = 0; c < List().GetColumnCount(); ++c) widths.push_back(List().GetColumnWidth(c));
    if (widths != m_widths) {
        m_widths = widths;
        m_picker.RecalcHeaderTips();
        ColumnWidthsWasChanged();
    }
    const ColumnPicker::HeaderTip* tip = m_picker.TipAt(p);
    const int id = tip ? tip->id : 0;
    if (id != m_tipShown) {
        m_tipShown = id;
        SetToolTip(tip ? platform::ToWx(tip->text) : wxString());
    }
}

bool CAi_ListCtrlPicker::OnListKeyDown(wxKeyEvent& e) {
    if (e.ControlDown() && e.GetKeyCode() == WXK_NUMPAD_ADD) {
        SetColumnWidthAuto(-1, false);
        return true;
    }
    return false;
}

}  // namespace halvex
