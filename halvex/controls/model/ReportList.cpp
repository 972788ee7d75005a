#include "halvex/controls/model/ReportList.h"

#include <algorithm>
#include <cwchar>

#include "platform/draw/DeviceContext.h"
#include "platform/draw/ImageList.h"

namespace halvex {

ReportListModel::ReportListModel() {
    m_font.lfHeight = -12;
    m_font.lfWeight = FW_NORMAL;
    std::wcsncpy(m_font.lfFaceName, L"Tahoma", LF_FACESIZE - 1);
}

int ReportListModel::InsertColumn(int index, const CString& text, int format, int width) {
    if (index < 0) return -1;
    index = std::min(index, GetColumnCount());
    Column c{text, format, width < 0 ? GetStringWidth(text) + 12 : width};
    m_columns.insert(m_columns.begin() + index, c);
    for (int& o : m_order)
        if (o >= index) ++o;
    // A new column takes its own place in the display order, as the framework does.
    m_order.insert(m_order.begin() + std::min<size_t>(size_t(index), m_order.size()), index);
    for (Item& it : m_items) {
        it.texts.insert(it.texts.begin() + std::min<size_t>(size_t(index), it.texts.size()), CString());
        it.images.insert(it.images.begin() + std::min<size_t>(size_t(index), it.images.size()), -1);
    }
    Invalidate();
    return index;
}

bool ReportListModel::DeleteColumn(int column) {
    if (column < 0 || column >= GetColumnCount()) return false;
    m_columns.erase(m_columns.begin() + column);
    m_order.erase(std::find(m_order.begin(), m_order.end(), column));
    for (int& o : m_order)
        if (o > column) --o;
    for (Item& it : m_items) {
        if (size_t(column) < it.texts.size()) it.texts.erase(it.texts.begin() + column);
        if (size_t(column) < it.images.size()) it.images.erase(it.images.begin() + column);
    }
    Invalidate();
    return true;
}

const ReportListModel::Column* ReportListModel::GetColumn(int column) const {
    return column >= 0 && column < GetColumnCount() ? &m_columns[size_t(column)] : nullptr;
}

int ReportListModel::GetColumnWidth(int column) const {
    const Column* c = GetColumn(column);
    return c ? c->width : 0;
}

bool ReportListModel::SetColumnWidth(int column, int width) {
    if (!GetColumn(column) || width < 0) return false;
    m_columns[size_t(column)].width = width;
    Invalidate();
    return true;
}

CString ReportListModel::GetColumnText(int column) const {
    const Column* c = GetColumn(column);
    return c ? c->text : CString();
}

bool ReportListModel::SetColumnText(int column, const CString& text) {
    if (!GetColumn(column)) return false;
    m_columns[size_t(column)].text = text;
    Invalidate();
    return true;
}

bool ReportListModel::SetColumnOrder(const std::vector<int>& order) {
    if (order.size() != m_columns.size()) return false;
    std::vector<int> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    for (size_t i = 0; i < sorted.size(); ++i)
        if (sorted[i] != int(i)) return false;
    m_order = order;
    Invalidate();
    return true;
}

int ReportListModel::DisplayPosition(int column) const {
    auto it = std::find(m_order.begin(), m_order.end(), column);
    return it == m_order.end() ? -1 : int(it - m_order.begin());
}

void ReportListModel::FitItem(Item& item) const {
    item.texts.resize(m_columns.size());
    item.images.resize(m_columns.size(), -1);
}

int ReportListModel::InsertItem(int index, const CString& text) {
    if (index < 0) return -1;
    index = std::min(index, GetItemCount());
    Item it;
    FitItem(it);
    if (!it.texts.empty()) it.texts[0] = text;
    m_items.insert(m_items.begin() + index, std::move(it));
    if (m_focused >= index) ++m_focused;
    Invalidate();
    return index;
}

bool ReportListModel::DeleteItem(int item) {
    if (item < 0 || item >= GetItemCount()) return false;
    m_items.erase(m_items.begin() + item);
    if (m_focused == item) m_focused = -1;
    else if (m_focused > item) --m_focused;
    if (m_mark >= GetItemCount()) m_mark = -1;
    m_top = std::max(0, std::min(m_top, GetItemCount() - 1));
    Invalidate();
    return true;
}

void ReportListModel::DeleteAllItems() {
    m_items.clear();
    m_focused = m_mark = -1;
    m_top = 0;
    Invalidate();
}

bool ReportListModel::SetItemText(int item, int column, const CString& text) {
    if (item < 0 || item >= GetItemCount() || !GetColumn(column)) return false;
    Item& it = m_items[size_t(item)];
    FitItem(it);
    it.texts[size_t(column)] = text;
    Invalidate();
    return true;
}

CString ReportListModel::GetItemText(int item, int column) const {
    if (item < 0 || item >= GetItemCount() || column < 0) return CString();
    const Item& it = m_items[size_t(item)];
    return size_t(column) < it.texts.size() ? it.texts[size_t(column)] : CString();
}

bool ReportListModel::SetItemImage(int item, int column, int image) {
    if (item < 0 || item >= GetItemCount() || !GetColumn(column)) return false;
    Item& it = m_items[size_t(item)];
    FitItem(it);
    it.images[size_t(column)] = image;
    Invalidate();
    return true;
}

int ReportListModel::GetItemImage(int item, int column) const {
    if (item < 0 || item >= GetItemCount() || column < 0) return -1;
    const Item& it = m_items[size_t(item)];
    return size_t(column) < it.images.size() ? it.images[size_t(column)] : -1;
}

bool ReportListModel::GetCheck(int item) const {
    return item >= 0 && item < GetItemCount() && m_items[size_t(item)].checked;
}

bool ReportListModel::SetCheck(int item, bool checked) {
    if (item < 0 || item >= GetItemCount()) return false;
    m_items[size_t(item)].checked = checked;
    Invalidate();
    return true;
}

bool ReportListModel::IsSelected(int item) const {
    return item >= 0 && item < GetItemCount() && m_items[size_t(item)].selected;
}

void ReportListModel::SetSelected(int item, bool selected) {
    if (item < 0) {
        for (Item& it : m_items) it.selected = selected;
    } else if (item < GetItemCount()) {
        m_items[size_t(item)].selected = selected;
    }
    Invalidate();
}

std::vector<int> ReportListModel::GetSelectedItems() const {
    std::vector<int> r;
    for (int i = 0; i < GetItemCount(); ++i)
        if (m_items[size_t(i)].selected) r.push_back(i);
    return r;
}

int ReportListModel::GetSelectedCount() const { return int(GetSelectedItems().size()); }

void ReportListModel::SetFocused(int item) {
    m_focused = item >= 0 && item < GetItemCount() ? item : -1;
    Invalidate();
}

void ReportListModel::SetExtendedStyle(DWORD style) {
    m_exStyle = style;
    Invalidate();
}

int ReportListModel::GetStringWidth(const CString& text) const {
    CScreenDC dc;
    CFont font;
    font.CreateFontIndirect(&m_font);
    dc.SelectObject(&font);
    return dc.GetTextExtent(text).cx;
}

void ReportListModel::SetImageList(const CImageList* images) {
    m_images = images;
    Invalidate();
}

void ReportListModel::SetClientSize(int width, int height) {
    m_clientWidth = std::max(0, width);
    m_clientHeight = std::max(0, height);
}

int ReportListModel::HeaderHeight() const { return ItemHeight() + 6; }

int ReportListModel::ItemHeight() const {
    const int text = m_font.lfHeight < 0 ? -m_font.lfHeight : (m_font.lfHeight > 0 ? m_font.lfHeight : 12);
    int h = text + text / 2 + 4;
    if (m_images) h = std::max(h, m_images->GetIconSize().cy + 2);
    return h;
}

int ReportListModel::VisibleRows() const {
    const int h = m_clientHeight - HeaderHeight();
    return h > 0 ? h / ItemHeight() : 0;
}

void ReportListModel::SetTopIndex(int item) {
    const int maxTop = std::max(0, GetItemCount() - std::max(1, VisibleRows()));
    m_top = std::clamp(item, 0, maxTop);
    Invalidate();
}

void ReportListModel::EnsureVisible(int item) {
    if (item < 0 || item >= GetItemCount()) return;
    const int rows = std::max(1, VisibleRows());
    if (item < m_top) SetTopIndex(item);
    else if (item >= m_top + rows) SetTopIndex(item - rows + 1);
}

bool ReportListModel::IsItemVisible(int item) const {
    return item >= m_top && item < m_top + std::max(1, VisibleRows()) && item < GetItemCount();
}

int ReportListModel::ColumnLeft(int column) const {
    int x = -m_scrollX;
    for (int c : m_order) {
        if (c == column) return x;
        x += m_columns[size_t(c)].width;
    }
    return x;
}

bool ReportListModel::GetSubItemRect(int item, int column, CRect* rect) const {
    if (!rect || item < 0 || item >= GetItemCount() || !GetColumn(column)) return false;
    const int top = HeaderHeight() + (item - m_top) * ItemHeight();
    const int left = ColumnLeft(column);
    *rect = CRect(left, top, left + m_columns[size_t(column)].width, top + ItemHeight());
    return true;
}

int ReportListModel::HitTest(CPoint p, int* column, bool* inHeader) const {
    if (column) *column = -1;
    if (inHeader) *inHeader = p.y >= 0 && p.y < HeaderHeight();
    int x = -m_scrollX;
    for (int c : m_order) {
        const int w = m_columns[size_t(c)].width;
        if (p.x >= x && p.x < x + w) {
            if (column) *column = c;
            break;
        }
        x += w;
    }
    if (p.y < HeaderHeight()) return -1;
    const int item = m_top + (p.y - HeaderHeight()) / ItemHeight();
    return item < GetItemCount() ? item : -1;
}

int ReportListModel::HitDivider(CPoint p) const {
    if (p.y < 0 || p.y >= HeaderHeight()) return -1;
    int x = -m_scrollX;
    int found = -1;
    for (int c : m_order) {
        x += m_columns[size_t(c)].width;
        // The last column of a run of zero-width ones is the one the divider resizes, as
        // the framework's header does; a hidden column is thus reached and refused later.
        if (std::abs(p.x - x) <= 3) found = c;
    }
    return found;
}

void ReportListModel::SetRedraw(bool on) {
    m_redraw = on;
    if (on) Invalidate();
}

void ReportListModel::Invalidate() {
    if (m_redraw && m_host) m_host->Repaint();
}

}  // namespace halvex
