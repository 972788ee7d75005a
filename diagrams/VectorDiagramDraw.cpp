// The picture of the phasor diagram and the phasor look-up it draws from.
#include <algorithm>
#include <cmath>
#include <limits>

#include "diagrams/VectorDiagramWnd.h"
#include "document/TenvorikDoc.h"
#include "model/AppOptions.h"
#include "model/Channel.h"
#include "model/ValueFormat.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Nearest integer, a half going up.
int Nearest(double v) {
    if (!std::isfinite(v)) return 0;
    v = std::clamp(v, -1e9, 1e9);
    const double f = std::floor(v);
    return int(std::fabs(f - v) < 0.5 ? f : std::ceil(v));
}

Complex StoredPhasor(const CChannel& ch, size_t k) {
    if (ch.IsDiscrete() || k >= ch.GetPhasorCount()) return {};
    return ch.GetStoredHarmonic(uint32_t(k));
}

// Digits of the field of a small value's text: the decimals it needs plus the leading "0.".
int SmallValueDigits(double v) {
    const double d = std::fabs(std::floor(std::log10(v))) + 3;
    return int(std::min(d, 340.0));
}

// The reference channel by the look-up rule of the channel list (exact case first), without
// raising anything for a name that matches none.
const CChannel* FindReference(const COscillogram& osc, const CString& name) {
    for (const CChannel& ch : osc.m_channels)
        if (ch.GetName() == name) return &ch;
    for (const CChannel& ch : osc.m_channels)
        if (ch.GetName().CompareNoCase(name.GetString()) == 0) return &ch;
    return nullptr;
}

}  // namespace

Complex GetChannelPhasorAt(const CChannel& ch, uint32_t q, const CTenvorikDoc& doc) {
    if (!ch.HasOwnTimeBase()) return StoredPhasor(ch, q);
    const double t = double(doc.GetSampleTime(q)) - doc.m_pasteTimeShift * 1e6;
    const size_t n = ch.m_ownTimes.empty() ? size_t(ch.GetPhasorCount()) : ch.m_ownTimes.size();
    if (n == 0) return {};
    size_t k = 0;
    while (k < n && ch.GetSampleTime(uint32_t(k)) < t) ++k;
    if (k == n) {
        // Past the channel's own times the times go on at its sampling interval.
        const double last = ch.GetSampleTime(uint32_t(n - 1));
        const double step = ch.GetSampleTime(uint32_t(n)) - last;
        if (!(step > 0) || !std::isfinite(step)) return {};
        const double j = std::ceil((t - last) / step);
        if (j > 1) return {};  // more than one interval after the last sample
    }
    const Complex p1 = StoredPhasor(ch, k);
    if (k == 0) return p1;
    const Complex p0 = StoredPhasor(ch, k - 1);
    const double t0 = ch.GetSampleTime(uint32_t(k - 1)), t1 = ch.GetSampleTime(uint32_t(k));
    // Two samples with one time stamp: the later one stands.
    if (!(t1 > t0)) return p1;
    return p0 + (p1 - p0) * ((t - t0) / (t1 - t0));
}

double RoundScaleMaximum(double m) {
    if (!(m > 0) || !std::isfinite(m)) return 0;
    const double p = std::pow(10.0, std::floor(std::log10(m)) - 1);
    const double r = std::ceil(std::ceil(m / p) / 5) * p * 5;
    return r > 0 && std::isfinite(r) ? r : 0;
}

CString FormatScaleText(double value, const CString& unit, const CString& displayUnit, bool cyrillic) {
    double scaled = 0;
    CString prefix;
    SelectUnitPrefix(scaled, prefix, unit, cyrillic, value);
    CString pattern;
    if (scaled > 1 || scaled == 0 || !std::isfinite(scaled)) {
        pattern = L"%.1f %s%s";
    } else {
        const int d = SmallValueDigits(scaled);
        pattern.Format(L"%%%i.%if %%s%%s", d, d - 2);
    }
    CString text;
    text.Format(pattern.GetString(), scaled, prefix.GetString(), displayUnit.GetString());
    return text;
}

CString FormatMagnitudeText(double mag, const CString& unit, const CString& displayUnit, bool cyrillic) {
    CString pattern;
    if (mag > 1 || mag == 0 || !std::isfinite(mag)) {
        pattern = L"%.2f %s%s";
    } else {
        const int d = SmallValueDigits(mag);
        pattern.Format(L"%%%i.%if %%s%%s", d, d - 2);
    }
    double scaled = 0;
    CString prefix;
    SelectUnitPrefix(scaled, prefix, unit, cyrillic, mag);
    CString text;
    text.Format(pattern.GetString(), scaled, prefix, displayUnit);
    return text;
}

