#include "app/MainFrame.h"

#include <wx/accel.h>
#include <wx/app.h>
#include <wx/sizer.h>

#include <set>
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

#include "app/AboutWnd.h"
#include "app/CaptionBars.h"
#include "app/CommandTable.h"
#include "app/RibbonArt.h"
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

// A ribbon text without the menu's accelerator marks.
// A ribbon text without the menu's accelerator marks and without the key tip that may follow
// a line break; a menu keeps its marks.
wxString RibbonText(unsigned id, bool menu = false) {
    wxString s = ToWx(LoadResString(id));
    const int nl = s.Find('\n');
    if (nl != wxNOT_FOUND) s.Truncate(size_t(nl));
    return menu ? s : wxStripMenuCodes(s);
}

// The tool tip of a command: its string's part after the line break.
wxString CommandTip(unsigned id) {
    wxString s = ToWx(LoadResString(id));
    int nl = s.Find('\n');
    return nl == wxNOT_FOUND ? s : s.Mid(size_t(nl) + 1);
}


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

// Wide enough for the home page's panels at their full size, within the screen.
wxSize InitialFrameSize() {
    const wxSize screen = wxGetDisplaySize();
    return wxSize(std::min(1440, std::max(screen.x - 40, 866)), std::min(900, std::max(screen.y - 60, 500)));
}

}  // namespace

CMainFrame* GetMainFrame() { return g_mainFrame; }

CMainFrame::CMainFrame(wxDocManager* manager, instance::Server* server, int applicationLook)
    : wxDocMDIParentFrame(manager, nullptr, wxID_ANY, ToWx(LoadResString(57344)), wxDefaultPosition,
                          InitialFrameSize()),
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
    using commands::MenuId;
    Bind(wxEVT_MENU, &CMainFrame::OnRequestRedraw, this, MenuId(ID_REQUEST_REDRAW));
    Bind(wxEVT_MENU, &CMainFrame::OnApplicationLook, this, MenuId(ID_APP_LOOK_FIRST), MenuId(ID_APP_LOOK_LAST));
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateApplicationLook, this, MenuId(ID_APP_LOOK_FIRST),
         MenuId(ID_APP_LOOK_LAST));
    Bind(wxEVT_MENU, &CMainFrame::OnRecentFile, this, MenuId(ID_RECENT_FIRST), MenuId(ID_RECENT_FIRST + 99));
    Bind(wxEVT_MENU, &CMainFrame::OnShowDiagramPane, this, MenuId(ID_SHOW_CIRCLE), MenuId(ID_SHOW_SPECTRUM));
    Bind(wxEVT_MENU, &CMainFrame::OnShowDiagramPane, this, MenuId(ID_SHOW_DIFFERENTIAL));
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateShowDiagramPane, this, MenuId(ID_SHOW_CIRCLE), MenuId(ID_SHOW_SPECTRUM));
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateShowDiagramPane, this, MenuId(ID_SHOW_DIFFERENTIAL));
    Bind(wxEVT_MENU, &CMainFrame::OnResultBarClosed, this, MenuId(ID_RESULT_BAR_CLOSED));
    Bind(wxEVT_MENU, &CMainFrame::OnToggleParamBar, this, MenuId(ID_TOGGLE_PARAM_BAR));
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateToggleParamBar, this, MenuId(ID_TOGGLE_PARAM_BAR));
    // Document and view commands are off while no record is open; an open one answers them
    // first.
    Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) { e.Enable(false); }, MenuId(ID_FAULT_REPORT));
    BindCommandFallbacks();
    SetAccelerators();
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
                                   wxRIBBON_BAR_SHOW_PANEL_EXT_BUTTONS | wxRIBBON_BAR_SHOW_TOGGLE_BUTTON |
                                   wxRIBBON_BAR_SHOW_HELP_BUTTON);
    // The art goes in before any page: button bars measure their buttons with it when they
    // are added, and a page first shown later would otherwise keep the sizes of no art.
    SetRibbonArt(m_look);
    wxRibbonPage* home = nullptr;
    for (const commands::Page& p : commands::RibbonPages()) {
        auto* page = new wxRibbonPage(m_ribbon, wxID_ANY, RibbonText(p.title));
        if (p.title == 274) home = page;
        for (const commands::Panel& pn : p.panels) {
            auto* panel = new wxRibbonPanel(page, wxID_ANY, RibbonText(pn.title));
            // One button bar per panel (bars side by side in a panel get only their least
            // sizes); it stacks small buttons in columns of three.
            auto* bar = new wxRibbonButtonBar(panel);
            for (const commands::Button& b : pn.buttons) {
                if (b.kind == commands::Kind::Break) continue;
                const wxString label = b.text ? RibbonText(b.text) : wxString();
                const wxString tip = b.tip ? CommandTip(b.tip) : wxString();
                // Every picture is given, the disabled ones too: the bar's own greying of a
                // small picture it made itself leaves nothing on the screen.
                const wxBitmap small = RibbonIcon(b.icon, 16);
                const wxBitmap large = b.large ? RibbonIcon(b.icon, 32) : small;
                const wxBitmap smallOff(small.ConvertToImage().ConvertToDisabled());
                const wxBitmap largeOff = b.large ? wxBitmap(large.ConvertToImage().ConvertToDisabled()) : smallOff;
                const wxRibbonButtonKind kind = b.kind == commands::Kind::Toggle     ? wxRIBBON_BUTTON_TOGGLE
                                                : b.kind == commands::Kind::Dropdown ? wxRIBBON_BUTTON_DROPDOWN
                                                                                     : wxRIBBON_BUTTON_NORMAL;
                const int id = commands::MenuId(b.id);
                wxRibbonButtonBarButtonBase* button =
                    bar->AddButton(id, label, large, small, largeOff, smallOff, kind, tip);
                // Only a command's own pictures are large; the icon rows stay small.
                // (the bar's smallest class draws no picture at all here: medium is the least)
                if (button && !b.large) {
                    bar->SetButtonMaxSizeClass(id, wxRIBBON_BUTTONBAR_BUTTON_MEDIUM);
                    bar->SetButtonMinSizeClass(id, wxRIBBON_BUTTONBAR_BUTTON_MEDIUM);
                }
                m_ribbonButtons.push_back({b.id, bar});
            }
        }
    }
    if (home) m_ribbon->SetActivePage(home);
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
    m_ribbon->Bind(wxEVT_RIBBONBAR_HELP_CLICK, [this](wxRibbonBarEvent&) { ShowMenu(342); });
    m_ribbon->Bind(wxEVT_RIBBONBAR_TAB_RIGHT_UP, [this](wxRibbonBarEvent&) { ShowRibbonMenu(); });
}

