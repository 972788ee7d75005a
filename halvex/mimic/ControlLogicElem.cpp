#include "halvex/mimic/ControlLogicElem.h"

#include <cmath>

#include "halvex/config/ArmDataInterface.h"
#include "halvex/mimic/MimicText.h"

using namespace Gdiplus;

namespace {

bool Offline(ArmDataInterface* host) { return host && !host->IsOnline(); }

Arm_Font ArialOf(float size) {
    Arm_Font f = MimicDefaultFont();
    f.m_fSize = size;
    return f;
}

// The square of the check box and the lamp: side size - 2, its lower edge on a whole unit.
RectF SymbolSquare(float size) {
    const float side = size - 2;
    return RectF(0, std::ceil(side) - side, side, side);
}

void Rename(CONTROL_MON_SIGNAL& signal, const MON_VALUES& renames) {
    auto it = renames.find(signal.m_sName);
    if (it != renames.end()) signal.m_sName = it->second;
}

}  // namespace

// --- logic indicator ---------------------------------------------------------------------------

const ARGB CONTROL_LOGIC_ELEM::m_colorDefault = 0xFF000000;

CONTROL_LOGIC_ELEM::CONTROL_LOGIC_ELEM() : m_font(MimicDefaultFont()) {}

RectF CONTROL_LOGIC_ELEM::CaptionBounds() const {
    Sch_Text t;
    static_cast<Arm_Font&>(t) = m_font;
    t.m_sText = m_sCaption.IsEmpty() ? CString(L"W") : m_sCaption;
    RectF r = t.GetRectBoundText();
    r.Width = m_sCaption.IsEmpty() ? 0 : std::ceil(r.Width);
    return r;
}

RectF CONTROL_LOGIC_ELEM::GetBoundedRectF(ArmDataInterface*, float) {
    const RectF c = CaptionBounds();
    return RectF(c.X + float(m_nX), c.Y + float(m_nY), c.Width + c.Height, c.Height);
}

void CONTROL_LOGIC_ELEM::DrawCheck(Graphics& g, float size, float fontSize, Color color, bool on,
                                   ArmDataInterface* host) {
    Sch_Rect box;
    box.m_rect = SymbolSquare(size);
    box.m_nPenWidth = 1;
    box.m_bFill = true;
    box.m_colorFill = Color(0xFFFFFFFF);
    box.Draw(g, eDrawNormal, nullptr, nullptr);
    const RectF cell(0, 0, size, size);
    if (on) MimicDrawText(g, L"V", ArialOf(fontSize), cell, 1, 1, color);
    else if (Offline(host)) MimicDrawText(g, L"?", ArialOf(fontSize), cell, 1, 1, color);
}

void CONTROL_LOGIC_ELEM::DrawIndicator(Graphics& g, float size, Color color, bool on, ArmDataInterface* host) {
    Sch_EllipseArc lamp;
    lamp.m_rect = SymbolSquare(size);
    lamp.m_nPenWidth = 2;
    lamp.m_bFill = on;
    lamp.m_colorFill = color;
    lamp.Draw(g, eDrawNormal, nullptr, nullptr);
    if (!on && Offline(host))
        MimicDrawText(g, L"?", ArialOf(std::max(size - 2, 1.0f)), lamp.m_rect, 1, 1, Color(0xFF000000));
}

void CONTROL_LOGIC_ELEM::DrawCheck(Graphics& g, float size, ArmDataInterface* host) const {
    DrawCheck(g, size, m_font.m_fSize, m_colorDisplay, GetBoolValue(), host);
}

void CONTROL_LOGIC_ELEM::DrawIndicator(Graphics& g, float size, ArmDataInterface* host) const {
    DrawIndicator(g, size, m_colorDisplay, GetBoolValue(), host);
}

void CONTROL_LOGIC_ELEM::Draw(ArmDataInterface* host, Graphics& g, EDrawType kind, bool, Size offset) {
    const GraphicsState state = g.Save();
    g.SetSmoothingMode(SmoothingModeAntiAlias);
    g.TranslateTransform(float(offset.Width + m_nX), float(offset.Height + m_nY));
    const RectF caption = CaptionBounds();
    const float side = caption.Height;  // the height of "W" for an empty caption

    if (kind == eDrawSelect || kind == eDrawDrag) {
        Pen pen(Color(kind == eDrawSelect ? 0xFF0000FF : 0x7F0000FF), 2 / g.GetPageScale());
        g.DrawRectangle(&pen, 0.0f, 0.0f, caption.Width + side, caption.Height);
    }
    Sch_Text text;
    static_cast<Arm_Font&>(text) = m_font;
    text.m_sText = m_sCaption;
    text.m_color = m_colorText;
    auto drawSymbol = [&] {
        if (m_bIndicator) DrawIndicator(g, side, host);
        else DrawCheck(g, side, host);
    };
    if (m_nCaptionPlace == 1) {
        drawSymbol();
        g.TranslateTransform(side, 0);
        if (!m_sCaption.IsEmpty()) MimicDrawText(g, text, eDrawNormal);
    } else {
        if (!m_sCaption.IsEmpty()) MimicDrawText(g, text, eDrawNormal);
        g.TranslateTransform(caption.Width, 0);
        drawSymbol();
    }
    g.Restore(state);
}

bool CONTROL_LOGIC_ELEM::RefreshByTimer(ArmDataInterface* host) {
    if (!host || !host->IsOnline()) m_sValue = L"?";
    if (m_sValue == m_sLastValue) return false;
    m_sLastValue = m_sValue;
    return true;
}

void CONTROL_LOGIC_ELEM::FillVectMonSignals(std::vector<CONTROL_MON_SIGNAL>& signals) {
    signals.clear();
    if (!m_sName.IsEmpty()) signals.push_back(static_cast<const CONTROL_MON_SIGNAL&>(*this));
}

