#pragma once
// The report list whose user hides and shows columns from a menu on the header, with the
// columns' states kept across inserts and deletes, tips on header items and bold columns.
#include <wx/tooltip.h>

#include <memory>

#include "halvex/controls/ReportListCtrl.h"
#include "halvex/controls/model/ColumnPicker.h"

class wxMenu;

namespace halvex {

class CAi_ListCtrlPicker : public ReportListCtrl {
public:
    CAi_ListCtrlPicker(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                       const wxSize& size = wxDefaultSize);

    // The extended styles and look of the list; the system theme needs nothing here.
    void MyPreSubclassWindow();
    int InsertColumn(int index, const CString& text, int format = LVCFMT_LEFT, int width = -1);
    bool DeleteColumn(int column);
    bool SetColumnWidth(int column, int width);
    int ShowColumn(int column, bool show) { return m_picker.ShowColumn(column, show); }
    bool IsColumnVisible(int column) const { return m_picker.IsColumnVisible(column); }
    int GetFirstVisibleColumn() const { return m_picker.GetFirstVisibleColumn(); }
    void SetColumnWidthAuto(int column, bool useHeader) { m_picker.SetColumnWidthAuto(column, useHeader); }
    void SetBoldColumn(int column, bool bold);
    int AddHeaderToolTip(int column, const wchar_t* text);
    void RecalcHeaderTips() { m_picker.RecalcHeaderTips(); }

    bool m_contextMenuEnabled = true;
    bool m_headerDragAllowed = true;

    // The column menu of the header at a client point (what a right click opens); a point
    // of (-1, -1), a keyboard request, opens none. Null when no menu is due.
    std::unique_ptr<wxMenu> BuildColumnMenu(CPoint point) const;
    // A command of the column menu: ids below the column count are consumed here.
    virtual bool OnCommand(int id);

protected:
    const ColumnPicker::ColumnState* GetColumnState(int column) const { return m_picker.GetColumnState(column); }
    int GetColumnStateCount() const { return m_picker.GetColumnStateCount(); }
    void InsertColumnState(int at, bool visible, int width) { m_picker.InsertColumnState(at, visible, width); }
    void DeleteColumnState(int at) { m_picker.DeleteColumnState(at); }

    virtual void OnMyItemClick(int) {}
    virtual void ColumnWidthsWasChanged() {}

    void OnHeaderContextMenu(CPoint p) override;
    void OnHeaderItemClick(int column) override { OnMyItemClick(column); }
    bool OnHeaderBeginResize(int column) override { return m_picker.MayBeginResize(column); }
    void OnHeaderEndResize(int column, int change) override;
    void OnHeaderDividerDblClick(int column) override { SetColumnWidthAuto(column, false); }
    bool OnHeaderBeginDrag(int) override { return m_headerDragAllowed; }
    bool OnHeaderEndDrag(int, int position) override { return m_picker.MayDropAt(position); }
    void OnHeaderMouseMove(CPoint p) override;
    bool OnListKeyDown(wxKeyEvent& e) override;

private:
    ColumnPicker m_picker;
    std::vector<int> m_widths;
    int m_tipShown = 0;
};

}  // namespace halvex
