#include "model/CommentItem.h"

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <ctime>
#include <locale.h>

#include "model/AppOptions.h"
#include "model/Channel.h"
#include "model/CommentStrings.h"
#include "model/DocumentModel.h"
#include "model/Resources.h"
#include "model/SettingsStore.h"
#include "model/TimeText.h"
#include "model/ValueFormat.h"
#include "platform/draw/DeviceContext.h"
#include "platform/draw/ImageList.h"

namespace {

// A stored number that is no number is damage, not a zero.
bool ReadInt(const SettingsNode& node, const wchar_t* key, int def, int& out) {
    out = def;
    if (!node.HasValue(key)) return true;
    const std::wstring s = node.GetString(key, CString()).str();
    size_t i = 0;
    while (i < s.size() && std::iswspace(wint_t(s[i]))) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) negative = s[i++] == L'-';
    const size_t digits = i;
    long long v = 0;
    for (; i < s.size() && s[i] >= L'0' && s[i] <= L'9'; ++i) {
        v = v * 10 + (s[i] - L'0');
        if (v > 1LL + INT32_MAX) return false;
    }
    if (i == digits) return false;
    while (i < s.size() && std::iswspace(wint_t(s[i]))) ++i;
    if (i != s.size()) return false;
    v = negative ? -v : v;
    if (v > INT32_MAX || v < INT32_MIN) return false;
    out = int(v);
    return true;
}

bool ReadDouble(const SettingsNode& node, const wchar_t* key, double def, double& out) {
    out = def;
    if (!node.HasValue(key)) return true;
    static const locale_t c = newlocale(LC_NUMERIC_MASK, "C", locale_t(nullptr));
    const CString text = node.GetString(key, CString());
    const wchar_t* s = text.GetString();
    wchar_t* end = nullptr;
    const double v = c ? wcstod_l(s, &end, c) : std::wcstod(s, &end);
    if (end == s) return false;
    while (*end && std::iswspace(wint_t(*end))) ++end;
    if (*end || !std::isfinite(v)) return false;
    out = v;
    return true;
}

int PixelClamp(double v) { return int(std::clamp(std::trunc(v), -1e9, 1e9)); }

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

int64_t TimeOf(const DocumentModel& doc, int64_t sample) {
    return doc.GetSampleTime(uint32_t(std::clamp<int64_t>(sample, 0, UINT32_MAX)));
}

// The channel's shown state and display range; false when it is missing.
bool RangeOf(const DocumentModel& doc, const CString& name, const CChannel*& ch, double& low, double& high) {
    ch = FindCommentChannel(doc, name);
    if (!ch) return false;
    ch->GetDisplayRange(low, high);
    return true;
}

// Fraction of `value` in [low, high]; a range of one value puts it at the bottom.
double FractionIn(double value, double low, double high) { return high > low ? (value - low) / (high - low) : 0.0; }

CString OneLine(CString text) {
    text.Replace(L"\n", L" ");
    text.Replace(L"\r", L" ");
    return text;
}

// "dd/mm/yyyy hh:mm:ss" into broken-down time.
bool ParseStart(const CString& text, std::tm& tm) {
    int d = 0, mo = 0, y = 0, h = 0, mi = 0, s = 0;
    wchar_t tail = 0;
    // The date as the program shows it ("15.02.2020"), or as a record writes it.
    if (std::swscanf(text.GetString(), L"%d.%d.%d %d:%d:%d%lc", &d, &mo, &y, &h, &mi, &s, &tail) != 6 &&
        std::swscanf(text.GetString(), L"%d/%d/%d %d:%d:%d%lc", &d, &mo, &y, &h, &mi, &s, &tail) != 6)
        return false;
    if (d < 1 || d > 31 || mo < 1 || mo > 12 || y < 1 || h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 || s > 60)
        return false;
    tm = {};
    tm.tm_mday = d;
    tm.tm_mon = mo - 1;
    tm.tm_year = y - 1900;
    tm.tm_hour = h;
    tm.tm_min = mi;
    tm.tm_sec = s;
    return true;
}

void SelectPen(CDC* dc, CPen* pen) {
    if (pen) dc->SelectObject(pen);
}

}  // namespace

int CommentSampleX(int64_t sample, int leftWidth, int64_t firstSample, double xScale) {
    return leftWidth + PixelClamp(double(sample - firstSample) * 25 * xScale);
}

