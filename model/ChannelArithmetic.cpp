// Signal arithmetic of a channel: samples per period, windowed mean, RMS, harmonics, phasors,
// the period-to-period second difference, and the rebuild of the per-sample arrays.
#include <algorithm>
#include <atomic>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

#include "model/Channel.h"
#include "model/DocumentModel.h"
#include "model/Numeric.h"
#include "model/TenvorikException.h"

namespace {

constexpr double kSqrt2 = 1.4142135623730951;
constexpr double kTwoPi = 6.283185307179586;
// Samples between two looks at the cancel flag and two progress reports.
constexpr size_t kProgressChunk = 8192;

// Reads shown values through GetValue; a negative index or one past the end reads 0, and a
// missing sample (not a number) stays missing, so that the measures can leave it out.
struct ValueReader {
    const CChannel& ch;
    double operator()(int64_t k) const {
        if (k < 0 || k > int64_t(UINT32_MAX)) return 0.0;
        if (uint64_t(k) < ch.m_samples.size() && std::isnan(ch.m_samples[size_t(k)]))
            return std::numeric_limits<double>::quiet_NaN();
        return ch.GetValue(uint32_t(k));
    }
};

// Reads the value cache, which holds GetValue of every sample during Recalc.
struct CacheReader {
    const double* v;
    int64_t n;
    double operator()(int64_t k) const { return (k < 0 || k >= n) ? 0.0 : v[k]; }
};

// The exact window of P periods of the tracked frequency ending at sample i: W whole sample
// steps and a remainder tau of one step, integrated as a trapezoid of the linearly
// interpolated signal.
struct TrackWindow {
    double fs = 0, dt = 0, f = 50.0, tau = 0;
    int64_t W = 0;

