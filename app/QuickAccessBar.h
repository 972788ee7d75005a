#pragma once
// Open, Save and Print as small buttons at the left end of the ribbon's tab row, where a user
// of ribbon programs looks for them; the toolkit's ribbon has no quick-access bar of its own.
#include <wx/timer.h>
#include <wx/window.h>

#include <vector>

class wxRibbonBar;

class QuickAccessBar : public wxWindow {
public:
    struct Button {
        int id;
        unsigned text;
        int icon;  // commands::Icon
        bool enabled = true;
    };
    // A child of `ribbon`; commands go to `target` as menu commands do.
    QuickAccessBar(wxRibbonBar* ribbon, wxWindow* target);

    // Puts the bar at the left of the tab row; the frame keeps the tabs clear of it.
    void Place();
    // The button under a point of the bar, or -1.
    int ButtonAt(const wxPoint& p) const;
    wxRect ButtonRect(size_t index) const;
    const std::vector<Button>& Buttons() const { return m_buttons; }
    // Asks the commands for their states now (a timer asks every 300 ms).
    void RefreshStates();

private:
    void OnPaint(wxPaintEvent&);
    void OnMouse(wxMouseEvent& event);

    wxRibbonBar* m_ribbon;
    wxWindow* m_target;
    std::vector<Button> m_buttons;
    int m_hot = -1, m_pressed = -1;
    wxTimer m_states;
};
