#include "app/CaptionBars.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/dcbuffer.h>
#include <wx/dcclient.h>
#include <wx/docview.h>
#include <wx/settings.h>

#include "app/CaptionBarLogic.h"
#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "app/TenvorikDocument.h"
#include "document/ChannelClipboard.h"
#include "document/TenvorikDoc.h"
#include "model/Resources.h"
#include "platform/ui/WxUiServices.h"

using platform::FromWx;
using platform::ToWx;

namespace {

// The bars' common picture (the framework's message-bar image).
const wxBitmap& BarImage() {
    static wxBitmap bmp = wxArtProvider::GetBitmap(wxART_INFORMATION, wxART_OTHER, wxSize(16, 16));
    return bmp;
}

// A light bar with dark text, whatever the theme gives its tool tips.
wxColour BarBackground() { return wxColour(246, 246, 238); }
wxColour BarText() { return wxColour(30, 30, 30); }

// A command sent to the main frame as the ribbon sends it.
void SendCommand(int id, bool keysToView = true) {
    if (CMainFrame* frame = GetMainFrame()) {
        wxCommandEvent cmd(wxEVT_MENU, commands::MenuId(id));
        cmd.SetEventObject(frame);
        frame->GetEventHandler()->AddPendingEvent(cmd);
        // A button clicked keeps no keys: they go back to the record after the command.
        if (keysToView) frame->ReturnFocusToView(false);
    }
}

}  // namespace

CTenvorikDoc* ActiveRecordDoc() {
    CMainFrame* frame = GetMainFrame();
    if (!frame || !frame->GetDocumentManager()) return nullptr;
    auto* doc = dynamic_cast<TenvorikDocument*>(frame->GetDocumentManager()->GetCurrentDocument());
    if (!doc || doc->IsLoading()) return nullptr;
    return &doc->Model();
}

// ---- result bar ------------------------------------------------------------------------------

CMsgCaptionBar::CMsgCaptionBar(wxWindow* parent)
    : wxPanel(parent, IDC_RESULT_BAR, wxDefaultPosition, wxSize(-1, 34), wxTAB_TRAVERSAL | wxCLIP_SIBLINGS | wxFULL_REPAINT_ON_RESIZE,
              wxS("resultbar")),
      m_text(LoadResString(3023)) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    // Window ids stop below 32767: the button sends its command through the frame instead.
    m_save = new wxButton(this, wxID_ANY, ToWx(LoadResString(3473)));
    m_save->SetToolTip(ToWx(LoadResString(3472)));
    m_close = new wxButton(this, wxID_CLOSE, wxS("\u00D7"), wxDefaultPosition, wxSize(26, -1), wxBU_EXACTFIT | wxBORDER_NONE);
    m_save->Bind(wxEVT_BUTTON, [](wxCommandEvent&) { SendCommand(ID_FAULT_REPORT); });
    m_close->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        if (CMainFrame* frame = GetMainFrame()) frame->ShowCaptionBar(this, false);
        SendCommand(m_notifyCommand);
    });
    SetMinSize(wxSize(-1, std::max(34, m_save->GetBestSize().y + 8)));
    Bind(wxEVT_PAINT, &CMsgCaptionBar::OnPaint, this);
    Bind(wxEVT_SIZE, &CMsgCaptionBar::OnSize, this);
}

void CMsgCaptionBar::SetText(const CString& text) {
    m_text = text;
    Refresh();
    Update();
}

void CMsgCaptionBar::Place() {
    const wxSize size = GetClientSize();
    const wxSize close = m_close->GetBestSize();
    const wxSize save = m_save->GetBestSize();
    m_close->SetSize(size.x - close.x - 4, (size.y - close.y) / 2, close.x, close.y);
    m_save->SetSize(size.x - close.x - save.x - 12, (size.y - save.y) / 2, save.x, save.y);
}

void CMsgCaptionBar::OnSize(wxSizeEvent& e) {
    Place();
    Refresh();
    e.Skip();
}

