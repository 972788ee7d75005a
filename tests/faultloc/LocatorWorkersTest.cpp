// Fault location spreads a record's blocks of samples over the workers: one worker and many give
// the same result to the last bit, on a record with several faults of different kinds, some of
// them going on across the edges of the engine's blocks of samples.
#include <gtest/gtest.h>

#include <sched.h>

#include <algorithm>
#include <cstring>
#include <thread>

#include "GeneratedFault.h"
#include "model/Parallel.h"

using namespace generated_fault;

namespace {

enum class Kind { Earth, PhaseToPhase, ThreePhase };
struct Span {
    int first, end;
    Kind kind;
};

// Load, with faults over the spans; each end sees the fault 8 km (station 1) and 22 km
// (station 2) away. `ownFrequency` gives the channels a per-sample net frequency, so that the
// time-weighted transform reads them.
class MultiFaultRecord : public Record {
public:
    int FindChannelIndex(const CString&) const override { return ownFrequency ? 0 : -1; }
    bool ownFrequency = false;
};

MultiFaultRecord MakeMultiFaultRecord(int count, const std::vector<Span>& spans) {
    MultiFaultRecord r;
    r.count = count;
    const C a(-0.5, std::sqrt(3.0) / 2), a2 = std::conj(a);
    const C z1(0.1, 0.4), z0(0.3, 1.2);
    uint32_t noise = 77;
    auto next = [&] {
        noise = noise * 1664525u + 1013904223u;
        return (double(noise >> 8) / double(1 << 24) - 0.5) * 2.0;
    };
    for (int s = 1; s <= 2; ++s) {
        const std::wstring n = std::to_wstring(s);
        const double sign = s == 1 ? 1.0 : -1.0, x = s == 1 ? 8.0 : 22.0;
        for (int i = 0; i < count; ++i) {
            C ia = std::polar(80.0, -0.3) * sign, ib = ia * a2, ic = ia * a;
            C ua = 57735, ub = ua * a2, uc = ua * a;
            for (const Span& sp : spans) {
                if (i < sp.first || i >= sp.end) continue;
                if (sp.kind == Kind::Earth) {
                    ia += std::polar(s == 1 ? 2000.0 : 900.0, -1.2);
                    const C i0 = (ia + ib + ic) / 3.0;
                    ua = x * (z1 * ia + (z0 - z1) * i0);
                } else if (sp.kind == Kind::PhaseToPhase) {
                    const C f = std::polar(2500.0, -1.2) * sign;
                    ib += f;
                    ic -= f;
                    const C drop = z1 * x * (ib - ic), mid = (ub + uc) / 2.0;
                    ub = mid + drop / 2.0;
                    uc = mid - drop / 2.0;
                } else {
                    ia *= 25.0, ib *= 25.0, ic *= 25.0;
                    ua = z1 * x * ia, ub = z1 * x * ib, uc = z1 * x * ic;
                }
            }
            const C rot = std::polar(1.0, 2 * M_PI * 50 * i / 4800.0);
            for (auto [name, p] : {std::pair{L"Ia", ia}, {L"Ib", ib}, {L"Ic", ic}, {L"Ua", ua}, {L"Ub", ub},
                                   {L"Uc", uc}, {L"Uab", ua - ub}, {L"Ubc", ub - uc}, {L"Uca", uc - ua}})
                r.channels[name + n].push_back((p * rot).imag() + next() * 1e-3 * std::abs(p));
        }
    }
    return r;
}

struct Outcomes {
    bool ok = false;
    WrongPlaceLocator loc;
    std::map<std::wstring, std::vector<double>> results;
};

void Locate(Outcomes& run, int method, bool tap, bool parallelLine, bool ownFrequency) {
    // Blocks of the engine are 4096 samples: the spans cross the edges at 4096, 8192, 20480 and
    // 24576, and the last runs to the record's end. The time-weighted transform, slow as it is,
    // has a shorter record whose spans cross 4096 and 8192.
    const int count = ownFrequency ? 10000 : 26000;
    MultiFaultRecord rec =
        ownFrequency ? MakeMultiFaultRecord(count, {{3000, 5000, Kind::Earth}, {7000, 10000, Kind::PhaseToPhase}})
                     : MakeMultiFaultRecord(count, {{3000, 9000, Kind::Earth},
                                                    {12000, 12600, Kind::PhaseToPhase},
                                                    {15000, 15500, Kind::ThreePhase},
                                                    {20400, 24700, Kind::PhaseToPhase},
                                                    {25000, 26000, Kind::Earth}});
    rec.ownFrequency = ownFrequency;
    SetUpLine(run.loc, method, tap, Shape{count, 0, parallelLine});
    NullHost host;
    run.ok = run.loc.Calculate(rec, host, true);
    run.results = rec.results;
}

// The run on a thread of its own that may use only one processor, so that it has one worker.
void LocateOnOneWorker(Outcomes& run, int method, bool tap, bool parallelLine, bool ownFrequency) {
    std::thread t([&] {
        cpu_set_t set;
        CPU_ZERO(&set);
        ASSERT_EQ(sched_getaffinity(0, sizeof set, &set), 0);
        for (int c = 0; c < CPU_SETSIZE; ++c) {
            if (!CPU_ISSET(c, &set)) continue;
            CPU_ZERO(&set);
            CPU_SET(c, &set);
            break;
        }
        ASSERT_EQ(sched_setaffinity(0, sizeof set, &set), 0);
        ASSERT_EQ(tv::WorkerCount(), 1u);
        Locate(run, method, tap, parallelLine, ownFrequency);
    });
    t.join();
}

template <class A, class B>
bool SameBits(const A& a, const B& b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
}

}  // namespace

