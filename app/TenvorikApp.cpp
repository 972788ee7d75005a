#include "app/TenvorikApp.h"

#include <wx/dnd.h>
#include <wx/filedlg.h>
#include <wx/filehistory.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/printdlg.h>

#include <clocale>
#include <cstdlib>
#include <utility>

#include "app/AboutWnd.h"
#include "app/AppProfile.h"
#include "app/CommandTable.h"
#include "app/DiagramPanes.h"
#include "app/FileDialogNames.h"
#include "app/FileFinderDlg.h"
#include "app/MainFrame.h"
#include "app/ProgSettingsDlg.h"
#include "app/SmokeHook.h"
#include "app/TenvorikDocument.h"
#include "document/TenvorikDoc.h"
#include "model/AppOptions.h"
#include "model/Resources.h"
#include "platform/Profile.h"
#include "view/ui/TenvorikView.h"

using platform::FromWx;
using platform::ToWx;

namespace {

constexpr int kPageSetupId = 57605;

// Records dropped on the main window open as if chosen in the file dialog.
class RecordDropTarget : public wxFileDropTarget {
public:
    bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& files) override {
        for (const wxString& f : files) wxGetApp().CallAfter([f] { wxGetApp().OpenRecord(f); });
        return true;
    }
};

// The record template, which may start reading the record given on the command line while
// the windows are built: the document made for it is the one the first open of that path gets.
class RecordTemplate final : public wxDocTemplate {
public:
    using wxDocTemplate::wxDocTemplate;
    ~RecordTemplate() override { delete m_early; }

    void StartEarly(const wxString& path) {
        auto* doc = dynamic_cast<TenvorikDocument*>(DoCreateDocument());
        if (doc && doc->StartOpen(path)) {
            m_early = doc;
            m_earlyPath = path;
        } else {
            delete doc;
        }
    }

    // A read that no open took (the open met another path or failed before it) ends, and its
    // record goes, rather than staying in memory for the rest of the session.
    void DropEarly() {
        delete m_early;
        m_early = nullptr;
    }

    wxDocument* CreateDocument(const wxString& path, long flags) override {
        if (!m_early || path != m_earlyPath) return wxDocTemplate::CreateDocument(path, flags);
        wxDocument* doc = std::exchange(m_early, nullptr);
        return InitDocument(doc, path, flags) ? doc : nullptr;
    }

private:
    TenvorikDocument* m_early = nullptr;
    wxString m_earlyPath;
};

wxString AbsolutePath(const CString& path) {
    wxFileName name(ToWx(path));
    name.MakeAbsolute();
    return name.GetFullPath();
}

}  // namespace

