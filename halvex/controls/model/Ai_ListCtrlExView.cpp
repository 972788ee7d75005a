// The tree table's queries, selection, moves, and how it shows, draws and edits its model in
// the list.
#include <algorithm>

#include "halvex/controls/model/Ai_ListCtrlEx.h"
#include "halvex/controls/model/Ai_ListCtrlExImpl.h"
#include "halvex/helpers/Ai_Str.h"

namespace halvex {

// --- queries ---------------------------------------------------------------------------------

bool СAi_ListCtrlEx::GetListItems(const GET_BY_FILTER* filter, std::vector<RESULT_GET_LIST>* result, int n,
                                  std::initializer_list<int> columns) {
    Impl* d = m_impl.get();
    if (!d || !filter || !result || !d->hasChildren) return false;
    result->clear();
    if (filter->mode == 3) {
        for (int r = 0; r < int(d->rows.size()); ++r) {
            if (!d->rows[size_t(r)].node) continue;
            RESULT_GET_LIST x;
            x.isNode = true;
            x.row = x.nodeRow = r;
            x.viewRow = x.nodeViewRow = d->rows[size_t(r)].viewIndex;
            result->push_back(x);
        }
        return true;
    }
    if (n <= 0) return false;
    std::vector<int> cols;
    for (int c : columns) {
        if (c == -1) break;
        cols.push_back(c);
    }
    if (cols.empty()) return false;
    int first = 0, last = int(d->rows.size());
    if (filter->mode == 2 && filter->column > 0 && filter->column > int(d->columns.size())) return false;
    if (filter->mode == 4) {
        const NodeRec* node = d->Node(filter->kind);
        if (!node || d->columns.empty() || (filter->column > 0 && filter->column > int(d->columns.size()))) return false;
        first = filter->kind + 1;
        last = std::min(int(d->rows.size()), first + node->childCount);
    }
    auto cellEmpty = [&](int r, int c) {
        const CellRec* cell = d->Cell(r, c);
        return !cell || cell->text.IsEmpty();
    };
    for (int r = first; r < last; ++r) {
        const RowRec& row = d->rows[size_t(r)];
        const bool isNode = row.node != nullptr;
        const int group = d->Group(r);
        const NodeRec* g = d->Node(group);
        if (filter->kind == 6 && filter->mode != 4 && !(g && (g->style & 0x20))) continue;
        const bool keyEmpty = !isNode && g && cellEmpty(r, g->commonSignificant);
        bool take = true;
        switch (filter->mode) {
            case 1:
                take = isNode || !(filter->kind == 6 && keyEmpty);
                break;
            case 2:
                if (isNode) take = !(r == 0 && d->firstIsRoot);
                else take = !(filter->kind == 6 && keyEmpty) && (filter->column <= 0 || !cellEmpty(r, filter->column - 1));
                break;
            case 4:
                take = filter->column <= 0 || !cellEmpty(r, filter->column - 1);
                break;
            default:
                take = !(r == 0 && d->firstIsRoot);
        }
        if (take && filter->childrenOnly && isNode) take = false;
        if (!take) continue;
        RESULT_GET_LIST x;
        x.isNode = isNode;
        x.row = r;
        x.viewRow = row.viewIndex;
        x.nodeRow = group;
        x.nodeViewRow = d->ValidRow(group) ? d->rows[size_t(group)].viewIndex : -1;
        for (int c : cols) {
            const CellRec* cell = d->Cell(r, c);
            if (c < 0 || !cell) continue;
            x.texts.push_back(isNode && g && c == g->significant ? StripMarker(cell->text) : cell->text);
        }
        x.service = row.service;
        result->push_back(std::move(x));
    }
    return true;
}

int СAi_ListCtrlEx::FindRow(const CString& text, int column, int startRow) const {
    const Impl* d = m_impl.get();
    if (!d || !d->hasChildren || !d->ValidColumn(column)) return -1;
    for (int r = std::max(0, startRow); r < int(d->rows.size()); ++r) {
        const CellRec* cell = d->Cell(r, column);
        if (!cell) continue;
        const NodeRec* n = d->Node(r);
        const CString t = n && n->significant == column ? StripMarker(cell->text) : cell->text;
        if (t == text) return r;
    }
    return -1;
}

CString СAi_ListCtrlEx::GetNodeName(int row) const {
    const Impl* d = m_impl.get();
    if (!d || !d->ValidRow(row)) return CString();
    const int node = d->Group(row);
    const NodeRec* n = d->Node(node);
    if (!n) return CString();
    const int c = n->significant >= 0 ? n->significant : n->commonSignificant;
    if (c < 0) return L"no set nComnSignificantCell or nUnwrapCell";
    const CellRec* cell = d->Cell(node, c);
    return cell ? StripMarker(cell->text) : CString();
}

int СAi_ListCtrlEx::GetAvailabelCountOfChild(int node) const {
    const NodeRec* n = m_impl ? m_impl->Node(node) : nullptr;
    return n ? n->childCount : -1;
}

int СAi_ListCtrlEx::GetSetedCountOfChild(int node) const {
    const NodeRec* n = m_impl ? m_impl->Node(node) : nullptr;
    return n ? n->filled : -1;
}

bool СAi_ListCtrlEx::IsNodeRow(int row) const { return m_impl && m_impl->Node(row) != nullptr; }

bool СAi_ListCtrlEx::IsNodeUnwrapped(int node) const {
    const NodeRec* n = m_impl ? m_impl->Node(m_impl->Group(node)) : nullptr;
    return n && n->open;
}

int СAi_ListCtrlEx::GetNodeRow(int row) const { return m_impl ? m_impl->Group(row) : -1; }

void СAi_ListCtrlEx::GetIdxOfNodesInList(std::vector<int>* nodes) const {
    if (!m_impl || !nodes) return;
    nodes->clear();
    for (int r = 0; r < int(m_impl->rows.size()); ++r)
        if (m_impl->rows[size_t(r)].node) nodes->push_back(r);
}

int СAi_ListCtrlEx::GetNodeRowIdxInView(int node) const { return GetRowIdxInView(GetNodeRow(node)); }

int СAi_ListCtrlEx::GetRowIdxInView(int row) const {
    return m_impl && m_impl->ValidRow(row) ? m_impl->rows[size_t(row)].viewIndex : -1;
}

int СAi_ListCtrlEx::CnvIdxViewToList(int viewRow) const {
    if (!m_impl || viewRow < 0 || viewRow >= int(m_impl->view.size())) return -1;
    return m_impl->view[size_t(viewRow)];
}

bool СAi_ListCtrlEx::IsSelectedRows() const { return m_impl && m_impl->list && m_impl->list->GetSelectedCount() > 0; }

void СAi_ListCtrlEx::UnselectRows() {
    if (m_impl && m_impl->list) m_impl->list->SetSelected(-1, false);
}

void СAi_ListCtrlEx::SelectRow(int viewRow) {
    if (!m_impl || !m_impl->list) return;
    m_impl->list->SetFocused(viewRow);
    m_impl->list->SetSelected(viewRow, true);
}

void СAi_ListCtrlEx::GetSelectedItems(std::vector<int>* viewRows) const {
    if (!viewRows) return;
    viewRows->clear();
    if (m_impl && m_impl->list) *viewRows = m_impl->list->GetSelectedItems();
}

void СAi_ListCtrlEx::GetFirstSelectedItem(int* row, int* viewRow) const {
    std::vector<int> sel;
    GetSelectedItems(&sel);
    const int v = sel.empty() ? -1 : sel.front();
    if (viewRow) *viewRow = v;
    if (row) *row = CnvIdxViewToList(v);
}

bool СAi_ListCtrlEx::IsSelectedRowVisible() const {
    if (!m_impl || !m_impl->list) return true;
    const std::vector<int> sel = m_impl->list->GetSelectedItems();
    return !(sel.size() == 1 && !m_impl->list->IsItemVisible(sel.front()));
}

void СAi_ListCtrlEx::DoSelectedRowVisible() {
    if (!m_impl || !m_impl->list) return;
    const std::vector<int> sel = m_impl->list->GetSelectedItems();
    if (sel.size() != 1) return;
    ReportListModel* l = m_impl->list;
    l->SetSelectionMark(sel.front());
    l->SetFocused(sel.front());
    l->SetSelected(sel.front(), true);
    l->EnsureVisible(sel.front());
}

bool СAi_ListCtrlEx::IsRowVisible(int row) const {
    return m_impl && m_impl->ValidRow(row) && m_impl->rows[size_t(row)].shown;
}

void СAi_ListCtrlEx::Impl::Select(int viewRow, bool moveCursor, int cursorColumn) {
    if (!list || viewRow < 0 || viewRow >= list->GetItemCount()) return;
    list->SetSelected(-1, false);
    list->SetSelectionMark(viewRow);
    list->SetFocused(viewRow);
    list->SetSelected(viewRow, true);
    list->EnsureVisible(viewRow);
    if (moveCursor && list->Host()) {
        CRect cell;
        if (list->GetSubItemRect(viewRow, std::max(0, cursorColumn), &cell)) {
            CPoint p = cell.CenterPoint();
            p.y = std::min(p.y, list->Host()->GetWindowBottom() - 10);
            list->Host()->SetCursorPos(p);
        }
    }
}

int СAi_ListCtrlEx::SelectAndShowChild(SHOW_AND_SELECT_CHILD which, int viewRow, bool moveCursor) {
    Impl* d = m_impl.get();
    if (!d) return -1;
    int row;
    if (which == SHOW_CHILD_LAST_WRITTEN) {
        if (d->lastWritten < 0) return -1;
        if (viewRow == -1) row = d->lastWritten;
        else if (viewRow >= 0 && viewRow < int(d->view.size())) row = d->view[size_t(viewRow)];
        else return -1;
        d->lastWritten = -1;
    } else {
        if (viewRow < 0 || viewRow >= int(d->view.size())) return -1;
        row = d->view[size_t(viewRow)];
    }
    const int group = d->Group(row);
    NodeRec* n = d->Node(group);
    if (!n || n->childCount <= 0) return -1;
    if (!n->open) {
        n->open = true;
        d->RefreshMarker(group);
        UpdateView();
    }
    if (n->filled <= 0) return d->rows[size_t(row)].viewIndex;
    int target = d->rows[size_t(row)].viewIndex;
    if (which == SHOW_CHILD_LAST_FILLED) {
        const int pos = d->Placement(group, 3, nullptr);
        if (pos < 0) return -1;
        target = d->rows[size_t(group)].viewIndex + pos;
    }
    d->Select(target, moveCursor, n->significant);
    return target;
}

void СAi_ListCtrlEx::MoveSelectedChildren(bool up, int flags, int type, const std::vector<int>* columns, int count,
                                          std::initializer_list<int> listed) {
    Impl* d = m_impl.get();
    if (!d || !d->hasChildren || !d->list) return;
    if (columns) {
        if (columns->empty()) return;
        for (int c : *columns)
            if (!d->ValidColumn(c)) return;
    } else if (!d->ValidColumn(count) && type != 4 && type != 5) {
        return;
    }
    std::vector<int> items = d->list->GetSelectedItems();
    std::erase_if(items, [&](int i) {
        if (i < 0 || i >= int(d->view.size())) return true;
        const int r = d->view[size_t(i)];
        return (d->rows[size_t(r)].style & 0x20) || ((type & 0x4) && !d->IsRowEnabledFull(r));
    });
    if (items.empty()) return;
    int parent = -2;
    for (int i : items) {
        const RowRec& r = d->rows[size_t(d->view[size_t(i)])];
        if (r.node) return;
        if (parent != -2 && r.parent != parent) return;
        parent = r.parent;
    }
    std::vector<int> cols;
    if (type == 4 || type == 5) {
        std::vector<int> list;
        for (int c : listed) {
            if (c == -1) break;
            if (c < 0 || c >= int(d->columns.size())) return;
            list.push_back(c);
        }
        if (list.empty() || int(list.size()) < count) return;
        if (type == 4) cols = list;
        else
            for (int c = 0; c < int(d->columns.size()); ++c)
                if (std::find(list.begin(), list.end(), c) == list.end()) cols.push_back(c);
    } else if (columns) {
        cols = *columns;
    } else {
        cols.push_back(count);
    }
    const std::vector<int> children = d->Children(parent);
    if (children.empty()) return;
    const int firstChild = children.front(), lastChild = children.back();

    auto stepOnce = [&](int source, int target) {
        bool exchanged = false;
        RowRec& a = d->rows[size_t(source)];
        RowRec& b = d->rows[size_t(target)];
        for (int c : cols) {
            CellRec* x = d->Cell(source, c);
            CellRec* y = d->Cell(target, c);
            if (!x || !y) continue;
            if ((flags & 0x4) && !(d->IsRowEnabledFull(source) && d->IsRowEnabledFull(target) && !x->disabled && !y->disabled))
                continue;
            if (flags & 0x2) {
                std::swap(*x, *y);
                x->imagePending = y->imagePending = true;
            } else {
                std::swap(x->text, y->text);
            }
            exchanged = true;
        }
        if (exchanged && (flags & 0x1)) {
            std::swap(a.style, b.style);
            std::swap(a.disabled, b.disabled);
            std::swap(a.filled, b.filled);
            std::swap(a.shown, b.shown);
            std::swap(a.copyCells, b.copyCells);
            std::swap(a.viewIndex, b.viewIndex);
            std::swap(a.parent, b.parent);
            std::swap(a.service, b.service);
            std::swap(a.node, b.node);
        }
        return exchanged;
    };

    bool any = false;
    std::vector<int> order(items.size());
    for (size_t i = 0; i < items.size(); ++i) order[i] = up ? int(i) : int(items.size() - 1 - i);
    int previous = -1;  // the item of the previous row handled, when it stayed
    for (size_t k = 0; k < order.size(); ++k) {
        int& item = items[size_t(order[k])];
        const int row = d->view[size_t(item)];
        const int target0 = up ? row - 1 : row + 1;
        bool stays = false;
        if (k == 0) {
            stays = up ? (target0 < 0 || d->rows[size_t(target0)].node || row <= firstChild)
                       : (target0 >= int(d->rows.size()) || d->rows[size_t(target0)].node || row >= lastChild);
        } else {
            stays = previous >= 0 && previous == (up ? item - 1 : item + 1);
        }
        if (stays) {
            previous = item;
            continue;
        }
        int source = row, steps = 0;
        while (true) {
            const int target = up ? source - 1 : source + 1;
            // A step never leaves the group, whatever the callback asks.
            if (target < firstChild || target > lastChild || d->rows[size_t(target)].node) break;
            if (!stepOnce(source, target)) break;
            any = true;
            ++steps;
            if (!(flags & 0x8) || !m_moveCallback) break;
            MOVE_STEP step{target, source, up, steps - 1, false};
            m_moveCallback(&step);
            if (!step.next) break;
            source = target;
        }
        item += up ? -steps : steps;
        previous = steps == 0 ? item : -1;
    }
    if (!any) return;
    UpdateView();
    d->list->SetSelected(-1, false);
    for (int i : items) d->list->SetSelected(i, true);
    d->list->SetFocused(items.front());
}

// --- view --------------------------------------------------------------------------------

void СAi_ListCtrlEx::UpdateView() {
    Impl* d = m_impl.get();
    if (!d || !d->list) return;
    d->updating = true;
    for (RowRec& r : d->rows) {
        r.viewIndex = -1;
        r.shown = false;
    }
    d->view.clear();
    std::vector<char> kids(d->rows.size(), 0);
    for (int i = 0; i < int(d->rows.size()); ++i) {
        RowRec& row = d->rows[size_t(i)];
        if (row.node) {
            NodeRec& n = *row.node;
            const bool parentOpen = row.parent < 0 || kids[size_t(row.parent)];
            if (i == 0 && d->firstIsRoot) {
                kids[size_t(i)] = 1;
            } else if (!parentOpen) {
                kids[size_t(i)] = 0;
            } else if (n.style == 0 && n.unwrapCell == -1) {
                kids[size_t(i)] = 1;
            } else {
                kids[size_t(i)] = n.open ? 1 : 0;
                d->view.push_back(i);
                if (n.filled > 0 && n.significant >= 0) {
                    CellRec* cell = d->Cell(i, n.significant);
                    const CString caption = StripMarker(cell->text);
                    if (!caption.IsEmpty()) {
                        n.marker = n.open ? n.markerOpen : n.markerClosed;
                        cell->text = n.marker + caption;
                    }
                }
            }
            continue;
        }
        if (row.parent < 0 || !kids[size_t(row.parent)]) continue;
        const NodeRec* n = d->Node(row.parent);
        const int key = d->SignificantColumnOf(row.parent);
        const CellRec* keyCell = d->Cell(i, key);
        const bool keyEmpty = key >= 0 && keyCell && keyCell->text.IsEmpty();
        if (n && (n->style & 0x02) && keyEmpty) continue;
        // The row test of style 0x04: a row kept although its key is empty is an enabled one.
        if (n && (n->style & 0x04) && keyEmpty && row.disabled) continue;
        d->view.push_back(i);
    }
    ReportListModel* l = d->list;
    l->SetRedraw(false);
    if (d->view.empty()) {
        l->DeleteAllItems();
    } else {
        while (l->GetItemCount() > int(d->view.size())) l->DeleteItem(l->GetItemCount() - 1);
        while (l->GetItemCount() < int(d->view.size())) l->InsertItem(l->GetItemCount(), CString());
    }
    for (int v = 0; v < int(d->view.size()); ++v) {
        RowRec& row = d->rows[size_t(d->view[size_t(v)])];
        for (int c = 0; c < int(row.cells.size()); ++c) {
            CellRec& cell = row.cells[size_t(c)];
            l->SetItemText(v, c, cell.hideText ? CString() : cell.text);
            if (c == 0 && d->checkBoxes && (row.style & 1)) {
                l->SetCheck(v, !row.disabled);
            } else {
                l->SetItemImage(v, c, cell.image);
                cell.imagePending = false;
            }
        }
        row.viewIndex = v;
        row.shown = true;
    }
    l->SetRedraw(true);
    d->updating = false;
}

bool СAi_ListCtrlEx::IsUpdatingView() const { return m_impl && m_impl->updating; }

void СAi_ListCtrlEx::WrapTree() {
    if (!m_impl) return;
    for (RowRec& r : m_impl->rows)
        if (r.node) r.node->open = false;
    UpdateView();
}

void СAi_ListCtrlEx::UnwrapTree() {
    if (!m_impl) return;
    for (RowRec& r : m_impl->rows)
        if (r.node) r.node->open = true;
    UpdateView();
}

void СAi_ListCtrlEx::UnwrapNode(int row) {
    Impl* d = m_impl.get();
    if (!d) return;
    const int node = d->Group(row);
    NodeRec* n = d->Node(node);
    if (!n) return;
    n->open = true;
    if (n->significant >= 0) d->RefreshMarker(node);
    UpdateView();
}

void СAi_ListCtrlEx::SetTableEnable(bool enable) {
    if (m_impl) m_impl->enabled = enable;
}

bool СAi_ListCtrlEx::IsTableEnable() const { return m_impl && m_impl->enabled; }

int СAi_ListCtrlEx::OnCustomDrawEx(NMHDR* hdr, intptr_t* result, COLORREF bk, COLORREF text) {
    Impl* d = m_impl.get();
    auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(hdr);
    if (!d || !cd || !result || d->updating) return 0;
    *result = CDRF_DODEFAULT;
    if (cd->dwDrawStage == CDDS_PREPAINT || cd->dwDrawStage == CDDS_ITEMPREPAINT) {
        *result = CDRF_NOTIFYSUBITEMDRAW;
        return 1;
    }
    if (cd->dwDrawStage == (CDDS_ITEMPOSTPAINT | CDDS_SUBITEM)) {
        const int r = cd->item >= 0 && cd->item < int(d->view.size()) ? d->view[size_t(cd->item)] : -1;
        const CellRec* cell = d->Cell(r, cd->iSubItem);
        if (cell && cell->textStyle == CELL_TEXT_SHARED && d->savedFont) cd->font = d->savedFont;
        return 1;
    }
    if (cd->dwDrawStage != (CDDS_ITEMPREPAINT | CDDS_SUBITEM)) return 1;
    const int r = cd->item >= 0 && cd->item < int(d->view.size()) ? d->view[size_t(cd->item)] : -1;
    CellRec* cell = d->Cell(r, cd->iSubItem);
    if (!cell) {
        cd->clrTextBk = cd->item % 2 == 0 ? 0xFEFEFE : 0xDFFFD4;
    } else {
        switch (cell->textStyle) {
            case CELL_TEXT_RESTORE:
                if (d->savedFont) cd->font = d->savedFont;
                cell->textStyle = CELL_TEXT_NORMAL;
                *result = CDRF_NEWFONT | CDRF_NOTIFYPOSTPAINT;
                break;
            case CELL_TEXT_SHARED:
                d->savedFont = cd->font;
                cd->font = &d->bold;
                *result = CDRF_NEWFONT | CDRF_NOTIFYPOSTPAINT;
                break;
            case CELL_TEXT_ITALIC:
            case CELL_TEXT_BOLD_ITALIC:
            case CELL_TEXT_STRIKEOUT:
                d->savedFont = cd->font;
                cd->font = cell->textStyle == CELL_TEXT_ITALIC ? &d->italic
                           : cell->textStyle == CELL_TEXT_BOLD_ITALIC ? &d->boldItalic : &d->strike;
                *result = CDRF_NEWFONT | CDRF_NOTIFYPOSTPAINT;
                break;
            default:
                break;
        }
        if (d->enabled) cd->clrTextBk = cell->bk == kNone ? cell->defBk : cell->bk;
        else cd->clrTextBk = kChildBkOff;
        const bool ownColour = d->enabled && (!cell->disabled || cell->textColor != 0);
        cd->clrText = ownColour ? (int32_t(cell->textColor) < 0 ? cell->defText : cell->textColor) : kGrayText;
    }
    if (bk != kNone) cd->clrTextBk = bk;
    if (text != kNone) cd->clrText = text;
    return 1;
}

void СAi_ListCtrlEx::Impl::CloseOpen() {
    if (!openBind) return;
    if (BindWindow* w = openBind->Window()) w->ShowBound(false);
    openBind = nullptr;
    openRow = openColumn = -1;
}

void СAi_ListCtrlEx::OnDblClick(int viewRow, int column, const POINT* point) {
    Impl* d = m_impl.get();
    if (!d || !d->list || !d->enabled) return;
    if (viewRow < 0 || viewRow >= int(d->view.size())) {
        // Outside any cell an open combo box is closed on its text.
        if (d->openBind && d->openBind->combo) OnCloseUpCmbbox();
        return;
    }
    const int row = d->view[size_t(viewRow)];
    CellRec* cell = d->Cell(row, column);
    if (!cell || !d->IsRowEnabledFull(row)) return;
    m_bindInfo.viewRow = viewRow;
    m_bindInfo.row = row;
    m_bindInfo.column = column;
    m_bindInfo.cellFlag = cell->flag;
    m_bindInfo.oldText = cell->text;
    m_bindInfo.newText = CString();
    m_bindInfo.type = cell->bind.Kind();
    const bool alreadyOpen = d->openBind == &cell->bind;

    CRect rect;
    d->list->GetSubItemRect(viewRow, column, &rect);
    const CImageList* images = d->list->GetImageList();
    if (point && cell->image >= 0 && images && point->x < rect.left + images->GetIconSize().cx) {
        m_oldImage = cell->image;
        static const int kPairs[][2] = {{0, 4}, {4, 0}, {2, 6}, {6, 2}};
        for (const auto& p : kPairs)
            if (cell->image == p[0]) {
                cell->image = p[1];
                break;
            }
        m_newImage = cell->image;
        d->list->SetItemImage(viewRow, column, cell->image);
        d->Send(WM_USER_LIST_VALUE_SET, cell->bind.ctrlId);
        return;
    }
    NodeRec* n = d->Node(row);
    if (n && column == n->significant) {
        n->open = !n->open;
        if (n->filled <= 0 && (n->style & 1)) n->open = false;
        d->RefreshMarker(row);
        UpdateView();
        d->Select(d->rows[size_t(row)].viewIndex, false, column);
        return;
    }
    if (alreadyOpen) {
        d->CloseOpen();
        return;
    }
    if (cell->bind.disabled || cell->bind.Kind() == BIND_CTRL_NONE) return;
    if (n && n->filled <= 0) return;
    d->editResult = 0;
    if (d->list->Host() && !rect.PtInRect(d->list->Host()->GetCursorPos())) return;
    BindRec& b = cell->bind;
    switch (b.Kind()) {
        case BIND_CTRL_CUSTOM: {
            CString value = cell->text;
            if (n && !value.IsEmpty()) value = StripSummary(value);
            b.value = value;
            if (b.dialog->RunModal(b.value) != IDOK) return;
            d->editResult = d->ApplyValue(row, column, b.value);
            if (d->editResult == 2) UpdateView();
            m_bindInfo.newText = cell->text;
            d->Send(WM_USER_LIST_VALUE_SET, b.ctrlId);
            return;
        }
        case BIND_CTRL_COMBO:
            d->CloseOpen();
            d->openBind = &b;
            d->openRow = row;
            d->openColumn = column;
            d->openText = cell->text;
            b.combo->PlaceOver(rect);
            b.combo->ShowBound(true);
            b.combo->DropDown();
            return;
        case BIND_CTRL_EDIT:
            d->CloseOpen();
            d->openBind = &b;
            d->openRow = row;
            d->openColumn = column;
            d->openText = cell->text;
            b.edit->PlaceOver(rect);
            b.edit->ShowBound(true);
            b.edit->StartEditing(cell->text);
            return;
        case BIND_CTRL_IP: {
            d->CloseOpen();
            d->openBind = &b;
            d->openRow = row;
            d->openColumn = column;
            d->openText = cell->text;
            b.ip->PlaceOver(rect);
            BYTE parts[4] = {0, 0, 0, 0};
            CAi_Str::StringToIP(cell->text, parts[0], parts[1], parts[2], parts[3]);
            b.ip->ClearAddress();
            b.ip->SetAddress(parts);
            b.ip->ShowBound(true);
            b.ip->Focus();
            return;
        }
        default:
            return;
    }
}

void СAi_ListCtrlEx::OnLClick(int, int) { OnCloseUpCmbbox(); }

void СAi_ListCtrlEx::OnSelchangeCmbbox() {
    Impl* d = m_impl.get();
    if (!d || !d->openBind || !d->openBind->combo) return;
    BindCombo* combo = d->openBind->combo;
    const int row = d->openRow, column = d->openColumn;
    const CString text = combo->CurSel() >= 0 ? combo->ItemText(combo->CurSel()) : combo->BoundText();
    const int ctrlId = d->openBind->ctrlId;
    d->CloseOpen();
    d->editResult = d->ApplyValue(row, column, text);
    if (d->editResult == 2) UpdateView();
    m_bindInfo.newText = GetCellText(row, column);
    d->Send(WM_USER_LIST_VALUE_SET, ctrlId);
}

void СAi_ListCtrlEx::OnCloseUpCmbbox() {
    Impl* d = m_impl.get();
    if (!d || !d->openBind || !d->openBind->combo) return;
    BindCombo* combo = d->openBind->combo;
    const int i = combo->FindStringExact(combo->BoundText());
    if (i >= 0) combo->SelectIndex(i);
    d->CloseOpen();
}

void СAi_ListCtrlEx::EditBindCtrlKillFocus(bool accept) {
    Impl* d = m_impl.get();
    if (!d || !d->openBind || (!d->openBind->edit && !d->openBind->ip)) return;
    BindRec* b = d->openBind;
    const int row = d->openRow, column = d->openColumn;
    const int ctrlId = b->ctrlId;
    CString text;
    if (b->edit) {
        text = b->edit->BoundText();
    } else {
        uint8_t p[4] = {0, 0, 0, 0};
        b->ip->GetAddress(p);
        text.Format(L"%d.%d.%d.%d", int(p[0]), int(p[1]), int(p[2]), int(p[3]));
    }
    d->CloseOpen();
    if (!accept) {
        d->Send(WM_USER_LIST_EDIT_CANCELLED, ctrlId);
        return;
    }
    d->editResult = d->ApplyValue(row, column, text);
    UpdateView();
    m_bindInfo.newText = GetCellText(row, column);
    d->Send(WM_USER_LIST_VALUE_SET, ctrlId);
}

bool СAi_ListCtrlEx::IsCtrlMeanWasSetedSingle() const { return m_impl && m_impl->editResult == 1; }
bool СAi_ListCtrlEx::IsCtrlMeanWasSetedMulti() const { return m_impl && m_impl->editResult == 2; }
void СAi_ListCtrlEx::ClearCtrlMeanWasSeted() {
    if (m_impl) m_impl->editResult = 0;
}

int СAi_ListCtrlEx::MatchHeight(bool extraRow, int add) {
    Impl* d = m_impl.get();
    if (!d || !d->hasChildren || !d->list) return 0;
    ReportListModel* l = d->list;
    const int item = l->ItemHeight() + add;
    const int h = l->HeaderHeight() + l->GetItemCount() * item + (extraRow ? item + 5 : 0);
    if (l->Host()) l->Host()->SetWindowHeight(h);
    l->SetClientSize(l->GetClientRect().Width(), h);
    l->Invalidate();
    return h;
}

bool СAi_ListCtrlEx::GetCellRect(int row, int column, CRect* cell, CRect* other) const {
    const Impl* d = m_impl.get();
    if (!d || !d->list || !d->ValidRow(row) || !d->ValidColumn(column)) return false;
    const int v = d->rows[size_t(row)].viewIndex;
    if (v < 0 || !d->list->GetSubItemRect(v, column, cell)) return false;
    if (other) *other = *cell;
    return true;
}

bool СAi_ListCtrlEx::IsPointInCell(const POINT* point, int& row, int& column) const {
    const Impl* d = m_impl.get();
    if (!d || !d->list || !point) return false;
    int c = -1;
    const int item = d->list->HitTest(CPoint(*point), &c);
    if (item < 0 || c < 0 || item >= int(d->view.size())) return false;
    row = d->view[size_t(item)];
    column = c;
    return true;
}

}  // namespace halvex
