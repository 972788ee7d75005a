#include "app/ChannelsTable.h"

#include <algorithm>
#include <initializer_list>
#include <set>

#include "document/TenvorikDoc.h"
#include "model/Resources.h"
#include "platform/UiServices.h"

namespace {

constexpr unsigned kFlagOfColumn[ChannelsTable::kColumns] = {0, CHF_VISIBLE, CHF_FREQ_DIAGRAM, CHF_VECTOR_DIAGRAM,
                                                             CHF_CIRCLE_DIAGRAM, 0};

bool OneOf(const CString& text, std::initializer_list<CString> list, bool noCase) {
    for (const CString& s : list)
        if (noCase ? text.CompareNoCase(s) == 0 : text == s) return true;
    return false;
}

}  // namespace

ChannelsTable::ChannelsTable(CTenvorikDoc& doc) : m_doc(doc) {}

int ChannelsTable::RowCount() const {
    const COscillogram& osc = m_doc.GetOscillogram();
    return int(osc.m_channels.size() + m_doc.m_diffChartPairs.size() + m_doc.m_circleChartPairs.size());
}

ChannelsTable::RowKind ChannelsTable::Kind(int row) const {
    const int A = std::max(m_doc.GetOscillogram().m_analogCount, 0);
    const int D = int(m_doc.m_diffChartPairs.size()), C = int(m_doc.m_circleChartPairs.size());
    if (row < A) return RowKind::Analog;
    if (row < A + D) return RowKind::DiffPair;
    if (row < A + D + C) return RowKind::CirclePair;
    return RowKind::Discrete;
}

CChannel* ChannelsTable::ChannelAt(int row) const {
    if (row < 0 || row >= RowCount()) return nullptr;
    const RowKind k = Kind(row);
    if (k == RowKind::DiffPair || k == RowKind::CirclePair) return nullptr;
    const int index = k == RowKind::Analog
                          ? row
                          : row - int(m_doc.m_diffChartPairs.size() + m_doc.m_circleChartPairs.size());
    auto& chs = m_doc.GetOscillogram().m_channels;
    return size_t(index) < chs.size() ? &chs[size_t(index)] : nullptr;
}

ChannelPair* ChannelsTable::PairAt(int row) const {
    if (row < 0 || row >= RowCount()) return nullptr;
    const int A = std::max(m_doc.GetOscillogram().m_analogCount, 0);
    switch (Kind(row)) {
        case RowKind::DiffPair: return &m_doc.m_diffChartPairs[size_t(row - A)];
        case RowKind::CirclePair:
            return &m_doc.m_circleChartPairs[size_t(row - A - int(m_doc.m_diffChartPairs.size()))];
        default: return nullptr;
    }
}

CString ChannelsTable::Text(int row) const {
    if (const CChannel* ch = ChannelAt(row)) return ch->GetName();
    if (const ChannelPair* p = PairAt(row)) return p->first + L" | " + p->second;
    return CString();
}

CString ChannelsTable::FileNameNote(int row) const {
    const CChannel* ch = ChannelAt(row);
    if (!ch) return CString();
    const CString file = m_doc.GetFileNameText(*ch);
    return file == ch->GetName() ? CString() : L"(" + file + L")";
}

bool ChannelsTable::Applies(const CChannel& ch, int col, bool exactUnits) const {
    if (col == 1) return true;
    if (ch.IsDiscrete()) return false;
    const CString unit = ch.GetUnitText();
    switch (col) {
        case 2: return true;
        case 3:
            return OneOf(unit, {L"A", L"V"}, !exactUnits) || unit.CompareNoCase(LoadResString(162)) == 0 || unit.IsEmpty();
        case 4: return !ch.HasOwnTimeBase() && OneOf(unit, {LoadResString(3060), L"W", L"VA", L"var"}, true);
        default: return false;
    }
}

ChannelsTable::Cell ChannelsTable::GetCell(int row, int col) const {
    if (col < 1 || col >= kColumns) return Cell::NotApplicable;
    if (const ChannelPair* p = PairAt(row)) {
        const bool own = (Kind(row) == RowKind::CirclePair && col == 4) || (Kind(row) == RowKind::DiffPair && col == 5);
        if (!own) return Cell::NotApplicable;
        return p->visible ? Cell::Set : Cell::Clear;
    }
    const CChannel* ch = ChannelAt(row);
    if (!ch || col == 5 || !Applies(*ch, col, true)) return Cell::NotApplicable;
    return (ch->m_flags & kFlagOfColumn[col]) ? Cell::Set : Cell::Clear;
}

