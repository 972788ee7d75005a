#include "platform/draw/PolylineReduction.h"

namespace platform::draw {

void ReducePolylinePerColumn(const POINT* points, size_t count, std::vector<POINT>& out) {
    out.clear();
    if (!points || count == 0) return;
    size_t i = 0;
    while (i < count) {
        const int x = points[i].x;
        size_t first = i, lo = i, hi = i, last = i;
        for (++i; i < count && points[i].x == x; ++i) {
            if (points[i].y < points[lo].y) lo = i;
            if (points[i].y > points[hi].y) hi = i;
            last = i;
        }
        // The four indices in time order, each once.
        size_t idx[4] = {first, lo < hi ? lo : hi, lo < hi ? hi : lo, last};
        size_t prev = size_t(-1);
        for (size_t k : idx) {
            if (k == prev) continue;
            out.push_back(points[k]);
            prev = k;
        }
    }
}

}  // namespace platform::draw
