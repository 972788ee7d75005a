#include "model/ChannelDraw.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <limits>

#include "model/Channel.h"
#include "model/ChannelCollection.h"
#include "model/DocumentModel.h"
#include "model/Numeric.h"
#include "model/ViewIcons.h"
#include "platform/draw/DeviceContext.h"
#include "platform/draw/PolylineReduction.h"

namespace {

// Greater than any value a block can hold: the start of a search for its least value.
constexpr double kNone = std::numeric_limits<double>::infinity();

// A value that is not a number is drawn where 0.0 would be, as the values past the end are.
inline double Finite(double v) { return std::isfinite(v) ? v : 0.0; }

// A missing sample (NaN) breaks the curve: the polyline's points carry this mark between the
// pieces, and the pieces are drawn apart.
constexpr int kGapX = INT_MIN;
inline bool IsGap(const POINT& p) { return p.x == kGapX; }
inline void PushGap(std::vector<POINT>& pts) {
    if (!pts.empty() && !IsGap(pts.back())) pts.push_back(POINT{kGapX, 0});
}
inline void PushValue(std::vector<POINT>& pts, int x, const VerticalMap& map, double v) {
    if (std::isnan(v)) PushGap(pts);
    else pts.push_back(POINT{x, map.Y(Finite(v))});
}

inline double CurveAt(const CChannel& c, int64_t i) {
    return i >= 0 && uint64_t(i) < c.GetCurveCount() ? c.GetCurveValue(uint32_t(i)) : 0.0;
}

CPen& ZeroLinePen() {
    static CPen pen(PS_SOLID, 1, RGB(200, 200, 200));
    return pen;
}

// Pixels per sample step: 25 x XScale, kept positive and finite so that nothing divides by 0.
double PixelStep(double xscale) {
    double px = 25.0 * xscale;
    return std::isfinite(px) && px > 0 ? px : 25.0;
}

// x of relative sample k as the view places it: left + RoundToInt(25 x k x XScale).
inline int XOf(int left, int64_t k, double xscale) { return left + RoundToInt(25.0 * double(k) * xscale); }

// Samples the width of a strip shows: ceil(width / step), 0 for an empty strip.
int64_t SamplesAcross(int width, double step) {
    if (width <= 0 || !(step > 0)) return 0;
    double n = std::ceil(double(width) / step);
    return n >= 4e18 ? int64_t(4e18) : int64_t(n);
}

// The oscillogram sample k whose interval [time(k), time(k+1)] holds t; before the first
// sample, 0 (the first interval is then extrapolated). Times only grow, so a binary search
// finds what a walk from sample 0 would.
int64_t IntervalOf(const DocumentModel& doc, double t) {
    const auto& times = doc.m_oscillogram.m_times;
    if (times.size() >= 2 && t <= double(times.back())) {
        auto it = std::lower_bound(times.begin() + 1, times.end(), t,
                                   [](int64_t a, double b) { return double(a) < b; });
        return int64_t(it - times.begin()) - 1;
    }
    // Past the table the times go on at the sampling rate.
    int64_t k = times.empty() ? 0 : int64_t(times.size()) - 1;
    double rate = doc.m_oscillogram.m_samplingFrequency;
    double last = double(doc.GetSampleTime(uint32_t(std::max<int64_t>(k, 0))));
    if (rate > 0 && t > last) k += int64_t(std::floor((t - last) * rate / 1e6));
    k = std::clamp<int64_t>(k, 0, int64_t(UINT32_MAX) - 2);
    while (k > 0 && double(doc.GetSampleTime(uint32_t(k))) >= t) --k;
    while (k < int64_t(UINT32_MAX) - 2 && t > double(doc.GetSampleTime(uint32_t(k + 1)))) ++k;
    return k;
}

// x of a pasted channel's sample at time t (its own time plus the shift), placed between the
// oscillogram samples around it.
int PastedX(const DocumentModel& doc, const CurveStrip& s, double t) {
    int64_t k = IntervalOf(doc, t);
    double t0 = double(doc.GetSampleTime(uint32_t(k)));
    double t1 = double(doc.GetSampleTime(uint32_t(k + 1)));
    // Two equal times have no interval to place within; the sample then sits on the first.
    double frac = t1 > t0 ? (t - t0) / (t1 - t0) : 0.0;
    return s.left + RoundToInt((frac + double(k) - double(s.first)) * 25.0 * s.xscale);
}

// The polyline through only the first, lowest, highest and last point of each pixel column.
// The last column keeps all its points: where the line ends, its end point is not lit, and only
// the full set of points lights the same pixels there.
void ReducePiece(std::vector<POINT>& pts) {
    if (pts.size() < 8) return;
    size_t tail = pts.size() - 1;
    while (tail > 0 && pts[tail - 1].x == pts.back().x) --tail;
    std::vector<POINT> reduced;
    platform::draw::ReducePolylinePerColumn(pts.data(), tail, reduced);
    reduced.insert(reduced.end(), pts.begin() + ptrdiff_t(tail), pts.end());
    pts.swap(reduced);
}

// The same for a curve broken by missing samples: each piece on its own.
void ReduceKeepingLastColumn(std::vector<POINT>& pts) {
    if (std::none_of(pts.begin(), pts.end(), IsGap)) {
        ReducePiece(pts);
        return;
    }
    std::vector<POINT> out, piece;
    for (size_t i = 0; i <= pts.size(); ++i) {
        if (i < pts.size() && !IsGap(pts[i])) {
            piece.push_back(pts[i]);
            continue;
        }
        ReducePiece(piece);
        out.insert(out.end(), piece.begin(), piece.end());
        piece.clear();
        if (i < pts.size()) PushGap(out);
    }
    pts.swap(out);
}

class PenScope {
public:
    PenScope(CDC* dc, CPen* pen) : m_dc(dc), m_old(dc->SelectObject(pen)) {}
    ~PenScope() { m_dc->SelectObject(m_old); }

private:
    CDC* m_dc;
    CPen* m_old;
};

void DrawZeroLine(const CurveStrip& s, const VerticalMap& map) {
    int yz;
    if (!map.ZeroY(yz)) return;
    PenScope pen(s.dc, &ZeroLinePen());
    s.dc->MoveTo(s.left, yz);
    s.dc->LineTo(s.right, yz);
}

// Points of an index-based curve: V samples from `first`. Where the samples outnumber the
// pixel columns, each column gets its first, lowest, highest and last point only, found from
// the summary where the column holds whole blocks; the last column is always walked sample by
// sample, so that the polyline ends exactly where the full one would.
void BuildIndexPoints(const CChannel& ch, const CurveStrip& s, const VerticalMap& map, int64_t count,
                      std::vector<POINT>& pts) {
    const CChannel& c = ch;
    const size_t curveCount = ch.GetCurveCount();
    pts.clear();
    const int64_t first = s.first;
    const double px = 25.0 * s.xscale;
    auto pushAt = [&](std::vector<POINT>& to, int64_t k) { PushValue(to, XOf(s.left, k, s.xscale), map, CurveAt(c, first + k)); };
    const int64_t k0 = first < 0 ? -first : 0;  // samples before the record are skipped
    if (k0 >= count) return;
    if (px >= 1.0 || count - k0 < 4096) {
        pts.reserve(size_t(count - k0));
        for (int64_t k = k0; k < count; ++k) pushAt(pts, k);
        if (px < 1.0) ReduceKeepingLastColumn(pts);
        return;
    }
    std::vector<POINT> raw;
    const bool useSummary = s.summary && s.summary->Matches(c);
    int64_t k = k0;
    while (k < count) {
        const int x = XOf(s.left, k, s.xscale);
        // The end of this column: the first k whose x is further right.
        int64_t e = std::min<int64_t>(count, int64_t(std::ceil((double(x - s.left) + 0.5) / px)));
        if (e <= k) e = k + 1;
        while (e > k + 1 && XOf(s.left, e - 1, s.xscale) != x) --e;
        while (e < count && XOf(s.left, e, s.xscale) == x) ++e;
        if (e == count) {
            for (int64_t j = k; j < e; ++j) pushAt(pts, j);
        } else if (e - k < 8) {
            raw.clear();
            for (int64_t j = k; j < e; ++j) pushAt(raw, j);
            ReduceKeepingLastColumn(raw);
            if (!raw.empty() && IsGap(raw.front())) PushGap(pts);
            for (const POINT& p : raw) {
                if (IsGap(p)) PushGap(pts);
                else pts.push_back(p);
            }
        } else {
            size_t b = size_t(first + k), en = size_t(std::min<int64_t>(first + e, int64_t(curveCount)));
            double lo = 0, hi = 0;
            int64_t loK = k, hiK = k;
            bool any = true;  // the column holds a value that is there
            if (b < en) {
                if (useSummary) {
                    CurveSummary::Range r = s.summary->Query(c, b, en);
                    lo = r.min, hi = r.max, loK = int64_t(r.minIndex) - first, hiK = int64_t(r.maxIndex) - first;
                    any = r.any;
                } else {
                    any = false;
                    for (size_t j = b; j < en; ++j) {
                        const double v = c.GetCurveValue(uint32_t(j));
                        if (std::isnan(v)) continue;
                        const double f = Finite(v);
                        if (!any || f < lo) lo = f, loK = int64_t(j) - first;
                        if (!any || f > hi) hi = f, hiK = int64_t(j) - first;
                        any = true;
                    }
                }
            }
            if (!any && en >= size_t(first + e)) {
                // Every sample of the column is missing.
                PushGap(pts);
                k = e;
                continue;
            }
            if (!any) lo = hi = 0.0, loK = hiK = int64_t(en) - first;
            // Past the values the curve reads 0.0.
            if (en < size_t(first + e)) {
                int64_t pastK = int64_t(en) - first;
                if (b >= en) lo = hi = 0.0, loK = hiK = pastK;
                if (0.0 < lo) lo = 0.0, loK = pastK;
                if (0.0 > hi) hi = 0.0, hiK = pastK;
            }
            const int64_t order[4] = {k, std::min(loK, hiK), std::max(loK, hiK), e - 1};
            int64_t prev = -1;
            for (int64_t j : order) {
                if (j == prev) continue;
                prev = j;
                const double raw = j == loK ? lo : j == hiK ? hi : CurveAt(c, first + j);
                // A missing first or last sample of a column leaves the column's range to show it.
                if (std::isnan(raw)) continue;
                pts.push_back(POINT{x, map.Y(raw)});
            }
        }
        k = e;
    }
}

void DrawPoints(const CChannel& ch, const CurveStrip& s, const std::vector<POINT>& pts) {
    if (pts.empty()) return;
    CPen pen(PS_SOLID, 1, ch.GetColor());
    PenScope scope(s.dc, &pen);
    for (size_t begin = 0; begin < pts.size();) {
        size_t end = begin;
        while (end < pts.size() && !IsGap(pts[end])) ++end;
        if (end - begin == 1) {
            // A sample alone between missing ones is still shown, as a dot.
            const POINT dot[2] = {pts[begin], POINT{pts[begin].x + 1, pts[begin].y}};
            s.dc->Polyline(dot, 2);
        } else if (end > begin) {
            s.dc->Polyline(pts.data() + begin, int(end - begin));
        }
        begin = end + 1;
    }
    // More than 4 pixels per sample step: a small circle marks every sample.
    if (s.xscale > 0.16) {
        CGdiObject* oldBrush = s.dc->SelectStockObject(NULL_BRUSH);
        for (const POINT& p : pts)
            if (!IsGap(p)) s.dc->Ellipse(p.x - 2, p.y - 2, p.x + 2, p.y + 2);
        s.dc->SelectObject(oldBrush);
    }
}

// Clips a zoomed channel to its strip (less the 5 pixels above) for the life of the scope.
class ZoomClip {
public:
    ZoomClip(const CurveStrip& s, bool on) : m_dc(on ? s.dc : nullptr) {
        if (!m_dc) return;
        m_saved = m_dc->SaveDC();
        m_dc->IntersectClipRect(0, s.top + 5, s.right, s.top + s.height);
    }
    ~ZoomClip() {
        if (m_dc) m_dc->RestoreDC(m_saved);
    }

private:
    CDC* m_dc;
    int m_saved = 0;
};

double RateRatio(const CChannel& ch) {
    if (ch.m_ownRate == 0.0 || !ch.m_document) return 1.0;
    double r = double(ch.m_document->m_oscillogram.m_samplingFrequency) / ch.m_ownRate;
    return std::isfinite(r) && r > 0 ? r : 1.0;
}

void DrawBar(CDC* dc, int x1, int x2, int yc) { dc->Rectangle(x1, yc - 6, x2, yc + 6); }

}  // namespace

