#include "platform/draw/GdiPlus.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <cwchar>

#include "platform/Encoding.h"
#include "platform/draw/DeviceContext.h"
#include "platform/draw/Raster.h"
#include "platform/draw/TextLayout.h"

namespace Gdiplus {

namespace {

constexpr double kPi = 3.14159265358979323846;

std::wstring TextOf(const WCHAR* text, INT length) {
    if (!text) return {};
    return std::wstring(text, length < 0 ? std::wcslen(text) : size_t(length));
}

void Mul(const double* a, const double* b, double* out) {
    // out = a then b (points transformed by a first): row-vector convention.
    const double r[6] = {a[0] * b[0] + a[1] * b[2], a[0] * b[1] + a[1] * b[3],
                         a[2] * b[0] + a[3] * b[2], a[2] * b[1] + a[3] * b[3],
                         a[4] * b[0] + a[5] * b[2] + b[4], a[4] * b[1] + a[5] * b[3] + b[5]};
    std::memcpy(out, r, sizeof r);
}

// Points of an arc of the ellipse in `r` as Bézier curves, angles in degrees measured the
// way the system measures them: the true angle of the point seen from the centre.
std::vector<PointF> ArcBeziers(const RectF& r, REAL start, REAL sweep) {
    const double cx = r.X + r.Width / 2.0, cy = r.Y + r.Height / 2.0, rx = r.Width / 2.0, ry = r.Height / 2.0;
    sweep = std::clamp(sweep, -360.0f, 360.0f);
    auto param = [&](double deg) {
        const double a = deg * kPi / 180;
        return std::atan2(rx * std::sin(a), ry * std::cos(a));
    };
    const double t0 = param(start);
    double t1 = param(double(start) + sweep);
    if (std::fabs(sweep) >= 360) t1 = t0 + (sweep > 0 ? 2 * kPi : -2 * kPi);
    else if (sweep > 0) { while (t1 <= t0) t1 += 2 * kPi; }
    else if (sweep < 0) { while (t1 >= t0) t1 -= 2 * kPi; }
    else t1 = t0;
    std::vector<PointF> pts;
    auto at = [&](double t) { return PointF(REAL(cx + rx * std::cos(t)), REAL(cy + ry * std::sin(t))); };
    pts.push_back(at(t0));
    const int n = std::max(1, int(std::ceil(std::fabs(t1 - t0) / (kPi / 2) - 1e-9)));
    const double d = (t1 - t0) / n;
    const double k = 4.0 / 3.0 * std::tan(d / 4);
    for (int i = 0; i < n; ++i) {
        const double a = t0 + i * d, b = a + d;
        pts.emplace_back(REAL(cx + rx * (std::cos(a) - k * std::sin(a))), REAL(cy + ry * (std::sin(a) + k * std::cos(a))));
        pts.emplace_back(REAL(cx + rx * (std::cos(b) + k * std::sin(b))), REAL(cy + ry * (std::sin(b) - k * std::cos(b))));
        pts.push_back(at(b));
    }
    return pts;
}

// Figures of a path as closed polygons for point tests.
std::vector<std::vector<platform::draw::PointD>> Polygons(const GraphicsPath& path) {
    std::vector<std::vector<platform::draw::PointD>> out;
    const auto& n = path.Nodes();
    for (size_t i = 0; i < n.size(); ++i) {
        const uint8_t t = n[i].type & 0x7F;
        if (t == 0 || out.empty()) out.push_back({});
        auto& f = out.back();
        if (t == 3 && i + 2 < n.size() && !f.empty()) {
            platform::draw::FlattenBezier(f.back(), {n[i].p.X, n[i].p.Y}, {n[i + 1].p.X, n[i + 1].p.Y},
                                          {n[i + 2].p.X, n[i + 2].p.Y}, f);
            i += 2;
        } else {
            f.push_back({n[i].p.X, n[i].p.Y});
        }
    }
    return out;
}

bool InsidePolygons(const std::vector<std::vector<platform::draw::PointD>>& polys, double x, double y, bool winding) {
    int wind = 0, cross = 0;
    for (const auto& f : polys) {
        for (size_t i = 0, n = f.size(); n > 1 && i < n; ++i) {
            const auto& a = f[i];
            const auto& b = f[(i + 1) % n];
            if ((a.y <= y) != (b.y <= y)) {
                const double xi = a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
                if (xi > x) {
                    ++cross;
                    wind += b.y > a.y ? 1 : -1;
                }
            }
        }
    }
    return winding ? wind != 0 : (cross & 1) != 0;
}

cairo_surface_t* ApplyColorMatrix(cairo_surface_t* src, const ColorMatrix& m) {
    const int w = cairo_image_surface_get_width(src), h = cairo_image_surface_get_height(src);
    cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_surface_flush(src);
    const bool alpha = cairo_image_surface_get_format(src) == CAIRO_FORMAT_ARGB32;
    const uint8_t* s = cairo_image_surface_get_data(src);
    uint8_t* d = cairo_image_surface_get_data(out);
    const int ss = cairo_image_surface_get_stride(src), ds = cairo_image_surface_get_stride(out);
    for (int y = 0; y < h; ++y) {
        const auto* sr = reinterpret_cast<const uint32_t*>(s + size_t(y) * size_t(ss));
        auto* dr = reinterpret_cast<uint32_t*>(d + size_t(y) * size_t(ds));
        for (int x = 0; x < w; ++x) {
            const uint32_t v = sr[x];
            const double a = alpha ? (v >> 24) / 255.0 : 1.0;
            double c[4] = {0, 0, 0, a};
            if (a > 0) {
                c[0] = ((v >> 16) & 0xFF) / 255.0 / a;
                c[1] = ((v >> 8) & 0xFF) / 255.0 / a;
                c[2] = (v & 0xFF) / 255.0 / a;
            }
            double o[4];
            for (int j = 0; j < 4; ++j) {
                o[j] = m.m[4][j];
                for (int i = 0; i < 4; ++i) o[j] += c[i] * m.m[i][j];
                o[j] = std::clamp(o[j], 0.0, 1.0);
            }
            auto byte = [](double v) { return uint32_t(std::lround(v * 255)); };
            dr[x] = (byte(o[3]) << 24) | (byte(o[0] * o[3]) << 16) | (byte(o[1] * o[3]) << 8) | byte(o[2] * o[3]);
        }
    }
    cairo_surface_mark_dirty(out);
    return out;
}

}  // namespace

// --- rectangles and matrices ---------------------------------------------------------------

bool RectF::Union(RectF& c, const RectF& a, const RectF& b) {
    const REAL l = std::min(a.X, b.X), t = std::min(a.Y, b.Y);
    const REAL r = std::max(a.GetRight(), b.GetRight()), btm = std::max(a.GetBottom(), b.GetBottom());
    c = RectF(l, t, r - l, btm - t);
    return !c.IsEmptyArea();
}

bool RectF::Intersect(RectF& c, const RectF& a, const RectF& b) {
    const REAL l = std::max(a.X, b.X), t = std::max(a.Y, b.Y);
    const REAL r = std::min(a.GetRight(), b.GetRight()), btm = std::min(a.GetBottom(), b.GetBottom());
    c = RectF(l, t, r - l, btm - t);
    return !c.IsEmptyArea();
}

Status Matrix::Reset() {
    const double id[6] = {1, 0, 0, 1, 0, 0};
    std::memcpy(m_e, id, sizeof id);
    return Ok;
}

Status Matrix::Multiply(const Matrix* other, MatrixOrder order) {
    if (!other) return InvalidParameter;
    // Prepend: the other transform applies first.
    if (order == MatrixOrderPrepend) Mul(other->m_e, m_e, m_e);
    else Mul(m_e, other->m_e, m_e);
    return Ok;
}

Status Matrix::Translate(REAL dx, REAL dy, MatrixOrder order) {
    const Matrix t(1, 0, 0, 1, dx, dy);
    return Multiply(&t, order);
}

Status Matrix::Scale(REAL sx, REAL sy, MatrixOrder order) {
    const Matrix t(sx, 0, 0, sy, 0, 0);
    return Multiply(&t, order);
}

Status Matrix::Rotate(REAL degrees, MatrixOrder order) {
    const double a = degrees * kPi / 180, c = std::cos(a), s = std::sin(a);
    Matrix t;
    t.m_e[0] = c;
    t.m_e[1] = s;
    t.m_e[2] = -s;
    t.m_e[3] = c;
    return Multiply(&t, order);
}

Status Matrix::Invert() {
    const double det = m_e[0] * m_e[3] - m_e[1] * m_e[2];
    if (det == 0 || !std::isfinite(det)) return InvalidParameter;
    const double a = m_e[3] / det, b = -m_e[1] / det, c = -m_e[2] / det, d = m_e[0] / det;
    const double e = -(m_e[4] * a + m_e[5] * c), f = -(m_e[4] * b + m_e[5] * d);
    const double r[6] = {a, b, c, d, e, f};
    std::memcpy(m_e, r, sizeof r);
    return Ok;
}

Status Matrix::TransformPoints(PointF* points, INT count) const {
    if (!points) return InvalidParameter;
    for (INT i = 0; i < count; ++i) {
        const double x = points[i].X, y = points[i].Y;
        points[i].X = REAL(x * m_e[0] + y * m_e[2] + m_e[4]);
        points[i].Y = REAL(x * m_e[1] + y * m_e[3] + m_e[5]);
    }
    return Ok;
}

Status Matrix::GetElements(REAL* six) const {
    if (!six) return InvalidParameter;
    for (int i = 0; i < 6; ++i) six[i] = REAL(m_e[i]);
    return Ok;
}

Status Matrix::SetElements(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy) {
    const double r[6] = {m11, m12, m21, m22, dx, dy};
    std::memcpy(m_e, r, sizeof r);
    return Ok;
}

bool Matrix::IsIdentity() const {
    return m_e[0] == 1 && m_e[1] == 0 && m_e[2] == 0 && m_e[3] == 1 && m_e[4] == 0 && m_e[5] == 0;
}

// --- fonts and formats ---------------------------------------------------------------------

FontFamily::FontFamily(const WCHAR* name) : m_name(name ? name : L"") {
    m_status = !m_name.empty() && platform::draw::IsFamilyAvailable(m_name) ? Ok : FontFamilyNotFound;
}

Status FontFamily::GetFamilyName(WCHAR* name, int size) const {
    if (!name || size <= 0) return InvalidParameter;
    const size_t n = std::min(m_name.size(), size_t(size - 1));
    std::wmemcpy(name, m_name.c_str(), n);
    name[n] = 0;
    return Ok;
}

const FontFamily* FontFamily::GenericSansSerif() {
    static const FontFamily sans(L"sans-serif");
    return &sans;
}

Font::Font(const FontFamily* family, REAL emSize, INT style, Unit unit)
    : m_face(family && family->IsAvailable() ? family->Name() : std::wstring()), m_size(emSize), m_style(style),
      m_unit(unit) {}

Font::Font(const WCHAR* familyName, REAL emSize, INT style, Unit unit) : m_size(emSize), m_style(style), m_unit(unit) {
    const FontFamily f(familyName);
    if (f.IsAvailable()) m_face = f.Name();
}

REAL Font::GetHeight(const Graphics* graphics) const {
    platform::draw::FontSpec spec;
    spec.face = m_face;
    spec.em = graphics ? graphics->FontEm(this) : m_size;
    spec.weight = (m_style & FontStyleBold) ? 700 : 400;
    spec.italic = (m_style & FontStyleItalic) != 0;
    const auto m = platform::draw::GetFontMetrics(spec);
    return REAL(m.ascent + m.descent);
}

const StringFormat* StringFormat::GenericDefault() {
    static const StringFormat f;
    return &f;
}

const StringFormat* StringFormat::GenericTypographic() {
    static const StringFormat f = [] {
        StringFormat s(StringFormatFlagsNoClip);
        s.m_typographic = true;
        return s;
    }();
    return &f;
}

// --- paths ---------------------------------------------------------------------------------

void GraphicsPath::Add(PointF p, uint8_t type) { m_points.push_back({p, type}); }

Status GraphicsPath::AddLine(REAL x1, REAL y1, REAL x2, REAL y2) {
    const PointF pts[2] = {{x1, y1}, {x2, y2}};
    return AddLines(pts, 2);
}

Status GraphicsPath::AddLines(const PointF* points, INT count) {
    if (!points || count < 1) return InvalidParameter;
    for (INT i = 0; i < count; ++i) {
        Add(points[i], m_newFigure ? 0 : 1);
        m_newFigure = false;
    }
    return Ok;
}

Status GraphicsPath::AddPolygon(const PointF* points, INT count) {
    if (!points || count < 3) return InvalidParameter;
    for (INT i = 0; i < count; ++i) Add(points[i], i == 0 ? 0 : 1);
    m_points.back().type |= 0x80;
    m_newFigure = true;
    return Ok;
}

Status GraphicsPath::AddRectangle(const RectF& r) {
    const PointF pts[4] = {{r.X, r.Y}, {r.GetRight(), r.Y}, {r.GetRight(), r.GetBottom()}, {r.X, r.GetBottom()}};
    return AddPolygon(pts, 4);
}

void GraphicsPath::ArcPoints(const RectF& r, REAL start, REAL sweep, bool startFigure) {
    const auto pts = ArcBeziers(r, start, sweep);
    Add(pts[0], startFigure || m_newFigure ? 0 : 1);
    for (size_t i = 1; i < pts.size(); ++i) Add(pts[i], 3);
    m_newFigure = false;
}

Status GraphicsPath::AddEllipse(const RectF& r) {
    ArcPoints(r, 0, 360, true);
    m_points.back().type |= 0x80;
    m_newFigure = true;
    return Ok;
}

Status GraphicsPath::AddArc(const RectF& r, REAL startAngle, REAL sweepAngle) {
    ArcPoints(r, startAngle, sweepAngle, false);
    return Ok;
}

Status GraphicsPath::AddPie(const RectF& r, REAL startAngle, REAL sweepAngle) {
    Add(PointF(r.X + r.Width / 2, r.Y + r.Height / 2), 0);
    m_newFigure = false;
    ArcPoints(r, startAngle, sweepAngle, false);
    m_points.back().type |= 0x80;
    m_newFigure = true;
    return Ok;
}

Status GraphicsPath::AddBezier(const PointF& p1, const PointF& p2, const PointF& p3, const PointF& p4) {
    Add(p1, m_newFigure ? 0 : 1);
    Add(p2, 3);
    Add(p3, 3);
    Add(p4, 3);
    m_newFigure = false;
    return Ok;
}

Status GraphicsPath::StartFigure() {
    m_newFigure = true;
    return Ok;
}

Status GraphicsPath::CloseFigure() {
    if (!m_points.empty()) m_points.back().type |= 0x80;
    m_newFigure = true;
    return Ok;
}

Status GraphicsPath::Reset() {
    m_points.clear();
    m_newFigure = true;
    return Ok;
}

Status GraphicsPath::Transform(const Matrix* matrix) {
    if (!matrix) return InvalidParameter;
    for (auto& n : m_points) matrix->TransformPoints(&n.p, 1);
    return Ok;
}

Status GraphicsPath::GetBounds(RectF* bounds) const {
    if (!bounds) return InvalidParameter;
    if (m_points.empty()) {
        *bounds = RectF();
        return Ok;
    }
    REAL l = m_points[0].p.X, t = m_points[0].p.Y, r = l, b = t;
    for (const auto& n : m_points) {
        l = std::min(l, n.p.X);
        r = std::max(r, n.p.X);
        t = std::min(t, n.p.Y);
        b = std::max(b, n.p.Y);
    }
    *bounds = RectF(l, t, r - l, b - t);
    return Ok;
}

bool GraphicsPath::IsVisible(REAL x, REAL y) const {
    return InsidePolygons(Polygons(*this), x, y, m_fillMode == FillModeWinding);
}

void GraphicsPath::AppendTo(cairo_t* cr) const {
    for (size_t i = 0; i < m_points.size(); ++i) {
        const auto& n = m_points[i];
        const uint8_t t = n.type & 0x7F;
        if (t == 0) cairo_move_to(cr, n.p.X, n.p.Y);
        else if (t == 3 && i + 2 < m_points.size()) {
            cairo_curve_to(cr, n.p.X, n.p.Y, m_points[i + 1].p.X, m_points[i + 1].p.Y, m_points[i + 2].p.X,
                           m_points[i + 2].p.Y);
            i += 2;
        } else cairo_line_to(cr, n.p.X, n.p.Y);
        if (m_points[i].type & 0x80) cairo_close_path(cr);
    }
}

// --- regions -------------------------------------------------------------------------------

Region::Region() { MakeInfinite(); }

Region::Region(const RectF& rect) {
    auto p = std::make_shared<GraphicsPath>();
    p->AddRectangle(rect);
    m_items.push_back({CombineModeReplace, p, nullptr});
}

Region::Region(const GraphicsPath* path) {
    m_items.push_back({CombineModeReplace, path ? std::make_shared<GraphicsPath>(*path) : nullptr, nullptr});
}

Status Region::Combine(CombineMode mode, std::shared_ptr<GraphicsPath> path, std::shared_ptr<Region> region) {
    m_items.push_back({mode, std::move(path), std::move(region)});
    return Ok;
}

namespace {
std::shared_ptr<GraphicsPath> RectPath(const RectF& r) {
    auto p = std::make_shared<GraphicsPath>();
    p->AddRectangle(r);
    return p;
}
}  // namespace

Status Region::Union(const RectF& r) { return Combine(CombineModeUnion, RectPath(r), nullptr); }
Status Region::Union(const GraphicsPath* p) {
    if (!p) return InvalidParameter;
    return Combine(CombineModeUnion, std::make_shared<GraphicsPath>(*p), nullptr);
}
Status Region::Union(const Region* r) {
    if (!r) return InvalidParameter;
    return Combine(CombineModeUnion, nullptr, std::make_shared<Region>(*r));
}
Status Region::Intersect(const RectF& r) { return Combine(CombineModeIntersect, RectPath(r), nullptr); }
Status Region::Intersect(const Region* r) {
    if (!r) return InvalidParameter;
    return Combine(CombineModeIntersect, nullptr, std::make_shared<Region>(*r));
}
Status Region::Exclude(const RectF& r) { return Combine(CombineModeExclude, RectPath(r), nullptr); }
Status Region::Xor(const RectF& r) { return Combine(CombineModeXor, RectPath(r), nullptr); }

Status Region::Translate(REAL dx, REAL dy) {
    const Matrix m(1, 0, 0, 1, dx, dy);
    for (auto& it : m_items) {
        if (it.path) {
            it.path = std::make_shared<GraphicsPath>(*it.path);
            it.path->Transform(&m);
        }
        if (it.region) {
            it.region = std::make_shared<Region>(*it.region);
            it.region->Translate(dx, dy);
        }
    }
    return Ok;
}

Status Region::MakeEmpty() {
    m_items.clear();
    return Ok;
}

Status Region::MakeInfinite() {
    m_items.clear();
    m_items.push_back({CombineModeReplace, nullptr, nullptr});
    return Ok;
}

bool Region::IsVisible(REAL x, REAL y, const Graphics*) const {
    bool v = false;
    for (const auto& it : m_items) {
        const bool in = it.path ? it.path->IsVisible(x, y) : it.region ? it.region->IsVisible(x, y) : true;
        switch (it.mode) {
        case CombineModeReplace: v = in; break;
        case CombineModeIntersect: v = v && in; break;
        case CombineModeUnion: v = v || in; break;
        case CombineModeXor: v = v != in; break;
        case CombineModeExclude: v = v && !in; break;
        }
    }
    return v;
}

Status ImageAttributes::SetColorMatrix(const ColorMatrix* matrix, ColorMatrixFlags, ColorAdjustType) {
    if (!matrix) return InvalidParameter;
    m_matrix = *matrix;
    m_has = true;
    return Ok;
}

// --- images --------------------------------------------------------------------------------

Image::~Image() {
    if (m_surface) cairo_surface_destroy(m_surface);
}

Image* Image::FromFile(const WCHAR* path) { return new Bitmap(path); }

UINT Image::GetWidth() const { return m_surface ? UINT(cairo_image_surface_get_width(m_surface)) : 0; }
UINT Image::GetHeight() const { return m_surface ? UINT(cairo_image_surface_get_height(m_surface)) : 0; }

Bitmap::Bitmap(INT width, INT height) {
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767) {
        m_status = InvalidParameter;
        return;
    }
    m_surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    m_status = cairo_surface_status(m_surface) == CAIRO_STATUS_SUCCESS ? Ok : OutOfMemory;
}

