#pragma once
// Pins: the short strokes on an element's border where connections attach, with their markers,
// inversion circles and hit rectangles.
#include "halvex/scheme/SchPrimitives.h"

class Sch_Port : public Sch_Line {
public:
    Sch_Port();

    void Draw(Gdiplus::Graphics& g, EDrawType kind, void* extra, SCH_VALUES* values) override;
    Gdiplus::RectF GetBoundedRectF(float scale) override;
    virtual Gdiplus::PointF GetEndPointF() const = 0;

    Gdiplus::RectF GetInversionHitTestRectF() const;
    Gdiplus::RectF GetPinHitTestRectF(bool large) const;
    // Marks a busy or free pin: a 4 x 4 square on the anchor, whatever the kind.
    void DrawSquare(Gdiplus::Graphics& g, EDrawType kind) const;
    // Kind 4: a red 6 x 6 square on the anchor; kind 5: a blue one; else a small cross at the end.
    void DrawCross(Gdiplus::Graphics& g, EDrawType kind) const;
    void DrawInversionCircle(Gdiplus::Graphics& g, EDrawType kind) const;

    float m_fX = 0, m_fY = 0;  // the anchor on the element's border

    // The style every new pin takes.
    static Gdiplus::Color m_colorPort;
    static Gdiplus::Color m_colorSelectPort;
    static Gdiplus::Color m_colorDragPort;
    static int m_nWidthPort;

private:
    void PlaceLine();
};

class Sch_PortIn : public Sch_Port {
public:
    Gdiplus::PointF GetEndPointF() const override { return Gdiplus::PointF(m_fX - 1, m_fY); }
};

class Sch_PortOut : public Sch_Port {
public:
    Gdiplus::PointF GetEndPointF() const override { return Gdiplus::PointF(m_fX + 1, m_fY); }
};
