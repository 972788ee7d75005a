#include "app/TenvorikApp.h"

#include <clocale>

#include "app/MainFrame.h"
#include "app/SmokeHook.h"

bool TenvorikApp::OnInit() {
    // Number texts are always written with "." whatever the user's locale says.
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    if (!wxApp::OnInit()) return false;

    m_docManager = new wxDocManager;
    m_frame = new CMainFrame(m_docManager);
    m_frame->Show(true);
    SetTopWindow(m_frame);
    ArmSmokeHook(m_frame);
    return true;
}

int TenvorikApp::OnExit() {
    delete m_docManager;
    m_docManager = nullptr;
    return wxApp::OnExit();
}
