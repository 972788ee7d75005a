// The file finder's search over an archive of 10,000 COMTRADE records in 100 folders: the walk
// and the header reading that fill the list (target: under 2 s).
#include <benchmark/benchmark.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "app/FileFinder.h"
#include "platform/Encoding.h"

namespace {

constexpr int kFolders = 100, kPerFolder = 100;

std::string Root() {
    return (std::filesystem::temp_directory_path() / ("tenvorik-finder-bench-" + std::to_string(getpid()))).string();
}

struct Archive {
    Archive() {
        for (int f = 0; f < kFolders; ++f) {
            const std::string dir = Root() + "/station" + std::to_string(f);
            std::filesystem::create_directories(dir);
            for (int r = 0; r < kPerFolder; ++r) {
                std::ofstream out(dir + "/rec" + std::to_string(r) + ".cfg", std::ios::binary);
                out << "Station " << f << ",Block " << r % 7 << ",1999\r\n4,3A,1D\r\n";
                for (int c = 1; c <= 3; ++c) out << c << ",U" << c << ",A,,kV,0.01,0,0,-32767,32767,110,0.1,P\r\n";
                out << "1,Trip,,,0\r\n50\r\n1\r\n1000,2000\r\n" << (r % 28) + 1
                    << "/06/2021,10:00:00.000000\r\n01/06/2021,10:00:00.100000\r\nBINARY\r\n1\r\n";
                std::ofstream(dir + "/rec" + std::to_string(r) + ".dat", std::ios::binary) << "data";
            }
        }
    }
    ~Archive() {
        std::error_code ec;
        std::filesystem::remove_all(Root(), ec);
    }
};

void BM_SearchArchive(benchmark::State& state) {
    static Archive archive;
    const CString root(platform::Utf8ToWide(Root()));
    for (auto _ : state) {
        std::atomic<bool> stop{false};
        FileFinderResult result;
        WalkFinderFolder(root, true, stop, result);
        if (result.records.size() != size_t(kFolders * kPerFolder)) state.SkipWithError("records missing");
        benchmark::DoNotOptimize(result);
    }
    state.counters["records"] = double(kFolders * kPerFolder);
}
BENCHMARK(BM_SearchArchive)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
