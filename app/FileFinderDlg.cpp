#include "app/FileFinderDlg.h"

#include <wx/bitmap.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/dateevt.h>
#include <wx/dcmemory.h>
#include <wx/dirctrl.h>
#include <wx/imaglist.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/treectrl.h>
#include <wx/utils.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "app/DayFirstDatePicker.h"
#include "model/Resources.h"
#include "platform/Encoding.h"
#include "platform/FileSystem.h"
#include "platform/Profile.h"
#include "platform/Trash.h"
#include "platform/UiServices.h"
#include "platform/ui/WxUiServices.h"

using platform::FromWx;
using platform::ToWx;

namespace {

constexpr int kIdFrom = 1077, kIdTo = 1078, kIdStation = 1079, kIdBlock = 1080, kIdChoose = 1081, kIdList = 1082,
              kIdSubdirs = 1083, kIdDelete = 3;

enum : unsigned {
    kStrCaption = 9860,
    kStrSubdirs = 9862,
    kStrStation = 9863,
    kStrBlock = 9864,
    kStrFrom = 9865,
    kStrTo = 9866,
    kStrOpen = 9867,
    kStrClose = 9868,
    kStrDelete = 9869,
    kStrChoose = 9870,
    kStrSearching = 9871,
    kStrColumnFirst = 9872,
    kStrChooseFolder = 9877,
    kStrAskTrash = 9878,
    kStrAskDelete = 9879,
    kStrDeleteFailed = 9880,
};

const wchar_t kSection[] = L"FileFinder";

// The list's pictures, 12 x 15: the two sort arrows, a COMTRADE or terminal record, an ".osc".
wxImageList* MakeImages() {
    auto* images = new wxImageList(12, 15, true);
    for (int kind = 0; kind < 4; ++kind) {
        wxBitmap bmp(12, 15);
        {
            wxMemoryDC dc(bmp);
            dc.SetBackground(wxBrush(wxColour(255, 0, 255)));
            dc.Clear();
            dc.SetPen(wxPen(wxColour(80, 80, 80)));
            if (kind < 2) {
                dc.SetBrush(wxBrush(wxColour(80, 80, 80)));
                const wxPoint up[3] = {{6, 4}, {2, 10}, {10, 10}};
                const wxPoint down[3] = {{2, 5}, {10, 5}, {6, 11}};
                dc.DrawPolygon(3, kind == 0 ? up : down);
            } else {
                dc.SetBrush(wxBrush(kind == 2 ? wxColour(255, 255, 255) : wxColour(255, 240, 200)));
                dc.DrawRectangle(1, 1, 10, 13);
                dc.SetPen(wxPen(kind == 2 ? wxColour(0, 110, 200) : wxColour(200, 90, 0)));
                const wxPoint wave[5] = {{2, 8}, {4, 4}, {6, 8}, {8, 12}, {10, 8}};
                dc.DrawLines(5, wave);
            }
        }
        images->Add(bmp, wxColour(255, 0, 255));
    }
    return images;
}

wxDateTime ToDate(int64_t time) { return wxDateTime(time_t(time)); }
int64_t FromDate(const wxDateTime& d) { return d.IsValid() ? int64_t(d.GetTicks()) : 0; }

}  // namespace