    double Weight(int64_t m) const {
        if (m == 0) return dt / 2;
        if (m < W) return dt;
        if (m == W) return dt / 2 + tau - tau * tau / (2 * dt);
        return tau * tau / (2 * dt);  // m == W + 1
    }
};

double ChannelRate(const CChannel& ch) {
    if (ch.m_ownRate != 0.0) return ch.m_ownRate;
    return ch.m_document ? double(ch.m_document->m_oscillogram.m_samplingFrequency) : 0.0;
}

// The tracked frequency at sample i: the tracking channel's raw sample when it exists and is a
// usable frequency, else 50 Hz.
double TrackedFrequency(const CChannel* tracking, int64_t i) {
    if (!tracking || i < 0 || uint64_t(i) >= tracking->m_samples.size()) return 50.0;
    double f = tracking->m_samples[size_t(i)];
    return (std::isfinite(f) && f > 0.0) ? f : 50.0;
}

// False when no window can be formed: no usable rate, no periods, or the window does not fit
// before sample i (it needs sample i - W - 1).
bool MakeTrackWindow(const CChannel& ch, int64_t i, double periods, const CChannel* tracking, TrackWindow& w) {
    w.fs = ChannelRate(ch);
    if (!(w.fs > 0.0) || !std::isfinite(w.fs) || !(periods > 0)) return false;
    w.dt = 1.0 / w.fs;
    w.f = TrackedFrequency(tracking, i);
    double whole = std::floor(periods * w.fs / w.f);
    if (!(whole >= 1.0) || whole >= double(i)) return false;
    w.W = int64_t(whole);
    w.tau = periods / w.f - double(w.W) / w.fs;
    return true;
}

template <class V>
double TrackedSum(const TrackWindow& w, int64_t i, V v, bool squares) {
    double sum = 0;
    for (int64_t m = 0; m <= w.W + 1; ++m) {
        double x = v(i - m);
        if (std::isnan(x)) continue;  // a missing sample is left out
        sum += w.Weight(m) * (squares ? x * x : x);
    }
    return sum;
}

template <class V>
Complex TrackedPhasor(const TrackWindow& w, int64_t i, V v, double harmonic, double periods) {
    double omega = kTwoPi * harmonic * w.f * w.dt;
    const Complex step(std::cos(omega), std::sin(omega));
    Complex z(1.0, 0.0);  // unit phasor at angle m * omega
    double re = 0, im = 0;
    for (int64_t m = 0; m <= w.W + 1; ++m) {
        // The rotation is renewed now and then so that rounding cannot build up.
        if ((m & 63) == 0 && m) z = Complex(std::cos(double(m) * omega), std::sin(double(m) * omega));
        double x = w.Weight(m) * v(i - m);
        if (std::isnan(x)) x = 0.0;  // a missing sample is left out
        re -= x * z.imag();
        im += x * z.real();
        z *= step;
    }
    return Complex(re, im) * (kSqrt2 * w.f / periods);
}

template <class V>
double TrackedRms(const TrackWindow& w, int64_t i, V v, double periods) {
    double s = TrackedSum(w, i, v, true) * w.f / periods;
    return s > 0 ? std::sqrt(s) : 0.0;
}

// Missing samples (not a number) are left out of every window: a measure is taken over the
// samples present and scaled to the whole window; a window without any is itself missing.
constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();

template <class V>
double DirectRms(int64_t i, int64_t W, V v) {
    if (W <= 0 || double(W) - 1.0 > double(i)) return 0.0;
    double sum = 0;
    int64_t present = 0;
    for (int64_t j = 1; j <= W; ++j) {
        double x = v(i - W + j);
        if (std::isnan(x)) continue;
        sum += x * x;
        ++present;
    }
    return present ? std::sqrt(sum / double(present)) : kMissing;
}

// cos and sin of 2*pi*k*j/W for j = 1..W, kept per thread for the last (k, W) asked: a caller
// that walks the samples of a channel (a formula, a curve) pays for the angles once.
struct HarmonicTable {
    int k = 0;
    int64_t W = -1;
    std::vector<double> c, s;
    void Build(int order, int64_t window) {
        if (order == k && window == W) return;
        k = order;
        W = window;
        c.assign(size_t(window) + 1, 0.0);
        s.assign(size_t(window) + 1, 0.0);
        const double kw = kTwoPi * order;
        for (int64_t j = 1; j <= window; ++j) {
            double theta = kw * double(j) / double(window);
            c[size_t(j)] = std::cos(theta);
            s[size_t(j)] = std::sin(theta);
        }
    }
};
thread_local HarmonicTable t_harmonic;

template <class V>
double DirectHarmonic(int k, int64_t i, int64_t W, V v) {
    if (W <= 0 || i < W - 1) return 0.0;
    t_harmonic.Build(k, W);
    const double* c = t_harmonic.c.data();
    const double* s = t_harmonic.s.data();
    double re = 0, im = 0;
    int64_t present = 0;
    for (int64_t j = 1; j <= W; ++j) {
        double x = v(i - W + j);
        if (std::isnan(x)) continue;
        re += x * c[j];
        im += x * s[j];
        ++present;
    }
    return present ? std::sqrt(re * re + im * im) * kSqrt2 / double(present) : kMissing;
}

// The fixed-period phasor tables, one set per thread so that channels recalculated in
// parallel never share them.
struct PhasorTables {
    int period = -1;
    std::vector<double> sine, cosine;
    void Build(int n) {
        if (n == period) return;
        period = n;
        sine.assign(size_t(n) + 1, 0.0);
        cosine.assign(size_t(n) + 1, 0.0);
        for (int j = 1; j <= n; ++j) {
            sine[size_t(j)] = std::sin(kTwoPi * j / n);
            cosine[size_t(j)] = std::cos(kTwoPi * j / n);
        }
    }
};
thread_local PhasorTables t_tables;

template <class V>
Complex DirectFirstPhasor(int64_t i, int n, V v) {
    if (n <= 0 || int64_t(n) - 1 > i) return {};
    t_tables.Build(n);
    double re = 0, im = 0;
    int present = 0;
    for (int j = 1; j <= n; ++j) {
        double x = v(i - n + j);
        if (std::isnan(x)) continue;
        re += t_tables.sine[size_t(j)] * x;
        im += t_tables.cosine[size_t(j)] * x;
        ++present;
    }
    if (!present) return {kMissing, kMissing};
    double scale = kSqrt2 / present;
    return {re * scale, im * scale};
}

// Adds progress and reads the cancel flag every few thousand samples.
class ProgressTicker {
public:
    explicit ProgressTicker(LoadProgress* p) : m_p(p), m_step(p ? uint32_t(std::max(0, int(p->step.load()))) : 0) {}
    ~ProgressTicker() { Flush(); }
    // Counts one sample; true when the work is to stop.
    bool Tick() {
        if (++m_pending < kProgressChunk) return false;
        Flush();
        return m_p && m_p->Cancelled();
    }
    bool Cancelled() const { return m_p && m_p->Cancelled(); }
    void Add(size_t samples) {
        m_pending += samples;
        Flush();
    }
    void Flush() {
        if (m_p && m_pending) m_p->Add(uint64_t(m_pending) * m_step);
        m_pending = 0;
    }

private:
    LoadProgress* m_p;
    uint32_t m_step;
    size_t m_pending = 0;
};

}  // namespace

