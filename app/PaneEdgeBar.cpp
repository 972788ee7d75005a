#include "app/PaneEdgeBar.h"

#include <wx/aui/framemanager.h>
#include <wx/dcbuffer.h>
#include <wx/settings.h>

#include <algorithm>

namespace {

constexpr int kPad = 10;   // beside a tab's title, along the edge
constexpr int kGap = 4;    // between two tabs
constexpr int kInset = 3;  // between a tab and the strip's sides

}  // namespace

PaneEdgeBar::PaneEdgeBar(wxWindow* parent, int dock, std::function<void(const wxString&)> restore)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE),
      m_dock(dock),
      m_restore(std::move(restore)) {
    SetName(wxString::Format(wxS("edgebar%d"), dock));
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &PaneEdgeBar::OnPaint, this);
    for (const auto& type : {wxEVT_MOTION, wxEVT_LEFT_UP, wxEVT_LEAVE_WINDOW}) Bind(type, &PaneEdgeBar::OnMouse, this);
}

bool PaneEdgeBar::IsVertical() const { return m_dock == wxAUI_DOCK_LEFT || m_dock == wxAUI_DOCK_RIGHT; }

void PaneEdgeBar::Add(const wxString& name, const wxString& caption) {
    if (Holds(name)) return;
    m_entries.push_back({name, caption});
    InvalidateBestSize();
    Refresh(false);
}

void PaneEdgeBar::Remove(const wxString& name) {
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.name == name; }),
                    m_entries.end());
    m_hot = -1;
    InvalidateBestSize();
    Refresh(false);
}

bool PaneEdgeBar::Holds(const wxString& name) const {
    return std::any_of(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.name == name; });
}

int PaneEdgeBar::Thickness() const { return GetCharHeight() + 2 * kInset + 8; }

int PaneEdgeBar::EntryLength(size_t index) const { return GetTextExtent(m_entries[index].caption).x + 2 * kPad; }

wxRect PaneEdgeBar::EntryRect(size_t index) const {
    int along = kGap;
    for (size_t i = 0; i < index; ++i) along += EntryLength(i) + kGap;
    const int across = Thickness() - 2 * kInset;
    if (IsVertical()) return wxRect(kInset, along, across, EntryLength(index));
    return wxRect(along, kInset, EntryLength(index), across);
}

wxSize PaneEdgeBar::DoGetBestClientSize() const {
    int length = kGap;
    for (size_t i = 0; i < m_entries.size(); ++i) length += EntryLength(i) + kGap;
    return IsVertical() ? wxSize(Thickness(), length) : wxSize(length, Thickness());
}

void PaneEdgeBar::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
    dc.Clear();
    dc.SetFont(GetFont());
    const wxColour face = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW);
    const wxColour line = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW);
    const wxColour hot = wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT);
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const wxRect r = EntryRect(i);
        dc.SetPen(wxPen(int(i) == m_hot ? hot : line));
        dc.SetBrush(wxBrush(int(i) == m_hot ? face.ChangeLightness(96) : face));
        dc.DrawRectangle(r);
        dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT));
        const wxSize ext = dc.GetTextExtent(m_entries[i].caption);
        if (IsVertical()) {
            // Read from top to bottom, as the titles of side tabs are.
            dc.DrawRotatedText(m_entries[i].caption, r.x + (r.width + ext.y) / 2, r.y + kPad, 270);
        } else {
            dc.DrawText(m_entries[i].caption, r.x + kPad, r.y + (r.height - ext.y) / 2);
        }
    }
}

void PaneEdgeBar::OnMouse(wxMouseEvent& event) {
    int at = -1;
    if (!event.Leaving())
        for (size_t i = 0; i < m_entries.size(); ++i)
            if (EntryRect(i).Contains(event.GetPosition())) at = int(i);
    if (at != m_hot) {
        m_hot = at;
        SetToolTip(at < 0 ? wxString() : m_entries[size_t(at)].caption);
        Refresh(false);
    }
    if (event.LeftUp() && at >= 0 && m_restore) {
        // After this event: showing the pane again takes this tab, and may take the whole strip.
        const wxString name = m_entries[size_t(at)].name;
        CallAfter([this, name] { m_restore(name); });
    }
}
