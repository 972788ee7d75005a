#pragma once
// Zone figures of a relay characteristic: polygons, poly-lines, circles and ellipses whose
// coordinates are formulas over the block parameters. Recalculated from the characteristic's
// calculator, drawn as a device path and returned as a region the diagrams combine.
#include <memory>
#include <vector>

#include "platform/CString.h"
#include "platform/draw/DeviceContext.h"
#include "platform/draw/Region.h"

struct Characteristic;

struct PlanePoint {
    double x = 0, y = 0;
};

class Figure {
public:
    virtual ~Figure() = default;
    virtual std::unique_ptr<Figure> Clone() const = 0;
    // Evaluates the expressions with the characteristic's calculator; an error leaves at once
    // as the program's exception, the values computed before it stay.
    virtual void Recalculate(Characteristic& owner) = 0;
    // The outline as a region of the device; never empty of pixels: a figure that encloses
    // nothing gives the one pixel at its first point or centre. `view`, when given, closes
    // open poly-lines, and polygons and poly-lines are cut to a window a few view sizes
    // around it.
    virtual CRgn Draw(CDC* dc, double scale, const POINT* origin, const RECT* view) const = 0;

    uint32_t mode = 0;  // 1 on (operating zone), 0 off (return zone)
    uint32_t type = 2;  // how the region folds into the zone: RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF
};

struct FigureLine {
    CString k, b;
    int type = 0;  // 1: y = k x + b; 2: x = k y + b
};

class PolygonF : public Figure {
public:
    std::unique_ptr<Figure> Clone() const override { return std::make_unique<PolygonF>(*this); }
    void Recalculate(Characteristic& owner) override;
    CRgn Draw(CDC* dc, double scale, const POINT* origin, const RECT* view) const override;

    std::vector<FigureLine> lines;
    std::vector<PlanePoint> vertices;
};

struct FigurePoint {
    CString x, y;
};

class PolypointF : public Figure {
public:
    std::unique_ptr<Figure> Clone() const override { return std::make_unique<PolypointF>(*this); }
    void Recalculate(Characteristic& owner) override;
    CRgn Draw(CDC* dc, double scale, const POINT* origin, const RECT* view) const override;

    std::vector<FigurePoint> points;
    std::vector<PlanePoint> coordinates;
    bool closed = true;
};

class Circle : public Figure {
public:
    std::unique_ptr<Figure> Clone() const override { return std::make_unique<Circle>(*this); }
    void Recalculate(Characteristic& owner) override;
    CRgn Draw(CDC* dc, double scale, const POINT* origin, const RECT* view) const override;

    CString xcenter, ycenter, radius;
    double cx = 0, cy = 0, r = 0;
};

class EllipseF : public Figure {
public:
    std::unique_ptr<Figure> Clone() const override { return std::make_unique<EllipseF>(*this); }
    void Recalculate(Characteristic& owner) override;
    CRgn Draw(CDC* dc, double scale, const POINT* origin, const RECT* view) const override;

    CString xcenter, ycenter, height, width, angle;
    double cx = 0, cy = 0, h = 0, w = 0, theta = 0;  // theta: radians, sign reversed
};

// The vertex where line p meets line i; (0, 0) for lines of unknown kinds and for lines that
// do not meet (parallel), so that a zone is always drawable.
PlanePoint IntersectFigureLines(double kp, double bp, int tp, double ki, double bi, int ti);

// Points that close an open poly-line (plane units): the crossing of its extended end
// segments, or the exits of both ends through a frame two view sizes around the view
// (`right`, `bottom` in device units) joined along the frame. Empty when it cannot be closed.
std::vector<PlanePoint> ClosingPoints(const std::vector<PlanePoint>& p, double scale, POINT origin, int right, int bottom);

// A plane point on the device: origin.x + R(x scale), origin.y - R(y scale).
POINT PlaneToDevice(PlanePoint p, double scale, POINT origin);
