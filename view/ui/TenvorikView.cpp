#include "view/ui/TenvorikView.h"

#include <wx/dcbuffer.h>
#include <wx/dnd.h>

#include <functional>
#include <set>
#include <wx/graphics.h>
#include <wx/settings.h>
#include <wx/menu.h>
#include <wx/textctrl.h>

#include <wx/clipbrd.h>
#include <wx/image.h>
#include <wx/mstream.h>
#include <wx/printdlg.h>

#include <algorithm>

#include <cairo.h>

#include "app/CaptionBars.h"
#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "app/SmokeHook.h"
#include "app/TenvorikApp.h"
#include "app/TenvorikDocument.h"
#include "diagrams/ChannelDrop.h"
#include "document/ChannelClipboard.h"
#include "document/TenvorikDoc.h"
#include "model/Channel.h"
#include "platform/ui/WxUiServices.h"
#include "platform/ui/InPlaceEditor.h"
#include "model/AppOptions.h"
#include "model/Resources.h"
#include "platform/CmdUI.h"
#include "platform/UiServices.h"
#include "diagrams/ui/DiagramCanvas.h"
#include "diagrams/ui/DiagramPane.h"
#include "view/ViewZoom.h"
#include "view/ui/ViewPrint.h"

using platform::ToWx;

namespace {

// What a drop of channels onto the view asks of it.
class DropOnCore final : public ChannelDropView {
public:
    explicit DropOnCore(oscview::CTenvorikView& core) : m_core(core) {}
    int GetChannelHeight(int i) override { return m_core.GetChannelHeightAt(i); }
    bool CanOverlaySelected() override { return m_core.CanOverlaySelected(); }
    void OverlaySelected() override { m_core.OnChannelCommand(oscview::ID_OVERLAY_CHANNELS); }
    void ShowCannotOverlay() override {
        platform::Ui().MessageBox(LoadResString(1086), CString(), MB_OK | MB_ICONEXCLAMATION);
    }

private:
    oscview::CTenvorikView& m_core;
};

// Files from the desktop open as records; channels dragged from a view are merged into the
// strip they are dropped on. Whatever is dragged, held near the top or bottom edge it scrolls
// the rows a line at a time, so that a row out of view is reached without letting go.
class ViewDropTarget : public wxDropTarget {
public:
    // How near an edge the pointer must be, how long it rests there before the first line
    // goes and how often the next ones do: the desktop conventions for scrolling under a drag.
    static constexpr int kScrollInset = 11;
    static constexpr int kScrollDelayMs = 50;
    static constexpr int kScrollIntervalMs = 50;

    ViewDropTarget(wxWindow* canvas, std::function<oscview::CTenvorikView*()> core)
        : m_canvas(canvas), m_core(std::move(core)) {
        auto* data = new wxDataObjectComposite;
        m_files = new wxFileDataObject;
        m_channels = new wxCustomDataObject(wxDataFormat(kChannelDataFormat));
        data->Add(m_files, true);
        data->Add(m_channels);
        SetDataObject(data);
        m_scrollTimer.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { ScrollStep(); });
    }
    ~ViewDropTarget() override { m_scrollTimer.Stop(); }
    wxDragResult OnEnter(wxCoord x, wxCoord y, wxDragResult def) override { return OnDragOver(x, y, def); }
    wxDragResult OnDragOver(wxCoord, wxCoord y, wxDragResult def) override {
        FollowEdge(y);
        return GetMatchingPair() == wxDataFormat(kChannelDataFormat) ? wxDragMove : def;
    }
    void OnLeave() override { FollowEdge(-1); }
    wxDragResult OnData(wxCoord, wxCoord y, wxDragResult def) override {
        FollowEdge(-1);
        if (!GetData()) return wxDragNone;
        auto* data = static_cast<wxDataObjectComposite*>(GetDataObject());
        if (data->GetReceivedFormat() == wxDataFormat(kChannelDataFormat)) {
            oscview::CTenvorikView* core = m_core();
            if (!core || !core->GetDocument()) return wxDragNone;
            const std::set<uint32_t> channels =
                ReadDroppedChannels(static_cast<const uint8_t*>(m_channels->GetData()), m_channels->GetSize());
            DropOnCore view(*core);
            DropOnView(*core->GetDocument(), view, y - core->m_yOffset, channels);
            return wxDragMove;
        }
        for (const wxString& f : m_files->GetFilenames()) wxGetApp().CallAfter([f] { wxGetApp().OpenRecord(f); });
        return def;
    }

private:
    // The edge zone the pointer is in now (client y, -1 when it left the view): the timer runs
    // while it stays in one.
    void FollowEdge(int y) {
        int zone = 0;
        const int height = m_canvas ? m_canvas->GetClientSize().y : 0;
        if (y >= 0 && height > 2 * kScrollInset) {
            if (y < kScrollInset) zone = 1;
            else if (y >= height - kScrollInset) zone = -1;
        }
        if (zone == m_zone) return;
        m_zone = zone;
        m_scrollTimer.Stop();
        if (zone != 0) m_scrollTimer.StartOnce(kScrollDelayMs);
    }
    void ScrollStep() {
        oscview::CTenvorikView* core = m_core();
        if (m_zone == 0 || !core) return;
        // No horizontal request in the low byte, the line in the high one.
        const unsigned line = m_zone > 0 ? oscview::kLineUp : oscview::kLineDown;
        core->OnScroll((line << 8) | 0xFF, 0, true);
        m_scrollTimer.StartOnce(kScrollIntervalMs);
    }