int64_t CommentSampleAt(int x, int leftWidth, int64_t firstSample, double xScale) {
    const double v = double(x - leftWidth) / xScale / 25 + double(firstSample);
    if (!std::isfinite(v)) return firstSample;
    const double lo = std::floor(v), hi = std::ceil(v);
    const double pick = v - lo < hi - v ? lo : hi;
    return int64_t(std::clamp(pick, -9e18, 9e18));
}

int LevelLineY(const ChannelRow& row, double f) {
    return PixelClamp(double(row.top) + row.height - 5 - (row.height - 10) * f);
}

const CChannel* FindCommentChannel(const DocumentModel& doc, const CString& name) {
    const CChannel* loose = nullptr;
    for (const CChannel& ch : doc.GetOscillogram().m_channels) {
        const CString n = ch.GetName();
        if (n == name) return &ch;
        if (!loose && n.CompareNoCase(name.GetString()) == 0) loose = &ch;
    }
    return loose;
}

CString FormatCommentSeconds(int64_t microseconds, double periodUs) {
    // Rounded as the cursor read-outs are, to what the sample rate tells apart, never cut.
    const int places = std::max(3, oscview::TimeDecimals(oscview::kSeconds, periodUs));
    CString text;
    text.Format(LoadResString(IDS_COMMENT_SECONDS).GetString(),
                oscview::FormatTimeNumber(microseconds, oscview::kSeconds, places).GetString());
    return text;
}

// ------------------------------------------------------------------ base

void CommentItem::Save(SettingsNode* category) const {
    if (!category) return;
    category->SetInt(L"locked", m_locked ? 1 : 0);
    category->SetInt(L"visible", m_visible ? 1 : 0);
    CString text = m_text;
    text.Replace(L"\r\n", L"\n");
    category->SetString(L"text", text);
}

bool CommentItem::Load(const SettingsNode* category) {
    if (!category) return true;
    int locked = 0, visible = 1;
    const bool ok = ReadInt(*category, L"locked", 0, locked) && ReadInt(*category, L"visible", 1, visible);
    m_locked = locked != 0;
    m_visible = visible != 0;
    m_text = category->GetString(L"text", CString());
    return ok;
}

void CommentItem::DrawTextBox(CDC* dc, const DocumentModel& doc, int x, int y) const {
    const CString text = GetTooltipText(doc);
    RECT measure{0, 0, 0, 0};
    dc->DrawText(text, &measure, DT_CALCRECT | DT_NOCLIP);
    const int w = measure.right - measure.left, h = measure.bottom - measure.top;
    CPen pen(PS_SOLID, 1, RGB(192, 175, 175));
    CBrush brush(RGB(255, 230, 230));
    CPen* oldPen = dc->SelectObject(&pen);
    CBrush* oldBrush = dc->SelectObject(&brush);
    dc->RoundRect(x, y, x + w + 10, y + h + 10, 10, 10);
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    const COLORREF oldColor = dc->SetTextColor(RGB(0, 0, 192));
    RECT box{x + 5, y + 5, x + w + 5, y + h + 5};
    dc->DrawText(text, &box, DT_NOCLIP);
    dc->SetTextColor(oldColor);
    dc->SetBkMode(oldMode);
    dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
}

// ------------------------------------------------------------------ moment

bool MomentItem::HitTest(int x, int, int leftWidth, double xScale, int64_t firstSample, const ChannelLayoutMap&,
                         const DocumentModel&) const {
    const int64_t a = CommentSampleAt(x - 10, leftWidth, firstSample, xScale);
    const int64_t b = CommentSampleAt(x + 10, leftWidth, firstSample, xScale);
    return m_position >= a && m_position <= b;
}

bool MomentItem::HitTestRange(int64_t from, int64_t to, int& part) const {
    part = m_position >= from && m_position <= to ? kStart : kNoPart;
    return part != kNoPart;
}

