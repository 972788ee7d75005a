#include "app/MainFrame.h"

#include "app/DiagramPanes.h"
#include "app/Guide.h"
#include "app/PaneEdgeBar.h"
#include "app/PaneLayout.h"
#include "app/QuickAccessBar.h"
#include "app/RecordTabs.h"
#include "app/TabRowBar.h"
#include "app/WindowsDlg.h"

#include <wx/accel.h>
#include <wx/app.h>
#include <wx/sizer.h>

#include <algorithm>
#include <optional>
#include <set>
#include <utility>
#include <wx/artprov.h>
#include <wx/aui/dockart.h>
#include <wx/filehistory.h>
#include <wx/choice.h>
#include <wx/dialog.h>
#include <wx/textentry.h>
#include <wx/menu.h>
#include <wx/modalhook.h>
#include <wx/ribbon/art.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/ribbon/page.h>
#include <wx/ribbon/panel.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

#include "app/AboutWnd.h"
#include "app/PaneRoom.h"
#include "app/CaptionBars.h"
#include "app/CommandTable.h"
#include "app/RibbonArt.h"
#include "app/RibbonKeys.h"
#include "app/InstanceChannel.h"
#include "app/TenvorikDocument.h"
#include "diagrams/ui/DiagramCanvas.h"
#include "diagrams/ui/DiagramPane.h"
#include "diagrams/DiagramWnd.h"
#include "view/ui/TenvorikView.h"
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

// A part of the ribbon that asks the toolkit for its default colours and font once: the ribbon
// measures its panels and buttons with many short-lived drawing contexts, each of which would
// ask the toolkit's style again (three times) for the same answer. A change of the desktop's
// colours asks again.
template <class Base>
class RibbonPart final : public Base {
public:
    template <class... Args>
    explicit RibbonPart(Args&&... args) : Base(std::forward<Args>(args)...) {
        this->Bind(wxEVT_SYS_COLOUR_CHANGED, [this](wxSysColourChangedEvent& e) {
            m_attributes.reset();
            e.Skip();
        });
    }
    wxVisualAttributes GetDefaultAttributes() const override {
        if (!m_attributes) m_attributes = Base::GetDefaultAttributes();
        return *m_attributes;
    }

private:
    mutable std::optional<wxVisualAttributes> m_attributes;
};

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
    int layer;  // the outer layer keeps the whole side; the spectrum lies under the records only
    int row;
    int proportion;  // the share of its column's height
    bool shown;
};
// Spectrum, vector, circle, differential. Docked panes cannot share a place as tabs here: the
// vector and circle panes share the right column, the circle with the larger share for its
// block grid and value table; the differential pane, hidden until its command shows it, gets
// a column of its own beside them rather than squeezing the two to a third of the height.
const PanePlace kPanes[4] = {
    {3527, wxAUI_DOCK_BOTTOM, 0, 0, 100000, true},
    {3129, wxAUI_DOCK_RIGHT, 1, 0, 90000, true},
    {3262, wxAUI_DOCK_RIGHT, 1, 0, 110000, true},
    {160, wxAUI_DOCK_RIGHT, 1, 1, 100000, false},
};
// The display bits of the panes' diagrams, slot by slot.
constexpr int kDiagramBits[4] = {2, 4, 8, 16};

// A screen on which the program's first size would leave too little: the window takes the
// whole of it.
bool IsSmallScreen() {
    const wxRect area = wxGetClientDisplayRect();
    return area.width < 1480 || area.height < 960;
}

// Wide enough for the home page's panels at their full size, within the screen.
wxSize InitialFrameSize() {
    const wxRect area = wxGetClientDisplayRect();
    if (IsSmallScreen()) return area.GetSize();
    return wxSize(std::min(1440, std::max(area.width - 40, 866)), std::min(900, std::max(area.height - 60, 500)));
}

}  // namespace

CMainFrame* GetMainFrame() { return g_mainFrame; }

// A dialog of the program that closes gives the keys back to the record it was opened over.
class CMainFrame::DialogFocus final : public wxModalDialogHook {
public:
    explicit DialogFocus(CMainFrame& frame) : m_frame(frame) { Register(); }
    ~DialogFocus() override { Unregister(); }
    int Enter(wxDialog*) override { return wxID_NONE; }
    void Exit(wxDialog*) override { m_frame.ReturnFocusToView(false); }

private:
    CMainFrame& m_frame;
};

