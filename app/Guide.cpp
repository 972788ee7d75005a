#include "app/Guide.h"

#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/stdpaths.h>
#include <wx/utils.h>

#include "model/Resources.h"
#include "platform/UiServices.h"
#include "platform/ui/WxUiServices.h"

wxString GuideFile() {
    const wxFileName exe(wxStandardPaths::Get().GetExecutablePath());
    wxFileName guide(exe.GetPath(), wxS("index.html"));
    guide.AppendDir(wxS("guide"));
    return guide.FileExists() ? guide.GetFullPath() : wxString();
}

bool OpenGuide() {
    const wxString file = GuideFile();
    if (file.empty()) {
        CString msg;
        msg.Format(LoadResString(9815).GetString(), L"guide/index.html");
        platform::Ui().MessageBox(msg, CString(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    const wxString url = wxFileName::FileNameToURL(wxFileName(file));
    // xdg-open hands the page to the browser the user chose for the desktop.
    const char* argv[] = {"xdg-open", nullptr, nullptr};
    const wxScopedCharBuffer utf8 = url.utf8_str();
    argv[1] = utf8.data();
    wxPathList path;
    path.AddEnvList(wxS("PATH"));
    long pid = 0;
    if (!path.FindAbsoluteValidPath(wxS("xdg-open")).empty()) {
        wxLogNull quiet;  // a failure is answered below, not by the toolkit's log window
        pid = wxExecute(argv, wxEXEC_ASYNC | wxEXEC_HIDE_CONSOLE);
    }
    if (pid > 0) return true;
    {
        wxLogNull quiet;
        if (wxLaunchDefaultBrowser(url)) return true;
    }
    CString msg;
    msg.Format(LoadResString(9816).GetString(), platform::FromWx(file).GetString());
    platform::Ui().MessageBox(msg, CString(), MB_OK | MB_ICONEXCLAMATION);
    return false;
}
