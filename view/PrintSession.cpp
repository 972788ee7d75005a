#include "view/PrintSession.h"

namespace oscview {

bool PrintSession::Prepare(CDC* dc, const PrintMargins& margins, int screenDpi) {
    End();
    m_refusal.Empty();
    m_job.margins = margins;
    m_job.screenDpi = screenDpi > 0 ? screenDpi : 96;
    m_prepared = true;
    m_ready = dc && m_view.OnBeginPrinting(dc, m_job, &m_refusal);
    m_laidOut = m_ready;
    return m_ready;
}

bool PrintSession::PrintPage(CDC* dc, int page, PrintHost* host) {
    if (!m_ready || !dc) return false;
    if (!m_laidOut) {
        CString why;
        if (!m_view.OnBeginPrinting(dc, m_job, &why)) return false;
        m_laidOut = true;
    }
    m_view.OnPrint(dc, page, m_job, host);
    return true;
}

void PrintSession::End() {
    if (!m_laidOut) return;
    m_view.OnEndPrinting();
    m_laidOut = false;
}

}  // namespace oscview
