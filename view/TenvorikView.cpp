#include "view/TenvorikView.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cwctype>

#include "document/TenvorikDoc.h"
#include "model/Parallel.h"
#include "model/SettingsStore.h"
#include "view/ViewZoom.h"

namespace oscview {

// ------------------------------------------------------------------ settings and scrolling

double SaneXScale(double xscale, double fallback) {
    if (!std::isfinite(xscale) || !(xscale > 0)) return fallback;
    // Beyond these a sample is either wider than any screen or thinner than any record needs.
    return std::clamp(xscale, std::ldexp(1.0, -40), 64.0);
}

int SaneAnalogSize(int size) {
    if (size < 1) return 93;
    return std::min(size, 5000);
}

int SaneTimeUnit(int unit) { return unit >= 0 && unit <= 4 ? unit : 1; }

HorizontalScroll ComputeHorizontalScroll(int64_t n, int64_t v, int64_t first) {
    HorizontalScroll h;
    if (n > v && v >= 0) {
        const int64_t span = n - v;
        h.page = v * 10000 / span;
        h.max = 10000 + h.page;
        h.pos = std::min<int64_t>(first * 10000 / span + 1, 10000);
        if (first <= 0) h.pos = std::max<int64_t>(h.pos, 0);
    }
    return h;
}

void ApplyHorizontalScroll(int code, int64_t thumb, int64_t n, int64_t v, int64_t& pos, int64_t& first) {
    const int64_t span = n - v;
    if (n <= 0 || span <= 0) return;  // nothing to scroll
    const int64_t step = std::max<int64_t>(v, 0) * 10000 / n;
    switch (code) {
        case kLineUp:
        case kPageUp:
            pos = std::max<int64_t>(0, pos - step);
            first = span * pos / 10000;
            break;
        case kLineDown:
        case kPageDown:
            pos += step;
            first = span * std::min<int64_t>(pos, 20000) / 10000;
            if (first > span) {
                pos = 10000;
                first = span;
            }
            break;
        case kThumbPosition:
        case kThumbTrack:
            pos = std::clamp<int64_t>(thumb, 0, 10000);
            first = span * pos / 10000;
            break;
        case kTop:
        case kBottom:
            pos = thumb;
            break;
        default: return;
    }
}

// ------------------------------------------------------------------ base view

namespace {

void MakeFont(CFont& font, int height, int weight) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = 0;
    lf.lfPitchAndFamily = 32;
    wcsncpy(lf.lfFaceName, L"Tahoma", 31);
    font.CreateFontIndirect(&lf);
}

int TextHeight(CFont& font) {
    CScreenDC dc;
    dc.SelectObject(&font);
    return dc.GetTextExtent(CString(L"Ay")).cy;
}

}  // namespace

CBaseView::CBaseView() {
    MakeFont(m_heavyFont, 15, 900);
    MakeFont(m_boldFont, 15, 700);
    MakeFont(m_smallFont, 13, 400);
    m_captionLineHeight = TextHeight(m_boldFont);
    m_smallLineHeight = TextHeight(m_smallFont);
    m_memDC.CreateCompatibleDC(nullptr);
}

CBaseView::~CBaseView() = default;

void CBaseView::OnDraw(CDC* target, int cx, int cy) {
    if (cx <= 0 || cy <= 0) return;
    // The picture grows with the largest client the view has had and is never shrunk.
    CSize have = m_bitmap.IsCreated() ? m_bitmap.GetSize() : CSize(0, 0);
    if (have.cx < cx || have.cy < cy) {
        m_memDC.SelectObject(static_cast<CBitmap*>(nullptr));
        m_bitmap.DeleteObject();
        m_bitmap.CreateCompatibleBitmap(&m_memDC, std::max<int>(cx, have.cx), std::max<int>(cy, have.cy));
    }
    m_memDC.SelectObject(&m_bitmap);
    DrawContent(&m_memDC, cx, cy);
    if (target) target->BitBlt(0, 0, cx, cy, &m_memDC, 0, 0, SRCCOPY);
}

// ------------------------------------------------------------------ the view

CTenvorikView::CTenvorikView(CTenvorikDoc* doc, ViewHost* host) : m_doc(doc), m_host(host) {}

