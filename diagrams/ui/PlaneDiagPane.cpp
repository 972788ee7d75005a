#include "diagrams/ui/PlaneDiagPane.h"

#include "diagrams/ui/ToolColumn.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/dialog.h>
#include <wx/listctrl.h>
#include <wx/scrolbar.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/toolbar.h>

#include "diagrams/ChanPairList.h"
#include "diagrams/ui/BlockPropertyGrid.h"
#include "diagrams/ui/DiagramCanvas.h"
#include "diagrams/ui/ToolColumn.h"
#include "document/TenvorikDoc.h"
#include "model/Channel.h"
#include "model/Resources.h"
#include "platform/ui/WxUiServices.h"

namespace {

constexpr int kWindowId = 500;
constexpr int kGridId = 2;

void SplitTip(unsigned id, wxString& tip, wxString& help) {
    const wxString text = platform::ToWx(LoadResString(id));
    help = text.BeforeFirst(wxS('\n'));
    tip = text.Contains(wxS("\n")) ? text.AfterFirst(wxS('\n')) : help;
}

// The pair dialog: two channel choices, the list of pairs, "add" and "remove"; it mirrors
// the list model, which holds what the dialog does.
class ChanPairDlg : public wxDialog {
public:
    ChanPairDlg(wxWindow* parent, ChanPairList& model)
        : wxDialog(parent, 554, platform::ToWx(model.Caption()), wxDefaultPosition, wxDefaultSize,
                   wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
          m_model(model) {
        wxArrayString names;
        for (const CString& n : model.ChannelNames()) names.Add(platform::ToWx(n));
        m_first = new wxChoice(this, ChanPairList::kComboFirstColumn, wxDefaultPosition, wxDefaultSize, names);
        m_second = new wxChoice(this, ChanPairList::kComboSecondColumn, wxDefaultPosition, wxDefaultSize, names);
        if (!names.IsEmpty()) {
            m_first->SetSelection(0);
            m_second->SetSelection(0);
        }
        m_add = new wxButton(this, 2161, TenvorikStrings().IsEnglish() ? wxS("Add") : wxS("Добавить"));
        m_remove = new wxButton(this, 2166, TenvorikStrings().IsEnglish() ? wxS("Remove") : wxS("Удалить"));
        m_list = new wxListCtrl(this, 2164, wxDefaultPosition, wxSize(420, 200), wxLC_REPORT | wxLC_HRULES | wxLC_VRULES);
        m_list->AppendColumn(platform::ToWx(model.ColumnTitle(0)), wxLIST_FORMAT_LEFT, 210);
        m_list->AppendColumn(platform::ToWx(model.ColumnTitle(1)), wxLIST_FORMAT_LEFT, 210);

        auto* choices = new wxFlexGridSizer(2, 4, 8);
        choices->Add(new wxStaticText(this, 4001, platform::ToWx(model.StaticText(0))), 0, wxALIGN_CENTER_VERTICAL);
        choices->Add(m_first, 1, wxEXPAND);
        choices->Add(new wxStaticText(this, 4002, platform::ToWx(model.StaticText(1))), 0, wxALIGN_CENTER_VERTICAL);
        choices->Add(m_second, 1, wxEXPAND);
        choices->AddGrowableCol(1);
        auto* buttons = new wxBoxSizer(wxHORIZONTAL);
        buttons->Add(m_add, 0, wxRIGHT, 8);
        buttons->Add(m_remove);
        auto* top = new wxBoxSizer(wxVERTICAL);
        top->Add(choices, 0, wxEXPAND | wxALL, 8);
        top->Add(buttons, 0, wxLEFT | wxRIGHT, 8);
        top->Add(m_list, 1, wxEXPAND | wxALL, 8);
        top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 8);
        SetSizerAndFit(top);

        m_first->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { Sync(); });
        m_second->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { Sync(); });
        m_add->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
            Sync();
            if (m_model.Add()) Refill();
        });
        m_remove->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
            if (m_model.Remove()) Refill();
        });
        m_list->Bind(wxEVT_LIST_ITEM_SELECTED, [this](wxListEvent& e) {
            m_model.SelectRow(int(e.GetIndex()));
            UpdateButtons();
        });
        m_list->Bind(wxEVT_LIST_ITEM_DESELECTED, [this](wxListEvent&) {
            m_model.SelectRow(-1);
            UpdateButtons();
        });
        Refill();
    }

private:
    void Sync() {
        m_model.Choose(ChanPairList::kComboFirstColumn, m_first->GetSelection());
        m_model.Choose(ChanPairList::kComboSecondColumn, m_second->GetSelection());
        UpdateButtons();
    }
    void Refill() {
        const int selected = m_model.SelectedRow();
        m_list->DeleteAllItems();
        for (int i = 0; i < m_model.RowCount(); ++i) {
            const long row = m_list->InsertItem(i, platform::ToWx(m_model.CellText(i, 0)));
            m_list->SetItem(row, 1, platform::ToWx(m_model.CellText(i, 1)));
        }
        m_model.SelectRow(selected);
        if (selected >= 0) m_list->SetItemState(selected, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
        UpdateButtons();
    }
    void UpdateButtons() {
        m_add->Enable(m_model.CanAdd());
        m_remove->Enable(m_model.CanRemove());
    }

    ChanPairList& m_model;
    wxChoice *m_first, *m_second;
    wxButton *m_add, *m_remove;
    wxListCtrl* m_list;
};

}  // namespace

