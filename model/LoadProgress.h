#pragma once
// Progress of a long model operation (loading, recalculating) shared between the worker that
// does it and the user-interface thread that shows it and may cancel it. Each field is written
// by one side and read by the other, so each is atomic; no lock is needed. The counters, the
// cancel flag and the end of the work are the platform's (what the loading dialog watches);
// the model adds the per-sample step of the recalculation.
#include <atomic>
#include <cstdint>

#include "platform/LoadProgress.h"

struct LoadProgress : platform::LoadProgress {
    std::atomic<int32_t> step{0};    // units added to `done` per recalculated sample

    void Add(uint64_t units) {
        if (units) done.fetch_add(uint32_t(units), std::memory_order_relaxed);
    }
    bool Cancelled() const { return IsCancelled(); }
    void Reset() {
        platform::LoadProgress::Reset();
        step = 0;
    }
};
