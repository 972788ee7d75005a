#pragma once
// Decoration elements: the port-less elements that annotate a logic scheme (free text, a line,
// a rectangle frame, a dynamic text showing a value beside its alias), and the copy buffer of
// selected scheme elements.
#include <cstdint>

#include "halvex/mimic/ControlMonElem.h"
#include "halvex/scheme/ArmScheme.h"
#include "halvex/scheme/SchTexts.h"
#include "platform/draw/GdiTypes.h"

class SCHEME_DECOR_ELEMENT : public SCHEME_BASE_ELEMENT {
public:
    void GetVectPortIn(ArmDataInterface* host, std::vector<Sch_PortIn>& out) const override;
    void GetVectPortOut(ArmDataInterface* host, std::vector<Sch_PortOut>& out) const override;
};

class SCHEME_TEXT_ELEMENT : public SCHEME_DECOR_ELEMENT {
public:
    SCHEME_TEXT_ELEMENT() : SCHEME_TEXT_ELEMENT(false) {}
    // A code-style text is bold purple "Courier New", drawn without smoothing.
    explicit SCHEME_TEXT_ELEMENT(bool codeStyle);

    void Draw(ArmDataInterface* host, Gdiplus::Graphics& g, EDrawType type, Gdiplus::Size offset) const override;
    ESchemeElementType GetSchemeElementType() const override { return eSchElemText; }
    Gdiplus::RectF GetBoundedRectF(ArmDataInterface* host, float scale) const override;
    SCHEME_BASE_ELEMENT* Clone() const override;
    CString GetSchemeEditShortName() const override { return L" "; }

    // The font as the font dialog takes it: eight logical units per scheme unit, and the
    // escapement of a vertical font, 900, that the stored files carry.
    static void SetLogFontFromArmFont(const Arm_Font& font, LOGFONTW& lf);
    void SetLogFont(LOGFONTW& lf) const { SetLogFontFromArmFont(m_font, lf); }
    static void SetArmFontFromLogFont(const LOGFONTW& lf, Arm_Font& font);
    void SetArmFont(const LOGFONTW& lf) { SetArmFontFromLogFont(lf, m_font); }

    bool m_bCodeStyle;
    CString m_sText;
    Arm_Font m_font;
    Gdiplus::ARGB m_color;
    int32_t m_nOrientation = 0;  // quarter turns: 0 horizontal, 1 vertical, 2 and 3 upside down

protected:
    virtual void SetSchText(Sch_Text& text) const;
};

class SCHEME_LINE_ELEMENT : public SCHEME_DECOR_ELEMENT {
public:
    void Draw(ArmDataInterface* host, Gdiplus::Graphics& g, EDrawType type, Gdiplus::Size offset) const override;
    ESchemeElementType GetSchemeElementType() const override { return eSchElemLine; }
    Gdiplus::RectF GetBoundedRectF(ArmDataInterface* host, float scale) const override;
    // A band around the line, longer than it by the band's half width at both ends; a square
    // around the point for a line of no length.
    Gdiplus::Region* CreateBoundedRegion(ArmDataInterface* host, float scale) const override;
    SCHEME_BASE_ELEMENT* Clone() const override;
    bool IsUseGerionInsteadRectForHitTest() const override { return true; }
    CString GetSchemeEditShortName() const override { return L" "; }

    // Whether `point` grabs an end of the line; `start` tells which.
    bool GetStartEndPointsHitTest(const Gdiplus::PointF& point, float scale, bool& start) const;

    int32_t m_nStartX = 0, m_nStartY = 0, m_nEndX = 10, m_nEndY = 0;  // relative to the position
    Gdiplus::ARGB m_color = 0xFF000000;
    int32_t m_nWidth = 2;
    int32_t m_nDashStyle = 0;  // 0 solid, 1 dashes, 2 dots
};

class SCHEME_RECT_ELEMENT : public SCHEME_DECOR_ELEMENT {
public:
    void Draw(ArmDataInterface* host, Gdiplus::Graphics& g, EDrawType type, Gdiplus::Size offset) const override;
    ESchemeElementType GetSchemeElementType() const override { return eSchElemRect; }
    Gdiplus::RectF GetBoundedRectF(ArmDataInterface* host, float scale) const override;
    // The frame's four edges as bands; the inside is not part of it.
    Gdiplus::Region* CreateBoundedRegion(ArmDataInterface* host, float scale) const override;
    SCHEME_BASE_ELEMENT* Clone() const override;
    bool IsUseGerionInsteadRectForHitTest() const override { return true; }
    CString GetSchemeEditShortName() const override { return L" "; }

    bool GetCornerHitTest(const Gdiplus::PointF& point, float scale, ERectElemCornerHitTest& corner) const;

    int32_t m_nWidth = 10;
    int32_t m_nHeight = 10;
    Gdiplus::ARGB m_color = 0xFF000000;
    int32_t m_nLineWidth = 2;
    int32_t m_nDashStyle = 0;

protected:
    void SetSchRect(Sch_Rect& rect) const;

private:
    float HitTolerance(float scale) const;
};

class SCHEME_DYNAMIC_ELEMENT : public SCHEME_TEXT_ELEMENT {
public:
    SCHEME_DYNAMIC_ELEMENT();

    void Draw(ArmDataInterface* host, Gdiplus::Graphics& g, EDrawType type, Gdiplus::Size offset) const override;
    ESchemeElementType GetSchemeElementType() const override { return eSchElemDynText; }
    Gdiplus::RectF GetBoundedRectF(ArmDataInterface* host, float scale) const override;
    SCHEME_BASE_ELEMENT* Clone() const override;

    void DrawAlias(Gdiplus::Graphics& g, EDrawType type) const;
    void SetAliasSchText(Sch_Text& text, float scale) const;
    // Where the alias goes beside the value box, in element coordinates.
    Gdiplus::RectF GetAliasBoundedRectF(float scale) const;
    virtual Gdiplus::RectF GetBoundedRectForCountAliasPos() const;
    // The value shown is not asked of the host: it shows "??????". True when that changed what
    // is shown.
    virtual bool RefreshByTimer(ArmDataInterface* host);

    Gdiplus::ARGB m_colorDisplay = 0xFF640064;  // of the value and the alias
    CString m_sLastValue;
    CString m_sAlias;
    int32_t m_nAliasPlace = 0;  // 0 left of the value box, 1 right, 2 above, 3 below
    CString m_sText1;
    CString m_sText2;
    int32_t m_nBoxWidth = 84;
    int32_t m_nBoxHeight = 20;

protected:
    void SetSchText(Sch_Text& text) const override;
};

// The scheme elements copied for pasting, with the kind of scheme they came from.
class SELECTED_SCHEME_BUFFER {
public:
    // Forgets the copied elements and buses and the kind; the rest stays.
    void Clear();
    // Empty unless it holds a kind, a first text and at least one element.
    bool IsItEmpty() const;

    int32_t m_nSchemeKind = -1;
    CString m_sText1;
    CString m_sText2;
    int32_t m_nValue = 0;
    ARM_SCHEME m_scheme;
};
