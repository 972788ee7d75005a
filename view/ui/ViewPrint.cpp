#include "view/ui/ViewPrint.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/statbox.h>

#include <cairo.h>

#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "diagrams/DiagramWnd.h"
#include "document/TenvorikDoc.h"
#include "diagrams/ui/DiagramPane.h"
#include "model/AppOptions.h"
#include "model/Resources.h"
#include "platform/UiServices.h"
#include "platform/ui/WxUiServices.h"

using platform::ToWx;

namespace {

// The diagram windows of the main frame print their own pages.
class FrameDiagrams final : public oscview::PrintHost {
public:
    explicit FrameDiagrams(CTenvorikDoc* doc) : m_doc(doc) {}
    void PrintDiagram(int bit, CDC* dc, const CRect& rect, bool preview) override {
        CMainFrame* frame = GetMainFrame();
        DiagramWnd* diagram = frame ? DiagramOfPane(frame->GetDiagramWnd(bit)) : nullptr;
        if (diagram) diagram->Print(dc, rect, m_doc, preview);
    }

private:
    CTenvorikDoc* m_doc;
};

}  // namespace

wxPrintData& ProgramPrintData() {
    static wxPrintData data;
    return data;
}

CTenvorikPrintDialog::CTenvorikPrintDialog(wxWindow* parent, int* options, const bool available[oscview::kPrintOptionCount])
    : wxDialog(parent, wxID_ANY, ToWx(LoadResString(oscview::IDS_PRINT_TITLE))), m_options(options) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto makeBox = [&](wxWindow* parentWindow, int i) {
        m_boxes[i] = new wxCheckBox(parentWindow, ID_PRINT_OSCILLOGRAM + i, ToWx(LoadResString(unsigned(ID_PRINT_OSCILLOGRAM + i))));
        m_boxes[i]->SetValue(options[i] != 0 && available[i]);
        m_boxes[i]->Enable(available[i]);
        return m_boxes[i];
    };
    top->Add(makeBox(this, oscview::kPrintOscillogram), 0, wxALL, 8);
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, ToWx(LoadResString(oscview::IDS_PRINT_DIAGRAM_GROUP)));
    for (int i = oscview::kPrintSpectrum; i < oscview::kPrintOptionCount; ++i)
        group->Add(makeBox(group->GetStaticBox(), i), 0, wxALL, 4);
    top->Add(group, 0, wxEXPAND | wxLEFT | wxRIGHT, 8);
    auto* extra = new wxBoxSizer(wxHORIZONTAL);
    extra->Add(new wxButton(this, ID_PRINT_PREVIEW_BUTTON, ToWx(LoadResString(ID_PRINT_PREVIEW_BUTTON))), 0, wxRIGHT, 8);
    extra->Add(new wxButton(this, ID_PRINT_PAGE_SETUP_BUTTON, ToWx(LoadResString(ID_PRINT_PAGE_SETUP_BUTTON))));
    top->Add(extra, 0, wxALL, 8);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 8);
    SetSizerAndFit(top);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        ReadControls();
        EndModal(wxID_OK);
    }, wxID_OK);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        ReadControls();
        EndModal(wxID_CANCEL);
    }, wxID_CANCEL);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        ReadControls();
        EndModal(wxID_CANCEL);
        if (CMainFrame* frame = GetMainFrame()) wxQueueEvent(frame, new wxCommandEvent(wxEVT_MENU, commands::MenuId(ID_FILE_PRINT_PREVIEW)));
    }, ID_PRINT_PREVIEW_BUTTON);
    Bind(wxEVT_BUTTON, [](wxCommandEvent&) {
        if (CMainFrame* frame = GetMainFrame()) {
            wxCommandEvent cmd(wxEVT_MENU, commands::MenuId(ID_FILE_PAGE_SETUP));
            frame->GetEventHandler()->ProcessEvent(cmd);
        }
    }, ID_PRINT_PAGE_SETUP_BUTTON);
}

void CTenvorikPrintDialog::ReadControls() {
    for (int i = 0; i < oscview::kPrintOptionCount; ++i) m_options[i] = m_boxes[i]->IsEnabled() && m_boxes[i]->GetValue() ? 1 : 0;
}

ViewPrintout::ViewPrintout(oscview::CTenvorikView& view, bool preview)
    : wxPrintout(ToWx(view.GetDocument()->GetTitle())), m_view(view), m_session(view, preview) {}

bool ViewPrintout::AttachDC(CDC& cdc) {
    wxDC* dc = GetDC();
    if (!dc) return false;
    // One logical unit is one printer pixel, in the preview too.
    MapScreenSizeToDevice();
    auto* cr = static_cast<cairo_t*>(dc->GetImpl()->GetCairoContext());
    int w = 0, h = 0, ppiX = 0, ppiY = 0;
    GetPageSizePixels(&w, &h);
    GetPPIPrinter(&ppiX, &ppiY);
    if (!cr || w <= 0 || h <= 0 || ppiX <= 0) return false;
    return cdc.Attach(cr, w, h, ppiX, true);
}

void ViewPrintout::OnPreparePrinting() {
    const AppOptions& o = TheAppOptions();
    int sx = 96, sy = 96;
    GetPPIScreen(&sx, &sy);
    CDC cdc;
    const bool attached = AttachDC(cdc);
    const oscview::PrintMargins margins{o.leftMargin, o.topMargin, o.rightMargin, o.bottomMargin};
    const bool ready = m_session.Prepare(attached ? &cdc : nullptr, margins, sx);
    if (attached) cdc.Detach();
    // The preview has no caller waiting for an answer: the reason is shown once it is up.
    if (!ready && m_session.Job().preview && !m_session.Refusal().IsEmpty())
        wxTheApp->CallAfter([why = m_session.Refusal()] { platform::Ui().MessageBox(why, CString(), MB_OK | MB_ICONEXCLAMATION); });
}

// The preview ends the printout after each page it draws; the session lays it out again for the next.
void ViewPrintout::OnEndPrinting() { m_session.End(); }

bool ViewPrintout::HasPage(int page) { return m_session.HasPage(page); }

void ViewPrintout::GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) {
    // Asked once before the pages are prepared: one page until they are.
    const int n = !m_session.IsPrepared() ? 1 : m_session.PageCount();
    *minPage = *pageFrom = n > 0 ? 1 : 0;
    *maxPage = *pageTo = n;
}

bool ViewPrintout::OnPrintPage(int page) {
    CDC cdc;
    if (!m_session.IsReady() || !AttachDC(cdc)) return false;
    FrameDiagrams diagrams(m_view.GetDocument());
    const bool drawn = m_session.PrintPage(&cdc, page, &diagrams);
    cdc.Detach();
    return drawn;
}
