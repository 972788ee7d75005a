// The view's channel commands carried out on the record: show modes, curve modes, inversion,
// DC removal, diagram membership, ADC codes, ratios, visibility of discrete channels, colour.
#include <algorithm>
#include <initializer_list>
#include <set>

#include "model/ChannelCollection.h"
#include "model/DocumentModel.h"
#include "model/Resources.h"
#include "platform/CmdUI.h"

namespace {

uint32_t ValueModeBit(UINT id) {
    switch (id) {
        case ID_CHANNEL_SHOW_MINMAX: return CHF_SHOW_MINMAX;
        case ID_CHANNEL_SHOW_RMS: return CHF_SHOW_RMS;
        case ID_CHANNEL_SHOW_HARMONIC: return CHF_SHOW_HARMONIC;
        case ID_CHANNEL_CURVE_INSTANT: return CHF_CURVE_INSTANT;
        case ID_CHANNEL_CURVE_RMS: return CHF_CURVE_RMS;
        case ID_CHANNEL_CURVE_HARMONIC: return CHF_CURVE_HARMONIC;
        case ID_CHANNEL_INVERT: return CHF_INVERT;
        case ID_CHANNEL_REMOVE_DC: return CHF_REMOVE_DC;
        default: return 0;
    }
}

uint32_t DiagramBit(UINT id) {
    switch (id) {
        case ID_CHANNEL_FREQ_DIAGRAM: return CHF_FREQ_DIAGRAM;
        case ID_CHANNEL_VECTOR_DIAGRAM: return CHF_VECTOR_DIAGRAM;
        case ID_CHANNEL_CIRCLE_DIAGRAM: return CHF_CIRCLE_DIAGRAM;
        case ID_CHANNEL_ADC_COUNTS: return CHF_ADC_COUNTS;
        default: return 0;
    }
}

// Sets `bit` on every channel concerned when not all of them have it, else clears it on all.
void Toggle(const std::vector<CChannel*>& concerned, uint32_t bit) {
    bool all = true;
    for (const CChannel* ch : concerned) all &= (ch->m_flags & bit) != 0;
    for (CChannel* ch : concerned) {
        if (all)
            ch->m_flags &= ~bit;
        else
            ch->m_flags |= bit;
    }
}

bool IsOneOfNoCase(const CString& text, std::initializer_list<CString> list) {
    for (const CString& s : list)
        if (text.CompareNoCase(s) == 0) return true;
    return false;
}

// Whether a channel may be shown on the diagram of command `id`.
bool FitsDiagram(const CChannel& ch, UINT id) {
    const CString unit = ch.GetUnitText();
    switch (id) {
        case ID_CHANNEL_FREQ_DIAGRAM: return !ch.HasOwnTimeBase();
        case ID_CHANNEL_VECTOR_DIAGRAM: return IsOneOfNoCase(unit, {L"A", L"V", LoadResString(162), L""});
        case ID_CHANNEL_CIRCLE_DIAGRAM:
            return !ch.HasOwnTimeBase() && IsOneOfNoCase(unit, {LoadResString(3060), L"W", L"VA", L"var"});
        default: return true;
    }
}

}  // namespace

void CChannelCollection::UpdateAfterChange() {
    // An edit changes few channels: the others keep what they derived, and their curves' summaries.
    RecalcChannels(m_channels, nullptr, true);
    if (m_derivedChannels) m_derivedChannels->ComputeChannels();
    if (!m_document) return;
    m_document->RecalcFaultLocation();
    m_document->SetModifiedFlag(true);
    m_document->UpdateAllViews();
    m_document->UpdateDiagrams();
}

void CChannelCollection::ApplyValueMode(UINT id, ChannelCommandView* view) {
    const uint32_t bit = ValueModeBit(id);
    if (!bit) return;
    // The level cursors keep their place on the screen while the values change.
    int heights[2] = {0, 0};
    bool shown[2] = {false, false};
    if (view)
        for (int k = 0; k < 2; ++k) shown[k] = view->GetLevelCursorHeight(k, heights[k]);

    std::vector<CChannel*> concerned;
    if (id <= ID_CHANNEL_SHOW_HARMONIC) {
        for (CChannel& ch : m_channels)
            if (!ch.IsDiscrete()) concerned.push_back(&ch);
        Toggle(concerned, bit);
    } else if (id <= ID_CHANNEL_CURVE_HARMONIC) {
        // The channels of one strip share one curve mode.
        std::set<CStringA> grouped;
        for (const CChannel& ch : m_channels) {
            if (!ch.m_selected || !m_document) continue;
            CString key = m_document->FindChannelGroup(ch.m_fileName);
            if (key.IsEmpty()) continue;
            for (const CStringA& name : m_document->GetGroupFileNames(key)) grouped.insert(name);
        }
        for (CChannel& ch : m_channels) {
            if (!ch.m_selected && !grouped.count(ch.m_fileName)) continue;
            ch.m_flags = (ch.m_flags & ~CHF_CURVE_MASK) | bit;
        }
    } else {
        for (CChannel& ch : m_channels)
            if (ch.m_selected) concerned.push_back(&ch);
        Toggle(concerned, bit);
    }
    UpdateAfterChange();
    if (view) {
        for (int k = 0; k < 2; ++k)
            if (shown[k]) view->PlaceLevelCursor(k, heights[k]);
        view->Invalidate();
    }
}

