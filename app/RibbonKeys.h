#pragma once
#include <functional>
#include <string>
#include <vector>

class wxKeyEvent;
class wxRibbonArtProvider;
class wxRibbonBar;
class wxRibbonButtonBar;
class wxWindow;
class TabRowBar;

// The ribbon driven from the keyboard. F10 (or Tab into the ribbon) gives it the focus on the
// tab of the page on show; there Left and Right change the page, Down, Enter or Space go into
// its buttons. Among the buttons Left and Right (and Down) move from button to button, Up goes
// back to the page tabs, Enter or Space run the button. Escape steps back, from the tabs to
// the record's view. The place of the focus is framed on the ribbon. Right of the last page's
// tab stand the tab row's elements ("Стиль", help): Enter or Space presses one, Down opens its
// menu.
class RibbonKeys {
public:
    struct Button {
        int id;
        wxRibbonButtonBar* bar;
        bool dropdown;
    };
    // `buttons` in the order of the command table; `toView` gives the focus back to the record.
    RibbonKeys(wxRibbonBar* ribbon, std::vector<Button> buttons, std::function<void()> toView);
    ~RibbonKeys();
    RibbonKeys(const RibbonKeys&) = delete;
    RibbonKeys& operator=(const RibbonKeys&) = delete;

    // The elements at the right end of the tab row, which the page tabs lead on to.
    void SetTabRow(TabRowBar* row) { m_row = row; }
    // Takes a key of the main frame's windows; true when it was the ribbon's.
    bool OnKey(wxKeyEvent& event);
    // The focus went to `window`: inside the ribbon it starts the key mode, elsewhere ends it.
    void OnFocus(wxWindow* window);
    bool IsActive() const { return m_level != kOff; }
    // Where the key mode is, as smoke runs note it: "off", "tabs", "row:" and the command of a
    // tab row's element, or the button's command id.
    std::string Describe() const;
    // Starts on the tab of the page on show, and gives the ribbon the focus.
    void Start();
    void Stop();

    // What the art frames: the button of the key mode, or the active page's tab.
    static bool IsKeyButton(const wxWindow* bar, int x, int y, int width, int height);
    static bool IsKeyTab(const wxWindow* ribbon);
    // The toolkit's ribbon art (the MSW or the AUI look) that also draws the frame.
    static wxRibbonArtProvider* NewArt(bool msw);

private:
    enum Level { kOff, kTabs, kButtons };
    // The buttons of the page on show that a user can press now.
    std::vector<size_t> PageButtons() const;
    void MoveButton(int step);
    void SetLevel(Level level);
    void RunButton();
    void Repaint();

    wxRibbonBar* m_ribbon;
    std::vector<Button> m_buttons;
    std::function<void()> m_toView;
    Level m_level = kOff;
    size_t m_button = 0;  // index into m_buttons at the buttons level
    TabRowBar* m_row = nullptr;
    int m_rowItem = -1;  // at the tabs level: the tab row's element the keys stand on, or -1
    // Left or Right at the tabs level: through the pages, then the tab row's elements.
    void StepTabs(int step);
    bool m_tabbing = false;  // a Tab is moving the focus
};
