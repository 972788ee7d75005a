#pragma once
// A generated fault record for every method of the fault locator, and a run on it summed up to
// the last bit: the distance, spread, window, phases and tower of the result, and a digest of
// the bits of every result channel.
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "faultloc/WrongPlaceLocator.h"
#include "model/TenvorikException.h"

namespace generated_fault {

using C = std::complex<double>;

class Record : public LocatorRecord {
public:
    int GetSampleCount() const override { return count; }
    double GetSamplingFrequency() const override { return 4800; }
    double GetNetFrequency() const override { return 50; }
    void ReadDisplayValues(const CString& name, int first, int count, double* out) const override {
        auto it = channels.find(name.str());
        if (it == channels.end()) throw new CTenvorikException(354);
        for (int k = 0; k < count; ++k) {
            const size_t i = size_t(first + k);
            out[k] = i < it->second.size() ? it->second[i] : 0.0;
        }
    }
    int FindChannelIndex(const CString&) const override { return -1; }
    double GetSampleTimeUs(int i) const override { return i * 1e6 / 4800; }
    double GetSampleFrequency(int, int) const override { return 50; }
    void SetCalculatedChannel(const CString& name, const CString&, const std::vector<double>& v) override {
        results[name.str()] = v;
    }
    void SetDiscreteChannel(const CString& name, const std::vector<int>& flags) override {
        results[name.str()] = std::vector<double>(flags.begin(), flags.end());
    }
    void RemoveChannel(const CString& name) override { results.erase(name.str()); }
    bool GetChannelRatio(const CString&, double&, double&) const override { return false; }

