#include "platform/draw/DeviceContext.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/draw/Raster.h"
#include "platform/draw/TextLayout.h"

using platform::draw::DashState;
using platform::draw::FontSpec;
using platform::draw::PointD;
using platform::draw::TextLayout;

namespace {

constexpr double kPi = 3.14159265358979323846;
// Distance of the control points of a quarter ellipse drawn as one Bézier curve.
constexpr double kKappa = 0.5522847498307936;

int Round(double v) { return int(std::floor(std::clamp(v, -1e9, 1e9) + 0.5)); }

struct Stock {
    CPen blackPen{PS_SOLID, 0, RGB(0, 0, 0)};
    CPen whitePen{PS_SOLID, 0, RGB(255, 255, 255)};
    CPen nullPen{PS_NULL, 0, 0};
    CBrush whiteBrush{RGB(255, 255, 255)};
    CBrush ltGrayBrush{RGB(192, 192, 192)};
    CBrush grayBrush{RGB(128, 128, 128)};
    CBrush dkGrayBrush{RGB(64, 64, 64)};
    CBrush blackBrush{RGB(0, 0, 0)};
    CBrush nullBrush;
    CFont font;
    Stock() {
        nullBrush.CreateNullBrush();
        font.Create(L"MS Sans Serif", -11);
    }
};
Stock& Stocks() {
    static Stock s;
    return s;
}

void EllipsePath(cairo_t* cr, double cx, double cy, double rx, double ry, double, double) {
    if (rx <= 0 || ry <= 0) return;
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_close_path(cr);
    cairo_restore(cr);
}

// Rounded rectangle centred on (cx, cy) with half sizes (hw, hh) and corner radii (rx, ry).
void RoundRectPath(cairo_t* cr, double cx, double cy, double hw, double hh, double rx, double ry) {
    if (hw <= 0 || hh <= 0) return;
    rx = std::clamp(rx, 0.0, hw);
    ry = std::clamp(ry, 0.0, hh);
    const double l = cx - hw, t = cy - hh, r = cx + hw, b = cy + hh;
    cairo_new_sub_path(cr);
    auto corner = [&](double ccx, double ccy, double a0) {
        if (rx <= 0 || ry <= 0) {
            cairo_line_to(cr, ccx + std::cos(a0 + kPi / 4) * rx * 1.5, ccy + std::sin(a0 + kPi / 4) * ry * 1.5);
            return;
        }
        cairo_save(cr);
        cairo_translate(cr, ccx, ccy);
        cairo_scale(cr, rx, ry);
        cairo_arc(cr, 0, 0, 1, a0, a0 + kPi / 2);
        cairo_restore(cr);
    };
    if (rx <= 0 || ry <= 0) {
        cairo_rectangle(cr, l, t, r - l, b - t);
        return;
    }
    corner(r - rx, t + ry, -kPi / 2);
    corner(r - rx, b - ry, 0);
    corner(l + rx, b - ry, kPi / 2);
    corner(l + rx, t + ry, kPi);
    cairo_close_path(cr);
}

void DashFor(cairo_t* cr, int style) {
    int n = 0;
    const int* p = platform::draw::ThinPenPattern(style, &n);
    if (!p) {
        cairo_set_dash(cr, nullptr, 0, 0);
        return;
    }
    double d[6];
    for (int i = 0; i < n; ++i) d[i] = p[i];
    cairo_set_dash(cr, d, n, 0);
}

// Blue-green-red of a COLORREF as the 32-bit pixel of an opaque image.
uint32_t Pixel(COLORREF c) { return 0xFF000000u | (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c); }

// Device coordinates handed to Cairo stay well inside its fixed-point range.
double Cl(double v) { return std::clamp(v, -4.0 * platform::draw::kScanLimit, 4.0 * platform::draw::kScanLimit); }

CRect Bounded(CRect r) {
    const int lim = 4 * platform::draw::kScanLimit;
    r.NormalizeRect();
    if (!r.IntersectRect(r, CRect(-lim, -lim, lim, lim))) return CRect();
    return r;
}

// The part of segment a-b inside `box` (Liang-Barsky); false when none is.
bool ClipSegment(double& ax, double& ay, double& bx, double& by, const CRect& box) {
    double t0 = 0, t1 = 1;
    const double dx = bx - ax, dy = by - ay;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {ax - box.left, box.right - ax, ay - box.top, box.bottom - ay};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0) t0 = std::max(t0, r);
        else t1 = std::min(t1, r);
        if (t0 > t1) return false;
    }
    const double nax = ax + t0 * dx, nay = ay + t0 * dy;
    bx = ax + t1 * dx;
    by = ay + t1 * dy;
    ax = nax;
    ay = nay;
    return true;
}

}  // namespace

// --- CFont and CBitmap ------------------------------------------------------------------

bool CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                       BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                       BYTE pitchAndFamily, const wchar_t* faceName) {
    LOGFONTW lf;
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfStrikeOut = strikeOut;
    lf.lfCharSet = charSet;
    lf.lfOutPrecision = outPrecision;
    lf.lfClipPrecision = clipPrecision;
    lf.lfQuality = quality;
    lf.lfPitchAndFamily = pitchAndFamily;
    if (faceName) {
        size_t n = 0;
        for (; n + 1 < size_t(LF_FACESIZE) && faceName[n]; ++n) lf.lfFaceName[n] = faceName[n];
        lf.lfFaceName[n] = 0;
    }
    return CreateFontIndirect(&lf);
}

bool CFont::Create(const wchar_t* faceName, int height, int weight, bool italic, bool underline, int escapement) {
    return CreateFont(height, 0, escapement, escapement, weight, italic, underline, 0, DEFAULT_CHARSET, 0, 0, 0,
                      FF_SWISS, faceName);
}

// --- CDC ----------------------------------------------------------------------------------

CDC::CDC() { Reset(); }

CDC::~CDC() { DeleteDC(); }

void CDC::Reset() {
    Stock& s = Stocks();
    m_state = State();
    m_state.pen = s.blackPen;
    m_state.penObj = &s.blackPen;
    m_state.brush = s.whiteBrush;
    m_state.brushObj = &s.whiteBrush;
    m_state.font = s.font.LogFont();
    m_state.fontObj = &s.font;
    m_saved.clear();
    m_path.clear();
    m_pathOpen = m_pathEnded = false;
}

bool CDC::CreateCompatibleDC(CDC* dc) {
    DeleteDC();
    m_dpi = dc ? dc->m_dpi : 96;
    m_printing = false;
    m_defaultBitmap.CreateCompatibleBitmap(nullptr, 1, 1);
    m_bitmapObj = nullptr;
    SelectObject(&m_defaultBitmap);
    return m_cr != nullptr;
}

bool CDC::Attach(cairo_t* cr, int width, int height, int dpi, bool printing) {
    DeleteDC();
    if (!cr) return false;
    m_cr = cairo_reference(cr);
    m_external = true;
    m_width = width;
    m_height = height;
    m_dpi = dpi > 0 ? dpi : 96;
    m_printing = printing;
    cairo_save(m_cr);
    ApplyClip();
    return true;
}

