// Fault location over a 10-second record at 4800 samples per second, for each method; and over
// a record of 1,000,000 samples, whose run is set against the CPU time of opening a COMTRADE
// record of as many samples (BenchFloor.h) in the same run, with the memory the run adds. The
// long record's fault lasts half a second, as a recorder's does (/2400), or, the worst case, runs
// from the fifth second to the record's end (/0): every sample then has a distance to work out.
#include <benchmark/benchmark.h>

#include "BenchFloor.h"
#include "document/TenvorikDoc.h"
#include "platform/Encoding.h"

#include <cmath>
#include <complex>
#include <map>

#include "faultloc/WrongPlaceLocator.h"

namespace {

using C = std::complex<double>;

class BenchRecord : public LocatorRecord {
public:
    int GetSampleCount() const override { return count; }
    double GetSamplingFrequency() const override { return 4800; }
    double GetNetFrequency() const override { return 50; }
    void ReadDisplayValues(const CString& name, int first, int count, double* out) const override {
        const auto& v = channels.at(name.str());
        std::copy(v.begin() + first, v.begin() + first + count, out);
    }
    int FindChannelIndex(const CString&) const override { return -1; }
    double GetSampleTimeUs(int i) const override { return i * 1e6 / 4800; }
    double GetSampleFrequency(int, int) const override { return 50; }
    void SetCalculatedChannel(const CString&, const CString&, const std::vector<double>&) override {}
    void SetDiscreteChannel(const CString&, const std::vector<int>&) override {}
    void RemoveChannel(const CString&) override {}
    bool GetChannelRatio(const CString&, double&, double&) const override { return false; }

    std::map<std::wstring, std::vector<double>> channels;
    int count = 48000;
};

BenchRecord MakeRecord(int count = 48000, int faultSamples = 0) {
    BenchRecord r;
    r.count = count;
    const C a(-0.5, std::sqrt(3.0) / 2), a2 = std::conj(a);
    const C z1(0.1, 0.4), z0(0.3, 1.2);
    for (int s = 1; s <= 2; ++s) {
        std::wstring n = std::to_wstring(s);
        for (int i = 0; i < r.count; ++i) {
            const bool fault = faultSamples == 0 ? i >= 24000 : (i >= count / 2 && i < count / 2 + faultSamples);
            C ia = std::polar(80.0, -0.3), ib = ia * a2, ic = ia * a;
            C ua = 57735, ub = ua * a2, uc = ua * a;
            if (fault) {
                ia += std::polar(2000.0, -1.2);
                C i0 = (ia + ib + ic) / 3.0;
                ua = 8.0 * (z1 * ia + (z0 - z1) * i0);
            }
            C rot = std::polar(1.0, 2 * M_PI * 50 * i / 4800.0);
            for (auto [name, p] : {std::pair{L"Ia", ia}, {L"Ib", ib}, {L"Ic", ic}, {L"Ua", ua}, {L"Ub", ub}, {L"Uc", uc},
                                   {L"Uab", ua - ub}, {L"Ubc", ub - uc}, {L"Uca", uc - ua}})
                r.channels[name + n].push_back((p * rot).imag());
        }
    }
    return r;
}

void SetUpLine(WrongPlaceLocator& loc, benchmark::State& state) {
    auto& m = loc.GetData();
    m.methodType = int(state.range(0));
    for (int st = 0; st < 2; ++st) {
        auto& station = m.GetStation(st);
        std::wstring n = std::to_wstring(st + 1);
        station.SetParam(LineParam::NominalCurrent(), L"100");
        for (const wchar_t* ch : {L"Ia", L"Ib", L"Ic", L"Ua", L"Ub", L"Uc", L"Uab", L"Ubc", L"Uca"})
            station.SetParam(ch, CString((ch + n).c_str()));
    }
    auto* s = m.station1.AddSection();
    s->SetParam(LineParam::Length(), L"30");
    for (const auto& p : {LineParam::R(), LineParam::R1()}) s->SetParam(p, L"0.1");
    for (const auto& p : {LineParam::X(), LineParam::X1()}) s->SetParam(p, L"0.4");
    s->SetParam(LineParam::R0(), L"0.3");
    s->SetParam(LineParam::X0(), L"1.2");
}

void RunMethod(benchmark::State& state) {
    static BenchRecord rec = MakeRecord();
    WrongPlaceLocator loc;
    SetUpLine(loc, state);
    for (auto _ : state) {
        loc.Run(rec);
        benchmark::DoNotOptimize(loc.m_distance);
    }
}

bench::Cleanup cleanup;

// The CPU time of opening the 32 + 64 channel "BINARY" record of `samples` samples (all threads).
double OpenCpuSeconds(size_t samples) {
    const CString path(platform::Utf8ToWide(bench::MakeRecord(false, samples)));
    double best = 1e9;
    for (int k = 0; k < 3; ++k) {
        const double c0 = bench::ProcessCpuSeconds();
        auto doc = std::make_unique<CTenvorikDoc>();
        if (!doc->OnOpenDocument(path)) return 0;
        best = std::min(best, bench::ProcessCpuSeconds() - c0);
    }
    return best;
}

void LocateMillion(benchmark::State& state) {
    constexpr int kCount = 1000000;
    static std::map<int, BenchRecord> records;
    const int faultSamples = int(state.range(1));
    if (!records.count(faultSamples)) records.emplace(faultSamples, MakeRecord(kCount, faultSamples));
    BenchRecord& rec = records.at(faultSamples);
    const double openCpu = OpenCpuSeconds(size_t(kCount));
    double cpu = 1e9, added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        WrongPlaceLocator loc;
        SetUpLine(loc, state);
        const int64_t before = bench::StatusField("VmRSS:");
        bench::ResetPeak();
        state.ResumeTiming();
        const double c0 = bench::ProcessCpuSeconds();
        loc.Run(rec);
        cpu = std::min(cpu, bench::ProcessCpuSeconds() - c0);
        benchmark::DoNotOptimize(loc.m_distance);
        added = double(bench::StatusField("VmHWM:") - before);
    }
    state.counters["open_cpu_s"] = openCpu;
    state.counters["locate_cpu_s"] = cpu;
    state.counters["locate_per_open_cpu"] = openCpu > 0 ? cpu / openCpu : 0;
    state.counters["added_peak_MiB"] = added / double(1 << 20);
}

