#pragma once
// A polyline through more points than it has pixel columns draws the same pixels through
// only the first, the lowest, the highest and the last point of each column, in time order:
// within a column the line covers the rows from the lowest to the highest point whichever
// way it zigzags, and the step into the next column starts at the same last point. The cost
// of drawing then follows the width of the picture, not the length of the record.
#include <cstddef>
#include <vector>

#include "platform/Geometry.h"

namespace platform::draw {

// Replaces `out` with the reduced polyline of `points` (device pixels). A column is a run of
// consecutive points with the same x; a polyline that returns to a column starts a new run.
// Holds for a solid pen; a dashed pen's pattern would fall on other pixels.
void ReducePolylinePerColumn(const POINT* points, size_t count, std::vector<POINT>& out);

}  // namespace platform::draw
