#include "app/ProgrBarDlg.h"

#include <wx/display.h>
#include <wx/gauge.h>
#include <wx/sizer.h>

#include "model/Resources.h"
#include "platform/ui/WxUiServices.h"

namespace {
constexpr int kProgressId = 2001;
}

CProgrBarDlg::CProgrBarDlg(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, platform::ToWx(LoadResString(62002)), wxDefaultPosition, wxDefaultSize,
               wxCAPTION) {
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    m_gauge = new wxGauge(this, kProgressId, 100, wxDefaultPosition, wxSize(360, -1));
    sizer->Add(m_gauge, 0, wxEXPAND | wxALL, 12);
    SetSizerAndFit(sizer);
}

void CProgrBarDlg::CenterOnScreen() {
    wxRect screen = wxDisplay(0u).GetGeometry();
    wxSize size = GetSize();
    Move(screen.x + screen.width / 2 - size.x / 2, screen.y + screen.height / 2 - size.y / 2);
}

void CProgrBarDlg::StepTo(int position) {
    // The GTK bar draws the new position at once; no animation lag to step around.
    m_gauge->SetValue(position < 0 ? 0 : position > 100 ? 100 : position);
    m_gauge->Update();
}

void CProgrBarDlg::SetVisible(bool visible) {
    if (visible == IsShown()) return;
    Show(visible);
    if (visible) Raise();
}