    wxWindow* m_canvas;
    std::function<oscview::CTenvorikView*()> m_core;
    wxFileDataObject* m_files;
    wxCustomDataObject* m_channels;
    wxTimer m_scrollTimer;
    int m_zone = 0;  // 1 at the top edge, -1 at the bottom one
};


int ScrollCodeOf(wxEventType type) {
    using namespace oscview;
    if (type == wxEVT_SCROLLWIN_LINEUP) return kLineUp;
    if (type == wxEVT_SCROLLWIN_LINEDOWN) return kLineDown;
    if (type == wxEVT_SCROLLWIN_PAGEUP) return kPageUp;
    if (type == wxEVT_SCROLLWIN_PAGEDOWN) return kPageDown;
    if (type == wxEVT_SCROLLWIN_THUMBTRACK) return kThumbTrack;
    if (type == wxEVT_SCROLLWIN_THUMBRELEASE) return kThumbPosition;
    if (type == wxEVT_SCROLLWIN_TOP) return kTop;
    if (type == wxEVT_SCROLLWIN_BOTTOM) return kBottom;
    return kEndScroll;
}

// Every command the view answers: those a control of the ribbon or of the view's menus sends.
std::vector<int> ViewCommandIds() {
    std::vector<int> ids;
    for (int id : commands::RibbonCommands()) ids.push_back(id);
    for (int menu : {560, 561})
        for (const commands::MenuItem& item : commands::Menu(menu))
            if (item.id) ids.push_back(item.id);
    for (const commands::Accelerator& a : commands::Accelerators()) ids.push_back(a.id);
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

}  // namespace

wxIMPLEMENT_DYNAMIC_CLASS(CTenvorikView, wxView);

CTenvorikView::CTenvorikView() = default;
CTenvorikView::~CTenvorikView() {
    // The frame goes first, while this is still the record's view: taking its tab away moves
    // the focus off the canvas, whose handlers call back here.
    if (wxDocChildFrameAnyBase* frame = GetDocChildFrame(); frame && frame->GetView() == this) {
        frame->SetView(nullptr);
        wxWindow* window = frame->GetWindow();
        SetDocChildFrame(nullptr);
        window->Destroy();
    }
}

bool CTenvorikView::OnCreate(wxDocument* doc, long flags) {
    if (!wxView::OnCreate(doc, flags)) return false;
    CMainFrame* parent = GetMainFrame();
    if (!parent) return false;
    auto* frame = new RecordFrame(doc, this, parent, doc->GetUserReadableName());
    m_canvas = new wxWindow(frame, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                            wxFULL_REPAINT_ON_RESIZE | wxHSCROLL | wxVSCROLL | wxWANTS_CHARS);
    m_canvas->SetBackgroundStyle(wxBG_STYLE_PAINT);
    m_canvas->Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
        wxPaintDC dc(m_canvas);
        OnDraw(&dc);
    });
    m_canvas->Bind(wxEVT_SIZE, [this](wxSizeEvent& e) {
        e.Skip();
        if (oscview::CTenvorikView* core = Core()) {
            const wxSize size = m_canvas->GetClientSize();
            core->OnSize(size.x, size.y);
        }
        m_canvas->Refresh(false);
    });
    for (const wxEventTypeTag<wxScrollWinEvent>& t : {wxEVT_SCROLLWIN_TOP, wxEVT_SCROLLWIN_BOTTOM, wxEVT_SCROLLWIN_LINEUP, wxEVT_SCROLLWIN_LINEDOWN,
                          wxEVT_SCROLLWIN_PAGEUP, wxEVT_SCROLLWIN_PAGEDOWN, wxEVT_SCROLLWIN_THUMBTRACK,
                          wxEVT_SCROLLWIN_THUMBRELEASE})
        m_canvas->Bind(t, &CTenvorikView::OnScroll, this);
    for (const wxEventTypeTag<wxMouseEvent>& t :
         {wxEVT_LEFT_DOWN, wxEVT_RIGHT_DOWN, wxEVT_LEFT_UP, wxEVT_RIGHT_UP, wxEVT_MOTION, wxEVT_LEFT_DCLICK})
        m_canvas->Bind(t, &CTenvorikView::OnMouse, this);
    m_canvas->Bind(wxEVT_MOUSEWHEEL, &CTenvorikView::OnWheel, this);
    m_canvas->Bind(wxEVT_KEY_DOWN, &CTenvorikView::OnKey, this);
    // The focus frame comes and goes with the focus.
    for (const wxEventTypeTag<wxFocusEvent>& t : {wxEVT_SET_FOCUS, wxEVT_KILL_FOCUS})
        m_canvas->Bind(t, [this](wxFocusEvent& e) {
            e.Skip();
            m_canvas->Refresh(false);
        });
    // Commands reach the view from the ribbon through the document manager, from its own
    // context menus through its frame.
    using commands::MenuId;
    for (int id : ViewCommandIds()) {
        Bind(wxEVT_MENU, &CTenvorikView::OnCommand, this, MenuId(id));
        Bind(wxEVT_UPDATE_UI, &CTenvorikView::OnUpdateCommand, this, MenuId(id));
    }
    for (unsigned id : {oscview::ID_COMMENT_MOMENT, oscview::ID_COMMENT_LEVEL, oscview::ID_COMMENT_AREA,
                        oscview::ID_COMMENT_EDIT, oscview::ID_COMMENT_LOCK, oscview::ID_COMMENT_DELETE,
                        oscview::ID_COMMENT_HIDE, oscview::ID_COMMENT_LEVEL_EDIT}) {
        frame->Bind(wxEVT_MENU, &CTenvorikView::OnCommentCommand, this, MenuId(int(id)));
        frame->Bind(wxEVT_UPDATE_UI, &CTenvorikView::OnUpdateCommentCommand, this, MenuId(int(id)));
    }
    frame->Bind(wxEVT_MENU, &CTenvorikView::OnPrint, this, MenuId(ID_FILE_PRINT));
    frame->Bind(wxEVT_MENU, &CTenvorikView::OnPrintPreview, this, MenuId(ID_FILE_PRINT_PREVIEW));
    frame->Bind(wxEVT_MENU, &CTenvorikView::OnCopyPicture, this, MenuId(ID_EDIT_COPY_PICTURE));
    for (int id : {ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW})
        frame->Bind(wxEVT_UPDATE_UI, &CTenvorikView::OnUpdatePrintCommand, this, MenuId(id));
    frame->Bind(wxEVT_UPDATE_UI, &CTenvorikView::OnUpdateCopy, this, MenuId(ID_EDIT_COPY_PICTURE));
    frame->Bind(wxEVT_MENU, &CTenvorikView::OnPasteChannels, this, MenuId(ID_EDIT_PASTE_CHANNELS));
    frame->Bind(wxEVT_UPDATE_UI, &CTenvorikView::OnUpdatePasteChannels, this, MenuId(ID_EDIT_PASTE_CHANNELS));
    m_hoverTimer.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { ShowHoverBox(); });
    m_canvas->SetDropTarget(new ViewDropTarget(m_canvas, [this] { return Core(); }));
    m_canvas->Bind(wxEVT_LEFT_DCLICK, &CTenvorikView::OnDoubleClick, this);
    SetFrame(frame);
    frame->Show(true);
    return true;
}