void MomentItem::Draw(const CommentDrawContext& ctx, const DocumentModel&) const {
    const int x = CommentSampleX(m_position, ctx.leftWidth, ctx.firstSample, ctx.xScale);
    if (x <= ctx.leftWidth) return;
    CDC* dc = ctx.dc;
    if (ctx.icons) ctx.icons->Draw(dc, 0, POINT{x - ctx.iconWidth / 2 + 4, 0}, ILD_TRANSPARENT);
    CPen* old = dc->GetCurrentPen();
    SelectPen(dc, ctx.selected == this ? ctx.selectedPen : ctx.thinPen);
    dc->MoveTo(x, ctx.iconWidth);
    dc->LineTo(x, ctx.bottom - (ctx.differencePanel ? 55 : 30));
    SelectPen(dc, old);
}

void MomentItem::DrawLabel(const CommentDrawContext& ctx, const DocumentModel& doc) const {
    const int x = CommentSampleX(m_position, ctx.leftWidth, ctx.firstSample, ctx.xScale);
    DrawTextBox(ctx.dc, doc, x + 3, 30);
}

void MomentItem::Save(SettingsNode* category) const {
    if (!category) return;
    CommentItem::Save(category);
    category->SetInt(L"position", m_position);
}

bool MomentItem::Load(const SettingsNode* category) {
    if (!category) return true;
    const bool ok = CommentItem::Load(category);
    int position = 0;
    const bool okPosition = ReadInt(*category, L"position", 0, position);
    m_position = position;
    return ok && okPosition;
}

CString MomentItem::GetTooltipText(const DocumentModel& doc) const {
    const CString start = doc.GetNormalizedStartDate() + L" " + doc.GetRecordStartTime();
    const int dot = start.ReverseFind(L'.');
    const CString whole = dot < 0 ? start : start.Left(dot);
    const CString fraction = dot < 0 ? CString() : start.Mid(dot + 1);
    std::tm tm{};
    // Records longer than 35 minutes keep their offsets: the times are taken 64 bits wide.
    const int64_t t = TimeOf(doc, m_position) - TimeOf(doc, 0);
    const double period = doc.GetSamplePeriodUs();
    CString offset = LoadResString(IDS_COMMENT_FROM_START) + FormatCommentSeconds(t, period);
    if (!ParseStart(whole, tm)) return m_text + L"\n" + offset;
    // The start's fraction to the microsecond, so that the moment's time is not off by the
    // start's own sub-millisecond part.
    int64_t m = 0;
    int digits = 0;
    for (; digits < fraction.GetLength() && digits < 6; ++digits) {
        const wchar_t c = fraction[digits];
        if (c < L'0' || c > L'9') break;
        m = m * 10 + (c - L'0');
    }
    for (int i = digits; i < 6; ++i) m *= 10;
    const int places = std::max(3, oscview::TimeDecimals(oscview::kSeconds, period));
    int64_t unit = 1;
    for (int i = places; i < 6; ++i) unit *= 10;
    // Rounded before it is split, so that 59.9996 s carries into the next minute.
    const int64_t u = oscview::DivRoundHalfUp(m + t, unit) * unit;
    const time_t base = timegm(&tm);
    const time_t at = base + time_t(FloorDiv(u, 1000000));
    std::tm out{};
    gmtime_r(&at, &out);
    CString when;
    when.Format(L"%02d.%02d.%04d %02d:%02d:%02d.%0*lld", out.tm_mday, out.tm_mon + 1, out.tm_year + 1900, out.tm_hour,
                out.tm_min, out.tm_sec, places, (long long)((u - FloorDiv(u, 1000000) * 1000000) / unit));
    return m_text + LoadResString(IDS_COMMENT_TIME) + when + offset;
}

// ------------------------------------------------------------------ level

bool LevelItem::IsValid(const DocumentModel& doc) const { return FindCommentChannel(doc, m_channel) != nullptr; }

bool LevelItem::FitsSamples(int64_t samples) const {
    return m_positionFrom >= 0 && m_positionFrom < samples && m_positionTo >= 0 && m_positionTo < samples;
}

double LevelItem::GetLevelFraction(const DocumentModel& doc) const {
    const CChannel* ch = nullptr;
    double low = 0, high = 0;
    if (!RangeOf(doc, m_channel, ch, low, high) || !(ch->m_flags & CHF_VISIBLE)) return -1.0;
    if (m_positionY < low || m_positionY > high) return -1.0;
    return FractionIn(m_positionY, low, high);
}

void LevelItem::SetLevelFromFraction(const DocumentModel& doc, double f) {
    const CChannel* ch = nullptr;
    double low = 0, high = 0;
    if (!RangeOf(doc, m_channel, ch, low, high)) return;
    m_positionY = low + (high - low) * f;
}

