#include "faultloc/WrongPlaceLocator.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "model/Resources.h"
#include "model/TenvorikException.h"
#include "model/VectorClones.h"
#include "platform/UiServices.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
const double kSqrt2 = std::sqrt(2.0);
const double kHalfSqrt3 = std::sqrt(3.0) / 2.0;

// Messages of a run that cannot start.
constexpr unsigned kNoData = 349;
constexpr unsigned kNoNetFrequency = 9003;

// Samples worked on at a time: the channels' values and phasors of a block stay in the caches.
constexpr int kBlock = 8192;

}  // namespace

Complex CDiv(Complex a, Complex b) {
    if ((b.real() == 0.0 && b.imag() == 0.0) || std::isnan(b.real()) || std::isnan(b.imag()))
        return {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN()};
    return a / b;
}

Complex SectionCalc::Zeq() const {
    Complex sum = 0;
    for (const Complex& t : taps) sum += CDiv(1.0, t);
    return CDiv(1.0, sum);
}

CString LocatorDistanceChannelName() { return LoadResString(3058); }
CString LocatorPhaseChannelName(int phase) { return LoadResString(phase == 0 ? 3225 : phase == 1 ? 3223 : 3224); }

WrongPlaceLocator::WrongPlaceLocator() = default;

void WrongPlaceLocator::Allocate() {
    const size_t n = size_t(m_sampleCount);
    // The first period, which no run computes a loop for, is zero on every run.
    if (n == 0) {
        tv::BulkVector<double>().swap(m_loopSamples);
    } else {
        m_loopSamples.resize(n);
        std::fill(m_loopSamples.begin(), m_loopSamples.begin() + std::ptrdiff_t(std::min(size_t(m_samplesPerPeriod), n)),
                  0.0);
    }
    for (auto* f : {&m_earthFault, &m_phaseFault, &m_symFault, &m_faultA, &m_faultB, &m_faultC}) f->assign(n, 0);
    // Samples without a fault keep no distance and no phase difference.
    dist.assign(n, 0.0);
    if (m_runMethod == WrongPlaceLocatorData::TwoEnded) phaseDiff.assign(n, 0.0);
    else std::vector<double>().swap(phaseDiff);
    m_inputs.clear();
}

// --- phasors -------------------------------------------------------------------------------

Complex WrongPlaceLocator::CalcPhasor(const std::vector<double>& x, int i, int channel) const {
    return PhasorAt(x.data(), 0, int(x.size()), i, channel);
}

void WrongPlaceLocator::MakeTable() const {
    const int N = m_samplesPerPeriod;
    if (int(m_sin.size()) == N) return;
    m_sin.resize(size_t(N));
    m_cos.resize(size_t(N));
    for (int k = 0; k < N; ++k) {
        double th = (k * kTwoPi) / N;
        m_sin[size_t(k)] = std::sin(th);
        m_cos[size_t(k)] = std::cos(th);
    }
}

// x[k - first] is sample k, for the samples [first, end).
Complex WrongPlaceLocator::PhasorAt(const double* x, int first, int end, int i, int channel) const {
    const int N = m_samplesPerPeriod;
    if (i < N || N <= 0 || i >= end) return {};
    if (channel < 0 || !m_record) {
        MakeTable();
        double re = 0, im = 0;
        const double* w = x + (i - N - first);
        for (int k = 0; k < N; ++k) {
            re += m_sin[size_t(k)] * w[k];
            im += m_cos[size_t(k)] * w[k];
        }
        return (2.0 / N) * Complex(re, im);
    }
    // Time-weighted: walk back one net period of sample times, each sample weighted by its step.
    const LocatorRecord& rec = *m_record;
    auto freqAt = [&](int k) {
        double f = rec.GetSampleFrequency(channel, k);
        // A sample outside every frequency table would stop the walk from advancing in phase.
        return (f > 0 && std::isfinite(f)) ? f : m_netFrequency;
    };
    auto at = [&](int k) { return x[k - first]; };
    Complex sum = 0;
    double phi = 0, phiPrev = 0, P = 0;
    int j = 0, m = i;
    double f = freqAt(i);
    while (m > 0) {
        double dt = (rec.GetSampleTimeUs(m) - rec.GetSampleTimeUs(m - 1)) * 1e-6;
        double a = kTwoPi * phi;
        sum += at(m) * dt * Complex(-std::sin(a), std::cos(a));
        ++j;
        m = i - j;
        phiPrev = phi;
        f = freqAt(m);
        phi = phiPrev + dt * f;
        P += 1.0 / f;
        if (phi >= 1.0) break;
    }
    if (j == 0) return {};
    // The last sample counted a whole step although only part of it completed the period.
    if (m + 1 <= i && m >= 0) {
        double dt1 = (rec.GetSampleTimeUs(m + 1) - rec.GetSampleTimeUs(m)) * 1e-6;
        double a = kTwoPi * phiPrev;
        Complex w(-std::sin(a), std::cos(a));
        sum -= at(m + 1) * dt1 * w;
        sum += at(m + 1) * ((1.0 - phiPrev) / freqAt(m + 1)) * w;
    }
    double T = P / j;
    return (2.0 / T) * sum;
}

