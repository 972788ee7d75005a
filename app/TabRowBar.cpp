#include "app/TabRowBar.h"

#include <wx/dcbuffer.h>
#include <wx/dcgraph.h>
#include <wx/menu.h>
#include <wx/ribbon/art.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/page.h>
#include <wx/settings.h>

#include <algorithm>

#include "app/CommandTable.h"
#include "model/Resources.h"
#include "platform/ui/WxUiServices.h"

namespace {

constexpr int kIcon = 16;
constexpr int kPad = 6;
constexpr int kArrow = 13;  // the part of an element that opens its menu
constexpr int kGap = 2;
constexpr unsigned kStyleText = 286, kStyleTip = 287, kStyleDescription = 288;
constexpr unsigned kHelpText = 62221;

wxString Text(unsigned id) { return wxStripMenuCodes(platform::ToWx(LoadResString(id))); }

void DrawArrow(wxDC& dc, const wxRect& r, const wxColour& colour) {
    const int cx = r.x + r.width / 2, cy = r.y + r.height / 2;
    const wxPoint tri[] = {{cx - 3, cy - 1}, {cx + 4, cy - 1}, {cx, cy + 3}};
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(colour));
    dc.DrawPolygon(3, tri);
}

}  // namespace

TabRowBar::TabRowBar(wxRibbonBar* ribbon, Actions actions)
    : wxWindow(ribbon, wxID_ANY, wxDefaultPosition, wxSize(120, 22), wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE),
      m_ribbon(ribbon),
      m_actions(std::move(actions)) {
    SetName(wxS("tabrow"));
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &TabRowBar::OnPaint, this);
    for (const auto& type : {wxEVT_MOTION, wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_LEAVE_WINDOW})
        Bind(type, &TabRowBar::OnMouse, this);
}

int TabRowBar::CommandOf(size_t item) { return item == kStyle ? commands::ID_STYLE : commands::ID_HELP; }

wxString TabRowBar::TipOf(size_t item) {
    if (item == kStyle) return Text(kStyleTip) + wxS("\n") + Text(kStyleDescription);
    return Text(kHelpText);
}

int TabRowBar::ItemWidth(size_t item) const {
    if (item == kStyle) return kPad + GetTextExtent(Text(kStyleText)).x + 2 + kArrow;
    return kPad + kIcon + 3 + kArrow;
}

wxRect TabRowBar::ItemRect(size_t item) const {
    int x = 0;
    for (size_t i = 0; i < item; ++i) x += ItemWidth(i) + kGap;
    const int h = GetClientSize().y;
    const int cell = std::min(h, 24);
    return wxRect(x, (h - cell) / 2, ItemWidth(item), cell);
}

wxRect TabRowBar::ArrowRect(size_t item) const {
    const wxRect r = ItemRect(item);
    // The style button has no command of its own: all of it opens the menu.
    if (item == kStyle) return r;
    return wxRect(r.GetRight() + 1 - kArrow, r.y, kArrow, r.height);
}

int TabRowBar::Place() {
    int rowHeight = 24;
    if (m_ribbon->GetPageCount() > 0) rowHeight = std::max(m_ribbon->GetPage(0)->GetPosition().y, 20);
    int width = 0;
    for (size_t i = 0; i < ItemCount(); ++i) width += ItemWidth(i) + (i ? kGap : 0);
    // Left of the ribbon's button that folds its panels away, where the art puts it.
    const wxSize size = m_ribbon->GetClientSize();
    int right = size.x - 4;
    wxRibbonArtProvider* art = m_ribbon->GetArtProvider();
    if (art && (art->GetFlags() & wxRIBBON_BAR_SHOW_TOGGLE_BUTTON))
        right = std::min(right, art->GetBarToggleButtonArea(wxRect(size)).x - 4);
    SetSize(std::max(right - width, 0), 0, width, rowHeight);
    Raise();
    Refresh(false);
    return size.x - std::max(right - width, 0) + 4;
}

void TabRowBar::Press(size_t item) {
    if (item == kHelp) {
        if (m_actions.help) m_actions.help();
    } else {
        OpenMenu(item);
    }
}

void TabRowBar::OpenMenu(size_t item) {
    wxMenu menu;
    if (item == kStyle && m_actions.fillStyleMenu) m_actions.fillStyleMenu(menu);
    if (item == kHelp && m_actions.fillHelpMenu) m_actions.fillHelpMenu(menu);
    if (menu.GetMenuItemCount() == 0) return;
    // Aligned to the element's right edge: the menu is as wide as its longest entry and the
    // room a menu keeps for marks and keys on both sides of it.
    int textWidth = 0;
    for (const wxMenuItem* entry : menu.GetMenuItems())
        if (!entry->IsSeparator()) textWidth = std::max(textWidth, GetTextExtent(entry->GetItemLabelText()).x);
    const wxRect r = ItemRect(item);
    const int menuWidth = textWidth + 72;
    m_pressed = -1;
    Refresh(false);
    PopupMenu(&menu, wxPoint(r.GetRight() + 1 - menuWidth, r.GetBottom() + 1));
}

