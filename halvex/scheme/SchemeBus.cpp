#include "halvex/scheme/SchemeBus.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "halvex/helpers/VersionInterface.h"

using namespace Gdiplus;

int SCHEME_BUS::m_nWidth = 2;
int SCHEME_BUS::m_nWidthDrag = 2;
int SCHEME_BUS::m_nWidthMnemo = 4;
DashStyle SCHEME_BUS::m_styleDrag = DashStyleDash;
Color SCHEME_BUS::m_color{0xFF000000};
Color SCHEME_BUS::m_colorDrag{0xFF000000};
Color SCHEME_BUS::m_colorMnemo{0xFF640064};
Color SCHEME_BUS::m_colorDragSegment{0xFFFFFF00};
Color SCHEME_BUS::m_colorBusDragSegment{0xFF0000FF};
Color SCHEME_BUS::m_colorSelect{0xFF0000FF};

namespace {

RectF Unite(const RectF& a, const RectF& b) {
    const float l = std::min(a.X, b.X), t = std::min(a.Y, b.Y);
    const float r = std::max(a.GetRight(), b.GetRight()), bt = std::max(a.GetBottom(), b.GetBottom());
    return RectF(l, t, r - l, bt - t);
}

bool operator==(const Point& a, const Point& b) { return a.X == b.X && a.Y == b.Y; }

}  // namespace

// --- segments ---------------------------------------------------------------------------------

bool BUS_SEGMENT::InRange(int value) const {
    return value >= std::min(m_nStart, m_nEnd) && value <= std::max(m_nStart, m_nEnd);
}

bool BUS_SEGMENT::IsSameGeometry(const BUS_SEGMENT& other) const {
    return m_bHorizontal == other.m_bHorizontal && m_nStart == other.m_nStart && m_nEnd == other.m_nEnd &&
           m_nPos == other.m_nPos;
}

bool BUS_SEGMENT::IsNearCorner(PointF p, bool atEnd) const {
    const Point c = atEnd ? GetEndPoint() : GetStartPoint();
    return std::fabs(p.X - float(c.X)) < 0.5f && std::fabs(p.Y - float(c.Y)) < 0.5f;
}

BUS_SEGMENT* BUS_SEGMENT::Clone() const {
    BUS_SEGMENT* s = m_bHorizontal ? static_cast<BUS_SEGMENT*>(new BUS_SEGMENT_HORIZ)
                                   : static_cast<BUS_SEGMENT*>(new BUS_SEGMENT_VERT);
    s->m_nStart = m_nStart;
    s->m_nEnd = m_nEnd;
    s->m_nPos = m_nPos;
    return s;
}

bool BUS_SEGMENT::GetLastCommonPointIfPossible(const BUS_SEGMENT& other, Point& out) const {
    if (m_bHorizontal != other.m_bHorizontal || m_nStart != other.m_nStart || m_nPos != other.m_nPos) return false;
    int common;
    if (m_nEnd >= m_nStart) {
        if (other.m_nEnd < m_nStart) return false;
        common = std::min(m_nEnd, other.m_nEnd);
    } else {
        if (other.m_nEnd >= m_nStart) return false;
        common = std::max(m_nEnd, other.m_nEnd);
    }
    ConvertToPoint(common, out);
    return true;
}

bool BUS_SEGMENT::IsInRect(const RectF& r) const {
    auto in = [&r](Point p) {
        return r.X <= float(p.X) && float(p.X) < r.X + r.Width && r.Y <= float(p.Y) && float(p.Y) < r.Y + r.Height;
    };
    return in(GetStartPoint()) && in(GetEndPoint());
}

void BUS_SEGMENT::DrawPartDrag(Graphics& g, int from, int to) const {
    Point a, b;
    if (!ConvertToPoint(from, a) || !ConvertToPoint(to, b)) return;
    Pen pen(SCHEME_BUS::m_colorDragSegment, float(SCHEME_BUS::m_nWidth) / g.GetPageScale());
    g.DrawLine(&pen, float(a.X), float(a.Y), float(b.X), float(b.Y));
}

bool BUS_SEGMENT_HORIZ::ConvertToPoint(int value, Point& out) const {
    if (!InRange(value)) return false;
    out = Point(value, m_nPos);
    return true;
}