void CDC::Detach() {
    if (m_cr) {
        cairo_restore(m_cr);
        cairo_destroy(m_cr);
    }
    m_cr = nullptr;
    if (m_target) cairo_surface_destroy(m_target);
    m_target = nullptr;
    m_external = false;
    m_bitmapObj = nullptr;
}

bool CDC::DeleteDC() {
    const bool had = m_cr != nullptr;
    Detach();
    Reset();
    m_width = m_height = 0;
    return had;
}

int CDC::GetDeviceCaps(int index) const {
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY: return m_dpi;
    case HORZRES: return m_width;
    case VERTRES: return m_height;
    case HORZSIZE: return Round(m_width * 25.4 / m_dpi);
    case VERTSIZE: return Round(m_height * 25.4 / m_dpi);
    case BITSPIXEL: return 32;
    default: return 0;
    }
}

// --- objects ------------------------------------------------------------------------------

CPen* CDC::SelectObject(CPen* pen) {
    if (!pen || !pen->IsCreated()) return nullptr;
    CPen* old = m_state.penObj;
    m_state.pen = *pen;
    m_state.penObj = pen;
    return old;
}

CBrush* CDC::SelectObject(CBrush* brush) {
    if (!brush || !brush->IsCreated()) return nullptr;
    CBrush* old = m_state.brushObj;
    m_state.brush = *brush;
    m_state.brushObj = brush;
    return old;
}

CFont* CDC::SelectObject(CFont* font) {
    if (!font || !font->IsCreated()) return nullptr;
    CFont* old = m_state.fontObj;
    m_state.font = font->LogFont();
    m_state.fontObj = font;
    return old;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    if (!bitmap || !bitmap->Surface() || m_external) return nullptr;
    CBitmap* old = m_bitmapObj;
    cairo_surface_t* surface = cairo_surface_reference(bitmap->Surface());
    if (m_cr) {
        cairo_restore(m_cr);
        cairo_destroy(m_cr);
    }
    if (m_target) cairo_surface_destroy(m_target);
    m_target = surface;
    m_cr = cairo_create(surface);
    m_width = cairo_image_surface_get_width(surface);
    m_height = cairo_image_surface_get_height(surface);
    m_bitmapObj = bitmap;
    cairo_save(m_cr);
    ApplyClip();
    return old;
}

CGdiObject* CDC::SelectObject(CGdiObject* object) {
    if (auto* p = dynamic_cast<CPen*>(object)) return SelectObject(p);
    if (auto* b = dynamic_cast<CBrush*>(object)) return SelectObject(b);
    if (auto* f = dynamic_cast<CFont*>(object)) return SelectObject(f);
    if (auto* m = dynamic_cast<CBitmap*>(object)) return SelectObject(m);
    if (auto* r = dynamic_cast<CRgn*>(object)) SelectClipRgn(r);
    return nullptr;
}

CGdiObject* CDC::SelectStockObject(int index) {
    Stock& s = Stocks();
    switch (index) {
    case WHITE_BRUSH: return SelectObject(&s.whiteBrush);
    case LTGRAY_BRUSH: return SelectObject(&s.ltGrayBrush);
    case GRAY_BRUSH: return SelectObject(&s.grayBrush);
    case DKGRAY_BRUSH: return SelectObject(&s.dkGrayBrush);
    case BLACK_BRUSH: return SelectObject(&s.blackBrush);
    case NULL_BRUSH: return SelectObject(&s.nullBrush);
    case WHITE_PEN: return SelectObject(&s.whitePen);
    case BLACK_PEN: return SelectObject(&s.blackPen);
    case NULL_PEN: return SelectObject(&s.nullPen);
    default: return nullptr;
    }
}

// --- coordinates --------------------------------------------------------------------------

int CDC::SetMapMode(int mode) {
    const int old = m_state.mapMode;
    m_state.mapMode = mode;
    if (mode == MM_TEXT) m_state.windowExt = m_state.viewportExt = CSize(1, 1);
    return old;
}

CPoint CDC::SetWindowOrg(int x, int y) { return std::exchange(m_state.windowOrg, CPoint(x, y)); }
CPoint CDC::SetViewportOrg(int x, int y) { return std::exchange(m_state.viewportOrg, CPoint(x, y)); }
CPoint CDC::OffsetViewportOrg(int dx, int dy) {
    return SetViewportOrg(m_state.viewportOrg.x + dx, m_state.viewportOrg.y + dy);
}

namespace {
// The isotropic mode keeps one unit equally long on both axes: the larger viewport extent shrinks.
void Isotropic(CSize& w, CSize& v) {
    if (w.cx == 0 || w.cy == 0) return;
    const double sx = std::fabs(double(v.cx) / w.cx), sy = std::fabs(double(v.cy) / w.cy);
    if (sx < sy) v.cy = (v.cy < 0 ? -1 : 1) * Round(std::fabs(double(v.cx) * w.cy / w.cx));
    else if (sy < sx) v.cx = (v.cx < 0 ? -1 : 1) * Round(std::fabs(double(v.cy) * w.cx / w.cy));
}
}  // namespace

CSize CDC::SetWindowExt(int cx, int cy) {
    const CSize old = m_state.windowExt;
    if (m_state.mapMode != MM_ISOTROPIC && m_state.mapMode != MM_ANISOTROPIC) return old;
    if (cx == 0 || cy == 0) return old;
    m_state.windowExt = CSize(cx, cy);
    if (m_state.mapMode == MM_ISOTROPIC) Isotropic(m_state.windowExt, m_state.viewportExt);
    return old;
}

CSize CDC::SetViewportExt(int cx, int cy) {
    const CSize old = m_state.viewportExt;
    if (m_state.mapMode != MM_ISOTROPIC && m_state.mapMode != MM_ANISOTROPIC) return old;
    if (cx == 0 || cy == 0) return old;
    m_state.viewportExt = CSize(cx, cy);
    if (m_state.mapMode == MM_ISOTROPIC) Isotropic(m_state.windowExt, m_state.viewportExt);
    return old;
}

double CDC::ScaleX() const { return double(m_state.viewportExt.cx) / m_state.windowExt.cx; }
double CDC::ScaleY() const { return double(m_state.viewportExt.cy) / m_state.windowExt.cy; }
double CDC::DevX(double x) const { return (x - m_state.windowOrg.x) * ScaleX() + m_state.viewportOrg.x; }
double CDC::DevY(double y) const { return (y - m_state.windowOrg.y) * ScaleY() + m_state.viewportOrg.y; }
CPoint CDC::ToDevice(int x, int y) const { return CPoint(Round(DevX(x)), Round(DevY(y))); }

void CDC::LPtoDP(POINT* points, int count) const {
    for (int i = 0; points && i < count; ++i) points[i] = ToDevice(points[i].x, points[i].y);
}

void CDC::LPtoDP(RECT* r) const {
    if (!r) return;
    const CPoint a = ToDevice(r->left, r->top), b = ToDevice(r->right, r->bottom);
    *r = CRect(a.x, a.y, b.x, b.y);
}

