#include "app/SmokeHook.h"

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/dialog.h>
#include <wx/docview.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/generic/msgdlgg.h>
#include <wx/grid.h>
#include <wx/statusbr.h>
#include <wx/timer.h>
#include <wx/utils.h>
#include <wx/uiaction.h>
#include <wx/splash.h>
#include <wx/settings.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/ribbon/page.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/panel.h>
#include <wx/toolbar.h>
#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/dnd.h>
#include <wx/aui/auibook.h>
#include <wx/treectrl.h>

#include "app/AboutWnd.h"
#include "app/AssertionHandler.h"
#include "app/CaptionBars.h"
#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "app/PaneEdgeBar.h"
#include "app/QuickAccessBar.h"
#include "app/TabRowBar.h"
#include "app/RibbonKeys.h"
#include "diagrams/ui/CircleDiagPane.h"
#include "diagrams/ui/DiagramCanvas.h"
#include "diagrams/ui/DiffDiagPane.h"
#include "diagrams/PlaneDiagramWnd.h"
#include "model/Channel.h"
#include "model/CommentList.h"
#include "document/TenvorikDoc.h"
#include "platform/ui/InPlaceEditor.h"
#include "platform/ui/WxUiServices.h"
#include "view/ui/TenvorikView.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

std::function<void()>& Preparation() {
    static std::function<void()> prepare;
    return prepare;
}

struct SmokeState {
    wxFrame* frame = nullptr;
    std::string reportPath, shotPath;
    std::string file;                  // the name a file dialog met on the way is given
    std::vector<std::string> dialogs;  // every modal dialog met, as "title|message"
    // Steps run one by one before the look is taken: a command id as the ribbon sends it, or
    // an event for the record's view (see RunStep).
    std::vector<std::string> steps;
    std::vector<std::string> notes;    // what the steps saw
    std::unique_ptr<wxModalDialogHook> fileWatch;
    wxFileDialog* fileDialog = nullptr;  // open now
    // A pop-up menu on show, and how the run answers it: "esc" closes it, a number N chooses
    // the Nth entry from the top with the arrow keys and Enter.
    wxMenu* openMenu = nullptr;
    std::string menuAnswer = "esc";
    std::unique_ptr<wxEventFilter> menuWatch;
    wxTimer timer;
    int ticks = 0;
    // A key pressed or a button clicked through the display server is waited for: the next
    // step runs once the program has met its release (or a menu or dialog took it), not after
    // a fixed time.
    long keyUps = 0, keyUpsBefore = 0;
    bool awaitKey = false;
    // The windows up when it was pressed: one that opens or closes may take its release.
    size_t windowsBefore = 0;
    long menus = 0, menusBefore = 0;  // pop-up menus opened
    wxDialog* modalBefore = nullptr;
    wxWindow* focusBefore = nullptr;  // compared, never used: it may be gone
    wxLongLong keyDeadline;
};

CTenvorikView* ActiveView() {
    auto* frame = GetMainFrame();
    wxDocManager* manager = frame ? frame->GetDocumentManager() : nullptr;
    return manager ? dynamic_cast<CTenvorikView*>(manager->GetCurrentView()) : nullptr;
}

std::vector<std::string> Split(const std::string& text, char sep) {
    std::vector<std::string> parts;
    size_t from = 0;
    for (;;) {
        const size_t at = text.find(sep, from);
        parts.push_back(text.substr(from, at == std::string::npos ? std::string::npos : at - from));
        if (at == std::string::npos) return parts;
        from = at + 1;
    }
}

// The state of the active record's view, as the report and the steps' notes give it.
std::string ViewState() {
    CTenvorikView* view = ActiveView();
    oscview::CTenvorikView* core = view ? view->GetCore() : nullptr;
    if (!core) return "none";
    char buf[256];
    std::snprintf(buf, sizeof buf, "first=%lld span=%lld xscale=%.9g analog=%d offset=%d unit=%d grid=%d mode=%d left=%d",
                  static_cast<long long>(core->m_firstSample), static_cast<long long>(core->m_visibleSpan), core->m_xScale,
                  core->m_analogSize, core->m_yOffset, core->m_timeUnit, int(core->m_grid), core->m_mouseMode,
                  core->m_leftWidth);
    std::string s = buf;
    std::snprintf(buf, sizeof buf, " width=%d height=%d row0=%d content=%d available=%d", core->m_clientWidth,
                  core->m_clientHeight, core->GetChannelHeightAt(0), core->GetDiscreteHeight() + core->GetAnalogHeight(),
                  core->m_clientHeight - core->GetBottomBand() + 2);
    s += buf;
    const CTenvorikDoc* doc = core->GetDocument();
    for (size_t i = 0; i < 5; ++i) {
        const CursorMarker& m = doc->m_cursors.m_cursors[i];
        s += " cursor" + std::to_string(i) + "=" + (m.shown ? std::to_string(m.position) : std::string("off"));
    }
    const auto& chs = doc->m_oscillogram.m_channels;
    for (size_t i = 0; i < chs.size(); ++i)
        if (chs[i].m_zoomed) {
            std::snprintf(buf, sizeof buf, " zoom%zu=%.4f:%.4f", i, chs[i].m_zoomFrom, chs[i].m_zoomTo);
            s += buf;
        }
    return s;
}

// The modal dialog on top, if any.
wxDialog* TopModalDialog() {
    wxDialog* top = nullptr;
    for (wxWindow* w : wxTopLevelWindows)
        if (auto* dlg = dynamic_cast<wxDialog*>(w); dlg && dlg->IsModal()) top = dlg;
    return top;
}

wxGrid* DialogGrid() {
    wxDialog* dlg = TopModalDialog();
    if (!dlg) return nullptr;
    wxWindowList todo = dlg->GetChildren();
    while (!todo.empty()) {
        wxWindow* w = todo.front();
        todo.pop_front();
        if (auto* grid = dynamic_cast<wxGrid*>(w)) return grid;
        for (wxWindow* c : w->GetChildren()) todo.push_back(c);
    }
    return nullptr;
}

// Where the keyboard focus is: the record's view, the ribbon, an in-place editor, a dialog,
// another window of the main frame (by class) or nowhere.
std::string FocusPlace(const SmokeState& s) {
    wxWindow* focus = wxWindow::FindFocus();
    if (!focus) return "none";
    if (focus == platform::OpenInPlaceEditor()) return "editor";
    // A modal dialog that is up has the keys, whatever the main window last focused.
    if (wxGetTopLevelParent(focus) != s.frame || TopModalDialog()) return "dialog";
    CTenvorikView* view = ActiveView();
    if (view && focus == view->GetCanvas()) return "view";
    if (auto* main = dynamic_cast<CMainFrame*>(s.frame))
        for (wxWindow* w = focus; w; w = w->GetParent())
            if (w == main->GetRibbon()) return "ribbon";
    // By class, with its parents' up to the frame.
    std::string place = "other";
    for (wxWindow* w = focus; w && w != s.frame; w = w->GetParent())
        place += std::string(":") + wxString(w->GetClassInfo()->GetClassName()).utf8_str().data();
    return place;
}

// The key state a user sees: where the focus is, the ribbon's page and its key mode.
std::string KeyState(const SmokeState& s) {
    std::string state = "focus=" + FocusPlace(s);
    if (CTenvorikView* view = ActiveView(); view && view->GetFrame())
        state += std::string(" record=") + view->GetFrame()->GetLabel().utf8_str().data();
    if (auto* main = dynamic_cast<CMainFrame*>(s.frame)) {
        state += " page=" + std::to_string(main->GetRibbon()->GetActivePage());
        if (main->GetRibbonKeys()) state += " ribbonkeys=" + main->GetRibbonKeys()->Describe();
    }
    return state;
}

// A key by name as the steps write it: one character, a name, or a key code.
int KeyCode(const std::string& name) {
    static const std::pair<const char*, int> names[] = {
        {"RETURN", WXK_RETURN}, {"ESCAPE", WXK_ESCAPE}, {"TAB", WXK_TAB},   {"LEFT", WXK_LEFT},
        {"RIGHT", WXK_RIGHT},   {"UP", WXK_UP},         {"DOWN", WXK_DOWN}, {"F1", WXK_F1},
        {"F10", WXK_F10},       {"SPACE", WXK_SPACE},   {"F2", WXK_F2},     {"MENU", WXK_MENU},
        {"PAGEUP", WXK_PAGEUP}, {"PAGEDOWN", WXK_PAGEDOWN}, {"HOME", WXK_HOME}, {"END", WXK_END},
    };
    for (const auto& [text, code] : names)
        if (name == text) return code;
    return name.size() == 1 ? int(name[0]) : std::atoi(name.c_str());
}

