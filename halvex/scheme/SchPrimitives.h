#pragma once
// The primitives that scheme pictures are made of: the common base and the shapes. They paint
// in world coordinates of scheme units; the page scale is the zoom, and pen widths are given in
// device pixels so outlines keep their width at every zoom.
#include <map>
#include <vector>

#include "platform/CString.h"
#include "platform/draw/GdiPlus.h"

// The kind of drawing asked of a primitive: 0 normal, 1 selected, 2 dragged, 3 a dragged bus
// segment, 4..6 further looks (pin markers, brightened pictures).
enum EDrawType : int {
    eDrawNormal = 0,
    eDrawSelect = 1,
    eDrawDrag = 2,
    eDrawDragSegment = 3,
    eDrawRedPins = 4,
    eDrawBluePins = 5,
    eDrawBright3 = 6,
};

using SCH_VALUES = std::map<CString, CString>;

class Sch_BaseObj {
public:
    Sch_BaseObj() = default;
    Sch_BaseObj(const Sch_BaseObj&) = default;
    Sch_BaseObj& operator=(const Sch_BaseObj&) = default;

    virtual void Draw(Gdiplus::Graphics& g, EDrawType kind, void* extra, SCH_VALUES* values) = 0;
    virtual Gdiplus::RectF GetBoundedRectF(float scale);
    Gdiplus::Color GetCurrColor(EDrawType kind) const;

    Gdiplus::Color m_color{0xFF000000};
    bool m_bUseSelectColor = false;
    Gdiplus::Color m_colorSelect{0xFF000000};
    bool m_bUseDragColor = false;
    Gdiplus::Color m_colorDrag{0xFF000000};
    CString m_sAttribute;  // the primitive's role inside a drawing ("BorderRect", "NumericText", ...)

protected:
    ~Sch_BaseObj() = default;  // primitives are owned by value, never deleted through the base
};

// Pen width in scheme units for `pixels` device pixels on `g`; 0 (the thinnest line) under Wine
// when the page scale is not 1, unless `keepUnderWine`.
float SchPenWidth(const Gdiplus::Graphics& g, int pixels, bool keepUnderWine = false);

class Sch_Rect : public Sch_BaseObj {
public:
    void Draw(Gdiplus::Graphics& g, EDrawType kind, void* extra, SCH_VALUES* values) override;
    Gdiplus::RectF GetBoundedRectF(float scale) override;
    Gdiplus::Color GetCurrColorFill(EDrawType kind) const;

    Gdiplus::RectF m_rect{1, 1, 1, 1};
    int m_nPenWidth = 1;
    bool m_bFill = false;
    Gdiplus::Color m_colorFill{0xFFFFFFFF};
    bool m_bUseSelectFill = false;
    Gdiplus::Color m_colorSelectFill{0xFFFFFFFF};
    bool m_bUseDragFill = false;
    Gdiplus::Color m_colorDragFill{0xFFFFFFFF};
    int m_nDashStyle = 0;  // 1 dashed, 2 dotted, else solid
};

class Sch_EllipseArc : public Sch_Rect {
public:
    void Draw(Gdiplus::Graphics& g, EDrawType kind, void* extra, SCH_VALUES* values) override;

    float m_fStartAngle = 0;
    float m_fSweepAngle = 360;
};

class Sch_Polygon : public Sch_BaseObj {
public:
    void Draw(Gdiplus::Graphics& g, EDrawType kind, void* extra, SCH_VALUES* values) override;
    Gdiplus::RectF GetBoundedRectF(float scale) override;
    Gdiplus::Color GetCurrColorFill(EDrawType kind) const;

    std::vector<Gdiplus::PointF> m_points;
    int m_nPenWidth = 1;
    bool m_bFill = false;
    Gdiplus::Color m_colorFill{0xFFFFFFFF};
    bool m_bUseSelectFill = false;
    Gdiplus::Color m_colorSelectFill{0xFFFFFFFF};
    bool m_bUseDragFill = false;
    Gdiplus::Color m_colorDragFill{0xFFFFFFFF};
};

class Sch_Line : public Sch_BaseObj {
public:
    void Draw(Gdiplus::Graphics& g, EDrawType kind, void* extra, SCH_VALUES* values) override;
    Gdiplus::RectF GetBoundedRectF(float scale) override;

    float m_fX1 = 0, m_fY1 = 0, m_fX2 = 1, m_fY2 = 1;
    int m_nPenWidth = 1;
};

class Sch_Bitmap : public Sch_Rect {
public:
    void Draw(Gdiplus::Graphics& g, EDrawType kind, void* extra, SCH_VALUES* values) override;

    CString m_sResName;  // the "PNG" resource of the program
    CString m_sText2;    // kept with the primitive, not drawn
};

// A picture resource of a module (null: the program), by name and type; a new bitmap the
// caller deletes, or null when the module has no such resource or it cannot be decoded.
Gdiplus::Bitmap* LoadImageFromResource(const void* module, const wchar_t* name, const wchar_t* type);
// Makes `data` (which must outlive its use) the resource `name` of `type` of the module that
// holds `moduleAnchor` (null: the program).
void RegisterNamedResource(const void* moduleAnchor, const wchar_t* type, const wchar_t* name, const void* data,
                           size_t size);
