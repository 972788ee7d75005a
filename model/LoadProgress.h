#pragma once
// Progress of a long model operation (loading, recalculating) shared between the worker that
// does it and the user-interface thread that shows it and may cancel it. Each field is written
// by one side and read by the other, so each is atomic; no lock is needed.
#include <atomic>
#include <cstdint>

struct LoadProgress {
    std::atomic<uint32_t> done{0};   // units of work finished
    std::atomic<uint32_t> total{0};  // units of work expected; 0 while unknown
    std::atomic<int32_t> step{0};    // units added to `done` per recalculated sample
    std::atomic<bool> cancel{false};

    // Percentage for a progress bar: done * 100 / total, 0 while total is 0.
    int Percent() const {
        uint32_t t = total.load(std::memory_order_relaxed);
        if (t == 0) return 0;
        uint64_t p = uint64_t(done.load(std::memory_order_relaxed)) * 100 / t;
        return p > 100 ? 100 : int(p);
    }
    void Add(uint64_t units) {
        if (units) done.fetch_add(uint32_t(units), std::memory_order_relaxed);
    }
    bool Cancelled() const { return cancel.load(std::memory_order_relaxed); }
    void Reset() {
        done = 0;
        total = 0;
        step = 0;
        cancel = false;
    }
};