namespace {
// The fixed transform's phasors of `count` samples in a row, the first of them w[N]: several
// samples' sums side by side, each with the same products added in the same order as PhasorAt
// adds them, so that every phasor is the same to the last bit.
constexpr int kPhasorLanes = 16;

TV_VECTOR_CLONES void FixedPhasors(const double* w, const double* sn, const double* cs, int N, int count,
                                   Complex* out) {
    using tv::Lanes4;
    for (int s = 0; s + kPhasorLanes <= count; s += kPhasorLanes, w += kPhasorLanes) {
        Lanes4 re[4] = {}, im[4] = {}, x;
        for (int k = 0; k < N; ++k) {
            const Lanes4 a = {sn[k], sn[k], sn[k], sn[k]}, b = {cs[k], cs[k], cs[k], cs[k]};
            for (int q = 0; q < 4; ++q) {
                tv::LoadLanes(x, w + k + 4 * q);
                re[q] += a * x;
                im[q] += b * x;
            }
        }
        for (int l = 0; l < kPhasorLanes; ++l) out[s + l] = (2.0 / N) * Complex(re[l / 4][l % 4], im[l / 4][l % 4]);
    }
}
}  // namespace

// The phasors of samples [from, to) of one input.
void WrongPlaceLocator::BlockPhasors(const Input& in, int from, int to, Complex* out) const {
    const int N = m_samplesPerPeriod;
    const int end = in.first + int(in.values.size());
    const double* x = in.values.data();
    int s = from;
    if (in.channelIndex < 0 && N > 0) {
        MakeTable();
        for (; s < to && s < N; ++s) out[s - from] = {};
        const int lanes = (std::min(to, end) - s) / kPhasorLanes * kPhasorLanes;
        if (lanes > 0) FixedPhasors(x + (s - N - in.first), m_sin.data(), m_cos.data(), N, lanes, out + (s - from));
        s += std::max(lanes, 0);
    }
    for (; s < to; ++s) out[s - from] = PhasorAt(x, in.first, end, s, in.channelIndex);
}

void WrongPlaceLocator::SequenceComponents(Sample& x, bool voltages) const {
    auto& P = x.P;
    // The positive and negative sequence components: the sums both share, their four divisions
    // in one step.
    auto posNeg = [&P](int pos, int neg, int a) {
        const Complex A = P[size_t(a)], B = P[size_t(a + 1)], C = P[size_t(a + 2)];
        const double re = A.real() - (B.real() + C.real()) / 2, im = A.imag() - (B.imag() + C.imag()) / 2;
        const double dIm = kHalfSqrt3 * (B.imag() - C.imag()), dRe = kHalfSqrt3 * (B.real() - C.real());
        const tv::Lanes4 q = tv::Lanes4{re - dIm, im + dRe, re + dIm, im - dRe} / tv::Lanes4{3.0, 3.0, 3.0, 3.0};
        P[size_t(pos)] = {q[0], q[1]};
        P[size_t(neg)] = {q[2], q[3]};
    };
    auto zero = [&P](int zero, int a) { P[size_t(zero)] = (P[size_t(a)] + P[size_t(a + 1)] + P[size_t(a + 2)]) / 3.0; };
    if (m_runMethod == WrongPlaceLocatorData::IsolatedNeutral) {
        posNeg(I1_1, I2_1, PIa1);
    } else if (m_runMethod == WrongPlaceLocatorData::EarthedNeutral) {
        posNeg(I1_1, I2_1, PIa1);
        zero(I0_1, PIa1);
        if (voltages) zero(U0_1, PUa1);
    } else if (m_runMethod == WrongPlaceLocatorData::TwoEnded) {
        posNeg(I1_1, I2_1, PIa1);
        zero(I0_1, PIa1);
        posNeg(I1_2, I2_2, PIa2);
        zero(I0_2, PIa2);
        if (voltages) {
            posNeg(U1_1, U2_1, PUa1);
            zero(U0_1, PUa1);
            posNeg(U1_2, U2_2, PUa2);
            zero(U0_2, PUa2);
        }
    }
}