wxMouseEvent MouseEvent(wxEventType type, int x, int y, const std::string& mods, wxWindow* canvas) {
    wxMouseEvent e(type);
    e.SetPosition(wxPoint(x, y));
    e.SetEventObject(canvas);
    e.SetId(canvas->GetId());
    e.SetControlDown(mods == "ctrl");
    e.SetAltDown(mods == "alt");
    e.SetShiftDown(mods == "shift");
    return e;
}

// Every button of the ribbon page on show: its place in the window (the frame's coordinates)
// and whether it is enabled.
void ReportRibbonButtons(const SmokeState& s, FILE* f) {
    auto* main = dynamic_cast<CMainFrame*>(s.frame);
    if (!main) return;
    wxRibbonBar* ribbon = main->GetRibbon();
    const int page = ribbon->GetActivePage();
    if (page < 0) return;
    const wxPoint origin = s.frame->GetScreenRect().GetPosition();
    for (const CMainFrame::RibbonButton& b : main->GetRibbonButtons()) {
        if (b.bar->GetParent()->GetParent() != ribbon->GetPage(page)) continue;
        const wxRect r = b.bar->GetItemRect(commands::MenuId(b.id));
        const wxPoint at = b.bar->ClientToScreen(r.GetPosition()) - origin;
        wxUpdateUIEvent update(commands::MenuId(b.id));
        update.SetEventObject(b.bar);
        b.bar->ProcessWindowEvent(update);
        const bool enabled = !update.GetSetEnabled() || update.GetEnabled();
        std::fprintf(f, "ribbonbutton=%d:%d:%d:%d:%d:%d:%d\n", page, b.id, at.x, at.y, r.width, r.height, int(enabled));
    }
}

// The active record's channels as its caption column shows them: name, the value at В1 and
// the height of the row (0 for a member drawn in another channel's strip).
void ReportChannels(FILE* f) {
    CTenvorikView* view = ActiveView();
    oscview::CTenvorikView* core = view ? view->GetCore() : nullptr;
    if (!core) return;
    for (const CChannel& ch : core->GetDocument()->GetOscillogram().m_channels) {
        if (ch.IsDiscrete() || !(ch.m_flags & CHF_VISIBLE)) continue;
        const wxString value = platform::ToWx(core->FormatCaptionValue(ch, core->ValueAtCursor(ch), true)).Strip(wxString::both);
        std::fprintf(f, "channel=%s|%s|%d\n", platform::ToWx(ch.GetName()).utf8_str().data(), value.utf8_str().data(),
                     core->GetChannelHeight(ch));
    }
}

// The pairs the differential diagram lists for the active record, as its menu names them, and
// whether it shows its value table.
void ReportDiffPairs(const SmokeState& s, FILE* f) {
    auto* main = dynamic_cast<CMainFrame*>(s.frame);
    auto* pane = main ? dynamic_cast<DiffDiagPane*>(main->GetDiagramWnd(kDiffDiagramBit)) : nullptr;
    CTenvorikView* view = ActiveView();
    oscview::CTenvorikView* core = view ? view->GetCore() : nullptr;
    if (!pane || !core) return;
    for (const CircleMenuEntry& e : DiffMenuEntries(*core->GetDocument()))
        std::fprintf(f, "diffpair=%s\n", platform::ToWx(e.text).utf8_str().data());
    std::fprintf(f, "diffvalues=%d\n", int(pane->Window().ShowValues()));
}

// The active record's comments in list order: kind, samples, text (line breaks as "\\n"), the
// x in the main window of the marker's start, where the view shows it, and its state.
void ReportComments(const SmokeState& s, FILE* f) {
    CTenvorikView* view = ActiveView();
    oscview::CTenvorikView* core = view ? view->GetCore() : nullptr;
    if (!core || !view->GetCanvas()) return;
    const int canvasX = view->GetCanvas()->GetScreenPosition().x - s.frame->GetScreenPosition().x;
    const CommentList& comments = core->GetDocument()->m_comments;
    for (const auto& item : comments.Items()) {
        int64_t from = 0, to = 0;
        const char* kind = "moment";
        if (item->GetKind() == CommentItem::kMoment) {
            from = to = static_cast<const MomentItem&>(*item).m_position;
        } else if (item->GetKind() == CommentItem::kLevel) {
            kind = "level";
            from = static_cast<const LevelItem&>(*item).m_positionFrom;
            to = static_cast<const LevelItem&>(*item).m_positionTo;
        } else {
            kind = "area";
            from = static_cast<const AreaItem&>(*item).m_positionFrom;
            to = static_cast<const AreaItem&>(*item).m_positionTo;
        }
        wxString text = platform::ToWx(item->m_text);
        text.Replace(wxS("\n"), wxS("\\n"));
        const int x = canvasX + CommentSampleX(from, core->m_leftWidth, core->m_firstSample, core->m_xScale);
        std::string flags;
        auto flag = [&flags](bool on, const char* name) {
            if (on) flags += (flags.empty() ? "" : ",") + std::string(name);
        };
        flag(item.get() == comments.GetSelected(), "selected");
        flag(item->m_locked, "locked");
        flag(!item->m_visible, "hidden");
        std::fprintf(f, "comment=%s|%lld|%lld|%s|%d|%s\n", kind, static_cast<long long>(from),
                     static_cast<long long>(to), text.utf8_str().data(), x, flags.c_str());
    }
    // The edit over a level line, while it is open, with the value it offers.
    if (const wxTextCtrl* edit = view->GetLevelEdit())
        std::fprintf(f, "leveledit=%s\n", edit->GetValue().utf8_str().data());
}

// A rectangle of a window in the main frame's coordinates, as the report gives places.
std::string FrameRect(const SmokeState& s, wxWindow* w, wxRect r) {
    r.SetPosition(w->ClientToScreen(r.GetPosition()) - s.frame->GetScreenPosition());
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d,%d,%d,%d", r.x, r.y, r.width, r.height);
    return buf;
}

// The records' tab row: every tab in order (the active one marked "*"), and where the close
// button of the active tab and the document menu's button are.
wxAuiTabCtrl* RecordTabCtrl(const SmokeState& s) {
    auto* main = dynamic_cast<CMainFrame*>(s.frame);
    if (!main) return nullptr;
    for (wxWindow* w : main->GetNotebook()->GetChildren())
        if (auto* ctrl = dynamic_cast<wxAuiTabCtrl*>(w); ctrl && ctrl->IsShown()) return ctrl;
    return nullptr;
}

// The button `id` (wxAUI_BUTTON_*) of the records' tab row, in its control's coordinates.
wxRect RecordTabButton(wxAuiTabCtrl* ctrl, int id) {
    if (!ctrl) return wxRect();
    const wxSize size = ctrl->GetClientSize();
    for (int y = 2; y < size.y; y += 2)
        for (int x = 0; x < size.x; ++x) {
            wxAuiTabContainerButton* hit = nullptr;
            if (ctrl->ButtonHitTest(x, y, &hit) && hit && hit->id == id && hit->curState != wxAUI_BUTTON_STATE_HIDDEN)
                return hit->rect;
        }
    return wxRect();
}