oscview::CTenvorikView* CTenvorikView::Core(bool initialise) {
    auto* doc = dynamic_cast<TenvorikDocument*>(GetDocument());
    // While the loading thread fills the record, nothing of it may be read.
    if (!doc || doc->IsLoading() || !m_canvas) return nullptr;
    if (!m_core) m_core = std::make_unique<oscview::CTenvorikView>(&doc->Model(), this);
    // The geometry is read at the first paint with the record there, when the window has its
    // final size, so that a record without a stored scale opens fitted to the window.
    const wxSize size = m_canvas->GetClientSize();
    if (!m_ready && initialise && !doc->Model().GetOscillogram().m_channels.empty() && size.x > 0) {
        m_core->OnSize(size.x, size.y);
        m_core->OnInitialUpdate();
        m_ready = true;
        if (GetDocumentManager() && GetDocumentManager()->GetCurrentView() == this) m_core->OnActivateView(true);
    }
    return m_ready ? m_core.get() : nullptr;
}

void CTenvorikView::OnDraw(wxDC* dc) {
    const wxSize size = m_canvas->GetClientSize();
    oscview::CTenvorikView* core = Core(true);
    auto* paint = dynamic_cast<wxWindowDC*>(dc);
    if (!core || !paint || size.x <= 0 || size.y <= 0) {
        dc->SetBackground(*wxWHITE_BRUSH);
        dc->Clear();
        return;
    }
    // The picture is drawn off screen and copied through the window's own Cairo context.
    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(*paint));
    auto* cr = gc ? static_cast<cairo_t*>(gc->GetNativeContext()) : nullptr;
    if (!cr) return;
    CDC target;
    target.Attach(cr, size.x, size.y);
    core->OnDraw(&target, size.x, size.y);
    target.Detach();
    NoteCurvesPainted();
    if (wxWindow::FindFocus() == m_canvas) {
        // The keys go to this view: a frame in the desktop's highlight colour says so.
        const wxColour c = wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT);
        cairo_save(cr);
        cairo_reset_clip(cr);
        cairo_set_source_rgb(cr, c.Red() / 255.0, c.Green() / 255.0, c.Blue() / 255.0);
        cairo_set_line_width(cr, 2);
        cairo_rectangle(cr, 1, 1, size.x - 2, size.y - 2);
        cairo_stroke(cr);
        cairo_restore(cr);
    }
}

void CTenvorikView::OnUpdate(wxView*, wxObject*) {
    if (oscview::CTenvorikView* core = Core()) core->OnUpdate();
    if (m_canvas) m_canvas->Refresh(false);
}

