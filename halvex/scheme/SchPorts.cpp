#include "halvex/scheme/SchPorts.h"

#include <algorithm>
#include <cmath>

using namespace Gdiplus;

Color Sch_Port::m_colorPort{0xFF000000};
Color Sch_Port::m_colorSelectPort{0xFF0000FF};
Color Sch_Port::m_colorDragPort{0x800000FF};
int Sch_Port::m_nWidthPort = 2;

Sch_Port::Sch_Port() {
    m_color = m_colorPort;
    m_colorSelect = m_colorSelectPort;
    m_bUseSelectColor = true;
    m_colorDrag = m_colorDragPort;
    m_bUseDragColor = true;
    m_nPenWidth = m_nWidthPort;
}

void Sch_Port::PlaceLine() {
    const PointF e = GetEndPointF();
    m_fX1 = m_fX;
    m_fY1 = m_fY;
    m_fX2 = e.X;
    m_fY2 = e.Y;
}

void Sch_Port::Draw(Graphics& g, EDrawType kind, void* extra, SCH_VALUES*) {
    PlaceLine();
    Sch_Line::Draw(g, kind, extra, nullptr);
}

RectF Sch_Port::GetBoundedRectF(float scale) {
    PlaceLine();
    return Sch_Line::GetBoundedRectF(scale);
}

RectF Sch_Port::GetInversionHitTestRectF() const {
    const PointF e = GetEndPointF();
    return RectF(std::min(m_fX, e.X) - 0.5f, m_fY - 0.5f, std::fabs(m_fX - e.X) + 1, 1);
}

RectF Sch_Port::GetPinHitTestRectF(bool large) const {
    const PointF e = GetEndPointF();
    return large ? RectF(e.X - 3, e.Y - 3, 6, 6) : RectF(e.X - 0.5f, e.Y - 0.5f, 1, 1);
}

void Sch_Port::DrawSquare(Graphics& g, EDrawType) const {
    SolidBrush brush(Color(0xFF640064));
    g.FillRectangle(&brush, m_fX - 2, m_fY - 2, 4.0f, 4.0f);
}

void Sch_Port::DrawCross(Graphics& g, EDrawType kind) const {
    if (kind == eDrawRedPins || kind == eDrawBluePins) {
        SolidBrush brush(Color(kind == eDrawRedPins ? 0xFFFF0000 : 0xFF0000FF));
        g.FillRectangle(&brush, m_fX - 3, m_fY - 3, 6.0f, 6.0f);
        return;
    }
    const PointF e = GetEndPointF();
    Pen pen(GetCurrColor(kind), 1 / g.GetPageScale());
    g.DrawLine(&pen, e.X - 0.4f, e.Y - 0.4f, e.X + 0.4f, e.Y + 0.4f);
    g.DrawLine(&pen, e.X + 0.4f, e.Y - 0.4f, e.X - 0.4f, e.Y + 0.4f);
}

void Sch_Port::DrawInversionCircle(Graphics& g, EDrawType kind) const {
    const float d = 1 / g.GetPageScale();
    const RectF box(m_fX - 0.5f + d, m_fY - 0.5f + d, 1 - 2 * d, 1 - 2 * d);
    SolidBrush white(Color(0xFFFFFFFF));
    g.FillPie(&white, box, 0, 360);
    Pen pen(GetCurrColor(kind), d);
    g.DrawEllipse(&pen, box);
}
