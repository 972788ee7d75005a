#include "halvex/controls/model/Ai_ListCtrlEx.h"

#include <algorithm>
#include <cwchar>

#include "halvex/controls/model/Ai_ListCtrlExImpl.h"
#include "halvex/helpers/HalvexResources.h"
#include "platform/UiServices.h"

namespace halvex {

const wchar_t* const kMixedValues = L"< ~~~ >";
const wchar_t* const kNoWrite = L"chifs_NoWriteToCell";

namespace {
const wchar_t* const kStretchSuffix = L"-cmw_ThisColumn";

BindRec ToRec(const СAi_ListCtrlEx::BIND_CTRL_TO_CELL& b) {
    BindRec r;
    r.disabled = b.disabled;
    r.user = b.user;
    r.combo = b.combo;
    r.comboDefault = b.comboDefault;
    r.edit = b.edit;
    r.value = b.value;
    r.overwrite = b.overwrite;
    r.ip = b.ip;
    r.dialog = b.dialog;
    r.ctrlId = b.ctrlId;
    return r;
}

bool Contains(const std::vector<CString>* texts, const CString& t) {
    return texts && std::find(texts->begin(), texts->end(), t) != texts->end();
}
}  // namespace

CString StripMarker(const CString& text) {
    CString t = text;
    t.TrimLeft(L" [+-]");
    return t;
}

CString StripSummary(const CString& text) {
    if (text.IsEmpty() || text == kMixedValues) return CString();
    CString t = text;
    t.TrimLeft(L"< ");
    t.TrimRight(L" >");
    return t;
}

// --- Impl helpers --------------------------------------------------------------------------

std::vector<int> СAi_ListCtrlEx::Impl::Children(int node) const {
    std::vector<int> r;
    const NodeRec* n = Node(node);
    if (!n) return r;
    const int end = SubtreeEnd(node);
    for (int i = node + 1; i < end; ++i)
        if (rows[size_t(i)].parent == node && !rows[size_t(i)].node) r.push_back(i);
    return r;
}

int СAi_ListCtrlEx::Impl::SubtreeEnd(int node) const {
    int end = node + 1;
    // Descendants follow their node; the subtree ends at the first row whose chain of
    // parents does not pass through the node.
    while (end < int(rows.size())) {
        int p = rows[size_t(end)].parent;
        while (p >= 0 && p != node) p = rows[size_t(p)].parent;
        if (p != node) break;
        ++end;
    }
    return end;
}

int СAi_ListCtrlEx::Impl::SignificantColumnOf(int node) const {
    const NodeRec* n = Node(node);
    if (!n) return -1;
    return n->commonSignificant >= 0 && (n->style & 0x20) ? n->commonSignificant : n->significant;
}

bool СAi_ListCtrlEx::Impl::IsRowEnabledFull(int r) const {
    if (!enabled || !ValidRow(r) || rows[size_t(r)].disabled) return false;
    const NodeRec* g = Node(Group(r));
    return !(g && g->disabled);
}

void СAi_ListCtrlEx::Impl::Send(unsigned message, intptr_t lParam) {
    // The application's main window has no say here; the owner's window receives it.
    if (notify) notify->SendMessage(message, reinterpret_cast<uintptr_t>(notify), lParam);
}

void СAi_ListCtrlEx::Impl::PutText(int r, int c, const CString& text) {
    CellRec* cell = Cell(r, c);
    if (!cell) return;
    cell->text = text;
    const RowRec& row = rows[size_t(r)];
    if (list && row.shown && row.viewIndex >= 0 && !cell->hideText) list->SetItemText(row.viewIndex, c, text);
}

void СAi_ListCtrlEx::Impl::RefreshMarker(int node) {
    NodeRec* n = Node(node);
    if (!n) return;
    n->marker = n->filled <= 0 ? n->markerEmpty : (n->open ? n->markerOpen : n->markerClosed);
    if (n->significant < 0) return;
    CellRec* cell = Cell(node, n->significant);
    if (!cell) return;
    PutText(node, n->significant, n->marker + StripMarker(cell->text));
}

void СAi_ListCtrlEx::Impl::RefreshSummary(int r, int c) {
    if (!ValidRow(r) || rows[size_t(r)].node) return;
    const int node = rows[size_t(r)].parent;
    NodeRec* n = Node(node);
    const CellRec* own = Cell(r, c);
    if (!n || !own) return;
    if ((c == n->significant && (n->style & 0x80)) || (own->style & 0x100)) return;
    std::vector<CString> texts;
    for (int child : Children(node)) {
        const CellRec* cell = Cell(child, c);
        if (!cell || cell->text.IsEmpty()) continue;
        if ((n->style & 0x20) && n->commonSignificant >= 0) {
            const CellRec* key = Cell(child, n->commonSignificant);
            if (!key || key->text.IsEmpty()) continue;
        }
        texts.push_back(cell->text);
    }
    if (texts.empty()) return;
    CString summary = L"< " + texts.front() + L" >";
    for (const CString& t : texts)
        if (t != texts.front()) summary = kMixedValues;
    CellRec* target = Cell(node, c);
    if (target && target->text != summary) PutText(node, c, summary);
}

int СAi_ListCtrlEx::Impl::Placement(int node, int rule, const std::vector<CString>* texts) const {
    const NodeRec* n = Node(node);
    if (!n || !(n->style & 0x20) || n->commonSignificant < 0) return -1;
    const std::vector<int> slots = Children(node);
    auto isFree = [&](int r) {
        const CellRec* c = Cell(r, n->commonSignificant);
        return !c || c->text.IsEmpty() || Contains(texts, c->text);
    };
    switch (rule) {
        case 0:
            for (int r : slots)
                if (isFree(r)) return r;
            return -1;
        case 1:
            for (size_t i = 0; i + 1 < slots.size(); ++i)
                if (isFree(slots[i])) return slots[i];
            return -1;
        case 2:
            for (auto it = slots.rbegin(); it != slots.rend(); ++it)
                if (isFree(*it)) return *it;
            return -2;
        default:
            for (size_t i = slots.size(); i-- > 0;)
                if (!isFree(slots[i])) return int(i) + 1;
            return -2;
    }
}

void СAi_ListCtrlEx::Impl::MarkFilled(int r) {
    RowRec& row = rows[size_t(r)];
    if (row.filled) return;
    row.filled = true;
    row.disabled = false;
    if (NodeRec* n = Node(row.parent)) ++n->filled;
}

void СAi_ListCtrlEx::Impl::GroupDefaults(int r) {
    const int node = rows[size_t(r)].parent;
    NodeRec* n = Node(node);
    if (!n) return;
    if (node == 0 && firstIsRoot) return;
    if (!(rows[size_t(r)].style & 0x04)) return;
    for (int c = 0; c < int(columns.size()); ++c) {
        CellRec* cell = Cell(r, c);
        CellRec* nodeCell = Cell(node, c);
        if (!cell || !nodeCell || cell->bind.Kind() == BIND_CTRL_NONE || cell->bind.disabled) continue;
        CString def = StripSummary(nodeCell->text);
        const BindRec& nb = nodeCell->bind;
        // The node cell's overwrite flag counts only where its value text gives the default;
        // a group value or a default item fills an empty cell only.
        bool overwrite = cell->text.IsEmpty();
        if (!def.IsEmpty()) {
            if (BindCombo* combo = cell->bind.combo) {
                for (int i = 0; i < combo->ItemCount(); ++i)
                    if (combo->ItemText(i) == def) {
                        combo->SelectIndex(i);
                        break;
                    }
            }
        } else if (nb.combo && nb.comboDefault >= 0 && nb.comboDefault < nb.combo->ItemCount()) {
            nb.combo->SelectIndex(nb.comboDefault);
            def = nb.combo->ItemText(nb.comboDefault);
        } else if ((nb.combo || nb.edit) && !nb.value.IsEmpty()) {
            def = nb.value;
            overwrite = overwrite || nb.overwrite;
        }
        if (def.IsEmpty() || !overwrite) continue;
        PutText(r, c, def);
        RefreshSummary(r, c);
    }
}

void СAi_ListCtrlEx::Impl::Settle(int r) {
    for (int c = 0; c < int(columns.size()); ++c) {
        CellRec* cell = Cell(r, c);
        if (!cell) continue;
        if (cell->bind.disabled || (cell->disabled && cell->savedBind.disabled)) {
            PutText(r, c, CString());
            continue;
        }
        if (cell->bind.Kind() == BIND_CTRL_NONE) continue;
        if (BindCombo* combo = cell->bind.combo)
            for (int i = 0; i < combo->ItemCount(); ++i)
                if (combo->ItemText(i) == cell->text) {
                    combo->SelectIndex(i);
                    break;
                }
        RefreshSummary(r, c);
    }
}

int СAi_ListCtrlEx::Impl::ApplyValue(int r, int c, const CString& value) {
    CellRec* cell = Cell(r, c);
    if (!cell) return 0;
    NodeRec* n = Node(r);
    // Every bound cell of a node row stands for its group (its text is the group's summary),
    // so a value given there goes to the group; the node's caption column opens and closes.
    if (!n || c == n->significant || n->childCount <= 0) {
        PutText(r, c, value);
        if (!n) RefreshSummary(r, c);
        return 1;
    }
    if ((n->style & 0x10) && value != L"...") {
        CString question;
        question = HalvexLoadString(7196) + L"\n\n\"" + columns[size_t(c)].name + L"\"->" + value + L"?";
        if (platform::Ui().MessageBox(question, CString(), MB_YESNO | MB_ICONQUESTION) != IDYES) {
            PutText(r, c, cell->text);  // the previous text stays
            return 0;
        }
    }
    if (value == L"...") {
        PutText(r, c, value);
        return 1;
    }
    for (int child : Children(r)) PutText(child, c, value);
    PutText(r, c, L"< " + value + L" >");
    return 2;
}

void СAi_ListCtrlEx::Impl::RenumberFrom(size_t from) {
    for (size_t i = from; i < rows.size(); ++i) rows[i].index = int(i);
}

// --- attaching and creating -------------------------------------------------------------

СAi_ListCtrlEx::СAi_ListCtrlEx() : m_impl(std::make_unique<Impl>()) {}
СAi_ListCtrlEx::~СAi_ListCtrlEx() = default;

void СAi_ListCtrlEx::SetList(ReportListModel* list, NotifyWindow* notify) {
    if (!m_impl) m_impl = std::make_unique<Impl>();
    if (m_impl->attached || !list) return;
    m_impl->list = list;
    m_impl->notify = notify;
    m_impl->attached = true;
}

bool СAi_ListCtrlEx::CreateList(bool checkBoxes, DWORD extraStyle) {
    Impl* d = m_impl.get();
    if (!d || d->created || !d->list) return false;
    d->list->SetExtendedStyle((checkBoxes ? 0x25u : 0x21u) | extraStyle);
    d->checkBoxes = checkBoxes;
    LOGFONTW lf = d->list->GetFont();
    d->base.CreateFontIndirect(&lf);
    LOGFONTW f = lf;
    f.lfItalic = 1;
    d->italic.CreateFontIndirect(&f);
    f.lfWeight = FW_BOLD;
    d->boldItalic.CreateFontIndirect(&f);
    f = lf;
    f.lfStrikeOut = 1;
    d->strike.CreateFontIndirect(&f);
    f = lf;
    f.lfWeight = FW_BOLD;
    d->bold.CreateFontIndirect(&f);
    d->created = true;
    return true;
}

bool СAi_ListCtrlEx::CreateImageList(int cx, int cy, UINT flags, int kind, const std::vector<IMAGE_LIST>* entries) {
    Impl* d = m_impl.get();
    if (!d || !d->list || d->images || cx <= 0 || cy <= 0 || kind != 1 || !entries || entries->empty()) return false;
    d->list->SetExtendedStyle(d->list->GetExtendedStyle() | LVS_EX_SUBITEMIMAGES);
    d->images = std::make_unique<CImageList>();
    d->images->Create(cx, cy, flags, int(entries->size()), 0);
    for (const IMAGE_LIST& e : *entries) {
        if (e.bitmapId != -1 && e.bitmap) {
            d->images->Add(e.bitmap, e.mask);
            const bool known = std::any_of(d->imageEntries.begin(), d->imageEntries.end(), [&](const IMAGE_LIST& x) {
                return x.key == e.key || x.bitmapId == e.bitmapId;
            });
            if (!known) d->imageEntries.push_back(e);
        }
    }
    d->list->SetImageList(d->images.get());
    return true;
}

bool СAi_ListCtrlEx::SetImageListAgain() {
    Impl* d = m_impl.get();
    if (!d || !d->list || !d->images) return false;
    d->list->SetImageList(d->images.get());
    return true;
}

void СAi_ListCtrlEx::Destroy() {
    if (m_impl && m_impl->list) m_impl->list->SetImageList(nullptr);
    m_impl.reset();
}

void СAi_ListCtrlEx::ClearView() {
    if (!m_impl) return;
    m_impl->CloseOpen();
    m_impl->rows.clear();
    m_impl->view.clear();
    m_impl->hasRows = m_impl->hasChildren = false;
    m_impl->currentGroup = m_impl->lastWritten = -1;
    if (m_impl->list) m_impl->list->DeleteAllItems();
}

bool СAi_ListCtrlEx::IsTable() const { return m_impl && m_impl->created; }

// --- columns -----------------------------------------------------------------------------

int СAi_ListCtrlEx::SetColumnEx(CString name, int format) {
    Impl* d = m_impl.get();
    if (!d || !d->created || d->hasRows) return -1;
    ColumnRec col;
    const int suffix = int(std::wcslen(kStretchSuffix));
    if (name.GetLength() >= suffix && name.Right(suffix) == kStretchSuffix) {
        name = name.Left(name.GetLength() - suffix);
        col.stretch = true;
    }
    col.name = name;
    const int index = int(d->columns.size());
    if (format == -2) d->list->InsertColumn(index, CString(), LVCFMT_CENTER | LVCFMT_IMAGE, 0);
    else d->list->InsertColumn(index, name, format, 0);
    d->columns.push_back(col);
    d->hasColumns = true;
    SetColumnWidthStyle(index, 2, 0);
    return index;
}

void СAi_ListCtrlEx::SetColumnWidthStyle(int column, int64_t style, int width) {
    Impl* d = m_impl.get();
    if (!d || !d->ValidColumn(column) || width > 1000) return;
    ColumnRec& col = d->columns[size_t(column)];
    int w = d->list ? d->list->GetColumnWidth(column) : col.width;
    if (style & 2) {
        const int len = col.name.GetLength();
        w = (d->list ? d->list->GetStringWidth(col.name) : 0) + (len < 14 ? int(len * 1.7) : 0);
    } else if (style & 8) {
        w = width;
    } else {
        style |= 1;
    }
    col.widthStyle = style;
    col.width = w;
    if (d->list && w != 0 && w != d->list->GetColumnWidth(column)) d->list->SetColumnWidth(column, w);
}

void СAi_ListCtrlEx::MatchColumns(bool reserve) {
    Impl* d = m_impl.get();
    if (!d || !d->list) return;
    int total = 0, stretch = 0;
    for (int c = 0; c < int(d->columns.size()); ++c) {
        total += d->list->GetColumnWidth(c);
        if (d->columns[size_t(c)].stretch) ++stretch;
    }
    const int free = d->list->GetClientRect().Width() - total - (reserve ? 35 : 0);
    if (stretch == 0 || free <= 0) return;
    int left = free;
    for (int c = 0; c < int(d->columns.size()); ++c) {
        if (!d->columns[size_t(c)].stretch) continue;
        const int add = --stretch == 0 ? left : free / int(std::count_if(d->columns.begin(), d->columns.end(),
                                                                         [](const ColumnRec& x) { return x.stretch; }));
        left -= add;
        d->columns[size_t(c)].width = d->list->GetColumnWidth(c) + add;
        d->list->SetColumnWidth(c, d->columns[size_t(c)].width);
    }
}

bool СAi_ListCtrlEx::IsMatchColumn() const {
    return m_impl && std::any_of(m_impl->columns.begin(), m_impl->columns.end(), [](const ColumnRec& c) { return c.stretch; });
}

void СAi_ListCtrlEx::ChangeColumnName(int column, const CString& name) {
    if (!m_impl || !m_impl->ValidColumn(column)) return;
    m_impl->columns[size_t(column)].name = name;
    ChangeColumnName(m_impl->list, column, name);
}

void СAi_ListCtrlEx::ChangeColumnName(ReportListModel* list, int column, const CString& name) {
    if (list) list->SetColumnText(column, name);
}

int СAi_ListCtrlEx::GetCountColumns() const { return m_impl ? int(m_impl->columns.size()) : 0; }

// --- rows ----------------------------------------------------------------------------------

namespace {
void FillCells(std::vector<CellRec>& cells, size_t columns, const std::vector<CString>* texts,
               const СAi_ListCtrlEx::BIND_TO_CELL* binds, COLORREF bk, COLORREF bkOff) {
    cells.assign(columns, CellRec());
    for (size_t c = 0; c < columns; ++c) {
        cells[c].defBk = bk;
        if (texts && c < texts->size()) cells[c].text = (*texts)[c];
    }
    if (!binds) return;
    for (const auto& b : *binds) {
        if (b.column < 0 || size_t(b.column) >= columns) continue;
        CellRec& cell = cells[size_t(b.column)];
        cell.bind = ToRec(b);
        if (b.disabled) {
            // A disabled cell keeps its control aside and has none while disabled.
            cell.savedBind = cell.bind;
            cell.bind = BindRec();
            cell.disabled = true;
            cell.defBk = bkOff;
        }
    }
}
}  // namespace

int СAi_ListCtrlEx::SetNode(const std::vector<CString>* texts, const BIND_TO_CELL* binds, bool firstIsRoot) {
    Impl* d = m_impl.get();
    if (!d || !d->hasColumns) return -1;
    RowRec row;
    FillCells(row.cells, d->columns.size(), texts, binds, kNodeBk, kNodeBkOff);
    row.node = std::make_unique<NodeRec>();
    if (d->rows.empty()) d->firstIsRoot = firstIsRoot;
    row.index = int(d->rows.size());
    d->rows.push_back(std::move(row));
    d->hasRows = true;
    d->view.clear();
    return int(d->rows.size()) - 1;
}

int СAi_ListCtrlEx::SetEmptyChild(int node, const std::vector<CString>* texts, int64_t style, const BIND_TO_CELL* binds) {
    Impl* d = m_impl.get();
    if (!d || !texts || !d->Node(node)) return -1;
    if (binds)
        for (const auto& b : *binds)
            if (b.column >= int(d->columns.size())) return -1;
    RowRec row;
    FillCells(row.cells, d->columns.size(), texts, binds, kChildBk, kChildBkOff);
    row.style = style;
    row.parent = node;
    const int at = d->SubtreeEnd(node);
    for (int p = node; p >= 0; p = d->rows[size_t(p)].parent) ++d->rows[size_t(p)].node->childCount;
    for (RowRec& r : d->rows)
        if (r.parent >= at) ++r.parent;
    d->rows.insert(d->rows.begin() + at, std::move(row));
    d->RenumberFrom(size_t(at));
    d->view.clear();
    d->hasChildren = true;
    return at;
}

int СAi_ListCtrlEx::SetChild(int node, const std::vector<CString>* texts, int64_t style, const BIND_TO_CELL* binds,
                             bool nested) {
    Impl* d = m_impl.get();
    if (!d || !d->Node(node)) return -1;
    int r;
    if (!nested) {
        r = SetEmptyChild(node, texts, style, binds);
    } else {
        RowRec row;
        FillCells(row.cells, d->columns.size(), texts, binds, kNestedBk, kNestedBkOff);
        row.node = std::make_unique<NodeRec>();
        row.style = style;
        row.parent = node;
        const int at = d->SubtreeEnd(node);
        for (int p = node; p >= 0; p = d->rows[size_t(p)].parent) ++d->rows[size_t(p)].node->childCount;
        for (RowRec& x : d->rows)
            if (x.parent >= at) ++x.parent;
        d->rows.insert(d->rows.begin() + at, std::move(row));
        d->RenumberFrom(size_t(at));
        d->view.clear();
        d->hasChildren = true;
        r = at;
    }
    if (d->ValidRow(r)) d->rows[size_t(r)].disabled = false;
    return r;
}

int СAi_ListCtrlEx::SetChild(int node, const CString& text, int column) {
    if (!m_impl || !m_impl->ValidColumn(column)) return -1;
    std::vector<CString> texts(m_impl->columns.size());
    texts[size_t(column)] = text;
    return SetChild(node, &texts, 0, nullptr, false);
}

int СAi_ListCtrlEx::GetInsertedIdxInFuture(int viewRow, int64_t flags, const std::vector<CString>* freeTexts) {
    Impl* d = m_impl.get();
    if (!d || !d->hasColumns || viewRow < 0 || viewRow >= int(d->view.size())) return -1;
    const int row = d->view[size_t(viewRow)];
    const int group = d->Group(row);
    NodeRec* n = d->Node(group);
    if (!n) return -1;
    d->currentGroup = group;
    if ((flags & 1) && n->filled >= n->childCount) {
        if (flags & 0x40)
            platform::Ui().MessageBox(HalvexLoadString(7091) + L"\"" + GetNodeName(group) + L"\"!", CString(),
                                      MB_OK | MB_ICONERROR);
        return -2;
    }
    if ((flags & 8) && !d->rows[size_t(row)].node) {
        const CellRec* key = d->Cell(row, n->commonSignificant);
        if (key && key->text.IsEmpty()) return row;
    }
    if (flags & 2) return d->Placement(group, (flags & 4) ? 1 : 0, freeTexts);
    return d->Placement(group, 2, freeTexts);
}

int СAi_ListCtrlEx::InsertTextToChild(int viewRow, int column, const CString& text, const std::vector<CString>* service,
                                      int64_t flags, int row) {
    Impl* d = m_impl.get();
    if (!d || !d->ValidColumn(column)) return -1;
    if (row == -1) {
        row = GetInsertedIdxInFuture(viewRow, flags, nullptr);
        if (row < 0) return -1;
    }
    if (!d->ValidRow(row) || d->rows[size_t(row)].node) return -1;
    d->PutText(row, column, text);
    const int node = d->rows[size_t(row)].parent;
    NodeRec* n = d->Node(node);
    if (n && (n->style & 0x20) && column == n->commonSignificant) d->MarkFilled(row);
    d->GroupDefaults(row);
    d->RefreshMarker(node);
    InsertServiceInfo(row, service, flags);
    d->lastWritten = row;
    return 0;
}

int СAi_ListCtrlEx::InsertTextToChildCells(int row, const std::vector<CString>* texts, const std::vector<CString>* service,
                                           int64_t flags) {
    Impl* d = m_impl.get();
    if (!d || !d->hasChildren || !d->ValidRow(row) || d->rows[size_t(row)].node || !(flags & 0x30)) return -1;
    const int node = d->rows[size_t(row)].parent;
    NodeRec* n = d->Node(node);
    if (d->rows[size_t(row)].disabled || (n && n->disabled)) return -1;
    if (n && n->filled >= n->childCount) return -2;
    InsertServiceInfo(row, service, flags);
    bool wrote = false;
    if (texts)
        for (size_t c = 0; c < texts->size() && c < d->columns.size(); ++c) {
            if ((*texts)[c] == kNoWrite) continue;
            d->PutText(row, int(c), (*texts)[c]);
            if (!wrote && !d->rows[size_t(row)].filled) {
                d->MarkFilled(row);
                d->RefreshMarker(node);
            }
            wrote = true;
        }
    if (wrote) d->Settle(row);
    return 0;
}

void СAi_ListCtrlEx::InsertServiceInfo(int row, const std::vector<CString>* service, int64_t flags) {
    if (!m_impl || !m_impl->ValidRow(row) || !service) return;
    auto& s = m_impl->rows[size_t(row)].service;
    if (flags & 0x20) s = *service;
    else if (flags & 0x10) s.insert(s.end(), service->begin(), service->end());
}

void СAi_ListCtrlEx::InsertServiceInfoToCell(int row, int column, const std::vector<CString>* service, int64_t flags) {
    CellRec* cell = m_impl ? m_impl->Cell(row, column) : nullptr;
    if (!cell || !service) return;
    if (flags & 0x20) cell->service = *service;
    else if (flags & 0x10) cell->service.insert(cell->service.end(), service->begin(), service->end());
}

bool СAi_ListCtrlEx::GetServiceInfo(int row, std::vector<CString>* service) const {
    if (!m_impl || !m_impl->ValidRow(row) || !service) return false;
    *service = m_impl->rows[size_t(row)].service;
    return true;
}

bool СAi_ListCtrlEx::SetServiceInfo(int row, const std::vector<CString>* service) {
    if (!m_impl || !m_impl->ValidRow(row) || !service) return false;
    m_impl->rows[size_t(row)].service = *service;
    return true;
}

bool СAi_ListCtrlEx::GetCellServiceInfo(int row, int column, std::vector<CString>* service) const {
    const CellRec* cell = m_impl ? m_impl->Cell(row, column) : nullptr;
    if (!cell || !service) return false;
    *service = cell->service;
    return true;
}

bool СAi_ListCtrlEx::ClearChild(int row, int flags, const std::vector<int>* columns, int count,
                                std::initializer_list<int> listed) {
    Impl* d = m_impl.get();
    m_clearedRows.clear();
    if (!d || !d->hasChildren) return false;
    std::vector<int> rows;
    if (flags & 0x20) {
        if (!d->ValidRow(row) || d->rows[size_t(row)].node || (d->rows[size_t(row)].style & 0x10)) return false;
        rows.push_back(row);
    } else if (row != -1) {
        if (row < 0 || row >= int(d->view.size())) return false;
        const int r = d->view[size_t(row)];
        if (d->rows[size_t(r)].node || (d->rows[size_t(r)].style & 0x10)) return false;
        rows.push_back(r);
    } else {
        std::vector<int> items;
        if (flags & 0x10) {
            for (int i = 0; i < int(d->view.size()); ++i) items.push_back(i);
        } else if (d->list) {
            items = d->list->GetSelectedItems();
        }
        if (items.empty()) return false;
        for (int i : items)
            if (i >= 0 && i < int(d->view.size())) rows.push_back(d->view[size_t(i)]);
    }
    std::erase_if(rows, [&](int r) {
        return (d->rows[size_t(r)].style & 0x10) || ((flags & 4) && !d->IsRowEnabledFull(r));
    });
    if (rows.empty()) return false;

    std::vector<int> cols;
    if (flags & 1) {
        for (int c : listed) {
            if (c == -1) break;
            if (!d->ValidColumn(c)) return false;
            cols.push_back(c);
        }
        if (cols.empty() || int(cols.size()) < count) return false;
    } else {
        if (!columns || columns->empty()) return false;
        for (int c : *columns)
            if (!d->ValidColumn(c)) return false;
        cols = *columns;
    }

    bool any = false;
    for (int r : rows) {
        RowRec& rec = d->rows[size_t(r)];
        if (rec.node || !rec.filled) continue;
        const int node = rec.parent;
        NodeRec* n = d->Node(node);
        bool lostKey = false;
        for (int c : cols) {
            CellRec* cell = d->Cell(r, c);
            if (!cell || ((flags & 4) && cell->disabled)) continue;
            d->PutText(r, c, CString());
            cell->textColor = kNone;
            if (n && c == n->commonSignificant) lostKey = true;
        }
        if (!lostKey) continue;
        any = true;
        rec.service.clear();
        rec.filled = false;
        m_clearedRows.push_back(r);
        if (d->list && m_clearedRows.size() > 1 && rec.viewIndex >= 0) d->list->SetSelected(rec.viewIndex, false);
        if (n && --n->filled <= 0) {
            n->filled = 0;
            if (n->significant >= 0) d->RefreshMarker(node);
            if (d->rows[size_t(node)].shown)
                for (int c = 0; c < int(d->columns.size()); ++c) {
                    CellRec* nc = d->Cell(node, c);
                    if (nc && nc->bind.Kind() != BIND_CTRL_NONE) d->PutText(node, c, CString());
                }
        }
    }
    return any;
}

void СAi_ListCtrlEx::ClearNodeChildren(int& node) {
    Impl* d = m_impl.get();
    if (!d || !d->Node(node)) return;
    const int end = d->SubtreeEnd(node);
    const int removed = end - node - 1;
    if (removed <= 0) return;
    d->CloseOpen();
    d->rows.erase(d->rows.begin() + node + 1, d->rows.begin() + end);
    for (RowRec& r : d->rows)
        if (r.parent >= end) r.parent -= removed;
    for (int p = d->rows[size_t(node)].parent; p >= 0; p = d->rows[size_t(p)].parent) {
        d->rows[size_t(p)].node->childCount -= removed;
    }
    NodeRec* n = d->Node(node);
    n->childCount = n->filled = 0;
    d->RenumberFrom(size_t(node));
    d->RefreshMarker(node);
    d->view.clear();
}

void СAi_ListCtrlEx::ClearColumn(int column) {
    Impl* d = m_impl.get();
    if (!d || !d->ValidColumn(column)) return;
    for (int r = 0; r < int(d->rows.size()); ++r) d->PutText(r, column, CString());
}

void СAi_ListCtrlEx::ClearRows() { ClearView(); }

void СAi_ListCtrlEx::DeleteRow(int row) {
    Impl* d = m_impl.get();
    if (!d || !d->ValidRow(row)) return;
    d->CloseOpen();
    const int end = d->rows[size_t(row)].node ? d->SubtreeEnd(row) : row + 1;
    const int removed = end - row;
    int filledGone = 0;
    for (int i = row; i < end; ++i)
        if (d->rows[size_t(i)].filled && d->rows[size_t(i)].parent == d->rows[size_t(row)].parent) ++filledGone;
    const int parent = d->rows[size_t(row)].parent;
    for (int p = parent; p >= 0; p = d->rows[size_t(p)].parent) d->rows[size_t(p)].node->childCount -= removed;
    if (NodeRec* n = d->Node(parent)) n->filled = std::max(0, n->filled - filledGone);
    d->rows.erase(d->rows.begin() + row, d->rows.begin() + end);
    for (RowRec& r : d->rows)
        if (r.parent >= end) r.parent -= removed;
    d->RenumberFrom(size_t(row));
    if (d->lastWritten >= row) d->lastWritten = -1;
    d->view.clear();
    if (d->Node(parent)) d->RefreshMarker(parent);
}

void СAi_ListCtrlEx::DeleteEmptyMark(int node) {
    NodeRec* n = m_impl ? m_impl->Node(node) : nullptr;
    if (!n) return;
    if (CellRec* cell = m_impl->Cell(node, n->significant))
        if (cell->text.Left(n->markerEmpty.GetLength()) == n->markerEmpty)
            m_impl->PutText(node, n->significant, cell->text.Mid(n->markerEmpty.GetLength()));
    n->markerEmpty = CString();
    if (n->filled <= 0) n->marker = CString();
}

void СAi_ListCtrlEx::SetNodeStyle(int node, int64_t flags, int significantColumn, int unwrapCell) {
    NodeRec* n = m_impl ? m_impl->Node(node) : nullptr;
    if (!n) return;
    n->style = uint32_t(flags);
    n->significant = m_impl->ValidColumn(significantColumn) ? significantColumn : -1;
    if (flags & 0x20) n->commonSignificant = m_impl->ValidColumn(unwrapCell) ? unwrapCell : -1;
    else n->unwrapCell = unwrapCell;
    if (n->significant >= 0) m_impl->RefreshMarker(node);
}

void СAi_ListCtrlEx::SetNodeEnable(int node) {
    Impl* d = m_impl.get();
    NodeRec* n = d ? d->Node(node) : nullptr;
    if (!n) return;
    n->disabled = false;
    const int end = d->SubtreeEnd(node);
    for (int r = node; r < end; ++r) SetRowEnable(r, true);
}

void СAi_ListCtrlEx::SetNodeDisable(int node) {
    Impl* d = m_impl.get();
    NodeRec* n = d ? d->Node(node) : nullptr;
    if (!n) return;
    const int end = d->SubtreeEnd(node);
    for (int r = node; r < end; ++r) SetRowEnable(r, false);
    n->disabled = true;
}

void СAi_ListCtrlEx::SetRowEnable(int row, bool enable) {
    Impl* d = m_impl.get();
    if (!d || !d->ValidRow(row)) return;
    RowRec& rec = d->rows[size_t(row)];
    // A row of a disabled group stays disabled.
    if (enable) {
        const NodeRec* g = d->Node(rec.node ? rec.parent : rec.parent);
        if (g && g->disabled && !rec.node) return;
    }
    if (rec.disabled == !enable) return;
    rec.disabled = !enable;
    const bool nested = rec.node && rec.parent >= 0;
    const COLORREF on = rec.node ? (nested ? kNestedBk : kNodeBk) : kChildBk;
    const COLORREF off = rec.node ? (nested ? kNestedBkOff : kNodeBkOff) : kChildBkOff;
    for (CellRec& c : rec.cells) {
        if (enable) {
            c.textColor = c.savedText;
            c.savedText = kNone;
            if (!c.disabled) c.defBk = on;
        } else {
            c.savedText = c.textColor;
            c.textColor = kGrayText;
            c.defBk = off;
        }
    }
}

void СAi_ListCtrlEx::SetRowStyle(int row, int64_t style) {
    if (m_impl && m_impl->ValidRow(row)) m_impl->rows[size_t(row)].style |= style;
}

bool СAi_ListCtrlEx::SetCommonSignificantCell(int node, int column) {
    NodeRec* n = m_impl ? m_impl->Node(node) : nullptr;
    if (!n || !(n->style & 0x20) || !m_impl->ValidColumn(column)) return false;
    n->commonSignificant = column;
    return true;
}

int СAi_ListCtrlEx::GetCommonSignificantCell(int node) const {
    const NodeRec* n = m_impl ? m_impl->Node(m_impl->Group(node)) : nullptr;
    return n ? n->commonSignificant : -1;
}

bool СAi_ListCtrlEx::IsSignificantCellSeted(int node) const {
    const NodeRec* n = m_impl ? m_impl->Node(m_impl->Group(node)) : nullptr;
    return n && n->significant >= 0;
}

CString СAi_ListCtrlEx::GetChainOfSignCellsAbove(int row) const {
    if (!m_impl || !m_impl->ValidRow(row)) return CString();
    CString chain;
    for (int p = m_impl->Group(row); p >= 0; p = m_impl->rows[size_t(p)].parent) {
        const NodeRec* n = m_impl->Node(p);
        const CellRec* cell = n ? m_impl->Cell(p, n->significant) : nullptr;
        const CString t = cell ? StripMarker(cell->text) : CString();
        chain = chain.IsEmpty() ? t : t + L"->" + chain;
    }
    return chain;
}

// --- cells -------------------------------------------------------------------------------

void СAi_ListCtrlEx::SetCellText(int row, int column, const CString& text, bool toView) {
    CellRec* cell = m_impl ? m_impl->Cell(row, column) : nullptr;
    if (!cell) return;
    if (toView) m_impl->PutText(row, column, text);
    else cell->text = text;
}

void СAi_ListCtrlEx::SetCellsText(int row, int firstColumn, int lastColumn, const CString& text) {
    for (int c = firstColumn; c <= lastColumn; ++c) SetCellText(row, c, text, true);
}

void СAi_ListCtrlEx::SetCellsText(int row, int firstColumn, const std::vector<CString>& texts) {
    for (size_t i = 0; i < texts.size(); ++i) SetCellText(row, firstColumn + int(i), texts[i], true);
}

CString СAi_ListCtrlEx::GetCellText(int row, int column) const {
    const CellRec* cell = m_impl ? m_impl->Cell(row, column) : nullptr;
    return cell ? cell->text : CString();
}

CString СAi_ListCtrlEx::GetCellTextInSelRow(int column) const {
    int row = -1, view = -1;
    GetFirstSelectedItem(&row, &view);
    return GetCellText(row, column);
}

void СAi_ListCtrlEx::SetCellTextColor(int row, int column, COLORREF color) {
    CellRec* cell = m_impl ? m_impl->Cell(row, column) : nullptr;
    if (!cell) return;
    cell->textColor = color;
    cell->savedText = color;
}

void СAi_ListCtrlEx::SetCellTextColor(int key, COLORREF color) {
    if (!m_impl) return;
    for (RowRec& r : m_impl->rows)
        for (CellRec& c : r.cells)
            if (c.flag == key) c.textColor = c.savedText = color;
}

COLORREF СAi_ListCtrlEx::GetCellTextColor(int row, int column) const {
    const CellRec* cell = m_impl ? m_impl->Cell(row, column) : nullptr;
    if (!cell) return kNone;
    return cell->textColor == kNone ? cell->defText : cell->textColor;
}

void СAi_ListCtrlEx::SetCellBgColor(int row, int column, COLORREF color) {
    if (CellRec* cell = m_impl ? m_impl->Cell(row, column) : nullptr) cell->bk = color;
}

COLORREF СAi_ListCtrlEx::GetCellBgColor(int row, int column) const {
    const CellRec* cell = m_impl ? m_impl->Cell(row, column) : nullptr;
    if (!cell) return kNone;
    return cell->bk == kNone ? cell->defBk : cell->bk;
}

void СAi_ListCtrlEx::SetRowBgColor(int row, COLORREF color) {
    for (int c = 0; c < GetCountColumns(); ++c) SetCellBgColor(row, c, color);
}

void СAi_ListCtrlEx::SetRowTextColor(int row, COLORREF color) {
    for (int c = 0; c < GetCountColumns(); ++c) SetCellTextColor(row, c, color);
}

void СAi_ListCtrlEx::SetCellEnable(int row, int column, bool enable) {
    Impl* d = m_impl.get();
    CellRec* cell = d ? d->Cell(row, column) : nullptr;
    if (!cell || cell->disabled == !enable) return;
    const RowRec& rec = d->rows[size_t(row)];
    const bool nested = rec.node && rec.parent >= 0;
    cell->disabled = !enable;
    if (enable) {
        cell->bind = cell->savedBind;
        cell->savedBind = BindRec();
        cell->defBk = rec.node ? (nested ? kNestedBk : kNodeBk) : kChildBk;
    } else {
        cell->savedBind = cell->bind;
        cell->bind = BindRec();
        cell->defBk = rec.node ? (nested ? kNestedBkOff : kNodeBkOff) : kChildBkOff;
    }
}

bool СAi_ListCtrlEx::IsCellEnable(int row, int column) const {
    const CellRec* cell = m_impl ? m_impl->Cell(row, column) : nullptr;
    return cell && !cell->disabled && m_impl->IsRowEnabledFull(row);
}

bool СAi_ListCtrlEx::IsRowEnable(int row) const { return m_impl && m_impl->IsRowEnabledFull(row); }

void СAi_ListCtrlEx::SetCellHideText(int row, int column) {
    if (CellRec* cell = m_impl ? m_impl->Cell(row, column) : nullptr) cell->hideText = true;
}

void СAi_ListCtrlEx::SetCellShowText(int row, int column) {
    if (CellRec* cell = m_impl ? m_impl->Cell(row, column) : nullptr) cell->hideText = false;
}

bool СAi_ListCtrlEx::IsCellHideText(int row, int column) const {
    const CellRec* cell = m_impl ? m_impl->Cell(row, column) : nullptr;
    return cell && cell->hideText;
}

void СAi_ListCtrlEx::SetCellFlag(int row, int column, int flag) {
    if (CellRec* cell = m_impl ? m_impl->Cell(row, column) : nullptr) cell->flag = flag;
}

int СAi_ListCtrlEx::GetCellFlag(int row, int column) const {
    const CellRec* cell = m_impl ? m_impl->Cell(row, column) : nullptr;
    return cell ? cell->flag : -1;
}

void СAi_ListCtrlEx::SetCellData(int row, int column, const std::vector<int64_t>* data) {
    CellRec* cell = m_impl ? m_impl->Cell(row, column) : nullptr;
    if (cell && data) cell->data = *data;
}

const std::vector<int64_t>& СAi_ListCtrlEx::GetCellData(int row, int column) const {
    static const std::vector<int64_t> none;
    const CellRec* cell = m_impl ? m_impl->Cell(row, column) : nullptr;
    return cell ? cell->data : none;
}

void СAi_ListCtrlEx::SetCellStyle(int row, int column, int64_t style) {
    if (CellRec* cell = m_impl ? m_impl->Cell(row, column) : nullptr) cell->style = style;
}

int64_t СAi_ListCtrlEx::GetCellStyle(int row, int column) const {
    const CellRec* cell = m_impl ? m_impl->Cell(row, column) : nullptr;
    return cell ? cell->style : -1;
}

void СAi_ListCtrlEx::SetCellTextStyle(int row, int column, CellTextStyle style) {
    if (CellRec* cell = m_impl ? m_impl->Cell(row, column) : nullptr) cell->textStyle = style;
}

CellTextStyle СAi_ListCtrlEx::GetCellTextStyle(int row, int column) const {
    const CellRec* cell = m_impl ? m_impl->Cell(row, column) : nullptr;
    return cell ? CellTextStyle(cell->textStyle) : CELL_TEXT_NORMAL;
}

void СAi_ListCtrlEx::SetRowBoldText(int row, CellTextStyle style) {
    for (int c = 0; c < GetCountColumns(); ++c) SetCellTextStyle(row, c, style);
}

void СAi_ListCtrlEx::SetCellImg(int row, int column, ImageListType type) {
    Impl* d = m_impl.get();
    CellRec* cell = d ? d->Cell(row, column) : nullptr;
    if (!cell) return;
    cell->imageType = type;
    cell->image = -1;
    for (size_t i = 0; i < d->imageEntries.size(); ++i)
        if (d->imageEntries[i].key == type) cell->image = int(i);
    cell->imagePending = true;
}

void СAi_ListCtrlEx::SetCellImg(int row, int column, int index) {
    CellRec* cell = m_impl ? m_impl->Cell(row, column) : nullptr;
    if (!cell) return;
    cell->image = index;
    cell->imagePending = true;
}

int СAi_ListCtrlEx::GetCellImg(int row, int column) const {
    const CellRec* cell = m_impl ? m_impl->Cell(row, column) : nullptr;
    return cell ? cell->image : -1;
}

int СAi_ListCtrlEx::GetCellImgType(int row, int column) const {
    const CellRec* cell = m_impl ? m_impl->Cell(row, column) : nullptr;
    return cell ? cell->imageType : IMAGE_TYPE_NONE;
}

BindCtrlType СAi_ListCtrlEx::HasCellBindCtrl(int row, int column) const {
    const CellRec* cell = m_impl ? m_impl->Cell(row, column) : nullptr;
    return cell ? cell->bind.Kind() : BIND_CTRL_NONE;
}

int СAi_ListCtrlEx::GetCellBindCtrlID(int row, int column) const {
    const CellRec* cell = m_impl ? m_impl->Cell(row, column) : nullptr;
    return cell ? cell->bind.ctrlId : -1;
}

}  // namespace halvex
