#include "faultloc/WrongPlaceLocator.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <limits>
#include <type_traits>
#include <utility>

#include "model/Parallel.h"
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

// A detection step that writes the fault flags, and one that only carries the state on.
constexpr std::true_type kWrite;
constexpr std::false_type kDryRun;

// Samples worked on at a time: the channels' values and phasors of a block stay in the caches,
// and the blocks are many enough to spread evenly over the workers.
constexpr int kBlock = 4096;

// The upper median of flags that are 0 or 1 over [from, to], as sorting them would give it.
int MedianFlag(const tv::BulkVector<uint8_t>& flags, int from, int to) {
    if (to < from) return 0;
    const size_t count = size_t(to - from + 1);
    const size_t ones = size_t(std::count(flags.begin() + from, flags.begin() + to + 1, uint8_t(1)));
    return count - ones <= count / 2 ? 1 : 0;
}

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
    // Samples without a fault keep no distance and no phase difference. The arrays are cleared
    // by the workers, each its own slice, so that their pages are met in parallel.
    const std::array<tv::BulkVector<uint8_t>*, 6> flags = {&m_earthFault, &m_phaseFault, &m_symFault,
                                                           &m_faultA,     &m_faultB,     &m_faultC};
    for (auto* f : flags) f->resize(n);
    dist.resize(n);
    if (m_runMethod == WrongPlaceLocatorData::TwoEnded) phaseDiff.resize(n);
    else tv::BulkVector<double>().swap(phaseDiff);
    constexpr size_t kSlice = 1 << 16;
    const unsigned parts = unsigned(std::min<size_t>(tv::WorkerCount(), (n + kSlice - 1) / kSlice));
    tv::ParallelSlices(n, parts, [&](unsigned, size_t b, size_t e) {
        for (auto* f : flags) std::fill(f->begin() + std::ptrdiff_t(b), f->begin() + std::ptrdiff_t(e), 0);
        std::fill(dist.begin() + std::ptrdiff_t(b), dist.begin() + std::ptrdiff_t(e), 0.0);
        if (!phaseDiff.empty())
            std::fill(phaseDiff.begin() + std::ptrdiff_t(b), phaseDiff.begin() + std::ptrdiff_t(e), 0.0);
    });
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

