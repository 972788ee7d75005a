#pragma once
// The windows dialog: the open records, one a line, with buttons that activate the chosen
// record, save the chosen ones and close them. Enter activates (a double click too), Escape
// and "ОК" close the dialog, Tab goes from the list to the buttons.
#include <wx/dialog.h>

#include <functional>
#include <vector>

class wxButton;
class wxDocManager;
class wxDocument;
class wxListBox;

class WindowsDlg : public wxDialog {
public:
    // `records` gives the open records in the order of their tabs.
    WindowsDlg(wxWindow* parent, wxDocManager& manager, std::function<std::vector<wxDocument*>()> records);

    // The records as listed, in the order of their tabs.
    const std::vector<wxDocument*>& Records() const { return m_records; }

private:
    // Lists the records open now, keeping the chosen ones chosen; the active record is chosen
    // when none is.
    void Fill();
    std::vector<wxDocument*> Chosen() const;
    void UpdateButtons();
    void OnActivate(wxCommandEvent&);
    void OnSave(wxCommandEvent&);
    void OnCloseRecords(wxCommandEvent&);

    wxDocManager& m_manager;
    std::function<std::vector<wxDocument*>()> m_source;
    std::vector<wxDocument*> m_records;
    wxListBox* m_list = nullptr;
    wxButton* m_activate = nullptr;
    wxButton* m_save = nullptr;
    wxButton* m_close = nullptr;
};

// True when the save command would save `doc` now: it has changes, or was never saved, and
// the record's kind can be written back under its own name.
bool CanSaveRecord(wxDocument& doc);
