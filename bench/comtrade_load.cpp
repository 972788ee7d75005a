// Opening a large COMTRADE record from its path to a ready record (parsed, scaled,
// recalculated): 32 analog and 64 status channels, 1,000,000 samples at 4800 samples per
// second, as a 1999 "BINARY" record (80 MB of data) and as "ASCII". Reports the time of the
// open against the floor (BenchFloor.h) measured in the same run, the resident memory the open
// leaves and its peak against the ".dat" file, and the peak against the arrays the record keeps.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "BenchFloor.h"
#include "document/TenvorikDoc.h"
#include "platform/Encoding.h"

namespace {

constexpr size_t kSamples = 1000000;

bench::Cleanup cleanup;

int64_t RecordArrays(const COscillogram& osc) {
    int64_t n = int64_t(osc.m_times.ByteSize());
    for (const auto& ch : osc.m_channels) n += int64_t(ch.GetDataBytes());
    return n;
}

void Open(benchmark::State& state, bool ascii) {
    const std::string cfg = bench::MakeRecord(ascii, kSamples);
    const std::string dat = bench::DatOf(cfg);
    const double datBytes = double(std::filesystem::file_size(dat));
    const CString path(platform::Utf8ToWide(cfg));
    double arrays = 0, peak = 0, resident = 0;
    double bestOpen = 1e9, bestFloor = 1e9;
    bench::Floor(dat, ascii, kSamples);  // the file into the page cache
    for (auto _ : state) {
        state.PauseTiming();
        const int64_t before = bench::StatusField("VmRSS:");
        bench::ResetPeak();
        state.ResumeTiming();
        const double t0 = bench::Now();
        auto doc = std::make_unique<CTenvorikDoc>();
        if (!doc->OnOpenDocument(path)) {
            state.SkipWithError("the record did not open");
            return;
        }
        const double opened = bench::Now() - t0;
        state.PauseTiming();
        bestOpen = std::min(bestOpen, opened);
        peak = double(bench::StatusField("VmHWM:") - before);
        resident = double(bench::StatusField("VmRSS:") - before);
        arrays = double(RecordArrays(doc->GetOscillogram()));
        doc.reset();
        // The floor between two opens, so that both meet the machine as it is.
        const bench::FloorResult f = bench::Floor(dat, ascii, kSamples);
        benchmark::DoNotOptimize(f.checksum);
        bestFloor = std::min(bestFloor, f.seconds);
        state.ResumeTiming();
    }
    state.counters["workers"] = bench::FloorThreads();
    state.counters["floor_ms"] = bestFloor * 1e3;
    state.counters["open_ms"] = bestOpen * 1e3;
    state.counters["open_per_floor"] = bestOpen / bestFloor;
    state.counters["arrays_MB"] = arrays / 1e6;
    state.counters["dat_MB"] = datBytes / 1e6;
    state.counters["resident_per_dat"] = resident / datBytes;
    state.counters["peak_per_dat"] = peak / datBytes;
    state.counters["peak_per_arrays"] = arrays > 0 ? peak / arrays : 0;
}

void BM_OpenBinary(benchmark::State& state) { Open(state, false); }
void BM_OpenAscii(benchmark::State& state) { Open(state, true); }

}  // namespace

BENCHMARK(BM_OpenBinary)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_OpenAscii)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

BENCHMARK_MAIN();