void CMsgCaptionBar::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    const wxSize size = GetClientSize();
    dc.SetBackground(wxBrush(BarBackground()));
    dc.Clear();
    dc.DrawBitmap(BarImage(), 6, (size.y - 16) / 2, true);
    dc.SetFont(GetFont());
    dc.SetTextForeground(BarText());
    const wxString text = ToWx(m_text);
    const int right = m_save->GetPosition().x - 8;
    dc.SetClippingRegion(28, 0, std::max(0, right - 28), size.y);
    dc.DrawText(text, 28, (size.y - dc.GetTextExtent(text).y) / 2);
    dc.DestroyClippingRegion();
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW)));
    dc.DrawLine(0, size.y - 1, size.x, size.y - 1);
}

// ---- merge bar -------------------------------------------------------------------------------

CMergeBar::CMergeBar(wxWindow* parent)
    : wxPanel(parent, IDC_MERGE_BAR, wxDefaultPosition, wxSize(-1, 70), wxTAB_TRAVERSAL | wxCLIP_SIBLINGS,
              wxS("mergebar")) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    const wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    SetFont(font);
    auto combo = [&](int id) {
        auto* c = new wxChoice(this, id);
        c->SetFont(font);
        return c;
    };
    m_mode = combo(IDC_MERGE_MODE);
    m_host = combo(IDC_MERGE_HOST);
    m_pasted = combo(IDC_MERGE_PASTED);
    m_sync = new wxButton(this, IDC_MERGE_SYNC, ToWx(LoadResString(3455)));
    m_combine = new wxButton(this, IDC_MERGE_COMBINE, ToWx(LoadResString(3319)));
    m_sync->SetFont(font);
    m_combine->SetFont(font);
    for (unsigned id : {242u, 3376u, 3377u}) m_mode->Append(ToWx(LoadResString(id)));
    m_mode->SetSelection(0);
    EnableChannelCombos();
    // The buttons' commands go to the document, which merges the pasted channels. Pressed
    // from the keyboard, "Синхронизация" keeps the keys on the bar for the next step.
    for (wxButton* b : {m_sync, m_combine}) {
        b->Bind(wxEVT_KEY_DOWN, [this](wxKeyEvent& e) {
            const int key = e.GetKeyCode();
            if (key == WXK_SPACE || key == WXK_RETURN || key == WXK_NUMPAD_ENTER) m_keyPress = true;
            e.Skip();
        });
        b->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& e) {
            m_keyPress = false;
            e.Skip();
        });
    }
    m_sync->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        SendCommand(IDC_MERGE_SYNC, !m_keyPress);
        m_keyPress = false;
    });
    m_combine->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        m_keyPress = false;
        SendCommand(IDC_MERGE_COMBINE);
    });
    m_mode->Bind(wxEVT_CHOICE, &CMergeBar::OnModeChanged, this);
    m_close = new wxButton(this, wxID_CLOSE, wxS("\u00D7"), wxDefaultPosition, wxSize(26, -1), wxBU_EXACTFIT | wxBORDER_NONE);
    m_close->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Close(); });
    Bind(wxEVT_PAINT, &CMergeBar::OnPaint, this);
    Bind(wxEVT_SIZE, &CMergeBar::OnSize, this);
    Relayout();
}

captionbar::MergeBarLayout CMergeBar::ComputeLayout() const {
    captionbar::MergeBarSizes s;
    wxClientDC dc(const_cast<CMergeBar*>(this));
    dc.SetFont(GetFont());
    s.syncLabel = dc.GetTextExtent(ToWx(LoadResString(3455))).x;
    s.channel1Label = dc.GetTextExtent(ToWx(LoadResString(3227))).x;
    s.channel2Label = dc.GetTextExtent(ToWx(LoadResString(3229))).x;
    s.textHeight = dc.GetTextExtent(wxS("Ay")).y;
    auto best = [](wxWindow* w) {
        const wxSize b = w->GetBestSize();
        return captionbar::Size{b.x, b.y};
    };
    s.mode = best(m_mode);
    s.host = best(m_host);
    s.pasted = best(m_pasted);
    s.sync = best(m_sync);
    s.combine = best(m_combine);
    s.close = best(m_close);
    return captionbar::LayoutMergeBar(GetClientSize().x, s);
}

