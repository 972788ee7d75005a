#include "diagrams/ui/ToolColumn.h"

#include <wx/dcbuffer.h>
#include <wx/settings.h>

#include "diagrams/CirclePlot.h"

namespace {

constexpr int kCell = 24;  // a 16-pixel image with its frame
constexpr int kGap = 6;

}  // namespace

ToolColumn::ToolColumn(wxWindow* parent, wxWindowID id)
    : wxWindow(parent, id, wxDefaultPosition, wxDefaultSize, wxFULL_REPAINT_ON_RESIZE, wxS("toolcolumn")) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &ToolColumn::OnPaint, this);
    for (auto type : {wxEVT_MOTION, wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_LEAVE_WINDOW})
        Bind(type, &ToolColumn::OnMouse, this);
}

void ToolColumn::AddTool(int id, const wxBitmap& bitmap, const wxString& tip, bool check) {
    Tool t{id, bitmap, bitmap.ConvertToDisabled(), tip, check};
    m_tools.push_back(t);
}

void ToolColumn::AddSeparator() {
    if (!m_tools.empty()) m_tools.back().gapAfter = true;
}

std::vector<wxRect> ToolColumn::Places(int height) const {
    std::vector<bool> gaps;
    for (const Tool& t : m_tools) gaps.push_back(t.gapAfter);
    std::vector<wxRect> places;
    for (const CRect& r : PlaceToolColumn(gaps, height, kCell, kGap))
        places.emplace_back(r.left + 1, r.top + 1, r.Width(), r.Height());
    return places;
}

int ToolColumn::WidthFor(int height) const {
    int right = 0;
    for (const wxRect& r : Places(height)) right = std::max(right, r.GetRight() + 1);
    return right + 1;
}

int ToolColumn::ToolAt(wxPoint p) const {
    const auto places = Places(GetClientSize().y);
    for (size_t i = 0; i < places.size(); ++i)
        if (places[i].Contains(p)) return int(i);
    return -1;
}

void ToolColumn::UpdateWindowUI(long flags) {
    wxWindow::UpdateWindowUI(flags);
    bool changed = false;
    for (Tool& t : m_tools) {
        wxUpdateUIEvent e(t.id);
        e.SetEventObject(this);
        if (!GetParent() || !GetParent()->ProcessWindowEvent(e)) continue;
        if (e.GetSetEnabled() && e.GetEnabled() != t.enabled) t.enabled = e.GetEnabled(), changed = true;
        if (e.GetSetChecked() && e.GetChecked() != t.checked) t.checked = e.GetChecked(), changed = true;
    }
    if (changed) Refresh(false);
}

void ToolColumn::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
    dc.Clear();
    const auto places = Places(GetClientSize().y);
    for (size_t i = 0; i < m_tools.size(); ++i) {
        const Tool& t = m_tools[i];
        const wxRect& r = places[i];
        if (t.enabled && (t.checked || int(i) == m_hot)) {
            const bool down = t.checked || int(i) == m_pressed;
            dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT)));
            dc.SetBrush(down ? wxBrush(wxColour(200, 220, 245)) : wxBrush(wxColour(228, 238, 250)));
            dc.DrawRoundedRectangle(wxRect(r).Deflate(1), 2);
        }
        const wxBitmap& b = t.enabled ? t.bitmap : t.disabled;
        if (b.IsOk())
            dc.DrawBitmap(b, r.x + (r.width - b.GetWidth()) / 2, r.y + (r.height - b.GetHeight()) / 2, true);
    }
}

void ToolColumn::OnMouse(wxMouseEvent& e) {
    const int at = e.GetEventType() == wxEVT_LEAVE_WINDOW ? -1 : ToolAt(e.GetPosition());
    if (at != m_hot) {
        m_hot = at;
        SetToolTip(at >= 0 ? m_tools[size_t(at)].tip : wxString());
        Refresh(false);
    }
    if (e.LeftDown() && at >= 0 && m_tools[size_t(at)].enabled) {
        m_pressed = at;
        Refresh(false);
    } else if (e.LeftUp()) {
        const int pressed = m_pressed;
        m_pressed = -1;
        Refresh(false);
        if (pressed >= 0 && pressed == at && m_tools[size_t(at)].enabled) {
            wxCommandEvent cmd(wxEVT_TOOL, m_tools[size_t(at)].id);
            cmd.SetEventObject(this);
            if (GetParent()) GetParent()->ProcessWindowEvent(cmd);
        }
    }
    e.Skip();
}
