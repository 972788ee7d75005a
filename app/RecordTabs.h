#pragma once
// The records' tab row: a close button on the active tab, and at the right end of the row the
// document menu, which lists the open records (choosing one brings it to the front) and, below
// them, always, the windows dialog.
#include <wx/aui/auibook.h>

#include <functional>

class RecordTabArt : public wxAuiGenericTabArt {
public:
    // `windowsDialog` runs the windows dialog, once the menu is done.
    explicit RecordTabArt(std::function<void()> windowsDialog);
    wxAuiTabArt* Clone() override;
    int ShowDropDown(wxWindow* wnd, const wxAuiNotebookPageArray& pages, int activeIdx) override;

private:
    std::function<void()> m_windowsDialog;
};

// The style of the records' notebook: tabs on top that the mouse may reorder, scroll buttons
// when they do not fit, the close button on the active tab and the document menu.
long RecordTabsStyle();