void CChannelCollection::ShowDiscreteChannels(UINT id) {
    switch (id) {
        case ID_SHOW_DISCRETE_ALL:
            for (CChannel& ch : m_channels)
                if (ch.IsDiscrete()) ch.m_flags |= CHF_VISIBLE;
            break;
        case ID_HIDE_DISCRETE_ALL:
        case ID_HIDE_DISCRETE_CONSTANT:
            for (CChannel& ch : m_channels) {
                if (!ch.IsDiscrete()) continue;
                if (id == ID_HIDE_DISCRETE_CONSTANT && ch.m_max != ch.m_min) continue;
                ch.m_flags &= ~CHF_VISIBLE;
                ch.m_selected = false;
            }
            break;
        case ID_HIDE_SELECTED_CHANNELS: {
            // A selected channel hides its whole strip, and the strip's group is dissolved.
            std::set<CStringA> hidden;
            for (const CChannel& ch : m_channels) {
                if (!ch.m_selected) continue;
                hidden.insert(ch.m_fileName);
                if (!m_document) continue;
                CString key = m_document->FindChannelGroup(ch.m_fileName);
                if (key.IsEmpty()) continue;
                for (const CStringA& name : m_document->GetGroupFileNames(key)) hidden.insert(name);
                m_document->RemoveChannelGroup(key);
            }
            for (CChannel& ch : m_channels) {
                if (!hidden.count(ch.m_fileName)) continue;
                ch.m_flags &= ~CHF_VISIBLE;
                ch.m_selected = false;
            }
            break;
        }
        default: break;
    }
}

void CChannelCollection::ToggleDiagramFlag(UINT id) {
    const uint32_t bit = DiagramBit(id);
    if (!bit) return;
    std::vector<CChannel*> concerned;
    for (CChannel& ch : m_channels) {
        if (!ch.m_selected || ch.IsDiscrete()) continue;
        // Program-made channels have no ADC codes; counting them would keep the bit from ever
        // being cleared on the others.
        if (id == ID_CHANNEL_ADC_COUNTS && ch.IsCalculated()) continue;
        concerned.push_back(&ch);
    }
    Toggle(concerned, bit);
    if (m_document) {
        m_document->SetModifiedFlag(true);
        m_document->UpdateDiagrams();
    }
    if (id == ID_CHANNEL_ADC_COUNTS) UpdateAfterChange();
}

void CChannelCollection::EditCoefficients(UINT id) {
    if (id == ID_EDIT_COEFFICIENTS) {
        // A cancelled dialog changed nothing and leaves the record unmodified.
        if (!m_document || !m_document->RunMultiplierDialog()) return;
        m_document->SetModifiedFlag(true);
    } else if (id == ID_SHOW_PRIMARY_VALUES || id == ID_SHOW_SECONDARY_VALUES) {
        size_t n = std::min(m_channels.size(), size_t(std::max(m_analogCount, 0)));
        for (size_t k = 0; k < n; ++k) m_channels[k].m_primaryMode = id == ID_SHOW_PRIMARY_VALUES;
    } else {
        return;
    }
    UpdateAfterChange();
}

void CChannelCollection::SetSelectedChannelsColor() {
    COLORREF color = 0;
    for (const CChannel& ch : m_channels)
        if (ch.m_selected) {
            color = ch.GetColor();
            break;
        }
    if (!m_document || !m_document->ChooseColor(color)) return;
    for (CChannel& ch : m_channels) {
        if (!ch.m_selected) continue;
        ch.m_customColorSet = true;
        ch.m_customColor = color;
    }
    m_document->SetModifiedFlag(true);
}

void CChannelCollection::UpdateValueModeUI(CCmdUI& ui) const {
    const uint32_t bit = ValueModeBit(ui.m_nID);
    int count = 0;
    bool all = true;
    for (const CChannel& ch : m_channels) {
        bool concerned = ui.m_nID <= ID_CHANNEL_SHOW_HARMONIC ? !ch.IsDiscrete() : ch.m_selected;
        if (!concerned) continue;
        ++count;
        all &= (ch.m_flags & bit) != 0;
    }
    if (count == 0) {
        ui.Enable(false);
        return;
    }
    ui.Enable(true);
    ui.SetCheck(all ? 1 : 0);
}

void CChannelCollection::UpdatePrimarySecondaryUI(CCmdUI& ui) const {
    if (m_analogCount <= 0 || m_channels.empty()) return;
    bool primary = m_channels.front().m_primaryMode;
    ui.SetCheck((ui.m_nID == ID_SHOW_PRIMARY_VALUES) == primary ? 1 : 0);
    ui.Enable(true);
}

void CChannelCollection::UpdateDiagramFlagUI(CCmdUI& ui) const {
    const uint32_t bit = DiagramBit(ui.m_nID);
    bool anyAnalog = false, fits = true, all = true;
    int selected = 0;
    for (const CChannel& ch : m_channels) {
        if (ch.IsDiscrete()) continue;
        anyAnalog = true;
        if (!ch.m_selected) continue;
        ++selected;
        fits &= FitsDiagram(ch, ui.m_nID);
        // As in the toggle, program-made channels have no ADC codes to show.
        if (ui.m_nID == ID_CHANNEL_ADC_COUNTS && ch.IsCalculated()) continue;
        all &= (ch.m_flags & bit) != 0;
    }
    if (!anyAnalog || !fits) {
        ui.Enable(false);
        return;
    }
    ui.Enable(true);
    bool on = all && selected > 0;
    if (ui.m_nID == ID_CHANNEL_ADC_COUNTS)
        ui.SetCheck(on ? 1 : 0);
    else
        ui.SetRadio(on);
}
