#pragma once
#include <wx/app.h>
#include <wx/docview.h>

#include <memory>

class CMainFrame;

class TenvorikApp : public wxApp {
public:
    bool OnInit() override;
    int OnExit() override;

    wxDocManager* GetDocManager() const { return m_docManager; }

private:
    wxDocManager* m_docManager = nullptr;
    CMainFrame* m_frame = nullptr;
};

wxDECLARE_APP(TenvorikApp);