// ------------------------------------------------------------------ periods and tracking

int CChannel::GetSamplesPerPeriod() const {
    const COscillogram* osc = m_document ? &m_document->m_oscillogram : nullptr;
    double net = osc ? osc->m_netFrequency : 50.0;
    if (m_ownRate != 0.0) {
        // A pasted channel counts its periods at the host record's net frequency.
        double f = (std::isfinite(net) && net > 0.0) ? net : 50.0;
        double ratio = m_ownRate / f;
        return (std::isfinite(ratio) && ratio > 0.0) ? std::max(0, RoundToInt(ratio)) : 0;
    }
    if (!osc || osc->m_samplingFrequency <= 0) return 0;
    // The net frequency counts in whole hertz; below 1 Hz there are no whole periods.
    if (!(net >= 1.0) || !std::isfinite(net) || net >= 4294967296.0) return 0;
    uint32_t whole = uint32_t(std::trunc(net));
    return int(uint32_t(osc->m_samplingFrequency) / whole);
}

const CChannel* CChannel::GetTrackingChannel() const {
    if (!m_document) return nullptr;
    const COscillogram& osc = m_document->m_oscillogram;
    if (osc.m_rates.size() != 1) return nullptr;
    const auto& list = osc.GetFrequencyChannels();
    int s = m_document->m_frequencyCorrectionChannel;
    if (list.empty() || s <= 0 || size_t(s) > list.size()) return nullptr;
    const CChannel* t = list[size_t(s) - 1];
    return (t && t != this) ? t : nullptr;
}

// ------------------------------------------------------------------ windowed operations

double CChannel::GetHarmonicRms(int k, int i, int /*unused*/) const {
    if (m_discrete) return 0.0;
    // Line 0 is the mean (tracked when the record tracks): the phasor sum at zero frequency
    // would give it times the square root of two.
    if (k == 0) return std::fabs(GetMean(i, 1));
    if (const CChannel* t = GetTrackingChannel()) return std::abs(CalcHarmonicPhasorTracked(k, i, t, false, 1));
    double r = DirectHarmonic(k, i, GetSamplesPerPeriod(), ValueReader{*this});
    return k == 1 && m_document ? r * m_document->m_oscillogram.m_harmonicCorrection : r;
}

double CChannel::GetHarmonicRmsOverPeriods(int k, int i, int periods) const {
    if (m_discrete) return 0.0;
    if (k == 0) return std::fabs(GetMean(i, periods));
    if (const CChannel* t = GetTrackingChannel()) return std::abs(CalcHarmonicPhasorTracked(k, i, t, true, periods));
    double r = DirectHarmonic(k, i, int64_t(GetSamplesPerPeriod()) * periods, ValueReader{*this});
    return k == 1 && m_document ? r * m_document->m_oscillogram.m_harmonicCorrection : r;
}

Complex CChannel::CalcHarmonicPhasorTracked(int k, int i, const CChannel* tracking, bool perWindow, int periods) const {
    TrackWindow w;
    if (m_discrete || !MakeTrackWindow(*this, i, periods, tracking, w)) return {};
    double harmonic = perWindow ? double(k) / periods : double(k);
    return TrackedPhasor(w, i, ValueReader{*this}, harmonic, periods);
}

double CChannel::GetMean(int i, int periods) const {
    if (m_discrete) return 0.0;
    if (const CChannel* t = GetTrackingChannel()) return GetMeanTracked(i, periods, t);
    int64_t W = int64_t(GetSamplesPerPeriod()) * periods;
    if (W <= 0 || i < W - 1) return 0.0;
    ValueReader v{*this};
    double sum = 0;
    int64_t present = 0;
    for (int64_t j = 1; j <= W; ++j) {
        const double x = v(i - W + j);
        if (std::isnan(x)) continue;
        sum += x;
        ++present;
    }
    return present ? sum / double(present) : kMissing;
}

