// The circle diagram of a record of 1,000,000 samples: an impedance channel flagged for the
// diagram and a resistance pair, every sample plotted (no cursor range), painted into a
// 600 x 600 picture; and one zoom step, which works out the scale from all samples again.
#include <benchmark/benchmark.h>

#include <cmath>

#include "diagrams/CircleDiagramWnd.h"
#include "document/TenvorikDoc.h"
#include "model/Channel.h"

namespace {

constexpr size_t kSamples = 1000000;

struct Record : DiagramOwner {
    CTenvorikDoc doc;
    CTenvorikDoc* GetActiveDocument() override { return &doc; }
    Record() {
        COscillogram& o = doc.GetOscillogram();
        o.m_samplingFrequency = 4000;
        o.m_netFrequency = 50;
        o.m_rates = {{4000.0, int32_t(kSamples)}};
        o.m_times.resize(kSamples);
        for (size_t i = 0; i < kSamples; ++i) o.m_times.Set(i, int64_t(i) * 250);
        const char* names[] = {"Z", "R", "X"};
        for (int k = 0; k < 3; ++k) {
            CChannel ch(&doc);
            ch.m_fileName = names[k];
            ch.m_name = CString(ch.m_fileName);
            ch.m_unit = "Ohm";
            ch.ParseUnit();
            ch.m_samples.resize(kSamples);
            auto& samples = ch.m_samples.Doubles();
            for (size_t i = 0; i < kSamples; ++i) samples[i] = 20 * std::sin(double(i) * (k + 1) * 1e-4);
            if (k == 0) ch.m_flags |= CHF_CIRCLE_DIAGRAM;
            o.AddChannel(-1, std::move(ch));
        }
        for (CChannel& ch : o.m_channels) ch.Recalc();
        CChannel& z = o.m_channels[0];
        std::vector<Complex> series(kSamples);
        for (size_t i = 0; i < kSamples; ++i) series[i] = std::polar(30.0 - 20.0 * double(i) / kSamples, double(i) * 1e-5);
        z.SetPhasorSeries(std::move(series));
        doc.m_circleChartPairs = {{L"R", L"X"}};
        doc.m_settings.GetCategory(L"Circle Chart").SetInt(L"SightsOnly", 0);
    }
};

void BM_CircleDraw(benchmark::State& state) {
    Record rec;
    CircleDiagramWnd wnd(&rec);
    wnd.SetClientSize(CSize(600, 600));
    wnd.LoadSettings();
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap bmp;
    bmp.CreateCompatibleBitmap(&dc, 600, 600);
    dc.SelectObject(&bmp);
    for (auto _ : state) wnd.Draw(&dc, CRect(0, 0, 600, 600), 1, nullptr, &rec.doc);
}
BENCHMARK(BM_CircleDraw)->Unit(benchmark::kMillisecond);

void BM_CircleZoomStep(benchmark::State& state) {
    Record rec;
    CircleDiagramWnd wnd(&rec);
    wnd.SetClientSize(CSize(600, 600));
    wnd.LoadSettings();
    for (auto _ : state) {
        wnd.ZoomIn();
        wnd.ZoomOut();
    }
}
BENCHMARK(BM_CircleZoomStep)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