CMainFrame::CMainFrame(wxDocManager* manager, instance::Server* server, int applicationLook)
    : wxDocParentFrameAny<wxAuiMDIParentFrame>(manager, nullptr, wxID_ANY, ToWx(LoadResString(57344)),
                                               wxDefaultPosition, InitialFrameSize(),
                                               wxDEFAULT_FRAME_STYLE | wxFRAME_NO_WINDOW_MENU),
      m_server(server), m_timer(this, kTimerId), m_look(applicationLook) {
    g_mainFrame = this;
    SetMinSize(wxSize(std::min(866, InitialFrameSize().x), std::min(500, InitialFrameSize().y)));
    if (IsSmallScreen()) {
        SetPosition(wxGetClientDisplayRect().GetPosition());
        Maximize(true);
    }
    m_aui.SetManagedWindow(this);
    BuildRibbon();
    BuildStatusBar();
    BuildCaptionBars();
    // The records' tabs: the close button on the active one, the document menu at the right.
    wxAuiNotebook* tabs = GetNotebook();
    tabs->SetWindowStyleFlag(RecordTabsStyle());
    tabs->SetArtProvider(new RecordTabArt([this] { ShowWindowsDialog(); }));
    tabs->Bind(wxEVT_AUINOTEBOOK_PAGE_CLOSE, &CMainFrame::OnRecordTabClose, this);
    m_aui.AddPane(GetClientWindow(), wxAuiPaneInfo().Name(wxS("records")).CenterPane().PaneBorder(false));
    // The strips the diagram panes are hidden to, one along each edge, on show while they hold
    // a pane. They lie outside the panes of their edge and inside the ribbon and caption bars.
    for (int dock : {wxAUI_DOCK_TOP, wxAUI_DOCK_RIGHT, wxAUI_DOCK_BOTTOM, wxAUI_DOCK_LEFT}) {
        auto* bar = new PaneEdgeBar(this, dock, [this](const wxString& name) {
            for (int bit : {2, 4, 8, 16})
                if (DiagramPaneName(bit) == name) ShowDiagramPaneFromEdge(bit);
        });
        m_edges[dock - 1] = bar;
        m_aui.AddPane(bar, wxAuiPaneInfo()
                               .Name(bar->GetName())
                               .Direction(dock)
                               .Layer(3)
                               .CaptionVisible(false)
                               .PaneBorder(false)
                               .Floatable(false)
                               .Movable(false)
                               .Dockable(false)
                               .Gripper(false)
                               .CloseButton(false)
                               .Resizable(false)
                               .Hide());
    }
    // The pin of a diagram pane's title bar hides it to its edge (the manager would float it).
    m_aui.Bind(wxEVT_AUI_PANE_BUTTON, &CMainFrame::OnPaneButton, this);
    ApplyLook(m_look);
    m_aui.Update();

    Bind(wxEVT_RIBBONBUTTONBAR_CLICKED, &CMainFrame::OnRibbonButton, this);
    Bind(wxEVT_RIBBONBUTTONBAR_DROPDOWN_CLICKED, &CMainFrame::ShowRecentMenu, this);
    Bind(wxEVT_TIMER, &CMainFrame::OnTimer, this, kTimerId);
    Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
    using commands::MenuId;
    Bind(wxEVT_MENU, &CMainFrame::OnRequestRedraw, this, MenuId(ID_REQUEST_REDRAW));
    Bind(wxEVT_MENU, [](wxCommandEvent&) { OpenGuide(); }, MenuId(commands::ID_HELP));
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
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { ShowWindowsDialog(); }, MenuId(ID_WINDOWS_DIALOG));
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateToggleParamBar, this, MenuId(ID_TOGGLE_PARAM_BAR));
    // Document and view commands are off while no record is open; an open one answers them
    // first.
    Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) { e.Enable(false); }, MenuId(ID_FAULT_REPORT));
    BindCommandFallbacks();
    SetAccelerators();
    Bind(wxEVT_CHAR_HOOK, &CMainFrame::OnCharHook, this);
    Bind(wxEVT_CHILD_FOCUS, [this](wxChildFocusEvent& e) {
        e.Skip();
        if (m_keys) m_keys->OnFocus(wxWindow::FindFocus());
    });
    m_dialogFocus = std::make_unique<DialogFocus>(*this);
    m_timer.Start(100);
}

CMainFrame::~CMainFrame() {
    m_dialogFocus.reset();
    m_timer.Stop();
    m_aui.UnInit();
    if (g_mainFrame == this) g_mainFrame = nullptr;
}

