// The differential diagram of a record of 1,000,000 samples: two restraint/differential pairs
// plotted over every sample (no cursor range) above the shipped differential block, painted
// into a 600 x 600 picture; and one zoom step, which works out the scale from all samples again.
#include <benchmark/benchmark.h>

#include <cmath>

#include "diagrams/DiffDiagramWnd.h"
#include "document/TenvorikDoc.h"
#include "model/Channel.h"
#include "platform/Encoding.h"

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
        const char* names[] = {"It1", "Id1", "It2", "Id2"};
        for (int k = 0; k < 4; ++k) {
            CChannel ch(&doc);
            ch.m_fileName = names[k];
            ch.m_name = CString(ch.m_fileName);
            ch.m_unit = "A";
            ch.ParseUnit();
            ch.m_samples.resize(kSamples);
            auto& samples = ch.m_samples.Doubles();
            for (size_t i = 0; i < kSamples; ++i)
                samples[i] = (k % 2 ? 2.0 : 8.0) * (1 + std::sin(double(i) * (k + 1) * 1e-4));
            o.AddChannel(-1, std::move(ch));
        }
        for (CChannel& ch : o.m_channels) ch.Recalc();
        doc.m_diffChartPairs = {{L"It1", L"Id1"}, {L"It2", L"Id2"}};
        SettingsNode& node = doc.m_settings.GetCategory(L"Diff Chart");
        node.SetInt(L"SightsOnly", 0);
        node.SetString(L"SelectedBlock", L"Дифференциальная защита ДЗТ-1");
    }
};

struct Window {
    Record rec;
    DiffDiagramWnd wnd{&rec};
    Window() {
        wnd.SetLibraryFolder(CString(platform::Utf8ToWide(std::string(TV_SOURCE_DIR) + "/resources/blocks").c_str()));
        wnd.SetClientSize(CSize(600, 600));
        wnd.ReloadBlocks();
    }
};

void BM_DiffDraw(benchmark::State& state) {
    Window w;
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap bmp;
    bmp.CreateCompatibleBitmap(&dc, 600, 600);
    dc.SelectObject(&bmp);
    for (auto _ : state) w.wnd.Draw(&dc, CRect(0, 0, 600, 600), 1, nullptr, &w.rec.doc);
}
BENCHMARK(BM_DiffDraw)->Unit(benchmark::kMillisecond);

void BM_DiffZoomStep(benchmark::State& state) {
    Window w;
    for (auto _ : state) {
        w.wnd.ZoomIn();
        w.wnd.ZoomOut();
    }
}
BENCHMARK(BM_DiffZoomStep)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