Bitmap::Bitmap(const WCHAR* path) {
    const std::string p = platform::WideToUtf8(path ? path : L"");
    CBitmap b;
    if (b.LoadPictureFile(p)) {
        m_surface = cairo_surface_reference(b.Surface());
        m_status = Ok;
    } else {
        FILE* f = std::fopen(p.c_str(), "rb");
        m_status = f ? UnknownImageFormat : FileNotFound;
        if (f) std::fclose(f);
    }
}

Bitmap* Bitmap::FromPngData(const void* data, size_t size) {
    CBitmap b;
    if (!b.LoadPngData(data, size)) return nullptr;
    auto* bmp = new Bitmap();
    bmp->m_surface = cairo_surface_reference(b.Surface());
    bmp->m_status = Ok;
    return bmp;
}

Status Bitmap::GetPixel(INT x, INT y, Color* color) const {
    if (!m_surface || !color || x < 0 || y < 0 || x >= INT(GetWidth()) || y >= INT(GetHeight())) return InvalidParameter;
    cairo_surface_flush(m_surface);
    const uint8_t* d = cairo_image_surface_get_data(m_surface);
    const uint32_t v = reinterpret_cast<const uint32_t*>(d + size_t(y) * size_t(cairo_image_surface_get_stride(m_surface)))[x];
    const bool alpha = cairo_image_surface_get_format(m_surface) == CAIRO_FORMAT_ARGB32;
    const uint32_t a = alpha ? v >> 24 : 255;
    auto un = [a](uint32_t c) { return uint8_t(a ? std::min<uint32_t>(255, (c * 255 + a / 2) / a) : 0); };
    *color = Color(uint8_t(a), un((v >> 16) & 0xFF), un((v >> 8) & 0xFF), un(v & 0xFF));
    return Ok;
}

