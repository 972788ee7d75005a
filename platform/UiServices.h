#pragma once
// What code below the windows asks of the user interface. The program installs the
// wxWidgets implementation at start-up; tests install a recording fake; with none
// installed, messages go to standard error and questions get their default answer.
#include <functional>
#include <memory>

#include "platform/CString.h"
#include "platform/Exception.h"
#include "platform/LoadProgress.h"
#include "platform/WinTypes.h"

namespace platform {

// A modeless progress window, such as the one shown while a record is converted.
class ProgressWindow {
public:
    virtual ~ProgressWindow() = default;
    // Moves the bar to `position` (0..100) at once.
    virtual void StepTo(int position) = 0;
    virtual void SetVisible(bool visible) = 0;
};

class UiServices {
public:
    virtual ~UiServices() = default;
    // A message box; `type` holds MB_ buttons and icon; returns IDOK, IDCANCEL, IDYES, ...
    virtual int MessageBox(const CString& text, const CString& caption, unsigned type) = 0;
    // Shows the exception's message on the user-interface thread and deletes it. Callable
    // from any thread; takes ownership.
    virtual void PostException(CException* e) = 0;
    // Runs `fn` on the user-interface thread (now, when called there).
    virtual void RunOnUiThread(std::function<void()> fn) = 0;
    // Called on the user-interface thread while a worker loads a large record: shows the modal
    // loading dialog over `progress` until the worker calls progress.Finish() or the user
    // cancels (which sets progress.cancel to 1). Returns false when the user cancelled. The
    // caller still waits for its worker afterwards. Without a dialog, it waits for the worker.
    virtual bool RunLoadingDialog(LoadProgress& progress) {
        progress.WaitFinished();
        return !progress.IsCancelled();
    }
    // The conversion-progress window, centred on the screen and hidden; none without a screen.
    virtual std::unique_ptr<ProgressWindow> CreateConversionProgress() { return nullptr; }
    // The folder browser: `folder` is the start folder and receives the choice; false when
    // the user cancelled or there is no user interface.
    virtual bool ChooseFolder(CString& folder, const CString& title) {
        (void)folder;
        (void)title;
        return false;
    }
    // The file-open dialog for an existing file, with the framework's filter text ("Name
    // (*.x)|*.x||"); an empty text when the user cancels or there is no screen.
    virtual CString AskOpenFileName(const CString& title, const CString& filter, const CString& defaultExt) {
        (void)title, (void)filter, (void)defaultExt;
        return CString();
    }
    // The file-save dialog, with the same filter text; a name typed without an extension gets
    // `defaultExt`, and replacing an existing file is confirmed. An empty text when the user
    // cancels or there is no screen.
    virtual CString AskSaveFileName(const CString& title, const CString& filter, const CString& defaultExt) {
        (void)title, (void)filter, (void)defaultExt;
        return CString();
    }
};

UiServices& Ui();
// Installs `services` (not owned) for the program and both libraries, which share this layer;
// nullptr restores the console fallback. The libraries' exported hooks are called as well.
void SetUiServices(UiServices* services);
// Sets the services without calling the hooks: what a library's hook calls.
void SetModuleUiServices(UiServices* services);

}  // namespace platform
