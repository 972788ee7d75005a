#pragma once
#include <wx/aui/framemanager.h>

// The main frame's layout manager, which can also say where it drew a button of a pane's
// title bar (smoke runs press it there as a user's mouse does).
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
};
