#include <gtest/gtest.h>

#include <vector>

#include "model/SignalSearch.h"

TEST(SignalSearch, StationaryPeriodStaysInsideTheStretch) {
    // The quietest window of `a` is the last one, the lowest mean of `b` lies a little before it:
    // half their offset past the quiet window would leave the stretch.
    const int W = 20, E = 100;
    std::vector<double> a(E, 0.0), b(E, 5.0);
    for (int i = 0; i < E; ++i) a[size_t(i)] = i >= E - W ? 1.0 : (i % 2 ? 3.0 : -3.0);
    for (int i = 74; i < 74 + W; ++i) b[size_t(i)] = 0.5;
    IndexRange r = FindStationaryPeriod(a.data(), b.data(), 0, E, W);
    EXPECT_LE(r.last, E - 1);
    EXPECT_EQ(r.last - r.first, W - 1);
    EXPECT_EQ(r.first, E - W);
}

TEST(SignalSearch, StationaryPeriodOfAStretchShorterThanAWindowReadsNothingPastIt) {
    // The arrays end at E: a window of 20 samples from 5 would reach past them.
    std::vector<double> a(10, 1.0), b(10, 2.0);
    IndexRange r = FindStationaryPeriod(a.data(), b.data(), 5, 10, 20);
    EXPECT_EQ(r.first, 5);
    EXPECT_EQ(r.last, 24);
}