void CMainFrame::BuildRibbon() {
    m_ribbon = new wxRibbonBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                               wxRIBBON_BAR_FLOW_HORIZONTAL | wxRIBBON_BAR_SHOW_PAGE_LABELS |
                                   wxRIBBON_BAR_SHOW_PANEL_EXT_BUTTONS | wxRIBBON_BAR_SHOW_TOGGLE_BUTTON);
    // The art goes in before any page: button bars measure their buttons with it when they
    // are added, and a page first shown later would otherwise keep the sizes of no art.
    SetRibbonArt(m_look);
    wxRibbonPage* home = nullptr;
    std::vector<RibbonKeys::Button> keyButtons;
    for (const commands::Page& p : commands::RibbonPages()) {
        auto* page = new wxRibbonPage(m_ribbon, wxID_ANY, RibbonText(p.title));
        if (p.title == 274) home = page;
        for (const commands::Panel& pn : p.panels) {
            auto* panel = new RibbonPart<wxRibbonPanel>(page, wxID_ANY, RibbonText(pn.title));
            // One button bar per panel (bars side by side in a panel get only their least
            // sizes); it stacks small buttons in columns of three.
            auto* bar = new RibbonPart<wxRibbonButtonBar>(panel);
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
                keyButtons.push_back({id, bar, b.kind == commands::Kind::Dropdown});
            }
        }
    }
    m_keys = std::make_unique<RibbonKeys>(m_ribbon, std::move(keyButtons), [this] { ReturnFocusToView(true); });
    if (home) m_ribbon->SetActivePage(home);
    m_ribbon->Realize();
    m_aui.AddPane(m_ribbon, RibbonPaneInfo());
    m_quickAccess = new QuickAccessBar(m_ribbon, this);
    TabRowBar::Actions actions;
    actions.help = [this] {
        wxCommandEvent help(wxEVT_MENU, commands::MenuId(commands::ID_HELP));
        help.SetEventObject(this);
        ProcessWindowEvent(help);
    };
    actions.fillStyleMenu = [this](wxMenu& menu) { FillStyleMenu(menu); };
    actions.fillHelpMenu = [](wxMenu& menu) { commands::AppendMenu(menu, 342); };
    actions.describe = [this](const wxString& text) { DoGiveHelp(text, !text.empty()); };
    m_tabRow = new TabRowBar(m_ribbon, std::move(actions));
    m_keys->SetTabRow(m_tabRow);
    PlaceTabRow();
    m_ribbon->Bind(wxEVT_SIZE, [this](wxSizeEvent& e) {
        e.Skip();
        PlaceTabRow();
    });
    m_ribbon->Bind(wxEVT_RIBBONBAR_TAB_RIGHT_UP, [this](wxRibbonBarEvent&) { ShowRibbonMenu(); });
}

void CMainFrame::PlaceTabRow() {
    if (!m_quickAccess || !m_tabRow) return;
    m_quickAccess->Place();
    m_ribbon->SetTabCtrlMargins(m_quickAccess->GetSize().x, m_tabRow->Place());
}

void CMainFrame::FillStyleMenu(wxMenu& menu) {
    for (const Look& l : kLooks) menu.AppendRadioItem(commands::MenuId(l.id), ToWx(LoadResString(l.text)));
    menu.Check(commands::MenuId(FindLook(m_look).id), true);
}

void CMainFrame::SetRibbonArt(int look) {
    const Look& l = FindLook(look);
    // The looks' art, which also frames the ribbon's place of the keyboard focus.
    m_ribbon->SetArtProvider(RibbonKeys::NewArt(l.ribbonStyle));
    m_ribbon->GetArtProvider()->SetColourScheme(l.primary, l.secondary, l.tertiary);
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
                                    commands::ID_APP_ABOUT, commands::ID_HELP, ID_WINDOWS_DIALOG};
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
    // Tool and menu help goes to the free field: in the first one it would blank the В1
    // read-out, and the text it puts back there would be stale once the cursor has moved.
    SetStatusBarPane(6);
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
    // The frame keeps a docked bar at the height it once had; the ribbon's place is made again
    // at the height the new art asks for. A panel measured at a height its art does not give it
    // stays folded into a button, so the panels are laid out again once the bar has its height.
    m_aui.DetachPane(m_ribbon);
    m_aui.Update();
    m_aui.AddPane(m_ribbon, RibbonPaneInfo());
    m_aui.Update();
    RealizeRibbon();
    PlaceTabRow();
    if (m_tabRow) m_tabRow->Refresh(false);
    ApplyLookToDiagrams(this, id);
    Refresh(true);
    Update();
}

wxAuiPaneInfo CMainFrame::RibbonPaneInfo() const {
    return wxAuiPaneInfo()
        .Name(wxS("ribbon"))
        .Top()
        .Layer(10)
        .CaptionVisible(false)
        .PaneBorder(false)
        .Floatable(false)
        .Movable(false)
        .Gripper(false)
        .CloseButton(false)
        .MinSize(wxSize(-1, m_ribbon->GetBestSize().y));
}

