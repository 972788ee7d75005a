#include "diagrams/CirclePlot.h"

#include <algorithm>
#include <cmath>

#include "document/TenvorikDoc.h"
#include "model/Channel.h"
#include "model/Numeric.h"
#include "model/Resources.h"
#include "model/SettingsStore.h"
#include "model/ValueFormat.h"

namespace {

bool SameNoCase(const CString& a, const CString& b) { return a.CompareNoCase(b) == 0; }

// The channel lookup by name without its exception: the exact name first, else the first
// name that differs only in letter case; null for none.
const CChannel* FindChannelByName(const COscillogram& osc, const CString& name) {
    const CChannel* loose = nullptr;
    for (const CChannel& ch : osc.m_channels) {
        if (ch.m_name == name) return &ch;
        if (!loose && SameNoCase(ch.m_name, name)) loose = &ch;
    }
    return loose;
}

}  // namespace

CircleChartSettings LoadCircleChartSettings(const SettingsNode& node) {
    CircleChartSettings s;
    s.sightsOnly = node.GetInt(L"SightsOnly", 1) != 0;
    s.showOffCharacteristics = node.GetInt(L"ShowOffCharacteristics", 1) != 0;
    const int view = node.GetInt(L"ViewChannelType", 0);
    s.viewChannelType = (view >= 0 && view <= 2) ? unsigned(view) : 0u;
    s.selectedBlock = node.GetString(L"SelectedBlock", CString());
    return s;
}

bool IsResistanceUnit(const CString& unit) { return SameNoCase(unit, LoadResString(3060)); }

bool IsCircleUnit(const CString& unit) { return IsResistanceUnit(unit) || SameNoCase(unit, L"VA"); }

bool IsCircleEligible(const CChannel& ch) {
    return !ch.IsDiscrete() && !ch.HasOwnTimeBase() && IsCircleUnit(ch.GetUnitText());
}

Complex CirclePhasorAt(const CChannel& ch, int64_t i) {
    if (ch.IsDiscrete() || i < 0 || i >= int64_t(ch.GetPhasorCount())) return {};
    return ch.GetStoredHarmonic(uint32_t(i));
}

void StripNonCircleChannels(COscillogram& osc) {
    for (CChannel& ch : osc.m_channels)
        if ((ch.m_flags & CHF_CIRCLE_DIAGRAM) && !IsCircleUnit(ch.GetUnitText())) ch.m_flags &= ~uint32_t(CHF_CIRCLE_DIAGRAM);
}

void ShowAllCircleItems(CTenvorikDoc& doc) {
    for (CChannel& ch : doc.m_oscillogram.m_channels)
        if (IsCircleUnit(ch.GetUnitText()) && !ch.HasOwnTimeBase()) ch.m_flags |= CHF_CIRCLE_DIAGRAM;
    for (ChannelPair& p : doc.m_circleChartPairs) p.visible = true;
}

void HideAllCircleItems(CTenvorikDoc& doc) {
    for (CChannel& ch : doc.m_oscillogram.m_channels) ch.m_flags &= ~uint32_t(CHF_CIRCLE_DIAGRAM);
    for (ChannelPair& p : doc.m_circleChartPairs) p.visible = false;
}

bool ToggleCircleItem(CTenvorikDoc& doc, int i) {
    auto& channels = doc.m_oscillogram.m_channels;
    const int n = int(channels.size());
    if (i < 0) return false;
    if (i < n) {
        channels[size_t(i)].m_flags ^= CHF_CIRCLE_DIAGRAM;
        channels[size_t(i)].Recalc();
        return true;
    }
    const size_t j = size_t(i - n);
    if (j >= doc.m_circleChartPairs.size()) return false;
    doc.m_circleChartPairs[j].visible = !doc.m_circleChartPairs[j].visible;
    return true;
}