CTenvorikView::~CTenvorikView() {
    if (m_doc && m_doc->m_cursors.m_view == this) m_doc->m_cursors.m_view = nullptr;
    if (m_doc && m_doc->m_comments.GetView() == this) m_doc->m_comments.SetView(nullptr);
}

SettingsNode& CTenvorikView::ViewSettings() const { return m_doc->m_settings.GetCategory(L"View"); }

void CTenvorikView::OnInitialUpdate() {
    if (!m_doc) return;
    m_doc->m_cursors.m_view = this;
    m_doc->m_comments.SetView(this);
    SettingsNode& view = ViewSettings();
    const double fit = 2 * GetFitScale();
    m_xScale = SaneXScale(view.GetDouble(L"XScale", fit), SaneXScale(fit, 1.0));
    m_timeUnit = SaneTimeUnit(view.GetInt(L"RulerState", 1));
    m_analogSize = SaneAnalogSize(view.GetInt(L"YAnalogSize", 93));
    // Any integer but 0 turns the grid on; a text that is no integer is no setting at all.
    CString sells = view.GetString(L"Sells", L"1");
    sells.Trim();
    bool integer = !sells.IsEmpty();
    for (int i = 0; i < sells.GetLength(); ++i)
        if (!(iswdigit(sells[i]) || (i == 0 && (sells[i] == L'-' || sells[i] == L'+')))) integer = false;
    m_grid = integer ? view.GetInt(L"Sells", 1) != 0 : true;
    OnUpdate();
}

void CTenvorikView::OnUpdate() {
    // The summaries stay: each is rebuilt on the next paint only where its curve changed.
    RecalcLayout();
    if (m_host) m_host->Invalidate();
}

void CTenvorikView::OnSize(int cx, int cy) {
    // A view showing the record's end keeps showing it when its width changes, as when a
    // scroll bar comes: a cursor placed on the last samples stays in view.
    const int64_t n = m_doc ? m_doc->m_oscillogram.GetSampleCount() : 0;
    const bool atEnd = n > 0 && m_visibleSpan > 0 && m_visibleSpan < n && m_firstSample >= n - m_visibleSpan;
    m_clientWidth = std::max(cx, 0);
    m_clientHeight = std::max(cy, 0);
    RecalcLayout();
    if (atEnd && m_visibleSpan < n && m_firstSample != n - m_visibleSpan) {
        m_firstSample = n - m_visibleSpan;
        RecalcLayout();
    }
}

void CTenvorikView::OnActivateView(bool activate) {
    if (!activate || !m_doc) return;
    m_doc->UpdateFaultLocationBar();
    m_doc->m_cursors.UpdateReadouts();
}

void CTenvorikView::SetXScale(double xscale) {
    m_xScale = SaneXScale(xscale, m_xScale);
    ViewSettings().SetDouble(L"XScale", m_xScale);
    m_doc->SetModifiedFlag();
    RecalcLayout();
}

void CTenvorikView::SetTimeUnit(int unit) {
    m_timeUnit = SaneTimeUnit(unit);
    ViewSettings().SetInt(L"RulerState", m_timeUnit);
    m_doc->SetModifiedFlag();
}

void CTenvorikView::SetAnalogSize(int size) {
    m_analogSize = SaneAnalogSize(size);
    ViewSettings().SetInt(L"YAnalogSize", m_analogSize);
    m_doc->SetModifiedFlag();
    RecalcLayout();
}

void CTenvorikView::SetGrid(bool grid) {
    m_grid = grid;
    ViewSettings().SetInt(L"Sells", grid ? 1 : 0);
    m_doc->SetModifiedFlag();
}

double CTenvorikView::GetFitScale() const {
    const int64_t n = m_doc ? m_doc->m_oscillogram.GetSampleCount() : 0;
    if (n <= 0 || m_doc->m_oscillogram.m_channels.empty()) return 1.0;
    float r = float(m_clientWidth) / (25.0f * float(n));
    float p = 1.0f;
    // A view without width fits nothing; the loop still ends at the smallest scale kept.
    while (p > r && p > float(std::ldexp(1.0, -40))) p /= 2;
    return p;
}

