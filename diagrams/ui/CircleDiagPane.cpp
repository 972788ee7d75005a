#include "diagrams/ui/CircleDiagPane.h"

#include "model/Channel.h"

namespace {

const std::vector<PlaneTool> kTools = {{ID_CIRCLE_TB_CHANNELS, wxART_LIST_VIEW, false, true},
                                       {ID_CIRCLE_TB_SIGHTS_ONLY, wxART_GOTO_LAST, true, false},
                                       {ID_CIRCLE_TB_SHOW_OFF, wxART_UNDO, true, true},
                                       {ID_CIRCLE_TB_VIEW_REIM, wxART_REPORT_VIEW, true, true},
                                       {ID_CIRCLE_TB_VIEW_RMS_ANGLE, wxART_HELP_SETTINGS, true, true},
                                       {ID_CIRCLE_TB_RELOAD, wxART_REDO, false, false},
                                       {ID_CIRCLE_TB_ZOOM_IN, wxART_PLUS, false, false},
                                       {ID_CIRCLE_TB_ZOOM_OUT, wxART_MINUS, false, true},
                                       {ID_CIRCLE_TB_UP, wxART_GO_UP, false, false},
                                       {ID_CIRCLE_TB_DOWN, wxART_GO_DOWN, false, true},
                                       {ID_CIRCLE_TB_LEFT, wxART_GO_BACK, false, false},
                                       {ID_CIRCLE_TB_RIGHT, wxART_GO_FORWARD, false, false}};

}  // namespace

CircleDiagPane::CircleDiagPane(wxWindow* parent, DiagramOwner* owner)
    : PlaneDiagPane(parent, std::make_unique<CircleDiagramWnd>(owner), 552, kTools, CHF_CIRCLE_DIAGRAM) {}