void CMainFrame::RealizeRibbon() {
    // Every button bar measures its buttons again with the art now in use, also those of the
    // pages not on show, which a realisation of the bar alone leaves at their old sizes.
    // Their sizes, and those of the panels, pages and bar above them, are measured afresh.
    for (const RibbonButton& b : m_ribbonButtons) {
        b.bar->InvalidateBestSize();
        b.bar->Realize();
    }
    for (size_t i = 0; i < m_ribbon->GetPageCount(); ++i) m_ribbon->GetPage(i)->Realize();
    m_ribbon->Realize();
}

void CMainFrame::OnRibbonButton(wxRibbonButtonBarEvent& event) {
    // Ribbon buttons run the same commands as menu items.
    wxCommandEvent cmd(wxEVT_MENU, event.GetId());
    cmd.SetEventObject(this);
    ProcessWindowEvent(cmd);
    // The keys are the record's again once the command is done.
    ReturnFocusToView(false);
}

void CMainFrame::ReturnFocusToView(bool always) {
    CallAfter([this, always] {
        if (m_closing) return;
        wxWindow* focus = wxWindow::FindFocus();
        // A window of its own (a dialog, a preview) keeps the keys, and so does a pane a
        // command gave them to, or the ribbon while it is driven from the keyboard.
        if (focus && wxGetTopLevelParent(focus) != this) return;
        for (wxWindow* w : wxTopLevelWindows)
            if (auto* dialog = dynamic_cast<wxDialog*>(w); dialog && dialog->IsModal()) return;
        if (m_keys && m_keys->IsActive() && !always) return;
        if (m_keys) m_keys->Stop();
        for (wxWindow* w = focus; w && !always; w = w->GetParent())
            for (const Diagram& d : m_diagrams)
                if (w == d.window) return;
        // A field a user types or chooses in (a caption bar's) keeps the keys too.
        if (!always && (dynamic_cast<wxTextEntry*>(focus) || dynamic_cast<wxChoice*>(focus))) return;
        auto* view = dynamic_cast<CTenvorikView*>(GetDocumentManager()->GetCurrentView());
        // Given again even when the toolkit names the view as the focus already: a focus it
        // asked for while the window was not active can be named before it is had.
        if (view && view->GetCanvas()) view->GetCanvas()->SetFocus();
    });
}

void CMainFrame::SwitchRecord(int step) {
    // In the order of the tabs, which the mouse may have rearranged.
    wxAuiNotebook* tabs = GetNotebook();
    const int n = int(tabs->GetPageCount());
    if (n < 2) return;
    const int at = std::max(tabs->GetSelection(), 0);
    tabs->SetSelection(size_t((at + step + n) % n));
}

bool CMainFrame::CycleFocus(bool back) {
    // The places, in order: the record's view, the ribbon, each control of the caption bars on
    // show under it, the diagram panes on show (each by its diagram, which frames itself when
    // it has the focus).
    std::vector<wxWindow*> places, panes;
    auto* view = dynamic_cast<CTenvorikView*>(GetDocumentManager()->GetCurrentView());
    if (view && view->GetCanvas()) places.push_back(view->GetCanvas());
    places.push_back(m_ribbon);
    panes.push_back(nullptr);
    if (view && view->GetCanvas()) panes.push_back(nullptr);
    for (wxWindow* bar : {static_cast<wxWindow*>(m_resultBar), static_cast<wxWindow*>(m_mergeBar)}) {
        if (!bar || !IsCaptionBarShown(bar)) continue;
        for (wxWindow* control : bar->GetChildren())
            if (control->IsShown() && control->IsEnabled() && control->AcceptsFocus()) {
                places.push_back(control);
                panes.push_back(control);
            }
    }
    for (const Diagram& d : m_diagrams) {
        if (!d.window || !d.window->IsShownOnScreen()) continue;
        wxWindow* target = d.window;
        wxWindowList todo = d.window->GetChildren();
        while (!todo.empty() && target == d.window) {
            wxWindow* w = todo.front();
            todo.pop_front();
            if (dynamic_cast<DiagramCanvas*>(w)) target = w;
            for (wxWindow* c : w->GetChildren()) todo.push_back(c);
        }
        places.push_back(target);
        panes.push_back(d.window);
    }
    wxWindow* focus = wxWindow::FindFocus();
    int at = -1;
    for (size_t i = 0; i < places.size(); ++i) {
        const bool inRibbon = places[i] == m_ribbon && focus;
        bool within = false;
        for (wxWindow* w = focus; inRibbon && w; w = w->GetParent()) within |= w == m_ribbon;
        if (focus == places[i] || within || (focus && focus == panes[i])) at = int(i);
    }
    // Among the controls of a pane or a caption bar Tab goes from control to control; from a
    // window that shows no focus (the tab's frame, none at all) it goes to a place.
    const bool nowhere = !focus || focus == this || dynamic_cast<wxMDIChildFrameBase*>(focus) ||
                         dynamic_cast<wxAuiNotebook*>(focus) || dynamic_cast<wxAuiTabCtrl*>(focus);
    if (at < 0 && !nowhere) return false;
    const int n = int(places.size());
    const int next = at < 0 ? (back ? n - 1 : 0) : (at + (back ? -1 : 1) + n) % n;
    if (places[size_t(next)] == m_ribbon) {
        if (m_keys) m_keys->Start();
    } else {
        places[size_t(next)]->SetFocus();
    }
    return true;
}

