#include "diagrams/VectorDiagramWnd.h"

#include <algorithm>

#include "document/TenvorikDoc.h"
#include "model/Channel.h"
#include "model/Resources.h"
#include "platform/Exception.h"

namespace {

const wchar_t* const kCategory = L"Vector Chart";

}  // namespace

void VectorDiagramWnd::LoadSettings() {
    if (CTenvorikDoc* doc = GetActiveDocument()) {
        SettingsNode& node = doc->m_settings.GetCategory(kCategory);
        m_angleChannelName = node.GetString(L"AngleChannelName", CString());
        m_angleInRadians = node.GetInt(L"AngleInRadians", 0) == 1;
        m_onlyDirection = node.GetInt(L"OnlyDirection", 0) == 1;
        m_showAnglesValue = node.GetInt(L"ShowAnglesValue", 0) == 1;
        // One rule for the menu and for this check (letter case ignored), so that a channel
        // the user chose in the menu is not dropped again here.
        COscillogram& osc = doc->GetOscillogram();
        for (int i = 0; i < osc.m_analogCount && size_t(i) < osc.m_channels.size(); ++i) {
            CChannel& ch = osc.m_channels[size_t(i)];
            if ((ch.m_flags & CHF_VECTOR_DIAGRAM) && !IsEligibleForMenu(ch)) ch.m_flags &= ~uint32_t(CHF_VECTOR_DIAGRAM);
        }
    }
    Invalidate();
}

bool VectorDiagramWnd::IsEligibleForMenu(const CChannel& ch) {
    const CString unit = ch.GetUnitText();
    return unit.IsEmpty() || unit.CompareNoCase(L"A") == 0 || unit.CompareNoCase(L"V") == 0 ||
           unit.CompareNoCase(LoadResString(162).GetString()) == 0;
}

void VectorDiagramWnd::FlipOption(bool& option, const wchar_t* key) {
    option = !option;
    if (CTenvorikDoc* doc = GetActiveDocument()) {
        doc->m_settings.GetCategory(kCategory).SetInt(key, option ? 1 : 0);
        doc->SetModifiedFlag(true);
    }
    Invalidate();
}

void VectorDiagramWnd::SetAngleChannelName(const CString& name) {
    m_angleChannelName = name;
    if (CTenvorikDoc* doc = GetActiveDocument()) doc->m_settings.GetCategory(kCategory).SetString(L"AngleChannelName", name);
}

bool VectorDiagramWnd::OnCommand(unsigned id) {
    switch (id) {
        case ID_VECTOR_RADIANS: FlipOption(m_angleInRadians, L"AngleInRadians"); return true;
        case ID_VECTOR_ONLY_DIRECTION:
        case ID_VECTOR_TB_ONLY_DIRECTION: FlipOption(m_onlyDirection, L"OnlyDirection"); return true;
        case ID_VECTOR_SHOW_VALUES:
        case ID_VECTOR_TB_SHOW_VALUES: FlipOption(m_showAnglesValue, L"ShowAnglesValue"); return true;
        default: break;
    }
    CTenvorikDoc* doc = GetActiveDocument();
    if (id == ID_VECTOR_SHOW_ALL || id == ID_VECTOR_HIDE_ALL) {
        if (!doc) return true;
        COscillogram& osc = doc->GetOscillogram();
        for (int i = 0; i < osc.m_analogCount && size_t(i) < osc.m_channels.size(); ++i) {
            CChannel& ch = osc.m_channels[size_t(i)];
            if (id == ID_VECTOR_HIDE_ALL)
                ch.m_flags &= ~uint32_t(CHF_VECTOR_DIAGRAM);
            else if (IsEligibleForMenu(ch))
                ch.m_flags |= CHF_VECTOR_DIAGRAM;
        }
        doc->SetModifiedFlag(true);
        Invalidate();
        return true;
    }
    if (id >= ID_VECTOR_CHANNEL_FIRST && id < ID_VECTOR_CHANNEL_FIRST + kVectorMenuChannels) {
        if (!doc) return true;
        const unsigned i = id - ID_VECTOR_CHANNEL_FIRST;
        COscillogram& osc = doc->GetOscillogram();
        if (i < unsigned(std::max(0, osc.m_analogCount)) && i < osc.m_channels.size()) {
            CChannel& ch = osc.m_channels[i];
            ch.m_flags ^= CHF_VECTOR_DIAGRAM;
            try {
                ch.Recalc();
            } catch (CException* e) {
                PostExceptionToMainFrame(e);
            }
        }
        doc->SetModifiedFlag(true);
        Invalidate();
        return true;
    }
    if (id >= ID_VECTOR_REFERENCE_FIRST && id < ID_VECTOR_REFERENCE_FIRST + kVectorMenuChannels) {
        if (!doc) return true;
        const unsigned k = id - ID_VECTOR_REFERENCE_FIRST;
        const COscillogram& osc = doc->GetOscillogram();
        if (k == 0)
            m_angleChannelName.Empty();
        else if (k <= unsigned(std::max(0, osc.m_analogCount)) && k <= osc.m_channels.size())
            m_angleChannelName = osc.m_channels[k - 1].GetName();
        SetAngleChannelName(m_angleChannelName);
        doc->SetModifiedFlag(true);
        Invalidate();
        return true;
    }
    return false;
}

