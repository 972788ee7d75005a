// Opening a large COMTRADE record from its path to a ready record (parsed, scaled,
// recalculated): 32 analog and 64 status channels, 1,000,000 samples at 4800 samples per
// second, as a 1999 "BINARY" record (80 MB of data) and as "ASCII". Reports the time and the
// peak memory of the open against the arrays the record keeps.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "document/TenvorikDoc.h"
#include "platform/Encoding.h"

namespace {

constexpr int kAnalog = 32, kStatus = 64, kSamples = 1000000;
constexpr double kRate = 4800.0;

std::string FolderPath() {
    return (std::filesystem::temp_directory_path() / ("tenvorik-bench-" + std::to_string(getpid()))).string();
}

std::string Folder() {
    std::string d = FolderPath();
    std::filesystem::create_directories(d);
    return d;
}

struct Cleanup {
    ~Cleanup() {
        std::error_code ec;
        std::filesystem::remove_all(FolderPath(), ec);
    }
} cleanup;

int16_t Code(int channel, int i) {
    double phase = channel * 0.7;
    return int16_t(std::lround(20000.0 * std::sin(2 * 3.14159265358979 * 50.0 * i / kRate + phase)));
}

bool StatusBit(int channel, int i) { return ((i / (200 + channel * 13)) & 1) != 0; }

void WriteCfg(const std::string& path, const char* type) {
    std::ofstream f(path, std::ios::binary);
    f << "Bench,Recorder,1999\r\n" << (kAnalog + kStatus) << "," << kAnalog << "A," << kStatus << "D\r\n";
    for (int k = 0; k < kAnalog; ++k)
        f << (k + 1) << ",U" << k << ",A,,V,0.005,0,0,-20000,20000,10000,100,S\r\n";
    for (int k = 0; k < kStatus; ++k) f << (k + 1) << ",K" << k << ",,,0\r\n";
    f << "50\r\n1\r\n" << kRate << "," << kSamples << "\r\n";
    f << "01/02/2024,10:00:00.000000\r\n01/02/2024,10:00:00.100000\r\n" << type << "\r\n1\r\n";
}

// The data file is written in blocks, so that making it costs little memory of its own.
std::string MakeRecord(bool ascii) {
    std::string base = Folder() + (ascii ? "/ascii" : "/binary");
    if (std::filesystem::exists(base + ".dat")) return base + ".cfg";
    WriteCfg(base + ".cfg", ascii ? "ASCII" : "BINARY");
    std::ofstream f(base + ".dat", std::ios::binary);
    std::string block;
    for (int i = 0; i < kSamples; ++i) {
        int32_t stamp = int32_t(std::lround(i * 1e6 / kRate));
        if (ascii) {
            block += std::to_string(i + 1) + "," + std::to_string(stamp);
            for (int k = 0; k < kAnalog; ++k) block += ", " + std::to_string(Code(k, i));
            for (int k = 0; k < kStatus; ++k) block += StatusBit(k, i) ? ", 1" : ", 0";
            block += "\r\n";
        } else {
            char rec[8 + 2 * kAnalog + kStatus / 8] = {};
            uint32_t n = uint32_t(i + 1);
            std::memcpy(rec, &n, 4);
            std::memcpy(rec + 4, &stamp, 4);
            for (int k = 0; k < kAnalog; ++k) {
                int16_t c = Code(k, i);
                std::memcpy(rec + 8 + 2 * k, &c, 2);
            }
            for (int k = 0; k < kStatus; ++k)
                if (StatusBit(k, i)) rec[8 + 2 * kAnalog + k / 8] |= char(1 << (k % 8));
            block.append(rec, sizeof rec);
        }
        if (block.size() > (1 << 22)) {
            f.write(block.data(), std::streamsize(block.size()));
            block.clear();
        }
    }
    f.write(block.data(), std::streamsize(block.size()));
    return base + ".cfg";
}

// Resident and peak resident memory of this process in bytes, from /proc.
int64_t StatusField(const char* name) {
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind(name, 0) == 0) return std::stoll(line.substr(std::strlen(name))) * 1024;
    return 0;
}

// Starts a new peak: the kernel sets the peak resident size back to the current one.
void ResetPeak() {
    std::ofstream f("/proc/self/clear_refs");
    f << "5";
}

template <class T>
int64_t Bytes(const std::vector<T>& v) {
    return int64_t(v.capacity() * sizeof(T));
}

int64_t RecordArrays(const COscillogram& osc) {
    int64_t n = int64_t(osc.m_times.ByteSize());
    for (const auto& ch : osc.m_channels) n += int64_t(ch.GetDataBytes());
    return n;
}

void Open(benchmark::State& state, bool ascii) {
    const CString path(platform::Utf8ToWide(MakeRecord(ascii)));
    double arrays = 0, peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        int64_t before = StatusField("VmRSS:");
        ResetPeak();
        state.ResumeTiming();
        auto doc = std::make_unique<CTenvorikDoc>();
        if (!doc->OnOpenDocument(path)) {
            state.SkipWithError("the record did not open");
            return;
        }
        state.PauseTiming();
        peak = double(StatusField("VmHWM:") - before);
        arrays = double(RecordArrays(doc->GetOscillogram()));
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["arrays_MB"] = arrays / 1e6;
    state.counters["peak_MB"] = peak / 1e6;
    state.counters["peak_per_arrays"] = arrays > 0 ? peak / arrays : 0;
}

void BM_OpenBinary(benchmark::State& state) { Open(state, false); }
void BM_OpenAscii(benchmark::State& state) { Open(state, true); }

}  // namespace

BENCHMARK(BM_OpenBinary)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_OpenAscii)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

BENCHMARK_MAIN();
