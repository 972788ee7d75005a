// The oscillogram view of a record of 32 analog and 64 discrete channels of 1,000,000 and of
// 4,000,000 samples (the benchmark's argument), fully zoomed out, painted into a 1920 x 1080
// picture: all passes, captions and cursors included. The first paint after a change of the
// values also summarises the curves; the frames after it reuse that.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <random>

#include "document/TenvorikDoc.h"
#include "view/TenvorikView.h"

namespace {

constexpr int kAnalog = 32, kDiscrete = 64, kWidth = 1920, kHeight = 1080;

class NullHost : public oscview::ViewHost {
public:
    void SetScrollBar(bool, int64_t, int64_t, int64_t, int64_t) override {}
    void Invalidate() override {}
    void SetStatusPaneText(int, const CString&) override {}
    void UpdateDiagrams() override {}
};

struct Record {
    const size_t rows;
    CTenvorikDoc doc;
    NullHost host;
    std::unique_ptr<oscview::CTenvorikView> view;
    explicit Record(size_t count) : rows(count) {
        COscillogram& o = doc.GetOscillogram();
        o.m_samplingFrequency = 4000;
        o.m_netFrequency = 50;
        o.m_rates = {{4000.0, int32_t(rows)}};
        o.m_times.resize(rows);
        for (size_t i = 0; i < rows; ++i) o.m_times.Set(i, int64_t(i) * 250);
        std::mt19937 rng(3);
        std::normal_distribution<double> noise(0, 0.05);
        for (int k = 0; k < kAnalog + kDiscrete; ++k) {
            CChannel ch(&doc);
            ch.m_fileName.Format("C%d", k);
            ch.m_name = CString(ch.m_fileName);
            std::vector<double> s(rows);
            if (k < kAnalog) {
                for (size_t i = 0; i < rows; ++i) s[i] = std::sin(double(i) * 2 * M_PI / 80 + k) * (1 + (i > rows * 2 / 5 && i < rows * 3 / 5)) + noise(rng);
            } else {
                ch.m_discrete = 1;
                const size_t period = 997 * size_t(k);
                for (size_t i = 0; i < rows; ++i) s[i] = (i / period) % 2;
            }
            ch.m_samples = std::move(s);
            // Status channels keep a bit a sample, as a record read from a file does.
            ch.m_samples.Compact();
            o.AddChannel(-1, std::move(ch));
        }
        o.RecalcAll(false);
        view = std::make_unique<oscview::CTenvorikView>(&doc, &host);
        view->OnSize(kWidth, kHeight);
        view->OnInitialUpdate();
        view->SetXScale(view->GetFitScale());  // fully zoomed out
        doc.m_cursors.SetPosition(0, int64_t(rows) / 4);
        doc.m_cursors.SetPosition(1, int64_t(rows) * 3 / 4);
    }
};

// One record at a time: the 4,000,000-sample one alone takes over a gigabyte. The benchmarks
// are registered size by size, so that each record is made once.
Record& TheRecord(const benchmark::State& state) {
    static std::unique_ptr<Record> r;
    const size_t samples = size_t(state.range(0));
    if (!r || r->rows != samples) {
        r.reset();
        r = std::make_unique<Record>(samples);
    }
    return *r;
}

void BM_PaintZoomedOut(benchmark::State& state) {
    Record& r = TheRecord(state);
    r.view->OnDraw(nullptr, kWidth, kHeight);  // summaries made once
    for (auto _ : state) {
        r.view->OnDraw(nullptr, kWidth, kHeight);
        benchmark::DoNotOptimize(r.view->GetPicture().GetPixel(5, 5));
    }
}

// The first paint after the values changed: summaries of all 96 curves are made again.
void BM_PaintAfterChange(benchmark::State& state) {
    Record& r = TheRecord(state);
    for (auto _ : state) {
        // Every curve changed: the record is recalculated outside the timing.
        state.PauseTiming();
        r.doc.GetOscillogram().RecalcAll(false);
        state.ResumeTiming();
        r.view->OnUpdate();
        r.view->OnDraw(nullptr, kWidth, kHeight);
    }
}

// A new ratio for one channel, then the paint that shows it: the record's update after the edit
// and the first paint after it, with its best time against the 60 ms a user should wait at most.
void BM_PaintAfterOneChannelEdit(benchmark::State& state) {
    Record& r = TheRecord(state);
    r.view->OnDraw(nullptr, kWidth, kHeight);
    CChannel& ch = r.doc.GetOscillogram().m_channels[3];
    ch.m_primaryMode = true;
    double primary = 110, best = 1e9;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        ch.m_primary = (primary += 1);
        r.doc.GetOscillogram().UpdateAfterChange();
        r.view->OnUpdate();
        r.view->OnDraw(nullptr, kWidth, kHeight);
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    ch.m_primaryMode = false;
    r.doc.GetOscillogram().UpdateAfterChange();
    state.counters["repaint_best_ms"] = best * 1e3;
    state.counters["per_goal"] = best / 0.060;
}

// Zoomed in to 1/16 of the record in the middle: more samples per column at the edges.
void BM_PaintPartlyZoomed(benchmark::State& state) {
    Record& r = TheRecord(state);
    const double fit = r.view->GetFitScale();
    r.view->SetXScale(fit * 16);
    r.view->m_firstSample = int64_t(r.rows) * 2 / 5;
    r.view->RecalcLayout();
    r.view->OnDraw(nullptr, kWidth, kHeight);
    for (auto _ : state) r.view->OnDraw(nullptr, kWidth, kHeight);
    r.view->SetXScale(fit);
    r.view->m_firstSample = 0;
    r.view->RecalcLayout();
}

// Each size in turn, all its cases together.
#define VIEW_BENCHMARKS(samples)                                                           \
    BENCHMARK(BM_PaintZoomedOut)->Arg(samples)->Unit(benchmark::kMillisecond);           \
    BENCHMARK(BM_PaintAfterChange)->Arg(samples)->Unit(benchmark::kMillisecond);         \
    BENCHMARK(BM_PaintAfterOneChannelEdit)->Arg(samples)->Unit(benchmark::kMillisecond); \
    BENCHMARK(BM_PaintPartlyZoomed)->Arg(samples)->Unit(benchmark::kMillisecond)

VIEW_BENCHMARKS(1000000);
VIEW_BENCHMARKS(4000000);

}  // namespace

BENCHMARK_MAIN();