double CChannel::GetMeanTracked(int i, int periods, const CChannel* tracking) const {
    TrackWindow w;
    if (m_discrete || !MakeTrackWindow(*this, i, periods, tracking, w)) return 0.0;
    return TrackedSum(w, i, ValueReader{*this}, false) * w.f / periods;
}

Complex CChannel::CalcFirstHarmonicPhasor(int i) const {
    if (m_discrete) return {};
    return DirectFirstPhasor(i, GetSamplesPerPeriod(), ValueReader{*this});
}

double CChannel::GetRms(uint32_t i, int periods) const {
    if (m_discrete) return 0.0;
    if (const CChannel* t = GetTrackingChannel()) return GetRmsTracked(int(i), periods, t);
    return DirectRms(int64_t(i), int64_t(GetSamplesPerPeriod()) * periods, ValueReader{*this});
}

double CChannel::GetRmsTracked(int i, int periods, const CChannel* tracking) const {
    if (m_discrete || !tracking || uint32_t(i) >= tracking->m_samples.size()) return 0.0;
    TrackWindow w;
    if (!MakeTrackWindow(*this, i, periods, tracking, w)) return 0.0;
    return TrackedRms(w, i, ValueReader{*this}, periods);
}

double CChannel::GetDeltaRms(int i) const {
    if (m_discrete) return 0.0;
    if (const CChannel* t = GetTrackingChannel()) return GetDeltaTracked(i, t);
    int64_t M = RoundToInt(double(GetSamplesPerPeriod()));
    if (M <= 0) return 0.0;
    ValueReader v{*this};
    double sum = 0;
    for (int64_t s = int64_t(i) - M + 1; s <= i; ++s) {
        if (s < 2 * M) continue;
        double d = v(s) - 2 * v(s - M) + v(s - 2 * M);
        if (std::isnan(d)) continue;  // a missing sample is left out
        sum += d * d;
    }
    return std::sqrt(sum) / std::sqrt(double(M));
}

double CChannel::GetDeltaTracked(int i, const CChannel* tracking) const {
    if (m_discrete) return 0.0;
    double fs = ChannelRate(*this);
    if (!(fs > 0.0) || !std::isfinite(fs)) return 0.0;
    double dt = 1.0 / fs;
    double f = TrackedFrequency(tracking, i);
    double n1 = std::floor(fs / f), n2 = std::floor(2 * fs / f);
    if (double(i) <= n2) return 0.0;
    int64_t N1 = int64_t(n1), N2 = int64_t(n2);
    ValueReader v{*this};
    double tau1 = 1 / f - n1 / fs, tau2 = 2 / f - n2 / fs;
    double a = v(i);
    double b = v(i - N1) + tau1 * (v(i - N1 - 1) - v(i - N1)) / dt;
    double c = v(i - N2) + tau2 * (v(i - N2 - 1) - v(i - N2)) / dt;
    return a - 2 * b + c;
}

// ------------------------------------------------------------------ Recalc