// The phasors of samples [from, to) of a channel whose samples [first, end) are x[0 ...].
void WrongPlaceLocator::BlockPhasors(const double* x, int first, int end, int channel, int from, int to,
                                     Complex* out) const {
    const int N = m_samplesPerPeriod;
    int s = from;
    if (channel < 0 && N > 0) {
        for (; s < to && s < N; ++s) out[s - from] = {};
        const int lanes = (std::min(to, end) - s) / kPhasorLanes * kPhasorLanes;
        if (lanes > 0) FixedPhasors(x + (s - N - first), m_sin.data(), m_cos.data(), N, lanes, out + (s - from));
        s += std::max(lanes, 0);
    }
    for (; s < to; ++s) out[s - from] = PhasorAt(x, first, end, s, channel);
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

// What one worker holds of the block it works on: each input's values and phasors, the sample
// being worked on and the line with that sample's parallel-line currents.
struct WrongPlaceLocator::Worker {
    struct Block {
        std::vector<double> values;
        int first = 0;  // the sample values[0] holds
        std::vector<Complex> phasors;
    };
    explicit Worker(const WrongPlaceLocator& engine) : inputs(engine.m_inputs.size()), line(engine.m_sections) {
        sample.line = &line;
    }
    std::vector<Block> inputs;
    Sample sample;
    std::vector<SectionCalc> line;
    // The sample holds a sample without a fault: what such a sample does not read is not a
    // number.
    bool unread = false;
};

void WrongPlaceLocator::ComputeBlock(LocatorRecord& record, Worker& w, int b0, int b1, bool detection) const {
    for (size_t k = 0; k < m_inputs.size(); ++k) {
        const Input& in = m_inputs[k];
        if (in.detection != detection) continue;
        Worker::Block& b = w.inputs[k];
        b.phasors.resize(size_t(b1 - b0));
        if (in.channelIndex >= 0) {
            BlockPhasors(in.whole.data(), 0, int(in.whole.size()), in.channelIndex, b0, b1, b.phasors.data());
            continue;
        }
        const int from = std::max(0, b0 - m_samplesPerPeriod);
        b.first = from;
        b.values.resize(size_t(b1 - from));
        record.ReadDisplayValues(in.name, from, b1 - from, b.values.data());
        if (in.negate)
            for (double& v : b.values) v = -v;
        BlockPhasors(b.values.data(), from, b1, -1, b0, b1, b.phasors.data());
    }
}

void WrongPlaceLocator::FillSample(Worker& w, int s, int b0, bool all) const {
    Sample& x = w.sample;
    // What a sample without a fault does not read is not worked out: not a number, so that a
    // result that read it would show it. After another such sample it is so already.
    if (!all && !w.unread) {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        x.P.fill({nan, nan});
        for (auto& sec : w.line)
            for (auto& p : sec.parallelLines) p.i0 = {nan, nan};
    }
    w.unread = !all && s >= m_samplesPerPeriod;
    for (size_t k = 0; k < m_inputs.size(); ++k) {
        const Input& in = m_inputs[k];
        if (!all && !in.detection) continue;
        const Worker::Block& b = w.inputs[k];
        const Complex p = b.phasors[size_t(s - b0)];
        if (in.phasorSlot < 0) {
            w.line[size_t(in.section)].parallelLines[size_t(in.line)].i0 = p;
            continue;
        }
        x.P[size_t(in.phasorSlot)] = p;
        if (in.valueSlot < Ia1 || in.valueSlot > Ic1) continue;
        const double v = in.channelIndex >= 0 ? in.whole[size_t(s)] : b.values[size_t(s - b.first)];
        if (in.valueSlot == Ia1) x.ia = v;
        else if (in.valueSlot == Ib1) x.ib = v;
        else x.ic = v;
    }
    SequenceComponents(x, all);
    if (s < m_samplesPerPeriod) x.P.fill({});
}

template <class Compare, class State, class Detect, class Measure, class Unfaulted>
void WrongPlaceLocator::ForEachSample(LocatorRecord& record, int from, int to, Compare&& compare, const State& initial,
                                      Detect&& detect, Measure&& measure, Unfaulted&& unfaulted) {
    from = std::max(from, 0);
    if (from >= to) return;
    MakeTable();
    // The time-weighted transform reads whole channels: read once, before the workers start.
    for (Input& in : m_inputs) {
        if (in.channelIndex < 0 || !in.whole.empty()) continue;
        in.whole.resize(size_t(m_sampleCount));
        record.ReadDisplayValues(in.name, 0, m_sampleCount, in.whole.data());
        if (in.negate)
            for (double& v : in.whole) v = -v;
    }

    const size_t blocks = size_t(to - from + kBlock - 1) / size_t(kBlock);
    const unsigned workers = unsigned(std::min<size_t>(blocks, tv::WorkerCount()));
    // Each worker takes the next block as it gets free.
    auto onBlocks = [&](auto&& work) {
        std::atomic<size_t> next{0};
        tv::ParallelSlices(workers, workers, [&](unsigned, size_t, size_t) {
            Worker w(*this);
            for (size_t bi = next.fetch_add(1); bi < blocks; bi = next.fetch_add(1)) {
                const int b0 = from + int(bi) * kBlock;
                work(w, b0, std::min(to, b0 + kBlock));
            }
        });
    };

    // One pass over the blocks, in parallel: each block's currents, their comparisons, detection
    // through the block from the state detection starts with, and each sample measured. The
    // voltages and the parallel lines' currents are worked out only for a block that has a
    // fault, and a method whose samples without a fault read nothing of them has those
    // measured without their phasors.
    std::vector<Comparisons> compared(size_t(to - from), 0);
    std::vector<uint8_t> faulted(size_t(to - from), 0);
    std::vector<State> ends(blocks, initial);
    constexpr bool kCompares = !std::is_same_v<std::decay_t<Compare>, NoComparisons>;
    constexpr bool kMeasureAll = std::is_same_v<std::decay_t<Unfaulted>, MeasureEvery>;
    auto measureRange = [&](Worker& w, int b0, int b1, bool currentsDone) {
        const auto first = faulted.begin() + (b0 - from), last = faulted.begin() + (b1 - from);
        const bool any = std::find(first, last, uint8_t(1)) != last;
        if (!currentsDone && (kMeasureAll || any)) ComputeBlock(record, w, b0, b1, true);
        if (any) ComputeBlock(record, w, b0, b1, false);
        for (int s = b0; s < b1; ++s) {
            const bool f = faulted[size_t(s - from)] != 0;
            if constexpr (!kMeasureAll) {
                if (!f) {
                    unfaulted(s);
                    continue;
                }
            }
            FillSample(w, s, b0, f);
            measure(s, std::as_const(w.sample));
        }
    };
    onBlocks([&](Worker& w, int b0, int b1) {
        if constexpr (kCompares) {
            ComputeBlock(record, w, b0, b1, true);
            for (int s = b0; s < b1; ++s) {
                FillSample(w, s, b0, false);
                compared[size_t(s - from)] = compare(s, std::as_const(w.sample));
            }
        }
        State state = initial;
        for (int s = b0; s < b1; ++s) faulted[size_t(s - from)] = detect(state, s, compared[size_t(s - from)], kWrite);
        ends[size_t(b0 - from) / kBlock] = state;
        measureRange(w, b0, b1, kCompares);
    });

    // Detection carries its state from sample to sample: each block but the first is taken
    // again, in order, from the state the block before it ended with, until that run and the
    // first one have the same state; from there on the first run holds, and the samples before
    // are measured again. A state settles within a few samples of a change in the currents, so
    // little is done again.
    Worker w(*this);
    State state = ends[0];
    for (size_t bi = 1; bi < blocks; ++bi) {
        const int b0 = from + int(bi) * kBlock, b1 = std::min(to, b0 + kBlock);
        State first = initial;
        int s = b0;
        for (; s < b1 && !(state == first); ++s) {
            faulted[size_t(s - from)] = detect(state, s, compared[size_t(s - from)], kWrite);
            detect(first, s, compared[size_t(s - from)], kDryRun);
        }
        if (s > b0) measureRange(w, b0, s, false);
        if (state == first) state = ends[bi];
    }
}

// --- detection -----------------------------------------------------------------------------

namespace {
// A 0/1 state carried from sample to sample: set, then cleared, else kept.
inline void Hyst(bool& state, bool set, bool clear) {
    if (set) state = true;
    if (clear) state = false;
}

// The comparisons of detection, by bit.
enum : uint16_t {
    // the earthed-neutral method
    kPSet = 1 << 0, kPClear = 1 << 1, kQSet = 1 << 2, kQClear = 1 << 3, kRSet = 1 << 4, kRClear = 1 << 5,
    kZSet = 1 << 6, kZClear = 1 << 7, kG = 1 << 8,
    // the two-ended method
    kH1Set = 1 << 0, kH1Clear = 1 << 1, kH2Set = 1 << 2, kH2Clear = 1 << 3, kAbove = 1 << 4, kH3Set = 1 << 5,
    kH3Clear = 1 << 6, kH4Set = 1 << 7, kH4Clear = 1 << 8, kOverload = 1 << 9,
    // the faulted phases, both methods
    kV1Set = 1 << 10, kV1Clear = 1 << 11, kV2Set = 1 << 12, kV2Clear = 1 << 13, kV3Set = 1 << 14, kV3Clear = 1 << 15,
};

inline uint16_t Bit(bool b, uint16_t bit) { return b ? bit : uint16_t(0); }

}  // namespace

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
    m_phaseFault[i] = uint8_t(phase);
    m_symFault[i] = uint8_t(sym);
    double a = std::abs(x.P[PIa1]), b = std::abs(x.P[PIb1]), c = std::abs(x.P[PIc1]);
    int A = 0, B = 0, C = 0;
    if (sym) {
        A = B = C = 1;
    } else if (phase) {
        A = (a > b || a > c) ? 1 : 0;
        B = (b > a || b > c) ? 1 : 0;
        C = (c > a || c > b) ? 1 : 0;
    }
    m_faultA[i] = uint8_t(A);
    m_faultB[i] = uint8_t(B);
    m_faultC[i] = uint8_t(C);
}