bool CDocManagerEx::DoPromptFileName(CString& name, bool open, wxWindow* parent) {
    wxString filter;
    for (unsigned id : filedlg::FilterStringIds(open, name)) filter += (filter.empty() ? wxS("") : wxS("|")) + ToWx(LoadResString(id));
    const std::vector<CString> extensions = filedlg::SaveExtensions(name);
    wxFileName proposed(ToWx(open ? name : filedlg::ProposedSaveName(name)));
    wxFileDialog dlg(parent, ToWx(LoadResString(open ? 62009 : 62010)), proposed.GetPath(), proposed.GetFullName(),
                     filter,
                     // The toolkit would ask about the name as typed, before the chosen type
                     // gives it its extension: the question is asked below, of the file written.
                     open ? (wxFD_OPEN | wxFD_FILE_MUST_EXIST) : wxFD_SAVE);
    dlg.SetFilterIndex(0);
    const bool ok = dlg.ShowModal() == wxID_OK;
    CString chosen = FromWx(dlg.GetPath());
    if (!open) {
        CString fixed = filedlg::FixSaveName(chosen, extensions, dlg.GetFilterIndex());
        // An existing file of the name that is written is replaced only when the user says so.
        if (ok && wxFileExists(ToWx(fixed))) {
            CString question;
            question.Format(LoadResString(62012).GetString(), fixed.GetString());
            if (platform::Ui().MessageBox(question, CString(), MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
        }
        chosen = fixed;
    }
    name = chosen;
    return ok;
}

wxDocTemplate* CDocManagerEx::SelectDocumentPath(wxDocTemplate** templates, int noTemplates, wxString& path, long,
                                                 bool save) {
    if (noTemplates <= 0) return nullptr;
    CString name = FromWx(path);
    if (!DoPromptFileName(name, !save, wxTheApp->GetTopWindow())) return nullptr;
    path = ToWx(name);
    return templates[0];
}

wxDocTemplate* CDocManagerEx::FindTemplateForPath(const wxString&) {
    const wxList& templates = GetTemplates();
    return templates.empty() ? nullptr : static_cast<wxDocTemplate*>(templates.GetFirst()->GetData());
}

wxFileHistory* CDocManagerEx::OnCreateFileHistory() {
    return new wxFileHistory(kRecentFileCount, commands::MenuId(ID_RECENT_FIRST));
}

bool CTenvorikApp::OnInit() {
    // Russian texts where the system has them; numbers are always read and written with ".".
    if (!std::setlocale(LC_ALL, "ru_RU.UTF-8")) std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");

    std::vector<CString> args;
    for (int i = 0; i < argc; ++i) args.push_back(FromWx(argv[i]));
    m_command = ParseStartupCommand(args);

    // A second start with a record, or asking for the file finder, hands that to the running
    // instance and ends unseen; when no instance takes it, this one starts as the first.
    const std::string socketPath = instance::SocketPath();
    const bool hasRecord = !m_command.fileToOpen.IsEmpty();
    bool handedOver = hasRecord && instance::SendPath(socketPath, AbsolutePath(m_command.fileToOpen).utf8_str().data());
    if (m_command.openFileFinder && (handedOver || !hasRecord))
        handedOver = instance::SendFind(socketPath) || handedOver;
    if (handedOver) {
        m_handedOver = true;
        return true;
    }

    // The texts the user chose are known before the first one is read.
    platform::SetProfileProgram(L"Tenvorik");
    platform::SetTextLanguage(LoadTextLanguage(platform::AppProfile()));
    AppOptions& options = TheAppOptions();
    options.englishResources = TenvorikStrings().IsEnglish();
    SetAppDisplayName(ToWx(LoadResString(57344)));
    LoadAppOptions(platform::AppProfile(), options);
    options.commandLineDst = m_command.dstArgument;
    platform::SetUiServices(&m_ui);
    wxInitAllImageHandlers();

    m_docManager = new CDocManagerEx;
    // One record kind: the document's name and nothing for the framework's own file filter,
    // which the record file dialog replaces.
    auto* records = new RecordTemplate(m_docManager, wxS("Korvelund Tenvorik"), wxS("*.cfg;*.cff;*.osc;*.sto"),
                                       wxEmptyString, wxS("cfg"), wxS("Korvelund Tenvorik"),
                                       wxS("Korvelund Tenvorik View"), CLASSINFO(TenvorikDocument),
                                       CLASSINFO(CTenvorikView));
    // A smoke run may hold every load until it is cancelled, to meet the loading dialog.
    const char* smoke = std::getenv("TENVORIK_SMOKE");
    const char* hold = std::getenv("TENVORIK_SMOKE_HOLD_LOAD");
    if (smoke && *smoke && hold && *hold) CTenvorikDoc::HoldLoadsUntilCancelled(true);
    // The record on the command line is read while the windows are built; it is shown once
    // the main window is up, as before.
    if (!m_command.fileToOpen.IsEmpty()) records->StartEarly(AbsolutePath(m_command.fileToOpen));
    const std::vector<CString> recent = LoadRecentFiles(platform::AppProfile());
    for (auto it = recent.rbegin(); it != recent.rend(); ++it) m_docManager->AddFileToHistory(ToWx(*it));

    const int look = platform::GetProfileInt(L"Workspace", L"ApplicationLook", 215);
    m_frame = new CMainFrame(m_docManager, &m_server, look);
    CreateDiagramPanes(m_frame, m_docManager);
    m_frame->LoadPaneLayout();
    m_frame->SetDropTarget(new RecordDropTarget);
    m_frame->GetClientWindow()->SetDropTarget(new RecordDropTarget);
    using commands::MenuId;
    Bind(wxEVT_MENU, &CTenvorikApp::OnProgramSettings, this, MenuId(ID_PROGRAM_SETTINGS));
    Bind(wxEVT_MENU, &CTenvorikApp::OnFileFinder, this, MenuId(ID_FILE_FINDER));
    Bind(wxEVT_MENU, &CTenvorikApp::OnFilePageSetup, this, MenuId(kPageSetupId));
    Bind(wxEVT_MENU, &CTenvorikApp::OnAppAbout, this, MenuId(commands::ID_APP_ABOUT));
    // The application's own commands are always there to run.
    for (int id : {int(ID_PROGRAM_SETTINGS), kPageSetupId, int(ID_FILE_FINDER), int(commands::ID_APP_ABOUT)})
        Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) { e.Enable(true); }, MenuId(id));

    m_frame->Show(true);
    SetTopWindow(m_frame);
    if (m_command.fileToOpen.IsEmpty()) splash::Show(m_frame);
    m_server.Listen(socketPath);

    if (!m_command.fileToOpen.IsEmpty()) {
        wxString path = AbsolutePath(m_command.fileToOpen);
        CallAfter([this, path, records] {
            OpenRecord(path);
            if (m_docManager) records->DropEarly();
        });
    }
    if (m_command.openFileFinder) {
        CallAfter([this] {
            if (!m_frame) return;
            wxCommandEvent cmd(wxEVT_MENU, commands::MenuId(ID_FILE_FINDER));
            m_frame->GetEventHandler()->AddPendingEvent(cmd);
        });
    }
    if (const char* cursor = std::getenv("TENVORIK_SMOKE_CURSOR"))
        SetSmokePreparation([this, at = std::atoi(cursor)] { PrepareDiagramSmoke(m_frame, at); });
    ArmSmokeHook(m_frame);
    return true;
}

