#pragma once
// Whether the mouse lies strictly inside a rectangle of a window. The window side turns the
// cursor's screen position into the window's client coordinates; this is the test on them.
#include "platform/CString.h"
#include "platform/Geometry.h"

class CAi_Position {
public:
    static bool IsMouseInWnd(const CPoint& clientPoint, const CRect& rect) {
        return rect.left < clientPoint.x && clientPoint.x < rect.right && rect.top < clientPoint.y &&
               clientPoint.y < rect.bottom;
    }
};

// A hook for tracing allocations; it does nothing.
class CDebugger {
public:
    static void TraceOfNew(const CString&, void*) {}
};