namespace {

std::atomic<uint64_t> g_stamps{0};

// The first-harmonic phasor and the windowed curve of every sample in O(n): each window of
// one period is the tail of the previous block of N samples plus the head of the current one,
// both summed from the window's own samples only, so the result equals the windowed sums to
// rounding. The first harmonic is summed at fixed phases (sample s at angle -2*pi*s/N) and
// turned to the window's phase afterwards. SlidingAt below repeats this arithmetic for one
// sample, so both give the same bits.
struct SlidingTables {
    int period = -1;
    std::vector<double> tc, ts;
    void Build(int N) {
        if (N == period) return;
        period = N;
        tc.resize(size_t(N));
        ts.resize(size_t(N));
        for (size_t r = 0; r < size_t(N); ++r) {
            tc[r] = std::cos(kTwoPi * double(r) / N);
            ts[r] = std::sin(kTwoPi * double(r) / N);
        }
    }
};
thread_local SlidingTables t_sliding;

// Visits sample s with its phasor and the curve of `mode`; false from the visitor stops.
template <class F>
void SlidingPass(const double* v, size_t n, int N, uint32_t mode, double correction, F visit) {
    const size_t P = size_t(N);
    t_sliding.Build(N);
    const std::vector<double> tc = t_sliding.tc, ts = t_sliding.ts;
    std::vector<double> sufRe(P + 1, 0.0), sufIm(P + 1, 0.0), sufSq(P + 1, 0.0);
    const double scale = kSqrt2 / N;
    for (size_t B = 0; B < n; B += P) {
        const size_t end = std::min(n, B + P);
        double pRe = 0, pIm = 0, pSq = 0;
        for (size_t s = B; s < end; ++s) {
            const size_t r = s - B;
            const double x = v[s];
            pRe += x * tc[r];
            pIm -= x * ts[r];
            pSq += x * x;
            double curve = 0;
            Complex phasor;
            if (s + 1 >= P) {
                const double aRe = sufRe[r + 1] + pRe, aIm = sufIm[r + 1] + pIm;
                const double xRe = tc[r] * aRe - ts[r] * aIm, xIm = tc[r] * aIm + ts[r] * aRe;
                phasor = Complex(-xIm * scale, xRe * scale);
                if (mode == CHF_CURVE_RMS) {
                    double sq = sufSq[r + 1] + pSq;
                    curve = std::sqrt((sq > 0 ? sq : 0.0) / N);
                } else if (mode == CHF_CURVE_HARMONIC) {
                    curve = std::sqrt(xRe * xRe + xIm * xIm) * scale * correction;
                } else {
                    curve = x;
                }
            } else if (mode != CHF_CURVE_RMS && mode != CHF_CURVE_HARMONIC) {
                curve = x;
            }
            if (!visit(s, curve, phasor)) return;
        }
        if (end - B == P) {
            for (size_t r = P; r-- > 0;) {
                const double x = v[B + r];
                sufRe[r] = sufRe[r + 1] + x * tc[r];
                sufIm[r] = sufIm[r + 1] - x * ts[r];
                sufSq[r] = sufSq[r + 1] + x * x;
            }
        }
    }
}

// The phasor SlidingPass gives sample s, from the samples of its window alone. A reader that
// walks the samples in order (a formula, a trajectory) goes on from the sums of the previous
// sample, so each sample costs O(1); the last few channels walked are remembered per thread.
class SlidingWalker {
public:
    Complex At(const CChannel& ch, uint64_t stamp, const void* data, size_t s, int N) {
        const size_t P = size_t(N);
        if (s + 1 < P) return {};
        const size_t B = s - s % P;
        // The prefix sums hold samples [B, m_next); a sample before m_next - 1 starts afresh.
        if (m_channel != &ch || m_stamp != stamp || m_data != data || m_period != N || m_block != B || m_next > s + 1)
            Start(ch, stamp, data, B, N);
        t_sliding.Build(N);
        const double* tc = t_sliding.tc.data();
        const double* ts = t_sliding.ts.data();
        for (; m_next <= s; ++m_next) {
            const double x = ch.GetValue(uint32_t(m_next));
            const size_t r = m_next - B;
            m_pRe += x * tc[r];
            m_pIm -= x * ts[r];
        }
        const size_t r = s - B;
        const double aRe = m_sufRe[r + 1] + m_pRe, aIm = m_sufIm[r + 1] + m_pIm;
        const double xRe = tc[r] * aRe - ts[r] * aIm, xIm = tc[r] * aIm + ts[r] * aRe;
        const double scale = kSqrt2 / N;
        return Complex(-xIm * scale, xRe * scale);
    }
    const CChannel* Channel() const { return m_channel; }

private:
    void Start(const CChannel& ch, uint64_t stamp, const void* data, size_t B, int N) {
        const size_t P = size_t(N);
        m_channel = &ch;
        m_stamp = stamp;
        m_data = data;
        m_period = N;
        m_block = B;
        m_sufRe.assign(P + 1, 0.0);
        m_sufIm.assign(P + 1, 0.0);
        t_sliding.Build(N);
        const double* tc = t_sliding.tc.data();
        const double* ts = t_sliding.ts.data();
        if (B >= P) {
            for (size_t r = P; r-- > 0;) {
                const double x = ch.GetValue(uint32_t(B - P + r));
                m_sufRe[r] = m_sufRe[r + 1] + x * tc[r];
                m_sufIm[r] = m_sufIm[r + 1] - x * ts[r];
            }
        }
        m_pRe = m_pIm = 0;
        m_next = B;
    }

