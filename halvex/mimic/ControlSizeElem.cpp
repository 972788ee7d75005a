#include "halvex/mimic/ControlSizeElem.h"

#include <cmath>
#include <ctime>

#include "halvex/config/ArmDataInterface.h"
#include "halvex/mimic/MimicText.h"

using namespace Gdiplus;

namespace {

ARGB SelectColor(EDrawType kind) { return kind == eDrawSelect ? 0xFF0000FF : 0x7F0000FF; }

// A horizontal or vertical line one device pixel wide whose pixels lie on the given side of
// the world coordinate: `at` is the pixel's own edge, not its centre.
void PixelLine(Graphics& g, ARGB color, float x1, float y1, float x2, float y2) {
    Pen pen(Color(color), 1 / g.GetPageScale());
    g.DrawLine(&pen, x1, y1, x2, y2);
}

void FitSize(const Arm_Font& font, const CString& text, int extraHeight, int& width, int& height) {
    const SizeF s = MimicMeasureText(font, text);
    width = int(std::floor(s.Width + 0.5f)) + 5;
    height = int(std::floor(s.Height + 0.5f)) + extraHeight;
}

}  // namespace

// --- the resizable base ------------------------------------------------------------------------

const int CONTROL_SIZE_ELEM::m_nHitBorderWidth = 2;

RectF CONTROL_SIZE_ELEM::GetBoundedRectF(ArmDataInterface*, float scale) {
    const float d = 1 / scale;
    return RectF(float(m_nX) - d, float(m_nY) - d, float(m_nWidth) + 2 * d, float(m_nHeight) + 2 * d);
}

bool CONTROL_SIZE_ELEM::GetSizeElemHitTest(const PointF& point, float scale, ESizeElemHitTest& hit) {
    const float t = 6 / scale;
    const float dx = point.X - float(m_nX), dy = point.Y - float(m_nY);
    const float w = float(m_nWidth), h = float(m_nHeight);
    const bool acrossX = dx >= -t && dx < w + t;  // the span of the top and bottom bands
    const bool acrossY = dy >= -t && dy < h + t;  // the span of the left and right bands
    const bool left = dx >= -t && dx < t && acrossY;
    const bool right = dx >= w - t && dx < w + t && acrossY;
    const bool top = dy >= -t && dy < t && acrossX;
    const bool bottom = dy >= h - t && dy < h + t && acrossX;
    if (top) hit = left ? eSizeElemTopLeft : right ? eSizeElemTopRight : eSizeElemTop;
    else if (bottom) hit = left ? eSizeElemBottomLeft : right ? eSizeElemBottomRight : eSizeElemBottom;
    else if (left) hit = eSizeElemLeft;
    else if (right) hit = eSizeElemRight;
    else return false;
    return true;
}

void CONTROL_SIZE_ELEM::DrawBorderDragSize(const Rect& r, Graphics& g) {
    Pen pen(Color(0x7F0000FF), 2);
    g.DrawRectangle(&pen, float(r.X), float(r.Y), float(r.Width), float(r.Height));
}

void CONTROL_SIZE_ELEM::SetSchRect(Sch_Rect& r) {
    r.m_rect = RectF(0, 0, float(m_nWidth), float(m_nHeight));
    r.m_color = Color(0xFF000000);
    r.m_nPenWidth = 1;
    r.m_bFill = false;
}

void CONTROL_SIZE_ELEM::DrawSchRect(Graphics& g) {
    Sch_Rect r;
    SetSchRect(r);
    if (r.m_bFill && r.m_nPenWidth == 0) {
        // A fill without an outline covers the whole box, not the inside of an outline.
        SolidBrush brush(r.m_colorFill);
        g.FillRectangle(&brush, r.m_rect);
    } else {
        r.Draw(g, eDrawNormal, nullptr, nullptr);
    }
}

void CONTROL_SIZE_ELEM::DrawSelectFrame(Graphics& g, EDrawType kind) const {
    if (kind != eDrawSelect && kind != eDrawDrag) return;
    Pen pen(Color(SelectColor(kind)), 2 / g.GetPageScale());
    g.DrawRectangle(&pen, 0.0f, 0.0f, float(m_nWidth), float(m_nHeight));
}

