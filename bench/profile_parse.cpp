// Reading a large settings profile: 40,000 keys (about 350 KB) in four sections, parsed as
// the program parses the file before every read and write of it. The time a parse takes
// grows with the length of the file, not with its square: the sizes show it.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/Profile.h"

namespace {

std::string MakeProfile(int keys) {
    std::vector<platform::Profile::Section> sections(4);
    for (int s = 0; s < 4; ++s) {
        sections[size_t(s)].name.Format(L"Section %d", s);
        for (int k = 0; k < keys / 4; ++k) {
            platform::Profile::Entry e;
            e.key.Format(L"Key %d", k);
            e.value.Format(L"value %d", k * 7);
            sections[size_t(s)].entries.push_back(e);
        }
    }
    return platform::Profile::Serialize(sections);
}

void ParseProfile(benchmark::State& state) {
    const std::string text = MakeProfile(int(state.range(0)));
    for (auto _ : state) {
        auto sections = platform::Profile::Parse(text);
        benchmark::DoNotOptimize(sections);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
    state.counters["keys"] = double(state.range(0));
}

}  // namespace

BENCHMARK(ParseProfile)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
