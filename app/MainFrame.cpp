#include "app/MainFrame.h"

#include <wx/app.h>
#include <wx/artprov.h>
#include <wx/aui/dockart.h>
#include <wx/filehistory.h>
#include <wx/menu.h>
#include <wx/ribbon/art.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/ribbon/page.h>
#include <wx/ribbon/panel.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

#include "app/CaptionBars.h"
#include "app/InstanceChannel.h"
#include "app/TenvorikDocument.h"
#include "view/ui/ViewPrint.h"
#include "document/TenvorikDoc.h"
#include "model/Resources.h"
#include "platform/Profile.h"
#include "platform/ui/WxUiServices.h"

using platform::ToWx;

namespace {

CMainFrame* g_mainFrame = nullptr;

constexpr int kTimerId = 100;
constexpr int kRecentButtonId = 272;
constexpr int kStyleButtonId = 286;
constexpr int kPageSetupId = 57605;

// A ribbon text without the menu's accelerator marks.
// The title of the comments' button and panel.
constexpr unsigned kCommentsPanelText = 9976;

wxString RibbonText(unsigned id) { return wxStripMenuCodes(ToWx(LoadResString(id))); }

// The tool tip of a command: its string's part after the line break.
wxString CommandTip(unsigned id) {
    wxString s = ToWx(LoadResString(id));
    int nl = s.Find('\n');
    return nl == wxNOT_FOUND ? s : s.Mid(size_t(nl) + 1);
}

wxBitmap Art(const wxArtID& id, int size) { return wxArtProvider::GetBitmap(id, wxART_TOOLBAR, wxSize(size, size)); }

struct Look {
    int id;
    unsigned text;
    bool ribbonStyle;  // the Office 2007 family draws the ribbon; the older looks draw it flat
    wxColour primary, secondary, tertiary;
};

const Look kLooks[] = {
    {210, 62020, false, wxColour(212, 208, 200), wxColour(128, 128, 128), wxColour(255, 255, 255)},
    {211, 62021, false, wxColour(219, 216, 209), wxColour(10, 36, 106), wxColour(255, 255, 255)},
    {212, 62022, false, wxColour(236, 233, 216), wxColour(49, 106, 197), wxColour(255, 255, 255)},
    {213, 62023, false, wxColour(196, 218, 250), wxColour(0, 45, 150), wxColour(255, 255, 255)},
    {214, 62024, false, wxColour(238, 238, 238), wxColour(82, 82, 82), wxColour(255, 255, 255)},
    {215, 62025, true, wxColour(194, 216, 241), wxColour(255, 223, 114), wxColour(0, 0, 0)},
    {216, 62026, true, wxColour(83, 83, 83), wxColour(255, 180, 70), wxColour(255, 255, 255)},
    {217, 62027, true, wxColour(208, 212, 221), wxColour(255, 223, 114), wxColour(0, 0, 0)},
    {218, 62028, true, wxColour(180, 214, 220), wxColour(255, 223, 114), wxColour(0, 0, 0)},
};

const Look& FindLook(int id) {
    for (const Look& l : kLooks)
        if (l.id == id) return l;
    return kLooks[5];  // any other id: the blue Office 2007 look
}

struct PanePlace {
    unsigned title;
    int dock;  // wxAUI_DOCK_*
    wxSize size;
    int layer;  // the outer layer keeps the whole side; the spectrum lies under the records only
    bool shown;
};
// Spectrum, vector, circle, differential. Docked panes cannot share a place as tabs here, so
// the differential pane waits hidden at the right until its command shows it, rather than
// squeezing the vector and circle panes to a third of the height.
const PanePlace kPanes[4] = {
    {3527, wxAUI_DOCK_BOTTOM, wxSize(200, 200), 0, true},
    {3129, wxAUI_DOCK_RIGHT, wxSize(500, 500), 1, true},
    {3262, wxAUI_DOCK_RIGHT, wxSize(500, 500), 1, true},
    {160, wxAUI_DOCK_RIGHT, wxSize(500, 500), 1, false},
};

}  // namespace

CMainFrame* GetMainFrame() { return g_mainFrame; }

