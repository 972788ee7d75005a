#pragma once
// The file finder's work without its window: the walk over a folder for records, the header
// readers that describe each record, the filters, the sort orders and the companion files of a
// record. Plain functions, so that the dialog stays a thin window over them.
#include <atomic>
#include <cstdint>
#include <set>
#include <vector>

#include "platform/CString.h"

// One record found: its path relative to the search folder, the station and recorder named in
// its header, the local time of its first sample (seconds since the epoch) and its kind.
struct FoundFileRecord {
    CString name;
    CString station;
    CString block;
    int64_t time = 0;
    bool isOsc = false;
};

// Everything one search found, in the order found, with the distinct stations and blocks and
// the earliest and latest times.
struct FileFinderResult {
    std::vector<FoundFileRecord> records;
    std::set<CString> stations;
    std::set<CString> blocks;
    int64_t earliest = 0;
    int64_t latest = 0;

    void Add(FoundFileRecord record);
};

// Local time of a calendar moment, as the finder stores and shows it.
int64_t LocalTimeOf(int year, int month, int day, int hour, int minute, int second);
// "%d/%m/%Y" and "%H:%M:%S" of a stored time.
CString FinderDateText(int64_t time);
CString FinderTimeText(int64_t time);

// The header of a COMTRADE configuration (a ".cff" has one line before it): station and block
// of the first line, the time of the first sample. False when the file cannot be read or its
// date and time are not there. `name` stays empty; the caller sets it.
bool ReadComtradeInfo(const CString& path, bool singleFile, FoundFileRecord& record);
// The header of an "OSC2" record. False when the file is too short or cannot be read.
bool ReadOscInfo(const CString& path, FoundFileRecord& record);
// A terminal record, described through its conversion to COMTRADE in a temporary folder, which
// is removed again. False when the conversion fails.
bool ReadStoInfo(const CString& path, FoundFileRecord& record);

// Walks `folder` (and its sub-folders when asked) and describes every ".cfg", ".cff", ".osc"
// and ".sto" in it. Links are never followed, so a link loop cannot hold the walk; unreadable
// folders and files are skipped. Polls `stop` before each folder and each file.
void WalkFinderFolder(const CString& folder, bool includeSubfolders, const std::atomic<bool>& stop,
                      FileFinderResult& result);

// The filter "Все" (all) of the station and block lists.
CString FinderAllText();

// Indices of the records shown for these filters: station and block equal to the filter or the
// filter "Все", and from <= time <= the midnight after `toDay`, in the order found.
std::vector<size_t> FilterFoundRecords(const std::vector<FoundFileRecord>& records, const CString& station,
                                       const CString& block, int64_t from, int64_t toDay);
// The start of the day after the day of `time` (local time).
int64_t NextMidnight(int64_t time);

// Orders record indices by sort mode 0..9 (column mode / 2, even ascending, odd descending);
// another mode orders by index. Equal keys keep their order.
void SortFoundRecords(std::vector<size_t>& shown, const std::vector<FoundFileRecord>& records, int mode);
// The mode a click on column `column` gives after mode `current`.
int NextSortMode(int current, int column);

// The files that go with the record at `path` when it is deleted: the record first, then its
// companions that exist.
std::vector<CString> RecordFilesToDelete(const CString& path);
