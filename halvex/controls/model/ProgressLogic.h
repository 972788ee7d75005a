#pragma once
// The progress bar's position set without its animation lag, and what the progress dialogs
// share with the worker that drives them.
#include <atomic>
#include <mutex>

#include "platform/CString.h"

namespace halvex {

class ProgressBarControl {
public:
    virtual ~ProgressBarControl() = default;
    virtual void GetRange(int& low, int& high) const = 0;
    virtual void SetRange(int low, int high) = 0;
    virtual int GetPos() const = 0;
    virtual void SetPos(int pos) = 0;
};

// A bar animates towards a higher position but jumps to a lower one: stepping one past the
// wanted place and back shows it at once. A position at or above the top fills the bar.
void SetProgressPosAtOnce(ProgressBarControl& bar, int pos);

// What a worker writes and the dialog's timer reads: the position, the two texts, and the
// break flag the worker polls. Texts are copied under a lock; numbers and flags are atomic.
class ProgressShared {
public:
    std::atomic<int> position{0};
    std::atomic<bool> cancel{false};
    std::atomic<bool> closeRequested{false};

    void SetText(const CString& text);
    void SetStepOrderText(const CString& text);
    // The texts changed since the last call, each with a flag saying whether it changed.
    bool TakeTexts(CString* text, bool* textChanged, CString* stepText, bool* stepChanged);

private:
    std::mutex m_lock;
    CString m_text, m_stepText;
    bool m_textChanged = false, m_stepChanged = false;
};

}  // namespace halvex
