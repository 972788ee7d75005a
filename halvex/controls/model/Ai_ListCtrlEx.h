#pragma once
// The tree table: a report-view list control, created by its owner, turned into a two-level
// table of groups (node rows) with their child rows, cells with colours, styles, images,
// service strings and a bound editing control. The object is no window: the owner hands it
// its list and its notification window and forwards the list's notifications to it.
// The class name starts with the Cyrillic capital Es (U+0421), as the library exports it.
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "halvex/controls/model/BindControls.h"
#include "halvex/controls/model/ReportList.h"
#include "platform/CString.h"
#include "platform/Geometry.h"
#include "platform/WinTypes.h"

class CFont;
class CBitmap;

namespace halvex {

enum BindCtrlType : int { BIND_CTRL_NONE = 0, BIND_CTRL_COMBO = 1, BIND_CTRL_EDIT = 2, BIND_CTRL_IP = 3,
                          BIND_CTRL_CUSTOM = 4 };
enum CellTextStyle : int { CELL_TEXT_NORMAL = 0, CELL_TEXT_RESTORE = 1, CELL_TEXT_SHARED = 2,
                           CELL_TEXT_ITALIC = 3, CELL_TEXT_BOLD_ITALIC = 4, CELL_TEXT_STRIKEOUT = 5 };
enum ImageListType : int { IMAGE_TYPE_NONE = -10 };
enum SHOW_AND_SELECT_CHILD : int { SHOW_CHILD_ROW = 0, SHOW_CHILD_LAST_FILLED = 1, SHOW_CHILD_LAST_WRITTEN = 2 };

// Notifications to the owner.
constexpr unsigned WM_USER_LIST_VALUE_SET = 0x400 + 43;
constexpr unsigned WM_USER_LIST_EDIT_CANCELLED = 0x400 + 44;

class СAi_ListCtrlEx {
public:
    struct BIND_INFO {
        int viewRow = -1;
        int row = -1;
        int column = -1;
        int cellFlag = 0;
        CString oldText;
        CString newText;
        BindCtrlType type = BIND_CTRL_NONE;
    };
    struct MOVE_STEP {
        int target = -1;
        int source = -1;
        bool up = false;
        int steps = 0;
        bool next = false;  // the callback sets it to move the same row one step further
    };
    using MoveCallback = void (*)(MOVE_STEP*);

    struct IMAGE_LIST {
        int bitmapId = -1;
        int iconId = -1;
        int key = 0;
        COLORREF mask = 0xFFFFFF;
        int type = IMAGE_TYPE_NONE;
        const CBitmap* bitmap = nullptr;  // the picture of bitmapId (resources are files here)
        IMAGE_LIST(int bitmap_, int key_, COLORREF mask_, int type_, const CBitmap* picture = nullptr)
            : bitmapId(bitmap_), key(key_), mask(mask_), type(type_), bitmap(picture) {}
        IMAGE_LIST(int icon, int key_) : iconId(icon), key(key_) {}
    };
    struct GET_BY_FILTER {
        int mode = 1;
        int kind = 6;
        int column = 0;
        int childrenOnly = 0;
    };
    struct RESULT_GET_LIST {
        bool isNode = false;
        int row = -1;
        int viewRow = -1;
        int nodeViewRow = -1;
        int nodeRow = -1;
        std::vector<CString> texts;
        std::vector<CString> service;
    };
    struct BIND_CTRL_TO_CELL {
        bool disabled = false;
        int column = -1;
        CString value;
        bool overwrite = false;
        void* user = nullptr;
        BindEdit* edit = nullptr;
        BindIpBox* ip = nullptr;
        BindDialog* dialog = nullptr;
        int comboDefault = -1;
        BindCombo* combo = nullptr;
        int ctrlId = -1;
        void Clear() { *this = BIND_CTRL_TO_CELL(); overwrite = true; }
    };
    using BIND_TO_CELL = std::vector<BIND_CTRL_TO_CELL>;

    СAi_ListCtrlEx();
    ~СAi_ListCtrlEx();
    // Two objects driving one table would free it twice.
    СAi_ListCtrlEx(const СAi_ListCtrlEx&) = delete;
    СAi_ListCtrlEx& operator=(const СAi_ListCtrlEx&) = delete;

