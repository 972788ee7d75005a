#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "model/SignalSearch.h"
#include "model/TenvorikException.h"

TEST(SignalSearch, MediansAndSpread) {
    const double odd[] = {3, 1, 2}, even[] = {4, 1, 3, 2};
    EXPECT_EQ(CalcMedian(odd, 0, 2), 2.0);
    EXPECT_EQ(CalcMedian(even, 0, 3), 2.5);
    const int32_t ints[] = {4, 1, 3, 2};
    EXPECT_EQ(CalcMedianOfRange32(ints, 0, 3), 3);
    const double one[] = {7}, two[] = {1, 3};
    EXPECT_EQ(CalcStdDev(one, 0, 0), 0.0);
    EXPECT_EQ(CalcStdDev(two, 0, 1), 1.0);
    // NaN carries no value: it is left out, and never upsets the sort.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double withNan[] = {nan, 5, nan, 1, 3, nan};
    EXPECT_EQ(CalcMedian(withNan, 0, 5), 3.0);
    const double allNan[] = {nan, nan};
    EXPECT_TRUE(std::isnan(CalcMedian(allNan, 0, 1)));
}

TEST(SignalSearch, WindowSearches) {
    std::vector<double> flat(100, 2.0);
    // Nothing lies strictly above 0 for a flat signal: the default window.
    IndexRange r = FindMinStdDevWindow(flat.data(), 10, 100, 20, 0.0);
    EXPECT_EQ(r.first, 10);
    EXPECT_EQ(r.last, 29);
    // The bias makes the last of equally quiet windows win.
    r = FindQuietWindow(flat.data(), 0, 100, 0.0, 20);
    EXPECT_EQ(r.first, 80);
    EXPECT_EQ(r.last, 99);

    std::vector<double> noisy(100);
    for (int i = 0; i < 100; ++i) noisy[size_t(i)] = (i >= 40 && i < 60) ? 1.0 : (i % 2 ? 5.0 : -5.0);
    r = FindMinStdDevWindow(noisy.data(), 0, 100, 20, -1.0);
    EXPECT_EQ(r.first, 40);
    // A window past the end is never examined.
    r = FindQuietWindow(noisy.data(), 90, 100, 0.0, 20);
    EXPECT_EQ(r.first, 90);
}

TEST(SignalSearch, StationaryPeriodAgreesOnTheQuietStretch) {
    std::vector<double> a(200), b(200);
    for (int i = 0; i < 200; ++i) {
        bool quiet = i >= 100 && i < 140;
        a[size_t(i)] = quiet ? 12.5 : 12.5 + 3 * std::sin(i * 0.7);
        b[size_t(i)] = quiet ? 0.01 * std::sin(i * 0.3) : 4.0;
    }
    IndexRange r = FindStationaryPeriod(a.data(), b.data(), 20, 200, 20);
    // Both criteria point into the quiet stretch; the result may move by half their offset.
    EXPECT_GE(r.first, 100);
    EXPECT_LE(r.first, 130);
    EXPECT_EQ(r.last - r.first, 19);
}

// The search as one window at a time makes it: every window's measure on its own, every pass a
// scan of them all.
IndexRange StationaryPeriodWindowByWindow(const double* a, const double* b, int s, int E, int W) {
    auto best = [&](auto measure, double biasStep, double offset, double t) {
        double least = 1000000.0;
        int found = -1;
        for (int i = s; i <= E - W; ++i) {
            const double v = measure(i) - double(i - s) * biasStep + offset;
            if (least > v && v > t) {
                found = i;
                least = v;
            }
        }
        return found >= 0 ? IndexRange{found, found + W - 1} : IndexRange{s, s + W - 1};
    };
    auto quiet = [&](int i) { return CalcStdDev(a, i, i + W - 1); };
    auto low = [&](int i) {
        double sum = 0;
        for (int k = i; k < i + W; ++k) sum += b[k];
        return std::fabs(sum / W);
    };
    const double q = 0.001 / double(10 * W), l = 0.000001 / double(10 * W);
    double t1 = 0, t2 = 0;
    IndexRange r1, r2;
    int passes = 0;
    for (;;) {
        r1 = best(quiet, q, 0.001, t1);
        r2 = best(low, l, 0.000001, t2);
        t1 = quiet(r1.first);
        t2 = low(r2.first);
        ++passes;
        if (std::fabs(double(r1.first - r2.first)) <= 0.5 * W || passes >= 1000) break;
    }
    if (passes >= 1000) return best(quiet, q, 0.001, -1.0);
    int first = r1.first + int(std::ceil((r1.first - r2.first) * 0.5));
    if (first > E - W && E - W >= s) first = E - W;
    return {first, first + W - 1};
}