bool LevelItem::GetLinePlace(int leftWidth, double xScale, int64_t firstSample, const ChannelLayoutMap& layout,
                             const DocumentModel& doc, int& x1, int& x2, int& yl, bool forDrawing) const {
    const CChannel* ch = nullptr;
    double low = 0, high = 0;
    if (!RangeOf(doc, m_channel, ch, low, high) || !(ch->m_flags & CHF_VISIBLE)) return false;
    if (!(m_positionY >= low && m_positionY <= high)) return false;
    double f = FractionIn(m_positionY, low, high);
    if (f < 0) return false;
    if (forDrawing && ch->IsDiscrete()) f = f > 0.5 ? 1.0 : 0.0;
    x1 = CommentSampleX(m_positionFrom, leftWidth, firstSample, xScale);
    x2 = CommentSampleX(m_positionTo, leftWidth, firstSample, xScale);
    const auto row = layout.find(m_channel);
    yl = row == layout.end() ? 0 : LevelLineY(row->second, f);
    return true;
}

bool LevelItem::HitTest(int x, int y, int leftWidth, double xScale, int64_t firstSample, const ChannelLayoutMap& layout,
                        const DocumentModel& doc) const {
    int x1 = 0, x2 = 0, yl = 0;
    if (!GetLinePlace(leftWidth, xScale, firstSample, layout, doc, x1, x2, yl)) return false;
    // A line still being drawn leftwards is hit as well as one drawn rightwards.
    const int a = std::min(x1, x2), b = std::max(x1, x2);
    return x >= a - 10 && x < b + 10 && y >= yl - 10 && y < yl + 10;
}

bool LevelItem::HitTestRange(int64_t from, int64_t to, int& part) const {
    part = kNoPart;
    if (to >= m_positionFrom && m_positionTo >= from) {
        if (m_positionFrom >= from && m_positionFrom <= to) part = kStart;
        else if (m_positionTo >= from && m_positionTo <= to) part = kEnd;
        else part = kLevelLine;
    }
    return part != kNoPart;
}

void LevelItem::Draw(const CommentDrawContext& ctx, const DocumentModel& doc) const {
    int x1 = 0, x2 = 0, yl = 0;
    if (!ctx.layout ||
        !GetLinePlace(ctx.leftWidth, ctx.xScale, ctx.firstSample, *ctx.layout, doc, x1, x2, yl, true))
        return;
    yl += ctx.yOffset;
    CDC* dc = ctx.dc;
    const bool selected = ctx.selected == this;
    if (ctx.icons) ctx.icons->Draw(dc, 0, POINT{x2 + 10, yl - ctx.iconHeight / 2}, ILD_TRANSPARENT);
    CPen* oldPen = dc->GetCurrentPen();
    CBrush* oldBrush = dc->GetCurrentBrush();
    SelectPen(dc, selected ? ctx.selectedPen : ctx.widePen);
    dc->MoveTo(x1, yl);
    dc->LineTo(x2, yl);
    if (m_visible) {
        if (ctx.font) dc->SelectObject(ctx.font);
        const int oldMode = dc->SetBkMode(OPAQUE);
        const COLORREF oldColor = dc->SetTextColor(selected ? RGB(0, 0, 0) : RGB(128, 0, 0));
        RECT box{x1 + 5, yl + 5, x2 - 5, yl + 20};
        dc->DrawText(OneLine(GetTooltipText(doc)), &box, 0);
        dc->SetTextColor(oldColor);
        dc->SetBkMode(oldMode);
    }
    SelectPen(dc, ctx.thinPen);
    if (ctx.fillBrush) dc->SelectObject(ctx.fillBrush);
    for (int x : {x1, x2}) dc->Ellipse(x - 5, yl - 5, x + 5, yl + 5);
    dc->SelectObject(oldBrush);
    SelectPen(dc, oldPen);
}

void LevelItem::DrawLabel(const CommentDrawContext& ctx, const DocumentModel& doc) const {
    int x1 = 0, x2 = 0, yl = 0;
    if (!ctx.layout ||
        !GetLinePlace(ctx.leftWidth, ctx.xScale, ctx.firstSample, *ctx.layout, doc, x1, x2, yl, true))
        return;
    DrawTextBox(ctx.dc, doc, x2 + 3, yl + ctx.yOffset + ctx.iconHeight / 2);
}