// ------------------------------------------------------------------ summary

CurveSummary::Source CurveSummary::SourceOf(const CChannel& ch) {
    Source s;
    s.stamp = ch.GetRecalcStamp();
    s.version = ch.m_samples.Version();
    s.identity = ch.m_samples.Identity();
    s.flags = ch.m_flags & (CHF_CURVE_MASK | CHF_INVERT | CHF_REMOVE_DC | CHF_ADC_COUNTS);
    s.displayMul = std::bit_cast<uint64_t>(ch.m_displayMul);
    s.dc = std::bit_cast<uint64_t>(ch.m_dc);
    s.a = std::bit_cast<uint64_t>(ch.m_a);
    s.b = std::bit_cast<uint64_t>(ch.m_b);
    s.prefixMul = std::bit_cast<uint64_t>(ch.m_prefixMul);
    return s;
}

void CurveSummary::Build(const CChannel& ch) {
    m_source = SourceOf(ch);
    m_size = ch.GetCurveCount();
    const size_t blocks = (m_size + kBlock - 1) / kBlock;
    m_blocks.resize(blocks);
    constexpr size_t kChunk = kBlock * 256;
    std::vector<double> values(kChunk);
    for (size_t c0 = 0; c0 < m_size; c0 += kChunk) {
        const size_t c1 = std::min(m_size, c0 + kChunk);
        ch.ReadCurve(c0, c1, values.data());
        for (size_t begin = c0; begin < c1; begin += kBlock) {
            const size_t end = std::min(c1, begin + kBlock);
            // Missing samples (NaN) take no part; a block of nothing else has lo > hi.
            double lo = kNone, hi = -kNone;
            size_t loI = begin, hiI = begin;
            for (size_t i = begin; i < end; ++i) {
                const double raw = values[i - c0];
                if (std::isnan(raw)) continue;
                double v = Finite(raw);
                if (v < lo) lo = v, loI = i;
                if (v > hi) hi = v, hiI = i;
            }
            m_blocks[begin / kBlock] = Block{lo, hi, uint32_t(loI), uint32_t(hiI)};
        }
    }
    m_groups.resize((blocks + kGroup - 1) / kGroup);
    for (size_t g = 0; g < m_groups.size(); ++g) {
        size_t begin = g * kGroup, end = std::min(blocks, begin + kGroup);
        Block grp = m_blocks[begin];
        for (size_t b = begin; b < end; ++b) {
            const Block& blk = m_blocks[b];
            if (blk.min < grp.min) grp.min = blk.min, grp.minIndex = blk.minIndex;
            if (blk.max > grp.max) grp.max = blk.max, grp.maxIndex = blk.maxIndex;
        }
        m_groups[g] = grp;
    }
}