// --- the button --------------------------------------------------------------------------------

const ARGB CONTROL_BUTTON_ELEM::m_colorDefaultBackground = 0xFFFFFBF0;

CONTROL_BUTTON_ELEM::CONTROL_BUTTON_ELEM() : m_font(MimicDefaultFont(true)) {}

void CONTROL_BUTTON_ELEM::SetSchRect(Sch_Rect& r) {
    CONTROL_SIZE_ELEM::SetSchRect(r);
    r.m_color = m_colorBackground;  // drawn as a primitive, its thinnest outline melts into the fill
    r.m_nPenWidth = 0;
    r.m_bFill = true;
    r.m_colorFill = m_colorBackground;
}

void CONTROL_BUTTON_ELEM::Draw(ArmDataInterface*, Graphics& g, EDrawType kind, bool pressed, Size offset) {
    const GraphicsState state = g.Save();
    g.TranslateTransform(float(offset.Width + m_nX), float(offset.Height + m_nY));
    DrawSchRect(g);
    const float w = float(m_nWidth), h = float(m_nHeight);
    MimicDrawText(g, m_sCaption, m_font, RectF(0, 0, w, h), 1, 1, m_colorText);

    g.SetSmoothingMode(SmoothingModeNone);
    const float p = 1 / g.GetPageScale(), o = p / 2, i = 1.5f * p;  // outer and inner pixel rows
    const ARGB outerLT = pressed ? 0xFF646464 : 0xFFFFFFFF;
    const ARGB innerLT = pressed ? 0xFFA0A0A0 : 0xFFE3E3E3;
    const ARGB outerRB = pressed ? 0xFF646464 : 0xFF696969;
    const ARGB innerRB = 0xFFA0A0A0;
    PixelLine(g, outerLT, o, 0, o, h);          // left
    PixelLine(g, outerLT, 0, o, w, o);          // top
    PixelLine(g, innerLT, i, p, i, h - p);
    PixelLine(g, innerLT, p, i, w - p, i);
    PixelLine(g, outerRB, 0, h - o, w, h - o);  // bottom
    PixelLine(g, outerRB, w - o, 0, w - o, h);  // right
    PixelLine(g, innerRB, p, h - i, w - p, h - i);
    PixelLine(g, innerRB, w - i, p, w - i, h - p);
    DrawSelectFrame(g, kind);
    g.Restore(state);
}

void CONTROL_BUTTON_ELEM::RenameProjectSignals(MON_VALUES& renames) {
    auto it = renames.find(m_sCommandName);
    if (it == renames.end()) return;
    m_sCommandName = it->second;
    m_sCaption = it->second;
}

void CONTROL_BUTTON_ELEM::CorrectSize() { FitSize(m_font, m_sCaption, 8, m_nWidth, m_nHeight); }

// --- the value windows -------------------------------------------------------------------------

const ARGB CONTROL_ALIAS_ELEM::m_colorDefaultBackground = 0xFFFFFFFF;

CONTROL_ALIAS_ELEM::CONTROL_ALIAS_ELEM() : m_font(MimicDefaultFont()) {}

void CONTROL_ALIAS_ELEM::SetSchRect(Sch_Rect& r) {
    CONTROL_SIZE_ELEM::SetSchRect(r);
    r.m_color = m_colorBackground;  // drawn as a primitive, its thinnest outline melts into the fill
    r.m_nPenWidth = 0;
    r.m_bFill = true;
    r.m_colorFill = m_colorBackground;
}

RectF CONTROL_ALIAS_ELEM::GetBoundedRectForCountAliasPos() {
    return RectF(0, 0, float(m_nWidth), float(m_nHeight));
}