void ChannelsTable::Refresh() {
    m_doc.UpdateAllViews();
    m_doc.UpdateDiagrams();
    m_doc.SetModifiedFlag(true);
}

void ChannelsTable::Hide(CChannel& ch) {
    // A channel of a merged strip takes the whole strip with it, and the strip is dissolved.
    std::vector<CChannel*> hidden{&ch};
    const CString key = m_doc.FindChannelGroup(ch.m_fileName);
    if (!key.IsEmpty()) {
        for (const CStringA& name : m_doc.GetGroupFileNames(key))
            for (CChannel& c : m_doc.GetOscillogram().m_channels)
                if (c.m_fileName == name) hidden.push_back(&c);
        m_doc.RemoveChannelGroup(key);
    }
    for (CChannel* c : hidden) {
        c->m_flags &= ~uint32_t(CHF_VISIBLE);
        c->m_selected = false;
    }
}

bool ChannelsTable::DoubleClick(int row, int col) {
    if (row < 0 || row >= RowCount()) return false;
    if (ChannelPair* p = PairAt(row)) {
        if ((Kind(row) == RowKind::DiffPair && col == 5) || (Kind(row) == RowKind::CirclePair && col == 4)) {
            p->visible = !p->visible;
            Refresh();
        }
        return false;
    }
    CChannel* ch = ChannelAt(row);
    if (!ch) return false;
    bool rename = false;
    if (col == 0) {
        if (ch->IsCalculated())
            platform::Ui().MessageBox(LoadResString(398), CString(), MB_OK | MB_ICONEXCLAMATION);
        else
            rename = true;
    } else if (col == 1) {
        if (ch->m_flags & CHF_VISIBLE)
            Hide(*ch);
        else
            ch->m_flags |= CHF_VISIBLE;
    } else if (col >= 2 && col <= 4 && Applies(*ch, col, true)) {
        const uint32_t bit = kFlagOfColumn[col];
        // The spectrum cannot take a channel on a time base of its own; it can always let go.
        if (!(col == 2 && ch->HasOwnTimeBase() && !(ch->m_flags & bit))) ch->m_flags ^= bit;
    }
    Refresh();
    return rename;
}

void ChannelsTable::HeaderClick(int col) {
    if (col < 1 || col >= kColumns) return;
    std::vector<CChannel*> channels;
    std::vector<ChannelPair*> pairs;
    for (int r = 0; r < RowCount(); ++r) {
        if (ChannelPair* p = PairAt(r)) {
            if ((col == 4 && Kind(r) == RowKind::CirclePair) || (col == 5 && Kind(r) == RowKind::DiffPair))
                pairs.push_back(p);
        } else if (CChannel* ch = ChannelAt(r)) {
            if (col <= 4 && Applies(*ch, col, false)) channels.push_back(ch);
        }
    }
    const uint32_t bit = kFlagOfColumn[col];
    bool all = true;
    for (const CChannel* ch : channels) all &= (ch->m_flags & bit) != 0;
    for (const ChannelPair* p : pairs) all &= p->visible;
    for (CChannel* ch : channels) {
        if (all) {
            if (col == 1)
                Hide(*ch);
            else
                ch->m_flags &= ~bit;
        } else if (!(col == 2 && ch->HasOwnTimeBase())) {
            ch->m_flags |= bit;
        }
    }
    for (ChannelPair* p : pairs) p->visible = !all;
    Refresh();
}

bool ChannelsTable::Rename(int row, const CString& text) {
    CChannel* ch = ChannelAt(row);
    if (!ch) return false;
    const size_t index = size_t(ch - m_doc.GetOscillogram().m_channels.data());
    bool renamed = false;
    if (m_doc.IsChannelNameTaken(index, text)) {
        platform::Ui().MessageBox(LoadResString(397), CString(), MB_OK | MB_ICONEXCLAMATION);
    } else {
        ch->SetAlias(text);
        renamed = true;
    }
    Refresh();
    return renamed;
}
