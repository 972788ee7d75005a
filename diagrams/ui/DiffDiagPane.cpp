#include "diagrams/ui/DiffDiagPane.h"

namespace {

const std::vector<PlaneTool> kTools = {{ID_CIRCLE_TB_CHANNELS, wxART_LIST_VIEW, false, true},
                                       {ID_CIRCLE_TB_SIGHTS_ONLY, wxART_GOTO_LAST, true, false},
                                       {ID_CIRCLE_TB_SHOW_OFF, wxART_UNDO, true, true},
                                       {ID_DIFF_SHOW_VALUES, wxART_REPORT_VIEW, true, true},
                                       {ID_CIRCLE_TB_RELOAD, wxART_REDO, false, true},
                                       {ID_CIRCLE_TB_ZOOM_IN, wxART_PLUS, false, false},
                                       {ID_CIRCLE_TB_ZOOM_OUT, wxART_MINUS, false, true},
                                       {ID_CIRCLE_TB_UP, wxART_GO_UP, false, false},
                                       {ID_CIRCLE_TB_DOWN, wxART_GO_DOWN, false, true},
                                       {ID_CIRCLE_TB_LEFT, wxART_GO_BACK, false, false},
                                       {ID_CIRCLE_TB_RIGHT, wxART_GO_FORWARD, false, false}};

}  // namespace

// The differential diagram takes no channels dropped from the view: its pairs are made in the
// pair dialog.
DiffDiagPane::DiffDiagPane(wxWindow* parent, DiagramOwner* owner)
    : PlaneDiagPane(parent, std::make_unique<DiffDiagramWnd>(owner), 552, kTools, 0) {}
