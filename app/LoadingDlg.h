#pragma once
#include <wx/dialog.h>
#include <wx/timer.h>

#include "app/LoadingDlgLogic.h"

class wxGauge;

// The modal dialog shown while a large record loads: a progress bar moved twice a second
// from the shared counters, and a cancel button. It ends when the worker finishes, or on
// cancel, which also tells the worker to stop.
class LoadingDlg : public wxDialog {
public:
    LoadingDlg(wxWindow* parent, platform::LoadProgress& progress);
    ~LoadingDlg() override;

    // Runs the dialog; false when the user cancelled.
    bool Run();

private:
    void Apply(LoadingDlgLogic::Action action);
    void OnTimer(wxTimerEvent&);
    void OnCancel(wxCommandEvent&);
    void OnCloseWindow(wxCloseEvent&);

    platform::LoadProgress& m_progress;
    LoadingDlgLogic m_logic;
    wxGauge* m_gauge = nullptr;
    wxTimer m_timer;
};