namespace {

// Comparisons of current magnitudes, each side a magnitude or a magnitude scaled by constants:
// made first with cheap magnitudes, which lie within a few units in the last place of std::abs's.
// A comparison closer than that margin makes the caller compare again with std::abs's.
// A zero is exact either way, and so are the constants a magnitude is compared with: two sides
// that are both zero are decided too.
struct CheapComparer {
    bool decided = true;
    double Magnitude(Complex z) {
        if (z.real() == 0.0 && z.imag() == 0.0) return 0.0;
        const double sq = z.real() * z.real() + z.imag() * z.imag();
        decided = decided && sq > 1e-280 && sq < 1e280;
        return std::sqrt(sq);
    }
    bool Greater(double l, double r) {
        decided = decided && (std::fabs(l - r) > 1e-14 * (std::fabs(l) + std::fabs(r)) || (l == 0.0 && r == 0.0));
        return l > r;
    }
};
struct ExactComparer {
    double Magnitude(Complex z) const { return std::abs(z); }
    bool Greater(double l, double r) const { return l > r; }
};

}  // namespace

namespace {

// The phase currents' comparisons that choose the faulted phases.
template <class Comparer>
uint16_t ComparePhases(const std::array<Complex, WrongPlaceLocator::kPhasorSlots>& P, Comparer&& k) {
    using L = WrongPlaceLocator;
    const double a = k.Magnitude(P[L::PIa1]), b = k.Magnitude(P[L::PIb1]), c = k.Magnitude(P[L::PIc1]);
    return uint16_t(Bit(k.Greater(a, b), kV1Set) | Bit(k.Greater(0.9 * b, a), kV1Clear) | Bit(k.Greater(a, c), kV2Set) |
                    Bit(k.Greater(0.9 * c, a), kV2Clear) | Bit(k.Greater(b, c), kV3Set) |
                    Bit(k.Greater(0.9 * c, b), kV3Clear));
}

// The comparisons by `compare`, made again with std::abs's magnitudes when the cheap ones do not
// decide them all. Balanced currents have phase magnitudes equal but for their last digits, so
// the phases and the sequence components are two groups, each made again on its own.
template <class Compare>
uint16_t Compared(Compare&& compare) {
    CheapComparer cheap;
    const uint16_t c = compare(cheap);
    return cheap.decided ? c : compare(ExactComparer{});
}

}  // namespace

