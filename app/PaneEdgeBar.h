#pragma once
// A strip along one edge of the main frame that holds the diagram panes hidden to that edge:
// one tab per pane with its title (turned on its side on the left and right edges). A click on
// a tab shows its pane again where it was.
#include <wx/window.h>

#include <functional>
#include <vector>

class PaneEdgeBar : public wxWindow {
public:
    struct Entry {
        wxString name;     // the pane's name in the frame's layout
        wxString caption;  // what its tab says
    };
    // `dock` is the edge (wxAUI_DOCK_LEFT, _RIGHT, _TOP or _BOTTOM); `restore` shows a pane
    // again by its name.
    PaneEdgeBar(wxWindow* parent, int dock, std::function<void(const wxString&)> restore);

    int GetDock() const { return m_dock; }
    bool IsVertical() const;
    void Add(const wxString& name, const wxString& caption);
    void Remove(const wxString& name);
    bool Holds(const wxString& name) const;
    const std::vector<Entry>& Entries() const { return m_entries; }
    // A tab's place in the bar's coordinates.
    wxRect EntryRect(size_t index) const;
    // How thick the strip is across its edge.
    int Thickness() const;

protected:
    wxSize DoGetBestClientSize() const override;

private:
    int EntryLength(size_t index) const;
    void OnPaint(wxPaintEvent&);
    void OnMouse(wxMouseEvent& event);

    int m_dock;
    std::function<void(const wxString&)> m_restore;
    std::vector<Entry> m_entries;
    int m_hot = -1;
};
