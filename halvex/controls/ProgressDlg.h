#pragma once
// The progress dialogs: CProgressDlg, a centred dialog with a bar, three colour statics and a
// break button that its owner drives; CProgressThreadDialog, run modally while a worker
// thread feeds it. Whatever the worker calls is safe from any thread: numbers and flags are
// atomic, texts are handed over under a lock, and the window is only touched on the
// user-interface thread (its 500 ms timer, or work queued to the event loop).
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/gauge.h>
#include <wx/timer.h>

#include <atomic>
#include <memory>

#include "halvex/controls/Ai_Static.h"
#include "halvex/controls/model/ProgressLogic.h"

namespace halvex {

enum : int { IDD_PROGRESS = 7224, IDC_PROGRESS_BREAK = 2, IDC_PROGRESS_STEP_TEXT = 7750, IDC_PROGRESS_BAR = 7751,
             IDC_PROGRESS_MAIN_TEXT = 7752, IDC_PROGRESS_MORE_TEXT = 7756, IDT_PROGRESS = 9 };

class CProgressDlg : public wxDialog {
public:
    // A modeless dialog, created at once without a parent window (the parent is not used).
    CProgressDlg(const CString& title, wxWindow* parent);
    // Prepared for modal use over `parent` (ShowModal runs it).
    CProgressDlg(bool modal, const CString& title, wxWindow* parent, long style = wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX);
    ~CProgressDlg() override;

    bool Destroy() override;
    void ModifyPosition();
    void ShowBreakButton(bool show);
    wxGauge* Bar() const { return m_bar; }
    CAi_ColorStatic* StepText() const { return m_step; }
    CAi_ColorStatic* MainText() const { return m_main; }
    CAi_ColorStatic* MoreText() const { return m_more; }
    wxButton* BreakButton() const { return m_break; }
    // The break button's press.
    void OnBnClickedCancel();

protected:
    virtual void OnDestroy_() {}
    virtual bool OnSetCursor_() { return false; }
    // Whether the break ends the dialog; a plain dialog's break does nothing.
    virtual bool OnBnClickedAbort() { return false; }
    virtual void OnInitDialog();
    CString m_title;

private:
    void Build(wxWindow* parent, long style);
    wxGauge* m_bar = nullptr;
    CAi_ColorStatic* m_step = nullptr;
    CAi_ColorStatic* m_more = nullptr;
    CAi_ColorStatic* m_main = nullptr;
    wxButton* m_break = nullptr;
    bool m_modal;
    bool m_destroyed = false;
};

class CProgressThreadDialog : public CProgressDlg {
public:
    CProgressThreadDialog(const CString& title, wxWindow* parent);
    ~CProgressThreadDialog() override;

    // Set by the break button; the worker polls it. Shared by all thread dialogs.
    static std::atomic<bool> bCancelButtonPressed;

    // --- for the worker (any thread) ---
    void SetPosition(int pos) { m_shared->position = pos; }
    void SetText(const wchar_t* text);
    void SetStepOrderText(const wchar_t* text);
    // Ends the dialog (IDOK) once the event loop gets to it; never waits for it.
    void Close();

    // --- on the user-interface thread ---
    void SetProgressPos(int pos);
    int GetProgressPos() const;
    int Position() const { return m_shared->position; }

protected:
    bool OnBnClickedAbort() override;
    void OnInitDialog() override;

private:
    void OnTimer(wxTimerEvent&);
    void Apply();
    void Wake();
    std::shared_ptr<ProgressShared> m_shared = std::make_shared<ProgressShared>();
    // Work queued to the event loop checks that the dialog still lives.
    std::shared_ptr<CProgressThreadDialog*> m_alive;
    wxTimer m_timer;
};

}  // namespace halvex