void CTenvorikView::OnActivateView(bool activate, wxView* activeView, wxView* deactiveView) {
    wxView::OnActivateView(activate, activeView, deactiveView);
    if (!activate) return;
    if (oscview::CTenvorikView* core = Core()) core->OnActivateView(true);
    // The merge bar belongs to the record whose channels it merges.
    if (auto* doc = dynamic_cast<TenvorikDocument*>(GetDocument()); doc && !doc->IsLoading())
        doc->Model().ShowMergeBar(doc->Model().HasOwnTimeBaseChannel());
    // The parameter bar shows the record now active.
    if (CMainFrame* frame = GetMainFrame())
        if (CParamOscBar* bar = frame->GetParamBar()) bar->Refresh();
    // The record brought to the front (another closed, or its tab chosen) takes the keys.
    if (CMainFrame* frame = GetMainFrame()) frame->ReturnFocusToView(false);
}

bool CTenvorikView::OnClose(bool deleteWindow) {
    if (!wxView::OnClose(deleteWindow)) return false;
    // The view may close from inside the editor's own key handler (Ctrl+W).
    platform::EndInPlaceEditor(m_nameEditor);
    m_nameEditor = nullptr;
    platform::EndInPlaceEditor(m_levelEdit);
    m_levelEdit = nullptr;
    Activate(false);
    m_hoverTimer.Stop();
    m_core.reset();
    return true;
}

void CTenvorikView::SetScrollBar(bool horizontal, int64_t, int64_t max, int64_t page, int64_t pos) {
    if (!m_canvas) return;
    const int orient = horizontal ? wxHORIZONTAL : wxVERTICAL;
    const oscview::ScrollBarSetting bar = oscview::ToScrollBar(max, page, pos);
    m_canvas->SetScrollbar(orient, bar.position, bar.thumb, bar.range);
}

void CTenvorikView::Invalidate() {
    if (m_canvas) m_canvas->Refresh(false);
}

void CTenvorikView::RepaintNow() {
    if (!m_canvas) return;
    m_canvas->Refresh(false);
    m_canvas->Update();
}

void CTenvorikView::SetStatusPaneText(int pane, const CString& text) {
    if (CMainFrame* frame = GetMainFrame()) frame->SetStatusPaneText(size_t(pane), text);
}

void CTenvorikView::UpdateDiagrams() {
    if (CMainFrame* frame = GetMainFrame()) frame->UpdateDiagrams();
}

void CTenvorikView::OnScroll(wxScrollWinEvent& event) {
    oscview::CTenvorikView* core = Core();
    if (!core) return;
    const int code = ScrollCodeOf(event.GetEventType());
    if (event.GetOrientation() == wxHORIZONTAL) core->OnHScroll(code, event.GetPosition());
    else core->OnVScroll(code, event.GetPosition());
}

namespace {

// The toolkit has no stock up arrow, the pointer of a vertical measurement: drawn once, black
// with a white rim, its tip the hot spot.
const wxCursor& UpArrowCursor() {
    static const wxCursor cursor = [] {
        static const char* const rows[] = {
            "       #        ", "      #.#       ", "     #...#      ", "    #.....#     ", "   #.......#    ",
            "  #.........#   ", " #####...#####  ", "     #...#      ", "     #...#      ", "     #...#      ",
            "     #...#      ", "     #...#      ", "     #...#      ", "     #...#      ", "     #####      ",
            "                "};
        wxImage image(16, 16);
        image.SetMaskColour(0, 255, 0);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const char c = rows[y][x];
                if (c == '#') image.SetRGB(x, y, 255, 255, 255);
                else if (c == '.') image.SetRGB(x, y, 0, 0, 0);
                else image.SetRGB(x, y, 0, 255, 0);
            }
        image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_X, 7);
        image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_Y, 0);
        return wxCursor(image);
    }();
    return cursor;
}

}  // namespace

void CTenvorikView::ShowPointer(const wxPoint& p) {
    oscview::CTenvorikView* core = Core();
    if (!core || !m_canvas) return;
    wxStockCursor shape = wxCURSOR_ARROW;
    switch (core->PointerAt(p.x, p.y)) {
        case oscview::CTenvorikView::Pointer::Hand: shape = wxCURSOR_HAND; break;
        case oscview::CTenvorikView::Pointer::SizeWE: shape = wxCURSOR_SIZEWE; break;
        case oscview::CTenvorikView::Pointer::SizeNS: shape = wxCURSOR_SIZENS; break;
        case oscview::CTenvorikView::Pointer::UpArrow: shape = wxCURSOR_MAX; break;
        case oscview::CTenvorikView::Pointer::Default: break;
    }
    if (shape == m_pointer) return;
    m_pointer = shape;
    if (shape == wxCURSOR_MAX) m_canvas->SetCursor(UpArrowCursor());
    else m_canvas->SetCursor(shape == wxCURSOR_ARROW ? wxNullCursor : wxCursor(shape));
}

