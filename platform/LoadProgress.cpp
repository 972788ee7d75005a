#include "platform/LoadProgress.h"

namespace platform {

void LoadProgress::Reset() {
    std::lock_guard<std::mutex> lock(m_mutex);
    done = 0;
    total = 0;
    cancel = 0;
    m_finished = false;
}

void LoadProgress::Finish() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_finished = true;
    m_cv.notify_all();
    if (m_listener) m_listener();
}

void LoadProgress::WaitFinished() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_cv.wait(lock, [this] { return m_finished.load(); });
}

void LoadProgress::SetFinishListener(std::function<void()> fn) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_listener = std::move(fn);
}

int LoadProgress::Percent(uint64_t done, uint64_t total) {
    if (total == 0) return 0;
    uint64_t p = done * 100 / total;
    return p > 100 ? 100 : int(p);
}

}  // namespace platform