bool CurveSummary::Wanted(const CChannel& ch) { return !ch.IsDiscrete() && ch.GetCurveCount() >= 4096; }

bool CurveSummary::Matches(const CChannel& ch) const {
    return m_size != 0 && m_size == ch.GetCurveCount() && m_source == SourceOf(ch);
}

CurveSummary::Range CurveSummary::Query(const CChannel& ch, size_t begin, size_t end) const {
    Range r;
    end = std::min(end, m_size);
    if (begin >= end) return r;
    r.min = kNone, r.max = -kNone;
    r.minIndex = r.maxIndex = begin;
    auto take = [&](size_t i) {
        const double raw = ch.GetCurveValue(uint32_t(i));
        if (std::isnan(raw)) return;
        const double v = Finite(raw);
        if (v < r.min) r.min = v, r.minIndex = i;
        if (v > r.max) r.max = v, r.maxIndex = i;
    };
    auto merge = [&](const Block& b) {
        if (b.min < r.min) r.min = b.min, r.minIndex = b.minIndex;
        if (b.max > r.max) r.max = b.max, r.maxIndex = b.maxIndex;
    };
    constexpr size_t kSpan = kBlock * kGroup;
    size_t i = begin;
    for (; i < end && i % kBlock != 0; ++i) take(i);
    for (; i + kBlock <= end && i % kSpan != 0; i += kBlock) merge(m_blocks[i / kBlock]);
    for (; i + kSpan <= end; i += kSpan) merge(m_groups[i / kSpan]);
    for (; i + kBlock <= end; i += kBlock) merge(m_blocks[i / kBlock]);
    for (; i < end; ++i) take(i);
    r.any = r.min <= r.max;
    if (!r.any) r.min = r.max = 0.0;
    return r;
}

