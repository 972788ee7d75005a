// Fault location, each method: over a 10-second record at 4800 samples per second; and over
// records of 1,000,000 samples, whose run is set against the wall time of opening a COMTRADE
// record of as many samples in the same run, with the memory the run adds and the workers it
// had. The long record's fault lasts half a second, as a recorder's does (/2400), covers the
// second half of the record (/500000), or, the worst case, runs from the fifth second to the
// record's end (/0): every sample then has a distance to work out.
//   LocateMillion: the engine alone, on the channels held in memory.
//   LocateOpenedRecord: the program's own command on an opened "BINARY" record of 32 analog and
//     64 status channels whose first 18 analog channels are the line's currents and voltages
//     at each end; the result channels go into the record. Its open is "the open".
#include <benchmark/benchmark.h>

#include "BenchFloor.h"
#include "document/TenvorikDoc.h"
#include "model/Parallel.h"
#include "platform/Encoding.h"

#include <cmath>
#include <complex>
#include <cstring>
#include <filesystem>
#include <fstream>
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

bool Faulted(int i, int count, int faultSamples) {
    return faultSamples == 0 ? i >= 24000 : (i >= count / 2 && i < count / 2 + faultSamples);
}

// The line's channels at sample i: an A-earth fault 8 km out (the isolated neutral's loops see
// it through the phase-to-phase voltages).
void LineSample(int i, bool fault, C out[9]) {
    const C a(-0.5, std::sqrt(3.0) / 2), a2 = std::conj(a);
    const C z1(0.1, 0.4), z0(0.3, 1.2);
    C ia = std::polar(80.0, -0.3), ib = ia * a2, ic = ia * a;
    C ua = 57735, ub = ua * a2, uc = ua * a;
    if (fault) {
        ia += std::polar(2000.0, -1.2);
        C i0 = (ia + ib + ic) / 3.0;
        ua = 8.0 * (z1 * ia + (z0 - z1) * i0);
    }
    const C rot = std::polar(1.0, 2 * M_PI * 50 * i / 4800.0);
    const C p[9] = {ia, ib, ic, ua, ub, uc, ua - ub, ub - uc, uc - ua};
    for (int k = 0; k < 9; ++k) out[k] = p[k] * rot;
}

const wchar_t* const kLineChannels[9] = {L"Ia", L"Ib", L"Ic", L"Ua", L"Ub", L"Uc", L"Uab", L"Ubc", L"Uca"};

BenchRecord MakeRecord(int count = 48000, int faultSamples = 0) {
    BenchRecord r;
    r.count = count;
    for (int s = 1; s <= 2; ++s) {
        std::wstring n = std::to_wstring(s);
        for (const wchar_t* name : kLineChannels) r.channels[name + n].reserve(size_t(count));
        for (int i = 0; i < r.count; ++i) {
            C p[9];
            LineSample(i, Faulted(i, count, faultSamples), p);
            for (int k = 0; k < 9; ++k) r.channels[kLineChannels[k] + n].push_back(p[k].imag());
        }
    }
    return r;
}