FileFinder22Dlg::FileFinder22Dlg(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, ToWx(LoadResString(kStrCaption)), wxDefaultPosition, wxSize(1000, 620),
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER) {
    const platform::Profile& profile = platform::AppProfile();
    m_folder = profile.GetProfileString(kSection, L"Path", platform::HomeFolder());
    m_stationFilter = profile.GetProfileString(kSection, L"StationName");
    m_blockFilter = profile.GetProfileString(kSection, L"StationID");
    m_includeSubdirs = profile.GetProfileInt(kSection, L"IncludeSubdirs", 0) != 0;
    m_sortMode = profile.GetProfileInt(kSection, L"SortMode", 8);
    if (m_stationFilter.IsEmpty()) m_stationFilter = FinderAllText();
    if (m_blockFilter.IsEmpty()) m_blockFilter = FinderAllText();

    auto* top = new wxBoxSizer(wxHORIZONTAL);
    auto* left = new wxBoxSizer(wxVERTICAL);
    left->Add(new wxStaticText(this, wxID_ANY, ToWx(LoadResString(kStrChooseFolder))), 0, wxBOTTOM, 4);
    m_tree = new wxGenericDirCtrl(this, 2167, ToWx(m_folder), wxDefaultPosition, wxSize(240, -1), wxDIRCTRL_DIR_ONLY);
    left->Add(m_tree, 1, wxEXPAND);
    // The folder tree itself takes the keys that Tab or a click brings to its frame, and Tab
    // leads out of it again (the tree would keep it).
    m_tree->Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& e) {
        e.Skip();
        if (wxTreeCtrl* tree = m_tree->GetTreeCtrl()) tree->CallAfter([tree] { tree->SetFocus(); });
    });
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& e) {
        wxWindow* tree = m_tree->GetTreeCtrl();
        if (e.GetKeyCode() == WXK_TAB && !e.ControlDown() && !e.AltDown() && tree && wxWindow::FindFocus() == tree)
            if (wxWindow* to = FindWindow(e.ShiftDown() ? int(wxID_CANCEL) : kIdChoose)) {
                to->SetFocus();
                return;
            }
        e.Skip();
    });
    left->Add(new wxButton(this, kIdChoose, ToWx(LoadResString(kStrChoose))), 0, wxTOP | wxALIGN_RIGHT, 6);
    top->Add(left, 0, wxEXPAND | wxALL, 8);

    auto* right = new wxBoxSizer(wxVERTICAL);
    m_folderText = new wxStaticText(this, 1084, ToWx(m_folder), wxDefaultPosition, wxDefaultSize, wxST_ELLIPSIZE_MIDDLE);
    right->Add(m_folderText, 0, wxEXPAND | wxBOTTOM, 4);
    m_subdirs = new wxCheckBox(this, kIdSubdirs, ToWx(LoadResString(kStrSubdirs)));
    right->Add(m_subdirs, 0, wxBOTTOM, 6);
    auto* filters = new wxBoxSizer(wxHORIZONTAL);
    auto label = [&](unsigned id) {
        filters->Add(new wxStaticText(this, wxID_ANY, ToWx(LoadResString(id))), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
    };
    label(kStrStation);
    m_station = new wxComboBox(this, kIdStation, wxEmptyString, wxDefaultPosition, wxSize(160, -1), 0, nullptr,
                               wxCB_READONLY);
    filters->Add(m_station, 1, wxRIGHT, 8);
    label(kStrBlock);
    m_block = new wxComboBox(this, kIdBlock, wxEmptyString, wxDefaultPosition, wxSize(100, -1), 0, nullptr, wxCB_READONLY);
    filters->Add(m_block, 0, wxRIGHT, 8);
    label(kStrFrom);
    m_from = new DayFirstDatePicker(this, kIdFrom);
    filters->Add(m_from, 0, wxRIGHT, 8);
    label(kStrTo);
    m_to = new DayFirstDatePicker(this, kIdTo);
    filters->Add(m_to, 0);
    right->Add(filters, 0, wxEXPAND | wxBOTTOM, 6);

    m_list = new wxListCtrl(this, kIdList, wxDefaultPosition, wxSize(680, 380), wxLC_REPORT | wxLC_HRULES | wxLC_VRULES);
    m_images = MakeImages();
    m_list->SetImageList(m_images, wxIMAGE_LIST_SMALL);
    // Name and station a third each, block, date and time a ninth, but never narrower than
    // a date or a time needs.
    const int w = m_list->GetSize().GetWidth() - 30;
    const int fit = m_list->GetTextExtent(wxS("00/00/0000")).GetWidth() + 16;
    const int widths[5] = {w / 3, w / 3, std::max(w / 9, fit), std::max(w / 9, fit), std::max(w / 9, fit)};
    for (int c = 0; c < 5; ++c) m_list->AppendColumn(ToWx(LoadResString(kStrColumnFirst + c)), wxLIST_FORMAT_LEFT, widths[c]);
    right->Add(m_list, 1, wxEXPAND);
    m_searching = new wxStaticText(this, 1094, ToWx(LoadResString(kStrSearching)));
    right->Add(m_searching, 0, wxTOP, 4);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(new wxButton(this, kIdDelete, ToWx(LoadResString(kStrDelete))), 0);
    buttons->AddStretchSpacer();
    buttons->Add(new wxButton(this, wxID_OK, ToWx(LoadResString(kStrOpen))), 0, wxRIGHT, 8);
    buttons->Add(new wxButton(this, wxID_CANCEL, ToWx(LoadResString(kStrClose))), 0);
    right->Add(buttons, 0, wxEXPAND | wxTOP, 8);
    top->Add(right, 1, wxEXPAND | wxALL, 8);
    SetSizer(top);
    Layout();
    CentreOnParent();

    Bind(wxEVT_BUTTON, &FileFinder22Dlg::OnChooseFolder, this, kIdChoose);
    Bind(wxEVT_CHECKBOX, &FileFinder22Dlg::OnIncludeSubdirs, this, kIdSubdirs);
    Bind(wxEVT_COMBOBOX, &FileFinder22Dlg::OnFilterChanged, this, kIdStation);
    Bind(wxEVT_COMBOBOX, &FileFinder22Dlg::OnFilterChanged, this, kIdBlock);
    Bind(wxEVT_DATE_CHANGED, &FileFinder22Dlg::OnDateChanged, this, kIdFrom);
    Bind(wxEVT_DATE_CHANGED, &FileFinder22Dlg::OnDateChanged, this, kIdTo);
    Bind(wxEVT_LIST_COL_CLICK, &FileFinder22Dlg::OnColumnClick, this, kIdList);
    Bind(wxEVT_LIST_ITEM_ACTIVATED, &FileFinder22Dlg::OnListActivated, this, kIdList);
    Bind(wxEVT_BUTTON, &FileFinder22Dlg::OnOpen, this, wxID_OK);
    Bind(wxEVT_BUTTON, &FileFinder22Dlg::OnCancel, this, wxID_CANCEL);
    Bind(wxEVT_BUTTON, &FileFinder22Dlg::OnDeleteFiles, this, kIdDelete);
    Bind(wxEVT_CLOSE_WINDOW, &FileFinder22Dlg::OnClose, this);

    StartSearch();
    m_subdirs->SetValue(m_includeSubdirs);
    // The dialog opens with the keys in the folder tree, its first place.
    CallAfter([this] {
        if (wxTreeCtrl* tree = m_tree->GetTreeCtrl()) tree->SetFocus();
    });
    // The dialog always opens with the date column marked, whatever was stored.
    SetSortMode(6);
}