    const CChannel* m_channel = nullptr;
    uint64_t m_stamp = 0;
    const void* m_data = nullptr;
    int m_period = -1;
    size_t m_block = 0, m_next = 0;
    double m_pRe = 0, m_pIm = 0;
    std::vector<double> m_sufRe, m_sufIm;
};

struct WalkerSet {
    static constexpr size_t kCount = 8;
    SlidingWalker walkers[kCount];
    size_t next = 0;
    SlidingWalker& For(const CChannel& ch) {
        for (SlidingWalker& w : walkers)
            if (w.Channel() == &ch) return w;
        SlidingWalker& w = walkers[next];
        next = (next + 1) % kCount;
        return w;
    }
};
thread_local WalkerSet t_walkers;

}  // namespace

Complex CChannel::ComputePhasor(uint32_t i) const {
    if (m_flags & CHF_CALCULATED) {
        const Complex c = i < m_calcValues.size() ? m_calcValues[i] : Complex();
        return c * m_phasorScale;
    }
    const int N = GetSamplesPerPeriod();
    const int64_t s = int64_t(i);
    if (const CChannel* tracking = GetTrackingChannel()) {
        TrackWindow w;
        return MakeTrackWindow(*this, s, 1, tracking, w) ? TrackedPhasor(w, s, ValueReader{*this}, 1.0, 1) : Complex();
    }
    if (N <= 0) return {};
    if (!m_allFinite) return DirectFirstPhasor(s, N, ValueReader{*this});
    return t_walkers.For(*this).At(*this, m_stamp, m_samples.Identity(), size_t(i), N);
}

void CChannel::KeepPhasorSeries() const {
    if (m_phasorSeries || m_discrete) return;
    const size_t n = m_curveSize;
    auto series = std::make_shared<std::vector<Complex>>(n);
    Complex* out = series->data();
    const int N = GetSamplesPerPeriod();
    if (!(m_flags & CHF_CALCULATED) && !GetTrackingChannel() && m_allFinite && N > 0) {
        std::vector<double> v(n);
        ReadValues(0, n, v.data(), false);
        SlidingPass(v.data(), n, N, CHF_CURVE_INSTANT, 1.0, [&](size_t s, double, const Complex& p) {
            out[s] = p;
            return true;
        });
    } else {
        for (size_t s = 0; s < n; ++s) out[s] = ComputePhasor(uint32_t(s));
    }
    m_phasorSeries = std::move(series);
}

CChannel::RecalcInputs CChannel::CurrentRecalcInputs() const {
    RecalcInputs in;
    in.samples = m_samples.Identity();
    in.version = m_samples.Version();
    in.size = m_samples.size();
    in.discrete = m_discrete;
    in.flags = m_flags;
    in.a = std::bit_cast<uint64_t>(m_a);
    in.b = std::bit_cast<uint64_t>(m_b);
    in.prefixMul = std::bit_cast<uint64_t>(m_prefixMul);
    if (!m_discrete) {
        in.displayMul = std::bit_cast<uint64_t>(ComputeDisplayMultiplier());
        in.correction = std::bit_cast<uint64_t>(m_document ? m_document->m_oscillogram.m_harmonicCorrection : 1.0);
        in.samplesPerPeriod = GetSamplesPerPeriod();
    }
    return in;
}

bool CChannel::NeedsRecalc() const {
    if (!m_recalcDone || (m_flags & (CHF_CALCULATED | CHF_OWN_TIMEBASE)) || m_ownRate != 0.0 || !m_ownTimes.empty() ||
        !m_netFrequency.empty() || !m_calcValues.empty())
        return true;
    if (!m_discrete && GetTrackingChannel()) return true;
    return !(CurrentRecalcInputs() == m_recalcInputs);
}

void CChannel::Recalc() {
    m_recalcDone = false;
    RecalcValues();
    LoadProgress* progress = m_document ? &m_document->m_progress : nullptr;
    // A recalculation cut short by a cancel leaves the channel to be done again.
    if (progress && progress->Cancelled()) return;
    m_recalcInputs = CurrentRecalcInputs();
    m_recalcDone = true;
}

