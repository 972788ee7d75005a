#pragma once
// The dockable pane of the circle diagram.
#include "diagrams/CircleDiagramWnd.h"
#include "diagrams/ui/PlaneDiagPane.h"

class CircleDiagPane : public PlaneDiagPane {
public:
    CircleDiagPane(wxWindow* parent, DiagramOwner* owner);
    CircleDiagramWnd& Window() { return static_cast<CircleDiagramWnd&>(Plane()); }
};
