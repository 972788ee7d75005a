// Recalculation of a whole record: 32 analog channels of 1,000,000 samples at 4800 samples per
// second (96 samples per period at 50 Hz). Reports the time of one recalculation and the
// peak memory of the process, which holds the record's samples and derived arrays.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <sys/resource.h>

#include "model/DocumentModel.h"

namespace {

constexpr int kChannels = 32;
constexpr size_t kSamples = 1000000;
constexpr int kRate = 4800;

std::unique_ptr<DocumentModel> MakeRecord(uint32_t curveMode) {
    auto doc = std::make_unique<DocumentModel>();
    COscillogram& o = doc->GetOscillogram();
    o.m_samplingFrequency = kRate;
    o.m_netFrequency = 50.0;
    o.m_rates = {{double(kRate), int32_t(kSamples)}};
    o.m_times.resize(kSamples);
    for (size_t i = 0; i < kSamples; ++i) o.m_times.Set(i, int64_t(std::llround(double(i) * 1e6 / kRate)));
    o.m_channels.reserve(kChannels);
    uint32_t noise = 12345;
    for (int k = 0; k < kChannels; ++k) {
        CChannel& ch = o.m_channels.emplace_back(doc.get());
        ch.m_fileName.Format("U%d", k);
        ch.m_name = CString(ch.m_fileName);
        ch.m_flags = (ch.m_flags & ~CHF_CURVE_MASK) | curveMode;
        ch.m_samples.resize(kSamples);
        auto& samples = ch.m_samples.Doubles();
        const double w = 2 * M_PI * 50.0 / kRate, phase = 0.2 * k;
        for (size_t i = 0; i < kSamples; ++i) {
            noise = noise * 1664525u + 1013904223u;
            // A fault in the middle: the amplitude grows tenfold for a tenth of the record.
            double amp = (i > 450000 && i < 550000) ? 1000.0 : 100.0;
            samples[i] = amp * std::sin(w * double(i) + phase) + 15.0 * std::sin(3 * w * double(i)) + 2.0 +
                              (double(noise >> 8) / 16777216.0 - 0.5);
        }
        ++o.m_analogCount;
    }
    return doc;
}

double PeakMegabytes() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0;
}

void RecalcRecord(benchmark::State& state, uint32_t curveMode) {
    auto doc = MakeRecord(curveMode);
    for (auto _ : state) {
        doc->GetOscillogram().RecalcAll(false);
        benchmark::ClobberMemory();
    }
    state.counters["peak_MB"] = PeakMegabytes();
    state.counters["samples/s"] =
        benchmark::Counter(double(kChannels) * kSamples * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_RecalcRecordInstantCurves(benchmark::State& state) { RecalcRecord(state, CHF_CURVE_INSTANT); }
void BM_RecalcRecordRmsCurves(benchmark::State& state) { RecalcRecord(state, CHF_CURVE_RMS); }
void BM_RecalcRecordHarmonicCurves(benchmark::State& state) { RecalcRecord(state, CHF_CURVE_HARMONIC); }

}  // namespace

BENCHMARK(BM_RecalcRecordInstantCurves)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_RecalcRecordRmsCurves)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_RecalcRecordHarmonicCurves)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK_MAIN();