void CMainFrame::OnCharHook(wxKeyEvent& event) {
    if (m_keys && m_keys->OnKey(event)) return;
    if (event.GetKeyCode() == WXK_TAB && !event.ControlDown() && !event.AltDown() && CycleFocus(event.ShiftDown()))
        return;
    // A diagram takes no arrow keys; the toolkit would move the focus with them to a window
    // that shows none.
    const int key = event.GetKeyCode();
    if ((key == WXK_LEFT || key == WXK_RIGHT || key == WXK_UP || key == WXK_DOWN) &&
        dynamic_cast<DiagramCanvas*>(wxWindow::FindFocus()))
        return;
    // Ctrl+PageDown and Ctrl+Tab go to the next record, Ctrl+PageUp and Ctrl+Shift+Tab back,
    // wherever the keys are in the frame.
    if (event.GetKeyCode() == WXK_TAB && event.ControlDown() && !event.AltDown()) {
        SwitchRecord(event.ShiftDown() ? -1 : 1);
        return;
    }
    const bool pageDown = key == WXK_PAGEDOWN || key == WXK_NUMPAD_PAGEDOWN;
    const bool pageUp = key == WXK_PAGEUP || key == WXK_NUMPAD_PAGEUP;
    if ((pageDown || pageUp) && event.GetModifiers() == wxMOD_CONTROL) {
        SwitchRecord(pageDown ? 1 : -1);
        return;
    }
    event.Skip();
}