void CDC::DPtoLP(POINT* points, int count) const {
    for (int i = 0; points && i < count; ++i) {
        points[i].x = Round((points[i].x - m_state.viewportOrg.x) / ScaleX() + m_state.windowOrg.x);
        points[i].y = Round((points[i].y - m_state.viewportOrg.y) / ScaleY() + m_state.windowOrg.y);
    }
}

void CDC::DPtoLP(RECT* r) const {
    if (!r) return;
    POINT p[2] = {{r->left, r->top}, {r->right, r->bottom}};
    DPtoLP(p, 2);
    *r = CRect(p[0].x, p[0].y, p[1].x, p[1].y);
}

// --- state and clipping -------------------------------------------------------------------

int CDC::SaveDC() {
    m_saved.push_back(m_state);
    return int(m_saved.size());
}

bool CDC::RestoreDC(int saved) {
    const int n = int(m_saved.size());
    const int target = saved < 0 ? n + saved + 1 : saved;  // the state that SaveDC numbered so
    if (target < 1 || target > n) return false;
    m_state = m_saved[size_t(target - 1)];
    m_saved.resize(size_t(target - 1));
    ApplyClip();
    return true;
}

void CDC::ApplyClip() {
    if (!m_cr) return;
    cairo_restore(m_cr);
    cairo_save(m_cr);
    cairo_set_antialias(m_cr, CAIRO_ANTIALIAS_NONE);
    if (!m_state.clip) return;
    cairo_new_path(m_cr);
    for (const auto& b : m_state.clip->Bands())
        for (size_t i = 0; i + 1 < b.xs.size(); i += 2)
            cairo_rectangle(m_cr, b.xs[i], b.y0, b.xs[i + 1] - b.xs[i], b.y1 - b.y0);
    cairo_set_fill_rule(m_cr, CAIRO_FILL_RULE_WINDING);
    cairo_clip(m_cr);  // an empty path clips everything away
}

int CDC::SelectClipRgn(CRgn* region) {
    if (!region) {
        m_state.clip.reset();
        ApplyClip();
        return SIMPLEREGION;
    }
    if (!region->IsCreated()) return RGN_ERROR;
    m_state.clip = *region;
    ApplyClip();
    return m_state.clip->Kind();
}

int CDC::SelectClipRgn(CRgn* region, int mode) {
    if (mode == RGN_COPY) return SelectClipRgn(region);
    if (!region || !region->IsCreated()) return RGN_ERROR;
    CRgn current;
    if (m_state.clip) current = *m_state.clip;
    else current.CreateRectRgn(-1000000, -1000000, 1000000, 1000000);
    CRgn result;
    if (result.CombineRgn(&current, region, mode) == RGN_ERROR) return RGN_ERROR;
    return SelectClipRgn(&result);
}

int CDC::IntersectClipRect(int left, int top, int right, int bottom) {
    CRect r(left, top, right, bottom);
    LPtoDP(&r);
    r.NormalizeRect();
    CRgn rgn;
    rgn.CreateRectRgnIndirect(&r);
    return SelectClipRgn(&rgn, RGN_AND);
}

int CDC::GetClipBox(RECT* rect) const {
    CRect box(0, 0, m_width, m_height);
    int kind = SIMPLEREGION;
    if (m_state.clip) {
        CRect clip;
        kind = m_state.clip->GetRgnBox(&clip);
        if (m_width > 0 && m_height > 0) {
            if (!box.IntersectRect(box, clip)) kind = NULLREGION;
        } else {
            box = clip;
        }
    }
    DPtoLP(&box);
    if (rect) *rect = box;
    return kind;
}

// --- painting helpers ---------------------------------------------------------------------

void CDC::SetSourceColor(COLORREF c, double alpha) const {
    cairo_set_source_rgba(m_cr, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0, alpha);
}

double CDC::PenDeviceWidth() const {
    const int w = m_state.pen.Width();
    if (w <= 1 && m_state.mapMode == MM_TEXT) return 1;
    return std::max(1.0, std::round(w * std::fabs(ScaleX())));
}

bool CDC::IsThinPen() const { return PenDeviceWidth() <= 1; }

// Runs are quadruples x, y, w, h of device pixels. On an off-screen picture they are written
// straight into its pixels (within the clip); elsewhere they become rectangles.
void CDC::FillPixelRuns(const std::vector<int>& runs, COLORREF color) {
    if (runs.empty() || !m_cr) return;
    if (m_target && cairo_image_surface_get_format(m_target) != CAIRO_FORMAT_INVALID) {
        cairo_surface_flush(m_target);
        uint8_t* data = cairo_image_surface_get_data(m_target);
        const int stride = cairo_image_surface_get_stride(m_target);
        const uint32_t px = Pixel(color);
        const CRect bounds(0, 0, m_width, m_height);
        auto fill = [&](int x0, int y0, int x1, int y1) {
            x0 = std::max(x0, bounds.left);
            y0 = std::max(y0, bounds.top);
            x1 = std::min(x1, bounds.right);
            y1 = std::min(y1, bounds.bottom);
            if (x1 <= x0 || y1 <= y0) return;
            uint8_t* at = data + size_t(y0) * size_t(stride) + size_t(x0) * 4;
            if (x1 - x0 == 1) {
                // A column: one pixel per row (the common run of a thin, steep line).
                for (int y = y0; y < y1; ++y, at += stride) *reinterpret_cast<uint32_t*>(at) = px;
                return;
            }
            for (int y = y0; y < y1; ++y, at += stride) {
                auto* row = reinterpret_cast<uint32_t*>(at);
                std::fill(row, row + (x1 - x0), px);
            }
        };
        const auto* bands = m_state.clip ? &m_state.clip->Bands() : nullptr;
        for (size_t i = 0; i + 3 < runs.size(); i += 4) {
            const int x = runs[i], y = runs[i + 1], w = runs[i + 2], h = runs[i + 3];
            if (!bands) {
                fill(x, y, x + w, y + h);
                continue;
            }
            auto it = std::upper_bound(bands->begin(), bands->end(), y,
                                       [](int v, const CRgn::Band& b) { return v < b.y1; });
            for (; it != bands->end() && it->y0 < y + h; ++it) {
                const int by0 = std::max(y, it->y0), by1 = std::min(y + h, it->y1);
                for (size_t k = 0; k + 1 < it->xs.size(); k += 2) {
                    const int sx0 = std::max(x, it->xs[k]), sx1 = std::min(x + w, it->xs[k + 1]);
                    if (sx0 < sx1) fill(sx0, by0, sx1, by1);
                }
            }
        }
        cairo_surface_mark_dirty(m_target);
        return;
    }
    cairo_new_path(m_cr);
    for (size_t i = 0; i + 3 < runs.size(); i += 4) cairo_rectangle(m_cr, runs[i], runs[i + 1], runs[i + 2], runs[i + 3]);
    cairo_set_fill_rule(m_cr, CAIRO_FILL_RULE_WINDING);
    SetSourceColor(color);
    cairo_fill(m_cr);
}

