#include "app/RecordTabs.h"

#include <wx/app.h>
#include <wx/menu.h>

#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "model/Resources.h"
#include "platform/ui/WxUiServices.h"

namespace {

constexpr int kFirstRecordEntry = 1000;  // below the ids the program's commands take

}  // namespace

long RecordTabsStyle() {
    return wxAUI_NB_TOP | wxAUI_NB_TAB_MOVE | wxAUI_NB_SCROLL_BUTTONS | wxAUI_NB_CLOSE_ON_ACTIVE_TAB |
           wxAUI_NB_WINDOWLIST_BUTTON;
}

RecordTabArt::RecordTabArt(std::function<void()> windowsDialog) : m_windowsDialog(std::move(windowsDialog)) {}

wxAuiTabArt* RecordTabArt::Clone() {
    auto* art = new RecordTabArt(m_windowsDialog);
    art->SetNormalFont(m_normalFont);
    art->SetSelectedFont(m_selectedFont);
    art->SetMeasuringFont(m_measuringFont);
    return art;
}

int RecordTabArt::ShowDropDown(wxWindow* wnd, const wxAuiNotebookPageArray& pages, int activeIdx) {
    wxMenu menu;
    for (size_t i = 0; i < pages.GetCount(); ++i) {
        // A title the menu would take for an accelerator mark or find empty is shown as it is.
        wxString caption = pages.Item(i).caption;
        caption.Replace(wxS("&"), wxS("&&"));
        if (caption.empty()) caption = wxS(" ");
        menu.AppendCheckItem(kFirstRecordEntry + int(i), caption);
        if (int(i) == activeIdx) menu.Check(kFirstRecordEntry + int(i), true);
    }
    if (menu.GetMenuItemCount() > 0) menu.AppendSeparator();
    const int windows = commands::MenuId(ID_WINDOWS_DIALOG);
    menu.Append(windows, platform::ToWx(LoadResString(132)));
    // Under the button, which stands at the right end of the row.
    const wxRect row = wnd->GetClientRect();
    wxPoint at = wnd->ScreenToClient(wxGetMousePosition());
    at.y = row.GetBottom() + 1;
    const int chosen = wnd->GetPopupMenuSelectionFromUser(menu, at);
    if (chosen == windows) {
        if (m_windowsDialog) wxTheApp->CallAfter(m_windowsDialog);
        return -1;
    }
    if (chosen >= kFirstRecordEntry && chosen < kFirstRecordEntry + int(pages.GetCount())) return chosen - kFirstRecordEntry;
    return -1;
}