size_t CurveSummary::CountOn(const CChannel& ch, size_t begin, size_t end) const {
    return ch.CountCurveOn(begin, std::min(end, m_size));
}

// ------------------------------------------------------------------ vertical mapping

VerticalMap::VerticalMap(double lo, double hi, int top, int height) : low(lo), high(hi) {
    if (!std::isfinite(lo) || !std::isfinite(hi) || hi <= lo || height <= 10) {
        // A flat (or unusable) range lies in the middle of the strip.
        if (!std::isfinite(low)) low = 0.0;
        if (!std::isfinite(high)) high = low;
        scale = 0;
        y0 = top + height / 2;
    } else {
        scale = double(height - 10) / (hi - lo);
        y0 = top + height - 5;
    }
}

int VerticalMap::Y(double v) const { return y0 - RoundToInt((v - low) * scale); }

bool VerticalMap::ZeroY(int& y) const {
    if (!(low <= 0.0 && 0.0 <= high)) return false;
    y = RoundToInt(scale * low + y0);
    return true;
}

// ------------------------------------------------------------------ channel drawing

uint32_t CChannel::FindStartSample(const CurveStrip& s) const {
    if (!HasOwnTimeBase() || !m_document) return 0;
    double delta = double(m_document->GetSampleTime(uint32_t(std::clamp<int64_t>(s.first, 0, UINT32_MAX)))) -
                   double(m_document->GetSampleTime(0));
    double y = delta - s.timeShiftUs;
    if (!(y > 0) || GetSampleTime(0) >= y) return 0;
    // Own times only grow: the smallest s >= 1 whose time reaches y.
    if (!m_ownTimes.empty() && double(m_ownTimes.back()) >= y) {
        auto it = std::lower_bound(m_ownTimes.begin() + 1, m_ownTimes.end(), y,
                                   [](int64_t a, double b) { return double(a) < b; });
        return uint32_t(it - m_ownTimes.begin());
    }
    // Past the own times they go on at the own rate.
    uint32_t count = uint32_t(std::max<size_t>(m_ownTimes.size(), 1));
    double last = GetSampleTime(count - 1);
    double rate = m_ownRate != 0.0 ? m_ownRate : double(m_document->m_oscillogram.m_samplingFrequency);
    if (!(rate > 0) || !(last < y)) return count;
    double steps = std::ceil((y - last) * rate / 1e6);
    uint32_t st = uint32_t(std::min(double(UINT32_MAX - count), std::max(1.0, steps)));
    uint32_t r = count - 1 + st;
    while (r > count && GetSampleTime(r - 1) >= y) --r;
    while (r < UINT32_MAX && GetSampleTime(r) < y) ++r;
    return r;
}

