// Pictures that claim more than they hold: a damaged GIF padded with spaces (450 KB and 900 KB),
// whose refusal costs what reading it once costs, and pictures whose few header bytes declare
// tens of thousands of pixels a side, refused before anything is decoded. A healthy GIF of the
// same screen size is the measure beside them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/draw/GdiObjects.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, unsigned v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}

// A GIF of a `w` x `h` screen with one frame of that size. Whole, its pixels are all colour 0,
// sent as a clear code before every pixel so that codes stay three bits wide; damaged, the
// frame is cut after its first block and `pad` spaces follow.
Bytes Gif(unsigned w, unsigned h, size_t pad, bool whole) {
    Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(b, w);
    Put16(b, h);
    b.insert(b.end(), {0x80, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x2C});
    Put16(b, 0), Put16(b, 0), Put16(b, w), Put16(b, h);
    b.insert(b.end(), {0, 2});
    if (!whole) {
        b.insert(b.end(), {2, 0x4C, 0x01});
        b.resize(b.size() + pad, ' ');
        return b;
    }
    Bytes data;
    uint32_t acc = 0;
    int bits = 0;
    auto code = [&](uint32_t c) {
        acc |= c << bits;
        bits += 3;
        while (bits >= 8) data.push_back(uint8_t(acc)), acc >>= 8, bits -= 8;
    };
    for (size_t i = 0; i < size_t(w) * h; ++i) code(4), code(0);
    code(5);
    if (bits) data.push_back(uint8_t(acc));
    for (size_t at = 0; at < data.size(); at += 255) {
        const size_t n = std::min<size_t>(255, data.size() - at);
        b.push_back(uint8_t(n));
        b.insert(b.end(), data.begin() + long(at), data.begin() + long(at + n));
    }
    b.push_back(0);
    b.push_back(0x3B);
    return b;
}

Bytes PngClaim(uint32_t side) {
    Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (int shift = 24; shift >= 0; shift -= 8) b.push_back(uint8_t(side >> shift));
    for (int shift = 24; shift >= 0; shift -= 8) b.push_back(uint8_t(side >> shift));
    b.insert(b.end(), {8, 2, 0, 0, 0, 0, 0, 0, 0});
    return b;
}

void Load(benchmark::State& state, const Bytes& bytes) {
    for (auto _ : state) {
        CBitmap picture;
        benchmark::DoNotOptimize(picture.LoadPictureData(bytes.data(), bytes.size()));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

void HealthyGif(benchmark::State& state) { Load(state, Gif(300, 300, 0, true)); }
void PaddedDamagedGif(benchmark::State& state) { Load(state, Gif(300, 300, size_t(state.range(0)) * 1024, false)); }
void PngDeclaringAHugeSize(benchmark::State& state) { Load(state, PngClaim(32767)); }
void GifDeclaringAHugeSize(benchmark::State& state) { Load(state, Gif(65535, 65535, 16, false)); }

}  // namespace

BENCHMARK(HealthyGif)->Unit(benchmark::kMillisecond);
BENCHMARK(PaddedDamagedGif)->Arg(450)->Arg(900)->Unit(benchmark::kMillisecond);
BENCHMARK(PngDeclaringAHugeSize)->Unit(benchmark::kMillisecond);
BENCHMARK(GifDeclaringAHugeSize)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