bool IsCircleItemChecked(const CTenvorikDoc& doc, int i) {
    const auto& channels = doc.m_oscillogram.m_channels;
    const int n = int(channels.size());
    if (i < 0) return false;
    if (i < n) return (channels[size_t(i)].m_flags & CHF_CIRCLE_DIAGRAM) && !channels[size_t(i)].HasOwnTimeBase();
    const size_t j = size_t(i - n);
    return j < doc.m_circleChartPairs.size() && doc.m_circleChartPairs[j].visible;
}

bool FindPairChannels(const CTenvorikDoc& doc, const ChannelPair& p, const CChannel** first, const CChannel** second) {
    *first = FindChannelByName(doc.m_oscillogram, p.first);
    *second = FindChannelByName(doc.m_oscillogram, p.second);
    return *first && *second;
}

int64_t CircleSamplesPerPeriod(const COscillogram& osc) {
    const double f = std::trunc(osc.m_netFrequency);
    if (!(f >= 1.0) || osc.m_samplingFrequency <= 0) return 0;
    return int64_t(uint32_t(osc.m_samplingFrequency) / uint32_t(std::min(f, 4294967295.0)));
}

SampleRange CirclePlottedRange(bool sightsOnly, int64_t c1, int64_t c2, int64_t period, int64_t count,
                               bool forTrajectory) {
    SampleRange r;
    if (count <= 0) return r;
    if (sightsOnly) {
        r.start = std::min(c1, c2);
        r.end = std::max(c1, c2);
    } else {
        r.start = period;
        r.end = count - 1;
    }
    if (forTrajectory) {
        r.start = std::max(r.start, period);
        r.end = std::max(r.end, period);
    }
    r.start = std::min(r.start, count - 1);
    r.end = std::min(r.end, count - 1);
    return r;
}

double RoundUpOneDigit(double v) {
    if (v == 0 || !std::isfinite(v)) return 0;
    const double p = std::pow(10.0, std::floor(std::log10(std::fabs(v))));
    const double r = std::ceil(std::fabs(v) / p) * p;
    return v < 0 ? -r : r;
}

CircleScales ComputeCircleScales(double maxR, double maxP, int dpi, int s, const CRect& plot, double zoom) {
    CircleScales sc;
    sc.maxR = maxR;
    sc.maxP = maxP;
    sc.cell = dpi * s / 5;
    if (sc.cell <= 0) return CircleScales{};
    const int half = std::min(plot.Width() / 2, plot.Height() / 2);
    const int n = half / sc.cell;
    const double cells = double(n) * zoom;
    if (cells > 0 && std::isfinite(cells)) {
        sc.upcR = RoundUpOneDigit(maxR / cells);
        sc.upcP = RoundUpOneDigit(maxP / cells);
    }
    // A quantity with nothing to show has no units per cell; its points stay at the origin
    // rather than running off to infinity.
    sc.ppuR = sc.upcR > 0 ? sc.cell / sc.upcR : 0;
    sc.ppuP = sc.upcP > 0 ? sc.cell / sc.upcP : 0;
    sc.ok = true;
    return sc;
}

void CircleDataExtent(const CTenvorikDoc& doc, bool sightsOnly, double& maxR, double& maxP) {
    const COscillogram& osc = doc.m_oscillogram;
    const int64_t count = osc.GetSampleCount();
    const SampleRange r = CirclePlottedRange(sightsOnly, doc.m_cursors.m_cursors[0].position,
                                             doc.m_cursors.m_cursors[1].position, CircleSamplesPerPeriod(osc),
                                             count, false);
    if (r.Empty()) return;
    for (const CChannel& ch : osc.m_channels) {
        if (!(ch.m_flags & CHF_CIRCLE_DIAGRAM)) continue;
        double& m = IsResistanceUnit(ch.GetUnitText()) ? maxR : maxP;
        for (int64_t i = r.start; i <= r.end; ++i) {
            const Complex z = CirclePhasorAt(ch, i);
            m = std::max({m, std::fabs(z.real()), std::fabs(z.imag())});
        }
    }
    for (const ChannelPair& p : doc.m_circleChartPairs) {
        const CChannel *a = nullptr, *b = nullptr;
        if (!p.visible || !FindPairChannels(doc, p, &a, &b)) continue;
        for (int64_t i = r.start; i <= r.end; ++i) {
            const double x = a->GetValue(uint32_t(i)), y = b->GetValue(uint32_t(i));
            if (!std::isnan(x)) maxR = std::max(maxR, std::fabs(x));
            if (!std::isnan(y)) maxR = std::max(maxR, std::fabs(y));
        }
    }
}