void SetUpLine(WrongPlaceLocatorData& m, int method) {
    m.methodType = method;
    for (int st = 0; st < 2; ++st) {
        auto& station = m.GetStation(st);
        std::wstring n = std::to_wstring(st + 1);
        station.SetParam(LineParam::NominalCurrent(), L"100");
        for (const wchar_t* ch : kLineChannels) station.SetParam(ch, CString((ch + n).c_str()));
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
    SetUpLine(loc.GetData(), int(state.range(0)));
    for (auto _ : state) {
        loc.Run(rec);
        benchmark::DoNotOptimize(loc.m_distance);
    }
}

bench::Cleanup cleanup;

// A "BINARY" record of 32 analog and 64 status channels, as BenchFloor.h makes, whose first 18
// analog channels are the line's channels at each end ("Ia1" ... "Uca2"), with the fault.
std::string MakeFaultedRecord(size_t samples, int faultSamples) {
    const std::string base = bench::Folder() + "/faulted" + std::to_string(faultSamples);
    if (std::filesystem::exists(base + ".dat")) return base + ".cfg";
    {
        std::ofstream f(base + ".cfg", std::ios::binary);
        f << "Bench,Recorder,1999\r\n" << (bench::kAnalog + bench::kStatus) << "," << bench::kAnalog << "A,"
          << bench::kStatus << "D\r\n";
        for (int k = 0; k < bench::kAnalog; ++k) {
            if (k < 18) {
                const bool current = k % 9 < 3;
                f << (k + 1) << "," << platform::WideToUtf8(kLineChannels[k % 9]) << (k / 9 + 1) << ",,,"
                  << (current ? "A,0.1" : "V,5") << ",0,0,-32767,32767,1,1,S\r\n";
            } else {
                f << (k + 1) << ",U" << k << ",A,,V,0.005,0,0,-20000,20000,10000,100,S\r\n";
            }
        }
        for (int k = 0; k < bench::kStatus; ++k) f << (k + 1) << ",K" << k << ",,,0\r\n";
        f << "50\r\n1\r\n" << bench::kRate << "," << samples << "\r\n";
        f << "01/02/2024,10:00:00.000000\r\n01/02/2024,10:00:00.100000\r\nBINARY\r\n1\r\n";
    }
    std::ofstream f(base + ".dat", std::ios::binary);
    std::string block;
    constexpr size_t kRec = 8 + 2 * bench::kAnalog + bench::kStatus / 8;
    for (size_t i = 0; i < samples; ++i) {
        char rec[kRec] = {};
        const uint32_t number = uint32_t(i + 1);
        const int32_t stamp = int32_t(std::lround(double(i) * 1e6 / bench::kRate));
        std::memcpy(rec, &number, 4);
        std::memcpy(rec + 4, &stamp, 4);
        C p[9];
        LineSample(int(i), Faulted(int(i), int(samples), faultSamples), p);
        for (int k = 0; k < bench::kAnalog; ++k) {
            int16_t c = bench::Code(k, i);
            if (k < 18) c = int16_t(std::lround(p[k % 9].imag() / (k % 9 < 3 ? 0.1 : 5.0)));
            std::memcpy(rec + 8 + 2 * k, &c, 2);
        }
        for (int k = 0; k < bench::kStatus; ++k)
            if (bench::StatusBit(k, i)) rec[8 + 2 * bench::kAnalog + k / 8] |= char(1 << (k % 8));
        block.append(rec, sizeof rec);
        if (block.size() > (1 << 22)) {
            f.write(block.data(), std::streamsize(block.size()));
            block.clear();
        }
    }
    f.write(block.data(), std::streamsize(block.size()));
    return base + ".cfg";
}

// The best wall time of opening the record at `path`, over three opens.
double OpenSeconds(const CString& path) {
    double best = 1e9;
    for (int k = 0; k < 3; ++k) {
        const double t0 = bench::Now();
        auto doc = std::make_unique<CTenvorikDoc>();
        if (!doc->OnOpenDocument(path)) return 0;
        best = std::min(best, bench::Now() - t0);
    }
    return best;
}

void Report(benchmark::State& state, double open, double locate, double added) {
    state.counters["workers"] = tv::WorkerCount();
    state.counters["open_s"] = open;
    state.counters["locate_s"] = locate;
    state.counters["locate_per_open"] = open > 0 ? locate / open : 0;
    state.counters["added_peak_MiB"] = added / double(1 << 20);
}

void LocateMillion(benchmark::State& state) {
    constexpr int kCount = 1000000;
    const int faultSamples = int(state.range(1));
    BenchRecord rec = MakeRecord(kCount, faultSamples);
    const double open = OpenSeconds(CString(platform::Utf8ToWide(MakeFaultedRecord(size_t(kCount), faultSamples))));
    double best = 1e9, added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        WrongPlaceLocator loc;
        SetUpLine(loc.GetData(), int(state.range(0)));
        const int64_t before = bench::StatusField("VmRSS:");
        bench::ResetPeak();
        state.ResumeTiming();
        const double t0 = bench::Now();
        loc.Run(rec);
        best = std::min(best, bench::Now() - t0);
        benchmark::DoNotOptimize(loc.m_distance);
        added = std::max(added, double(bench::StatusField("VmHWM:") - before));
    }
    Report(state, open, best, added);
}

void LocateOpenedRecord(benchmark::State& state) {
    constexpr size_t kRows = 1000000;
    const CString path(platform::Utf8ToWide(MakeFaultedRecord(kRows, int(state.range(1)))));
    const double open = OpenSeconds(path);
    double best = 1e9, added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<CTenvorikDoc>();
        if (!doc->OnOpenDocument(path)) {
            state.SkipWithError("the record does not open");
            return;
        }
        SetUpLine(doc->m_locator.GetData(), int(state.range(0)));
        const int64_t before = bench::StatusField("VmRSS:");
        bench::ResetPeak();
        state.ResumeTiming();
        const double t0 = bench::Now();
        if (!doc->RunFaultLocation(true)) {
            state.SkipWithError("fault location failed");
            return;
        }
        best = std::min(best, bench::Now() - t0);
        added = std::max(added, double(bench::StatusField("VmHWM:") - before));
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    Report(state, open, best, added);
}

}  // namespace

BENCHMARK(RunMethod)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(LocateMillion)
    ->ArgsProduct({{1, 2, 4}, {2400, 500000, 0}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK(LocateOpenedRecord)
    ->ArgsProduct({{1, 2, 4}, {2400, 500000, 0}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK_MAIN();
