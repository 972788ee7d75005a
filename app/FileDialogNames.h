#pragma once
// The record file dialog without its window: which filters it offers and how the name the
// user chose is given the extension of the chosen filter.
#include <vector>

#include "platform/CString.h"

namespace filedlg {

// String id of the filter list: the open dialog offers every record kind; the save dialog
// offers the formats the current record can be written in, chosen by its extension.
unsigned FilterStringId(bool open, const CString& currentName);

// The filter strings the dialog offers, in order: the list of FilterStringId, followed in the
// save dialog by the ".zip" packing unless that is the list already.
std::vector<unsigned> FilterStringIds(bool open, const CString& currentName);

// Extensions of the save filters, in filter order.
std::vector<CString> SaveExtensions(const CString& currentName);

// The name proposed by the save dialog: ".osc" and ".sto" become ".cfg", then the extension
// is dropped so that the chosen filter supplies it: folder "/" title, or the title alone when
// the name has no folder.
CString ProposedSaveName(const CString& currentName);

// The name to save to, given the name the user left in the dialog and the filter selected
// (counted from 0): a name ending in the selected filter's extension is kept, one ending in
// another save extension gets the selected one in its place, any other gets it appended. A
// filter index outside the list keeps the name.
CString FixSaveName(const CString& chosen, const std::vector<CString>& extensions, int selectedFilter);

// Where the save dialog of a file made from the record (the fault-location report) starts:
// the record's folder, and the record's name with `ext` ("txt") in place of its extension.
// Both empty for a record without a path.
void ReportSavePlace(const CString& recordPath, const CString& ext, CString& folder, CString& name);

// A filter resource ("text|pattern|text|pattern") split into (text, pattern) pairs.
std::vector<std::pair<CString, CString>> SplitFilter(const CString& filter);

}  // namespace filedlg
