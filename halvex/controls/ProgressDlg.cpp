#include "halvex/controls/ProgressDlg.h"

#include <wx/app.h>
#include <wx/display.h>
#include <wx/frame.h>
#include <wx/sizer.h>

#include "platform/ui/WxUiServices.h"

namespace halvex {

using platform::ToWx;

namespace {
class GaugeBar : public ProgressBarControl {
public:
    explicit GaugeBar(wxGauge* g) : m_gauge(g) {}
    void GetRange(int& low, int& high) const override {
        low = 0;
        high = m_gauge->GetRange();
    }
    void SetRange(int, int high) override { m_gauge->SetRange(high); }
    int GetPos() const override { return m_gauge->GetValue(); }
    void SetPos(int pos) override { m_gauge->SetValue(std::clamp(pos, 0, m_gauge->GetRange())); }

private:
    wxGauge* m_gauge;
};
}  // namespace

CProgressDlg::CProgressDlg(const CString& title, wxWindow*) : m_title(title), m_modal(false) {
    Build(nullptr, wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX);
    OnInitDialog();
    Show();
}

CProgressDlg::CProgressDlg(bool, const CString& title, wxWindow* parent, long style) : m_title(title), m_modal(true) {
    Build(parent, style);
    // Bound here, so that the derived dialog's initialisation runs when the dialog starts.
    Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& e) {
        e.Skip();
        OnInitDialog();
    });
}

CProgressDlg::~CProgressDlg() = default;

void CProgressDlg::Build(wxWindow* parent, long style) {
    Create(parent, IDD_PROGRESS, wxString::FromUTF8("Plenwick..."), wxDefaultPosition,
           wxDefaultSize, style);
    m_step = new CAi_ColorStatic(this, IDC_PROGRESS_STEP_TEXT, wxString(), wxDefaultPosition, wxSize(360, -1),
                                 wxALIGN_CENTRE_HORIZONTAL | wxST_NO_AUTORESIZE);
    m_bar = new wxGauge(this, IDC_PROGRESS_BAR, 100, wxDefaultPosition, wxSize(360, 18));
    m_main = new CAi_ColorStatic(this, IDC_PROGRESS_MAIN_TEXT, wxString(), wxDefaultPosition, wxSize(360, -1),
                                 wxST_NO_AUTORESIZE);
    m_more = new CAi_ColorStatic(this, IDC_PROGRESS_MORE_TEXT, wxString(), wxDefaultPosition, wxSize(360, -1),
                                 wxST_NO_AUTORESIZE);
    m_break = new wxButton(this, IDC_PROGRESS_BREAK, wxString::FromUTF8("Прервать"));
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_step, 0, wxEXPAND | wxALL, 8);
    sizer->Add(m_bar, 0, wxEXPAND | wxLEFT | wxRIGHT, 8);
    sizer->Add(m_main, 0, wxEXPAND | wxALL, 8);
    sizer->Add(m_more, 0, wxEXPAND | wxLEFT | wxRIGHT, 8);
    sizer->Add(m_break, 0, wxALIGN_CENTRE | wxALL, 8);
    SetSizerAndFit(sizer);
    m_break->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnBnClickedCancel(); });
    Bind(wxEVT_SET_CURSOR, [this](wxSetCursorEvent& e) {
        if (!OnSetCursor_()) e.Skip();
    });
}

bool CProgressDlg::Destroy() {
    // Told here, while the derived dialog is whole; the toolkit's destroy event comes from
    // the base destructor, too late for a derived class.
    if (!m_destroyed) OnDestroy_();
    m_destroyed = true;
    return wxDialog::Destroy();
}

void CProgressDlg::OnInitDialog() {
    if (!m_title.IsEmpty()) {
        SetTitle(ToWx(m_title));
    } else if (auto* frame = wxDynamicCast(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, wxFrame)) {
        if (!frame->GetTitle().empty()) SetTitle(frame->GetTitle());
    }
}