void CMergeBar::Relayout() {
    // A list's best size follows its entries.
    for (wxWindow* w : {static_cast<wxWindow*>(m_mode), static_cast<wxWindow*>(m_host), static_cast<wxWindow*>(m_pasted)})
        w->InvalidateBestSize();
    m_layout = ComputeLayout();
    auto put = [](wxWindow* w, const captionbar::Rect& r) { w->SetSize(r.left, r.top, r.right - r.left, r.bottom - r.top); };
    put(m_mode, m_layout.mode);
    put(m_host, m_layout.host);
    put(m_pasted, m_layout.pasted);
    put(m_sync, m_layout.sync);
    put(m_combine, m_layout.combine);
    put(m_close, m_layout.close);
    // The bar is as tall as its row and its message need; the frame is told when that changes.
    if (GetMinSize().y != m_layout.height) {
        SetMinSize(wxSize(-1, m_layout.height));
        if (CMainFrame* frame = GetMainFrame()) frame->CaptionBarHeightChanged(this);
    }
    Refresh();
}

std::vector<std::pair<wxString, wxRect>> CMergeBar::TextPlaces() const {
    auto rect = [](const captionbar::Rect& r) { return wxRect(r.left, r.top, r.right - r.left, r.bottom - r.top); };
    std::vector<std::pair<wxString, wxRect>> out = {{ToWx(LoadResString(3455)), rect(m_layout.syncLabel)},
                                                    {ToWx(LoadResString(3227)), rect(m_layout.channel1Label)},
                                                    {ToWx(LoadResString(3229)), rect(m_layout.channel2Label)}};
    if (!m_text.IsEmpty()) {
        wxClientDC dc(const_cast<CMergeBar*>(this));
        dc.SetFont(GetFont());
        const wxSize extent = dc.GetTextExtent(ToWx(m_text));
        out.push_back({ToWx(m_text), wxRect(m_layout.message.left, m_layout.message.top, extent.x, extent.y)});
    }
    return out;
}

void CMergeBar::EnableChannelCombos() {
    const bool on = captionbar::MergeChannelListsEnabled(m_mode->GetSelection());
    m_host->Enable(on);
    m_pasted->Enable(on);
}

void CMergeBar::OnModeChanged(wxCommandEvent&) { EnableChannelCombos(); }

void CMergeBar::FillChannelCombos(const CTenvorikDoc* doc) {
    m_host->Clear();
    m_pasted->Clear();
    if (doc) {
        const auto lists = captionbar::ListMergeChannels(doc->m_oscillogram);
        for (const CString& n : lists.host) m_host->Append(ToWx(n));
        for (const CString& n : lists.pasted) m_pasted->Append(ToWx(n));
        if (!m_host->IsEmpty()) m_host->SetSelection(0);
        if (!m_pasted->IsEmpty()) m_pasted->SetSelection(0);
    }
    Relayout();
}

CString CMergeBar::GetHostChannelName() const { return FromWx(m_host->GetStringSelection()); }
CString CMergeBar::GetPastedChannelName() const { return FromWx(m_pasted->GetStringSelection()); }
int CMergeBar::GetMergeMode() const { return m_mode->GetSelection(); }

void CMergeBar::ShowMessage(const CString& text) {
    m_text = text;
    Refresh();
    Update();
}