void CONTROL_LOGIC_ELEM::CorrectValueFromBlock(MON_VALUES* values) {
    if (!values) return;
    auto it = values->find(m_sName);
    if (it != values->end()) m_sValue = it->second;
}

void CONTROL_LOGIC_ELEM::RenameProjectSignals(MON_VALUES& renames) { Rename(*this, renames); }

// --- switching device --------------------------------------------------------------------------

const int CONTROL_SWITCH_ELEM::m_nLineLength = 20;

CONTROL_SWITCH_ELEM::CONTROL_SWITCH_ELEM() {
    m_nWidth = 20;
    m_nHeight = 20;
}

ESwitchState CONTROL_SWITCH_ELEM::GetSwitchState() const {
    const bool off = GetBoolValueRPO(), on = GetBoolValueRPV();
    if (off && !on) return eSwitchOff;
    if (on && !off) return eSwitchOn;
    return eSwitchUnknown;
}

Color CONTROL_SWITCH_ELEM::GetRectFillColor(ESwitchState state) {
    switch (state) {
    case eSwitchOff: return Color(0xFF008000);
    case eSwitchOn: return Color(0xFFFF0000);
    default: return Color(0xFFFFFF00);
    }
}

RectF CONTROL_SWITCH_ELEM::GetBoundedRectForCountAliasPos() {
    const float w = float(m_nWidth), h = float(m_nHeight), l = float(m_nLineLength);
    if (m_nOrientation == 1) return RectF(0, -l, w, h + 2 * l);
    return RectF(-l, 0, w + 2 * l, h);
}

void CONTROL_SWITCH_ELEM::DrawOutLines(Graphics& g) const {
    const float w = float(m_nWidth), h = float(m_nHeight), l = float(m_nLineLength);
    Sch_Line lead;
    lead.m_nPenWidth = 2;
    auto draw = [&](float x1, float y1, float x2, float y2) {
        lead.m_fX1 = x1;
        lead.m_fY1 = y1;
        lead.m_fX2 = x2;
        lead.m_fY2 = y2;
        lead.Draw(g, eDrawNormal, nullptr, nullptr);
    };
    if (m_nOrientation == 1) {
        draw(w / 2, -l, w / 2, 0);
        draw(w / 2, h, w / 2, h + l);
    } else {
        draw(-l, h / 2, 0, h / 2);
        draw(w, h / 2, w + l, h / 2);
    }
}

void CONTROL_SWITCH_ELEM::DrawInner(Graphics& g) const {
    const float w = float(m_nWidth), h = float(m_nHeight);
    const ESwitchState state = GetSwitchState();
    if (state == eSwitchUnknown) {
        MimicDrawText(g, L"?", ArialOf(m_font.m_fSize), RectF(0, 0, w, h), 1, 1, Color(0xFF000000));
        return;
    }
    Sch_Line contact;
    contact.m_nPenWidth = 4;
    // Off: across the leads; on: along them, joining them.
    const bool vertical = (state == eSwitchOff) == (m_nOrientation != 1);
    if (vertical) {
        contact.m_fX1 = contact.m_fX2 = w / 2;
        contact.m_fY1 = 0;
        contact.m_fY2 = h;
    } else {
        contact.m_fY1 = contact.m_fY2 = h / 2;
        contact.m_fX1 = 0;
        contact.m_fX2 = w;
    }
    contact.Draw(g, eDrawNormal, nullptr, nullptr);
}

void CONTROL_SWITCH_ELEM::Draw(ArmDataInterface*, Graphics& g, EDrawType kind, bool, Size offset) {
    const GraphicsState state = g.Save();
    g.TranslateTransform(float(offset.Width + m_nX), float(offset.Height + m_nY));
    Sch_Rect box;
    box.m_rect = RectF(0, 0, float(m_nWidth), float(m_nHeight));
    box.m_nPenWidth = 2;
    box.m_bFill = true;
    box.m_colorFill = GetRectFillColor();
    box.Draw(g, eDrawNormal, nullptr, nullptr);
    DrawOutLines(g);
    DrawInner(g);
    DrawAlias(g);
    DrawSelectFrame(g, kind);
    g.Restore(state);
}

bool CONTROL_SWITCH_ELEM::RefreshByTimer(ArmDataInterface* host) {
    if (!host || !host->IsOnline()) {
        m_sValueRPO.Empty();
        m_sValueRPV.Empty();
    }
    if (m_sValueRPO == m_sLastValueRPO && m_sValueRPV == m_sLastValueRPV) return false;
    m_sLastValueRPO = m_sValueRPO;
    m_sLastValueRPV = m_sValueRPV;
    return true;
}

void CONTROL_SWITCH_ELEM::FillVectMonSignals(std::vector<CONTROL_MON_SIGNAL>& signals) {
    signals.clear();
    if (m_signalRPO.m_sName.IsEmpty() || m_signalRPV.m_sName.IsEmpty()) return;
    signals.push_back(m_signalRPO);
    signals.push_back(m_signalRPV);
}

void CONTROL_SWITCH_ELEM::CorrectValueFromBlock(MON_VALUES* values) {
    if (!values) return;
    auto off = values->find(m_signalRPO.m_sName);
    if (off != values->end()) m_sValueRPO = off->second;
    auto on = values->find(m_signalRPV.m_sName);
    if (on != values->end()) m_sValueRPV = on->second;
}

void CONTROL_SWITCH_ELEM::RenameProjectSignals(MON_VALUES& renames) {
    Rename(m_signalRPO, renames);
    Rename(m_signalRPV, renames);
}
