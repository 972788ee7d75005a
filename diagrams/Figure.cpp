#include "diagrams/Figure.h"

#include <algorithm>
#include <cmath>

#include "diagrams/ProtectionBlock.h"
#include "model/Numeric.h"

namespace {

constexpr double kPi = 3.141592653589793;

// Device coordinates stay far inside int, whatever a formula gave.
int DeviceRound(double v) {
    if (!std::isfinite(v)) return 0;
    return RoundToInt(std::clamp(v, -1e8, 1e8));
}
int DeviceFloor(double v) { return std::isfinite(v) ? int(std::floor(std::clamp(v, -1e8, 1e8))) : 0; }
int DeviceCeil(double v) { return std::isfinite(v) ? int(std::ceil(std::clamp(v, -1e8, 1e8))) : 0; }

// The path just ended as a region, or the one pixel at `at` when it encloses nothing.
CRgn PathRegion(CDC* dc, POINT at) {
    CRgn region;
    RECT box{};
    if (region.CreateFromPath(dc) && region.GetRgnBox(&box) != NULLREGION && box.right > box.left && box.bottom > box.top)
        return region;
    CRgn pixel;
    pixel.CreateRectRgn(at.x, at.y, at.x + 1, at.y + 1);
    return pixel;
}

POINT FallbackPoint(const std::vector<PlanePoint>& pts, double scale, POINT origin) {
    if (pts.empty()) return {0, 0};
    return {DeviceCeil(pts[0].x * scale) + origin.x, origin.y - DeviceCeil(pts[0].y * scale)};
}

bool Intersect(PlanePoint a0, PlanePoint a1, PlanePoint b0, PlanePoint b1, PlanePoint& out) {
    const double det = (a1.x - a0.x) * (b0.y - b1.y) - (b0.x - b1.x) * (a1.y - a0.y);
    if (!(std::fabs(det) >= 1e-6)) return false;
    const double t = ((b0.x - a0.x) * (b0.y - b1.y) - (b0.x - b1.x) * (b0.y - a0.y)) / det;
    out = {a0.x + t * (a1.x - a0.x), a0.y + t * (a1.y - a0.y)};
    return std::isfinite(out.x) && std::isfinite(out.y);
}

// A crossing beyond `end`, seen from `inner`.
bool Beyond(PlanePoint h, PlanePoint end, PlanePoint inner) {
    return std::fabs(h.x - end.x) <= std::fabs(h.x - inner.x) && std::fabs(h.y - end.y) <= std::fabs(h.y - inner.y);
}

// The device points of a closed outline, cut (Sutherland-Hodgman) to a window three view
// sizes around `view`, so that a figure whose far points lie at a hundred nominal values
// costs what the window has rows, however far the plane is zoomed. Inside the window the
// outline, and so its region, is unchanged. Without a view, the points as they are.
std::vector<POINT> DeviceOutline(const std::vector<PlanePoint>& plane, double scale, POINT o, const RECT* view) {
    std::vector<PlanePoint> pts;
    pts.reserve(plane.size());
    // Rounded as PlaneToDevice rounds, so that a figure inside the window keeps its pixels.
    for (const PlanePoint& v : plane) {
        const POINT d = PlaneToDevice(v, scale, o);
        pts.push_back({double(d.x), double(d.y)});
    }
    if (view && pts.size() >= 3) {
        const double w = std::max<double>(view->right - view->left, 1), h = std::max<double>(view->bottom - view->top, 1);
        const double lo[2] = {std::min<double>(view->left, 0) - 3 * w, std::min<double>(view->top, 0) - 3 * h};
        const double hi[2] = {std::max<double>(view->right, 0) + 3 * w, std::max<double>(view->bottom, 0) + 3 * h};
        for (int edge = 0; edge < 4 && !pts.empty(); ++edge) {
            const int axis = edge % 2;
            const bool low = edge < 2;
            const double limit = low ? lo[axis] : hi[axis];
            auto coord = [axis](const PlanePoint& p) { return axis ? p.y : p.x; };
            auto in = [&](const PlanePoint& p) { return std::isnan(coord(p)) || (low ? coord(p) >= limit : coord(p) <= limit); };
            std::vector<PlanePoint> out;
            for (size_t i = 0; i < pts.size(); ++i) {
                const PlanePoint a = pts[i], b = pts[(i + 1) % pts.size()];
                const bool ina = in(a), inb = in(b);
                if (ina) out.push_back(a);
                if (ina != inb) {
                    const double t = (limit - coord(a)) / (coord(b) - coord(a));
                    out.push_back({a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)});
                }
            }
            pts = std::move(out);
        }
    }
    std::vector<POINT> device;
    device.reserve(pts.size());
    for (const PlanePoint& p : pts) device.push_back({DeviceRound(p.x), DeviceRound(p.y)});
    return device;
}

}  // namespace

