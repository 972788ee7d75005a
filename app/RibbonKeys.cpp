#include "app/RibbonKeys.h"

#include "app/CommandTable.h"
#include "app/RibbonArt.h"
#include "app/TabRowBar.h"

#include <wx/app.h>
#include <wx/dc.h>
#include <wx/ribbon/art.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/ribbon/page.h>
#include <wx/ribbon/panel.h>
#include <wx/settings.h>

namespace {

RibbonKeys* g_keys = nullptr;  // the main frame's, while it lives
const wxRibbonButtonBar* g_keyBar = nullptr;
wxRect g_keyRect;
const wxWindow* g_keyTabs = nullptr;

// The focus frame: the desktop's highlight colour, two pixels wide, inside `r`.
void DrawFocusFrame(wxDC& dc, const wxRect& r) {
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT), 2));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(wxRect(r).Deflate(1));
}

template <class Base>
class KeyFrameArt : public Base {
public:
    void DrawTab(wxDC& dc, wxWindow* wnd, const wxRibbonPageTabInfo& tab) override {
        Base::DrawTab(dc, wnd, tab);
        if (tab.active && RibbonKeys::IsKeyTab(wnd)) DrawFocusFrame(dc, tab.rect);
    }
    void DrawButtonBarButton(wxDC& dc, wxWindow* wnd, const wxRect& rect, wxRibbonButtonKind kind, long state,
                             const wxString& label, const wxBitmap& large, const wxBitmap& small) override {
        Base::DrawButtonBarButton(dc, wnd, rect, kind, state, label, large, small);
        if (RibbonKeys::IsKeyButton(wnd, rect.x, rect.y, rect.width, rect.height)) DrawFocusFrame(dc, rect);
    }
};

bool Within(const wxWindow* window, const wxWindow* ancestor) {
    for (const wxWindow* w = window; w; w = w->GetParent())
        if (w == ancestor) return true;
    return false;
}

}  // namespace

RibbonKeys::RibbonKeys(wxRibbonBar* ribbon, std::vector<Button> buttons, std::function<void()> toView)
    : m_ribbon(ribbon), m_buttons(std::move(buttons)), m_toView(std::move(toView)) {
    g_keys = this;
}

RibbonKeys::~RibbonKeys() {
    if (g_keys == this) g_keys = nullptr;
}

wxRibbonArtProvider* RibbonKeys::NewArt(bool msw) {
    if (msw) return new KeyFrameArt<wxRibbonMSWArtProvider>;
    return new KeyFrameArt<FlatRibbonArt>;
}

std::string RibbonKeys::Describe() const {
    if (m_level == kOff) return "off";
    if (m_level == kTabs && m_row && m_rowItem >= 0) return "row:" + std::to_string(TabRowBar::CommandOf(size_t(m_rowItem)));
    if (m_level == kTabs) return "tabs";
    return m_button < m_buttons.size() ? std::to_string(commands::ProgramId(m_buttons[m_button].id)) : "none";
}

bool RibbonKeys::IsKeyButton(const wxWindow* bar, int x, int y, int width, int height) {
    return g_keys && g_keys->m_level == kButtons && bar == g_keyBar && g_keyRect == wxRect(x, y, width, height);
}

bool RibbonKeys::IsKeyTab(const wxWindow* ribbon) {
    return g_keys && g_keys->m_level == kTabs && g_keys->m_rowItem < 0 && ribbon == g_keyTabs;
}

std::vector<size_t> RibbonKeys::PageButtons() const {
    std::vector<size_t> list;
    const int active = m_ribbon->GetActivePage();
    wxRibbonPage* page = active >= 0 ? m_ribbon->GetPage(active) : nullptr;
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        wxRibbonButtonBar* bar = m_buttons[i].bar;
        if (!page || bar->GetParent()->GetParent() != page) continue;
        // As the ribbon shows it: a command its state turns off is passed over.
        wxUpdateUIEvent update(m_buttons[i].id);
        update.SetEventObject(bar);
        bar->ProcessWindowEvent(update);
        if (update.GetSetEnabled() && !update.GetEnabled()) continue;
        list.push_back(i);
    }
    return list;
}

void RibbonKeys::Repaint() {
    if (m_level != kTabs) m_rowItem = -1;
    if (m_row) m_row->SetKeyItem(m_rowItem);
    g_keyTabs = m_level == kTabs ? m_ribbon : nullptr;
    g_keyBar = nullptr;
    if (m_level == kButtons && m_button < m_buttons.size()) {
        g_keyBar = m_buttons[m_button].bar;
        g_keyRect = m_buttons[m_button].bar->GetItemRect(m_buttons[m_button].id);
    }
    m_ribbon->Refresh();
    for (const Button& b : m_buttons) b.bar->Refresh();
}

void RibbonKeys::SetLevel(Level level) {
    m_level = level;
    m_rowItem = -1;
    if (level == kButtons) {
        const std::vector<size_t> list = PageButtons();
        if (list.empty()) m_level = kTabs;
        else m_button = list.front();
    }
    Repaint();
}

