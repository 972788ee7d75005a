#pragma once
// One printout or preview of the oscillogram view as the printing framework drives it: laid
// out once, then its pages drawn in any order and as often as they are asked for.
#include "platform/CString.h"
#include "platform/draw/DeviceContext.h"
#include "view/TenvorikView.h"

namespace oscview {

class PrintSession {
public:
    PrintSession(CTenvorikView& view, bool preview) : m_view(view) { m_job.preview = preview; }
    PrintSession(const PrintSession&) = delete;
    PrintSession& operator=(const PrintSession&) = delete;

    // Lays the pages out on `dc`; false, with the reason in Refusal(), when nothing can be
    // printed.
    bool Prepare(CDC* dc, const PrintMargins& margins, int screenDpi);
    bool IsPrepared() const { return m_prepared; }
    bool IsReady() const { return m_ready; }
    int PageCount() const { return m_ready ? m_view.GetPrintPageCount() : 0; }
    bool HasPage(int page) const { return page >= 1 && page <= PageCount(); }
    // Draws page `page` (from 1) on `dc`. The view's paper layout is taken again when the
    // printout was ended since: a preview ends it after every page it draws, and draws pages
    // again when the user turns back or zooms.
    bool PrintPage(CDC* dc, int page, PrintHost* host);
    // Gives the view its screen layout back; the pages can still be drawn afterwards.
    void End();
    const CString& Refusal() const { return m_refusal; }
    const PrintJob& Job() const { return m_job; }

private:
    CTenvorikView& m_view;
    PrintJob m_job;
    CString m_refusal;
    bool m_prepared = false;
    bool m_ready = false;
    bool m_laidOut = false;  // the view holds this printout's paper layout
};

}  // namespace oscview
