#pragma once
// The dockable pane of a plane diagram (circle or differential): the block property grid above
// the diagram window, the split line between them, the scroll bars and the vertical tool bar.
#include <wx/artprov.h>

#include <memory>
#include <vector>

#include "diagrams/PlaneDiagramWnd.h"
#include "diagrams/ui/DiagramPane.h"

class BlockPropertyGrid;
class DiagramCanvas;
class wxScrollBar;
class wxScrollEvent;
class ToolColumn;

// A button of the pane's tool bar.
struct PlaneTool {
    int id;
    wxArtID art;
    bool check;
    bool separatorAfter;
};

class PlaneDiagPane : public DiagramPane {
public:
    // `dropKind`: the display bit channels dropped on the diagram get, 0 for none.
    PlaneDiagPane(wxWindow* parent, std::unique_ptr<PlaneDiagramWnd> wnd, int toolBarId,
                  const std::vector<PlaneTool>& tools, uint32_t dropKind);
    ~PlaneDiagPane() override;

    DiagramWnd& Diagram() override { return *m_wnd; }
    DiagramCanvas* Canvas() const override { return m_canvas; }
    PlaneDiagramWnd& Plane() { return *m_wnd; }

private:
    void OnTool(wxCommandEvent& e);
    void OnUpdateTool(wxUpdateUIEvent& e);
    void OnSize(wxSizeEvent& e);
    void AdjustLayout();
    // The height the grid's visible rows take.
    int GridRowsHeight();
    bool EditPairs(std::vector<ChannelPair>& pairs);
    // Shows the diagram's scroll-bar state on the two bars.
    void SyncScrollBars();
    void OnScrollBar(wxScrollEvent& e);

    std::unique_ptr<PlaneDiagramWnd> m_wnd;
    DiagramCanvas* m_canvas = nullptr;
    BlockPropertyGrid* m_grid = nullptr;
    ToolColumn* m_toolBar = nullptr;
    wxScrollBar* m_hbar = nullptr;
    wxScrollBar* m_vbar = nullptr;
    int m_drag = 0;  // 1 while the split line is dragged
    int m_dragY = 0;
};