void CMainFrame::SetRibbonArt(int look) {
    const Look& l = FindLook(look);
    if (l.ribbonStyle)
        m_ribbon->SetArtProvider(new wxRibbonMSWArtProvider);
    else
        m_ribbon->SetArtProvider(new wxRibbonAUIArtProvider);
    m_ribbon->GetArtProvider()->SetColourScheme(l.primary, l.secondary, l.tertiary);
}

void CMainFrame::ShowMenu(int menuId) {
    wxMenu menu;
    commands::AppendMenu(menu, menuId);
    PopupMenu(&menu);
}

void CMainFrame::ShowRibbonMenu() {
    // One entry: the ribbon shows only its tabs, or its panels too.
    wxMenu menu;
    const int id = wxWindow::NewControlId();
    menu.AppendCheckItem(id, RibbonText(62226));
    menu.Check(id, !m_ribbon->ArePanelsShown());
    if (GetPopupMenuSelectionFromUser(menu) == id) {
        m_ribbon->ShowPanels(!m_ribbon->ArePanelsShown());
        m_aui.GetPane(m_ribbon).MinSize(wxSize(-1, m_ribbon->GetBestSize().y));
        m_aui.Update();
    }
    wxWindow::UnreserveControlId(id);
}

void CMainFrame::BindCommandFallbacks() {
    // A command nobody before the frame answers has no body yet here: its controls show it
    // disabled. The frame's own commands, the application's and the document manager's stock
    // ones are answered elsewhere.
    std::set<int> ids;
    for (int id : commands::RibbonCommands()) ids.insert(id);
    for (int menu : {560, 561, 563, 342})
        for (const commands::MenuItem& item : commands::Menu(menu))
            if (item.id) ids.insert(item.id);
    for (const commands::Accelerator& a : commands::Accelerators()) ids.insert(a.id);
    const std::set<int> answered = {commands::kOpen, commands::kClose, commands::kSave, commands::kSaveAs,
                                    commands::kUndo, commands::kRedo, ID_SHOW_CIRCLE, ID_SHOW_VECTOR,
                                    ID_SHOW_SPECTRUM, ID_SHOW_DIFFERENTIAL, ID_TOGGLE_PARAM_BAR,
                                    ID_PROGRAM_SETTINGS, ID_FILE_FINDER, commands::ID_FILE_PAGE_SETUP,
                                    commands::ID_APP_ABOUT};
    for (int id : ids) {
        if (answered.count(id)) continue;
        Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) {
            e.Enable(false);
            e.Check(false);
        }, commands::MenuId(id));
    }
}