void CChannel::Draw(const CurveStrip& s) const {
    if (!s.dc) return;
    uint32_t start = FindStartSample(s);
    if (IsDiscrete()) DrawDiscrete(s, start);
    else DrawAnalog(s, start);
}

void CChannel::DrawAnalog(const CurveStrip& s, uint32_t start) const {
    const bool pasted = HasOwnTimeBase();
    if (pasted) DrawChannelIcon(s.dc, 0, s.left + 2, s.top + s.height - 21);
    double low = m_min, high = m_max;
    if (m_zoomed) GetDisplayRange(low, high);
    ZoomClip clip(s, m_zoomed);
    const int64_t count = int64_t(GetSampleCount());
    const int64_t available = pasted ? count : count - s.first;
    const double step = PixelStep(s.xscale) * RateRatio(*this);
    const int64_t visible = std::max<int64_t>(0, std::min(available, int64_t(start) + SamplesAcross(s.right - s.left, step)));
    VerticalMap map(low, high, s.top, s.height);
    DrawZeroLine(s, map);
    if (visible == 0) return;
    std::vector<POINT> pts;
    if (!pasted) {
        BuildIndexPoints(*this, s, map, visible, pts);
    } else {
        pts.reserve(size_t(visible - start));
        for (int64_t i = start; i < visible; ++i) {
            double t = GetSampleTime(uint32_t(i)) + s.timeShiftUs;
            PushValue(pts, PastedX(*m_document, s, t), map, CurveAt(*this, i));
        }
        if (25.0 * s.xscale < 1.0) ReduceKeepingLastColumn(pts);
    }
    DrawPoints(*this, s, pts);
}

