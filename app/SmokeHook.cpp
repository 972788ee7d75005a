#include "app/SmokeHook.h"

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/dialog.h>
#include <wx/docview.h>
#include <wx/filedlg.h>
#include <wx/frame.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/generic/msgdlgg.h>
#include <wx/statusbr.h>
#include <wx/timer.h>
#include <wx/utils.h>

#include "app/CaptionBars.h"
#include "app/MainFrame.h"
#include "diagrams/ui/CircleDiagPane.h"
#include "diagrams/ui/DiagramCanvas.h"
#include "model/Channel.h"
#include "platform/ui/WxUiServices.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

std::function<void()>& Preparation() {
    static std::function<void()> prepare;
    return prepare;
}

struct SmokeState {
    wxFrame* frame = nullptr;
    std::string reportPath, shotPath;
    std::string file;                  // the name a file dialog met on the way is given
    std::vector<std::string> dialogs;  // every modal dialog met, as "title|message"
    std::vector<int> commands;         // run as the ribbon runs them before the look is taken
    std::unique_ptr<wxModalDialogHook> fileWatch;
    wxFileDialog* fileDialog = nullptr;  // open now
    wxTimer timer;
    int ticks = 0;
};

void WriteReport(const SmokeState& s) {
    FILE* f = std::fopen(s.reportPath.c_str(), "w");
    if (!f) return;
    std::fprintf(f, "title=%s\n", s.frame->GetTitle().utf8_str().data());
    if (wxStatusBar* bar = s.frame->GetStatusBar()) {
        for (int i = 0; i < bar->GetFieldsCount(); ++i)
            std::fprintf(f, "status%d=%s\n", i, bar->GetStatusText(i).utf8_str().data());
    }
    // The caption bars under the ribbon that are on show, with their texts.
    if (auto* main = dynamic_cast<CMainFrame*>(s.frame)) {
        if (main->IsCaptionBarShown(main->GetResultBar()))
            std::fprintf(f, "resultbar=%s\n", platform::ToWx(main->GetResultBar()->GetText()).utf8_str().data());
        if (main->IsCaptionBarShown(main->GetParamBar()))
            std::fprintf(f, "parambar=%s\n", platform::ToWx(main->GetParamBar()->GetText()).utf8_str().data());
        // The circle diagram's block grid: the block it shows, its rows, and whether it takes edits.
        if (auto* circle = dynamic_cast<CircleDiagPane*>(main->GetDiagramWnd(CHF_CIRCLE_DIAGRAM))) {
            const BlockGridModel& grid = circle->Window().GetGridModel();
            const wxWindow* control = circle->FindWindow(wxS("blockgrid"));
            std::fprintf(f, "blockgrid=%s|rows %zu|%s\n", platform::ToWx(grid.BlockTypeValue()).utf8_str().data(),
                         grid.Rows().size(), control && control->IsEnabled() ? "enabled" : "disabled");
            // Where the pane put its parts: what a user can see of the diagram and the tools.
            auto rect = [](const wxWindow* w) {
                const wxRect r = w ? w->GetRect() : wxRect();
                return wxString::Format(wxS("%d,%d %dx%d"), r.x, r.y, r.width, r.height);
            };
            std::fprintf(f, "circlepane=%s|diagram %s|tools %s\n", rect(circle).utf8_str().data(),
                         rect(circle->Canvas()).utf8_str().data(),
                         rect(circle->FindWindow(wxS("toolcolumn"))).utf8_str().data());
        }
    }
    // The records' tabs, named by what their frames gave the notebook.
    if (wxDocManager* docs = wxDocManager::GetDocumentManager())
        for (wxDocument* doc : docs->GetDocumentsVector())
            for (wxView* view : doc->GetViewsVector())
                if (wxWindow* frame = view->GetFrame())
                    std::fprintf(f, "tab=%s\n", frame->GetLabel().utf8_str().data());
    for (const std::string& d : s.dialogs) std::fprintf(f, "dialog=%s\n", d.c_str());
    // Other windows on show (a print preview, say), by title.
    for (wxWindow* w : wxTopLevelWindows)
        if (w != s.frame && w->IsShown() && !dynamic_cast<wxDialog*>(w))
            std::fprintf(f, "window=%s\n", w->GetLabel().utf8_str().data());
    std::fclose(f);
}

void SaveShot(wxFrame* frame, const std::string& path) {
    // GTK 3 cannot read pixels back from a window's own context; the screen's can.
    wxScreenDC dc;
    wxRect rect = frame->GetScreenRect();
    if (rect.width <= 0 || rect.height <= 0) return;
    wxBitmap bmp(rect.width, rect.height);
    wxMemoryDC mem(bmp);
    mem.Blit(0, 0, rect.width, rect.height, &dc, rect.x, rect.y);
    mem.SelectObject(wxNullBitmap);
    bmp.SaveFile(wxString::FromUTF8(path.c_str()), wxBITMAP_TYPE_PNG);
}

