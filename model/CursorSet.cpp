#include "model/CursorSet.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

#include "model/AppOptions.h"
#include "model/DocumentModel.h"
#include "model/Numeric.h"
#include "model/Resources.h"
#include "model/TimeText.h"
#include "model/ValueFormat.h"
#include "platform/CmdUI.h"
#include "platform/draw/DeviceContext.h"

namespace {

int IndexOfCommand(unsigned id) {
    switch (id) {
        case ID_CURSOR_V1: return 0;
        case ID_CURSOR_V2: return 1;
        case ID_CURSOR_V3: return 2;
        case ID_CURSOR_H1: return 3;
        case ID_CURSOR_H2: return 4;
        default: return -1;
    }
}

const wchar_t* const kVerticalLabel[2] = {L"Верт. визир 1:", L"Верт. визир 2:"};
const wchar_t* const kDifferenceLabel = L"Разница. верт. визиров:";
const wchar_t* const kLevelLabel[2] = {L"Гор. визир 1:", L"Гор. визир 2:"};
const wchar_t* const kLevelDifferenceLabel = L"Разница г. визиров:";

bool Cyrillic() { return !TheAppOptions().englishResources && !TenvorikStrings().IsEnglish(); }

CPen& CursorPen(int k) {
    static CPen pens[3] = {CPen(PS_SOLID, 1, RGB(255, 100, 100)), CPen(PS_SOLID, 1, RGB(100, 100, 255)),
                           CPen(PS_SOLID, 1, RGB(0, 160, 0))};
    return pens[k];
}

}  // namespace

// ------------------------------------------------------------------ positions

int64_t CursorSet::SampleFromX(int left, int64_t firstVisible, int x, double xscale) {
    if (!(xscale > 0) || !std::isfinite(xscale)) xscale = 1.0;
    double v = double(firstVisible) + double(x - left) / xscale / 25.0;
    // The nearer of floor and ceil, ceil on a tie.
    double s = std::floor(v + 0.5);
    if (!(s > 0)) return 0;
    return s >= double(INT_MAX) ? INT_MAX : int64_t(s);
}

void CursorSet::SetPosition(int index, int64_t sample) {
    if (index < 0 || index >= kCount) return;
    // A cursor stays on a sample of the record: never before the first nor past the last.
    int64_t count = m_document ? m_document->m_oscillogram.GetSampleCount() : 0;
    int64_t s = std::max<int64_t>(sample, 0);
    if (count > 0) s = std::min(s, count - 1);
    s = std::min<int64_t>(s, INT_MAX);
    CursorMarker& m = m_cursors[size_t(index)];
    m.shown = true;
    m.position = int(s);
    if (index <= 1 && m_view) m_view->OnLocatorCursors(m_cursors[0].position, m_cursors[1].position);
    if (m_view) m_view->UpdateDiagrams();
}

void CursorSet::MoveVerticalCursor(bool first, int left, int64_t firstVisible, int x, double xscale) {
    SetPosition(first ? 0 : 1, SampleFromX(left, firstVisible, x, xscale));
    m_cursors[first ? 0 : 1].shown = true;
    UpdateReadouts();
}

void CursorSet::MoveThirdCursor(int left, int64_t firstVisible, int x, double xscale) {
    int64_t s = SampleFromX(left, firstVisible, x, xscale);
    int64_t count = m_document ? m_document->m_oscillogram.GetSampleCount() : 0;
    if (count > 0) s = std::min(s, count - 1);
    m_cursors[2].shown = true;
    m_cursors[2].position = int(std::min<int64_t>(s, INT_MAX));
    UpdateReadouts();
}

// ------------------------------------------------------------------ horizontal cursors

bool CursorSet::ChannelRange(int channel, double& low, double& high) const {
    if (!m_document || channel < 0 || size_t(channel) >= m_document->m_oscillogram.m_channels.size()) return false;
    if (m_view) m_view->GetStripRange(channel, low, high);
    else m_document->m_oscillogram.m_channels[size_t(channel)].GetDisplayRange(low, high);
    return true;
}

