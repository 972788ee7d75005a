// What a confirmed quick-analysis sheet does to the record: the channels the page produced
// are added (or the edited list replaces the old one) and computed, the diagrams are told
// what to show, and a formula that fails leaves the record exactly as it was.
#include <algorithm>

#include "analysis/CalcChannels.h"
#include "document/TenvorikDoc.h"

namespace {

void ToggleFlag(COscillogram& record, const CString& name, uint32_t flag) {
    for (CChannel& ch : record.m_channels)
        if (ch.m_name == name) {
            ch.m_flags ^= flag;
            ch.Recalc();
            return;
        }
}

}  // namespace

void CTenvorikDoc::EnableDiffDiagramValues() {
    SettingsNode& chart = m_settings.GetCategory(L"Diff Chart");
    if (chart.GetInt(L"ViewChannelType", 0) == 1) return;
    chart.SetInt(L"ViewChannelType", 1);
    SetModifiedFlag(true);
}

bool CTenvorikDoc::ApplyQuickAnalysis(const QAnResults& results) {
    // Copied as undo copies it: the channels' data are shared until something changes them.
    COscillogram before = m_oscillogram;
    CalcChannels& list = CalcChannels::Of(m_oscillogram);
    const QAnDiagramOptions& options = results.options;
    auto restore = [&] {
        m_oscillogram = std::move(before);
        return false;
    };

    if (options.listsEdited) {
        const size_t n = std::min(results.names.size(), results.formulas.size());
        const std::vector<CString> kept(results.names.begin(), results.names.begin() + std::ptrdiff_t(n));
        // The channels of rows the user deleted leave the record; the others keep their
        // place and display and take their new values.
        for (size_t i = 0; i < list.GetCount(); ++i) {
            const CString& old = list.GetName(i);
            if (std::find(kept.begin(), kept.end(), old) != kept.end()) continue;
            auto& channels = m_oscillogram.m_channels;
            auto it = std::find_if(channels.begin(), channels.end(),
                                   [&](const CChannel& c) { return c.IsCalculated() && c.m_name == old; });
            if (it != channels.end()) m_oscillogram.RemoveChannelAt(size_t(it - channels.begin()));
        }
        list.FormulaNames() = kept;
        list.m_expressions.assign(results.formulas.begin(), results.formulas.begin() + std::ptrdiff_t(n));
        if (!list.ComputeChannels()) return restore();
        return true;
    }

    // Each produced channel gets a name no channel has, and two items never share one.
    const std::vector<CString> listNames = list.FormulaNames();
    QAnNameSet reserved, vectorSet, circleSet;
    std::vector<CString> unique;
    CString angleChannel = options.angleChannel;
    const size_t n = std::min(results.names.size(), results.formulas.size());
    for (size_t i = 0; i < n; ++i) {
        const CString& name = results.names[i];
        const CString u = MakeUniqueName(m_oscillogram, listNames, reserved, name);
        reserved.insert(u);
        unique.push_back(u);
        if (results.vectorItems.count(name)) vectorSet.insert(u);
        if (results.circleItems.count(name)) circleSet.insert(u);
        if (name == options.angleChannel) angleChannel = u;
    }
    // A pair names the items by the names the page gave them, or channels already there.
    auto renamed = [&](const CString& name) {
        for (size_t i = 0; i < n; ++i)
            if (results.names[i] == name) return unique[i];
        return name;
    };
    std::vector<ChannelPair> pairs;
    for (const QAnNamePair& p : results.diffPairs) pairs.emplace_back(renamed(p.first), renamed(p.second));

    for (size_t i = 0; i < n; ++i) list.Append(unique[i], results.formulas[i]);
    if (!list.ComputeChannels()) return restore();

    for (const CString& name : vectorSet) ToggleFlag(m_oscillogram, name, CHF_VECTOR_DIAGRAM);
    for (const CString& name : circleSet) ToggleFlag(m_oscillogram, name, CHF_CIRCLE_DIAGRAM);

    if (!angleChannel.IsEmpty()) m_settings.GetCategory(L"Vector Chart").SetString(L"AngleChannelName", angleChannel);
    if (options.showAngles) m_settings.GetCategory(L"Vector Chart").SetInt(L"ShowAnglesValue", 1);
    if (options.circleView1 || options.circleView2)
        m_settings.GetCategory(L"Circle Chart").SetInt(L"ViewChannelType", options.circleView2 ? 2 : 1);
    if (!pairs.empty()) {
        for (ChannelPair& p : pairs) m_diffChartPairs.push_back(std::move(p));
        EnableDiffDiagramValues();
    }
    return true;
}