// Notes and dismisses the modal dialogs that are up; true when there was one.
bool DismissDialogs(SmokeState& s) {
    bool any = false;
    if (wxFileDialog* files = s.fileDialog) {
        // The chooser takes a name it is given when it has read the folder: confirmed only
        // once it shows the name, as a user would see it before pressing the button.
        const wxString wanted = wxString::FromUTF8(s.file.c_str());
        if (files->GetPath() != wanted) {
            files->SetPath(wanted);
            return true;
        }
        s.dialogs.push_back(std::string(files->GetTitle().utf8_str().data()) + "|" + s.file);
        wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
        ok.SetEventObject(files);
        files->ProcessWindowEvent(ok);
        any = true;
    }
    for (wxWindow* w : wxTopLevelWindows) {
        auto* dlg = dynamic_cast<wxDialog*>(w);
        if (!dlg || !dlg->IsModal()) continue;
        std::string text = dlg->GetTitle().utf8_str().data();
        if (auto* driven = dynamic_cast<SmokeDrivenDialog*>(dlg)) {
            // Noted once, when it ends; until then it is given its next step.
            if (driven->SmokeStep()) s.dialogs.push_back(text + "|driven");
            any = true;
            continue;
        }
        if (auto* msg = dynamic_cast<wxGenericMessageDialog*>(dlg)) {
            wxString m = msg->GetMessage();
            m.Replace(wxS("\n"), wxS(" "));
            text += "|" + std::string(m.utf8_str().data());
        }
        s.dialogs.push_back(text);
        // As a user would: the dialog's cancel, then its end if it has no cancel of its own.
        wxCommandEvent cancel(wxEVT_BUTTON, wxID_CANCEL);
        cancel.SetEventObject(dlg);
        dlg->ProcessWindowEvent(cancel);
        if (dlg->IsModal()) dlg->EndModal(wxID_CANCEL);
        any = true;
    }
    return any;
}

// The toolkit's own file chooser is no window the timer finds: it is noted as it opens, so
// that the next look answers it as a user would who types the name and confirms it.
class FileDialogWatch final : public wxModalDialogHook {
public:
    explicit FileDialogWatch(SmokeState& s) : m_s(s) { Register(); }
    ~FileDialogWatch() override { Unregister(); }
    int Enter(wxDialog* dialog) override {
        if (auto* files = dynamic_cast<wxFileDialog*>(dialog)) m_s.fileDialog = files;
        return wxID_NONE;
    }
    void Exit(wxDialog* dialog) override {
        if (dialog == m_s.fileDialog) m_s.fileDialog = nullptr;
    }

private:
    SmokeState& m_s;
};

}  // namespace

void ArmSmokeHook(wxFrame* frame) {
    const char* report = std::getenv("TENVORIK_SMOKE");
    if (!report || !*report) return;
    auto* s = new SmokeState;
    s->frame = frame;
    s->reportPath = report;
    const char* shot = std::getenv("TENVORIK_SMOKE_SHOT");
    s->shotPath = shot ? shot : "";
    const char* file = std::getenv("TENVORIK_SMOKE_FILE");
    s->file = file ? file : "";
    if (!s->file.empty()) s->fileWatch = std::make_unique<FileDialogWatch>(*s);
    // Give the window time to be mapped and painted (and a record to open) before it is looked
    // at; a modal dialog met on the way is noted and dismissed, then the look is taken again.
    if (const char* cmds = std::getenv("TENVORIK_SMOKE_COMMANDS")) {
        for (const char* p = cmds; *p;) {
            char* end = nullptr;
            long id = std::strtol(p, &end, 10);
            if (end == p) break;
            s->commands.push_back(int(id));
            p = *end ? end + 1 : end;
        }
    }
    s->timer.Bind(wxEVT_TIMER, [s](wxTimerEvent&) {
        if (!s->commands.empty()) {
            // Each command goes through the frame as a ribbon button sends it.
            const int id = s->commands.front();
            s->commands.erase(s->commands.begin());
            // Queued, so that a modal window it opens meets the next tick of this timer.
            s->timer.StartOnce(300);
            wxCommandEvent cmd(wxEVT_MENU, id);
            cmd.SetEventObject(s->frame);
            s->frame->GetEventHandler()->AddPendingEvent(cmd);
            return;
        }
        if (DismissDialogs(*s) && ++s->ticks < 20) {
            s->timer.StartOnce(300);
            return;
        }
        if (Preparation()) Preparation()();
        s->frame->Update();
        wxYield();
        if (!s->shotPath.empty()) SaveShot(s->frame, s->shotPath);
        WriteReport(*s);
        s->frame->Close(true);
        wxTheApp->CallAfter([s] { delete s; });
    });
    const char* delay = std::getenv("TENVORIK_SMOKE_DELAY");
    const int ms = delay ? std::atoi(delay) : 0;
    s->timer.StartOnce(ms > 0 ? ms : 1500);
}

void SetSmokePreparation(std::function<void()> prepare) { Preparation() = std::move(prepare); }