void ReportTabRows(const SmokeState& s, FILE* f) {
    auto* main = dynamic_cast<CMainFrame*>(s.frame);
    if (!main) return;
    std::string tabs;
    wxAuiNotebook* book = main->GetNotebook();
    for (size_t i = 0; i < book->GetPageCount(); ++i)
        tabs += std::string(i ? "," : "") + (int(i) == book->GetSelection() ? "*" : "") +
                book->GetPageText(i).utf8_str().data();
    std::fprintf(f, "recordtabs=%s\n", tabs.c_str());
    if (wxAuiTabCtrl* ctrl = RecordTabCtrl(s)) {
        for (auto [id, name] : {std::pair{int(wxAUI_BUTTON_CLOSE), "close"}, std::pair{int(wxAUI_BUTTON_WINDOWLIST), "list"}}) {
            const wxRect r = RecordTabButton(ctrl, id);
            if (!r.IsEmpty()) std::fprintf(f, "recordtabbutton=%s:%s\n", name, FrameRect(s, ctrl, r).c_str());
        }
    }
    if (TabRowBar* row = main->GetTabRow()) {
        for (size_t i = 0; i < row->ItemCount(); ++i) {
            wxString tip = TabRowBar::TipOf(i);
            tip.Replace(wxS("\n"), wxS("|"));
            std::fprintf(f, "tabrow=%d:%s|arrow %s|%s\n", TabRowBar::CommandOf(i), FrameRect(s, row, row->ItemRect(i)).c_str(),
                         FrameRect(s, row, row->ArrowRect(i)).c_str(), tip.utf8_str().data());
        }
        const wxRect ribbon(main->GetRibbon()->GetScreenPosition() - s.frame->GetScreenPosition(), main->GetRibbon()->GetSize());
        std::fprintf(f, "ribbonrect=%d,%d,%d,%d\n", ribbon.x, ribbon.y, ribbon.width, ribbon.height);
    }
    // The strips along the edges, with the panes hidden to them, and the pins of the panes on show.
    for (int dock = 1; dock <= 4; ++dock)
        if (PaneEdgeBar* bar = main->GetEdgeBar(dock); bar && bar->IsShownOnScreen())
            for (size_t i = 0; i < bar->Entries().size(); ++i)
                std::fprintf(f, "edge=%d:%s:%s|%s\n", dock, bar->Entries()[i].name.utf8_str().data(),
                             FrameRect(s, bar, bar->EntryRect(i)).c_str(), bar->Entries()[i].caption.utf8_str().data());
    for (int bit : {2, 4, 8, 16}) {
        const wxRect pin = main->DiagramPaneButtonRect(bit, wxAUI_BUTTON_PIN);
        if (!pin.IsEmpty()) std::fprintf(f, "pin%d=%s\n", bit, FrameRect(s, s.frame, pin).c_str());
    }
}

// Where the frame and each diagram pane on show are, in screen pixels, with the pane's tool bar
// and, for the plane diagrams, whether the last drawing had room for the value table; then the
// panels of every ribbon page, each page brought to the front as a click on its tab does.
void ReportLayout(const SmokeState& s, FILE* f) {
    auto* main = dynamic_cast<CMainFrame*>(s.frame);
    if (!main) return;
    auto rect = [](const wxRect& r) { return wxString::Format(wxS("%d,%d %dx%d"), r.x, r.y, r.width, r.height); };
    const wxSize screen = wxGetDisplaySize();
    std::fprintf(f, "screen=%dx%d\n", screen.x, screen.y);
    std::fprintf(f, "frame=%s\n", rect(s.frame->GetScreenRect()).utf8_str().data());
    std::fprintf(f, "frameclient=%dx%d\n", s.frame->GetClientSize().x, s.frame->GetClientSize().y);
    for (int bit : {2, 4, 8, 16}) {
        wxWindow* pane = main->GetDiagramWnd(bit);
        if (!pane || !pane->IsShownOnScreen()) continue;
        wxWindow* tools = pane->FindWindow(wxS("toolcolumn"));
        for (wxWindow* child : pane->GetChildren())
            if (!tools && dynamic_cast<wxToolBar*>(child)) tools = child;
        int table = -1;
        wxRect canvas;
        if (auto* diagram = dynamic_cast<DiagramPane*>(pane)) {
            if (auto* plane = dynamic_cast<PlaneDiagramWnd*>(&diagram->Diagram())) table = plane->LastLayout().table;
            if (wxWindow* c = diagram->Canvas()) canvas = c->GetScreenRect();
        }
        std::fprintf(f, "panerect%d=%s|tools %s|canvas %s|table %d\n", bit, rect(pane->GetScreenRect()).utf8_str().data(),
                     rect(tools ? tools->GetScreenRect() : wxRect()).utf8_str().data(),
                     rect(canvas).utf8_str().data(), table);
    }
    wxRibbonBar* ribbon = main->GetRibbon();
    const int active = ribbon->GetActivePage();
    const wxRect bar = ribbon->GetScreenRect();
    for (size_t i = 0; i < ribbon->GetPageCount(); ++i) {
        ribbon->SetActivePage(i);
        wxYield();
        for (wxWindow* child : ribbon->GetPage(i)->GetChildren())
            if (auto* panel = dynamic_cast<wxRibbonPanel*>(child)) {
                const wxRect r = panel->GetScreenRect();
                std::fprintf(f, "ribbonpanel=%zu|%s|%d|%d\n", i, panel->GetLabel().utf8_str().data(), int(panel->IsMinimised()),
                             int(bar.Contains(r)));
            }
    }
    if (active >= 0) ribbon->SetActivePage(size_t(active));
}

void WriteReport(const SmokeState& s) {
    FILE* f = std::fopen(s.reportPath.c_str(), "w");
    if (!f) return;
    std::fprintf(f, "title=%s\n", s.frame->GetTitle().utf8_str().data());
    if (wxStatusBar* bar = s.frame->GetStatusBar()) {
        for (int i = 0; i < bar->GetFieldsCount(); ++i)
            std::fprintf(f, "status%d=%s\n", i, bar->GetStatusText(i).utf8_str().data());
    }
    // The caption bars under the ribbon that are on show, with their texts.
    if (auto* main = dynamic_cast<CMainFrame*>(s.frame)) {
        if (main->IsCaptionBarShown(main->GetResultBar()))
            std::fprintf(f, "resultbar=%s\n", platform::ToWx(main->GetResultBar()->GetText()).utf8_str().data());
        if (main->IsCaptionBarShown(main->GetMergeBar())) {
            CMergeBar* bar = main->GetMergeBar();
            std::fprintf(f, "mergebar=%s\n", platform::ToWx(bar->GetText()).utf8_str().data());
            // Its parts as laid out: each control with the size its text asks for, and the texts
            // the bar draws itself.
            const wxSize size = bar->GetClientSize();
            std::fprintf(f, "mergebarsize=%dx%d\n", size.x, size.y);
            for (wxWindow* part : bar->GetChildren()) {
                const wxRect r = part->GetRect();
                const wxSize best = part->GetBestSize();
                std::fprintf(f, "mergepart=%d|%d,%d %dx%d|%dx%d|%d\n", part->GetId(), r.x, r.y, r.width, r.height, best.x, best.y,
                             int(part->IsShown()));
            }
            for (const auto& [text, r] : bar->TextPlaces())
                std::fprintf(f, "mergetext=%s|%d,%d %dx%d\n", text.utf8_str().data(), r.x, r.y, r.width, r.height);
        }
        if (main->IsCaptionBarShown(main->GetParamBar()))
            std::fprintf(f, "parambar=%s\n", platform::ToWx(main->GetParamBar()->GetText()).utf8_str().data());
        // The quick-access buttons on the ribbon's tab row, where they are in the frame.
        if (QuickAccessBar* quick = main->GetQuickAccess()) {
            // The buttons follow the commands' states on their own timer; the look takes them
            // as they are now.
            quick->RefreshStates();
            const wxRect r(quick->GetScreenRect().GetPosition() - s.frame->GetScreenPosition(), quick->GetSize());
            std::fprintf(f, "quickaccess=%d,%d %dx%d", r.x, r.y, r.width, r.height);
            for (const QuickAccessBar::Button& b : quick->Buttons()) std::fprintf(f, " %d:%s", b.id, b.enabled ? "on" : "off");
            std::fprintf(f, "\n");
        }
        // The circle diagram's block grid: the block it shows, its rows, and whether it takes edits.
        if (auto* circle = dynamic_cast<CircleDiagPane*>(main->GetDiagramWnd(CHF_CIRCLE_DIAGRAM))) {
            const BlockGridModel& grid = circle->Window().GetGridModel();
            const wxWindow* control = circle->FindWindow(wxS("blockgrid"));
            std::fprintf(f, "blockgrid=%s|rows %zu|%s\n", platform::ToWx(grid.BlockTypeValue()).utf8_str().data(),
                         grid.Rows().size(), control && control->IsEnabled() ? "enabled" : "disabled");
            // Where the pane put its parts: what a user can see of the diagram and the tools.
            auto rect = [](const wxWindow* w) {
                const wxRect r = w ? w->GetRect() : wxRect();
                return wxString::Format(wxS("%d,%d %dx%d"), r.x, r.y, r.width, r.height);
            };
            std::fprintf(f, "circlepane=%s|diagram %s|tools %s\n", rect(circle).utf8_str().data(),
                         rect(circle->Canvas()).utf8_str().data(),
                         rect(circle->FindWindow(wxS("toolcolumn"))).utf8_str().data());
        }
    }
    // The records' tabs, named by what their frames gave the notebook.
    if (wxDocManager* docs = wxDocManager::GetDocumentManager())
        for (wxDocument* doc : docs->GetDocumentsVector())
            for (wxView* view : doc->GetViewsVector())
                if (wxWindow* frame = view->GetFrame())
                    std::fprintf(f, "tab=%s\n", frame->GetLabel().utf8_str().data());
    for (const std::string& d : s.dialogs) std::fprintf(f, "dialog=%s\n", d.c_str());
    // Other windows on show (a print preview, say), by title.
    for (wxWindow* w : wxTopLevelWindows)
        if (w != s.frame && w->IsShown() && !dynamic_cast<wxDialog*>(w) && !dynamic_cast<wxSplashScreen*>(w))
            std::fprintf(f, "window=%s\n", w->GetLabel().utf8_str().data());
    for (const std::string& n : s.notes) std::fprintf(f, "note=%s\n", n.c_str());
    // Every toolkit assertion met so far: each one is a defect the test fails on.
    for (const std::string& a : assertions::Met()) std::fprintf(f, "assertion=%s\n", a.c_str());
    std::fprintf(f, "view=%s\n", ViewState().c_str());
    const wxColour focusFrame = wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT);
    std::fprintf(f, "focuscolour=%d,%d,%d\n", focusFrame.Red(), focusFrame.Green(), focusFrame.Blue());
    if (CTenvorikView* view = ActiveView(); view && view->GetCanvas()) {
        // Its client area, where it draws (the scroll bars aside).
        const wxPoint at = view->GetCanvas()->ClientToScreen(wxPoint(0, 0)) - s.frame->GetScreenPosition();
        const wxSize size = view->GetCanvas()->GetClientSize();
        std::fprintf(f, "viewrect=%d,%d,%d,%d\n", at.x, at.y, size.x, size.y);
    }
    ReportChannels(f);
    ReportDiffPairs(s, f);
    ReportComments(s, f);
    if (auto* main = dynamic_cast<CMainFrame*>(s.frame))
        for (int bit : {2, 4, 8, 16}) {
            wxWindow* pane = main->GetDiagramWnd(bit);
            if (pane) std::fprintf(f, "pane%d=%d\n", bit, int(pane->IsShownOnScreen()));
        }
    ReportRibbonButtons(s, f);
    ReportTabRows(s, f);
    ReportLayout(s, f);
    std::fclose(f);
}