int CursorSet::ValueToY(int channel, int top, double level) const {
    if (!m_view || !m_document || channel < 0 || size_t(channel) >= m_document->m_oscillogram.m_channels.size())
        return -1;
    int64_t bottom = top;
    for (int i = 0; i <= channel; ++i) bottom += m_view->GetChannelHeightAt(i);
    const int h = m_view->GetChannelHeightAt(channel);
    double low, high;
    ChannelRange(channel, low, high);
    const double span = std::fabs(high - low);
    // A flat channel, or a row too low to hold a range, has its level in the row's middle.
    if (!(span > 0) || !std::isfinite(span) || h <= 10 || !std::isfinite(level))
        return int(std::clamp<int64_t>(bottom - h / 2, INT_MIN, INT_MAX));
    double d = double(h - 10) * (level - low) / span;
    d = std::clamp(d, -1e9, 1e9);
    return int(std::clamp<int64_t>(bottom - 5 - RoundToInt(d), INT_MIN, INT_MAX));
}

void CursorSet::PlaceLevelCursor(bool first, int top, int x, int y) {
    (void)x;
    const int k = first ? 3 : 4;
    CursorMarker& m = m_cursors[size_t(k)];
    m.shown = true;
    if (m_view && m_document) {
        auto& channels = m_document->m_oscillogram.m_channels;
        int64_t bottom = top;
        for (size_t i = 0; i < channels.size(); ++i) {
            const int h = m_view->GetChannelHeightAt(int(i));
            bottom += h;
            if (bottom == int64_t(y) + 1) return;  // the row's last pixel line binds nothing
            if (bottom <= int64_t(y) + 1) continue;
            const CChannel& ch = channels[i];
            if (!ch.IsDiscrete()) {
                double low, high;
                ChannelRange(int(i), low, high);
                double level = low;
                if (h > 10 && std::isfinite(high - low))
                    level = low + double(bottom - 5 - y) * (high - low) / double(h - 10);
                m.level = level;
                m.channel = int(i);
            }
            break;
        }
    }
    if (m_view) m_view->SetStatusPaneText(k, ReadoutText(k));
    UpdateLevelDifference();
}

void CursorSet::ValidateBindings() {
    if (!m_document) return;
    const auto& channels = m_document->m_oscillogram.m_channels;
    for (int k = kHorizontalFirst; k < kCount; ++k) {
        CursorMarker& m = m_cursors[size_t(k)];
        if (m.channel < 0) continue;
        if (size_t(m.channel) >= channels.size() || channels[size_t(m.channel)].IsDiscrete()) SwitchOff(k);
    }
}

std::vector<double> CursorSet::DisplayMultipliers() const {
    std::vector<double> out;
    if (!m_document) return out;
    for (const CChannel& ch : m_document->m_oscillogram.m_channels) out.push_back(ch.m_displayMul);
    return out;
}

void CursorSet::FollowDisplayScale(const std::vector<double>& before) {
    const std::vector<double> after = DisplayMultipliers();
    for (int k = kHorizontalFirst; k < kCount; ++k) {
        CursorMarker& m = m_cursors[size_t(k)];
        if (m.channel < 0 || size_t(m.channel) >= before.size() || size_t(m.channel) >= after.size()) continue;
        const double from = before[size_t(m.channel)], to = after[size_t(m.channel)];
        if (from == to || !(from != 0.0) || !std::isfinite(from) || !std::isfinite(to)) continue;
        m.level = m.level / from * to;
    }
    UpdateReadouts();
}

// ------------------------------------------------------------------ commands

void CursorSet::OnToggleCursor(unsigned id) {
    int i = IndexOfCommand(id);
    if (i < 0) return;
    CursorMarker& m = m_cursors[size_t(i)];
    m.shown = !m.shown;
    if (i >= kHorizontalFirst && m.shown && m.channel == -1)
        PlaceLevelCursor(i == 3, m_view ? m_view->GetRowsTop() : 0, 10, i == 3 ? 10 : 20);
    UpdateReadouts();
}