template <class Comparer>
WrongPlaceLocator::Comparisons WrongPlaceLocator::CompareEarthed(const Sample& x, Comparer&& k) const {
    const double in = m_nominalCurrent1 * kSqrt2;
    double m1 = k.Magnitude(x.P[I1_1]), m2 = k.Magnitude(x.P[I2_1]), m0 = k.Magnitude(x.P[I0_1]);
    return uint16_t(
        Bit(k.Greater(m1, 4.0 * m2), kPSet) | Bit(k.Greater((4.0 * m2) * 0.9, m1), kPClear) |
        Bit(k.Greater(m1, in), kQSet) | Bit(k.Greater(0.9 * in, m1), kQClear) | Bit(k.Greater(4.0 * m2, m1), kRSet) |
        Bit(k.Greater(0.9 * m1, 4.0 * m2), kRClear) | Bit(k.Greater(m2, 6.0 * m0), kZSet) |
        Bit(k.Greater((6.0 * m0) * 0.9, m2), kZClear) | Bit(k.Greater(m1, 0.1 * in), kG));
}

WrongPlaceLocator::Comparisons WrongPlaceLocator::CompareEarthed(const Sample& x) const {
    return uint16_t(Compared([&](auto&& k) { return CompareEarthed(x, k); }) |
                    Compared([&](auto&& k) { return ComparePhases(x.P, k); }));
}

