#pragma once
// The dockable pane of the circle diagram: the block property grid above the diagram window,
// the split line between them, and the vertical tool bar.
#include <memory>

#include "diagrams/CircleDiagramWnd.h"
#include "diagrams/ui/DiagramPane.h"

class BlockPropertyGrid;
class DiagramCanvas;
class wxScrollBar;
class wxScrollEvent;
class wxToolBar;

class CircleDiagPane : public DiagramPane {
public:
    CircleDiagPane(wxWindow* parent, DiagramOwner* owner);
    ~CircleDiagPane() override;

    CircleDiagramWnd& Window() { return *m_wnd; }
    DiagramWnd& Diagram() override { return *m_wnd; }
    DiagramCanvas* Canvas() const override { return m_canvas; }

private:
    void OnTool(wxCommandEvent& e);
    void OnUpdateTool(wxUpdateUIEvent& e);
    void OnSize(wxSizeEvent& e);
    void AdjustLayout();
    bool EditPairs(std::vector<ChannelPair>& pairs);
    // Shows the diagram's scroll-bar state on the two bars.
    void SyncScrollBars();
    void OnScrollBar(wxScrollEvent& e);

    std::unique_ptr<CircleDiagramWnd> m_wnd;
    DiagramCanvas* m_canvas = nullptr;
    BlockPropertyGrid* m_grid = nullptr;
    wxToolBar* m_toolBar = nullptr;
    wxScrollBar* m_hbar = nullptr;
    wxScrollBar* m_vbar = nullptr;
    int m_drag = 0;  // 1 while the split line is dragged
    int m_dragY = 0;
};