bool CursorSet::IsCursorShown(unsigned id) const {
    int i = IndexOfCommand(id);
    return i >= 0 && m_cursors[size_t(i)].shown;
}

void CursorSet::OnUpdateToggleCursor(CCmdUI& ui, unsigned id) const { ui.SetCheck(IsCursorShown(id) ? 1 : 0); }

// ------------------------------------------------------------------ read-outs

CString CursorSet::ReadoutText(int pane) const {
    const int unit = m_view ? m_view->GetTimeUnit() : oscview::kMicroseconds;
    if (pane == 3 || pane == 4) {
        const CursorMarker& m = m_cursors[size_t(pane)];
        const wchar_t* label = kLevelLabel[pane - 3];
        if (!m.shown) return label;
        CString unitText, number;
        if (m_document && m.channel >= 0 && size_t(m.channel) < m_document->m_oscillogram.m_channels.size()) {
            const CChannel& ch = m_document->m_oscillogram.m_channels[size_t(m.channel)];
            if (!(ch.m_flags & CHF_ADC_COUNTS)) {
                const ScaledValue v = ScaleValue(m.level, ch.GetUnitText(), 2, true, Cyrillic());
                number = v.number;
                unitText = v.prefix + ch.GetRateUnitDisplayText();
            }
        }
        if (number.IsEmpty()) number = FormatFixed(m.level, 2, true);
        CString s;
        s.Format(L"%s %4s %s", label, number, unitText);
        return s;
    }
    if (pane == 5) {
        const CursorMarker& a = m_cursors[3];
        const CursorMarker& b = m_cursors[4];
        if (!m_document || !a.shown || !b.shown || a.channel < 0 || a.channel != b.channel ||
            size_t(a.channel) >= m_document->m_oscillogram.m_channels.size())
            return kLevelDifferenceLabel;
        const CChannel& ch = m_document->m_oscillogram.m_channels[size_t(a.channel)];
        double d = std::fabs(a.level - b.level);
        CString number, unitText;
        if (ch.m_flags & CHF_ADC_COUNTS) number = FormatFixed(RoundToInt(d), 0, true);
        else {
            const ScaledValue v = ScaleValue(d, ch.GetUnitText(), 2, true, Cyrillic());
            number = v.number;
            unitText = v.prefix + ch.GetRateUnitDisplayText();
        }
        CString s;
        s.Format(L"%s %s %s", kLevelDifferenceLabel, number, unitText);
        return s;
    }
    if (pane < 0 || pane > 2) return CString();
    const CursorMarker& c1 = m_cursors[0];
    const CursorMarker& c2 = m_cursors[1];
    const bool shown = pane == 2 ? c1.shown && c2.shown : m_cursors[size_t(pane)].shown;
    const wchar_t* label = pane == 2 ? kDifferenceLabel : kVerticalLabel[pane];
    if (!shown || !m_document) return label;
    const DocumentModel& doc = *m_document;
    const int64_t r = doc.m_oscillogram.m_timeReferenceSample;
    auto time = [&](int64_t s) { return doc.GetSampleTime(uint32_t(std::clamp<int64_t>(s, 0, UINT32_MAX))); };
    const int64_t p1 = int64_t(c1.position) - r, p2 = int64_t(c2.position) - r;
    const int64_t t1 = time(c1.position) - time(r), t2 = time(c2.position) - time(r);
    const int64_t dp = p1 > p2 ? p1 - p2 : p2 - p1;
    const int64_t dt = t1 > t2 ? t1 - t2 : t2 - t1;
    const int64_t p = pane == 0 ? p1 : p2, t = pane == 0 ? t1 : t2;
    CString s;
    switch (unit) {
        case oscview::kSamples:
            s = CString(label) + L" " + oscview::Int64Text(pane == 2 ? dp : p + 1);
            break;
        case oscview::kMilliseconds:
        case oscview::kSeconds: {
            // To the resolution the sample rate gives: at 2400 Hz one sample is 0.42 ms.
            const int places = oscview::TimeDecimals(unit, doc.GetSamplePeriodUs());
            s = CString(label) + L" " + oscview::FormatTimeNumber(pane == 2 ? dt : t, unit, places) +
                (unit == oscview::kMilliseconds ? L" мс" : L" сек.");
            break;
        }
        case oscview::kTimeOfDay: {
            double start;
            // A start time without its three numbers gives no time of day: the panes stay empty.
            if (!oscview::ParseStartSeconds(doc.GetRecordStartTime(), start)) return CString();
            if (pane == 2) {
                int64_t ms = oscview::DivRoundHalfUp(dt, 1000);
                s.Format(L"%s %02d.%03d", label, int(ms / 1000), int(ms % 1000));
            } else {
                // The start time is the time of the record's first sample.
                int64_t pos = pane == 0 ? c1.position : c2.position;
                s = CString(label) + L" " + oscview::FormatTimeOfDay(start + double(time(pos) - time(0)) / 1e6);
            }
            break;
        }
        default:
            s = CString(label) + L" " + oscview::Int64Text(pane == 2 ? dt : t) + L" мкс";
            break;
    }
    return s;
}