void WrongPlaceLocator::LoadBlock(LocatorRecord& record, Input& in, int from, int to) const {
    // The time-weighted transform may walk back to the record's start: it keeps the whole channel.
    if (in.channelIndex >= 0) {
        if (!in.values.empty() || m_sampleCount == 0) return;
        from = 0;
        to = m_sampleCount;
    }
    in.first = from;
    in.values.resize(size_t(to - from));
    record.ReadDisplayValues(in.name, from, to - from, in.values.data());
    if (in.negate)
        for (double& v : in.values) v = -v;
}

void WrongPlaceLocator::ComputeBlock(LocatorRecord& record, int b0, int b1, bool detection) {
    for (Input& in : m_inputs) {
        if (in.detection != detection) continue;
        LoadBlock(record, in, std::max(0, b0 - m_samplesPerPeriod), b1);
        in.phasors.resize(size_t(b1 - b0));
        BlockPhasors(in, b0, b1, in.phasors.data());
    }
}

void WrongPlaceLocator::FillSample(int s, int b0, bool all) {
    Sample& x = m_sample;
    if (!all) {
        // What a sample without a fault does not read is not worked out: not a number, so that
        // a result that read it would show it.
        const double nan = std::numeric_limits<double>::quiet_NaN();
        x.P.fill({nan, nan});
        for (auto& sec : m_sections)
            for (auto& p : sec.parallelLines) p.i0 = {nan, nan};
    }
    for (const Input& in : m_inputs) {
        if (!all && !in.detection) continue;
        const Complex p = in.phasors[size_t(s - b0)];
        if (in.phasorSlot < 0) {
            m_sections[size_t(in.section)].parallelLines[size_t(in.line)].i0 = p;
            continue;
        }
        x.P[size_t(in.phasorSlot)] = p;
        const double v = in.values[size_t(s - in.first)];
        if (in.valueSlot == Ia1) x.ia = v;
        else if (in.valueSlot == Ib1) x.ib = v;
        else if (in.valueSlot == Ic1) x.ic = v;
    }
    SequenceComponents(x, all);
    if (s < m_samplesPerPeriod) x.P.fill({});
}

template <class Detect, class Measure>
void WrongPlaceLocator::ForEachSample(LocatorRecord& record, int from, int to, Detect&& detect, Measure&& measure) {
    std::vector<char> faulted;
    for (int b0 = std::max(from, 0); b0 < to; b0 += kBlock) {
        const int b1 = std::min(to, b0 + kBlock);
        // The currents first: they tell which samples have a fault. The voltages and the parallel
        // lines' currents are worked out only for a block that has one.
        ComputeBlock(record, b0, b1, true);
        faulted.assign(size_t(b1 - b0), 0);
        bool any = false;
        for (int s = b0; s < b1; ++s) {
            FillSample(s, b0, false);
            const bool f = detect(s, std::as_const(m_sample));
            faulted[size_t(s - b0)] = f;
            any = any || f;
        }
        if (any) ComputeBlock(record, b0, b1, false);
        for (int s = b0; s < b1; ++s) {
            const bool all = faulted[size_t(s - b0)] != 0;
            FillSample(s, b0, all);
            measure(s, std::as_const(m_sample));
        }
    }
}

// --- detection -----------------------------------------------------------------------------

namespace {
// A 0/1 state carried from sample to sample: set, then cleared, else kept.
inline void Hyst(bool& state, bool set, bool clear) {
    if (set) state = true;
    if (clear) state = false;
}
}  // namespace

int WrongPlaceLocator::Debouncer::Step(bool in) {
    const int prev = m_out;
    m_c = (in != (prev != 0)) ? m_c + 1 : 0;
    if (prev == 1 && !in && m_c >= m_off) {
        m_out = 0;
        m_c = -1;
    } else if (prev == 0 && in && m_c >= m_on) {
        m_out = 1;
        m_c = -1;
    }
    return m_out;
}

void WrongPlaceLocator::Debounce(std::vector<int>& flags, double onDelay, double offDelay) {
    if (flags.empty()) return;
    Debouncer d(onDelay, offDelay);
    flags[0] = 0;
    for (size_t i = 1; i < flags.size(); ++i) flags[i] = d.Step(flags[i] != 0);
}

void WrongPlaceLocator::DetectIsolated(int s, const Sample& x) {
    const size_t i = size_t(s);
    const double in = m_nominalCurrent1 * kSqrt2;
    double m1 = std::abs(x.P[I1_1]), m2 = std::abs(x.P[I2_1]);
    int phase = 0, sym = 0;
    if (m1 > 0.1 * in) {
        phase = 3.0 * m2 > m1 ? 1 : 0;
        sym = (m1 >= 3.0 * m2 && m1 > 1.15 * in) ? 1 : 0;
    }
    m_phaseFault[i] = phase;
    m_symFault[i] = sym;
    double a = std::abs(x.P[PIa1]), b = std::abs(x.P[PIb1]), c = std::abs(x.P[PIc1]);
    int A = 0, B = 0, C = 0;
    if (sym) {
        A = B = C = 1;
    } else if (phase) {
        A = (a > b || a > c) ? 1 : 0;
        B = (b > a || b > c) ? 1 : 0;
        C = (c > a || c > b) ? 1 : 0;
    }
    m_faultA[i] = A;
    m_faultB[i] = B;
    m_faultC[i] = C;
}