Status Bitmap::SetPixel(INT x, INT y, const Color& c) {
    if (!m_surface || x < 0 || y < 0 || x >= INT(GetWidth()) || y >= INT(GetHeight())) return InvalidParameter;
    cairo_surface_flush(m_surface);
    uint8_t* d = cairo_image_surface_get_data(m_surface);
    const uint32_t a = c.GetA();
    auto pre = [a](uint32_t v) { return (v * a + 127) / 255; };
    reinterpret_cast<uint32_t*>(d + size_t(y) * size_t(cairo_image_surface_get_stride(m_surface)))[x] =
        (a << 24) | (pre(c.GetR()) << 16) | (pre(c.GetG()) << 8) | pre(c.GetB());
    cairo_surface_mark_dirty(m_surface);
    return Ok;
}

// --- graphics ------------------------------------------------------------------------------

Graphics::Graphics(CDC* dc) {
    if (!dc || !dc->GetCairo()) {
        m_status = WrongState;
        return;
    }
    m_cr = cairo_reference(dc->GetCairo());
    m_dpi = dc->GetDeviceCaps(LOGPIXELSX);
}

Graphics::Graphics(Image* image) {
    if (!image || !image->Surface()) {
        m_status = InvalidParameter;
        return;
    }
    m_cr = cairo_create(image->Surface());
}