    std::map<std::wstring, std::vector<double>> channels, results;
    int count = 0;
};

class NullHost : public LocatorHost {
public:
    void PlaceCursors(int, int) override {}
    void ShowResultBar(const CString&) override {}
    void HideResultBar() override {}
    void UpdateViews() override {}
};

// The record's length and the sample the fault starts at; a record longer than the engine's
// blocks of samples, with the fault starting in one block and going on in the next, shows that a
// run gives the same at the blocks' edges as within them.
struct Shape {
    int count = 4800, faultAt = 1920;
    bool parallelLine = false;  // a coupled parallel line on the first section, its I0 from "Ia2"
};

// Load for 0.4 s, then a fault for 0.6 s: a B-C fault for the isolated neutral, an A-earth
// fault for the others, 8 km out on a 30 km line, with a little noise on every channel.
inline Record MakeRecord(int method, const Shape& shape = {}) {
    Record r;
    r.count = shape.count;
    const C a(-0.5, std::sqrt(3.0) / 2), a2 = std::conj(a);
    const C z1(0.1, 0.4), z0(0.3, 1.2);
    uint32_t noise = 2024;
    auto next = [&] {
        noise = noise * 1664525u + 1013904223u;
        return (double(noise >> 8) / double(1 << 24) - 0.5) * 2.0;
    };
    for (int s = 1; s <= 2; ++s) {
        const std::wstring n = std::to_wstring(s);
        const double sign = s == 1 ? 1.0 : -1.0;
        for (int i = 0; i < r.count; ++i) {
            C ia = std::polar(80.0, -0.3) * sign, ib = ia * a2, ic = ia * a;
            C ua = 57735, ub = ua * a2, uc = ua * a;
            if (i >= shape.faultAt) {
                const double x = s == 1 ? 8.0 : 22.0;
                if (method == WrongPlaceLocatorData::IsolatedNeutral) {
                    const C f = std::polar(2500.0, -1.2);
                    ib += f;
                    ic -= f;
                    const C drop = z1 * x * (ib - ic), mid = (ub + uc) / 2.0;
                    ub = mid + drop / 2.0;
                    uc = mid - drop / 2.0;
                } else {
                    ia += std::polar(s == 1 ? 2000.0 : 900.0, -1.2);
                    const C i0 = (ia + ib + ic) / 3.0;
                    ua = x * (z1 * ia + (z0 - z1) * i0);
                }
            }
            const C rot = std::polar(1.0, 2 * M_PI * 50 * i / 4800.0);
            for (auto [name, p] : {std::pair{L"Ia", ia}, {L"Ib", ib}, {L"Ic", ic}, {L"Ua", ua}, {L"Ub", ub},
                                   {L"Uc", uc}, {L"Uab", ua - ub}, {L"Ubc", ub - uc}, {L"Uca", uc - ua}}) {
                const double v = (p * rot).imag();
                r.channels[name + n].push_back(v + next() * 1e-3 * std::abs(p));
            }
        }
    }
    return r;
}

// The line: two sections, 30 km; `tap` adds a tap connection to the last section.
inline void SetUpLine(WrongPlaceLocator& loc, int method, bool tap, const Shape& shape = {}) {
    auto& m = loc.GetData();
    m.methodType = method;
    for (int st = 0; st < 2; ++st) {
        auto& station = m.GetStation(st);
        const std::wstring n = std::to_wstring(st + 1);
        station.SetParam(LineParam::NominalCurrent(), L"100");
        for (const wchar_t* ch : {L"Ia", L"Ib", L"Ic", L"Ua", L"Ub", L"Uc", L"Uab", L"Ubc", L"Uca"})
            station.SetParam(ch, CString((ch + n).c_str()));
    }
    for (const wchar_t* length : {L"12", L"18"}) {
        auto* s = m.station1.AddSection();
        s->SetParam(LineParam::Length(), length);
        s->SetParam(LineParam::Towers(), L"40");
        for (const auto& p : {LineParam::R(), LineParam::R1()}) s->SetParam(p, L"0.1");
        for (const auto& p : {LineParam::X(), LineParam::X1()}) s->SetParam(p, L"0.4");
        s->SetParam(LineParam::R0(), L"0.3");
        s->SetParam(LineParam::X0(), L"1.2");
    }
    if (shape.parallelLine) {
        auto* p = m.station1.sections.front()->AddParallelLine();
        p->SetParam(LineParam::Rm(), L"0.1");
        p->SetParam(LineParam::Xm(), L"0.3");
        p->SetParam(L"I0", L"Ia2");
    }
    if (tap) {
        auto* c = m.station1.sections.back()->AddConnection();
        c->SetParam(LineParam::TapR0(), L"5");
        c->SetParam(LineParam::TapX0(), L"40");
    }
}

struct Outcome {
    bool ok = false;
    uint64_t distance = 0, spread = 0;  // bits of the doubles
    int first = 0, last = 0, phaseA = 0, phaseB = 0, phaseC = 0, section = 0, tower = 0;
    uint64_t digest = 0;  // FNV-1a over the bits of the result channels, by name
};

inline uint64_t Bits(double v) {
    uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

inline Outcome Locate(int method, bool tap, const Shape& shape = {}) {
    Record rec = MakeRecord(method, shape);
    WrongPlaceLocator loc;
    SetUpLine(loc, method, tap, shape);
    NullHost host;
    Outcome o;
    o.ok = loc.Calculate(rec, host, true);
    o.distance = Bits(loc.m_distance);
    o.spread = Bits(loc.m_spread);
    o.first = loc.m_windowFirst;
    o.last = loc.m_windowLast;
    o.phaseA = loc.m_phaseA;
    o.phaseB = loc.m_phaseB;
    o.phaseC = loc.m_phaseC;
    o.section = loc.m_faultSection;
    o.tower = loc.m_tower;
    uint64_t h = 1469598103934665603ull;
    for (const auto& [name, values] : rec.results)
        for (double v : values) {
            const uint64_t b = Bits(v);
            for (int k = 0; k < 8; ++k) h = (h ^ ((b >> (8 * k)) & 0xff)) * 1099511628211ull;
        }
    o.digest = h;
    return o;
}

}  // namespace generated_fault
