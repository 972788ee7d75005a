#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "ModelFixture.h"
#include "model/Channel.h"

using namespace modeltest;

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Harmonic {
    int order;
    double amplitude, phase;  // phase in radians at t = 0
};

// DC plus harmonics of `f`, sampled at `fs`.
std::vector<double> Signal(size_t n, double fs, double f, double dc, std::vector<Harmonic> hs) {
    std::vector<double> v(n);
    for (size_t i = 0; i < n; ++i) {
        double t = double(i) / fs, x = dc;
        for (const Harmonic& h : hs) x += h.amplitude * std::sin(2 * kPi * h.order * f * t + h.phase);
        v[i] = x;
    }
    return v;
}

double AngleDiff(double a, double b) { return std::remainder(a - b, 2 * kPi); }

void ExpectRel(double got, double want, double tol, const std::string& what) {
    EXPECT_LE(std::fabs(got - want), tol * std::max(1.0, std::fabs(want))) << what << ": " << got << " vs " << want;
}

// The tracked phasor by its definition: the trapezoid integral of the linearly interpolated
// signal over P periods of the tracked frequency, term by term.
Complex TrackedByDefinition(const CChannel& ch, int k, int i, double f, double fs, bool perWindow, int P) {
    double dt = 1 / fs;
    long W = long(std::floor(P * fs / f));
    double tau = P / f - W / fs;
    if (i <= W) return {};
    double kk = perWindow ? double(k) / P : k;
    double omega = 2 * kPi * kk * f * dt;
    Complex s;
    for (long m = 0; m <= W + 1; ++m) {
        double w = m == 0 ? dt / 2 : m < W ? dt : m == W ? dt / 2 + tau - tau * tau / (2 * dt) : tau * tau / (2 * dt);
        s += w * ch.GetValue(uint32_t(i - m)) * Complex(-std::sin(m * omega), std::cos(m * omega));
    }
    return s * std::sqrt(2.0) * f / double(P);
}

}  // namespace

TEST(Arithmetic, SamplesPerPeriod) {
    const struct { int rate; double net; double ownRate; int N; } cases[] = {
        {4000, 50.0, 0, 80},  {4000, 60.0, 0, 66},   {4000, 50.9, 0, 80},  {4800, 50, 0, 96}, {3840, 60, 0, 64},
        {1000, 50, 1000, 20}, {1000, 50, 1025, 21},  {0, 50, 0, 0},        {-5, 50, 0, 0},    {4000, 0.5, 0, 0},
        {4000, NAN, 0, 0},    {4000, -50, 0, 0},     {1000, 0, 1000, 20},  {1000, 60, 1200, 20},
    };
    for (const auto& c : cases) {
        DocumentModel doc;
        SetUpRecord(doc, 10, 1, c.net);
        doc.GetOscillogram().m_samplingFrequency = c.rate;
        CChannel ch = Analog(&doc, "x", {});
        ch.m_ownRate = c.ownRate;
        EXPECT_EQ(ch.GetSamplesPerPeriod(), c.N) << c.rate << " " << c.net << " " << c.ownRate;
    }
}