void LevelItem::Save(SettingsNode* category) const {
    if (!category) return;
    CommentItem::Save(category);
    category->SetString(L"channel", m_channel);
    category->SetDouble(L"positionY", m_positionY);
    category->SetInt(L"positionFrom", m_positionFrom);
    category->SetInt(L"positionTo", m_positionTo);
}

bool LevelItem::Load(const SettingsNode* category) {
    if (!category) return true;
    bool ok = CommentItem::Load(category);
    m_channel = category->GetString(L"channel", CString());
    int from = 0, to = 0;
    ok = ReadDouble(*category, L"positionY", 0.0, m_positionY) && ok;
    ok = ReadInt(*category, L"positionFrom", 0, from) && ok;
    ok = ReadInt(*category, L"positionTo", 0, to) && ok;
    m_positionFrom = from;
    m_positionTo = to;
    return ok;
}

CString LevelItem::GetTooltipText(const DocumentModel& doc) const {
    const CChannel* ch = FindCommentChannel(doc, m_channel);
    if (!ch) return m_text;
    // The level with its channel's unit, as the level cursors show theirs.
    const bool cyrillic = !TheAppOptions().englishResources && !TenvorikStrings().IsEnglish();
    CString value;
    if (ch->m_flags & CHF_ADC_COUNTS) {
        value = FormatFixed(m_positionY, 2, false);
    } else {
        const ScaledValue v = ScaleValue(m_positionY, ch->GetUnitText(), 2, false, cyrillic);
        const CString unit = v.prefix + ch->GetRateUnitDisplayText();
        value = unit.IsEmpty() ? v.number : v.number + L" " + unit;
    }
    return m_text + LoadResString(IDS_COMMENT_LEVEL) + value;
}

// ------------------------------------------------------------------ area

bool AreaItem::IsValid(const DocumentModel& doc) const {
    return FindCommentChannel(doc, m_channelFrom) && FindCommentChannel(doc, m_channelTo);
}

bool AreaItem::FitsSamples(int64_t samples) const {
    return m_positionFrom >= 0 && m_positionFrom < samples && m_positionTo >= 0 && m_positionTo < samples;
}

void AreaItem::GetRect(int leftWidth, double xScale, int64_t firstSample, const ChannelLayoutMap& layout, int& left,
                       int& top, int& right, int& bottom) const {
    left = top = right = bottom = 0;
    const auto from = layout.find(m_channelFrom), to = layout.find(m_channelTo);
    if (from == layout.end() || to == layout.end()) return;
    const int xa = CommentSampleX(m_positionFrom, leftWidth, firstSample, xScale);
    const int xb = CommentSampleX(m_positionTo, leftWidth, firstSample, xScale);
    left = std::min(xa, xb);
    right = std::max(xa, xb);
    if (from->second.top <= to->second.top) {
        top = from->second.top;
        bottom = to->second.top + to->second.height;
    } else {
        top = to->second.top;
        bottom = from->second.top + from->second.height;
    }
}

bool AreaItem::HitTest(int x, int y, int leftWidth, double xScale, int64_t firstSample, const ChannelLayoutMap& layout,
                       const DocumentModel&) const {
    int l = 0, t = 0, r = 0, b = 0;
    GetRect(leftWidth, xScale, firstSample, layout, l, t, r, b);
    // An area whose rows are not on show is nowhere.
    if (l == 0 && t == 0 && r == 0 && b == 0) return false;
    const bool outer = x >= l - 10 && x < r + 10 && y >= t - 10 && y < b + 10;
    const bool inner = x >= l + 10 && x < r - 10 && y >= t + 10 && y < b - 10;
    return outer && !inner;
}

bool AreaItem::HitTestRange(int64_t from, int64_t to, int& part) const {
    part = kNoPart;
    if (m_positionFrom >= from && m_positionFrom <= to) part = kStart;
    else if (m_positionTo >= from && m_positionTo <= to) part = kEnd;
    return part != kNoPart;
}

