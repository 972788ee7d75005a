#include "app/AppUiServices.h"

#include <wx/app.h>
#include <wx/filedlg.h>
#include <wx/msgdlg.h>
#include <wx/generic/msgdlgg.h>

#include "app/LoadingDlg.h"
#include "app/ProgrBarDlg.h"
#include "model/Resources.h"
#include "platform/FileSystem.h"

int AppUiServices::MessageBox(const CString& text, const CString& caption, unsigned type) {
    const long style = platform::MessageBoxStyle(type);
    wxWindow* parent = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
    // The dialog runs in the program's own event loop, so timers and queued work go on while
    // it is up, as they do under the loading dialog.
    wxGenericMessageDialog dlg(parent, platform::ToWx(text),
                               caption.IsEmpty() ? wxTheApp->GetAppDisplayName() : platform::ToWx(caption), style);
    dlg.SetYesNoCancelLabels(platform::ToWx(LoadResString(62015)), platform::ToWx(LoadResString(62016)),
                             platform::ToWx(LoadResString(62001)));
    dlg.SetOKCancelLabels(platform::ToWx(LoadResString(62008)), platform::ToWx(LoadResString(62001)));
    switch (dlg.ShowModal()) {
        case wxID_OK: return IDOK;
        case wxID_YES: return IDYES;
        case wxID_NO: return IDNO;
        default: return (style & (wxCANCEL | wxNO)) ? IDCANCEL : IDOK;
    }
}

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

namespace {
// The framework's filter ends with "||"; wxWidgets wants the pairs alone.
wxString Wildcard(const CString& filter) {
    CString wildcard = filter;
    while (wildcard.GetLength() > 0 && wildcard[wildcard.GetLength() - 1] == L'|') wildcard.Truncate(wildcard.GetLength() - 1);
    return platform::ToWx(wildcard);
}
wxString DialogTitle(const CString& title, const wxString& standard) {
    return title.IsEmpty() ? standard : platform::ToWx(title);
}
}  // namespace

CString AppUiServices::AskOpenFileName(const CString& title, const CString& filter, const CString& defaultExt) {
    wxFileDialog dlg(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, DialogTitle(title, wxFileSelectorPromptStr),
                     wxString(), wxString(), Wildcard(filter), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dlg.ShowModal() != wxID_OK) return CString();
    CString path = platform::FromWx(dlg.GetPath());
    // A name typed without its extension means the file with the default one.
    if (!defaultExt.IsEmpty() && !platform::FileExists(path) && platform::FileExists(path + L"." + defaultExt))
        path += L"." + defaultExt;
    return path;
}

CString AppUiServices::AskSaveFileName(const CString& title, const CString& filter, const CString& defaultExt) {
    wxFileDialog dlg(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, DialogTitle(title, wxFileSelectorPromptStr),
                     wxString(), wxString(), Wildcard(filter), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dlg.ShowModal() != wxID_OK) return CString();
    CString path = platform::FromWx(dlg.GetPath());
    // A name typed without an extension gets the default one; the dialog asked about the name
    // as typed, so replacing the file it now names is asked here.
    if (!defaultExt.IsEmpty() && platform::PathExtension(path).IsEmpty()) {
        path += L"." + defaultExt;
        if (platform::PathExists(path)) {
            CString question;
            question.Format(LoadResString(62012).GetString(), platform::PathFileName(path).GetString());
            if (MessageBox(question, LoadResString(128), MB_YESNO | MB_ICONWARNING) != IDYES) return CString();
        }
    }
    return path;
}
