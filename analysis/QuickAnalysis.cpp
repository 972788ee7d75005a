#include "analysis/QuickAnalysis.h"

#include <climits>

#include "analysis/CalcChannels.h"
#include "model/Oscillogram.h"
#include "model/Resources.h"
#include "model/SettingsStore.h"

namespace {

constexpr unsigned kStrNoChannel = 191;

const CString kChannelName = L"channelName";

}  // namespace

ArgumentControls& CQAnPropPg::Controls() {
    static ArgumentControlMap none;
    return m_filler.window ? *m_filler.window : none;
}

CString CQAnPropPg::UniqueName(const CString& name) const {
    if (!m_record) return name;
    return MakeUniqueName(*m_record, CalcChannels::Of(*m_record).FormulaNames(), QAnNameSet(), name);
}

void CollectResults(CQAnPropPg& page, QAnResults& results) {
    if (results.collected) return;
    page.GetFormulas(results.formulas);
    page.GetChannelNames(results.names);
    page.GetVectorDiagramItems(results.vectorItems);
    page.GetCircleDiagramItems(results.circleItems);
    results.options = page.GetDiagramOptions();
    page.GetDiffPairs(results.diffPairs);
    results.collected = true;
}

void RestoreComboSelection(ArgumentControls& controls, SettingsNode& category, int id, const CString& key,
                           bool bySubCategory) {
    const CString stored =
        bySubCategory ? category.GetSubCategory(key).GetString(kChannelName, CString()) : category.GetString(key, CString());
    if (stored.IsEmpty() || !controls.HasControl(id)) return;
    const std::vector<CString> entries = controls.GetChoices(id);
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i] == stored) {
            controls.SetChoices(id, entries, int(i));
            return;
        }
}

void SaveComboSelection(ArgumentControls& controls, SettingsNode& category, int id, const CString& key,
                        bool bySubCategory) {
    const CString chosen = controls.HasControl(id) ? controls.GetText(id) : CString();
    if (bySubCategory)
        category.GetSubCategory(key).SetString(kChannelName, chosen);
    else
        category.SetString(key, chosen);
}

bool RestoreCheck(ArgumentControls& controls, SettingsNode& category, const CString& key, int id) {
    const int value = category.GetInt(key, INT_MAX);
    if (value == INT_MAX) return false;
    if (controls.HasControl(id)) controls.SetCheck(id, value != 0);
    return value != 0;
}

void RestoreEditText(ArgumentControls& controls, SettingsNode& category, int id, const CString& key) {
    const CString stored = category.GetString(key, CString());
    if (!stored.IsEmpty() && controls.HasControl(id)) controls.SetText(id, stored);
}

void SaveEditText(ArgumentControls& controls, SettingsNode& category, int id, const CString& key) {
    category.SetString(key, controls.HasControl(id) ? controls.GetText(id) : CString());
}

bool IsChannelPresent(ArgumentControls& controls, int id) {
    return controls.GetText(id) != LoadResString(kStrNoChannel);
}

bool IsNameFree(const COscillogram& record, const std::vector<CString>& listNames, const QAnNameSet& reserved,
                const CString& name) {
    for (const CChannel& ch : record.m_channels)
        if (ch.GetName().CompareNoCase(name.GetString()) == 0) return false;
    for (const CString& n : listNames)
        if (n.CompareNoCase(name.GetString()) == 0) return false;
    for (const CString& n : reserved)
        if (n.CompareNoCase(name.GetString()) == 0) return false;
    return true;
}

CString MakeUniqueName(const COscillogram& record, const std::vector<CString>& listNames, const QAnNameSet& reserved,
                       const CString& name) {
    if (IsNameFree(record, listNames, reserved, name)) return name;
    for (int n = 2;; ++n) {
        CString candidate;
        candidate.Format(L"%s_%d", name.GetString(), n);
        if (IsNameFree(record, listNames, reserved, candidate)) return candidate;
    }
}
