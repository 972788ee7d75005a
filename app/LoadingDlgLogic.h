#pragma once
// The loading dialog's decisions, apart from its window. The window reports four events (its
// window exists, the worker finished, the user cancelled, the timer ticked) and carries out
// the answers. The worker may finish before the window exists, while it is up, or while a
// cancel is under way; every order ends the dialog exactly once.
#include "platform/LoadProgress.h"

class LoadingDlgLogic {
public:
    enum class Action { None, StartTimer, Close };

    explicit LoadingDlgLogic(platform::LoadProgress& progress) : m_progress(progress) {}

    // The window exists: close at once when the work has already ended, else start polling.
    Action OnShown();
    // The worker called Finish(); delivered on the user-interface thread.
    Action OnWorkerFinished();
    // Cancel button, Escape or the window's close box: the dialog ends, then the cancel flag is
    // set, so the loaders stop at their next line or record.
    Action OnCancel();
    // The progress position for the timer tick.
    int Position() const { return m_progress.Percent(); }

    bool IsClosed() const { return m_closed; }
    bool WasCancelled() const { return m_cancelled; }

private:
    platform::LoadProgress& m_progress;
    bool m_shown = false;
    bool m_closed = false;
    bool m_cancelled = false;
};
