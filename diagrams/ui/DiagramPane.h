#pragma once
// What the frame's printing and copying need of any diagram pane: the diagram inside it.
#include <wx/panel.h>

class DiagramWnd;
class DiagramCanvas;

class DiagramPane : public wxPanel {
public:
    using wxPanel::wxPanel;
    virtual DiagramWnd& Diagram() = 0;
    virtual DiagramCanvas* Canvas() const = 0;
};

// Hands a canvas's commands, their states and its context menu to the diagram window behind it.
template <class Canvas, class Wnd>
void ConnectCanvas(Canvas& canvas, Wnd* wnd) {
    canvas.onCommand = [wnd](unsigned id) { return wnd->OnCommand(id); };
    canvas.onUpdateCommand = [wnd](auto& ui) { wnd->OnUpdateCommand(ui); };
    canvas.contextMenu = [wnd] { return wnd->BuildContextMenu(); };
}

// The diagram of a pane the frame keeps under a display bit, or null.
inline DiagramWnd* DiagramOfPane(wxWindow* pane) {
    auto* p = dynamic_cast<DiagramPane*>(pane);
    return p ? &p->Diagram() : nullptr;
}