RectF CONTROL_ALIAS_ELEM::GetAliasBoundedRectF(float) {
    const SizeF t = MimicMeasureText(m_font, m_sAlias);
    const RectF r = GetBoundedRectForCountAliasPos();
    RectF a;
    switch (m_nAliasPlace) {
    case 1: a = RectF(r.GetRight(), r.Y, t.Width, r.Height); break;
    case 2: a = RectF(r.X + (r.Width - t.Width) / 2, r.Y - t.Height, t.Width, t.Height); break;
    case 3: a = RectF(r.X + (r.Width - t.Width) / 2, r.GetBottom(), t.Width, t.Height); break;
    default: a = RectF(r.X - t.Width, r.Y, t.Width, r.Height); break;
    }
    a.Width = std::ceil(a.Width);
    return a;
}

void CONTROL_ALIAS_ELEM::DrawAlias(Graphics& g) {
    if (m_sAlias.IsEmpty()) return;
    MimicDrawText(g, m_sAlias, m_font, GetAliasBoundedRectF(g.GetPageScale()), 0, 1, m_colorText);
}

void CONTROL_ALIAS_ELEM::Draw(ArmDataInterface*, Graphics& g, EDrawType kind, bool, Size offset) {
    const GraphicsState state = g.Save();
    g.TranslateTransform(float(offset.Width + m_nX), float(offset.Height + m_nY + 2));
    DrawSchRect(g);
    const float w = float(m_nWidth), h = float(m_nHeight);
    MimicDrawText(g, m_sValue, m_font, RectF(0, 0, w, h), 0, 1, m_colorText);

    g.SetSmoothingMode(SmoothingModeNone);
    const float p = 1 / g.GetPageScale(), o = p / 2, i = 1.5f * p;
    PixelLine(g, 0xFF000000, o, 0, o, h);          // left
    PixelLine(g, 0xFF000000, 0, o, w, o);          // top
    PixelLine(g, 0xFFFFFFFF, 0, h - o, w, h - o);  // bottom
    PixelLine(g, 0xFFFFFFFF, w - o, 0, w - o, h);  // right
    PixelLine(g, 0xFFC0C0C0, p, h - i, w - p, h - i);
    PixelLine(g, 0xFFC0C0C0, w - i, p, w - i, h - p);
    DrawSelectFrame(g, kind);
    DrawAlias(g);
    g.Restore(state);
}

bool CONTROL_ALIAS_ELEM::RefreshByTimer(ArmDataInterface* host) {
    if (!host) return false;
    CString text;
    host->GetEditElemText(text, this);
    if (text == m_sValue) return false;
    m_sValue = text;
    return true;
}

void CONTROL_EDIT_ELEM::CorrectSize() {
    CString sample = m_sValue;
    if (sample.IsEmpty()) {
        if (m_nBindingCommand == 1 || m_nBindingCommand == 2) {
            const std::time_t now = std::time(nullptr);
            std::tm local{};
            localtime_r(&now, &local);
            wchar_t text[64] = {};
            std::wcsftime(text, 64, L"%d.%m.%Y, %H:%M:%S", &local);
            sample = text;
        } else {
            sample.Format(L"%u", 4294967295u);
        }
    }
    FitSize(m_font, sample, 5, m_nWidth, m_nHeight);
}

bool CONTROL_ANALOG_ELEM::RefreshByTimer(ArmDataInterface* host) {
    if (!host || !host->IsOnline()) m_sValue = L"?";
    if (m_sValue == m_sLastValue) return false;
    m_sLastValue = m_sValue;
    return true;
}

void CONTROL_ANALOG_ELEM::FillVectMonSignals(std::vector<CONTROL_MON_SIGNAL>& signals) {
    signals.clear();
    if (!m_sName.IsEmpty()) signals.push_back(static_cast<const CONTROL_MON_SIGNAL&>(*this));
}

void CONTROL_ANALOG_ELEM::CorrectValueFromBlock(MON_VALUES* values) {
    if (!values) return;
    auto it = values->find(m_sName);
    if (it != values->end()) m_sValue = it->second;
}

void CONTROL_ANALOG_ELEM::RenameProjectSignals(MON_VALUES& renames) {
    auto it = renames.find(m_sName);
    if (it != renames.end()) m_sName = it->second;
}

void CONTROL_ANALOG_ELEM::CorrectSize() { FitSize(m_font, L"5.555555", 5, m_nWidth, m_nHeight); }
