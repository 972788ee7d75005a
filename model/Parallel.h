#pragma once
// Splits an index range over the machine's cores. Used where a large record is read or
// recalculated: the work items are independent and each writes only its own slice.
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <thread>
#include <vector>

namespace tv {

inline unsigned WorkerCount() {
    unsigned n = std::thread::hardware_concurrency();
    return std::clamp(n, 1u, 16u);
}

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