CMainFrame::CMainFrame(wxDocManager* manager, instance::Server* server, int applicationLook)
    : wxDocMDIParentFrame(manager, nullptr, wxID_ANY, ToWx(LoadResString(57344)), wxDefaultPosition,
                          wxSize(1200, 800)),
      m_server(server), m_timer(this, kTimerId), m_look(applicationLook) {
    g_mainFrame = this;
    SetMinSize(wxSize(866, 500));
    m_aui.SetManagedWindow(this);
    BuildRibbon();
    BuildStatusBar();
    BuildCaptionBars();
    m_aui.AddPane(GetClientWindow(), wxAuiPaneInfo().Name(wxS("records")).CenterPane().PaneBorder(false));
    ApplyLook(m_look);
    m_aui.Update();

    Bind(wxEVT_RIBBONBUTTONBAR_CLICKED, &CMainFrame::OnRibbonButton, this);
    Bind(wxEVT_RIBBONBUTTONBAR_DROPDOWN_CLICKED, &CMainFrame::ShowRecentMenu, this);
    Bind(wxEVT_TIMER, &CMainFrame::OnTimer, this, kTimerId);
    Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
    Bind(wxEVT_MENU, &CMainFrame::OnRequestRedraw, this, ID_REQUEST_REDRAW);
    Bind(wxEVT_MENU, &CMainFrame::OnApplicationLook, this, ID_APP_LOOK_FIRST, ID_APP_LOOK_LAST);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateApplicationLook, this, ID_APP_LOOK_FIRST, ID_APP_LOOK_LAST);
    Bind(wxEVT_MENU, &CMainFrame::OnRecentFile, this, ID_RECENT_FIRST, ID_RECENT_FIRST + 99);
    Bind(wxEVT_MENU, &CMainFrame::OnShowDiagramPane, this, ID_SHOW_CIRCLE, ID_SHOW_SPECTRUM);
    Bind(wxEVT_MENU, &CMainFrame::OnShowDiagramPane, this, ID_SHOW_DIFFERENTIAL);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateShowDiagramPane, this, ID_SHOW_CIRCLE, ID_SHOW_SPECTRUM);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateShowDiagramPane, this, ID_SHOW_DIFFERENTIAL);
    Bind(wxEVT_MENU, &CMainFrame::OnResultBarClosed, this, ID_RESULT_BAR_CLOSED);
    Bind(wxEVT_MENU, &CMainFrame::OnToggleParamBar, this, ID_TOGGLE_PARAM_BAR);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateToggleParamBar, this, ID_TOGGLE_PARAM_BAR);
    // Document commands are off while no record is open; an open one answers them first.
    Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) { e.Enable(false); }, ID_FILE_PARAMETERS);
    for (int id : {ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_EDIT_COPY_PICTURE})
        Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) { e.Enable(false); }, id);
    // Without a record the comment commands have nothing to act on.
    for (unsigned id : {unsigned(ID_OSC_COMMENTS), unsigned(oscview::ID_COMMENT_MOMENT),
                        unsigned(oscview::ID_COMMENT_LEVEL), unsigned(oscview::ID_COMMENT_AREA)})
        Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) { e.Enable(false); }, int(id));
    for (int id : {ID_FAULT_LOCATION, ID_FAULT_LOCATION_PARAMS, ID_FAULT_REPORT})
        Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) {
            e.Enable(false);
            if (e.GetId() == ID_FAULT_LOCATION) e.Check(false);
        }, id);
    m_timer.Start(100);
}

CMainFrame::~CMainFrame() {
    m_timer.Stop();
    m_aui.UnInit();
    if (g_mainFrame == this) g_mainFrame = nullptr;
}

