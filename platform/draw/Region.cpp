#include "platform/draw/Region.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/draw/DeviceContext.h"
#include "platform/draw/Raster.h"

namespace {

using Band = CRgn::Band;

// Boolean operation on two sorted span lists.
std::vector<int> CombineSpans(const std::vector<int>* a, const std::vector<int>* b, int mode) {
    static const std::vector<int> kEmpty;
    const std::vector<int>& A = a ? *a : kEmpty;
    const std::vector<int>& B = b ? *b : kEmpty;
    std::vector<int> edges;
    edges.reserve(A.size() + B.size());
    edges.insert(edges.end(), A.begin(), A.end());
    edges.insert(edges.end(), B.begin(), B.end());
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    auto inside = [](const std::vector<int>& s, int x) {
        // x lies in some [s[2i], s[2i+1]).
        auto it = std::upper_bound(s.begin(), s.end(), x);
        return ((it - s.begin()) & 1) != 0;
    };
    std::vector<int> out;
    for (size_t i = 0; i + 1 < edges.size(); ++i) {
        const int x = edges[i];
        const bool ia = inside(A, x), ib = inside(B, x);
        bool in = false;
        switch (mode) {
        case RGN_AND: in = ia && ib; break;
        case RGN_OR: in = ia || ib; break;
        case RGN_XOR: in = ia != ib; break;
        case RGN_DIFF: in = ia && !ib; break;
        default: in = ia; break;
        }
        if (!in) continue;
        if (!out.empty() && out.back() == x) out.back() = edges[i + 1];
        else {
            out.push_back(x);
            out.push_back(edges[i + 1]);
        }
    }
    return out;
}

// Joins neighbouring bands with equal spans and drops empty ones.
std::vector<Band> Coalesce(std::vector<Band> bands) {
    std::vector<Band> out;
    for (auto& b : bands) {
        if (b.xs.empty() || b.y1 <= b.y0) continue;
        if (!out.empty() && out.back().y1 == b.y0 && out.back().xs == b.xs) out.back().y1 = b.y1;
        else out.push_back(std::move(b));
    }
    return out;
}

std::vector<Band> FromRows(const std::vector<platform::draw::SpanRow>& rows) {
    std::vector<Band> bands;
    bands.reserve(rows.size());
    for (const auto& r : rows) bands.push_back({r.y, r.y + 1, r.xs});
    return Coalesce(std::move(bands));
}

const std::vector<int>* SpansAt(const std::vector<Band>& bands, int y) {
    auto it = std::upper_bound(bands.begin(), bands.end(), y, [](int v, const Band& b) { return v < b.y1; });
    if (it == bands.end() || y < it->y0) return nullptr;
    return &it->xs;
}

}  // namespace

bool CRgn::CreateRectRgn(int left, int top, int right, int bottom) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    m_bands.clear();
    if (left < right && top < bottom) m_bands.push_back({top, bottom, {left, right}});
    m_created = true;
    return true;
}

bool CRgn::CreateEllipticRgn(int left, int top, int right, int bottom) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    m_bands.clear();
    m_created = true;
    const double cx = (double(left) + right) / 2, cy = (double(top) + bottom) / 2;
    const double a = (double(right) - left) / 2, b = (double(bottom) - top) / 2;
    if (a <= 0 || b <= 0) return true;
    std::vector<Band> bands;
    const int y0 = std::max(top, -platform::draw::kScanLimit), y1 = std::min(bottom, platform::draw::kScanLimit);
    for (int y = y0; y < y1; ++y) {
        const double dy = (y + 0.5 - cy) / b;
        if (std::fabs(dy) >= 1) continue;
        const double hw = a * std::sqrt(1 - dy * dy);
        const double lim = platform::draw::kScanLimit;
        const int x0 = int(std::clamp(std::ceil(cx - hw - 0.5), -lim, lim));
        const int x1 = int(std::clamp(std::ceil(cx + hw - 0.5), -lim, lim));
        if (x1 > x0) bands.push_back({y, y + 1, {x0, x1}});
    }
    m_bands = Coalesce(std::move(bands));
    return true;
}

