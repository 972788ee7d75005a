#include "faultloc/WrongPlaceLocator.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/Resources.h"
#include "model/TenvorikException.h"
#include "platform/UiServices.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
const double kSqrt2 = std::sqrt(2.0);
const double kHalfSqrt3 = std::sqrt(3.0) / 2.0;

// Index slots of the channels, in the order the engine keeps them.
constexpr int kIdxIa1 = 0, kIdxUab1 = 3, kIdxUa1 = 6, kIdxUa2 = 9, kIdxIa2 = 12;

// Messages of a run that cannot start.
constexpr unsigned kNoData = 349;
constexpr unsigned kNoNetFrequency = 9003;

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

WrongPlaceLocator::WrongPlaceLocator() { m_channelIndex.fill(-1); }

std::array<bool, WrongPlaceLocator::kPhasorSlots> WrongPlaceLocator::KeptPhasors(int method) {
    // The phasor series a method reads after the sequence components are made; the rest are
    // made per sample and not kept.
    std::array<bool, kPhasorSlots> kept{};
    for (int s : {PIa1, PIb1, PIc1, I1_1, I2_1}) kept[size_t(s)] = true;
    if (method == WrongPlaceLocatorData::IsolatedNeutral) {
        for (int s : {PUab1, PUbc1, PUca1}) kept[size_t(s)] = true;
    } else if (method == WrongPlaceLocatorData::EarthedNeutral) {
        for (int s : {PUa1, PUb1, PUc1, I0_1, U0_1}) kept[size_t(s)] = true;
    } else if (method == WrongPlaceLocatorData::TwoEnded) {
        for (int s : {I0_1, I1_2, I2_2, I0_2, U2_1, U0_1, U2_2, U0_2}) kept[size_t(s)] = true;
    }
    return kept;
}

namespace {
// Sized to n without writing the samples that a run writes anyway: only the first period,
// which no run computes, is set to zero.
template <class V>
void SizeForRun(V& v, size_t n, size_t head) {
    if (n == 0) {
        V().swap(v);
        return;
    }
    v.resize(n);
    std::fill(v.begin(), v.begin() + std::ptrdiff_t(std::min(head, n)), typename V::value_type());
}
}  // namespace

void WrongPlaceLocator::Allocate() {
    // Every sample a run does not compute is zero on every run: a first period never shows what
    // an earlier run with another period length left there.
    const size_t n = size_t(m_sampleCount);
    const size_t head = size_t(std::max(m_samplesPerPeriod, 0));
    const auto kept = KeptPhasors(m_runMethod);
    for (size_t k = 0; k < m_phasor.size(); ++k) {
        if (kept[k]) SizeForRun(m_phasor[k], n, head);
        else tv::BulkVector<Complex>().swap(m_phasor[k]);
    }
    const bool earthed = m_runMethod == WrongPlaceLocatorData::EarthedNeutral;
    const bool twoEnded = m_runMethod == WrongPlaceLocatorData::TwoEnded;
    // The loops of a method that has them are written for every sample past the first period.
    SizeForRun(m_loopVoltage, twoEnded ? 0 : n, head);
    SizeForRun(m_loopCurrent, twoEnded ? 0 : n, head);
    SizeForRun(m_faultCurrent, earthed ? n : 0, head);
    SizeForRun(m_loopSamples, n, head);
    for (auto* f : {&m_earthFault, &m_phaseFault, &m_symFault, &m_faultA, &m_faultB, &m_faultC}) f->assign(n, 0);
    // Samples without a fault keep no distance and no phase difference.
    dist.assign(n, 0.0);
    if (twoEnded) phaseDiff.assign(n, 0.0);
    else std::vector<double>().swap(phaseDiff);
    for (auto& v : m_values) v.clear();
    m_channelIndex.fill(-1);
}

// --- phasors -------------------------------------------------------------------------------

