#pragma once
#include <wx/aui/framemanager.h>
#include <wx/aui/tabmdi.h>
#include <wx/docview.h>
#include <wx/timer.h>

#include <functional>
#include <memory>
#include <vector>

#include "app/FrameManager.h"
#include "app/FrameState.h"
#include "app/PaneRoom.h"
#include "platform/CString.h"

class wxMenu;
class wxRibbonBar;
class QuickAccessBar;
class wxRibbonButtonBar;
class wxRibbonButtonBarEvent;
class CMergeBar;
class CMsgCaptionBar;
class CParamOscBar;
class RibbonKeys;
class TabRowBar;
class PaneEdgeBar;
class wxAuiNotebookEvent;

namespace instance {
class Server;
}

// Command ids of the main frame and the application.
enum : int {
    ID_APP_LOOK_FIRST = 210,
    ID_APP_LOOK_LAST = 218,
    ID_PROGRAM_SETTINGS = 129,
    ID_REQUEST_REDRAW = 32831,
    ID_FILE_FINDER = 32880,
    ID_FILE_PARAMETERS = 32861,
    ID_SHOW_CIRCLE = 32808,
    ID_SHOW_VECTOR = 32809,
    ID_RECALC_LAYOUT = 32810,
    ID_SHOW_SPECTRUM = 32811,
    ID_SHOW_DIFFERENTIAL = 140,
    ID_WINDOWS_DIALOG = 131,  // the list of open records with activate, save and close
    ID_RECENT_FIRST = 62100,  // the recent-files menu, one id per entry
};

// The frame of one record: a tab of the main frame's record notebook.
class RecordFrame : public wxDocChildFrameAny<wxAuiMDIChildFrame, wxAuiMDIParentFrame> {
public:
    RecordFrame(wxDocument* doc, wxView* view, wxAuiMDIParentFrame* parent, const wxString& title) {
        Create(doc, view, parent, wxID_ANY, title);
    }
#ifdef __WXGTK__
    // A tab is a plain child window, not a window of the desktop: it is realised as one (the
    // frame's own handling would treat it as a desktop window and draw warnings from GTK).
    void GTKHandleRealized() override { wxWindow::GTKHandleRealized(); }
#endif
};

// The program's main window: the ribbon on top, records as tabs, diagram panes docked around
// them, the status bar with the cursor read-outs below.
class CMainFrame : public wxDocParentFrameAny<wxAuiMDIParentFrame> {
public:
    // `server` (may be null) is polled for records handed over by a second start.
    CMainFrame(wxDocManager* manager, instance::Server* server, int applicationLook);
    ~CMainFrame() override;

    wxRibbonBar* GetRibbon() const { return m_ribbon; }
    QuickAccessBar* GetQuickAccess() const { return m_quickAccess; }
    // Every ribbon button with the bar that holds it, in the order of the command table.
    struct RibbonButton {
        int id;
        wxRibbonButtonBar* bar;
    };
    const std::vector<RibbonButton>& GetRibbonButtons() const { return m_ribbonButtons; }

    // Reloads every diagram window from the active document, in the order spectrum, vector,
    // circle, differential.
    void UpdateDiagrams();
    // The diagram window of a display bit (2, 4, 8, 16), or none.
    wxWindow* GetDiagramWnd(int displayBit) const;
    // Places a diagram window in its dockable pane; `reload` is its reload operation.
    void SetDiagramWnd(int displayBit, wxWindow* window, std::function<void()> reload);
    // Closes a diagram pane as its close button does; its ribbon button brings it back.
    void CloseDiagramPane(int displayBit);
    // Hides a diagram pane to the strip along the edge it is docked at, as its pin button does;
    // a click on its tab there, or its ribbon button, shows it again where it was.
    void HideDiagramPaneToEdge(int displayBit);
    void ShowDiagramPaneFromEdge(int displayBit);
    // The strip of an edge (wxAUI_DOCK_*), and the edge a diagram pane is hidden to (0: none).
    PaneEdgeBar* GetEdgeBar(int dock) const;
    int EdgeOfDiagramPane(int displayBit) const;
    // Where a button of a diagram pane's title bar is, in the frame's client coordinates.
    wxRect DiagramPaneButtonRect(int displayBit, int button) const;
    // The diagram panes' places and edges as the last run left them; once all panes are there.
    void LoadPaneLayout();
    void SavePaneLayout();
    // The open records in the order of their tabs.
    std::vector<wxDocument*> RecordsInTabOrder() const;
    // The windows dialog: the open records with activate, save and close.
    void ShowWindowsDialog();
    // "Стиль" and the help button at the right end of the ribbon's tab row.
    TabRowBar* GetTabRow() const { return m_tabRow; }
    // Places a caption bar in the strip under the ribbon, in the order the bars are added.
    void AddCaptionBar(wxWindow* bar, bool shown);
    void ShowCaptionBar(wxWindow* bar, bool show);
    // A caption bar that changed its least height is given it.
    void CaptionBarHeightChanged(wxWindow* bar);
    bool IsCaptionBarShown(wxWindow* bar) const;
    // The caption bars: fault-location result, channel merge, record parameters.
    CMsgCaptionBar* GetResultBar() const { return m_resultBar; }
    CMergeBar* GetMergeBar() const { return m_mergeBar; }
    CParamOscBar* GetParamBar() const { return m_paramBar; }
    // Writes a status-bar read-out; only a changed text touches the bar.
    void SetStatusPaneText(size_t pane, const CString& text);

