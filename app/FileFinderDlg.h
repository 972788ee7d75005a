#pragma once
// The file finder: a modal dialog that searches a folder for records on a worker thread, lists
// them with station, block, date and time, filters and sorts them, and opens or deletes the
// chosen ones.
#include <wx/dialog.h>

#include <atomic>
#include <thread>
#include <vector>

#include "app/FileFinder.h"
#include "app/SmokeHook.h"

class wxCheckBox;
class wxComboBox;
class DayFirstDatePicker;
class wxGenericDirCtrl;
class wxImageList;
class wxListCtrl;
class wxListEvent;
class wxStaticText;

class FileFinder22Dlg : public wxDialog, public SmokeDrivenDialog {
public:
    explicit FileFinder22Dlg(wxWindow* parent);
    ~FileFinder22Dlg() override;

    // The records the user chose to open, full paths in list order; filled on "Открыть файлы".
    const std::vector<CString>& GetChosenFiles() const { return m_chosen; }
    bool IsSearching() const { return m_thread.joinable(); }

    // Waits for the search, then opens the first record listed.
    bool SmokeStep() override;
    std::string SmokeNote() const override;

private:
    void StartSearch();
    void StopSearch();
    void OnSearchDone(unsigned generation, FileFinderResult result);
    void FillCombo(wxComboBox* combo, const std::set<CString>& items, const CString& filter);
    void FillList(bool reset);
    void SetSortMode(int mode);
    void ReadControls();

    void OnChooseFolder(wxCommandEvent&);
    void OnIncludeSubdirs(wxCommandEvent&);
    void OnFilterChanged(wxCommandEvent&);
    void OnDateChanged(wxEvent&);
    void OnColumnClick(wxListEvent& event);
    void OnListActivated(wxListEvent&);
    void OnOpen(wxCommandEvent&);
    void OnCancel(wxCommandEvent&);
    void OnDeleteFiles(wxCommandEvent&);
    void OnClose(wxCloseEvent&);

    CString m_folder;
    bool m_includeSubdirs = false;
    int m_sortMode = 8;
    CString m_stationFilter;
    CString m_blockFilter;
    FileFinderResult m_result;
    std::vector<size_t> m_shown;  // record index of each list row
    std::vector<CString> m_chosen;

    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    unsigned m_generation = 0;  // results of an earlier search are dropped

    wxStaticText* m_folderText = nullptr;
    wxCheckBox* m_subdirs = nullptr;
    wxComboBox* m_station = nullptr;
    wxComboBox* m_block = nullptr;
    DayFirstDatePicker* m_from = nullptr;
    DayFirstDatePicker* m_to = nullptr;
    wxListCtrl* m_list = nullptr;
    wxStaticText* m_searching = nullptr;
    wxGenericDirCtrl* m_tree = nullptr;
    wxImageList* m_images = nullptr;
};