TEST(Arithmetic, SinesMatchTheirAnalyticValues) {
    const struct { int fs; double f; } records[] = {{1000, 50}, {4800, 50}, {4000, 50}, {1200, 60}, {3840, 60}, {7680, 60}};
    for (const auto& r : records) {
        DocumentModel doc;
        const int N = int(r.fs / r.f);
        const size_t n = size_t(N) * 6 + 7;
        SetUpRecord(doc, r.fs, n, r.f);
        const double dc = 3.0, a1 = 100.0, phi1 = 0.3, a3 = 20.0, a5 = 7.0;
        CChannel ch = Analog(&doc, "U", Signal(n, r.fs, r.f, dc, {{1, a1, phi1}, {3, a3, 1.1}, {5, a5, -0.4}}));
        ch.Recalc();
        const std::string tag = std::to_string(r.fs) + "/" + std::to_string(int(r.f));
        const double rms = std::sqrt(dc * dc + (a1 * a1 + a3 * a3 + a5 * a5) / 2);
        for (int i : {N - 1, N, N + 13, 3 * N + 5, int(n) - 1}) {
            ExpectRel(ch.GetHarmonicRms(1, i), a1 / std::sqrt(2.0), 1e-9, tag + " H1");
            ExpectRel(ch.GetHarmonicRms(3, i), a3 / std::sqrt(2.0), 1e-9, tag + " H3");
            ExpectRel(ch.GetHarmonicRms(5, i), a5 / std::sqrt(2.0), 1e-9, tag + " H5");
            ExpectRel(ch.GetHarmonicRms(0, i), dc, 1e-9, tag + " H0");
            ExpectRel(ch.GetMean(i, 1), dc, 1e-9, tag + " mean");
            ExpectRel(ch.GetRms(uint32_t(i), 1), rms, 1e-9, tag + " rms");
            Complex p = ch.CalcFirstHarmonicPhasor(i);
            ExpectRel(std::abs(p), a1 / std::sqrt(2.0), 1e-9, tag + " phasor");
            EXPECT_NEAR(AngleDiff(std::arg(p), phi1 + 2 * kPi * r.f * i / r.fs), 0, 1e-9) << tag << " angle";
            // The arrays Recalc keeps agree with the windowed operations.
            EXPECT_LE(std::abs(ch.GetStoredHarmonic(uint32_t(i)) - p), 1e-9 * std::abs(p)) << tag;
        }
        EXPECT_EQ(ch.GetHarmonicRms(1, N - 2), 0.0);
        EXPECT_EQ(ch.GetRms(uint32_t(N - 2), 1), 0.0);
        EXPECT_EQ(ch.GetHarmonicRms(0, N - 2), 0.0);
        EXPECT_EQ(ch.GetStoredHarmonic(uint32_t(N - 2)), Complex());
        // Over two periods the fundamental is line 2 and line 1 is empty.
        int i = 4 * N;
        ExpectRel(ch.GetHarmonicRmsOverPeriods(2, i, 2), a1 / std::sqrt(2.0), 1e-9, tag + " line 2");
        EXPECT_NEAR(ch.GetHarmonicRmsOverPeriods(1, i, 2), 0.0, 1e-9) << tag;
        ExpectRel(ch.GetHarmonicRmsOverPeriods(0, i, 2), dc, 1e-9, tag + " line 0");
        EXPECT_EQ(ch.GetHarmonicRmsOverPeriods(2, 2 * N - 2, 2), 0.0);
    }
}

TEST(Arithmetic, PhasorIsRmsAndSinePhaseAtTheNewestSample) {
    DocumentModel doc;
    SetUpRecord(doc, 1000, 100);
    const double phi = 30.0 * kPi / 180 - 2 * kPi * 50 * 25 / 1000.0;  // 30 degrees at sample 25
    CChannel ch = Analog(&doc, "I", Signal(100, 1000, 50, 0, {{1, 100, phi}}));
    Complex p = ch.CalcFirstHarmonicPhasor(25);
    EXPECT_NEAR(p.real(), 61.2372435695794, 1e-9);
    EXPECT_NEAR(p.imag(), 35.3553390593274, 1e-9);
    for (int i : {19, 20, 33, 57, 99}) {
        Complex q = ch.CalcFirstHarmonicPhasor(i);
        EXPECT_NEAR(std::abs(q), 70.71067811865476, 1e-9);
        EXPECT_NEAR(AngleDiff(std::arg(q), phi + 2 * kPi * 50 * i / 1000.0), 0, 1e-12) << i;
    }
    // The first-harmonic correction scales the harmonic read-out, not the phasor.
    doc.GetOscillogram().m_harmonicCorrection = 2.0;
    EXPECT_NEAR(ch.GetHarmonicRms(1, 50), 2 * 70.71067811865476, 1e-9);
    EXPECT_NEAR(std::abs(ch.CalcFirstHarmonicPhasor(50)), 70.71067811865476, 1e-9);
}