FileFinder22Dlg::~FileFinder22Dlg() {
    StopSearch();
    platform::Profile& profile = platform::AppProfile();
    const CString section(kSection);
    profile.WriteProfileString(section, CString(L"Path"), m_folder);
    profile.WriteProfileString(section, CString(L"StationName"), m_stationFilter);
    profile.WriteProfileString(section, CString(L"StationID"), m_blockFilter);
    profile.WriteProfileInt(kSection, L"IncludeSubdirs", m_includeSubdirs ? 1 : 0);
    profile.WriteProfileInt(kSection, L"SortMode", m_sortMode);
    m_list->SetImageList(nullptr, wxIMAGE_LIST_SMALL);
    delete m_images;
}

void FileFinder22Dlg::StopSearch() {
    m_stop = true;
    // The worker never waits for this thread, so the join always ends.
    if (m_thread.joinable()) m_thread.join();
    m_stop = false;
}

void FileFinder22Dlg::StartSearch() {
    StopSearch();
    m_result = FileFinderResult();
    m_shown.clear();
    m_folderText->SetLabel(ToWx(m_folder));
    m_list->DeleteAllItems();
    m_list->Enable(false);
    m_searching->Show(true);
    Layout();
    const unsigned generation = ++m_generation;
    m_thread = std::thread([this, generation, folder = m_folder, sub = m_includeSubdirs] {
        FileFinderResult result;
        WalkFinderFolder(folder, sub, m_stop, result);
        if (m_stop) return;
        // The records belong to the worker until here; the window takes them on its own thread.
        CallAfter([this, generation, r = std::move(result)]() mutable { OnSearchDone(generation, std::move(r)); });
    });
}