void CProgressDlg::ModifyPosition() {
    const wxRect screen = wxDisplay(0u).GetGeometry();
    const wxSize size = GetSize();
    Move(screen.width / 2 - size.x / 2, screen.height / 2 - size.y / 2);
}

void CProgressDlg::ShowBreakButton(bool show) {
    m_break->Show(show);
    m_break->Enable(show);
}

void CProgressDlg::OnBnClickedCancel() {
    if (!OnBnClickedAbort()) return;
    if (IsModal()) EndModal(wxID_CANCEL);
    else Hide();
}

std::atomic<bool> CProgressThreadDialog::bCancelButtonPressed{false};

CProgressThreadDialog::CProgressThreadDialog(const CString& title, wxWindow* parent)
    // No system menu: the dialog ends when its worker closes it.
    : CProgressDlg(false, title, parent, wxCAPTION),
      m_alive(std::make_shared<CProgressThreadDialog*>(this)),
      m_timer(this, IDT_PROGRESS) {
    Bind(wxEVT_TIMER, &CProgressThreadDialog::OnTimer, this, IDT_PROGRESS);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& e) {
        m_timer.Stop();
        // Closing from the window asks the worker to stop; it ends the dialog itself.
        if (e.CanVeto() && !m_shared->closeRequested) {
            bCancelButtonPressed = true;
            e.Veto();
            return;
        }
        e.Skip();
    });
    // Escape does not end the dialog: its worker does.
    SetEscapeId(wxID_NONE);
}

CProgressThreadDialog::~CProgressThreadDialog() {
    m_timer.Stop();
    m_alive.reset();
}

void CProgressThreadDialog::OnInitDialog() {
    CProgressDlg::OnInitDialog();
    bool tc = false, sc = false;
    CString text, step;
    m_shared->TakeTexts(&text, &tc, &step, &sc);
    StepText()->SetLabel(ToWx(step));
    MainText()->SetLabel(ToWx(text));
    Bar()->SetRange(100);
    Bar()->SetValue(0);
    m_shared->position = 1;
    ModifyPosition();
    m_timer.Start(500);
    // A worker that finished before the window came up has already asked to close it.
    if (m_shared->closeRequested) Wake();
}

void CProgressThreadDialog::Apply() {
    CString text, step;
    bool tc = false, sc = false;
    if (m_shared->TakeTexts(&text, &tc, &step, &sc)) {
        if (sc) {
            StepText()->SetLabel(ToWx(step));
            StepText()->Update();
        }
        if (tc) {
            MainText()->SetLabel(ToWx(text));
            MainText()->Update();
        }
    }
    SetProgressPos(m_shared->position);
    if (m_shared->closeRequested && IsModal()) {
        m_timer.Stop();
        EndModal(wxID_OK);
    }
}

void CProgressThreadDialog::Wake() {
    // Queued on the application, not the dialog: the lambda finds out whether the dialog
    // still lives before it touches it.
    std::weak_ptr<CProgressThreadDialog*> alive = m_alive;
    if (wxTheApp)
        wxTheApp->CallAfter([alive] {
            if (auto p = alive.lock()) (*p)->Apply();
        });
}

void CProgressThreadDialog::OnTimer(wxTimerEvent&) { Apply(); }

void CProgressThreadDialog::SetText(const wchar_t* text) {
    m_shared->SetText(text ? CString(text) : CString());
    Wake();
}

void CProgressThreadDialog::SetStepOrderText(const wchar_t* text) {
    m_shared->SetStepOrderText(text ? CString(text) : CString());
    Wake();
}

void CProgressThreadDialog::Close() {
    m_shared->closeRequested = true;
    Wake();
}

void CProgressThreadDialog::SetProgressPos(int pos) {
    GaugeBar bar(Bar());
    SetProgressPosAtOnce(bar, pos);
}

int CProgressThreadDialog::GetProgressPos() const { return Bar()->GetValue(); }

bool CProgressThreadDialog::OnBnClickedAbort() {
    bCancelButtonPressed = true;
    return false;
}

}  // namespace halvex
