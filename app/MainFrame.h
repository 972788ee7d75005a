#pragma once
#include <wx/docmdi.h>

class wxRibbonBar;

// The multi-document main window: ribbon on top, documents as tabs, status bar below.
class CMainFrame : public wxDocMDIParentFrame {
public:
    explicit CMainFrame(wxDocManager* manager);

    wxRibbonBar* GetRibbon() const { return m_ribbon; }

private:
    wxRibbonBar* m_ribbon = nullptr;
};
