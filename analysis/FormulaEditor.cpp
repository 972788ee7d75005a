#include "analysis/FormulaEditor.h"

#include <algorithm>
#include <string>

#include "analysis/FormulaBuilder.h"
#include "model/Oscillogram.h"
#include "model/Resources.h"

namespace {

constexpr unsigned kStrProposedName = 3242;
constexpr unsigned kStrNameExists = 473;

}  // namespace

FormulaEditorModel::FormulaEditorModel(const COscillogram* record, const CalcChannels& documentList)
    : m_record(record) {
    for (size_t i = 0; i < documentList.GetCount(); ++i) {
        m_documentNames.push_back(documentList.GetName(i));
        m_rows.push_back({documentList.GetName(i), documentList.GetExpression(i)});
    }
}

void FormulaEditorModel::GetFormulas(std::vector<CString>& out) {
    out.clear();
    for (const FormulaRow& r : m_rows) out.push_back(r.formula);
}

void FormulaEditorModel::GetChannelNames(std::vector<CString>& out) {
    out.clear();
    for (const FormulaRow& r : m_rows) out.push_back(r.name);
}

QAnDiagramOptions FormulaEditorModel::GetDiagramOptions() {
    QAnDiagramOptions options;
    options.listsEdited = true;
    return options;
}

CString FormulaEditorModel::ProposedName() const {
    long long largest = 0;
    for (const FormulaRow& r : m_rows) {
        const std::wstring& s = r.name.str();
        size_t start = s.size();
        while (start > 0 && s[start - 1] >= L'0' && s[start - 1] <= L'9') --start;
        // Long runs of digits are no number a user counts by.
        if (start == s.size() || s.size() - start > 9) continue;
        largest = std::max(largest, std::stoll(s.substr(start)));
    }
    CString name;
    name.Format(LoadResString(kStrProposedName).GetString(), int(largest + 1));
    return name;
}

std::vector<CString> FormulaEditorModel::NamesExcept(int row) const {
    std::vector<CString> names;
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (int(i) != row) names.push_back(m_rows[i].name);
    return names;
}

void FormulaEditorModel::Append(const CString& name, const CString& formula) {
    m_rows.push_back({name, formula});
    m_selected = int(m_rows.size()) - 1;
    m_modified = true;
}

void FormulaEditorModel::RemoveSelected() {
    if (m_selected < 0 || size_t(m_selected) >= m_rows.size()) return;
    m_rows.erase(m_rows.begin() + m_selected);
    if (size_t(m_selected) >= m_rows.size()) m_selected = int(m_rows.size()) - 1;
    m_modified = true;
}

void FormulaEditorModel::RemoveAll() {
    if (m_rows.empty()) return;
    m_rows.clear();
    m_selected = -1;
    m_modified = true;
}

void FormulaEditorModel::MoveUp() {
    if (m_selected <= 0 || size_t(m_selected) >= m_rows.size()) return;
    std::swap(m_rows[size_t(m_selected)], m_rows[size_t(m_selected) - 1]);
    --m_selected;
    m_modified = true;
}

void FormulaEditorModel::MoveDown() {
    if (m_selected < 0 || size_t(m_selected) + 1 >= m_rows.size()) return;
    std::swap(m_rows[size_t(m_selected)], m_rows[size_t(m_selected) + 1]);
    ++m_selected;
    m_modified = true;
}

bool FormulaEditorModel::IsNameOfRecordChannel(const CString& name) const {
    if (!m_record) return false;
    // The channels the list itself made are free to be named again: the list is replaced whole.
    for (const CChannel& ch : m_record->m_channels)
        if (ch.GetName() == name && !(ch.IsCalculated() && std::count(m_documentNames.begin(), m_documentNames.end(), name)))
            return true;
    return false;
}

unsigned FormulaEditorModel::EditCell(int row, int column, const CString& text) {
    if (row < 0 || size_t(row) >= m_rows.size() || column < 0 || column > 1) return 0;
    FormulaRow& r = m_rows[size_t(row)];
    CString& cell = column == 0 ? r.name : r.formula;
    if (cell == text) return 0;
    if (column == 0) {
        if (unsigned reason = CheckChannelNameText(text)) return reason;
        const std::vector<CString> others = NamesExcept(row);
        if (IsNameOfRecordChannel(text) || std::count(others.begin(), others.end(), text)) return kStrNameExists;
    }
    cell = text;
    m_modified = true;
    return 0;
}

CalcChannels FormulaEditorModel::WorkingList() const {
    CalcChannels list(nullptr);
    for (const FormulaRow& r : m_rows) list.Append(r.name, r.formula);
    return list;
}

void FormulaEditorModel::TakeRows(const CalcChannels& list) {
    m_rows.clear();
    for (size_t i = 0; i < list.GetCount(); ++i) m_rows.push_back({list.GetName(i), list.GetExpression(i)});
    m_selected = m_rows.empty() ? -1 : 0;
    m_modified = true;
}

size_t FormulaEditorModel::ImportFile(const CString& path) {
    CalcChannels list(nullptr);
    const size_t skipped = list.ImportFormulaFile(path);
    TakeRows(list);
    return skipped;
}

void FormulaEditorModel::ExportFile(const CString& path) const { WorkingList().ExportFormulaFile(path); }

void FormulaEditorModel::ImportList() {
    CalcChannels list = WorkingList();
    const size_t before = list.GetCount();
    list.ImportFormulaList();
    // A cancelled or failed import leaves the list as it was.
    bool same = list.GetCount() == before;
    for (size_t i = 0; same && i < before; ++i)
        same = list.GetName(i) == m_rows[i].name && list.GetExpression(i) == m_rows[i].formula;
    if (!same) TakeRows(list);
}

void FormulaEditorModel::ExportList() { WorkingList().ExportFormulaList(); }