void CMainFrame::BuildRibbon() {
    m_ribbon = new wxRibbonBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                               wxRIBBON_BAR_FLOW_HORIZONTAL | wxRIBBON_BAR_SHOW_PAGE_LABELS |
                                   wxRIBBON_BAR_SHOW_PANEL_EXT_BUTTONS | wxRIBBON_BAR_SHOW_TOGGLE_BUTTON);

    // The file page stands in for the application button's menu.
    auto* file = new wxRibbonPage(m_ribbon, wxID_ANY, RibbonText(260));
    auto* filePanel = new wxRibbonPanel(file, wxID_ANY, RibbonText(260));
    auto* fb = new wxRibbonButtonBar(filePanel);
    fb->AddButton(wxID_OPEN, RibbonText(263), Art(wxART_FILE_OPEN, 32));
    fb->AddButton(wxID_SAVE, RibbonText(264), Art(wxART_FILE_SAVE, 32));
    fb->AddButton(wxID_SAVEAS, RibbonText(265), Art(wxART_FILE_SAVE_AS, 32));
    fb->AddDropdownButton(kRecentButtonId, RibbonText(272), Art(wxART_GO_DIR_UP, 32));
    fb->AddButton(ID_FILE_PARAMETERS, RibbonText(391), Art(wxART_INFORMATION, 32));
    fb->AddButton(wxID_CLOSE, RibbonText(271), Art(wxART_CLOSE, 32));
    fb->AddButton(ID_OSC_COMMENTS, RibbonText(kCommentsPanelText), Art(wxART_NEW, 32), CommandTip(ID_OSC_COMMENTS));
    auto* setupPanel = new wxRibbonPanel(file, wxID_ANY, RibbonText(127));
    auto* sb = new wxRibbonButtonBar(setupPanel);
    sb->AddButton(ID_FILE_PRINT, RibbonText(266), Art(wxART_PRINT, 32), ToWx(LoadResString(267)));
    sb->AddButton(ID_FILE_PRINT_PREVIEW, RibbonText(269), Art(wxART_FIND, 32), ToWx(LoadResString(267)));
    sb->AddButton(kPageSetupId, RibbonText(344), Art(wxART_HELP_SETTINGS, 32));
    sb->AddButton(ID_PROGRAM_SETTINGS, RibbonText(127), Art(wxART_EXECUTABLE_FILE, 32));

    auto* home = new wxRibbonPage(m_ribbon, wxID_ANY, RibbonText(274));
    auto* merge = new wxRibbonPanel(home, wxID_ANY, RibbonText(486));
    auto* mb = new wxRibbonButtonBar(merge);
    mb->AddButton(ID_EDIT_COPY_PICTURE, RibbonText(oscview::IDS_COPY_PICTURE), Art(wxART_COPY, 16));
    mb->AddButton(wxID_UNDO, RibbonText(485), Art(wxART_UNDO, 16));
    mb->AddButton(wxID_REDO, RibbonText(487), Art(wxART_REDO, 16));
    // The diagram panes, shown and hidden; the check follows the pane.
    auto* diagrams = new wxRibbonPanel(home, wxID_ANY, RibbonText(134));
    auto* db = new wxRibbonButtonBar(diagrams);
    db->AddToggleButton(ID_SHOW_SPECTRUM, RibbonText(316), Art(wxART_REPORT_VIEW, 32));
    db->AddToggleButton(ID_SHOW_VECTOR, RibbonText(315), Art(wxART_GO_UP, 32));
    db->AddToggleButton(ID_SHOW_CIRCLE, RibbonText(338), Art(wxART_HELP_SETTINGS, 32));
    db->AddToggleButton(ID_SHOW_DIFFERENTIAL, RibbonText(158), Art(wxART_LIST_VIEW, 32));
    // The comment tools: each arms the next press in the record's view.
    auto* notes = new wxRibbonPanel(home, wxID_ANY, RibbonText(kCommentsPanelText));
    auto* nb = new wxRibbonButtonBar(notes);
    nb->AddToggleButton(oscview::ID_COMMENT_MOMENT, RibbonText(9973), Art(wxART_GO_DOWN, 16));
    nb->AddToggleButton(oscview::ID_COMMENT_LEVEL, RibbonText(9974), Art(wxART_MINUS, 16));
    nb->AddToggleButton(oscview::ID_COMMENT_AREA, RibbonText(9975), Art(wxART_NORMAL_FILE, 16));
    auto* style = new wxRibbonPanel(home, wxID_ANY, RibbonText(286));
    auto* stb = new wxRibbonButtonBar(style);
    stb->AddDropdownButton(kStyleButtonId, RibbonText(286), Art(wxART_TIP, 32), ToWx(LoadResString(287)));

    // The fault-location page: the line model and the run.
    auto* fault = new wxRibbonPage(m_ribbon, wxID_ANY, RibbonText(323));
    auto* faultPanel = new wxRibbonPanel(fault, wxID_ANY, RibbonText(323));
    auto* flb = new wxRibbonButtonBar(faultPanel);
    flb->AddButton(ID_FAULT_LOCATION_PARAMS, RibbonText(324), Art(wxART_LIST_VIEW, 32), CommandTip(ID_FAULT_LOCATION_PARAMS));
    flb->AddToggleButton(ID_FAULT_LOCATION, RibbonText(348), Art(wxART_FIND, 32), CommandTip(ID_FAULT_LOCATION));

    m_ribbon->SetActivePage(home);
    m_ribbon->Realize();
    m_aui.AddPane(m_ribbon, wxAuiPaneInfo()
                                .Name(wxS("ribbon"))
                                .Top()
                                .Layer(10)
                                .CaptionVisible(false)
                                .PaneBorder(false)
                                .Floatable(false)
                                .Movable(false)
                                .Gripper(false)
                                .CloseButton(false)
                                .MinSize(wxSize(-1, m_ribbon->GetBestSize().y)));
}

