#include "diagrams/ui/VectorDiagPane.h"

#include <wx/artprov.h>
#include <wx/sizer.h>
#include <wx/toolbar.h>

#include "diagrams/ui/DiagramCanvas.h"
#include "model/Channel.h"
#include "model/Resources.h"
#include "platform/ui/WxUiServices.h"

namespace {

constexpr int kToolBarId = 550;
constexpr int kWindowId = 500;

// A tool-tip resource holds the long help, a line break and the short tip.
void SplitTip(unsigned id, wxString& tip, wxString& help) {
    const wxString text = platform::ToWx(LoadResString(id));
    help = text.BeforeFirst(wxS('\n'));
    tip = text.Contains(wxS("\n")) ? text.AfterFirst(wxS('\n')) : help;
}

}  // namespace

VectorDiagPane::VectorDiagPane(wxWindow* parent, DiagramOwner* owner)
    : DiagramPane(parent, wxID_ANY), m_wnd(std::make_unique<VectorDiagramWnd>(owner)) {
    m_canvas = new DiagramCanvas(this, kWindowId, *m_wnd, CHF_VECTOR_DIAGRAM);
    ConnectCanvas(*m_canvas, m_wnd.get());

    m_toolBar = new wxToolBar(this, kToolBarId, wxDefaultPosition, wxDefaultSize, wxTB_VERTICAL | wxTB_FLAT);
    m_toolBar->SetToolBitmapSize(wxSize(16, 16));
    struct Tool {
        int id;
        wxArtID art;
        wxItemKind kind;
    };
    const Tool tools[] = {{ID_VECTOR_TB_CHANNELS, wxART_LIST_VIEW, wxITEM_NORMAL},
                          {ID_VECTOR_TB_REFERENCE, wxART_REDO, wxITEM_NORMAL},
                          {ID_VECTOR_TB_SHOW_VALUES, wxART_REPORT_VIEW, wxITEM_CHECK},
                          {ID_VECTOR_TB_ONLY_DIRECTION, wxART_GO_UP, wxITEM_CHECK}};
    for (const Tool& t : tools) {
        wxString tip, help;
        SplitTip(unsigned(t.id), tip, help);
        m_toolBar->AddTool(t.id, tip, wxArtProvider::GetBitmap(t.art, wxART_TOOLBAR, wxSize(16, 16)), tip, t.kind);
        m_toolBar->SetToolLongHelp(t.id, help);
        if (t.id == ID_VECTOR_TB_CHANNELS || t.id == ID_VECTOR_TB_REFERENCE) m_toolBar->AddSeparator();
    }
    m_toolBar->Realize();

    auto* sizer = new wxBoxSizer(wxHORIZONTAL);
    sizer->Add(m_canvas, 1, wxEXPAND | wxRIGHT, 1);
    sizer->Add(m_toolBar, 0, wxEXPAND);
    SetSizer(sizer);

    Bind(wxEVT_TOOL, &VectorDiagPane::OnTool, this, ID_VECTOR_TB_CHANNELS, ID_VECTOR_TB_ONLY_DIRECTION);
    Bind(wxEVT_UPDATE_UI, &VectorDiagPane::OnUpdateTool, this, ID_VECTOR_TB_CHANNELS, ID_VECTOR_TB_ONLY_DIRECTION);
    // The copy command reaches the pane while it has the focus.
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { m_canvas->CopyToClipboard(); }, wxID_COPY);
}

VectorDiagPane::~VectorDiagPane() = default;

void VectorDiagPane::OnTool(wxCommandEvent& e) {
    switch (e.GetId()) {
        case ID_VECTOR_TB_CHANNELS:
        case ID_VECTOR_TB_REFERENCE: {
            if (!m_wnd->GetActiveDocument()) return;
            const auto items = e.GetId() == ID_VECTOR_TB_CHANNELS ? m_wnd->BuildChannelMenu() : m_wnd->BuildReferenceMenu();
            m_canvas->ShowMenu(items, m_canvas->ScreenToClient(wxGetMousePosition()));
            return;
        }
        default: m_wnd->OnCommand(unsigned(e.GetId()));
    }
}

void VectorDiagPane::OnUpdateTool(wxUpdateUIEvent& e) {
    CCmdUI ui(unsigned(e.GetId()));
    m_wnd->OnUpdateCommand(ui);
    ApplyCmdUI(ui, e);
}