PlaneDiagPane::PlaneDiagPane(wxWindow* parent, std::unique_ptr<PlaneDiagramWnd> wnd, int toolBarId,
                             const std::vector<PlaneTool>& tools, uint32_t dropKind)
    : DiagramPane(parent, wxID_ANY), m_wnd(std::move(wnd)) {
    m_canvas = new DiagramCanvas(this, kWindowId, *m_wnd, dropKind);
    ConnectCanvas(*m_canvas, m_wnd.get());
    m_wnd->SetPairEditor([this](std::vector<ChannelPair>& pairs) { return EditPairs(pairs); });

    m_grid = new BlockPropertyGrid(this, kGridId, m_wnd->GetGridModel());
    m_grid->SetCaptionTextColour(wxColour(40, 40, 40));
    m_grid->SetCellTextColour(wxColour(40, 40, 40));
    m_wnd->SetGridRebuild([this] {
        m_grid->Rebuild();
        // A block of more or fewer rows moves the split line.
        AdjustLayout();
    });
    for (auto type : {wxEVT_PG_ITEM_COLLAPSED, wxEVT_PG_ITEM_EXPANDED})
        m_grid->Bind(type, [this](wxPropertyGridEvent& e) {
            CallAfter([this] { AdjustLayout(); });
            e.Skip();
        });

    // The toolkit's tool bar sizes its buttons by the theme and hides what a low pane cannot
    // hold; this one wraps into a second column instead.
    m_toolBar = new ToolColumn(this, toolBarId);
    for (const PlaneTool& t : tools) {
        wxString tip, help;
        SplitTip(unsigned(t.id), tip, help);
        m_toolBar->AddTool(t.id, wxArtProvider::GetBitmap(t.art, wxART_TOOLBAR, wxSize(16, 16)), tip, t.check);
        if (t.separatorAfter) m_toolBar->AddSeparator();
        Bind(wxEVT_TOOL, &PlaneDiagPane::OnTool, this, t.id);
        Bind(wxEVT_UPDATE_UI, &PlaneDiagPane::OnUpdateTool, this, t.id);
    }
    m_hbar = new wxScrollBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSB_HORIZONTAL);
    m_vbar = new wxScrollBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSB_VERTICAL);
    for (wxScrollBar* bar : {m_hbar, m_vbar})
        for (auto type : {wxEVT_SCROLL_LINEUP, wxEVT_SCROLL_LINEDOWN, wxEVT_SCROLL_PAGEUP, wxEVT_SCROLL_PAGEDOWN,
                          wxEVT_SCROLL_THUMBTRACK, wxEVT_SCROLL_THUMBRELEASE, wxEVT_SCROLL_TOP, wxEVT_SCROLL_BOTTOM})
            bar->Bind(type, &PlaneDiagPane::OnScrollBar, this);
    // Whatever changes the zoom or the origin repaints the diagram; the bars follow it.
    m_wnd->SetInvalidate([this] {
        SyncScrollBars();
        m_canvas->Refresh(false);
    });

    Bind(wxEVT_SIZE, &PlaneDiagPane::OnSize, this);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { m_canvas->CopyToClipboard(); }, wxID_COPY);
    // The wheel zooms and pans; the pane passes what reaches it on to the diagram.
    auto wheel = [this](wxMouseEvent& e) {
        unsigned keys = 0;
        if (e.ControlDown()) keys |= 8;
        if (e.ShiftDown()) keys |= 4;
        m_wnd->OnMouseWheel(keys, e.GetWheelRotation());
        SyncScrollBars();
    };
    m_canvas->Bind(wxEVT_MOUSEWHEEL, wheel);
    Bind(wxEVT_MOUSEWHEEL, wheel);
    // The split line: the top rows of the diagram window.
    m_canvas->Bind(wxEVT_MOTION, [this](wxMouseEvent& e) {
        if (m_drag == 1) {
            const int y = wxGetMousePosition().y;
            if (y != m_dragY) {
                // The line moves from where it is shown, which may be above the height kept.
                m_wnd->DragSplitLine(m_grid->GetSize().y + y - m_dragY - m_wnd->GetGridHeight(), GetClientSize().y);
                m_dragY = y;
            }
            AdjustLayout();
        }
        m_canvas->SetCursor(e.GetY() < PlaneDiagramWnd::kSplitRows || m_drag == 1 ? wxCursor(wxCURSOR_SIZENS)
                                                                                  : wxNullCursor);
        e.Skip();
    });
    m_canvas->Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& e) {
        m_drag = e.GetY() < PlaneDiagramWnd::kSplitRows ? 1 : 2;
        m_dragY = wxGetMousePosition().y;
        if (!m_canvas->HasCapture()) m_canvas->CaptureMouse();
        e.Skip();
    });
    m_canvas->Bind(wxEVT_LEFT_UP, [this](wxMouseEvent& e) {
        m_drag = 0;
        if (m_canvas->HasCapture()) m_canvas->ReleaseMouse();
        e.Skip();
    });
    m_canvas->Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { m_drag = 0; });

    m_wnd->ReloadBlocks();
}

