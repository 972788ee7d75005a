#pragma once
#include <wx/aui/framemanager.h>

// The main frame's layout manager, which can also say where it drew a button of a pane's
// title bar (smoke runs press it there as a user's mouse does) and give a dock the size the
// frame chooses.
class FrameManager : public wxAuiManager {
public:
    // The button (wxAUI_BUTTON_*) of `window`'s title bar in the frame's client coordinates;
    // empty when the pane is not docked on show or has no such button.
    wxRect PaneButtonRect(wxWindow* window, int button) const {
        for (size_t i = 0; i < m_uiParts.GetCount(); ++i) {
            const wxAuiDockUIPart& part = m_uiParts.Item(i);
            if (part.type == wxAuiDockUIPart::typePaneButton && part.pane && part.pane->window == window &&
                part.button == button)
                return part.rect;
        }
        return wxRect();
    }

    // The size of the dock that holds `pane` (its height at the top or bottom, else its width),
    // 0 when there is none. Set to 0, the dock takes its panes' best size at the next update.
    int GetDockSize(const wxAuiPaneInfo& pane) const {
        for (size_t i = 0; i < m_docks.GetCount(); ++i) {
            const wxAuiDockInfo& dock = m_docks.Item(i);
            if (SameDock(dock, pane)) return dock.size;
        }
        return 0;
    }
    void SetDockSize(const wxAuiPaneInfo& pane, int size) {
        for (size_t i = 0; i < m_docks.GetCount(); ++i)
            if (SameDock(m_docks.Item(i), pane)) m_docks.Item(i).size = size;
    }

private:
    static bool SameDock(const wxAuiDockInfo& dock, const wxAuiPaneInfo& pane) {
        return dock.dock_direction == pane.dock_direction && dock.dock_layer == pane.dock_layer &&
               dock.dock_row == pane.dock_row;
    }
};