TEST(Arithmetic, RecalcCurvesMatchWindowedSumsOnHardSignals) {
    // A burst many orders larger than the quiet parts around it: the sliding sums must not
    // carry its rounding into the quiet windows.
    DocumentModel doc;
    const size_t n = 20000;
    SetUpRecord(doc, 4800, n);
    std::vector<double> v = Signal(n, 4800, 50, 0.001, {{1, 1.0, 0.2}, {2, 0.3, 0.0}});
    for (size_t i = 5000; i < 7000; ++i) v[i] += 1e6 * std::sin(double(i) * 0.37) + 3e5;
    for (size_t i = 9000; i < 9100; ++i) v[i] = std::nan("");
    for (uint32_t mode : {uint32_t(CHF_CURVE_RMS), uint32_t(CHF_CURVE_HARMONIC), uint32_t(CHF_CURVE_INSTANT)}) {
        CChannel ch = Analog(&doc, "U", v);
        ch.m_flags = (ch.m_flags & ~CHF_CURVE_MASK) | mode | CHF_INVERT;
        ch.m_filePrimary = true;
        ch.m_primary = 10;
        ch.m_secondary = 2;
        ch.Recalc();
        double lo = DBL_MAX, hi = -DBL_MAX;
        for (uint32_t i = 0; i < n; i += 7) {
            double want = mode == CHF_CURVE_RMS ? ch.GetRms(i, 1)
                          : mode == CHF_CURVE_HARMONIC ? ch.GetHarmonicRms(1, int(i))
                                                       : ch.GetValue(i);
            if (mode == CHF_CURVE_INSTANT && std::isnan(v[i])) {
                EXPECT_TRUE(std::isnan(ch.GetCurveValue(i))) << i;  // a gap where the sample is missing
            } else {
                ExpectRel(ch.GetCurveValue(i), want, 1e-9, "curve " + std::to_string(mode) + " at " + std::to_string(i));
            }
            Complex p = ch.CalcFirstHarmonicPhasor(int(i));
            EXPECT_LE(std::abs(ch.GetStoredHarmonic(i) - p), 1e-9 * std::max(1.0, std::abs(p))) << i;
            EXPECT_EQ(ch.GetFormulaValue(i), ch.GetValue(i));
        }
        for (uint32_t i = 0; i < n; ++i) {
            lo = std::min(lo, ch.GetCurveValue(i));
            hi = std::max(hi, ch.GetCurveValue(i));
        }
        EXPECT_EQ(ch.m_min, lo);
        EXPECT_EQ(ch.m_max, hi);
    }
}

TEST(Arithmetic, SecondDifference) {
    DocumentModel doc;
    SetUpRecord(doc, 1000, 200);
    std::vector<double> v = Signal(200, 1000, 50, 1, {{1, 10, 0.5}});
    CChannel ch = Analog(&doc, "U", v);
    ch.Recalc();
    for (int i : {59, 80, 199}) EXPECT_NEAR(ch.GetDeltaRms(i), 0.0, 1e-9) << i;
    // Before 2N only the terms from sample 2N on count.
    for (size_t k = 0; k < 200; ++k) ch.m_samples.Set(k, k >= 100 ? 1.0 : 0.0);
    ch.Recalc();
    EXPECT_EQ(ch.GetDeltaRms(39), 0.0);
    // One period after a step of 1: d = 1 at each of the N samples.
    EXPECT_NEAR(ch.GetDeltaRms(119), 1.0, 1e-12);
    // Two periods after: d = 1 - 2 = -1.
    EXPECT_NEAR(ch.GetDeltaRms(139), 1.0, 1e-12);
    EXPECT_NEAR(ch.GetDeltaRms(159), 0.0, 1e-12);
    EXPECT_NEAR(ch.GetDeltaRms(109), std::sqrt(10.0 / 20), 1e-12);
}