bool CircleCanZoomTo(double ppuR, double zoom, double newZoom, double extent) {
    if (!(zoom > 0) || !std::isfinite(newZoom) || !(newZoom > 0)) return false;
    if (ppuR == 0 || extent == 0) return true;
    return ppuR * newZoom / zoom * extent < 400;
}

int CircleScrollLimit(int length, int cell, double zoom) {
    if (cell <= 0 || length <= 0) return 0;
    const double v = double(length / cell) * zoom * 0.5;
    if (!std::isfinite(v) || v > 1e9) return 0;
    return RoundToInt(v);
}

CircleScrollBars CircleScrollBarState(double zoom, int offH, int offV, int limitH, int limitV) {
    CircleScrollBars b;
    if (!(zoom > 1.0)) return b;
    b.enabled = true;
    b.page = std::clamp(RoundToInt(10000 / std::min(zoom, 1e9)), 0, 10000);
    b.range = 10000 - b.page;
    auto pos = [&](int off, int limit) {
        if (limit == 0) return b.range / 2;
        return int(b.range / 2 - int64_t(off) * b.range / (2 * int64_t(limit)));
    };
    b.posH = pos(offH, limitH);
    b.posV = pos(offV, limitV);
    return b;
}

int CircleScrollPosition(CircleScrollCode code, int current, int delivered, int range) {
    switch (code) {
    case kScrollLineUp:
    case kScrollPageUp:
        return current - 100 <= 0 ? 0 : current - 100;
    case kScrollLineDown:
    case kScrollPageDown:
        return current + 100 < range ? current + 100 : std::max(range - 1, 0);
    case kScrollThumbPosition:
    case kScrollThumbTrack:
    case kScrollTop:
    case kScrollBottom:
        return delivered;
    case kScrollEnd:
        break;
    }
    return -1;
}

int CircleOffsetFromPosition(double zoom, int limit, int range, int position) {
    // A zoom just above 1 leaves no room to scroll (range 0): the origin stays centred.
    if (!(zoom > 1.0) || range <= 0) return 0;
    return int(int64_t(limit) * (range / 2 - position) * 2 / range);
}

int ClampCircleGridHeight(int height, int paneHeight) { return std::max(std::min(height, paneHeight - 150), 50); }

std::vector<CRect> PlaceToolColumn(const std::vector<bool>& gapAfter, int height, int cell, int gap) {
    std::vector<CRect> rects;
    int x = 0, y = 0;
    for (size_t i = 0; i < gapAfter.size(); ++i) {
        // A column holds at least one button, however low the pane.
        if (y > 0 && y + cell > height) {
            x += cell;
            y = 0;
        }
        rects.emplace_back(x, y, x + cell, y + cell);
        y += cell + (gapAfter[i] ? gap : 0);
    }
    return rects;
}

CString CircleEdgeLabel(wchar_t axis, double resistance, double power, bool cyrillic) {
    // -nW x 0 is a negative zero, which "%g" would show as "-0".
    resistance += 0.0;
    power += 0.0;
    double r = 0, p = 0;
    CString pr, pp;
    SelectUnitPrefix(r, pr, L"\u03A9", cyrillic, resistance);
    SelectUnitPrefix(p, pp, L"W", cyrillic, power);
    CString t;
    if (axis == L'R')
        t.Format(L" R: %g %s%s, %g %s%s", r, pr, GetUnitDisplayText(L"Ohm"), p, pp, GetUnitDisplayText(L"W"));
    else
        t.Format(L" X: %g %s%s, %g %s%s", r, pr, GetUnitDisplayText(L"Ohm"), p, pp, GetUnitDisplayText(L"var"));
    return t;
}