bool BUS_SEGMENT_HORIZ::ConvertToValue(Point p, int& out) const {
    if (p.Y != m_nPos || !InRange(p.X)) return false;
    out = p.X;
    return true;
}

void BUS_SEGMENT_HORIZ::Offset(Size d) {
    m_nStart += d.Width;
    m_nEnd += d.Width;
    m_nPos += d.Height;
}

RectF BUS_SEGMENT_HORIZ::GetBoundedRectF(float scale) const {
    return RectF(float(std::min(m_nStart, m_nEnd)), float(m_nPos) - 1 / scale, float(std::abs(m_nEnd - m_nStart)),
                 2 / scale);
}

bool BUS_SEGMENT_HORIZ::IsNear(PointF p, Point& out) const {
    const int x = int(std::floor(p.X + 0.5f)), y = int(std::floor(p.Y + 0.5f));
    if (y != m_nPos || !InRange(x)) return false;
    out = Point(x, y);
    return true;
}

bool BUS_SEGMENT_VERT::ConvertToPoint(int value, Point& out) const {
    if (!InRange(value)) return false;
    out = Point(m_nPos, value);
    return true;
}

bool BUS_SEGMENT_VERT::ConvertToValue(Point p, int& out) const {
    if (p.X != m_nPos || !InRange(p.Y)) return false;
    out = p.Y;
    return true;
}

void BUS_SEGMENT_VERT::Offset(Size d) {
    m_nStart += d.Height;
    m_nEnd += d.Height;
    m_nPos += d.Width;
}

RectF BUS_SEGMENT_VERT::GetBoundedRectF(float scale) const {
    return RectF(float(m_nPos) - 1 / scale, float(std::min(m_nStart, m_nEnd)), 2 / scale,
                 float(std::abs(m_nEnd - m_nStart)));
}

bool BUS_SEGMENT_VERT::IsNear(PointF p, Point& out) const {
    const int x = int(std::floor(p.X + 0.5f)), y = int(std::floor(p.Y + 0.5f));
    if (x != m_nPos || !InRange(y)) return false;
    out = Point(x, y);
    return true;
}

SmartPointer<BUS_SEGMENT> MakeBusSegment(bool horizontal, int pos, int start, int end) {
    BUS_SEGMENT* s = horizontal ? static_cast<BUS_SEGMENT*>(new BUS_SEGMENT_HORIZ)
                                : static_cast<BUS_SEGMENT*>(new BUS_SEGMENT_VERT);
    s->m_nPos = pos;
    s->m_nStart = start;
    s->m_nEnd = end;
    return SmartPointer<BUS_SEGMENT>(s);
}

// --- buses ------------------------------------------------------------------------------------

SCHEME_BUS::SCHEME_BUS() : m_guidElemIn(CompileIncludeSpace::CreateNilGuid()),
                           m_guidElemOut(CompileIncludeSpace::CreateNilGuid()) {}

SCHEME_BUS& SCHEME_BUS::operator=(const SCHEME_BUS& other) {
    if (this == &other) return *this;
    m_guidElemIn = other.m_guidElemIn;
    m_guidElemOut = other.m_guidElemOut;
    m_nPortIn = other.m_nPortIn;
    m_nPortOut = other.m_nPortOut;
    m_bHostFlag = other.m_bHostFlag;
    m_ptStart = other.m_ptStart;
    std::vector<SmartPointer<BUS_SEGMENT>> copies;
    copies.reserve(other.m_vecSegments.size());
    for (const SmartPointer<BUS_SEGMENT>& s : other.m_vecSegments)
        if (s) copies.emplace_back(s->Clone());
    m_vecSegments = std::move(copies);
    return *this;
}

