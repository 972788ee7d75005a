#include "model/SignalSearch.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "model/Parallel.h"
#include "model/TenvorikException.h"
#include "model/VectorClones.h"

namespace {
constexpr unsigned kNoSolution = 3457;

double Mean(const double* x, int from, int to) {
    double sum = 0;
    for (int i = from; i <= to; ++i) sum += x[i];
    return sum / (to - from + 1);
}
}  // namespace

double CalcStdDev(const double* x, int from, int to) {
    if (to < from) return 0;
    const double mean = Mean(x, from, to);
    double sum = 0;
    for (int i = from; i <= to; ++i) sum += (x[i] - mean) * (x[i] - mean);
    return std::sqrt(sum / (to - from + 1));
}

double CalcMedian(const double* x, int from, int to) {
    std::vector<double> v;
    if (to >= from) v.reserve(size_t(to - from + 1));
    for (int i = from; i <= to; ++i)
        if (!std::isnan(x[i])) v.push_back(x[i]);
    if (v.empty()) return std::numeric_limits<double>::quiet_NaN();
    std::sort(v.begin(), v.end());
    const double half = (double(v.size()) - 1) * 0.5;
    const size_t lo = size_t(std::floor(half)), hi = size_t(std::ceil(half));
    double sum = 0;
    for (size_t i = lo; i <= hi; ++i) sum += v[i];
    return sum / double(hi - lo + 1);
}

