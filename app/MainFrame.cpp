#include "app/MainFrame.h"

#include <wx/ribbon/bar.h>
#include <wx/ribbon/page.h>
#include <wx/sizer.h>

CMainFrame::CMainFrame(wxDocManager* manager)
    : wxDocMDIParentFrame(manager, nullptr, wxID_ANY, wxString::FromUTF8("Tenvorik"), wxDefaultPosition,
                          wxSize(1200, 800)) {
    m_ribbon = new wxRibbonBar(this, wxID_ANY);
    new wxRibbonPage(m_ribbon, wxID_ANY, wxString::FromUTF8("Главная"));
    m_ribbon->Realize();
    SetToolBar(nullptr);
    CreateStatusBar(1);
}
