#pragma once
// A dockable pane that holds one diagram window filling it, without a tool bar.
#include <wx/event.h>

#include <memory>

#include "diagrams/ui/DiagramCanvas.h"
#include "diagrams/ui/DiagramPane.h"

template <class Wnd>
class FramePane : public DiagramPane {
public:
    // `dropKind`: the display bit channels dropped on the window get, 0 for none.
    FramePane(wxWindow* parent, DiagramOwner* owner, uint32_t dropKind)
        : DiagramPane(parent, wxID_ANY), m_wnd(std::make_unique<Wnd>(owner)) {
        m_canvas = new DiagramCanvas(this, 500, *m_wnd, dropKind);
        ConnectCanvas(*m_canvas, m_wnd.get());
        Bind(wxEVT_SIZE, [this](wxSizeEvent& e) {
            m_canvas->SetSize(GetClientSize());
            e.Skip();
        });
        // The copy command reaches the pane while it has the focus.
        Bind(wxEVT_MENU, [this](wxCommandEvent&) { m_canvas->CopyToClipboard(); }, wxID_COPY);
    }

    Wnd& Window() { return *m_wnd; }
    DiagramWnd& Diagram() override { return *m_wnd; }
    DiagramCanvas* Canvas() const override { return m_canvas; }

private:
    std::unique_ptr<Wnd> m_wnd;
    DiagramCanvas* m_canvas = nullptr;
};