Graphics::~Graphics() {
    if (m_cr) cairo_destroy(m_cr);
}

GraphicsState Graphics::Save() {
    m_saved.push_back(m_state);
    return GraphicsState(m_saved.size());
}

Status Graphics::Restore(GraphicsState state) {
    if (state == 0 || state > m_saved.size()) return InvalidParameter;
    m_state = m_saved[state - 1];
    m_saved.resize(state - 1);
    return Ok;
}

Status Graphics::SetTransform(const Matrix* m) {
    if (!m) return InvalidParameter;
    m_state.world = *m;
    return Ok;
}

Status Graphics::GetTransform(Matrix* m) const {
    if (!m) return InvalidParameter;
    *m = m_state.world;
    return Ok;
}

Status Graphics::ResetTransform() { return m_state.world.Reset(); }
Status Graphics::TranslateTransform(REAL dx, REAL dy, MatrixOrder order) { return m_state.world.Translate(dx, dy, order); }
Status Graphics::RotateTransform(REAL degrees, MatrixOrder order) { return m_state.world.Rotate(degrees, order); }
Status Graphics::ScaleTransform(REAL sx, REAL sy, MatrixOrder order) { return m_state.world.Scale(sx, sy, order); }
Status Graphics::MultiplyTransform(const Matrix* m, MatrixOrder order) { return m_state.world.Multiply(m, order); }