void VectorDiagramWnd::OnUpdateCommand(CCmdUI& ui) {
    CTenvorikDoc* doc = GetActiveDocument();
    const unsigned id = ui.m_nID;
    switch (id) {
        case ID_VECTOR_RADIANS: ui.SetCheck(m_angleInRadians); return;
        case ID_VECTOR_ONLY_DIRECTION: ui.SetCheck(m_onlyDirection); return;
        // The table's switch shows what the pane shows: where the table has no room it is
        // off and cannot be turned on until the pane grows.
        case ID_VECTOR_SHOW_VALUES:
            ui.Enable(m_layout.tableFits);
            ui.SetCheck(m_showAnglesValue && m_layout.tableFits);
            return;
        case ID_VECTOR_TB_CHANNELS:
        case ID_VECTOR_TB_REFERENCE: ui.Enable(doc != nullptr); return;
        case ID_VECTOR_TB_SHOW_VALUES:
            ui.Enable(doc && m_layout.tableFits);
            ui.SetCheck(doc && m_showAnglesValue && m_layout.tableFits);
            return;
        case ID_VECTOR_TB_ONLY_DIRECTION:
            ui.Enable(doc != nullptr);
            ui.SetCheck(doc && m_onlyDirection);
            return;
        default: break;
    }
    if (id >= ID_VECTOR_CHANNEL_FIRST && id < ID_VECTOR_CHANNEL_FIRST + kVectorMenuChannels) {
        const unsigned i = id - ID_VECTOR_CHANNEL_FIRST;
        if (doc && i < unsigned(std::max(0, doc->GetOscillogram().m_analogCount)))
            ui.SetCheck((doc->GetOscillogram().m_channels[i].m_flags & CHF_VECTOR_DIAGRAM) != 0);
        return;
    }
    if (id == ID_VECTOR_REFERENCE_FIRST) {
        ui.SetRadio(m_angleChannelName.IsEmpty());
    } else if (id > ID_VECTOR_REFERENCE_FIRST && id < ID_VECTOR_REFERENCE_FIRST + kVectorMenuChannels) {
        const unsigned k = id - ID_VECTOR_REFERENCE_FIRST;
        if (doc && k <= unsigned(std::max(0, doc->GetOscillogram().m_analogCount)))
            ui.SetRadio(doc->GetOscillogram().m_channels[k - 1].GetName() == m_angleChannelName);
    }
}

std::vector<DiagramMenuItem> VectorDiagramWnd::BuildChannelMenu() {
    std::vector<DiagramMenuItem> items{{ID_VECTOR_SHOW_ALL, LoadResString(32845), {}},
                                       {ID_VECTOR_HIDE_ALL, LoadResString(32846), {}},
                                       DiagramMenuItem::Separator()};
    if (CTenvorikDoc* doc = GetActiveDocument()) {
        const COscillogram& osc = doc->GetOscillogram();
        for (int i = 0; i < osc.m_analogCount && unsigned(i) < kVectorMenuChannels && size_t(i) < osc.m_channels.size(); ++i)
            if (IsEligibleForMenu(osc.m_channels[size_t(i)]))
                items.push_back({ID_VECTOR_CHANNEL_FIRST + unsigned(i), osc.m_channels[size_t(i)].GetName(), {}});
    }
    return items;
}

std::vector<DiagramMenuItem> VectorDiagramWnd::BuildReferenceMenu() {
    std::vector<DiagramMenuItem> items{{ID_VECTOR_REFERENCE_FIRST, LoadResString(36000), {}}, DiagramMenuItem::Separator()};
    if (CTenvorikDoc* doc = GetActiveDocument()) {
        const COscillogram& osc = doc->GetOscillogram();
        for (int i = 0; i < osc.m_analogCount && unsigned(i) + 1 < kVectorMenuChannels && size_t(i) < osc.m_channels.size(); ++i) {
            const CChannel& ch = osc.m_channels[size_t(i)];
            if (!ch.IsDiscrete() && (ch.m_flags & CHF_VECTOR_DIAGRAM))
                items.push_back({ID_VECTOR_REFERENCE_FIRST + 1 + unsigned(i), ch.GetName(), {}});
        }
    }
    return items;
}

std::vector<DiagramMenuItem> VectorDiagramWnd::BuildContextMenu() {
    if (!GetActiveDocument()) return {};
    // The radians option has no menu item: it is set only through the stored setting.
    return {{0, LoadResString(35501), BuildChannelMenu()},
            DiagramMenuItem::Separator(),
            {0, LoadResString(35502), BuildReferenceMenu()},
            DiagramMenuItem::Separator(),
            {ID_VECTOR_SHOW_VALUES, LoadResString(32844), {}},
            {ID_VECTOR_ONLY_DIRECTION, LoadResString(32842), {}}};
}