// The program's own command on the opened 32 + 64 channel record: the line's channels are nine
// of its analog channels at each end, and the result channels go into the record.
void LocateOpenedRecord(benchmark::State& state) {
    constexpr size_t kRows = 1000000;
    const double openCpu = OpenCpuSeconds(kRows);
    const CString path(platform::Utf8ToWide(bench::MakeRecord(false, kRows)));
    double cpu = 1e9, added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<CTenvorikDoc>();
        if (!doc->OnOpenDocument(path)) {
            state.SkipWithError("the record does not open");
            return;
        }
        auto& m = doc->m_locator.GetData();
        m.methodType = int(state.range(0));
        int channel = 0;
        for (int st = 0; st < 2; ++st) {
            auto& station = m.GetStation(st);
            station.SetParam(LineParam::NominalCurrent(), L"100");
            for (const wchar_t* ch : {L"Ia", L"Ib", L"Ic", L"Ua", L"Ub", L"Uc", L"Uab", L"Ubc", L"Uca"})
                station.SetParam(ch, CString((L"U" + std::to_wstring(channel++)).c_str()));
        }
        auto* sec = m.station1.AddSection();
        sec->SetParam(LineParam::Length(), L"30");
        for (const auto& p : {LineParam::R(), LineParam::R1()}) sec->SetParam(p, L"0.1");
        for (const auto& p : {LineParam::X(), LineParam::X1()}) sec->SetParam(p, L"0.4");
        sec->SetParam(LineParam::R0(), L"0.3");
        sec->SetParam(LineParam::X0(), L"1.2");
        const int64_t before = bench::StatusField("VmRSS:");
        bench::ResetPeak();
        state.ResumeTiming();
        const double c0 = bench::ProcessCpuSeconds();
        if (!doc->RunFaultLocation(true)) {
            state.SkipWithError("fault location failed");
            return;
        }
        cpu = std::min(cpu, bench::ProcessCpuSeconds() - c0);
        added = double(bench::StatusField("VmHWM:") - before);
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["open_cpu_s"] = openCpu;
    state.counters["locate_cpu_s"] = cpu;
    state.counters["locate_per_open_cpu"] = openCpu > 0 ? cpu / openCpu : 0;
    state.counters["added_peak_MiB"] = added / double(1 << 20);
}

}  // namespace

BENCHMARK(RunMethod)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(LocateMillion)->ArgsProduct({{1, 2, 4}, {2400, 0}})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(LocateOpenedRecord)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK_MAIN();