Complex WrongPlaceLocator::CalcPhasor(const std::vector<double>& x, int i, int channel) const {
    const int N = m_samplesPerPeriod;
    if (i < N || N <= 0 || i >= int(x.size())) return {};
    if (channel < 0 || !m_record) {
        if (int(m_sin.size()) != N) {
            m_sin.resize(size_t(N));
            m_cos.resize(size_t(N));
            for (int k = 0; k < N; ++k) {
                double th = (k * kTwoPi) / N;
                m_sin[size_t(k)] = std::sin(th);
                m_cos[size_t(k)] = std::cos(th);
            }
        }
        double re = 0, im = 0;
        const double* w = x.data() + (i - N);
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
    Complex sum = 0;
    double phi = 0, phiPrev = 0, P = 0;
    int j = 0, m = i;
    double f = freqAt(i);
    while (m > 0) {
        double dt = (rec.GetSampleTimeUs(m) - rec.GetSampleTimeUs(m - 1)) * 1e-6;
        double a = kTwoPi * phi;
        sum += x[size_t(m)] * dt * Complex(-std::sin(a), std::cos(a));
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
        sum -= x[size_t(m + 1)] * dt1 * w;
        sum += x[size_t(m + 1)] * ((1.0 - phiPrev) / freqAt(m + 1)) * w;
    }
    double T = P / j;
    return (2.0 / T) * sum;
}

Complex WrongPlaceLocator::SeqPositive(Complex A, Complex B, Complex C) const {
    return {(A.real() - (B.real() + C.real()) / 2 - kHalfSqrt3 * (B.imag() - C.imag())) / 3,
            (A.imag() - (B.imag() + C.imag()) / 2 + kHalfSqrt3 * (B.real() - C.real())) / 3};
}

Complex WrongPlaceLocator::SeqNegative(Complex A, Complex B, Complex C) const {
    return {(A.real() - (B.real() + C.real()) / 2 + kHalfSqrt3 * (B.imag() - C.imag())) / 3,
            (A.imag() - (B.imag() + C.imag()) / 2 - kHalfSqrt3 * (B.real() - C.real())) / 3};
}

void WrongPlaceLocator::CalcSequenceComponents() {
    // Each sample's phasors are made into `P` and only the series the method reads are kept.
    const auto kept = KeptPhasors(m_runMethod);
    std::array<Complex, kPhasorSlots> P{};
    auto phasor = [&](int phasorSlot, int valueSlot, int indexSlot, int s) {
        P[size_t(phasorSlot)] = CalcPhasor(m_values[size_t(valueSlot)], s, m_channelIndex[size_t(indexSlot)]);
    };
    auto seq = [&](int pos, int neg, int zero, int a, int b, int c) {
        Complex A = P[size_t(a)], B = P[size_t(b)], C = P[size_t(c)];
        if (pos >= 0) P[size_t(pos)] = SeqPositive(A, B, C);
        if (neg >= 0) P[size_t(neg)] = SeqNegative(A, B, C);
        if (zero >= 0) P[size_t(zero)] = (A + B + C) / 3.0;
    };
    for (int s = m_samplesPerPeriod; s < m_sampleCount; ++s) {
        for (int k = 0; k < 3; ++k) phasor(PIa1 + k, Ia1 + k, kIdxIa1 + k, s);
        if (m_runMethod == WrongPlaceLocatorData::IsolatedNeutral) {
            for (int k = 0; k < 3; ++k) phasor(PUab1 + k, Uab1 + k, kIdxUab1 + k, s);
            seq(I1_1, I2_1, -1, PIa1, PIb1, PIc1);
        } else if (m_runMethod == WrongPlaceLocatorData::EarthedNeutral) {
            for (int k = 0; k < 3; ++k) phasor(PUa1 + k, Ua1 + k, kIdxUa1 + k, s);
            seq(I1_1, I2_1, I0_1, PIa1, PIb1, PIc1);
            seq(-1, -1, U0_1, PUa1, PUb1, PUc1);
        } else if (m_runMethod == WrongPlaceLocatorData::TwoEnded) {
            for (int k = 0; k < 3; ++k) phasor(PUa1 + k, Ua1 + k, kIdxUa1 + k, s);
            for (int k = 0; k < 3; ++k) phasor(PUa2 + k, Ua2 + k, kIdxUa2 + k, s);
            for (int k = 0; k < 3; ++k) phasor(PIa2 + k, Ia2 + k, kIdxIa2 + k, s);
            seq(I1_1, I2_1, I0_1, PIa1, PIb1, PIc1);
            seq(I1_2, I2_2, I0_2, PIa2, PIb2, PIc2);
            seq(U1_1, U2_1, U0_1, PUa1, PUb1, PUc1);
            seq(U1_2, U2_2, U0_2, PUa2, PUb2, PUc2);
        }
        for (size_t k = 0; k < P.size(); ++k)
            if (kept[k]) m_phasor[k][size_t(s)] = P[k];
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

void WrongPlaceLocator::DetectFaultIsolated() {
    const double in = m_nominalCurrent1 * kSqrt2;
    for (int s = 0; s < m_sampleCount; ++s) {
        double m1 = std::abs(m_phasor[I1_1][size_t(s)]), m2 = std::abs(m_phasor[I2_1][size_t(s)]);
        int phase = 0, sym = 0;
        if (m1 > 0.1 * in) {
            phase = 3.0 * m2 > m1 ? 1 : 0;
            sym = (m1 >= 3.0 * m2 && m1 > 1.15 * in) ? 1 : 0;
        }
        m_phaseFault[size_t(s)] = phase;
        m_symFault[size_t(s)] = sym;
        double a = std::abs(m_phasor[PIa1][size_t(s)]), b = std::abs(m_phasor[PIb1][size_t(s)]),
               c = std::abs(m_phasor[PIc1][size_t(s)]);
        int A = 0, B = 0, C = 0;
        if (sym) {
            A = B = C = 1;
        } else if (phase) {
            A = (a > b || a > c) ? 1 : 0;
            B = (b > a || b > c) ? 1 : 0;
            C = (c > a || c > b) ? 1 : 0;
        }
        m_faultA[size_t(s)] = A;
        m_faultB[size_t(s)] = B;
        m_faultC[size_t(s)] = C;
    }
}

namespace {
void SelectPhases(const tv::BulkVector<Complex>& ia, const tv::BulkVector<Complex>& ib, const tv::BulkVector<Complex>& ic,
                  const std::vector<int>& earth, const std::vector<int>& phase, const std::vector<int>& sym,
                  std::vector<int>& A, std::vector<int>& B, std::vector<int>& C, int count) {
    bool v1 = false, v2 = false, v3 = false;
    for (int s = 1; s < count; ++s) {
        double a = std::abs(ia[size_t(s)]), b = std::abs(ib[size_t(s)]), c = std::abs(ic[size_t(s)]);
        Hyst(v1, a > b, 0.9 * b > a);
        Hyst(v2, a > c, 0.9 * c > a);
        Hyst(v3, b > c, 0.9 * c > b);
        bool sy = sym[size_t(s)] != 0, ph = phase[size_t(s)] != 0, ea = earth[size_t(s)] != 0;
        A[size_t(s)] = (sy || (ph && (v1 || v2)) || (ea && v1 && v2)) ? 1 : 0;
        B[size_t(s)] = (sy || (ph && (!v1 || v3)) || (ea && !v1 && v3)) ? 1 : 0;
        C[size_t(s)] = (sy || (ph && (!v2 || !v3)) || (ea && !v2 && !v3)) ? 1 : 0;
    }
}
}  // namespace

void WrongPlaceLocator::DetectFaultEarthed() {
    const double in = m_nominalCurrent1 * kSqrt2;
    const int n = m_sampleCount;
    if (n > 0) m_earthFault[0] = m_phaseFault[0] = m_symFault[0] = 0;
    bool P = false, Q = false;
    for (int s = 1; s < n; ++s) {
        double m1 = std::abs(m_phasor[I1_1][size_t(s)]), m2 = std::abs(m_phasor[I2_1][size_t(s)]);
        Hyst(P, m1 > 4.0 * m2, (4.0 * m2) * 0.9 > m1);
        Hyst(Q, m1 > in, 0.9 * in > m1);
        m_symFault[size_t(s)] = (P && Q) ? 1 : 0;
    }
    bool R = false, Z = false;
    for (int s = 1; s < n; ++s) {
        double m1 = std::abs(m_phasor[I1_1][size_t(s)]), m2 = std::abs(m_phasor[I2_1][size_t(s)]),
               m0 = std::abs(m_phasor[I0_1][size_t(s)]);
        Hyst(R, 4.0 * m2 > m1, 0.9 * m1 > 4.0 * m2);
        Hyst(Z, m2 > 6.0 * m0, (6.0 * m0) * 0.9 > m2);
        bool G = m1 > 0.1 * in;
        m_phaseFault[size_t(s)] = (R && Z && G) ? 1 : 0;
        m_earthFault[size_t(s)] = (R && !Z && G) ? 1 : 0;
    }
    const double on = double(m_samplesPerPeriod / 4);
    Debounce(m_earthFault, on, 0);
    Debounce(m_phaseFault, on, 0);
    Debounce(m_symFault, on, 0);
    SelectPhases(m_phasor[PIa1], m_phasor[PIb1], m_phasor[PIc1], m_earthFault, m_phaseFault, m_symFault, m_faultA,
                 m_faultB, m_faultC, n);
}

void WrongPlaceLocator::DetectFaultTwoEnded() {
    const double in1 = m_nominalCurrent1, in2 = std::fabs(m_nominalCurrent2);
    const int n = m_sampleCount;
    if (n > 0) m_earthFault[0] = m_phaseFault[0] = m_symFault[0] = 0;
    bool H1 = false, H2 = false, H3 = false, H4 = false;
    for (int s = 1; s < n; ++s) {
        double m1a = std::abs(m_phasor[I1_1][size_t(s)]), m2a = std::abs(m_phasor[I2_1][size_t(s)]),
               m0a = std::abs(m_phasor[I0_1][size_t(s)]);
        double m1b = std::abs(m_phasor[I1_2][size_t(s)]), m2b = std::abs(m_phasor[I2_2][size_t(s)]),
               m0b = std::abs(m_phasor[I0_2][size_t(s)]);
        Hyst(H1, 4.0 * m2a > m1a, 0.9 * m1a > 4.0 * m2a);
        Hyst(H2, 4.0 * m2b > m1b, 0.9 * m1b > 4.0 * m2b);
        int earth = 0, phase = 0, sym = 0;
        if (H1 && H2) {
            if (m1a > 0.1 * kSqrt2 * in1 && m1b > 0.1 * kSqrt2 * in2) {
                Hyst(H3, m2a > 6.0 * m0a, (6.0 * m0a) * 0.9 > m2a);
                Hyst(H4, m2b > 6.0 * m0b, (6.0 * m0b) * 0.9 > m2b);
                if (H3 && H4) phase = 1;
                else earth = 1;
            }
        } else if (m1a > 1.1 * kSqrt2 * in1 && m1b > 1.1 * kSqrt2 * in2) {
            sym = 1;
        }
        m_earthFault[size_t(s)] = earth;
        m_phaseFault[size_t(s)] = phase;
        m_symFault[size_t(s)] = sym;
    }
    const double on = double(m_samplesPerPeriod / 4);
    Debounce(m_earthFault, on, 0);
    Debounce(m_phaseFault, on, 0);
    Debounce(m_symFault, on, 0);
    SelectPhases(m_phasor[PIa1], m_phasor[PIb1], m_phasor[PIc1], m_earthFault, m_phaseFault, m_symFault, m_faultA,
                 m_faultB, m_faultC, n);
}

void WrongPlaceLocator::Debounce(std::vector<int>& flags, double onDelay, double offDelay) {
    if (flags.empty()) return;
    std::vector<int> out(flags.size(), 0);
    double c = 0;
    for (size_t i = 1; i < flags.size(); ++i) {
        out[i] = out[i - 1];
        bool in = flags[i] != 0;
        c = (in != (out[i - 1] != 0)) ? c + 1 : 0;
        if (out[i - 1] == 1 && !in && c >= offDelay) {
            out[i] = 0;
            c = -1;
        } else if (out[i - 1] == 0 && in && c >= onDelay) {
            out[i] = 1;
            c = -1;
        }
    }
    flags.swap(out);
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

void WrongPlaceLocator::SelectLoopIsolated() {
    const auto &ia = m_values[Ia1], &ib = m_values[Ib1], &ic = m_values[Ic1];
    for (int s = m_samplesPerPeriod; s < m_sampleCount; ++s) {
        const size_t i = size_t(s);
        m_loopVoltage[i] = 1.0;
        m_loopCurrent[i] = 1.0;
        m_loopSamples[i] = 1.0;
        if (!m_phaseFault[i] && !m_symFault[i]) continue;
        bool A = m_faultA[i], B = m_faultB[i], C = m_faultC[i];
        if (A && B) {
            m_loopVoltage[i] = m_phasor[PUab1][i];
            m_loopCurrent[i] = m_phasor[PIa1][i] - m_phasor[PIb1][i];
            m_loopSamples[i] = ia[i] - ib[i];
        }
        if (B && C) {
            m_loopVoltage[i] = m_phasor[PUbc1][i];
            m_loopCurrent[i] = m_phasor[PIb1][i] - m_phasor[PIc1][i];
            m_loopSamples[i] = ib[i] - ic[i];
        }
        if (A && C) {
            m_loopVoltage[i] = m_phasor[PUca1][i];
            m_loopCurrent[i] = m_phasor[PIc1][i] - m_phasor[PIa1][i];
            m_loopSamples[i] = ic[i] - ia[i];
        }
    }
}

void WrongPlaceLocator::SelectLoopEarthed() {
    const auto &ia = m_values[Ia1], &ib = m_values[Ib1], &ic = m_values[Ic1];
    const auto &Ua = m_phasor[PUa1], &Ub = m_phasor[PUb1], &Uc = m_phasor[PUc1];
    const auto &Ia = m_phasor[PIa1], &Ib = m_phasor[PIb1], &Ic = m_phasor[PIc1];
    for (int s = m_samplesPerPeriod; s < m_sampleCount; ++s) {
        const size_t i = size_t(s);
        bool A = m_faultA[i], B = m_faultB[i], C = m_faultC[i];
        if (m_symFault[i]) {
            m_loopVoltage[i] = Ua[i] - Ub[i];
            m_loopCurrent[i] = Ia[i] - Ib[i];
            m_loopSamples[i] = ia[i] - ib[i];
        }
        if (m_phaseFault[i]) {
            if (A && B) {
                m_loopVoltage[i] = Ua[i] - Ub[i];
                m_loopCurrent[i] = Ia[i] - Ib[i];
                m_loopSamples[i] = ia[i] - ib[i];
            } else if (B && C) {
                m_loopVoltage[i] = Ub[i] - Uc[i];
                m_loopCurrent[i] = Ib[i] - Ic[i];
                m_loopSamples[i] = ib[i] - ic[i];
            } else if (A && C) {
                m_loopVoltage[i] = Uc[i] - Ua[i];
                m_loopCurrent[i] = Ic[i] - Ia[i];
                m_loopSamples[i] = ic[i] - ia[i];
            } else {
                m_loopVoltage[i] = 1.0;
                m_loopCurrent[i] = 1.0;
                m_loopSamples[i] = 1.0;
            }
        }
        if (m_earthFault[i]) {
            if (A) {
                m_loopVoltage[i] = Ua[i];
                m_loopCurrent[i] = Ia[i];
            } else if (B) {
                m_loopVoltage[i] = Ub[i];
                m_loopCurrent[i] = Ib[i];
            } else if (C) {
                m_loopVoltage[i] = Uc[i];
                m_loopCurrent[i] = Ic[i];
            } else {
                m_loopVoltage[i] = 1.0;
                m_loopCurrent[i] = 1.0;
            }
            m_loopSamples[i] = ia[i] + ib[i] + ic[i];
        }
        if (m_phaseFault[i] || m_symFault[i]) m_faultCurrent[i] = m_loopCurrent[i];
        else if (m_earthFault[i]) m_faultCurrent[i] = m_phasor[I0_1][i];
        if (!m_symFault[i] && !m_phaseFault[i] && !m_earthFault[i]) {
            m_loopVoltage[i] = m_loopCurrent[i] = m_faultCurrent[i] = 1.0;
            m_loopSamples[i] = 1.0;
        }
    }
}

void WrongPlaceLocator::SelectLoopTwoEnded() {
    const auto &ia = m_values[Ia1], &ib = m_values[Ib1], &ic = m_values[Ic1];
    for (int s = m_samplesPerPeriod; s < m_sampleCount; ++s) {
        const size_t i = size_t(s);
        bool A = m_faultA[i], B = m_faultB[i], C = m_faultC[i];
        if (m_phaseFault[i] || m_symFault[i]) {
            m_loopSamples[i] = (A && B) ? ia[i] - ib[i] : (B && C) ? ib[i] - ic[i] : (C && A) ? ic[i] - ia[i] : 1.0;
        } else if (m_earthFault[i] && A) {
            m_loopSamples[i] = ia[i];
        } else {
            // Unfaulted samples and earth faults without a loop of their own: a finite "no loop"
            // value, never what an earlier run left.
            m_loopSamples[i] = 1.0;
        }
    }
}

// --- the run -------------------------------------------------------------------------------

void WrongPlaceLocator::CopyChannel(LocatorRecord& record, int valueSlot, int indexSlot, const CString& name) {
    m_values[size_t(valueSlot)] = record.GetDisplayValues(name);
    m_values[size_t(valueSlot)].resize(size_t(m_sampleCount), 0.0);
    m_channelIndex[size_t(indexSlot)] = record.FindChannelIndex(name);
}

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
        c.towers = int(LineParamToDouble(s.GetParam(LineParam::Towers())));
        for (const auto& pp : s.parallelLines) {
            ParallelLineCalc p;
            p.Rm = LineParamToDouble(pp->GetParam(LineParam::Rm()));
            p.Xm = LineParamToDouble(pp->GetParam(LineParam::Xm()));
            p.i0.assign(size_t(m_sampleCount), Complex());
            CString name = pp->GetParam(L"I0");
            std::vector<double> values = record.GetDisplayValues(name);
            values.resize(size_t(m_sampleCount), 0.0);
            int index = record.FindChannelIndex(name);
            for (int k = m_samplesPerPeriod; k < m_sampleCount; ++k) p.i0[size_t(k)] = CalcPhasor(values, k, index);
            c.parallelLines.push_back(std::move(p));
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
    if (method == WrongPlaceLocatorData::TwoEnded) {
        const wchar_t* u[3] = {L"Ua", L"Ub", L"Uc"};
        const wchar_t* ii[3] = {L"Ia", L"Ib", L"Ic"};
        for (int k = 0; k < 3; ++k) CopyChannel(record, Ua1 + k, kIdxUa1 + k, s1.GetParam(u[k]));
        for (int k = 0; k < 3; ++k) CopyChannel(record, Ia1 + k, kIdxIa1 + k, s1.GetParam(ii[k]));
        for (int k = 0; k < 3; ++k) CopyChannel(record, Ua2 + k, kIdxUa2 + k, s2.GetParam(u[k]));
        for (int k = 0; k < 3; ++k) CopyChannel(record, Ia2 + k, kIdxIa2 + k, s2.GetParam(ii[k]));
        // Station 2's currents are reversed in the engine only; the record keeps its sign.
        for (int k = 0; k < 3; ++k)
            for (double& v : m_values[size_t(Ia2 + k)]) v = -v;
    } else {
        const wchar_t* ii[3] = {L"Ia", L"Ib", L"Ic"};
        for (int k = 0; k < 3; ++k) CopyChannel(record, Ia1 + k, kIdxIa1 + k, s1.GetParam(ii[k]));
        if (method == WrongPlaceLocatorData::IsolatedNeutral) {
            const wchar_t* u[3] = {L"Uab", L"Ubc", L"Uca"};
            for (int k = 0; k < 3; ++k) CopyChannel(record, Uab1 + k, kIdxUab1 + k, s1.GetParam(u[k]));
        } else {
            const wchar_t* u[3] = {L"Ua", L"Ub", L"Uc"};
            for (int k = 0; k < 3; ++k) CopyChannel(record, Ua1 + k, kIdxUa1 + k, s1.GetParam(u[k]));
        }
    }

    CalcSequenceComponents();
    if (method == WrongPlaceLocatorData::IsolatedNeutral) {
        DetectFaultIsolated();
        m_interval = FindFaultInterval();
        SelectLoopIsolated();
        CalcDistanceIsolated();
    } else if (method == WrongPlaceLocatorData::EarthedNeutral) {
        DetectFaultEarthed();
        m_interval = FindFaultIntervalByPhases();
        SelectLoopEarthed();
        m_tapAngle = 0.0;
        CalcDistanceEarthed();
        // A tap on the last section draws zero-sequence current past the fault: a second pass
        // polarises with the angle that the first pass's result implies.
        if (!m_sections.back().taps.empty()) {
            FindResultWindow();
            ComputeResultAt(m_windowFirst, m_windowLast, m_sampleCount);
            CalcTapAngle();
            CalcDistanceEarthed();
        }
    } else {
        DetectFaultTwoEnded();
        m_interval = FindFaultIntervalByPhases();
        SelectLoopTwoEnded();
        CalcDistanceTwoEnded();
    }
    FindResultWindow();
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