CString FormatAngleText(double phi, bool radians) {
    double shown = radians ? phi / -kPi : phi * -180.0 / kPi;
    // What rounds to zero is zero, without a sign.
    if (!(std::fabs(shown) >= 0.005)) shown = 0.0;
    CString text;
    if (radians)
        text.Format(L" %8.2f\u03C0", shown);
    else
        text.Format(L" %8.2f\u00BA", shown);
    return text;
}

void VectorDiagramWnd::Draw(CDC* dc, CRect rect, int scale, const CFont* font, CTenvorikDoc* doc) {
    if (!dc) return;
    const int s = std::max(1, scale);
    const int L = rect.left, T = rect.top, R = rect.right, B = rect.bottom;
    const bool screen = s == 1;
    CPen penA(screen ? PS_DOT : PS_SOLID, screen ? 1 : s / 3, screen ? RGB(200, 200, 200) : RGB(100, 100, 100));
    CPen penB(PS_SOLID, screen ? 1 : s / 3, screen ? RGB(150, 150, 150) : RGB(50, 50, 50));
    CPen penC(PS_SOLID, screen ? 1 : s / 2, screen ? RGB(150, 150, 150) : RGB(100, 100, 100));
    static const CBrush background(RGB(255, 255, 255));
    static const CBrush boxBrush(RGB(254, 250, 220));
    CBrush bg = background, box = boxBrush;

    m_layout = Layout();
    const int saved = dc->SaveDC();
    if (font) dc->SelectObject(const_cast<CFont*>(font));
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(RGB(20, 20, 20));
    const CRect whole(0, 0, R, B);
    dc->FillRect(&whole, &bg);
    if (!doc) {
        dc->RestoreDC(saved);
        return;
    }

    const COscillogram& osc = doc->GetOscillogram();
    std::vector<const CChannel*> shown;
    for (int i = 0; i < osc.m_analogCount && size_t(i) < osc.m_channels.size(); ++i)
        if (osc.m_channels[size_t(i)].m_flags & CHF_VECTOR_DIAGRAM) shown.push_back(&osc.m_channels[size_t(i)]);
    const int n = int(shown.size());
    const int h = dc->GetTextExtent(CString(L"Ay")).cy;
    int maxw = 0;
    for (const CChannel* ch : shown) maxw = std::max(maxw, dc->GetTextExtent(ch->GetName()).cx + 30 * s + 4 * h / 5);
    const int numw = dc->GetTextExtent(CString(L"-0.0000000")).cx + 24 * s;
    const CursorRecord& cursor = doc->m_cursors.m_cursors[0];
    const uint32_t q = uint32_t(cursor.position);
    const bool cyrillic = !TheAppOptions().englishResources;

    // Scales: the largest current and the largest of everything else at the cursor, each
    // written with the prefix and the unit of the channel that gives it, as its caption is.
    double umax = 0, imax = 0;
    const CChannel *uChannel = nullptr, *iChannel = nullptr;
    for (const CChannel* ch : shown) {
        const double m = std::abs(GetChannelPhasorAt(*ch, q, *doc));
        const bool current = ch->GetUnitText() == L"A";
        double& top = current ? imax : umax;
        const CChannel*& holder = current ? iChannel : uChannel;
        if (!holder || m > top) {
            top = std::max(top, m);
            holder = ch;
        }
    }
    const double uScale = RoundScaleMaximum(umax), iScale = RoundScaleMaximum(imax);
    m_layout.uScale = uScale;
    m_layout.iScale = iScale;
    auto scaleText = [&](double value, const CChannel* ch, const wchar_t* unit) {
        return ch ? FormatScaleText(value, ch->GetUnitText(), ch->GetRateUnitDisplayText(), cyrillic)
                  : FormatScaleText(value, unit, GetUnitDisplayText(unit), cyrillic);
    };
    const CString uText = scaleText(uScale, uChannel, L"V"), iText = scaleText(iScale, iChannel, L"A");

    const int colw = std::max({dc->GetTextExtent(CString(L"0.0000")).cx + 12 * s, dc->GetTextExtent(uText).cx + 12 * s,
                               dc->GetTextExtent(iText).cx + 12 * s});
    const int wl = dc->GetTextExtent(CString(L"U max")).cx + 12 * s;
    const int bx = std::max(0, R - L - wl - colw - 6 * s - 10);
    const int boxBottom = T + 2 * (3 * h / 2 + 5);

    // Rings: the largest circle centred on the middle that clears the scale box, above the
    // legend or the table whose top is B1.
    const int cxr = (R - L) / 2;
    auto ringRadius = [&](int B1) {
        const double a = bx - 6 * s, b = 6 * s + 2 * (3 * h / 2 + 5);
        const double Hr = B1 - T - 6 * s;
        const double rr = Hr - b != 0 ? 0.5 * ((a - cxr) * (a - cxr) + (b - Hr) * (b - Hr)) / (Hr - b) : 0;
        const int r = std::isfinite(rr) ? int(std::clamp(rr, -1e9, 1e9)) : 0;
        return std::max(0, std::min({r, cxr - 6 * s, (B1 - T - 12 * s) / 2}));
    };
    // Bottom: the value table, or the one-line legend. The table is left out where it would
    // leave the rings smaller than the legend does and under kTableRings across.
    const int legendB1 = B - 6 * s - h, tableB1 = B - 12 * s - n * (6 * s + h);
    constexpr int kTableRings = 90;
    const bool tableFits = (n + 6) * (3 * h / 2) < B - T &&
                           ringRadius(tableB1) >= std::min(ringRadius(legendB1), kTableRings * s);
    const bool table = m_showAnglesValue && tableFits;
    int B1 = 0, off = 0;
    if (table) {
        B1 = tableB1;
        const int tableWidth = maxw + 2 * numw;
        off = R - L > tableWidth ? (R - L - tableWidth) / 2 : 6 * s;
        dc->SelectObject(&penC);
        if (n > 0) {
            dc->MoveTo(L + off, B1);
            dc->LineTo(R - off, B1);
        }
        int y = B1;
        for (const CChannel* ch : shown) {
            CBrush colour(ch->GetColor());
            CPen black(PS_SOLID, s, RGB(0, 0, 0));
            dc->SelectObject(&colour);
            dc->SelectObject(&black);
            dc->Rectangle(L + off + h / 3, y + h / 3, L + off + h / 3 + h - 1, y + 3 * h / 2 - h / 3);
            dc->TextOut(L + off + h + h / 2, y + h / 4, ch->GetName());
            y += 3 * h / 2;
            dc->SelectObject(&penC);
            dc->MoveTo(L + off, y);
            dc->LineTo(R - off, y);
        }
        for (int x : {L + off, L + off + maxw, R - off - numw, R - off}) {
            dc->MoveTo(x, B1);
            dc->LineTo(x, y);
        }
    } else {
        B1 = legendB1;
        int total = 0;
        for (const CChannel* ch : shown) total += dc->GetTextExtent(ch->GetName()).cx + 12 * s + 4 * h / 5;
        int x = R - L > total ? L + (R - L - total) / 2 : L + 6 * s;
        for (const CChannel* ch : shown) {
            CBrush colour(ch->GetColor());
            CPen black(PS_SOLID, s, RGB(0, 0, 0));
            dc->SelectObject(&colour);
            dc->SelectObject(&black);
            dc->Rectangle(x, B1 + 2, x + 4 * h / 5, B1 + 2 + 4 * h / 5);
            dc->TextOut(x + 4 * h / 5 + 6 * s, B1, ch->GetName());
            x += dc->GetTextExtent(ch->GetName()).cx + 12 * s + 4 * h / 5;
        }
    }
    const int B2 = B1 - 2 * (6 * s + h);
    m_layout.B1 = B1;
    m_layout.off = off;
    m_layout.maxw = maxw;
    m_layout.numw = numw;
    m_layout.h = h;
    m_layout.table = table;
    m_layout.tableFits = tableFits;

    dc->SelectObject(&penC);
    dc->SelectObject(&box);
    dc->Rectangle(L + bx, T + 10, L + bx + wl + colw + 6 * s, boxBottom);
    dc->MoveTo(L + bx + wl, T + 10);
    dc->LineTo(L + bx + wl, boxBottom);
    dc->MoveTo(L + bx, T + 10 + 3 * h / 2);
    dc->LineTo(L + bx + wl + colw + 6 * s, T + 10 + 3 * h / 2);
    dc->TextOut(L + bx + 6 * s, T + 10 + h / 4, CString(L"U max"));
    dc->TextOut(L + bx + 6 * s, T + 10 + h / 4 + 3 * h / 2, CString(L"I max"));
    dc->TextOut(L + bx + wl + 6 * s, T + 10 + h / 4, uText);
    dc->TextOut(L + bx + wl + 6 * s, T + 10 + h / 4 + 3 * h / 2, iText);

    const int R0 = ringRadius(B1);
    if (R0 == 0) {
        dc->RestoreDC(saved);
        return;
    }
    const double Hr = B1 - T - 6 * s;
    const int cx = L + cxr;
    const int cy = T + std::min(int(Hr) - R0, (B2 - T) / 2 + 2 * (6 * s + h));
    m_layout.cx = cx;
    m_layout.cy = cy;
    m_layout.R0 = R0;

    dc->SelectStockObject(NULL_BRUSH);
    const int k = int(std::floor(R0 / 50.0));
    const int m = k < 4 ? 4 : k < 10 ? 5 : 10;
    for (int i = m; i >= 1; --i) {
        const int ri = R0 * i / m;
        dc->SelectObject(i == m ? &penB : &penA);
        dc->Ellipse(cx - ri, cy - ri, cx + ri, cy + ri);
    }
    dc->SelectObject(&penA);
    for (int j = 0; j < 12; ++j) {
        const double aj = j * 2 * kPi / 12;
        dc->MoveTo(cx, cy);
        dc->LineTo(Nearest(cx + R0 * std::cos(aj)), Nearest(cy + R0 * std::sin(aj)));
    }
    struct Label {
        int x, y;
        UINT format;
        const wchar_t *degrees, *radians;
    };
    const Label labels[] = {
        {cx + 2, cy - R0, DT_SINGLELINE | DT_NOCLIP, L"0\u00BA", L"0"},
        {cx, cy + R0 - 2, DT_SINGLELINE | DT_NOCLIP | DT_BOTTOM, L"180\u00BA", L"\u03C0"},
        {cx - R0 + 7, cy, DT_SINGLELINE | DT_NOCLIP | DT_BOTTOM, L"90\u00BA", L"\u03C0/2"},
        {cx + R0 - 2, cy, DT_SINGLELINE | DT_NOCLIP | DT_BOTTOM | DT_RIGHT, L"-90\u00BA", L"-\u03C0/2"},
    };
    for (const Label& l : labels) {
        RECT at{l.x, l.y, l.x, l.y};
        dc->DrawText(CString(m_angleInRadians ? l.radians : l.degrees), &at, l.format);
    }

    if (!cursor.shown) {
        dc->RestoreDC(saved);
        return;
    }
    // A phasor with no size has no direction: a zero, or what is rounding noise against the
    // scale of its kind, is drawn as no arrow and reads 0 (the Fourier sums of a silent
    // channel may give -0, whose angle would be 180).
    auto hasDirection = [](const Complex& p, double scale) {
        const double m = std::abs(p);
        return m > 0 && std::isfinite(m) && !(scale > 0 && m < 1e-9 * scale);
    };
    double ref = 0;
    if (!m_angleChannelName.IsEmpty()) {
        if (const CChannel* rc = FindReference(osc, m_angleChannelName)) {
            const Complex p = StoredPhasor(*rc, q);
            if (hasDirection(p, 0)) ref = std::atan2(p.imag(), p.real());
        }
    }
    int row = 0;
    for (const CChannel* ch : shown) {
        const Complex P = GetChannelPhasorAt(*ch, q, *doc);
        const CString unit = ch->GetUnitText();
        const double S = unit == L"A" ? iScale : uScale;
        const bool directed = hasDirection(P, S);
        double phi = !directed || ch->GetName() == m_angleChannelName ? 0.0 : ref - std::atan2(P.imag(), P.real());
        const int len = S == 0 || !directed ? 0 : m_onlyDirection ? R0 : Nearest(R0 * std::abs(P) / S);
        if (phi < -kPi) phi += 2 * kPi;
        if (phi > kPi) phi -= 2 * kPi;
        if (len > 0) {
            const int ah = std::min(18 * s, len / 2), w = ah / 5;
            const double c = std::cos(phi), sn = std::sin(phi);
            auto place = [&](double x, double y) {
                return POINT{Nearest(cx + x * c - y * sn), Nearest(cy + x * sn + y * c)};
            };
            const POINT p0 = place(0, 0), p1 = place(0, -len);
            const POINT head[3] = {p1, place(w, ah - len), place(-w, ah - len)};
            const COLORREF colour = ch->GetColor();
            CPen shaft(unit == L"V" ? PS_SOLID : PS_DOT, s, colour);
            CPen outline(PS_SOLID, s, colour);
            CBrush fill(colour);
            dc->SelectObject(&shaft);
            dc->MoveTo(p0);
            dc->LineTo(p1);
            dc->SelectObject(&outline);
            dc->SelectObject(&fill);
            dc->Polygon(head, 3);
        }
        if (table) {
            const int y = B1 + h / 4 + row * (3 * h / 2);
            dc->TextOut(L + off + maxw + 6 * s, y,
                        FormatMagnitudeText(std::abs(P), unit, ch->GetRateUnitDisplayText(), cyrillic));
            dc->TextOut(R - off - numw + 6 * s, y, FormatAngleText(phi, m_angleInRadians));
        }
        ++row;
    }
    dc->RestoreDC(saved);
}
