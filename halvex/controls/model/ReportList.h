#pragma once
// The report-view list control the tree table and the column picker drive: columns with a
// display order, items with a text and an image per column, a check box per item, the
// selection, and the geometry of header and rows. It holds no window; the window that shows
// it (ReportListCtrl) implements the host, and the drawing lives in ReportListPainter, so
// everything a list does is reachable without a display.
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/CString.h"
#include "platform/Geometry.h"
#include "platform/WinTypes.h"
#include "platform/draw/GdiTypes.h"

class CImageList;
class CFont;

namespace halvex {

// Column formats and extended styles, with the framework's values.
enum : int { LVCFMT_LEFT = 0, LVCFMT_RIGHT = 1, LVCFMT_CENTER = 2, LVCFMT_IMAGE = 0x800 };
enum : DWORD { LVS_EX_GRIDLINES = 0x1, LVS_EX_SUBITEMIMAGES = 0x2, LVS_EX_CHECKBOXES = 0x4,
               LVS_EX_HEADERDRAGDROP = 0x10, LVS_EX_FULLROWSELECT = 0x20, LVS_EX_DOUBLEBUFFER = 0x10000 };

// The custom-draw notification of a report list, as the list window fills it for a pass.
enum : DWORD { CDDS_PREPAINT = 0x1, CDDS_POSTPAINT = 0x2, CDDS_ITEM = 0x10000, CDDS_SUBITEM = 0x20000,
               CDDS_ITEMPREPAINT = CDDS_ITEM | CDDS_PREPAINT, CDDS_ITEMPOSTPAINT = CDDS_ITEM | CDDS_POSTPAINT };
enum : intptr_t { CDRF_DODEFAULT = 0, CDRF_NEWFONT = 0x2, CDRF_NOTIFYPOSTPAINT = 0x10, CDRF_NOTIFYITEMDRAW = 0x20,
                  CDRF_NOTIFYSUBITEMDRAW = 0x20 };
struct NMHDR {
    void* hwndFrom = nullptr;
    uintptr_t idFrom = 0;
    int code = 0;
};
struct NMLVCUSTOMDRAW {
    NMHDR hdr;
    DWORD dwDrawStage = 0;
    int item = 0;      // the list item (dwItemSpec)
    int iSubItem = 0;
    COLORREF clrText = 0;
    COLORREF clrTextBk = 0xFFFFFF;
    const CFont* font = nullptr;  // the font selected for the cell; the handler may replace it
};

// What only a window can do for its list.
class ReportListHost {
public:
    virtual ~ReportListHost() = default;
    virtual void Repaint() = 0;
    // The mouse pointer in client coordinates, and moving it there.
    virtual CPoint GetCursorPos() const = 0;
    virtual void SetCursorPos(CPoint client) = 0;
    virtual void SetWindowHeight(int height) = 0;
    virtual int GetWindowBottom() const = 0;  // in client coordinates
};

class ReportListModel {
public:
    struct Column {
        CString text;
        int format = LVCFMT_LEFT;
        int width = 0;
    };

    ReportListModel();
    void SetHost(ReportListHost* host) { m_host = host; }
    ReportListHost* Host() const { return m_host; }

    // --- columns (indexes are insertion indexes; the order is the display order) ---------
    int InsertColumn(int index, const CString& text, int format = LVCFMT_LEFT, int width = -1);
    bool DeleteColumn(int column);
    int GetColumnCount() const { return int(m_columns.size()); }
    const Column* GetColumn(int column) const;
    int GetColumnWidth(int column) const;
    bool SetColumnWidth(int column, int width);
    CString GetColumnText(int column) const;
    bool SetColumnText(int column, const CString& text);
    std::vector<int> GetColumnOrder() const { return m_order; }
    bool SetColumnOrder(const std::vector<int>& order);
    // Position of a column in the display order, -1 for none.
    int DisplayPosition(int column) const;

    // --- items -------------------------------------------------------------------------
    int GetItemCount() const { return int(m_items.size()); }
    int InsertItem(int index, const CString& text);
    bool DeleteItem(int item);
    void DeleteAllItems();
    bool SetItemText(int item, int column, const CString& text);
    CString GetItemText(int item, int column) const;
    bool SetItemImage(int item, int column, int image);
    int GetItemImage(int item, int column) const;
    bool GetCheck(int item) const;
    bool SetCheck(int item, bool checked);

    // --- selection ---------------------------------------------------------------------
    bool IsSelected(int item) const;
    void SetSelected(int item, bool selected);
    std::vector<int> GetSelectedItems() const;
    int GetSelectedCount() const;
    void SetFocused(int item);
    int GetFocused() const { return m_focused; }
    void SetSelectionMark(int item) { m_mark = item; }
    int GetSelectionMark() const { return m_mark; }

    // --- look and geometry -------------------------------------------------------------
    // The list shows its report view (the only one drawn here) unless told otherwise.
    bool IsReportView() const { return m_reportView; }
    void SetReportView(bool report) { m_reportView = report; }
    DWORD GetExtendedStyle() const { return m_exStyle; }
    void SetExtendedStyle(DWORD style);
    const LOGFONTW& GetFont() const { return m_font; }
    void SetFont(const LOGFONTW& font) { m_font = font; }
    // Pixel width of a text in the list's font.
    int GetStringWidth(const CString& text) const;
    void SetImageList(const CImageList* images);
    const CImageList* GetImageList() const { return m_images; }
    void SetClientSize(int width, int height);
    CRect GetClientRect() const { return {0, 0, m_clientWidth, m_clientHeight}; }
    int HeaderHeight() const;
    int ItemHeight() const;
    int GetTopIndex() const { return m_top; }
    int GetScrollX() const { return m_scrollX; }
    void SetScrollX(int x) { m_scrollX = x < 0 ? 0 : x; }
    int VisibleRows() const;
    void SetTopIndex(int item);
    void EnsureVisible(int item);
    bool IsItemVisible(int item) const;
    // The cell of an item and column (client coordinates); false out of range.
    bool GetSubItemRect(int item, int column, CRect* rect) const;
    // Left edge of a column in client coordinates (scroll included).
    int ColumnLeft(int column) const;
    // The item and column at a client point; -1 when none. In the header the item is -1 and
    // `inHeader` is set.
    int HitTest(CPoint p, int* column, bool* inHeader = nullptr) const;
    // The header divider at a point (the column whose right edge it is), -1 for none.
    int HitDivider(CPoint p) const;

    // Repaint switched off while a batch of changes is made.
    void SetRedraw(bool on);
    void Invalidate();

private:
    struct Item {
        std::vector<CString> texts;
        std::vector<int> images;
        bool selected = false;
        bool checked = false;
    };
    void FitItem(Item& item) const;

    ReportListHost* m_host = nullptr;
    std::vector<Column> m_columns;
    std::vector<int> m_order;
    std::vector<Item> m_items;
    int m_focused = -1, m_mark = -1;
    DWORD m_exStyle = 0;
    LOGFONTW m_font;
    const CImageList* m_images = nullptr;
    int m_clientWidth = 0, m_clientHeight = 0;
    int m_top = 0, m_scrollX = 0;
    bool m_redraw = true;
    bool m_reportView = true;
};

}  // namespace halvex
