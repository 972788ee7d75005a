#include "view/ViewZoom.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace oscview {

int64_t RoundHalfUp(double x) {
    const double f = std::floor(x);
    return int64_t(std::fabs(f - x) < 0.5 ? f : std::ceil(x));
}

int64_t VisibleSpan(int plotWidth, double xscale) {
    if (!(xscale > 0)) return 0;
    const double v = std::trunc(double(plotWidth) / 25.0 / xscale) - 1;
    return int64_t(std::clamp(v, 0.0, 4e15));
}

HorizontalZoom ZoomHorizontal(bool in, double xscale, double fitScale, int64_t first, int64_t anchor, int64_t samples,
                              int plotWidth) {
    HorizontalZoom z{xscale, first, false};
    if (in) {
        if (!(xscale < kMaxXScale)) return z;
        if (anchor >= 0) z.first = anchor - (anchor - first) / 2;
        z.xscale = xscale * 2;
    } else {
        if (!(xscale > fitScale)) return z;
        if (anchor >= 0) z.first = anchor + (first - anchor) * 2;
        z.xscale = xscale * 0.5;
        const double v = std::trunc(double(plotWidth) / 25.0f / z.xscale);
        const int64_t span = int64_t(std::clamp(v, 0.0, 4e15));
        z.first = std::max<int64_t>(std::min<int64_t>(z.first, std::max<int64_t>(samples - span - 1, 0)), 0);
    }
    z.first = std::max<int64_t>(z.first, 0);
    z.changed = true;
    return z;
}

VerticalZoom ZoomVertical(bool in, int analogSize, int offset, int anchorY) {
    VerticalZoom z{analogSize, offset, false};
    if (in ? analogSize >= kMaxZoomAnalogSize : analogSize <= kMinZoomAnalogSize) return z;
    const double k = in ? kVerticalZoomStep : 1.0 / kVerticalZoomStep;
    const int64_t o = RoundHalfUp((double(offset) - anchorY) * k + anchorY);
    z.offset = int(std::clamp<int64_t>(o, -(int64_t(1) << 30), 0));
    z.analogSize = int(RoundHalfUp(analogSize * k));
    z.changed = true;
    return z;
}

int64_t ClampVerticalPosition(int64_t position, int64_t content, int64_t available) {
    const int64_t range = std::max<int64_t>(content - std::max<int64_t>(available, 0), 0);
    return std::clamp<int64_t>(position, 0, range);
}

int64_t WheelVerticalPosition(int64_t position, int rotation, int rowStep, int64_t content, int64_t available) {
    const int64_t move = int64_t(rotation) * std::max(rowStep, 1) / 120;
    return ClampVerticalPosition(position - move, content, available);
}

int64_t FirstSampleShowing(int64_t a, int64_t b, int64_t first, int64_t span, int64_t samples) {
    if (a > b) std::swap(a, b);
    span = std::max<int64_t>(span, 0);
    if (a >= first && b <= first + span) return first;
    int64_t start = b - a <= span ? a - (span - (b - a)) / 2 : a;
    return std::clamp<int64_t>(start, 0, std::max<int64_t>(samples - span, 0));
}

int64_t FirstSampleFollowing(int64_t sample, int64_t first, int64_t span, int64_t samples, int64_t margin) {
    span = std::max<int64_t>(span, 0);
    margin = std::clamp<int64_t>(margin, 0, span / 4);
    if (sample >= first + margin && sample <= first + span - margin) return first;
    const int64_t moved = sample < first + margin ? sample - margin : sample - span + margin;
    return std::clamp<int64_t>(moved, 0, std::max<int64_t>(samples - span, 0));
}

RowFractions MeasuredFractions(double y1, double y2, int64_t top, int height) {
    RowFractions f{0.0, 1.0, true};
    if (height <= 0 || int64_t(y1) == int64_t(y2)) return f;
    double a = (y1 - double(top)) / height, b = (y2 - double(top)) / height;
    if (a > b) std::swap(a, b);
    f.from = std::clamp(a, 0.0, 1.0);
    f.to = std::clamp(b, 0.0, 1.0);
    f.reset = !(f.from < f.to);
    return f;
}

}  // namespace oscview

namespace oscview {

ScrollBarSetting ToScrollBar(int64_t max, int64_t page, int64_t pos) {
    if (max <= 0) return {0, 0, 0};
    const int64_t range = std::min<int64_t>(max, INT32_MAX - 1) + 1;
    const int64_t thumb = std::clamp<int64_t>(page, 1, range);
    return {int(std::clamp<int64_t>(pos, 0, range - thumb)), int(thumb), int(range)};
}

}  // namespace oscview
