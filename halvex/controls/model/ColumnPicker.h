#pragma once
// The column picker's rules over a report list: columns hidden (width 0, moved to the front
// of the display order) and shown again at their place and width, which header actions a
// hidden column refuses, automatic widths, and the header tips' rectangles.
#include <vector>

#include "halvex/controls/model/ReportList.h"

namespace halvex {

class ColumnPicker {
public:
    struct ColumnState {
        bool visible = true;
        int savedWidth = 0;
        int savedOrder = 0;
    };
    struct HeaderTip {
        int id = 0;  // column + 1
        CRect rect;
        CString text;
    };

    explicit ColumnPicker(ReportListModel& list) : m_list(list) {}

    // 1 when the column changed, 0 for a column out of range or already so.
    int ShowColumn(int column, bool show);
    bool IsColumnVisible(int column) const;
    int GetFirstVisibleColumn() const;
    void SetColumnWidthAuto(int column, bool useHeader);

    // What the list's own handling is asked first.
    void OnInsertColumn(int index);
    void OnDeleteColumn(int index);
    bool MaySetWidth(int column) const { return IsColumnVisible(column); }
    bool MayBeginResize(int column) const { return IsColumnVisible(column); }
    // A column dragged to display position `position` may not go before the first visible one.
    bool MayDropAt(int position) const;

    // Header tips: 0 when refused (not the report view, no such column).
    int AddHeaderToolTip(int column, const wchar_t* text);
    void RecalcHeaderTips();
    // After a divider drag: the tips from the resized column on move by the change.
    void MoveTipsAfterResize(int column, int change);
    const std::vector<HeaderTip>& Tips() const { return m_tips; }
    // The tip under a header point, or null.
    const HeaderTip* TipAt(CPoint p) const;

    const ColumnState* GetColumnState(int column) const;
    int GetColumnStateCount() const { return int(m_states.size()); }
    void InsertColumnState(int at, bool visible, int width);
    void DeleteColumnState(int at);

private:
    CRect TipRect(int column) const;
    ReportListModel& m_list;
    std::vector<ColumnState> m_states;
    std::vector<HeaderTip> m_tips;
};

}  // namespace halvex
