#include "halvex/scheme/SchPrimitives.h"

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>

#include "halvex/helpers/Ai_File.h"
#include "halvex/helpers/VersionInterface.h"

using namespace Gdiplus;

namespace {

Color Pick(EDrawType kind, const Color& normal, bool useSelect, const Color& select, bool useDrag, const Color& drag) {
    if (kind == eDrawSelect && useSelect) return select;
    if (kind == eDrawDrag && useDrag) return drag;
    return normal;
}

struct NamedResource {
    const void* data;
    size_t size;
};

struct NamedRegistry {
    std::mutex mutex;
    std::map<std::tuple<std::wstring, std::wstring, std::wstring>, NamedResource> items;  // module, type, name
};

NamedRegistry& Named() {
    static NamedRegistry r;
    return r;
}

std::wstring Upper(const wchar_t* s) {
    std::wstring r = s ? s : L"";
    for (wchar_t& c : r) c = wchar_t(std::towupper(c));
    return r;
}

}  // namespace

RectF Sch_BaseObj::GetBoundedRectF(float) { return RectF(0, 0, 0, 0); }

Color Sch_BaseObj::GetCurrColor(EDrawType kind) const {
    return Pick(kind, m_color, m_bUseSelectColor, m_colorSelect, m_bUseDragColor, m_colorDrag);
}

float SchPenWidth(const Graphics& g, int pixels, bool keepUnderWine) {
    const float s = g.GetPageScale();
    if (VersionInterface::IsWine() && s != 1.0f && !keepUnderWine) return 0;
    return float(pixels) / s;
}

// --- rectangle and ellipse -------------------------------------------------------------------

Color Sch_Rect::GetCurrColorFill(EDrawType kind) const {
    return Pick(kind, m_colorFill, m_bUseSelectFill, m_colorSelectFill, m_bUseDragFill, m_colorDragFill);
}

void Sch_Rect::Draw(Graphics& g, EDrawType kind, void* extra, SCH_VALUES*) {
    const float s = g.GetPageScale();
    Pen pen(GetCurrColor(kind), SchPenWidth(g, m_nPenWidth, extra == reinterpret_cast<void*>(intptr_t(-1))));
    if (m_nDashStyle == 1) pen.SetDashStyle(DashStyleDash);
    else if (m_nDashStyle == 2) pen.SetDashStyle(DashStyleDot);
    g.DrawRectangle(&pen, m_rect);
    if (m_bFill) {
        SolidBrush brush(GetCurrColorFill(kind));
        const float d = 1 / s;
        g.FillRectangle(&brush, m_rect.X + d, m_rect.Y + d, m_rect.Width - 2 * d, m_rect.Height - 2 * d);
    }
}

RectF Sch_Rect::GetBoundedRectF(float scale) {
    const float d = 1 / scale;
    return RectF(m_rect.X - d, m_rect.Y - d, m_rect.Width + 2 * d, m_rect.Height + 2 * d);
}

void Sch_EllipseArc::Draw(Graphics& g, EDrawType kind, void*, SCH_VALUES*) {
    const float s = g.GetPageScale();
    if (m_bFill) {
        SolidBrush brush(GetCurrColorFill(kind));
        const float d = 1 / s;
        g.FillPie(&brush, RectF(m_rect.X + d, m_rect.Y + d, m_rect.Width - 2 * d, m_rect.Height - 2 * d),
                  m_fStartAngle, m_fSweepAngle);
    }
    Pen pen(GetCurrColor(kind), float(m_nPenWidth) / s);
    g.DrawArc(&pen, m_rect, m_fStartAngle, m_fSweepAngle);
}

// --- polygon and line ------------------------------------------------------------------------

Color Sch_Polygon::GetCurrColorFill(EDrawType kind) const {
    return Pick(kind, m_colorFill, m_bUseSelectFill, m_colorSelectFill, m_bUseDragFill, m_colorDragFill);
}