// The read-outs' texts while no cursor has been placed.
constexpr unsigned kReadoutTexts[FrameState::kReadoutPanes] = {3130, 3134, 3426, 3170, 3172, 3428};

void CMainFrame::BuildStatusBar() {
    wxStatusBar* bar = CreateStatusBar(7, wxSTB_DEFAULT_STYLE);
    const unsigned* texts = kReadoutTexts;
    const int templates[FrameState::kReadoutPanes] = {27, 27, 40, 27, 27, 40};
    int widths[7];
    for (size_t i = 0; i < FrameState::kReadoutPanes; ++i) {
        // Each read-out is as wide as its template of underscores in the bar's font.
        widths[i] = bar->GetTextExtent(wxString(wxUniChar('_'), size_t(templates[i]))).x + 8;
        CString text = LoadResString(texts[i]);
        m_state.SetStatusText(i, text);
        bar->SetStatusText(ToWx(text), int(i));
    }
    widths[6] = -1;
    bar->SetStatusWidths(7, widths);
    bar->SetStatusText(ToWx(LoadResString(123)), 6);
}

void CMainFrame::BuildCaptionBars() {
    m_resultBar = new CMsgCaptionBar(this);
    m_resultBar->m_notifyCommand = ID_RESULT_BAR_CLOSED;
    AddCaptionBar(m_resultBar, false);
    m_mergeBar = new CMergeBar(this);
    AddCaptionBar(m_mergeBar, false);
    m_paramBar = new CParamOscBar(this);
    AddCaptionBar(m_paramBar, true);
}

void CMainFrame::OnResultBarClosed(wxCommandEvent&) {
    // The user closed the result bar: the result leaves the active record.
    if (CTenvorikDoc* doc = ActiveRecordDoc())
        if (doc->m_locator.IsActive()) doc->HideFaultLocationResult();
}

void CMainFrame::OnToggleParamBar(wxCommandEvent&) { ShowCaptionBar(m_paramBar, !IsCaptionBarShown(m_paramBar)); }

void CMainFrame::OnUpdateToggleParamBar(wxUpdateUIEvent& event) { event.Check(IsCaptionBarShown(m_paramBar)); }

void CMainFrame::ApplyLook(int id) {
    wxBusyCursor wait;
    m_look = id;
    const Look& look = FindLook(id);
    if (look.ribbonStyle)
        m_ribbon->SetArtProvider(new wxRibbonMSWArtProvider);
    else
        m_ribbon->SetArtProvider(new wxRibbonAUIArtProvider);
    m_ribbon->GetArtProvider()->SetColourScheme(look.primary, look.secondary, look.tertiary);
    m_ribbon->Realize();
    m_aui.GetPane(m_ribbon).MinSize(wxSize(-1, m_ribbon->GetBestSize().y));
    m_aui.Update();
    Refresh(true);
    Update();
}

void CMainFrame::OnRibbonButton(wxRibbonButtonBarEvent& event) {
    // Ribbon buttons run the same commands as menu items.
    wxCommandEvent cmd(wxEVT_MENU, event.GetId());
    cmd.SetEventObject(this);
    ProcessWindowEvent(cmd);
}

