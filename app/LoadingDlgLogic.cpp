#include "app/LoadingDlgLogic.h"

LoadingDlgLogic::Action LoadingDlgLogic::OnShown() {
    if (m_closed || m_shown) return Action::None;
    m_shown = true;
    if (m_progress.IsFinished()) {
        m_closed = true;
        return Action::Close;
    }
    return Action::StartTimer;
}

LoadingDlgLogic::Action LoadingDlgLogic::OnWorkerFinished() {
    // Before the window exists the end is picked up by OnShown.
    if (!m_shown || m_closed) return Action::None;
    m_closed = true;
    return Action::Close;
}

LoadingDlgLogic::Action LoadingDlgLogic::OnCancel() {
    if (m_closed) return Action::None;
    m_closed = true;
    m_cancelled = true;
    m_progress.cancel = 1;
    return Action::Close;
}