void SCHEME_BUS::Draw(Graphics& g, EDrawType kind, Size offset) const {
    if (m_vecSegments.empty()) return;
    std::vector<PointF> points;
    points.reserve(m_vecSegments.size() + 1);
    const Point first = m_vecSegments.front()->GetStartPoint();
    points.emplace_back(float(first.X + offset.Width), float(first.Y + offset.Height));
    for (const SmartPointer<BUS_SEGMENT>& s : m_vecSegments) {
        const Point e = s->GetEndPoint();
        points.emplace_back(float(e.X + offset.Width), float(e.Y + offset.Height));
    }
    const bool mimic = kind == eDrawRedPins || kind == eDrawBluePins;
    const float scale = g.GetPageScale();
    int width = mimic ? int(float(m_nWidthMnemo) * scale) : m_nWidth;
    DashStyle dash = DashStyleSolid;
    Color color;
    switch (int(kind)) {
    case eDrawSelect: color = m_colorSelect; break;
    case eDrawDrag:
        color = m_colorDrag;
        width = m_nWidthDrag;
        dash = m_styleDrag;
        break;
    case eDrawDragSegment:
        color = m_colorBusDragSegment;
        width = m_nWidthDrag;
        dash = m_styleDrag;
        break;
    default: color = mimic ? m_colorMnemo : m_color; break;
    }
    float penWidth = float(width) / scale;
    if (VersionInterface::IsWine() && !mimic) penWidth = 0;
    Pen pen(color, penWidth);
    pen.SetDashStyle(dash);
    g.DrawLines(&pen, points.data(), INT(points.size()));
}

void SCHEME_BUS::ExtendTo(const Point& p) {
    const Point e = m_vecSegments.empty() ? m_ptStart : m_vecSegments.back()->GetEndPoint();
    if (e == p) return;
    BUS_SEGMENT* last = m_vecSegments.empty() ? nullptr : m_vecSegments.back().get();
    if (e.X == p.X) {
        if (last && !last->IsHorizontal()) {
            if (last->m_nStart == p.Y) m_vecSegments.pop_back();
            else last->m_nEnd = p.Y;
        } else {
            m_vecSegments.push_back(MakeBusSegment(false, p.X, e.Y, p.Y));
        }
        return;
    }
    if (last && last->IsHorizontal()) {
        if (last->m_nStart == p.X) {
            m_vecSegments.pop_back();
            ExtendTo(p);
            return;
        }
        last->m_nEnd = p.X;
    } else {
        m_vecSegments.push_back(MakeBusSegment(true, e.Y, e.X, p.X));
    }
    if (e.Y != p.Y) m_vecSegments.push_back(MakeBusSegment(false, p.X, e.Y, p.Y));
}

void SCHEME_BUS::Offset(Size d) {
    for (SmartPointer<BUS_SEGMENT>& s : m_vecSegments) s->Offset(d);
}

RectF SCHEME_BUS::GetBoundedRectF(float scale) const {
    if (m_vecSegments.empty()) return RectF(0, 0, 0, 0);
    RectF r = m_vecSegments.front()->GetBoundedRectF(scale);
    for (size_t i = 1; i < m_vecSegments.size(); ++i) r = Unite(r, m_vecSegments[i]->GetBoundedRectF(scale));
    return r;
}

void SCHEME_BUS::OffsetSegmentPart(ST_SEGM& part, Size d) {
    if (part.m_nSegment < 0 || size_t(part.m_nSegment) >= m_vecSegments.size()) return;
    if (m_vecSegments[size_t(part.m_nSegment)]->IsHorizontal()) OffsetSegmentPartVertically(part, d.Height);
    else OffsetSegmentPartHorizontally(part, d.Width);
}

void SCHEME_BUS::OffsetSegmentPartVertically(ST_SEGM& part, int dy) { OffsetSegmentPartAcross(part, dy, true); }

void SCHEME_BUS::OffsetSegmentPartHorizontally(ST_SEGM& part, int dx) { OffsetSegmentPartAcross(part, dx, false); }

