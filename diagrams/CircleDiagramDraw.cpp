// The circle diagram's own part of the picture: the trajectories of flagged channels and of
// pairs with their cursor crosses, the edge labels in resistance and power, and the rows of
// its value table.
#include <algorithm>
#include <cmath>

#include "diagrams/CircleDiagramWnd.h"
#include "document/TenvorikDoc.h"
#include "model/Channel.h"
#include "model/Numeric.h"
#include "model/Resources.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
bool Cyrillic() { return !TenvorikStrings().IsEnglish(); }

// A point of the plane from a phasor scaled by k, with the imaginary part upward.
CPoint PhasorPoint(int ox, int oy, double k, Complex z) {
    const double th = std::atan2(z.imag(), z.real()), m = std::abs(z);
    return CPoint(ox + RoundToInt(k * m * std::sin(kPi / 2 - th)), oy + RoundToInt(-(k * m * std::cos(kPi / 2 - th))));
}

// The cross of a cursor mark: the radius is rounded to whole pixels first.
CPoint MarkPoint(int ox, int oy, double k, Complex z) {
    const double th = std::atan2(z.imag(), z.real());
    const double r = RoundToInt(k * std::abs(z));
    return CPoint(RoundToInt(ox + r * std::sin(kPi / 2 - th)), RoundToInt(oy - r * std::cos(kPi / 2 - th)));
}

}  // namespace

void CircleDiagramWnd::DrawTrajectories(CDC* dc, CTenvorikDoc& doc, int s, const CircleScales& sc) {
    const COscillogram& osc = doc.GetOscillogram();
    const int64_t count = osc.GetSampleCount();
    const int64_t c1 = doc.m_cursors.m_cursors[0].position, c2 = doc.m_cursors.m_cursors[1].position;
    const SampleRange r = CirclePlottedRange(m_sightsOnly, c1, c2, CircleSamplesPerPeriod(osc), count, true);
    const int ox = m_layout.ox, oy = m_layout.oy;
    CPen pen1(PS_SOLID, s, RGB(200, 0, 0)), pen2(PS_SOLID, s, RGB(0, 0, 200));
    CPen* oldPen = dc->GetCurrentPen();
    std::vector<POINT> pts;
    if (!r.Empty()) pts.reserve(size_t(std::min<int64_t>(r.end - r.start + 1, 1 << 20)));

    for (const CChannel& ch : osc.m_channels) {
        if (!(ch.m_flags & CHF_CIRCLE_DIAGRAM)) continue;
        // A trajectory is drawn again on every paint: its phasors are kept.
        if (!r.Empty() && r.end - r.start > 4096) ch.KeepPhasorSeries();
        const double k = IsResistanceUnit(ch.GetUnitText()) ? sc.ppuR : sc.ppuP;
        CPen pen(PS_SOLID, s, ch.GetColor());
        dc->SelectObject(&pen);
        pts.clear();
        for (int64_t i = r.start; !r.Empty() && i <= r.end; ++i) Push(pts, PhasorPoint(ox, oy, k, CirclePhasorAt(ch, i)));
        Polyline(dc, pts);
        dc->SelectObject(oldPen);
    }
    for (const CChannel& ch : osc.m_channels) {
        if (!(ch.m_flags & CHF_CIRCLE_DIAGRAM)) continue;
        const double k = IsResistanceUnit(ch.GetUnitText()) ? sc.ppuR : sc.ppuP;
        dc->SelectObject(&pen1);
        Cross(dc, MarkPoint(ox, oy, k, CirclePhasorAt(ch, c1)), s);
        dc->SelectObject(&pen2);
        Cross(dc, MarkPoint(ox, oy, k, CirclePhasorAt(ch, c2)), s);
    }
    auto pairPoint = [&](const CChannel& a, const CChannel& b, int64_t i) { return PairPoint(a, b, i, sc.ppuR); };
    for (const ChannelPair& p : doc.m_circleChartPairs) {
        const CChannel *a = nullptr, *b = nullptr;
        if (!p.visible || !FindPairChannels(doc, p, &a, &b)) continue;
        CPen pen(PS_SOLID, s, a->GetColor());
        dc->SelectObject(&pen);
        pts.clear();
        for (int64_t i = r.start; !r.Empty() && i <= r.end; ++i) Push(pts, pairPoint(*a, *b, i));
        Polyline(dc, pts);
        dc->SelectObject(&pen1);
        Cross(dc, pairPoint(*a, *b, c1), s);
        dc->SelectObject(&pen2);
        Cross(dc, pairPoint(*a, *b, c2), s);
        dc->SelectObject(oldPen);
    }
    dc->SelectObject(oldPen);
}

CircleDiagramWnd::PlaneLabels CircleDiagramWnd::GridLabels(const CircleScales& sc, int nW, int nH) {
    const bool cyr = Cyrillic();
    const double uR = sc.upcR, uP = sc.upcP;
    const int oh = m_offH, ov = m_offV;
    PlaneLabels l;
    l.right = CircleEdgeLabel(L'R', nW * uR - oh * uR, nW * uP - oh * uP, cyr);
    l.left = CircleEdgeLabel(L'R', -nW * uR - oh * uR, -nW * uP - oh * uP, cyr);
    l.top = CircleEdgeLabel(L'X', ov * uR + nH * uR, ov * uP + nH * uP, cyr);
    l.bottom = CircleEdgeLabel(L'X', ov * uR - nH * uR, ov * uP - nH * uP, cyr);
    l.cell = CircleCellLegend(uR, uP, cyr);
    return l;
}

std::vector<CircleDiagramWnd::PlaneRow> CircleDiagramWnd::Rows(const CTenvorikDoc& doc) {
    std::vector<PlaneRow> rows;
    const bool cyr = Cyrillic();
    const int64_t c1 = doc.m_cursors.m_cursors[0].position;
    for (const CChannel& ch : doc.m_oscillogram.m_channels) {
        if (!(ch.m_flags & CHF_CIRCLE_DIAGRAM)) continue;
        PlaneRow r{ch.GetName(), ch.GetColor(), {}};
        const Complex z = CirclePhasorAt(ch, c1);
        const CString unit = ch.GetUnitText();
        const CString shown = IsResistanceUnit(unit) ? GetUnitDisplayText(L"Ohm") : ch.GetRateUnitDisplayText();
        if (std::isfinite(z.real()) && std::isfinite(z.imag())) {
            if (m_view == 2) {
                r.cells[0] = FormatTableMagnitude(std::abs(z), unit, shown, cyr);
                r.cells[2] = FormatTableAngle(z);
            } else if (m_view == 1) {
                r.cells[0] = FormatTableComplex(z, unit, shown, cyr);
            }
        }
        rows.push_back(r);
    }
    for (const ChannelPair& p : doc.m_circleChartPairs) {
        const CChannel *a = nullptr, *b = nullptr;
        if (!p.visible || !FindPairChannels(doc, p, &a, &b)) continue;
        PlaneRow r{a->GetName() + L" " + b->GetName(), a->GetColor(), {}};
        const double va = a->GetValue(uint32_t(c1)), vb = b->GetValue(uint32_t(c1));
        if (std::isfinite(va) && std::isfinite(vb)) {
            r.cells[0] = FormatTableValue(va, a->GetUnitText(), a->GetRateUnitDisplayText(), cyr);
            r.cells[1] = FormatTableValue(vb, b->GetUnitText(), b->GetRateUnitDisplayText(), cyr);
        }
        rows.push_back(r);
    }
    return rows;
}