void CTenvorikView::RecalcLayout() {
    if (!m_doc) return;
    const int64_t n = m_doc->m_oscillogram.GetSampleCount();
    m_visibleSpan = VisibleSpan(m_clientWidth - m_leftWidth, m_xScale);
    HorizontalScroll h = ComputeHorizontalScroll(n, m_visibleSpan, m_firstSample);
    m_hScrollPos = h.pos;
    if (m_host) m_host->SetScrollBar(true, 0, h.max, h.page, h.pos);
    if (m_visibleSpan > n - m_firstSample) m_firstSample = n - m_visibleSpan;
    m_firstSample = std::max<int64_t>(m_firstSample, 0);
    const int64_t content = int64_t(GetDiscreteHeight()) + GetAnalogHeight();
    const int64_t available = int64_t(m_clientHeight) - GetBottomBand() + 2;
    // Rows scrolled to their end stay there when the window changes its height (a scroll bar
    // coming or going), so the last row stays reachable.
    const bool atEnd = m_vScrollPos > 0 && m_vScrollPos >= m_vScrollEnd;
    m_vScrollEnd = std::max<int64_t>(content - std::max<int64_t>(available, 0), 0);
    if (content > available) {
        m_vScrollPos = atEnd ? m_vScrollEnd : std::clamp<int64_t>(m_vScrollPos, 0, m_vScrollEnd);
        if (m_host) m_host->SetScrollBar(false, 0, content, std::max<int64_t>(available, 0), m_vScrollPos);
        m_yOffset = int(-m_vScrollPos);
    } else {
        m_vScrollPos = 0;
        if (m_host) m_host->SetScrollBar(false, 0, 0, 0, 0);
        m_yOffset = 0;
    }
}

void CTenvorikView::OnHScroll(int code, int64_t thumb) {
    if (code == kEndScroll || !m_doc) return;
    const int64_t n = m_doc->m_oscillogram.GetSampleCount();
    ApplyHorizontalScroll(code, thumb, n, m_visibleSpan, m_hScrollPos, m_firstSample);
    if (m_host) {
        HorizontalScroll h = ComputeHorizontalScroll(n, m_visibleSpan, m_firstSample);
        m_host->SetScrollBar(true, 0, h.max, h.page, m_hScrollPos);
        m_host->Invalidate();
    }
}

void CTenvorikView::OnVScroll(int code, int64_t thumb) {
    if (code == kEndScroll) return;
    const int64_t content = int64_t(GetDiscreteHeight()) + GetAnalogHeight();
    const int64_t available = int64_t(m_clientHeight) - GetBottomBand() + 2;
    // A line is a row, a page what the rows' area shows.
    const int64_t page = std::max<int64_t>(available, RowStep());
    int64_t pos = m_vScrollPos;
    if (code == kLineUp) pos -= RowStep();
    else if (code == kLineDown) pos += RowStep();
    else if (code == kPageUp) pos -= page;
    else if (code == kPageDown) pos += page;
    else pos = thumb;
    int64_t offset = pos > 0 ? -pos : 0;
    if (content > available) offset = std::max(offset, -(content - available));
    else offset = 0;
    m_vScrollPos = -offset;
    m_yOffset = int(offset);
    if (m_host) {
        m_host->SetScrollBar(false, 0, content > available ? content : 0, content > available ? std::max<int64_t>(available, 0) : 0,
                             m_vScrollPos);
        m_host->Invalidate();
    }
}

bool CTenvorikView::OnScroll(unsigned code, int64_t position, bool doScroll) {
    const int64_t old = m_hScrollPos;
    int64_t wanted = old;
    switch (code & 0xFF) {
        case kThumbTrack: wanted = position; break;
        case kTop: wanted = 0; break;
        case kBottom: wanted = INT32_MAX; break;
        default: break;
    }
    const unsigned vertical = (code >> 8) & 0xFF;
    const int dy = vertical == kLineUp ? 1 : vertical == kLineDown ? -1 : 0;
    const bool scrolled = OnScrollBy(wanted - old, dy, doScroll);
    if (scrolled && doScroll && m_host) m_host->RepaintNow();
    return scrolled;
}

