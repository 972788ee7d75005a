// Combination of a merged record: 32 channels pasted from another record, 1,000,000 samples
// each at 1000 samples per second, put onto the time base of a host record of 1,000,000
// samples (one undo step, the resampling, the recalculation of every channel).
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "document/TenvorikDoc.h"

namespace {

constexpr int kPasted = 32;
constexpr size_t kSamples = 1000000;
constexpr int kRate = 1000;

void Fill(CChannel& ch, const char* name, int k, double phase) {
    ch.m_fileName.Format("%s%d", name, k);
    ch.m_name = CString(ch.m_fileName);
    std::vector<double> v(kSamples);
    const double w = 2 * M_PI * 50.0 / kRate;
    for (size_t i = 0; i < kSamples; ++i) v[i] = 100.0 * std::sin(w * double(i) + phase + 0.1 * k);
    ch.m_samples = std::move(v);
}

std::unique_ptr<CTenvorikDoc> MakeMerge() {
    auto doc = std::make_unique<CTenvorikDoc>();
    COscillogram& o = doc->m_oscillogram;
    o.m_samplingFrequency = kRate;
    o.m_netFrequency = 50.0;
    o.m_rates = {{double(kRate), int32_t(kSamples - 1)}};
    std::vector<int64_t> times(kSamples);
    for (size_t i = 0; i < kSamples; ++i) times[i] = int64_t(i) * 1000000 / kRate;
    o.m_times = times;
    Fill(o.m_channels.emplace_back(doc.get()), "H", 0, 0.0);
    ++o.m_analogCount;
    for (int k = 0; k < kPasted; ++k) {
        CChannel& ch = o.m_channels.emplace_back(doc.get());
        Fill(ch, "P", k, 0.3);
        ch.m_flags |= CHF_OWN_TIMEBASE;
        ch.m_ownRate = kRate;
        ch.m_ownTimes = times;
        ++o.m_analogCount;
    }
    o.RecalcAll(true);
    doc->m_pasteTimeShift = 0.0105;
    return doc;
}

void CombinePasted(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = MakeMerge();
        state.ResumeTiming();
        doc->m_merger.Combine();
        benchmark::DoNotOptimize(doc->m_oscillogram.m_channels.back().GetSampleCount());
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["samples/s"] =
        benchmark::Counter(double(kSamples) * (kPasted + 1), benchmark::Counter::kIsIterationInvariantRate);
}

}  // namespace

BENCHMARK(CombinePasted)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
