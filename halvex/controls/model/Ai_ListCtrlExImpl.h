#pragma once
// The records behind the tree table, shared by its model and its view halves.
#include <memory>
#include <vector>

#include "halvex/controls/model/Ai_ListCtrlEx.h"
#include "platform/draw/GdiObjects.h"
#include "platform/draw/ImageList.h"

namespace halvex {

constexpr COLORREF kNodeBk = 0x99FFFF, kNodeBkOff = 0x99E9FF;
constexpr COLORREF kNestedBk = 0xBEFFFF, kNestedBkOff = 0xADF3FF;
constexpr COLORREF kChildBk = 0xFEFEFE, kChildBkOff = 0xE6E6E6;
constexpr COLORREF kGrayText = 0x969696;
constexpr COLORREF kNone = COLORREF(-1);
extern const wchar_t* const kMixedValues;   // "< ~~~ >"
extern const wchar_t* const kNoWrite;       // a text that leaves its cell as it is

struct BindRec {
    bool disabled = false;
    void* user = nullptr;
    BindCombo* combo = nullptr;
    int comboDefault = -1;
    BindEdit* edit = nullptr;
    CString value;
    bool overwrite = true;
    BindIpBox* ip = nullptr;
    BindDialog* dialog = nullptr;
    int ctrlId = -1;
    BindCtrlType Kind() const {
        if (combo) return BIND_CTRL_COMBO;
        if (edit) return BIND_CTRL_EDIT;
        if (ip) return BIND_CTRL_IP;
        if (dialog) return BIND_CTRL_CUSTOM;
        return BIND_CTRL_NONE;
    }
    BindWindow* Window() const {
        if (combo) return combo;
        if (edit) return edit;
        return ip;
    }
};

struct CellRec {
    bool disabled = false;
    bool hideText = false;
    int flag = 0;
    std::vector<int64_t> data;
    CString text;
    int textStyle = 0;
    COLORREF defBk = kChildBk, bk = kNone;
    COLORREF defText = 0, textColor = kNone, savedText = kNone;
    int64_t style = 0;
    std::vector<CString> service;
    bool imagePending = false;
    int imageType = IMAGE_TYPE_NONE;
    int image = -1;
    BindRec bind, savedBind;
};

struct NodeRec {
    bool disabled = false;
    int significant = -1;
    int commonSignificant = -1;
    int childCount = 0;
    int filled = 0;
    bool open = false;
    uint32_t style = 0;
    int unwrapCell = -1;
    CString marker = L"[  ] ";
    CString markerEmpty = L"[  ] ", markerClosed = L"[+] ", markerOpen = L"[ - ] ";
};

struct RowRec {
    std::vector<CellRec> cells;
    bool copyCells = true;
    int64_t style = 0;
    bool disabled = false;
    bool shown = false;
    bool filled = false;
    int viewIndex = -1;
    int parent = -1;
    int index = 0;
    std::vector<CString> service;
    std::unique_ptr<NodeRec> node;
};

struct ColumnRec {
    CString name;
    int width = 0;
    bool stretch = false;
    int64_t widthStyle = 2;
    int width2 = 0;
};

struct СAi_ListCtrlEx::Impl {
    ReportListModel* list = nullptr;
    NotifyWindow* notify = nullptr;
    bool attached = false, created = false, hasColumns = false, hasRows = false, updating = false;
    bool enabled = true, checkBoxes = false, firstIsRoot = false, nested = false, hasChildren = false;
    int oneColumn = -1;
    int editResult = 0;
    int currentGroup = -1;
    int lastWritten = -1;
    std::vector<ColumnRec> columns;
    std::vector<RowRec> rows;
    std::vector<int> view;  // model rows in list order
    CFont italic, boldItalic, strike, bold, base;
    const CFont* savedFont = nullptr;
    std::unique_ptr<CImageList> images;
    std::vector<СAi_ListCtrlEx::IMAGE_LIST> imageEntries;
    // The bound control now open.
    BindRec* openBind = nullptr;
    int openRow = -1, openColumn = -1;
    CString openText;

    bool ValidRow(int r) const { return r >= 0 && r < int(rows.size()); }
    bool ValidColumn(int c) const { return c >= 0 && c < int(columns.size()); }
    CellRec* Cell(int r, int c) {
        if (!ValidRow(r) || c < 0 || c >= int(rows[size_t(r)].cells.size())) return nullptr;
        return &rows[size_t(r)].cells[size_t(c)];
    }
    const CellRec* Cell(int r, int c) const { return const_cast<Impl*>(this)->Cell(r, c); }
    NodeRec* Node(int r) { return ValidRow(r) ? rows[size_t(r)].node.get() : nullptr; }
    const NodeRec* Node(int r) const { return ValidRow(r) ? rows[size_t(r)].node.get() : nullptr; }
    // The group of a row: the row itself for a node row, else its parent node.
    int Group(int r) const {
        if (!ValidRow(r)) return -1;
        return rows[size_t(r)].node ? r : rows[size_t(r)].parent;
    }
    // The child rows (not nested nodes) of a node, in order.
    std::vector<int> Children(int node) const;
    // The rows of a node's subtree after it.
    int SubtreeEnd(int node) const;
    int SignificantColumnOf(int node) const;
    bool IsRowEnabledFull(int r) const;
    void Send(unsigned message, intptr_t lParam);
    void PutText(int r, int c, const CString& text);
    void RefreshMarker(int node);
    void RefreshSummary(int r, int c);
    void GroupDefaults(int r);
    void Settle(int r);
    int Placement(int node, int rule, const std::vector<CString>* texts) const;
    // 0 nothing written, 1 written into the one cell, 2 spread over the group.
    int ApplyValue(int r, int c, const CString& value);
    void MarkFilled(int r);
    void RenumberFrom(size_t from);
    void Select(int viewRow, bool moveCursor, int cursorColumn);
    void CloseOpen();
};

CString StripMarker(const CString& text);
CString StripSummary(const CString& text);

}  // namespace halvex
