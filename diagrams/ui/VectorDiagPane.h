#pragma once
// The dockable pane of the phasor diagram: the diagram window and its vertical tool bar.

#include <memory>

#include "diagrams/VectorDiagramWnd.h"
#include "diagrams/ui/DiagramPane.h"

class DiagramCanvas;
class wxToolBar;

class VectorDiagPane : public DiagramPane {
public:
    VectorDiagPane(wxWindow* parent, DiagramOwner* owner);
    ~VectorDiagPane() override;

    VectorDiagramWnd& Window() { return *m_wnd; }
    DiagramWnd& Diagram() override { return *m_wnd; }
    DiagramCanvas* Canvas() const override { return m_canvas; }

private:
    void OnTool(wxCommandEvent& e);
    void OnUpdateTool(wxUpdateUIEvent& e);

    std::unique_ptr<VectorDiagramWnd> m_wnd;
    DiagramCanvas* m_canvas = nullptr;
    wxToolBar* m_toolBar = nullptr;
};
