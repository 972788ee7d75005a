#pragma once
// Splits an index range over the cores the process may run on. Used where a large record is
// read or recalculated: the work items are independent and each writes only its own slice.
#include <sched.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstddef>
#include <exception>
#include <thread>
#include <vector>

namespace tv {

// The processors this thread may run on: a process started under `taskset` or in a container
// with a CPU limit gets fewer than the machine has, and more workers than that only take turns.
inline unsigned AllowedProcessors() {
    // A mask larger than the default set, for machines with more than 1024 processors.
    for (int size = CPU_SETSIZE; size <= (1 << 16); size *= 2) {
        cpu_set_t* set = CPU_ALLOC(size_t(size));
        if (!set) break;
        const size_t bytes = CPU_ALLOC_SIZE(size_t(size));
        CPU_ZERO_S(bytes, set);
        const int got = sched_getaffinity(0, bytes, set);
        const int error = errno;
        const int count = got == 0 ? CPU_COUNT_S(bytes, set) : 0;
        CPU_FREE(set);
        if (got == 0) return unsigned(std::max(count, 1));
        if (error != EINVAL) break;
    }
    return std::max(1u, std::thread::hardware_concurrency());
}

// Asked each time: the mask may change while the program runs.
inline unsigned WorkerCount() { return std::clamp(AllowedProcessors(), 1u, 16u); }

// Calls fn(part, begin, end) for `parts` consecutive slices of [0, count), in parallel.
// The first exception thrown by any slice is rethrown after all have ended.
template <class Fn>
void ParallelSlices(size_t count, unsigned parts, Fn&& fn) {
    if (parts <= 1 || count < 2) {
        fn(0u, size_t(0), count);
        return;
    }
    parts = unsigned(std::min<size_t>(parts, count));
    std::vector<std::thread> threads;
    std::vector<std::exception_ptr> errors(parts);
    for (unsigned p = 0; p < parts; ++p) {
        size_t b = count * p / parts, e = count * (p + 1) / parts;
        auto run = [&, p, b, e] {
            try {
                fn(p, b, e);
            } catch (...) {
                errors[p] = std::current_exception();
            }
        };
        if (p + 1 == parts) {
            run();
            continue;
        }
        // A thread that cannot start (short of memory) leaves its slice to this one.
        try {
            threads.emplace_back(run);
        } catch (...) {
            run();
        }
    }
    for (auto& t : threads) t.join();
    for (auto& e : errors)
        if (e) std::rethrow_exception(e);
}

// Calls fn(i) for every i of [0, count), each worker taking the next index as it gets
// free, so that items of unequal cost still spread evenly.
template <class Fn>
void ParallelFor(size_t count, Fn&& fn) {
    std::atomic<size_t> next{0};
    ParallelSlices(std::min<size_t>(count, WorkerCount()), WorkerCount(), [&](unsigned, size_t, size_t) {
        for (size_t i = next.fetch_add(1); i < count; i = next.fetch_add(1)) fn(i);
    });
}

}  // namespace tv
