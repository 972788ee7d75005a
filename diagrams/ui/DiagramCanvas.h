#pragma once
// The window of a diagram: paints through the diagram's off-screen picture, takes channels
// dropped from the oscillogram view, and turns the diagram's menus into real ones.
#include <wx/window.h>

#include <vector>

#include "diagrams/VectorDiagramWnd.h"

class wxMenu;
class wxDataObjectSimple;

class DiagramCanvas : public wxWindow {
public:
    // `dropKind` is the display bit channels dropped here are shown with; 0 takes no drops.
    DiagramCanvas(wxWindow* parent, wxWindowID id, DiagramWnd& diagram, uint32_t dropKind);
    DiagramWnd& Diagram() { return m_diagram; }

    // Command of the diagram (menus, drops); false when not handled.
    std::function<bool(unsigned)> onCommand;
    std::function<void(CCmdUI&)> onUpdateCommand;
    // The menu shown on a right click, empty for none.
    std::function<std::vector<DiagramMenuItem>()> contextMenu;

    // Shows a menu built by the diagram at a point of this window.
    void ShowMenu(const std::vector<DiagramMenuItem>& items, const wxPoint& at);
    // Puts the picture of the diagram on the clipboard as SVG and PNG.
    // `extra` (taken over; may be null) goes onto the clipboard beside the picture.
    bool CopyToClipboard(wxDataObjectSimple* extra = nullptr);

private:
    void OnPaint(wxPaintEvent&);
    void OnSize(wxSizeEvent&);
    void OnRightUp(wxMouseEvent& e);
    void OnMenu(wxCommandEvent& e);
    void OnUpdateMenu(wxUpdateUIEvent& e);

    DiagramWnd& m_diagram;
};

// Fills a wx menu from the diagram's items. With `update`, the diagram's update answer, an
// item is a check item only when that answer marks it; without, every item is one.
void FillMenu(wxMenu& menu, const std::vector<DiagramMenuItem>& items,
              const std::function<void(CCmdUI&)>& update = {});
// Applies the diagram's update answer to a window-system update event.
void ApplyCmdUI(CCmdUI& ui, wxUpdateUIEvent& e);