template <bool kWrite>
bool WrongPlaceLocator::DetectEarthed(Detection& d, int s, Comparisons c, std::bool_constant<kWrite>) {
    // The first sample is never faulted.
    if (s == 0) return false;
    Hyst(d.P, c & kPSet, c & kPClear);
    Hyst(d.Q, c & kQSet, c & kQClear);
    Hyst(d.R, c & kRSet, c & kRClear);
    Hyst(d.Z, c & kZSet, c & kZClear);
    const bool G = c & kG;
    const bool sy = d.sym.Step(d.P && d.Q), ph = d.phase.Step(d.R && d.Z && G), ea = d.earth.Step(d.R && !d.Z && G);
    SelectPhases(d, s, c, sy, ph, ea, std::bool_constant<kWrite>());
    return s >= m_samplesPerPeriod && (ea || ph || sy);
}

template <class Comparer>
WrongPlaceLocator::Comparisons WrongPlaceLocator::CompareTwoEnded(const Sample& x, Comparer&& k) const {
    const double in1 = m_nominalCurrent1, in2 = std::fabs(m_nominalCurrent2);
    double m1a = k.Magnitude(x.P[I1_1]), m2a = k.Magnitude(x.P[I2_1]), m0a = k.Magnitude(x.P[I0_1]);
    double m1b = k.Magnitude(x.P[I1_2]), m2b = k.Magnitude(x.P[I2_2]), m0b = k.Magnitude(x.P[I0_2]);
    // Both sides of an "and" are compared, so that a cheap comparison too close to tell is not
    // passed over.
    const bool aboveA = k.Greater(m1a, 0.1 * kSqrt2 * in1), aboveB = k.Greater(m1b, 0.1 * kSqrt2 * in2);
    const bool overA = k.Greater(m1a, 1.1 * kSqrt2 * in1), overB = k.Greater(m1b, 1.1 * kSqrt2 * in2);
    return uint16_t(
        Bit(k.Greater(4.0 * m2a, m1a), kH1Set) | Bit(k.Greater(0.9 * m1a, 4.0 * m2a), kH1Clear) |
        Bit(k.Greater(4.0 * m2b, m1b), kH2Set) | Bit(k.Greater(0.9 * m1b, 4.0 * m2b), kH2Clear) |
        Bit(aboveA && aboveB, kAbove) | Bit(k.Greater(m2a, 6.0 * m0a), kH3Set) |
        Bit(k.Greater((6.0 * m0a) * 0.9, m2a), kH3Clear) | Bit(k.Greater(m2b, 6.0 * m0b), kH4Set) |
        Bit(k.Greater((6.0 * m0b) * 0.9, m2b), kH4Clear) | Bit(overA && overB, kOverload));
}

WrongPlaceLocator::Comparisons WrongPlaceLocator::CompareTwoEnded(const Sample& x) const {
    return uint16_t(Compared([&](auto&& k) { return CompareTwoEnded(x, k); }) |
                    Compared([&](auto&& k) { return ComparePhases(x.P, k); }));
}

