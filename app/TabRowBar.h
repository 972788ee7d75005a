#pragma once
// The elements at the right end of the ribbon's tab row: "Стиль", which opens the looks' menu,
// and the help button, whose face runs help and whose arrow opens the help menu. The toolkit's
// ribbon has a help button of its own that only sends one event and nothing like the style
// button, so both are drawn here, as the quick-access bar draws its buttons at the other end.
#include <wx/window.h>

#include <functional>
#include <vector>

class wxRibbonBar;
class wxMenu;

class TabRowBar : public wxWindow {
public:
    enum Item : int { kStyle = 0, kHelp = 1 };
    // What an element does: `press` for a click on its face (none: its face opens the menu too),
    // `fillMenu` for the menu its arrow opens.
    struct Actions {
        std::function<void()> help;
        std::function<void(wxMenu&)> fillStyleMenu, fillHelpMenu;
        // Shows a description in the frame's help field (empty: takes it back).
        std::function<void(const wxString&)> describe;
    };
    TabRowBar(wxRibbonBar* ribbon, Actions actions);

    // Puts the bar at the right end of the tab row, left of the ribbon's own toggle button,
    // and says how much of the row it takes from the right edge.
    int Place();
    size_t ItemCount() const { return 2; }
    // The whole element, and the part of it that opens its menu, in the bar's coordinates.
    wxRect ItemRect(size_t item) const;
    wxRect ArrowRect(size_t item) const;
    // As a click on the element's face: help runs, the style button opens its menu.
    void Press(size_t item);
    // As a click on its arrow: the element's menu opens under it, aligned to its right edge.
    void OpenMenu(size_t item);
    // The element the ribbon's key mode stands on (-1: none), framed as the focus.
    void SetKeyItem(int item);
    int GetKeyItem() const { return m_keyItem; }
    // Command id an element stands for, as the key mode names it.
    static int CommandOf(size_t item);
    // The tool tip of an element: its title, and below it the description where it has one.
    static wxString TipOf(size_t item);

private:
    void OnPaint(wxPaintEvent&);
    void OnMouse(wxMouseEvent& event);
    int ItemWidth(size_t item) const;

    wxRibbonBar* m_ribbon;
    Actions m_actions;
    int m_hot = -1, m_pressed = -1;
    bool m_hotArrow = false;
    int m_keyItem = -1;
};
