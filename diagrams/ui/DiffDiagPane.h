#pragma once
// The dockable pane of the differential diagram.
#include "diagrams/DiffDiagramWnd.h"
#include "diagrams/ui/PlaneDiagPane.h"

class DiffDiagPane : public PlaneDiagPane {
public:
    DiffDiagPane(wxWindow* parent, DiagramOwner* owner);
    DiffDiagramWnd& Window() { return static_cast<DiffDiagramWnd&>(Plane()); }
};