Status Graphics::SetPageUnit(Unit unit) {
    if (unit == UnitWorld) return InvalidParameter;
    m_state.pageUnit = unit;
    return Ok;
}

Status Graphics::SetPageScale(REAL scale) {
    if (!(scale > 0) || !std::isfinite(scale)) return InvalidParameter;
    m_state.pageScale = scale;
    return Ok;
}

double Graphics::UnitScale() const {
    switch (m_state.pageUnit) {
    case UnitPoint: return m_dpi / 72.0;
    case UnitInch: return m_dpi;
    case UnitDocument: return m_dpi / 300.0;
    case UnitMillimeter: return m_dpi / 25.4;
    default: return 1.0;
    }
}

double Graphics::DeviceScale() const {
    const double* e = m_state.world.Elements();
    const double det = std::fabs(e[0] * e[3] - e[1] * e[2]);
    return std::sqrt(det) * m_state.pageScale * UnitScale();
}

double Graphics::FontEm(const Font* font) const {
    const double page = m_state.pageScale * UnitScale();
    switch (font->GetUnit()) {
    case UnitWorld: return font->GetSize();
    case UnitPoint: return font->GetSize() * m_dpi / 72.0 / page;
    case UnitInch: return font->GetSize() * m_dpi / page;
    case UnitDocument: return font->GetSize() * m_dpi / 300.0 / page;
    case UnitMillimeter: return font->GetSize() * m_dpi / 25.4 / page;
    default: return font->GetSize() / page;
    }
}

