#include "halvex/controls/ReportListCtrl.h"

#include <wx/dcclient.h>
#include <wx/graphics.h>
#include <wx/settings.h>

#include <algorithm>

#include "platform/draw/DeviceContext.h"

namespace halvex {

ReportListCtrl::ReportListCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxWindow(parent, id, pos, size, wxBORDER_THEME | wxWANTS_CHARS | wxFULL_REPAINT_ON_RESIZE) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    m_list.SetHost(this);
    const wxSize client = GetClientSize();
    m_list.SetClientSize(client.x, client.y);
    Bind(wxEVT_PAINT, &ReportListCtrl::OnPaint, this);
    Bind(wxEVT_SIZE, &ReportListCtrl::OnSize, this);
    for (auto type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_LEFT_DCLICK, wxEVT_RIGHT_DOWN, wxEVT_MOTION, wxEVT_MOUSEWHEEL})
        Bind(type, &ReportListCtrl::OnMouse, this);
    Bind(wxEVT_KEY_DOWN, &ReportListCtrl::OnKey, this);
}

ReportListCtrl::~ReportListCtrl() { m_list.SetHost(nullptr); }

void ReportListCtrl::Repaint() { Refresh(false); }

CPoint ReportListCtrl::GetCursorPos() const {
    const wxPoint p = ScreenToClient(wxGetMousePosition());
    return CPoint(p.x, p.y);
}

void ReportListCtrl::SetCursorPos(CPoint client) { WarpPointer(client.x, client.y); }

void ReportListCtrl::SetWindowHeight(int height) {
    const wxSize outer = GetSize(), inner = GetClientSize();
    SetSize(outer.x, height + (outer.y - inner.y));
}

int ReportListCtrl::GetWindowBottom() const { return GetClientSize().y; }

void ReportListCtrl::OnPaint(wxPaintEvent&) {
    wxPaintDC paint(this);
    const wxSize size = GetClientSize();
    if (size.x <= 0 || size.y <= 0) return;
    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(paint));
    auto* cr = gc ? static_cast<cairo_t*>(gc->GetNativeContext()) : nullptr;
    if (!cr) return;
    CDC dc;
    dc.Attach(cr, size.x, size.y);
    ReportListLook look;
    look.focused = true;
    PaintReportList(&dc, m_list, [this](NMLVCUSTOMDRAW& cd) { return CustomDraw(cd); }, look, boldColumns);
    dc.Detach();
}

void ReportListCtrl::OnSize(wxSizeEvent& event) {
    const wxSize client = GetClientSize();
    m_list.SetClientSize(client.x, client.y);
    Refresh(false);
    event.Skip();
}

