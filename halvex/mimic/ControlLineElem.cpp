#include "halvex/mimic/ControlLineElem.h"

#include <algorithm>
#include <cmath>

using namespace Gdiplus;

namespace {

void DrawHandle(Graphics& g, float x, float y) {
    const float r = float(CONTROL_LINE_ELEM::m_nRadius) / g.GetPageScale();
    SolidBrush blue(Color(0xFF0000FF));
    g.FillEllipse(&blue, x - r, y - r, 2 * r, 2 * r);
}

bool Near(const PointF& p, float x, float y, float r) { return std::fabs(p.X - x) < r && std::fabs(p.Y - y) < r; }

}  // namespace

// --- line --------------------------------------------------------------------------------------

const int CONTROL_LINE_ELEM::m_nRadius = 5;

RectF CONTROL_LINE_ELEM::GetBoundedRectF(ArmDataInterface*, float scale) {
    const float m = float(m_nWidth + 1) / scale;
    return RectF(float(m_nX + std::min(m_nX1, m_nX2)) - m, float(m_nY + std::min(m_nY1, m_nY2)) - m,
                 std::fabs(float(m_nX1) - float(m_nX2)) + 2 * m, std::fabs(float(m_nY1) - float(m_nY2)) + 2 * m);
}

std::unique_ptr<Region> CONTROL_LINE_ELEM::CreateBoundedRegion(ArmDataInterface*, float scale) {
    const float d = std::max(float(m_nWidth) / scale, 2.0f) + std::max(1 / scale, 2.0f);
    const float x1 = float(m_nX + m_nX1), y1 = float(m_nY + m_nY1);
    const float x2 = float(m_nX + m_nX2), y2 = float(m_nY + m_nY2);
    const float length = std::hypot(x2 - x1, y2 - y1);
    if (!(length > 0)) {
        // No direction to follow: the square of the same reach around the point.
        return std::make_unique<Region>(RectF(x1 - d, y1 - d, 2 * d, 2 * d));
    }
    const float tx = (x2 - x1) / length, ty = (y2 - y1) / length;
    const float nx = ty, ny = -tx;
    const PointF band[4] = {
        PointF(x1 + d * nx - d * tx, y1 + d * ny - d * ty),
        PointF(x1 - d * nx - d * tx, y1 - d * ny - d * ty),
        PointF(x2 - d * nx + d * tx, y2 - d * ny + d * ty),
        PointF(x2 + d * nx + d * tx, y2 + d * ny + d * ty),
    };
    GraphicsPath path;
    path.AddPolygon(band, 4);
    return std::make_unique<Region>(&path);
}

void CONTROL_LINE_ELEM::Draw(ArmDataInterface*, Graphics& g, EDrawType kind, bool, Size offset) {
    const GraphicsState state = g.Save();
    g.TranslateTransform(float(offset.Width + m_nX), float(offset.Height + m_nY));
    g.SetSmoothingMode(SmoothingModeAntiAlias);
    Pen pen(m_color, float(m_nWidth) / g.GetPageScale());
    pen.SetDashStyle(m_nStyle == 1 ? DashStyleDash : m_nStyle == 2 ? DashStyleDot : DashStyleSolid);
    g.DrawLine(&pen, float(m_nX1), float(m_nY1), float(m_nX2), float(m_nY2));
    if (kind == eDrawSelect || kind == eDrawDrag) {
        g.SetSmoothingMode(SmoothingModeNone);
        DrawHandle(g, float(m_nX1), float(m_nY1));
        DrawHandle(g, float(m_nX2), float(m_nY2));
    }
    g.Restore(state);
}

bool CONTROL_LINE_ELEM::GetStartEndPointsHitTest(const PointF& point, float scale, bool& start) const {
    const float r = 1 / scale + std::max(5 / scale, float(m_nWidth + 1) / scale);
    if (Near(point, float(m_nX + m_nX1), float(m_nY + m_nY1), r)) {
        start = true;
        return true;
    }
    if (Near(point, float(m_nX + m_nX2), float(m_nY + m_nY2), r)) {
        start = false;
        return true;
    }
    return false;
}

// --- rectangle ---------------------------------------------------------------------------------

const int CONTROL_RECT_ELEM::m_nRadius = 5;

float CONTROL_RECT_ELEM::Tolerance(float scale) const {
    return 1 / scale + std::max(5 / scale, float(m_nOutlineWidth + 2) / scale);
}

RectF CONTROL_RECT_ELEM::GetBoundedRectF(ArmDataInterface*, float scale) {
    const float d = 1 / scale;
    return RectF(float(m_nX) - d, float(m_nY) - d, float(m_nWidth) + 2 * d, float(m_nHeight) + 2 * d);
}

std::unique_ptr<Region> CONTROL_RECT_ELEM::CreateBoundedRegion(ArmDataInterface*, float scale) {
    const float t = Tolerance(scale), w = float(m_nWidth), h = float(m_nHeight);
    auto region = std::make_unique<Region>(RectF(-t, -t, w + 2 * t, 2 * t));  // top
    region->Union(RectF(-t, h - t, w + 2 * t, 2 * t));                         // bottom
    region->Union(RectF(-t, -t, 2 * t, h + 2 * t));                           // left
    region->Union(RectF(w - t, -t, 2 * t, h + 2 * t));                        // right
    region->Translate(float(m_nX), float(m_nY));
    return region;
}

void CONTROL_RECT_ELEM::SetSchRect(Sch_Rect& r) const {
    r.m_rect = RectF(0, 0, float(m_nWidth), float(m_nHeight));
    r.m_color = m_colorOutline;
    r.m_nPenWidth = m_nOutlineWidth;
    r.m_nDashStyle = m_nStyle;
    r.m_bFill = false;
}

void CONTROL_RECT_ELEM::Draw(ArmDataInterface*, Graphics& g, EDrawType kind, bool, Size offset) {
    const GraphicsState state = g.Save();
    g.TranslateTransform(float(offset.Width + m_nX), float(offset.Height + m_nY));
    Sch_Rect r;
    SetSchRect(r);
    r.Draw(g, eDrawNormal, nullptr, nullptr);
    if (kind == eDrawSelect || kind == eDrawDrag) {
        const float w = float(m_nWidth), h = float(m_nHeight);
        DrawHandle(g, 0, 0);
        DrawHandle(g, w, 0);
        DrawHandle(g, 0, h);
        DrawHandle(g, w, h);
    }
    g.Restore(state);
}

bool CONTROL_RECT_ELEM::GetCornerHitTest(const PointF& point, float scale, ERectElemCornerHitTest& corner) const {
    const float t = Tolerance(scale);
    const float l = float(m_nX), top = float(m_nY), r = l + float(m_nWidth), b = top + float(m_nHeight);
    const struct {
        float x, y;
        ERectElemCornerHitTest which;
    } corners[] = {{l, top, eRectCornerTopLeft}, {r, top, eRectCornerTopRight}, {l, b, eRectCornerBottomLeft},
                   {r, b, eRectCornerBottomRight}};
    for (const auto& c : corners)
        if (Near(point, c.x, c.y, t)) {
            corner = c.which;
            return true;
        }
    return false;
}
