#pragma once
// Where the time axis puts its ticks and what its labels read: labels at round values of the
// axis unit (1, 2 or 5 times a power of ten: 10 000 ms, not 8 192 ms), as far apart as the
// widest label needs, whatever the zoom; minor ticks between them. A plain function of the
// view's geometry, so that a test reads the ticks without a picture.
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/CString.h"

namespace oscview {

struct AxisTick {
    int x = 0;
    int length = 5;  // 10 under a label, 7 halfway between two labels, else 5
    CString label;   // empty for an unlabelled tick
};

struct AxisGeometry {
    int left = 0, right = 0;       // the plot's pixel span
    int64_t firstSample = 0;       // sample at x = left
    double pixelsPerSample = 25;   // 25 x XScale
    int unit = 1;                  // TimeUnit
    // The axis value of a sample: microseconds from the zero time (of the day, for the time of
    // day), or the sample number counted from 1 at the zero-time sample. Never decreasing.
    std::function<int64_t(int64_t)> value;
    // Width of a label in pixels.
    std::function<int(const CString&)> textWidth;
};

// The text of an axis value `v` when labels stand `step` apart.
CString AxisLabelText(int unit, int64_t v, int64_t step);

std::vector<AxisTick> ComputeAxisTicks(const AxisGeometry& g);

}  // namespace oscview
