#include "app/SmokeHook.h"

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcscreen.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/statusbr.h>
#include <wx/timer.h>
#include <wx/utils.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void WriteReport(wxFrame* frame, const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "w");
    if (!f) return;
    std::fprintf(f, "title=%s\n", frame->GetTitle().utf8_str().data());
    if (wxStatusBar* bar = frame->GetStatusBar()) {
        for (int i = 0; i < bar->GetFieldsCount(); ++i)
            std::fprintf(f, "status%d=%s\n", i, bar->GetStatusText(i).utf8_str().data());
    }
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

}  // namespace

void ArmSmokeHook(wxFrame* frame) {
    const char* report = std::getenv("TENVORIK_SMOKE");
    if (!report || !*report) return;
    std::string reportPath = report;
    const char* shot = std::getenv("TENVORIK_SMOKE_SHOT");
    std::string shotPath = shot ? shot : "";
    // Give the window time to be mapped and painted before it is looked at.
    auto* timer = new wxTimer;
    timer->Bind(wxEVT_TIMER, [frame, reportPath, shotPath, timer](wxTimerEvent&) {
        frame->Update();
        wxYield();
        if (!shotPath.empty()) SaveShot(frame, shotPath);
        WriteReport(frame, reportPath);
        frame->Close(true);
        wxTheApp->CallAfter([timer] { delete timer; });
    });
    timer->StartOnce(1500);
}
