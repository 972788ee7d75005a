#pragma once
// Pixel-exact pieces of the device-context layer that Cairo does not give by itself: the
// pixels of a one-pixel line (every pixel of each segment but its end point, as the
// system's line drawing lights them, with the pixel-counted dash patterns of thin pens),
// and the pixel spans of a polygon (a pixel belongs to it when its centre lies inside).
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/Geometry.h"

namespace platform::draw {

// Dash pattern of a thin pen, in pixels along the line; the phase carries over from one
// segment of a polyline to the next.
struct DashState {
    const int* pattern = nullptr;  // on, off, on, off ... ; null: solid
    int count = 0;
    int index = 0;                 // current element of the pattern
    int left = 0;                  // pixels left in that element (0: take the whole element)
};

// Pattern of a thin pen style (PS_DASH ...), or null for a solid or unknown style.
const int* ThinPenPattern(int style, int* count);

// Calls `run` for each run of lit pixels of the line from (x0, y0) to (x1, y1) that lies in
// `box` (all of them when null): (x, y, w, h) is a 1-pixel-wide rectangle. The end point is
// lit only when `includeLast` is set.
void HairlineRuns(int x0, int y0, int x1, int y1, bool includeLast, DashState* dash, const RECT* box,
                  const std::function<void(int, int, int, int)>& run);

struct PointD {
    double x = 0;
    double y = 0;
};

// Horizontal pixel spans of one pixel row: pairs [x0, x1).
struct SpanRow {
    int y = 0;
    std::vector<int> xs;
};

// Regions and fills reach this far from the origin in pixels; no picture or page is larger.
constexpr int kScanLimit = 1 << 18;

// Rows of pixels whose centres lie inside the closed polygons (each closed implicitly),
// with the alternate (even-odd) or winding rule. Rows without pixels are left out.
std::vector<SpanRow> ScanPolygons(const std::vector<std::vector<PointD>>& polygons, bool winding);

// Flattens a cubic Bézier curve from p0 (not appended) to p3, appending points to `out`.
void FlattenBezier(PointD p0, PointD p1, PointD p2, PointD p3, std::vector<PointD>& out);

}  // namespace platform::draw