// The faulted phases of a sample from its debounced fault kinds and the currents' magnitudes.
void WrongPlaceLocator::SelectPhases(int s, const Sample& x, Detection& d) {
    const size_t i = size_t(s);
    double a = std::abs(x.P[PIa1]), b = std::abs(x.P[PIb1]), c = std::abs(x.P[PIc1]);
    Hyst(d.v1, a > b, 0.9 * b > a);
    Hyst(d.v2, a > c, 0.9 * c > a);
    Hyst(d.v3, b > c, 0.9 * c > b);
    const bool v1 = d.v1, v2 = d.v2, v3 = d.v3;
    bool sy = m_symFault[i] != 0, ph = m_phaseFault[i] != 0, ea = m_earthFault[i] != 0;
    m_faultA[i] = (sy || (ph && (v1 || v2)) || (ea && v1 && v2)) ? 1 : 0;
    m_faultB[i] = (sy || (ph && (!v1 || v3)) || (ea && !v1 && v3)) ? 1 : 0;
    m_faultC[i] = (sy || (ph && (!v2 || !v3)) || (ea && !v2 && !v3)) ? 1 : 0;
}

void WrongPlaceLocator::DetectEarthed(int s, const Sample& x, Detection& d) {
    if (s == 0) return;  // the first sample is never faulted
    const size_t i = size_t(s);
    const double in = m_nominalCurrent1 * kSqrt2;
    double m1 = std::abs(x.P[I1_1]), m2 = std::abs(x.P[I2_1]), m0 = std::abs(x.P[I0_1]);
    Hyst(d.P, m1 > 4.0 * m2, (4.0 * m2) * 0.9 > m1);
    Hyst(d.Q, m1 > in, 0.9 * in > m1);
    Hyst(d.R, 4.0 * m2 > m1, 0.9 * m1 > 4.0 * m2);
    Hyst(d.Z, m2 > 6.0 * m0, (6.0 * m0) * 0.9 > m2);
    bool G = m1 > 0.1 * in;
    m_symFault[i] = d.sym.Step(d.P && d.Q);
    m_phaseFault[i] = d.phase.Step(d.R && d.Z && G);
    m_earthFault[i] = d.earth.Step(d.R && !d.Z && G);
    SelectPhases(s, x, d);
}

void WrongPlaceLocator::DetectTwoEnded(int s, const Sample& x, Detection& d) {
    if (s == 0) return;
    const size_t i = size_t(s);
    const double in1 = m_nominalCurrent1, in2 = std::fabs(m_nominalCurrent2);
    double m1a = std::abs(x.P[I1_1]), m2a = std::abs(x.P[I2_1]), m0a = std::abs(x.P[I0_1]);
    double m1b = std::abs(x.P[I1_2]), m2b = std::abs(x.P[I2_2]), m0b = std::abs(x.P[I0_2]);
    Hyst(d.H1, 4.0 * m2a > m1a, 0.9 * m1a > 4.0 * m2a);
    Hyst(d.H2, 4.0 * m2b > m1b, 0.9 * m1b > 4.0 * m2b);
    bool earth = false, phase = false, sym = false;
    if (d.H1 && d.H2) {
        if (m1a > 0.1 * kSqrt2 * in1 && m1b > 0.1 * kSqrt2 * in2) {
            Hyst(d.H3, m2a > 6.0 * m0a, (6.0 * m0a) * 0.9 > m2a);
            Hyst(d.H4, m2b > 6.0 * m0b, (6.0 * m0b) * 0.9 > m2b);
            if (d.H3 && d.H4) phase = true;
            else earth = true;
        }
    } else if (m1a > 1.1 * kSqrt2 * in1 && m1b > 1.1 * kSqrt2 * in2) {
        sym = true;
    }
    m_earthFault[i] = d.earth.Step(earth);
    m_phaseFault[i] = d.phase.Step(phase);
    m_symFault[i] = d.sym.Step(sym);
    SelectPhases(s, x, d);
}

IndexRange WrongPlaceLocator::FindFaultInterval() const {
    const int N = m_samplesPerPeriod, count = m_sampleCount;
    auto faulted = [&](int s) { return m_phaseFault[size_t(s)] || m_symFault[size_t(s)]; };
    int e = N - 1, first = 0;
    for (;;) {
        first = e + 1;
        while (first <= count - 2 && !faulted(first)) ++first;
        e = first + 1;
        while (e <= count - 1 && faulted(e)) ++e;
        if (first + N >= count - 1 || e - first >= N) break;
    }
    if (e - first >= N) return {first, e};
    return {N, count - 1};
}

