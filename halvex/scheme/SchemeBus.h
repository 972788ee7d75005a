#pragma once
// Buses: the drawn connections between element ports of a logic scheme or a mimic screen. A bus
// is an orthogonal polyline on the scheme's integer grid, a chain of horizontal and vertical
// segments each starting where the previous one ends. The editor builds a bus by extending it
// towards the mouse, reshapes it by moving part of one segment, and finds where buses leaving
// one output part from each other.
#include <map>
#include <vector>

#include "halvex/scheme/SchPrimitives.h"
#include "halvex/scheme/SchemeGuidElement.h"
#include "halvex/scheme/SmartPointer.h"

// The part of one segment of a bus that a drag moves, with the buses that share it.
struct ST_SEGM {
    int m_nSegment = -1;               // index of the segment in its bus
    std::vector<CString> m_vecBusKeys;  // GUID texts of the buses that run through the part
    int m_nFrom = -1;                  // the part, along the segment's axis, in its direction
    int m_nTo = -1;
};

class BUS_SEGMENT : public SCHEME_GUID_ELEMENT {
public:
    explicit BUS_SEGMENT(bool horizontal) : m_bHorizontal(horizontal) {}
    BUS_SEGMENT(const BUS_SEGMENT&) = default;
    BUS_SEGMENT& operator=(const BUS_SEGMENT&) = default;
    ~BUS_SEGMENT() override = default;

    // The point of `value` along the axis; false, `out` untouched, outside the range.
    virtual bool ConvertToPoint(int value, Gdiplus::Point& out) const = 0;
    // The value along the axis of a point on the segment; false for a point off it.
    virtual bool ConvertToValue(Gdiplus::Point p, int& out) const = 0;
    virtual Gdiplus::Point GetStartPoint() const = 0;
    virtual Gdiplus::Point GetEndPoint() const = 0;
    virtual void Offset(Gdiplus::Size d) = 0;
    // A band two device pixels wide along the segment at page scale `scale`.
    virtual Gdiplus::RectF GetBoundedRectF(float scale) const = 0;
    // Whether `p`, rounded to the grid, lies on the segment; then the rounded point in `out`.
    virtual bool IsNear(Gdiplus::PointF p, Gdiplus::Point& out) const = 0;

    bool IsHorizontal() const { return m_bHorizontal; }
    bool IsEmpty() const { return m_nStart == m_nEnd; }
    void SwapStartEnd() { std::swap(m_nStart, m_nEnd); }
    bool InRange(int value) const;
    // Orientation and coordinates equal; identities are not compared.
    bool IsSameGeometry(const BUS_SEGMENT& other) const;
    bool IsNearCorner(Gdiplus::PointF p, bool atEnd) const;
    // A segment of the same orientation and coordinates with an identity of its own; the
    // caller owns it.
    BUS_SEGMENT* Clone() const;
    // Where this segment and `other`, leaving from the same point in the same direction, part.
    bool GetLastCommonPointIfPossible(const BUS_SEGMENT& other, Gdiplus::Point& out) const;
    // Both ends inside `r`, its right and bottom edges excluded.
    bool IsInRect(const Gdiplus::RectF& r) const;
    // The moved part of a segment while it is dragged.
    void DrawPartDrag(Gdiplus::Graphics& g, int from, int to) const;

    int m_nStart = 0;  // along the segment's own axis: x of a horizontal, y of a vertical one
    int m_nEnd = 0;    // may be below m_nStart: the segment then runs towards smaller values
    int m_nPos = 0;    // the fixed coordinate: y of a horizontal, x of a vertical segment
    bool m_bHorizontal;
};

class BUS_SEGMENT_HORIZ : public BUS_SEGMENT {
public:
    BUS_SEGMENT_HORIZ() : BUS_SEGMENT(true) {}

    bool ConvertToPoint(int value, Gdiplus::Point& out) const override;
    bool ConvertToValue(Gdiplus::Point p, int& out) const override;
    Gdiplus::Point GetStartPoint() const override { return Gdiplus::Point(m_nStart, m_nPos); }
    Gdiplus::Point GetEndPoint() const override { return Gdiplus::Point(m_nEnd, m_nPos); }
    void Offset(Gdiplus::Size d) override;
    Gdiplus::RectF GetBoundedRectF(float scale) const override;
    bool IsNear(Gdiplus::PointF p, Gdiplus::Point& out) const override;
};

