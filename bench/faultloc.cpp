// Fault location over a 10-second record at 4800 samples per second, for each method.
#include <benchmark/benchmark.h>

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
    std::vector<double> GetDisplayValues(const CString& name) const override { return channels.at(name.str()); }
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

BenchRecord MakeRecord() {
    BenchRecord r;
    const C a(-0.5, std::sqrt(3.0) / 2), a2 = std::conj(a);
    const C z1(0.1, 0.4), z0(0.3, 1.2);
    for (int s = 1; s <= 2; ++s) {
        std::wstring n = std::to_wstring(s);
        for (int i = 0; i < r.count; ++i) {
            bool fault = i >= 24000;
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

void RunMethod(benchmark::State& state) {
    static BenchRecord rec = MakeRecord();
    WrongPlaceLocator loc;
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
    for (auto _ : state) {
        loc.Run(rec);
        benchmark::DoNotOptimize(loc.m_distance);
    }
}

}  // namespace

BENCHMARK(RunMethod)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