TEST(Arithmetic, DcComponentOverWholePeriods) {
    DocumentModel doc;
    SetUpRecord(doc, 1000, 70);  // 3.5 periods of 20 samples
    std::vector<double> v(70, 1.0);
    for (size_t i = 60; i < 70; ++i) v[i] = 100.0;
    CChannel ch = Analog(&doc, "U", v);
    ch.Recalc();
    EXPECT_EQ(ch.m_dc, 1.0);
    ch.m_flags |= CHF_REMOVE_DC;
    ch.Recalc();
    EXPECT_EQ(ch.GetValue(0), 0.0);
    EXPECT_EQ(ch.GetValue(65), 99.0);
    // Shorter than one period: no DC, and nothing that is not a number.
    CChannel shortCh = Analog(&doc, "S", {5.0, 6.0, std::nan("")});
    shortCh.m_flags = (shortCh.m_flags & ~CHF_CURVE_MASK) | CHF_REMOVE_DC | CHF_CURVE_RMS;
    shortCh.Recalc();
    EXPECT_EQ(shortCh.m_dc, 0.0);
    EXPECT_EQ(shortCh.GetValue(1), 6.0);
    EXPECT_EQ(shortCh.GetCurveValue(1), 0.0);
    EXPECT_EQ(shortCh.GetMean(2, 1), 0.0);
    EXPECT_EQ(shortCh.GetDeltaRms(2), 0.0);
    // A NaN sample inside the record neither poisons the DC nor the windows.
    v[3] = std::nan("");
    CChannel withNan = Analog(&doc, "N", v);
    withNan.Recalc();
    // A missing sample is left out of the DC rather than counted as 0.
    double present = 0;
    for (size_t s = 0; s < 60; ++s)
        if (s != 3) present += v[s];
    EXPECT_NEAR(withNan.m_dc, present / 59.0, 1e-15);
    EXPECT_TRUE(std::isfinite(withNan.GetRms(30, 1)));
}

TEST(Arithmetic, DiscreteRecalc) {
    DocumentModel doc;
    SetUpRecord(doc, 1000, 3);
    CChannel d = Discrete(&doc, "D", {5, 0, 3});
    d.Recalc();
    EXPECT_EQ(d.GetCurveValues(), (std::vector<double>{5, 0, 3}));
    EXPECT_EQ(d.m_max, 1.0);
    EXPECT_EQ(d.m_min, 0.0);
    d.m_flags |= CHF_INVERT;
    d.Recalc();
    EXPECT_EQ(d.GetCurveValues(), (std::vector<double>{0, 1, 0}));
    EXPECT_EQ(d.GetHarmonicRms(1, 2), 0.0);
    EXPECT_EQ(d.GetRms(2, 1), 0.0);
    EXPECT_EQ(d.CalcFirstHarmonicPhasor(2), Complex());
    // The formula engine reads a discrete channel of a primary-valued record without a cache.
    d.m_filePrimary = true;
    EXPECT_EQ(d.GetFormulaValue(1), 1.0);
}

