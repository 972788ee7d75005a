#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "Canvas.h"
#include "platform/draw/PolylineReduction.h"

using namespace drawtest;
using platform::draw::ReducePolylinePerColumn;

TEST(PolylineReduction, KeepsFirstLowestHighestLastInTimeOrder) {
    const POINT pts[] = {{0, 5}, {0, 9}, {0, 1}, {0, 4},  // column 0: highest y before lowest
                         {1, 3},                          // a single point
                         {2, 2}, {2, 2}, {2, 7},          // first equals the lowest y
                         {1, 0}};                         // back to column 1: a run of its own
    std::vector<POINT> out;
    ReducePolylinePerColumn(pts, std::size(pts), out);
    const std::vector<std::pair<int, int>> expected = {{0, 5}, {0, 9}, {0, 1}, {0, 4}, {1, 3},
                                                       {2, 2}, {2, 7}, {1, 0}};
    ASSERT_EQ(out.size(), expected.size());
    for (size_t i = 0; i < out.size(); ++i) {
        EXPECT_EQ(out[i].x, expected[i].first) << i;
        EXPECT_EQ(out[i].y, expected[i].second) << i;
    }
    ReducePolylinePerColumn(pts, 0, out);
    EXPECT_TRUE(out.empty());
}

TEST(PolylineReduction, DrawsTheSamePixelsAsTheFullPolyline) {
    // Noisy signals of many samples per column, and a slow one with single points per column,
    // drawn in a strip narrower than the picture and clipped at its top.
    std::mt19937 rng(7);
    std::normal_distribution<double> noise(0, 12);
    struct Case {
        int count;
        int width;
    } cases[] = {{200000, 300}, {150, 300}, {5000, 37}};
    for (const auto& k : cases) {
        std::vector<POINT> pts(static_cast<size_t>(k.count));
        for (int i = 0; i < k.count; ++i) {
            const double t = double(i) / k.count;
            pts[size_t(i)].x = 5 + int(std::floor(t * k.width));
            pts[size_t(i)].y = int(std::lround(100 + 60 * std::sin(t * 20) + noise(rng)));
        }
        std::vector<POINT> reduced;
        ReducePolylinePerColumn(pts.data(), pts.size(), reduced);
        EXPECT_LE(reduced.size(), size_t(4 * (k.width + 1)));
        Canvas full(320, 220), less(320, 220);
        for (Canvas* c : {&full, &less}) {
            CRgn clip;
            clip.CreateRectRgn(0, 30, 320, 220);
            c->dc.SelectClipRgn(&clip);
            CPen pen(PS_SOLID, 1, kBlue);
            c->dc.SelectObject(&pen);
        }
        full.dc.Polyline(pts.data(), int(pts.size()));
        less.dc.Polyline(reduced.data(), int(reduced.size()));
        int differ = 0, lit = 0;
        for (int y = 0; y < 220; ++y)
            for (int x = 0; x < 320; ++x) {
                differ += full.At(x, y) != less.At(x, y);
                lit += full.At(x, y) == kBlue;
            }
        EXPECT_EQ(differ, 0) << k.count;
        EXPECT_GT(lit, k.width) << k.count;
    }
}
