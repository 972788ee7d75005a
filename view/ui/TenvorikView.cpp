#include "view/ui/TenvorikView.h"

#include <wx/dcbuffer.h>
#include <wx/dnd.h>
#include <wx/docmdi.h>
#include <wx/settings.h>

#include "app/TenvorikApp.h"
#include "app/TenvorikDocument.h"
#include "model/Channel.h"
#include "model/TenvorikDoc.h"
#include "platform/ui/WxUiServices.h"

namespace {

class ViewDropTarget : public wxFileDropTarget {
public:
    bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& files) override {
        for (const wxString& f : files) wxGetApp().CallAfter([f] { wxGetApp().OpenRecord(f); });
        return true;
    }
};

}  // namespace

wxIMPLEMENT_DYNAMIC_CLASS(CTenvorikView, wxView);

bool CTenvorikView::OnCreate(wxDocument* doc, long flags) {
    if (!wxView::OnCreate(doc, flags)) return false;
    auto* parent = wxStaticCast(wxGetApp().GetTopWindow(), wxDocMDIParentFrame);
    auto* frame = new wxDocMDIChildFrame(doc, this, parent, wxID_ANY, doc->GetUserReadableName());
    m_canvas = new wxWindow(frame, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxFULL_REPAINT_ON_RESIZE);
    m_canvas->SetBackgroundStyle(wxBG_STYLE_PAINT);
    m_canvas->Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
        wxAutoBufferedPaintDC dc(m_canvas);
        OnDraw(&dc);
    });
    m_canvas->SetDropTarget(new ViewDropTarget);
    SetFrame(frame);
    frame->Show(true);
    return true;
}

void CTenvorikView::OnDraw(wxDC* dc) {
    const wxSize size = m_canvas->GetClientSize();
    dc->SetBackground(*wxWHITE_BRUSH);
    dc->Clear();
    auto* doc = dynamic_cast<TenvorikDocument*>(GetDocument());
    // While the loading thread fills the record, nothing of it may be read.
    if (!doc || doc->IsLoading()) return;
    dc->SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
    dc->SetTextForeground(*wxBLACK);
    const int lineHeight = dc->GetCharHeight() + 4;
    int y = 4;
    for (const CChannel& ch : doc->Model().GetOscillogram().m_channels) {
        if (y > size.y) break;
        if (!(ch.m_flags & CHF_VISIBLE)) continue;
        dc->DrawText(platform::ToWx(ch.GetName()), 8, y);
        y += lineHeight;
    }
}

void CTenvorikView::OnUpdate(wxView*, wxObject*) {
    if (m_canvas) m_canvas->Refresh(false);
}

bool CTenvorikView::OnClose(bool deleteWindow) {
    if (!wxView::OnClose(deleteWindow)) return false;
    Activate(false);
    return true;
}
