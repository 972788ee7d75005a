#pragma once
#include <wx/docview.h>
#include <wx/timer.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "view/TenvorikView.h"

class wxWindow;
class wxScrollWinEvent;
class wxMouseEvent;
class wxKeyEvent;
class wxTextCtrl;

// The oscillogram view of one record: a tab of the main frame. It turns the window's events
// into calls on the view below it and paints through it; the status bar, scroll bars and
// diagram windows are what it answers for that view.
class CTenvorikView : public wxView, public oscview::ViewHost {
    wxDECLARE_DYNAMIC_CLASS(CTenvorikView);

public:
    CTenvorikView();
    ~CTenvorikView() override;
    bool OnCreate(wxDocument* doc, long flags) override;
    void OnDraw(wxDC* dc) override;
    void OnUpdate(wxView* sender, wxObject* hint) override;
    bool OnClose(bool deleteWindow) override;
    void OnActivateView(bool activate, wxView* activeView, wxView* deactiveView) override;

    // The window the record is painted in, and the view below it (null until the record is
    // loaded and painted once).
    wxWindow* GetCanvas() const { return m_canvas; }
    // The edit over a comment's level line while it is open, else null.
    const wxTextCtrl* GetLevelEdit() const { return m_levelEdit; }
    oscview::CTenvorikView* GetCore() { return Core(); }
    // The context menu a right click at client point `p` opens: 560, 561 or none (0).
    int ContextMenuAt(const wxPoint& p);

    // --- oscview::ViewHost
    void SetScrollBar(bool horizontal, int64_t min, int64_t max, int64_t page, int64_t pos) override;
    void Invalidate() override;
    void RepaintNow() override;
    void SetStatusPaneText(int pane, const CString& text) override;
    void UpdateDiagrams() override;

private:
    // The view below, made once the record is loaded.
    oscview::CTenvorikView* Core(bool initialise = false);
    void OnScroll(wxScrollWinEvent& event);
    void OnMouse(wxMouseEvent& event);
    void ShowPointer(const wxPoint& p);
    // Copy takes the selected recorded channels (calculated ones cannot be pasted elsewhere),
    // or the picture of a diagram pane that has the focus.
    bool CanCopy();
    void OnUpdateCopy(wxUpdateUIEvent& event);
    void OnKey(wxKeyEvent& event);
    void OnWheel(wxMouseEvent& event);
    // Menu 560 over the time axis band, 561 over the caption column.
    void ShowContextMenu(const wxPoint& p);
    void OnCommand(wxCommandEvent& event);
    void OnUpdateCommand(wxUpdateUIEvent& event);
    // Printing, its preview and the picture on the clipboard.
    void OnPrint(wxCommandEvent& event);
    void OnPrintPreview(wxCommandEvent& event);
    // The view's picture with the selected channels for merging (a focused diagram pane gives
    // its own picture instead), and the paste of channels copied so from another record.
    void OnCopyPicture(wxCommandEvent& event);
    void OnPasteChannels(wxCommandEvent& event);
    void OnUpdatePasteChannels(wxUpdateUIEvent& event);
    void OnUpdatePrintCommand(wxUpdateUIEvent& event);
    // The comment tools and the commands on the comment under the mouse; its context menu;
    // the level typed over a level comment.
    void OnCommentCommand(wxCommandEvent& event);
    void OnUpdateCommentCommand(wxUpdateUIEvent& event);
    bool ShowCommentMenu(const wxPoint& p);
    void OpenLevelEdit();
    void CloseLevelEdit(bool apply);
    // Which print options have something to print: the oscillogram and the diagrams with a window.
    void PrintableOptions(bool available[oscview::kPrintOptionCount]) const;
    // A double click on a channel's name opens its edit; closing it with `apply` renames.
    void OnDoubleClick(wxMouseEvent& event);
    void CloseNameEditor(bool apply);
    // Offers the channels to the diagram windows (and other views) in the private format.
    void DragChannels(const std::vector<uint32_t>& channels);

    // The full text of a cut caption, shown when the mouse rests on it.
    void ShowHoverBox();
    void CloseHoverBox();

    wxWindow* m_canvas = nullptr;
    wxTimer m_hoverTimer;
    int m_pointer = wxCURSOR_ARROW;
    wxPoint m_hoverPoint;
    wxWindow* m_hoverBox = nullptr;
    wxTextCtrl* m_levelEdit = nullptr;
    wxTextCtrl* m_nameEditor = nullptr;
    std::unique_ptr<oscview::CTenvorikView> m_core;
    bool m_ready = false;
    // One drag per press: a drag cancelled with the button still held does not start again.
    bool m_dragArmed = false;
};
