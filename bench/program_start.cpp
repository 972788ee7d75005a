// From starting the program on a large record to the record's curves on screen: the built
// program is started on the BINARY record of BenchFloor.h (32 analog and 64 status channels,
// 1,000,000 samples, 80 MB of data) as a user starts it with a record on the command line, and
// tells when it has first painted the record's curves (TENVORIK_SMOKE_PAINTED: a line
// "curves painted <ns>" on its standard error, on the machine's monotonic clock), then closes.
// The record is in the page cache (a run before the measured ones), the program's profile and
// instance socket are kept in a folder of the benchmark's own. Reports the best and the median
// start against the floor (BenchFloor.h) measured between the runs.
//
// The program needs a display: the one named by DISPLAY, else an Xvfb of the benchmark's own;
// without either the benchmark says so and measures nothing.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchFloor.h"

extern char** environ;

namespace {

constexpr size_t kSamples = 1000000;
constexpr int kRuns = 7;

bench::Cleanup cleanup;

// The program beside the benchmarks: <build>/bench/bench_program_start, <build>/bin/Tenvorik.
std::string ProgramPath() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return (self.parent_path().parent_path() / "bin" / "Tenvorik").string();
}

struct Child {
    pid_t pid = -1;
    int out = -1;  // the read end of the pipe its chosen descriptor writes to
};

// Starts `argv` with `env`; `fd` of the child (1, 2 or 3) writes to a pipe this process reads,
// its other outputs go nowhere.
Child Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env, int fd) {
    Child c;
    int p[2];
    if (pipe2(p, O_CLOEXEC) != 0) return c;
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
    for (int k : {1, 2})
        if (k != fd) posix_spawn_file_actions_addopen(&fa, k, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&fa, p[1], fd);
    std::vector<char*> a, e;
    for (const auto& s : argv) a.push_back(const_cast<char*>(s.c_str()));
    a.push_back(nullptr);
    for (const auto& s : env) e.push_back(const_cast<char*>(s.c_str()));
    e.push_back(nullptr);
    const int rc = posix_spawn(&c.pid, a[0], &fa, nullptr, a.data(), e.data());
    posix_spawn_file_actions_destroy(&fa);
    close(p[1]);
    if (rc != 0) {
        close(p[0]);
        c.pid = -1;
        return c;
    }
    c.out = p[0];
    return c;
}

// Reads from `fd` until `done` answers true for what has come, the writer closes it, or
// `seconds` pass; returns whether `done` answered true.
template <class F>
bool ReadUntil(int fd, double seconds, std::string& text, F&& done) {
    const double end = bench::Now() + seconds;
    for (;;) {
        if (done(text)) return true;
        const double left = end - bench::Now();
        if (left <= 0) return false;
        pollfd pfd{fd, POLLIN, 0};
        if (poll(&pfd, 1, int(left * 1000) + 1) <= 0) continue;
        char buf[4096];
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0) return done(text);
        text.append(buf, size_t(n));
    }
}

void Stop(Child& c) {
    if (c.out >= 0) close(c.out);
    c.out = -1;
    if (c.pid <= 0) return;
    // Waits for it to end by itself a while, then ends it.
    for (int k = 0; k < 200; ++k) {
        if (waitpid(c.pid, nullptr, WNOHANG) == c.pid) {
            c.pid = -1;
            return;
        }
        usleep(50000);
    }
    kill(c.pid, SIGKILL);
    waitpid(c.pid, nullptr, 0);
    c.pid = -1;
}

// The display the program is shown on: DISPLAY, or an Xvfb started here and stopped with it.
class Display {
public:
    Display() {
        if (const char* d = std::getenv("DISPLAY"); d && *d) {
            m_name = d;
            return;
        }
        if (access("/usr/bin/Xvfb", X_OK) != 0) {
            m_why = "no display: DISPLAY is not set and /usr/bin/Xvfb is not installed";
            return;
        }
        // Xvfb picks a free display and writes its number to descriptor 3.
        m_server = Spawn({"/usr/bin/Xvfb", "-displayfd", "3", "-screen", "0", "1920x1080x24", "-nolisten", "tcp"},
                         Environment({}), 3);
        std::string text;
        if (m_server.pid > 0 && ReadUntil(m_server.out, 20, text, [](const std::string& t) { return t.find('\n') != std::string::npos; }))
            m_name = ":" + text.substr(0, text.find('\n'));
        else
            m_why = "no display: DISPLAY is not set and Xvfb did not start";
    }
    ~Display() {
        if (m_server.pid > 0) kill(m_server.pid, SIGTERM);
        Stop(m_server);
    }
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    const std::string& Name() const { return m_name; }
    const std::string& Why() const { return m_why; }