class BUS_SEGMENT_VERT : public BUS_SEGMENT {
public:
    BUS_SEGMENT_VERT() : BUS_SEGMENT(false) {}

    bool ConvertToPoint(int value, Gdiplus::Point& out) const override;
    bool ConvertToValue(Gdiplus::Point p, int& out) const override;
    Gdiplus::Point GetStartPoint() const override { return Gdiplus::Point(m_nPos, m_nStart); }
    Gdiplus::Point GetEndPoint() const override { return Gdiplus::Point(m_nPos, m_nEnd); }
    void Offset(Gdiplus::Size d) override;
    Gdiplus::RectF GetBoundedRectF(float scale) const override;
    bool IsNear(Gdiplus::PointF p, Gdiplus::Point& out) const override;
};

class SCHEME_BUS : public SCHEME_GUID_ELEMENT {
public:
    SCHEME_BUS();
    // Shares the segment objects of `other` and keeps its identity.
    SCHEME_BUS(const SCHEME_BUS& other) = default;
    // Takes the ends, ports and flags of `other` and copies of its segments; keeps its own
    // identity.
    SCHEME_BUS& operator=(const SCHEME_BUS& other);
    ~SCHEME_BUS() override = default;

    void Draw(Gdiplus::Graphics& g, EDrawType kind, Gdiplus::Size offset) const;
    // Lengthens the bus towards `p`: horizontally first, then vertically; a leg of the last
    // segment's orientation lengthens or shortens that segment instead of adding one.
    void ExtendTo(const Gdiplus::Point& p);
    void Offset(Gdiplus::Size d);
    Gdiplus::RectF GetBoundedRectF(float scale) const;
    // Moves the part of one segment that `part` names across its axis by `d`, adding the
    // segments that keep the bus connected at both ends. A part that does not lie on this bus
    // changes nothing.
    void OffsetSegmentPart(ST_SEGM& part, Gdiplus::Size d);
    // Makes the bus run from its end to its start.
    void SwapSegments();
    // Where this bus and `other`, leaving from the same point, part.
    bool GetLastCommonPointIfPossible(const SCHEME_BUS& other, Gdiplus::Point& out) const;
    bool IsInRect(const Gdiplus::RectF& r) const;

    GUID m_guidElemIn;   // the element whose input the bus feeds; nil until connected
    GUID m_guidElemOut;  // the element whose output drives the bus; nil until connected
    int m_nPortIn = -1;
    int m_nPortOut = -1;
    std::vector<SmartPointer<BUS_SEGMENT>> m_vecSegments;  // in drawing order
    bool m_bHostFlag = true;                              // the host's; copied, never read here
    Gdiplus::Point m_ptStart;                             // where the bus starts while it has no segment

    // How every bus is drawn; the host may change them.
    static int m_nWidth;
    static int m_nWidthDrag;
    static int m_nWidthMnemo;
    static Gdiplus::DashStyle m_styleDrag;
    static Gdiplus::Color m_color;
    static Gdiplus::Color m_colorDrag;
    static Gdiplus::Color m_colorMnemo;
    static Gdiplus::Color m_colorDragSegment;
    static Gdiplus::Color m_colorBusDragSegment;
    static Gdiplus::Color m_colorSelect;

protected:
    // Drops empty segments and joins neighbours of one orientation, from index `first` on.
    void RepairAfterOffsetSegmentPart(int first);
    void OffsetSegmentPartVertically(ST_SEGM& part, int dy);
    void OffsetSegmentPartHorizontally(ST_SEGM& part, int dx);

private:
    void OffsetSegmentPartAcross(ST_SEGM& part, int delta, bool horizontal);
};

// A new segment of that orientation and those coordinates.
SmartPointer<BUS_SEGMENT> MakeBusSegment(bool horizontal, int pos, int start, int end);

// The buses of a scheme by the GUID texts of the buses.
class MAP_SCHEME_POINTER_BUS : public std::map<CString, SmartPointer<SCHEME_BUS>> {
public:
    void Draw(Gdiplus::Graphics& g, EDrawType kind, Gdiplus::Size offset) const;
    // The union of the buses' bounds; a bus without segments adds the origin.
    Gdiplus::RectF GetBoundedRectF(float scale) const;
    // The first inner corner of a bus at `p`: the bus's key and the index of the segment that
    // ends there.
    bool IsNearCorner(Gdiplus::PointF p, CString& key, int& index) const;
};