IndexRange WrongPlaceLocator::FindFaultIntervalByPhases() const {
    const int N = m_samplesPerPeriod, count = m_sampleCount;
    auto faulted = [&](int s) { return m_earthFault[size_t(s)] || m_phaseFault[size_t(s)] || m_symFault[size_t(s)]; };
    auto code = [&](int s) { return m_faultA[size_t(s)] + 2 * m_faultB[size_t(s)] + 4 * m_faultC[size_t(s)]; };
    int e = N - 1, first = 0, k = 0;
    for (;;) {
        first = e + 1;
        while (first <= count - 2) {
            if (faulted(first)) {
                k = code(first);
                break;
            }
            ++first;
        }
        e = first + 1;
        while (e <= count - 1 && code(e) == k) ++e;
        if (first + N >= count - 1 || e - first >= N) break;
    }
    if (e - first >= N) return {first, e};
    return {N, count - 1};
}

// --- loops ---------------------------------------------------------------------------------

WrongPlaceLocator::Loop WrongPlaceLocator::LoopIsolated(int s, const Sample& x) const {
    const size_t i = size_t(s);
    Loop l{1.0, 1.0, 0.0, 1.0};
    if (!m_phaseFault[i] && !m_symFault[i]) return l;
    bool A = m_faultA[i], B = m_faultB[i], C = m_faultC[i];
    const auto& P = x.P;
    if (A && B) l = {P[PUab1], P[PIa1] - P[PIb1], 0.0, x.ia - x.ib};
    if (B && C) l = {P[PUbc1], P[PIb1] - P[PIc1], 0.0, x.ib - x.ic};
    if (A && C) l = {P[PUca1], P[PIc1] - P[PIa1], 0.0, x.ic - x.ia};
    return l;
}

WrongPlaceLocator::Loop WrongPlaceLocator::LoopEarthed(int s, const Sample& x) const {
    const size_t i = size_t(s);
    const auto& P = x.P;
    const Complex &Ua = P[PUa1], &Ub = P[PUb1], &Uc = P[PUc1], &Ia = P[PIa1], &Ib = P[PIb1], &Ic = P[PIc1];
    const bool A = m_faultA[i], B = m_faultB[i], C = m_faultC[i];
    const bool sym = m_symFault[i], phase = m_phaseFault[i], earth = m_earthFault[i];
    Loop l;
    if (sym) l = {Ua - Ub, Ia - Ib, 0.0, x.ia - x.ib};
    if (phase) {
        if (A && B) l = {Ua - Ub, Ia - Ib, 0.0, x.ia - x.ib};
        else if (B && C) l = {Ub - Uc, Ib - Ic, 0.0, x.ib - x.ic};
        else if (A && C) l = {Uc - Ua, Ic - Ia, 0.0, x.ic - x.ia};
        else l = {1.0, 1.0, 0.0, 1.0};
    }
    if (earth) {
        if (A) l.voltage = Ua, l.current = Ia;
        else if (B) l.voltage = Ub, l.current = Ib;
        else if (C) l.voltage = Uc, l.current = Ic;
        else l.voltage = 1.0, l.current = 1.0;
        l.samples = x.ia + x.ib + x.ic;
    }
    if (phase || sym) l.faultCurrent = l.current;
    else if (earth) l.faultCurrent = P[I0_1];
    if (!sym && !phase && !earth) l = {1.0, 1.0, 1.0, 1.0};
    return l;
}

double WrongPlaceLocator::LoopSamplesTwoEnded(int s, const Sample& x) const {
    const size_t i = size_t(s);
    bool A = m_faultA[i], B = m_faultB[i], C = m_faultC[i];
    if (m_phaseFault[i] || m_symFault[i])
        return (A && B) ? x.ia - x.ib : (B && C) ? x.ib - x.ic : (C && A) ? x.ic - x.ia : 1.0;
    // Unfaulted samples and earth faults without a loop of their own: a finite "no loop" value.
    if (m_earthFault[i] && A) return x.ia;
    return 1.0;
}

// --- the run -------------------------------------------------------------------------------

void WrongPlaceLocator::AddInput(LocatorRecord& record, int valueSlot, int phasorSlot, const CString& name,
                                 bool negate) {
    // A channel that is not there stops the run before any work is done.
    record.ReadDisplayValues(name, 0, 0, nullptr);
    Input in;
    in.name = name;
    in.valueSlot = valueSlot;
    in.phasorSlot = phasorSlot;
    in.channelIndex = record.FindChannelIndex(name);
    in.negate = negate;
    in.detection = phasorSlot >= PIa1 && phasorSlot <= PIc2;
    m_inputs.push_back(std::move(in));
}

