#pragma once
// The resizable mimic controls: the box base, the command button, and the sunken value windows
// with a caption (the alias) beside them: the edit window whose text the host computes and the
// analog window showing a live signal.
#include "halvex/mimic/ControlMonElem.h"

class CONTROL_SIZE_ELEM : public CONTROL_MON_ELEM {
public:
    Gdiplus::RectF GetBoundedRectF(ArmDataInterface* host, float scale) override;
    bool GetSizeElemHitTest(const Gdiplus::PointF& point, float scale, ESizeElemHitTest& hit) override;

    // The frame shown around a box while it is being resized.
    static void DrawBorderDragSize(const Gdiplus::Rect& r, Gdiplus::Graphics& g);

    static const int m_nHitBorderWidth;

    int m_nWidth = 50;
    int m_nHeight = 20;

protected:
    // The control's box (0, 0, width, height) as a rectangle primitive.
    virtual void SetSchRect(Sch_Rect& r);
    // Fills or outlines the box as SetSchRect describes it.
    void DrawSchRect(Gdiplus::Graphics& g);
    // The selection frame of the highlighted kinds around (0, 0, width, height).
    void DrawSelectFrame(Gdiplus::Graphics& g, EDrawType kind) const;
};

class CONTROL_BUTTON_ELEM : public CONTROL_SIZE_ELEM {
public:
    CONTROL_BUTTON_ELEM();

    EControlMonType GetControlMonType() const override { return eControlMonButton; }
    void Draw(ArmDataInterface* host, Gdiplus::Graphics& g, EDrawType kind, bool pressed,
              Gdiplus::Size offset) override;
    CONTROL_MON_ELEM* Clone() const override { return new CONTROL_BUTTON_ELEM(*this); }
    bool CanBePressed() const override { return true; }
    // A renamed command renames the caption too.
    void RenameProjectSignals(MON_VALUES& renames) override;

    // Fits the box to the caption.
    void CorrectSize();
    void SetLogFont(LOGFONTW& lf) const { SetLogFontFromArmFont(m_font, lf); }
    void SetArmFont(const LOGFONTW& lf) { SetArmFontFromLogFont(lf, m_font); }

    static const Gdiplus::ARGB m_colorDefaultBackground;

    CString m_sCaption;
    Arm_Font m_font;
    Gdiplus::Color m_colorText{0xFF000000};
    Gdiplus::Color m_colorBackground{m_colorDefaultBackground};
    bool m_bTimeSync = true;  // bound to time synchronization rather than to a named command
    CString m_sCommandName;

protected:
    void SetSchRect(Sch_Rect& r) override;
};

class CONTROL_ALIAS_ELEM : public CONTROL_SIZE_ELEM {
public:
    CONTROL_ALIAS_ELEM();

    // The window drawn two units below the box its bounds report, with its caption.
    void Draw(ArmDataInterface* host, Gdiplus::Graphics& g, EDrawType kind, bool pressed,
              Gdiplus::Size offset) override;
    // Takes what the host says the window shows now.
    bool RefreshByTimer(ArmDataInterface* host) override;

    // Where the caption goes, in the control's own coordinates.
    Gdiplus::RectF GetAliasBoundedRectF(float scale);
    void SetLogFont(LOGFONTW& lf) const { SetLogFontFromArmFont(m_font, lf); }
    void SetArmFont(const LOGFONTW& lf) { SetArmFontFromLogFont(lf, m_font); }

    static const Gdiplus::ARGB m_colorDefaultBackground;

    CString m_sValue;
    Arm_Font m_font;
    Gdiplus::Color m_colorText{0xFF000000};
    Gdiplus::Color m_colorBackground{m_colorDefaultBackground};
    CString m_sAlias;
    int m_nAliasPlace = 0;  // 0 left, 1 right, 2 above, 3 below

protected:
    void SetSchRect(Sch_Rect& r) override;
    // The box the caption is placed against.
    virtual Gdiplus::RectF GetBoundedRectForCountAliasPos();
    // The caption in its place, in the control's own coordinates.
    void DrawAlias(Gdiplus::Graphics& g);
};

class CONTROL_EDIT_ELEM : public CONTROL_ALIAS_ELEM {
public:
    EControlMonType GetControlMonType() const override { return eControlMonEdit; }
    CONTROL_MON_ELEM* Clone() const override { return new CONTROL_EDIT_ELEM(*this); }
    // Fits the box to the text shown, or to a sample of what the binding shows.
    virtual void CorrectSize();

    int m_nBindingCommand = 0;  // 0 block version, 1 block time, 2 system time
};

class CONTROL_ANALOG_ELEM : public CONTROL_ALIAS_ELEM, public CONTROL_MON_SIGNAL {
public:
    EControlMonType GetControlMonType() const override { return eControlMonAnalog; }
    CONTROL_MON_ELEM* Clone() const override { return new CONTROL_ANALOG_ELEM(*this); }
    // Shows "?" while the host has no live data.
    bool RefreshByTimer(ArmDataInterface* host) override;
    bool NeedSendToExtracter() const override { return true; }
    void FillVectMonSignals(std::vector<CONTROL_MON_SIGNAL>& signals) override;
    void CorrectValueFromBlock(MON_VALUES* values) override;
    void RenameProjectSignals(MON_VALUES& renames) override;
    // Fits the box to a sample value.
    virtual void CorrectSize();

    CString m_sLastValue;
};
