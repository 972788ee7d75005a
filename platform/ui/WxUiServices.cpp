#include "platform/ui/WxUiServices.h"

#include <wx/app.h>
#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/msgdlg.h>
#include <wx/thread.h>

namespace platform {

wxString ToWx(const CString& s) { return wxString(s.GetString(), size_t(s.GetLength())); }
CString FromWx(const wxString& s) { return CString(s.wc_str()); }

long MessageBoxStyle(unsigned type) {
    long style = 0;
    switch (type & 0xF) {
        case MB_OKCANCEL: style = wxOK | wxCANCEL; break;
        case MB_YESNO: style = wxYES_NO; break;
        case MB_YESNOCANCEL: style = wxYES_NO | wxCANCEL; break;
        default: style = wxOK; break;
    }
    switch (type & 0xF0) {
        case MB_ICONERROR: style |= wxICON_ERROR; break;
        case MB_ICONQUESTION: style |= wxICON_QUESTION; break;
        case MB_ICONWARNING: style |= wxICON_WARNING; break;
        case MB_ICONINFORMATION: style |= wxICON_INFORMATION; break;
        default: break;
    }
    return style;
}

int WxUiServices::MessageBox(const CString& text, const CString& caption, unsigned type) {
    wxWindow* parent = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
    wxString title = caption.IsEmpty() ? wxString::FromUTF8("Tenvorik") : ToWx(caption);
    switch (wxMessageBox(ToWx(text), title, MessageBoxStyle(type), parent)) {
        case wxOK: return IDOK;
        case wxYES: return IDYES;
        case wxNO: return IDNO;
        default: return IDCANCEL;
    }
}

void WxUiServices::PostException(CException* e) {
    if (!e) return;
    RunOnUiThread([this, e] {
        MessageBox(e->GetErrorMessage(), CString(), MB_OK | MB_ICONERROR);
        e->Delete();
    });
}

void WxUiServices::RunOnUiThread(std::function<void()> fn) {
    if (!fn) return;
    if (wxThread::IsMain() || !wxTheApp) {
        fn();
        return;
    }
    wxTheApp->CallAfter(std::move(fn));
}

bool WxUiServices::ChooseFolder(CString& folder, const CString& title) {
    wxWindow* parent = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
    wxDirDialog dlg(parent, ToWx(title), ToWx(folder), wxDD_DEFAULT_STYLE | wxDD_NEW_DIR_BUTTON);
    if (dlg.ShowModal() != wxID_OK) return false;
    folder = FromWx(dlg.GetPath());
    return true;
}

}  // namespace platform