void AreaItem::Draw(const CommentDrawContext& ctx, const DocumentModel& doc) const {
    if (!ctx.layout) return;
    int l = 0, t = 0, r = 0, b = 0;
    GetRect(ctx.leftWidth, ctx.xScale, ctx.firstSample, *ctx.layout, l, t, r, b);
    if (l == 0 && t == 0 && r == 0 && b == 0) return;
    t += ctx.yOffset;
    b += ctx.yOffset;
    CDC* dc = ctx.dc;
    const bool selected = ctx.selected == this;
    if (m_visible) {
        if (ctx.font) dc->SelectObject(ctx.font);
        const CString text = GetTooltipText(doc);
        RECT measure{l + 5, 0, r - 5, 0};
        dc->DrawText(text, &measure, DT_CALCRECT);
        const int h = measure.bottom - measure.top;
        const int oldMode = dc->SetBkMode(OPAQUE);
        const COLORREF oldColor = dc->SetTextColor(selected ? RGB(0, 0, 0) : RGB(128, 0, 0));
        // A narrow area does not cut its text: the box is as wide as the longest line.
        RECT box{l + 5, b - 5 - h, std::max(r - 5, int(measure.right)), b - 5};
        dc->DrawText(text, &box, DT_BOTTOM);
        dc->SetTextColor(oldColor);
        dc->SetBkMode(oldMode);
    }
    // Only the part that can be seen is blended: an area far wider than the window costs
    // what the window has pixels.
    const int cl = std::max(l, ctx.leftWidth - 5), cr = std::min(r, ctx.right + 5);
    const int ct = std::max(t, -5), cb = std::min(b, ctx.bottom + 5);
    if (cr > cl && cb > ct) {
        CDC mem;
        CBitmap bmp;
        if (mem.CreateCompatibleDC(dc) && bmp.CreateCompatibleBitmap(dc, cr - cl, cb - ct)) {
            CBitmap* oldBmp = mem.SelectObject(&bmp);
            SelectPen(&mem, ctx.widePen);
            if (ctx.fillBrush) mem.SelectObject(ctx.fillBrush);
            mem.Rectangle(l - cl, t - ct, r - cl, b - ct);
            BLENDFUNCTION blend;
            blend.SourceConstantAlpha = 64;
            dc->AlphaBlend(cl, ct, cr - cl, cb - ct, &mem, 0, 0, cr - cl, cb - ct, blend);
            mem.SelectObject(oldBmp);
        }
    }
    CPen* oldPen = dc->GetCurrentPen();
    CBrush* oldBrush = dc->GetCurrentBrush();
    SelectPen(dc, selected ? ctx.selectedPen : ctx.widePen);
    dc->SelectStockObject(NULL_BRUSH);
    dc->Rectangle(l, t, r, b);
    dc->SelectObject(oldBrush);
    SelectPen(dc, oldPen);
}

void AreaItem::DrawLabel(const CommentDrawContext& ctx, const DocumentModel& doc) const {
    if (!ctx.layout) return;
    int l = 0, t = 0, r = 0, b = 0;
    GetRect(ctx.leftWidth, ctx.xScale, ctx.firstSample, *ctx.layout, l, t, r, b);
    if (l == 0 && t == 0 && r == 0 && b == 0) return;
    DrawTextBox(ctx.dc, doc, r + 3, t + ctx.yOffset);
}

void AreaItem::Save(SettingsNode* category) const {
    if (!category) return;
    CommentItem::Save(category);
    category->SetInt(L"positionFrom", m_positionFrom);
    category->SetInt(L"positionTo", m_positionTo);
    category->SetString(L"channelFrom", m_channelFrom);
    category->SetString(L"channelTo", m_channelTo);
}

bool AreaItem::Load(const SettingsNode* category) {
    if (!category) return true;
    bool ok = CommentItem::Load(category);
    int from = 0, to = 0;
    ok = ReadInt(*category, L"positionFrom", 0, from) && ok;
    ok = ReadInt(*category, L"positionTo", 0, to) && ok;
    m_positionFrom = from;
    m_positionTo = to;
    m_channelFrom = category->GetString(L"channelFrom", CString());
    m_channelTo = category->GetString(L"channelTo", CString());
    return ok;
}

CString AreaItem::GetTooltipText(const DocumentModel& doc) const {
    const int64_t a = TimeOf(doc, m_positionFrom), b = TimeOf(doc, m_positionTo);
    return m_text + LoadResString(IDS_COMMENT_DURATION) + FormatCommentSeconds(a > b ? a - b : b - a, doc.GetSamplePeriodUs());
}
