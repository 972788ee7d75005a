#pragma once
// The report-view list window: it shows a ReportListModel, painted through the drawing
// layer, and turns mouse and keyboard input into the list's notifications. What the list's
// owner handles (custom draw, clicks, the header menu, resizing) are virtual operations whose
// default forwards to the hooks an owner sets.
#include <wx/window.h>

#include <functional>
#include <vector>

#include "halvex/controls/model/ReportList.h"
#include "halvex/controls/model/ReportListPainter.h"

class wxPaintEvent;
class wxMouseEvent;
class wxKeyEvent;
class wxSizeEvent;

namespace halvex {

class ReportListCtrl : public wxWindow, public ReportListHost {
public:
    ReportListCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                   const wxSize& size = wxDefaultSize);
    ~ReportListCtrl() override;

    ReportListModel& List() { return m_list; }
    const ReportListModel& List() const { return m_list; }

    // Hooks of the owner (the notifications the list sends its parent).
    std::function<intptr_t(NMLVCUSTOMDRAW&)> onCustomDraw;
    std::function<void(int item, int column, CPoint point)> onDoubleClick;
    std::function<void(int item, int column)> onClick;
    std::vector<int> boldColumns;

    // --- ReportListHost ---
    void Repaint() override;
    CPoint GetCursorPos() const override;
    void SetCursorPos(CPoint client) override;
    void SetWindowHeight(int height) override;
    int GetWindowBottom() const override;

protected:
    virtual intptr_t CustomDraw(NMLVCUSTOMDRAW& cd) { return onCustomDraw ? onCustomDraw(cd) : CDRF_DODEFAULT; }
    virtual void OnItemDoubleClick(int item, int column, CPoint p) {
        if (onDoubleClick) onDoubleClick(item, column, p);
    }
    virtual void OnItemClick(int item, int column) {
        if (onClick) onClick(item, column);
    }
    // The header: a right click (client point), a click on an item, a divider drag.
    virtual void OnHeaderContextMenu(CPoint) {}
    virtual void OnHeaderItemClick(int) {}
    virtual bool OnHeaderBeginResize(int) { return true; }
    virtual void OnHeaderEndResize(int, int) {}
    virtual void OnHeaderDividerDblClick(int) {}
    // Dragging a header item to another place (with LVS_EX_HEADERDRAGDROP): may it start,
    // and may the column land at that display position.
    virtual bool OnHeaderBeginDrag(int) { return true; }
    virtual bool OnHeaderEndDrag(int, int) { return true; }
    virtual void OnHeaderMouseMove(CPoint) {}
    virtual bool OnListKeyDown(wxKeyEvent&) { return false; }

private:
    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnMouse(wxMouseEvent& event);
    void OnKey(wxKeyEvent& event);

    ReportListModel m_list;
    int m_resizing = -1;  // the column whose divider is dragged
    int m_resizeStartX = 0, m_resizeStartWidth = 0;
    int m_anchor = -1;
    int m_dragging = -1;  // the column whose header item is dragged
};

}  // namespace halvex
