// The reading aids of the oscillogram view: the caption column and its measurement, the row
// backgrounds with grid and discrete bars, the time axis, the cursor-difference panel and the
// hover read-out of cut caption texts.
#include <algorithm>
#include <climits>
#include <cmath>
#include <map>

#include "document/TenvorikDoc.h"
#include "model/AppOptions.h"
#include "model/Numeric.h"
#include "model/Resources.h"
#include "model/TimeText.h"
#include "model/ValueFormat.h"
#include "model/ViewIcons.h"
#include "view/TenvorikView.h"
#include "view/TimeAxis.h"

namespace oscview {

namespace {

constexpr uint32_t kCaptionFlags = CHF_SHOW_MINMAX | CHF_SHOW_RMS | CHF_SHOW_HARMONIC;

bool Cyrillic() { return !TheAppOptions().englishResources && !TenvorikStrings().IsEnglish(); }
bool IsPictureDC(const CDC* dc) { return dc->IsPrinting() || dc->GetMapMode() != MM_TEXT; }

// Rounding half up of a pixel position, saturated to the drawable range.
int PixelHalfUp(double v) { return int(std::clamp(std::floor(v + 0.5), -1e9, 1e9)); }
int PixelTrunc(double v) { return int(std::clamp(std::trunc(v), -1e9, 1e9)); }

// Digits after the point of the captions' values.
constexpr int kCaptionDecimals = 2;

// Prefix + unit of a value as the captions write it, and the value's number: one unit text in
// the program's language, the prefix that puts the number in 1..999, never an exponent.
struct UnitValue {
    CString number;
    CString unit;  // prefix + unit, not yet cut
};

UnitValue ScaleForCaption(const CChannel& ch, double v) {
    UnitValue r;
    const bool cyrillic = Cyrillic();
    CString stored = ch.GetUnitText();
    // The unit's letters follow the prefix's: Russian letters with the Russian texts.
    CString shown = cyrillic || TenvorikStrings().IsEnglish() ? ch.GetRateUnitDisplayText() : stored;
    if (ch.m_flags & CHF_ADC_COUNTS) stored.Empty(), shown.Empty();
    const ScaledValue sv = ScaleValue(v, stored, kCaptionDecimals, true, cyrillic);
    r.number = sv.number;
    CString lower = stored;
    lower.MakeLower();
    if (lower == L"none") shown.Empty();
    r.unit = sv.prefix + shown;
    return r;
}

void GradientRect(CDC* dc, int left, int top, int right, int bottom, COLORREF from, COLORREF to) {
    TRIVERTEX v[2];
    v[0].x = left, v[0].y = top;
    v[0].Red = COLOR16(GetRValue(from) << 8), v[0].Green = COLOR16(GetGValue(from) << 8), v[0].Blue = COLOR16(GetBValue(from) << 8);
    v[1].x = right, v[1].y = bottom;
    v[1].Red = COLOR16(GetRValue(to) << 8), v[1].Green = COLOR16(GetGValue(to) << 8), v[1].Blue = COLOR16(GetBValue(to) << 8);
    GRADIENT_RECT g{0, 1};
    dc->GradientFill(v, 2, &g, 1, GRADIENT_FILL_RECT_V);
}

struct SharedObjects {
    CBrush background{RGB(255, 255, 255)};
    CBrush discreteBar{RGB(150, 150, 255)};
    CPen rowPen{PS_SOLID, 1, RGB(255, 255, 255)};
    CPen separator{PS_SOLID, 1, RGB(200, 200, 200)};
    CPen grid{PS_SOLID, 1, RGB(230, 230, 230)};
    CPen zeroTime{PS_DOT, 1, RGB(35, 194, 87)};
    CPen axisOutline{PS_SOLID, 1, RGB(0, 0, 0)};
    CPen axisLine{PS_SOLID, 1, RGB(100, 100, 100)};
    CBrush axisBand{RGB(255, 255, 255)};
};

SharedObjects& Objects() {
    static SharedObjects objects;
    return objects;
}

const COLORREF kSelectedTop = RGB(254, 225, 140), kSelectedBottom = RGB(253, 252, 173);
const COLORREF kEvenTop = RGB(214, 255, 255), kEvenBottom = RGB(243, 255, 255);

}  // namespace

// ------------------------------------------------------------------ display order and texts

void CTenvorikView::BuildDisplayOrder(std::vector<CChannel*>& order, std::set<const CChannel*>* grouped,
                                      std::set<const CChannel*>* heads) const {
    order.clear();
    if (grouped) grouped->clear();
    if (heads) heads->clear();
    if (!m_doc) return;
    auto& chs = m_doc->m_oscillogram.m_channels;
    const bool skipping = grouped && heads;
    for (CChannel& ch : chs) {
        CString key = m_doc->m_channelGroups.empty() ? CString() : m_doc->FindChannelGroup(ch.m_fileName);
        auto it = key.IsEmpty() ? m_doc->m_channelGroups.end() : m_doc->m_channelGroups.find(key);
        if (it == m_doc->m_channelGroups.end()) {
            order.push_back(&ch);
            continue;
        }
        if (skipping && grouped->count(&ch)) continue;
        bool first = true;
        for (CChannel& m : chs) {
            if (!it->second.count(m.m_fileName)) continue;
            order.push_back(&m);
            if (grouped) grouped->insert(&m);
            if (first && heads) heads->insert(&m);
            first = false;
        }
    }
}

CString CTenvorikView::GetCaptionWidthSample(const CChannel& ch) const {
    if (!(ch.m_flags & kCaptionFlags)) return CString();
    const CString sample = L"000.00mV";
    CString out;
    auto add = [&](const CString& part) { out += (out.IsEmpty() ? CString() : CString(L"|")) + part; };
    CString s;
    if (ch.m_flags & CHF_SHOW_MINMAX) {
        s.Format(L"Max:%s", sample), add(s);
        s.Format(L"Min:%s", sample), add(s);
    }
    if (ch.m_flags & CHF_SHOW_RMS) s.Format(L"%s%s", LoadResString(3449), sample), add(s);
    if (ch.m_flags & CHF_SHOW_HARMONIC) s.Format(L"A1:%s", sample), add(s);
    return out;
}

CString CTenvorikView::FormatStripCaption(const CChannel& ch) const {
    if (!(ch.m_flags & kCaptionFlags) || !m_doc) return CString();
    const int64_t c = m_doc->m_cursors.m_cursors[0].position;
    auto number = [&](double v, CString& unit) {
        UnitValue u = ScaleForCaption(ch, v);
        unit = u.unit.Left(5);
        return u.number;
    };
    CString out, s, unit;
    auto add = [&](const CString& part) { out += (out.IsEmpty() ? CString() : CString(L"|")) + part; };
    if (ch.m_flags & CHF_SHOW_MINMAX) {
        CString n = number(ch.m_max, unit);
        s.Format(L"Max:%s%s", n, unit), add(s);
        n = number(ch.m_min, unit);
        s.Format(L"Min:%s%s", n, unit), add(s);
    }
    if (ch.m_flags & CHF_SHOW_RMS) {
        CString n = number(ch.GetRms(uint32_t(c), 1), unit);
        s.Format(L"%s%s%s", LoadResString(3449), n, unit), add(s);
    }
    if (ch.m_flags & CHF_SHOW_HARMONIC) {
        CString n = number(ch.GetHarmonicRms(1, int(std::min<int64_t>(c, INT_MAX))), unit);
        s.Format(L"A1:%s%s", n, unit), add(s);
    }
    return out;
}

CString CTenvorikView::FormatCaptionValue(const CChannel& ch, double v, bool firstLine) const {
    UnitValue u = ScaleForCaption(ch, v);
    const CString unit = u.unit.Left(5);
    CString t;
    const bool negative = u.number.GetLength() > 0 && u.number[0] == L'-';
    if (firstLine) t.Format(negative ? L"%-7s %s" : L" %-6s %s", u.number, unit);
    else t.Format(negative ? L"%-8s %s" : L" %-8s %s", u.number, unit);
    return t;
}

CString CTenvorikView::FormatTimeValue(int64_t value, bool difference, int unit) const {
    switch (unit) {
        case kMilliseconds:
        case kSeconds: return FormatTimeNumber(value, unit, TimeDecimals(unit, m_doc ? m_doc->GetSamplePeriodUs() : 0.0));
        case kTimeOfDay: {
            if (difference) return FormatSpan(value);
            double start;
            if (!m_doc || !ParseStartSeconds(m_doc->GetRecordStartTime(), start)) return CString();
            return FormatTimeOfDay(start + double(value) / 1e6);
        }
        case kSamples: return Int64Text(difference ? value : value + 1);
        default: return Int64Text(value);
    }
}

namespace {

// The value of `fn` at cursor sample c for a channel; for a pasted channel, interpolated at the
// cursor's time between its own samples, and NaN outside their span.
template <class Fn>
double AtCursor(const CTenvorikDoc& doc, const CChannel& ch, int64_t c, Fn fn) {
    if (!ch.HasOwnTimeBase()) return fn(c);
    const double t = double(doc.GetSampleTime(uint32_t(std::clamp<int64_t>(c, 0, UINT32_MAX)))) - doc.m_pasteTimeShift * 1e6;
    const auto& times = ch.m_ownTimes;
    if (times.empty()) return std::nan("");
    auto it = std::lower_bound(times.begin(), times.end(), t, [](int64_t a, double b) { return double(a) < b; });
    if (it == times.end()) return std::nan("");
    const int64_t k = it - times.begin();
    if (double(*it) == t) return fn(k);
    if (k == 0) return std::nan("");
    const double tj = double(times[size_t(k - 1)]), tk = double(times[size_t(k)]);
    const double f = tk > tj ? (t - tj) / (tk - tj) : 0.0;
    const double vj = fn(k - 1), vk = fn(k);
    return vj + (vk - vj) * f;
}

}  // namespace

double CTenvorikView::ValueAtCursor(const CChannel& ch) const {
    if (!m_doc) return std::nan("");
    return AtCursor(*m_doc, ch, m_doc->m_cursors.m_cursors[0].position, [&](int64_t i) {
        return i >= 0 && uint64_t(i) < ch.GetCurveCount() ? ch.GetCurveValue(uint32_t(i)) : 0.0;
    });
}

// ------------------------------------------------------------------ caption column measurement

void CTenvorikView::MeasureCaptionColumn(CDC* dc) {
    dc->SelectObject(&m_boldFont);
    int W = 0;
    int X = dc->GetTextExtent(CString(L"Max:")).cx;
    static const wchar_t* const kPrefixable[] = {L"V", L"A", L"VA", L"VAR", L"var", L"W", nullptr, nullptr,
                                                 L"OHM", L"F", nullptr, L"H", L"GN", L"Hz", L"m"};
    const CString ohmCyr = LoadResString(3313), ohm = LoadResString(3060), degree = LoadResString(3105);
    const int wideSample = dc->GetTextExtent(CString(L": -0.00000000 A")).cx;
    const int otherSample = dc->GetTextExtent(CString(L": -0.0000000E-000 ")).cx;
    for (const CChannel& ch : m_doc->m_oscillogram.m_channels) {
        int sample = 0;
        if (!ch.IsDiscrete()) {
            CString unit = ch.GetUnitText();
            bool listed = unit == ohmCyr || unit == ohm || unit == degree;
            for (const wchar_t* u : kPrefixable)
                if (u && unit == u) listed = true;
            sample = listed ? wideSample : otherSample;
            X = std::max(X, int(dc->GetTextExtent(ch.GetName().Left(25)).cx) + 5);
        }
        W = std::max(W, sample + 10);
    }
    // A merged strip writes its members' values on one line across the whole column; the
    // column keeps the width its names and values ask for, whatever strips there are, and a
    // line longer than that is cut at the column's edge.
    W += X;
    if (m_timeUnit == kTimeOfDay) {
        dc->SelectObject(&m_smallFont);
        W = std::max(W, int(dc->GetTextExtent(CString(L"99/99/9999   ")).cx) + 5 +
                            int(dc->GetTextExtent(CString(L"99:99:99.999")).cx) / 2);
        dc->SelectObject(&m_boldFont);
    }
    m_leftWidth = W;
    m_valueX = X;
}

// ------------------------------------------------------------------ background

int CTenvorikView::GetPastedShiftPixels() const {
    if (!m_doc) return 0;
    double v = double(m_doc->m_oscillogram.m_samplingFrequency) * m_doc->m_pasteTimeShift * m_xScale * 25;
    return PixelHalfUp(v);
}

void CTenvorikView::DrawBackground(CDC* dc, int cx, int cy, int y0) {
    SharedObjects& o = Objects();
    const bool printing = IsPictureDC(dc);
    auto& chs = m_doc->m_oscillogram.m_channels;
    CPen* oldPen = dc->SelectObject(&o.rowPen);
    CBrush* oldBrush = dc->SelectObject(&o.background);
    if (chs.empty()) dc->Rectangle(-1, -1, cx + 2, cy + 2);
    RECT all{0, 0, cx, cy};
    dc->FillRect(&all, &o.background);
    const int W = m_leftWidth;
    const RowPager pager = PagerFor(dc);
    // Rows and their backgrounds.
    for (CChannel& ch : chs) ch.m_drawn = false;
    int64_t top = 0;
    int row = 0;
    struct Row {
        CChannel* ch;
        std::vector<CChannel*> members;
        int64_t top;
        int h;
    };
    std::vector<Row> rows;
    for (CChannel& ch : chs) {
        if (!(ch.m_flags & CHF_VISIBLE) || ch.m_drawn) continue;
        std::vector<CChannel*> members = ch.IsDiscrete() ? std::vector<CChannel*>() : GetStripMembers(ch);
        for (CChannel* m : members)
            if (m != &ch) m->m_drawn = true;
        const int h = GetChannelHeight(ch);
        pager.Place(top, h);
        ++row;
        const int y = int(std::clamp<int64_t>(top + y0, INT_MIN / 2, INT_MAX / 2));
        bool selected = ch.m_selected;
        for (CChannel* m : members) selected = selected || m->m_selected;
        if (y < cy && y + h > 0) {
            if (selected && !printing) GradientRect(dc, 0, y, cx, y + h, kSelectedTop, kSelectedBottom);
            else if (row % 2 == 1) dc->Rectangle(0, y, cx, y + h);
            else GradientRect(dc, 0, y, cx, y + h, kEvenTop, kEvenBottom);
            if (!members.empty()) {
                const int B = GetCaptionBlockHeight(ch);
                for (size_t k = 1; k <= members.size(); ++k) {
                    const int bt = y + int(k - 1) * B, bb = y + int(k) * B;
                    if (members[k - 1]->m_selected && !printing) GradientRect(dc, 0, bt, W, bb, kSelectedTop, kSelectedBottom);
                    else if ((k - 1 + size_t(row)) % 2 == 1) dc->Rectangle(0, bt, W, bb);
                    else GradientRect(dc, 0, bt, W, bb, kEvenTop, kEvenBottom);
                }
            }
        }
        rows.push_back({&ch, std::move(members), top, h});
        top += h;
    }
    // Grid.
    if (m_grid) {
        dc->SelectObject(&o.grid);
        for (int x = W + 50; x < cx; x += 50) {
            dc->MoveTo(x, 0);
            dc->LineTo(x, cy - 30);
        }
    }
    // Discrete bars and separators.
    const int64_t rate = m_doc->m_oscillogram.m_samplingFrequency;
    for (const Row& r : rows) {
        const int y = int(std::clamp<int64_t>(r.top + y0, INT_MIN / 2, INT_MAX / 2));
        if (y >= cy) break;
        if (y + r.h <= 0) continue;
        const CChannel& ch = *r.ch;
        if (ch.IsDiscrete()) {
            double k = ch.m_ownRate == 0.0 ? 1.0 : double(rate) / ch.m_ownRate;
            if (!std::isfinite(k)) k = 1.0;
            int right = W + PixelTrunc(double(ch.GetSampleCount()) * 25 * m_xScale * k);
            if (ch.HasOwnTimeBase()) right += GetPastedShiftPixels();
            right = std::clamp(right, W - 1, cx + 1);
            const int mid = y + r.h / 2;
            RECT bar{W, mid - 2, right, mid + 2};
            if (right > W) dc->FillRect(&bar, &o.discreteBar);
        } else if (!r.members.empty()) {
            dc->SelectObject(&o.separator);
            const int B = GetCaptionBlockHeight(ch);
            for (size_t k = 1; k <= r.members.size(); ++k) {
                const int ly = y - 1 + int(k) * B;
                dc->MoveTo(0, ly);
                dc->LineTo(W, ly);
            }
        }
        dc->SelectObject(&o.separator);
        dc->MoveTo(0, y + r.h - 1);
        dc->LineTo(cx, y + r.h - 1);
    }
    // Zero-time line.
    const int64_t zero = m_doc->m_oscillogram.m_timeReferenceSample;
    if (zero != 0) {
        const int x = W + PixelHalfUp(double(zero - m_firstSample) * 25 * m_xScale);
        if (x > W) {
            dc->SelectObject(&o.zeroTime);
            dc->MoveTo(x, 0);
            dc->LineTo(x, cy - GetBottomBand());
        }
    }
    dc->SelectObject(oldPen);
    dc->SelectObject(oldBrush);
}

// ------------------------------------------------------------------ captions

void CTenvorikView::DrawCaptionBlock(CDC* dc, const CChannel& ch, int T, int B, bool strip, int rowBottom) {
    const int W = m_leftWidth, X = m_valueX;
    // The value at В1.
    const double v = ValueAtCursor(ch);
    const CString valueText = FormatCaptionValue(ch, v, true);
    // Name in its frame.
    dc->SelectObject(&m_heavyFont);
    const CString name = ch.GetName().Left(25);
    CSize ext = dc->GetTextExtent(name);
    CPen frame(PS_SOLID, 1, RGB(128, 128, 128));
    CPen* oldPen = dc->SelectObject(&frame);
    CGdiObject* oldBrush = dc->SelectStockObject(NULL_BRUSH);
    dc->Rectangle(3, T + 5, 7 + ext.cx + 1, T + 5 + ext.cy + 1);
    dc->SelectObject(oldPen);
    dc->SelectObject(oldBrush);
    dc->SetTextColor(ch.GetColor());
    dc->TextOut(5, T + 5, name);
    if (!std::isnan(v)) {
        dc->SetTextColor(RGB(69, 85, 199));
        dc->TextOut(X + 5, T + 5, valueText);
    }
    // Value lines.
    dc->SelectObject(&m_smallFont);
    dc->SetTextColor(RGB(0, 0, 127));
    const int h = dc->GetTextExtent(CString(L"Ay")).cy;
    if (strip) {
        if (ch.m_flags & kCaptionFlags) {
            RECT r{5, T + h + 8, W, T + 2 * h + 8};
            dc->DrawText(FormatStripCaption(ch), &r, DT_VCENTER | DT_SINGLELINE | DT_LEFT);
        }
    } else {
        const int64_t c = m_doc->m_cursors.m_cursors[0].position;
        int line = 1;
        auto valueLine = [&](const CString& label, double value, bool always) {
            if (always || !std::isnan(value)) dc->TextOut(X + 5, T + 8 + line * h, FormatCaptionValue(ch, value, false));
            dc->TextOut(5, T + 8 + line * h, label);
            ++line;
        };
        if (ch.m_flags & CHF_SHOW_MINMAX) {
            valueLine(L"Max:", ch.m_max, true);
            valueLine(L"Min:", ch.m_min, true);
        }
        if (ch.m_flags & CHF_SHOW_RMS)
            valueLine(LoadResString(3449), AtCursor(*m_doc, ch, c, [&](int64_t i) { return ch.GetRms(uint32_t(std::clamp<int64_t>(i, 0, UINT32_MAX)), 1); }), false);
        if (ch.m_flags & CHF_SHOW_HARMONIC)
            valueLine(L"A1:", AtCursor(*m_doc, ch, c, [&](int64_t i) { return ch.GetHarmonicRms(1, int(std::clamp<int64_t>(i, 0, INT_MAX))); }), false);
    }
    // State icons, right to left from the caption's bottom right corner.
    int x = W - 21;
    const int y = rowBottom - 21;
    auto icon = [&](bool on, StateIcon which) {
        if (!on) return;
        DrawStateIcon(dc, which, x, y);
        x -= 21;
    };
    const bool ratio = !ch.IsCalculated() && (ch.m_filePrimary != ch.m_primaryMode) &&
                       (ch.m_primary != 1.0 || ch.m_secondary != 1.0);
    icon(ch.m_zoomed, StateIcon::VerticalZoom);
    icon(ch.m_flags & CHF_REMOVE_DC, StateIcon::DcRemoved);
    icon(ch.m_flags & CHF_INVERT, StateIcon::Inverted);
    icon(ratio, StateIcon::Ratio);
    icon(ch.m_flags & CHF_CURVE_RMS, StateIcon::RmsCurve);
    icon(ch.m_flags & CHF_CURVE_HARMONIC, StateIcon::HarmonicCurve);
    icon(ch.m_flags & CHF_ADC_COUNTS, StateIcon::AdcCodes);
    (void)B;
}

void CTenvorikView::DrawChannelCaptions(CDC* dc, int y0) {
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    dc->SelectObject(&m_boldFont);
    const bool printing = IsPictureDC(dc);
    const RowPager pager = PagerFor(dc);
    auto& chs = m_doc->m_oscillogram.m_channels;
    for (CChannel& ch : chs) ch.m_drawn = false;
    int64_t top = 0;
    const int64_t limit = int64_t(m_clientHeight) - y0 + 1000;
    for (CChannel& ch : chs) {
        if (!(ch.m_flags & CHF_VISIBLE) || ch.m_drawn) continue;
        const int h = GetChannelHeight(ch);
        // A printed row that would reach into its page's bottom band starts on the next page,
        // as the rows of the other passes do.
        pager.Place(top, h);
        // Rows below the picture are not drawn but keep the marks of their strips.
        const bool visibleRow = printing || top < limit;
        if (ch.IsDiscrete()) {
            if (visibleRow && top + y0 + 20 > 0) {
                const int y = int(top + y0);
                dc->SelectObject(&m_heavyFont);
                dc->SetTextColor(ch.GetColor());
                RECT r{5, y, m_leftWidth, y + 20};
                dc->DrawText(ch.GetName().Left(25), &r, DT_VCENTER | DT_SINGLELINE | DT_LEFT);
                if (ch.m_flags & CHF_INVERT) DrawStateIcon(dc, StateIcon::Inverted, m_leftWidth - 18, y + 2);
            }
        } else {
            std::vector<CChannel*> members = GetStripMembers(ch);
            const bool strip = !members.empty();
            if (!strip) members.push_back(&ch);
            for (CChannel* m : members)
                if (m != &ch) m->m_drawn = true;
            if (visibleRow && top + y0 + h > 0) {
                int64_t T = top;
                for (CChannel* m : members) {
                    const int B = GetCaptionBlockHeight(*m);
                    const int blockTop = int(T + y0);
                    DrawCaptionBlock(dc, *m, blockTop, B, strip, strip ? blockTop + B : int(top + y0 + h));
                    T += B;
                }
            }
        }
        top += h;
    }
    dc->SetBkMode(oldMode);
}

// ------------------------------------------------------------------ time axis

std::vector<AxisTick> CTenvorikView::TimeAxisTicks(CDC* dc, int cx) {
    dc->SelectObject(&m_smallFont);
    const CTenvorikDoc& doc = *m_doc;
    double start = 0;
    const bool hasStart = ParseStartSeconds(doc.GetRecordStartTime(), start);
    const int64_t r = doc.m_oscillogram.m_timeReferenceSample;
    auto time = [&doc](int64_t s) { return doc.GetSampleTime(uint32_t(std::clamp<int64_t>(s, 0, UINT32_MAX))); };
    const int64_t tr = time(r), t0 = time(0);
    const int64_t day = hasStart ? int64_t(std::llround(start * 1e6)) : 0;
    AxisGeometry g;
    g.left = m_leftWidth;
    g.right = cx;
    g.firstSample = m_firstSample;
    g.pixelsPerSample = 25.0 * m_xScale;
    g.unit = m_timeUnit == kTimeOfDay && !hasStart ? kMicroseconds : m_timeUnit;
    const int unit = m_timeUnit;
    g.value = [=](int64_t s) {
        if (unit == kSamples) return s - r + 1;
        s = std::clamp<int64_t>(s, 0, UINT32_MAX);
        return unit == kTimeOfDay ? day + time(s) - t0 : time(s) - tr;
    };
    g.textWidth = [dc](const CString& t) { return int(dc->GetTextExtent(t).cx); };
    if (m_timeUnit == kTimeOfDay && !hasStart) {
        // No start time: the ticks stand, the labels stay empty as before.
        std::vector<AxisTick> ticks = ComputeAxisTicks(g);
        for (AxisTick& t : ticks) t.label.Empty();
        return ticks;
    }
    return ComputeAxisTicks(g);
}

void CTenvorikView::DrawTimeAxis(CDC* dc, int cx, int y) {
    SharedObjects& o = Objects();
    const int band = GetBottomBand();
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    const COLORREF oldColor = dc->SetTextColor(RGB(0, 0, 127));
    dc->SelectObject(&m_smallFont);
    CPen* oldPen = dc->SelectObject(&o.axisOutline);
    CBrush* oldBrush = dc->SelectObject(&o.axisBand);
    dc->Rectangle(-1, y - band, cx + 2, y + 1);
    const int W = m_leftWidth;
    const CTenvorikDoc& doc = *m_doc;
    if (m_timeUnit == kTimeOfDay) {
        CString date;
        // The date as every other place shows it; other separators keep the looser reading.
        date = doc.GetNormalizedStartDate();
        if (!date.IsEmpty() || FormatStartDate(doc.GetRecordStartDate(), date)) dc->TextOut(5, y - 20, date);
    }
    CString unitFormat;
    switch (m_timeUnit) {
        case kMilliseconds: unitFormat = LoadResString(387); break;
        case kSeconds: unitFormat = LoadResString(388); break;
        case kTimeOfDay: unitFormat = L"%s"; break;
        case kSamples: unitFormat = LoadResString(389); break;
        default: unitFormat = LoadResString(386); break;
    }
    dc->SelectObject(&o.axisOutline);
    bool first = true;
    for (const AxisTick& t : TimeAxisTicks(dc, cx)) {
        dc->MoveTo(t.x, y - 30);
        dc->LineTo(t.x, y - 30 + t.length);
        if (t.label.IsEmpty()) continue;
        CString text;
        // Only the leftmost label carries the unit.
        if (first) text.Format(unitFormat.GetString(), t.label);
        else text = t.label;
        first = false;
        RECT box{t.x - 200, y - 20, t.x + 200, y};
        dc->DrawText(text, &box, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOCLIP);
    }
    dc->SelectObject(&o.axisLine);
    int64_t topY = 0;
    if (IsPictureDC(dc) && PrintSlice() > 0) topY = y - PrintSlice();
    dc->MoveTo(W, int(std::max<int64_t>(topY, INT_MIN / 2)));
    dc->LineTo(W, y - 30);
    dc->SelectObject(oldPen);
    dc->SelectObject(oldBrush);
    dc->SetTextColor(oldColor);
    dc->SetBkMode(oldMode);
}

// ------------------------------------------------------------------ cursor-difference panel

void CTenvorikView::DrawDifferencePanel(CDC* dc, int cx, int cy) {
    static CPen line(PS_SOLID, 1, RGB(100, 100, 100));
    static CPen grid(PS_SOLID, 1, RGB(230, 230, 230));
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    const COLORREF oldColor = dc->SetTextColor(RGB(0, 0, 127));
    dc->SelectObject(&m_smallFont);
    CPen* oldPen = dc->SelectObject(&line);
    dc->MoveTo(0, cy - 30);
    dc->LineTo(cx, cy - 30);
    const int W = m_leftWidth;
    if (m_grid) {
        dc->SelectObject(&grid);
        for (int x = W + 50; x < cx; x += 50) {
            dc->MoveTo(x, cy - 75);
            dc->LineTo(x, cy - 30);
        }
    }
    const CTenvorikDoc& doc = *m_doc;
    const int64_t r = doc.m_oscillogram.m_timeReferenceSample;
    auto time = [&](int64_t s) { return doc.GetSampleTime(uint32_t(std::clamp<int64_t>(s, 0, UINT32_MAX))); };
    auto xOf = [&](int64_t s) { return W + PixelTrunc(double(s - m_firstSample) * 25 * m_xScale); };
    // Sample -> label text: the comment moments first, the cursors join them for the arrows.
    std::map<int64_t, CString> marks;
    doc.m_comments.GetMomentTexts(marks);
    for (auto& [s, text] : marks) {
        text.Replace(L"\n", L" ");
        text.Replace(L"\r", L" ");
    }
    std::vector<std::pair<int, int>> drawn;
    auto label = [&](int64_t s, const CString& extra) {
        const int x = xOf(s);
        int64_t value = m_timeUnit == kSamples ? s - r : m_timeUnit == kTimeOfDay ? time(s) - time(0) : time(s) - time(r);
        CString text = FormatTimeValue(value, false, m_timeUnit);
        if (!extra.IsEmpty()) text += L"\n" + extra;
        const int w = dc->GetTextExtent(text).cx;
        if (x <= W) return;
        // A label near an edge of the traces moves inside them rather than being cut.
        const int lx = W + w / 2 + 2 <= cx - (w + 1) / 2 - 2 ? std::clamp(x, W + w / 2 + 2, cx - (w + 1) / 2 - 2) : x;
        const int a = lx - w / 2 - 3, b = lx + w / 2 + 4;
        for (const auto& e : drawn)
            if (a < e.second && e.first < b) return;
        RECT box{lx - w / 2 - 1, cy - 75 + 20, lx + (w + 1) / 2 + 1, cy - 30};
        dc->DrawText(text, &box, DT_CENTER | DT_TOP | DT_NOCLIP);
        drawn.emplace_back(a, b);
    };
    for (int i = 0; i < 3; ++i)
        if (doc.m_cursors.m_cursors[size_t(i)].shown) label(doc.m_cursors.m_cursors[size_t(i)].position, CString());
    for (const auto& [s, text] : marks) label(s, text);
    for (int i = 0; i < 3; ++i)
        if (doc.m_cursors.m_cursors[size_t(i)].shown) marks[doc.m_cursors.m_cursors[size_t(i)].position] = CString();
    const int y = cy - 75 + 10;
    dc->SelectObject(&line);
    for (auto it = marks.begin(); it != marks.end() && std::next(it) != marks.end(); ++it) {
        const int64_t a = it->first, b = std::next(it)->first;
        const int xa = xOf(a), xb = xOf(b);
        if (!(xa > W && xb - xa > 16)) continue;
        dc->MoveTo(xa, y), dc->LineTo(xb, y);
        dc->MoveTo(xa, y), dc->LineTo(xa + 8, y - 4);
        dc->MoveTo(xa, y), dc->LineTo(xa + 8, y + 4);
        dc->MoveTo(xb, y), dc->LineTo(xb - 8, y - 4);
        dc->MoveTo(xb, y), dc->LineTo(xb - 8, y + 4);
        const int64_t d = m_timeUnit == kSamples ? b - a : std::llabs(time(b) - time(a));
        CString text = FormatTimeValue(d, true, m_timeUnit);
        const CSize ext = dc->GetTextExtent(text);
        if (xb - xa - ext.cx > 20) {
            dc->SetBkMode(OPAQUE);
            const int mid = (xa + xb) / 2;
            RECT box{mid - ext.cx / 2, y - ext.cy / 2, mid - ext.cx / 2 + ext.cx, y - ext.cy / 2 + ext.cy};
            dc->DrawText(text, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
            dc->SetBkMode(TRANSPARENT);
        }
    }
    dc->SelectObject(oldPen);
    dc->SetTextColor(oldColor);
    dc->SetBkMode(oldMode);
}

// ------------------------------------------------------------------ hover read-out

HoverBox CTenvorikView::OnMouseHover(CPoint point) {
    HoverBox box;
    if (!m_doc || point.x >= m_leftWidth || point.y >= m_clientHeight - GetBottomBand()) return box;
    CScreenDC dc;
    const int contentY = point.y - m_yOffset;
    const int L = m_captionLineHeight, S = m_smallLineHeight;
    int64_t T = 0;
    int B = 0;
    if (CChannel* ch = CaptionChannelAt(contentY, &T, &B)) {
        const CString full = ch->GetName();
        if (ch->IsDiscrete()) {
            dc.SelectObject(&m_heavyFont);
            const int cut = dc.GetTextExtent(full.Left(25)).cx;
            const int nameH = dc.GetTextExtent(full).cy;
            if (full.GetLength() > 25 && point.x > 3 && point.x < cut + 7 && contentY > T + 5 && contentY < T + 5 + nameH) {
                box.show = true;
                box.text = full;
                box.rect = CRect(3, int(T + m_yOffset), dc.GetTextExtent(full).cx + 7, int(T + m_yOffset + 20));
            }
            return box;
        }
        // Lines of the block: the name line, then Max, Min, RMS and A1 as flagged.
        struct Line {
            int64_t top;
            int height;
            double value;
            bool nameLine;
        };
        std::vector<Line> lines;
        lines.push_back({T + 5, L, ValueAtCursor(*ch), true});
        int64_t y = T + 5 + L;
        const int64_t c = m_doc->m_cursors.m_cursors[0].position;
        if (ch->m_flags & CHF_SHOW_MINMAX) {
            lines.push_back({y, S, ch->m_max, false}), y += S;
            lines.push_back({y, S, ch->m_min, false}), y += S;
        }
        if (ch->m_flags & CHF_SHOW_RMS)
            lines.push_back({y, S, ch->GetRms(uint32_t(std::clamp<int64_t>(c, 0, UINT32_MAX)), 1), false}), y += S;
        if (ch->m_flags & CHF_SHOW_HARMONIC)
            lines.push_back({y, S, ch->GetHarmonicRms(1, int(std::clamp<int64_t>(c, 0, INT_MAX))), false}), y += S;
        for (const Line& line : lines) {
            if (contentY < line.top || contentY >= line.top + line.height) continue;
            dc.SelectObject(line.nameLine ? &m_heavyFont : &m_smallFont);
            UnitValue u = ScaleForCaption(*ch, line.value);
            CString number;
            const bool negative = u.number.GetLength() > 0 && u.number[0] == L'-';
            if (line.nameLine) number.Format(negative ? L"%-7s " : L" %-6s ", u.number);
            else number.Format(negative ? L"%-9s " : L" %-8s ", u.number);
            const int n = dc.GetTextExtent(number).cx;
            const int rowTop = int(line.top + m_yOffset);
            if (line.nameLine && full.GetLength() > 25) {
                dc.SelectObject(&m_heavyFont);
                const int cut = dc.GetTextExtent(full.Left(25)).cx;
                const int nameH = dc.GetTextExtent(full).cy;
                if (point.x > 3 && point.x < cut + 7 && contentY < T + 5 + nameH) {
                    box.show = true;
                    box.text = full;
                    box.rect = CRect(3, rowTop, dc.GetTextExtent(full).cx + 7, rowTop + L);
                    return box;
                }
            }
            if (u.unit.GetLength() > 5 && point.x > m_valueX + 5 && point.x < m_leftWidth) {
                box.show = true;
                box.text = u.unit;
                box.heavy = line.nameLine;
                const int w = dc.GetTextExtent(u.unit).cx;
                box.rect = CRect(m_valueX + n + 2, rowTop, m_valueX + n + w + 8, rowTop + L);
            }
            return box;
        }
        return box;
    }
    return box;
}

}  // namespace oscview
