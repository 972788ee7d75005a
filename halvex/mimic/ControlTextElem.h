#pragma once
// A static text on a mimic screen, in any of the four quarter-turn orientations.
#include "halvex/mimic/ControlMonElem.h"

class CONTROL_TEXT_ELEM : public CONTROL_MON_ELEM {
public:
    CONTROL_TEXT_ELEM();

    EControlMonType GetControlMonType() const override { return eControlMonText; }
    Gdiplus::RectF GetBoundedRectF(ArmDataInterface* host, float scale) override;
    void Draw(ArmDataInterface* host, Gdiplus::Graphics& g, EDrawType kind, bool pressed,
              Gdiplus::Size offset) override;
    CONTROL_MON_ELEM* Clone() const override { return new CONTROL_TEXT_ELEM(*this); }

    void SetLogFont(LOGFONTW& lf) const { SetLogFontFromArmFont(m_font, lf); }
    void SetArmFont(const LOGFONTW& lf) { SetArmFontFromLogFont(lf, m_font); }

    CString m_sText;
    Arm_Font m_font;
    Gdiplus::Color m_colorText{0xFF000000};
    int m_nOrientation = 0;  // 0 horizontal, 1 vertical, 2 upside down, 3 vertical upside down

private:
    Sch_Text MakeText() const;
};