POINT PlaneToDevice(PlanePoint p, double scale, POINT origin) {
    return {origin.x + DeviceRound(p.x * scale), origin.y - DeviceRound(p.y * scale)};
}

PlanePoint IntersectFigureLines(double kp, double bp, int tp, double ki, double bi, int ti) {
    PlanePoint v;
    if (tp == 1 && ti == 1) {
        v.x = (bi - bp) / (kp - ki);
        v.y = kp * v.x + bp;
    } else if (tp == 1 && ti == 2) {
        v.y = (kp * bi + bp) / (1 - ki * kp);
        v.x = ki * v.y + bi;
    } else if (tp == 2 && ti == 2) {
        v.y = (bi - bp) / (kp - ki);
        v.x = kp * v.y + bp;
    } else if (tp == 2 && ti == 1) {
        v.x = (kp * bi + bp) / (1 - ki * kp);
        v.y = ki * v.x + bi;
    }
    if (!std::isfinite(v.x) || !std::isfinite(v.y)) return {};
    return v;
}

void PolygonF::Recalculate(Characteristic& owner) {
    if (lines.empty() || vertices.empty()) return;
    const size_t n = std::min(lines.size(), vertices.size());
    for (size_t i = 0; i < n; ++i) {
        const FigureLine& li = lines[i];
        const FigureLine& lp = lines[i == 0 ? n - 1 : i - 1];
        const double bp = owner.Evaluate(lp.b), bi = owner.Evaluate(li.b);
        const double kp = owner.Evaluate(lp.k), ki = owner.Evaluate(li.k);
        vertices[i] = IntersectFigureLines(kp, bp, lp.type, ki, bi, li.type);
    }
}

CRgn PolygonF::Draw(CDC* dc, double scale, const POINT* origin, const RECT* view) const {
    const POINT o = origin ? *origin : POINT{};
    const std::vector<POINT> pts = DeviceOutline(vertices, scale, o, view);
    dc->BeginPath();
    if (!pts.empty()) dc->Polygon(pts.data(), int(pts.size()));
    dc->EndPath();
    return PathRegion(dc, FallbackPoint(vertices, scale, o));
}

void PolypointF::Recalculate(Characteristic& owner) {
    coordinates.resize(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        coordinates[i].x = owner.Evaluate(points[i].x);
        coordinates[i].y = owner.Evaluate(points[i].y);
    }
}

std::vector<PlanePoint> ClosingPoints(const std::vector<PlanePoint>& p, double scale, POINT origin, int right, int bottom) {
    const size_t n = p.size();
    if (n < 2 || !(scale > 0)) return {};
    PlanePoint meet;
    if (Intersect(p[0], p[1], p[n - 2], p[n - 1], meet) && Beyond(meet, p[0], p[1]) && Beyond(meet, p[n - 1], p[n - 2]))
        return {meet};
    auto toPlane = [&](double X, double Y) { return PlanePoint{(X - origin.x) / scale, -(Y - origin.y) / scale}; };
    const double R = right, B = bottom;
    const PlanePoint c[4] = {toPlane(-2 * R, -2 * B), toPlane(3 * R, -2 * B), toPlane(3 * R, 3 * B), toPlane(-2 * R, 3 * B)};
    struct Hit {
        bool found = false;
        PlanePoint h;
        int side = 0;
    };
    auto exitOf = [&](PlanePoint end, PlanePoint inner) {
        Hit best;
        for (int k = 0; k < 4; ++k) {
            PlanePoint h;
            if (!Intersect(inner, end, c[k], c[(k + 1) % 4], h) || !Beyond(h, end, inner)) continue;
            if (!best.found) {
                best = {true, h, k};
                continue;
            }
            const double dx = std::fabs(h.x - inner.x), bx = std::fabs(best.h.x - inner.x);
            const double dy = std::fabs(h.y - inner.y), by = std::fabs(best.h.y - inner.y);
            if (dx < bx || dy < by) best = {true, h, k};
        }
        return best;
    };
    const Hit start = exitOf(p[0], p[1]), finish = exitOf(p[n - 1], p[n - 2]);
    if (!start.found || !finish.found) return {};
    std::vector<PlanePoint> out{finish.h};
    bool corners = true;
    int count = 0;
    if (start.side == finish.side) {
        const PlanePoint hs = start.h, hf = finish.h;
        const bool between = start.side == 0   ? hs.x <= hf.x
                             : start.side == 1 ? hs.y >= hf.y
                             : start.side == 2 ? hs.x >= hf.x
                                               : hs.y <= hf.y;
        corners = !between;
        count = 4;
    } else {
        count = ((finish.side - start.side) % 4 + 4) % 4;
    }
    if (corners)
        for (int j = 0; j < count; ++j) out.push_back(c[((finish.side - j) % 4 + 4) % 4]);
    out.push_back(start.h);
    return out;
}

