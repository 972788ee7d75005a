#pragma once
// The mimic controls of discrete live signals: a logic indicator (a check box or a lamp beside
// a caption) and a switching device whose position comes from its off- and on-position signals.
#include "halvex/mimic/ControlSizeElem.h"

class CONTROL_LOGIC_ELEM : public CONTROL_MON_ELEM, public CONTROL_MON_SIGNAL {
public:
    CONTROL_LOGIC_ELEM();

    EControlMonType GetControlMonType() const override { return eControlMonLogic; }
    Gdiplus::RectF GetBoundedRectF(ArmDataInterface* host, float scale) override;
    void Draw(ArmDataInterface* host, Gdiplus::Graphics& g, EDrawType kind, bool pressed,
              Gdiplus::Size offset) override;
    CONTROL_MON_ELEM* Clone() const override { return new CONTROL_LOGIC_ELEM(*this); }
    // Shows "?" while the host has no live data.
    bool RefreshByTimer(ArmDataInterface* host) override;
    bool NeedSendToExtracter() const override { return true; }
    void FillVectMonSignals(std::vector<CONTROL_MON_SIGNAL>& signals) override;
    void CorrectValueFromBlock(MON_VALUES* values) override;
    void RenameProjectSignals(MON_VALUES& renames) override;

    bool GetBoolValue() const { return m_sValue == L"1"; }
    void SetLogFont(LOGFONTW& lf) const { SetLogFontFromArmFont(m_font, lf); }
    void SetArmFont(const LOGFONTW& lf) { SetArmFontFromLogFont(lf, m_font); }

    // A check box in the size x size cell at the origin: "V" when on, "?" when off and the host
    // (which may be null) has no live data.
    static void DrawCheck(Gdiplus::Graphics& g, float size, float fontSize, Gdiplus::Color color, bool on,
                          ArmDataInterface* host);
    // A round lamp in the same place, lit in `color` when on.
    static void DrawIndicator(Gdiplus::Graphics& g, float size, Gdiplus::Color color, bool on, ArmDataInterface* host);
    void DrawCheck(Gdiplus::Graphics& g, float size, ArmDataInterface* host) const;
    void DrawIndicator(Gdiplus::Graphics& g, float size, ArmDataInterface* host) const;

    static const Gdiplus::ARGB m_colorDefault;

    CString m_sValue;
    Gdiplus::Color m_colorDisplay{m_colorDefault};
    CString m_sCaption;
    Arm_Font m_font;
    Gdiplus::Color m_colorText{0xFF000000};
    int m_nCaptionPlace = 0;  // 0 left of the symbol, 1 right of it
    bool m_bIndicator = false;
    CString m_sLastValue;

private:
    // The caption's box from the origin, width rounded up; an empty caption has the height of
    // "W" and no width.
    Gdiplus::RectF CaptionBounds() const;
};

enum ESwitchState : int { eSwitchUnknown = 0, eSwitchOff = 1, eSwitchOn = 2 };

class CONTROL_SWITCH_ELEM : public CONTROL_ALIAS_ELEM {
public:
    CONTROL_SWITCH_ELEM();

    EControlMonType GetControlMonType() const override { return eControlMonSwitch; }
    void Draw(ArmDataInterface* host, Gdiplus::Graphics& g, EDrawType kind, bool pressed,
              Gdiplus::Size offset) override;
    CONTROL_MON_ELEM* Clone() const override { return new CONTROL_SWITCH_ELEM(*this); }
    bool RefreshByTimer(ArmDataInterface* host) override;
    bool NeedSendToExtracter() const override { return true; }
    // Both signals, or none while either name is missing.
    void FillVectMonSignals(std::vector<CONTROL_MON_SIGNAL>& signals) override;
    void CorrectValueFromBlock(MON_VALUES* values) override;
    void RenameProjectSignals(MON_VALUES& renames) override;

    bool GetBoolValueRPO() const { return m_sValueRPO == L"1"; }
    bool GetBoolValueRPV() const { return m_sValueRPV == L"1"; }
    ESwitchState GetSwitchState() const;
    static Gdiplus::Color GetRectFillColor(ESwitchState state);
    Gdiplus::Color GetRectFillColor() const { return GetRectFillColor(GetSwitchState()); }

    static const int m_nLineLength;

    CONTROL_MON_SIGNAL m_signalRPO;
    CONTROL_MON_SIGNAL m_signalRPV;
    CString m_sValueRPO;
    CString m_sValueRPV;
    int m_nOrientation = 0;  // 0 horizontal leads, 1 vertical leads
    CString m_sLastValueRPO;
    CString m_sLastValueRPV;

protected:
    Gdiplus::RectF GetBoundedRectForCountAliasPos() override;

private:
    void DrawOutLines(Gdiplus::Graphics& g) const;
    void DrawInner(Gdiplus::Graphics& g) const;
};
