#include "halvex/controls/Ai_Static.h"

#include <wx/dcclient.h>
#include <wx/graphics.h>
#include <wx/settings.h>

#include "platform/draw/DeviceContext.h"
#include "platform/ui/WxUiServices.h"

namespace halvex {

namespace {
wxColour ToColour(COLORREF c) { return wxColour(GetRValue(c), GetGValue(c), GetBValue(c)); }

// Runs `paint` with a context over the window's client area.
template <typename Fn>
void PaintThrough(wxWindow* w, Fn paint) {
    wxPaintDC dc(w);
    const wxSize size = w->GetClientSize();
    if (size.x <= 0 || size.y <= 0) return;
    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
    auto* cr = gc ? static_cast<cairo_t*>(gc->GetNativeContext()) : nullptr;
    if (!cr) return;
    CDC target;
    target.Attach(cr, size.x, size.y);
    paint(&target, CRect(0, 0, size.x, size.y));
    target.Detach();
}
}  // namespace

CAi_Static::CAi_Static(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxWindow(parent, id, pos, size, wxFULL_REPAINT_ON_RESIZE) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CAi_Static::OnPaint, this);
}

void CAi_Static::OnPaint(wxPaintEvent&) {
    PaintThrough(this, [this](CDC* dc, const CRect& r) {
        PaintGradient(dc, r);
        OnPaintAfter(dc);
    });
}

CAi_Dialog::CAi_Dialog(wxWindow* parent, wxWindowID id, const wxString& title, const wxPoint& pos, const wxSize& size,
                       long style)
    : wxDialog(parent, id, title, pos, size, style | wxFULL_REPAINT_ON_RESIZE) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CAi_Dialog::OnPaint, this);
}

void CAi_Dialog::OnPaint(wxPaintEvent&) {
    PaintThrough(this, [this](CDC* dc, const CRect& r) {
        PaintGradient(dc, r);
        OnPaintAfter(dc);
    });
}

namespace {
COLORREF FromColour(const wxColour& c) { return RGB(c.Red(), c.Green(), c.Blue()); }
}  // namespace

CAi_ColorStatic::CAi_ColorStatic(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos,
                                 const wxSize& size, long style)
    : wxStaticText(parent, id, label, pos, size, style) {
    m_sys = FromColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
    m_bk = m_sys;
}

void CAi_ColorStatic::SetBkColor(COLORREF color) {
    m_bk = color;
    SetBackgroundColour(ToColour(color));
    Refresh();
    Update();
}

void CAi_ColorStatic::SetTextColor(COLORREF color) {
    m_text = color;
    SetForegroundColour(ToColour(color));
    Refresh();
    Update();
}

CAi_StatusBar::CAi_StatusBar(wxWindow* parent, wxWindowID id, long style) : wxStatusBar(parent, id, style) {
    Bind(wxEVT_SIZE, [this](wxSizeEvent& e) {
        e.Skip();
        Place();
    });
}

void CAi_StatusBar::SetPaneDraw(int pane, const CBitmap& first, const CBitmap& second) {
    if (pane < 0) return;
    m_pane = pane;
    m_enabled = true;
    m_first = first;
    m_second = second;
    if (!m_picture) {
        // The pane's picture is a child window over it, painted through the drawing layer.
        m_picture = new wxWindow(this, wxID_ANY);
        m_picture->SetBackgroundStyle(wxBG_STYLE_PAINT);
        m_picture->Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
            PaintThrough(m_picture, [this](CDC* dc, const CRect& r) {
                dc->FillSolidRect(&r, FromColour(GetBackgroundColour()));
                if (m_enabled) DrawStatusPane(dc, r, m_mode, &m_first, &m_second);
            });
        });
    }
    Place();
}

void CAi_StatusBar::SetDrawMode(DRAW_MODE mode) {
    m_mode = mode;
    if (m_picture) m_picture->Refresh(false);
    Refresh(false);
}

void CAi_StatusBar::Place() {
    if (!m_picture) return;
    wxRect r;
    if (m_pane < GetFieldsCount() && GetFieldRect(m_pane, r)) {
        m_picture->SetSize(r.Deflate(1));
        m_picture->Show();
    } else {
        m_picture->Hide();
    }
}

CAi_ToolTip::~CAi_ToolTip() { Hide(); }

int CAi_ToolTip::AddIcon(const CBitmap& icon) {
    m_icons.push_back(icon);
    return int(m_icons.size()) - 1;
}

bool CAi_ToolTip::OnShow(wxWindow* control) {
    if (m_map.empty() || !control) return false;
    auto it = m_map.find(control->GetId());
    if (it == m_map.end()) return false;
    m_found = &it->second;
    m_showing = it->first;
    Hide();
    m_popup = new wxPopupWindow(control->GetParent() ? control->GetParent() : control);
    const bool icon = m_found->icon >= 0 && m_found->icon < int(m_icons.size());
    m_popup->SetBackgroundStyle(wxBG_STYLE_PAINT);
    m_popup->Bind(wxEVT_PAINT, [this, icon](wxPaintEvent&) {
        PaintThrough(m_popup, [this, icon](CDC* dc, const CRect& r) {
            dc->FillSolidRect(&r, RGB(255, 255, 225));
            CRect iconRect(4, 4, 4 + 32, 4 + 32);
            if (icon) OnDrawIcon(dc, iconRect);
            CRect text(icon ? 42 : 6, 4, r.right - 4, r.bottom - 4);
            dc->SetTextColor(RGB(0, 0, 0));
            dc->SetBkMode(TRANSPARENT);
            dc->DrawText(m_found->description, &text, DT_LEFT | DT_NOPREFIX);
        });
    });
    CScreenDC measure;
    CRect calc(0, 0, 400, 0);
    measure.DrawText(m_found->description, &calc, DT_LEFT | DT_CALCRECT | DT_NOPREFIX);
    m_popup->SetSize(calc.Width() + (icon ? 50 : 14), std::max(calc.Height(), icon ? 32 : 0) + 10);
    m_popup->Position(wxGetMousePosition(), wxSize(0, 20));
    m_popup->Show();
    return true;
}

void CAi_ToolTip::Hide() {
    if (m_popup) m_popup->Destroy();
    m_popup = nullptr;
}

bool CAi_ToolTip::OnDrawIcon(CDC* dc, const CRect& rect) const {
    if (!m_found || m_found->icon < 0 || m_found->icon >= int(m_icons.size()) || !dc) return false;
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap copy(m_icons[size_t(m_found->icon)]);
    CBitmap* old = memory.SelectObject(&copy);
    dc->BitBlt(rect.left, rect.top, rect.Width(), rect.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
    return true;
}

}  // namespace halvex
