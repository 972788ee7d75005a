#include "halvex/controls/model/ColumnPicker.h"

#include <algorithm>

namespace halvex {

const ColumnPicker::ColumnState* ColumnPicker::GetColumnState(int column) const {
    return column >= 0 && column < int(m_states.size()) ? &m_states[size_t(column)] : nullptr;
}

void ColumnPicker::InsertColumnState(int at, bool visible, int width) {
    at = std::clamp(at, 0, int(m_states.size()));
    m_states.insert(m_states.begin() + at, ColumnState{visible, width, 0});
}

void ColumnPicker::DeleteColumnState(int at) {
    if (at >= 0 && at < int(m_states.size())) m_states.erase(m_states.begin() + at);
}

void ColumnPicker::OnInsertColumn(int index) {
    while (int(m_states.size()) < m_list.GetColumnCount()) InsertColumnState(index, true, 0);
}

void ColumnPicker::OnDeleteColumn(int index) { DeleteColumnState(index); }

bool ColumnPicker::IsColumnVisible(int column) const {
    const ColumnState* s = GetColumnState(column);
    return s ? s->visible : column >= 0 && column < m_list.GetColumnCount();
}

int ColumnPicker::GetFirstVisibleColumn() const {
    for (int c : m_list.GetColumnOrder())
        if (IsColumnVisible(c)) return c;
    return -1;
}

int ColumnPicker::ShowColumn(int column, bool show) {
    if (column < 0 || column >= m_list.GetColumnCount()) return 0;
    while (int(m_states.size()) < m_list.GetColumnCount()) InsertColumnState(int(m_states.size()), true, 0);
    ColumnState& s = m_states[size_t(column)];
    if (s.visible == show) return 0;
    m_list.SetRedraw(false);
    std::vector<int> order = m_list.GetColumnOrder();
    const int pos = m_list.DisplayPosition(column);
    order.erase(order.begin() + pos);
    if (!show) {
        s.savedOrder = pos;
        s.savedWidth = m_list.GetColumnWidth(column);
        order.insert(order.begin(), column);
        if (s.savedWidth > 0) m_list.SetColumnWidth(column, 0);
        s.visible = false;
    } else {
        // Hidden columns stay in front; the column goes back to its place among the others.
        int hidden = 0;
        for (int c : order)
            if (!IsColumnVisible(c)) ++hidden;
            else break;
        const int at = std::clamp(s.savedOrder, hidden, int(order.size()));
        order.insert(order.begin() + at, column);
        s.visible = true;
        m_list.SetColumnWidth(column, s.savedWidth);
    }
    m_list.SetColumnOrder(order);
    m_list.SetRedraw(true);
    RecalcHeaderTips();
    return 1;
}

void ColumnPicker::SetColumnWidthAuto(int column, bool useHeader) {
    if (column == -1) {
        for (int c = 0; c < m_list.GetColumnCount(); ++c) SetColumnWidthAuto(c, useHeader);
        return;
    }
    if (column < 0 || column >= m_list.GetColumnCount() || !IsColumnVisible(column)) return;
    int width = useHeader ? m_list.GetStringWidth(m_list.GetColumnText(column)) + 12 : 0;
    for (int i = 0; i < m_list.GetItemCount(); ++i)
        width = std::max(width, m_list.GetStringWidth(m_list.GetItemText(i, column)) + 12);
    if (width > 0) m_list.SetColumnWidth(column, width);
    RecalcHeaderTips();
}

bool ColumnPicker::MayDropAt(int position) const {
    const int first = GetFirstVisibleColumn();
    return first < 0 || position >= m_list.DisplayPosition(first);
}

CRect ColumnPicker::TipRect(int column) const {
    // Where the column is shown: hidden columns stand in front, so the insertion order
    // would misplace every tip after a column was hidden.
    const int x = m_list.ColumnLeft(column);
    return CRect(x, 0, x + m_list.GetColumnWidth(column), m_list.HeaderHeight());
}

int ColumnPicker::AddHeaderToolTip(int column, const wchar_t* text) {
    if (!m_list.IsReportView() || column < 0 || column >= m_list.GetColumnCount()) return 0;
    HeaderTip tip;
    tip.id = column + 1;
    tip.rect = TipRect(column);
    tip.text = text ? CString(text) : m_list.GetColumnText(column).Left(80);
    std::erase_if(m_tips, [&](const HeaderTip& t) { return t.id == tip.id; });
    m_tips.push_back(tip);
    return 1;
}

void ColumnPicker::RecalcHeaderTips() {
    for (HeaderTip& t : m_tips)
        if (t.id - 1 < m_list.GetColumnCount()) t.rect = TipRect(t.id - 1);
}

void ColumnPicker::MoveTipsAfterResize(int column, int change) {
    for (HeaderTip& t : m_tips) {
        if (t.id - 1 < column) continue;
        if (t.id - 1 > column) t.rect.left += change;
        t.rect.right += change;
    }
}

const ColumnPicker::HeaderTip* ColumnPicker::TipAt(CPoint p) const {
    for (const HeaderTip& t : m_tips)
        if (t.rect.PtInRect(p) && t.rect.Width() > 0) return &t;
    return nullptr;
}

}  // namespace halvex
