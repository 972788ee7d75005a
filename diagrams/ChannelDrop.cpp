#include "diagrams/ChannelDrop.h"

#include <algorithm>

#include "document/TenvorikDoc.h"
#include "model/Channel.h"
#include "model/Resources.h"

namespace {

bool ReadU32(const uint8_t* data, size_t size, size_t& pos, uint32_t& v) {
    if (size - pos < 4) return false;
    v = uint32_t(data[pos]) | uint32_t(data[pos + 1]) << 8 | uint32_t(data[pos + 2]) << 16 |
        uint32_t(data[pos + 3]) << 24;
    pos += 4;
    return true;
}

}  // namespace

std::set<uint32_t> ReadDroppedChannels(const uint8_t* data, size_t size) {
    std::set<uint32_t> out;
    size_t pos = 0;
    uint32_t count = 0;
    if (!data || !ReadU32(data, size, pos, count)) return out;
    uint32_t v = 0;
    while (out.size() < count && ReadU32(data, size, pos, v)) out.insert(v);
    return out;
}

std::vector<unsigned> DiagramDropCommands(const CTenvorikDoc& doc, uint32_t kind, const std::set<uint32_t>& channels) {
    std::vector<unsigned> commands;
    const COscillogram& osc = doc.GetOscillogram();
    const uint32_t analog = uint32_t(std::max(0, osc.m_analogCount));
    for (uint32_t i : channels) {
        if (i >= analog || i >= osc.m_channels.size()) continue;
        const CChannel& ch = osc.m_channels[i];
        if (ch.m_flags & kind) continue;
        if (kind == DROP_CIRCLE) {
            if (ch.HasOwnTimeBase()) continue;
            const CString unit = ch.GetUnitText();
            if (unit.CompareNoCase(LoadResString(3060).GetString()) != 0 && unit.CompareNoCase(L"VA") != 0) continue;
        }
        commands.push_back(35000u + i);
    }
    return commands;
}

CString DiagramDropRefusal(const CTenvorikDoc& doc, uint32_t kind, const std::set<uint32_t>& channels) {
    enum : unsigned { kHeading = 9659, kDiscrete = 9660, kOwnTimeBase = 9661, kUnit = 9662, kLine = 9663 };
    constexpr int kMostLines = 12;
    const COscillogram& osc = doc.GetOscillogram();
    const uint32_t analog = uint32_t(std::max(0, osc.m_analogCount));
    CString lines;
    int count = 0;
    for (uint32_t i : channels) {
        if (i >= osc.m_channels.size()) continue;
        const CChannel& ch = osc.m_channels[i];
        CString reason;
        if (i >= analog) {
            reason = LoadResString(kDiscrete);
        } else if (kind == DROP_CIRCLE && !(ch.m_flags & kind)) {
            const CString unit = ch.GetUnitText();
            if (unit.CompareNoCase(LoadResString(3060).GetString()) != 0 && unit.CompareNoCase(L"VA") != 0)
                // Named in the letters every read-out uses ("В", not the record's "V").
                reason.Format(LoadResString(kUnit).GetString(), ch.GetRateUnitDisplayText().GetString());
            else if (ch.HasOwnTimeBase())
                reason = LoadResString(kOwnTimeBase);
        }
        if (reason.IsEmpty()) continue;
        if (++count > kMostLines) continue;
        CString line;
        line.Format(LoadResString(kLine).GetString(), ch.GetName().GetString(), reason.GetString());
        lines += L"\n" + line;
    }
    if (count == 0) return CString();
    if (count > kMostLines) lines += L"\n…";
    return LoadResString(kHeading) + lines;
}

int FindDropTargetRow(const CTenvorikDoc& doc, ChannelDropView& view, int y) {
    const COscillogram& osc = doc.GetOscillogram();
    int sum = 0;
    for (int i = 0; i < osc.m_analogCount && size_t(i) < osc.m_channels.size(); ++i) {
        if (!(osc.m_channels[size_t(i)].m_flags & CHF_VISIBLE)) continue;
        const int h = view.GetChannelHeight(i);
        if (h > 0 && y < sum + h) return i;
        sum += h;
    }
    return -1;
}

void DropOnView(CTenvorikDoc& doc, ChannelDropView& view, int y, const std::set<uint32_t>& channels) {
    const int target = FindDropTargetRow(doc, view, y);
    if (channels.empty() || target < 0 || channels.count(uint32_t(target))) return;
    COscillogram& osc = doc.GetOscillogram();
    for (uint32_t i : channels)
        if (i < uint32_t(osc.m_analogCount) && i < osc.m_channels.size()) osc.m_channels[i].m_selected = true;
    osc.m_channels[size_t(target)].m_selected = true;
    if (view.CanOverlaySelected())
        view.OverlaySelected();
    else
        view.ShowCannotOverlay();
}