void ReportListCtrl::OnMouse(wxMouseEvent& event) {
    const CPoint p(event.GetX(), event.GetY());
    int column = -1;
    bool inHeader = false;
    const int item = m_list.HitTest(p, &column, &inHeader);
    const wxEventType type = event.GetEventType();
    if (type == wxEVT_MOUSEWHEEL) {
        m_list.SetTopIndex(m_list.GetTopIndex() - event.GetWheelRotation() / std::max(1, event.GetWheelDelta()) * 3);
        return;
    }
    if (type == wxEVT_MOTION) {
        if (m_resizing >= 0 && event.LeftIsDown()) {
            m_list.SetColumnWidth(m_resizing, std::max(0, m_resizeStartWidth + p.x - m_resizeStartX));
        } else if (inHeader) {
            OnHeaderMouseMove(p);
            SetCursor(m_list.HitDivider(p) >= 0 ? wxCursor(wxCURSOR_SIZEWE) : wxNullCursor);
        } else {
            SetCursor(wxNullCursor);
        }
        event.Skip();
        return;
    }
    if (type == wxEVT_LEFT_UP) {
        if (m_dragging >= 0) {
            const int dragged = m_dragging;
            m_dragging = -1;
            if (HasCapture()) ReleaseMouse();
            // The drop position is the display place of the column under the pointer.
            int target = -1;
            m_list.HitTest(CPoint(p.x, 1), &target);
            const int position = target >= 0 ? m_list.DisplayPosition(target) : m_list.GetColumnCount() - 1;
            if (target != dragged && OnHeaderEndDrag(dragged, position)) {
                std::vector<int> order = m_list.GetColumnOrder();
                order.erase(order.begin() + m_list.DisplayPosition(dragged));
                order.insert(order.begin() + std::min<size_t>(size_t(position), order.size()), dragged);
                m_list.SetColumnOrder(order);
            }
            return;
        }
        if (m_resizing >= 0) {
            const int change = m_list.GetColumnWidth(m_resizing) - m_resizeStartWidth;
            const int column = m_resizing;
            m_resizing = -1;
            if (HasCapture()) ReleaseMouse();
            OnHeaderEndResize(column, change);
        }
        return;
    }
    SetFocus();
    if (inHeader) {
        const int divider = m_list.HitDivider(p);
        if (type == wxEVT_RIGHT_DOWN) {
            OnHeaderContextMenu(p);
        } else if (type == wxEVT_LEFT_DCLICK && divider >= 0) {
            OnHeaderDividerDblClick(divider);
        } else if (type == wxEVT_LEFT_DOWN && divider >= 0) {
            if (OnHeaderBeginResize(divider)) {
                m_resizing = divider;
                m_resizeStartX = p.x;
                m_resizeStartWidth = m_list.GetColumnWidth(divider);
                CaptureMouse();
            }
        } else if (type == wxEVT_LEFT_DOWN && column >= 0) {
            OnHeaderItemClick(column);
            if ((m_list.GetExtendedStyle() & LVS_EX_HEADERDRAGDROP) && OnHeaderBeginDrag(column)) {
                m_dragging = column;
                CaptureMouse();
            }
        }
        return;
    }
    if (type == wxEVT_LEFT_DOWN || type == wxEVT_RIGHT_DOWN) {
        if (item >= 0) {
            if (event.ControlDown()) {
                m_list.SetSelected(item, !m_list.IsSelected(item));
            } else if (event.ShiftDown() && m_anchor >= 0) {
                m_list.SetSelected(-1, false);
                for (int i = std::min(m_anchor, item); i <= std::max(m_anchor, item); ++i) m_list.SetSelected(i, true);
            } else {
                m_list.SetSelected(-1, false);
                m_list.SetSelected(item, true);
                m_anchor = item;
            }
            m_list.SetFocused(item);
            m_list.SetSelectionMark(item);
        }
        // A check box toggles on a press in it.
        if (item >= 0 && column == 0 && (m_list.GetExtendedStyle() & LVS_EX_CHECKBOXES)) {
            CRect cell;
            m_list.GetSubItemRect(item, 0, &cell);
            if (p.x < cell.left + 4 + 13 + 2) m_list.SetCheck(item, !m_list.GetCheck(item));
        }
        if (type == wxEVT_LEFT_DOWN) OnItemClick(item, column);
    } else if (type == wxEVT_LEFT_DCLICK) {
        OnItemDoubleClick(item, column, p);
    }
}

void ReportListCtrl::OnKey(wxKeyEvent& event) {
    if (OnListKeyDown(event)) return;
    int focus = m_list.GetFocused();
    const int count = m_list.GetItemCount();
    int next = focus;
    switch (event.GetKeyCode()) {
        case WXK_UP: next = std::max(0, focus - 1); break;
        case WXK_DOWN: next = std::min(count - 1, focus + 1); break;
        case WXK_HOME: next = 0; break;
        case WXK_END: next = count - 1; break;
        case WXK_PAGEUP: next = std::max(0, focus - std::max(1, m_list.VisibleRows())); break;
        case WXK_PAGEDOWN: next = std::min(count - 1, focus + std::max(1, m_list.VisibleRows())); break;
        default: event.Skip(); return;
    }
    if (next < 0 || next >= count) return;
    m_list.SetSelected(-1, false);
    m_list.SetSelected(next, true);
    m_list.SetFocused(next);
    m_list.EnsureVisible(next);
}

}  // namespace halvex