void CMainFrame::ShowRecentMenu(wxRibbonButtonBarEvent& event) {
    using commands::MenuId;
    wxMenu menu;
    const int button = commands::ProgramId(event.GetId());
    if (button == kRecentButtonId) {
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
    FollowActiveRecord();
    PollSecondStarts();
}

paneroom::Room CMainFrame::PaneRoom(int slot, bool content) const {
    const wxSize client = GetClientSize();
    return paneroom::PaneRoom(kPanes[slot].dock == wxAUI_DOCK_BOTTOM, client.x, client.y, IsSmallScreen(), content,
                              kPanes[slot].proportion);
}

void CMainFrame::FitDiagramPanes() {
    if (m_closing) return;
    const CTenvorikDoc* doc = ActiveRecordDoc();
    auto* view = dynamic_cast<CTenvorikView*>(GetDocumentManager()->GetCurrentView());
    wxWindow* canvas = view ? view->GetCanvas() : nullptr;
    std::vector<const wxAuiPaneInfo*> refit;
    wxString key = wxString::Format(wxS("%dx%d"), GetClientSize().x, GetClientSize().y);
    for (int slot = 0; slot < 4; ++slot) {
        const Diagram& d = m_diagrams[slot];
        if (!d.window) continue;
        wxAuiPaneInfo& pane = m_aui.GetPane(d.window);
        if (!pane.IsOk()) continue;
        DiagramWnd* diagram = DiagramOfPane(d.window);
        const bool block = diagram && diagram->GetCurrentBlockIndex() > 0;
        const bool content = paneroom::DiagramHasContent(doc, kDiagramBits[slot], block);
        const bool shown = pane.IsShown();
        key += wxString::Format(wxS(" %d%d"), int(content), int(shown));
        // A pane is fitted anew when its content comes or goes, or when it comes on show; in
        // between it keeps the size the user gave it. (A start takes back the panes' places,
        // their sizes follow what they show.)
        if (m_panesFitted && content == m_paneContent[slot] && (shown == m_paneShown[slot] || !shown)) {
            m_paneShown[slot] = shown;
            continue;
        }
        m_paneContent[slot] = content;
        m_paneShown[slot] = shown;
        paneroom::Room room = PaneRoom(slot, content);
        if (slot == 0 && canvas && shown) {
            // The bottom pane grows no further than leaves the curves their half of the frame.
            const int dock = m_aui.GetDockSize(pane), overhead = std::max(dock - d.window->GetSize().y, 0);
            const int allowed = canvas->GetClientSize().y + dock - (GetClientSize().y + 1) / 2 - overhead;
            room.bestH = std::max(std::min(room.bestH, allowed), room.minH);
        }
        pane.BestSize(room.bestW, room.bestH).MinSize(room.minW, room.minH);
        pane.dock_proportion = room.proportion;
        if (shown) refit.push_back(&pane);
    }
    m_panesFitted = true;
    for (const wxAuiPaneInfo* pane : refit) m_aui.SetDockSize(*pane, 0);
    if (!refit.empty()) m_aui.Update();
    // The bars under the ribbon and the panes on show decide the curves' height: after a
    // change the bottom pane is made to give way, over a few ticks while the toolkit lays the
    // windows out.
    for (wxWindow* bar : {static_cast<wxWindow*>(m_resultBar), static_cast<wxWindow*>(m_mergeBar),
                          static_cast<wxWindow*>(m_paramBar)})
        key += IsCaptionBarShown(bar) ? wxS(" 1") : wxS(" 0");
    key += canvas ? wxS(" view") : wxS(" none");
    if (key != m_fitKey) {
        m_fitKey = key;
        m_halfChecks = 5;
    }
    if (m_halfChecks <= 0 || !canvas || !m_diagrams[0].window) return;
    --m_halfChecks;
    wxAuiPaneInfo& bottom = m_aui.GetPane(m_diagrams[0].window);
    if (!bottom.IsOk() || !bottom.IsShown()) return;
    const int dock = m_aui.GetDockSize(bottom);
    // The dock's least height: its pane's least and what the dock adds to the pane (caption,
    // borders).
    const int least = bottom.min_size.y + std::max(dock - m_diagrams[0].window->GetSize().y, 0);
    const int height = paneroom::BottomDockHeight(dock, canvas->GetClientSize().y, GetClientSize().y, least);
    if (height != dock) {
        m_aui.SetDockSize(bottom, height);
        m_aui.Update();
    }
}

void CMainFrame::FollowActiveRecord() {
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
    FitDiagramPanes();
    // The caption names the active record, as the tabs do.
    wxString title = wxTheApp->GetAppDisplayName();
    if (wxDocument* doc = GetDocumentManager()->GetCurrentDocument()) title += wxS(" - ") + doc->GetUserReadableName();
    if (GetTitle() != title) SetTitle(title);
}

void CMainFrame::PollSecondStarts() {
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
    SavePaneLayout();
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
    wxAuiPaneInfo info = wxAuiPaneInfo()
                             .Name(wxString::Format(wxS("diagram%d"), displayBit))
                             .Caption(ToWx(LoadResString(place.title)))
                             .Direction(place.dock)
                             .Layer(place.layer)
                             .Row(place.row)
                             .Dockable(true)
                             .Floatable(true)
                             .PinButton(true)
                             .CloseButton(true)
                             .Show(place.shown);
    // No record has been opened yet: the diagram starts empty, and small.
    const paneroom::Room room = PaneRoom(slot, false);
    info.BestSize(room.bestW, room.bestH).MinSize(room.minW, room.minH);
    info.dock_proportion = room.proportion;
    m_aui.AddPane(window, info);
    // A resized diagram asks for one deferred redraw of the frame.
    window->Bind(wxEVT_SIZE, [this](wxSizeEvent& e) {
        m_state.RequestRedraw();
        e.Skip();
    });
    m_aui.Update();
}

namespace {

// The display bit of the diagram a pane command shows or hides; 0 for another command.
int DiagramBitOf(int commandId) {
    switch (commandId) {
        case ID_SHOW_SPECTRUM: return 2;
        case ID_SHOW_VECTOR: return 4;
        case ID_SHOW_CIRCLE: return 8;
        case ID_SHOW_DIFFERENTIAL: return 16;
        default: return 0;
    }
}

}  // namespace

wxAuiPaneInfo* CMainFrame::DiagramPaneOf(int commandId) {
    const int bit = DiagramBitOf(commandId);
    if (!bit) return nullptr;
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
    const int command = commands::ProgramId(event.GetId());
    // A pane hidden to an edge comes back from there.
    if (const int bit = DiagramBitOf(command); bit && EdgeOfDiagramPane(bit)) {
        ShowDiagramPaneFromEdge(bit);
        return;
    }
    if (wxAuiPaneInfo* pane = DiagramPaneOf(command)) pane->Show(!pane->IsShown());
    m_aui.Update();
}

wxString CMainFrame::DiagramPaneName(int displayBit) const { return wxString::Format(wxS("diagram%d"), displayBit); }

PaneEdgeBar* CMainFrame::GetEdgeBar(int dock) const { return panelayout::IsEdge(dock) ? m_edges[dock - 1] : nullptr; }

int CMainFrame::EdgeOfDiagramPane(int displayBit) const {
    const wxString name = DiagramPaneName(displayBit);
    for (PaneEdgeBar* bar : m_edges)
        if (bar && bar->Holds(name)) return bar->GetDock();
    return 0;
}

void CMainFrame::ShowEdgeBar(int dock) {
    PaneEdgeBar* bar = GetEdgeBar(dock);
    if (!bar) return;
    wxAuiPaneInfo& pane = m_aui.GetPane(bar);
    const int thick = bar->Thickness();
    const wxSize size = bar->IsVertical() ? wxSize(thick, -1) : wxSize(-1, thick);
    pane.MinSize(size).BestSize(size).Show(!bar->Entries().empty());
}

void CMainFrame::HideDiagramPaneToEdge(int displayBit) {
    wxWindow* window = GetDiagramWnd(displayBit);
    if (!window || EdgeOfDiagramPane(displayBit)) return;
    wxAuiPaneInfo& pane = m_aui.GetPane(window);
    if (!pane.IsOk() || !pane.IsShown()) return;
    // The edge it is docked at; a floating pane goes to the edge it was last docked at.
    int dock = pane.dock_direction;
    if (!panelayout::IsEdge(dock)) dock = kPanes[FrameState::DiagramSlot(displayBit)].dock;
    pane.Hide();
    GetEdgeBar(dock)->Add(pane.name, pane.caption);
    ShowEdgeBar(dock);
    m_aui.Update();
    ReturnFocusToView(false);
}

void CMainFrame::ShowDiagramPaneFromEdge(int displayBit) {
    const int dock = EdgeOfDiagramPane(displayBit);
    wxWindow* window = GetDiagramWnd(displayBit);
    if (!dock || !window) return;
    GetEdgeBar(dock)->Remove(DiagramPaneName(displayBit));
    ShowEdgeBar(dock);
    wxAuiPaneInfo& pane = m_aui.GetPane(window);
    if (pane.IsOk()) pane.Show();
    m_aui.Update();
}

wxRect CMainFrame::DiagramPaneButtonRect(int displayBit, int button) const {
    wxWindow* window = GetDiagramWnd(displayBit);
    return window ? m_aui.PaneButtonRect(window, button) : wxRect();
}

void CMainFrame::OnPaneButton(wxAuiManagerEvent& event) {
    wxAuiPaneInfo* pane = event.GetPane();
    if (event.GetButton() == wxAUI_BUTTON_PIN && pane)
        for (int bit : {2, 4, 8, 16})
            if (pane->window && pane->window == GetDiagramWnd(bit)) {
                // After the manager's own handling of the press: hiding relays out the panes.
                CallAfter([this, bit] { HideDiagramPaneToEdge(bit); });
                return;
            }
    event.Skip();
}

namespace {

const wchar_t kLayoutSection[] = L"Workspace";
const wchar_t kEdgesKey[] = L"PanesAtEdges";

CString PaneKey(const wxString& name) { return CString(L"Pane ") + platform::FromWx(name); }

}  // namespace

void CMainFrame::SavePaneLayout() {
    std::vector<panelayout::EdgePane> edges;
    for (int bit : {2, 4, 8, 16}) {
        wxWindow* window = GetDiagramWnd(bit);
        if (!window) continue;
        wxAuiPaneInfo& pane = m_aui.GetPane(window);
        if (!pane.IsOk()) continue;
        panelayout::PanePlace place;
        place.dock = pane.dock_direction;
        place.layer = pane.dock_layer;
        place.row = pane.dock_row;
        place.position = pane.dock_pos;
        place.proportion = pane.dock_proportion;
        place.floating = pane.IsFloating();
        place.shown = pane.IsShown();
        place.width = pane.best_size.x;
        place.height = pane.best_size.y;
        // A docked pane the user made wider or taller keeps its size: the size of its window,
        // which the next start gives it as its best size (the dock's own size holds the
        // borders and title that the layout adds to that again, and would grow at each start).
        if (pane.IsDocked() && pane.IsShown() && pane.window) {
            const wxSize size = pane.window->GetSize();
            if (pane.dock_direction == wxAUI_DOCK_LEFT || pane.dock_direction == wxAUI_DOCK_RIGHT) {
                if (size.x > 0) place.width = size.x;
            } else if (size.y > 0) {
                place.height = size.y;
            }
        }
        place.floatX = pane.floating_pos.x;
        place.floatY = pane.floating_pos.y;
        place.floatW = pane.floating_size.x;
        place.floatH = pane.floating_size.y;
        platform::WriteProfileString(kLayoutSection, PaneKey(pane.name), panelayout::FormatPanePlace(place).c_str());
        if (const int edge = EdgeOfDiagramPane(bit)) edges.push_back({platform::FromWx(pane.name).str(), edge});
    }
    platform::WriteProfileString(kLayoutSection, kEdgesKey, panelayout::FormatEdgePanes(edges).c_str());
}

void CMainFrame::LoadPaneLayout() {
    const wxSize screen = wxGetDisplaySize();
    std::vector<std::wstring> names;
    for (int bit : {2, 4, 8, 16}) {
        wxWindow* window = GetDiagramWnd(bit);
        if (!window) continue;
        wxAuiPaneInfo& pane = m_aui.GetPane(window);
        if (!pane.IsOk()) continue;
        names.push_back(platform::FromWx(pane.name).str());
        panelayout::PanePlace place;
        // A place that cannot be read, or that the screen of this start cannot give, is left
        // to the first layout.
        if (!panelayout::ReadPanePlace(platform::GetProfileString(kLayoutSection, PaneKey(pane.name)).str(), place) ||
            !panelayout::IsUsablePlace(place, 4, screen.x, screen.y))
            continue;
        // Only the place is taken back: the title, the buttons and the least size are this
        // program's, in the language of this start.
        pane.dock_direction = place.dock;
        pane.dock_layer = place.layer;
        pane.dock_row = place.row;
        pane.dock_pos = std::max(place.position, 0);
        if (place.proportion > 0) pane.dock_proportion = place.proportion;
        pane.best_size = wxSize(place.width, place.height);
        pane.floating_pos = wxPoint(place.floatX, place.floatY);
        pane.floating_size = wxSize(place.floatW, place.floatH);
        if (place.floating) pane.Float();
        else pane.Dock();
        pane.Show(place.shown);
    }
    const CString edges = platform::GetProfileString(kLayoutSection, kEdgesKey);
    for (const panelayout::EdgePane& e : panelayout::ParseEdgePanes(edges.str(), names)) {
        wxAuiPaneInfo& pane = m_aui.GetPane(ToWx(CString(e.name.c_str())));
        if (!pane.IsOk()) continue;
        pane.Hide();
        GetEdgeBar(e.dock)->Add(pane.name, pane.caption);
        ShowEdgeBar(e.dock);
    }
    m_aui.Update();
}

void CMainFrame::OnRecordTabClose(wxAuiNotebookEvent& event) {
    // The close command closes it, once the tab's own click is done: a record with changes
    // asks first, and a cancel keeps it open.
    event.Veto();
    wxWindow* page = GetNotebook()->GetPage(size_t(event.GetSelection()));
    CallAfter([this, page] {
        wxAuiNotebook* tabs = GetNotebook();
        const int at = tabs->GetPageIndex(page);
        if (at == wxNOT_FOUND) return;
        if (tabs->GetSelection() != at) tabs->SetSelection(size_t(at));
        wxCommandEvent close(wxEVT_MENU, commands::MenuId(commands::kClose));
        close.SetEventObject(this);
        ProcessWindowEvent(close);
    });
}

std::vector<wxDocument*> CMainFrame::RecordsInTabOrder() const {
    std::vector<wxDocument*> records;
    wxAuiNotebook* tabs = GetNotebook();
    for (size_t i = 0; i < tabs->GetPageCount(); ++i)
        if (auto* frame = dynamic_cast<wxDocChildFrameAnyBase*>(tabs->GetPage(i)); frame && frame->GetDocument())
            records.push_back(frame->GetDocument());
    return records;
}

void CMainFrame::ShowWindowsDialog() {
    WindowsDlg dialog(this, *GetDocumentManager(), [this] { return RecordsInTabOrder(); });
    dialog.ShowModal();
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
                           .MinSize(wxSize(-1, std::max(bar->GetBestSize().y, bar->GetMinSize().y)))
                           .Show(shown));
    ++m_captionBars;
    m_aui.Update();
}