void CursorSet::UpdateReadouts() {
    if (!m_view) return;
    ValidateBindings();
    for (int pane = 0; pane <= 4; ++pane) m_view->SetStatusPaneText(pane, ReadoutText(pane));
    UpdateLevelDifference();
}

void CursorSet::UpdateLevelDifference() {
    if (m_view) m_view->SetStatusPaneText(5, ReadoutText(5));
}

// ------------------------------------------------------------------ hit test and drawing

int CursorSet::CursorXOf(int index) const {
    const CursorMarker& m = m_cursors[size_t(index)];
    double d = double(int64_t(m.position) - m_view->GetFirstVisibleSample()) * 25.0 * m_view->GetXScale();
    return m_view->GetTraceLeft() + int(std::clamp(d, -1e9, 1e9));
}

int CursorSet::HitTest(int x, int y, int64_t firstVisible, int left, int top, double xscale) const {
    for (int i = 0; i < 3; ++i) {
        const CursorMarker& m = m_cursors[size_t(i)];
        if (!m.shown) continue;
        double d = double(int64_t(m.position) - firstVisible) * 25.0 * xscale;
        int cx = left + int(std::clamp(d, -1e9, 1e9));
        if (std::abs(x - cx) < 3) return i + 1;
    }
    for (int i = 3; i < 5; ++i) {
        const CursorMarker& m = m_cursors[size_t(i)];
        if (!m.shown || m.channel < 0) continue;
        int cy = ValueToY(m.channel, top, m.level);
        if (cy >= 0 && std::abs(y - cy) < 3) return i + 1;
    }
    return 0;
}

int CursorSet::CursorX(int64_t s, int left, int right, int64_t firstVisible, double xscale, int64_t count) {
    const double p = 25.0 * xscale;
    auto plain = [&] { return left + int(std::clamp(double(s - firstVisible) * p, -1e9, 1e9)); };
    if (p >= 0.5 || !(p > 0)) return plain();
    // Several samples per pixel: the column the traces put the sample in.
    const int64_t available = count - firstVisible - 1;
    const int64_t across = int64_t(std::ceil(double(right - left) / p)) + 1;
    const int64_t n = std::min(available, across);
    const int64_t columns = std::min<int64_t>(RoundToInt64(double(available) * p), int64_t(right - left) - 4);
    const int64_t rel = s - firstVisible;
    if (n <= 0 || columns <= 1 || rel <= 0 || rel > n) return plain();
    const double k = double(n) / double(columns);
    int64_t c = std::max<int64_t>(1, int64_t(double(rel) / k) - 1);
    while (c < columns && int64_t(double(c + 1) * k) <= rel) ++c;
    if (c >= columns) {
        // The end sample belongs to the last column.
        if (rel == n) return left + int(columns - 1);
        return plain();
    }
    return left + int(c);
}

