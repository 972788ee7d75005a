#include "platform/draw/PolylineReduction.h"

#include <algorithm>

namespace platform::draw {

void ReducePolylinePerColumn(const POINT* points, size_t count, std::vector<POINT>& out) {
    out.clear();
    if (!points || count == 0) return;
    size_t i = 0;
    while (i < count) {
        const int x = points[i].x;
        int loY = points[i].y, hiY = loY;
        size_t lo = i, hi = i, j = i + 1;
        // Selects rather than branches: the extremes of a noisy column change unpredictably.
        for (; j < count; ++j) {
            const POINT q = points[j];
            if (q.x != x) break;
            lo = q.y < loY ? j : lo;
            loY = std::min(loY, q.y);
            hi = q.y > hiY ? j : hi;
            hiY = std::max(hiY, q.y);
        }
        // The four points in time order, each once.
        const size_t idx[4] = {i, std::min(lo, hi), std::max(lo, hi), j - 1};
        size_t prev = count;
        for (size_t k : idx) {
            if (k == prev) continue;
            out.push_back(points[k]);
            prev = k;
        }
        i = j;
    }
}

}  // namespace platform::draw