    std::vector<int> m_clearedRows;
    MoveCallback m_moveCallback = nullptr;
    int m_oldImage = -10, m_newImage = -10;

    // --- attaching and creating ------------------------------------------------------
    void SetList(ReportListModel* list, NotifyWindow* notify);
    bool CreateList(bool checkBoxes, DWORD extraStyle);
    bool CreateImageList(int cx, int cy, UINT flags, int kind, const std::vector<IMAGE_LIST>* entries);
    bool SetImageListAgain();
    void Destroy();
    void ClearView();
    bool IsTable() const;

    // --- columns ---------------------------------------------------------------------
    int SetColumnEx(CString name, int format);
    void SetColumnWidthStyle(int column, int64_t style, int width);
    void MatchColumns(bool reserve);
    bool IsMatchColumn() const;
    void ChangeColumnName(int column, const CString& name);
    static void ChangeColumnName(ReportListModel* list, int column, const CString& name);
    int GetCountColumns() const;

    // --- rows ------------------------------------------------------------------------
    int SetNode(const std::vector<CString>* texts, const BIND_TO_CELL* binds, bool firstIsRoot);
    int SetEmptyChild(int node, const std::vector<CString>* texts, int64_t style, const BIND_TO_CELL* binds);
    int SetChild(int node, const std::vector<CString>* texts, int64_t style, const BIND_TO_CELL* binds, bool nested);
    int SetChild(int node, const CString& text, int column);
    int GetInsertedIdxInFuture(int viewRow, int64_t flags, const std::vector<CString>* freeTexts);
    int InsertTextToChild(int viewRow, int column, const CString& text, const std::vector<CString>* service,
                          int64_t flags, int row = -1);
    int InsertTextToChildCells(int row, const std::vector<CString>* texts, const std::vector<CString>* service,
                               int64_t flags);
    void InsertServiceInfo(int row, const std::vector<CString>* service, int64_t flags);
    void InsertServiceInfoToCell(int row, int column, const std::vector<CString>* service, int64_t flags);
    bool GetServiceInfo(int row, std::vector<CString>* service) const;
    bool SetServiceInfo(int row, const std::vector<CString>* service);
    bool GetCellServiceInfo(int row, int column, std::vector<CString>* service) const;
    // The columns of flag 1 are a list ended by -1 (in place of the C variable arguments).
    bool ClearChild(int row, int flags, const std::vector<int>* columns, int count,
                    std::initializer_list<int> listed = {});
    void ClearNodeChildren(int& node);
    void ClearColumn(int column);
    void ClearRows();
    void DeleteRow(int row);
    void DeleteEmptyMark(int node);
    void MoveSelectedChildren(bool up, int flags, int type, const std::vector<int>* columns, int count,
                              std::initializer_list<int> listed = {});
    void SetNodeStyle(int node, int64_t flags, int significantColumn, int unwrapCell);
    void SetNodeEnable(int node);
    void SetNodeDisable(int node);
    void SetRowEnable(int row, bool enable);
    void SetCommonStyle(int64_t style) { m_commonStyle = style; }
    void SetRowStyle(int row, int64_t style);
    bool SetCommonSignificantCell(int node, int column);
    int GetCommonSignificantCell(int node) const;
    bool IsSignificantCellSeted(int node) const;
    CString GetChainOfSignCellsAbove(int row) const;