TEST(Arithmetic, DegenerateRecords) {
    DocumentModel doc;
    SetUpRecord(doc, 0, 100);  // no rate
    CChannel ch = Analog(&doc, "U", std::vector<double>(100, 1.0));
    // Without a period the shown values stay and the measures over one are blank.
    for (uint32_t mode : {CHF_CURVE_INSTANT, CHF_CURVE_RMS, CHF_CURVE_HARMONIC}) {
        ch.m_flags = (ch.m_flags & ~CHF_CURVE_MASK) | mode;
        EXPECT_EQ(ThrownId([&] { ch.Recalc(); }), 0u);
        ASSERT_EQ(ch.GetCurveCount(), 100u);
        EXPECT_EQ(std::isnan(ch.GetCurveValue(uint32_t(60))), mode != CHF_CURVE_INSTANT) << mode;
        EXPECT_EQ(ch.GetStoredHarmonic(uint32_t(60)), Complex());
    }
    ch.m_flags = (ch.m_flags & ~CHF_CURVE_MASK) | CHF_CURVE_INSTANT;
    EXPECT_EQ(ch.GetRms(50, 1), 0.0);
    EXPECT_EQ(ch.GetMean(50, 1), 0.0);
    EXPECT_EQ(ch.GetHarmonicRms(1, 50), 0.0);
    EXPECT_EQ(ch.GetDeltaRms(50), 0.0);
    EXPECT_EQ(ch.CalcFirstHarmonicPhasor(50), Complex());
    EXPECT_EQ(ch.GetDeltaTracked(50, nullptr), 0.0);
    ch.PadSamples(5, true);  // no rate: nothing to pad with
    EXPECT_EQ(ch.m_samples.size(), 100u);

    doc.GetOscillogram().m_samplingFrequency = 1000;
    doc.GetOscillogram().m_netFrequency = 0.0;
    EXPECT_EQ(ThrownId([&] { ch.Recalc(); }), 0u);
    EXPECT_EQ(ch.GetCurveValue(uint32_t(60)), 1.0);
    // A declared rate far beyond the record sizes nothing by its period.
    doc.GetOscillogram().m_netFrequency = 50.0;
    doc.GetOscillogram().m_samplingFrequency = 2000000000;
    ch.m_flags = (ch.m_flags & ~CHF_CURVE_MASK) | CHF_CURVE_RMS;
    EXPECT_EQ(ThrownId([&] { ch.Recalc(); }), 0u);
    EXPECT_EQ(ch.GetCurveValue(uint32_t(99)), 0.0);
    ch.m_flags = (ch.m_flags & ~CHF_CURVE_MASK) | CHF_CURVE_INSTANT;
    doc.GetOscillogram().m_samplingFrequency = 1000;
    // Periods beyond the record, zero or negative period counts.
    doc.GetOscillogram().m_netFrequency = 50.0;
    EXPECT_EQ(ch.GetRms(50, 0), 0.0);
    EXPECT_EQ(ch.GetRms(50, -1), 0.0);
    EXPECT_EQ(ch.GetMean(50, 0), 0.0);
    EXPECT_EQ(ch.GetHarmonicRmsOverPeriods(1, 50, 0), 0.0);
    EXPECT_EQ(ch.GetRms(uint32_t(-1), 1), 0.0);

    // An infinite sample spoils only the windows that hold it.
    ch.m_samples.Set(40, INFINITY);
    ch.m_flags = (ch.m_flags & ~CHF_CURVE_MASK) | CHF_CURVE_RMS;
    ch.Recalc();
    EXPECT_EQ(ch.GetCurveValue(39), 1.0);
    EXPECT_EQ(ch.GetCurveValue(70), 1.0);
    EXPECT_FALSE(std::isfinite(ch.GetStoredHarmonic(45).real()));
    EXPECT_EQ(ch.m_max, 1.0);  // infinite values do not count in the range
}

namespace {
// A record in tracking mode: one rate segment and a frequency channel chosen for correction.
struct TrackingRecord {
    DocumentModel doc;
    CChannel* signal = nullptr;
    CChannel* freq = nullptr;
    TrackingRecord(int fs, std::vector<double> values, std::vector<double> frequency) {
        SetUpRecord(doc, fs, values.size());
        COscillogram& o = doc.GetOscillogram();
        o.AddChannel(-1, Analog(&doc, "U", std::move(values)));
        o.AddChannel(-1, Analog(&doc, "F", std::move(frequency), L"Hz"));
        o.RebuildFrequencyChannels();
        signal = &o.m_channels[0];
        freq = &o.m_channels[1];
    }
};
}  // namespace

