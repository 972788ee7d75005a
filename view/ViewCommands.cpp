// Commands of the view: zoom on both axes, the wheel, measuring a row to zoom it, time units,
// the grid, the cursor commands and the channel display commands it hands to the record.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <set>

#include "document/TenvorikDoc.h"
#include "platform/CmdUI.h"
#include "view/TenvorikView.h"
#include "view/ViewZoom.h"

namespace oscview {

namespace {

bool IsZoomCommand(unsigned id) { return id >= ID_ZOOM_VERTICAL_IN && id <= ID_ZOOM_HORIZONTAL_OUT; }

int TimeUnitOf(unsigned id) {
    switch (id) {
        case ID_TIME_MICROSECONDS: return 0;
        case ID_TIME_MILLISECONDS: return 1;
        case ID_TIME_SECONDS: return 2;
        case ID_TIME_ABSOLUTE: return 3;
        case ID_TIME_SAMPLES: return 4;
        default: return -1;
    }
}

bool IsCursorCommand(unsigned id) {
    return id == ID_CURSOR_V1 || id == ID_CURSOR_V2 || id == ID_CURSOR_V3 || id == ID_CURSOR_H1 || id == ID_CURSOR_H2;
}


void ResetVerticalZoom(CChannel& ch) {
    ch.m_zoomed = false;
    ch.m_zoomFrom = 0.0;
    ch.m_zoomTo = 1.0;
    ch.m_zoomLow = 0.0;
    ch.m_zoomHigh = 1.0;
    ch.m_scaleMode = 0;
}

}  // namespace

bool CTenvorikView::OnViewCommand(unsigned id) {
    if (!m_doc) return false;
    if (IsZoomCommand(id)) {
        OnZoomCommand(id);
    } else if (TimeUnitOf(id) >= 0 || id == ID_GRID) {
        OnTimeCommand(id);
    } else if (id == ID_ZOOM_SELECTED_AREA) {
        OnZoomSelectedArea();
    } else if (id == ID_RESTORE_SIZE) {
        OnRestoreSize();
    } else if (IsCursorCommand(id)) {
        OnToggleCursorCommand(id);
    } else if (OnChannelCommand(id)) {
        // The channel commands are the record's (ViewChannels.cpp).
    } else {
        return false;
    }
    return true;
}

ViewCommandState CTenvorikView::GetViewCommandState(unsigned id) const {
    ViewCommandState s;
    if (!m_doc) return s;
    s.known = true;
    switch (id) {
        case ID_ZOOM_VERTICAL_IN: s.enabled = m_analogSize < kMaxZoomAnalogSize; return s;
        case ID_ZOOM_VERTICAL_OUT: s.enabled = m_analogSize > kMinZoomAnalogSize; return s;
        case ID_ZOOM_HORIZONTAL_IN: s.enabled = m_xScale < kMaxXScale; return s;
        case ID_ZOOM_HORIZONTAL_OUT: s.enabled = m_xScale > GetFitScale(); return s;
        case ID_ZOOM_SELECTED_AREA: s.checked = m_mouseMode == 7 || m_mouseMode == 8; return s;
        case ID_RESTORE_SIZE: return s;
        case ID_GRID: s.checked = m_grid; return s;
        default: break;
    }
    if (TimeUnitOf(id) >= 0) {
        s.checked = TimeUnitOf(id) == m_timeUnit;
        return s;
    }
    if (IsCursorCommand(id)) {
        s.checked = m_doc->m_cursors.IsCursorShown(id);
        return s;
    }
    CCmdUI ui(id);
    s.known = UpdateChannelCommandUI(ui);
    s.enabled = ui.m_enabled;
    s.checked = ui.m_check != 0 || (ui.m_radioSet && ui.m_radio);
    return s;
}

void CTenvorikView::OnZoomCommand(unsigned id) {
    if (!m_doc) return;
    if (id == ID_ZOOM_VERTICAL_IN || id == ID_ZOOM_VERTICAL_OUT) {
        // The shown level cursor keeps its height on the screen.
        int anchor = 0;
        const CursorSet& cursors = m_doc->m_cursors;
        for (int k : {3, 4}) {
            const CursorMarker& m = cursors.m_cursors[size_t(k)];
            if (!m.shown) continue;
            anchor = cursors.ValueToY(m.channel, m_yOffset, m.level);
            break;
        }
        const VerticalZoom z = ZoomVertical(id == ID_ZOOM_VERTICAL_IN, m_analogSize, m_yOffset, anchor);
        m_analogSize = z.analogSize;
        m_yOffset = z.offset;
        m_vScrollPos = -int64_t(z.offset);
        // The anchor decides the place, not the rows' end.
        m_vScrollEnd = INT64_MAX;
    } else {
        // The first shown vertical cursor keeps its sample on the screen.
        int64_t anchor = -1;
        for (int k = 0; k < 3; ++k)
            if (m_doc->m_cursors.m_cursors[size_t(k)].shown) {
                anchor = m_doc->m_cursors.m_cursors[size_t(k)].position;
                break;
            }
        const HorizontalZoom z = ZoomHorizontal(id == ID_ZOOM_HORIZONTAL_IN, m_xScale, GetFitScale(), m_firstSample, anchor,
                                                m_doc->GetOscillogram().GetSampleCount(), m_clientWidth - m_leftWidth);
        m_xScale = z.xscale;
        m_firstSample = z.first;
    }
    // Written even when a limit refused the step.
    SettingsNode& view = ViewSettings();
    view.SetDouble(L"XScale", m_xScale);
    view.SetInt(L"YAnalogSize", m_analogSize);
    m_doc->SetModifiedFlag();
    RecalcLayout();
    Invalidate();
}

void CTenvorikView::OnTimeCommand(unsigned id) {
    if (!m_doc) return;
    if (id == ID_GRID) m_grid = !m_grid;
    else m_timeUnit = TimeUnitOf(id);
    SettingsNode& view = ViewSettings();
    view.SetInt(L"Sells", m_grid ? 1 : 0);
    view.SetInt(L"RulerState", m_timeUnit);
    m_doc->SetModifiedFlag();
    Invalidate();
    m_doc->m_cursors.UpdateReadouts();
}

void CTenvorikView::OnZoomSelectedArea() {
    // A comment tool armed before gives way to the measurement.
    if (m_doc) {
        m_doc->m_comments.m_tool = 0;
        m_doc->m_comments.m_step = 0;
    }
    if (m_mouseMode == 0) m_mouseMode = 7;
    Invalidate();
}

void CTenvorikView::OnRestoreSize() {
    if (!m_doc) return;
    COscillogram& osc = m_doc->GetOscillogram();
    std::set<CChannel*> reset;
    const size_t analog = std::min(osc.m_channels.size(), size_t(std::max(osc.m_analogCount, 0)));
    for (size_t i = 0; i < analog; ++i) {
        CChannel& ch = osc.m_channels[i];
        if (!ch.m_selected || !ch.m_zoomed) continue;
        reset.insert(&ch);
        for (CChannel* m : GetStripMembers(ch)) reset.insert(m);
    }
    for (CChannel* ch : reset) ResetVerticalZoom(*ch);
    if (!reset.empty()) Invalidate();
}

void CTenvorikView::OnMouseWheel(int rotation, bool alt, bool ctrl, bool shift, bool sideways) {
    if (!m_doc || rotation == 0) return;
    if (alt || ctrl || shift || sideways) {
        // Zoom and paging act per notch; a smooth wheel's small turns add up to one.
        m_wheelRest += rotation;
        while (m_wheelRest >= 120 || m_wheelRest <= -120) {
            const int d = m_wheelRest > 0 ? 120 : -120;
            m_wheelRest -= d;
            if (alt) OnZoomCommand(d <= 0 ? ID_ZOOM_VERTICAL_OUT : ID_ZOOM_VERTICAL_IN);
            else if (ctrl) OnZoomCommand(d <= 0 ? ID_ZOOM_HORIZONTAL_OUT : ID_ZOOM_HORIZONTAL_IN);
            else OnHScroll(d <= 0 ? kPageDown : kPageUp, 0);
        }
        return;
    }
    m_wheelRest = 0;
    const int64_t content = int64_t(GetDiscreteHeight()) + GetAnalogHeight();
    const int64_t available = int64_t(m_clientHeight) - GetBottomBand() + 2;
    m_vScrollPos = WheelVerticalPosition(m_vScrollPos, rotation, RowStep(), content, available);
    m_yOffset = int(-m_vScrollPos);
    if (m_host) {
        const bool range = content > available;
        m_host->SetScrollBar(false, 0, range ? content : 0, range ? std::max<int64_t>(available, 0) : 0, m_vScrollPos);
    }
    Invalidate();
}

void CTenvorikView::ShowSamples(int64_t a, int64_t b) {
    if (!m_doc) return;
    if (a > b) std::swap(a, b);
    const int64_t n = m_doc->GetOscillogram().GetSampleCount();
    // A cursor's label is centred on its line: the window is shown with room for half a label
    // and a little more on either side; one wider than the view is zoomed out to, below the
    // scale that fits the record to the window if its caption column asks for it.
    constexpr double kLabelRoom = 24.0;
    auto margin = [this] { return int64_t(std::ceil(kLabelRoom / (25.0 * m_xScale))); };
    auto span = [this] { return VisibleSpan(m_clientWidth - m_leftWidth, m_xScale); };
    const double xscale = m_xScale;
    while (m_xScale > 1e-12 && b - a + 2 * margin() > span()) m_xScale /= 2;
    if (m_xScale != xscale) SetXScale(m_xScale);
    m_visibleSpan = span();
    const int64_t m = margin();
    m_firstSample = FirstSampleShowing(std::max<int64_t>(a - m, 0), std::min<int64_t>(b + m, std::max<int64_t>(n - 1, 0)),
                                       m_firstSample, m_visibleSpan, n);
    RecalcLayout();
    Invalidate();
}

bool CTenvorikView::GetLevelCursorHeight(int k, int& y) {
    if (!m_doc || k < 0 || k > 1) return false;
    const CursorMarker& m = m_doc->m_cursors.m_cursors[size_t(3 + k)];
    if (!m.shown) return false;
    y = m_doc->m_cursors.ValueToY(m.channel, m_yOffset, m.level);
    return true;
}

void CTenvorikView::PlaceLevelCursor(int k, int y) {
    if (m_doc) m_doc->m_cursors.PlaceLevelCursor(k == 0, m_yOffset, 10, y);
}

void CTenvorikView::Invalidate() {
    if (m_host) m_host->Invalidate();
}

// ------------------------------------------------------------------ measuring a row

bool CTenvorikView::AnalogRowAt(int64_t contentY, int& index, int64_t& top, int& height) const {
    if (!m_doc) return false;
    const auto& chs = m_doc->GetOscillogram().m_channels;
    const size_t analog = std::min(chs.size(), size_t(std::max(m_doc->GetOscillogram().m_analogCount, 0)));
    int64_t t = 0;
    for (size_t i = 0; i < analog; ++i) {
        const int h = GetChannelHeight(chs[i]);
        if (h > 0 && contentY >= t && contentY < t + h) {
            index = int(i);
            top = t;
            height = h;
            return true;
        }
        t += h;
    }
    return false;
}

void CTenvorikView::FinishMeasurement() {
    COscillogram& osc = m_doc->GetOscillogram();
    int index = -1;
    int64_t top = 0;
    int h = 0;
    // The row is looked up again: the record may have changed under the mouse.
    if (!AnalogRowAt(int64_t(m_measureY1), index, top, h) || index != m_measureChannel) return;
    const RowFractions f = MeasuredFractions(m_measureY1, m_measureY2, top, h);
    CChannel& ch = osc.m_channels[size_t(index)];
    std::vector<CChannel*> targets = GetStripMembers(ch);
    if (targets.empty()) targets.push_back(&ch);
    for (CChannel* t : targets) {
        if (f.reset) ResetVerticalZoom(*t);
        else t->SetVerticalZoom(f.from, f.to);
    }
    Invalidate();
}

}  // namespace oscview