void SaveShot(wxFrame* frame, const std::string& path) {
    // GTK 3 cannot read pixels back from a window's own context; the screen's can.
    wxScreenDC dc;
    wxRect rect = frame->GetScreenRect();
    if (rect.width <= 0 || rect.height <= 0) return;
    wxBitmap bmp(rect.width, rect.height);
    wxMemoryDC mem(bmp);
    mem.Blit(0, 0, rect.width, rect.height, &dc, rect.x, rect.y);
    mem.SelectObject(wxNullBitmap);
    bmp.SaveFile(wxString::FromUTF8(path.c_str()), wxBITMAP_TYPE_PNG);
}

// Notes and dismisses the modal dialogs that are up; true when there was one.
bool DismissDialogs(SmokeState& s) {
    bool any = false;
    if (wxFileDialog* files = s.fileDialog) {
        // The chooser takes a name it is given when it has read the folder: confirmed only
        // once it shows the name, as a user would see it before pressing the button.
        const wxString wanted = wxString::FromUTF8(s.file.c_str());
        // The type is picked first, as a user picks the type of the name typed: the filter
        // whose pattern names its extension, when the dialog offers one.
        const wxString ext = wxS("*.") + wxFileName(wanted).GetExt().Lower();
        const wxArrayString parts = wxSplit(files->GetWildcard(), '|');
        for (size_t i = 1; i < parts.size(); i += 2)
            if (ext.size() > 2 && wxSplit(parts[i].Lower(), ';').Index(ext) != wxNOT_FOUND) {
                if (files->GetFilterIndex() != int(i / 2)) {
                    files->SetFilterIndex(int(i / 2));
                    return true;
                }
                break;
            }
        if (files->GetPath() != wanted) {
            files->SetPath(wanted);
            return true;
        }
        s.dialogs.push_back(std::string(files->GetTitle().utf8_str().data()) + "|" + s.file);
        wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
        ok.SetEventObject(files);
        files->ProcessWindowEvent(ok);
        any = true;
    }
    for (wxWindow* w : wxTopLevelWindows) {
        auto* dlg = dynamic_cast<wxDialog*>(w);
        if (!dlg || !dlg->IsModal()) continue;
        std::string text = dlg->GetTitle().utf8_str().data();
        if (auto* driven = dynamic_cast<SmokeDrivenDialog*>(dlg)) {
            // Noted once, when it ends; until then it is given its next step.
            const std::string note = driven->SmokeNote();
            if (driven->SmokeStep()) s.dialogs.push_back(text + "|driven" + note);
            any = true;
            continue;
        }
        if (auto* msg = dynamic_cast<wxGenericMessageDialog*>(dlg)) {
            wxString m = msg->GetMessage();
            m.Replace(wxS("\n"), wxS(" "));
            text += "|" + std::string(m.utf8_str().data());
        } else if (dynamic_cast<AboutWnd*>(dlg)) {
            // The about box: the texts it shows.
            for (wxWindow* child : dlg->GetChildren())
                if (auto* label = dynamic_cast<wxStaticText*>(child)) {
                    wxString m = label->GetLabel();
                    m.Replace(wxS("\n"), wxS(" "));
                    text += "|" + std::string(m.utf8_str().data());
                }
        }
        s.dialogs.push_back(text);
        // As a user would: the dialog's cancel, then its end if it has no cancel of its own.
        wxCommandEvent cancel(wxEVT_BUTTON, wxID_CANCEL);
        cancel.SetEventObject(dlg);
        dlg->ProcessWindowEvent(cancel);
        if (dlg->IsModal()) dlg->EndModal(wxID_CANCEL);
        any = true;
    }
    return any;
}

// Gives every driven dialog that is up its next step; true when there was one.
bool StepDrivenDialogs(SmokeState& s) {
    bool any = false;
    for (wxWindow* w : wxTopLevelWindows) {
        auto* dlg = dynamic_cast<wxDialog*>(w);
        auto* driven = dynamic_cast<SmokeDrivenDialog*>(w);
        if (!dlg || !driven || !dlg->IsModal()) continue;
        const std::string note = driven->SmokeNote();
        if (driven->SmokeStep()) s.dialogs.push_back(std::string(dlg->GetTitle().utf8_str().data()) + "|driven" + note);
        any = true;
    }
    return any;
}

// The toolkit's own file chooser is no window the timer finds: it is noted as it opens, so
// that the next look answers it as a user would who types the name and confirms it.
class FileDialogWatch final : public wxModalDialogHook {
public:
    explicit FileDialogWatch(SmokeState& s) : m_s(s) { Register(); }
    ~FileDialogWatch() override { Unregister(); }
    int Enter(wxDialog* dialog) override {
        if (auto* files = dynamic_cast<wxFileDialog*>(dialog)) m_s.fileDialog = files;
        return wxID_NONE;
    }
    void Exit(wxDialog* dialog) override {
        if (dialog == m_s.fileDialog) m_s.fileDialog = nullptr;
    }

private:
    SmokeState& m_s;
};

// Steps a user takes in a dialog that is up: a dialog the run drives waits while they last.
bool ForDialog(const std::string& step) {
    for (const char* kind : {"grid", "keyhere", "type", "dlgclose", "keys", "listnote", "focusat", "menuanswer"})
        if (step.rfind(kind, 0) == 0) return true;
    return false;
}