    // --- cells -----------------------------------------------------------------------
    void SetCellText(int row, int column, const CString& text, bool toView = true);
    void SetCellsText(int row, int firstColumn, int lastColumn, const CString& text);
    void SetCellsText(int row, int firstColumn, const std::vector<CString>& texts);
    CString GetCellText(int row, int column) const;
    CString GetCellTextInSelRow(int column) const;
    void SetCellTextColor(int row, int column, COLORREF color);
    void SetCellTextColor(int key, COLORREF color);
    COLORREF GetCellTextColor(int row, int column) const;
    void SetCellBgColor(int row, int column, COLORREF color);
    COLORREF GetCellBgColor(int row, int column) const;
    void SetRowBgColor(int row, COLORREF color);
    void SetRowTextColor(int row, COLORREF color);
    void SetCellEnable(int row, int column) { SetCellEnable(row, column, true); }
    void SetCellEnable(int row, int column, bool enable);
    void SetCellDisable(int row, int column) { SetCellEnable(row, column, false); }
    bool IsCellEnable(int row, int column) const;
    bool IsRowEnable(int row) const;
    void SetCellHideText(int row, int column);
    void SetCellShowText(int row, int column);
    bool IsCellHideText(int row, int column) const;
    void SetCellFlag(int row, int column, int flag);
    int GetCellFlag(int row, int column) const;
    void SetCellData(int row, int column, const std::vector<int64_t>* data);
    const std::vector<int64_t>& GetCellData(int row, int column) const;
    void SetCellStyle(int row, int column, int64_t style);
    int64_t GetCellStyle(int row, int column) const;
    void SetCellTextStyle(int row, int column, CellTextStyle style);
    CellTextStyle GetCellTextStyle(int row, int column) const;
    void SetRowBoldText(int row, CellTextStyle style);
    void SetCellImg(int row, int column, ImageListType type);
    void SetCellImg(int row, int column, int index);
    int GetCellImg(int row, int column) const;
    int GetCellImgType(int row, int column) const;
    BindCtrlType HasCellBindCtrl(int row, int column) const;
    int GetCellBindCtrlID(int row, int column) const;

    // --- queries ---------------------------------------------------------------------
    // The columns to report are a list ended by -1 (in place of the C variable arguments).
    bool GetListItems(const GET_BY_FILTER* filter, std::vector<RESULT_GET_LIST>* result, int n,
                      std::initializer_list<int> columns);
    // -1 when no row holds the text.
    int FindRow(const CString& text, int column) const { return FindRow(text, column, 0); }
    int FindRow(const CString& text, int column, int startRow) const;
    CString GetNodeName(int row) const;
    int GetAvailabelCountOfChild(int node) const;
    int GetSetedCountOfChild(int node) const;
    bool IsNodeRow(int row) const;
    bool IsNodeUnwrapped(int node) const;
    int GetNodeRow(int row) const;
    void GetIdxOfNodesInList(std::vector<int>* nodes) const;
    int GetNodeRowIdxInView(int node) const;
    int GetRowIdxInView(int row) const;
    int CnvIdxViewToList(int viewRow) const;
    bool IsSelectedRows() const;
    void UnselectRows();
    void SelectRow(int viewRow);
    void GetSelectedItems(std::vector<int>* viewRows) const;
    void GetFirstSelectedItem(int* row, int* viewRow) const;
    bool IsSelectedRowVisible() const;
    void DoSelectedRowVisible();
    bool IsRowVisible(int row) const;
    int SelectAndShowChild(SHOW_AND_SELECT_CHILD which, int viewRow, bool moveCursor);

    // --- view, drawing and editing -----------------------------------------------------
    void UpdateView();
    bool IsUpdatingView() const;
    void WrapTree();
    void UnwrapTree();
    void UnwrapNode(int row);
    int OnCustomDrawEx(NMHDR* hdr, intptr_t* result, COLORREF bk = COLORREF(-1), COLORREF text = COLORREF(-1));
    void OnDblClick(int viewRow, int column, const POINT* point);
    void OnLClick(int viewRow, int column);
    void OnSelchangeCmbbox();
    void OnCloseUpCmbbox();
    void EditBindCtrlKillFocus(bool accept);
    BIND_INFO& GetBindInfo() { return m_bindInfo; }
    bool IsCtrlMeanWasSetedSingle() const;
    bool IsCtrlMeanWasSetedMulti() const;
    void ClearCtrlMeanWasSeted();
    int MatchHeight(bool extraRow, int add);
    bool GetCellRect(int row, int column, CRect* cell, CRect* other) const;
    bool IsPointInCell(const POINT* point, int& row, int& column) const;
    void SetTableEnable(bool enable);
    bool IsTableEnable() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    BIND_INFO m_bindInfo;
    int64_t m_commonStyle = 0;
};

// The name typed without the Cyrillic letter.
using CAi_ListCtrlEx = СAi_ListCtrlEx;

}  // namespace halvex
