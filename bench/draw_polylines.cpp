// 32 curves of 1,000,000 samples each into a 1920 x 1080 picture: the whole polyline against
// the per-column reduction (first, lowest, highest, last point of each column), reduction included.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "platform/draw/DeviceContext.h"
#include "platform/draw/PolylineReduction.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080, kCurves = 32, kPoints = 1000000;

const std::vector<std::vector<POINT>>& Curves() {
    static const std::vector<std::vector<POINT>> curves = [] {
        std::vector<std::vector<POINT>> all(kCurves);
        std::mt19937 rng(1);
        std::normal_distribution<double> noise(0, 4);
        const int strip = kHeight / kCurves;
        for (int k = 0; k < kCurves; ++k) {
            auto& pts = all[size_t(k)];
            pts.resize(kPoints);
            for (int i = 0; i < kPoints; ++i) {
                const double t = double(i) / kPoints;
                pts[size_t(i)].x = int(t * kWidth);
                pts[size_t(i)].y = k * strip + strip / 2 + int(std::lround(strip * 0.4 * std::sin(t * 300) + noise(rng)));
            }
        }
        return all;
    }();
    return curves;
}

struct Picture {
    Picture() {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateCompatibleBitmap(&dc, kWidth, kHeight);
        dc.SelectObject(&bitmap);
        pen.CreatePen(PS_SOLID, 1, RGB(0, 0, 200));
        dc.SelectObject(&pen);
    }
    CDC dc;
    CBitmap bitmap;
    CPen pen;
};

void FullPolylines(benchmark::State& state) {
    const auto& curves = Curves();
    Picture p;
    for (auto _ : state) {
        p.dc.FillSolidRect(0, 0, kWidth, kHeight, RGB(255, 255, 255));
        for (const auto& c : curves) p.dc.Polyline(c.data(), int(c.size()));
        benchmark::DoNotOptimize(p.dc.GetPixel(0, 0));
    }
    state.SetItemsProcessed(state.iterations() * kCurves * int64_t(kPoints));
}

void ReducedPolylines(benchmark::State& state) {
    const auto& curves = Curves();
    Picture p;
    std::vector<POINT> reduced;
    for (auto _ : state) {
        p.dc.FillSolidRect(0, 0, kWidth, kHeight, RGB(255, 255, 255));
        for (const auto& c : curves) {
            platform::draw::ReducePolylinePerColumn(c.data(), c.size(), reduced);
            p.dc.Polyline(reduced.data(), int(reduced.size()));
        }
        benchmark::DoNotOptimize(p.dc.GetPixel(0, 0));
    }
    state.SetItemsProcessed(state.iterations() * kCurves * int64_t(kPoints));
}

BENCHMARK(FullPolylines)->Unit(benchmark::kMillisecond);
BENCHMARK(ReducedPolylines)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