    // A record handed over by a second start: open it and come to the front.
    void OpenFromSecondStart(const wxString& path);
    // The file finder asked for by a second start: come to the front and show it.
    void FindFromSecondStart();

    // Gives the keys back to the active record's view once the event now handled is done,
    // when the focus is nowhere a user would still type into: on the ribbon, a caption bar,
    // the tabs, or no window at all (`always` also takes it from a diagram pane).
    void ReturnFocusToView(bool always);
    // The ribbon driven from the keyboard.
    RibbonKeys* GetRibbonKeys() const { return m_keys.get(); }

    int GetApplicationLook() const { return m_look; }
    // Brings the caption, the bars, the diagrams and the panes' room in line with the active
    // record; the frame's timer does it every tick, and a look at the frame can ask for it first.
    void FollowActiveRecord();
    bool IsClosing() const { return m_closing; }

private:
    void BuildRibbon();
    void SetRibbonArt(int look);
    void RealizeRibbon();
    wxAuiPaneInfo RibbonPaneInfo() const;
    void ShowRibbonMenu();
    void BindCommandFallbacks();
    void SetAccelerators();
    void BuildStatusBar();
    void BuildCaptionBars();
    // What the frame shows once no record is active.
    void ShowNoRecord();
    void OnResultBarClosed(wxCommandEvent&);
    void OnToggleParamBar(wxCommandEvent&);
    void OnUpdateToggleParamBar(wxUpdateUIEvent& event);
    void ApplyLook(int id);
    void ShowRecentMenu(wxRibbonButtonBarEvent& event);

    void OnRibbonButton(wxRibbonButtonBarEvent& event);
    // Puts the quick-access bar and the tab row's elements at the ends of the tab row.
    void PlaceTabRow();
    void FillStyleMenu(wxMenu& menu);
    // The close button of a record's tab: the close command for that record.
    void OnRecordTabClose(wxAuiNotebookEvent& event);
    void OnPaneButton(wxAuiManagerEvent& event);
    wxString DiagramPaneName(int displayBit) const;
    void ShowEdgeBar(int dock);
    void OnCharHook(wxKeyEvent& event);
    // Tab (Shift+Tab back) from one place that shows the focus to the next; false where the
    // focus is among a pane's own controls, which Tab goes through as usual.
    bool CycleFocus(bool back);
    // The next (step 1) or previous (-1) record's tab, round from the last to the first.
    void SwitchRecord(int step);
    void OnTimer(wxTimerEvent&);
    // Gives each diagram pane the room its content asks for: little while it has nothing to
    // show; and the curves keep half of the frame's height, the bottom pane giving way.
    void FitDiagramPanes();
    paneroom::Room PaneRoom(int slot, bool content) const;
    void PollSecondStarts();
    void OnClose(wxCloseEvent& event);
    void OnRequestRedraw(wxCommandEvent&);
    void OnApplicationLook(wxCommandEvent& event);
    void OnUpdateApplicationLook(wxUpdateUIEvent& event);
    void OnRecentFile(wxCommandEvent& event);
    void OnShowDiagramPane(wxCommandEvent& event);
    void OnUpdateShowDiagramPane(wxUpdateUIEvent& event);
    wxAuiPaneInfo* DiagramPaneOf(int commandId);

    FrameManager m_aui;
    wxRibbonBar* m_ribbon = nullptr;
    QuickAccessBar* m_quickAccess = nullptr;
    TabRowBar* m_tabRow = nullptr;
    PaneEdgeBar* m_edges[4] = {};  // top, right, bottom, left
    std::vector<RibbonButton> m_ribbonButtons;
    std::unique_ptr<RibbonKeys> m_keys;
    class DialogFocus;
    std::unique_ptr<DialogFocus> m_dialogFocus;
    instance::Server* m_server = nullptr;
    wxTimer m_timer;
    FrameState m_state;
    int m_look = 215;
    // The record the diagrams last showed, and whether it was still loading then.
    wxDocument* m_diagramDocument = nullptr;
    bool m_diagramDocumentLoading = false;
    bool m_closing = false;
    struct Diagram {
        wxWindow* window = nullptr;
        std::function<void()> reload;
    };
    Diagram m_diagrams[4];
    // What the panes were last fitted to: whether each had something to show and was on show,
    // and the frame's state the curves' height depends on.
    bool m_paneContent[4] = {};
    bool m_paneShown[4] = {};
    bool m_panesFitted = false;
    wxString m_fitKey;
    int m_halfChecks = 0;
    int m_captionBars = 0;
    CMsgCaptionBar* m_resultBar = nullptr;
    CMergeBar* m_mergeBar = nullptr;
    CParamOscBar* m_paramBar = nullptr;
};

// The application's main frame, or none before it exists and after it closed.
CMainFrame* GetMainFrame();