void CursorSet::Draw(CDC* dc, int right, int bottom, int top, int left, int64_t firstVisible, double xscale) const {
    if (!dc || !m_view) return;
    const int band = m_view->ShowsDifferencePanel() ? 75 : 30;
    const int64_t count = m_document ? m_document->m_oscillogram.GetSampleCount() : 0;
    struct Label {
        CString text;
        int x;      // centre
        int width;
        int pen;
    };
    std::vector<Label> labels;
    int pinnedLeft = 0, pinnedRight = 0;
    int xs[3] = {0, 0, 0};
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    static const wchar_t* const kNames[3] = {L"В1", L"В2", L"В3"};
    for (int i = 0; i < 3; ++i) {
        const CursorMarker& m = m_cursors[size_t(i)];
        if (!m.shown) continue;
        int x = CursorX(m.position, left, right, firstVisible, xscale, count);
        xs[i] = x;
        int pen = i;
        if (i == 1 && m_cursors[0].shown && x == xs[0]) pen = 2;
        if (x > left) {
            CPen* old = dc->SelectObject(&CursorPen(pen));
            dc->MoveTo(x, 0);
            dc->LineTo(x, bottom - band);
            dc->SelectObject(old);
        }
        int lx = x;
        if (x <= left) lx = left + 2 + 13 * pinnedLeft++;
        else if (x >= right) lx = right - 5 - 13 * pinnedRight++;
        labels.push_back({kNames[i], lx, dc->GetTextExtent(CString(kNames[i])).cx, i});
    }
    // Labels whose boxes overlap are joined into one text at the first of them.
    std::vector<std::vector<size_t>> groups;
    for (size_t j = 0; j < labels.size(); ++j) {
        bool joined = false;
        for (auto& g : groups) {
            for (size_t m : g) {
                if (std::abs(labels[m].x - labels[j].x) * 2 < labels[m].width + labels[j].width) {
                    g.push_back(j);
                    joined = true;
                    break;
                }
            }
            if (joined) break;
        }
        if (!joined) groups.push_back({j});
    }
    for (const auto& g : groups) {
        CString text;
        for (size_t m : g) text += (text.IsEmpty() ? CString() : CString(L" ")) + labels[m].text;
        const Label& head = labels[g.front()];
        CSize ext = dc->GetTextExtent(text);
        COLORREF old = dc->SetTextColor(CursorPen(head.pen).Color());
        // A label near either edge of the traces moves inside them rather than being cut.
        const int lo = left + ext.cx / 2 + 2, hi = right - (ext.cx + 1) / 2 - 2;
        const int cx = lo <= hi ? std::clamp(head.x, lo, hi) : head.x;
        RECT r{cx - ext.cx / 2 - 1, 0, cx + (ext.cx + 1) / 2 + 1, ext.cy};
        dc->DrawText(text, &r, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOCLIP);
        dc->SetTextColor(old);
    }
    // Horizontal cursors.
    int ys[2] = {INT_MIN, INT_MIN};
    for (int i = 3; i < 5; ++i)
        if (m_cursors[size_t(i)].shown && m_cursors[size_t(i)].channel >= 0)
            ys[i - 3] = ValueToY(m_cursors[size_t(i)].channel, top, m_cursors[size_t(i)].level);
    const int limit = bottom - band;
    const int middle = (left + right) / 2;
    for (int i = 0; i < 2; ++i) {
        if (ys[i] == INT_MIN) continue;
        const int y = ys[i];
        const int pen = ys[0] == ys[1] ? 2 : i;
        if (y < limit) {
            CPen* old = dc->SelectObject(&CursorPen(pen));
            dc->MoveTo(left, y);
            dc->LineTo(right, y);
            dc->SelectObject(old);
        }
        CString text = i == 0 ? L"ГВ1" : L"ГВ2";
        CSize ext = dc->GetTextExtent(text);
        int ty = std::max(0, y - ext.cy);
        if (y >= limit) ty = std::max(0, limit - ext.cy);
        int tx = i == 0 ? middle - 1 - ext.cx : middle + 1;
        COLORREF old = dc->SetTextColor(CursorPen(pen).Color());
        dc->TextOut(tx, ty, text);
        dc->SetTextColor(old);
    }
    dc->SetBkMode(oldMode);
}
