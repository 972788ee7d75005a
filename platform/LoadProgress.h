#pragma once
// Progress of a long load, shared by the loading thread and the modal loading dialog. The
// worker writes the counters and ends with Finish(); the dialog reads the counters, sets the
// cancel flag, and learns of the end through the finish listener. Every shared value is an
// atomic, so neither side needs a lock to read it.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

namespace platform {

class LoadProgress {
public:
    std::atomic<uint32_t> done{0};
    std::atomic<uint32_t> total{0};
    std::atomic<uint32_t> cancel{0};

    // Before a load starts: counters and flags back to zero.
    void Reset();

    // Worker: the work has ended (successfully or not). Wakes the listener and WaitFinished.
    void Finish();
    bool IsFinished() const { return m_finished.load(); }
    // Blocks until Finish() was called.
    void WaitFinished();

    // The dialog's side: `fn` runs on the worker's thread when Finish() is called; it must only
    // queue work for the user-interface thread. Cleared with an empty function; clearing waits
    // until a listener that is running has returned, so its owner may then go away.
    void SetFinishListener(std::function<void()> fn);

    bool IsCancelled() const { return cancel.load() != 0; }

    // done × 100 / total in 64-bit arithmetic, 0 when total is 0, at most 100.
    static int Percent(uint64_t done, uint64_t total);
    int Percent() const { return Percent(done.load(), total.load()); }

private:
    std::atomic<bool> m_finished{false};
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::function<void()> m_listener;
};

}  // namespace platform