void CMainFrame::CaptionBarHeightChanged(wxWindow* bar) {
    // Not from inside the bar's own size event: the layout runs once that is over.
    CallAfter([this, bar] {
        wxAuiPaneInfo& pane = m_aui.GetPane(bar);
        if (!pane.IsOk()) return;
        pane.MinSize(wxSize(-1, bar->GetMinSize().y)).BestSize(wxSize(-1, bar->GetMinSize().y));
        if (pane.IsShown()) m_aui.Update();
    });
}

void CMainFrame::ShowCaptionBar(wxWindow* bar, bool show) {
    wxAuiPaneInfo& pane = m_aui.GetPane(bar);
    if (!pane.IsOk() || pane.IsShown() == show) return;
    pane.Show(show);
    m_aui.Update();
}

bool CMainFrame::IsCaptionBarShown(wxWindow* bar) const {
    wxAuiPaneInfo& pane = const_cast<FrameManager&>(m_aui).GetPane(bar);
    return pane.IsOk() && pane.IsShown();
}

void CMainFrame::SetStatusPaneText(size_t pane, const CString& text) {
    if (!m_state.SetStatusText(pane, text)) return;
    wxStatusBar* bar = GetStatusBar();
    if (!bar || pane >= size_t(bar->GetFieldsCount())) return;
    bar->SetStatusText(ToWx(text), int(pane));
    bar->Update();
}