void CTenvorikView::OnMouse(wxMouseEvent& event) {
    event.Skip();
    oscview::CTenvorikView* core = Core();
    if (!core) return;
    const wxPoint p = event.GetPosition();
    // The pointer tells what a press would take, and keeps its shape while a drag runs.
    struct PointerAfter {
        CTenvorikView* view;
        wxPoint at;
        ~PointerAfter() {
            if (view) view->ShowPointer(at);
        }
    } pointerAfter{this, p};
    if (event.LeftDClick()) {
        core->OnDoubleClick(p.x, p.y);
    } else if (event.LeftDown() || event.RightDown()) {
        CloseLevelEdit(false);
        m_canvas->SetFocus();
        m_dragArmed = event.LeftDown();
        core->OnButtonDown(p.x, p.y, event.LeftDown(), event.ShiftDown(), event.ControlDown(), event.RightDown() || event.RightIsDown());
        m_canvas->Refresh(false);
    } else if (event.LeftUp() || event.RightUp()) {
        core->OnButtonUp();
        // A comment item's own menu, else the menu of the band or column under the mouse.
        if (event.RightUp() && !ShowCommentMenu(p)) ShowContextMenu(p);
    } else if (event.Dragging()) {
        if (m_dragArmed) {
            const std::vector<uint32_t> channels =
                core->ChannelsToDrag(p.x, event.LeftIsDown(), event.RightIsDown(), event.ControlDown());
            if (!channels.empty()) {
                m_dragArmed = false;
                pointerAfter.view = nullptr;
                // The drag runs its own loop; the view may be gone when it returns.
                DragChannels(channels);
                return;
            }
        }
        core->OnMouseMove(p.x, p.y);
        m_canvas->Update();
    } else if (event.Moving() && p.x < core->m_leftWidth) {
        m_hoverPoint = p;
        m_hoverTimer.StartOnce(400);
    } else if (event.Moving()) {
        // Over the plot the comment under the mouse becomes the one its commands act on.
        core->OnMouseMove(p.x, p.y);
    }
}

void CTenvorikView::DragChannels(const std::vector<uint32_t>& channels) {
    const std::vector<uint8_t> bytes = oscview::WriteDraggedChannels(channels);
    wxCustomDataObject data{wxDataFormat(kChannelDataFormat)};
    data.SetData(bytes.size(), bytes.data());
    wxDropSource source(data, m_canvas);
    source.DoDragDrop(wxDrag_AllowMove);
}

void CTenvorikView::CloseHoverBox() {
    if (m_hoverBox) m_hoverBox->Destroy();
    m_hoverBox = nullptr;
}

void CTenvorikView::ShowHoverBox() {
    oscview::CTenvorikView* core = Core();
    if (!core || !m_canvas) return;
    oscview::HoverBox box = core->OnMouseHover(CPoint(m_hoverPoint.x, m_hoverPoint.y));
    if (!box.show) return;
    CloseHoverBox();
    auto* edit = new wxTextCtrl(m_canvas, 101, platform::ToWx(box.text), wxPoint(box.rect.left, box.rect.top),
                                wxSize(box.rect.Width(), box.rect.Height()), wxTE_READONLY | wxBORDER_SIMPLE);
    edit->SetFont(wxFont(wxFontInfo(box.heavy ? 11 : 9).FaceName("Tahoma").Bold(box.heavy)));
    edit->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& e) {
        e.Skip();
        m_canvas->CallAfter([this] { CloseHoverBox(); });
    });
    edit->SetFocus();
    m_hoverBox = edit;
}

void CTenvorikView::OnKey(wxKeyEvent& event) {
    oscview::CTenvorikView* core = Core();
    using V = oscview::CTenvorikView;
    if (!core) return event.Skip();
    if (event.ControlDown() && !event.AltDown() && (event.GetKeyCode() == 'C' || event.GetKeyCode() == 'V')) {
        wxCommandEvent cmd(wxEVT_MENU, commands::MenuId(event.GetKeyCode() == 'C' ? ID_EDIT_COPY_PICTURE : ID_EDIT_PASTE_CHANNELS));
        if (event.GetKeyCode() == 'C') OnCopyPicture(cmd);
        else OnPasteChannels(cmd);
        return;
    }
    const int key = event.GetKeyCode();
    // Alt with the up and down arrows steps the channel selection through the captions (with
    // Shift it stretches from the anchor); the menu key or Shift+F10 opens the captions' menu
    // by the selection, for what a right click on a caption offers.
    if ((key == WXK_UP || key == WXK_DOWN) && event.AltDown() && !event.ControlDown()) {
        if (core->SelectChannelByKey(key == WXK_DOWN ? 1 : -1, event.ShiftDown())) m_canvas->Refresh(false);
        return;
    }
    if ((key == WXK_MENU && !event.HasAnyModifiers()) || (key == WXK_F10 && event.GetModifiers() == wxMOD_SHIFT)) {
        const CPoint at = core->CaptionMenuPoint();
        m_canvas->Refresh(false);
        ShowContextMenu(wxPoint(at.x, at.y));
        return;
    }
    switch (key) {
        case WXK_LEFT: core->OnArrowKey(V::kArrowLeft, event.ControlDown()); break;
        case WXK_RIGHT: core->OnArrowKey(V::kArrowRight, event.ControlDown()); break;
        case WXK_UP: core->OnArrowKey(V::kArrowUp, event.ControlDown()); break;
        case WXK_DOWN: core->OnArrowKey(V::kArrowDown, event.ControlDown()); break;
        // With Ctrl the page keys go through the records (the frame's), not the rows.
        case WXK_PAGEUP:
            if (event.HasAnyModifiers()) return event.Skip();
            core->OnVScroll(oscview::kPageUp, 0);
            break;
        case WXK_PAGEDOWN:
            if (event.HasAnyModifiers()) return event.Skip();
            core->OnVScroll(oscview::kPageDown, 0);
            break;
        default: event.Skip(); break;
    }
}

