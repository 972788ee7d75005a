#pragma once
// Whether the mouse lies strictly inside a rectangle of a window. The window forms turn the
// cursor's (or a given) screen position into the window's client coordinates and are built
// with the library's windows; the test on client coordinates needs no display.
#include "platform/CString.h"
#include "platform/Geometry.h"

class wxWindow;

class CAi_Position {
public:
    static bool IsMouseInWnd(const CPoint& clientPoint, const CRect& rect) {
        return rect.left < clientPoint.x && clientPoint.x < rect.right && rect.top < clientPoint.y &&
               clientPoint.y < rect.bottom;
    }
    // The cursor, in `wnd`'s client coordinates, lies strictly inside `rect`; false without a
    // window.
    static bool IsMouseInWnd(wxWindow* wnd, const CRect& rect);
    // The same for a point given on the screen.
    static bool IsMouseInWnd(wxWindow* wnd, const CPoint& screenPoint, const CRect& rect);
};

// A hook for tracing allocations; it does nothing.
class CDebugger {
public:
    static void TraceOfNew(const CString&, void*) {}
};