CRgn PolypointF::Draw(CDC* dc, double scale, const POINT* origin, const RECT* view) const {
    const POINT o = origin ? *origin : POINT{};
    std::vector<PlanePoint> all = coordinates;
    if (!closed && all.size() >= 2 && view) {
        const std::vector<PlanePoint> extra = ClosingPoints(all, scale, o, view->right, view->bottom);
        all.insert(all.end(), extra.begin(), extra.end());
    }
    const std::vector<POINT> pts = DeviceOutline(all, scale, o, view);
    dc->BeginPath();
    if (!pts.empty()) dc->Polygon(pts.data(), int(pts.size()));
    dc->EndPath();
    return PathRegion(dc, FallbackPoint(coordinates, scale, o));
}

void Circle::Recalculate(Characteristic& owner) {
    cx = owner.Evaluate(xcenter);
    cy = owner.Evaluate(ycenter);
    r = owner.Evaluate(radius);
}

CRgn Circle::Draw(CDC* dc, double scale, const POINT* origin, const RECT*) const {
    const POINT o = origin ? *origin : POINT{};
    dc->BeginPath();
    dc->Ellipse(DeviceFloor((cx - r) * scale) + o.x, DeviceFloor((-cy - r) * scale) + o.y,
                DeviceCeil((cx + r) * scale) + o.x, DeviceCeil((r - cy) * scale) + o.y);
    dc->EndPath();
    return PathRegion(dc, {DeviceCeil(cx * scale) + o.x, o.y - DeviceCeil(cy * scale)});
}

void EllipseF::Recalculate(Characteristic& owner) {
    cx = owner.Evaluate(xcenter);
    cy = owner.Evaluate(ycenter);
    h = owner.Evaluate(height);
    w = owner.Evaluate(width);
    theta = owner.Evaluate(angle) * (-kPi / 180);
}

CRgn EllipseF::Draw(CDC* dc, double scale, const POINT* origin, const RECT*) const {
    const POINT o = origin ? *origin : POINT{};
    const POINT centre{DeviceCeil(cx * scale) + o.x, o.y - DeviceCeil(cy * scale)};
    dc->BeginPath();
    dc->Ellipse(DeviceFloor(-w * scale * 0.5), DeviceFloor(-h * scale * 0.5), DeviceCeil(w * scale * 0.5),
                DeviceCeil(h * scale * 0.5));
    dc->EndPath();
    const int count = dc->GetPath(nullptr, nullptr, 0);
    if (count > 0) {
        std::vector<POINT> pts(static_cast<size_t>(count));
        std::vector<BYTE> types(static_cast<size_t>(count));
        dc->GetPath(pts.data(), types.data(), count);
        const double c = std::cos(theta), s = std::sin(theta);
        const int bx = DeviceRound(cx * scale + o.x), by = DeviceRound(o.y - cy * scale);
        for (POINT& p : pts) {
            const double px = p.x, py = p.y;
            p = {bx + DeviceRound(px * c - py * s), by + DeviceRound(py * c + px * s)};
        }
        dc->BeginPath();
        dc->PolyDraw(pts.data(), types.data(), count);
        dc->EndPath();
    }
    return PathRegion(dc, centre);
}