CString CircleCellLegend(double upcR, double upcP, bool cyrillic) {
    double r = 0, p = 0;
    CString pr, pp;
    SelectUnitPrefix(r, pr, L"\u03A9", cyrillic, upcR);
    SelectUnitPrefix(p, pp, L"W", cyrillic, upcP);
    CString t;
    t.Format(L" %g %s%s, %g %s%s", r, pr, GetUnitDisplayText(L"Ohm"), p, pp, GetUnitDisplayText(L"W"));
    return t;
}

CString FormatTableValue(double v, const CString& unit, const CString& displayUnit, bool cyrillic) {
    if (v == 0.0) return L"0.0";
    return FormatTableMagnitude(v, unit, displayUnit, cyrillic);
}

CString FormatTableMagnitude(double m, const CString& unit, const CString& displayUnit, bool cyrillic) {
    double v = 0;
    CString prefix;
    SelectUnitPrefix(v, prefix, unit, cyrillic, m);
    CString t;
    t.Format(L"%.3f %s%s", v, prefix, displayUnit);
    return t;
}

CString FormatTableAngle(Complex z) {
    CString t;
    t.Format(L"%.2f\u00BA", std::atan2(z.imag(), z.real()) * 180 / 3.141592653589793);
    return t;
}

CString FormatTableComplex(Complex z, const CString& unit, const CString& displayUnit, bool cyrillic) {
    const double m = std::abs(z);
    double sm = 0;
    CString prefix;
    SelectUnitPrefix(sm, prefix, unit, cyrillic, m);
    CString re = L"0.0", im = L"0.0";
    if (m != 0.0) {
        re.Format(L"%.3f", sm * z.real() / m);
        im.Format(L"%.3f", sm * std::fabs(z.imag()) / m);
    }
    CString t;
    t.Format(L"%s%sj%s %s%s", re, z.imag() < 0 ? L"-" : L"+", im, prefix, displayUnit);
    return t;
}

int CircleTableRowCount(const CTenvorikDoc& doc) {
    int rows = 0;
    for (const CChannel& ch : doc.m_oscillogram.m_channels)
        if (ch.m_flags & CHF_CIRCLE_DIAGRAM) ++rows;
    for (const ChannelPair& p : doc.m_circleChartPairs) {
        const CChannel *a = nullptr, *b = nullptr;
        if (p.visible && FindPairChannels(doc, p, &a, &b)) ++rows;
    }
    return rows;
}

int ValueTableHeight(int rows, int textHeight, int s) { return (6 * s + textHeight) * rows + 12 * s; }

std::vector<CircleMenuEntry> CircleMenuEntries(const CTenvorikDoc& doc) {
    std::vector<CircleMenuEntry> items;
    const auto& channels = doc.m_oscillogram.m_channels;
    const int c = int(channels.size());
    for (int i = 0; i < c && unsigned(i) < kCircleMenuItems; ++i)
        if (IsCircleEligible(channels[size_t(i)]))
            items.push_back({3 + i, ID_CIRCLE_ITEM_FIRST + unsigned(i), channels[size_t(i)].GetName()});
    for (size_t j = 0; j < doc.m_circleChartPairs.size() && unsigned(c) + j < kCircleMenuItems; ++j) {
        const ChannelPair& p = doc.m_circleChartPairs[j];
        items.push_back({c + 4 + int(j), ID_CIRCLE_ITEM_FIRST + unsigned(c + int(j)), p.first + L" | " + p.second});
    }
    return items;
}