template <bool kWrite>
bool WrongPlaceLocator::DetectTwoEnded(Detection& d, int s, Comparisons c, std::bool_constant<kWrite>) {
    if (s == 0) return false;
    Hyst(d.H1, c & kH1Set, c & kH1Clear);
    Hyst(d.H2, c & kH2Set, c & kH2Clear);
    bool earth = false, phase = false, sym = false;
    if (d.H1 && d.H2) {
        if (c & kAbove) {
            Hyst(d.H3, c & kH3Set, c & kH3Clear);
            Hyst(d.H4, c & kH4Set, c & kH4Clear);
            if (d.H3 && d.H4) phase = true;
            else earth = true;
        }
    } else if (c & kOverload) {
        sym = true;
    }
    const bool ea = d.earth.Step(earth), ph = d.phase.Step(phase), sy = d.sym.Step(sym);
    SelectPhases(d, s, c, sy, ph, ea, std::bool_constant<kWrite>());
    return ea || ph || sy;
}

// The faulted phases of a sample from its debounced fault kinds and the currents' magnitudes;
// written with the kinds unless a dry run.
template <bool kWrite>
void WrongPlaceLocator::SelectPhases(Detection& d, int s, Comparisons c, bool sy, bool ph, bool ea,
                                     std::bool_constant<kWrite>) {
    Hyst(d.v1, c & kV1Set, c & kV1Clear);
    Hyst(d.v2, c & kV2Set, c & kV2Clear);
    Hyst(d.v3, c & kV3Set, c & kV3Clear);
    if constexpr (kWrite) {
        const bool v1 = d.v1, v2 = d.v2, v3 = d.v3;
        const size_t i = size_t(s);
        m_symFault[i] = sy, m_phaseFault[i] = ph, m_earthFault[i] = ea;
        m_faultA[i] = (sy || (ph && (v1 || v2)) || (ea && v1 && v2)) ? 1 : 0;
        m_faultB[i] = (sy || (ph && (!v1 || v3)) || (ea && !v1 && v3)) ? 1 : 0;
        m_faultC[i] = (sy || (ph && (!v2 || !v3)) || (ea && !v2 && !v3)) ? 1 : 0;
    }
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
        record, m_samplesPerPeriod, m_sampleCount, NoComparisons{}, NoState{},
        [&](NoState&, int s, Comparisons, auto) { return EarthedFaulted(s); },
        [&](int s, const Sample& x) { dist[size_t(s)] = DistanceEarthed(s, x, LoopEarthed(s, x), rot); }, MeasureEvery{});
}