void FileFinder22Dlg::OnSearchDone(unsigned generation, FileFinderResult result) {
    if (generation != m_generation) return;
    if (m_thread.joinable()) m_thread.join();
    m_result = std::move(result);
    FillCombo(m_station, m_result.stations, m_stationFilter);
    FillCombo(m_block, m_result.blocks, m_blockFilter);
    FillList(true);
    // The marked column tells the order, so the rows follow it.
    SetSortMode(m_sortMode);
    m_list->Enable(true);
    m_searching->Show(false);
    Layout();
}

void FileFinder22Dlg::FillCombo(wxComboBox* combo, const std::set<CString>& items, const CString& filter) {
    combo->Clear();
    combo->Append(ToWx(FinderAllText()));
    int selected = 0;
    for (const CString& item : items) {
        const int at = combo->Append(ToWx(item));
        if (selected == 0 && item.CompareNoCase(filter) == 0) selected = at;
    }
    combo->SetSelection(selected);
}

void FileFinder22Dlg::ReadControls() {
    m_includeSubdirs = m_subdirs->GetValue();
    if (m_station->GetSelection() != wxNOT_FOUND) m_stationFilter = FromWx(m_station->GetValue());
    if (m_block->GetSelection() != wxNOT_FOUND) m_blockFilter = FromWx(m_block->GetValue());
}

void FileFinder22Dlg::FillList(bool reset) {
    ReadControls();
    if (reset && !m_result.records.empty()) {
        m_from->SetDate(ToDate(m_result.earliest));
        m_to->SetDate(ToDate(m_result.latest));
    }
    // The "С:" picker holds a day: every record of that day counts in.
    const int64_t from = reset ? m_result.earliest : FromDate(wxDateTime(m_from->GetDate()).ResetTime());
    const int64_t to = FromDate(m_to->GetDate());
    m_shown = FilterFoundRecords(m_result.records, m_stationFilter, m_blockFilter, from, to);
    m_list->DeleteAllItems();
    for (size_t row = 0; row < m_shown.size(); ++row) {
        const FoundFileRecord& r = m_result.records[m_shown[row]];
        const long item = m_list->InsertItem(long(row), ToWx(r.name), r.isOsc ? 3 : 2);
        m_list->SetItem(item, 1, ToWx(r.station));
        m_list->SetItem(item, 2, ToWx(r.block));
        m_list->SetItem(item, 3, ToWx(FinderDateText(r.time)));
        m_list->SetItem(item, 4, ToWx(FinderTimeText(r.time)));
        m_list->SetItemData(item, long(m_shown[row]));
    }
}

void FileFinder22Dlg::SetSortMode(int mode) {
    m_sortMode = mode;
    // Rows are rewritten in the new order, their record index kept as item data.
    SortFoundRecords(m_shown, m_result.records, mode);
    for (size_t row = 0; row < m_shown.size(); ++row) {
        const FoundFileRecord& r = m_result.records[m_shown[row]];
        m_list->SetItem(long(row), 0, ToWx(r.name), r.isOsc ? 3 : 2);
        m_list->SetItem(long(row), 1, ToWx(r.station));
        m_list->SetItem(long(row), 2, ToWx(r.block));
        m_list->SetItem(long(row), 3, ToWx(FinderDateText(r.time)));
        m_list->SetItem(long(row), 4, ToWx(FinderTimeText(r.time)));
        m_list->SetItemData(long(row), long(m_shown[row]));
    }
    for (int c = 0; c < 5; ++c) {
        wxListItem column;
        column.SetMask(wxLIST_MASK_IMAGE);
        column.SetImage(mode >= 0 && mode <= 9 && c == mode / 2 ? mode % 2 : -1);
        m_list->SetColumn(c, column);
    }
}