bool CRgn::CreatePolygonRgn(const POINT* points, int count, int fillMode) {
    m_bands.clear();
    m_created = true;
    if (!points || count < 3) return true;
    std::vector<std::vector<platform::draw::PointD>> polys(1);
    for (int i = 0; i < count; ++i) polys[0].push_back({double(points[i].x), double(points[i].y)});
    m_bands = FromRows(platform::draw::ScanPolygons(polys, fillMode == WINDING));
    return true;
}

bool CRgn::CreateFromPath(CDC* dc) {
    if (!dc) return false;
    std::vector<std::vector<platform::draw::PointD>> polys;
    if (!dc->TakePathPolygons(&polys)) return false;
    m_bands = FromRows(platform::draw::ScanPolygons(polys, dc->GetPolyFillMode() == WINDING));
    m_created = true;
    return true;
}

int CRgn::CombineRgn(const CRgn* a, const CRgn* b, int mode) {
    if (!a || !a->m_created) return RGN_ERROR;
    if (mode == RGN_COPY) {
        if (a != this) m_bands = a->m_bands;
        m_created = true;
        return Kind();
    }
    if (!b || !b->m_created || mode < RGN_AND || mode > RGN_DIFF) return RGN_ERROR;
    std::vector<int> ys;
    for (const auto* r : {a, b})
        for (const auto& band : r->m_bands) {
            ys.push_back(band.y0);
            ys.push_back(band.y1);
        }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    std::vector<Band> out;
    for (size_t i = 0; i + 1 < ys.size(); ++i) {
        const int y = ys[i];
        auto xs = CombineSpans(SpansAt(a->m_bands, y), SpansAt(b->m_bands, y), mode);
        out.push_back({y, ys[i + 1], std::move(xs)});
    }
    m_bands = Coalesce(std::move(out));
    m_created = true;
    return Kind();
}

int CRgn::OffsetRgn(int dx, int dy) {
    if (!m_created) return RGN_ERROR;
    for (auto& b : m_bands) {
        b.y0 += dy;
        b.y1 += dy;
        for (int& x : b.xs) x += dx;
    }
    return Kind();
}

int CRgn::GetRgnBox(RECT* box) const {
    if (!m_created) return RGN_ERROR;
    CRect r;
    if (!m_bands.empty()) {
        r.top = m_bands.front().y0;
        r.bottom = m_bands.back().y1;
        r.left = INT_MAX;
        r.right = INT_MIN;
        for (const auto& b : m_bands) {
            r.left = std::min(r.left, b.xs.front());
            r.right = std::max(r.right, b.xs.back());
        }
    }
    if (box) *box = r;
    return Kind();
}

bool CRgn::PtInRegion(int x, int y) const {
    const auto* xs = SpansAt(m_bands, y);
    if (!xs) return false;
    auto it = std::upper_bound(xs->begin(), xs->end(), x);
    return ((it - xs->begin()) & 1) != 0;
}

bool CRgn::RectInRegion(const RECT* r) const {
    if (!r) return false;
    CRgn probe;
    probe.CreateRectRgnIndirect(r);
    CRgn both;
    return both.CombineRgn(this, &probe, RGN_AND) > NULLREGION;
}

bool CRgn::DeleteObject() {
    m_bands.clear();
    return CGdiObject::DeleteObject();
}

CRgn CRgn::Frame(int w, int h) const {
    // The inside that stays when the region is moved by w and h each way; the frame is the rest.
    CRgn inner;
    inner.CopyRgn(this);
    const int shifts[4][2] = {{-w, 0}, {w, 0}, {0, -h}, {0, h}};
    for (const auto& s : shifts) {
        CRgn moved;
        moved.CopyRgn(this);
        moved.OffsetRgn(s[0], s[1]);
        inner.CombineRgn(&inner, &moved, RGN_AND);
    }
    CRgn frame;
    frame.CombineRgn(this, &inner, RGN_DIFF);
    return frame;
}

int CRgn::Kind() const {
    if (m_bands.empty()) return NULLREGION;
    return (m_bands.size() == 1 && m_bands[0].xs.size() == 2) ? SIMPLEREGION : COMPLEXREGION;
}

void CRgn::SetBands(std::vector<Band> bands) {
    m_bands = Coalesce(std::move(bands));
    m_created = true;
}
