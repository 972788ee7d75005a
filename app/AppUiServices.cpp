#include "app/AppUiServices.h"

#include <wx/app.h>

#include "app/LoadingDlg.h"
#include "app/ProgrBarDlg.h"

void AppUiServices::PostException(CException* e) {
    if (!e) return;
    // Queued for the user-interface thread, where it waits for the main window's loop however
    // long that takes; shown once and deleted once, even when showing it fails.
    RunOnUiThread([this, e] {
        try {
            MessageBox(e->GetErrorMessage(), CString(), MB_OK | MB_ICONERROR);
        } catch (...) {
        }
        e->Delete();
    });
}

bool AppUiServices::RunLoadingDialog(platform::LoadProgress& progress) {
    LoadingDlg dlg(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, progress);
    return dlg.Run();
}

std::unique_ptr<platform::ProgressWindow> AppUiServices::CreateConversionProgress() {
    auto dlg = std::make_unique<CProgrBarDlg>(wxTheApp ? wxTheApp->GetTopWindow() : nullptr);
    dlg->CenterOnScreen();
    return dlg;
}