bool CTenvorikView::OnScrollBy(int64_t, int dy, bool doScroll) {
    // A request with no vertical step scrolls nothing; only a change is passed on, so that
    // holding a drag still at the end of the rows costs no reloading.
    if (!doScroll || dy == 0) return false;
    const int before = m_yOffset;
    OnVScroll(dy > 0 ? kLineUp : kLineDown, 0);
    if (m_yOffset == before) return false;
    if (m_doc) m_doc->UpdateAllViews();
    if (m_host) {
        m_host->UpdateDiagrams();
        m_host->RepaintNow();
    }
    return true;
}

// ------------------------------------------------------------------ rows

std::vector<CChannel*> CTenvorikView::GetStripMembers(const CChannel& ch) const {
    std::vector<CChannel*> members;
    if (!m_doc || m_doc->m_channelGroups.empty()) return members;
    CString key = m_doc->FindChannelGroup(ch.m_fileName);
    if (key.IsEmpty()) return members;
    auto it = m_doc->m_channelGroups.find(key);
    if (it == m_doc->m_channelGroups.end()) return members;
    // A group may name a channel that is gone; only existing, visible channels are members.
    for (CChannel& c : m_doc->m_oscillogram.m_channels)
        if ((c.m_flags & CHF_VISIBLE) && it->second.count(c.m_fileName)) members.push_back(&c);
    return members;
}

namespace {
constexpr uint32_t kCaptionFlags = CHF_SHOW_MINMAX | CHF_SHOW_RMS | CHF_SHOW_HARMONIC;
}

int CTenvorikView::GetCaptionBlockHeight(const CChannel& ch) const {
    return m_captionLineHeight + 33 + ((ch.m_flags & kCaptionFlags) ? m_smallLineHeight : 0);
}

int CTenvorikView::GetChannelHeight(const CChannel& ch) const {
    if (!(ch.m_flags & CHF_VISIBLE)) return 0;
    if (ch.IsDiscrete()) return 20;
    const int L = m_captionLineHeight;
    std::vector<CChannel*> members = GetStripMembers(ch);
    if (!members.empty()) {
        const CChannel* head = nullptr;
        for (const CChannel* m : members)
            if (!m->IsDiscrete()) {
                head = m;
                break;
            }
        if (head == &ch) return std::max(int(members.size()) * GetCaptionBlockHeight(ch), m_analogSize);
        if (head) return 0;
    }
    int h = L + 10;
    if (ch.m_flags & CHF_SHOW_MINMAX) h += 2 * L;
    if (ch.m_flags & CHF_SHOW_RMS) h += L;
    if (ch.m_flags & CHF_SHOW_HARMONIC) h += L;
    if (ch.IsScaledByRatio() || (ch.m_flags & (CHF_INVERT | CHF_REMOVE_DC | CHF_CURVE_RMS | CHF_CURVE_HARMONIC))) h += 23;
    return std::max(h, m_analogSize);
}

int CTenvorikView::GetChannelHeightAt(int index) const {
    if (!m_doc || index < 0 || size_t(index) >= m_doc->m_oscillogram.m_channels.size()) return 0;
    return GetChannelHeight(m_doc->m_oscillogram.m_channels[size_t(index)]);
}

int CTenvorikView::GetAnalogHeight() const {
    if (!m_doc) return 0;
    const auto& chs = m_doc->m_oscillogram.m_channels;
    int64_t h = 0;
    const size_t analog = std::min(chs.size(), size_t(std::max(m_doc->m_oscillogram.m_analogCount, 0)));
    for (size_t i = 0; i < analog; ++i) h += GetChannelHeight(chs[i]);
    return int(std::min<int64_t>(h, INT_MAX / 4));
}

int CTenvorikView::GetDiscreteHeight() const {
    if (!m_doc) return 0;
    const auto& chs = m_doc->m_oscillogram.m_channels;
    int n = 0;
    for (size_t i = size_t(std::max(m_doc->m_oscillogram.m_analogCount, 0)); i < chs.size(); ++i)
        if (chs[i].m_flags & CHF_VISIBLE) ++n;
    return 20 * n;
}

bool CTenvorikView::ShowsDifferencePanel() const { return m_doc && m_doc->m_showCursorDifference; }

