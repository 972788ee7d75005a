// Formulas over a whole record: three-phase voltages and currents of 1,000,000 samples at
// 4800 samples per second, each formula tokenized once and evaluated at every sample, as a
// calculated channel is computed.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "analysis/CalcChannels.h"
#include "analysis/RecordFormula.h"
#include "model/DocumentModel.h"

namespace {

constexpr size_t kSamples = 1000000;
constexpr int kRate = 4800;

std::unique_ptr<DocumentModel> MakeRecord() {
    auto doc = std::make_unique<DocumentModel>();
    COscillogram& o = doc->GetOscillogram();
    o.m_samplingFrequency = kRate;
    o.m_netFrequency = 50.0;
    o.m_rates = {{double(kRate), int32_t(kSamples)}};
    o.m_times.resize(kSamples);
    for (size_t i = 0; i < kSamples; ++i) o.m_times.Set(i, int64_t(std::llround(double(i) * 1e6 / kRate)));
    const struct {
        const char* name;
        double amplitude, phase;
    } channels[] = {
        {"Ua", 100, 0}, {"Ub", 100, -120}, {"Uc", 100, 120},
        {"Ia", 5, -30}, {"Ib", 5, -150}, {"Ic", 5, 90}, {"3I0", 0.5, 10},
    };
    o.m_channels.reserve(std::size(channels));
    for (const auto& c : channels) {
        CChannel& ch = o.m_channels.emplace_back(doc.get());
        ch.m_fileName = c.name;
        ch.m_name = CString(ch.m_fileName);
        ch.m_samples.resize(kSamples);
        auto& samples = ch.m_samples.Doubles();
        const double w = 2 * M_PI * 50.0 / kRate;
        for (size_t i = 0; i < kSamples; ++i) {
            // A fault in the middle: the currents grow tenfold for a tenth of the record.
            double amp = c.name[0] != 'U' && i > 450000 && i < 550000 ? 10 * c.amplitude : c.amplitude;
            samples[i] = amp * std::sqrt(2.0) * std::sin(w * double(i) + c.phase * M_PI / 180);
        }
        ++o.m_analogCount;
    }
    o.RecalcAll(false);
    return doc;
}

DocumentModel& Record() {
    static std::unique_ptr<DocumentModel> doc = MakeRecord();
    return *doc;
}

void Formula(benchmark::State& state, const wchar_t* text) {
    RecordCalculator calc(Record().GetOscillogram());
    for (auto _ : state) {
        FormulaSeries series = ComputeFormulaSeries(calc, text);
        benchmark::DoNotOptimize(series.real.data());
    }
    state.counters["samples/s"] =
        benchmark::Counter(double(kSamples) * double(state.iterations()), benchmark::Counter::kIsRate);
}

// A record's calculated channels computed and stored as channels, as when the record opens.
void CalculatedChannels(benchmark::State& state) {
    CalcChannels& list = CalcChannels::Of(Record().GetOscillogram());
    list.Append(L"I1", L"Mod:(I1: (Ia, Ib, Ic))");
    list.Append(L"U0", L"3U0: (Ua, Ub, Uc)");
    list.Append(L"Zab", L"Mod:(Zl: (Ua, Ia, Ib, 0.25))");
    for (auto _ : state)
        if (!list.ComputeChannels()) state.SkipWithError("a formula failed");
    state.counters["samples/s"] =
        benchmark::Counter(double(kSamples) * double(list.GetCount()) * double(state.iterations()),
                           benchmark::Counter::kIsRate);
    list.Clear();
}

}  // namespace

BENCHMARK(CalculatedChannels)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Formula, zero_sequence_3U0, L"3U0: (Ua, Ub, Uc)")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Formula, positive_sequence_I1, L"Mod:(I1: (Ia, Ib, Ic))")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Formula, phase_impedance_Zf, L"Mod:(Zf: (Ua, Ia, \"3I0\", \"3I0\", 1, 1, 0, 1, 1, 0, 0.25))")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Formula, loop_impedance_Zl, L"Re: (Zl: (Ua, Ia, Ib, 0.25))")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Formula, arithmetic, L"(Ua - Ub) / sqrt: 3 * 2 ^ -1 + 0.5 * Uc")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Formula, rms_over_a_period, L"Rms: (Ia)")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
