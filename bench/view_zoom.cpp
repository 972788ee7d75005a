// A zoom step and a wheel scroll on a record of 32 analog and 64 discrete channels of
// 1,000,000 samples in a 1920 x 1080 view, each with the repaint it asks for: the target is
// 30 ms a step.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "document/TenvorikDoc.h"
#include "view/TenvorikView.h"

namespace {

constexpr size_t kSamples = 1000000;
constexpr int kAnalog = 32, kDiscrete = 64, kWidth = 1920, kHeight = 1080;

class NullHost : public oscview::ViewHost {
public:
    void SetScrollBar(bool, int64_t, int64_t, int64_t, int64_t) override {}
    void Invalidate() override {}
    void SetStatusPaneText(int, const CString&) override {}
    void UpdateDiagrams() override {}
};

struct Record {
    CTenvorikDoc doc;
    NullHost host;
    std::unique_ptr<oscview::CTenvorikView> view;
    Record() {
        COscillogram& o = doc.GetOscillogram();
        o.m_samplingFrequency = 4000;
        o.m_netFrequency = 50;
        o.m_rates = {{4000.0, int32_t(kSamples)}};
        o.m_times.resize(kSamples);
        for (size_t i = 0; i < kSamples; ++i) o.m_times.Set(i, int64_t(i) * 250);
        for (int k = 0; k < kAnalog + kDiscrete; ++k) {
            CChannel ch(&doc);
            ch.m_fileName.Format("C%d", k);
            ch.m_name = CString(ch.m_fileName);
            std::vector<double> s(kSamples);
            if (k < kAnalog) {
                for (size_t i = 0; i < kSamples; ++i) s[i] = std::sin(double(i) * 2 * M_PI / 80 + k) * (1 + (i > 400000 && i < 600000));
            } else {
                ch.m_discrete = 1;
                const size_t period = 997 * size_t(k);
                for (size_t i = 0; i < kSamples; ++i) s[i] = double((i / period) % 2);
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
        doc.m_cursors.SetPosition(0, 500000);
        view->OnDraw(nullptr, kWidth, kHeight);  // curve summaries made once
    }
};

Record& TheRecord() {
    static Record r;
    return r;
}

// One CTRL+wheel notch in or out about cursor В1, alternately over the whole range of scales,
// and the repaint.
void BM_WheelZoomStep(benchmark::State& state) {
    Record& r = TheRecord();
    bool in = true;
    for (auto _ : state) {
        if (r.view->m_xScale >= 1.0) in = false;
        if (r.view->m_xScale <= r.view->GetFitScale()) in = true;
        r.view->OnMouseWheel(in ? 120 : -120, false, true, false);
        r.view->OnDraw(nullptr, kWidth, kHeight);
        benchmark::DoNotOptimize(r.view->GetPicture().GetPixel(5, 5));
    }
}
BENCHMARK(BM_WheelZoomStep)->Unit(benchmark::kMillisecond);

// One wheel notch down the rows (back up at their end) and the repaint, zoomed out.
void BM_WheelScroll(benchmark::State& state) {
    Record& r = TheRecord();
    r.view->SetXScale(r.view->GetFitScale());
    int direction = -120;
    for (auto _ : state) {
        const int64_t before = r.view->m_vScrollPos;
        r.view->OnMouseWheel(direction, false, false, false);
        if (r.view->m_vScrollPos == before) direction = -direction;
        r.view->OnDraw(nullptr, kWidth, kHeight);
        benchmark::DoNotOptimize(r.view->GetPicture().GetPixel(5, 5));
    }
}
BENCHMARK(BM_WheelScroll)->Unit(benchmark::kMillisecond);

// SHIFT+wheel paging through time at a middle scale, and the repaint.
void BM_WheelPage(benchmark::State& state) {
    Record& r = TheRecord();
    r.view->SetXScale(std::ldexp(1.0, -6));
    int direction = -120;
    for (auto _ : state) {
        const int64_t before = r.view->m_firstSample;
        r.view->OnMouseWheel(direction, false, false, true);
        if (r.view->m_firstSample == before) direction = -direction;
        r.view->OnDraw(nullptr, kWidth, kHeight);
        benchmark::DoNotOptimize(r.view->GetPicture().GetPixel(5, 5));
    }
}
BENCHMARK(BM_WheelPage)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
