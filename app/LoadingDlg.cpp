#include "app/LoadingDlg.h"

#include <wx/button.h>
#include <wx/gauge.h>
#include <wx/sizer.h>

#include "model/Resources.h"
#include "platform/ui/WxUiServices.h"

namespace {
constexpr int kProgressId = 1095;
constexpr int kTimerPeriodMs = 500;
}  // namespace

LoadingDlg::LoadingDlg(wxWindow* parent, platform::LoadProgress& progress)
    : wxDialog(parent, wxID_ANY, platform::ToWx(LoadResString(62000))), m_progress(progress), m_logic(progress),
      m_timer(this) {
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    m_gauge = new wxGauge(this, kProgressId, 100, wxDefaultPosition, wxSize(360, -1));
    sizer->Add(m_gauge, 0, wxEXPAND | wxALL, 12);
    sizer->Add(new wxButton(this, wxID_CANCEL, platform::ToWx(LoadResString(62001))), 0,
               wxALIGN_CENTER_HORIZONTAL | wxLEFT | wxRIGHT | wxBOTTOM, 12);
    SetSizerAndFit(sizer);
    CentreOnParent();
    Bind(wxEVT_TIMER, &LoadingDlg::OnTimer, this);
    Bind(wxEVT_BUTTON, &LoadingDlg::OnCancel, this, wxID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, &LoadingDlg::OnCloseWindow, this);
    // The worker's end arrives on its own thread; it is queued to this window, whose pending
    // events die with it, and the listener is removed before the window goes.
    m_progress.SetFinishListener([this] { CallAfter([this] { Apply(m_logic.OnWorkerFinished()); }); });
}

LoadingDlg::~LoadingDlg() {
    m_progress.SetFinishListener({});
    m_timer.Stop();
}

bool LoadingDlg::Run() {
    // Runs once the modal loop has started, so a worker that has already finished ends the
    // dialog at once instead of leaving it up.
    CallAfter([this] { Apply(m_logic.OnShown()); });
    ShowModal();
    m_timer.Stop();
    return !m_logic.WasCancelled();
}

void LoadingDlg::Apply(LoadingDlgLogic::Action action) {
    switch (action) {
        case LoadingDlgLogic::Action::StartTimer:
            m_timer.Start(kTimerPeriodMs);
            break;
        case LoadingDlgLogic::Action::Close:
            m_timer.Stop();
            if (IsModal()) EndModal(m_logic.WasCancelled() ? wxID_CANCEL : wxID_OK);
            break;
        case LoadingDlgLogic::Action::None:
            break;
    }
}

void LoadingDlg::OnTimer(wxTimerEvent&) { m_gauge->SetValue(m_logic.Position()); }

void LoadingDlg::OnCancel(wxCommandEvent&) { Apply(m_logic.OnCancel()); }

void LoadingDlg::OnCloseWindow(wxCloseEvent&) { Apply(m_logic.OnCancel()); }