TEST(Arithmetic, TrackingFollowsTheMeasuredFrequency) {
    const int fs = 1000;
    const size_t n = 400;
    for (double f : {50.0, 49.3, 51.7}) {
        TrackingRecord r(fs, Signal(n, fs, f, 2.0, {{1, 100, 0.7}}), std::vector<double>(n, f));
        ASSERT_EQ(r.signal->GetTrackingChannel(), r.freq);
        EXPECT_EQ(r.freq->GetTrackingChannel(), nullptr);  // never its own tracking channel
        r.signal->Recalc();
        for (int i : {30, 100, 257, 399}) {
            for (int P : {1, 2}) {
                Complex want = TrackedByDefinition(*r.signal, 1, i, f, fs, false, P);
                Complex got = r.signal->CalcHarmonicPhasorTracked(1, i, r.freq, false, P);
                EXPECT_LE(std::abs(got - want), 1e-12 * std::abs(want)) << f << " " << i;
                Complex perWindow = TrackedByDefinition(*r.signal, P, i, f, fs, true, P);
                EXPECT_LE(std::abs(r.signal->CalcHarmonicPhasorTracked(P, i, r.freq, true, P) - perWindow),
                          1e-12 * std::abs(perWindow));
            }
            // Linear interpolation between samples is close to the true sine.
            EXPECT_NEAR(r.signal->GetHarmonicRms(1, i), 70.7106781, 0.2) << f;
            EXPECT_NEAR(r.signal->GetMean(i, 1), 2.0, 0.05) << f;
            // Line 0 is the mean, not the mean times the square root of two.
            EXPECT_DOUBLE_EQ(r.signal->GetHarmonicRms(0, i), std::fabs(r.signal->GetMean(i, 1))) << f;
            EXPECT_DOUBLE_EQ(r.signal->GetHarmonicRmsOverPeriods(0, i, 2), std::fabs(r.signal->GetMean(i, 2))) << f;
            EXPECT_NEAR(r.signal->GetRms(uint32_t(i), 1), std::sqrt(4 + 5000.0), 0.2) << f;
            EXPECT_NEAR(r.signal->GetDeltaRms(i), 0.0, 3.0) << f;
            EXPECT_LE(std::abs(r.signal->GetStoredHarmonic(uint32_t(i)) - r.signal->CalcHarmonicPhasorTracked(1, i, r.freq, false, 1)),
                      1e-12 * 100);
        }
        if (f == 50.0) {
            // A whole number of samples per period: the trapezoid is exact for a sine.
            EXPECT_NEAR(std::abs(r.signal->CalcHarmonicPhasorTracked(1, 200, r.freq, false, 1)), 70.71067811865476, 1e-9);
        }
    }
    // A tracking channel without a usable frequency counts periods of 50 Hz.
    for (double bad : {0.0, double(NAN), -50.0, double(INFINITY)}) {
        TrackingRecord r(fs, Signal(n, fs, 50, 0, {{1, 100, 0.7}}), std::vector<double>(n, bad));
        r.signal->m_flags = (r.signal->m_flags & ~CHF_CURVE_MASK) | CHF_CURVE_HARMONIC;
        r.signal->Recalc();
        EXPECT_NEAR(r.signal->GetCurveValue(300), 70.71067811865476, 1e-9) << bad;
        EXPECT_NEAR(r.signal->GetRmsTracked(300, 1, r.freq), 70.71067811865476, 1e-9) << bad;
        EXPECT_NEAR(r.signal->GetDeltaTracked(300, r.freq), 0.0, 1e-9) << bad;
        EXPECT_NEAR(r.signal->GetMeanTracked(300, 1, r.freq), 0.0, 1e-9) << bad;
    }
    // Past the end of the tracking channel.
    TrackingRecord r(fs, Signal(n, fs, 50, 0, {{1, 100, 0.7}}), std::vector<double>(10, 45.0));
    EXPECT_EQ(r.signal->GetRmsTracked(300, 1, r.freq), 0.0);
    EXPECT_NEAR(std::abs(r.signal->CalcHarmonicPhasorTracked(1, 300, r.freq, false, 1)), 70.71067811865476, 1e-9);
}

TEST(Arithmetic, PadSamples) {
    DocumentModel doc;
    SetUpRecord(doc, 1000, 4);
    CChannel ch = Analog(&doc, "U", {1, 2, 3, 4});
    ch.PadSamples(3, true);
    EXPECT_EQ(ch.m_samples, (std::vector<double>{0, 0, 0, 1, 2, 3, 4}));
    EXPECT_EQ(ch.m_ownTimes, (std::vector<int64_t>{-3000, -2000, -1000, 0, 1000, 2000, 3000}));
    EXPECT_EQ(ch.m_flags, CHF_DEFAULT);
    ch.m_netFrequency.assign(7, 49.0);
    ch.PadSamples(2, false);
    EXPECT_EQ(ch.m_ownTimes.back(), 5000);
    EXPECT_EQ(ch.m_netFrequency, (std::vector<double>{49, 49, 49, 49, 49, 49, 49, 50, 50}));
    EXPECT_EQ(ch.GetCurveCount(), 9u);
    // A pasted channel at its own rate of 3000 samples per second: times rounded half up.
    CChannel p = Analog(&doc, "P", {1, 2});
    p.m_ownRate = 3000;
    p.m_ownTimes = {10, 343};
    p.PadSamples(2, false);
    EXPECT_EQ(p.m_ownTimes, (std::vector<int64_t>{10, 343, 676, 1010}));
}