void CTenvorikView::OnCommand(wxCommandEvent& event) {
    oscview::CTenvorikView* core = Core();
    if (!core || !core->OnViewCommand(unsigned(commands::ProgramId(event.GetId())))) event.Skip();
    else if (m_canvas) m_canvas->Refresh(false);
}

void CTenvorikView::OnUpdateCommand(wxUpdateUIEvent& event) {
    oscview::CTenvorikView* core = Core();
    const unsigned id = unsigned(commands::ProgramId(event.GetId()));
    const oscview::ViewCommandState state = core ? core->GetViewCommandState(id) : oscview::ViewCommandState();
    if (!state.known) {
        event.Skip();
        return;
    }
    event.Enable(state.enabled);
    event.Check(state.checked);
}

void CTenvorikView::OnWheel(wxMouseEvent& event) {
    oscview::CTenvorikView* core = Core();
    if (!core) return event.Skip();
    const bool sideways = event.GetWheelAxis() == wxMOUSE_WHEEL_HORIZONTAL;
    // A sideways wheel turned to the right moves on in time, as SHIFT with the wheel down does.
    const int rotation = sideways ? -event.GetWheelRotation() : event.GetWheelRotation();
    const bool alt = event.AltDown() && !event.ControlDown();
    const bool ctrl = event.GetModifiers() == wxMOD_CONTROL;
    const bool shift = event.GetModifiers() == wxMOD_SHIFT;
    core->OnMouseWheel(rotation, alt, ctrl, shift, sideways);
    m_canvas->Refresh(false);
}

int CTenvorikView::ContextMenuAt(const wxPoint& p) {
    oscview::CTenvorikView* core = Core();
    if (!core) return 0;
    // The time axis band, the caption column, and over the plot the menu of the comment item
    // the mouse last moved over.
    if (p.y >= core->m_clientHeight - core->GetBottomBand()) return 560;
    if (p.x < core->m_leftWidth) return 561;
    if (p.x > core->m_leftWidth && !core->CommentMenu().empty()) return 563;
    return 0;
}

void CTenvorikView::ShowContextMenu(const wxPoint& p) {
    const int menuId = ContextMenuAt(p);
    if (!menuId || !m_canvas) return;
    wxMenu menu;
    commands::AppendMenu(menu, menuId);
    m_canvas->PopupMenu(&menu, p);
}

void CTenvorikView::OnDoubleClick(wxMouseEvent& event) {
    event.Skip();
    oscview::CTenvorikView* core = Core();
    if (!core || !m_canvas) return;
    const wxPoint p = event.GetPosition();
    CRect box;
    const int index = core->NameEditAt(p.x, p.y, &box);
    if (index < 0) return;
    CloseNameEditor(false);
    core->BeginNameEdit(index);
    const CString name = core->GetDocument()->GetOscillogram().m_channels[size_t(index)].GetName();
    m_nameEditor = new wxTextCtrl(m_canvas, 101, ToWx(name), wxPoint(box.left, box.top),
                                  wxSize(box.Width(), box.Height()), wxTE_PROCESS_ENTER | wxBORDER_SIMPLE);
    m_nameEditor->SetFont(wxFont(wxFontInfo(11).FaceName("Tahoma").Bold()));
    // Enter keeps the name, Escape the old one; a press anywhere else keeps the name typed.
    platform::BindInPlaceEditor(m_nameEditor, true, [this](const platform::InPlaceEnd& how) { CloseNameEditor(how.keep); });
    m_nameEditor->SelectAll();
    m_nameEditor->SetFocus();
}

void CTenvorikView::CloseNameEditor(bool apply) {
    if (!m_nameEditor) return;
    wxTextCtrl* editor = m_nameEditor;
    m_nameEditor = nullptr;
    const CString text = platform::FromWx(editor->GetValue());
    platform::EndInPlaceEditor(editor, m_canvas);
    if (oscview::CTenvorikView* core = Core()) core->CommitInPlaceEdit(apply, text);
    if (m_canvas) m_canvas->Refresh(false);
}

void CTenvorikView::OnUpdatePrintCommand(wxUpdateUIEvent& event) { event.Enable(Core() != nullptr); }

void CTenvorikView::OnCommentCommand(wxCommandEvent& event) {
    oscview::CTenvorikView* core = Core();
    if (!core) return;
    const unsigned id = unsigned(commands::ProgramId(event.GetId()));
    if (id == oscview::ID_COMMENT_LEVEL_EDIT) OpenLevelEdit();
    else core->OnCommentCommand(id);
}

void CTenvorikView::OnUpdateCommentCommand(wxUpdateUIEvent& event) {
    oscview::CTenvorikView* core = Core();
    const oscview::CommentCommandState s =
        core ? core->GetCommentCommandState(unsigned(commands::ProgramId(event.GetId()))) : oscview::CommentCommandState();
    event.Enable(core && s.enabled);
    if (s.checkable) event.Check(s.checked);
    if (!s.text.IsEmpty()) event.SetText(ToWx(s.text));
}