void CMainFrame::SetAccelerators() {
    std::vector<wxAcceleratorEntry> entries;
    for (const commands::Accelerator& a : commands::Accelerators()) {
        int flags = wxACCEL_NORMAL;
        if (a.ctrl) flags |= wxACCEL_CTRL;
        if (a.shift) flags |= wxACCEL_SHIFT;
        entries.emplace_back(flags, a.key, commands::MenuId(a.id));
    }
    SetAcceleratorTable(wxAcceleratorTable(int(entries.size()), entries.data()));
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
    SetRibbonArt(id);
    RealizeRibbon();
    m_aui.GetPane(m_ribbon).MinSize(wxSize(-1, m_ribbon->GetBestSize().y));
    m_aui.Update();
    Refresh(true);
    Update();
}

void CMainFrame::RealizeRibbon() {
    // Every button bar measures its buttons again with the art now in use, also those of the
    // pages not on show, which a realisation of the bar alone leaves at their old sizes.
    for (const RibbonButton& b : m_ribbonButtons) b.bar->Realize();
    for (size_t i = 0; i < m_ribbon->GetPageCount(); ++i) m_ribbon->GetPage(i)->Realize();
    m_ribbon->Realize();
}

void CMainFrame::OnRibbonButton(wxRibbonButtonBarEvent& event) {
    // Ribbon buttons run the same commands as menu items.
    wxCommandEvent cmd(wxEVT_MENU, event.GetId());
    cmd.SetEventObject(this);
    ProcessWindowEvent(cmd);
}

void CMainFrame::ShowRecentMenu(wxRibbonButtonBarEvent& event) {
    using commands::MenuId;
    wxMenu menu;
    const int button = commands::ProgramId(event.GetId());
    if (button == kStyleButtonId) {
        for (const Look& l : kLooks) menu.AppendRadioItem(MenuId(l.id), ToWx(LoadResString(l.text)));
        menu.Check(MenuId(FindLook(m_look).id), true);
    } else if (button == kRecentButtonId) {
        wxFileHistory* history = GetDocumentManager()->GetFileHistory();
        size_t n = history ? history->GetCount() : 0;
        for (size_t i = 0; i < n; ++i)
            menu.Append(MenuId(ID_RECENT_FIRST + int(i)),
                        wxString::Format(wxS("&%d %s"), int((i + 1) % 10), history->GetHistoryFile(i)));
        if (n == 0) return;
    } else {
        return;
    }
    event.PopupMenu(&menu);
}

void CMainFrame::OnRecentFile(wxCommandEvent& event) {
    wxFileHistory* history = GetDocumentManager()->GetFileHistory();
    size_t i = size_t(commands::ProgramId(event.GetId()) - ID_RECENT_FIRST);
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
    // The start-up picture gives way to the first record.
    if (current) splash::Close();
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
        if (m_server->TakeFindRequest()) CallAfter([this] { FindFromSecondStart(); });
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

void CMainFrame::FindFromSecondStart() {
    if (IsIconized()) Iconize(false);
    Show(true);
    Raise();
    RequestUserAttention();
    // As the ribbon runs it, queued: the finder is modal and this may be called from a timer.
    wxCommandEvent cmd(wxEVT_MENU, commands::MenuId(ID_FILE_FINDER));
    cmd.SetEventObject(this);
    GetEventHandler()->AddPendingEvent(cmd);
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
        wxCommandEvent closed(wxEVT_MENU, commands::MenuId(ID_RESULT_BAR_CLOSED));
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
    ApplyLook(commands::ProgramId(event.GetId()));
    platform::WriteProfileInt(L"Workspace", L"ApplicationLook", m_look);
}

void CMainFrame::OnUpdateApplicationLook(wxUpdateUIEvent& event) {
    event.Check(commands::ProgramId(event.GetId()) == m_look);
}

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
                              // Never squeezed below what its bars and grids need: a scroll bar
                              // given less than its own least size is given a negative one.
                              .MinSize(wxSize(200, 200))
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

void CMainFrame::CloseDiagramPane(int displayBit) {
    wxWindow* window = GetDiagramWnd(displayBit);
    if (!window) return;
    wxAuiPaneInfo& pane = m_aui.GetPane(window);
    if (!pane.IsOk()) return;
    m_aui.ClosePane(pane);
    m_aui.Update();
}

void CMainFrame::OnShowDiagramPane(wxCommandEvent& event) {
    if (wxAuiPaneInfo* pane = DiagramPaneOf(commands::ProgramId(event.GetId()))) pane->Show(!pane->IsShown());
    m_aui.Update();
}

void CMainFrame::OnUpdateShowDiagramPane(wxUpdateUIEvent& event) {
    const int id = commands::ProgramId(event.GetId());
    if (id == ID_RECALC_LAYOUT) return;
    wxAuiPaneInfo* pane = DiagramPaneOf(id);
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
