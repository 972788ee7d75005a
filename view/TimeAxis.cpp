#include "view/TimeAxis.h"

#include <algorithm>
#include <cmath>

#include "model/TimeText.h"

namespace oscview {

namespace {

int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

}  // namespace

CString AxisLabelText(int unit, int64_t v, int64_t step) {
    switch (unit) {
        case kMilliseconds:
        case kSeconds: {
            const int places = AxisDecimals(unit, step);
            if (v == 0) return L"0";
            if (unit == kMilliseconds && places == 0) return FormatGroupedInt(DivRoundHalfUp(v, 1000));
            return FormatTimeNumber(v, unit, places);
        }
        case kTimeOfDay: return FormatTimeOfDay(double(v) / 1e6);
        default: return FormatGroupedInt(v);
    }
}

std::vector<AxisTick> ComputeAxisTicks(const AxisGeometry& g) {
    std::vector<AxisTick> ticks;
    if (!g.value || !(g.pixelsPerSample > 0) || g.right <= g.left) return ticks;
    const double pps = g.pixelsPerSample;
    const int64_t sa = g.firstSample;
    const int64_t span = int64_t(std::min(std::ceil(double(g.right - g.left) / pps), 4e15)) + 1;
    const int64_t sb = sa + std::max<int64_t>(span, 1);
    const int64_t v0 = g.value(sa), v1 = g.value(sb);
    auto width = [&](const CString& t) { return g.textWidth ? g.textWidth(t) : 8 * t.GetLength(); };
    if (v1 <= v0) {
        // Times that do not advance: the one value the axis can name.
        ticks.push_back({g.left, 10, AxisLabelText(g.unit, v0, 1)});
        return ticks;
    }
    const double xa = double(g.left), xb = double(g.left) + double(sb - sa) * pps;
    const double perValue = (xb - xa) / double(v1 - v0);
    // x of an axis value: between the two samples around it, as the curves draw them.
    auto xOf = [&](int64_t v) {
        int64_t lo = sa, hi = sb;  // value(lo) <= v < value(hi)
        while (hi - lo > 1) {
            const int64_t mid = lo + (hi - lo) / 2;
            (g.value(mid) <= v ? lo : hi) = mid;
        }
        const int64_t a = g.value(lo), b = g.value(hi);
        const double f = b > a ? double(v - a) / double(b - a) : 0.0;
        return double(g.left) + (double(lo - sa) + f) * pps;
    };
    // Labels show whole milliseconds of the day and whole samples.
    const int64_t least = g.unit == kTimeOfDay ? 1000 : 1;
    int mantissa = 1;
    int64_t step = RoundAxisStep(std::max(100.0 / perValue, double(least)), &mantissa);
    for (int pass = 0; pass < 8; ++pass) {
        const int w = std::max(width(AxisLabelText(g.unit, v0, step)), width(AxisLabelText(g.unit, v1, step)));
        const double need = (w + 16) / perValue;
        if (double(step) >= need) break;
        step = RoundAxisStep(need, &mantissa);
    }
    const int parts = mantissa == 2 ? 4 : 5;
    const int64_t minor = step % parts == 0 ? step / parts : step;
    const bool minors = minor < step && double(minor) * perValue >= 5;
    const int64_t unitStep = minors ? minor : step;
    for (int64_t k = FloorDiv(v0, unitStep) + 1 - (v0 % unitStep == 0 ? 1 : 0); k * unitStep <= v1; ++k) {
        const int64_t v = k * unitStep;
        const int x = int(std::lround(xOf(v)));
        if (x < g.left || x > g.right) continue;
        AxisTick t;
        t.x = x;
        if (v % step == 0) {
            t.length = 10;
            t.label = AxisLabelText(g.unit, v, step);
        } else if (parts == 4 && (v % step) % (2 * minor) == 0) {
            t.length = 7;
        }
        ticks.push_back(t);
        if (ticks.size() > 100000) break;
    }
    return ticks;
}

}  // namespace oscview