bool CTenvorikView::ShowCommentMenu(const wxPoint& p) {
    oscview::CTenvorikView* core = Core();
    if (!core || !m_canvas || p.x <= core->m_leftWidth || p.y >= core->m_clientHeight - core->GetBottomBand())
        return false;
    const std::vector<oscview::CommentMenuEntry> entries = core->CommentMenu();
    if (entries.empty()) return false;
    wxMenu menu;
    for (const oscview::CommentMenuEntry& e : entries) {
        wxMenuItem* item =
            menu.Append(commands::MenuId(int(e.id)), ToWx(e.text), wxString(), e.checkable ? wxITEM_CHECK : wxITEM_NORMAL);
        if (e.checkable) item->Check(e.checked);
    }
    // The entries act on the item the menu was opened for, whatever the mouse crosses meanwhile.
    menu.Bind(wxEVT_MENU, [this](wxCommandEvent& e) { OnCommentCommand(e); });
    m_canvas->PopupMenu(&menu, p);
    return true;
}

void CTenvorikView::OpenLevelEdit() {
    oscview::CTenvorikView* core = Core();
    oscview::LevelEditPlace place;
    if (!core || !m_canvas || !core->GetLevelEditPlace(place)) return;
    CloseLevelEdit(false);
    m_levelEdit = new wxTextCtrl(m_canvas, wxID_ANY, ToWx(place.text), wxPoint(place.x, place.y), wxSize(90, -1),
                                 wxTE_PROCESS_ENTER);
    // Enter sets the level; Escape and a press elsewhere leave it as it was.
    platform::BindInPlaceEditor(m_levelEdit, false, [this](const platform::InPlaceEnd& how) { CloseLevelEdit(how.keep); });
    m_levelEdit->SetFocus();
    m_levelEdit->SelectAll();
}

void CTenvorikView::CloseLevelEdit(bool apply) {
    if (!m_levelEdit) return;
    wxTextCtrl* edit = m_levelEdit;
    m_levelEdit = nullptr;
    if (apply)
        if (oscview::CTenvorikView* core = Core()) core->ApplyLevelEdit(platform::FromWx(edit->GetValue()));
    platform::EndInPlaceEditor(edit, m_canvas);
}

void CTenvorikView::PrintableOptions(bool available[oscview::kPrintOptionCount]) const {
    CMainFrame* frame = GetMainFrame();
    for (int i = 0; i < oscview::kPrintOptionCount; ++i)
        available[i] = i == oscview::kPrintOscillogram ||
                       (frame && DiagramOfPane(frame->GetDiagramWnd(oscview::kDiagramPageBits[i])) != nullptr);
}

void CTenvorikView::OnPrint(wxCommandEvent&) {
    oscview::CTenvorikView* core = Core();
    if (!core) return;
    bool available[oscview::kPrintOptionCount];
    PrintableOptions(available);
    CTenvorikPrintDialog options(m_canvas, core->m_printOptions, available);
    if (options.ShowModal() != wxID_OK) return;
    // The printer's own dialog chooses the printer (a PDF file among them), pages and copies.
    wxPrintDialogData data(ProgramPrintData());
    data.GetPrintData().SetOrientation(TheAppOptions().pageOrientation == 2 ? wxLANDSCAPE : wxPORTRAIT);
    wxPrinter printer(&data);
    ViewPrintout printout(*core, false);
    const bool printed = printer.Print(m_canvas, &printout, true);
    if (printed) ProgramPrintData() = printer.GetPrintDialogData().GetPrintData();
    if (!printout.Refusal().IsEmpty())
        platform::Ui().MessageBox(printout.Refusal(), CString(), MB_OK | MB_ICONEXCLAMATION);
    else if (!printed && wxPrinter::GetLastError() == wxPRINTER_ERROR)
        platform::Ui().MessageBox(LoadResString(oscview::IDS_PRINT_FAILED), CString(), MB_OK | MB_ICONERROR);
}

void CTenvorikView::OnPrintPreview(wxCommandEvent&) {
    oscview::CTenvorikView* core = Core();
    if (!core) return;
    wxPrintDialogData data(ProgramPrintData());
    data.GetPrintData().SetOrientation(TheAppOptions().pageOrientation == 2 ? wxLANDSCAPE : wxPORTRAIT);
    auto* shown = new ViewPrintout(*core, true);
    auto* preview = new wxPrintPreview(shown, new ViewPrintout(*core, false), &data);
    if (!preview->IsOk()) {
        delete preview;
        platform::Ui().MessageBox(LoadResString(oscview::IDS_PRINT_FAILED), CString(), MB_OK | MB_ICONERROR);
        return;
    }
    auto* frame = new wxPreviewFrame(preview, wxGetTopLevelParent(m_canvas), ToWx(LoadResString(oscview::IDS_PRINT_TITLE)),
                                     wxDefaultPosition, wxSize(900, 1000));
    // The preview draws through this view: it closes with the record.
    frame->InitializeWithModality(wxPreviewFrame_WindowModal);
    frame->Show(true);
    // The preview comes to the front with the keys (Escape closes it, Ctrl with the page keys
    // turns its pages), and gives them back to the record when it closes.
    frame->Raise();
    if (wxWindow* pages = preview->GetCanvas()) pages->SetFocus();
    frame->Bind(wxEVT_DESTROY, [frame](wxWindowDestroyEvent& e) {
        e.Skip();
        if (e.GetEventObject() != frame) return;
        if (CMainFrame* main = GetMainFrame(); main && !main->IsClosing() && !main->IsBeingDeleted()) {
            main->Raise();
            main->ReturnFocusToView(true);
        }
    });
}