void CMergeBar::Close() {
    if (CMainFrame* frame = GetMainFrame()) {
        frame->ShowCaptionBar(this, false);
        frame->ReturnFocusToView(false);
    }
    // The pasted channels themselves are taken out, not whatever the last undo step was.
    if (CTenvorikDoc* doc = ActiveRecordDoc()) RemovePastedChannels(*doc);
}

void CMergeBar::OnSize(wxSizeEvent& e) {
    Relayout();
    e.Skip();
}

void CMergeBar::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    const wxSize size = GetClientSize();
    dc.SetBackground(wxBrush(BarBackground()));
    dc.Clear();
    dc.SetFont(GetFont());
    dc.SetTextForeground(BarText());
    for (const auto& [text, r] : TextPlaces()) dc.DrawText(text, r.x, r.y);
    dc.DrawBitmap(BarImage(), size.x - 22, size.y - 22, true);
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW)));
    dc.DrawLine(0, size.y - 1, size.x, size.y - 1);
}

// ---- parameter bar ---------------------------------------------------------------------------

CParamOscBar::CParamOscBar(wxWindow* parent)
    : wxPanel(parent, IDC_PARAM_BAR, wxDefaultPosition, wxSize(-1, 75), wxCLIP_SIBLINGS | wxFULL_REPAINT_ON_RESIZE,
              wxS("parambar")) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetMinSize(wxSize(-1, 75));
    Bind(wxEVT_PAINT, &CParamOscBar::OnPaint, this);
}

namespace {

struct ParamValues {
    CString station, recorder, start, trigger, duration;
};

bool ActiveValues(ParamValues& v) {
    const CTenvorikDoc* doc = ActiveRecordDoc();
    if (!doc) return false;
    v = {doc->GetStationName(), doc->GetRecorderId(), doc->GetRecordStartText(false), doc->GetRecordStartText(true),
         doc->GetDurationText()};
    return true;
}

}  // namespace

CString CParamOscBar::GetText() const {
    CString text;
    ParamValues v;
    const bool have = ActiveValues(v);
    const unsigned labels[5] = {151, 152, 149, 153, 150};
    const CString* values[5] = {&v.station, &v.recorder, &v.start, &v.trigger, &v.duration};
    for (int i = 0; i < 5; ++i) {
        if (i) text += L" | ";
        text += LoadResString(labels[i]);
        if (have) text += *values[i];
    }
    return text;
}

void CParamOscBar::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    dc.SetBackground(wxBrush(BarBackground()));
    dc.Clear();
    dc.SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
    dc.SetTextForeground(BarText());
    const wxSize w1Size = dc.GetTextExtent(ToWx(LoadResString(152)));
    const int w3 = dc.GetTextExtent(ToWx(LoadResString(153))).x;
    const auto rects = captionbar::ParamBarRects(w1Size.x, w3, w1Size.y);
    auto rect = [&](int i) {
        const auto& r = rects[size_t(i)];
        return wxRect(wxPoint(r.left, r.top), wxPoint(r.right - 1, r.bottom - 1));
    };
    using namespace captionbar;
    const unsigned labels[5] = {151, 152, 149, 153, 150};
    for (int i = 0; i < 5; ++i)
        dc.DrawLabel(ToWx(LoadResString(labels[i])), rect(StationLabel + i), wxALIGN_RIGHT | wxALIGN_CENTER_VERTICAL);
    ParamValues v;
    if (!ActiveValues(v)) return;
    const CString* values[5] = {&v.station, &v.recorder, &v.start, &v.trigger, &v.duration};
    for (int i = 0; i < 5; ++i) {
        const wxRect r = rect(Station + i);
        wxString text = ToWx(*values[i]);
        // The station's name is cut with an ellipsis when it is too long.
        if (i == 0) text = wxControl::Ellipsize(text, dc, wxELLIPSIZE_END, r.width);
        dc.SetClippingRegion(r);
        dc.DrawLabel(text, r, wxALIGN_LEFT | wxALIGN_CENTER_VERTICAL);
        dc.DestroyClippingRegion();
    }
}
