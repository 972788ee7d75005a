#include <wx/utils.h>
#include <wx/window.h>

#include "halvex/helpers/Ai_Position.h"

bool CAi_Position::IsMouseInWnd(wxWindow* wnd, const CRect& rect) {
    if (!wnd) return false;
    const wxPoint cursor = wxGetMousePosition();
    return IsMouseInWnd(wnd, CPoint(cursor.x, cursor.y), rect);
}

bool CAi_Position::IsMouseInWnd(wxWindow* wnd, const CPoint& screenPoint, const CRect& rect) {
    if (!wnd) return false;
    const wxPoint client = wnd->ScreenToClient(wxPoint(screenPoint.x, screenPoint.y));
    return IsMouseInWnd(CPoint(client.x, client.y), rect);
}
