#pragma once
// Painted windows: the gradient static and the gradient dialog (twins that share the
// GradientPainter), the colour static, the status bar with a picture pane, and the tool tip
// that shows a description and an icon chosen by the control it belongs to.
#include <wx/dialog.h>
#include <wx/popupwin.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>

#include <map>
#include <vector>

#include "halvex/controls/model/GradientPainter.h"
#include "platform/draw/GdiObjects.h"

class CDC;

namespace halvex {

class CAi_Static : public wxWindow, public GradientPainter {
public:
    CAi_Static(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
               const wxSize& size = wxDefaultSize);

protected:
    // Called at the end of every paint, so that a derived class can draw on top.
    virtual void OnPaintAfter(CDC*) {}

private:
    void OnPaint(wxPaintEvent&);
};

class CAi_Dialog : public wxDialog, public GradientPainter {
public:
    CAi_Dialog(wxWindow* parent, wxWindowID id, const wxString& title, const wxPoint& pos = wxDefaultPosition,
               const wxSize& size = wxDefaultSize, long style = wxDEFAULT_DIALOG_STYLE);

protected:
    virtual void OnPaintAfter(CDC*) {}

private:
    void OnPaint(wxPaintEvent&);
};

class CAi_ColorStatic : public wxStaticText {
public:
    CAi_ColorStatic(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos = wxDefaultPosition,
                    const wxSize& size = wxDefaultSize, long style = 0);
    // Both redraw the window at once.
    void SetBkColor(COLORREF color);
    void SetTextColor(COLORREF color);
    COLORREF GetBkColor() const { return m_bk; }
    COLORREF GetTextColor() const { return m_text; }
    COLORREF GetSysBkColor() const { return m_sys; }

private:
    COLORREF m_bk, m_text = 0, m_sys;
};

enum DRAW_MODE : int { DRAW_MODE_NONE = 0, DRAW_MODE_FIRST = 1, DRAW_MODE_SECOND = 2 };

class CAi_StatusBar : public wxStatusBar {
public:
    CAi_StatusBar(wxWindow* parent, wxWindowID id = wxID_ANY, long style = wxSTB_DEFAULT_STYLE);
    // The pane shows one of the two pictures (drawing enabled); a negative pane is ignored.
    void SetPaneDraw(int pane, const CBitmap& first, const CBitmap& second);
    void SetDrawMode(DRAW_MODE mode);
    DRAW_MODE GetDrawMode() const { return m_mode; }
    int GetDrawPane() const { return m_pane; }
    void DrawIcons() {}

private:
    void Place();
    bool m_enabled = false;
    DRAW_MODE m_mode = DRAW_MODE_NONE;
    int m_pane = -1;
    CBitmap m_first, m_second;
    wxWindow* m_picture = nullptr;
};

struct TOOL_TIP_CTRL_INFO {
    CString description;
    int icon = -1;  // index of a picture given to the tip with AddIcon, -1 none
    TOOL_TIP_CTRL_INFO() = default;
    TOOL_TIP_CTRL_INFO(const CString& d, int i) : description(d), icon(i) {}
};
using LOCALEIDENTIFIERS = TOOL_TIP_CTRL_INFO;

class CAi_ToolTip {
public:
    std::map<int, TOOL_TIP_CTRL_INFO> m_map;  // control id -> its tip; the owner fills it
    ~CAi_ToolTip();
    int AddIcon(const CBitmap& icon);
    // Shows the tip of the control under the pointer when its id is in the map; false when not.
    bool OnShow(wxWindow* control);
    void Hide();
    // Draws the found entry's icon into the rectangle; false without one.
    bool OnDrawIcon(CDC* dc, const CRect& rect) const;
    static CSize GetIconSize() { return {32, 32}; }
    const TOOL_TIP_CTRL_INFO* Found() const { return m_found; }
    wxWindow* Window() const { return m_popup; }

private:
    int m_showing = -1;
    const TOOL_TIP_CTRL_INFO* m_found = nullptr;
    std::vector<CBitmap> m_icons;
    wxPopupWindow* m_popup = nullptr;
};

}  // namespace halvex