void CChannel::DrawInGroup(const CurveStrip& s, bool zeroLine, double low, double high) const {
    ZoomClip clip(s, m_zoomed);
    const int64_t count = int64_t(GetSampleCount());
    const double step = PixelStep(s.xscale) * RateRatio(*this);
    const int64_t visible = std::max<int64_t>(0, std::min(count - s.first, SamplesAcross(s.right - s.left, step)));
    VerticalMap map(low, high, s.top, s.height);
    if (zeroLine) DrawZeroLine(s, map);
    if (visible == 0) return;
    std::vector<POINT> pts;
    BuildIndexPoints(*this, s, map, visible, pts);
    DrawPoints(*this, s, pts);
}

void CChannel::DrawDiscrete(const CurveStrip& s, uint32_t start) const {
    CDC* dc = s.dc;
    CPen outline(PS_SOLID, 1, RGB(200, 0, 0));
    CBrush fill(m_selected ? RGB(253, 219, 102) : m_color);
    CPen* oldPen = dc->SelectObject(&outline);
    CBrush* oldBrush = dc->SelectObject(&fill);
    const int yc = s.top + s.height / 2;
    const CChannel& c = *this;
    const int64_t count = int64_t(GetSampleCount());
    const double px = PixelStep(s.xscale);

    if (HasOwnTimeBase()) {
        const int64_t v = std::max<int64_t>(0, std::min(count - s.first, SamplesAcross(s.right - s.left, px * RateRatio(*this)) + 5));
        const int64_t last = v * 11 / 10 + int64_t(start);
        bool open = false;
        int runX = 0;
        for (int64_t i = start; i < last; ++i) {
            int x = PastedX(*m_document, s, GetSampleTime(uint32_t(i)) + s.timeShiftUs);
            bool on = CurveAt(c, i) != 0.0;
            bool end = i + 1 >= count;
            if (!open) {
                if (on) {
                    open = true;
                    runX = x;
                    if (end) DrawBar(dc, x, x + 4, yc);
                }
            } else if (!on || i == last - 1) {
                DrawBar(dc, runX, x + (end ? 4 : 0), yc);
                open = on;
            }
        }
        dc->SelectObject(oldPen);
        dc->SelectObject(oldBrush);
        DrawChannelIcon(dc, 1, s.left - 3, s.top + s.height - 19);
        return;
    }

    const int64_t first = s.first;
    const int64_t available = count - first - 1;
    const int64_t v = SamplesAcross(s.right - s.left, px) + 1;
    const int64_t n = std::min(available, v);
    auto on = [&](int64_t r) { return CurveAt(c, first + r) != 0.0 && first + r >= 0; };
    auto atEnd = [&](int64_t r) { return first + r + 1 >= count; };
    if (n > 0 && px >= 0.5) {
        auto x = [&](int64_t r) { return s.left + int(double(r) * px); };
        bool open = on(0);
        int64_t runStart = 0;
        for (int64_t r = 1; r <= n; ++r) {
            bool o = on(r);
            if (!open) {
                if (o) {
                    open = true;
                    runStart = r;
                    if (atEnd(r)) DrawBar(dc, x(r), x(r) + 4, yc);
                }
            } else if (!o || r == n) {
                DrawBar(dc, x(runStart), x(r) + (atEnd(r) ? 4 : 1), yc);
                open = o;
            }
        }
    } else if (n > 0) {
        // Several samples per pixel: runs of columns, and a tick where a column changes.
        const int64_t npix = std::min<int64_t>(RoundToInt64(double(count - first - 1) * 25.0 * s.xscale), int64_t(s.right - s.left) - 4);
        if (npix > 0) {
            const double ratio = double(n) / double(npix);
            const bool endsInside = available <= v;
            struct Col {
                bool any, all;
            };
            auto column = [&](int64_t col) {
                int64_t b = int64_t(double(col) * ratio), e = int64_t(double(col + 1) * ratio);
                if (col == npix - 1 && endsInside) ++e;
                b = std::max<int64_t>(b + first, std::max<int64_t>(first, 0));
                e = std::min<int64_t>(e + first, count);
                int64_t total = e - b;
                if (total <= 0) return Col{false, false};
                // Past the curve the values read 0.0, which is off.
                const int64_t ons = int64_t(CountCurveOn(size_t(b), size_t(e)));
                return Col{ons > 0, ons == total};
            };
            std::vector<Col> cols(static_cast<size_t>(npix), Col{false, false});
            for (int64_t col = 1; col < npix; ++col) cols[size_t(col)] = column(col);
            if (npix > 1) {
                bool open = on(0);
                int64_t runStart = 0;
                for (int64_t col = 1; col < npix; ++col) {
                    const bool any = cols[size_t(col)].any, lastCol = col == npix - 1;
                    if (!open) {
                        if (any) {
                            open = true;
                            runStart = col;
                            if (lastCol && endsInside) DrawBar(dc, s.left + int(col), s.left + int(col) + 4, yc);
                        }
                    } else if (!any || lastCol) {
                        DrawBar(dc, s.left + int(runStart), s.left + int(col) + (lastCol && endsInside ? 4 : 0), yc);
                        open = any;
                    }
                }
            }
            for (int64_t col = 1; col < npix; ++col) {
                const Col& k = cols[size_t(col)];
                if (k.any && !k.all) {
                    dc->MoveTo(s.left + int(col), yc - 6);
                    dc->LineTo(s.left + int(col), yc + 6);
                }
            }
        }
    }
    dc->SelectObject(oldPen);
    dc->SelectObject(oldBrush);
}

// ------------------------------------------------------------------ merged strips

void CChannelCollection::DrawChannels(const CurveStrip& strip, const std::vector<const CChannel*>& members,
                                      const std::vector<const CurveSummary*>* summaries) const {
    double low = 0, high = 0;
    bool any = false;
    for (const CChannel* ch : members) {
        double lo, hi;
        ch->GetDisplayRange(lo, hi);
        if (!any) low = lo, high = hi, any = true;
        else low = std::min(low, lo), high = std::max(high, hi);
    }
    bool zero = true;
    for (const CChannel* ch : members) {
        CurveStrip s = strip;
        s.summary = nullptr;
        if (summaries) {
            size_t index = size_t(ch - m_channels.data());
            if (index < summaries->size()) s.summary = (*summaries)[index];
        }
        ch->DrawInGroup(s, zero, low, high);
        zero = false;
    }
}