TEST(Arithmetic, RecalcAllInParallelMatchesOneByOne) {
    DocumentModel doc;
    const size_t n = 30000;
    SetUpRecord(doc, 4800, n);
    COscillogram& o = doc.GetOscillogram();
    for (int k = 0; k < 12; ++k) {
        CChannel ch = Analog(&doc, "U", Signal(n, 4800, 50, k, {{1, 10.0 + k, 0.1 * k}, {3, 1, 0}}));
        ch.m_flags = (ch.m_flags & ~CHF_CURVE_MASK) | (k % 3 == 0 ? CHF_CURVE_RMS : k % 3 == 1 ? CHF_CURVE_HARMONIC : CHF_CURVE_INSTANT);
        o.AddChannel(-1, std::move(ch));
    }
    std::vector<CChannel> serial = o.m_channels;
    for (CChannel& ch : serial) ch.Recalc();
    o.RecalcAll(true);
    for (size_t k = 0; k < serial.size(); ++k) {
        EXPECT_EQ(o.m_channels[k].GetCurveValues(), serial[k].GetCurveValues()) << k;
        ASSERT_EQ(o.m_channels[k].GetPhasorCount(), serial[k].GetPhasorCount()) << k;
        for (uint32_t i = 0; i < n; ++i) ASSERT_EQ(o.m_channels[k].GetStoredHarmonic(i), serial[k].GetStoredHarmonic(i)) << k;
    }
    EXPECT_EQ(o.m_sampleFrequency.size(), n);
    // Channels of less than one sample per period have no measures over one, and the others
    // are recalculated all the same.
    o.m_channels[3].m_ownRate = 1.0;
    o.m_channels[7].m_ownRate = 2.0;
    EXPECT_EQ(ThrownId([&] { o.RecalcAll(false); }), 0u);
    EXPECT_TRUE(std::isnan(o.m_channels[3].GetCurveValue(uint32_t(n / 2))));
    EXPECT_TRUE(std::isnan(o.m_channels[7].GetCurveValue(uint32_t(n / 2))));
    EXPECT_EQ(o.m_channels[4].GetCurveValues(), serial[4].GetCurveValues());
}

TEST(Arithmetic, CancelStopsBetweenAndInsideChannels) {
    DocumentModel doc;
    const size_t n = 2000000;
    SetUpRecord(doc, 4800, 10);
    doc.GetOscillogram().m_times.clear();
    std::vector<CChannel> channels(3, Analog(&doc, "U", std::vector<double>(1000, 1.0)));
    doc.m_progress.cancel = true;
    RecalcChannels(channels, &doc.m_progress);
    EXPECT_EQ(channels[0].GetCurveCount(), 0u);  // no channel was started

    // Tracking makes each sample slow enough to be caught in the middle.
    TrackingRecord r(4800, std::vector<double>(n, 1.0), std::vector<double>(n, 50.0));
    r.signal->m_flags = (r.signal->m_flags & ~CHF_CURVE_MASK) | CHF_CURVE_RMS;
    LoadProgress& p = r.doc.m_progress;
    p.step = 1;
    std::thread watcher([&] {
        while (p.done.load() < 100000) std::this_thread::yield();
        p.cancel = true;
    });
    r.signal->Recalc();
    watcher.join();
    EXPECT_LT(p.done.load(), n);
    EXPECT_EQ(r.signal->GetCurveCount(), n);
}