// Along the moved segment's own axis the two moves are one: the segments added at the part's
// ends run across it, and the pieces left behind keep the old line.
void SCHEME_BUS::OffsetSegmentPartAcross(ST_SEGM& part, int delta, bool horizontal) {
    if (part.m_nSegment < 0 || size_t(part.m_nSegment) >= m_vecSegments.size()) return;
    size_t b = size_t(part.m_nSegment);
    SmartPointer<BUS_SEGMENT> s = m_vecSegments[b];
    if (delta == 0 || s->IsHorizontal() != horizontal) return;
    // A record made for another bus or an older shape of this one must not reach past the
    // segment: the pieces it would add would not join up.
    if (!s->InRange(part.m_nFrom) || !s->InRange(part.m_nTo)) return;
    const int from = part.m_nFrom, to = part.m_nTo;
    const int oldPos = s->m_nPos, newPos = oldPos + delta;
    const int oldStart = s->m_nStart, oldEnd = s->m_nEnd;
    const bool across = !horizontal;
    auto at = [this](size_t i) { return m_vecSegments.begin() + std::ptrdiff_t(i); };

    if (b == 0 && oldStart == from) {
        m_vecSegments.insert(at(0), MakeBusSegment(across, oldStart, oldPos, newPos));
        b = 1;
    } else if (oldStart == from) {
        m_vecSegments[b - 1]->m_nEnd = newPos;
    } else {
        m_vecSegments.insert(at(b), MakeBusSegment(horizontal, oldPos, oldStart, from));
        m_vecSegments.insert(at(b + 1), MakeBusSegment(across, from, oldPos, newPos));
        b += 2;
    }

    if (b + 1 == m_vecSegments.size() && oldEnd == to) {
        m_vecSegments.push_back(MakeBusSegment(across, oldEnd, newPos, oldPos));
    } else if (oldEnd == to) {
        m_vecSegments[b + 1]->m_nStart = newPos;
    } else {
        m_vecSegments.insert(at(b + 1), MakeBusSegment(across, to, newPos, oldPos));
        m_vecSegments.insert(at(b + 2), MakeBusSegment(horizontal, oldPos, to, oldEnd));
    }

    s->m_nPos = newPos;
    s->m_nStart = from;
    s->m_nEnd = to;
    RepairAfterOffsetSegmentPart(0);
}

void SCHEME_BUS::RepairAfterOffsetSegmentPart(int first) {
    size_t i = size_t(std::max(first, 0));
    while (i + 1 < m_vecSegments.size()) {
        auto next = m_vecSegments.begin() + std::ptrdiff_t(i + 1);
        if (m_vecSegments[i]->IsEmpty()) {
            m_vecSegments.erase(next - 1);
        } else if ((*next)->IsEmpty()) {
            m_vecSegments.erase(next);
        } else if (m_vecSegments[i]->IsHorizontal() == (*next)->IsHorizontal()) {
            m_vecSegments[i]->m_nEnd = (*next)->m_nEnd;
            m_vecSegments.erase(next);
        } else {
            ++i;
        }
    }
}

void SCHEME_BUS::SwapSegments() {
    for (SmartPointer<BUS_SEGMENT>& s : m_vecSegments) s->SwapStartEnd();
    std::reverse(m_vecSegments.begin(), m_vecSegments.end());
}

bool SCHEME_BUS::GetLastCommonPointIfPossible(const SCHEME_BUS& other, Point& out) const {
    if (m_vecSegments.empty()) return false;
    bool matched = false;
    for (size_t k = 0; k < other.m_vecSegments.size(); ++k) {
        Point p;
        if (!m_vecSegments[k]->GetLastCommonPointIfPossible(*other.m_vecSegments[k], p)) return matched;
        out = p;
        matched = true;
        if (k + 1 == m_vecSegments.size()) return true;
    }
    return matched;
}

bool SCHEME_BUS::IsInRect(const RectF& r) const {
    if (m_vecSegments.empty()) return false;
    for (const SmartPointer<BUS_SEGMENT>& s : m_vecSegments)
        if (!s->IsInRect(r)) return false;
    return true;
}

// --- the bus map --------------------------------------------------------------------------------

void MAP_SCHEME_POINTER_BUS::Draw(Graphics& g, EDrawType kind, Size offset) const {
    for (const auto& [key, bus] : *this)
        if (bus) bus->Draw(g, kind, offset);
}

RectF MAP_SCHEME_POINTER_BUS::GetBoundedRectF(float scale) const {
    RectF r(0, 0, 0, 0);
    bool first = true;
    for (const auto& [key, bus] : *this) {
        if (!bus) continue;
        const RectF b = bus->GetBoundedRectF(scale);
        r = first ? b : Unite(r, b);
        first = false;
    }
    return r;
}

bool MAP_SCHEME_POINTER_BUS::IsNearCorner(PointF p, CString& key, int& index) const {
    for (const auto& [k, bus] : *this) {
        if (!bus || bus->m_vecSegments.size() < 2) continue;
        for (size_t i = 0; i + 1 < bus->m_vecSegments.size(); ++i) {
            if (bus->m_vecSegments[i]->IsNearCorner(p, true)) {
                key = k;
                index = int(i);
                return true;
            }
        }
    }
    return false;
}