void Sch_Polygon::Draw(Graphics& g, EDrawType kind, void*, SCH_VALUES*) {
    if (m_points.size() < 3) return;
    if (m_bFill) {
        SolidBrush brush(GetCurrColorFill(kind));
        g.FillPolygon(&brush, m_points.data(), INT(m_points.size()), FillModeAlternate);
    }
    Pen pen(GetCurrColor(kind), SchPenWidth(g, m_nPenWidth));
    g.DrawPolygon(&pen, m_points.data(), INT(m_points.size()));
}

RectF Sch_Polygon::GetBoundedRectF(float scale) {
    if (m_points.size() < 3) return RectF(0, 0, 0, 0);
    float l = m_points[0].X, t = m_points[0].Y, r = l, b = t;
    for (const PointF& p : m_points) {
        l = std::min(l, p.X);
        t = std::min(t, p.Y);
        r = std::max(r, p.X);
        b = std::max(b, p.Y);
    }
    const float d = 1 / scale;
    return RectF(l - d, t - d, r - l + 2 * d, b - t + 2 * d);
}

void Sch_Line::Draw(Graphics& g, EDrawType kind, void*, SCH_VALUES*) {
    Pen pen(GetCurrColor(kind), SchPenWidth(g, m_nPenWidth));
    g.DrawLine(&pen, m_fX1, m_fY1, m_fX2, m_fY2);
}

RectF Sch_Line::GetBoundedRectF(float scale) {
    const float d = float(m_nPenWidth + 1) / scale;
    const float l = std::min(m_fX1, m_fX2), t = std::min(m_fY1, m_fY2);
    return RectF(l - d, t - d, std::fabs(m_fX2 - m_fX1) + 2 * d, std::fabs(m_fY2 - m_fY1) + 2 * d);
}

// --- pictures --------------------------------------------------------------------------------

void Sch_Bitmap::Draw(Graphics& g, EDrawType kind, void*, SCH_VALUES*) {
    std::unique_ptr<Bitmap> picture(LoadImageFromResource(nullptr, m_sResName, L"PNG"));
    if (!picture) return;
    g.SetInterpolationMode(InterpolationModeNearestNeighbor);
    g.SetPixelOffsetMode(PixelOffsetModeHalf);
    if (kind == eDrawBluePins || kind == eDrawBright3) {
        const float k = kind == eDrawBluePins ? 2.0f : 3.0f;
        ColorMatrix m{};
        m.m[0][0] = m.m[1][1] = m.m[2][2] = k;
        m.m[3][3] = m.m[4][4] = 1;
        ImageAttributes attributes;
        attributes.SetColorMatrix(&m);
        const float w = float(picture->GetWidth()), h = float(picture->GetHeight());
        g.DrawImage(picture.get(), RectF(0, 0, w, h), 0, 0, w, h, UnitPixel, &attributes);
    } else {
        g.DrawImage(picture.get(), m_rect);
    }
}

void RegisterNamedResource(const void* moduleAnchor, const wchar_t* type, const wchar_t* name, const void* data,
                           size_t size) {
    const std::wstring module = CAi_File::GetAppPathName(moduleAnchor).str();
    NamedRegistry& r = Named();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.items[{module, Upper(type), Upper(name)}] = NamedResource{data, size};
}

Bitmap* LoadImageFromResource(const void* module, const wchar_t* name, const wchar_t* type) {
    NamedResource found{nullptr, 0};
    {
        const std::wstring path = CAi_File::GetAppPathName(module).str();
        NamedRegistry& r = Named();
        std::lock_guard<std::mutex> lock(r.mutex);
        auto it = r.items.find({path, Upper(type), Upper(name)});
        if (it == r.items.end()) return nullptr;
        found = it->second;
    }
    if (!found.data || found.size == 0) return nullptr;
    return Bitmap::FromPngData(found.data, found.size);
}