void TabRowBar::SetKeyItem(int item) {
    if (item == m_keyItem) return;
    m_keyItem = item;
    Refresh(false);
}

void TabRowBar::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    wxRibbonArtProvider* art = m_ribbon->GetArtProvider();
    const wxColour back =
        art ? art->GetColour(wxRIBBON_ART_TAB_CTRL_BACKGROUND_COLOUR) : GetParent()->GetBackgroundColour();
    dc.SetBackground(wxBrush(back));
    dc.Clear();
    const wxColour text = art ? art->GetColour(wxRIBBON_ART_TAB_LABEL_COLOUR) : *wxBLACK;
    const wxColour hover = art ? art->GetColour(wxRIBBON_ART_TAB_HOVER_BACKGROUND_COLOUR) : *wxWHITE;
    dc.SetFont(GetFont());
    for (size_t i = 0; i < ItemCount(); ++i) {
        const wxRect r = ItemRect(i);
        if (int(i) == m_hot) {
            dc.SetPen(wxPen(hover.ChangeLightness(80)));
            dc.SetBrush(wxBrush(int(i) == m_pressed ? hover.ChangeLightness(85) : hover));
            dc.DrawRoundedRectangle(r, 2);
            if (i == kHelp) {
                // The face and the arrow are two parts: a line parts them while the pointer is on it.
                const wxRect a = ArrowRect(i);
                dc.DrawLine(a.x, r.y + 3, a.x, r.GetBottom() - 2);
            }
        }
        if (i == kStyle) {
            const wxString label = Text(kStyleText);
            const wxSize ext = dc.GetTextExtent(label);
            dc.SetTextForeground(text);
            dc.DrawText(label, r.x + kPad, r.y + (r.height - ext.y) / 2);
        } else {
            // The sign of help: a question mark in a round badge.
            wxGCDC gc(dc);
            const wxPoint centre(r.x + kPad - 2 + kIcon / 2, r.y + r.height / 2);
            gc.SetPen(*wxTRANSPARENT_PEN);
            gc.SetBrush(wxBrush(wxColour(40, 90, 170)));
            gc.DrawCircle(centre, kIcon / 2 - 1);
            gc.SetFont(wxFontInfo(wxSize(0, kIcon - 4)).Family(wxFONTFAMILY_SWISS).Bold());
            gc.SetTextForeground(*wxWHITE);
            const wxSize q = gc.GetTextExtent(wxS("?"));
            gc.DrawText(wxS("?"), centre.x - q.x / 2, centre.y - q.y / 2);
        }
        const wxRect a = i == kStyle ? wxRect(r.GetRight() + 1 - kArrow, r.y, kArrow, r.height) : ArrowRect(i);
        DrawArrow(dc, a, text);
        if (int(i) == m_keyItem) {
            dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT), 2));
            dc.SetBrush(*wxTRANSPARENT_BRUSH);
            dc.DrawRectangle(wxRect(r).Deflate(1));
        }
    }
}

void TabRowBar::OnMouse(wxMouseEvent& event) {
    int at = -1;
    bool arrow = false;
    if (!event.Leaving())
        for (size_t i = 0; i < ItemCount(); ++i)
            if (ItemRect(i).Contains(event.GetPosition())) {
                at = int(i);
                arrow = ArrowRect(i).Contains(event.GetPosition());
            }
    if (at != m_hot || arrow != m_hotArrow) {
        if (at != m_hot) {
            SetToolTip(at < 0 ? wxString() : TipOf(size_t(at)));
            if (m_actions.describe) m_actions.describe(at == kStyle ? Text(kStyleDescription) : wxString());
        }
        m_hot = at;
        m_hotArrow = arrow;
        Refresh(false);
    }
    if (event.LeftDown()) {
        m_pressed = at;
        Refresh(false);
    } else if (event.LeftUp()) {
        const int pressed = m_pressed;
        m_pressed = -1;
        Refresh(false);
        if (pressed < 0 || pressed != at) return;
        // After this event, as a menu's command runs: help may open a window of its own.
        const size_t item = size_t(at);
        CallAfter([this, item, arrow] {
            if (arrow) OpenMenu(item);
            else Press(item);
        });
    }
}