TEST(LocatorWorkers, OneWorkerAndManyGiveTheSameResultToTheLastBit) {
    if (tv::WorkerCount() < 2) GTEST_SKIP() << "one processor: nothing to spread";
    const struct {
        int method;
        bool tap, parallelLine, ownFrequency;
    } cases[] = {
        {WrongPlaceLocatorData::IsolatedNeutral, false, false, false},
        {WrongPlaceLocatorData::EarthedNeutral, true, true, false},
        {WrongPlaceLocatorData::EarthedNeutral, false, true, true},
        {WrongPlaceLocatorData::TwoEnded, false, true, false},
        {WrongPlaceLocatorData::TwoEnded, false, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "method " << c.method << (c.tap ? ", a tap" : "")
                                        << (c.parallelLine ? ", a parallel line" : "")
                                        << (c.ownFrequency ? ", time-weighted" : ""));
        Outcomes one, many;
        LocateOnOneWorker(one, c.method, c.tap, c.parallelLine, c.ownFrequency);
        Locate(many, c.method, c.tap, c.parallelLine, c.ownFrequency);
        ASSERT_TRUE(one.ok);
        ASSERT_TRUE(many.ok);
        // The record's faults reach detection, in more than one block.
        ASSERT_GT(std::count(one.loc.m_faultA.begin(), one.loc.m_faultA.end(), 1) +
                      std::count(one.loc.m_faultB.begin(), one.loc.m_faultB.end(), 1),
                  3000);
        EXPECT_EQ(Bits(one.loc.m_distance), Bits(many.loc.m_distance));
        EXPECT_EQ(Bits(one.loc.m_spread), Bits(many.loc.m_spread));
        EXPECT_EQ(one.loc.m_windowFirst, many.loc.m_windowFirst);
        EXPECT_EQ(one.loc.m_windowLast, many.loc.m_windowLast);
        EXPECT_EQ(one.loc.m_tower, many.loc.m_tower);
        EXPECT_EQ(Bits(one.loc.m_tapAngle), Bits(many.loc.m_tapAngle));
        EXPECT_TRUE(SameBits(one.loc.dist, many.loc.dist));
        EXPECT_TRUE(SameBits(one.loc.phaseDiff, many.loc.phaseDiff));
        for (auto flags : {&WrongPlaceLocator::m_earthFault, &WrongPlaceLocator::m_phaseFault,
                            &WrongPlaceLocator::m_symFault, &WrongPlaceLocator::m_faultA, &WrongPlaceLocator::m_faultB,
                            &WrongPlaceLocator::m_faultC})
            EXPECT_EQ(one.loc.*flags, many.loc.*flags);
        ASSERT_EQ(one.results.size(), many.results.size());
        for (const auto& [name, values] : one.results) EXPECT_TRUE(SameBits(values, many.results[name]));
    }
}