void CMainFrame::ShowRecentMenu(wxRibbonButtonBarEvent& event) {
    wxMenu menu;
    if (event.GetId() == kStyleButtonId) {
        for (const Look& l : kLooks) menu.AppendRadioItem(l.id, ToWx(LoadResString(l.text)));
        menu.Check(FindLook(m_look).id, true);
    } else if (event.GetId() == kRecentButtonId) {
        wxFileHistory* history = GetDocumentManager()->GetFileHistory();
        size_t n = history ? history->GetCount() : 0;
        for (size_t i = 0; i < n; ++i)
            menu.Append(ID_RECENT_FIRST + int(i), wxString::Format(wxS("&%d %s"), int((i + 1) % 10), history->GetHistoryFile(i)));
        if (n == 0) return;
    } else {
        return;
    }
    event.PopupMenu(&menu);
}

void CMainFrame::OnRecentFile(wxCommandEvent& event) {
    wxFileHistory* history = GetDocumentManager()->GetFileHistory();
    size_t i = size_t(event.GetId() - ID_RECENT_FIRST);
    if (!history || i >= history->GetCount()) return;
    wxString path = history->GetHistoryFile(i);
    if (!GetDocumentManager()->CreateDocument(path, wxDOC_SILENT)) {
        // A record that no longer opens leaves the list.
        if (!wxFileExists(path)) history->RemoveFileFromHistory(i);
    }
}

void CMainFrame::OnTimer(wxTimerEvent&) {
    if (m_state.TakeRedraw()) Refresh(true);
    // The diagrams follow the active record, once it has finished loading.
    wxDocument* current = GetDocumentManager()->GetCurrentDocument();
    auto* record = dynamic_cast<TenvorikDocument*>(current);
    const bool loading = record && record->IsLoading();
    if (current != m_diagramDocument || loading != m_diagramDocumentLoading) {
        m_diagramDocument = current;
        m_diagramDocumentLoading = loading;
        if (!current) ShowNoRecord();
        UpdateDiagrams();
    }
    // The caption names the active record, as the tabs do.
    wxString title = wxTheApp->GetAppDisplayName();
    if (wxDocument* doc = GetDocumentManager()->GetCurrentDocument()) title += wxS(" - ") + doc->GetUserReadableName();
    if (GetTitle() != title) SetTitle(title);
    if (m_server) {
        for (const std::string& path : m_server->Poll()) {
            wxString p = wxString::FromUTF8(path);
            CallAfter([this, p] { OpenFromSecondStart(p); });
        }
    }
}

void CMainFrame::ShowNoRecord() {
    // Nothing of a closed record stays on show: its result, its merge, its header and its
    // cursor read-outs.
    ShowCaptionBar(m_resultBar, false);
    ShowCaptionBar(m_mergeBar, false);
    for (size_t i = 0; i < FrameState::kReadoutPanes; ++i) SetStatusPaneText(i, LoadResString(kReadoutTexts[i]));
    m_paramBar->Refresh();
}

void CMainFrame::OpenFromSecondStart(const wxString& path) {
    if (IsIconized()) Iconize(false);
    Show(true);
    Raise();
    RequestUserAttention();
    GetDocumentManager()->CreateDocument(path, wxDOC_SILENT);
}

void CMainFrame::OnClose(wxCloseEvent& event) {
    // Views that see the frame closing leave the active view alone; the documents are asked
    // to save first, and a refusal keeps everything as it was.
    m_closing = true;
    m_timer.Stop();
    // The result and merge bars go first, with what their hiding does: the active record's
    // fault-location result leaves it before its documents are asked to save.
    if (IsCaptionBarShown(m_resultBar)) {
        ShowCaptionBar(m_resultBar, false);
        wxCommandEvent closed(wxEVT_MENU, ID_RESULT_BAR_CLOSED);
        OnResultBarClosed(closed);
    }
    ShowCaptionBar(m_mergeBar, false);
    if (!GetDocumentManager()->Clear(!event.CanVeto())) {
        m_closing = false;
        m_timer.Start(100);
        event.Veto();
        return;
    }
    Destroy();
}

void CMainFrame::OnRequestRedraw(wxCommandEvent&) { m_state.RequestRedraw(); }

void CMainFrame::OnApplicationLook(wxCommandEvent& event) {
    ApplyLook(event.GetId());
    platform::WriteProfileInt(L"Workspace", L"ApplicationLook", m_look);
}

