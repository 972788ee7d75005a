#include "diagrams/ui/DiagramCanvas.h"

#include <memory>

#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/dcclient.h>
#include <wx/dnd.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/mstream.h>
#include <wx/settings.h>
#include <wx/weakref.h>

#include <cairo.h>

#include "app/CommandTable.h"
#include "diagrams/ChannelDrop.h"
#include "platform/UiServices.h"
#include "platform/ui/WxUiServices.h"

namespace {

// Channels dragged from the oscillogram view: answered with "move" everywhere; the data is
// looked at only when dropped.
class ChannelDropTarget : public wxDropTarget {
public:
    ChannelDropTarget(DiagramCanvas& canvas, uint32_t kind)
        : m_canvas(canvas), m_kind(kind), m_data(new wxCustomDataObject(wxDataFormat(kChannelDataFormat))) {
        SetDataObject(m_data);
    }
    wxDragResult OnEnter(wxCoord x, wxCoord y, wxDragResult def) override { return OnDragOver(x, y, def); }
    wxDragResult OnDragOver(wxCoord, wxCoord, wxDragResult) override { return wxDragMove; }
    wxDragResult OnData(wxCoord, wxCoord, wxDragResult def) override {
        CTenvorikDoc* doc = m_canvas.Diagram().GetActiveDocument();
        if (!doc || !GetData()) return wxDragNone;
        const auto* bytes = static_cast<const uint8_t*>(m_data->GetData());
        const std::set<uint32_t> channels = ReadDroppedChannels(bytes, m_data->GetSize());
        for (unsigned id : DiagramDropCommands(*doc, m_kind, channels))
            if (m_canvas.onCommand) m_canvas.onCommand(id);
        // Channels the diagram does not take are named with the reason, once the drag is over.
        const CString refusal = DiagramDropRefusal(*doc, m_kind, channels);
        if (!refusal.IsEmpty())
            m_canvas.CallAfter([refusal] { platform::Ui().MessageBox(refusal, CString(), MB_OK | MB_ICONINFORMATION); });
        return def;
    }

private:
    DiagramCanvas& m_canvas;
    uint32_t m_kind;
    wxCustomDataObject* m_data;  // owned by the drop target
};

class CmdUIFromWx : public CCmdUI {
public:
    explicit CmdUIFromWx(unsigned id) : CCmdUI(id) {}
};

}  // namespace

void FillMenu(wxMenu& menu, const std::vector<DiagramMenuItem>& items, const std::function<void(CCmdUI&)>& update) {
    for (const DiagramMenuItem& item : items) {
        if (!item.items.empty()) {
            auto* sub = new wxMenu;
            FillMenu(*sub, item.items, update);
            menu.AppendSubMenu(sub, platform::ToWx(item.text));
        } else if (item.id == 0) {
            menu.AppendSeparator();
        } else {
            // Channel items carry a check, reference items a radio mark; both are set by the
            // update answer, so they are made checkable here. A command whose answer marks
            // nothing ("reload the libraries", "create") is a plain item, not a box.
            bool checkable = true;
            if (update) {
                CmdUIFromWx probe(item.id);
                update(probe);
                checkable = probe.m_checkSet || probe.m_radioSet;
            }
            if (checkable)
                menu.AppendCheckItem(commands::MenuId(int(item.id)), platform::ToWx(item.text));
            else
                menu.Append(commands::MenuId(int(item.id)), platform::ToWx(item.text));
        }
    }
}

void ApplyCmdUI(CCmdUI& ui, wxUpdateUIEvent& e) {
    if (ui.m_enableSet) e.Enable(ui.m_enabled);
    if (ui.m_checkSet) e.Check(ui.m_check != 0);
    if (ui.m_radioSet) e.Check(ui.m_radio);
}