void RibbonKeys::Start() {
    SetLevel(kTabs);
    if (!Within(wxWindow::FindFocus(), m_ribbon)) m_ribbon->SetFocus();
}

void RibbonKeys::Stop() {
    if (m_level == kOff) return;
    m_level = kOff;
    Repaint();
}

void RibbonKeys::OnFocus(wxWindow* window) {
    const bool inside = Within(window, m_ribbon);
    // Tabbed into, the ribbon shows where the keys went; a window start or a click that leaves
    // the focus there does not make it the keys' place.
    if (inside && m_level == kOff && m_tabbing) SetLevel(kTabs);
    else if (!inside && m_level != kOff) Stop();
}

void RibbonKeys::StepTabs(int step) {
    // Stops in order: the pages' tabs, then the tab row's elements, round again.
    const int pages = int(m_ribbon->GetPageCount());
    const int items = m_row ? int(m_row->ItemCount()) : 0;
    const int n = pages + items;
    const int at = m_rowItem >= 0 ? pages + m_rowItem : m_ribbon->GetActivePage();
    const int next = (at + step + n) % n;
    if (next < pages) {
        m_rowItem = -1;
        m_ribbon->SetActivePage(size_t(next));
    } else {
        m_rowItem = next - pages;
    }
    Repaint();
}

void RibbonKeys::MoveButton(int step) {
    const std::vector<size_t> list = PageButtons();
    if (list.empty()) return;
    size_t at = 0;
    while (at < list.size() && list[at] != m_button) ++at;
    const int n = int(list.size());
    at = at == list.size() ? 0 : size_t((int(at) + step + n) % n);
    m_button = list[at];
    Repaint();
}

void RibbonKeys::RunButton() {
    if (m_button >= m_buttons.size()) return;
    const Button b = m_buttons[m_button];
    wxRibbonButtonBarButtonBase* item = nullptr;
    for (size_t i = 0; i < b.bar->GetButtonCount(); ++i)
        if (b.bar->GetItemId(b.bar->GetItem(i)) == b.id) item = b.bar->GetItem(i);
    Stop();
    // As a click on it does, once this key is done with: the command may open a dialog.
    wxRibbonButtonBar* bar = b.bar;
    const int id = b.id;
    const bool dropdown = b.dropdown;
    bar->CallAfter([bar, id, dropdown, item] {
        wxRibbonButtonBarEvent click(dropdown ? wxEVT_RIBBONBUTTONBAR_DROPDOWN_CLICKED : wxEVT_RIBBONBUTTONBAR_CLICKED, id,
                                     bar, item);
        click.SetEventObject(bar);
        bar->ProcessWindowEvent(click);
    });
}

bool RibbonKeys::OnKey(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    if (key == WXK_TAB && !event.ControlDown()) {
        // The focus the toolkit moves for this key arrives before the next event is handled.
        m_tabbing = true;
        m_ribbon->CallAfter([this] { m_tabbing = false; });
    }
    if (key == WXK_F10 && !event.HasAnyModifiers()) {
        if (m_level == kOff) {
            Start();
        } else {
            Stop();
            m_toView();
        }
        return true;
    }
    if (m_level == kOff) return false;
    if (!Within(wxWindow::FindFocus(), m_ribbon) && wxWindow::FindFocus()) {
        // The focus went elsewhere without the ribbon hearing of it.
        Stop();
        return false;
    }
    if (event.HasAnyModifiers() && key != WXK_TAB) return false;
    const bool run = key == WXK_RETURN || key == WXK_NUMPAD_ENTER || key == WXK_SPACE;
    if (key == WXK_ESCAPE) {
        if (m_level == kButtons) {
            SetLevel(kTabs);
        } else {
            Stop();
            m_toView();
        }
        return true;
    }
    if (m_level == kTabs) {
        const int pages = int(m_ribbon->GetPageCount());
        if ((key == WXK_LEFT || key == WXK_RIGHT) && pages > 0) {
            StepTabs(key == WXK_LEFT ? -1 : 1);
            return true;
        }
        if (m_rowItem >= 0 && m_row && (key == WXK_DOWN || run)) {
            // As the mouse presses it: Enter on its face, Down on its arrow; the keys stay here
            // for when the menu or help is done.
            const size_t item = size_t(m_rowItem);
            TabRowBar* row = m_row;
            const bool menu = key == WXK_DOWN;
            row->CallAfter([row, item, menu] {
                if (menu) row->OpenMenu(item);
                else row->Press(item);
            });
            return true;
        }
        if (key == WXK_DOWN || run) {
            SetLevel(kButtons);
            return true;
        }
        return key == WXK_UP;
    }
    switch (key) {
        case WXK_LEFT: MoveButton(-1); return true;
        case WXK_RIGHT:
        case WXK_DOWN: MoveButton(1); return true;
        case WXK_UP: SetLevel(kTabs); return true;
        default: break;
    }
    if (run) {
        RunButton();
        return true;
    }
    return false;
}
