#include "app/SmokeHook.h"

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/msgdlg.h>
#include <wx/generic/msgdlgg.h>
#include <wx/statusbr.h>
#include <wx/timer.h>
#include <wx/utils.h>

#include "app/CaptionBars.h"
#include "app/MainFrame.h"
#include "platform/ui/WxUiServices.h"

#include <cstdio>
#include <cstdlib>
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
    std::vector<std::string> dialogs;  // every modal dialog met, as "title|message"
    std::vector<int> commands;         // run as the ribbon runs them before the look is taken
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
    }
    for (const std::string& d : s.dialogs) std::fprintf(f, "dialog=%s\n", d.c_str());
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
    for (wxWindow* w : wxTopLevelWindows) {
        auto* dlg = dynamic_cast<wxDialog*>(w);
        if (!dlg || !dlg->IsModal()) continue;
        std::string text = dlg->GetTitle().utf8_str().data();
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

}  // namespace

void ArmSmokeHook(wxFrame* frame) {
    const char* report = std::getenv("TENVORIK_SMOKE");
    if (!report || !*report) return;
    auto* s = new SmokeState;
    s->frame = frame;
    s->reportPath = report;
    const char* shot = std::getenv("TENVORIK_SMOKE_SHOT");
    s->shotPath = shot ? shot : "";
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