PlaneDiagPane::~PlaneDiagPane() = default;

void PlaneDiagPane::OnSize(wxSizeEvent& e) {
    AdjustLayout();
    e.Skip();
}

void PlaneDiagPane::AdjustLayout() {
    const wxSize client = GetClientSize();
    const int tw = m_toolBar->WidthFor(client.y);
    const int w = std::max(client.x - tw - 1, 0);
    // The diagram keeps the room a drag of the split line leaves it, whatever height the grid
    // was given in a taller pane.
    // The grid is no taller than its rows: the rest goes to the diagram and its value table.
    const int gridHeight =
        std::min({ClampCircleGridHeight(m_wnd->GetGridHeight(), client.y), GridRowsHeight(), client.y});
    const int sb = m_hbar->GetBestSize().y, sv = m_vbar->GetBestSize().x;
    const int ch = std::max(client.y - gridHeight - sb, 0), cw = std::max(w - sv, 0);
    m_toolBar->SetSize(client.x - tw, 0, tw, client.y);
    m_grid->SetSize(0, 0, w, gridHeight);
    m_canvas->SetSize(0, gridHeight, cw, ch);
    m_vbar->SetSize(cw, gridHeight, sv, ch);
    m_hbar->SetSize(0, gridHeight + ch, cw, sb);
    SyncScrollBars();
    m_canvas->Refresh(false);
}

int PlaneDiagPane::GridRowsHeight() {
    int rows = 0;
    for (wxPropertyGridIterator it = m_grid->GetIterator(wxPG_ITERATE_VISIBLE); !it.AtEnd(); ++it) ++rows;
    return std::max(rows, 1) * m_grid->GetRowHeight() + 2;
}

void PlaneDiagPane::SyncScrollBars() {
    const CircleScrollBars& b = m_wnd->GetScrollBars();
    for (wxScrollBar* bar : {m_hbar, m_vbar}) {
        if (!bar) continue;
        // Shown disabled while the whole plane fits.
        if (b.enabled)
            bar->SetScrollbar(bar == m_hbar ? b.posH : b.posV, b.page, 10000, b.page);
        else
            bar->SetScrollbar(0, 1, 1, 1);
        bar->Enable(b.enabled);
    }
}

void PlaneDiagPane::OnScrollBar(wxScrollEvent& e) {
    const bool horizontal = e.GetEventObject() == m_hbar;
    const wxEventType t = e.GetEventType();
    CircleScrollCode code = kScrollThumbTrack;
    if (t == wxEVT_SCROLL_LINEUP) code = kScrollLineUp;
    else if (t == wxEVT_SCROLL_LINEDOWN) code = kScrollLineDown;
    else if (t == wxEVT_SCROLL_PAGEUP) code = kScrollPageUp;
    else if (t == wxEVT_SCROLL_PAGEDOWN) code = kScrollPageDown;
    else if (t == wxEVT_SCROLL_TOP) code = kScrollTop;
    else if (t == wxEVT_SCROLL_BOTTOM) code = kScrollBottom;
    // Line and page steps are taken from where the diagram last put the bar.
    m_wnd->OnScroll(horizontal, code, e.GetPosition());
}

void PlaneDiagPane::OnTool(wxCommandEvent& e) {
    if (e.GetId() == ID_CIRCLE_TB_CHANNELS) {
        if (!m_wnd->GetActiveDocument()) return;
        m_canvas->ShowMenu(m_wnd->BuildChannelMenu(), m_canvas->ScreenToClient(wxGetMousePosition()));
        return;
    }
    m_wnd->OnCommand(unsigned(e.GetId()));
    m_canvas->Refresh(false);
    m_grid->Refresh();
}

void PlaneDiagPane::OnUpdateTool(wxUpdateUIEvent& e) {
    CCmdUI ui(unsigned(e.GetId()));
    m_wnd->OnUpdateCommand(ui);
    ApplyCmdUI(ui, e);
}

bool PlaneDiagPane::EditPairs(std::vector<ChannelPair>& pairs) {
    CTenvorikDoc* doc = m_wnd->GetActiveDocument();
    if (!doc) return false;
    std::vector<CString> names;
    const COscillogram& osc = doc->GetOscillogram();
    for (const CChannel& ch : osc.m_channels)
        if (!ch.IsDiscrete()) names.push_back(ch.GetName());
    ChanPairList model(!m_wnd->IsDifferential(), pairs, names);
    ChanPairDlg dlg(this, model);
    if (dlg.ShowModal() != wxID_OK) return false;
    pairs = model.Pairs();
    return true;
}