// Notes each pop-up menu as it opens, to be looked at and answered at the next look.
class MenuWatch final : public wxEventFilter {
public:
    explicit MenuWatch(SmokeState& s) : m_s(s) { wxEvtHandler::AddFilter(this); }
    ~MenuWatch() override { wxEvtHandler::RemoveFilter(this); }
    int FilterEvent(wxEvent& event) override {
        if (event.GetEventType() == wxEVT_KEY_UP || event.GetEventType() == wxEVT_LEFT_UP ||
            event.GetEventType() == wxEVT_RIGHT_UP || event.GetEventType() == wxEVT_BUTTON) {
            ++m_s.keyUps;
        } else if (event.GetEventType() == wxEVT_MENU_OPEN) {
            if (wxMenu* menu = static_cast<wxMenuEvent&>(event).GetMenu()) {
                m_s.openMenu = menu;
                ++m_s.menus;
            }
        } else if (event.GetEventType() == wxEVT_MENU_CLOSE) {
            // A menu that closed by itself is not answered.
            if (static_cast<wxMenuEvent&>(event).GetMenu() == m_s.openMenu) m_s.openMenu = nullptr;
        }
        return Event_Skip;
    }

private:
    SmokeState& m_s;
};

// Notes the pop-up menu on show with its entries as a user reads them (separators left out):
// the text, then ":checked" or ":disabled" where that applies; then answers it through the
// display server, as a user's keys would. (Its marks are looked at now, not as it opens: the
// toolkit asks the commands for them after it announced the menu.)
void AnswerMenu(SmokeState& s) {
    std::string entries;
    for (const wxMenuItem* item : s.openMenu->GetMenuItems()) {
        if (item->IsSeparator()) continue;
        std::string entry = item->GetItemLabelText().utf8_str().data();
        if (item->IsCheckable() && item->IsChecked()) entry += ":checked";
        if (!item->IsEnabled()) entry += ":disabled";
        entries += (entries.empty() ? "" : ";") + entry;
    }
    s.notes.push_back("popup=" + entries);
    wxUIActionSimulator sim;
    if (s.menuAnswer == "esc") {
        sim.Char(WXK_ESCAPE);
    } else {
        for (int i = std::atoi(s.menuAnswer.c_str()); i > 0; --i) sim.Char(WXK_DOWN);
        sim.Char(WXK_RETURN);
    }
    s.openMenu = nullptr;
    s.menuAnswer = "esc";
}

// A part of the view named in a step, by the view's own layout at this size of the window:
// "axis", the middle of the time axis band under the curves.
bool ViewPlace(CTenvorikView& view, const std::string& name, wxPoint& at) {
    oscview::CTenvorikView* core = view.GetCore();
    if (!core) return false;
    if (name == "axis") {
        at = wxPoint((core->GetTraceLeft() + core->GetTraceRight()) / 2, core->m_clientHeight - core->GetBottomBand() / 2);
        return true;
    }
    return false;
}

// The middle of the button of command `id` on the ribbon's tab row, on the screen.
bool TabRowButton(CMainFrame* main, int id, wxPoint& at) {
    QuickAccessBar* quick = main ? main->GetQuickAccess() : nullptr;
    if (!quick) return false;
    const std::vector<QuickAccessBar::Button>& buttons = quick->Buttons();
    for (size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i].id == id) {
            const wxRect r = quick->ButtonRect(i);
            at = quick->ClientToScreen(r.GetPosition() + wxPoint(r.width / 2, r.height / 2));
            return true;
        }
    return false;
}

// A ribbon page comes to the front as a click on its tab brings it.
void ShowRibbonPage(SmokeState& s, size_t page) {
    auto* main = dynamic_cast<CMainFrame*>(s.frame);
    if (!main || page >= main->GetRibbon()->GetPageCount()) return;
    main->GetRibbon()->SetActivePage(page);
    main->GetRibbon()->Refresh();
}

// The next look waits for the release of the key about to be pressed.
void AwaitKey(SmokeState& s) {
    s.keyUpsBefore = s.keyUps;
    s.awaitKey = true;
    s.windowsBefore = wxTopLevelWindows.size();
    s.menusBefore = s.menus;
    s.modalBefore = TopModalDialog();
    s.focusBefore = wxWindow::FindFocus();
    s.keyDeadline = wxGetLocalTimeMillis() + 10000;
}

// Whether a key pressed is still on its way: not yet released in the program, with no menu,
// file chooser or window come or gone that would take it instead, the focus where it was (a key
// that closed a record took its window), and not waited for too long.
bool KeyOnItsWay(SmokeState& s) {
    if (!s.awaitKey) return false;
    if (s.keyUps != s.keyUpsBefore || s.menus != s.menusBefore || s.fileDialog || TopModalDialog() != s.modalBefore ||
        wxTopLevelWindows.size() != s.windowsBefore || wxWindow::FindFocus() != s.focusBefore ||
        wxGetLocalTimeMillis() > s.keyDeadline)
        s.awaitKey = false;
    return s.awaitKey;
}

