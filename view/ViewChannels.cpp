// Merged strips of the view (overlay and separate) and the channel name edited in place.
#include <algorithm>
#include <map>
#include <set>

#include "document/TenvorikDoc.h"
#include "halvex/helpers/CompileIncludeSpace.h"
#include "model/Resources.h"
#include "platform/CmdUI.h"
#include "platform/UiServices.h"
#include "view/TenvorikView.h"

namespace oscview {

namespace {

constexpr unsigned kDifferentRates = 9750;
constexpr unsigned kNameInUse = 397;

bool IsOverlayCandidate(const CChannel& ch) {
    return ch.m_selected && !ch.IsDiscrete() && (ch.m_flags & CHF_VISIBLE);
}

void ResetVerticalZoom(CChannel& ch) {
    ch.m_zoomed = false;
    ch.m_zoomFrom = 0.0;
    ch.m_zoomTo = 1.0;
    ch.m_zoomLow = 0.0;
    ch.m_zoomHigh = 1.0;
    ch.m_scaleMode = 0;
}

bool IsValueModeCommand(unsigned id) { return id >= ID_CHANNEL_SHOW_MINMAX && id <= ID_CHANNEL_REMOVE_DC; }
bool IsDiscreteCommand(unsigned id) { return id >= ID_SHOW_DISCRETE_ALL && id <= ID_HIDE_SELECTED_CHANNELS; }
bool IsDiagramFlagCommand(unsigned id) { return id >= ID_CHANNEL_FREQ_DIAGRAM && id <= ID_CHANNEL_ADC_COUNTS; }
bool IsRatioCommand(unsigned id) { return id >= ID_EDIT_COEFFICIENTS && id <= ID_SHOW_SECONDARY_VALUES; }

}  // namespace

bool CTenvorikView::OnChannelCommand(unsigned id) {
    if (!m_doc) return false;
    COscillogram& osc = m_doc->GetOscillogram();
    if (IsValueModeCommand(id)) {
        osc.ApplyValueMode(id, this);
    } else if (IsDiscreteCommand(id)) {
        osc.ShowDiscreteChannels(id);
        // Visibility is kept in the record's settings: a change to save.
        m_doc->SetModifiedFlag(true);
        m_doc->UpdateAllViews();
        m_doc->UpdateDiagrams();
    } else if (IsDiagramFlagCommand(id)) {
        osc.ToggleDiagramFlag(id);
    } else if (IsRatioCommand(id)) {
        const std::vector<double> before = m_doc->m_cursors.DisplayMultipliers();
        osc.EditCoefficients(id);
        m_doc->m_cursors.FollowDisplayScale(before);
    } else if (id == ID_SELECTED_CHANNELS_COLOR) {
        osc.SetSelectedChannelsColor();
        m_doc->UpdateAllViews();
        m_doc->UpdateDiagrams();
    } else if (id == ID_OVERLAY_CHANNELS) {
        if (CanOverlaySelected()) OnOverlayChannels();
    } else if (id == ID_SEPARATE_CHANNELS) {
        OnSeparateChannels();
    } else {
        return false;
    }
    RecalcLayout();
    if (m_host) m_host->Invalidate();
    return true;
}

bool CTenvorikView::UpdateChannelCommandUI(CCmdUI& ui) const {
    if (!m_doc) return false;
    const COscillogram& osc = m_doc->GetOscillogram();
    const unsigned id = ui.m_nID;
    bool anySelected = false;
    for (const CChannel& ch : osc.m_channels) anySelected |= ch.m_selected;
    if (IsValueModeCommand(id)) {
        osc.UpdateValueModeUI(ui);
    } else if (IsDiagramFlagCommand(id)) {
        osc.UpdateDiagramFlagUI(ui);
    } else if (id == ID_SHOW_PRIMARY_VALUES || id == ID_SHOW_SECONDARY_VALUES) {
        ui.Enable(osc.m_analogCount > 0);
        osc.UpdatePrimarySecondaryUI(ui);
    } else if (id == ID_EDIT_COEFFICIENTS) {
        ui.Enable(osc.m_analogCount > 0);
    } else if (IsDiscreteCommand(id)) {
        ui.Enable(id != ID_HIDE_SELECTED_CHANNELS || anySelected);
    } else if (id == ID_SELECTED_CHANNELS_COLOR) {
        ui.Enable(anySelected);
    } else if (id == ID_OVERLAY_CHANNELS) {
        ui.Enable(CanOverlaySelected());
    } else if (id == ID_SEPARATE_CHANNELS) {
        ui.Enable(CanSeparateSelected());
    } else {
        return false;
    }
    return true;
}

bool CTenvorikView::CanOverlaySelected() const {
    if (!m_doc) return false;
    int count = 0;
    CString unit;
    for (const CChannel& ch : m_doc->GetOscillogram().m_channels) {
        if (!IsOverlayCandidate(ch)) continue;
        if (ch.HasOwnTimeBase() || ch.GetUnitText().IsEmpty()) return false;
        if (count++ == 0) unit = ch.GetUnitText();
        else if (ch.GetUnitText() != unit) return false;
    }
    return count >= 2;
}

void CTenvorikView::OnOverlayChannels() {
    if (!m_doc) return;
    COscillogram& osc = m_doc->GetOscillogram();
    auto& chs = osc.m_channels;
    std::set<CStringA> names;
    std::set<size_t> members;
    std::set<CString> oldKeys;
    std::set<size_t> selected;
    auto add = [&](size_t i) {
        names.insert(chs[i].m_fileName);
        members.insert(i);
    };
    for (size_t i = 0; i < chs.size(); ++i) {
        if (!IsOverlayCandidate(chs[i])) continue;
        selected.insert(i);
        add(i);
        const CString key = m_doc->FindChannelGroup(chs[i].m_fileName);
        if (key.IsEmpty()) continue;
        oldKeys.insert(key);
        // The strip comes whole, as far as its channels exist and are shown.
        for (const CStringA& name : m_doc->GetGroupFileNames(key))
            for (size_t k = 0; k < chs.size(); ++k)
                if (chs[k].m_fileName == name && (chs[k].m_flags & CHF_VISIBLE)) add(k);
    }
    if (names.size() < 2) return;
    auto rateOf = [&](const CChannel& ch) { return ch.m_ownRate != 0.0 ? ch.m_ownRate : double(osc.m_samplingFrequency); };
    const double rate = rateOf(chs[*members.begin()]);
    for (size_t i : members)
        if (rateOf(chs[i]) != rate) {
            platform::Ui().MessageBox(LoadResString(kDifferentRates), CString(), MB_OK | MB_ICONERROR);
            return;
        }
    for (const CString& key : oldKeys) m_doc->RemoveChannelGroup(key);
    GUID guid{};
    ::UuidCreate(&guid);
    CString key = CompileIncludeSpace::GetStringByGuid(guid);
    // A failed random source still gives a key no strip has.
    for (int n = 1; m_doc->m_channelGroups.count(key); ++n) key.Format(L"strip-%d", n);
    m_doc->m_channelGroups[key] = std::set<CStringA>(names.begin(), names.end());
    for (size_t i : members) ResetVerticalZoom(chs[i]);
    // A level cursor on one of the merged selected channels has no row of its own any more.
    for (int c = CursorSet::kHorizontalFirst; c < CursorSet::kCount; ++c) {
        const int bound = m_doc->m_cursors.m_cursors[size_t(c)].channel;
        if (bound >= 0 && selected.count(size_t(bound))) m_doc->m_cursors.SwitchOff(c);
    }
    // The strip shows instantaneous values; this also recalculates, marks the record modified
    // and updates the views.
    osc.ApplyValueMode(ID_CHANNEL_CURVE_INSTANT, this);
    RecalcLayout();
    if (m_host) m_host->Invalidate();
}

bool CTenvorikView::CanSeparateSelected() const {
    if (!m_doc || m_doc->m_channelGroups.empty()) return false;
    for (const CChannel& ch : m_doc->GetOscillogram().m_channels)
        if (ch.m_selected && (ch.m_flags & CHF_VISIBLE) && !m_doc->FindChannelGroup(ch.m_fileName).IsEmpty())
            return true;
    return false;
}

void CTenvorikView::OnSeparateChannels() {
    if (!m_doc) return;
    std::set<CString> keys;
    for (const CChannel& ch : m_doc->GetOscillogram().m_channels) {
        if (!ch.m_selected || !(ch.m_flags & CHF_VISIBLE)) continue;
        const CString key = m_doc->FindChannelGroup(ch.m_fileName);
        if (!key.IsEmpty()) keys.insert(key);
    }
    if (keys.empty()) return;
    for (const CString& key : keys) m_doc->RemoveChannelGroup(key);
    // The strips are kept with the record's settings: their end is a change to save.
    m_doc->SetModifiedFlag(true);
    RecalcLayout();
    m_doc->UpdateAllViews();
    m_doc->UpdateDiagrams();
    if (m_host) m_host->Invalidate();
}

int CTenvorikView::NameEditAt(int x, int y, CRect* box) const {
    if (!m_doc || x >= m_leftWidth || y >= m_clientHeight - GetBottomBand()) return -1;
    int64_t top = 0;
    CChannel* ch = CaptionChannelAt(y - m_yOffset, &top);
    if (!ch || ch->IsDiscrete()) return -1;
    const int index = ch->GetIndex();
    if (index < 0 || index >= m_doc->GetOscillogram().m_analogCount) return -1;
    CScreenDC dc;
    dc.SelectObject(const_cast<CFont*>(&m_heavyFont));
    const CSize ext = dc.GetTextExtent(ch->GetName().Left(25));
    const int captionTop = int(top) + m_yOffset + 5;
    if (!(x > 3 && x < ext.cx + 7 && y > captionTop && y < captionTop + ext.cy)) return -1;
    if (box) *box = CRect(3, captionTop, std::max<int>(m_leftWidth - 2, ext.cx + 7), captionTop + ext.cy + 4);
    return index;
}

bool CTenvorikView::CommitInPlaceEdit(bool apply, const CString& text) {
    if (!m_doc || m_editItem < 0) return false;
    const int index = m_editItem;
    m_editItem = -1;
    COscillogram& osc = m_doc->GetOscillogram();
    if (index >= osc.m_analogCount || size_t(index) >= osc.m_channels.size()) return true;
    if (apply) {
        if (m_doc->IsChannelNameTaken(size_t(index), text))
            platform::Ui().MessageBox(LoadResString(kNameInUse), CString(), MB_OK | MB_ICONEXCLAMATION);
        else
            osc.m_channels[size_t(index)].SetAlias(text);
        m_doc->SetModifiedFlag(true);
    }
    m_doc->UpdateAllViews();
    m_doc->UpdateDiagrams();
    if (m_host) m_host->Invalidate();
    return true;
}

}  // namespace oscview