void CMainFrame::OnUpdateApplicationLook(wxUpdateUIEvent& event) { event.Check(event.GetId() == m_look); }

void CMainFrame::UpdateDiagrams() {
    for (Diagram& d : m_diagrams)
        if (d.window && d.reload) d.reload();
}

wxWindow* CMainFrame::GetDiagramWnd(int displayBit) const {
    int slot = FrameState::DiagramSlot(displayBit);
    return slot < 0 ? nullptr : m_diagrams[slot].window;
}

void CMainFrame::SetDiagramWnd(int displayBit, wxWindow* window, std::function<void()> reload) {
    int slot = FrameState::DiagramSlot(displayBit);
    if (slot < 0 || !window) return;
    m_diagrams[slot] = {window, std::move(reload)};
    const PanePlace& place = kPanes[slot];
    m_aui.AddPane(window, wxAuiPaneInfo()
                              .Name(wxString::Format(wxS("diagram%d"), displayBit))
                              .Caption(ToWx(LoadResString(place.title)))
                              .Direction(place.dock)
                              .Layer(place.layer)
                              .BestSize(place.size)
                              .Dockable(true)
                              .Floatable(true)
                              .CloseButton(true)
                              .Show(place.shown));
    // A resized diagram asks for one deferred redraw of the frame.
    window->Bind(wxEVT_SIZE, [this](wxSizeEvent& e) {
        m_state.RequestRedraw();
        e.Skip();
    });
    m_aui.Update();
}

wxAuiPaneInfo* CMainFrame::DiagramPaneOf(int commandId) {
    int bit = 0;
    switch (commandId) {
        case ID_SHOW_SPECTRUM: bit = 2; break;
        case ID_SHOW_VECTOR: bit = 4; break;
        case ID_SHOW_CIRCLE: bit = 8; break;
        case ID_SHOW_DIFFERENTIAL: bit = 16; break;
        default: return nullptr;
    }
    wxWindow* window = GetDiagramWnd(bit);
    if (!window) return nullptr;
    wxAuiPaneInfo& pane = m_aui.GetPane(window);
    return pane.IsOk() ? &pane : nullptr;
}

void CMainFrame::OnShowDiagramPane(wxCommandEvent& event) {
    if (wxAuiPaneInfo* pane = DiagramPaneOf(event.GetId())) pane->Show(!pane->IsShown());
    m_aui.Update();
}

void CMainFrame::OnUpdateShowDiagramPane(wxUpdateUIEvent& event) {
    if (event.GetId() == ID_RECALC_LAYOUT) return;
    wxAuiPaneInfo* pane = DiagramPaneOf(event.GetId());
    event.Enable(pane != nullptr);
    event.Check(pane && pane->IsShown());
}

void CMainFrame::AddCaptionBar(wxWindow* bar, bool shown) {
    if (!bar) return;
    m_aui.AddPane(bar, wxAuiPaneInfo()
                           .Name(wxString::Format(wxS("captionbar%d"), m_captionBars))
                           .Top()
                           .Layer(5)
                           .Row(m_captionBars)
                           .CaptionVisible(false)
                           .PaneBorder(false)
                           .Floatable(false)
                           .Movable(false)
                           .Gripper(false)
                           .CloseButton(false)
                           .MinSize(wxSize(-1, bar->GetBestSize().y))
                           .Show(shown));
    ++m_captionBars;
    m_aui.Update();
}

void CMainFrame::ShowCaptionBar(wxWindow* bar, bool show) {
    wxAuiPaneInfo& pane = m_aui.GetPane(bar);
    if (!pane.IsOk() || pane.IsShown() == show) return;
    pane.Show(show);
    m_aui.Update();
}

bool CMainFrame::IsCaptionBarShown(wxWindow* bar) const {
    wxAuiPaneInfo& pane = const_cast<wxAuiManager&>(m_aui).GetPane(bar);
    return pane.IsOk() && pane.IsShown();
}

void CMainFrame::SetStatusPaneText(size_t pane, const CString& text) {
    if (!m_state.SetStatusText(pane, text)) return;
    wxStatusBar* bar = GetStatusBar();
    if (!bar || pane >= size_t(bar->GetFieldsCount())) return;
    bar->SetStatusText(ToWx(text), int(pane));
    bar->Update();
}