    // This process's environment with `extra` ("NAME=value") replacing entries of the same name.
    static std::vector<std::string> Environment(const std::vector<std::string>& extra) {
        std::vector<std::string> env;
        auto name = [](const std::string& e) { return e.substr(0, e.find('=')); };
        for (char** e = environ; *e; ++e) {
            const std::string entry = *e;
            // Whatever smoke run this process was started in is none of the program's business.
            if (entry.rfind("TENVORIK_SMOKE", 0) == 0) continue;
            bool replaced = false;
            for (const auto& x : extra) replaced = replaced || name(x) == name(entry);
            if (!replaced) env.push_back(entry);
        }
        env.insert(env.end(), extra.begin(), extra.end());
        return env;
    }

private:
    std::string m_name, m_why;
    Child m_server;
};

// One start of the program on `cfg`; the seconds from its start to its first curves, or a
// negative number when it did not paint them.
double StartOnce(const std::string& program, const std::string& cfg, const std::vector<std::string>& env,
                 std::string& err) {
    const double t0 = bench::Now();
    Child c = Spawn({program, cfg}, env, 2);
    if (c.pid <= 0) {
        err = "the program did not start: " + program;
        return -1;
    }
    std::string text;
    const std::string mark = "curves painted ";
    const bool painted = ReadUntil(c.out, 120, text, [&](const std::string& t) {
        const size_t at = t.find(mark);
        return at != std::string::npos && t.find('\n', at) != std::string::npos;
    });
    double seconds = -1;
    if (painted) {
        const long long ns = std::atoll(text.c_str() + text.find(mark) + mark.size());
        seconds = double(ns) * 1e-9 - t0;
    } else {
        err = "the program did not tell that it painted the curves: " + text.substr(0, 2000);
        kill(c.pid, SIGTERM);
    }
    // It closes by itself once it has painted; what it writes until then is read and dropped.
    std::string rest;
    ReadUntil(c.out, 30, rest, [](const std::string&) { return false; });
    Stop(c);
    return seconds;
}

void BM_StartToCurves(benchmark::State& state) {
    const std::string program = ProgramPath();
    if (program.empty() || access(program.c_str(), X_OK) != 0) {
        state.SkipWithError(("the program is not built beside the benchmark: " + program).c_str());
        return;
    }
    Display display;
    if (display.Name().empty()) {
        std::fprintf(stderr, "bench_program_start: skipped, %s\n", display.Why().c_str());
        state.SkipWithError(display.Why().c_str());
        return;
    }
    const std::string cfg = bench::MakeRecord(false, kSamples);
    const std::string dat = bench::DatOf(cfg);
    // The program's profile, its instance socket and the desktop's list of recent files of its
    // own, so that no running program takes the record and nothing of the user's is read or
    // written.
    const std::string home = bench::Folder() + "/program";
    for (const char* d : {"/config", "/runtime", "/data"}) std::filesystem::create_directories(home + d);
    chmod((home + "/runtime").c_str(), 0700);
    const std::vector<std::string> env = Display::Environment(
        {"DISPLAY=" + display.Name(), "XDG_CONFIG_HOME=" + home + "/config", "XDG_RUNTIME_DIR=" + home + "/runtime",
         "XDG_DATA_HOME=" + home + "/data", "TENVORIK_SMOKE_PAINTED=1"});
    bench::Floor(dat, false, kSamples);  // the file into the page cache
    std::string err;
    // A first start, not measured: the program, its libraries and fonts into the page cache too.
    if (StartOnce(program, cfg, env, err) < 0) {
        state.SkipWithError(err.c_str());
        return;
    }
    std::vector<double> starts, floors;
    for (auto _ : state) {
        const double s = StartOnce(program, cfg, env, err);
        if (s < 0) {
            state.SkipWithError(err.c_str());
            return;
        }
        state.SetIterationTime(s);
        starts.push_back(s);
        // The floor between two starts, so that both meet the machine as it is.
        const bench::FloorResult f = bench::Floor(dat, false, kSamples);
        benchmark::DoNotOptimize(f.checksum);
        floors.push_back(f.seconds);
    }
    std::sort(starts.begin(), starts.end());
    const double best = starts.front(), median = starts[starts.size() / 2];
    const double floor = *std::min_element(floors.begin(), floors.end());
    state.counters["start_best_ms"] = best * 1e3;
    state.counters["start_median_ms"] = median * 1e3;
    state.counters["floor_ms"] = floor * 1e3;
    state.counters["best_per_floor"] = best / floor;
    state.counters["median_per_floor"] = median / floor;
}

}  // namespace

BENCHMARK(BM_StartToCurves)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kRuns);

BENCHMARK_MAIN();