void CTenvorikView::OnCopyPicture(wxCommandEvent&) {
    // The keys reach here as the menu does, and take the same rule.
    if (!CanCopy()) return;
    oscview::CTenvorikView* core = Core();
    // The selected channels travel in the program's private format, for a paste into another
    // record of this program or of another one running.
    std::unique_ptr<wxCustomDataObject> channels;
    if (core) {
        const std::vector<uint8_t> bytes = ClipboardBytesOf(BuildChannelClipboardText(*core->GetDocument()));
        channels = std::make_unique<wxCustomDataObject>(wxDataFormat(kChannelDataFormat));
        channels->SetData(bytes.size(), bytes.data());
    }
    // A diagram pane with the keyboard focus gives its own picture.
    for (wxWindow* w = wxWindow::FindFocus(); w; w = w->GetParent())
        if (auto* pane = dynamic_cast<DiagramPane*>(w)) {
            if (pane->Canvas()) pane->Canvas()->CopyToClipboard(channels.release());
            return;
        }
    if (!core || !m_canvas) return;
    const wxSize size = m_canvas->GetClientSize();
    const std::vector<uint8_t> png = core->RenderPicturePng(size.x, size.y);
    auto data = std::make_unique<wxDataObjectComposite>();
    if (!png.empty()) {
        wxMemoryInputStream stream(png.data(), png.size());
        wxImage image(stream, wxBITMAP_TYPE_PNG);
        if (image.IsOk()) data->Add(new wxBitmapDataObject(wxBitmap(image)), true);
    }
    data->Add(channels.release());
    wxClipboardLocker lock;
    if (!lock) return;
    wxTheClipboard->Clear();
    // The clipboard owns the data once it took it.
    if (wxTheClipboard->SetData(data.get())) data.release();
}

void CTenvorikView::OnPasteChannels(wxCommandEvent&) {
    oscview::CTenvorikView* core = Core();
    if (!core) return;
    CTenvorikDoc& doc = *core->GetDocument();
    if (doc.HasOwnTimeBaseChannel()) return;
    std::vector<uint8_t> bytes;
    {
        // Closed again before anything is shown: a message box must not hold the clipboard.
        wxClipboardLocker lock;
        if (!lock) return;
        const wxDataFormat format(kChannelDataFormat);
        wxCustomDataObject data(format);
        if (wxTheClipboard->IsSupported(format) && wxTheClipboard->GetData(data)) {
            const auto* p = static_cast<const uint8_t*>(data.GetData());
            bytes.assign(p, p + data.GetSize());
        }
    }
    CString text;
    if (!ReadClipboardText(bytes, text)) {
        // Nothing this program can paste: the paste says so and changes nothing.
        text = L"<none/>";
    }
    PasteChannelsFromXml(doc, text);
}

namespace {

// Whether the clipboard holds channels, as the desktop last answered. Asking it and waiting at
// every idle moment would hang on a slow clipboard owner, so the question is asked without
// waiting, at most twice a second, and the answer arrives as an event.
struct ClipboardChannels {
    bool present = false;
    bool asking = false;
    wxLongLong askedAt = 0;
};

ClipboardChannels& ClipboardState() {
    static ClipboardChannels state;
    return state;
}

void AskClipboardForChannels() {
    ClipboardChannels& state = ClipboardState();
    const wxLongLong now = wxGetLocalTimeMillis();
    if (!wxTheApp || !wxTheClipboard || (state.asking && now - state.askedAt < 5000) || now - state.askedAt < 500) return;
    static bool bound = false;
    if (!bound) {
        bound = true;
        wxTheApp->Bind(wxEVT_CLIPBOARD_CHANGED, [](wxClipboardEvent& e) {
            ClipboardState().present = e.SupportsFormat(wxDataFormat(kChannelDataFormat));
            ClipboardState().asking = false;
        });
    }
    state.askedAt = now;
    state.asking = wxTheClipboard->IsSupportedAsync(wxTheApp);
}

}  // namespace

bool CTenvorikView::CanCopy() {
    // A diagram pane with the keyboard focus copies its own picture.
    for (wxWindow* w = wxWindow::FindFocus(); w; w = w->GetParent())
        if (dynamic_cast<DiagramPane*>(w)) return true;
    oscview::CTenvorikView* core = Core();
    if (!core) return false;
    for (const CChannel& ch : core->GetDocument()->GetOscillogram().m_channels)
        if (ch.m_selected && !ch.IsCalculated()) return true;
    return false;
}

void CTenvorikView::OnUpdateCopy(wxUpdateUIEvent& event) { event.Enable(CanCopy()); }

void CTenvorikView::OnUpdatePasteChannels(wxUpdateUIEvent& event) {
    // One record's channels at a time, and only when there are channels to paste.
    oscview::CTenvorikView* core = Core();
    if (!core || core->GetDocument()->HasOwnTimeBaseChannel()) {
        event.Enable(false);
        return;
    }
    AskClipboardForChannels();
    event.Enable(ClipboardState().present);
}