int CTenvorikView::GetBottomBand() const { return ShowsDifferencePanel() ? 75 : 30; }

int CTenvorikView::GetContentHeight() const {
    return GetAnalogHeight() + GetBottomBand() + 20 * (m_doc ? m_doc->m_oscillogram.m_discreteCount : 0);
}

int CTenvorikView::GetContentWidth() const {
    const int64_t n = m_doc ? m_doc->m_oscillogram.GetSampleCount() : 0;
    double w = std::trunc(double(n) * m_xScale * 25 + m_leftWidth);
    return int(std::clamp(w, 0.0, double(INT_MAX)));
}

CChannel* CTenvorikView::ChannelFromPoint(int x, int contentY) const {
    if (!m_doc || x <= m_leftWidth || x >= m_clientWidth || m_doc->m_oscillogram.m_channels.empty()) return nullptr;
    int64_t top = 0;
    for (CChannel& ch : m_doc->m_oscillogram.m_channels) {
        if (!(ch.m_flags & CHF_VISIBLE)) continue;
        const int h = GetChannelHeight(ch);
        if (top <= contentY && contentY < top + h) return &ch;
        top += h;
    }
    return nullptr;
}

bool CTenvorikView::IsPastedChannelAt(CPoint p) const {
    if (!m_doc) return false;
    const int64_t y = int64_t(p.y) - m_yOffset;
    int64_t top = 0;
    for (const CChannel& ch : m_doc->m_oscillogram.m_channels) {
        if (!(ch.m_flags & CHF_VISIBLE)) continue;
        const int h = GetChannelHeight(ch);
        if (h <= 0) continue;
        top += h;
        if (top > y) return ch.HasOwnTimeBase();
    }
    return false;
}

void CTenvorikView::GetStripRange(int index, double& low, double& high) const {
    low = high = 0;
    if (!m_doc || index < 0 || size_t(index) >= m_doc->m_oscillogram.m_channels.size()) return;
    const CChannel& ch = m_doc->m_oscillogram.m_channels[size_t(index)];
    ch.GetDisplayRange(low, high);
    // A strip's members are drawn on the lowest low and the highest high among them.
    for (const CChannel* m : GetStripMembers(ch)) {
        double lo, hi;
        m->GetDisplayRange(lo, hi);
        low = std::min(low, lo);
        high = std::max(high, hi);
    }
}

// ------------------------------------------------------------------ frame around the view

void CTenvorikView::SetStatusPaneText(int pane, const CString& text) {
    if (m_host) m_host->SetStatusPaneText(pane, text);
}

void CTenvorikView::UpdateDiagrams() {
    if (m_host) m_host->UpdateDiagrams();
}

void CTenvorikView::OnLocatorCursors(int first, int last) {
    // A fault-location result on show follows the window between В1 and В2.
    if (m_doc) m_doc->OnVerticalCursorsMoved();
    if (m_host) m_host->OnLocatorCursors(first, last);
}

// ------------------------------------------------------------------ painting

const std::vector<const CurveSummary*>& CTenvorikView::Summaries() {
    auto& chs = m_doc->m_oscillogram.m_channels;
    if (m_summaryStore.size() != chs.size()) {
        // Those the document made while the record was read are taken; each is checked
        // against its curve below like any other.
        if (m_doc->m_preparedSummaries.size() == chs.size()) m_summaryStore = std::move(m_doc->m_preparedSummaries);
        else m_summaryStore.assign(chs.size(), CurveSummary());
        m_summaries.assign(chs.size(), nullptr);
    }
    m_doc->m_preparedSummaries.clear();
    std::vector<size_t> stale;
    for (size_t i = 0; i < chs.size(); ++i) {
        bool wanted = CurveSummary::Wanted(chs[i]);
        if (!wanted) m_summaries[i] = nullptr;
        else if (!m_summaryStore[i].Matches(chs[i])) stale.push_back(i);
        else m_summaries[i] = &m_summaryStore[i];
    }
    if (!stale.empty()) {
        tv::ParallelSlices(stale.size(), tv::WorkerCount(), [&](unsigned, size_t b, size_t e) {
            for (size_t k = b; k < e; ++k) m_summaryStore[stale[k]].Build(chs[stale[k]]);
        });
        for (size_t i : stale) m_summaries[i] = &m_summaryStore[i];
    }
    return m_summaries;
}

