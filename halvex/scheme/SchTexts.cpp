#include "halvex/scheme/SchTexts.h"

#include <memory>

using namespace Gdiplus;

namespace {

// The measuring context and the family of the last face measured; kept for the process, like
// a screen context, and used on the user-interface thread only.
Graphics& MeasureGraphics() {
    static Bitmap picture(1, 1);
    static Graphics g(&picture);
    return g;
}

const FontFamily* MeasureFamily(const CString& face) {
    static std::unique_ptr<FontFamily> family;
    static CString held;
    if (!family || held != face) {
        family = std::make_unique<FontFamily>(face.GetString());
        held = face;
    }
    return family.get();
}

}  // namespace

int Arm_Font::GetStyle() const {
    return (m_bBold ? FontStyleBold : 0) | (m_bItalic ? FontStyleItalic : 0) | (m_bUnderline ? FontStyleUnderline : 0) |
           (m_bStrikeout ? FontStyleStrikeout : 0);
}

RectF Sch_FuncName_Text::GetRectBound(const CString& text) const {
    const FontFamily* family = MeasureFamily(m_sFaceName);
    RectF r(0, 0, 0, 0);
    if (family->IsAvailable()) {
        Font font(family, m_fSize, GetStyle(), UnitWorld);
        MeasureGraphics().MeasureString(text, -1, &font, RectF(0, 0, 0, 0), nullptr, &r);
    }
    if (m_nRotation == 1 || m_nRotation == 3) std::swap(r.Width, r.Height);
    return RectF(r.X + m_fX, r.Y + m_fY, r.Width, r.Height);
}

void Sch_FuncName_Text::DrawTextW(Graphics& g, EDrawType kind, const CString& text, SizeF offset) const {
    const FontFamily family(m_sFaceName);
    Font font(family.IsAvailable() ? &family : FontFamily::GenericSansSerif(), m_fSize, GetStyle(), UnitWorld);
    SolidBrush brush(GetCurrColor(kind));
    const GraphicsState state = g.Save();
    g.TranslateTransform(m_fX + offset.Width, m_fY + offset.Height);
    const RectF r = GetRectBound(text);
    PointF p(r.X - m_fX, r.Y - m_fY);
    float angle = 0;
    switch (m_nRotation) {
    case 1:
        p.Y -= r.Width;
        angle = 90;
        break;
    case 2:
        p.X -= r.Width;
        p.Y -= r.Height;
        angle = 180;
        break;
    case 3:
        g.TranslateTransform(0, r.Height);
        angle = 270;
        break;
    default: break;
    }
    g.RotateTransform(angle);
    g.SetTextRenderingHint(TextRenderingHint(m_nTextRenderingHint));
    if (m_nHAlign == 0 && m_fLayoutWidth < 0.001f) {
        g.DrawString(text, -1, &font, p, &brush);
    } else {
        const float h = m_fLayoutHeight > 0.001f ? m_fLayoutHeight : font.GetHeight(&g);
        StringFormat format;
        auto align = [](int a) {
            return a == 1 ? StringAlignmentCenter : a == 2 ? StringAlignmentFar : StringAlignmentNear;
        };
        format.SetAlignment(align(m_nHAlign));
        format.SetLineAlignment(align(m_nVAlign));
        g.DrawString(text, -1, &font, RectF(p.X, p.Y, m_fLayoutWidth, h), &format, &brush);
    }
    g.Restore(state);
}

void Sch_FuncName_Text::Draw(Graphics& g, EDrawType kind, void* extra, SCH_VALUES*) {
    if (!extra) return;
    DrawTextW(g, kind, static_cast<const wchar_t*>(extra), SizeF(0, 0));
}

void Sch_Text::Draw(Graphics& g, EDrawType kind, void*, SCH_VALUES*) { DrawTextW(g, kind, m_sText, SizeF(0, 0)); }

void Sch_PropName_Text::Draw(Graphics& g, EDrawType kind, void*, SCH_VALUES* values) {
    if (!values) return;
    auto it = values->find(m_sPropName);
    if (it == values->end()) return;
    DrawTextW(g, kind, it->second, SizeF(0, 0));
}

void Sch_Numeric_Text::Draw(Graphics& g, EDrawType kind, void* extra, SCH_VALUES*) {
    if (!extra) return;
    const CString text = static_cast<const wchar_t*>(extra);
    if (text.IsEmpty()) return;
    const float L = m_fLeaderOffset, s = g.GetPageScale();
    const float t = float(m_nLeaderWidth) / s;
    const FontFamily family(m_sFaceName);
    Font font(family.IsAvailable() ? &family : FontFamily::GenericSansSerif(), m_fSize, GetStyle(), UnitWorld);
    StringFormat near;
    near.SetAlignment(StringAlignmentNear);
    RectF box;
    g.MeasureString(text, -1, &font, PointF(m_fX, m_fY), &near, &box);

    const PointF leader[3] = {PointF(m_fX, m_fY), PointF(m_fX + L, m_fY - L), PointF(m_fX + L - box.Width, m_fY - L)};
    Pen pen(GetCurrColor(kind), SchPenWidth(g, m_nLeaderWidth));
    g.DrawLines(&pen, leader, 3);

    const float dx = L - box.Width, dy = -L - m_fSize - 2 * t;
    SolidBrush background(m_colorBackground);
    g.FillRectangle(&background, box.X + dx, box.Y + dy - t, box.Width, box.Height);
    DrawTextW(g, kind, text, SizeF(dx, dy));
}