void CChannel::RecalcValues() {
    const size_t n = m_samples.size();
    m_curveSize = uint32_t(n);
    m_stamp = ++g_stamps;
    m_phasorSeries.reset();
    m_windowedCurve.clear();
    LoadProgress* progress = m_document ? &m_document->m_progress : nullptr;

    if (m_discrete) {
        if (n) {
            m_max = m_min = m_samples[0];
            const size_t on = m_samples.CountNonZero(1, n);
            if (on != 0) m_max = 1.0;
            if (on != n - 1) m_min = 0.0;
        }
        return;
    }

    const uint32_t mode = m_flags & CHF_CURVE_MASK;
    m_displayMul = ComputeDisplayMultiplier();
    m_phasorScale = (m_flags & CHF_INVERT) ? -m_displayMul : m_displayMul;
    const int N = GetSamplesPerPeriod();

    const bool windowed = mode == CHF_CURVE_RMS || mode == CHF_CURVE_HARMONIC;

    // DC component over the whole periods from the first sample. A record shorter than one
    // period, or without a line period, has none; a sample that is not a number counts as 0.
    // An instant curve is the shown values, each a monotone function of its sample (scaled,
    // rounded, shifted, negated), so its range follows from the least and the greatest sample:
    // the pass that sums the DC component finds them, and the samples are decoded once.
    const size_t L = N > 0 ? n - n % size_t(N) : 0;
    const size_t firstPass = windowed ? L : n;
    double sum = 0;
    size_t present = 0;
    bool adc = (m_flags & CHF_ADC_COUNTS) != 0;
    const double adcScale = m_prefixMul * m_a;
    bool anyMissing = false;
    size_t loAt = n, hiAt = n;
    double lo = 0, hi = 0;
    std::vector<double> chunk(std::min<size_t>(kProgressChunk, n));
    for (size_t s0 = 0; s0 < firstPass; s0 += kProgressChunk) {
        if (!windowed && progress && progress->Cancelled()) return;
        const size_t e = std::min(firstPass, s0 + kProgressChunk);
        m_samples.Read(s0, e, chunk.data());
        for (size_t s = s0; s < e; ++s) {
            const double x = chunk[s - s0];
            if (std::isnan(x)) {  // a missing sample has no code either
                anyMissing = true;
                continue;
            }
            if (s < L) {
                if (adc) {
                    sum += adcScale == 0.0 ? 0 : RoundToInt((x - m_b) / adcScale);
                } else if (std::isfinite(x)) {
                    sum += x;
                }
                ++present;
            }
            if (loAt == n || x < lo) lo = x, loAt = s;
            if (hiAt == n || x > hi) hi = x, hiAt = s;
        }
    }
    m_dc = present ? sum / double(present) : 0.0;

    m_max = -DBL_MAX;
    m_min = DBL_MAX;
    auto keepRange = [this](double c) {
        if (c > -DBL_MAX && c < DBL_MAX) {
            m_max = std::max(m_max, c);
            m_min = std::min(m_min, c);
        }
    };
    bool rangeKnown = false;
    if (!windowed) {
        rangeKnown = true;
        if (loAt < n) {
            double a = 0, b = 0;
            ReadValues(loAt, loAt + 1, &a, true);
            ReadValues(hiAt, hiAt + 1, &b, true);
            // The range skips infinite values, and a zero extreme is +0 or -0 by the first
            // sample that reaches it: those take the walk over every value.
            auto plain = [](double v) { return v > -DBL_MAX && v < DBL_MAX && v != 0.0; };
            rangeKnown = plain(a) && plain(b);
            if (rangeKnown) {
                m_max = std::max(a, b);
                m_min = std::min(a, b);
            }
        }
    }

    // The shown values: the instant curve is they, and every window reads them. A missing
    // sample stays missing here: every window leaves it out.
    bool allFinite = !anyMissing;
    std::vector<double> values;
    if (windowed) values.resize(n);
    if (!rangeKnown) allFinite = true;
    for (size_t s0 = 0; s0 < n && !rangeKnown; s0 += kProgressChunk) {
        if (progress && progress->Cancelled()) return;
        size_t e = std::min(n, s0 + kProgressChunk);
        double* v = windowed ? values.data() + s0 : chunk.data();
        ReadValues(s0, e, v, true);
        for (size_t s = s0; s < e; ++s, ++v) {
            if (!windowed) keepRange(*v);
            allFinite &= std::isfinite(*v);
        }
    }
    m_allFinite = allFinite;
    ProgressTicker ticker(progress);
    if (!windowed) {
        ticker.Add(n);
        return;
    }

    const double correction = m_document ? m_document->m_oscillogram.m_harmonicCorrection : 1.0;
    const CChannel* tracking = GetTrackingChannel();
    if (!tracking && (N <= 0 || size_t(N) > n)) {
        // No whole period fits: without a line period the measures over one are blank (not a
        // number); a record shorter than its period has them at 0. Nothing is sized by the
        // period, so a declared rate far beyond the data costs nothing.
        const double blank = N <= 0 ? std::numeric_limits<double>::quiet_NaN() : 0.0;
        if (n) keepRange(blank);
        m_windowedCurve = std::vector<double>(n, blank);
        ticker.Add(n);
        return;
    }
    std::vector<double> curve(n);
    if (!tracking && allFinite) {
        bool stopped = false;
        SlidingPass(values.data(), n, N, mode, correction, [&](size_t s, double c, const Complex&) {
            curve[s] = c;
            keepRange(c);
            stopped = ticker.Tick();
            return !stopped;
        });
        if (stopped) return;
    } else {
        // Tracking mode (the window follows a measured frequency) or values that are not
        // finite: every window is summed on its own.
        CacheReader rd{values.data(), int64_t(n)};
        for (size_t s = 0; s < n; ++s) {
            const int64_t i = int64_t(s);
            double c;
            TrackWindow w;
            if (mode == CHF_CURVE_RMS) {
                if (tracking)
                    c = (s < tracking->m_samples.size() && MakeTrackWindow(*this, i, 1, tracking, w)) ? TrackedRms(w, i, rd, 1)
                                                                                                     : 0.0;
                else
                    c = DirectRms(i, N, rd);
            } else {
                if (tracking)
                    c = MakeTrackWindow(*this, i, 1, tracking, w) ? std::abs(TrackedPhasor(w, i, rd, 1.0, 1)) : 0.0;
                else
                    c = DirectHarmonic(1, i, N, rd) * correction;
            }
            curve[s] = c;
            keepRange(c);
            if (ticker.Tick()) return;
        }
    }
    m_windowedCurve = std::move(curve);
}

