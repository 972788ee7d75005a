#include "halvex/mimic/ControlTextElem.h"

#include "halvex/mimic/MimicText.h"

using namespace Gdiplus;

CONTROL_TEXT_ELEM::CONTROL_TEXT_ELEM() : m_font(MimicDefaultFont()) {}

Sch_Text CONTROL_TEXT_ELEM::MakeText() const {
    Sch_Text t;
    static_cast<Arm_Font&>(t) = m_font;
    t.m_sText = m_sText;
    t.m_color = m_colorText;
    t.m_nRotation = m_nOrientation >= 0 && m_nOrientation <= 3 ? m_nOrientation : 0;
    return t;
}

RectF CONTROL_TEXT_ELEM::GetBoundedRectF(ArmDataInterface*, float) {
    RectF r = MakeText().GetRectBoundText();
    if (!r.IsEmptyArea()) r.Offset(float(m_nX), float(m_nY));
    return r;
}

void CONTROL_TEXT_ELEM::Draw(ArmDataInterface*, Graphics& g, EDrawType kind, bool, Size offset) {
    const GraphicsState state = g.Save();
    g.TranslateTransform(float(offset.Width + m_nX), float(offset.Height + m_nY));
    Sch_Text text = MakeText();
    if (kind == eDrawSelect || kind == eDrawDrag) {
        Pen pen(Color(kind == eDrawSelect ? 0xFF0000FF : 0x7F0000FF), 2 / g.GetPageScale());
        g.DrawRectangle(&pen, text.GetRectBoundText());
    }
    MimicDrawText(g, text, eDrawNormal);
    g.Restore(state);
}
