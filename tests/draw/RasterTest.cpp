#include <gtest/gtest.h>

#include <random>
#include <set>

#include "platform/draw/Raster.h"

using platform::draw::HairlineRuns;

namespace {

using Pixels = std::set<std::pair<int, int>>;

// One pixel per step along the longer axis, the other coordinate rounded half away from the start.
Pixels Reference(int x0, int y0, int x1, int y1, bool last, const RECT* box) {
    Pixels out;
    const long long dx = x1 - x0, dy = y1 - y0, adx = std::llabs(dx), ady = std::llabs(dy);
    const bool xMajor = adx >= ady;
    const long long major = xMajor ? adx : ady, minor = xMajor ? ady : adx;
    const long long end = last ? major : major - 1;
    for (long long t = 0; t <= end; ++t) {
        const long long k = major == 0 ? 0 : (2 * t * minor + major) / (2 * major);
        const long long sM = (xMajor ? dx : dy) < 0 ? -1 : 1, sN = (xMajor ? dy : dx) < 0 ? -1 : 1;
        const int x = int(xMajor ? x0 + sM * t : x0 + sN * k);
        const int y = int(xMajor ? y0 + sN * k : y0 + sM * t);
        if (!box || (x >= box->left && x < box->right && y >= box->top && y < box->bottom)) out.insert({x, y});
    }
    return out;
}

Pixels Drawn(int x0, int y0, int x1, int y1, bool last, const RECT* box) {
    Pixels out;
    HairlineRuns(x0, y0, x1, y1, last, nullptr, box, [&](int x, int y, int w, int h) {
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) EXPECT_TRUE(out.insert({x + i, y + j}).second) << "pixel lit twice";
    });
    return out;
}

}  // namespace

TEST(Raster, ThinLineRunsMatchOnePixelPerStep) {
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> coord(-40, 80);
    const RECT box{0, 0, 50, 40};
    for (int i = 0; i < 3000; ++i) {
        const int x0 = coord(rng), y0 = coord(rng), x1 = coord(rng), y1 = coord(rng);
        const bool last = i % 2 == 0;
        ASSERT_EQ(Drawn(x0, y0, x1, y1, last, nullptr), Reference(x0, y0, x1, y1, last, nullptr))
            << x0 << "," << y0 << " " << x1 << "," << y1;
        ASSERT_EQ(Drawn(x0, y0, x1, y1, last, &box), Reference(x0, y0, x1, y1, last, &box))
            << x0 << "," << y0 << " " << x1 << "," << y1 << " boxed";
    }
}
