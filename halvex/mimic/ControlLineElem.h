#pragma once
// The drawn shapes of a mimic screen: a straight line and a rectangle outline. Both are hit on
// their strokes only and offer handles (the line's end points, the rectangle's corners).
#include "halvex/mimic/ControlMonElem.h"

class CONTROL_LINE_ELEM : public CONTROL_MON_ELEM {
public:
    EControlMonType GetControlMonType() const override { return eControlMonLine; }
    Gdiplus::RectF GetBoundedRectF(ArmDataInterface* host, float scale) override;
    // A band around the stroke; a square around the point for a line of no length.
    std::unique_ptr<Gdiplus::Region> CreateBoundedRegion(ArmDataInterface* host, float scale) override;
    bool IsUseRegionInsteadRectForHitTest() const override { return true; }
    void Draw(ArmDataInterface* host, Gdiplus::Graphics& g, EDrawType kind, bool pressed,
              Gdiplus::Size offset) override;
    CONTROL_MON_ELEM* Clone() const override { return new CONTROL_LINE_ELEM(*this); }

    // Whether an end point is under the point; `start` tells which (the start point wins).
    bool GetStartEndPointsHitTest(const Gdiplus::PointF& point, float scale, bool& start) const;

    static const int m_nRadius;

    // Relative to the position.
    int m_nX1 = 0, m_nY1 = 0;
    int m_nX2 = 100, m_nY2 = 0;
    Gdiplus::Color m_color{0xFF000000};
    int m_nWidth = 2;  // device pixels
    int m_nStyle = 0;  // 0 solid, 1 dash, 2 dot
};

class CONTROL_RECT_ELEM : public CONTROL_MON_ELEM {
public:
    EControlMonType GetControlMonType() const override { return eControlMonRect; }
    Gdiplus::RectF GetBoundedRectF(ArmDataInterface* host, float scale) override;
    // The four bands along the outline; the inside is not part of the control.
    std::unique_ptr<Gdiplus::Region> CreateBoundedRegion(ArmDataInterface* host, float scale) override;
    bool IsUseRegionInsteadRectForHitTest() const override { return true; }
    void Draw(ArmDataInterface* host, Gdiplus::Graphics& g, EDrawType kind, bool pressed,
              Gdiplus::Size offset) override;
    CONTROL_MON_ELEM* Clone() const override { return new CONTROL_RECT_ELEM(*this); }

    bool GetCornerHitTest(const Gdiplus::PointF& point, float scale, ERectElemCornerHitTest& corner) const;

    static const int m_nRadius;

    int m_nWidth = 100;
    int m_nHeight = 100;
    Gdiplus::Color m_colorOutline{0xFF000000};
    int m_nOutlineWidth = 2;  // device pixels
    int m_nStyle = 0;         // 0 solid, 1 dash, 2 dot

protected:
    void SetSchRect(Sch_Rect& r) const;

private:
    float Tolerance(float scale) const;
};
