#include "app/FileDialogNames.h"

#include <algorithm>

namespace filedlg {
namespace {

CString LowerExt(const CString& name) {
    if (name.GetLength() < 4) return CString();
    CString ext = name.Right(4);
    ext.MakeLower();
    return ext;
}

}  // namespace

unsigned FilterStringId(bool open, const CString& currentName) {
    if (open) return 328;
    CString ext = LowerExt(currentName);
    if (ext == L".osc") return 394;
    if (ext == L".zip") return 399;
    return 569;
}

std::vector<unsigned> FilterStringIds(bool open, const CString& currentName) {
    const unsigned first = FilterStringId(open, currentName);
    if (open || first == 399) return {first};
    return {first, 399};
}

std::vector<CString> SaveExtensions(const CString& currentName) {
    CString ext = LowerExt(currentName);
    if (ext == L".osc") return {CString(L".cfg"), CString(L".osc"), CString(L".zip")};
    if (ext == L".zip") return {CString(L".zip")};
    return {CString(L".cfg"), CString(L".cff"), CString(L".zip")};
}

CString ProposedSaveName(const CString& currentName) {
    CString name = currentName;
    CString ext = LowerExt(name);
    if (ext == L".osc" || ext == L".sto") name = name.Left(name.GetLength() - 4) + L".cfg";
    int slash = name.ReverseFind(L'/');
    CString folder = slash >= 0 ? name.Left(slash) : CString();
    CString file = slash >= 0 ? name.Mid(slash + 1) : name;
    int dot = file.ReverseFind(L'.');
    CString title = dot >= 0 ? file.Left(dot) : file;
    if (slash < 0) return title;
    return folder + L"/" + title;
}

CString FixSaveName(const CString& chosen, const std::vector<CString>& extensions, int selectedFilter) {
    if (selectedFilter < 0 || size_t(selectedFilter) >= extensions.size()) return chosen;
    const CString& wanted = extensions[size_t(selectedFilter)];
    CString lower = chosen;
    lower.MakeLower();
    for (size_t i = 0; i < extensions.size(); ++i) {
        const CString& ext = extensions[i];
        if (lower.GetLength() < ext.GetLength() || lower.Right(ext.GetLength()) != ext) continue;
        if (int(i) == selectedFilter) return chosen;
        return chosen.Left(chosen.GetLength() - ext.GetLength()) + wanted;
    }
    return chosen + wanted;
}

void ReportSavePlace(const CString& recordPath, const CString& ext, CString& folder, CString& name) {
    folder.Empty();
    name.Empty();
    if (recordPath.IsEmpty()) return;
    const int slash = std::max(recordPath.ReverseFind(L'/'), recordPath.ReverseFind(L'\\'));
    if (slash >= 0) folder = slash == 0 ? CString(L"/") : recordPath.Left(slash);
    const CString file = recordPath.Mid(slash + 1);
    const int dot = file.ReverseFind(L'.');
    name = (dot > 0 ? file.Left(dot) : file) + L"." + ext;
}

std::vector<std::pair<CString, CString>> SplitFilter(const CString& filter) {
    std::vector<CString> parts;
    int start = 0;
    for (;;) {
        int bar = filter.Find(L'|', start);
        if (bar < 0) {
            parts.push_back(filter.Mid(start));
            break;
        }
        parts.push_back(filter.Mid(start, bar - start));
        start = bar + 1;
    }
    std::vector<std::pair<CString, CString>> result;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) result.emplace_back(parts[i], parts[i + 1]);
    return result;
}

}  // namespace filedlg