namespace {

// The whole towers of a typed count: a count beyond what an int holds (a model file may say
// "1e30") is the most there can be, not an undefined conversion.
int TowerCount(double towers) {
    if (!(towers > 0)) return 0;
    return towers >= double(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max() : int(towers);
}

}  // namespace

void WrongPlaceLocator::ReadSections(LocatorRecord& record) {
    m_sections.clear();
    const auto& st = m_data.station1;
    for (const auto& sp : st.sections) {
        const auto& s = *sp;
        SectionCalc c;
        c.R = LineParamToDouble(s.GetParam(LineParam::R()));
        c.X = LineParamToDouble(s.GetParam(LineParam::X()));
        c.length = LineParamToDouble(s.GetParam(LineParam::Length()));
        c.R0 = LineParamToDouble(s.GetParam(LineParam::R0()));
        c.X0 = LineParamToDouble(s.GetParam(LineParam::X0()));
        c.R1 = LineParamToDouble(s.GetParam(LineParam::R1()));
        c.X1 = LineParamToDouble(s.GetParam(LineParam::X1()));
        c.towers = TowerCount(LineParamToDouble(s.GetParam(LineParam::Towers())));
        for (const auto& pp : s.parallelLines) {
            ParallelLineCalc p;
            p.Rm = LineParamToDouble(pp->GetParam(LineParam::Rm()));
            p.Xm = LineParamToDouble(pp->GetParam(LineParam::Xm()));
            AddInput(record, -1, -1, pp->GetParam(L"I0"), false);
            m_inputs.back().section = int(m_sections.size());
            m_inputs.back().line = int(c.parallelLines.size());
            c.parallelLines.push_back(p);
        }
        for (const auto& cp : s.connections)
            c.taps.emplace_back(LineParamToDouble(cp->GetParam(LineParam::TapR0())),
                                LineParamToDouble(cp->GetParam(LineParam::TapX0())));
        m_sections.push_back(std::move(c));
    }
}

void WrongPlaceLocator::FindResultWindow() {
    IndexRange w = FindStationaryPeriod(dist.data(), m_loopSamples.data(), m_interval.first, m_interval.last,
                                        m_samplesPerPeriod);
    m_windowFirst = w.first;
    m_windowLast = w.last;
}

bool WrongPlaceLocator::EarthedFaulted(int s) const {
    const size_t i = size_t(s);
    return s >= m_samplesPerPeriod && (m_earthFault[i] || m_phaseFault[i] || m_symFault[i]);
}

void WrongPlaceLocator::EarthedDistances(LocatorRecord& record) {
    const Complex rot = std::polar(1.0, m_tapAngle);
    ForEachSample(
        record, m_samplesPerPeriod, m_sampleCount, [&](int s, const Sample&) { return EarthedFaulted(s); },
        [&](int s, const Sample& x) { dist[size_t(s)] = DistanceEarthed(s, x, LoopEarthed(s, x), rot); });
}

// The angle by which a tap on the last section turns the zero-sequence current: from the
// currents at and beyond the fault the first pass found, over its result window.
void WrongPlaceLocator::CalcTapAngle(LocatorRecord& record) {
    const int a = std::max(0, std::min(m_windowFirst, m_windowLast));
    const int b = std::min(std::max(m_windowFirst, m_windowLast), m_sampleCount - 1);
    if (a > b || !(m_distance > 0)) return;
    if (CalcMedianOfRange32(m_earthFault.data(), a, b) == 0) return;
    const double D = m_distance;
    const size_t count = size_t(b - a + 1);
    std::vector<double> ang(count), q(count), r(count);
    ForEachSample(record, a, b + 1, [](int, const Sample&) { return true; }, [&](int s, const Sample& x) {
        Complex Q = ZeroSeqCurrentAtDistance(x.P[U0_1], x.P[I0_1], D);
        Complex R = ZeroSeqCurrentBeyondFault(x.P[U0_1], x.P[I0_1], D);
        double d = std::arg(R) - std::arg(Q);
        if (d < -M_PI) d += 2 * M_PI;
        else if (d > M_PI) d -= 2 * M_PI;
        const size_t i = size_t(s - a);
        ang[i] = d;
        q[i] = std::abs(Q);
        r[i] = std::abs(R);
    });
    const int last = b - a;
    double mA = CalcMedian(ang.data(), 0, last), mQ = CalcMedian(q.data(), 0, last), mR = CalcMedian(r.data(), 0, last);
    m_tapAngle = std::atan2(-mR * std::sin(mA), mQ - mR * std::cos(mA));
}

void WrongPlaceLocator::Run(LocatorRecord& record) {
    struct RecordScope {
        const LocatorRecord*& slot;
        RecordScope(const LocatorRecord*& s, const LocatorRecord* r) : slot(s) { slot = r; }
        ~RecordScope() { slot = nullptr; }
    } scope(m_record, &record);

    m_runMethod = m_data.methodType;
    m_active = true;
    const int method = m_runMethod;
    if (method != WrongPlaceLocatorData::IsolatedNeutral && method != WrongPlaceLocatorData::EarthedNeutral &&
        method != WrongPlaceLocatorData::TwoEnded)
        throw new CTenvorikException(kNoData);
    // A model read from a file or the record's settings meets the same check as one edited:
    // a blank or cut section would otherwise give a distance that is not a number.
    if (const CString violation = m_data.ViolationText(); !violation.IsEmpty())
        throw CTenvorikException::FromText(violation);

    m_netFrequency = record.GetNetFrequency();
    const double fs = record.GetSamplingFrequency();
    if (!(m_netFrequency >= 1.0) || !(fs >= 1.0) || !std::isfinite(fs) || !std::isfinite(m_netFrequency))
        throw new CTenvorikException(kNoNetFrequency);
    m_samplesPerPeriod = int(static_cast<unsigned>(fs) / static_cast<unsigned>(m_netFrequency));
    if (m_samplesPerPeriod < 1) throw new CTenvorikException(kNoNetFrequency);
    m_sampleCount = std::max(0, record.GetSampleCount());
    m_nominalCurrent1 = LineParamToDouble(m_data.station1.GetParam(LineParam::NominalCurrent()));
    m_nominalCurrent2 = -LineParamToDouble(m_data.station2.GetParam(LineParam::NominalCurrent()));

    Allocate();
    ReadSections(record);
    if (m_sections.empty() || m_nominalCurrent1 == 0.0) throw new CTenvorikException(kNoData);

    const auto& s1 = m_data.station1;
    const auto& s2 = m_data.station2;
    const wchar_t* ii[3] = {L"Ia", L"Ib", L"Ic"};
    const wchar_t* u[3] = {L"Ua", L"Ub", L"Uc"};
    if (method == WrongPlaceLocatorData::TwoEnded) {
        for (int k = 0; k < 3; ++k) AddInput(record, Ua1 + k, PUa1 + k, s1.GetParam(u[k]), false);
        for (int k = 0; k < 3; ++k) AddInput(record, Ia1 + k, PIa1 + k, s1.GetParam(ii[k]), false);
        for (int k = 0; k < 3; ++k) AddInput(record, Ua2 + k, PUa2 + k, s2.GetParam(u[k]), false);
        // Station 2's currents are reversed in the engine only; the record keeps its sign.
        for (int k = 0; k < 3; ++k) AddInput(record, Ia2 + k, PIa2 + k, s2.GetParam(ii[k]), true);
    } else {
        for (int k = 0; k < 3; ++k) AddInput(record, Ia1 + k, PIa1 + k, s1.GetParam(ii[k]), false);
        if (method == WrongPlaceLocatorData::IsolatedNeutral) {
            const wchar_t* uu[3] = {L"Uab", L"Ubc", L"Uca"};
            for (int k = 0; k < 3; ++k) AddInput(record, Uab1 + k, PUab1 + k, s1.GetParam(uu[k]), false);
        } else {
            for (int k = 0; k < 3; ++k) AddInput(record, Ua1 + k, PUa1 + k, s1.GetParam(u[k]), false);
        }
    }

    // One pass: each sample's phasors, its fault detection (carried from sample to sample), its
    // loop and its distance.
    const int N = m_samplesPerPeriod;
    Detection detection(double(N / 4));
    if (method == WrongPlaceLocatorData::IsolatedNeutral) {
        auto detect = [&](int s, const Sample& x) {
            DetectIsolated(s, x);
            return m_phaseFault[size_t(s)] || m_symFault[size_t(s)];
        };
        ForEachSample(record, 0, m_sampleCount, detect, [&](int s, const Sample& x) {
            // The first period has no loop: its zero loop gives a faulted sample there no distance.
            Loop l = s >= N ? LoopIsolated(s, x) : Loop{};
            if (s >= N) m_loopSamples[size_t(s)] = l.samples;
            dist[size_t(s)] = DistanceIsolated(s, l);
        });
        m_interval = FindFaultInterval();
    } else if (method == WrongPlaceLocatorData::EarthedNeutral) {
        m_tapAngle = 0.0;
        const Complex rot = std::polar(1.0, m_tapAngle);
        auto detect = [&](int s, const Sample& x) {
            DetectEarthed(s, x, detection);
            return EarthedFaulted(s);
        };
        ForEachSample(record, 0, m_sampleCount, detect, [&](int s, const Sample& x) {
            if (s < N) return;
            const Loop l = LoopEarthed(s, x);
            m_loopSamples[size_t(s)] = l.samples;
            dist[size_t(s)] = DistanceEarthed(s, x, l, rot);
        });
        m_interval = FindFaultIntervalByPhases();
        // A tap on the last section draws zero-sequence current past the fault: a second pass
        // polarises with the angle that the first pass's result implies.
        if (!m_sections.back().taps.empty()) {
            FindResultWindow();
            ComputeResultAt(m_windowFirst, m_windowLast, m_sampleCount);
            CalcTapAngle(record);
            EarthedDistances(record);
        }
    } else {
        auto detect = [&](int s, const Sample& x) {
            DetectTwoEnded(s, x, detection);
            return m_earthFault[size_t(s)] || m_phaseFault[size_t(s)] || m_symFault[size_t(s)];
        };
        ForEachSample(record, 0, m_sampleCount, detect, [&](int s, const Sample& x) {
            if (s >= N) m_loopSamples[size_t(s)] = LoopSamplesTwoEnded(s, x);
            DistanceTwoEnded(s, x);
        });
        m_interval = FindFaultIntervalByPhases();
    }
    m_inputs.clear();
    FindResultWindow();
    // The loop samples only find the window: the result channels the run adds to the record
    // can take their room.
    tv::BulkVector<double>().swap(m_loopSamples);
    ComputeResultAt(m_windowFirst, m_windowLast, m_sampleCount);
}

bool WrongPlaceLocator::Calculate(LocatorRecord& record, LocatorHost& host, bool silent) {
    try {
        Run(record);
    } catch (CException* e) {
        // A failed run leaves nothing on show that would look like a result.
        m_active = false;
        host.HideResultBar();
        if (silent) e->Delete();
        else platform::Ui().PostException(e);
        return false;
    }
    host.PlaceCursors(m_windowFirst, m_windowLast);
    host.ShowResultBar(BuildShortResult());
    std::vector<double> meters(dist.size());
    for (size_t i = 0; i < dist.size(); ++i) meters[i] = dist[i] * 1000.0;
    record.SetCalculatedChannel(LocatorDistanceChannelName(), L"m", meters);
    record.SetDiscreteChannel(LocatorPhaseChannelName(2), m_faultC);
    record.SetDiscreteChannel(LocatorPhaseChannelName(1), m_faultB);
    record.SetDiscreteChannel(LocatorPhaseChannelName(0), m_faultA);
    host.UpdateViews();
    return true;
}

void WrongPlaceLocator::HideResult(LocatorRecord& record, LocatorHost& host) {
    m_active = false;
    host.HideResultBar();
    record.RemoveChannel(LocatorDistanceChannelName());
    for (int p = 0; p < 3; ++p) record.RemoveChannel(LocatorPhaseChannelName(p));
}

// --- the result over a window ----------------------------------------------------------------

void WrongPlaceLocator::ComputeResultAt(int first, int last, int recordSampleCount) {
    m_windowFirst = first;
    m_windowLast = last;
    // The arrays belong to the last run; the record may have changed size since (undo, merge).
    const int limit = std::min(recordSampleCount, int(dist.size())) - 1;
    int a = std::max(0, std::min(first, last));
    int b = std::min(std::max(first, last), limit);
    m_distance = 0;
    m_spread = 0;
    m_phaseA = m_phaseB = m_phaseC = 0;
    m_earthMedian = m_phaseMedian = m_symMedian = 0;
    if (a > b) {
        LocateTower();
        return;
    }
    bool outside = false;
    if (m_runMethod == WrongPlaceLocatorData::TwoEnded) {
        double m = CalcMedian(phaseDiff.data(), a, b);
        outside = m > -M_PI / 2 && m < M_PI / 2;
    }
    if (!outside) {
        m_distance = CalcMedian(dist.data(), a, b);
        double sum = 0;
        for (int i = a; i <= b; ++i) sum += dist[size_t(i)];
        double mean = sum / (b - a + 1);
        double sigma = CalcStdDev(dist.data(), a, b);
        m_spread = (mean != 0 && std::isfinite(mean) && std::isfinite(sigma)) ? 2 * sigma / mean * 100 : 0.0;
    }
    m_phaseA = CalcMedianOfRange32(m_faultA.data(), a, b);
    m_phaseB = CalcMedianOfRange32(m_faultB.data(), a, b);
    m_phaseC = CalcMedianOfRange32(m_faultC.data(), a, b);
    m_earthMedian = CalcMedianOfRange32(m_earthFault.data(), a, b);
    m_phaseMedian = CalcMedianOfRange32(m_phaseFault.data(), a, b);
    m_symMedian = CalcMedianOfRange32(m_symFault.data(), a, b);
    LocateTower();
}