int32_t CalcMedianOfRange32(const int32_t* x, int from, int to) {
    if (to < from) return 0;
    std::vector<int32_t> v(x + from, x + to + 1);
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

namespace {

// Long stretches of windows are scanned and ranked by the workers, in slices of at least this
// many windows.
constexpr size_t kWindowSlice = 1 << 15;

unsigned SliceCount(size_t count) {
    return unsigned(std::min<size_t>(tv::WorkerCount(), (count + kWindowSlice - 1) / kWindowSlice));
}

// The searches share one scheme: the measure of every window start, less a falling bias that
// makes the later of two equal windows win; the least value strictly above t is taken, the first
// of equal values. Each slice finds its own, and the slices' answers are taken in order with the
// same rule, which gives the one a single scan gives.
IndexRange BestWindow(const std::vector<double>& measure, int s, int W, double biasStep, double offset, double t) {
    const unsigned parts = SliceCount(measure.size());
    std::vector<std::pair<double, int>> best(std::max(parts, 1u), {1000000.0, -1});
    tv::ParallelSlices(measure.size(), parts, [&](unsigned p, size_t b, size_t e) {
        double least = 1000000.0;
        int found = -1;
        for (size_t k = b; k < e; ++k) {
            double v = measure[k] - double(k) * biasStep + offset;
            if (least > v && v > t) {
                found = s + int(k);
                least = v;
            }
        }
        best[p] = {least, found};
    });
    double least = 1000000.0;
    int found = -1;
    for (const auto& [v, k] : best)
        if (k >= 0 && least > v) least = v, found = k;
    return found >= 0 ? IndexRange{found, found + W - 1} : IndexRange{s, s + W - 1};
}

// Sorts v by `less`, a strict order without ties: slices sorted by the workers, then merged in
// pairs. The order is the one std::sort gives.
template <class Less>
void SortInSlices(std::vector<int>& v, Less less) {
    const unsigned parts = SliceCount(v.size());
    if (parts <= 1) {
        std::sort(v.begin(), v.end(), less);
        return;
    }
    std::vector<size_t> bounds(parts + 1);
    for (unsigned p = 0; p <= parts; ++p) bounds[p] = v.size() * p / parts;
    tv::ParallelSlices(parts, parts, [&](unsigned p, size_t, size_t) {
        std::sort(v.begin() + std::ptrdiff_t(bounds[p]), v.begin() + std::ptrdiff_t(bounds[p + 1]), less);
    });
    std::vector<int> merged(v.size());
    while (bounds.size() > 2) {
        const size_t runs = bounds.size() - 1, pairs = (runs + 1) / 2;
        auto at = [&](std::vector<int>& x, size_t run) {
            return x.begin() + std::ptrdiff_t(bounds[std::min(run, runs)]);
        };
        tv::ParallelFor(pairs, [&](size_t i) {
            std::merge(at(v, 2 * i), at(v, 2 * i + 1), at(v, 2 * i + 1), at(v, 2 * i + 2), at(merged, 2 * i), less);
        });
        std::vector<size_t> next;
        for (size_t i = 0; i <= pairs; ++i) next.push_back(bounds[std::min(2 * i, runs)]);
        v.swap(merged);
        bounds.swap(next);
    }
}

// The same choice as BestWindow, for a search that asks it again and again with other t: the
// measures are turned into BestWindow's values in place and the windows ranked once by them (the
// earlier of two equal values first), so that each question is a binary search.
class RankedWindows {
public:
    RankedWindows(std::vector<double>& measure, int s, int W, double biasStep, double offset)
        : m_values(measure), m_s(s), m_W(W) {
        m_order.reserve(measure.size());
        for (size_t k = 0; k < measure.size(); ++k) {
            const double v = measure[k] - double(k) * biasStep + offset;
            m_values[k] = v;
            // BestWindow takes nothing that is not a number or not below its starting best.
            if (v < 1000000.0) m_order.push_back(int(k));
        }
        SortInSlices(m_order, [this](int a, int b) {
            const double va = m_values[size_t(a)], vb = m_values[size_t(b)];
            return va < vb || (va == vb && a < b);
        });
    }
    IndexRange Best(double t) const {
        auto it = std::upper_bound(m_order.begin(), m_order.end(), t,
                                   [this](double value, int k) { return value < m_values[size_t(k)]; });
        if (std::isnan(t) || it == m_order.end()) return {m_s, m_s + m_W - 1};
        return {m_s + *it, m_s + *it + m_W - 1};
    }

private:
    std::vector<double>& m_values;
    int m_s, m_W;
    std::vector<int> m_order;  // window starts, by value
};

// The measures of the windows of W samples starting at [from, to) into m[from - s ...]. Several
// windows are summed side by side, each with the same additions in the same order as CalcStdDev
// and Mean make them, so that every measure is the same to the last bit as one window's.
constexpr int kLanes = 8;
using tv::Lanes4;

TV_VECTOR_CLONES void StdDevsOf(const double* x, int s, int from, int to, int W, double* m) {
    int i = from;
    for (; i + kLanes <= to; i += kLanes) {
        const double* w = x + i;
        Lanes4 sum[2] = {}, sq[2] = {}, mean[2];
        Lanes4 x;
        const Lanes4 count = {double(W), double(W), double(W), double(W)};
        for (int k = 0; k < W; ++k)
            for (int q = 0; q < 2; ++q) {
                tv::LoadLanes(x, w + k + 4 * q);
                sum[q] += x;
            }
        for (int q = 0; q < 2; ++q) mean[q] = sum[q] / count;
        for (int k = 0; k < W; ++k)
            for (int q = 0; q < 2; ++q) {
                tv::LoadLanes(x, w + k + 4 * q);
                const Lanes4 d = x - mean[q];
                sq[q] += d * d;
            }
        for (int l = 0; l < kLanes; ++l) m[i - s + l] = std::sqrt(sq[l / 4][l % 4] / W);
    }
    for (; i < to; ++i) m[i - s] = CalcStdDev(x, i, i + W - 1);
}

TV_VECTOR_CLONES void AbsMeansOf(const double* x, int s, int from, int to, int W, double* m) {
    int i = from;
    for (; i + kLanes <= to; i += kLanes) {
        const double* w = x + i;
        Lanes4 sum[2] = {}, x;
        for (int k = 0; k < W; ++k)
            for (int q = 0; q < 2; ++q) {
                tv::LoadLanes(x, w + k + 4 * q);
                sum[q] += x;
            }
        for (int l = 0; l < kLanes; ++l) m[i - s + l] = std::fabs(sum[l / 4][l % 4] / W);
    }
    for (; i < to; ++i) m[i - s] = std::fabs(Mean(x, i, i + W - 1));
}

// The measures of the windows of W samples starting at s, s + 1, ... E - W + 1; each window
// stands alone, so a long stretch is measured in slices by the workers.
template <class Measure>
std::vector<double> Windows(const double* x, int s, int E, int W, Measure measure) {
    std::vector<double> m(size_t(std::max(0, E - W - s + 1)));
    const size_t count = m.size();
    tv::ParallelSlices(count, SliceCount(count), [&](unsigned, size_t b, size_t e) {
        if (b < e) measure(x, s, s + int(b), s + int(e), W, m.data());
    });
    return m;
}

std::vector<double> StdDevs(const double* x, int s, int E, int W) { return Windows(x, s, E, W, StdDevsOf); }
std::vector<double> AbsMeans(const double* x, int s, int E, int W) { return Windows(x, s, E, W, AbsMeansOf); }

double QuietStep(int W) { return 0.001 / double(10 * W); }
double LowMeanStep(int W) { return 0.000001 / double(10 * W); }

}  // namespace

IndexRange FindQuietWindow(const double* x, int s, int E, double t, int W) {
    if (W < 1) return {s, s};
    return BestWindow(StdDevs(x, s, E, W), s, W, QuietStep(W), 0.001, t);
}

IndexRange FindLowMeanWindow(const double* x, int s, int E, double t, int W) {
    if (W < 1) return {s, s};
    return BestWindow(AbsMeans(x, s, E, W), s, W, LowMeanStep(W), 0.000001, t);
}

IndexRange FindStationaryPeriod(const double* a, const double* b, int s, int E, int W) {
    if (W < 1) return {s, s};
    // Each pass looks again at the same windows with a higher threshold: their measures are
    // worked out once, so a pass costs one scan instead of a window sum per position.
    std::vector<double> quiet = StdDevs(a, s, E, W), low = AbsMeans(b, s, E, W);
    // No window fits between s and E: the answer is the default window, found without reading
    // past the stretch.
    if (quiet.empty()) return {s, s + W - 1};
    double t1 = 0.0, t2 = 0.0;
    IndexRange r1, r2;
    int passes = 0;
    // Most searches settle in a few passes; one that goes on asks the ranked windows instead of
    // scanning them all again on every pass (the measures then hold the ranked values).
    constexpr int kScannedPasses = 8;
    std::unique_ptr<RankedWindows> rankedQuiet, rankedLow;
    for (;;) {
        if (passes < kScannedPasses) {
            r1 = BestWindow(quiet, s, W, QuietStep(W), 0.001, t1);
            r2 = BestWindow(low, s, W, LowMeanStep(W), 0.000001, t2);
        } else {
            if (!rankedQuiet) {
                rankedQuiet = std::make_unique<RankedWindows>(quiet, s, W, QuietStep(W), 0.001);
                rankedLow = std::make_unique<RankedWindows>(low, s, W, LowMeanStep(W), 0.000001);
            }
            r1 = rankedQuiet->Best(t1);
            r2 = rankedLow->Best(t2);
        }
        t1 = CalcStdDev(a, r1.first, r1.last);
        t2 = std::fabs(Mean(b, r2.first, r2.last));
        ++passes;
        if (std::fabs(double(r1.first - r2.first)) <= 0.5 * W || passes >= 1000) break;
    }
    if (passes >= 1000) return rankedQuiet->Best(-1.0);
    int first = r1.first + int(std::ceil((r1.first - r2.first) * 0.5));
    // The half step away from r2 can pass the last window start; the window stays inside the
    // searched stretch.
    if (first > E - W && E - W >= s) first = E - W;
    return {first, first + W - 1};
}

IndexRange FindMinStdDevWindow(const double* x, int s, int E, int W, double t) {
    if (W < 1) return {s, s};
    const int last = E - W;
    double best = std::numeric_limits<double>::max();
    int found = -1;
    for (int i = s; i <= last; ++i) {
        double v = CalcStdDev(x, i, i + W - 1);
        if (best > v && v > t) {
            found = i;
            best = v;
        }
    }
    return found >= 0 ? IndexRange{found, found + W - 1} : IndexRange{s, s + W - 1};
}

namespace {

template <class T>
bool IsZero(const T& v) {
    if constexpr (std::is_same_v<T, double>) return v == 0.0;
    else return v.real() == 0.0 && v.imag() == 0.0;
}

template <class T>
void Solve(std::vector<std::vector<T>>& M, std::vector<T>& r, std::vector<T>& x) {
    const size_t n = M.size();
    if (r.size() != n) throw new CTenvorikException(kNoSolution);
    for (const auto& row : M)
        if (row.size() != n) throw new CTenvorikException(kNoSolution);
    // A zero on the diagonal is repaired by a row whose own diagonal then is not zero either.
    for (size_t k = 0; k < n; ++k) {
        if (!IsZero(M[k][k])) continue;
        for (size_t i = 0; i < n; ++i) {
            if (i != k && !IsZero(M[i][k]) && !IsZero(M[k][i])) {
                std::swap(M[i], M[k]);
                std::swap(r[i], r[k]);
                break;
            }
        }
    }
    for (size_t k = 0; k < n; ++k) {
        // Every pivot is tested, the last as well: an infinite "solution" is no solution.
        if (IsZero(M[k][k])) throw new CTenvorikException(kNoSolution);
        for (size_t i = k + 1; i < n; ++i) {
            T f = M[i][k] / M[k][k];
            for (size_t j = k; j < n; ++j) M[i][j] -= f * M[k][j];
            r[i] -= f * r[k];
        }
    }
    std::vector<T> sol(n, T(0));
    for (size_t i = n; i-- > 0;) {
        T sum = r[i];
        for (size_t j = i + 1; j < n; ++j) sum -= M[i][j] * sol[j];
        sol[i] = sum / M[i][i];
    }
    x = std::move(sol);
}

}  // namespace

void SolveLinearSystem(std::vector<std::vector<double>> M, std::vector<double> r, std::vector<double>& x) {
    Solve(M, r, x);
}

void SolveComplexLinearSystem(std::vector<std::vector<std::complex<double>>>& M,
                              std::vector<std::complex<double>>& r, std::vector<std::complex<double>>& x) {
    Solve(M, r, x);
}