void FileFinder22Dlg::OnChooseFolder(wxCommandEvent&) {
    const CString chosen = FromWx(m_tree->GetPath());
    if (chosen.IsEmpty() || chosen == m_folder) return;
    m_folder = chosen;
    ReadControls();
    StartSearch();
}

void FileFinder22Dlg::OnIncludeSubdirs(wxCommandEvent&) {
    ReadControls();
    StartSearch();
}

void FileFinder22Dlg::OnFilterChanged(wxCommandEvent&) {
    if (IsSearching()) return;
    FillList(false);
    SetSortMode(m_sortMode);
}

void FileFinder22Dlg::OnDateChanged(wxEvent&) {
    if (IsSearching()) return;
    FillList(false);
    SetSortMode(m_sortMode);
}

void FileFinder22Dlg::OnColumnClick(wxListEvent& event) { SetSortMode(NextSortMode(m_sortMode, event.GetColumn())); }

void FileFinder22Dlg::OnListActivated(wxListEvent&) {
    if (m_list->GetSelectedItemCount() > 0) {
        wxCommandEvent open(wxEVT_BUTTON, wxID_OK);
        OnOpen(open);
    }
}

void FileFinder22Dlg::OnOpen(wxCommandEvent&) {
    StopSearch();
    ReadControls();
    m_chosen.clear();
    for (long item = m_list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); item != -1;
         item = m_list->GetNextItem(item, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        m_chosen.push_back(platform::JoinPath(m_folder, FromWx(m_list->GetItemText(item))));
    EndModal(wxID_OK);
}

void FileFinder22Dlg::OnCancel(wxCommandEvent&) {
    StopSearch();
    ReadControls();
    EndModal(wxID_CANCEL);
}

void FileFinder22Dlg::OnClose(wxCloseEvent&) {
    wxCommandEvent cancel(wxEVT_BUTTON, wxID_CANCEL);
    OnCancel(cancel);
}

void FileFinder22Dlg::OnDeleteFiles(wxCommandEvent&) {
    std::vector<CString> files;
    for (long item = m_list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); item != -1;
         item = m_list->GetNextItem(item, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) {
        for (const CString& f : RecordFilesToDelete(platform::JoinPath(m_folder, FromWx(m_list->GetItemText(item)))))
            files.push_back(f);
    }
    if (files.empty()) return;
    // With Shift held the files go for good, as the desktop's own delete does.
    const bool forGood = wxGetKeyState(WXK_SHIFT);
    CString question;
    question.Format(LoadResString(forGood ? kStrAskDelete : kStrAskTrash), int(files.size()));
    if (platform::Ui().MessageBox(question, LoadResString(kStrCaption), MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    for (const CString& f : files) {
        int err = 0;
        const bool ok = forGood ? platform::RemoveFile(f, &err) : platform::MoveToTrash(f, &err);
        if (!ok) {
            CString message;
            message.Format(LoadResString(kStrDeleteFailed), f.GetString(),
                           CString(platform::Utf8ToWide(std::strerror(err))).GetString());
            platform::Ui().MessageBox(message, LoadResString(kStrCaption), MB_OK | MB_ICONERROR);
            break;
        }
    }
    // What went is gone from the folder, what failed is still there: a new search shows which.
    StartSearch();
}

bool FileFinder22Dlg::SmokeStep() {
    if (IsSearching()) return false;
    if (m_list->GetItemCount() > 0) m_list->SetItemState(0, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    wxCommandEvent open(wxEVT_BUTTON, wxID_OK);
    OnOpen(open);
    return true;
}

std::string FileFinder22Dlg::SmokeNote() const {
    // The dates as the user reads them: the pickers and the first row of the list.
    std::string note = "|from=" + std::string(m_from->GetValue().utf8_str().data()) +
                       "|to=" + std::string(m_to->GetValue().utf8_str().data());
    if (m_list->GetItemCount() > 0) note += "|date=" + std::string(m_list->GetItemText(0, 3).utf8_str().data());
    return note;
}