CRect CDC::DeviceBox(int margin) const {
    const int lim = platform::draw::kScanLimit;
    CRect box = (m_width > 0 && m_height > 0) ? CRect(0, 0, m_width, m_height) : CRect(-lim, -lim, lim, lim);
    if (m_state.clip) {
        CRect clip;
        m_state.clip->GetRgnBox(&clip);
        if (!box.IntersectRect(box, clip)) box = CRect(0, 0, 0, 0);
    }
    box.InflateRect(margin, margin);
    return box;
}

void CDC::ThinPolyline(const std::vector<CPoint>& dev, bool closed) {
    if (dev.size() < 2) return;
    const CRect box = DeviceBox(1);
    DashState dash;
    if (m_state.pen.Style() != PS_SOLID) dash.pattern = platform::draw::ThinPenPattern(m_state.pen.Style(), &dash.count);
    // With an opaque background the gaps of a styled line take the background colour: the
    // whole line is laid in that colour first and the dashes over it.
    const bool opaqueGaps = dash.pattern && m_state.bkMode == OPAQUE;
    std::vector<int> on, gaps;
    on.reserve(dev.size() * 4);
    const size_t n = dev.size(), segs = closed ? n : n - 1;
    for (size_t i = 0; i < segs; ++i) {
        const CPoint a = dev[i], b = dev[(i + 1) % n];
        platform::draw::HairlineRuns(a.x, a.y, b.x, b.y, false, dash.pattern ? &dash : nullptr, &box,
                                     [&](int x, int y, int w, int h) { on.insert(on.end(), {x, y, w, h}); });
        if (opaqueGaps)
            platform::draw::HairlineRuns(a.x, a.y, b.x, b.y, false, nullptr, &box,
                                         [&](int x, int y, int w, int h) { gaps.insert(gaps.end(), {x, y, w, h}); });
    }
    if (opaqueGaps) FillPixelRuns(gaps, m_state.bkColor);
    FillPixelRuns(on, m_state.pen.Color());
}

