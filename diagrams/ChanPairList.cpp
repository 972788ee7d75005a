#include "diagrams/ChanPairList.h"

#include <algorithm>

#include "model/Resources.h"

ChanPairList::ChanPairList(bool circle, std::vector<ChannelPair> pairs, std::vector<CString> channels)
    : m_circle(circle), m_pairs(std::move(pairs)), m_channels(std::move(channels)) {
    if (!m_channels.empty()) m_choice2159 = m_choice2160 = 0;
}

CString ChanPairList::Caption() const { return LoadResString(m_circle ? 200 : 554); }

CString ChanPairList::StaticText(int which) const {
    if (m_circle) return LoadResString(which == 0 ? 201 : 210);
    return LoadResString(which == 0 ? 179 : 181);
}

CString ChanPairList::ColumnTitle(int column) const { return StaticText(column); }

int ChanPairList::Choice(int comboId) const {
    return comboId == kComboSecondColumn ? m_choice2159 : comboId == kComboFirstColumn ? m_choice2160 : -1;
}

void ChanPairList::Choose(int comboId, int index) {
    if (index < 0 || index >= int(m_channels.size())) index = -1;
    if (comboId == kComboSecondColumn) m_choice2159 = index;
    if (comboId == kComboFirstColumn) m_choice2160 = index;
}

CString ChanPairList::CellText(int row, int column) const {
    if (row < 0 || row >= RowCount()) return CString();
    const ChannelPair& p = m_pairs[size_t(row)];
    // The differential list leads with the differential current, which the pair stores second.
    const bool first = m_circle ? column == 0 : column != 0;
    return first ? p.first : p.second;
}

void ChanPairList::SelectRow(int row) { m_selected = (row >= 0 && row < RowCount()) ? row : -1; }

bool ChanPairList::CanAdd() const { return m_choice2159 >= 0 && m_choice2160 >= 0; }

bool ChanPairList::CanRemove() const { return m_selected >= 0 && m_selected < RowCount(); }

bool ChanPairList::Add() {
    if (!CanAdd()) return false;
    const CString& a = m_channels[size_t(m_choice2160)];
    const CString& b = m_channels[size_t(m_choice2159)];
    m_pairs.push_back(m_circle ? ChannelPair(a, b) : ChannelPair(b, a));
    m_selected = RowCount() - 1;
    return true;
}

bool ChanPairList::Remove() {
    if (!CanRemove()) return false;
    const int i = m_selected;
    m_pairs.erase(m_pairs.begin() + i);
    m_selected = m_pairs.empty() ? -1 : std::min(i, RowCount() - 1);
    return true;
}