DiagramCanvas::DiagramCanvas(wxWindow* parent, wxWindowID id, DiagramWnd& diagram, uint32_t dropKind)
    : wxWindow(parent, id, wxDefaultPosition, wxDefaultSize, wxBORDER_SIMPLE | wxFULL_REPAINT_ON_RESIZE),
      m_diagram(diagram) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    m_diagram.SetInvalidate([this] { Refresh(false); });
    Bind(wxEVT_PAINT, &DiagramCanvas::OnPaint, this);
    // The focus frame comes and goes with the focus.
    for (const wxEventTypeTag<wxFocusEvent>& t : {wxEVT_SET_FOCUS, wxEVT_KILL_FOCUS}) {
        auto repaint = [this](wxFocusEvent& e) {
            e.Skip();
            Refresh(false);
        };
        Bind(t, repaint);
        // A click in the diagram gives the pane the focus: its frame shows it too.
        wxWeakRef<wxWindow> self(this);
        parent->Bind(t, [self](wxFocusEvent& e) {
            e.Skip();
            if (self) self->Refresh(false);
        });
    }
    Bind(wxEVT_SIZE, &DiagramCanvas::OnSize, this);
    Bind(wxEVT_RIGHT_UP, &DiagramCanvas::OnRightUp, this);
    Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& e) {
        GetParent()->SetFocus();
        e.Skip();
    });
    // The wheel stops here: nothing of the diagram scrolls, and passing it on would only
    // bring it back.
    Bind(wxEVT_MOUSEWHEEL, [](wxMouseEvent&) {});
    Bind(wxEVT_MENU, &DiagramCanvas::OnMenu, this);
    Bind(wxEVT_UPDATE_UI, &DiagramCanvas::OnUpdateMenu, this);
    if (dropKind) SetDropTarget(new ChannelDropTarget(*this, dropKind));
}

void DiagramCanvas::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    const wxSize size = GetClientSize();
    CDC* mem = m_diagram.Paint(CSize(size.x, size.y));
    auto* cr = static_cast<cairo_t*>(dc.GetImpl()->GetCairoContext());
    CBitmap* bmp = &m_diagram.GetBitmap();
    if (!cr || !mem || !bmp->Surface()) return;
    cairo_surface_flush(bmp->Surface());
    cairo_save(cr);
    cairo_set_source_surface(cr, bmp->Surface(), 0, 0);
    cairo_rectangle(cr, 0, 0, size.x, size.y);
    cairo_fill(cr);
    const wxWindow* focus = FindFocus();
    if (focus && (focus == this || focus == GetParent())) {
        // The keys are this pane's: a frame in the desktop's highlight colour says so.
        const wxColour c = wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT);
        cairo_set_source_rgb(cr, c.Red() / 255.0, c.Green() / 255.0, c.Blue() / 255.0);
        cairo_set_line_width(cr, 2);
        cairo_rectangle(cr, 1, 1, size.x - 2, size.y - 2);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

void DiagramCanvas::OnSize(wxSizeEvent& e) {
    const wxSize size = GetClientSize();
    m_diagram.SetClientSize(CSize(size.x, size.y));
    Refresh(false);
    e.Skip();
}

void DiagramCanvas::OnRightUp(wxMouseEvent& e) {
    if (!contextMenu) return;
    const std::vector<DiagramMenuItem> items = contextMenu();
    if (!items.empty()) ShowMenu(items, e.GetPosition());
}

void DiagramCanvas::ShowMenu(const std::vector<DiagramMenuItem>& items, const wxPoint& at) {
    wxMenu menu;
    FillMenu(menu, items, onUpdateCommand);
    PopupMenu(&menu, at);
}

void DiagramCanvas::OnMenu(wxCommandEvent& e) {
    if (wxWindow::GetId() == e.GetId() || !onCommand || !onCommand(unsigned(commands::ProgramId(e.GetId())))) e.Skip();
}

void DiagramCanvas::OnUpdateMenu(wxUpdateUIEvent& e) {
    if (!onUpdateCommand) return e.Skip();
    CmdUIFromWx ui(unsigned(commands::ProgramId(e.GetId())));
    onUpdateCommand(ui);
    ApplyCmdUI(ui, e);
}

bool DiagramCanvas::CopyToClipboard(wxDataObjectSimple* extra) {
    std::unique_ptr<wxDataObjectSimple> extraOwned(extra);
    DiagramPicture picture;
    const wxSize size = GetClientSize();
    m_diagram.SetClientSize(CSize(size.x, size.y));
    if (!m_diagram.CopyToClipboard(picture)) return false;
    wxMemoryInputStream stream(picture.png.data(), picture.png.size());
    wxImage image(stream, wxBITMAP_TYPE_PNG);
    auto* both = new wxDataObjectComposite;
    auto* svg = new wxCustomDataObject(wxDataFormat(wxS("image/svg+xml")));
    svg->SetData(picture.svg.size(), picture.svg.data());
    both->Add(svg);
    if (image.IsOk()) both->Add(new wxBitmapDataObject(wxBitmap(image)), true);
    if (extraOwned) both->Add(extraOwned.release());
    wxClipboardLocker lock;
    if (!lock) {
        delete both;
        return false;
    }
    wxTheClipboard->Clear();
    // On success the clipboard owns the picture; it is freed here only when it was refused.
    if (!wxTheClipboard->SetData(both)) {
        delete both;
        return false;
    }
    return true;
}