void CDC::StrokeWide(const std::vector<CPoint>& dev, bool closed) {
    if (dev.size() < 2) return;
    const double w = PenDeviceWidth();
    const CRect box = DeviceBox(int(w) + 2);
    bool inside = true;
    for (const CPoint& p : dev) inside = inside && box.PtInRect(p);
    cairo_new_path(m_cr);
    if (inside) {
        cairo_move_to(m_cr, dev[0].x + 0.5, dev[0].y + 0.5);
        for (size_t i = 1; i < dev.size(); ++i) cairo_line_to(m_cr, dev[i].x + 0.5, dev[i].y + 0.5);
        if (closed) cairo_close_path(m_cr);
    } else {
        // Segments reaching far outside are cut to the visible part, each on its own.
        const size_t n = dev.size(), segs = closed ? n : n - 1;
        for (size_t i = 0; i < segs; ++i) {
            double ax = dev[i].x + 0.5, ay = dev[i].y + 0.5;
            double bx = dev[(i + 1) % n].x + 0.5, by = dev[(i + 1) % n].y + 0.5;
            if (!ClipSegment(ax, ay, bx, by, box)) continue;
            cairo_move_to(m_cr, ax, ay);
            cairo_line_to(m_cr, bx, by);
        }
    }
    cairo_set_line_width(m_cr, w);
    cairo_set_line_cap(m_cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(m_cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_dash(m_cr, nullptr, 0, 0);  // a wide pen is always solid
    SetSourceColor(m_state.pen.Color());
    cairo_stroke(m_cr);
}

void CDC::StrokeOutline(const std::vector<CPoint>& dev, bool closed) {
    if (!HasPen()) return;
    if (IsThinPen()) ThinPolyline(dev, closed);
    else StrokeWide(dev, closed);
}

// --- lines and shapes ---------------------------------------------------------------------

CPoint CDC::MoveTo(int x, int y) {
    const CPoint old = m_state.position;
    m_state.position = CPoint(x, y);
    if (m_pathOpen) AddPathPoint(x, y, PT_MOVETO);
    return old;
}

bool CDC::LineTo(int x, int y) {
    const CPoint from = m_state.position;
    m_state.position = CPoint(x, y);
    if (m_pathOpen) {
        if (m_path.empty() || (m_path.back().type & PT_CLOSEFIGURE)) AddPathPoint(from.x, from.y, PT_MOVETO);
        AddPathPoint(x, y, PT_LINETO);
        return true;
    }
    if (!Ready()) return false;
    StrokeOutline({ToDevice(from.x, from.y), ToDevice(x, y)}, false);
    return true;
}

void CDC::PathPolyline(const POINT* points, int count, bool closed) {
    for (int i = 0; i < count; ++i) AddPathPoint(points[i].x, points[i].y, i == 0 ? PT_MOVETO : PT_LINETO);
    if (closed && count > 0) m_path.back().type |= PT_CLOSEFIGURE;
}

bool CDC::Polyline(const POINT* points, int count) {
    if (!points || count < 2) return false;
    if (m_pathOpen) {
        PathPolyline(points, count, false);
        return true;
    }
    if (!Ready()) return false;
    std::vector<CPoint> dev(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) dev[size_t(i)] = ToDevice(points[i].x, points[i].y);
    StrokeOutline(dev, false);
    return true;
}

bool CDC::Polygon(const POINT* points, int count) {
    if (!points || count < 2) return false;
    if (m_pathOpen) {
        PathPolyline(points, count, true);
        return true;
    }
    if (!Ready()) return false;
    std::vector<CPoint> dev(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) dev[size_t(i)] = ToDevice(points[i].x, points[i].y);
    if (HasBrush() && count >= 3) {
        // The pixels whose centres lie inside, as a region made from the same points has them.
        cairo_new_path(m_cr);
        cairo_move_to(m_cr, Cl(dev[0].x), Cl(dev[0].y));
        for (size_t i = 1; i < dev.size(); ++i) cairo_line_to(m_cr, Cl(dev[i].x), Cl(dev[i].y));
        cairo_close_path(m_cr);
        cairo_set_fill_rule(m_cr, m_state.fillMode == WINDING ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
        SetSourceColor(m_state.brush.Color());
        cairo_fill(m_cr);
    }
    StrokeOutline(dev, true);
    return true;
}

bool CDC::Rectangle(int left, int top, int right, int bottom) {
    if (m_pathOpen) {
        const POINT pts[4] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
        PathPolyline(pts, 4, true);
        return true;
    }
    if (!Ready()) return false;
    const CPoint a = ToDevice(left, top), b = ToDevice(right, bottom);
    const CRect r = Bounded(CRect(a.x, a.y, b.x, b.y));
    if (r.IsRectEmpty()) return true;
    if (HasBrush()) {
        cairo_new_path(m_cr);
        cairo_rectangle(m_cr, r.left, r.top, r.Width(), r.Height());
        SetSourceColor(m_state.brush.Color());
        cairo_fill(m_cr);
    }
    // The outline runs along the last column and row inside the rectangle.
    StrokeOutline({{r.left, r.top}, {r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}}, true);
    return true;
}

void CDC::ShapeOutline(void (*path)(cairo_t*, double, double, double, double, double, double), const CRect& r,
                       double rx, double ry) {
    const double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
    const double hw = r.Width() / 2.0, hh = r.Height() / 2.0;
    if (HasBrush()) {
        cairo_new_path(m_cr);
        path(m_cr, cx, cy, hw, hh, rx, ry);
        cairo_set_fill_rule(m_cr, CAIRO_FILL_RULE_WINDING);
        SetSourceColor(m_state.brush.Color());
        cairo_fill(m_cr);
    }
    if (!HasPen()) return;
    // The pen runs half its width inside the bounding box.
    const double w = PenDeviceWidth();
    cairo_new_path(m_cr);
    path(m_cr, cx, cy, hw - 0.5, hh - 0.5, std::max(0.0, rx - 0.5), std::max(0.0, ry - 0.5));
    cairo_set_line_width(m_cr, w);
    cairo_set_line_join(m_cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(m_cr, CAIRO_LINE_CAP_BUTT);
    const bool styled = w <= 1 && m_state.pen.Style() != PS_SOLID;
    if (styled && m_state.bkMode == OPAQUE) {
        cairo_set_dash(m_cr, nullptr, 0, 0);
        SetSourceColor(m_state.bkColor);
        cairo_stroke_preserve(m_cr);
    }
    DashFor(m_cr, styled ? m_state.pen.Style() : PS_SOLID);
    SetSourceColor(m_state.pen.Color());
    cairo_stroke(m_cr);
    cairo_set_dash(m_cr, nullptr, 0, 0);
}

bool CDC::Ellipse(int left, int top, int right, int bottom) {
    if (m_pathOpen) {
        // Four quarter curves, starting at the right end of the horizontal axis.
        const double l = left, t = top, r = right, b = bottom;
        const double cx = (l + r) / 2, cy = (t + b) / 2, hx = (r - l) / 2 * kKappa, hy = (b - t) / 2 * kKappa;
        if (r == l || b == t) return true;
        AddPathPoint(r, cy, PT_MOVETO);
        const double pts[12][2] = {{r, cy - hy}, {cx + hx, t}, {cx, t}, {cx - hx, t}, {l, cy - hy}, {l, cy},
                                   {l, cy + hy}, {cx - hx, b}, {cx, b}, {cx + hx, b}, {r, cy + hy}, {r, cy}};
        for (const auto& p : pts) AddPathPoint(p[0], p[1], PT_BEZIERTO);
        m_path.back().type |= PT_CLOSEFIGURE;
        return true;
    }
    if (!Ready()) return false;
    const CPoint a = ToDevice(left, top), b = ToDevice(right, bottom);
    const CRect r = Bounded(CRect(a.x, a.y, b.x, b.y));
    if (r.IsRectEmpty()) return true;
    ShapeOutline(&EllipsePath, r, 0, 0);
    return true;
}

bool CDC::RoundRect(int left, int top, int right, int bottom, int width, int height) {
    if (!Ready() || m_pathOpen) return false;
    const CPoint a = ToDevice(left, top), b = ToDevice(right, bottom);
    const CRect r = Bounded(CRect(a.x, a.y, b.x, b.y));
    if (r.IsRectEmpty()) return true;
    ShapeOutline(&RoundRectPath, r, std::fabs(width * ScaleX()) / 2, std::fabs(height * ScaleY()) / 2);
    return true;
}

void CDC::FillRect(const RECT* rect, CBrush* brush) {
    if (!rect || !brush || !brush->IsCreated() || brush->Style() == BS_NULL) return;
    FillSolidRect(rect, brush->Color());
}

void CDC::FillSolidRect(const RECT* rect, COLORREF color) {
    if (!rect || !Ready()) return;
    CRect r(*rect);
    LPtoDP(&r);
    r = Bounded(r);
    if (r.IsRectEmpty()) return;
    cairo_new_path(m_cr);
    cairo_rectangle(m_cr, r.left, r.top, r.Width(), r.Height());
    SetSourceColor(color);
    cairo_fill(m_cr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    const CRect r(x, y, x + cx, y + cy);
    FillSolidRect(&r, color);
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color) {
    if (!Ready()) return CLR_INVALID;
    const CPoint p = ToDevice(x, y);
    FillPixelRuns({p.x, p.y, 1, 1}, color);
    return color;
}

COLORREF CDC::GetPixel(int x, int y) const {
    if (!m_target) return CLR_INVALID;
    const CPoint p = ToDevice(x, y);
    if (p.x < 0 || p.y < 0 || p.x >= m_width || p.y >= m_height) return CLR_INVALID;
    cairo_surface_flush(m_target);
    const uint8_t* data = cairo_image_surface_get_data(m_target);
    const int stride = cairo_image_surface_get_stride(m_target);
    const uint32_t v = reinterpret_cast<const uint32_t*>(data + size_t(p.y) * size_t(stride))[p.x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

bool CDC::GradientFill(const TRIVERTEX* vertices, unsigned vertexCount, const GRADIENT_RECT* rects, unsigned rectCount,
                       unsigned mode) {
    if (!Ready() || !vertices || !rects || (mode != GRADIENT_FILL_RECT_H && mode != GRADIENT_FILL_RECT_V)) return false;
    for (unsigned i = 0; i < rectCount; ++i) {
        if (rects[i].UpperLeft >= vertexCount || rects[i].LowerRight >= vertexCount) return false;
        const TRIVERTEX& v1 = vertices[rects[i].UpperLeft];
        const TRIVERTEX& v2 = vertices[rects[i].LowerRight];
        const CPoint a = ToDevice(v1.x, v1.y), b = ToDevice(v2.x, v2.y);
        const CRect r = Bounded(CRect(a.x, a.y, b.x, b.y));
        if (r.IsRectEmpty()) continue;
        cairo_pattern_t* pat = mode == GRADIENT_FILL_RECT_V ? cairo_pattern_create_linear(0, a.y, 0, b.y)
                                                            : cairo_pattern_create_linear(a.x, 0, b.x, 0);
        cairo_pattern_add_color_stop_rgb(pat, 0, (v1.Red >> 8) / 255.0, (v1.Green >> 8) / 255.0, (v1.Blue >> 8) / 255.0);
        cairo_pattern_add_color_stop_rgb(pat, 1, (v2.Red >> 8) / 255.0, (v2.Green >> 8) / 255.0, (v2.Blue >> 8) / 255.0);
        cairo_pattern_set_extend(pat, CAIRO_EXTEND_PAD);
        cairo_new_path(m_cr);
        cairo_rectangle(m_cr, r.left, r.top, r.Width(), r.Height());
        cairo_set_source(m_cr, pat);
        cairo_fill(m_cr);
        cairo_pattern_destroy(pat);
    }
    return true;
}

// --- regions ------------------------------------------------------------------------------

bool CDC::FillRgn(CRgn* region, CBrush* brush) {
    if (!Ready() || !region || !region->IsCreated() || !brush || !brush->IsCreated()) return false;
    if (brush->Style() == BS_NULL) return true;
    std::vector<int> runs;
    for (const auto& b : region->Bands())
        for (size_t i = 0; i + 1 < b.xs.size(); i += 2) runs.insert(runs.end(), {b.xs[i], b.y0, b.xs[i + 1] - b.xs[i], b.y1 - b.y0});
    FillPixelRuns(runs, brush->Color());
    return true;
}

bool CDC::FrameRgn(CRgn* region, CBrush* brush, int w, int h) {
    if (!region || !region->IsCreated()) return false;
    const int dw = std::max(1, Round(std::fabs(w * ScaleX()))), dh = std::max(1, Round(std::fabs(h * ScaleY())));
    CRgn frame = region->Frame(dw, dh);
    return FillRgn(&frame, brush);
}

bool CDC::PaintRgn(CRgn* region) { return FillRgn(region, &m_state.brush); }

// --- paths --------------------------------------------------------------------------------

void CDC::AddPathPoint(double x, double y, BYTE type) { m_path.push_back({x, y, type}); }

bool CDC::BeginPath() {
    m_path.clear();
    m_pathOpen = true;
    m_pathEnded = false;
    return true;
}

bool CDC::EndPath() {
    if (!m_pathOpen) return false;
    m_pathOpen = false;
    m_pathEnded = true;
    return true;
}

bool CDC::AbortPath() {
    m_path.clear();
    m_pathOpen = m_pathEnded = false;
    return true;
}

bool CDC::CloseFigure() {
    if (!m_pathOpen || m_path.empty()) return false;
    m_path.back().type |= PT_CLOSEFIGURE;
    return true;
}

int CDC::GetPath(POINT* points, BYTE* types, int count) const {
    if (!m_pathEnded) return -1;
    if (!points || !types || count <= 0) return int(m_path.size());
    if (count < int(m_path.size())) return -1;
    for (size_t i = 0; i < m_path.size(); ++i) {
        points[i] = POINT{Round(m_path[i].x), Round(m_path[i].y)};
        types[i] = m_path[i].type;
    }
    return int(m_path.size());
}

namespace {
// Figures of points with PT_ types, Bézier runs flattened; each figure as a list of points.
std::vector<std::vector<PointD>> Figures(const std::vector<PointD>& pts, const std::vector<BYTE>& types,
                                         std::vector<bool>* closedOut) {
    std::vector<std::vector<PointD>> figs;
    std::vector<bool> closed;
    for (size_t i = 0; i < pts.size(); ++i) {
        const BYTE t = types[i] & ~PT_CLOSEFIGURE;
        if (t == PT_MOVETO || figs.empty() || closed.back()) {
            if (t != PT_MOVETO && !figs.empty()) {
                // A figure that follows a closed one starts where that one started.
                const PointD start = figs.back().front();
                figs.push_back({start});
            } else {
                figs.push_back({});
            }
            closed.push_back(false);
            if (t == PT_MOVETO) {
                figs.back().push_back(pts[i]);
                continue;
            }
        }
        auto& f = figs.back();
        if (t == PT_BEZIERTO && i + 2 < pts.size()) {
            const PointD p0 = f.empty() ? pts[i] : f.back();
            platform::draw::FlattenBezier(p0, pts[i], pts[i + 1], pts[i + 2], f);
            i += 2;
        } else {
            f.push_back(pts[i]);
        }
        if (types[i] & PT_CLOSEFIGURE) closed.back() = true;
    }
    if (closedOut) *closedOut = closed;
    return figs;
}
}  // namespace

bool CDC::PolyDraw(const POINT* points, const BYTE* types, int count) {
    if (!points || !types || count <= 0) return false;
    if (m_pathOpen) {
        for (int i = 0; i < count; ++i) AddPathPoint(points[i].x, points[i].y, types[i]);
        return true;
    }
    if (!Ready()) return false;
    std::vector<PointD> pts;
    std::vector<BYTE> ty;
    for (int i = 0; i < count; ++i) {
        pts.push_back({DevX(points[i].x), DevY(points[i].y)});
        ty.push_back(types[i]);
    }
    std::vector<bool> closed;
    const auto figs = Figures(pts, ty, &closed);
    for (size_t k = 0; k < figs.size(); ++k) {
        std::vector<CPoint> dev;
        for (const auto& p : figs[k]) dev.emplace_back(Round(p.x), Round(p.y));
        StrokeOutline(dev, closed[k]);
    }
    if (count > 0) m_state.position = CPoint(points[count - 1].x, points[count - 1].y);
    return true;
}

bool CDC::TakePathPolygons(std::vector<std::vector<PointD>>* polygons) {
    if (!m_pathEnded || !polygons) return false;
    std::vector<PointD> pts;
    std::vector<BYTE> ty;
    for (const auto& p : m_path) {
        pts.push_back({DevX(p.x), DevY(p.y)});
        ty.push_back(p.type);
    }
    *polygons = Figures(pts, ty, nullptr);
    m_path.clear();
    m_pathEnded = false;
    return true;
}

// --- bit-block transfers ------------------------------------------------------------------

void CDC::DrawSurface(cairo_surface_t* surface, int x, int y, int sx, int sy, int w, int h) {
    if (!Ready() || !surface) return;
    cairo_save(m_cr);
    cairo_new_path(m_cr);
    cairo_rectangle(m_cr, x, y, w, h);
    cairo_clip(m_cr);
    cairo_set_source_surface(m_cr, surface, x - sx, y - sy);
    cairo_pattern_set_filter(cairo_get_source(m_cr), CAIRO_FILTER_NEAREST);
    cairo_paint(m_cr);
    cairo_restore(m_cr);
}

bool CDC::StretchBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, int srcWidth, int srcHeight,
                     DWORD rop) {
    if (!Ready()) return false;
    const CPoint a = ToDevice(x, y), b = ToDevice(x + width, y + height);
    CRect dst(a.x, a.y, b.x, b.y);
    if (rop == WHITENESS || rop == BLACKNESS || rop == PATCOPY) {
        dst.NormalizeRect();
        const COLORREF c = rop == WHITENESS ? RGB(255, 255, 255) : rop == BLACKNESS ? RGB(0, 0, 0) : m_state.brush.Color();
        if (rop == PATCOPY && !HasBrush()) return true;
        cairo_new_path(m_cr);
        cairo_rectangle(m_cr, dst.left, dst.top, dst.Width(), dst.Height());
        SetSourceColor(c);
        cairo_fill(m_cr);
        return true;
    }
    if (rop != SRCCOPY || !src || !src->m_target) return false;
    const CPoint sa = src->ToDevice(xSrc, ySrc), sb = src->ToDevice(xSrc + srcWidth, ySrc + srcHeight);
    const int sw = sb.x - sa.x, sh = sb.y - sa.y;
    if (sw == 0 || sh == 0 || dst.Width() == 0 || dst.Height() == 0) return true;
    cairo_surface_t* source = src->m_target;
    cairo_surface_flush(source);
    bool copied = false;
    if (source == m_target) {
        // Copying within one picture goes through a copy of the source part.
        cairo_surface_t* tmp = cairo_image_surface_create(cairo_image_surface_get_format(source), std::abs(sw), std::abs(sh));
        cairo_t* c = cairo_create(tmp);
        cairo_set_source_surface(c, source, -std::min(sa.x, sb.x), -std::min(sa.y, sb.y));
        cairo_set_operator(c, CAIRO_OPERATOR_SOURCE);
        cairo_paint(c);
        cairo_destroy(c);
        source = tmp;
        copied = true;
    }
    const double ox = copied ? std::min(sa.x, sb.x) : 0, oy = copied ? std::min(sa.y, sb.y) : 0;
    cairo_save(m_cr);
    CRect clip = dst;
    clip.NormalizeRect();
    cairo_new_path(m_cr);
    cairo_rectangle(m_cr, clip.left, clip.top, clip.Width(), clip.Height());
    cairo_clip(m_cr);
    cairo_translate(m_cr, dst.left, dst.top);
    cairo_scale(m_cr, double(dst.Width()) / sw, double(dst.Height()) / sh);
    cairo_translate(m_cr, -(sa.x - ox), -(sa.y - oy));
    cairo_set_source_surface(m_cr, source, 0, 0);
    const bool same = dst.Width() == sw && dst.Height() == sh;
    cairo_pattern_set_filter(cairo_get_source(m_cr), same || m_state.stretchMode != HALFTONE ? CAIRO_FILTER_NEAREST
                                                                                                : CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(cairo_get_source(m_cr), CAIRO_EXTEND_PAD);
    if (m_target) cairo_set_operator(m_cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(m_cr);
    cairo_restore(m_cr);
    if (copied) cairo_surface_destroy(source);
    return true;
}

bool CDC::BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop) {
    // The source extent is the destination's, in the source's own logical units.
    int sw = width, sh = height;
    if (src && (src->m_state.mapMode != m_state.mapMode || src->ScaleX() != ScaleX() || src->ScaleY() != ScaleY())) {
        sw = Round(width * ScaleX() / src->ScaleX());
        sh = Round(height * ScaleY() / src->ScaleY());
    }
    return StretchBlt(x, y, width, height, src, xSrc, ySrc, sw, sh, rop);
}

bool CDC::AlphaBlend(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, int srcWidth, int srcHeight,
                     BLENDFUNCTION blend) {
    if (!Ready() || !src || !src->m_target || blend.BlendOp != AC_SRC_OVER) return false;
    const CPoint a = ToDevice(x, y), b = ToDevice(x + width, y + height);
    const CPoint sa = src->ToDevice(xSrc, ySrc), sb = src->ToDevice(xSrc + srcWidth, ySrc + srcHeight);
    const int w = b.x - a.x, h = b.y - a.y, sw = sb.x - sa.x, sh = sb.y - sa.y;
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return false;
    cairo_surface_t* source = src->m_target;
    cairo_surface_flush(source);
    cairo_surface_t* opaque = nullptr;
    if (!(blend.AlphaFormat & AC_SRC_ALPHA) && cairo_image_surface_get_format(source) == CAIRO_FORMAT_ARGB32) {
        // Without AC_SRC_ALPHA the source's own alpha does not count.
        opaque = cairo_image_surface_create(CAIRO_FORMAT_RGB24, cairo_image_surface_get_width(source),
                                            cairo_image_surface_get_height(source));
        cairo_t* c = cairo_create(opaque);
        cairo_set_source_surface(c, source, 0, 0);
        cairo_paint(c);
        cairo_destroy(c);
        source = opaque;
    }
    cairo_save(m_cr);
    cairo_new_path(m_cr);
    cairo_rectangle(m_cr, a.x, a.y, w, h);
    cairo_clip(m_cr);
    cairo_translate(m_cr, a.x, a.y);
    cairo_scale(m_cr, double(w) / sw, double(h) / sh);
    cairo_set_source_surface(m_cr, source, -sa.x, -sa.y);
    cairo_pattern_set_filter(cairo_get_source(m_cr), (w == sw && h == sh) ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    cairo_paint_with_alpha(m_cr, blend.SourceConstantAlpha / 255.0);
    cairo_restore(m_cr);
    if (opaque) cairo_surface_destroy(opaque);
    return true;
}

// --- text ---------------------------------------------------------------------------------

FontSpec CDC::DeviceFont() const {
    const LOGFONTW& lf = m_state.font;
    FontSpec f;
    f.face = lf.lfFaceName;
    f.weight = lf.lfWeight == FW_DONTCARE ? FW_NORMAL : lf.lfWeight;
    f.italic = lf.lfItalic != 0;
    f.underline = lf.lfUnderline != 0;
    f.strikeout = lf.lfStrikeOut != 0;
    f.antialias = lf.lfQuality != NONANTIALIASED_QUALITY;
    const double sy = std::fabs(ScaleY());
    if (lf.lfHeight < 0) f.em = -lf.lfHeight * sy;
    else if (lf.lfHeight > 0) f.em = platform::draw::EmForCellHeight(f, lf.lfHeight * sy);
    else f.em = 12 * sy;  // the face's default size
    return f;
}

namespace {
// Whole-pixel ascent and descent of a font, as the system reports its metrics.
void CellMetrics(const FontSpec& f, int* ascent, int* descent) {
    const auto m = platform::draw::GetFontMetrics(f);
    *ascent = Round(m.ascent);
    *descent = Round(m.descent);
}

// A single-line text as drawn by TextOut: line breaks and other control characters are not drawn.
std::wstring OneLine(const wchar_t* text, int length) {
    std::wstring s;
    if (!text) return s;
    const size_t n = length < 0 ? std::wcslen(text) : size_t(length);
    s.reserve(n);
    for (size_t i = 0; i < n; ++i)
        if (text[i] >= 0x20 || text[i] == L'\t') s += text[i];
    return s;
}

// Removes the mnemonic marks: "&x" underlines x, "&&" is one "&". Returns the index of the
// underlined character, or -1.
int StripPrefix(std::wstring& s) {
    std::wstring out;
    int underline = -1;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == L'&' && i + 1 < s.size()) {
            ++i;
            if (s[i] != L'&') underline = int(out.size());
        } else if (s[i] == L'&') {
            continue;
        }
        out += s[i];
    }
    s = std::move(out);
    return underline;
}
}  // namespace

CSize CDC::GetTextExtent(const wchar_t* text, int length) const {
    const FontSpec f = DeviceFont();
    int asc = 0, desc = 0;
    CellMetrics(f, &asc, &desc);
    const std::wstring s = OneLine(text, length);
    const double w = s.empty() ? 0.0 : TextLayout(f, s).Width();
    return CSize(Round(w / std::fabs(ScaleX())), Round((asc + desc) / std::fabs(ScaleY())));
}

bool CDC::GetTextMetrics(TEXTMETRICW* tm) const {
    if (!tm) return false;
    const FontSpec f = DeviceFont();
    int asc = 0, desc = 0;
    CellMetrics(f, &asc, &desc);
    const double sy = std::fabs(ScaleY()), sx = std::fabs(ScaleX());
    *tm = TEXTMETRICW();
    tm->tmAscent = Round(asc / sy);
    tm->tmDescent = Round(desc / sy);
    tm->tmHeight = tm->tmAscent + tm->tmDescent;
    tm->tmInternalLeading = std::max(0, tm->tmHeight - Round(f.em / sy));
    const double avg = TextLayout(f, L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ").Width() / 52.0;
    tm->tmAveCharWidth = Round(avg / sx);
    tm->tmMaxCharWidth = Round(TextLayout(f, L"W").Width() / sx);
    tm->tmWeight = f.weight;
    return true;
}

void CDC::DrawTextLine(const std::wstring& text, int underline, double x, double top, double width, double height,
                       const FontSpec& font, double ascent) {
    if (m_state.bkMode == OPAQUE) {
        cairo_new_path(m_cr);
        cairo_rectangle(m_cr, x, top, width, height);
        SetSourceColor(m_state.bkColor);
        cairo_fill(m_cr);
    }
    if (text.empty()) return;
    TextLayout layout(font, text);
    if (underline >= 0) layout.UnderlineChar(size_t(underline));
    SetSourceColor(m_state.textColor);
    layout.DrawLine(m_cr, 0, x, top + ascent);
}

bool CDC::TextOut(int x, int y, const wchar_t* text, int length) {
    if (!Ready()) return false;
    const std::wstring s = OneLine(text, length);
    const FontSpec f = DeviceFont();
    int asc = 0, desc = 0;
    CellMetrics(f, &asc, &desc);
    const double w = s.empty() ? 0.0 : TextLayout(f, s).Width();
    const UINT align = m_state.textAlign;
    CPoint at = (align & TA_UPDATECP) ? m_state.position : CPoint(x, y);
    const CPoint p = ToDevice(at.x, at.y);
    double dx = 0, top = 0;
    if ((align & TA_CENTER) == TA_CENTER) dx = -std::round(w / 2);
    else if (align & TA_RIGHT) dx = -std::round(w);
    if ((align & TA_BASELINE) == TA_BASELINE) top = -asc;
    else if (align & TA_BOTTOM) top = -(asc + desc);
    cairo_save(m_cr);
    cairo_translate(m_cr, p.x, p.y);
    if (m_state.font.lfEscapement % 3600 != 0) cairo_rotate(m_cr, -m_state.font.lfEscapement * kPi / 1800.0);
    DrawTextLine(s, -1, dx, top, w, asc + desc, f, asc);
    cairo_restore(m_cr);
    if (align & TA_UPDATECP) {
        const int adv = Round(w / std::fabs(ScaleX()));
        if ((align & TA_CENTER) != TA_CENTER) m_state.position.x += (align & TA_RIGHT) ? -adv : adv;
    }
    return true;
}

int CDC::DrawText(const wchar_t* text, int length, RECT* rect, UINT format) {
    if (!rect) return 0;
    std::wstring s = text ? std::wstring(text, length < 0 ? std::wcslen(text) : size_t(length)) : std::wstring();
    const FontSpec f = DeviceFont();
    int asc = 0, desc = 0;
    CellMetrics(f, &asc, &desc);
    const int lineH = asc + desc;
    CRect dev(*rect);
    LPtoDP(&dev);
    dev.NormalizeRect();

    // Lines: the paragraphs of the text (one when single-line), each broken at words to the
    // rectangle's width with DT_WORDBREAK.
    struct Line {
        std::wstring text;
        int underline;
        double width;
    };
    std::vector<Line> lines;
    std::vector<std::wstring> paragraphs;
    if (format & DT_SINGLELINE) {
        std::wstring one;
        for (wchar_t c : s)
            if (c != L'\r' && c != L'\n') one += c;
        paragraphs.push_back(one);
    } else {
        std::wstring cur;
        for (size_t i = 0; i < s.size(); ++i) {
            if (s[i] == L'\r' || s[i] == L'\n') {
                paragraphs.push_back(cur);
                cur.clear();
                if (s[i] == L'\r' && i + 1 < s.size() && s[i + 1] == L'\n') ++i;
            } else {
                cur += s[i];
            }
        }
        paragraphs.push_back(cur);
    }
    for (auto& para : paragraphs) {
        int underline = (format & DT_NOPREFIX) ? -1 : StripPrefix(para);
        para = OneLine(para.c_str(), int(para.size()));
        if (para.empty()) {
            lines.push_back({para, -1, 0});
            continue;
        }
        TextLayout layout(f, para);
        const bool wrap = (format & DT_WORDBREAK) && !(format & DT_SINGLELINE) && dev.Width() > 0;
        if (wrap) layout.SetWrapWidth(dev.Width());
        if (!wrap || layout.LineCount() <= 1) {
            lines.push_back({para, underline, layout.Width()});
            continue;
        }
        // Split the paragraph where the layout broke it.
        PangoLayout* pl = layout.Layout();
        const char* utf8 = pango_layout_get_text(pl);
        for (int i = 0; i < layout.LineCount(); ++i) {
            PangoLayoutLine* ln = pango_layout_get_line_readonly(pl, i);
            const glong from = g_utf8_pointer_to_offset(utf8, utf8 + ln->start_index);
            const glong to = g_utf8_pointer_to_offset(utf8, utf8 + ln->start_index + ln->length);
            std::wstring part = para.substr(size_t(from), size_t(to - from));
            while (!part.empty() && part.back() == L' ') part.pop_back();
            const int ul = (underline >= from && underline < to) ? int(underline - from) : -1;
            lines.push_back({part, ul, part.empty() ? 0.0 : TextLayout(f, part).Width()});
        }
    }
    double maxW = 0;
    for (const auto& l : lines) maxW = std::max(maxW, l.width);
    const int totalH = lineH * int(lines.size());
    const double sy = std::fabs(ScaleY()), sx = std::fabs(ScaleX());

    if (format & DT_CALCRECT) {
        CRect r(*rect);
        r.right = r.left + Round(std::ceil(maxW) / sx);
        r.bottom = r.top + Round(totalH / sy);
        *rect = r;
        return Round(totalH / sy);
    }
    if (!Ready()) return 0;
    double top = dev.top;
    if (format & DT_SINGLELINE) {
        if (format & DT_BOTTOM) top = dev.bottom - lineH;
        else if (format & DT_VCENTER) top = dev.top + (dev.Height() - lineH) / 2;
    }
    const double rotation = m_state.font.lfEscapement % 3600 != 0 ? -m_state.font.lfEscapement * kPi / 1800.0 : 0;
    cairo_save(m_cr);
    if (!(format & DT_NOCLIP)) {
        cairo_new_path(m_cr);
        cairo_rectangle(m_cr, dev.left, dev.top, dev.Width(), dev.Height());
        cairo_clip(m_cr);
    }
    double y = top;
    for (const auto& l : lines) {
        double x = dev.left;
        if (format & DT_CENTER) x = dev.left + std::round((dev.Width() - l.width) / 2);
        else if (format & DT_RIGHT) x = dev.right - std::round(l.width);
        cairo_save(m_cr);
        cairo_translate(m_cr, x, y);
        if (rotation != 0) cairo_rotate(m_cr, rotation);
        DrawTextLine(l.text, l.underline, 0, 0, l.width, lineH, f, asc);
        cairo_restore(m_cr);
        y += lineH;
    }
    cairo_restore(m_cr);
    return Round((top - dev.top + totalH) / sy);
}
