#pragma once
// Zoom and scroll arithmetic of the oscillogram view as plain functions of numbers: the
// horizontal scale (25 x XScale pixels per sample) and the first visible sample, the analog row
// height and the vertical offset, the wheel, and the fraction of a row a measurement spans.
// Sample counts and positions are 64-bit, so records of a billion samples stay exact.
#include <cstdint>

namespace oscview {

// Limits of the zoom commands: a sample at most 25 pixels wide, analog rows from 70 to 500.
constexpr double kMaxXScale = 1.0;
constexpr int kMinZoomAnalogSize = 70;
constexpr int kMaxZoomAnalogSize = 500;
constexpr double kVerticalZoomStep = 1.3;

// Nearest integer, halves upward.
int64_t RoundHalfUp(double x);

// Samples that fit in `plotWidth` pixels at `xscale`, minus one, never negative.
int64_t VisibleSpan(int plotWidth, double xscale);

struct HorizontalZoom {
    double xscale;
    int64_t first;
    bool changed;
};
// One horizontal zoom step in (x2) or out (x0.5). `anchor` is the sample that keeps its place
// (the first shown vertical cursor), or -1 for none, when the left edge keeps its sample. In
// is refused at kMaxXScale, out at `fitScale`. Zooming out keeps the first sample within the
// record for `plotWidth` pixels of traces.
HorizontalZoom ZoomHorizontal(bool in, double xscale, double fitScale, int64_t first, int64_t anchor, int64_t samples,
                              int plotWidth);

struct VerticalZoom {
    int analogSize;
    int offset;  // never positive
    bool changed;
};
// One vertical zoom step in (x1.3) or out (/1.3) about the client y `anchorY` (a shown
// horizontal cursor's, else 0). In is refused from kMaxZoomAnalogSize up, out from
// kMinZoomAnalogSize down.
VerticalZoom ZoomVertical(bool in, int analogSize, int offset, int anchorY);

// The vertical scroll position (pixels the rows are scrolled up) within [0, content - available].
int64_t ClampVerticalPosition(int64_t position, int64_t content, int64_t available);
// The vertical position after a wheel turn of `rotation` (120 a notch, positive away from the
// user): a notch scrolls one row step, a smooth turn its share of one.
int64_t WheelVerticalPosition(int64_t position, int rotation, int rowStep, int64_t content, int64_t available);

// The first visible sample that shows samples a..b (either order): unchanged when both are on
// show, else the window centred, or its start at the left edge when it is wider than the
// span; kept within [0, samples - span].
int64_t FirstSampleShowing(int64_t a, int64_t b, int64_t first, int64_t span, int64_t samples);

// The first visible sample that keeps `sample` on show, `margin` samples clear of either edge
// (a quarter of the span at most), with the least move: unchanged while it is so, else the
// window moved just far enough (within [0, samples - span]).
int64_t FirstSampleFollowing(int64_t sample, int64_t first, int64_t span, int64_t samples, int64_t margin = 0);

// A measurement from y1 to y2 in a row of `top` and `height`: the fractions from the row's top
// in increasing order; `reset` when they coincide (the row's zoom is switched off then).
struct RowFractions {
    double from, to;
    bool reset;
};
RowFractions MeasuredFractions(double y1, double y2, int64_t top, int height);

}  // namespace oscview

namespace oscview {

// What a window's scroll bar is given for a range [0, max] with `page` on show at `pos`: a
// thumb of at least one and a position the thumb fits at, nothing negative; a bar without
// range gets zeros (it stays on show, disabled).
struct ScrollBarSetting {
    int position, thumb, range;
};
ScrollBarSetting ToScrollBar(int64_t max, int64_t page, int64_t pos);

}  // namespace oscview