bool Graphics::Begin() const {
    // A transform that is not finite or not invertible would put the shared Cairo context
    // into a lasting error state: such drawings are left out.
    const double* e = m_state.world.Elements();
    const double s = m_state.pageScale * UnitScale();
    for (int i = 0; i < 6; ++i)
        if (!std::isfinite(e[i])) return false;
    const double det = (e[0] * e[3] - e[1] * e[2]) * s * s;
    if (!std::isfinite(det) || det == 0 || !m_cr) return false;
    cairo_save(m_cr);
    // Without the half-pixel offset a pixel's centre lies on whole coordinates.
    if (m_state.pixelOffset != PixelOffsetModeHalf && m_state.pixelOffset != PixelOffsetModeHighQuality)
        cairo_translate(m_cr, 0.5, 0.5);
    cairo_scale(m_cr, s, s);
    cairo_matrix_t m;
    cairo_matrix_init(&m, e[0], e[1], e[2], e[3], e[4], e[5]);
    cairo_transform(m_cr, &m);
    const bool smooth = m_state.smoothing == SmoothingModeAntiAlias || m_state.smoothing == SmoothingModeHighQuality;
    cairo_set_antialias(m_cr, smooth ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
    cairo_new_path(m_cr);
    return true;
}

void Graphics::End() const { cairo_restore(m_cr); }

void Graphics::Stroke(const Pen* pen) const {
    Color c;
    pen->GetColor(&c);
    const double scale = DeviceScale();
    const bool smooth = m_state.smoothing == SmoothingModeAntiAlias || m_state.smoothing == SmoothingModeHighQuality;
    double w = pen->GetWidth();
    // The thinnest line is one device pixel; without smoothing no line is thinner.
    const double onePixel = scale > 0 ? 1.0 / scale : 1.0;
    if (w <= 0 || (!smooth && w < onePixel)) w = onePixel;
    cairo_set_line_width(m_cr, w);
    static const double kDash[] = {3, 1}, kDot[] = {1, 1}, kDashDot[] = {3, 1, 1, 1}, kDashDotDot[] = {3, 1, 1, 1, 1, 1};
    const double* pat = nullptr;
    int n = 0;
    switch (pen->GetDashStyle()) {
    case DashStyleDash: pat = kDash; n = 2; break;
    case DashStyleDot: pat = kDot; n = 2; break;
    case DashStyleDashDot: pat = kDashDot; n = 4; break;
    case DashStyleDashDotDot: pat = kDashDotDot; n = 6; break;
    default: break;
    }
    if (pat) {
        double d[6];
        for (int i = 0; i < n; ++i) d[i] = pat[i] * w;
        cairo_set_dash(m_cr, d, n, 0);
        cairo_set_line_cap(m_cr, pen->GetDashCap() == DashCapRound ? CAIRO_LINE_CAP_ROUND : CAIRO_LINE_CAP_BUTT);
    } else {
        const LineCap a = pen->GetStartCap(), b = pen->GetEndCap();
        cairo_set_line_cap(m_cr, (a == LineCapRound || b == LineCapRound)     ? CAIRO_LINE_CAP_ROUND
                                 : (a == LineCapSquare || b == LineCapSquare) ? CAIRO_LINE_CAP_SQUARE
                                                                              : CAIRO_LINE_CAP_BUTT);
    }
    switch (pen->GetLineJoin()) {
    case LineJoinBevel: cairo_set_line_join(m_cr, CAIRO_LINE_JOIN_BEVEL); break;
    case LineJoinRound: cairo_set_line_join(m_cr, CAIRO_LINE_JOIN_ROUND); break;
    default: cairo_set_line_join(m_cr, CAIRO_LINE_JOIN_MITER); cairo_set_miter_limit(m_cr, 10); break;
    }
    cairo_set_source_rgba(m_cr, c.GetR() / 255.0, c.GetG() / 255.0, c.GetB() / 255.0, c.GetA() / 255.0);
    cairo_stroke(m_cr);
}

void Graphics::Fill(const Color& c, bool winding) const {
    cairo_set_fill_rule(m_cr, winding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
    cairo_set_source_rgba(m_cr, c.GetR() / 255.0, c.GetG() / 255.0, c.GetB() / 255.0, c.GetA() / 255.0);
    cairo_fill(m_cr);
}

Status Graphics::Clear(const Color& color) {
    if (!m_cr) return WrongState;
    cairo_save(m_cr);
    cairo_set_operator(m_cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgba(m_cr, color.GetR() / 255.0, color.GetG() / 255.0, color.GetB() / 255.0, color.GetA() / 255.0);
    cairo_paint(m_cr);
    cairo_restore(m_cr);
    return Ok;
}

Status Graphics::DrawLine(const Pen* pen, REAL x1, REAL y1, REAL x2, REAL y2) {
    const PointF pts[2] = {{x1, y1}, {x2, y2}};
    return DrawLines(pen, pts, 2);
}

Status Graphics::DrawLines(const Pen* pen, const PointF* points, INT count) {
    if (!m_cr) return WrongState;
    if (!pen || !points || count < 2) return InvalidParameter;
    if (!Begin()) return Ok;
    cairo_move_to(m_cr, points[0].X, points[0].Y);
    for (INT i = 1; i < count; ++i) cairo_line_to(m_cr, points[i].X, points[i].Y);
    Stroke(pen);
    End();
    return Ok;
}

Status Graphics::DrawRectangle(const Pen* pen, REAL x, REAL y, REAL w, REAL h) {
    if (!m_cr) return WrongState;
    if (!pen) return InvalidParameter;
    if (!Begin()) return Ok;
    cairo_rectangle(m_cr, x, y, w, h);
    Stroke(pen);
    End();
    return Ok;
}

Status Graphics::FillRectangle(const Brush* brush, REAL x, REAL y, REAL w, REAL h) {
    if (!m_cr) return WrongState;
    if (!brush) return InvalidParameter;
    if (!Begin()) return Ok;
    cairo_rectangle(m_cr, x, y, w, h);
    Fill(brush->PaintColor(), true);
    End();
    return Ok;
}

Status Graphics::DrawEllipse(const Pen* pen, const RectF& r) { return DrawArc(pen, r, 0, 360); }

Status Graphics::FillEllipse(const Brush* brush, const RectF& r) {
    GraphicsPath p;
    p.AddEllipse(r);
    return FillPath(brush, &p);
}

Status Graphics::DrawArc(const Pen* pen, const RectF& r, REAL startAngle, REAL sweepAngle) {
    GraphicsPath p;
    p.AddArc(r, startAngle, sweepAngle);
    if (std::fabs(sweepAngle) >= 360) p.CloseFigure();
    return DrawPath(pen, &p);
}

Status Graphics::DrawPie(const Pen* pen, const RectF& r, REAL startAngle, REAL sweepAngle) {
    GraphicsPath p;
    p.AddPie(r, startAngle, sweepAngle);
    return DrawPath(pen, &p);
}

Status Graphics::FillPie(const Brush* brush, const RectF& r, REAL startAngle, REAL sweepAngle) {
    GraphicsPath p;
    p.AddPie(r, startAngle, sweepAngle);
    return FillPath(brush, &p);
}

Status Graphics::DrawPolygon(const Pen* pen, const PointF* points, INT count) {
    GraphicsPath p;
    if (!points || count < 2) return InvalidParameter;
    p.AddLines(points, count);
    p.CloseFigure();
    return DrawPath(pen, &p);
}

Status Graphics::FillPolygon(const Brush* brush, const PointF* points, INT count, FillMode mode) {
    GraphicsPath p(mode);
    if (p.AddPolygon(points, count) != Ok) return InvalidParameter;
    return FillPath(brush, &p);
}

Status Graphics::DrawPath(const Pen* pen, const GraphicsPath* path) {
    if (!m_cr) return WrongState;
    if (!pen || !path) return InvalidParameter;
    if (!Begin()) return Ok;
    path->AppendTo(m_cr);
    Stroke(pen);
    End();
    return Ok;
}

Status Graphics::FillPath(const Brush* brush, const GraphicsPath* path) {
    if (!m_cr) return WrongState;
    if (!brush || !path) return InvalidParameter;
    if (!Begin()) return Ok;
    path->AppendTo(m_cr);
    Fill(brush->PaintColor(), path->GetFillMode() == FillModeWinding);
    End();
    return Ok;
}

Status Graphics::Text(const WCHAR* text, INT length, const Font* font, const RectF& layout, bool hasBox,
                      const StringFormat* format, const Brush* brush, RectF* measure) const {
    if (!font) return InvalidParameter;
    const std::wstring s = TextOf(text, length);
    const StringFormat& f = format ? *format : *StringFormat::GenericDefault();
    platform::draw::FontSpec spec;
    spec.face = font->Face();
    spec.em = FontEm(font);
    if (!(spec.em > 0) || !std::isfinite(spec.em)) {
        // No size, no text.
        if (measure) *measure = RectF(layout.X, layout.Y, 0, 0);
        return Ok;
    }
    spec.weight = (font->GetStyle() & FontStyleBold) ? 700 : 400;
    spec.italic = (font->GetStyle() & FontStyleItalic) != 0;
    spec.underline = (font->GetStyle() & FontStyleUnderline) != 0;
    spec.strikeout = (font->GetStyle() & FontStyleStrikeout) != 0;
    spec.antialias = m_state.textHint != TextRenderingHintSingleBitPerPixel &&
                     m_state.textHint != TextRenderingHintSingleBitPerPixelGridFit;
    const auto metrics = platform::draw::GetFontMetrics(spec);
    const double lineH = metrics.ascent + metrics.descent;
    const double pad = f.IsTypographic() ? 0.0 : spec.em / 6;
    const bool boxW = hasBox && layout.Width > 0, boxH = hasBox && layout.Height > 0;

    platform::draw::TextLayout tl(spec, s);
    if (boxW && !(f.GetFormatFlags() & StringFormatFlagsNoWrap)) tl.SetWrapWidth(std::max(1e-3, layout.Width - 2 * pad));
    const int lines = s.empty() ? 0 : tl.LineCount();
    const double textW = s.empty() ? 0 : tl.Width(), textH = lines * lineH;

    auto lineX = [&](double w) {
        switch (f.GetAlignment()) {
        case StringAlignmentCenter: return boxW ? layout.X + (layout.Width - w) / 2 : layout.X - w / 2;
        case StringAlignmentFar: return boxW ? layout.GetRight() - pad - w : layout.X - pad - w;
        default: return layout.X + pad;
        }
    };
    double top = layout.Y;
    if (f.GetLineAlignment() == StringAlignmentCenter) top = boxH ? layout.Y + (layout.Height - textH) / 2 : layout.Y - textH / 2;
    else if (f.GetLineAlignment() == StringAlignmentFar) top = boxH ? layout.GetBottom() - textH : layout.Y - textH;

    if (measure) {
        const double left = s.empty() ? layout.X : lineX(textW) - pad;
        *measure = RectF(REAL(left), REAL(top), REAL(s.empty() ? 0 : textW + 2 * pad), REAL(textH));
        return Ok;
    }
    if (!m_cr) return WrongState;
    if (!brush) return InvalidParameter;
    if (s.empty()) return Ok;
    if (!Begin()) return Ok;
    if ((boxW || boxH) && !(f.GetFormatFlags() & StringFormatFlagsNoClip)) {
        // A side of zero length does not limit the text.
        const double big = 1e7;
        cairo_rectangle(m_cr, boxW ? layout.X : -big, boxH ? layout.Y : -big, boxW ? layout.Width : 2 * big,
                        boxH ? layout.Height : 2 * big);
        cairo_clip(m_cr);
    }
    const Color c = brush->PaintColor();
    cairo_set_source_rgba(m_cr, c.GetR() / 255.0, c.GetG() / 255.0, c.GetB() / 255.0, c.GetA() / 255.0);
    for (int i = 0; i < lines; ++i) tl.DrawLine(m_cr, i, lineX(tl.LineWidth(i)), top + i * lineH + metrics.ascent);
    End();
    return Ok;
}

Status Graphics::DrawString(const WCHAR* text, INT length, const Font* font, const PointF& origin, const Brush* brush) {
    return Text(text, length, font, RectF(origin.X, origin.Y, 0, 0), false, nullptr, brush, nullptr);
}

Status Graphics::DrawString(const WCHAR* text, INT length, const Font* font, const PointF& origin,
                            const StringFormat* format, const Brush* brush) {
    return Text(text, length, font, RectF(origin.X, origin.Y, 0, 0), false, format, brush, nullptr);
}

Status Graphics::DrawString(const WCHAR* text, INT length, const Font* font, const RectF& layout,
                            const StringFormat* format, const Brush* brush) {
    return Text(text, length, font, layout, true, format, brush, nullptr);
}

Status Graphics::MeasureString(const WCHAR* text, INT length, const Font* font, const PointF& origin,
                               RectF* bounds) const {
    if (!bounds) return InvalidParameter;
    return Text(text, length, font, RectF(origin.X, origin.Y, 0, 0), false, nullptr, nullptr, bounds);
}

Status Graphics::MeasureString(const WCHAR* text, INT length, const Font* font, const PointF& origin,
                               const StringFormat* format, RectF* bounds) const {
    if (!bounds) return InvalidParameter;
    return Text(text, length, font, RectF(origin.X, origin.Y, 0, 0), false, format, nullptr, bounds);
}

Status Graphics::MeasureString(const WCHAR* text, INT length, const Font* font, const RectF& layout,
                               const StringFormat* format, RectF* bounds, INT* codepointsFitted,
                               INT* linesFilled) const {
    if (!bounds) return InvalidParameter;
    const Status st = Text(text, length, font, layout, true, format, nullptr, bounds);
    if (codepointsFitted) *codepointsFitted = INT(TextOf(text, length).size());
    if (linesFilled) {
        const auto m = Font(font->Face().c_str(), font->GetSize(), font->GetStyle(), font->GetUnit()).GetHeight(this);
        *linesFilled = m > 0 ? INT(std::lround(bounds->Height / m)) : 0;
    }
    return st;
}

Status Graphics::DrawImage(Image* image, REAL x, REAL y) {
    if (!image || !image->Surface()) return InvalidParameter;
    const double k = m_dpi / 96.0 / (m_state.pageScale * UnitScale());
    return DrawImage(image, RectF(x, y, REAL(image->GetWidth() * k), REAL(image->GetHeight() * k)));
}

Status Graphics::DrawImage(Image* image, const RectF& dest) {
    if (!image || !image->Surface()) return InvalidParameter;
    return DrawImage(image, dest, 0, 0, REAL(image->GetWidth()), REAL(image->GetHeight()), UnitPixel, nullptr);
}

Status Graphics::DrawImage(Image* image, const Rect& dest, INT srcX, INT srcY, INT srcW, INT srcH, Unit srcUnit,
                           const ImageAttributes* attributes) {
    return DrawImage(image, RectF(REAL(dest.X), REAL(dest.Y), REAL(dest.Width), REAL(dest.Height)), REAL(srcX),
                     REAL(srcY), REAL(srcW), REAL(srcH), srcUnit, attributes);
}

Status Graphics::DrawImage(Image* image, const RectF& dest, REAL srcX, REAL srcY, REAL srcW, REAL srcH, Unit,
                           const ImageAttributes* attributes) {
    if (!m_cr) return WrongState;
    if (!image || !image->Surface() || !(srcW != 0) || !(srcH != 0)) return InvalidParameter;
    if (!(dest.Width != 0) || !(dest.Height != 0) || !std::isfinite(dest.Width / srcW) || !std::isfinite(dest.Height / srcH))
        return Ok;
    cairo_surface_t* src = image->Surface();
    cairo_surface_t* own = nullptr;
    if (attributes && attributes->Matrix()) src = own = ApplyColorMatrix(src, *attributes->Matrix());
    if (!Begin()) return Ok;
    cairo_rectangle(m_cr, dest.X, dest.Y, dest.Width, dest.Height);
    cairo_clip(m_cr);
    cairo_translate(m_cr, dest.X, dest.Y);
    cairo_scale(m_cr, dest.Width / srcW, dest.Height / srcH);
    cairo_set_source_surface(m_cr, src, -srcX, -srcY);
    const bool nearest = m_state.interpolation == InterpolationModeNearestNeighbor;
    cairo_pattern_set_filter(cairo_get_source(m_cr), nearest ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(cairo_get_source(m_cr), CAIRO_EXTEND_PAD);
    cairo_paint(m_cr);
    End();
    if (own) cairo_surface_destroy(own);
    return Ok;
}

}  // namespace Gdiplus
