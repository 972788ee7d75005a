#include "platform/draw/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/draw/GdiTypes.h"

namespace platform::draw {

namespace {
// Pixel patterns of the thin pen styles, as the system's line drawing counts them.
constexpr int kDash[] = {18, 6};
constexpr int kDot[] = {3, 3};
constexpr int kDashDot[] = {9, 6, 3, 6};
constexpr int kDashDotDot[] = {9, 3, 3, 3, 3, 3};

using Wide = __int128;

// floor(a / b) and ceil(a / b) for b > 0.
template <class T>
T FloorDiv(T a, T b) {
    T q = a / b;
    if ((a % b != 0) && (a < 0)) --q;
    return q;
}
template <class T>
T CeilDiv(T a, T b) { return -FloorDiv<T>(-a, b); }

// Emits the lit part of a run of `len` pixels along the line, walking the dash pattern.
// `emit(offset, count)` receives the lit sub-runs, offsets counted from the run's start.
template <class Emit>
void WalkDash(DashState* dash, long long len, Emit&& emit) {
    if (!dash || !dash->pattern || dash->count <= 0) {
        emit(0, len);
        return;
    }
    long long pos = 0;
    while (pos < len) {
        if (dash->left <= 0) dash->left = dash->pattern[dash->index];
        const long long n = std::min<long long>(dash->left, len - pos);
        if (dash->index % 2 == 0) emit(pos, n);
        pos += n;
        dash->left -= int(n);
        if (dash->left == 0) dash->index = (dash->index + 1) % dash->count;
    }
}

// Moves the pattern on by `len` pixels that are not drawn (outside the picture).
void SkipDash(DashState* dash, long long len) {
    if (!dash || !dash->pattern || dash->count <= 0 || len <= 0) return;
    long long period = 0;
    for (int i = 0; i < dash->count; ++i) period += dash->pattern[i];
    WalkDash(dash, len % period, [](long long, long long) {});
}
}  // namespace

const int* ThinPenPattern(int style, int* count) {
    switch (style) {
    case PS_DASH: *count = 2; return kDash;
    case PS_DOT: *count = 2; return kDot;
    case PS_DASHDOT: *count = 4; return kDashDot;
    case PS_DASHDOTDOT: *count = 6; return kDashDotDot;
    default: *count = 0; return nullptr;
    }
}

void HairlineRuns(int x0, int y0, int x1, int y1, bool includeLast, DashState* dash, const RECT* box,
                  const std::function<void(int, int, int, int)>& run) {
    const long long dx = (long long)x1 - x0, dy = (long long)y1 - y0;
    const long long adx = std::llabs(dx), ady = std::llabs(dy);
    const bool xMajor = adx >= ady;
    const long long major = xMajor ? adx : ady, minor = xMajor ? ady : adx;
    const int sMajor = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int sMinor = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const long long m0 = xMajor ? x0 : y0, n0 = xMajor ? y0 : x0;
    const long long tEnd = includeLast ? major : major - 1;  // last step drawn
    if (tEnd < 0) return;                                     // zero-length segment without its end
    // Step t along the major axis lies on minor offset k(t) = floor((2 t minor + major) / (2 major)),
    // so run j covers t in [ts(j), ts(j + 1)) with ts(j) = ceil((2j - 1) major / (2 minor)).
    // Products of two coordinates fit 64 bits for lines shorter than 2^30 pixels; longer
    // ones (through far-away points) take 128-bit arithmetic.
    const bool small = major < (1LL << 30);
    auto ts = [&](long long j) -> long long {
        if (j <= 0) return 0;
        if (j > minor) return major + 1;
        if (small) return CeilDiv<long long>((2 * j - 1) * major, 2 * minor);
        return (long long)CeilDiv<Wide>(Wide(2 * j - 1) * major, Wide(2) * minor);
    };
    auto k = [&](long long t) -> long long {
        if (major == 0 || minor == 0) return 0;
        if (small) return FloorDiv<long long>(2 * t * minor + major, 2 * major);
        return (long long)FloorDiv<Wide>(Wide(2) * t * minor + major, Wide(2) * major);
    };
    auto emit = [&](long long j, long long ta, long long tb) {
        const long long n = n0 + sMinor * j;
        WalkDash(dash, tb - ta, [&](long long off, long long cnt) {
            const long long a = m0 + sMajor * (ta + off);
            const long long b = m0 + sMajor * (ta + off + cnt - 1);
            const long long lo = std::min(a, b);
            if (xMajor) run(int(lo), int(n), int(cnt), 1);
            else run(int(n), int(lo), 1, int(cnt));
        });
    };
    const auto inside = [box](long long x, long long y) {
        return x >= box->left && x < box->right && y >= box->top && y < box->bottom;
    };
    if (small && (!box || (inside(x0, y0) && inside(x1, y1)))) {
        // The whole line is drawn: run starts follow one another without a division each.
        if (minor == 0) {
            emit(0, 0, tEnd + 1);
            return;
        }
        const long long den = 2 * minor, stepQ = (2 * major) / den, stepR = (2 * major) % den;
        long long q = major / den, r = major % den;  // (2j - 1) major / den for j = 1
        long long cur = 0;
        for (long long j = 0; j <= minor && cur <= tEnd; ++j) {
            long long next = major + 1;
            if (j < minor) {
                next = q + (r > 0 ? 1 : 0);
                q += stepQ;
                r += stepR;
                if (r >= den) {
                    ++q;
                    r -= den;
                }
            }
            const long long tb = std::min(next, tEnd + 1);
            if (tb > cur) emit(j, cur, tb);
            cur = next;
        }
        return;
    }
    // Only the steps that land inside the box are walked, so a line through far-away points
    // costs what its visible part costs.
    long long tA = 0, tB = tEnd;
    if (box) {
        const long long mLo = xMajor ? box->left : box->top, mHi = (xMajor ? box->right : box->bottom) - 1;
        const long long nLo = xMajor ? box->top : box->left, nHi = (xMajor ? box->bottom : box->right) - 1;
        tA = std::max(tA, sMajor > 0 ? mLo - m0 : m0 - mHi);
        tB = std::min(tB, sMajor > 0 ? mHi - m0 : m0 - mLo);
        const long long jLo = std::max(0LL, sMinor > 0 ? nLo - n0 : n0 - nHi);
        const long long jHi = std::min(minor, sMinor > 0 ? nHi - n0 : n0 - nLo);
        if (jLo > jHi) tA = tB + 1;
        else {
            tA = std::max(tA, ts(jLo));
            tB = std::min(tB, ts(jHi + 1) - 1);
        }
        if (tA > tB) {
            SkipDash(dash, tEnd + 1);
            return;
        }
        SkipDash(dash, tA);
    }
    for (long long j = k(tA), jEnd = k(tB); j <= jEnd; ++j) {
        const long long ta = std::max(ts(j), tA), tb = std::min(ts(j + 1), tB + 1);
        if (tb > ta) emit(j, ta, tb);
    }
    if (box) SkipDash(dash, tEnd - tB);
}

std::vector<SpanRow> ScanPolygons(const std::vector<std::vector<PointD>>& polygons, bool winding) {
    struct Edge {
        double x0, y0, x1, y1;
        int dir;
    };
    std::vector<Edge> edges;
    double ymin = INFINITY, ymax = -INFINITY;
    for (const auto& poly : polygons) {
        const size_t n = poly.size();
        if (n < 2) continue;
        for (size_t i = 0; i < n; ++i) {
            PointD a = poly[i], b = poly[(i + 1) % n];
            if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y)) continue;
            if (a.y == b.y) continue;
            int dir = 1;
            if (a.y > b.y) {
                std::swap(a, b);
                dir = -1;
            }
            edges.push_back({a.x, a.y, b.x, b.y, dir});
            ymin = std::min(ymin, a.y);
            ymax = std::max(ymax, b.y);
        }
    }
    std::vector<SpanRow> rows;
    if (edges.empty()) return rows;
    // Rows whose centre y + 0.5 lies in [ymin, ymax).
    const double lo = std::max(std::ceil(ymin - 0.5), -double(kScanLimit));
    const double hi = std::min(std::ceil(ymax - 0.5), double(kScanLimit));
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
    std::vector<const Edge*> active;
    size_t next = 0;
    struct Cross {
        double x;
        int dir;
    };
    std::vector<Cross> cross;
    for (long long y = (long long)lo; y < (long long)hi; ++y) {
        const double yc = double(y) + 0.5;
        while (next < edges.size() && edges[next].y0 <= yc) active.push_back(&edges[next++]);
        active.erase(std::remove_if(active.begin(), active.end(), [yc](const Edge* e) { return e->y1 <= yc; }),
                     active.end());
        cross.clear();
        for (const Edge* e : active) {
            if (e->y0 > yc) continue;
            const double x = e->x0 + (yc - e->y0) * (e->x1 - e->x0) / (e->y1 - e->y0);
            cross.push_back({x, e->dir});
        }
        if (cross.size() < 2) continue;
        std::sort(cross.begin(), cross.end(), [](const Cross& a, const Cross& b) { return a.x < b.x; });
        SpanRow row;
        row.y = int(y);
        int wind = 0;
        for (size_t i = 0; i + 1 < cross.size(); ++i) {
            wind += winding ? cross[i].dir : 1;
            const bool inside = winding ? wind != 0 : (wind & 1) != 0;
            if (!inside) continue;
            const double xa = std::clamp(std::ceil(cross[i].x - 0.5), -double(kScanLimit), double(kScanLimit));
            const double xb = std::clamp(std::ceil(cross[i + 1].x - 0.5), -double(kScanLimit), double(kScanLimit));
            if (xb <= xa) continue;
            if (!row.xs.empty() && row.xs.back() >= int(xa)) row.xs.back() = std::max(row.xs.back(), int(xb));
            else {
                row.xs.push_back(int(xa));
                row.xs.push_back(int(xb));
            }
        }
        if (!row.xs.empty()) rows.push_back(std::move(row));
    }
    return rows;
}

void FlattenBezier(PointD p0, PointD p1, PointD p2, PointD p3, std::vector<PointD>& out) {
    // Enough segments that no chord strays more than about a tenth of a pixel from the curve.
    const double d = std::hypot(p1.x - p0.x, p1.y - p0.y) + std::hypot(p2.x - p1.x, p2.y - p1.y) +
                     std::hypot(p3.x - p2.x, p3.y - p2.y);
    const int n = std::clamp(int(std::sqrt(d) * 2) + 1, 1, 1000);
    for (int i = 1; i <= n; ++i) {
        const double t = double(i) / n, u = 1 - t;
        const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, e = t * t * t;
        out.push_back({a * p0.x + b * p1.x + c * p2.x + e * p3.x, a * p0.y + b * p1.y + c * p2.y + e * p3.y});
    }
}

}  // namespace platform::draw