// ------------------------------------------------------------------ padding for the merge

void CChannel::PadSamples(uint32_t n, bool atStart) {
    const double fs = SampleRate();
    // Without a rate the new samples have no times; the channel is left as it is.
    if (!(fs > 0.0) || !std::isfinite(fs) || n == 0) return;
    const double step = 1e6 / fs;
    const double net = m_document ? m_document->m_oscillogram.m_netFrequency : 50.0;
    const size_t count = m_samples.size();
    int64_t t0, tl;
    if (!m_ownTimes.empty()) {
        t0 = m_ownTimes.front();
        tl = m_ownTimes.back();
    } else {
        t0 = m_document ? m_document->GetSampleTime(0) : 0;
        tl = count ? RoundToInt64(GetSampleTime(uint32_t(count - 1))) : t0;
        std::vector<int64_t> times(count);
        for (size_t s = 0; s < count; ++s) times[s] = RoundToInt64(GetSampleTime(uint32_t(s)));
        m_ownTimes = std::move(times);
    }
    if (atStart) {
        m_samples.Insert(0, n, 0.0);
        std::vector<int64_t> head(n);
        for (uint32_t j = 0; j < n; ++j) head[j] = RoundToInt64(double(t0) - double(n - j) * step);
        auto& times = m_ownTimes.Mutable();
        times.insert(times.begin(), head.begin(), head.end());
        if (!m_netFrequency.empty()) {
            auto& f = m_netFrequency.Mutable();
            f.insert(f.begin(), n, net);
        }
    } else {
        m_samples.Insert(m_samples.size(), n, 0.0);
        auto& times = m_ownTimes.Mutable();
        for (uint32_t j = 1; j <= n; ++j) times.push_back(RoundToInt64(double(tl) + double(j) * step));
        if (!m_netFrequency.empty()) {
            auto& f = m_netFrequency.Mutable();
            f.insert(f.end(), n, net);
        }
    }
    Recalc();
}