// The angle by which a tap on the last section turns the zero-sequence current: from the
// currents at and beyond the fault the first pass found, over its result window.
void WrongPlaceLocator::CalcTapAngle(LocatorRecord& record) {
    const int a = std::max(0, std::min(m_windowFirst, m_windowLast));
    const int b = std::min(std::max(m_windowFirst, m_windowLast), m_sampleCount - 1);
    if (a > b || !(m_distance > 0)) return;
    if (MedianFlag(m_earthFault, a, b) == 0) return;
    const double D = m_distance;
    const size_t count = size_t(b - a + 1);
    std::vector<double> ang(count), q(count), r(count);
    auto always = [](NoState&, int, Comparisons, auto) { return true; };
    ForEachSample(record, a, b + 1, NoComparisons{}, NoState{}, always, [&](int s, const Sample& x) {
        Complex Q = ZeroSeqCurrentAtDistance(*x.line, x.P[U0_1], x.P[I0_1], D);
        Complex R = ZeroSeqCurrentBeyondFault(*x.line, x.P[U0_1], x.P[I0_1], D);
        double d = std::arg(R) - std::arg(Q);
        if (d < -M_PI) d += 2 * M_PI;
        else if (d > M_PI) d -= 2 * M_PI;
        const size_t i = size_t(s - a);
        ang[i] = d;
        q[i] = std::abs(Q);
        r[i] = std::abs(R);
    }, MeasureEvery{});
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

    // Each sample's phasors, its fault detection (carried from sample to sample), its loop and
    // its distance; the blocks of samples spread over the workers.
    const int N = m_samplesPerPeriod;
    const Detection detection(double(N / 4));
    if (method == WrongPlaceLocatorData::IsolatedNeutral) {
        // Each sample's detection stands alone.
        auto compare = [&](int s, const Sample& x) {
            DetectIsolated(s, x);
            return Comparisons(m_phaseFault[size_t(s)] || m_symFault[size_t(s)]);
        };
        auto detect = [](NoState&, int, Comparisons faulted, auto) { return faulted != 0; };
        auto measure = [&](int s, const Sample& x) {
            // The first period has no loop: its zero loop gives a faulted sample there no distance.
            Loop l = s >= N ? LoopIsolated(s, x) : Loop{};
            if (s >= N) m_loopSamples[size_t(s)] = l.samples;
            dist[size_t(s)] = DistanceIsolated(s, l);
        };
        // Without a fault the loop is the unit one and there is no distance.
        auto unfaulted = [&](int s) {
            if (s >= N) m_loopSamples[size_t(s)] = 1.0;
            dist[size_t(s)] = 0.0;
        };
        ForEachSample(record, 0, m_sampleCount, compare, NoState{}, detect, measure, unfaulted);
        m_interval = FindFaultInterval();
    } else if (method == WrongPlaceLocatorData::EarthedNeutral) {
        m_tapAngle = 0.0;
        const Complex rot = std::polar(1.0, m_tapAngle);
        auto compare = [&](int, const Sample& x) { return CompareEarthed(x); };
        auto detect = [&](Detection& d, int s, Comparisons c, auto write) { return DetectEarthed(d, s, c, write); };
        // A sample without a fault has a distance too, from the unit loop, which its currents
        // reach only when they are not numbers.
        ForEachSample(
            record, 0, m_sampleCount, compare, detection, detect,
            [&](int s, const Sample& x) {
                if (s < N) return;
                const Loop l = LoopEarthed(s, x);
                m_loopSamples[size_t(s)] = l.samples;
                dist[size_t(s)] = DistanceEarthed(s, x, l, rot);
            },
            MeasureEvery{});
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
        auto compare = [&](int, const Sample& x) { return CompareTwoEnded(x); };
        auto detect = [&](Detection& d, int s, Comparisons c, auto write) { return DetectTwoEnded(d, s, c, write); };
        auto measure = [&](int s, const Sample& x) {
            if (s >= N) m_loopSamples[size_t(s)] = LoopSamplesTwoEnded(s, x);
            DistanceTwoEnded(s, x);
        };
        // Without a fault the loop is the unit one, and neither distance nor phase difference.
        auto unfaulted = [&](int s) {
            if (s >= N) m_loopSamples[size_t(s)] = 1.0;
            dist[size_t(s)] = 0.0;
            phaseDiff[size_t(s)] = 0.0;
        };
        ForEachSample(record, 0, m_sampleCount, compare, detection, detect, measure, unfaulted);
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
    const unsigned parts = unsigned(std::min<size_t>(tv::WorkerCount(), dist.size() / (size_t(1) << 16) + 1));
    tv::ParallelSlices(dist.size(), parts, [&](unsigned, size_t b, size_t e) {
        for (size_t i = b; i < e; ++i) meters[i] = dist[i] * 1000.0;
    });
    record.SetCalculatedChannel(LocatorDistanceChannelName(), L"m", meters);
    record.SetDiscreteChannel(LocatorPhaseChannelName(2), std::vector<int>(m_faultC.begin(), m_faultC.end()));
    record.SetDiscreteChannel(LocatorPhaseChannelName(1), std::vector<int>(m_faultB.begin(), m_faultB.end()));
    record.SetDiscreteChannel(LocatorPhaseChannelName(0), std::vector<int>(m_faultA.begin(), m_faultA.end()));
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
    m_phaseA = MedianFlag(m_faultA, a, b);
    m_phaseB = MedianFlag(m_faultB, a, b);
    m_phaseC = MedianFlag(m_faultC, a, b);
    m_earthMedian = MedianFlag(m_earthFault, a, b);
    m_phaseMedian = MedianFlag(m_phaseFault, a, b);
    m_symMedian = MedianFlag(m_symFault, a, b);
    LocateTower();
}