// One step: "ID" runs a command as the ribbon does; "wheel/MODS/ROTATION/X/Y" turns the wheel
// over the view (MODS none, ctrl, alt or shift); "drag/X1/Y1/X2/Y2" drags with the left button
// in the view; "key/MODS/KEY" presses a key through the display server (so accelerators are
// met as a user's keys meet them); "closepane/BIT" closes a diagram pane as its close button
// does; "page/N" brings ribbon page N to the front; "click/X/Y" clicks at a point of the main
// window; "quick/ID" clicks the quick-access button of command ID; "press/MODS/X/Y" presses and releases the left button in the view at (X, Y) with
// MODS (none, ctrl or shift) held; "move/X/Y" moves the pointer over the view to (X, Y)
// with no button held; "help/TEXT" shows a tool's help text and "help" takes it back; "menu/X/Y/ID" right-clicks the view at (X, Y) and chooses
// entry ID of the context menu that opens there, when the menu has it enabled (noted as
// "menu=ID:chosen", "menu=ID:disabled" or "menu=ID:absent"); "note" notes the view's state.
// Keys and in-place editors: "keyhere/MODS/KEY" presses KEY (a character, a name such as
// RETURN, ESCAPE, TAB, LEFT, F10, PAGEDOWN, MENU, or a code) with MODS (none, ctrl, shift,
// alt, ctrlshift, altshift) where the focus is, without giving the view the focus first (the
// next step waits until the program has met the key); "keys" notes where the focus is and
// the ribbon's key mode; "focusat" notes the window with the keys by class and label;
// "menuanswer/ANSWER" answers the next pop-up menu (one a key opens) as "popup" does; "dclick/X/Y" double-clicks the view; "type/TEXT" types TEXT into the
// open in-place editor (noted with the text it offered); "gridclick/R/C" and "griddclick/R/C" click and double-click a cell of
// the grid of the dialog on top, "gridnote" notes its texts, "dlgclose" closes that dialog; "button/ID" clicks
// the button ID of the main window.
// "popup/X/Y/ANSWER" right-clicks
// the view at (X, Y) through the display server (a negative Y from the bottom; "popup/axis/ANSWER"
// in its time axis band, wherever the window's size puts it) and "ribbon/ID/ANSWER" clicks the
// button of command ID where the main window shows it (on the ribbon page on show or on the tab
// row), and the menu that opens is noted ("popup=...") and answered: "esc"
// closes it, a number N chooses its Nth entry with the arrow keys; "note" notes the view's
// state. The main frame's tab rows: "tabrow/CMD/face|arrow/ANSWER" clicks the face or the arrow
// of "Стиль" (286) or help (57667) at the right end of the ribbon's tabs, "tabbutton/close|list/
// ANSWER" the close button of the record's tab or the document menu's button, and a menu they
// open is answered as above; "tabs" notes the records' tabs; "pin/BIT" presses the pin of a
// diagram pane and "edge/BIT" its tab on the strip it was hidden to; "listnote" notes the list
// and buttons of the dialog on top; "dragover/X/Y/MS" rests a drag over the view at (X, Y) (a
// negative Y from the bottom) for MS milliseconds. (A picture is taken only at the end: reading the screen back while the program runs
// on stops GTK's painting of the window under Xvfb.)
void RunStep(SmokeState& s, const std::string& step) {
    if (std::getenv("TENVORIK_SMOKE_TRACE")) std::fprintf(stderr, "step %s at %lld\n", step.c_str(), static_cast<long long>(wxGetLocalTimeMillis().GetValue()));
    const std::vector<std::string> p = Split(step, '/');
    CTenvorikView* view = ActiveView();
    wxWindow* canvas = view ? view->GetCanvas() : nullptr;
    if (p[0] == "note") {
        s.notes.push_back(ViewState());
    } else if (p[0] == "wheel" && p.size() == 5 && canvas) {
        wxMouseEvent e = MouseEvent(wxEVT_MOUSEWHEEL, std::atoi(p[3].c_str()), std::atoi(p[4].c_str()), p[1], canvas);
        e.m_wheelRotation = std::atoi(p[2].c_str());
        e.m_wheelDelta = 120;
        e.m_linesPerAction = 3;
        canvas->GetEventHandler()->ProcessEvent(e);
    } else if (p[0] == "drag" && p.size() == 5 && canvas) {
        const int x1 = std::atoi(p[1].c_str()), y1 = std::atoi(p[2].c_str());
        const int x2 = std::atoi(p[3].c_str()), y2 = std::atoi(p[4].c_str());
        wxMouseEvent down = MouseEvent(wxEVT_LEFT_DOWN, x1, y1, "none", canvas);
        down.SetLeftDown(true);
        canvas->GetEventHandler()->ProcessEvent(down);
        for (int k = 1; k <= 4; ++k) {
            wxMouseEvent move = MouseEvent(wxEVT_MOTION, x1 + (x2 - x1) * k / 4, y1 + (y2 - y1) * k / 4, "none", canvas);
            move.SetLeftDown(true);
            canvas->GetEventHandler()->ProcessEvent(move);
        }
        wxMouseEvent up = MouseEvent(wxEVT_LEFT_UP, x2, y2, "none", canvas);
        canvas->GetEventHandler()->ProcessEvent(up);
    } else if (p[0] == "key" && p.size() == 3) {
        wxUIActionSimulator sim;
        // The keys go where the pointer is, as without a window manager the server sends them.
        wxWindow* target = canvas ? canvas : s.frame;
        sim.MouseMove(target->GetScreenRect().GetPosition() + wxPoint(40, 40));
        wxYield();
        if (canvas) canvas->SetFocus();
        int mods = wxMOD_NONE;
        if (p[1] == "ctrl") mods = wxMOD_CONTROL;
        else if (p[1] == "shift") mods = wxMOD_SHIFT;
        int key = p[2].size() == 1 ? int(p[2][0]) : p[2] == "F1" ? int(WXK_F1) : std::atoi(p[2].c_str());
        AwaitKey(s);
        sim.Char(key, mods);
        wxYield();
    } else if (p[0] == "keyhere" && p.size() == 3) {
        // A key pressed where the focus now is, as a user types without touching the mouse:
        // the pointer only goes over the window that has the focus, since without a window
        // manager the server sends the keys to the window under it.
        wxUIActionSimulator sim;
        wxWindow* focus = wxWindow::FindFocus();
        wxDialog* dialog = TopModalDialog();
        wxWindow* over = dialog && (!focus || wxGetTopLevelParent(focus) != dialog) ? dialog : focus ? focus : s.frame;
        const wxRect r = over->GetScreenRect();
        // Over the record's view the pointer rests on the time axis, where resting shows nothing
        // (over a cut caption it would show the caption whole, which takes the keys).
        if (over == canvas) sim.MouseMove(r.GetPosition() + wxPoint(r.width / 2, std::max(r.height - 8, 0)));
        else sim.MouseMove(r.GetPosition() + wxPoint(std::min(r.width / 2, 40), std::min(r.height / 2, 12)));
        wxYield();
        int mods = wxMOD_NONE;
        if (p[1].find("ctrl") != std::string::npos) mods |= wxMOD_CONTROL;
        if (p[1].find("shift") != std::string::npos) mods |= wxMOD_SHIFT;
        if (p[1].find("alt") != std::string::npos) mods |= wxMOD_ALT;
        AwaitKey(s);
        sim.Char(KeyCode(p[2]), mods);
        wxYield();
    } else if (p[0] == "keys") {
        s.notes.push_back(KeyState(s));
    } else if (p[0] == "focusat") {
        // The window with the keys, by its class and its label or name, and its top-level
        // window's title.
        std::string note = "focusat=none";
        if (wxWindow* focus = wxWindow::FindFocus()) {
            wxString label = focus->GetLabel();
            // A tree by the item it has selected.
            if (auto* tree = dynamic_cast<wxTreeCtrl*>(focus); tree && tree->GetSelection().IsOk())
                label = tree->GetItemText(tree->GetSelection());
            if (label.empty()) label = focus->GetName();
            note = std::string("focusat=") + wxString(focus->GetClassInfo()->GetClassName()).utf8_str().data() + "|" +
                   label.utf8_str().data() + "|" + wxGetTopLevelParent(focus)->GetLabel().utf8_str().data();
        }
        s.notes.push_back(note);
    } else if (p[0] == "menuanswer" && p.size() == 2) {
        // How the next pop-up menu is answered ("esc" or the Nth entry), for a menu that a key
        // opens.
        s.menuAnswer = p[1];
    } else if (p[0] == "type" && p.size() == 2) {
        // Text typed into the in-place editor that is open, noted with the text it offered.
        std::string note = "editor=none";
        if (wxTextCtrl* editor = platform::OpenInPlaceEditor()) {
            note = std::string("editor=open|") + editor->GetValue().utf8_str().data();
            editor->SetValue(wxString::FromUTF8(p[1].c_str()));
            editor->SetInsertionPointEnd();
        }
        s.notes.push_back(note);
    } else if (p[0] == "dclick" && p.size() == 3 && canvas) {
        // A double click in the view through the display server, as a user's mouse makes it.
        wxUIActionSimulator sim;
        sim.MouseMove(canvas->ClientToScreen(wxPoint(std::atoi(p[1].c_str()), std::atoi(p[2].c_str()))));
        wxYield();
        sim.MouseDblClick();
        wxYield();
    } else if ((p[0] == "gridclick" || p[0] == "griddclick") && p.size() == 3) {
        // A click or a double click on a cell of the grid of the dialog on top.
        if (wxGrid* grid = DialogGrid()) {
            wxRect cell = grid->CellToRect(std::atoi(p[1].c_str()), std::atoi(p[2].c_str()));
            cell.SetPosition(grid->CalcScrolledPosition(cell.GetPosition()));
            wxUIActionSimulator sim;
            sim.MouseMove(grid->GetGridWindow()->ClientToScreen(cell.GetPosition() + wxPoint(cell.width / 2, cell.height / 2)));
            wxYield();
            if (p[0] == "gridclick") sim.MouseClick();
            else sim.MouseDblClick();
            wxYield();
        }
    } else if (p[0] == "gridnote") {
        // The texts of the grid of the dialog on top, row by row.
        std::string text = "grid=";
        if (wxGrid* grid = DialogGrid())
            for (int r = 0; r < grid->GetNumberRows(); ++r) {
                for (int c = 0; c < grid->GetNumberCols(); ++c)
                    text += std::string(c ? "|" : "") + grid->GetCellValue(r, c).utf8_str().data();
                text += ";";
            }
        s.notes.push_back(text);
    } else if (p[0] == "button" && p.size() == 2) {
        // A button of the main window (a caption bar's) clicked with the mouse.
        if (wxWindow* button = s.frame->FindWindow(std::atoi(p[1].c_str())); button && button->IsShownOnScreen()) {
            wxUIActionSimulator sim;
            sim.MouseMove(button->GetScreenRect().GetPosition() + wxPoint(button->GetSize().x / 2, button->GetSize().y / 2));
            wxYield();
            AwaitKey(s);
            sim.MouseClick();
            wxYield();
        }
    } else if (p[0] == "dlgclose") {
        // The dialog on top closed as its title-bar button closes it.
        if (wxDialog* dlg = TopModalDialog()) {
            // A question is noted with its text.
            std::string text = dlg->GetTitle().utf8_str().data();
            if (auto* msg = dynamic_cast<wxGenericMessageDialog*>(dlg)) {
                wxString m = msg->GetMessage();
                m.Replace(wxS("\n"), wxS(" "));
                text += "|" + std::string(m.utf8_str().data());
            }
            s.dialogs.push_back(text + "|closed");
            dlg->Close();
        }
    } else if (p[0] == "menu" && p.size() == 4 && canvas) {
        const wxPoint at(std::atoi(p[1].c_str()), std::atoi(p[2].c_str()));
        const int id = std::atoi(p[3].c_str());
        // The press selects as a right click does; the menu itself is a modal popup, so its
        // entry is looked up and sent as choosing it sends it.
        wxMouseEvent down = MouseEvent(wxEVT_RIGHT_DOWN, at.x, at.y, "none", canvas);
        down.SetRightDown(true);
        canvas->GetEventHandler()->ProcessEvent(down);
        bool listed = false;
        for (const commands::MenuItem& item : commands::Menu(view->ContextMenuAt(at))) listed |= item.id == id;
        wxUpdateUIEvent update(commands::MenuId(id));
        update.SetEventObject(canvas);
        canvas->GetEventHandler()->ProcessEvent(update);
        const bool enabled = !update.GetSetEnabled() || update.GetEnabled();
        s.notes.push_back("menu=" + std::to_string(id) + (!listed ? ":absent" : enabled ? ":chosen" : ":disabled"));
        if (listed && enabled) {
            wxCommandEvent cmd(wxEVT_MENU, commands::MenuId(id));
            cmd.SetEventObject(canvas);
            canvas->GetEventHandler()->ProcessEvent(cmd);
        }
    } else if (p[0] == "move" && p.size() == 3 && canvas) {
        // The pointer comes to rest over the view with no button held.
        wxMouseEvent move = MouseEvent(wxEVT_MOTION, std::atoi(p[1].c_str()), std::atoi(p[2].c_str()), "none", canvas);
        canvas->GetEventHandler()->ProcessEvent(move);
    } else if (p[0] == "press" && p.size() == 4 && canvas) {
        const int x = std::atoi(p[2].c_str()), y = std::atoi(p[3].c_str());
        wxMouseEvent down = MouseEvent(wxEVT_LEFT_DOWN, x, y, p[1], canvas);
        down.SetLeftDown(true);
        canvas->GetEventHandler()->ProcessEvent(down);
        wxMouseEvent up = MouseEvent(wxEVT_LEFT_UP, x, y, p[1], canvas);
        canvas->GetEventHandler()->ProcessEvent(up);
    } else if (p[0] == "click" && p.size() == 3) {
        // A left click at a point of the main window, through the display server.
        wxUIActionSimulator sim;
        sim.MouseMove(s.frame->GetScreenRect().GetPosition() + wxPoint(std::atoi(p[1].c_str()), std::atoi(p[2].c_str())));
        wxYield();
        AwaitKey(s);
        sim.MouseClick();
        wxYield();
    } else if (p[0] == "quick" && p.size() == 2) {
        // A click on a quick-access button of the tab row, through the display server.
        auto* main = dynamic_cast<CMainFrame*>(s.frame);
        QuickAccessBar* quick = main ? main->GetQuickAccess() : nullptr;
        const std::vector<QuickAccessBar::Button> buttons = quick ? quick->Buttons() : std::vector<QuickAccessBar::Button>();
        for (size_t i = 0; i < buttons.size(); ++i)
            if (buttons[i].id == std::atoi(p[1].c_str())) {
                wxUIActionSimulator sim;
                const wxRect r = quick->ButtonRect(i);
                sim.MouseMove(quick->ClientToScreen(r.GetPosition() + wxSize(r.width / 2, r.height / 2)));
                wxYield();
                sim.MouseClick();
                wxYield();
            }
    } else if ((p[0] == "popup" && (p.size() == 4 || p.size() == 3) && canvas) || (p[0] == "ribbon" && p.size() == 3)) {
        // A click through the display server opens the menu as a user's click does; the
        // menu is answered at the next look, when the main loop has met the click (so no
        // yield here).
        wxPoint at;
        int button = wxMOUSE_BTN_RIGHT;
        if (p[0] == "popup") {
            wxPoint local(std::atoi(p[1].c_str()), p.size() == 4 ? std::atoi(p[2].c_str()) : 0);
            if (p.size() == 3 && !ViewPlace(*view, p[1], local)) {
                s.notes.push_back("popup=" + p[1] + ":unknown");
                return;
            }
            // A negative Y counts from the bottom of the view's client area.
            if (p.size() == 4 && local.y < 0) local.y += canvas->GetClientSize().y;
            at = canvas->ClientToScreen(local);
        } else {
            auto* main = dynamic_cast<CMainFrame*>(s.frame);
            const int id = std::atoi(p[1].c_str());
            wxRibbonBar* ribbon = main ? main->GetRibbon() : nullptr;
            const int page = ribbon ? ribbon->GetActivePage() : -1;
            const CMainFrame::RibbonButton* found = nullptr;
            if (page >= 0)
                for (const CMainFrame::RibbonButton& b : main->GetRibbonButtons())
                    if (b.id == id && b.bar->GetParent()->GetParent() == ribbon->GetPage(size_t(page))) found = &b;
            if (found) {
                const wxRect r = found->bar->GetItemRect(commands::MenuId(id));
                at = found->bar->ClientToScreen(r.GetPosition() + wxPoint(r.width / 2, r.height / 2));
            } else if (!TabRowButton(main, id, at)) {
                s.notes.push_back("ribbon=" + p[1] + ":absent");
                return;
            }
            button = wxMOUSE_BTN_LEFT;
        }
        s.menuAnswer = p.back();
        wxUIActionSimulator sim;
        sim.MouseMove(at);
        sim.MouseClick(button);
    } else if (p[0] == "page" && p.size() == 2) {
        ShowRibbonPage(s, size_t(std::atoi(p[1].c_str())));
    } else if (p[0] == "help") {
        // A tool's help text, as a pane's tool bar gives it while the pointer rests on a tool
        // ("help/TEXT"), and takes it back when the pointer leaves ("help").
        const wxString text = p.size() > 1 ? wxString::FromUTF8(p[1]) : wxString();
        s.frame->DoGiveHelp(text, !text.empty());
    } else if (p[0] == "tabrow" && p.size() == 4) {
        // "tabrow/CMD/PART/ANSWER": a click on the face or the arrow of the tab row's element of
        // command CMD through the display server; a menu it opens is answered at the next look.
        auto* main = dynamic_cast<CMainFrame*>(s.frame);
        TabRowBar* row = main ? main->GetTabRow() : nullptr;
        for (size_t i = 0; row && i < row->ItemCount(); ++i) {
            if (TabRowBar::CommandOf(i) != std::atoi(p[1].c_str())) continue;
            const wxRect arrow = row->ArrowRect(i), item = row->ItemRect(i);
            const wxPoint at = p[2] == "arrow" ? arrow.GetPosition() + wxPoint(arrow.width / 2, arrow.height / 2)
                                               : item.GetPosition() + wxPoint(5, item.height / 2);
            s.menuAnswer = p[3];
            wxUIActionSimulator sim;
            sim.MouseMove(row->ClientToScreen(at));
            wxYield();
            sim.MouseClick();
        }
    } else if (p[0] == "tabbutton" && p.size() == 3) {
        // "tabbutton/close/ANSWER" or "tabbutton/list/ANSWER": a click on the close button of
        // the active record's tab or on the document menu's button, through the display server.
        wxAuiTabCtrl* ctrl = RecordTabCtrl(s);
        const wxRect r = RecordTabButton(ctrl, p[1] == "close" ? wxAUI_BUTTON_CLOSE : wxAUI_BUTTON_WINDOWLIST);
        if (r.IsEmpty()) {
            s.notes.push_back("tabbutton=" + p[1] + ":absent");
            return;
        }
        s.menuAnswer = p[2];
        wxUIActionSimulator sim;
        sim.MouseMove(ctrl->ClientToScreen(r.GetPosition() + wxPoint(r.width / 2, r.height / 2)));
        wxYield();
        sim.MouseClick();
    } else if ((p[0] == "pin" || p[0] == "edge") && p.size() == 2) {
        // "pin/BIT" presses the pin of diagram pane BIT's title bar, "edge/BIT" its tab on the
        // strip it was hidden to, both through the display server.
        auto* main = dynamic_cast<CMainFrame*>(s.frame);
        const int bit = std::atoi(p[1].c_str());
        wxPoint at(-1, -1);
        if (main && p[0] == "pin") {
            const wxRect r = main->DiagramPaneButtonRect(bit, wxAUI_BUTTON_PIN);
            if (!r.IsEmpty()) at = s.frame->ClientToScreen(r.GetPosition() + wxPoint(r.width / 2, r.height / 2));
        } else if (main) {
            if (PaneEdgeBar* bar = main->GetEdgeBar(main->EdgeOfDiagramPane(bit)))
                for (size_t i = 0; i < bar->Entries().size(); ++i)
                    if (bar->Entries()[i].name == wxString::Format(wxS("diagram%d"), bit)) {
                        const wxRect r = bar->EntryRect(i);
                        at = bar->ClientToScreen(r.GetPosition() + wxPoint(r.width / 2, r.height / 2));
                    }
        }
        if (at.x < 0) {
            s.notes.push_back(p[0] + "=" + p[1] + ":absent");
            return;
        }
        wxUIActionSimulator sim;
        sim.MouseMove(at);
        wxYield();
        sim.MouseClick();
        wxYield();
    } else if (p[0] == "dragover" && p.size() == 4 && canvas) {
        // "dragover/X/Y/MS": something dragged over the view comes to rest at (X, Y) for MS
        // milliseconds, as the drag-and-drop machinery reports it to the view's drop target,
        // and leaves; the view's state is noted before and after.
        wxDropTarget* target = canvas->GetDropTarget();
        if (!target) return;
        s.notes.push_back(ViewState());
        // A negative Y counts from the bottom of the view's client area.
        const int x = std::atoi(p[1].c_str());
        int y = std::atoi(p[2].c_str());
        if (y < 0) y += canvas->GetClientSize().y;
        target->OnEnter(x, y, wxDragMove);
        target->OnDragOver(x, y, wxDragMove);
        // The run's own steps wait meanwhile: the next one must not start inside this one.
        s.timer.Stop();
        const wxLongLong end = wxGetLocalTimeMillis() + std::atoi(p[3].c_str());
        while (wxGetLocalTimeMillis() < end) {
            wxYield();
            wxMilliSleep(5);
        }
        target->OnLeave();
        s.notes.push_back(ViewState());
        s.timer.StartOnce(300);
    } else if (p[0] == "tabs") {
        // The records' tabs in order, the active one marked.
        auto* main = dynamic_cast<CMainFrame*>(s.frame);
        std::string tabs = "tabs=";
        if (main)
            for (size_t i = 0; i < main->GetNotebook()->GetPageCount(); ++i)
                tabs += std::string(i ? "," : "") + (int(i) == main->GetNotebook()->GetSelection() ? "*" : "") +
                        main->GetNotebook()->GetPageText(i).utf8_str().data();
        s.notes.push_back(tabs);
    } else if (p[0] == "listnote") {
        // The list of the dialog on top: its entries, the chosen ones marked "*", which of its
        // buttons are enabled, and where the focus is (the list or a button's text).
        std::string text = "list=";
        if (wxDialog* dlg = TopModalDialog()) {
            wxWindowList todo = dlg->GetChildren();
            std::string buttons;
            while (!todo.empty()) {
                wxWindow* w = todo.front();
                todo.pop_front();
                if (auto* list = dynamic_cast<wxListBox*>(w))
                    for (unsigned i = 0; i < list->GetCount(); ++i)
                        text += std::string(i ? "," : "") + (list->IsSelected(int(i)) ? "*" : "") +
                                list->GetString(i).utf8_str().data();
                if (auto* button = dynamic_cast<wxButton*>(w))
                    buttons += "|" + std::string(wxStripMenuCodes(button->GetLabel()).utf8_str().data()) +
                               (button->IsEnabled() ? ":on" : ":off");
                for (wxWindow* c : w->GetChildren()) todo.push_back(c);
            }
            text += buttons;
            wxWindow* focus = wxWindow::FindFocus();
            text += "|focus=";
            if (dynamic_cast<wxListBox*>(focus)) text += "list";
            else if (auto* button = dynamic_cast<wxButton*>(focus)) text += wxStripMenuCodes(button->GetLabel()).utf8_str().data();
        }
        s.notes.push_back(text);
    } else if (p[0] == "closepane" && p.size() == 2) {
        if (auto* main = dynamic_cast<CMainFrame*>(s.frame)) main->CloseDiagramPane(std::atoi(p[1].c_str()));
    } else {
        // Queued, so that a modal window it opens meets the next tick of the timer.
        wxCommandEvent cmd(wxEVT_MENU, commands::MenuId(std::atoi(step.c_str())));
        cmd.SetEventObject(s.frame);
        s.frame->GetEventHandler()->AddPendingEvent(cmd);
    }
}

}  // namespace

