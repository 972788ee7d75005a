// Memory of an opened record, watched step by step: a "BINARY" record of 32 analog and 64
// status channels (1,000,000 samples, or TV_BENCH_SAMPLES) is opened, painted once into a
// 1920 x 1080 view, asked for the phasors a vector diagram shows, and edited once (one
// channel's ratio) under an undo step. Prints the resident bytes per sample after each step,
// against the size of the ".dat" file, and the times of the open and the first paint.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

#include "diagrams/VectorDiagramWnd.h"
#include "document/TenvorikDoc.h"
#include "platform/Encoding.h"
#include "view/TenvorikView.h"

namespace {

constexpr int kAnalog = 32, kStatus = 64, kWidth = 1920, kHeight = 1080;
constexpr double kRate = 4800.0;

size_t SampleCount() {
    const char* env = std::getenv("TV_BENCH_SAMPLES");
    const long long n = env ? std::atoll(env) : 0;
    return n > 0 ? size_t(n) : 1000000;
}

std::string Folder() {
    auto d = std::filesystem::temp_directory_path() / ("tenvorik-memory-" + std::to_string(getpid()));
    std::filesystem::create_directories(d);
    return d.string();
}

struct Cleanup {
    ~Cleanup() {
        std::error_code ec;
        std::filesystem::remove_all(std::filesystem::temp_directory_path() / ("tenvorik-memory-" + std::to_string(getpid())), ec);
    }
} cleanup;

// The record is written in blocks, so that making it costs little memory of its own.
std::string MakeRecord(size_t samples) {
    const std::string base = Folder() + "/rec";
    {
        std::ofstream f(base + ".cfg", std::ios::binary);
        f << "Bench,Recorder,1999\r\n" << (kAnalog + kStatus) << "," << kAnalog << "A," << kStatus << "D\r\n";
        for (int k = 0; k < kAnalog; ++k) f << (k + 1) << ",U" << k << ",A,,V,0.005,0,0,-20000,20000,10000,100,S\r\n";
        for (int k = 0; k < kStatus; ++k) f << (k + 1) << ",K" << k << ",,,0\r\n";
        f << "50\r\n1\r\n" << kRate << "," << samples << "\r\n";
        f << "01/02/2024,10:00:00.000000\r\n01/02/2024,10:00:00.100000\r\nBINARY\r\n1\r\n";
    }
    std::ofstream f(base + ".dat", std::ios::binary);
    std::string block;
    for (size_t i = 0; i < samples; ++i) {
        char rec[8 + 2 * kAnalog + kStatus / 8] = {};
        const uint32_t number = uint32_t(i + 1);
        const int32_t stamp = int32_t(std::lround(double(i) * 1e6 / kRate));
        std::memcpy(rec, &number, 4);
        std::memcpy(rec + 4, &stamp, 4);
        for (int k = 0; k < kAnalog; ++k) {
            const int16_t c = int16_t(std::lround(20000.0 * std::sin(2 * M_PI * 50.0 * double(i) / kRate + k * 0.7)));
            std::memcpy(rec + 8 + 2 * k, &c, 2);
        }
        for (int k = 0; k < kStatus; ++k)
            if ((i / (200 + size_t(k) * 13)) & 1) rec[8 + 2 * kAnalog + k / 8] |= char(1 << (k % 8));
        block.append(rec, sizeof rec);
        if (block.size() > (1 << 22)) {
            f.write(block.data(), std::streamsize(block.size()));
            block.clear();
        }
    }
    f.write(block.data(), std::streamsize(block.size()));
    return base + ".cfg";
}

int64_t Resident() {
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stoll(line.substr(6)) * 1024;
    return 0;
}

class NullHost : public oscview::ViewHost {
public:
    void SetScrollBar(bool, int64_t, int64_t, int64_t, int64_t) override {}
    void Invalidate() override {}
    void SetStatusPaneText(int, const CString&) override {}
    void UpdateDiagrams() override {}
};

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void BM_RecordMemory(benchmark::State& state) {
    const size_t n = SampleCount();
    const std::string cfg = MakeRecord(n);
    const double datBytes = double(std::filesystem::file_size(cfg.substr(0, cfg.size() - 4) + ".dat"));
    const CString path(platform::Utf8ToWide(cfg));
    for (auto _ : state) {
        const int64_t base = Resident();
        auto perSample = [&] { return double(Resident() - base) / double(n); };
        auto t0 = std::chrono::steady_clock::now();
        auto doc = std::make_unique<CTenvorikDoc>();
        if (!doc->OnOpenDocument(path)) {
            state.SkipWithError("the record did not open");
            return;
        }
        state.counters["open_s"] = Seconds(t0);
        state.counters["B_per_sample_open"] = perSample();
        state.counters["open_per_dat"] = double(Resident() - base) / datBytes;

        NullHost host;
        t0 = std::chrono::steady_clock::now();
        oscview::CTenvorikView view(doc.get(), &host);
        view.OnSize(kWidth, kHeight);
        view.OnInitialUpdate();
        view.SetXScale(view.GetFitScale());
        view.OnDraw(nullptr, kWidth, kHeight);
        state.counters["paint_s"] = Seconds(t0);
        state.counters["B_per_sample_paint"] = perSample();

        // The vector diagram shows every analog channel's phasor at cursor В1.
        doc->m_cursors.SetPosition(0, int64_t(n / 2));
        Complex sum;
        for (const CChannel& ch : doc->m_oscillogram.m_channels)
            if (!ch.IsDiscrete()) sum += GetChannelPhasorAt(ch, uint32_t(n / 2), *doc);
        benchmark::DoNotOptimize(sum);
        state.counters["B_per_sample_phasors"] = perSample();

        // One undo step, then a new ratio for one channel.
        const int64_t beforeStep = Resident();
        t0 = std::chrono::steady_clock::now();
        doc->PushUndo();
        CChannel& ch = doc->m_oscillogram.m_channels[0];
        ch.m_primaryMode = true;
        ch.m_primary = 110;
        doc->m_oscillogram.UpdateAfterChange();
        state.counters["undo_step_s"] = Seconds(t0);
        state.counters["undo_step_B_per_sample"] = double(Resident() - beforeStep) / double(n);
        state.counters["one_channel_B_per_sample"] = double(ch.m_samples.ByteSize()) / double(n);
        view.OnUpdate();
        view.OnDraw(nullptr, kWidth, kHeight);
        state.counters["B_per_sample_final"] = perSample();
        state.counters["final_per_dat"] = double(Resident() - base) / datBytes;
    }
    state.counters["dat_MB"] = datBytes / 1e6;
}

}  // namespace

BENCHMARK(BM_RecordMemory)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

BENCHMARK_MAIN();