// Windows measured side by side and a long search answered from ranked windows give the window
// the plain search gives, to the sample: on noise, where the two measures never agree and the
// search runs all its passes, and on a signal with a stretch where they do.
TEST(SignalSearch, StationaryPeriodIsTheWindowByWindowSearchsAnswer) {
    uint32_t seed = 7;
    auto noise = [&] {
        seed = seed * 1664525u + 1013904223u;
        return double(seed >> 8) / double(1 << 24);
    };
    for (int shape = 0; shape < 4; ++shape) {
        const int n = 3000, W = 20 + 7 * shape;
        std::vector<double> a(n), b(n);
        for (int i = 0; i < n; ++i) {
            const bool quiet = shape % 2 == 1 && i >= 1800 && i < 1900;
            a[size_t(i)] = quiet ? 5.0 + 1e-6 * noise() : 5.0 + noise();
            b[size_t(i)] = quiet ? 1e-7 * noise() : noise() - 0.5;
        }
        for (const auto& [s, E] : {std::pair{0, n}, std::pair{W + 3, n - 5}}) {
            const IndexRange want = StationaryPeriodWindowByWindow(a.data(), b.data(), s, E, W);
            const IndexRange got = FindStationaryPeriod(a.data(), b.data(), s, E, W);
            EXPECT_EQ(got.first, want.first) << "shape " << shape << " from " << s;
            EXPECT_EQ(got.last, want.last) << "shape " << shape << " from " << s;
        }
    }
}

TEST(SignalSearch, LinearSolvers) {
    std::vector<double> x(2, 0.0);
    SolveLinearSystem({{0, 1}, {1, 0}}, {2, 3}, x);  // repaired by a row swap
    EXPECT_DOUBLE_EQ(x[0], 3);
    EXPECT_DOUBLE_EQ(x[1], 2);

    const struct {
        std::vector<std::vector<double>> M;
    } singular[] = {{{{0, 0}, {0, 1}}}, {{{1, 2}, {2, 4}}}, {{{1, 0}, {0, 0}}}};
    for (const auto& c : singular) {
        std::vector<double> y(2, 0.0);
        try {
            SolveLinearSystem(c.M, {1, 1}, y);
            FAIL() << "a singular system was solved";
        } catch (CTenvorikException* e) {
            EXPECT_EQ(e->GetErrorMessage(), L"Система уравнений не имеет решений.");
            e->Delete();
        }
        EXPECT_EQ(y, std::vector<double>(2, 0.0));  // untouched
    }

    using C = std::complex<double>;
    std::vector<std::vector<C>> M = {{C(2, 1), C(1, 0)}, {C(1, 0), C(3, -1)}};
    std::vector<C> want = {C(1, 2), C(-0.5, 0.25)};
    std::vector<C> r = {M[0][0] * want[0] + M[0][1] * want[1], M[1][0] * want[0] + M[1][1] * want[1]};
    std::vector<C> got(2);
    SolveComplexLinearSystem(M, r, got);
    EXPECT_NEAR(std::abs(got[0] - want[0]), 0, 1e-12);
    EXPECT_NEAR(std::abs(got[1] - want[1]), 0, 1e-12);
}