int CTenvorikApp::OnRun() {
    if (m_handedOver) return 0;
    return wxApp::OnRun();
}

void CTenvorikApp::OpenRecord(const wxString& path) {
    if (!m_docManager) return;
    m_docManager->CreateDocument(path, wxDOC_SILENT);
}

void CTenvorikApp::SaveState() {
    SaveAppOptions(platform::AppProfile(), TheAppOptions());
    if (wxFileHistory* h = m_docManager->GetFileHistory()) {
        std::vector<CString> files;
        for (size_t i = 0; i < h->GetCount(); ++i) files.push_back(FromWx(h->GetHistoryFile(i)));
        SaveRecentFiles(platform::AppProfile(), files);
    }
}

int CTenvorikApp::OnExit() {
    if (m_docManager) {
        SaveState();
        delete m_docManager;
        m_docManager = nullptr;
    }
    platform::SetUiServices(nullptr);
    return wxApp::OnExit();
}

void CTenvorikApp::OnAppAbout(wxCommandEvent&) {
    AboutWnd about(m_frame);
    about.ShowModal();
}

void CTenvorikApp::OnProgramSettings(wxCommandEvent&) {
    CProgSettingdDlg dlg(m_frame, TheAppOptions());
    dlg.ShowModal();
}

void CTenvorikApp::OnFileFinder(wxCommandEvent&) {
    // One finder at a time: a second request (a second start with "-Find") finds it up.
    if (m_finder) {
        m_finder->Raise();
        return;
    }
    std::vector<CString> chosen;
    {
        FileFinder22Dlg dlg(m_frame);
        m_finder = &dlg;
        const int answer = dlg.ShowModal();
        m_finder = nullptr;
        if (answer != wxID_OK) return;
        chosen = dlg.GetChosenFiles();
    }
    // Each record in its own window, as if opened one after another from the file dialog.
    for (const CString& path : chosen) OpenRecord(ToWx(path));
}

void CTenvorikApp::OnFilePageSetup(wxCommandEvent&) {
    AppOptions& o = TheAppOptions();
    wxPageSetupDialogData data;
    data.EnableMargins(true);
    data.EnablePaper(false);
    // The profile keeps hundredths of a millimetre; the dialog works in millimetres.
    data.SetMarginTopLeft(wxPoint(o.leftMargin / 100, o.topMargin / 100));
    data.SetMarginBottomRight(wxPoint(o.rightMargin / 100, o.bottomMargin / 100));
    data.GetPrintData().SetOrientation(o.pageOrientation == 2 ? wxLANDSCAPE : wxPORTRAIT);
    wxPageSetupDialog dlg(m_frame, &data);
    if (dlg.ShowModal() != wxID_OK) return;
    const wxPageSetupDialogData& r = dlg.GetPageSetupDialogData();
    o.leftMargin = MarginAfterPageSetup(o.leftMargin, r.GetMarginTopLeft().x);
    o.topMargin = MarginAfterPageSetup(o.topMargin, r.GetMarginTopLeft().y);
    o.rightMargin = MarginAfterPageSetup(o.rightMargin, r.GetMarginBottomRight().x);
    o.bottomMargin = MarginAfterPageSetup(o.bottomMargin, r.GetMarginBottomRight().y);
    o.pageOrientation = r.GetPrintData().GetOrientation() == wxLANDSCAPE ? 2 : 1;
}
