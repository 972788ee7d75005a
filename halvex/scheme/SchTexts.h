#pragma once
// Texts on scheme pictures: a function's name, fixed captions, captions showing a property
// value of the placed element, and numeric labels with a leader line. They turn in quarter
// turns and align in a layout box; they report empty bounds, so a drawing's bounds never grow
// by text (GetRectBound measures them).
#include "halvex/scheme/SchPrimitives.h"

struct Arm_Font {
    CString m_sFaceName = L"Arial";
    float m_fSize = 2.0f;  // em size in scheme units
    bool m_bBold = false;
    bool m_bItalic = false;
    bool m_bUnderline = false;
    bool m_bStrikeout = false;

    int GetStyle() const;  // the drawing layer's style bits
};

class Sch_Font : public Sch_BaseObj, public Arm_Font {
protected:
    ~Sch_Font() = default;
};

class Sch_FuncName_Text : public Sch_Font {
public:
    // Shows the wide text passed as `extra`; nothing when it is null.
    void Draw(Gdiplus::Graphics& g, EDrawType kind, void* extra, SCH_VALUES* values) override;
    // The measured box of `text` in scheme units at the anchor; (x, y, 0, 0) when no installed
    // family has the face name.
    Gdiplus::RectF GetRectBound(const CString& text) const;

    float m_fX = 0, m_fY = 0;
    float m_fLayoutWidth = 0;   // below 0.001: no layout box
    int m_nHAlign = 0;          // 0 near, 1 centre, 2 far
    int m_nVAlign = 0;
    float m_fLayoutHeight = 0;  // 0.001 or less: the font's line height
    int m_nRotation = 0;        // quarter turns, 0..3
    int m_nTextRenderingHint = 4;

protected:
    void DrawTextW(Gdiplus::Graphics& g, EDrawType kind, const CString& text, Gdiplus::SizeF offset) const;
};

class Sch_Text : public Sch_FuncName_Text {
public:
    void Draw(Gdiplus::Graphics& g, EDrawType kind, void* extra, SCH_VALUES* values) override;
    Gdiplus::RectF GetRectBoundText() const { return GetRectBound(m_sText); }

    CString m_sText;
};

class Sch_PropName_Text : public Sch_FuncName_Text {
public:
    // Shows the value stored under the property name in `values`.
    void Draw(Gdiplus::Graphics& g, EDrawType kind, void* extra, SCH_VALUES* values) override;

    CString m_sPropName;
};

class Sch_Numeric_Text : public Sch_FuncName_Text {
public:
    Sch_Numeric_Text() { m_sAttribute = L"NumericText"; }
    // Shows the wide text passed as `extra` above a leader line ending at the anchor.
    void Draw(Gdiplus::Graphics& g, EDrawType kind, void* extra, SCH_VALUES* values) override;

    float m_fLeaderOffset = 0;
    int m_nLeaderWidth = 1;
    Gdiplus::Color m_colorBackground{0xFFFFFFFF};
};
