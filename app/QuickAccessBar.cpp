#include "app/QuickAccessBar.h"

#include <wx/dcbuffer.h>
#include <wx/ribbon/art.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/page.h>

#include "app/CommandTable.h"
#include "app/RibbonArt.h"
#include "model/Resources.h"
#include "platform/ui/WxUiServices.h"

namespace {

constexpr int kIcon = 16;
constexpr int kCell = 22;

}  // namespace

QuickAccessBar::QuickAccessBar(wxRibbonBar* ribbon, wxWindow* target)
    : wxWindow(ribbon, wxID_ANY, wxDefaultPosition, wxSize(3 * kCell + 4, kCell), wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE),
      m_ribbon(ribbon),
      m_target(target),
      m_buttons{{commands::kOpen, 263, int(commands::Icon::Open)},
                {commands::kSave, 264, int(commands::Icon::Save)},
                {commands::ID_FILE_PRINT, 266, int(commands::Icon::Print)}} {
    SetName(wxS("quickaccess"));
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &QuickAccessBar::OnPaint, this);
    for (const auto& type : {wxEVT_MOTION, wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_LEAVE_WINDOW})
        Bind(type, &QuickAccessBar::OnMouse, this);
    // Save is grey for a record that cannot be saved: the states follow the frame's own rules.
    m_states.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { RefreshStates(); });
    m_states.Start(300);
}

wxRect QuickAccessBar::ButtonRect(size_t index) const {
    const int h = GetClientSize().y;
    return wxRect(2 + int(index) * kCell, (h - kCell) / 2, kCell, kCell);
}

int QuickAccessBar::ButtonAt(const wxPoint& p) const {
    for (size_t i = 0; i < m_buttons.size(); ++i)
        if (ButtonRect(i).Contains(p)) return int(i);
    return -1;
}

void QuickAccessBar::Place() {
    // The tab row ends where the first page begins.
    int rowHeight = kCell + 2;
    if (m_ribbon->GetPageCount() > 0) rowHeight = std::max(m_ribbon->GetPage(0)->GetPosition().y, kCell);
    const int width = int(m_buttons.size()) * kCell + 8;
    SetSize(0, 0, width, rowHeight);
    Raise();
    Refresh(false);
}

void QuickAccessBar::RefreshStates() {
    if (!m_target || !IsShownOnScreen()) return;
    bool changed = false;
    for (Button& b : m_buttons) {
        wxUpdateUIEvent ui(commands::MenuId(b.id));
        ui.SetEventObject(this);
        m_target->GetEventHandler()->ProcessEvent(ui);
        const bool enabled = !ui.GetSetEnabled() || ui.GetEnabled();
        changed |= enabled != b.enabled;
        b.enabled = enabled;
    }
    if (changed) Refresh(false);
}

void QuickAccessBar::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    wxRibbonArtProvider* art = m_ribbon->GetArtProvider();
    const wxColour back = art ? art->GetColour(wxRIBBON_ART_TAB_CTRL_BACKGROUND_COLOUR) : GetParent()->GetBackgroundColour();
    dc.SetBackground(wxBrush(back));
    dc.Clear();
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        const wxRect r = ButtonRect(i);
        const Button& b = m_buttons[i];
        if (b.enabled && int(i) == m_hot) {
            const wxColour hover = art ? art->GetColour(wxRIBBON_ART_TAB_HOVER_BACKGROUND_COLOUR) : *wxWHITE;
            dc.SetPen(wxPen(hover.ChangeLightness(80)));
            dc.SetBrush(wxBrush(int(i) == m_pressed ? hover.ChangeLightness(85) : hover));
            dc.DrawRoundedRectangle(r, 2);
        }
        wxBitmap icon = RibbonIcon(commands::Icon(b.icon), kIcon);
        if (!b.enabled) icon = wxBitmap(icon.ConvertToImage().ConvertToDisabled());
        dc.DrawBitmap(icon, r.x + (r.width - kIcon) / 2, r.y + (r.height - kIcon) / 2, true);
    }
}

void QuickAccessBar::OnMouse(wxMouseEvent& event) {
    const int at = event.Leaving() ? -1 : ButtonAt(event.GetPosition());
    if (at != m_hot) {
        m_hot = at;
        SetToolTip(at < 0 ? wxString() : wxStripMenuCodes(platform::ToWx(LoadResString(m_buttons[size_t(at)].text))));
        Refresh(false);
    }
    if (event.LeftDown()) {
        m_pressed = at;
        Refresh(false);
    } else if (event.LeftUp()) {
        const int pressed = m_pressed;
        m_pressed = -1;
        Refresh(false);
        if (pressed >= 0 && pressed == at && m_buttons[size_t(at)].enabled && m_target) {
            // Queued, as a menu's command is: a dialog it opens must not run inside this handler.
            wxCommandEvent cmd(wxEVT_MENU, commands::MenuId(m_buttons[size_t(at)].id));
            cmd.SetEventObject(m_target);
            m_target->GetEventHandler()->AddPendingEvent(cmd);
        }
    }
}