void ArmSmokeHook(wxFrame* frame) {
    const char* report = std::getenv("TENVORIK_SMOKE");
    if (!report || !*report) return;
    auto* s = new SmokeState;
    s->frame = frame;
    s->reportPath = report;
    const char* shot = std::getenv("TENVORIK_SMOKE_SHOT");
    s->shotPath = shot ? shot : "";
    const char* file = std::getenv("TENVORIK_SMOKE_FILE");
    s->file = file ? file : "";
    if (!s->file.empty()) s->fileWatch = std::make_unique<FileDialogWatch>(*s);
    // Give the window time to be mapped and painted (and a record to open) before it is looked
    // at; a modal dialog met on the way is noted and dismissed, then the look is taken again.
    if (const char* cmds = std::getenv("TENVORIK_SMOKE_COMMANDS"))
        for (const std::string& step : Split(cmds, ','))
            if (!step.empty()) s->steps.push_back(step);
    s->menuWatch = std::make_unique<MenuWatch>(*s);
    s->timer.Bind(wxEVT_TIMER, [s](wxTimerEvent&) {
        // A pop-up menu on show is answered first: it holds the program until it closes.
        if (s->openMenu) {
            AnswerMenu(*s);
            s->timer.StartOnce(300);
            return;
        }
        // A key or click still on its way is waited for before the next step looks or presses;
        // once it has arrived, what it queued runs first.
        const bool awaited = s->awaitKey;
        if (KeyOnItsWay(*s)) {
            s->timer.StartOnce(50);
            return;
        }
        if (awaited) {
            s->timer.StartOnce(50);
            wxTheApp->ProcessPendingEvents();
            return;
        }
        // A file dialog is answered before the next step: that step is meant for what the
        // dialog opens, as a user would give it once the dialog is done. A dialog the run
        // drives is likewise finished first.
        if (!s->steps.empty() && ((s->fileDialog && DismissDialogs(*s)) || (!ForDialog(s->steps.front()) && StepDrivenDialogs(*s)))) {
            s->timer.StartOnce(300);
            return;
        }
        if (!s->steps.empty()) {
            const std::string step = s->steps.front();
            s->steps.erase(s->steps.begin());
            s->timer.StartOnce(300);
            RunStep(*s, step);
            return;
        }
        if (DismissDialogs(*s) && ++s->ticks < 20) {
            s->timer.StartOnce(300);
            return;
        }
        if (Preparation()) Preparation()();
        // What the frame shows follows the records on its timer; the look is taken after it.
        if (auto* main = dynamic_cast<CMainFrame*>(s->frame)) main->FollowActiveRecord();
        s->frame->Update();
        wxYield();
        if (!s->shotPath.empty()) SaveShot(s->frame, s->shotPath);
        WriteReport(*s);
        // What the steps changed is left unsaved, as a user answering "no" would.
        if (auto* main = dynamic_cast<CMainFrame*>(s->frame))
            for (wxDocument* doc : main->GetDocumentManager()->GetDocumentsVector()) doc->Modify(false);
        s->frame->Close(true);
        wxTheApp->CallAfter([s] { delete s; });
    });
    const char* delay = std::getenv("TENVORIK_SMOKE_DELAY");
    const int ms = delay ? std::atoi(delay) : 0;
    s->timer.StartOnce(ms > 0 ? ms : 1500);
}

void SetSmokePreparation(std::function<void()> prepare) { Preparation() = std::move(prepare); }

void NoteCurvesPainted() {
    static const bool wanted = [] {
        const char* v = std::getenv("TENVORIK_SMOKE_PAINTED");
        return v && *v;
    }();
    static bool noted = false;
    if (!wanted || noted) return;
    noted = true;
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count();
    std::fprintf(stderr, "curves painted %lld\n", static_cast<long long>(ns));
    std::fflush(stderr);
    wxTheApp->CallAfter([] {
        CMainFrame* frame = GetMainFrame();
        if (!frame) return;
        for (wxDocument* doc : frame->GetDocumentManager()->GetDocumentsVector()) doc->Modify(false);
        frame->Close(true);
    });
}
