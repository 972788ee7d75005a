// The workers of a large record's read and recalculation: as many as the processors the program
// may run on, which a `taskset` or a container's CPU set makes fewer than the machine has.
#include <gtest/gtest.h>

#include <sched.h>

#include <algorithm>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "model/Parallel.h"

namespace {

std::vector<int> AllowedCpus() {
    cpu_set_t set;
    CPU_ZERO(&set);
    std::vector<int> cpus;
    if (sched_getaffinity(0, sizeof set, &set) != 0) return cpus;
    for (int c = 0; c < CPU_SETSIZE; ++c)
        if (CPU_ISSET(c, &set)) cpus.push_back(c);
    return cpus;
}

// Runs `check` on a thread of its own restricted to the first `count` allowed processors, so
// that the test's own mask stays as it was.
template <class Check>
void OnRestrictedThread(size_t count, Check&& check) {
    const std::vector<int> allowed = AllowedCpus();
    ASSERT_GE(allowed.size(), count);
    std::thread t([&] {
        cpu_set_t set;
        CPU_ZERO(&set);
        for (size_t k = 0; k < count; ++k) CPU_SET(allowed[k], &set);
        ASSERT_EQ(sched_setaffinity(0, sizeof set, &set), 0);
        check();
    });
    t.join();
}

}  // namespace

TEST(Parallel, WorkersAreThoseOfTheProcessorsTheProgramMayRunOn) {
    const size_t allowed = AllowedCpus().size();
    ASSERT_GT(allowed, 0u);
    EXPECT_EQ(tv::WorkerCount(), std::min<size_t>(allowed, 16));
    for (size_t count : {size_t(1), size_t(2), size_t(3)}) {
        if (count > allowed) break;
        SCOPED_TRACE(count);
        OnRestrictedThread(count, [&] {
            EXPECT_EQ(tv::AllowedProcessors(), count);
            EXPECT_EQ(tv::WorkerCount(), count);
        });
    }
}

TEST(Parallel, OneAllowedProcessorRunsEveryItemOnTheCallingThread) {
    OnRestrictedThread(1, [] {
        std::mutex m;
        std::set<std::thread::id> threads;
        std::vector<int> done(1000, 0);
        tv::ParallelFor(done.size(), [&](size_t i) {
            std::lock_guard<std::mutex> lock(m);
            threads.insert(std::this_thread::get_id());
            ++done[i];
        });
        EXPECT_EQ(threads, std::set<std::thread::id>{std::this_thread::get_id()});
        EXPECT_EQ(std::count(done.begin(), done.end(), 1), 1000);
    });
}

TEST(Parallel, WorkersKeepToTheProcessorsTheCallerMayRunOn) {
    if (AllowedCpus().size() < 2) GTEST_SKIP() << "one processor";
    const std::vector<int> allowed = AllowedCpus();
    OnRestrictedThread(2, [&] {
        std::mutex m;
        std::set<std::thread::id> threads;
        std::set<int> cpus;
        tv::ParallelSlices(64, tv::WorkerCount(), [&](unsigned, size_t, size_t) {
            std::lock_guard<std::mutex> lock(m);
            threads.insert(std::this_thread::get_id());
            cpus.insert(sched_getcpu());
        });
        EXPECT_LE(threads.size(), 2u);
        for (int c : cpus) EXPECT_TRUE(c == allowed[0] || c == allowed[1]) << c;
    });
}
