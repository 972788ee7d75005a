#pragma once
// What the benchmarks of a record's open measure against, in the same run so that a ratio holds
// on a busy machine: the large COMTRADE record they open (32 analog and 64 status channels,
// 4800 samples per second) written to a temporary folder, and the floor, a plain program that
// reads its ".dat" from the page cache into column arrays with huge pages, on as many threads
// as the program itself starts: every analog channel as doubles (code x scale + offset), the
// status channels as bits, the times as microseconds. Each thread takes a fixed share of the
// work and writes only its own words, so nothing is shared or atomic. It checks nothing and
// keeps nothing; a reader cannot do less.
#include <sys/mman.h>
#include <sys/resource.h>
#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "model/Parallel.h"

namespace bench {

constexpr int kAnalog = 32, kStatus = 64;
constexpr double kRate = 4800.0;

inline std::string FolderPath() {
    return (std::filesystem::temp_directory_path() / ("tenvorik-bench-" + std::to_string(getpid()))).string();
}

inline std::string Folder() {
    std::string d = FolderPath();
    std::filesystem::create_directories(d);
    return d;
}

struct Cleanup {
    ~Cleanup() {
        std::error_code ec;
        std::filesystem::remove_all(FolderPath(), ec);
    }
};

inline int16_t Code(int channel, size_t i) {
    double phase = channel * 0.7;
    return int16_t(std::lround(20000.0 * std::sin(2 * 3.14159265358979 * 50.0 * double(i) / kRate + phase)));
}

inline bool StatusBit(int channel, size_t i) { return ((i / (200 + size_t(channel) * 13)) & 1) != 0; }

inline void WriteCfg(const std::string& path, const char* type, size_t samples) {
    std::ofstream f(path, std::ios::binary);
    f << "Bench,Recorder,1999\r\n" << (kAnalog + kStatus) << "," << kAnalog << "A," << kStatus << "D\r\n";
    for (int k = 0; k < kAnalog; ++k) f << (k + 1) << ",U" << k << ",A,,V,0.005,0,0,-20000,20000,10000,100,S\r\n";
    for (int k = 0; k < kStatus; ++k) f << (k + 1) << ",K" << k << ",,,0\r\n";
    f << "50\r\n1\r\n" << kRate << "," << samples << "\r\n";
    f << "01/02/2024,10:00:00.000000\r\n01/02/2024,10:00:00.100000\r\n" << type << "\r\n1\r\n";
}

// The ".cfg" path of the record; the data file is written in blocks, so that making it costs
// little memory of its own.
inline std::string MakeRecord(bool ascii, size_t samples) {
    std::string base = Folder() + (ascii ? "/ascii" : "/binary") + std::to_string(samples);
    if (std::filesystem::exists(base + ".dat")) return base + ".cfg";
    WriteCfg(base + ".cfg", ascii ? "ASCII" : "BINARY", samples);
    std::ofstream f(base + ".dat", std::ios::binary);
    std::string block;
    for (size_t i = 0; i < samples; ++i) {
        int32_t stamp = int32_t(std::lround(double(i) * 1e6 / kRate));
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

inline std::string DatOf(const std::string& cfg) { return cfg.substr(0, cfg.size() - 4) + ".dat"; }

// Fields of /proc/self/status in bytes.
inline int64_t StatusField(const char* name) {
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind(name, 0) == 0) return std::stoll(line.substr(std::strlen(name))) * 1024;
    return 0;
}

// Starts a new peak: the kernel sets the peak resident size back to the current one.
inline void ResetPeak() {
    std::ofstream f("/proc/self/clear_refs");
    f << "5";
}

inline double ProcessCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

inline double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// ---- the floor -------------------------------------------------------------------------------

class HugeColumn {
public:
    explicit HugeColumn(size_t bytes) : m_size((bytes + (2u << 20) - 1) / (2u << 20) * (2u << 20)) {
        m_p = mmap(nullptr, m_size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (m_p == MAP_FAILED) m_p = nullptr;
        else madvise(m_p, m_size, MADV_HUGEPAGE);
    }
    ~HugeColumn() {
        if (m_p) munmap(m_p, m_size);
    }
    HugeColumn(const HugeColumn&) = delete;
    HugeColumn& operator=(const HugeColumn&) = delete;
    template <class T>
    T* As() const { return static_cast<T*>(m_p); }

private:
    size_t m_size;
    void* m_p;
};

// The program's own number of workers.
inline unsigned FloorThreads() { return tv::WorkerCount(); }

template <class F>
void OnThreads(unsigned threads, F&& f) {
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t) pool.emplace_back([&, t] { f(t); });
    f(0);
    for (auto& th : pool) th.join();
}

struct FloorResult {
    double seconds = 0;
    double checksum = 0;  // keeps the work from being left out
};

// Reads the ".dat" of a record of MakeRecord (BINARY or ASCII) into columns.
inline FloorResult Floor(const std::string& dat, bool ascii, size_t samples) {
    FloorResult r;
    const double t0 = Now();
    int fd = open(dat.c_str(), O_RDONLY);
    if (fd < 0) return r;
    const size_t size = size_t(std::filesystem::file_size(dat));
    void* m = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    if (m == MAP_FAILED) return r;
    const char* d = static_cast<const char*>(m);
    const size_t n = samples;
    const double scale = 0.005, offset = 0.0;
    const unsigned threads = FloorThreads();
    std::vector<std::unique_ptr<HugeColumn>> analog, status;
    for (int k = 0; k < kAnalog; ++k) analog.push_back(std::make_unique<HugeColumn>(n * sizeof(double)));
    for (int k = 0; k < kStatus; ++k) status.push_back(std::make_unique<HugeColumn>((n + 63) / 64 * 8));
    HugeColumn times(n * sizeof(int64_t));
    std::vector<double> sums(threads, 0.0);
    if (!ascii) {
        const size_t rec = 8 + 2 * kAnalog + kStatus / 8;
        // Blocks of whole status words, dealt to the threads in turn.
        constexpr size_t kBlock = 4096;
        const size_t blocks = (n + kBlock - 1) / kBlock;
        OnThreads(threads, [&](unsigned th) {
            for (size_t bi = th; bi < blocks; bi += threads) {
                const size_t b = bi * kBlock, e = std::min(n, b + kBlock);
                int64_t* t = times.As<int64_t>();
                for (size_t i = b; i < e; ++i) {
                    int32_t s;
                    std::memcpy(&s, d + i * rec + 4, 4);
                    t[i] = s;
                }
                for (int k = 0; k < kAnalog; ++k) {
                    double* out = analog[size_t(k)]->As<double>();
                    const char* p = d + 8 + 2 * k;
                    for (size_t i = b; i < e; ++i) {
                        int16_t c;
                        std::memcpy(&c, p + i * rec, 2);
                        out[i] = scale * double(c) + offset;
                    }
                }
                for (int j = 0; j < kStatus; ++j) {
                    uint64_t* out = status[size_t(j)]->As<uint64_t>();
                    const char* p = d + 8 + 2 * kAnalog + j / 8;
                    const unsigned char mask = static_cast<unsigned char>(1u << (j % 8));
                    for (size_t w = b / 64; w < (e + 63) / 64; ++w) {
                        uint64_t word = 0;
                        for (size_t i = w * 64; i < std::min(e, w * 64 + 64); ++i)
                            if (static_cast<unsigned char>(p[i * rec]) & mask) word |= uint64_t(1) << (i & 63);
                        out[w] = word;
                    }
                }
                sums[th] += analog[0]->As<double>()[b];
            }
        });
    } else {
        // Lines are found in slices of the file, counted, then parsed with their row numbers;
        // the slices are dealt to the threads in turn.
        const unsigned parts = threads * 4;
        std::vector<size_t> begin(parts + 1), rows(parts + 1, 0);
        for (unsigned p = 0; p <= parts; ++p) {
            size_t at = size * p / parts;
            while (at > 0 && at < size && d[at - 1] != '\n') ++at;
            begin[p] = at;
        }
        OnThreads(threads, [&](unsigned th) {
            for (unsigned p = th; p < parts; p += threads) {
                size_t c = 0;
                for (const char* q = d + begin[p]; (q = static_cast<const char*>(memchr(q, '\n', size_t(d + begin[p + 1] - q))));
                     ++q)
                    ++c;
                rows[p + 1] = c;
            }
        });
        for (unsigned p = 1; p <= parts; ++p) rows[p] += rows[p - 1];
        // A status word that a slice shares with its neighbours is kept aside and merged after.
        std::vector<uint64_t> edges(size_t(parts) * 2 * kStatus, 0);
        OnThreads(threads, [&](unsigned th) {
            for (unsigned p = th; p < parts; p += threads) {
                const char* q = d + begin[p];
                const char* end = d + begin[p + 1];
                const size_t first = rows[p], last = std::min(n, rows[p + 1]);
                uint64_t words[kStatus] = {};
                size_t word = first >> 6;
                auto flush = [&] {
                    for (int j = 0; j < kStatus; ++j) {
                        if (word * 64 < first) edges[(size_t(p) * 2) * kStatus + size_t(j)] = words[j];
                        else if (word * 64 + 64 > last) edges[(size_t(p) * 2 + 1) * kStatus + size_t(j)] = words[j];
                        else status[size_t(j)]->As<uint64_t>()[word] = words[j];
                        words[j] = 0;
                    }
                };
                for (size_t row = first; q < end && row < last; ++row) {
                    if ((row >> 6) != word) {
                        flush();
                        word = row >> 6;
                    }
                    auto field = [&](auto& v) {
                        while (*q == ' ') ++q;
                        q = std::from_chars(q, end, v).ptr;
                        if (*q == ',') ++q;
                    };
                    int64_t number = 0, stamp = 0;
                    field(number);
                    field(stamp);
                    times.As<int64_t>()[row] = stamp;
                    for (int k = 0; k < kAnalog; ++k) {
                        double x = 0;
                        field(x);
                        analog[size_t(k)]->As<double>()[row] = scale * x + offset;
                    }
                    for (int j = 0; j < kStatus; ++j) {
                        int bit = 0;
                        field(bit);
                        if (bit) words[j] |= uint64_t(1) << (row & 63);
                    }
                    while (q < end && *q != '\n') ++q;
                    ++q;
                }
                if (last > first) flush();
                sums[th] += analog[0]->As<double>()[first];
            }
        });
        for (unsigned p = 0; p < parts; ++p) {
            if (std::min(n, rows[p + 1]) <= rows[p]) continue;
            const size_t firstWord = rows[p] >> 6, lastWord = (std::min(n, rows[p + 1]) + 63) / 64 - 1;
            for (int j = 0; j < kStatus; ++j) {
                uint64_t* out = status[size_t(j)]->As<uint64_t>();
                out[firstWord] |= edges[(size_t(p) * 2) * kStatus + size_t(j)];
                out[lastWord] |= edges[(size_t(p) * 2 + 1) * kStatus + size_t(j)];
            }
        }
    }
    munmap(m, size);
    for (double s : sums) r.checksum += s;
    r.seconds = Now() - t0;
    return r;
}

}  // namespace bench
