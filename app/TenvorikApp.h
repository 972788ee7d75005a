#pragma once
#include <wx/app.h>
#include <wx/docview.h>

#include <memory>

#include "app/AppUiServices.h"
#include "app/InstanceChannel.h"
#include "app/StartupCommand.h"

class CMainFrame;

// The document manager with the program's record file dialog.
class CDocManagerEx : public wxDocManager {
public:
    // The open or save dialog for records. `name` holds the current name on entry and the
    // chosen name on return; true when the user confirmed.
    bool DoPromptFileName(CString& name, bool open, wxWindow* parent);

    wxDocTemplate* SelectDocumentPath(wxDocTemplate** templates, int noTemplates, wxString& path, long flags,
                                      bool save = false) override;
    // Every path goes to the record template, whatever its extension: the record opens a
    // ".dat" through its ".cfg" and names what it cannot read, where the framework would drop
    // it without a word.
    wxDocTemplate* FindTemplateForPath(const wxString& path) override;
    wxFileHistory* OnCreateFileHistory() override;
};

class FileFinder22Dlg;

class CTenvorikApp : public wxApp {
public:
    bool OnInit() override;
    int OnRun() override;
    int OnExit() override;

    CDocManagerEx* GetDocManager() const { return m_docManager; }
    CMainFrame* GetMainFrame() const { return m_frame; }
    // Opens a record as every way of opening does: a failure shows its message and leaves
    // the program as it was.
    void OpenRecord(const wxString& path);

private:
    void OnAppAbout(wxCommandEvent&);
    void OnProgramSettings(wxCommandEvent&);
    void OnFileFinder(wxCommandEvent&);
    void OnFilePageSetup(wxCommandEvent&);
    void SaveState();

    AppUiServices m_ui;
    instance::Server m_server;
    CDocManagerEx* m_docManager = nullptr;
    CMainFrame* m_frame = nullptr;
    StartupCommand m_command;
    bool m_handedOver = false;
    // The file finder while it is up: a second request brings it to the front.
    FileFinder22Dlg* m_finder = nullptr;
};

wxDECLARE_APP(CTenvorikApp);
