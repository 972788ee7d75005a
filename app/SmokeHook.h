#pragma once
#include <functional>
#include <string>

class wxFrame;

// When TENVORIK_SMOKE names a file, the program writes what a user would see (window
// title, status-bar texts, the modal dialogs it met) to it once the main window is up and
// idle, saves a picture of the window to TENVORIK_SMOKE_SHOT when that is set, and closes the
// main window. It looks after TENVORIK_SMOKE_DELAY milliseconds (1500 when unset); before
// that it runs the commands listed in TENVORIK_SMOKE_COMMANDS (ids separated by commas) one
// by one as the ribbon runs them; a file dialog met on the way is given the name in
// TENVORIK_SMOKE_FILE and confirmed. The report names the caption bars on show with their
// texts, the circle diagram's block grid and the records' tabs.
// The smoke tests drive the real program through it.
void ArmSmokeHook(wxFrame* frame);

// A modal dialog that a smoke run drives as a user would instead of cancelling it: SmokeStep
// is called at each look while the dialog is up and answers true once the dialog has ended.
class SmokeDrivenDialog {
public:
    virtual ~SmokeDrivenDialog() = default;
    virtual bool SmokeStep() = 0;
    // What the dialog shows that a run notes beside its title ("|from=...", empty for nothing).
    virtual std::string SmokeNote() const { return {}; }
};

// Runs `prepare` just before the look is taken, as a user's last steps before it would be.
void SetSmokePreparation(std::function<void()> prepare);

// Called by a record's view each time it has painted the record's curves. When
// TENVORIK_SMOKE_PAINTED is set, the first call writes "curves painted <ns>" to the standard
// error, the time on the monotonic clock that other processes of the machine read too, and
// closes the main window: the start-up benchmark measures a start to the first curves by it.
void NoteCurvesPainted();