namespace {
bool IsPictureDC(const CDC* dc) { return dc->IsPrinting() || dc->GetMapMode() != MM_TEXT; }
}  // namespace

int64_t CTenvorikView::PrintSlice() const {
    const int width = m_printWidth > 0 ? m_printWidth : m_clientWidth;
    if (m_printPageWidth <= 0 || m_printPageHeight <= 0 || width <= 0) return 0;
    return int64_t(width) * m_printPageHeight / m_printPageWidth;
}

RowPager CTenvorikView::PagerFor(const CDC* dc) const {
    if (!IsPictureDC(dc)) return RowPager();
    return RowPager(PrintSlice(), GetBottomBand());
}

void CTenvorikView::DrawContent(CDC* dc, int cx, int cy) {
    if (!dc || !m_doc) return;
    const int y0 = IsPictureDC(dc) ? 0 : m_yOffset;
    MeasureCaptionColumn(dc);
    DrawBackground(dc, cx, cy, y0);
    DrawChannelCaptions(dc, y0);
    DrawChannelCurves(dc, cx, cy, y0);
    DrawTimeAxis(dc, cx, cy);
    if (ShowsDifferencePanel()) DrawDifferencePanel(dc, cx, cy);
    dc->SelectObject(&m_smallFont);
    m_doc->m_cursors.Draw(dc, cx, cy, y0, m_leftWidth, m_firstSample, m_xScale);
    m_doc->m_comments.Draw(dc, cx, cy, y0, m_leftWidth, m_firstSample, m_xScale);
    if (m_mouseMode == 8 && int(m_measureY1) != int(m_measureY2)) {
        CPen pen(PS_SOLID, 2, RGB(255, 100, 100));
        CPen* old = dc->SelectObject(&pen);
        const int x = int(m_measureX), ya = int(m_measureY1) + y0, yb = int(m_measureY2) + y0;
        dc->MoveTo(x, ya);
        dc->LineTo(x, yb);
        dc->MoveTo(x - 5, ya);
        dc->LineTo(x + 5, ya);
        dc->MoveTo(x - 5, yb);
        dc->LineTo(x + 5, yb);
        dc->SelectObject(old);
    }
}

void CTenvorikView::DrawChannelCurves(CDC* dc, int cx, int cy, int top) {
    auto& chs = m_doc->m_oscillogram.m_channels;
    const RowPager pager = PagerFor(dc);
    if (top < cy)
        for (CChannel& ch : chs) ch.m_drawn = false;
    const auto& summaries = Summaries();
    const double shiftUs = m_doc->m_pasteTimeShift * 1e6;
    int64_t y = top;
    for (size_t i = 0; i < chs.size() && y < cy; ++i) {
        CChannel& ch = chs[i];
        if (!(ch.m_flags & CHF_VISIBLE) || ch.m_drawn) continue;
        std::vector<CChannel*> members = GetStripMembers(ch);
        const int h = GetChannelHeight(ch);
        int64_t axisY = 0;
        if (pager.Place(y, h, &axisY)) DrawTimeAxis(dc, cx, int(axisY));
        // Rows scrolled up out of the picture cost nothing.
        if (y + h <= 0) {
            for (CChannel* m : members) m->m_drawn = true;
            y += h;
            continue;
        }
        CurveStrip strip;
        strip.dc = dc;
        strip.right = cx;
        strip.first = m_firstSample;
        strip.top = int(y);
        strip.left = m_leftWidth;
        strip.height = h;
        strip.timeShiftUs = shiftUs;
        strip.xscale = m_xScale;
        if (members.empty()) {
            strip.summary = i < summaries.size() ? summaries[i] : nullptr;
            ch.Draw(strip);
        } else {
            for (CChannel* m : members) m->m_drawn = true;
            std::vector<const CChannel*> list(members.begin(), members.end());
            m_doc->m_oscillogram.DrawChannels(strip, list, &summaries);
        }
        y += h;
    }
}

}  // namespace oscview
