#pragma once
// A compact tool bar for a diagram pane: 16-pixel buttons in as many columns as the pane's
// height needs, so that every button stays in sight and none covers another. Buttons send
// wxEVT_TOOL to the parent and ask it their state through wxEVT_UPDATE_UI, as tool bar
// buttons do.
#include <wx/bitmap.h>
#include <wx/window.h>

#include <vector>

class ToolColumn : public wxWindow {
public:
    ToolColumn(wxWindow* parent, wxWindowID id);

    void AddTool(int id, const wxBitmap& bitmap, const wxString& tip, bool check);
    void AddSeparator();
    // The width the buttons need in a column of this height.
    int WidthFor(int height) const;

    void UpdateWindowUI(long flags = wxUPDATE_UI_NONE) override;

private:
    struct Tool {
        int id;
        wxBitmap bitmap, disabled;
        wxString tip;
        bool check;
        bool gapAfter = false;
        bool enabled = true, checked = false;
    };
    std::vector<wxRect> Places(int height) const;
    int ToolAt(wxPoint p) const;
    void OnPaint(wxPaintEvent&);
    void OnMouse(wxMouseEvent& e);

    std::vector<Tool> m_tools;
    int m_hot = -1, m_pressed = -1;
};
